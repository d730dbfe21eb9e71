#pragma once
// A personnel database with exactly the rows a vacation-schedule case needs, a context wired to
// it, and the finished workbook of a command run through main_dll.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/commands.h"
#include "sheet/book.h"
#include "support/sheet_rows.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"
#include "ui/ui.h"

namespace hrdoc::test {

class ScheduleFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    t_ = std::make_unique<TestContext>(db_.connection());
    compark& c = t_->ctx;
    c.ext().work_dir = dir_.slashed();
    c.payroll_month = text::encode_date(2026, 12, 1);
    // The enterprise, two departments (one with a section below it), the positions and the two
    // signatories.
    node(1, 0, 0, "Предприятие", "АО \"Заря\"");
    node(10, 1, 0, "Цех № 1", "Механический цех № 1");
    node(11, 10, 0, "Участок сборки", "Участок сборки цеха № 1");
    node(20, 1, 0, "Бухгалтерия", "Бухгалтерия предприятия");
    int d = 0;
    for (const char* n : {"Генеральный директор", "Начальник отдела кадров", "Токарь", "Бухгалтер"})
      exec("insert into ZPKD (D, N) values (" + std::to_string(++d) + ", '" + n + "')");
    employee(100, 1, 1, "Смирнов А.П.", "Смирнов Алексей Петрович", 1);
    employee(101, 20, 2, "Кузнецова О.В.", "Кузнецова Ольга Викторовна", 2);
    c.NASH = 100;
    c.NACHOK = 101;
  }

  void TearDown() override {
    t_.reset();
  }

  void exec(const std::string& sql) { db_.connection().execute(sql); }
  db::Connection& connection() { return db_.connection(); }

  void node(int kp, int owner, int tn, const std::string& sname, const std::string& fname) {
    exec("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
         std::to_string(owner) + ", " + std::to_string(tn) + ", '" + sname + "', '" + fname + "')");
  }

  // An employee with the payroll record of the current payroll month (UW as given).
  void employee(int kp, int owner, int tn, const std::string& sname, const std::string& fname, int dol,
                int uw = 0) {
    node(kp, owner, tn, sname, fname);
    exec("insert into ZPLS (FD, KP, DOL, UW) values ('2026-12-01', " + std::to_string(kp) + ", " +
         std::to_string(dol) + ", " + std::to_string(uw) + ")");
  }

  // Three employees in three departments of the tree, and a fourth off the payroll (UW 2).
  void staff() {
    employee(200, 10, 15, "Иванов И.И.", "Иванов Иван Иванович", 3);
    employee(201, 11, 16, "Петров П.П.", "Петров Пётр Петрович", 3);
    employee(202, 20, 17, "Абрамова А.А.", "Абрамова Анна Андреевна", 4);
    employee(203, 10, 18, "Сидоров С.С.", "Сидоров Семён Сидорович", 3, 2);
  }

  // A planned part of the schedule of a year; dt "" plans it without a date.
  void plan(int kp, int year, const std::string& dt, int days) {
    const std::string k = std::to_string(kp), y = std::to_string(year);
    exec("update or insert into KDVIIIGO (KP, YYEAR) values (" + k + ", " + y + ") matching (KP, YYEAR)");
    exec("insert into KDVIIIGOPER (UNSD, KP, YYEAR, DT, DAYS) values (" + std::to_string(++unsd_) + ", " + k + ", " +
         y + ", " + (dt.empty() ? std::string("null") : "'" + dt + "'") + ", " + std::to_string(days) + ")");
  }

  struct Order {
    int kp = 0;
    std::string dated;  // date of the order line
    std::string start;  // the vacation's first day
    int kolvo = 0, kolvd = 0;
    std::optional<int> pro = 0;
    std::string nd = "1-о";
    int ktd = 31, kvot = 1;
  };
  // A vacation order of one line with its vacation record.
  void order(const Order& o) {
    const int und = ++und_, unsd = ++unsd_;
    exec("insert into KDSDJZ (UND, KTD, ND, DTV) values (" + std::to_string(und) + ", " + std::to_string(o.ktd) +
         ", '" + o.nd + "', '" + o.dated + "')");
    exec("insert into KDSDJS (UNSD, UND, KP, KTD, DTO) values (" + std::to_string(unsd) + ", " + std::to_string(und) +
         ", " + std::to_string(o.kp) + ", " + std::to_string(o.ktd) + ", '" + o.dated + "')");
    exec("insert into KDT2VIIIO (UNSD, KP, DTO, KOLVO, KOLVD, KVOT, PRO) values (" + std::to_string(unsd) + ", " +
         std::to_string(o.kp) + ", '" + o.start + "', " + std::to_string(o.kolvo) + ", " + std::to_string(o.kolvd) +
         ", " + std::to_string(o.kvot) + ", " + (o.pro ? std::to_string(*o.pro) : std::string("null")) + ")");
  }

  // A personnel record: a hiring (KTD 21), a dismissal (121) or another event, dated dto.
  void record(int kp, const std::string& dto, int ktd, int owner, const std::string& nmds = "Токарь",
              double okl = 30000, double stv = 1) {
    exec("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, NMDS, OKL, STV) values (" + std::to_string(++unsd_) +
         ", " + std::to_string(kp) + ", '" + dto + "', " + std::to_string(ktd) + ", " + std::to_string(owner) + ", '" +
         nmds + "', " + std::to_string(okl) + ", " + std::to_string(stv) + ")");
  }
  void sex(int kp, const std::string& pol) {
    exec("insert into ZPADS1 (KP, POL) values (" + std::to_string(kp) + ", '" + pol + "')");
  }
  // A department's ancestor chain (OTZRUC), top level first, the department itself last.
  void chain(int owner, const std::vector<int>& levels) {
    std::string sql = "insert into OTZRUC (OWNER, OW1, OW2, OW3, OW4, OW5, OW6, OW7) values (" + std::to_string(owner);
    for (size_t i = 0; i < 7; ++i) sql += ", " + std::to_string(i < levels.size() ? levels[i] : 0);
    exec(sql + ")");
  }
  // The vacation kinds in force from 2000 counting by group ngr, and the schedule of one month
  // of that group: every day counted but the days given.
  void schedule(int ngr, int year, int month, const std::vector<int>& off) {
    std::string gr;
    for (int d = 1; d <= text::days_in_month(year, month); ++d)
      gr += std::find(off.begin(), off.end(), d) != off.end() ? "п" : "р";
    char fd[16];
    std::snprintf(fd, sizeof fd, "%04d-%02d-01", year, month);
    exec("insert into ZPSK (NGR, FD, KDM, KHM, GR) values (" + std::to_string(ngr) + ", '" + fd + "', " +
         std::to_string(text::days_in_month(year, month)) + ", 0, '" + gr + "')");
  }
  void vacation_kind(int k, int ngr) {
    exec("insert into ZPOTV (K, FD, N, KOF, KOF1, NGR, PRIZ) values (" + std::to_string(k) +
         ", '2000-01-01', 'Ежегодный оплачиваемый отпуск', 1, 1, " + std::to_string(ngr) + ", 1)");
  }

  void set_period(TDateTime d, TDateTime d1, TDateTime d2) { t_->ctx.set_dates(d, d1, d2); }
  void set_department(int kp, const std::string& sname) { t_->ctx.set_department(kp, 0, sname); }
  void answer(int id) { t_->ui.answers.push_back(id); }

  // Runs the command as the host does; the parameter dialog is confirmed as it stands.
  int run(const char* command) {
    std::string self = std::string(HRDOC_BIN_DIR) + "hrdoc", cmd = command;
    void* argv[2] = {self.data(), cmd.data()};
    return main_dll(&t_->ctx, 2, argv);
  }
  // The same with the integer of the commands ending in L.
  int run(const char* command, int value) {
    std::string self = std::string(HRDOC_BIN_DIR) + "hrdoc", cmd = command;
    void* argv[3] = {self.data(), cmd.data(), &value};
    return main_dll(&t_->ctx, 3, argv);
  }
  // Sheet n of the document the command produced (the last one announced).
  sheet::Sheet& result_sheet(int n) {
    result();
    return book_->sheet(n);
  }
  int result_sheets() {
    result();
    return book_->sheet_count();
  }

  // The document the command produced (the last one announced).
  sheet::Sheet& result() {
    if (t_->ui.documents.empty()) throw std::runtime_error("no document was produced");
    book_ = std::make_unique<sheet::Book>(t_->ui.documents.back());
    return book_->sheet(1);
  }

  // The texts of a row's cells 1..columns, blanks trimmed (a cleared field holds one space).
  static std::vector<std::string> line(const sheet::Sheet& s, int row, int columns) {
    std::vector<std::string> out;
    for (int c = 1; c <= columns; ++c) {
      const std::string v = s.text(row, c);
      const size_t first = v.find_first_not_of(' ');
      out.push_back(first == std::string::npos ? "" : v.substr(first, v.find_last_not_of(' ') - first + 1));
    }
    return out;
  }


  // The rows of the produced document from row `first` on, cells 1..columns as line() reads them.
  std::vector<std::vector<std::string>> lines_from(int first, int columns) {
    const auto& s = result();
    std::vector<std::vector<std::string>> out;
    for (int r = first; r <= s.last_row(); ++r) out.push_back(line(s, r, columns));
    return out;
  }

  // Every non-blank text of a sheet, trimmed, row by row.
  static std::vector<std::string> texts(const sheet::Sheet& s) {
    std::vector<std::string> out;
    for (int r = 1; r <= s.last_row(); ++r)
      for (const std::string& v : line(s, r, s.last_column()))
        if (!v.empty()) out.push_back(v);
    return out;
  }

  // Lets another process have the database (the embedded engine admits one at a time): the
  // context goes first, then the test's connection. Returns what to connect to.
  std::string hand_over_database() {
    t_.reset();
    db_.close();
    return db_.connection_string();
  }
  const std::filesystem::path& work_dir() const { return dir_.path(); }

  ui::ScriptedUi& ui() { return t_->ui; }
  compark& ctx() { return t_->ctx; }

 private:
  TestDatabase db_;
  std::unique_ptr<TestContext> t_;
  std::unique_ptr<sheet::Book> book_;
  WorkDir dir_{"schedule"};
  int unsd_ = 1000, und_ = 500;
};

}  // namespace hrdoc::test
