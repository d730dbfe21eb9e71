# Specialists by sex: for each department the employees with higher, secondary special and
# other education (by their latest finished education), each with the women among them; the
# last line is the total.
sheet "Состав по полу" portrait A4 fit-width
font "Times New Roman" 11
margins 2 1 1.5 1.5
columns 6 44 11 11 11 11 11 11 6
style title bold size=13 center middle wrap
style head bold center middle wrap box
style sub center middle wrap box size=10
style colnum size=9 center middle box
style name box left top wrap
style num box center top
print-titles 3:5
| ppHB | $f1 {title}  | <            | <         | <              | <         | <            | <         | $END$ | height=48
|      |              |              |           |                |           |              |           |       | height=8
|      | Подразделение {head} | Образование {head} | < | <      | <         | <            | <         |       | height=18
|      | ^            | высшее {head} | <        | среднее специальное {head} | < | прочее {head} | < |   | height=18
|      | ^            | всего {sub}  | в т.ч. женщин {sub} | всего {sub} | в т.ч. женщин {sub} | всего {sub} | в т.ч. женщин {sub} | | height=30
| ppHE | 1 {colnum}   | 2 {colnum}   | 3 {colnum} | 4 {colnum}    | 5 {colnum} | 6 {colnum}  | 7 {colnum} |
| ppPB | $f2 {name}   | $f3 {num}    | $f4 {num} | $f5 {num}      | $f6 {num} | $f7 {num}    | $f8 {num} |
| $END$ |
