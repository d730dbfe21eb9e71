// "HRDOC340" run through main_dll on small databases built for each case; the finished
// workbook is read back cell by cell.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "host/commands.h"
#include "sheet/book.h"
#include "sheet/ref.h"
#include "support/host_run.h"
#include "support/test_context.h"
#include "support/office.h"
#include "support/test_database.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;
using hrdoc::sheet::ValueType;

class Hrdoc340Test : public ::testing::Test {
 protected:
  Hrdoc340Test() : t_(db_.connection()) {
    t_.ctx.ext().work_dir = dir_.slashed();
    sql("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (1, 0, 0, 'Предприятие', 'Предприятие')");
    sql("insert into ZPKPV (PR, K, N) values (1, 1, 'АО \"Тестовый завод\"')");
    sql("insert into KDIOBR (KOBR, NOBR) values (1, 'Высшее профессиональное')");
    sql("insert into KDIOBR (KOBR, NOBR) values (2, 'Среднее профессиональное')");
    sql("insert into KDIOBR (KOBR, NOBR) values (3, 'Начальное профессиональное')");
    sql("insert into KDISCI (KSCI, NSCI) values (1, 'Кандидат технических наук')");
    sql("insert into KDISCI (KSCI, NSCI) values (2, 'Доктор экономических наук')");
    sql("insert into KDISCI (KSCI, NSCI) values (3, 'Технология машиностроения')");
  }

  void sql(const std::string& text) { db_.connection().execute(text); }
  static std::string q(const std::string& s) { return s.empty() ? "NULL" : "'" + s + "'"; }

  void department(int kp, int owner, const std::string& name) {
    sql("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(kp) + ", " +
        std::to_string(owner) + ", 0, '" + name + "', '" + name + "')");
    sql("insert into OTZNKP (KP, OWNER, SNAME) values (" + std::to_string(kp) + ", " + std::to_string(owner) + ", '" +
        name + "')");
  }

  // An employee: the tree node, personal data, and one history record.
  struct Person {
    int kp;
    int kat;
    std::string pol, fdr;
    int owner = 1;
    std::string dto = "2010-01-01";
    int ktd = 21;
    int kvr = 0, pup = 0, perost = 0;
    std::string kosd = "";
  };
  std::string fname(int kp) const { return "Работник " + std::to_string(kp); }
  void person(const Person& p) {
    sql("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (" + std::to_string(p.kp) + ", " +
        std::to_string(p.owner) + ", " + std::to_string(p.kp + 5000) + ", 'Р" + std::to_string(p.kp) + "', '" +
        fname(p.kp) + "')");
    sql("insert into ZPADS1 (KP, FDR, POL) values (" + std::to_string(p.kp) + ", " + q(p.fdr) + ", " + q(p.pol) + ")");
    event(p);
  }
  // A further history record of an employee.
  void event(const Person& p) {
    static int unsd = 0;
    sql("insert into KDT2IIIDVG (UNSD, KP, DTO, KTD, OWNER, KD, OKL, STV, KAT, KTPD, KVR, KOSD, PUP, PEROST) values (" +
        std::to_string(++unsd) + ", " + std::to_string(p.kp) + ", '" + p.dto + "', " + std::to_string(p.ktd) + ", " +
        std::to_string(p.owner) + ", 1, 1000, 1, " + std::to_string(p.kat) + ", 1, " + std::to_string(p.kvr) + ", " +
        (p.kosd.empty() ? "NULL" : p.kosd) + ", " + std::to_string(p.pup) + ", " + std::to_string(p.perost) + ")");
  }
  void service(int kp, const std::string& dto, const std::string& dtu, int kind = 16) {
    static int unsd = 0;
    const std::string k = std::to_string(kind);
    sql("insert into KDT2ITK (UNSD, KP, BOOK, DTO, DTU, TSTG" + k + ", KF" + k + ") values (" + std::to_string(++unsd) +
        ", " + std::to_string(kp) + ", 1, '" + dto + "', " + q(dtu) + ", 1, 1)");
  }
  void education(int kp, int kobr, int ksci = 0) {
    static int unsd = 0;
    sql("insert into KDT2IOBR (UNSD, KP, KOBR, KSCI) values (" + std::to_string(++unsd) + ", " + std::to_string(kp) +
        ", " + std::to_string(kobr) + ", " + (ksci ? std::to_string(ksci) : "NULL") + ")");
  }
  void pay(int kp, const std::string& fd, double sum) {
    sql("insert into ZPLSPRO (FD, KP, SUM5) values ('" + fd + "', " + std::to_string(kp) + ", " + std::to_string(sum) + ")");
  }

  // Runs the command with the dialog answered (or cancelled when date is ""); returns the
  // document's path ("" when none).
  std::string run(const std::string& date, const std::string& dept = "1", const std::string& depts = "") {
    t_.ui.form_answers.push_back({{{"date", date}, {"dept", dept}, {"depts", depts}}, date.empty(), {}});
    std::string self = t_.ctx.ext().host_path, cmd = "HRDOC340";
    int value = 0;
    void* argv[3] = {self.data(), cmd.data(), &value};
    const size_t before = t_.ui.documents.size();
    EXPECT_EQ(main_dll(&t_.ctx, 3, argv), 0);
    if (t_.ui.documents.size() == before) return {};
    book_ = std::make_unique<hrdoc::sheet::Book>(t_.ui.documents.back());
    return t_.ui.documents.back();
  }

  hrdoc::sheet::Value cell(int sheet, const std::string& ref) {
    const auto r = hrdoc::sheet::parse_range(ref);
    EXPECT_TRUE(r.has_value()) << ref;
    return book_->sheet(sheet).value(r->row1, r->col1);
  }
  double num(int sheet, const std::string& ref) {
    const auto v = cell(sheet, ref);
    EXPECT_EQ(v.type, ValueType::number) << "sheet " << sheet << " " << ref << ": " << v.text;
    return v.number;
  }
  std::string text(int sheet, const std::string& ref) {
    const auto v = cell(sheet, ref);
    EXPECT_EQ(v.type, ValueType::text) << "sheet " << sheet << " " << ref;
    return v.text;
  }
  bool empty(int sheet, const std::string& ref) { return cell(sheet, ref).type == ValueType::empty; }
  // The cells of one row, columns given by letter, as numbers.
  void expect_row(int sheet, int row, const std::vector<std::pair<std::string, double>>& expected) {
    for (const auto& [col, value] : expected)
      EXPECT_EQ(num(sheet, col + std::to_string(row)), value) << "sheet " << sheet << " " << col << row;
  }
  std::string listed(const std::string& label, int kp) {
    return label + fname(kp) + " TN=" + std::to_string(kp + 5000);
  }

  hrdoc::test::TestDatabase db_;
  hrdoc::test::TestContext t_;
  hrdoc::test::WorkDir dir_{"340"};
  const fs::path work_ = dir_.path();
  std::unique_ptr<hrdoc::sheet::Book> book_;
};

// D = 15.03.2024. Ages are taken at D; birthdays on D give exact whole years.
TEST_F(Hrdoc340Test, composition_counts_every_column_by_category_service_age_sex_and_education) {
  // Managers.
  person({101, 1, "Ж", "1969-03-15"});  // 55: W and X
  service(101, "1990-01-01", "");        // 34 years: P, listed
  education(101, 1, 2);                  // higher, doctor
  person({102, 1, "М", "1964-03-15"});  // 60: W and Y
  service(102, "2009-01-01", "");        // 15 years: N
  education(102, 1, 1);                  // higher, candidate
  // Specialists, categories 2 and 3.
  person({201, 3, "ж ", "2004-03-15"});  // sex read upper-cased and trimmed; 20: S
  education(201, 1, 3);                  // higher and secondary professional: higher only
  education(201, 2);
  person({202, 2, "", "1993-03-20"});    // no sex; 30 at D (31 at the month end): T
  service(202, "2022-01-01", "");        // 2 years: J
  education(202, 2, 1);                  // candidate without higher education: AC only
  person({203, 2, "М", "1974-03-15"});  // 50: W, not Y
  service(203, "2017-01-01", "");        // 7 years: L
  person({204, 2, "Ж", "1969-03-16"});  // 54 at D: W, not X
  service(204, "2004-03-31", "");        // exactly 20 years at the month end: P, listed
  service(204, "1980-01-01", "", 1);     // another kind does not count
  // Workers.
  person({301, 4, "М", "1984-03-15"});  // 40: U
  service(301, "1990-01-01", "", 1);     // only kind 1: H
  person({302, 4, "Ж", "1979-01-01"});  // 45: V
  service(302, "2015-01-01", "2018-01-01");
  service(302, "2016-01-01", "2019-01-01");  // overlapping: 6 years, L
  person({305, 4, "", ""});              // no birth date: the oldest group, W
  // Not at work at the month end, or not counted.
  person({303, 4, "М", "1980-01-01"});
  event({303, 4, "", "", 1, "2024-03-05", 121});
  person({304, 1, "М", "1980-01-01", 1, "2010-01-01", 21, 2});  // KVR 2

  // Staffing table rows in force at the month end.
  sql("insert into OTZPRDL (KOD, N, PR) values (1, 'Совместитель', 1)");
  sql("insert into OTZPRDL (KOD, N, PR) values (2, 'Основная', 0)");
  const char* rows[] = {
      "1, 0, 1, NULL, 1.0, '2000-01-01', NULL",   "2, 101, 1, 1, 1.0, '2000-01-01', NULL",
      "3, 0, 2, NULL, 0.5, '2000-01-01', NULL",   "4, 102, 3, 2, 1.0, '2000-01-01', '2024-03-31'",
      "5, 103, 4, NULL, 2.25, '2024-04-01', NULL", "6, 104, 4, NULL, 1.0, '2000-01-01', '2024-03-30'",
      "7, 105, 4, NULL, 1.0, '2000-01-01', NULL",  "8, 0, 5, NULL, 9.0, '2000-01-01', NULL"};
  for (const char* r : rows) sql(std::string("insert into OTZSHTI (UNSD, KP, KAT, KODPR, STV, DTN, DTOK) values (") + r + ")");

  for (auto [kp, sum] : {std::pair{101, 1000.5}, {102, 2000.0}, {201, 300.0}, {203, 700.0}}) pay(kp, "2024-03-01", sum);
  pay(202, "2024-02-01", 5000);  // another month

  ASSERT_FALSE(run("15.03.2024").empty());
  EXPECT_TRUE(t_.ui.boxes.empty()) << t_.ui.boxes[0].text;
  ASSERT_EQ(book_->sheet_count(), 3);

  const std::string org = "АО \"Тестовый завод\"";
  EXPECT_EQ(text(1, "E4"), org);
  EXPECT_EQ(text(1, "B16"), org);
  EXPECT_EQ(text(1, "B19"), "ИТОГО по " + org);
  EXPECT_EQ(text(1, "E6"), "МАРТ");
  EXPECT_EQ(num(1, "H6"), 2024);
  EXPECT_EQ(num(1, "F16"), 3000.5);
  EXPECT_EQ(num(1, "F17"), 1000);
  EXPECT_EQ(num(1, "F18"), 0);  // workers without a payroll row still have a category row

  for (auto [sheet, first, total] : {std::tuple{2, 12, 15}, {3, 14, 17}}) {
    EXPECT_EQ(text(sheet, "B5"), org);
    EXPECT_EQ(text(sheet, "E5"), "МАРТ");
    EXPECT_EQ(num(sheet, "G5"), 2024);
    EXPECT_EQ(text(sheet, "B" + std::to_string(first)), org);
    EXPECT_EQ(text(sheet, "B" + std::to_string(total)), "ИТОГО по " + org);
  }
  expect_row(2, 12, {{"D", 1}, {"F", 1}, {"H", 0}, {"J", 0}, {"L", 0}, {"N", 1}, {"P", 1}, {"S", 0}, {"T", 0},
                     {"U", 0}, {"V", 0}, {"W", 2}, {"X", 1}, {"Y", 1}, {"Z", 2}, {"AA", 1}, {"AB", 1}, {"AC", 0}});
  expect_row(2, 13, {{"D", 1.5}, {"F", 2}, {"H", 1}, {"J", 1}, {"L", 1}, {"N", 0}, {"P", 1}, {"S", 1}, {"T", 1},
                     {"U", 0}, {"V", 0}, {"W", 2}, {"X", 0}, {"Y", 0}, {"Z", 1}, {"AA", 0}, {"AB", 0}, {"AC", 1}});
  expect_row(2, 14, {{"D", 1}, {"F", 1}, {"H", 2}, {"J", 0}, {"L", 1}, {"N", 0}, {"P", 0}, {"S", 0}, {"T", 0},
                     {"U", 1}, {"V", 1}, {"W", 1}, {"X", 0}, {"Y", 0}, {"Z", 0}, {"AA", 0}, {"AB", 0}, {"AC", 0}});
  // The total row keeps the template's formulas.
  EXPECT_EQ(cell(2, "H15").type, ValueType::formula);

  std::set<std::string> names{text(2, "P20"), text(2, "P21")};
  EXPECT_EQ(names, (std::set<std::string>{listed("рук ", 101), listed("спец ", 204)}));
  EXPECT_TRUE(empty(2, "P22"));

  // Vacant position lines of the staffing table go to sheet 3.
  EXPECT_EQ(num(3, "D14"), 1);
  EXPECT_EQ(num(3, "D15"), 0.5);
  EXPECT_EQ(num(3, "D16"), 0);
}

// Dismissals and hires of March 2024; the latest record of each employee decides.
TEST_F(Hrdoc340Test, movement_classifies_dismissal_grounds_in_order_and_counts_hires_per_category) {
  auto dismissed = [&](int kp, int kat, const std::string& kosd, int pup = 0, int perost = 0,
                       const std::string& dto = "2024-03-05") {
    person({kp, kat, "М", "1980-01-01"});
    event({kp, kat, "", "", 1, dto, 121, 0, pup, perost, kosd});
  };
  dismissed(401, 4, "80", 0, 1);  // transfer first: F, not G
  dismissed(402, 4, "25", 1);     // PUP before the ground: G
  dismissed(403, 2, "80");        // G
  dismissed(404, 3, "25");        // I
  dismissed(405, 1, "82");        // J
  dismissed(406, 1, "2");         // J
  dismissed(407, 2, "85");        // J
  dismissed(408, 1, "3");         // total only
  dismissed(409, 4, "2", 0, 0, "2024-02-28");  // last month

  person({501, 1, "М", "1980-01-01", 1, "2024-03-04", 21});
  person({502, 2, "Ж", "1990-01-01", 1, "2024-03-10", 23});
  person({503, 3, "Ж", "1990-01-01", 1, "2024-03-31", 21});
  person({504, 4, "М", "1990-01-01", 1, "2024-03-11", 21, 0, 1});  // PUP 1: not a hire
  person({505, 4, "М", "1990-01-01", 1, "2024-03-12", 22});         // a transfer
  person({506, 4, "М", "1990-01-01", 1, "2024-04-01", 21});         // next month

  ASSERT_FALSE(run("15.03.2024").empty());
  EXPECT_TRUE(t_.ui.boxes.empty()) << t_.ui.boxes[0].text;

  expect_row(3, 14, {{"E", 3}, {"F", 0}, {"G", 0}, {"I", 0}, {"J", 2}, {"K", 1}});
  expect_row(3, 15, {{"E", 3}, {"F", 0}, {"G", 1}, {"I", 1}, {"J", 1}, {"K", 2}});
  expect_row(3, 16, {{"E", 2}, {"F", 1}, {"G", 1}, {"I", 0}, {"J", 0}});
  EXPECT_TRUE(empty(3, "K16"));  // no hire of a worker
  EXPECT_EQ(cell(3, "H14").type, ValueType::formula);  // not written

  std::set<std::string> out, in;
  for (int r = 20; r < 28; ++r) out.insert(text(3, "E" + std::to_string(r)));
  EXPECT_TRUE(empty(3, "E28"));
  EXPECT_EQ(out, (std::set<std::string>{listed("раб ", 401), listed("раб ", 402), listed("спец ", 403),
                                        listed("спец ", 404), listed("рук ", 405), listed("рук ", 406),
                                        listed("спец ", 407), listed("рук ", 408)}));
  for (int r = 20; r < 23; ++r) in.insert(text(3, "K" + std::to_string(r)));
  EXPECT_TRUE(empty(3, "K23"));
  EXPECT_EQ(in, (std::set<std::string>{listed("рук ", 501), listed("спец ", 502), listed("спец ", 503)}));
}

// Staff units before 1 November 2013 come from the staffing history of the selected departments,
// from then on from the staffing table of the whole organisation.
TEST_F(Hrdoc340Test, staff_units_follow_the_november_2013_rule_and_the_department_set) {
  department(10, 1, "Цех 1");
  department(20, 1, "Цех 2");
  person({100, 1, "М", "1970-01-01", 10});
  person({200, 4, "М", "1970-01-01", 20});
  const char* history[] = {
      "1, 0, 10, 0, 0, 0, NULL, 0, 0, NULL, '2013-01-01', NULL",   // department rows
      "2, 0, 20, 0, 0, 0, NULL, 0, 0, NULL, '2013-01-01', NULL",
      "3, 0, 10, 5, 1, 1, 1, 0, 1, 2.0, '2013-01-01', NULL",       // position with a vacant rate
      "4, 100, 10, 5, 1, 2, 1, 21, 1, 1.0, '2013-01-01', NULL",    // its employee
      "5, 0, 20, 6, 1, 1, 4, 0, 1, 1.0, '2013-01-01', NULL",       // a full position: not listed
      "6, 200, 20, 6, 1, 2, 4, 21, 1, 1.0, '2013-01-01', NULL",
      "7, 101, 10, 5, 2, 3, 2, 21, 1, 1.0, '2012-01-01', '2013-05-01'",  // closed before the date
      "8, 102, 10, 5, 3, 4, 2, 21, 1, 4.0, '2013-12-01', NULL"};         // later
  for (const char* r : history)
    sql(std::string("insert into KDHTRO (UNSD, KP, OWNER, KD, NKD, NN, KAT, KTD, KTPD, STV, DTO, DTOK) values (") + r +
        ")");
  sql("insert into OTZSHTI (UNSD, KP, KAT, KODPR, STV, DTN, DTOK) values (1, 0, 4, NULL, 7.0, '2000-01-01', NULL)");
  pay(100, "2013-10-01", 100);

  ASSERT_FALSE(run("15.10.2013").empty());
  EXPECT_TRUE(t_.ui.boxes.empty()) << t_.ui.boxes[0].text;
  expect_row(2, 12, {{"D", 3}});
  expect_row(2, 13, {{"D", 0}});
  expect_row(2, 14, {{"D", 1}});
  expect_row(3, 14, {{"D", 2}});
  expect_row(3, 16, {{"D", 0}});

  // Only the first shop: its name heads the sheets; the workers of the other shop are gone.
  ASSERT_FALSE(run("31.10.2013", "10", "10").empty());
  EXPECT_EQ(text(1, "E4"), "Цех 1");
  EXPECT_EQ(text(2, "B15"), "ИТОГО по Цех 1");
  expect_row(2, 12, {{"D", 3}, {"H", 1}});
  expect_row(2, 14, {{"D", 0}, {"H", 0}});
  EXPECT_EQ(num(1, "F16"), 100);
  EXPECT_TRUE(empty(1, "F17"));  // no rows of a category: the template's cell stays
  EXPECT_TRUE(empty(1, "F18"));

  // From November 2013 the staffing table counts for everyone, even with a set chosen.
  ASSERT_FALSE(run("01.11.2013", "10", "10").empty());
  expect_row(2, 12, {{"D", 0}, {"H", 1}});
  expect_row(2, 14, {{"D", 7}, {"H", 0}});
  expect_row(3, 16, {{"D", 7}});
}

TEST_F(Hrdoc340Test, name_lists_grow_downward_without_limit) {
  for (int i = 0; i < 40; ++i) {
    person({1000 + i, 4, "М", "1960-01-01"});
    service(1000 + i, "1990-01-01", "");
    person({2000 + i, 2, "Ж", "1990-01-01", 1, "2024-03-0" + std::to_string(1 + i % 9), 121});
    person({3000 + i, 1, "Ж", "1990-01-01", 1, "2024-03-1" + std::to_string(i % 9), 21});
  }
  ASSERT_FALSE(run("15.03.2024").empty());
  EXPECT_EQ(num(2, "P14"), 40);
  EXPECT_EQ(text(2, "P59").rfind("раб Работник 10", 0), 0u);
  EXPECT_TRUE(empty(2, "P60"));
  EXPECT_EQ(num(3, "E15"), 40);
  EXPECT_EQ(text(3, "E59").rfind("спец Работник 20", 0), 0u);
  EXPECT_TRUE(empty(3, "E60"));
  EXPECT_EQ(num(3, "K14"), 40);
  EXPECT_EQ(text(3, "K59").rfind("рук Работник 30", 0), 0u);
  EXPECT_TRUE(empty(3, "K60"));
}

TEST_F(Hrdoc340Test, an_error_is_shown_once_and_the_partly_filled_book_still_opens) {
  person({101, 1, "Ж", "1969-03-15"});
  sql("alter table KDT2IIIDVG drop PEROST");  // the dismissals' statement cannot run
  ASSERT_FALSE(run("15.03.2024").empty());
  ASSERT_EQ(t_.ui.boxes.size(), 1u);
  EXPECT_EQ(t_.ui.boxes[0].caption, "Ошибка");
  EXPECT_NE(t_.ui.boxes[0].text.find("PEROST"), std::string::npos) << t_.ui.boxes[0].text;
  expect_row(2, 12, {{"H", 1}, {"X", 1}});
  EXPECT_EQ(text(3, "B5"), "АО \"Тестовый завод\"");
  EXPECT_TRUE(empty(3, "E14"));
  EXPECT_EQ(book_->active_sheet().index(), 1);
}

TEST_F(Hrdoc340Test, a_cancelled_dialog_opens_no_window_and_no_book) {
  EXPECT_EQ(run(""), "");
  EXPECT_EQ(t_.ui.forms.size(), 1u);
  EXPECT_EQ(t_.ui.forms[0].name, "USRSEW");
  EXPECT_TRUE(t_.ui.windows.empty());
  EXPECT_TRUE(t_.ui.documents.empty());
  EXPECT_TRUE(fs::is_empty(work_));
}

// The host as a user runs it: one department named is the set counted, and a work folder where
// no copy can be made fails the run without touching the template.
TEST_F(Hrdoc340Test, command_line_department_is_the_set_and_a_failed_copy_leaves_the_template) {
  department(4, 1, "Цех 4");
  person({100, 1, "М", "1970-01-01", 4});
  person({200, 4, "М", "1970-01-01", 1});
  // The host opens the database itself: the test lets go of it first.
  ::dm = nullptr;
  t_.ctx.ext().dm = nullptr;
  t_.data_module.reset();
  db_.close();
  const std::string template_path = t_.ctx.ext().template_dir + "HRDOC340.xlsx";
  const std::string before = hrdoc::test::read_file(template_path);
  ASSERT_FALSE(before.empty()) << template_path;
  const std::string common = "run HRDOC340 --quiet --db '" + db_.path() + "' --date 15.03.2024 --dept 4 --out '";

  hrdoc::test::HostRun r = hrdoc::test::run_hrdoc(common + (work_ / "ok").string() + "'");
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("набор подразделений: 4"), std::string::npos) << r.out;
  book_ = std::make_unique<hrdoc::sheet::Book>(work_ / "ok" / "HRDOC340_2024-03-15.xlsx");
  EXPECT_EQ(text(2, "B12"), "Цех 4");
  expect_row(2, 12, {{"H", 1}});  // the manager in shop 4 counts; the worker outside it does not
  expect_row(2, 14, {{"H", 0}});

  // A folder where the work copies' lock file belongs: no copy can be made.
  fs::create_directories(work_ / "locked" / ".hrdoc" / ".WLST.xlsx.lock");
  r = hrdoc::test::run_hrdoc(common + (work_ / "locked").string() + "'");
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.out.find("Не удалось сделать рабочую копию шаблона"), std::string::npos) << r.out;
  EXPECT_EQ(hrdoc::test::read_file(template_path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(work_ / "locked"), fs::directory_iterator()), 1);  // .hrdoc only
}

}  // namespace

namespace {

// The fields of one line of LibreOffice's csv (commas, double quotes).
std::vector<std::string> csv_fields(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') cells.back() += c, ++i;
    else if (c == '"') quoted = !quoted;
    else if (c == ',' && !quoted) cells.emplace_back();
    else cells.back() += c;
  }
  return cells;
}

}  // namespace

// Every formula of the three sheets carries the value LibreOffice computes for it, so readers
// that show stored results agree with those that calculate.
TEST_F(Hrdoc340Test, stored_formula_results_match_what_libreoffice_computes) {
  if (!hrdoc::test::have_office()) GTEST_SKIP() << "LibreOffice is not installed";
  person({101, 1, "Ж", "1969-03-15"});
  person({102, 2, "М", "1985-06-01"});
  person({103, 4, "М", "1990-01-01"});
  person({104, 4, "Ж", "1975-02-01", 1, "2024-03-05", 121, 0, 0, 0, "80"});
  pay(101, "2024-03-01", 50000.5);
  pay(102, "2024-03-01", 30000);
  pay(103, "2024-03-01", 20000.25);
  const std::string doc = run("15.03.2024");
  ASSERT_FALSE(doc.empty());
  // One formula the engine leaves to the application makes LibreOffice compute them all
  // rather than show the stored results.
  hrdoc::sheet::Book copy(doc);
  copy.sheet(1).set_formula(200, 1, "SIN(0)");
  const fs::path xlsx = work_ / "recalc.xlsx";
  copy.save(xlsx.string());
  // Every sheet to its own file, values as computed rather than as formatted.
  ASSERT_TRUE(hrdoc::test::soffice_convert(
      xlsx, "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1", work_ / "lo",
      work_ / "lo"));
  int compared = 0;
  for (int n = 1; n <= book_->sheet_count(); ++n) {
    const auto& s = book_->sheet(n);
    std::ifstream in(work_ / "lo" / ("recalc-" + s.name() + ".csv"));
    ASSERT_TRUE(in) << s.name();
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) rows.push_back(csv_fields(line));
    for (int r = 1; r <= s.last_row(); ++r)
      for (int c = 1; c <= s.last_column(); ++c) {
        if (s.value(r, c).type != ValueType::formula) continue;
        const auto v = s.result(r, c);
        ASSERT_EQ(v.type, ValueType::number) << s.name() << " " << hrdoc::sheet::cell_name(r, c);
        ASSERT_LT(static_cast<size_t>(r - 1), rows.size());
        const auto& row = rows[static_cast<size_t>(r - 1)];
        const std::string lo = static_cast<size_t>(c - 1) < row.size() ? row[static_cast<size_t>(c - 1)] : "";
        EXPECT_NEAR(v.number, std::strtod(lo.c_str(), nullptr), 1e-9 * (1 + std::fabs(v.number)))
            << s.name() << " " << hrdoc::sheet::cell_name(r, c) << " LibreOffice: " << lo;
        ++compared;
      }
  }
  EXPECT_GT(compared, 40);
}
