# Specialists of the industry with higher and secondary education (the industry form): a line
# per department (ppP), the total (ppR) and the signatures (ppF).
sheet "Специалисты" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 4 44 7 7 7 7 7 7 7 7 7 7 7 7 8 8 4
style title bold size=12 center middle
style sub center middle wrap
style own bold center middle wrap border=bottom
style stamp right middle size=8 italic
style head bold center middle wrap box
style sub2 center middle wrap box size=9
style colnum size=8 center middle box
style name box left top wrap
style num box center top
style tname bold box left top
style tnum bold box center top
style sign left bottom
print-titles 7:10
| ppHB | $f1 {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=18
|      | $f2 {sub} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=16
|      | $f3 {sub} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=16
|      | $fown {own} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=18
|      | $fdatatime {stamp} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=12
|      |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | | height=6
|      | Подразделение {head} | Численность работающих {head} | < | < | < | в том числе с высшим образованием {head} | < | < | < | в том числе со средним образованием {head} | < | < | < | из общей численности {head} | < | | height=30
|      | ^ | всего {sub2} | в том числе {sub2} | < | < | всего {sub2} | в том числе {sub2} | < | < | всего {sub2} | в том числе {sub2} | < | < | мужчин {sub2} | женщин {sub2} | | height=18
|      | ^ | ^ | руково- дители {sub2} | специа- листы {sub2} | рабочие {sub2} | ^ | руково- дители {sub2} | специа- листы {sub2} | рабочие {sub2} | ^ | руково- дители {sub2} | специа- листы {sub2} | рабочие {sub2} | ^ | ^ | | height=40
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} | 13 {colnum} | 14 {colnum} | 15 {colnum} |
| ppPB | $fnown {name} | $fvsego {num} | $fruk {num} | $fspec {num} | $frab {num} | $fvsego1 {num} | $fruk1 {num} | $fspec1 {num} | $frab1 {num} | $fvsego2 {num} | $fruk2 {num} | $fspec2 {num} | $frab2 {num} | $fm {num} | $fw {num} |
| ppRB | $f4 {tname} | $fvvsego {tnum} | $fvruk {tnum} | $fvspec {tnum} | $fvrab {tnum} | $fvvsego1 {tnum} | $fvruk1 {tnum} | $fvspec1 {tnum} | $fvrab1 {tnum} | $fvvsego2 {tnum} | $fvruk2 {tnum} | $fvspec2 {tnum} | $fvrab2 {tnum} | $fvm {tnum} | $fvw {tnum} |
| ppFB |  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | height=18
|      | $fdir {sign} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | height=24
| ppFE | $fnach {sign} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | height=24
| $END$ |
