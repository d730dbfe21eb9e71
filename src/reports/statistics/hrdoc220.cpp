// "HRDOC220" and "HRDOC221": how many courses of qualification improvement the managers and
// specialists (220) or the workers (221) of the department set had in the period, by kind,
// topic and position, and the total.
#include <cstdint>
#include <string>

#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/statistics/qualification.h"

namespace hrdoc {
namespace {

constexpr const char* kQryKpn = R"(select
((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN,
upkv.nupkv,t2kv.ntmk,t2.nmdl ,count(t2.nmdl) kol

from KDT2VPK t2kv
left join kdt2iiidvg t2 on t2.kp=t2kv.kp
left join otzkpn kpn on kpn.kp=t2.kp
LEFT JOIN KDVUPKV upkv ON upkv.kupkv=t2kv.kupkv



left join otzruc ruc on ruc.owner=t2.owner
left join kdhtro htr on htr.owner=kpn.owner and htr.kd=t2.kd and htr.kp=t2.kp and htr.dto=t2.dto and htr.ktd=t2.ktd and htr.unsd=t2.unsd



where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp)
and t2.kat>=:kat1 and t2.kat<=:kat2
and t2kv.DWS>=:fd1 and t2kv.DWS<=:fd2 and t2kv.DAYS>0)";
// Appended after the department set.
constexpr const char* kGroup = " group by 1,upkv.nupkv,t2kv.ntmk,t2.nmdl";

// The host's list order; 1 keeps the statement's own.
const char* ListOrder(int setting) {
  switch (setting) {
    case 0: return "nupkv,ntmk,nmdl";
    case 2: return "SORTNN,nmdl";
    default: return nullptr;
  }
}

class Tfmhrd220 : public TQualificationReport {
 public:
  Tfmhrd220() : TQualificationReport("hrdoc220") {}

 private:
  void Fill(office::TExcelShablon& w) override {
    const bool workers = arg == 1;
    Header(w, workers ? "Повышение квалификации рабочими" : "Повышение квалификации руководителей и специалистов", true);
    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(std::string(kQryKpn) + c_p->GetKpSewForWhere("t2kv.kp") + kGroup);
    qryKpn.set_date("fd1", D1());
    qryKpn.set_date("fd2", D2());
    qryKpn.set("kat1", int64_t{workers ? 4 : 0});
    qryKpn.set("kat2", int64_t{workers ? 4 : 3});
    qryKpn.open();
    if (const char* order = ListOrder(c_p->list_order)) qryKpn.sort(order);
    pbKp.set_max(qryKpn.record_count());

    // A kind or a topic is written where it differs from the row above's own.
    std::string kind, topic;
    int32_t total = 0;
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      pbKp.step_it();
      w.ClearPart("ppP");
      const std::string rowKind = qryKpn.field("NUPKV").as_string(), rowTopic = qryKpn.field("NTMK").as_string();
      if (rowKind != kind) w.SetField("ppP", "fnameu4", rowKind);
      if (rowTopic != topic) w.SetField("ppP", "fthem", rowTopic);
      kind = rowKind;
      topic = rowTopic;
      w.SetField("ppP", "fdolj", qryKpn.field("NMDL").as_string());
      const auto count = static_cast<int32_t>(qryKpn.field("KOL").as_int());
      w.SetField("ppP", "fcount", count);
      total += count;
      w.AddPart("ppP", 0);
    }
    w.ClearPart("ppV");
    w.SetField("ppV", "fvcount", total);
    w.AddPart("ppV", 0);
  }
};

const bool statements = register_statements("HRDOC220", {{"qryKpn", std::string(kQryKpn) + kGroup}});
const bool registered = register_report<Tfmhrd220, "HRDOC220">() && register_report<Tfmhrd220, "HRDOC221">();

}  // namespace
}  // namespace hrdoc
