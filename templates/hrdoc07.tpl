# Age structure: for each department the men and the women in six age groups; the last line is
# the total.
sheet "Возрастная структура" landscape A4 fit-width
font "Times New Roman" 11
margins 1.5 1 1.5 1.5
columns 6 44 8 8 8 8 8 8 8 8 8 8 8 8 6
style title bold size=13 center middle wrap
style head bold center middle wrap box
style sub center middle wrap box size=10
style colnum size=9 center middle box
style name box left top wrap
style num box center top
print-titles 3:5
| ppHB | $f1 {title}  | <  | <  | <  | <  | <  | <  | <  | <  | <  | <  | <  | <  | $END$ | height=36
|      |              |    |    |    |    |    |    |    |    |    |    |    |    |       | height=8
|      | Подразделение {head} | Возраст, лет {head} | < | < | < | < | < | < | < | < | < | < | < | | height=18
|      | ^            | 18–29 {head} | < | 30–45 {head} | < | 46–50 {head} | < | 51–55 {head} | < | 56–60 {head} | < | 61 и старше {head} | < | | height=18
|      | ^            | муж. {sub} | жен. {sub} | муж. {sub} | жен. {sub} | муж. {sub} | жен. {sub} | муж. {sub} | жен. {sub} | муж. {sub} | жен. {sub} | муж. {sub} | жен. {sub} | | height=18
| ppHE | 1 {colnum}   | 2 {colnum} | 3 {colnum} | 4 {colnum} | 5 {colnum} | 6 {colnum} | 7 {colnum} | 8 {colnum} | 9 {colnum} | 10 {colnum} | 11 {colnum} | 12 {colnum} | 13 {colnum} |
| ppPB | $f2 {name}   | $f3 {num} | $f4 {num} | $f5 {num} | $f6 {num} | $f7 {num} | $f8 {num} | $f9 {num} | $f10 {num} | $f11 {num} | $f12 {num} | $f13 {num} | $f14 {num} |
| $END$ |
