# The workers' courses by kind (ppP), counted by the form of training, and the number of all
# courses (ppV).
sheet "Обучение рабочих" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 3 46 24 24 24 24 16 3
style title bold size=12 center middle wrap
style subtitle size=11 center middle
style head bold center middle wrap box
style colnum size=8 center middle box
style num box center top
style cell box left top wrap
style tname bold box left top
style tnum bold box center top
print-titles 4:6
| ppHB | $f1 {title} | < | < | < | < | < | $END$ | height=20
|      | $f2 {subtitle} | < | < | < | < | < | | height=16
|      |  |  |  |  |  |  | | height=6
|      | Вид обучения {head} | в том числе по формам обучения {head} | < | < | < | Всего {head} | | height=18
|      | ^ | подготовка новых рабочих {head} | повышение квалификации {head} | целевое обучение {head} | обучение вторым профессиям {head} | ^ | | height=32
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} |
| ppPB | $fnameu4 {cell} | $fkpod {num} | $fkpov {num} | $fkcel {num} | $fkpod2 {num} | $fcount {num} |
| ppVB | Итого {tname} | < | < | < | < | $fvcount {tnum} |
| $END$ |
