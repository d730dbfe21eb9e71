# Courses of qualification improvement counted by kind, topic and position (ppP), a kind or a
# topic written where it changes; the total (ppV).
sheet "Повышение квалификации" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 3 40 60 58 12 3
style title bold size=12 center middle wrap
style subtitle size=11 center middle
style head bold center middle wrap box size=9
style colnum size=8 center middle box
style num box center top size=9
style cell box left top wrap size=9
style tname bold box left top size=9
style tnum bold box center top size=9
print-titles 5:6
| ppHB | $f1 {title} | < | < | < | $END$ | height=20
|      | $f2 {subtitle} | < | < | < | | height=16
|      | $f3 {subtitle} | < | < | < | | height=16
|      |  |  |  |  | | height=6
|      | Вид обучения {head} | Тема {head} | Должность {head} | Количество {head} | | height=30
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} |
| ppPB | $fnameu4 {cell} | $fthem {cell} | $fdolj {cell} | $fcount {num} |
| ppVB | Всего {tname} | < | < | $fvcount {tnum} |
| $END$ |
