#pragma once
// The statement texts the library runs: the routines' in tests/suite/statements.sql (entries
// "-- <label>" followed by one statement ending with ";") and the report units' own tables.

#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/statements.h"

namespace hrdoc::test {

struct StatementEntry {
  std::string label;
  std::string sql;
};

// Test names show the label, not the bytes.
inline void PrintTo(const StatementEntry& e, std::ostream* os) { *os << e.label; }

inline std::vector<StatementEntry> load_statements(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<StatementEntry> out;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("-- ", 0) == 0) {
      out.push_back({line.substr(3), {}});
    } else if (!out.empty()) {
      out.back().sql += line + "\n";
    }
  }
  for (auto& e : out) {
    auto end = e.sql.find_last_not_of(" \n\t");
    if (end == std::string::npos || e.sql[end] != ';') throw std::runtime_error("entry without ';': " + e.label);
    e.sql.erase(end);
  }
  return out;
}

// The statement without the department-set condition that was expanded into it.
inline std::string without_department_set(const std::string& sql) {
  const std::string begin = " and ( select sew.kp", end = ") is not NULL";
  auto b = sql.find(begin);
  if (b == std::string::npos) return sql;
  auto e = sql.find(end, b);
  if (e == std::string::npos) throw std::runtime_error("unterminated department-set condition");
  return sql.substr(0, b) + " " + sql.substr(e + end.size());
}

// The routines' statements from the file, then every report unit's own table, labelled
// "<unit> <name>".
inline const std::vector<StatementEntry>& all_statements(const std::string& path) {
  static const auto all = [&] {
    auto list = load_statements(path);
    for (const auto& s : registered_statements()) list.push_back({s.unit + " " + s.name, s.sql});
    return list;
  }();
  return all;
}

}  // namespace hrdoc::test
