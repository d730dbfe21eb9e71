// "HRDOC250": a notice of the start of annual paid vacation, one sheet each, for every planned
// vacation part that begins within 14 days after the report date, with its first and last day.
#include <string>
#include <vector>

#include "calc/uosrv050.h"
#include "db/database.h"
#include "host/compark.h"
#include "host/report_window.h"
#include "host/statements.h"
#include "host/udm.h"
#include "reports/vacation/notices.h"
#include "text/date.h"

namespace hrdoc {
namespace {

constexpr const char* kQryKpn = R"(select kpn.fname,kpn.sname,
dvg.nmds,
vacpl.yyear, vacpl.dt,
ad1.pol,vacpl.days

from kdviiigoper vacpl
left join otzkpn kpn on kpn.kp=vacpl.kp
left join kdt2iiidvg dvg on dvg.kp=vacpl.kp and dvg.dto=(select max(t2.dto) from kdt2iiidvg t2 where t2.kp=vacpl.kp and t2.dto<=:DT22)
left join zpads1 ad1 on ad1.kp=kpn.kp

where vacpl.DT>=:DT1 and vacpl.DT<=:DT2 and dvg.ktd!=121
order by kpn.fname)";

// Vacation kind whose schedule counts the days of an annual vacation.
constexpr uint8_t kAnnualVacation = 2;

// The last day of a vacation of `days` days from `start`.
TDateTime last_day(TDateTime start, int days) {
  const text::Ymd s = text::decode_date(start);
  uint16_t left = static_cast<uint16_t>(days > 0 ? days : 0);
  int32_t result[3] = {};
  CreateDtUOSRV050();
  try {
    dtUOSRV050->vacat_calc(s.year, s.month, s.day, left, kAnnualVacation, result);
  } catch (...) {
    DestroyDtUOSRV050();
    throw;
  }
  DestroyDtUOSRV050();
  return text::encode_date(result[0], result[1], result[2]);
}

class Tfmhrd250 : public TReportWindow {
 public:
  void Job() override {
    lbM.set_caption("Подготовка информации");
    const TDateTime d = text::date_of(c_p->D);
    db::Query qryKpn(*dm->ADOConnection);
    qryKpn.sql(kQryKpn);
    qryKpn.set_date("DT1", d);
    qryKpn.set_date("DT2", d + 14);
    qryKpn.set_date("DT22", d + 14);
    qryKpn.open();
    if (qryKpn.eof()) {
      c_p->armerr(kArmInformation, "На выбранную дату нет ни одного отпуска!");
      return;
    }
    // A part whose employee has no short name gets no sheet: there is nothing to address it to.
    std::vector<vacation::Notice> notices;
    for (; !qryKpn.eof(); qryKpn.next()) {
      vacation::Notice n = vacation::NoticeOf(qryKpn);
      if (n.sname.empty()) continue;
      n.end = last_day(n.start, static_cast<int>(qryKpn.field("DAYS").as_int()));
      notices.push_back(std::move(n));
    }
    if (notices.empty()) {
      c_p->armerr(kArmInformation, "На выбранную дату нет ни одного отпуска!");
      return;
    }
    vacation::PrintNotices(*this, "HRDOC250", notices);
  }
};

const bool statements = register_statements("HRDOC250", {{"qryKpn", kQryKpn}});
const bool registered = register_report<Tfmhrd250, "HRDOC250">();

}  // namespace
}  // namespace hrdoc
