#include "reports/statistics/qualification.h"

#include <cmath>
#include <exception>

#include "host/compark.h"
#include "host/udm.h"
#include "host/uosrv250.h"
#include "office/classexl.h"
#include "text/date.h"
#include "ui/stop.h"

namespace hrdoc {

const char* const kQryCourses = R"(select
t2kv.days, t2kv.summ, t2kv.ntmk, upkv.nupkv

from KDT2VPK t2kv
LEFT JOIN KDVUPKV upkv ON upkv.kupkv=t2kv.kupkv

where t2kv.kp=:kp
and t2kv.DWS>=:fd1 and t2kv.DWS<=:fd2 and t2kv.DAYS>0

order by t2kv.dws)";

namespace {

constexpr const char* kCategoryHead = R"(select  ((case when s2.sname is NULL then '' else s2.sname end)
  ||(case when s3.sname is NULL then '' else s3.sname end)
  ||(case when s4.sname is NULL then '' else s4.sname end)
  ||(case when s1.sname is NULL then '' else s1.sname end)) as srt,

kpn.tn, kpn.fname, t2.kat,
t2.owner,t2.rz,t2.nmdl,

t2kv.days, t2kv.summ, t2kv.ntmk, upkv.nupkv,
kpn.kp,
s1.sname,s3.sname as sname2

from KDT2VPK t2kv
left join kdt2iiidvg t2 on t2.kp=t2kv.kp
left join otzkpn kpn on kpn.kp=t2.kp
LEFT JOIN KDVUPKV upkv ON upkv.kupkv=t2kv.kupkv
left join otzkpn s1 on s1.kp=t2.owner
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:dt)
)";
constexpr const char* kCategoryTail = R"(
and t2kv.DWS>=:fd1 and t2kv.DWS<=:fd2 and t2kv.DAYS>0)";

// The host's list order as a sort of the course rows; KP last keeps an employee's rows together.
const char* ListOrder(int setting) {
  switch (setting) {
    case 1: return "srt,tn,kp";
    case 2: return "srt,SORTNN,ndol,kp";
    default: return "srt,fname,kp";
  }
}

}  // namespace

void TQualificationReport::Job() {
  office::TExcelShablon w;
  if (!OpenReport(w, code_, "Подготовка информации")) return;
  try {
    Fill(w);
    w.FitOutputRows();
  } catch (const ui::Stopped&) {
    throw;  // a stopped run writes no book
  } catch (const std::exception&) {
    // The user gets the book as far as it was written.
  }
  FinishReport(w, "ppH");
}

void TQualificationReport::Header(office::TExcelShablon& w, const std::string& title, bool period) {
  skpw record;
  c_p->f_skpw(static_cast<uint16_t>(c_p->KP), c_p->payroll_month, &record);
  w.SetField("ppH", "f1", title);
  w.SetField("ppH", "f2", "по подразделению " + GetPathSkpw(record));
  if (period) w.SetField("ppH", "f3", "с " + text::date_text(D1()) + " по " + text::date_text(D2()));
}

TDateTime TQualificationReport::D() const { return text::encode_date(c_p->d_year, c_p->d_month, c_p->d_day); }
TDateTime TQualificationReport::D1() const { return text::encode_date(c_p->d1_year, c_p->d1_month, c_p->d1_day); }
TDateTime TQualificationReport::D2() const { return text::encode_date(c_p->d2_year, c_p->d2_month, c_p->d2_day); }

void TQualificationReport::BindDepartment(db::Query& q) const {
  const int64_t K = c_p->KP;
  q.set("ow", K);
  for (int i = 1; i <= 7; ++i) q.set("ow" + std::to_string(i), K);
  q.set("md", K);
}

void TQualificationReport::ForEachEmployee(db::Query& q, office::TExcelShablon& w, const char* departmentPart,
                                           const std::function<void()>& person) {
  std::optional<int64_t> previousKp, previousOwner;
  for (q.first(); !q.eof(); q.next()) {
    const int64_t kp = q.field("KP").as_int();
    if (kp == previousKp) continue;
    previousKp = kp;
    pbKp.step_it();
    lbKp.set_caption(q.field("FNAME").as_string() + " " + q.field("TN").as_string());
    const int64_t owner = q.field("OWNER").as_int();
    if (departmentPart && owner != previousOwner) {
      const std::string upper = q.field("SNAME2").as_string();
      w.ClearPart(departmentPart);
      w.SetField(departmentPart, "fnameown", (upper.empty() ? "" : upper + ": ") + q.field("SNAME").as_string());
      w.AddPart(departmentPart, 0);
    }
    previousOwner = owner;
    person();
  }
}

void TCourseList::Fill(office::TExcelShablon& w) {
  Header(w, form_.title, true);
  db::Query qryKpn(*dm->ADOConnection), qryKV(*dm->ADOConnection);
  qryKpn.sql(std::string(form_.sql) + c_p->GetKpSewForWhere("t2kv.kp") + form_.tail);
  qryKpn.set_date("fd1", D1());
  qryKpn.set_date("fd2", D2());
  qryKpn.set_date("dt", D());
  qryKpn.open();
  if (form_.listOrder) qryKpn.sort(ListOrder(c_p->list_order));
  pbKp.set_max(qryKpn.record_count());
  qryKV.sql(kQryCourses);

  int32_t number = 0;
  ForEachEmployee(qryKpn, w, "ppR", [&] {
    w.ClearPart("ppP");
    w.SetField("ppP", "fnp", ++number);
    w.SetField("ppP", "ffio", qryKpn.field("FNAME").as_string());
    w.SetField("ppP", "ftn", static_cast<int32_t>(qryKpn.field("TN").as_int()));
    w.SetField("ppP", "fdolj", qryKpn.field("NMDL").as_string());
    if (!qryKpn.field("RZ").is_null()) w.SetField("ppP", "frz", static_cast<int32_t>(qryKpn.field("RZ").as_int()));
    qryKV.close();
    qryKV.set_date("fd1", D1());
    qryKV.set_date("fd2", D2());
    qryKV.set("kp", qryKpn.field("KP").as_int());
    qryKV.open();
    for (qryKV.first(); !qryKV.eof(); qryKV.next()) {
      if (qryKV.position() > 0) w.ClearPart("ppP");
      w.SetField("ppP", "fnameu4", qryKV.field("NUPKV").as_string());
      w.SetField("ppP", "fsrok", static_cast<int32_t>(qryKV.field("DAYS").as_int()));
      w.SetField("ppP", "fsum", Currency(qryKV.field("SUMM").as_float()));
      w.SetField("ppP", "fthem", qryKV.field("NTMK").as_string());
      w.AddPart("ppP", 0);
    }
  });
}

std::string CategoryStatement(const char* category) {
  return std::string(kCategoryHead) + category + kCategoryTail;
}

double Currency(double value) { return std::nearbyint(value * 10000.0) / 10000.0; }

}  // namespace hrdoc
