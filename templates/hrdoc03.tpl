# Service lengths of the employees of a department: a heading line for each department, then a
# numbered line per employee with four kinds of service as years, months and days.
sheet "Сведения о стажах" landscape A4 fit-width
font "Times New Roman" 10
margins 1.5 1 1.5 1.5
columns 4 6 8 42 19 19 19 19 4
style title bold size=12 center middle wrap
style head bold center middle wrap box
style unit italic center middle box
style dept bold left middle wrap box fill=EEEEEE
style num box center top
style cell box left top wrap
style span box center top
print-titles 3:4
| ppHB | $f1 {title} | < | < | < | < | < | < | $END$ | height=34
|      |  |  |  |  |  |  |  |  | height=6
|      | № п/п {head} | Таб. № {head} | Фамилия, имя, отчество {head} | Общий трудовой стаж {head} | Непрерывный стаж {head} | Стаж работы в отрасли {head} | Стаж работы на предприятии {head} | | height=30
| ppHE | ^ | ^ | ^ | лет  мес  дн {unit} | лет  мес  дн {unit} | лет  мес  дн {unit} | лет  мес  дн {unit} | | height=15
| ppRB | $f3 {dept} | < | < | < | < | < | < |
| ppPB | $f4 {num} | $f5 {num} | $f6 {cell} | $f7 {span} | $f8 {span} | $f9 {span} | $f10 {span} |
| $END$ |
