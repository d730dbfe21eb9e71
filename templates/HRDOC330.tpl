# Supplementary agreement to a labour contract rewriting the employee's duties: one page per
# employee, the part ppH copied for each; it starts with a page break that its copies keep.
sheet "Доп. соглашения" portrait A4 fit-width
font "Times New Roman" 11
margins 2.5 1.5 1.5 1.5
columns 3 7.5 7.5 7.5 7.5 7.5 7.5 7.5 7.5 7.5 7.5 7.5 7.5 3
style title bold size=13 center middle
style subr bold right middle
style subl bold left middle
style left left middle
style right right middle
style day right middle format="\«00\»"
style month center middle
style year left middle format="0\ \г\."
style text left top wrap
style party bold left bottom
style req left top wrap
style sign left bottom
style small left bottom size=10 wrap
| ppTB |  |  |  |  |  |  |  |  |  |  |  |  | $END$ | height=2
page-break
| ppHB | ДОПОЛНИТЕЛЬНОЕ СОГЛАШЕНИЕ {title} | < | < | < | < | < | < | < | < | < | < | < | | height=20
|      | к трудовому договору {subr} | < | < | < | < | $fnumdate {subl} | < | < | < | < | < | < | | height=16
|      | г. Заречный {left} | < | < |  |  |  |  |  | $fdv {day} | $fmv {month} | < | $fyv {year} | | height=22
|      | $fd1 {text} | < | < | < | < | < | < | < | < | < | < | < | | height=92
|      | $fd2 {text} | < | < | < | < | < | < | < | < | < | < | < | | height=46
|      | $fd3 {text} | < | < | < | < | < | < | < | < | < | < | < | | height=62
|      | $fd4 {text} | < | < | < | < | < | < | < | < | < | < | < | | height=46
|      |  |  |  |  |  |  |  |  |  |  |  |  | | height=10
|      | Работодатель {party} | < | < | < | < |  | Работник {party} | < | < | < | < | < | | height=16
|      | $fpredpr {req} | < | < | < | < |  | $fdatarab {req} | < | < | < | < | < | | height=140
|      | $fdruc1 {req} | < | < | < | < |  |  |  |  |  |  |  | | height=30
|      | ______________ {sign} | < |  $ffruk1 {sign} | < | < |  | ______________ {sign} | < | $ffiorab1 {sign} | < | < | < | | height=24
|      |  |  |  |  |  |  |  |  |  |  |  |  | | height=10
|      | Согласовано: {left} | < | < | < | < | < | < | < | < | < | < | < | | height=16
|      | $fsogl {text} | < | < | < | < | < | < | < | < | < | < | < | | height=46
|      | Экземпляр дополнительного соглашения получил(а): {small} | < | < | < | < | < | $ffiorab2 {sign} | < | < | < | < | < | | height=30
| ppHE |  |  |  |  |  |  |  |  |  |  |  |  | | height=4
| $END$ |
