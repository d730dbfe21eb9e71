#include "reports/statistics/filled_report.h"

#include <exception>

#include "host/compark.h"
#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"

namespace hrdoc {
namespace {

constexpr const char* kNodeName = R"(select FNAME from otzkpn where KP=:KP)";

const bool statements = register_statements("department name", {{"otzkpn", kNodeName}});

}  // namespace

void TFilledReport::Job() {
  office::TExcelShablon w;
  if (!OpenReport(w, code_, status_)) return;
  try {
    Fill(w);
  } catch (const std::exception& e) {
    if (errors_ == Errors::shown) c_p->armerr(kArmError, std::string(e.what()));
  }
  FinishReport(w, "ppH");
}

std::string NodeFullName(Tdm& dm, int kp) {
  db::Query& qryTmp = *dm.qryTmp;
  qryTmp.close();
  qryTmp.sql(kNodeName);
  qryTmp.set("KP", int64_t{kp});
  qryTmp.open();
  std::string name = qryTmp.record_count() > 0 ? qryTmp.field("FNAME").as_string() : std::string();
  qryTmp.close();
  return name;
}

}  // namespace hrdoc
