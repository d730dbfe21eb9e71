#pragma once
// The host's data module: the personnel database connection, owned by the host, and the
// shared queries on it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "db/database.h"

class Tdm {
 public:
  // The connections stay the host's; the system connection is not used by the library.
  explicit Tdm(hrdoc::db::Connection& connection, hrdoc::db::Connection* system = nullptr);
  ~Tdm();
  Tdm(const Tdm&) = delete;
  Tdm& operator=(const Tdm&) = delete;

  // The record's TN field and short name of a department (OTZKPN); nothing when the key is not
  // there. Database errors pass to the caller.
  struct Department {
    int32_t tn = 0;
    std::string sname;
  };
  std::optional<Department> FindDepartment(int kp) const;

  hrdoc::db::Connection* ADOConnection;
  // The query of f_skpw.
  std::unique_ptr<hrdoc::db::Query> qrySysRSNU;
  // The scratch query of the shared routines and of some reports.
  std::unique_ptr<hrdoc::db::Query> qryTmp;
  // The suite's system database and its queries; null without one.
  hrdoc::db::Connection* ADOConnectionSys;
  std::unique_ptr<hrdoc::db::Query> qrySys, qrySysSk1, qrySysSk2;
};
