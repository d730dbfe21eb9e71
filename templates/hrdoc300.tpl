# Education of the staff up to 29 years: a line per department (ppP), the total (ppR) and the
# signatures (ppF).
sheet "До 29 лет" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 4 44 8 8 8 9 10 11 10 9 10 10 10 4
style title bold size=12 center middle wrap
style sub center middle wrap
style stamp right middle size=8 italic
style head bold center middle wrap box
style sub2 center middle wrap box size=9
style colnum size=8 center middle box
style name box left top wrap
style num box center top
style tname bold box left top
style tnum bold box center top
style sign left bottom
print-titles 5:7
| ppHB | Сведения об образовании работников в возрасте от 15 до 29 лет {title} | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=20
|      | $f1 {sub} | < | < | < | < | < | < | < | < | < | < | < | | height=16
|      | $fdatatime {stamp} | < | < | < | < | < | < | < | < | < | < | < | | height=12
|      |  |  |  |  |  |  |  |  |  |  |  |  | | height=6
|      | Подразделение {head} | Всего {head} | в том числе {head} | < | по уровню образования {head} | < | < | < | < | обучаются {head} | < | < | | height=18
|      | ^ | ^ | мужчин {sub2} | женщин {sub2} | высшее {sub2} | неполное высшее {sub2} | среднее специальное {sub2} | среднее общее {sub2} | не имеют {sub2} | заочно {sub2} | в вузах {sub2} | в ссузах {sub2} | | height=44
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} |
| ppPB | $fnown {name} | $fvsego {num} | $fm {num} | $fw {num} | $fvis {num} | $fnepvis {num} | $fsredspec {num} | $fobsred {num} | $fnet {num} | $fzao {num} | $fprvus {num} | $fprsred {num} |
| ppRB | Всего {tname} | $fvsego {tnum} | $fm {tnum} | $fw {tnum} | $fvis {tnum} | $fnepvis {tnum} | $fsredspec {tnum} | $fobsred {tnum} | $fnet {tnum} | $fzao {tnum} | $fprvus {tnum} | $fprsred {tnum} |
| ppFB |  |  |  |  |  |  |  |  |  |  |  |  | height=18
|      | $fdir {sign} | < | < | < | < | < | < | < | < | < | < | < | height=24
| ppFE | $fnach {sign} | < | < | < | < | < | < | < | < | < | < | < | height=24
| $END$ |
