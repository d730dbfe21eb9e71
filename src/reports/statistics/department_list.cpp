#include "reports/statistics/department_list.h"

#include "host/compark.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "office/srvimp.h"

namespace hrdoc {

const char* const kQryPODR = R"(select ((case when (kpn3.KP<>1)then kpn3.SNAME else '' end) ||
(case when (kpn2.KP<>1)then kpn2.SNAME else '' end) ||
(case when (kpn1.KP<>1)then kpn1.SNAME else '' end) ||
(case when (kpn.KP<>1)then kpn.SNAME else '' end)) as URSNAME,
kpn.KP,kpn.SNAME,
(case when (kpn1.KP<>1)then kpn1.SNAME else '' end) as SNAME1,
(case when (kpn2.KP<>1)then kpn2.SNAME else '' end) as SNAME2,
(case when (kpn3.KP<>1)then kpn3.SNAME else '' end) as SNAME3
from otzkpn kpn
left join otzkpn kpn1 on kpn1.KP=kpn.OWNER
left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER
left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER
left join otzruc2 ruc on ruc.KP=kpn.KP
where kpn.TN=0 and ruc.PRZ<>1 and kpn.KP>1)";

const char* ListOrder(int setting) {
  switch (setting) {
    case 0: return "fname";
    case 1: return "tn";
    case 2: return "SORTNN,doln";
    default: return nullptr;
  }
}

std::string DepartmentCaption(const db::Query& podr) {
  std::string caption = podr.field("SNAME").as_string();
  for (const char* upper : {"SNAME1", "SNAME2", "SNAME3"}) {
    const std::string s = podr.field(upper).as_string();
    if (!s.empty()) caption = s + "::" + caption;
  }
  return caption;
}

void TDepartmentList::Fill(office::TExcelShablon& w) {
  const TDateTime D = c_p->D;
  Header(w, NodeFullName(*dm, c_p->KP));

  db::Query qryPODR(*dm->ADOConnection), employees(*dm->ADOConnection);
  qryPODR.sql(std::string(kQryPODR) + c_p->GetKpSewForWhere("kpn.KP") + " order by 1");
  qryPODR.open();
  pbM.set_max(qryPODR.record_count());
  employees.sql(form_.sql);
  const char* order = ListOrder(c_p->list_order);

  int number = 0;
  for (qryPODR.first(); !qryPODR.eof(); qryPODR.next()) {
    employees.close();
    BindDate(employees, D);
    employees.set("PODR", qryPODR.field("KP").as_int());
    employees.open();
    if (order) employees.sort(order);
    if (employees.record_count() > 0) {
      w.ClearPart("ppZagD");
      w.SetField("ppZagD", "fname", DepartmentCaption(qryPODR));
      w.AddPart("ppZagD", 0);
      for (employees.first(); !employees.eof(); employees.next()) {
        lbM.set_caption("Подготовка формы >" + employees.field("FNAME").as_string());
        w.ClearPart("ppD");
        Line(w, employees, ++number);
        w.AddPart("ppD", 0);
      }
    }
    pbM.step_it();
  }

  office::TServerImp& app = *w.GetApplication();
  app.SelectRange("A2:E" + std::to_string(w.OutputRow()), 0);
  app.AutoFitColumns(1, 5, 0);
  app.SelectRange("A1", 0);
  // Wrapped texts and the lines of several records need taller rows.
  w.FitOutputRows();
  lbM.set_caption("Подготовка формы... Ok");
}

}  // namespace hrdoc
