// Formula results the engine stores in a saved book, compared with Excel's rules and with what
// LibreOffice computes for the same book.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sheet/book.h"
#include "sheet/formula_eval.h"
#include "sheet/zip_io.h"
#include "support/office.h"
#include "support/work_dir.h"

using namespace hrdoc::sheet;
namespace fs = std::filesystem;

namespace {

struct Case {
  const char* formula;
  const char* expected;  // as Excel shows it
  const char* libreoffice = nullptr;  // where LibreOffice shows something else
};

// The data every formula reads: sheet "Данные", column A.
//   A1 10, A2 20, A3 30, A4 "текст", A5 empty, A6 TRUE, A7 "5" (a text), A8 2.5
void fill_data(Book& b) {
  b.rename_sheet(1, "Данные");
  Sheet& d = b.sheet(1);
  d.set_number(1, 1, 10);
  d.set_number(2, 1, 20);
  d.set_number(3, 1, 30);
  d.set_text(4, 1, "текст");
  d.set_value(6, 1, Value{ValueType::boolean, 1, {}});
  d.set_text(7, 1, "5");
  d.set_number(8, 1, 2.5);
}

const std::vector<Case> kCases = {
    // Arithmetic, precedence, percentages, empty cells as zero.
    {"Данные!A1+Данные!A2*2", "50"},
    {"(Данные!A1+Данные!A2)*Данные!A3", "900"},
    {"-2^2", "4"},
    {"2^3^2", "64"},
    {"Данные!A1*10%", "1"},
    {"Данные!A5+1", "1"},
    {"Данные!A7*2", "10"},
    {"Данные!A6+1", "2"},
    // Errors: text in arithmetic, division by zero, errors passed on.
    {"Данные!A4+1", "#VALUE!"},
    {"Данные!A1/0", "#DIV/0!"},
    {"1/Данные!A5", "#DIV/0!"},
    {"SUM(Данные!A1,1/0)", "#DIV/0!"},
    {"Данные!A4*0&\"x\"", "#VALUE!"},
    // Comparison and concatenation.
    {"Данные!A1>Данные!A2", "FALSE"},
    {"Данные!A4=\"ТЕКСТ\"", "TRUE"},
    {"Данные!A5=0", "TRUE"},
    {"Данные!A5=\"\"", "TRUE"},
    {"\"a\"<\"B\"", "TRUE"},
    {"1<\"a\"", "TRUE"},
    {"Данные!A1<>10", "FALSE"},
    {"Данные!A1&\"-\"&Данные!A8", "10-2.5"},
    {"Данные!A1&Данные!A6", "10TRUE", "101"},
    {"0.1+0.2&\"\"", "0.3"},
    // Aggregates: blocks count numbers only; arguments given directly count logical values
    // and numeric texts too.
    {"SUM(Данные!A1:A8)", "62.5"},
    {"SUM(Данные!A:A)", "62.5"},
    {"SUM(1,\"2\",TRUE)", "4"},
    {"SUM(\"x\")", "#VALUE!"},
    {"AVERAGE(Данные!A1:A5)", "20"},
    {"AVERAGE(Данные!A4:A5)", "#DIV/0!"},
    {"MIN(Данные!A1:A8)", "2.5"},
    {"MAX(Данные!A1:A8)", "30"},
    {"MAX(Данные!A4:A5)", "0"},
    {"COUNT(Данные!A1:A8)", "4"},
    {"COUNTA(Данные!A1:A8)", "7"},
    // IF, ROUND, ABS and the logical functions.
    {"IF(Данные!A1>5,\"да\",\"нет\")", "да"},
    {"IF(Данные!A5,1,2)", "2"},
    {"IF(Данные!A4,1,2)", "#VALUE!"},
    {"IF(FALSE,1)", "FALSE"},
    {"ROUND(2.675,2)", "2.68"},
    {"ROUND(-2.5,0)", "-3"},
    {"ROUND(1234.5,-2)", "1200"},
    {"ROUND(Данные!A3/7,3)", "4.286"},
    {"ABS(-Данные!A8)", "2.5"},
    {"AND(Данные!A1>5,Данные!A2>5)", "TRUE"},
    {"OR(Данные!A1>50,Данные!A6)", "TRUE"},
    {"NOT(Данные!A6)", "FALSE"},
    {"AND(Данные!A4)", "#VALUE!"},
    // Formulas over other formulas, above and below.
    {"A1+A2", "950"},
    {"A100*2", "20"},
};

// Case i is in row i + 1 of sheet "Формулы"; A100 holds =Данные!A1.
constexpr int kForward = 100;

class FormulaEval : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = std::make_unique<hrdoc::test::WorkDir>("formula_eval");
    book_ = std::make_unique<Book>();
    fill_data(*book_);
    Sheet& f = book_->add_sheet("Формулы");
    for (size_t i = 0; i < kCases.size(); ++i) f.set_formula(static_cast<int>(i + 1), 1, kCases[i].formula);
    f.set_formula(kForward, 1, "Данные!A1");
    complete_ = book_->calculate();
  }
  static void TearDownTestSuite() {
    book_.reset();
    work_.reset();
  }
  static inline std::unique_ptr<hrdoc::test::WorkDir> work_;
  static inline std::unique_ptr<Book> book_;
  static inline bool complete_ = false;
};

TEST_F(FormulaEval, results_follow_excel_rules) {
  EXPECT_TRUE(complete_);
  Sheet& f = book_->sheet("Формулы");
  for (size_t i = 0; i < kCases.size(); ++i) {
    EXPECT_EQ(f.text(static_cast<int>(i + 1), 1), kCases[i].expected) << "=" << kCases[i].formula;
  }
}

TEST_F(FormulaEval, libreoffice_computes_the_same_values) {
  if (!hrdoc::test::have_office()) GTEST_SKIP() << "LibreOffice is not installed";
  // Only the sheet of formulas goes to LibreOffice; a formula the engine leaves uncomputed
  // makes it recalculate everything on opening instead of showing the stored results.
  Book b;
  fill_data(b);
  Sheet& f = b.add_sheet("Формулы", 1);
  for (size_t i = 0; i < kCases.size(); ++i) f.set_formula(static_cast<int>(i + 1), 1, kCases[i].formula);
  f.set_formula(kForward, 1, "Данные!A1");
  f.set_formula(kForward + 1, 1, "SIN(0)");
  b.set_active_sheet(1);
  const fs::path xlsx = work_->path() / "formulas.xlsx";
  b.save(xlsx.string());
  ASSERT_TRUE(hrdoc::test::soffice_convert(xlsx, hrdoc::test::kCsvUtf8, work_->path() / "profile"));
  std::ifstream in(work_->path() / "formulas.csv");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
    lines.push_back(line);
  }
  ASSERT_GE(lines.size(), kCases.size());
  for (size_t i = 0; i < kCases.size(); ++i) {
    const Case& c = kCases[i];
    EXPECT_EQ(lines[i], c.libreoffice ? c.libreoffice : c.expected) << "=" << c.formula;
  }
}

TEST(FormulaResults, what_the_engine_cannot_compute_is_left_to_the_application) {
  struct Row {
    const char* formula;
    bool computed;
  } rows[] = {
      {"SIN(0)", false},           // a function it does not know
      {"Итого*2", false},          // a defined name
      {"A3+1", false},             // A3 refers back to this cell
      {"A3", false},               // waits for the circular one
      {"Нет!A1", true},            // a missing sheet is #REF!, as Excel shows it
      {"SUM(A1:A2", false},        // malformed
      {nullptr, false},            // nested past any application's limit
      {nullptr, false},            // a chain of operators as long
  };
  Book b;
  Sheet& s = b.sheet(1);
  for (int i = 0; i < 6; ++i) s.set_formula(i + 1, 1, rows[i].formula);
  s.set_formula(7, 1, std::string(4000, '(') + "1" + std::string(4000, ')'));
  std::string chain = "1";
  for (int i = 0; i < 4000; ++i) chain += "+1";
  s.set_formula(8, 1, chain);
  EXPECT_FALSE(b.calculate());
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(s.result(i + 1, 1).type != ValueType::empty, rows[i].computed) << i + 1;
  }
  EXPECT_EQ(s.text(5, 1), "#REF!");
}

// The stored parts: each formula with its result, strings counted by reference, and the
// recalculation flag only when something is left to the application.
TEST(FormulaResults, a_saved_book_carries_results_and_counts_string_references) {
  hrdoc::test::WorkDir dir("formula_saved");
  Book b;
  Sheet& s = b.sheet(1);
  for (int r = 1; r <= 3; ++r) {
    s.set_text(r, 1, "ИТОГО");
    s.set_number(r, 2, r * 1.5);
  }
  s.set_formula(4, 2, "SUM(B1:B3)");
  s.set_formula(5, 2, "A1&\" всего\"");
  s.set_formula(6, 2, "B4>5");
  s.set_formula(7, 2, "B1/0");
  const std::string path = (dir.path() / "t.xlsx").string();
  b.save(path);
  ZipReader zip(path);
  const std::string sheet = zip.read("xl/worksheets/sheet1.xml").value_or("");
  EXPECT_NE(sheet.find("<c r=\"B4\"><f>SUM(B1:B3)</f><v>9</v></c>"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("<c r=\"B5\" t=\"str\"><f>A1&amp;\" всего\"</f><v>ИТОГО всего</v></c>"), std::string::npos);
  EXPECT_NE(sheet.find("<c r=\"B6\" t=\"b\"><f>B4&gt;5</f><v>1</v></c>"), std::string::npos);
  EXPECT_NE(sheet.find("<c r=\"B7\" t=\"e\"><f>B1/0</f><v>#DIV/0!</v></c>"), std::string::npos);
  const std::string sst = zip.read("xl/sharedStrings.xml").value_or("");
  EXPECT_NE(sst.find("count=\"3\" uniqueCount=\"1\""), std::string::npos) << sst;
  EXPECT_EQ(zip.read("xl/workbook.xml").value_or("").find("fullCalcOnLoad"), std::string::npos);

  // Reopened, the results are there; a formula left uncomputed brings the flag back.
  Book again(path);
  EXPECT_EQ(again.sheet(1).result(4, 2).number, 9);
  again.sheet(1).set_formula(8, 2, "SIN(B1)");
  again.save(path);
  EXPECT_NE(ZipReader(path).read("xl/workbook.xml").value_or("").find("fullCalcOnLoad=\"1\""), std::string::npos);
}

TEST(FormulaResults, results_follow_rows_inserted_above_them) {
  Book b;
  Sheet& s = b.sheet(1);
  s.set_number(1, 1, 1);
  s.set_number(2, 1, 2);
  s.set_formula(3, 1, "SUM(A1:A2)");
  s.insert_rows(2, 1);
  s.set_number(2, 1, 4);
  ASSERT_TRUE(b.calculate());
  EXPECT_EQ(s.text(4, 1), "7");
  EXPECT_EQ(evaluate_formula(s, 5, 1, "A4*2").value_or(Value{}).number, 14);
}

}  // namespace
