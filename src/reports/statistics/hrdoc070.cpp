// "HRDOC070": the employees of the selected departments in six age groups, men and women apart;
// a line per department and the total.
#include <iterator>

#include "db/database.h"
#include "host/statements.h"
#include "reports/statistics/department_lines.h"
#include "text/date.h"

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
t2st.owner,kpn.kp,ad1.pol,ad1.fdr
from kdt2iiidvg t2st
left join otzkpn kpn on kpn.kp=t2st.kp
left join otzkpn s1 on s1.kp=t2st.owner
left join otzruc ruc on ruc.owner=t2st.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
left join zpads1 ad1 on ad1.kp=kpn.kp
where 
t2st.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2st.kp and t2dvg.dto<=:fd)
and t2st.ktd!=121  and t2st.ktpd=1 and t2st.okl>0.1
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2st.owner=:ow or 0=:md) )";

// Group i holds the ages above bound i up to bound i + 1.
constexpr int kBounds[] = {17, 29, 45, 50, 55, 60, 100};

class Tfmhrd07 : public TDepartmentLines {
 public:
  Tfmhrd07() : TDepartmentLines({"hrdoc07", "Возрастная структура работников   ", "ВСЕГО", kQryKpn, 12}) {}

 private:
  // One row is one employee. An empty birth date is date 0: far above 100 years, not counted.
  void Count(const db::Query& row, TDateTime D, std::vector<int>& c) override {
    const int age = text::whole_years_between(row.field("FDR").as_date(), D);
    const bool woman = row.field("POL").as_string() == "Ж";
    for (size_t i = 0; i + 1 < std::size(kBounds); ++i)
      if (kBounds[i] < age && age <= kBounds[i + 1]) ++c[2 * i + (woman ? 1 : 0)];
  }
};

const bool statements = register_statements("HRDOC070", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd07, "HRDOC070">();

}  // namespace
}  // namespace hrdoc
