#pragma once
// The statement texts of the library, one table per unit, so that each exists once: the unit
// runs its constants and lists them here, and the statements test prepares every listed text
// against the schema. A unit lists its raw string constants in one line:
//
//   const bool statements = register_statements("HRDOC091", {{"qryGo", kQryGo}});
//
// A text that is completed at run time (a department-set condition, a "group by") is listed
// complete, as the smallest run would send it.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace hrdoc {

struct UnitStatement {
  std::string unit;
  std::string name;
  std::string sql;
};

bool register_statements(const std::string& unit,
                         std::initializer_list<std::pair<const char*, std::string>> statements);
// Every statement listed so far, in the order of listing.
const std::vector<UnitStatement>& registered_statements();

}  // namespace hrdoc
