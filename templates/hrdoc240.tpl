# Employees at the end of a period with their courses begun in it, in three column groups by the
# type of course: a bold line per department (ppR), a line per course with the employee's cells
# on the first of them (ppP); then the dismissed under their own bold heading (ppRU, ppPU).
sheet "Повышение квалификации" landscape A4 fit-width
font "Times New Roman" 10
margins 0.8 0.8 1.2 1.2
columns 3 4 19 19 9 11 9 13 17 12 9 13 17 12 9 13 17 12 3
style title bold size=11 center middle wrap
style subtitle size=10 center middle
style head bold center middle wrap box size=8
style colnum size=7 center middle box
style num box center top size=8
style cell box left top wrap size=8
style mid box center top size=8
style dept bold box left middle fill=EDEDED size=8
print-titles 5:7
| ppHB | $f1 {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=18
|      | $f2 {subtitle} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=15
|      | $f3 {subtitle} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=15
|      |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | | height=6
|      | № {head} | Фамилия, имя, отчество {head} | Должность {head} | Дата приёма {head} | Категория {head} | Повышение квалификации {head} | < | < | < | Курсы целевого назначения и целевое обучение {head} | < | < | < | Семинары {head} | < | < | < | | height=18
|      | ^ | ^ | ^ | ^ | ^ | Начало {head} | Вид обучения {head} | Тема {head} | Документ (№ от дата) {head} | Начало {head} | Вид обучения {head} | Тема {head} | Документ (№ от дата) {head} | Начало {head} | Вид обучения {head} | Тема {head} | Документ (№ от дата) {head} | | height=30
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} | 13 {colnum} | 14 {colnum} | 15 {colnum} | 16 {colnum} | 17 {colnum} |
| ppRB | $fnameown {dept} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=15
| ppPB | $fnp {num} | $ffio {cell} | $fdolj {cell} | $fdpr {mid} | $fkatn {cell} | $fdpov {mid} | $fuchpov {cell} | $ftema {cell} | $fdslpov {cell} | $fdob {mid} | $fuchpovob {cell} | $ftemaob {cell} | $fdslpovob {cell} | $fdobsem {mid} | $fuchpovsem {cell} | $ftemasem {cell} | $fdslpovsem {cell} |
| ppRUB | $fnameown {dept} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=15
| ppPUB | $fnp {num} | $ffio {cell} | $fdolj {cell} | $fdpr {mid} | $fkatn {cell} | $fdpov {mid} | $fuchpov {cell} | $ftema {cell} | $fdslpov {cell} | $fdob {mid} | $fuchpovob {cell} | $ftemaob {cell} | $fdslpovob {cell} | $fdobsem {mid} | $fuchpovsem {cell} | $ftemasem {cell} | $fdslpovsem {cell} |
| $END$ |
