// Round trips through LibreOffice: books written here must open in a real office application
// with the same values, and books that LibreOffice writes must open here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "sheet/book.h"
#include "support/office.h"
#include "support/work_dir.h"

using namespace hrdoc::sheet;
namespace fs = std::filesystem;

namespace {

class Office : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = std::make_unique<hrdoc::test::WorkDir>("office");
    dir_ = work_->path();
  }
  static void TearDownTestSuite() { work_.reset(); }
  void SetUp() override {
    if (!hrdoc::test::have_office()) GTEST_SKIP() << "LibreOffice is not installed";
  }
  // Converts a file with one soffice start and the suite's profile; returns false on failure.
  static bool convert(const std::string& filter, const fs::path& file, const std::string& in = {},
                      const fs::path& outdir = dir_) {
    return hrdoc::test::soffice_convert(file, filter, dir_ / "profile", outdir, in);
  }
  // The first sheet of a book as LibreOffice computes it (values of simple CSV without quotes
  // inside cells).
  static std::vector<std::vector<std::string>> csv_of(const fs::path& book) {
    if (!convert(hrdoc::test::kCsvUtf8, book)) return {};
    std::ifstream in(dir_ / book.filename().replace_extension(".csv"));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> cells(1);
      bool quoted = false;
      for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) cells.emplace_back();
        else cells.back() += c;
      }
      rows.push_back(cells);
    }
    return rows;
  }
  static inline std::unique_ptr<hrdoc::test::WorkDir> work_;
  static inline fs::path dir_;
};

// The report pattern: heading merged over the table, bordered lines appended from a part.
void build_report(Book& b) {
  Sheet& s = b.sheet(1);
  s.set_text(1, 1, "Список работников");
  s.merge(Range{1, 1, 1, 4});
  s.set_horizontal_alignment(Range{1, 1, 1, 4}, HAlign::center);
  const char* heads[] = {"№", "Фамилия", "Оклад", "Вдвое"};
  for (int c = 1; c <= 4; ++c) s.set_text(2, c, heads[c - 1]);
  s.set_borders(Range{2, 1, 3, 4}, edge_all, 2, 0);
  s.set_fill(Range{2, 1, 2, 4}, 0xCCCCCC);
  s.set_formula(3, 4, "C3*2");
  s.set_formula(4, 3, "SUM(C2:C3)");  // from the heading, so that lines inserted at 3 count
  const char* names[] = {"Иванов", "Петрова", "Сидоров"};
  int part = 3;
  for (int i = 0; i < 3; ++i) {
    s.set_number(part, 1, i + 1);
    s.set_text(part, 2, names[i]);
    s.set_number(part, 3, 1000.5 * (i + 1));
    s.copy_rows(part, part, part, true);
    ++part;
  }
  s.delete_rows(part, part);  // the template part
  s.auto_fit_columns(1, 4);
}

}  // namespace

TEST_F(Office, our_book_keeps_values_formats_merges_breaks_and_names_through_libreoffice) {
  Book b;
  build_report(b);
  Sheet& s = b.sheet(1);
  s.add_row_break(4);
  s.hide_columns(6, 6);
  s.set_row_height(2, 33);
  s.set_number_format(Range{3, 2, 3, 2}, "@");
  s.page_setup().orientation = "landscape";
  b.set_print_titles(1, 2, 2);
  b.add_sheet("Второй").set_text(1, 1, "x");
  auto file = dir_ / "report.xlsx";
  b.save(file.string());
  auto rows = csv_of(file);
  ASSERT_GE(rows.size(), 6u);
  EXPECT_EQ(rows[0][0], "Список работников");
  EXPECT_EQ(rows[1][1], "Фамилия");
  EXPECT_EQ(rows[2][1], "Иванов");
  EXPECT_EQ(rows[4][1], "Сидоров");
  EXPECT_EQ(rows[3][2], "2001");
  EXPECT_EQ(rows[4][3], "6003");  // the copied formula, recalculated by LibreOffice
  EXPECT_EQ(rows[5][2], "6003");  // the total stretched over the appended lines
  // It prints.
  ASSERT_TRUE(convert("pdf", file));
  const std::string text = hrdoc::test::pdf_text(dir_ / "report.pdf", false);
  EXPECT_NE(text.find("Список работников"), std::string::npos);
  EXPECT_NE(text.find("Петрова"), std::string::npos);
  // LibreOffice saves it again; what it wrote opens here with the formats.
  ASSERT_TRUE(convert("xlsx:Calc MS Excel 2007 XML", file, {}, dir_ / "lo"));
  Book lo((dir_ / "lo" / "report.xlsx").string());
  Sheet& t = lo.sheet(1);
  EXPECT_EQ(t.text(3, 2), "Иванов");
  EXPECT_EQ(t.value(3, 4).type, ValueType::formula);
  EXPECT_EQ(t.merges(), std::vector<Range>{(Range{1, 1, 1, 4})});
  EXPECT_EQ(t.border(4, 2).top.style, "thin");
  EXPECT_EQ(t.border(5, 4).right.style, "thin");
  EXPECT_EQ(*t.fill(2, 3), 0xCCCCCCu);
  EXPECT_EQ(t.alignment(1, 1, "horizontal"), "center");
  EXPECT_EQ(t.number_format(3, 2), "@");
  EXPECT_TRUE(t.column_hidden(6));
  EXPECT_NEAR(t.row_height(2), 33, 0.5);
  EXPECT_EQ(t.row_breaks(), std::vector<int>{4});
  EXPECT_EQ(t.page_setup().orientation, "landscape");
  ASSERT_NE(lo.defined_name("_xlnm.Print_Titles", 1), nullptr);
  EXPECT_NE(lo.defined_name("_xlnm.Print_Titles", 1)->formula.find("$2:$2"), std::string::npos);
  // Edit the book LibreOffice wrote and have LibreOffice read the result.
  t.insert_rows(3, 1);
  t.set_text(3, 2, "Новый");
  t.set_number(3, 3, 1);
  auto out = dir_ / "report-edited.xlsx";
  lo.save(out.string());
  rows = csv_of(out);
  ASSERT_GE(rows.size(), 7u);
  EXPECT_EQ(rows[2][1], "Новый");
  EXPECT_EQ(rows[3][1], "Иванов");
  EXPECT_EQ(rows[6][2], "6004");  // the total takes the new line in
}

TEST_F(Office, a_book_written_by_libreoffice_opens_edits_and_round_trips) {
  auto src = dir_ / "lo.csv";
  std::ofstream(src) << "Фамилия,Оклад,Формула\nИванов,100,=B2*3\nПетрова,200,=B3*3\nИтого,=SUM(B2:B3),\n";
  ASSERT_TRUE(convert("xlsx:Calc MS Excel 2007 XML", src, "CSV:44,34,76"));
  Book b((dir_ / "lo.xlsx").string());
  Sheet& s = b.sheet(1);
  EXPECT_EQ(s.text(1, 1), "Фамилия");
  EXPECT_EQ(s.value(2, 2).number, 100);
  EXPECT_EQ(s.value(4, 2).type, ValueType::formula);
  EXPECT_EQ(s.result(4, 2).number, 300);
  // Insert a line between the employees and copy a row to the end.
  s.insert_rows(3, 1);
  s.set_text(3, 1, "Новиков");
  s.set_number(3, 2, 50);
  s.set_formula(3, 3, "B3*3");
  s.copy_rows(2, 2, 7);
  EXPECT_EQ(s.value(5, 2).text, "SUM(B2:B4)");
  auto out = dir_ / "lo-edited.xlsx";
  b.save(out.string());
  auto rows = csv_of(out);
  ASSERT_GE(rows.size(), 7u);
  EXPECT_EQ(rows[2][0], "Новиков");
  EXPECT_EQ(rows[2][2], "150");
  EXPECT_EQ(rows[3][2], "600");
  EXPECT_EQ(rows[4][1], "350");
  EXPECT_EQ(rows[6][0], "Иванов");
  EXPECT_EQ(rows[6][2], "300");  // the copy reads B7*3
}
