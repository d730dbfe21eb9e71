#pragma once
// Builds a complete, deterministic demo personnel database: an enterprise with a department
// tree, its employees with their personal data and histories, payroll, vacations and settings,
// all up to a reference date, so that every report finds data to print.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "db/database.h"

namespace hrdoc::demo {

struct DemoOptions {
  std::string database = "demo.fdb";
  int employees = 2000;
  uint64_t seed = 1;
  // Reference date; 0 = today.
  TDateTime today = 0;
};

// Called after each stage: its name, stages done, stages in all.
using Progress = std::function<void(std::string_view stage, int done, int total)>;

// Creates the database file (it must not exist), the schema and the data.
void build_demo_database(const DemoOptions& options, const Progress& progress = {});

// Fills a connection whose database already holds the schema (and ZPCLIENTS) but no data.
void fill_demo_database(db::Connection& connection, const DemoOptions& options, const Progress& progress = {});

}  // namespace hrdoc::demo
