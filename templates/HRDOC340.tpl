# "HRDOC340": headcount and movement of the staff, three sheets of the statistical form.
# The report writes into fixed cells: organisation, month and year in the heading, one row per
# staff category (managers, specialists, workers), and name lists from row 20 down.

sheet "Раздел 1" portrait fit-width A4
font "Times New Roman" 10
margins 1.5 1 1.5 1.5
columns 2 34 20 7 11 20 12 10
style title bold center middle wrap size=12
style sub center middle wrap italic
style lbl right middle
style val bold left middle border=bottom
style head bold center middle wrap box
style num center middle box size=8 italic
style name left middle wrap box
style cat left middle box
style code center middle box
style money right middle box format="#,##0.00"
style pct right middle box format="0.0"
style total bold left middle wrap box
style tmoney bold right middle box format="#,##0.00"
style tpct bold right middle box format="0.0"
style sign left bottom
style line border=bottom
|  | СВЕДЕНИЯ О ЧИСЛЕННОСТИ И ДВИЖЕНИИ РАБОТНИКОВ {title} | < | < | < | < | < | < | height=20
|  | Раздел 1. Фонд начисленной заработной платы по категориям персонала {sub} | < | < | < | < | < | < |
|  |
|  | Организация (подразделение): {lbl} | < | < | {val} | < | < | < |
|  |
|  | Отчётный месяц: {lbl} | < | < | {val} | < | год: {lbl} | {val} |
|  |
|  |
|  | Наименование организации {head} | Категория персонала {head} | № строки {head} | Единица измерения {head} | Фонд начисленной заработной платы за месяц {head} | В % к итогу {head} | < | height=15
|  | ^ | ^ | ^ | ^ | ^ | ^ | < |
|  | ^ | ^ | ^ | ^ | ^ | ^ | < |
|  | ^ | ^ | ^ | ^ | ^ | ^ | < |
|  | ^ | ^ | ^ | ^ | ^ | ^ | < |
|  | ^ | ^ | ^ | ^ | ^ | ^ | < |
|  | А {num} | Б {num} | В {num} | 1 {num} | 2 {num} | 3 {num} | < |
|  | {name} | Руководители {cat} | '01 {code} | руб. {code} | {money} | =IF($F$19=0,0,F16/$F$19*100) {pct} | < |
|  | ^ | Специалисты {cat} | '02 {code} | руб. {code} | {money} | =IF($F$19=0,0,F17/$F$19*100) {pct} | < |
|  | ^ | Рабочие {cat} | '03 {code} | руб. {code} | {money} | =IF($F$19=0,0,F18/$F$19*100) {pct} | < |
|  | {total} | < | '04 {code} | руб. {code} | =SUM(F16:F18) {tmoney} | =IF(F19=0,0,100) {tpct} | < | height=30
|  |
|  |
|  | Руководитель организации {sign} | {line} | < |  | {line} | < | < |
|  |
|  | Исполнитель {sign} | {line} | < |  | {line} | < | < |
|  |  | (подпись) {sub} |  |  | (фамилия, инициалы) {sub} | < | < |

sheet "Раздел 2" landscape fit-width A4
font "Times New Roman" 9
margins 1 1 1.2 1.2
columns 1 26 13 10 10 8 6 7 5 7 5 7 5 7 5 7 5 1 6 6 6 6 6 8 8 8 9 8 12
style title bold center middle wrap size=11
style sub center middle wrap italic
style lbl right middle
style val bold left middle border=bottom
style valc bold center middle border=bottom
style head bold center middle wrap box size=8
style num center middle box size=7 italic
style name left middle wrap box
style cat left middle box
style int center middle box format="0"
style units right middle box format="0.00"
style pct right middle box format="0.0"
style total bold left middle wrap box
style tint bold center middle box format="0"
style tunits bold right middle box format="0.00"
style tpct bold right middle box format="0.0"
style list bold left
style gap
|  | СВЕДЕНИЯ О ЧИСЛЕННОСТИ И ДВИЖЕНИИ РАБОТНИКОВ {title} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | height=18
|  | Раздел 2. Состав работников на конец отчётного месяца по категориям персонала {sub} | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < | < |
|  |
|  | Организация (подразделение) {sub} |  |  | месяц {sub} |  | год {sub} |
|  | {val} | < | за {lbl} | {valc} | < | {valc} | г. {lbl} |
|  |
|  | Наименование организации {head} | Категория персонала {head} | Штатная численность, единиц {head} | Списочная численность на конец месяца, чел. {head} | Из них женщины {head} | < | Стаж работы на предприятии {head} | < | < | < | < | < | < | < | < | < | {gap} | Возраст, лет {head} | < | < | < | < | Пенсионного возраста {head} | < | Образование {head} | < | < | < |
|  | ^ | ^ | ^ | ^ | ^ | < | до 1 года {head} | < | от 1 до 5 лет {head} | < | от 5 до 10 лет {head} | < | от 10 до 20 лет {head} | < | 20 лет и более {head} | < | ^ | до 20 {head} | 21–30 {head} | 31–40 {head} | 41–49 {head} | 50 и старше {head} | женщины 55 лет и старше {head} | мужчины 60 лет и старше {head} | высшее {head} | из них имеют учёную степень {head} | < | среднее профессиональное {head} | height=26
|  | ^ | ^ | ^ | ^ | чел. {head} | % {head} | ^ | < | ^ | < | ^ | < | ^ | < | ^ | < | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | кандидата наук {head} | доктора наук {head} | ^ | height=14
|  | ^ | ^ | ^ | ^ | ^ | ^ | чел. {head} | % {head} | чел. {head} | % {head} | чел. {head} | % {head} | чел. {head} | % {head} | чел. {head} | % {head} | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | height=14
|  | А {num} | Б {num} | 1 {num} | 2 {num} | 3 {num} | 4 {num} | 5 {num} | 6 {num} | 7 {num} | 8 {num} | 9 {num} | 10 {num} | 11 {num} | 12 {num} | 13 {num} | 14 {num} | {gap} | 15 {num} | 16 {num} | 17 {num} | 18 {num} | 19 {num} | 20 {num} | 21 {num} | 22 {num} | 23 {num} | 24 {num} | 25 {num} |
|  | {name} | Руководители {cat} | {units} | =H12+J12+L12+N12+P12 {int} | {int} | =IF($E12=0,0,F12/$E12*100) {pct} | {int} | =IF($E12=0,0,H12/$E12*100) {pct} | {int} | =IF($E12=0,0,J12/$E12*100) {pct} | {int} | =IF($E12=0,0,L12/$E12*100) {pct} | {int} | =IF($E12=0,0,N12/$E12*100) {pct} | {int} | =IF($E12=0,0,P12/$E12*100) {pct} | {gap} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} |
|  | ^ | Специалисты {cat} | {units} | =H13+J13+L13+N13+P13 {int} | {int} | =IF($E13=0,0,F13/$E13*100) {pct} | {int} | =IF($E13=0,0,H13/$E13*100) {pct} | {int} | =IF($E13=0,0,J13/$E13*100) {pct} | {int} | =IF($E13=0,0,L13/$E13*100) {pct} | {int} | =IF($E13=0,0,N13/$E13*100) {pct} | {int} | =IF($E13=0,0,P13/$E13*100) {pct} | {gap} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} |
|  | ^ | Рабочие {cat} | {units} | =H14+J14+L14+N14+P14 {int} | {int} | =IF($E14=0,0,F14/$E14*100) {pct} | {int} | =IF($E14=0,0,H14/$E14*100) {pct} | {int} | =IF($E14=0,0,J14/$E14*100) {pct} | {int} | =IF($E14=0,0,L14/$E14*100) {pct} | {int} | =IF($E14=0,0,N14/$E14*100) {pct} | {int} | =IF($E14=0,0,P14/$E14*100) {pct} | {gap} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} | {int} |
|  | {total} | < | =SUM(D12:D14) {tunits} | =SUM(E12:E14) {tint} | =SUM(F12:F14) {tint} | =IF($E15=0,0,F15/$E15*100) {tpct} | =SUM(H12:H14) {tint} | =IF($E15=0,0,H15/$E15*100) {tpct} | =SUM(J12:J14) {tint} | =IF($E15=0,0,J15/$E15*100) {tpct} | =SUM(L12:L14) {tint} | =IF($E15=0,0,L15/$E15*100) {tpct} | =SUM(N12:N14) {tint} | =IF($E15=0,0,N15/$E15*100) {tpct} | =SUM(P12:P14) {tint} | =IF($E15=0,0,P15/$E15*100) {tpct} | {gap} | =SUM(S12:S14) {tint} | =SUM(T12:T14) {tint} | =SUM(U12:U14) {tint} | =SUM(V12:V14) {tint} | =SUM(W12:W14) {tint} | =SUM(X12:X14) {tint} | =SUM(Y12:Y14) {tint} | =SUM(Z12:Z14) {tint} | =SUM(AA12:AA14) {tint} | =SUM(AB12:AB14) {tint} | =SUM(AC12:AC14) {tint} | height=26
|  |
|  |
|  |
|  |  |  |  |  |  |  |  |  |  |  |  |  |  |  | Работники со стажем работы на предприятии 20 лет и более: {list} |

sheet "Раздел 3" landscape fit-width A4
font "Times New Roman" 10
margins 1.5 1 1.5 1.5
columns 1 28 14 12 10 13 14 14 14 14 12
style title bold center middle wrap size=12
style sub center middle wrap italic
style lbl right middle
style val bold left middle border=bottom
style valc bold center middle border=bottom
style head bold center middle wrap box size=9
style num center middle box size=8 italic
style name left middle wrap box
style cat left middle box
style int center middle box format="0"
style units right middle box format="0.00"
style total bold left middle wrap box
style tint bold center middle box format="0"
style tunits bold right middle box format="0.00"
style list bold left
|  | СВЕДЕНИЯ О ЧИСЛЕННОСТИ И ДВИЖЕНИИ РАБОТНИКОВ {title} | < | < | < | < | < | < | < | < | < | height=20
|  | Раздел 3. Движение работников и вакантные рабочие места за отчётный месяц {sub} | < | < | < | < | < | < | < | < | < |
|  |
|  | Организация (подразделение) {sub} |  |  | месяц {sub} |  | год {sub} |
|  | {val} | < | за {lbl} | {valc} | < | {valc} | г. {lbl} |
|  |
|  | Наименование организации {head} | Категория персонала {head} | Вакантные штатные единицы на конец месяца {head} | Выбыло работников {head} | < | < | < | < | < | Принято работников, всего {head} |
|  | ^ | ^ | ^ | всего {head} | в том числе {head} | < | < | < | < | ^ |
|  | ^ | ^ | ^ | ^ | в связи с переводом в другие организации {head} | по уважительным причинам (призыв на военную службу, учёба, пенсия) {head} | по собственному желанию и другим причинам {head} | за прогулы и другие нарушения трудовой дисциплины {head} | по сокращению численности или штата, ликвидации, несоответствию должности {head} | ^ | height=30
|  | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | height=30
|  | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | height=30
|  | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ | ^ |
|  | А {num} | Б {num} | 1 {num} | 2 {num} | 3 {num} | 4 {num} | 5 {num} | 6 {num} | 7 {num} | 8 {num} |
|  | {name} | Руководители {cat} | {units} | {int} | {int} | {int} | =E14-F14-G14-I14-J14 {int} | {int} | {int} | {int} |
|  | ^ | Специалисты {cat} | {units} | {int} | {int} | {int} | =E15-F15-G15-I15-J15 {int} | {int} | {int} | {int} |
|  | ^ | Рабочие {cat} | {units} | {int} | {int} | {int} | =E16-F16-G16-I16-J16 {int} | {int} | {int} | {int} |
|  | {total} | < | =SUM(D14:D16) {tunits} | =SUM(E14:E16) {tint} | =SUM(F14:F16) {tint} | =SUM(G14:G16) {tint} | =SUM(H14:H16) {tint} | =SUM(I14:I16) {tint} | =SUM(J14:J16) {tint} | =SUM(K14:K16) {tint} | height=30
|  |
|  |  |  |  | Выбывшие работники: {list} |  |  |  |  |  | Принятые работники: {list} |
