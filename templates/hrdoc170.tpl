# Employees whose service of one kind is at least a number of years: three title lines, a
# heading line for each department, a numbered line per employee with the years, months and days.
sheet "Стаж работников" portrait A4 fit-width
font "Times New Roman" 10
margins 2 1 1.5 1.5
columns 4 6 8 44 8 9 8 4
style title bold size=12 center middle wrap
style sub center middle wrap
style head bold center middle wrap box
style dept bold left middle wrap box fill=EEEEEE
style num box center top
style cell box left top wrap
print-titles 5:5
| ppHB | $f1 {title} | < | < | < | < | < | $END$ | height=20
|      | $f2 {sub} | < | < | < | < | < | | height=16
|      | $f3 {sub} | < | < | < | < | < | | height=30
|      |  |  |  |  |  |  | | height=6
| ppHE | № п/п {head} | Таб. № {head} | Фамилия, имя, отчество {head} | Лет {head} | Месяцев {head} | Дней {head} | | height=28
| ppRB | $fnown {dept} | < | < | < | < | < |
| ppPB | $fnpp {num} | $ftn {num} | $ffio {cell} | $flet {num} | $fmes {num} | $fdney {num} |
| $END$ |
