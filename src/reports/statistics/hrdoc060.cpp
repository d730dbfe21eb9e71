// "HRDOC060": the specialists of the selected departments by level of their latest finished
// education (higher, secondary special, other), each also counted for women; a line per
// department and the total.
#include "db/database.h"
#include "host/statements.h"
#include "reports/statistics/department_lines.h"

namespace hrdoc {
namespace {

constexpr const char* kQryKpn = R"(select s2.sname as sort1,
(case when s3.sname is null
then s1.sname
else s3.sname end) sort2,
(case when s4.sname is null
then (case when s3.sname is null then null else s1.sname end)
else s4.sname end) sort3,
(case when s4.sname is null
then null
else s1.sname end) sort4,
t2st.owner,t2.kobr,ad1.pol, count(kpn.kp) as kol
from kdt2iobr t2
left join kdt2iiidvg t2st on t2st.kp=t2.kp 
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2st.owner
left join otzruc ruc on ruc.owner=t2st.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
left join zpads1 ad1 on ad1.kp=kpn.kp
where t2.DTK is not NULL and t2.DTK=(SELECT distinct MAX(DTK)
                                       FROM KDT2IOBR OBR1
                                            WHERE OBR1.KP=kpn.kp AND OBR1.DTK IS NOT NULL) and
t2st.UNSD=(select first 1 t2dvg.UNSD from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd order by t2dvg.DTO desc,t2dvg.UNSD desc)
and t2st.ktd!=121 and t2st.ktpd=1 and t2st.okl>0.1
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2st.owner=:ow or 0=:md) 
group by s2.sname,s3.sname,s4.sname,s1.sname,
t2st.owner,t2.kobr,ad1.pol)";

class Tfmhrd06 : public TDepartmentLines {
 public:
  Tfmhrd06()
      : TDepartmentLines({"hrdoc06", "Состав специалистов с высшим и средним специальным образованием по полу  ",
                          "Итого", kQryKpn, 6}) {}

 private:
  // One row is one department, education level and sex with KOL employees. Levels are codes
  // of the education directory: 1 higher, 3, 4 and 28 secondary special.
  void Count(const db::Query& row, TDateTime, std::vector<int>& c) override {
    const int kol = static_cast<int>(row.field("KOL").as_int());
    const int64_t kobr = row.field("KOBR").as_int();
    const int level = kobr == 1 ? 0 : (kobr == 3 || kobr == 4 || kobr == 28) ? 1 : 2;
    c[2 * level] += kol;
    if (row.field("POL").as_string() == "Ж") c[2 * level + 1] += kol;
  }
};

const bool statements = register_statements("HRDOC060", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd06, "HRDOC060">();

}  // namespace
}  // namespace hrdoc
