# Sex and age structure of the staff, form Ф.ex.26: the title and one heading row, then a line
# per department (ppD) and the bold total (ppItg).
sheet "Ф.ex.26" landscape A4 fit-width
font "Arial" 9
margins 1 1 1.5 1.5
columns 4 36 7 7 7 7 7 7 7 8 7 7 7 7 7 7 8 8 4
style title bold size=12 center middle wrap
style head bold center middle wrap box size=8
style men bold center middle wrap box size=8 fill=DDEBF7
style women bold center middle wrap box size=8 fill=FCE4D6
style name box left top wrap
style num box center top
style tname bold box left top wrap
style tnum bold box center top
print-titles 2:2
| ppHB | $fzag {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | $END$ | height=36
| ppHE | Подразделение {head} | Муж. до 25 {men} | Муж. 25–30 {men} | Муж. 31–35 {men} | Муж. 36–40 {men} | Муж. 41–45 {men} | Муж. 46–50 {men} | Муж. 51–55 {men} | Муж. 56 и старше {men} | Жен. до 25 {women} | Жен. 25–30 {women} | Жен. 31–35 {women} | Жен. 36–40 {women} | Жен. 41–45 {women} | Жен. 46–50 {women} | Жен. 51 и старше {women} | Итого {head} | | height=40
| ppDB | $fname {name} | $fm25 {num} | $fm2530 {num} | $fm3135 {num} | $fm3640 {num} | $fm4145 {num} | $fm4650 {num} | $fm5155 {num} | $fm56 {num} | $fg25 {num} | $fg2530 {num} | $fg3135 {num} | $fg3640 {num} | $fg4145 {num} | $fg4650 {num} | $fg51 {num} | $fItg {num} |
| ppItgB | $fname {tname} | $fm25 {tnum} | $fm2530 {tnum} | $fm3135 {tnum} | $fm3640 {tnum} | $fm4145 {tnum} | $fm4650 {tnum} | $fm5155 {tnum} | $fm56 {tnum} | $fg25 {tnum} | $fg2530 {tnum} | $fg3135 {tnum} | $fg3640 {tnum} | $fg4145 {tnum} | $fg4650 {tnum} | $fg51 {tnum} | $fItg {tnum} |
| $END$ |
