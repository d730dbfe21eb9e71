// "HRDOC190": every employee of the department set with courses of qualification improvement in
// the period, department by department, a line per course.
#include "host/statements.h"
#include "reports/statistics/qualification.h"

namespace hrdoc {
namespace {

constexpr const char* kQryKpn = R"(select  ((case when s2.sname is NULL then '' else s2.sname end)
  ||(case when s3.sname is NULL then '' else s3.sname end)
  ||(case when s4.sname is NULL then '' else s4.sname end)
  ||(case when s1.sname is NULL then '' else s1.sname end)) as srt,((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN,

kpn.tn, kpn.fname, t2.kat,
t2.owner,t2.rz,t2.nmdl,

t2kv.days, t2kv.summ, t2kv.ntmk, upkv.nupkv,
kpn.kp,
s1.sname,s3.sname as sname2,zpkd.n as ndol

from KDT2VPK t2kv
left join kdt2iiidvg t2 on t2.kp=t2kv.kp
left join otzkpn kpn on kpn.kp=t2.kp
LEFT JOIN KDVUPKV upkv ON upkv.kupkv=t2kv.kupkv
left join otzkpn s1 on s1.kp=t2.owner
left join otzruc ruc on ruc.owner=t2.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3
left join kdhtro htr on htr.owner=kpn.owner and htr.kd=t2.kd and htr.kp=t2.kp and htr.dto=t2.dto and htr.ktd=t2.ktd and htr.unsd=t2.unsd
left join zpkd on zpkd.d=t2.kd


where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:dt)

and t2kv.DWS>=:fd1 and t2kv.DWS<=:fd2 and t2kv.DAYS>0)";

class Tfmhrd190 : public TCourseList {
 public:
  Tfmhrd190()
      : TCourseList({"hrdoc190", "Отчет о повышении квалификации по всем категориям", kQryKpn, "", true}) {}
};

const bool statements = register_statements("HRDOC190", {{"qryKpn", kQryKpn}, {"qryKV", kQryCourses}});
const bool registered = register_report<Tfmhrd190, "HRDOC190">();

}  // namespace
}  // namespace hrdoc
