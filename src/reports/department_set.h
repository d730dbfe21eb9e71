#pragma once
// What the reports over a department set share: the departments of the set, their headings
// from the top level down, and the order of the employees within a department.

#include <string>

#include "db/database.h"

namespace hrdoc::reports {

// The departments not excluded by otzruc2.PRZ, with the short names of up to three levels
// above them (the root left out). The set's condition and " order by 1" follow at run time.
inline constexpr const char* kQryPODR = R"(select ((case when (kpn3.KP<>1)then kpn3.SNAME else '' end) ||
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

// The client-side sort of an employee list by the host's list order: 0 by name, 1 by personnel
// number, 2 by staff-list order and position; null for any other value (the statement's order).
inline const char* ListOrder(int setting) {
  switch (setting) {
    case 0: return "fname";
    case 1: return "tn";
    case 2: return "SORTNN,doln";
    default: return nullptr;
  }
}

// The current department of qryPODR as "SNAME3::SNAME2::SNAME1::SNAME", empty levels left out.
inline std::string DepartmentHeading(const db::Query& qryPODR) {
  std::string caption = qryPODR.field("SNAME").as_string();
  for (const char* upper : {"SNAME1", "SNAME2", "SNAME3"}) {
    const std::string s = qryPODR.field(upper).as_string();
    if (!s.empty()) caption = s + "::" + caption;
  }
  return caption;
}

}  // namespace hrdoc::reports
