# Dismissed employees of the year by position: the number dismissed, by kind of ground, by age
# and by length of service (ppP a line per position, ppI the total).
sheet "Уволенные" landscape A4 fit-width
font "Times New Roman" 10
margins 1 1 1.5 1.5
columns 4 34 10 10 10 10 10 8 8 8 8 8 8 8 8 4
style title bold size=12 center middle
style subtitle bold size=12 center middle wrap
style head bold center middle wrap box
style sub center middle wrap box size=9
style colnum size=8 center middle box
style name box left top wrap
style num box center top
style tname bold box left top
style tnum bold box center top
print-titles 5:7
| ppHB | Сведения о численности работников, {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=18
|      | $f1 {subtitle} | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=18
|      | $f2 {subtitle} | < | < | < | < | < | < | < | < | < | < | < | < | < | | height=18
|      |  |  |  |  |  |  |  |  |  |  |  |  |  |  | | height=8
|      | Должность {head} | Уволено, всего {head} | в том числе по основаниям {head} | < | < | < | в том числе по возрасту {head} | < | < | < | в том числе по стажу работы {head} | < | < | < | | height=18
|      | ^ | ^ | нарушение трудовой дисциплины {sub} | по собственному желанию {sub} | по соглашению сторон {sub} | другие {sub} | до 30 лет {sub} | 30–45 лет {sub} | 46–50 лет {sub} | старше 50 лет {sub} | до 1 года {sub} | 1–5 лет {sub} | 6–10 лет {sub} | свыше 10 лет {sub} | | height=44
| ppHE | 1 {colnum} | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} | 13 {colnum} | 14 {colnum} |
| ppPB | $fdolj {name} | $fcount {num} | $fnar {num} | $fsj {num} | $fss {num} | $fdr {num} | $f30 {num} | $fd45 {num} | $fp45 {num} | $f50 {num} | $fst1 {num} | $fst5 {num} | $fst610 {num} | $f10 {num} |
| ppIB | Итого {tname} | $fcount {tnum} | $fnar {tnum} | $fsj {tnum} | $fss {tnum} | $fdr {tnum} | $f30 {tnum} | $fd45 {tnum} | $fp45 {tnum} | $f50 {tnum} | $fst1 {tnum} | $fst5 {tnum} | $fst610 {tnum} | $f10 {tnum} |
| $END$ |
