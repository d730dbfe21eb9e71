#include "host/statements.h"

#include <mutex>

namespace hrdoc {

namespace {

std::vector<UnitStatement>& table() {
  static std::vector<UnitStatement> all;
  return all;
}
std::mutex& table_mutex() {
  static std::mutex m;
  return m;
}

}  // namespace

bool register_statements(const std::string& unit,
                         std::initializer_list<std::pair<const char*, std::string>> statements) {
  std::lock_guard<std::mutex> guard(table_mutex());
  for (const auto& [name, sql] : statements) table().push_back({unit, name, sql});
  return true;
}

const std::vector<UnitStatement>& registered_statements() { return table(); }

}  // namespace hrdoc
