// "HRDOC310": the employees of the department hired or dismissed within the period, optionally
// only those registered with one military commissariat and of one registration composition.
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "calc/fmmilitary.h"
#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "text/date.h"

namespace hrdoc {
namespace {

using office::TExcelShablon;

constexpr const char* kQryKpn = R"(select  ((case when s2.sname is NULL then '' else s2.sname||' ' end)
||(case when s3.sname is NULL then '' else s3.sname||' ' end)
||(case when s4.sname is NULL then '' else s4.sname||' ' end)
||(case when s1.sname is NULL then '' else s1.sname||' ' end)) as srt,
kpn.kp,
t2.dto,t2.ktd,
kpn.tn, kpn.fname,
kpn.owner,t2.nmds, s1.sname,s3.sname as sname2,
ad1.fdr,
zv.nwzv zvanie,
wu.wus,
adr.gor,
adr.ulname,
adr.dom,
adr.korp,
adr.kv

from kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=kpn.owner
left join otzruc ruc on ruc.owner=kpn.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3

left join zpads1 ad1 on ad1.kp=kpn.kp
left join kdt2iiwu wu on wu.kp=t2.kp
left join kdiiwzv zv on zv.kwzv=wu.kwzv
left join zpadres  adr on adr.kp=t2.kp



where t2.dto>=:fd1 and t2.dto<=:fd2
and (t2.ktd=121 or t2.ktd=21)  /*and t2.okl>0*/ and t2.book=1
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)

and   ((0=:PKRW1)or(0<:PKRW2 and wu.krwk=:PKRW3))
      and
      ((0=:PKSU1)or(0<:PKSU2 and wu.kswu=:PKSU3))


order by 1,kpn.fname,t2.dto desc)";

constexpr const char* kQryPRI = R"(select t2.dto,t2.owner
from kdt2iiidvg t2

where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=:kp and t2dvg.ktd=21 and t2dvg.book=1 )
and t2.kp=:kp1)";

constexpr const char* kQryUV = R"(select t2.dto,t2.owner
from kdt2iiidvg t2

where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=:kp and t2dvg.ktd=121 and t2dvg.book=1)
and t2.kp=:kp1)";

constexpr const char* kQryDOLJ = R"(select t2.dto,t2.nmds
from kdt2iiidvg t2

where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=:kp)
and t2.kp=:kp1)";

constexpr const char* kQryKP = R"(select sname from otzkpn
where kp=:kp)";

constexpr const char* kUndefined = "Не определенно";

// Runs a per-employee statement for employee kp and returns its first row's dto, if any.
std::optional<TDateTime> latest(db::Query& q, int64_t kp) {
  q.close();
  q.set("kp", kp);
  q.set("kp1", kp);
  q.open();
  if (q.eof() || q.field("dto").is_null()) return std::nullopt;
  return q.field("dto").as_date();
}

class Tfmhrd310 : public TReportWindow {
 public:
  Tfmhrd310() {
    Caption = "Сведения о состоящих на военном учете";
    lbM.set_caption("Подготовка информации");
  }

  bool Settings() override { return TfmMil(*c_p).Execute(KRWK, NRWK, KSWU, NSWU) == 1; }

  void Job() override {
    TExcelShablon w;
    if (!OpenReport(w, "hrdoc310", "Подготовка информации")) return;
    const TDateTime D1 = c_p->D1, D2 = c_p->D2;
    const std::string sost = KSWU == 0 ? kUndefined : NSWU, voenkom = KRWK == 0 ? kUndefined : NRWK;
    w.SetField("ppH", "f1", "Сведения о работниках " + c_p->department_name() + " из числа " + sost + " состава");
    w.SetField("ppH", "f2", "состоящих на воинском учете в " + voenkom);
    w.SetField("ppH", "f3", "принятых и уволенных с " + text::date_text(D1) + " по " + text::date_text(D2));
    w.SetField("ppH", "fdatatime", Now());

    db::Query qryKpn(*dm->ADOConnection), qryPRI(*dm->ADOConnection), qryUV(*dm->ADOConnection),
        qryDOLJ(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd1", D1);
    qryKpn.set_date("fd2", D2);
    for (const char* name : {"ow1", "ow2", "ow3", "ow4", "ow5", "ow6", "ow7", "ow", "md"})
      qryKpn.set(name, int64_t{c_p->KP});
    for (const char* name : {"PKRW1", "PKRW2", "PKRW3"}) qryKpn.set(name, int64_t{KRWK});
    for (const char* name : {"PKSU1", "PKSU2", "PKSU3"}) qryKpn.set(name, int64_t{KSWU});
    qryKpn.open();
    qryPRI.sql(kQryPRI);
    qryUV.sql(kQryUV);
    qryDOLJ.sql(kQryDOLJ);

    int counter = 0;
    int64_t previousOwner = 0, previousKp = 0;
    bool first = true;
    PrintRows(qryKpn, "fname", [&] {
      const int64_t kp = qryKpn.field("kp").as_int();
      // Only the first of an employee's rows counts.
      if (!first && kp == previousKp) return;
      first = false;
      previousKp = kp;
      const std::optional<TDateTime> hired = latest(qryPRI, kp), dismissed = latest(qryUV, kp);
      auto within = [&](TDateTime d) { return D1 < d && d < D2; };
      const bool listed = (hired && !dismissed && within(*hired)) || (dismissed && !hired && within(*dismissed)) ||
                          (hired && dismissed && within(*dismissed) && *hired < *dismissed);
      if (!listed) return;

      const int64_t owner = qryKpn.field("owner").as_int();
      if (owner != previousOwner) {
        const std::string upper = qryKpn.field("sname2").as_string(), sname = qryKpn.field("sname").as_string();
        w.ClearPart("ppR");
        w.SetField("ppR", "fnown", upper.empty() ? sname : upper + ": " + sname);
        w.AddPart("ppR", 0);
        previousOwner = owner;
      }
      w.ClearPart("ppP");
      w.SetField("ppP", "fnp", static_cast<int32_t>(++counter));
      w.SetField("ppP", "fzv", qryKpn.field("zvanie").as_string());
      w.SetField("ppP", "ffio", qryKpn.field("fname").as_string());
      w.SetField("ppP", "ffdr", qryKpn.field("fdr").as_string());
      w.SetField("ppP", "fvus", qryKpn.field("wus").as_string());
      latest(qryDOLJ, kp);
      w.SetField("ppP", "fdolj", qryDOLJ.eof() ? std::string() : qryDOLJ.field("nmds").as_string());
      w.SetField("ppP", "fadr", Address(qryKpn));
      std::string movement;
      if (hired) {
        w.SetField("ppP", "fdtpr", text::date_text(*hired));
        movement = "принят ";
      }
      if (dismissed) {
        w.SetField("ppP", "fdtuv", text::date_text(*dismissed));
        movement += (movement.empty() ? "" : " ,") + std::string(" уволен ");
      }
      w.SetField("ppP", "fhar", movement);
      w.AddPart("ppP", 0);
    });

    db::Query qryKP(*dm->ADOConnection);
    qryKP.sql(kQryKP);
    qryKP.set("kp", int64_t{c_p->NACHOK});
    qryKP.open();
    w.ClearPart("ppF");
    w.SetField("ppF", "fnach", "Начальник службы по кадрам  ____________________________ " +
                                   (qryKP.eof() ? std::string() : qryKP.field("sname").as_string()));
    w.AddPart("ppF", 0);
    w.FitOutputRows();
    FinishReport(w, "ppH");
  }

 private:
  // "town street №house корп.building кв.flat", the empty parts left out.
  static std::string Address(const db::Query& row) {
    std::string text = row.field("gor").as_string() + " " + row.field("ulname").as_string();
    for (const auto& [field, prefix] : {std::pair{"dom", " №"}, std::pair{"korp", " корп."}, std::pair{"kv", " кв."}}) {
      const std::string part = row.field(field).as_string();
      if (!part.empty()) text += prefix + part;
    }
    return text;
  }

  static std::string Now() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char text[80];
    std::snprintf(text, sizeof text, "%02d.%02d.%4d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return text;
  }

  // The choices of the settings dialog.
  int32_t KRWK = 0, KSWU = 0;
  std::string NRWK, NSWU;
};

const bool statements = register_statements("HRDOC310", {{"qryKpn", kQryKpn},
                                                         {"qryPRI", kQryPRI},
                                                         {"qryUV", kQryUV},
                                                         {"qryDOLJ", kQryDOLJ},
                                                         {"qryKP", kQryKP}});
const bool registered = register_report<Tfmhrd310, "HRDOC310">();

}  // namespace
}  // namespace hrdoc
