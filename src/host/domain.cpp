#include "host/domain.h"

#include "db/database.h"
#include "host/statements.h"
#include "host/udm.h"

namespace hrdoc::domain {

namespace {

constexpr const char* kDepartmentName = R"(select SNAME from otzkpn where KP=:KP)";
constexpr const char* kEnterpriseName = R"(select n from zpkpv where pr=1)";
constexpr const char* kSignatory =
    R"(select kpn.SNAME,kd.N from otzkpn kpn left join zpls ls on ls.KP=kpn.KP and ls.FD=:FD left join zpkd kd on kd.D=ls.DOL where kpn.KP=:KP)";

const bool statements = register_statements(
    "domain", {{"department name", kDepartmentName}, {"enterprise name", kEnterpriseName}, {"signatory", kSignatory}});

}  // namespace

std::string department_name(Tdm& dm, int kp) {
  db::Query q(*dm.ADOConnection);
  q.sql(kDepartmentName);
  q.set("KP", int64_t{kp == 0 ? kRootDepartment : kp});
  q.open();
  return q.eof() ? std::string() : q.field("SNAME").as_string();
}

std::string enterprise_name(Tdm& dm) {
  db::Query q(*dm.ADOConnection);
  q.sql(kEnterpriseName);
  q.open();
  return q.eof() ? std::string() : q.field("N").as_string();
}

Signatory signatory(Tdm& dm, int kp, TDateTime payroll_month) {
  db::Query q(*dm.ADOConnection);
  q.sql(kSignatory);
  q.set("KP", int64_t{kp});
  q.set_date("FD", payroll_month);
  q.open();
  if (q.eof()) return {};
  return {q.field("N").as_string(), q.field("SNAME").as_string()};
}

}  // namespace hrdoc::domain
