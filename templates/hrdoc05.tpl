# Education of the staff: a heading per department (ppR), a line per education record (ppP).
sheet "Образование" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 4 5 15 12 15 10 28 8 18 28 24 13 4
style title bold size=12 center middle wrap
style head bold center middle wrap box
style colnum size=8 center middle box
style dept bold italic left middle box fill=EDEDED
style text box left top wrap
style num box center top
print-titles 3:4
| ppHB | $f1 {title} | < | < | < | < | < | < | < | < | < | < | $END$ | height=32
|      |  |  |  |  |  |  |  |  |  |  |  | | height=6
|      | № {head} | Фамилия {head} | Имя {head} | Отчество {head} | Дата рождения {head} | Должность {head} | Разряд {head} | Образование {head} | Учебное заведение {head} | Специальность {head} | Диплом {head} | | height=30
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} |
| ppRB | $f2 {dept} | < | < | < | < | < | < | < | < | < | < |
| ppPB | $f3 {num} | $f4 {text} | $f5 {text} | $f6 {text} | $f7 {num} | $f8 {text} | $f9 {num} | $f10 {text} | $f11 {text} | $f12 {text} | $f13 {text} |
| $END$ |
