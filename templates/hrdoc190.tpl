# Courses of qualification improvement of every category in a period: a bold line per department
# (ppR), a line per course with the employee's cells on the first of them (ppP).
sheet "Повышение квалификации" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 3 6 30 8 26 7 24 8 12 44 3
style title bold size=12 center middle wrap
style subtitle size=11 center middle
style head bold center middle wrap box size=9
style colnum size=8 center middle box
style num box center top size=9
style cell box left top wrap size=9
style sum box right top size=9 format="#,##0.00##"
style dept bold box left middle size=9 fill=EDEDED
print-titles 5:6
| ppHB | $f1 {title} | < | < | < | < | < | < | < | < | $END$ | height=20
|      | $f2 {subtitle} | < | < | < | < | < | < | < | < | | height=16
|      | $f3 {subtitle} | < | < | < | < | < | < | < | < | | height=16
|      |  |  |  |  |  |  |  |  |  | | height=6
|      | № п/п {head} | Фамилия, имя, отчество {head} | Таб. № {head} | Должность {head} | Разряд {head} | Вид обучения {head} | Срок (дней) {head} | Сумма, руб. {head} | Тема {head} | | height=30
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} |
| ppRB | $fnameown {dept} | < | < | < | < | < | < | < | < | | height=16
| ppPB | $fnp {num} | $ffio {cell} | $ftn {num} | $fdolj {cell} | $frz {num} | $fnameu4 {cell} | $fsrok {num} | $fsum {sum} | $fthem {cell} |
| $END$ |
