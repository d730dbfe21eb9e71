# Contracts of the staff, form Ф.ex.25: a heading per department (ppZagD), a line per employee
# (ppD).
sheet "Ф.ex.25" portrait A4 fit-width
font "Times New Roman" 10
margins 1.5 1 1.5 1.5
columns 4 6 40 26 13 13 4
style form right middle italic size=8
style title bold size=11 center middle wrap
style head bold center middle wrap box
style dept bold left middle box fill=EDEDED
style text box left top wrap
style num box center top
print-titles 3:3
| ppHB | Ф.ex.25 {form} | < | < | < | < | $END$ | height=12
|      | $fzag {title} | < | < | < | < | | height=32
| ppHE | № {head} | Фамилия, имя, отчество {head} | Трудовой договор {head} | Дата договора {head} | Дата приёма {head} | | height=28
| ppZagDB | $fname {dept} | < | < | < | < |
| ppDB | $fnum {num} | $ffio {text} | $fdog {text} | $fdtb {num} | $fdte {num} |
| $END$ |
