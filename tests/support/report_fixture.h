#pragma once
// The fixture of a report family: one database made of the schema and the family's rows (the
// script written once per test process, its template database built once per build, every test
// working on a copy), a context wired to it, and the finished book of a command run through
// main_dll.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/commands.h"
#include "sheet/book.h"
#include "support/office.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"
#include "text/strings.h"
#include "ui/ui.h"

namespace hrdoc::test {

using Line = std::vector<std::string>;
using Lines = std::vector<Line>;

// The schema followed by `rows`, as one script file in the temporary folder, removed with the
// object.
class FixtureScript {
 public:
  FixtureScript(const std::string& name, const std::string& rows)
      : path_(std::filesystem::temp_directory_path() /
              ("hrdoc_" + name + "_" + std::to_string(::getpid()) + ".sql")) {
    const std::string dir = std::string(HRDOC_SOURCE_DIR) + "db/";
    std::ofstream(path_, std::ios::binary) << read_file(dir + "schema.sql") << "\n"
                                           << read_file(dir + "zpclients.sql") << "\n"
                                           << rows;
  }
  ~FixtureScript() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  FixtureScript(const FixtureScript&) = delete;
  FixtureScript& operator=(const FixtureScript&) = delete;
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

class ReportFixture : public ::testing::Test {
 protected:
  // script: the path of the family's FixtureScript; name: the prefix of the work folder.
  ReportFixture(std::string script, const std::string& name) : script_(std::move(script)), dir_(name) {}

  void SetUp() override {
    db_ = std::make_unique<TestDatabase>(script_);
    t_ = std::make_unique<TestContext>(db_->connection());
    ctx().ext().work_dir = dir_.slashed();
    ctx().payroll_month = text::encode_date(2026, 12, 1);
  }
  void TearDown() override {
    t_.reset();
    db_.reset();
  }

  void exec(const std::string& sql) { db_->connection().execute(sql); }

  // Runs the command as the host does, the parameter dialog confirmed with these values.
  int run_command(const char* command, int kp, TDateTime d, TDateTime d1, TDateTime d2) {
    ctx().set_dates(d, d1, d2);
    const auto department = t_->data_module->FindDepartment(kp);
    ctx().set_department(kp, 0, department ? department->sname : std::string());
    std::string self = std::string(HRDOC_BIN_DIR) + "hrdoc", cmd = command;
    void* argv[2] = {self.data(), cmd.data()};
    return main_dll(&ctx(), 2, argv);
  }

  // The document the last command produced.
  sheet::Sheet& result() {
    if (ui().documents.empty()) throw std::runtime_error("no document was produced");
    book_ = std::make_unique<sheet::Book>(ui().documents.back());
    return book_->sheet(1);
  }

  // The texts of the rows from `first` to the end, blanks trimmed (a cleared field holds one).
  static Lines lines(const sheet::Sheet& s, int first, int columns) {
    Lines out;
    for (int r = first; r <= s.last_row(); ++r) {
      Line line;
      for (int c = 1; c <= columns; ++c) line.push_back(text::trim(s.text(r, c)));
      out.push_back(line);
    }
    return out;
  }

  // Prints the last document to PDF with LibreOffice; its text, and pdfinfo's account in info.
  std::string printed(std::string& info) {
    const std::filesystem::path book = ui().documents.back();
    EXPECT_TRUE(soffice_convert(book, "pdf", work_dir() / "lo"));
    const std::filesystem::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
    const std::filesystem::path txt = work_dir() / "info.txt";
    EXPECT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + txt.string() + "'").c_str()), 0);
    info = read_file(txt);
    return pdf_text(pdf);
  }

  const std::filesystem::path& work_dir() const { return dir_.path(); }
  ui::ScriptedUi& ui() { return t_->ui; }
  compark& ctx() { return t_->ctx; }

 private:
  std::string script_;
  std::unique_ptr<TestDatabase> db_;
  std::unique_ptr<TestContext> t_;
  std::unique_ptr<sheet::Book> book_;
  WorkDir dir_;
};

}  // namespace hrdoc::test
