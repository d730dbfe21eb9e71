#pragma once
// What every report family's fixture shares: a fresh copy of the family's database, a context
// wired to it as the host wires one, and commands run through main_dll as the host runs them.
// A family names its database script and adds its own ways of running and reading.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "host/commands.h"
#include "sheet/book.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"

namespace hrdoc::test {

class ReportFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = std::make_unique<TestDatabase>(database());
    t_ = std::make_unique<TestContext>(db_->connection());
    ctx().ext().work_dir = dir_.slashed();
    ctx().payroll_month = text::encode_date(2026, 12, 1);
  }
  void TearDown() override {
    t_.reset();
    db_.reset();
  }

  // The script of the family's database (a FixtureScript's path).
  virtual std::string database() const = 0;

  void exec(const std::string& sql) { db_->connection().execute(sql); }
  db::Connection& connection() { return db_->connection(); }
  Tdm& data_module() { return *t_->data_module; }

  // Runs the command as the host does, with the context as it stands.
  int call(const char* command) {
    std::string self = std::string(HRDOC_BIN_DIR) + "hrdoc", cmd = command;
    void* argv[2] = {self.data(), cmd.data()};
    return main_dll(&ctx(), 2, argv);
  }

  // The book the last command produced, opened once.
  sheet::Book& result_book() {
    if (ui().documents.empty()) throw std::runtime_error("no document was produced");
    book_ = std::make_unique<sheet::Book>(ui().documents.back());
    return *book_;
  }

  const std::filesystem::path& work_dir() const { return dir_.path(); }
  ui::ScriptedUi& ui() { return t_->ui; }
  compark& ctx() { return t_->ctx; }

 private:
  std::unique_ptr<TestDatabase> db_;
  std::unique_ptr<TestContext> t_;
  std::unique_ptr<sheet::Book> book_;
  WorkDir dir_{"report"};
};

}  // namespace hrdoc::test
