#include "office/oocalcimp.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "office/block_ops.h"
#include "office/classexl.h"
#include "sheet/book.h"
#include "support/sheet_rows.h"
#include "support/test_context.h"
#include "support/work_dir.h"

// These tests start one LibreOffice for the whole executable; the tests of a missing office
// (NoOffice.*) run in a process of their own, where no office was ever started.

namespace {

namespace fs = std::filesystem;
using hrdoc::office::PutValue;
using hrdoc::office::TExcelShablon;
using hrdoc::office::TooCalcImp;
using hrdoc::office::Variant;
using hrdoc::office::WideString;
using hrdoc::sheet::Book;

const std::string kCannotOpen =
    "Невозможно открыть Open Office.org Calc! Возможно этого приложения на компьютере не установлено.";

class OfficeEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { hrdoc::office::ShutdownOffice(); }
};
const auto* const office_environment = ::testing::AddGlobalTestEnvironment(new OfficeEnvironment);

// A list template: a header part with the organisation, a detail line with borders and three
// fields, a totals part, the width mark in column F.
void write_list_template(const std::string& path) {
  Book b;
  auto& s = b.sheet(1);
  hrdoc::test::put_rows(s, {{"ppHB", "$fpredpr", "", "", "", "$END$"},
                            {"ppHE", "№", "ФИО", "Сумма", "Отдел"},
                            {"ppDB", "$fnum", "$ffio", "$fsum", "бухгалтерия"},
                            {"ppTB", "Итого", "", "$ftotal"},
                            {"$END$"}});
  s.merge({1, 2, 1, 4});
  s.set_borders({3, 2, 3, 5}, hrdoc::sheet::edge_all, 2);
  b.save(path);
}

void fill(TExcelShablon& w) {
  w.SetField("ppH", "fpredpr", Variant(std::string("ООО «Ромашка»")));
  const char* names[] = {"Иванов И.И.", "Петрова А.С.", "Сидоров П.П."};
  for (int i = 0; i < 3; ++i) {
    w.SetField("ppD", "fnum", Variant(static_cast<int32_t>(i + 1)));
    w.SetField("ppD", "FFIO", Variant(std::string(names[i])));
    w.SetField("ppD", "fsum", Variant(1000.5 * (i + 1)));
    EXPECT_EQ(w.AddPart("ppD", 0), 3 + i);
  }
  w.SetField("ppT", "ftotal", Variant(6003.0));
  w.AddPart("ppT", 0);
}

class Calc : public ::testing::Test {
 protected:
  void SetUp() override { t.ctx.ext().work_dir = work.slashed(); }

  // A new book on the office; fails the test when the office cannot be reached.
  void open_new(TooCalcImp& s) {
    s.NewBook(false);
    ASSERT_TRUE(s.IsConnected()) << (t.ui.boxes.empty() ? "" : t.ui.boxes.back().text);
  }

  hrdoc::test::TestContext t;
  hrdoc::test::WorkDir work{"oocalc"};
  const fs::path dir = work.path();
};

TEST_F(Calc, values_go_in_by_kind_and_wide_strings_land_as_formulas) {
  TooCalcImp s;
  EXPECT_EQ(s.origin, 1);
  open_new(s);
  PutValue(s, 1, 1, Variant(WideString{"=2+3"}), 0);
  PutValue(s, 1, 2, Variant(std::string("=2+3")), 0);
  PutValue(s, 2, 1, Variant(2.5), 0);
  PutValue(s, 2, 2, Variant(static_cast<int32_t>(7)), 0);
  // Row 1, column 1 is the office's cell (0,0): A1.
  EXPECT_EQ(s.GetRange(hrdoc::office::vkFormula, "A1", 0).text(), "=2+3");
  EXPECT_EQ(s.GetCell(hrdoc::office::vkValue, 1, 1, 0).number(), 5);
  // A plain string stays text, whatever it looks like.
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 1, 2, 0).text(), "=2+3");
  EXPECT_EQ(s.GetCell(hrdoc::office::vkValue, 1, 2, 0).number(), 0);
  EXPECT_EQ(s.GetRange(hrdoc::office::vkValue, "A2", 1).number(), 2.5);
  EXPECT_EQ(s.GetCell(hrdoc::office::vkValue, 2, 2, 1).number(), 7);
  EXPECT_EQ(s.GetRangeRow("B2", 0), 2);
  EXPECT_EQ(s.GetRangeColumn("B2", 0), 2);
  s.Quit();
  EXPECT_FALSE(s.IsConnected());
}

TEST_F(Calc, pure_red_reaches_the_office_as_red_and_is_read_back_unchanged) {
  TooCalcImp s;
  open_new(s);
  s.SetCellColor(2, 2, 0x0000FF, 0);
  s.SetRangeColor("C3:D4", 0xFF0000, 0);  // pure blue
  EXPECT_EQ(s.GetCellColor(2, 2, 0), 0x0000FF);
  EXPECT_EQ(s.GetRangeColor("C3", 0), 0xFF0000);
  // The office itself holds red in its high byte: the saved book says FF0000 for B2.
  // Characters a URL would take for its own stay part of the name.
  const std::string path = (dir / "красный #1 100%.xlsx").string();
  s.SaveAs(path);
  s.Quit();
  Book b(path);
  ASSERT_TRUE(b.sheet(1).fill(2, 2).has_value());
  EXPECT_EQ(*b.sheet(1).fill(2, 2), 0x0000FFu);
  ASSERT_TRUE(b.sheet(1).fill(3, 4).has_value());
  EXPECT_EQ(*b.sheet(1).fill(3, 4), 0xFF0000u);
}

TEST_F(Calc, sheets_are_chosen_by_number_and_zero_is_refused) {
  TooCalcImp s;
  open_new(s);
  try {
    s.SelectSheet(0);
    FAIL() << "SelectSheet(0) went through";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Неверный номер листа: 0");
  }
  s.CopySheetAs(1, 1, true, false, "Второй");
  ASSERT_EQ(s.SheetCount(), 2);
  EXPECT_EQ(s.GetSheetName(2), "Второй");
  s.SelectSheet(2);
  s.SetCell(hrdoc::office::vkString, 1, 1, Variant(std::string("на втором")), 0);
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 1, 1, 2).text(), "на втором");
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 1, 1, 1).text(), "");
  EXPECT_THROW(s.SelectSheet(3), std::exception);
  s.Quit();
}

TEST_F(Calc, deleting_columns_auto_fit_and_alignment_change_nothing) {
  TooCalcImp s;
  open_new(s);
  s.SetCell(hrdoc::office::vkString, 1, 1, Variant(std::string("метка")), 0);
  s.SetCell(hrdoc::office::vkString, 1, 2, Variant(std::string("очень длинный текст, шире столбца")), 0);
  s.SetCell(hrdoc::office::vkValue, 2, 3, Variant(12.0), 0);
  const std::string before = (dir / "before.xlsx").string(), after = (dir / "after.xlsx").string();
  s.SaveAs(before);
  s.DeleteColumns(1, 1, hrdoc::office::xlShiftToLeft, 0);
  s.DeleteColumns(2, 3, hrdoc::office::xlShiftToLeft, 0);
  s.AutoFitColumns(1, 3, 0);
  s.AutoFitRows(1, 2, 0);
  s.SetHorizontalAlignment("A1:C2", -4108, 0);
  s.SetVerticalAlignment("A1:C2", -4108, 0);
  s.SaveAs(after);
  s.Quit();
  Book a(before), b(after);
  for (int r = 1; r <= 2; ++r)
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(a.sheet(1).value(r, c), b.sheet(1).value(r, c)) << r << "," << c;
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(a.sheet(1).column_width(c), b.sheet(1).column_width(c)) << c;
  EXPECT_EQ(a.sheet(1).row_height(1), b.sheet(1).row_height(1));
  EXPECT_EQ(a.sheet(1).alignment(1, 2, "horizontal"), b.sheet(1).alignment(1, 2, "horizontal"));
  EXPECT_EQ(b.sheet(1).value(1, 1).text, "метка");
}

TEST_F(Calc, rows_copied_with_insertion_carry_merges_and_deleted_rows_go) {
  TooCalcImp s;
  open_new(s);
  s.SetCell(hrdoc::office::vkString, 1, 1, Variant(std::string("шапка")), 0);
  s.MergeRange("A1:C1", true, 0);
  s.SetCell(hrdoc::office::vkString, 2, 1, Variant(std::string("строка")), 0);
  s.CopyRows(1, 1, 3, true, 0);
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 3, 1, 0).text(), "шапка");
  EXPECT_TRUE(s.IsMergedRange("A3:C3", 0));
  // Inserted above the source: the source moves down and is still what gets copied.
  s.CopyRows(2, 2, 1, true, 0);
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 1, 1, 0).text(), "строка");
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 2, 1, 0).text(), "шапка");
  s.DeleteRows(1, 2, hrdoc::office::xlShiftUp, 0);
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 1, 1, 0).text(), "строка");
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 2, 1, 0).text(), "шапка");
  s.Quit();
}

// The headless office has been seen to abort a moment after some ways of doing these; it must
// still be there a while later.
TEST_F(Calc, the_office_outlives_sheet_selection_deletions_and_hiding) {
  TooCalcImp s;
  open_new(s);
  for (int r = 1; r <= 6; ++r) s.SetCell(hrdoc::office::vkValue, r, 1, Variant(static_cast<double>(r)), 0);
  s.SetCell(hrdoc::office::vkValue, 1, 2, Variant(10.0), 0);
  s.SetCell(hrdoc::office::vkValue, 2, 2, Variant(20.0), 0);
  s.SelectSheet(1);
  s.DeleteRows(2, 3, hrdoc::office::xlShiftUp, 0);
  s.DeleteRange("B1", hrdoc::office::xlShiftUp, 0);
  s.HideRowsColumns(3, 3, 1, 0);
  s.HideRowsColumns(3, 3, 0, 0);
  std::this_thread::sleep_for(std::chrono::seconds(3));
  ASSERT_NO_THROW(s.SetCell(hrdoc::office::vkValue, 7, 1, Variant(7.0), 0));
  EXPECT_EQ(s.GetCell(hrdoc::office::vkValue, 2, 1, 0).number(), 4);
  // B1 deleted upwards takes what was below it: B2 went with rows 2-3, so nothing.
  EXPECT_EQ(s.GetCell(hrdoc::office::vkValue, 1, 2, 0).number(), 0);
  EXPECT_EQ(s.GetCell(hrdoc::office::vkString, 1, 2, 0).text(), "");
  const std::string path = (dir / "hidden.xlsx").string();
  s.SaveAs(path);
  s.Quit();
  Book b(path);
  EXPECT_TRUE(b.sheet(1).row_hidden(3));
  EXPECT_TRUE(b.sheet(1).column_hidden(3));
  EXPECT_FALSE(b.sheet(1).row_hidden(2));
}

TEST_F(Calc, a_template_filled_through_both_backends_gives_the_same_values) {
  const std::string native = (dir / "LIST_00.xlsx").string(), calc = (dir / "LIST_01.xlsx").string();
  write_list_template(native);
  fs::copy_file(native, calc);
  {
    TExcelShablon w;
    w.Open(native, true, false, 0);
    ASSERT_TRUE(w.IsOpen());
    fill(w);
    w.Finish("ppH");
  }
  {
    // Reports pass 0: the run's choice of office decides.
    t.ctx.ext().office = 1;
    TExcelShablon w;
    w.Open(calc, true, false, 0);
    ASSERT_TRUE(w.IsOpen()) << (t.ui.boxes.empty() ? "" : t.ui.boxes.back().text);
    EXPECT_NE(dynamic_cast<TooCalcImp*>(w.GetApplication()), nullptr);
    EXPECT_EQ(w.Width(), 6);
    fill(w);
    w.Finish("ppH");
    EXPECT_FALSE(w.IsOpen());
  }
  EXPECT_TRUE(t.ui.boxes.empty()) << t.ui.boxes.front().text;
  ASSERT_EQ(t.ui.documents.size(), 2u);
  EXPECT_EQ(t.ui.documents[0], native);
  EXPECT_EQ(t.ui.documents[1], calc);

  Book a(native), b(calc);
  auto& n = a.sheet(1);
  auto& o = b.sheet(1);
  // Header (2 rows), three lines, the totals.
  ASSERT_EQ(n.last_row(), 6);
  EXPECT_EQ(n.value(3, 2).text, "Иванов И.И.");
  EXPECT_EQ(n.value(6, 3).number, 6003.0);
  // The office keeps the marks column A and the width column: everything else sits one to the right.
  EXPECT_EQ(o.value(1, 1).text, "ppHB");
  EXPECT_EQ(o.value(3, 1).text, "ppDB");
  // Rows below the output stay empty on both.
  for (int r = 1; r <= n.last_row() + 3; ++r)
    for (int c = 1; c <= 4; ++c) {
      auto x = n.value(r, c), y = o.value(r, c + 1);
      EXPECT_EQ(static_cast<int>(x.type), static_cast<int>(y.type)) << "row " << r << ", column " << c;
      EXPECT_EQ(x.text, y.text) << "row " << r << ", column " << c;
      EXPECT_EQ(x.number, y.number) << "row " << r << ", column " << c;
    }
}

TEST_F(Calc, block_sort_formats_wrap_and_row_height_reach_the_saved_book) {
  TooCalcImp s;
  open_new(s);
  const std::string path = (dir / "block.xlsx").string();
  hrdoc::test::run_block_operations(s, path);
  s.Quit();
  hrdoc::test::check_block_operations(path);
}

TEST_F(Calc, a_missing_book_gives_both_messages_and_leaves_the_server_closed) {
  TooCalcImp s;
  const std::string path = (dir / "нет такого.xlsx").string();
  s.OpenBook(path, false);
  EXPECT_FALSE(s.IsConnected());
  ASSERT_EQ(t.ui.boxes.size(), 2u);
  EXPECT_EQ(t.ui.boxes[0].text, "Не найден шаблон: ''" + path + "'' необходимый для работы данной формы");
  EXPECT_EQ(t.ui.boxes[1].text, kCannotOpen);
}

// Without a working office: the run says so, produces nothing and does not hang.
class NoOffice : public Calc {};

TEST_F(NoOffice, an_office_that_cannot_start_gives_the_message_and_no_book) {
  const std::string path = (dir / "LIST_00.xlsx").string();
  write_list_template(path);
  ::setenv("HRDOC_SOFFICE", (dir / "no-such-office").c_str(), 1);
  t.ctx.ext().office = 1;
  TExcelShablon w;
  w.Open(path, true, false, 0);
  EXPECT_FALSE(w.IsOpen());
  EXPECT_EQ(w.AddPart("ppD", 0), -1);
  w.Finish("");
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text.rfind(kCannotOpen + "\r\nОписание: ", 0), 0u) << t.ui.boxes[0].text;
  EXPECT_NE(t.ui.boxes[0].text.find("no-such-office"), std::string::npos);
  EXPECT_TRUE(t.ui.documents.empty());
}

TEST_F(NoOffice, an_office_that_never_answers_is_given_up_after_the_wait) {
  // Starts and then sits there, as an office stuck on its way up would.
  const std::string fake = (dir / "silent-office").string();
  {
    std::ofstream f(fake);
    f << "#!/bin/sh\nexec sleep 600\n";
  }
  ::chmod(fake.c_str(), 0755);
  ::setenv("HRDOC_SOFFICE", fake.c_str(), 1);
  ::setenv("HRDOC_OFFICE_TIMEOUT", "2", 1);
  TooCalcImp s;
  s.NewBook(false);
  EXPECT_FALSE(s.IsConnected());
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text.rfind(kCannotOpen + "\r\nОписание: ", 0), 0u) << t.ui.boxes[0].text;
  EXPECT_NE(t.ui.boxes[0].text.find("не ответил за 2"), std::string::npos) << t.ui.boxes[0].text;
}

}  // namespace
