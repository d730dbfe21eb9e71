// "HRDOC230": the workers' courses of the selected department in the period, a line per kind
// with the number of courses of each form of training, and the number of all courses.
#include <array>
#include <string>

#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/statistics/qualification.h"

namespace hrdoc {
namespace {

constexpr const char* kQryKpn = R"(select

upkv.nupkv,t2kv.ntmk,t2.nmdl ,t2kv.ktmk

from KDT2VPK t2kv
left join kdt2iiidvg t2 on t2.kp=t2kv.kp
left join otzkpn kpn on kpn.kp=t2.kp
LEFT JOIN KDVUPKV upkv ON upkv.kupkv=t2kv.kupkv



left join otzruc ruc on ruc.owner=t2.owner



where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp)
and t2.kat>=:kat1 and t2.kat<=:kat2
and t2kv.DWS>=:fd1 and t2kv.DWS<=:fd2 and t2kv.DAYS>0

and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)


order by upkv.nupkv)";

// The counters of a kind: the forms of training KTMK 1 .. 4, then all its courses.
constexpr std::array<const char*, 5> kFields = {"fkpod", "fkpov", "fkcel", "fkpod2", "fcount"};
using Counters = std::array<int, 5>;

class Tfmhrd230 : public TQualificationReport {
 public:
  Tfmhrd230() : TQualificationReport("hrdoc230") {}

 private:
  void Fill(office::TExcelShablon& w) override {
    Header(w, "Обучение рабочих", false);
    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd1", D1());
    qryKpn.set_date("fd2", D2());
    BindDepartment(qryKpn);
    qryKpn.set("kat1", int64_t{4});
    qryKpn.set("kat2", int64_t{4});
    qryKpn.open();
    pbKp.set_max(qryKpn.record_count());

    // Counters above 0, as text; the others stay blank.
    auto group = [&](const Counters& c) {
      for (size_t i = 0; i < c.size(); ++i)
        if (c[i] > 0) w.SetField("ppP", kFields[i], std::to_string(c[i]));
      w.AddPart("ppP", 0);
    };
    Counters counters{};
    std::string kind;
    int32_t rows = 0;
    for (qryKpn.first(); !qryKpn.eof(); qryKpn.next()) {
      const std::string rowKind = qryKpn.field("NUPKV").as_string();
      if (rows == 0 || rowKind != kind) {
        if (rows > 0) group(counters);
        w.ClearPart("ppP");
        w.SetField("ppP", "fnameu4", rowKind);
        kind = rowKind;
        counters = {};
      }
      const int64_t form = qryKpn.field("KTMK").as_int();
      if (form >= 1 && form <= 4) ++counters[form - 1];
      ++counters[4];
      ++rows;
      pbKp.step_it();
    }
    if (rows > 0) group(counters);
    w.ClearPart("ppV");
    w.SetField("ppV", "fvcount", rows);
    w.AddPart("ppV", 0);
  }
};

const bool statements = register_statements("HRDOC230", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd230, "HRDOC230">();

}  // namespace
}  // namespace hrdoc
