# Form П-4 (НЗ), part-time employment and movement of the staff: everything is in the heading
# part ppH; the counts f1..f11 stand in the numbered lines, the name lists ftst1..ftst11 below.
sheet "П-4 (НЗ)" portrait A4 fit-width
font "Times New Roman" 10
margins 1.5 1 1.5 1.5
columns 4 62 9 14 4
style box9 center middle wrap box size=9
style title bold size=12 center middle wrap
style sub center middle wrap
style place bold center middle wrap border=bottom
style head bold center middle wrap box
style colnum size=8 center middle box
style name box left middle wrap
style code box center middle
style num box center middle bold
style caption bold left bottom wrap
style list box left top wrap size=8
| ppHB | ФЕДЕРАЛЬНОЕ СТАТИСТИЧЕСКОЕ НАБЛЮДЕНИЕ {box9} | < | < | $END$ | height=16
|      | КОНФИДЕНЦИАЛЬНОСТЬ ГАРАНТИРУЕТСЯ ПОЛУЧАТЕЛЕМ ИНФОРМАЦИИ {box9} | < | < | | height=16
|      |  |  |  | | height=8
|      | Сведения о неполной занятости и движении работников {title} | < | < | | height=20
|      | Форма П-4 (НЗ), квартальная {sub} | < | < | | height=16
|      | $fnmst {place} | < | < | | height=34
|      |  |  |  | | height=8
|      | Наименование показателя {head} | № строки {head} | Количество, человек {head} | | height=30
|      | 1 {colnum} | 2 {colnum} | 3 {colnum} | |
|      | Численность работников, работавших неполное рабочее время по инициативе работодателя {name} | '01 {code} | $f1 {num} | | height=30
|      | Численность работников, которым были предоставлены отпуска без сохранения заработной платы по письменному заявлению работника {name} | '02 {code} | $f2 {num} | | height=30
|      | Принято работников {name} | '03 {code} | $f3 {num} | | height=30
|      | Выбыло работников {name} | '04 {code} | $f4 {num} | | height=30
|      |    из них: по соглашению сторон {name} | '05 {code} | $f5 {num} | | height=30
|      |    в связи с сокращением численности работников {name} | '06 {code} | $f6 {num} | | height=30
|      |    по инициативе работника {name} | '07 {code} | $f7 {num} | | height=30
|      | Списочная численность работников на конец отчётного периода {name} | '08 {code} | $f8 {num} | | height=30
|      |    из них: временных и сезонных {name} | '09 {code} | $f9 {num} | | height=30
|      | Численность женщин, находящихся в отпуске по беременности и родам {name} | '10 {code} | $f10 {num} | | height=30
|      | Численность женщин, находящихся в отпуске по уходу за ребёнком {name} | '11 {code} | $f11 {num} | | height=30
|      |  |  |  | | height=10
|      | Списки работников к строкам формы {title} | < | < | | height=20
|      | Строка 01. Численность работников, работавших неполное рабочее время по инициативе работодателя {caption} | < | < | | height=28
|      | $ftst1 {list} | < | < | | height=24
|      | Строка 02. Численность работников, которым были предоставлены отпуска без сохранения заработной платы по письменному заявлению работника {caption} | < | < | | height=28
|      | $ftst2 {list} | < | < | | height=24
|      | Строка 03. Принято работников {caption} | < | < | | height=28
|      | $ftst3 {list} | < | < | | height=24
|      | Строка 04. Выбыло работников {caption} | < | < | | height=28
|      | $ftst4 {list} | < | < | | height=24
|      | Строка 05. по соглашению сторон {caption} | < | < | | height=28
|      | $ftst5 {list} | < | < | | height=24
|      | Строка 06. в связи с сокращением численности работников {caption} | < | < | | height=28
|      | $ftst6 {list} | < | < | | height=24
|      | Строка 07. по инициативе работника {caption} | < | < | | height=28
|      | $ftst7 {list} | < | < | | height=24
|      | Строка 08. Списочная численность работников на конец отчётного периода {caption} | < | < | | height=28
|      | $ftst8 {list} | < | < | | height=24
|      | Строка 09. временных и сезонных {caption} | < | < | | height=28
|      | $ftst9 {list} | < | < | | height=24
|      | Строка 10. Численность женщин, находящихся в отпуске по беременности и родам {caption} | < | < | | height=28
|      | $ftst10 {list} | < | < | | height=24
|      | Строка 11. Численность женщин, находящихся в отпуске по уходу за ребёнком {caption} | < | < | | height=28
| ppHE | $ftst11 {list} | < | < | | height=24
| $END$ |
