#include "suite/hrdoc/demo_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <string>

#include "suite/demo/demo_database.h"
#include "text/date.h"
#include "ui/stop.h"

namespace hrdoc::host {
namespace {

struct DemoArgs {
  std::string db = "demo.fdb";
  int employees = 2000;
  uint64_t seed = 1;
  std::string today;
  bool quiet = false;
};

DemoArgs& args() {
  static DemoArgs a;
  return a;
}

}  // namespace

void add_demo_command(CLI::App& app) {
  auto* cmd = app.add_subcommand("demo", "Create the demo personnel database");
  DemoArgs& a = args();
  cmd->add_option("--db", a.db, "Database file to create (it must not exist; default demo.fdb)");
  cmd->add_option("--employees", a.employees, "Number of employees (default 2000)")->check(CLI::Range(1, 30000));
  cmd->add_option("--seed", a.seed, "Seed of the generator: the same options give the same database (default 1)");
  cmd->add_option("--today", a.today, "Reference date, dd.mm.yyyy or yyyy-mm-dd (default: today)");
  cmd->add_flag("--quiet", a.quiet, "No progress lines");
  cmd->footer("Example:\n  hrdoc demo --db /tmp/demo.fdb --employees 2000 --today 30.11.2026");
}

namespace {

int build(CLI::App& app) {
  if (!app.got_subcommand("demo")) return -1;
  const DemoArgs& a = args();
  demo::DemoOptions options;
  options.database = a.db;
  options.employees = a.employees;
  options.seed = a.seed;
  if (!a.today.empty()) {
    auto d = text::parse_date(a.today);
    if (!d) {
      std::fprintf(stderr, "hrdoc demo: --today: not a date: %s\n", a.today.c_str());
      return 2;
    }
    options.today = *d;
  }
  std::error_code ec;
  if (std::filesystem::exists(a.db, ec)) {
    std::fprintf(stderr, "hrdoc demo: %s already exists; remove it or choose another --db\n", a.db.c_str());
    return 1;
  }
  try {
    demo::build_demo_database(options, [&](std::string_view stage, int done, int total) {
      // Ctrl+C takes effect between stages; a half-built database is of no use.
      ui::check_stop();
      if (!a.quiet) std::fprintf(stderr, "[%d/%d] %.*s\n", done, total, static_cast<int>(stage.size()), stage.data());
    });
  } catch (const std::exception&) {
    if (!ui::stop_requested()) throw;
    std::filesystem::remove(a.db, ec);
    return 1;
  }
  std::printf("%s\n", a.db.c_str());
  return 0;
}

}  // namespace

int run_demo_command(CLI::App& app) {
  try {
    return build(app);
  } catch (const db::Error& e) {
    std::fprintf(stderr, "hrdoc demo: database error (SQL code %d): %s\n", e.sql_code(), e.message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "hrdoc demo: %s\n", e.what());
    return 1;
  }
}

}  // namespace hrdoc::host
