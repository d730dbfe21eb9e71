# Employees on military registration hired or dismissed within a period: three title lines and
# the time of printing, the column headings (repeated on every page), a merged line per
# department (ppR), a row per employee (ppP) and the signature of the head of personnel (ppF).
sheet "Воинский учет" landscape A4 fit-width
font "Times New Roman" 10
margins 1.5 1 1.5 1.5
columns 3 5 16 28 11 9 22 30 11 11 16 3
style title bold size=12 center middle wrap
style sub center middle wrap size=11
style stamp italic right size=8
style head bold center middle wrap box
style colnum size=8 center middle box
style dept bold left middle box
style num box center top
style mid box center top wrap
style cell box left top wrap
style code box center top wrap text
style sign left bottom size=11
print-titles 6:7
| ppHB | $f1 {title}  | < | < | < | < | < | < | < | < | < | $END$ | height=20
|      | $f2 {sub}    | < | < | < | < | < | < | < | < | < |       | height=16
|      | $f3 {sub}    | < | < | < | < | < | < | < | < | < |       | height=16
|      | $fdatatime {stamp} | < | < | < | < | < | < | < | < | < | |
|      |  |  |  |  |  |  |  |  |  |  |  | height=6
|      | № п/п {head} | Воинское звание {head} | Фамилия, имя, отчество {head} | Дата рождения {head} | ВУС {head} | Должность {head} | Домашний адрес {head} | Дата приема {head} | Дата увольнения {head} | Характер движения {head} | | height=32
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} |
| ppRB | $fnown {dept} | < | < | < | < | < | < | < | < | < |
| ppPB | $fnp {num} | $fzv {cell} | $ffio {cell} | $ffdr {mid} | $fvus {code} | $fdolj {cell} | $fadr {cell} | $fdtpr {mid} | $fdtuv {mid} | $fhar {cell} |
| ppFB | $fnach {sign} | < | < | < | < | < | < | < | < | < | height=36
| $END$ |
