#pragma once
// One personnel database for the service-length reports, built once from a script (every test
// process copies it), a context wired to it, and the finished book of a command run through
// main_dll with scripted answers.
//
// The report date is 05.12.2026. The enterprise 1 holds 10 "Цех № 1" (with 11 "Участок" below
// it and 12 "Бригада" below that) and 20 "Бухгалтерия". Who is who is written beside each
// employee in Script().

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/commands.h"
#include "reports/statistics/statistics_fixture.h"
#include "sheet/book.h"
#include "support/sheet_rows.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"
#include "text/strings.h"
#include "ui/ui.h"

namespace hrdoc::test {

class ServiceScript {
 public:
  std::string text;

  ServiceScript() {
    add("insert into ZPKPV (PR, K, N) values (1, 99, 'АО \"Заря\"')");
    node(1, 0, 0, "Заря", "Акционерное общество \"Заря\"");
    department(10, 1, "Цех № 1", {});
    department(11, 10, "Участок", {10});
    department(12, 11, "Бригада", {10, 11});
    department(20, 1, "Бухгалтерия", {});
    for (const auto& [code, name, kf] :
         {std::tuple{1, "Общий трудовой стаж", "1"}, {2, "Непрерывный стаж", "1"}, {4, "Стаж работы в отрасли", "1"},
          {8, "Северный стаж", "1.5"}, {16, "Стаж работы на предприятии", "1"}, {32, "Выслуга лет", "1"},
          {64, "Страховой стаж", "1"}})
      add("insert into KDISTAG (TSTG, NSTG, KF) values (" + std::to_string(code) + ", '" + name + "', " + kf + ")");

    // Every kind with its own length; kind 8 is counted but not printed by "HRDOC030".
    person(101, 10, "Андреев Андрей Андреевич");
    period(101, "01.01.2000", "", 1);             // 26 11 4
    period(101, "15.03.2001", "10.02.2003", 2);   // 1 10 26
    period(101, "15.03.2001", "10.02.2003", 4, "1.5");  // 2 4 11
    period(101, "01.01.2010", "01.01.2012", 8, "1.5");  // 3 0 0
    period(101, "01.06.2020", "", 16);            // 6 6 4
    period(101, "01.12.2019", "01.12.2026", 32);  // 7 0 0
    period(101, "05.12.2017", "", 64);            // 9 0 0
    period(101, "01.01.1990", "", 64, "1", 0);    // not in the record book
    // No periods at all.
    person(102, 10, "Борисова Мария Петровна");
    // Kind 16: four years eleven months, and five years.
    person(103, 11, "Васильев Пётр Олегович");
    period(103, "05.01.2022", "", 16);
    person(104, 11, "Григорьев Олег Иванович");
    period(104, "05.12.2021", "", 16);
    // Two position records on the same latest date.
    person(105, 20, "Дмитриева Анна Сергеевна", 2);
    // Out of both: an external part-timer, a dismissal, hired after the report date.
    person(106, 10, "Егорова Елена Викторовна", 1, 2);
    person(107, 10, "Жуков Иван Сергеевич");
    record(107, "05.12.2026", 10, 121);
    person(108, 10, "Зайцев Сергей Павлович", 0);
    record(108, "06.12.2026", 10);
    // The third level, and a main job without a kind of position (in "HRDOC030" only).
    person(110, 12, "Ильин Илья Ильич");
    period(110, "01.09.2016", "", 16);  // 10 3 4
    person(111, 12, "Кузнецова Ксения Андреевна", 1, -1);
    // A length past what a slot holds: 45 years at 1.5.
    person(112, 20, "Лебедев Лев Львович");
    period(112, "01.01.1980", "01.01.2025", 8, "1.5");

    // Payroll accounts: December and November; UW = 1 is no longer paid.
    for (int kp : {101, 102, 103, 105, 110}) payroll(kp, "01.12.2026", 0);
    payroll(104, "01.12.2026", 1);
    payroll(112, "01.11.2026", 0);
  }

 private:
  void add(const std::string& sql) { text += sql + ";\n"; }
  static std::string date(const std::string& d) { return d.empty() ? "NULL" : "'" + d + "'"; }

  void node(int kp, int owner, int tn, const std::string& sname, const std::string& fname) {
    add("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
        std::to_string(owner) + ", " + std::to_string(tn) + ", '" + sname + "', '" + fname + "')");
  }
  // A department with its ancestors below the enterprise, top level first.
  void department(int kp, int owner, const std::string& sname, std::vector<int> chain) {
    node(kp, owner, 0, sname, sname);
    chain.resize(7, 0);
    std::string ow;
    for (int k : chain) ow += ", " + std::to_string(k);
    add("insert into OTZRUC (OWNER, OW1, OW2, OW3, OW4, OW5, OW6, OW7) values (" + std::to_string(kp) + ow + ")");
  }
  // A position record; ktpd < 0 leaves the kind of position empty.
  void record(int kp, const std::string& dto, int dept, int ktd = 21, int ktpd = 1) {
    add("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, OKL, STV, KTPD) values (" + std::to_string(++unsd_) +
        ", " + std::to_string(kp) + ", '" + dto + "', " + std::to_string(ktd) + ", " + std::to_string(dept) +
        ", 30000, 1, " + (ktpd < 0 ? "NULL" : std::to_string(ktpd)) + ")");
  }
  // An employee (personnel number = key + 1000) with `records` hiring records on 01.03.2015.
  void person(int kp, int dept, const std::string& fname, int records = 1, int ktpd = 1) {
    node(kp, dept, kp + 1000, fname.substr(0, fname.find(' ')), fname);
    for (int i = 0; i < records; ++i) record(kp, "01.03.2015", dept, 21, ktpd);
  }
  // A period of the record book counting towards one kind.
  void period(int kp, const std::string& from, const std::string& to, int kind, const std::string& kf = "1",
              int book = 1) {
    const std::string k = std::to_string(kind);
    add("insert into KDT2ITK (UNSD, KP, BOOK, DTO, DTU, TSTG" + k + ", KF" + k + ") values (" +
        std::to_string(++unsd_) + ", " + std::to_string(kp) + ", " + std::to_string(book) + ", " + date(from) + ", " +
        date(to) + ", 1, " + kf + ")");
  }
  void payroll(int kp, const std::string& fd, int uw) {
    add("insert into ZPLS (FD, KP, UW) values ('" + fd + "', " + std::to_string(kp) + ", " + std::to_string(uw) + ")");
  }

  int unsd_ = 0;
};

// The fixture database's script: the schema and the rows above.
inline std::string service_database() {
  static const FixtureScript script("service", ServiceScript().text);
  return script.path();
}

class ServiceFixture : public StatisticsFixture {
 protected:
  std::string database() const override { return service_database(); }

  // Runs the command as the host does for the report date d (the period is that day).
  int run(const char* command, TDateTime d, int kp) { return StatisticsFixture::run(command, d, kp, d, d); }
  // "HRDOC170" with its settings entered and confirmed.
  int run170(const std::string& kind, int years, int kp = 0) {
    ui().form_answers.push_back({});  // the parameter dialog as it stands
    ui().form_answers.push_back({{{"EdStage", kind}, {"CSEStage", std::to_string(years)}}, false, "bbtnOk"});
    return run("HRDOC170", kD, kp);
  }
};

}  // namespace hrdoc::test
