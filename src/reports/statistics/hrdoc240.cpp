// "HRDOC240": every employee of the selected department at the end of the period with the hire
// date, the category and the courses begun in the period in three column groups (qualification
// improvement, special-purpose courses and training, seminars); then those dismissed in the
// period.
#include <cstdint>
#include <string>

#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"
#include "reports/statistics/qualification.h"
#include "text/date.h"

namespace hrdoc {
namespace {

constexpr const char* kQryHead = R"(select   ((case when s2.sname is NULL then '' else s2.sname end)
  ||(case when s3.sname is NULL then '' else s3.sname end)
  ||(case when s4.sname is NULL then '' else s4.sname end)
  ||(case when s1.sname is NULL then '' else s1.sname end)) as srt,

kpn.tn, kpn.fname,
t2.owner,t2.nmdl,

/*t2kv.days, t2kv.summ, t2kv.ntmk, upkv.nupkv,*/
kpn.kp,
stag.fd3,
(select max(dvg2.dto) from kdt2iiidvg dvg2 where dvg2.kp=kpn.kp and dvg2.dto<=:fd3 and dvg2.ktd=21 ) as dtpr,
s1.sname,s3.sname as sname2,kt.n as KATN

from kdt2iiidvg t2
/*left join KDT2VPK t2kv on t2.kp=t2kv.kp    */
left join otzkpn kpn on kpn.kp=t2.kp
/*LEFT JOIN KDVUPKV upkv ON upkv.kupkv=t2kv.kupkv*/
left join zpstag stag on stag.kp=t2.kp  and stag.fd3>'01.01.1900'



left join otzkpn s1 on s1.kp=t2.owner
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
left join zpkat kt on kt.k=t2.kat


where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd22)
)";
constexpr const char* kStaff = "and t2.ktd!=121 and t2.okl>0 and t2.stv>0";
constexpr const char* kDismissed =
    "and t2.ktd=121 and t2.dto>=:fd11  /*and t2.book=1 and t2.okl>0 and t2.stv>0 and t2.ktpd=1*/";
constexpr const char* kQryTail = R"(


and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)
)";
const std::string kQryKpn = std::string(kQryHead) + kStaff + kQryTail + "order by  1,kpn.fname";
const std::string kQryKpnU = std::string(kQryHead) + kDismissed + kQryTail + "order by  kpn.fname";

constexpr const char* kQryKV = R"(select
t2kv.days, t2kv.ntmk, upkv.nupkv,
(case when upper(vpk.nvpk) like '%ПОВЫШЕН%КВАЛИФ%' then 2 else
(case when upper(vpk.nvpk) like '%СЕМИНАР%' then 3 else 4 end)
end) as kvpk,t2kv.DWS,t2kv.nos,t2kv.dto

from KDT2VPK t2kv
LEFT JOIN KDVUPKV upkv ON upkv.kupkv=t2kv.kupkv
LEFT JOIN KDVVPK vpk ON vpk.kvpk=t2kv.kvpk

where t2kv.kp=:kp
and t2kv.DTO>=:fd1 and t2kv.DTO<=:fd2
and (upper(vpk.nvpk) like '%ПОВЫШЕН%КВАЛИФ%' or upper(vpk.nvpk) like '%СЕМИНАР%'
or upper(vpk.nvpk) like '%КУРС%ЦЕЛ%НАЗНАЧ%' or upper(vpk.nvpk) like '%ЦЕЛ%ОБУЧ%')

order by t2kv.dto)";

// The column group of a course by its computed KVPK: start, kind, topic, document.
struct Group {
  const char *start, *kind, *topic, *document;
};
Group GroupOf(int64_t kvpk) {
  switch (kvpk) {
    case 2: return {"fdpov", "fuchpov", "ftema", "fdslpov"};
    case 3: return {"fdobsem", "fuchpovsem", "ftemasem", "fdslpovsem"};
    default: return {"fdob", "fuchpovob", "ftemaob", "fdslpovob"};
  }
}

class Tfmhrd240 : public TQualificationReport {
 public:
  Tfmhrd240() : TQualificationReport("hrdoc240") {}

 private:
  void Fill(office::TExcelShablon& w) override {
    Header(w, "Сведения по повышению квалификации работников", true);
    db::Query qryKpn(*dm->ADOConnection), qryKpnU(*dm->ADOConnection), qryKV(*dm->ADOConnection);
    qryKV.sql(kQryKV);
    int32_t number = 0;

    qryKpn.sql(kQryKpn);
    qryKpn.set_date("fd22", D2());
    qryKpn.set_date("fd3", D2());
    BindDepartment(qryKpn);
    qryKpn.open();
    pbKp.set_max(qryKpn.record_count());
    ForEachEmployee(qryKpn, w, "ppR", [&] { Person(w, qryKpn, qryKV, "ppP", ++number); });

    lbKp.set_caption("Уволенные");
    qryKpnU.sql(kQryKpnU);
    qryKpnU.set_date("fd11", D1());
    qryKpnU.set_date("fd22", D2());
    qryKpnU.set_date("fd3", D2());
    BindDepartment(qryKpnU);
    qryKpnU.open();
    if (qryKpnU.record_count() == 0) return;
    w.ClearPart("ppRU");
    w.SetField("ppRU", "fnameown", "УВОЛЕННЫЕ");
    w.AddPart("ppRU", 0);
    pbKp.set_position(0);
    pbKp.set_max(qryKpnU.record_count());
    ForEachEmployee(qryKpnU, w, nullptr, [&] { Person(w, qryKpnU, qryKV, "ppPU", ++number); });
  }

  // The employee's line with the first course, a line for each further course.
  void Person(office::TExcelShablon& w, const db::Query& person, db::Query& qryKV, const char* part, int32_t number) {
    w.ClearPart(part);
    w.SetField(part, "fnp", number);
    w.SetField(part, "ffio", person.field("FNAME").as_string());
    w.SetField(part, "fdolj", person.field("NMDL").as_string());
    // The last hire not after the period; without one, the start of the continuous service.
    const db::Field hired = person.field("DTPR").is_null() ? person.field("FD3") : person.field("DTPR");
    if (!hired.is_null()) w.SetField(part, "fdpr", text::date_text(hired.as_date()));
    w.SetField(part, "fkatn", person.field("KATN").as_string());

    qryKV.close();
    qryKV.set_date("fd1", D1());
    qryKV.set_date("fd2", D2());
    qryKV.set("kp", person.field("KP").as_int());
    qryKV.open();
    if (qryKV.record_count() == 0) w.AddPart(part, 0);
    for (qryKV.first(); !qryKV.eof(); qryKV.next()) {
      if (qryKV.position() > 0) w.ClearPart(part);
      const Group g = GroupOf(qryKV.field("KVPK").as_int());
      w.SetField(part, g.start, text::date_text(qryKV.field("DTO").as_date()));
      w.SetField(part, g.kind, qryKV.field("NUPKV").as_string());
      w.SetField(part, g.topic, qryKV.field("NTMK").as_string());
      w.SetField(part, g.document, qryKV.field("NOS").as_string() + " от " + qryKV.field("DWS").as_string());
      w.AddPart(part, 0);
    }
  }
};

const bool statements =
    register_statements("HRDOC240", {{"qryKpn", kQryKpn}, {"qryKpnU", kQryKpnU}, {"qryKV", kQryKV}});
const bool registered = register_report<Tfmhrd240, "HRDOC240">();

}  // namespace
}  // namespace hrdoc
