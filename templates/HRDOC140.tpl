# The staff with their education, form Ф.ех.24: a heading per department (ppZagD), a line per
# employee (ppD); each education record is a line of its own inside the cells.
sheet "Ф.ех.24" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 4 5 16 13 16 11 24 7 22 38 32 4
style form right middle italic size=8
style title bold size=11 center middle wrap
style sub center middle wrap
style head bold center middle wrap box
style colnum size=8 center middle box
style dept bold left middle box fill=EDEDED
style text box left top wrap
style num box center top
print-titles 4:5
| ppHB | Ф.ех.24 {form} | < | < | < | < | < | < | < | < | < | $END$ | height=12
|      | $fpdr {sub} | < | < | < | < | < | < | < | < | < | | height=16
|      | $fzag {title} | < | < | < | < | < | < | < | < | < | | height=30
|      | № {head} | Фамилия {head} | Имя {head} | Отчество {head} | Дата рождения {head} | Должность {head} | Разряд {head} | Образование {head} | Учебное заведение {head} | Специальность {head} | | height=30
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} |
| ppZagDB | $fname {dept} | < | < | < | < | < | < | < | < | < |
| ppDB | $fnum {num} | $ffam {text} | $fname {text} | $fotch {text} | $fdr {num} | $fdol {text} | $fraz {num} | $fobr {text} | $funiv {text} | $fspec {text} |
| $END$ |
