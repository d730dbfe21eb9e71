// The data module. Built into the platform library: the host creates it, libhrdoc.so and the
// sibling libraries use it.
#include "host/udm.h"

Tdm::Tdm(hrdoc::db::Connection& connection, hrdoc::db::Connection* system)
    : ADOConnection(&connection),
      qrySysRSNU(std::make_unique<hrdoc::db::Query>(connection)),
      qryTmp(std::make_unique<hrdoc::db::Query>(connection)),
      ADOConnectionSys(system) {
  if (system) {
    qrySys = std::make_unique<hrdoc::db::Query>(*system);
    qrySysSk1 = std::make_unique<hrdoc::db::Query>(*system);
    qrySysSk2 = std::make_unique<hrdoc::db::Query>(*system);
  }
}

Tdm::~Tdm() = default;

std::optional<Tdm::Department> Tdm::FindDepartment(int kp) const {
  hrdoc::db::Query q(*ADOConnection);
  q.sql(R"(select TN, SNAME from OTZKPN where KP=:KP)");
  q.set("KP", int64_t{kp});
  q.open();
  if (q.eof()) return std::nullopt;
  return Department{static_cast<int32_t>(q.field("TN").as_int()), q.field("SNAME").as_string()};
}
