#include "office/srvimp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "office/block_ops.h"
#include "office/msexcelimp.h"
#include "sheet/book.h"
#include "support/test_context.h"
#include "support/work_dir.h"

namespace {

using namespace hrdoc::office;

TEST(ColLitFromNum, letters_of_the_classic_256_columns) {
  EXPECT_EQ(ColLitFromNum(1), "A");
  EXPECT_EQ(ColLitFromNum(26), "Z");
  EXPECT_EQ(ColLitFromNum(27), "AA");
  EXPECT_EQ(ColLitFromNum(52), "AZ");
  EXPECT_EQ(ColLitFromNum(53), "BA");
  EXPECT_EQ(ColLitFromNum(256), "IV");
  for (int bad : {0, 257, -1}) {
    try {
      ColLitFromNum(bad);
      FAIL() << bad;
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), "Ошибка функции ColLitFromNum. Индекс столбца должен находиться в диапазоне 0..255!");
    }
  }
}

TEST(FileNameToURL, windows_and_linux_paths) {
  EXPECT_EQ(FileNameToURL("C:\\Отчеты\\Форма 1.xls"), "file://localhost/C:/Отчеты/Форма%201.xls");
  EXPECT_EQ(FileNameToURL("/tmp/a b.xlsx"), "file://localhost/tmp/a%20b.xlsx");
}

TEST(SwapRB, swaps_red_and_blue_both_ways) {
  EXPECT_EQ(SwapRB(0x0000FF), 0xFF0000);
  EXPECT_EQ(SwapRB(0xFF0000), 0x0000FF);
  EXPECT_EQ(SwapRB(0x123456), 0x563412);
  EXPECT_EQ(SwapRB(SwapRB(0x00ABCDEF)), 0x00ABCDEF);
}

class ExcelServer : public ::testing::Test {
 protected:
  void SetUp() override {
    t.ctx.ext().work_dir = work.slashed();
    hrdoc::sheet::Book book;
    book.add_sheet("Второй");
    auto& s = book.sheet(1);
    s.set_text(1, 1, "#");
    s.set_value(2, 2, hrdoc::sheet::Value{hrdoc::sheet::ValueType::error, 0, "#DIV/0!"});
    s.set_formula(3, 3, "1+1");
    s.set_number(4, 4, 7);
    file = (dir / "book.xlsx").string();
    book.save(file);
    server.OpenBook(file, false);
    ASSERT_TRUE(server.IsConnected());
  }

  hrdoc::test::TestContext t;
  hrdoc::test::WorkDir work{"srv"};
  const std::filesystem::path dir = work.path();
  std::string file;
  TMSExcelImp server;
};

TEST_F(ExcelServer, kinds_only_change_reading) {
  EXPECT_EQ(server.GetCell(vkString, 2, 2, 0), Variant(std::string()));  // an error reads as ""
  EXPECT_TRUE(server.GetCell(vkValue, 2, 2, 0).is<ErrorValue>());
  EXPECT_EQ(server.GetCell(vkFormula, 4, 4, 0), Variant(std::string()));  // kind 2 always ""
  EXPECT_EQ(server.GetCell(vkValue, 4, 4, 0), Variant(7.0));
  EXPECT_EQ(server.GetCell(vkString, 4, 4, 0).text(), "7");
}

TEST_F(ExcelServer, put_value_writes_numbers_as_numbers_and_texts_as_typed) {
  PutValue(server, 5, 1, Variant(12.5), 0);
  PutValue(server, 5, 2, Variant(std::string("Иванов")), 0);
  PutValue(server, 5, 3, Variant(WideString{"=A5*2"}), 0);
  PutValue(server, 5, 4, Variant(std::string("0042")), 0);
  auto& s = server.book()->sheet(1);
  EXPECT_EQ(s.value(5, 1), hrdoc::sheet::Value::of(12.5));
  EXPECT_EQ(s.value(5, 2), hrdoc::sheet::Value::of("Иванов"));
  EXPECT_EQ(s.value(5, 3), hrdoc::sheet::Value::formula("A5*2"));
  EXPECT_EQ(s.value(5, 4), hrdoc::sheet::Value::of(42.0));  // as Excel reads a typed "0042"
  s.set_number_format({6, 4, 6, 4}, "@");
  PutValue(server, 6, 4, Variant(std::string("0042")), 0);
  EXPECT_EQ(s.value(6, 4), hrdoc::sheet::Value::of("0042"));  // the text format keeps it
}

TEST_F(ExcelServer, colours_are_windows_values_and_white_when_unset) {
  server.SetCellColor(1, 1, 0x0000FF, 0);
  EXPECT_EQ(server.GetCellColor(1, 1, 0), 0x0000FF);
  EXPECT_EQ(server.book()->sheet(1).fill(1, 1), 0x0000FFu);
  EXPECT_EQ(server.GetCellColor(9, 9, 0), 0xFFFFFF);
}

TEST_F(ExcelServer, sheets_are_addressed_from_one_and_zero_is_the_active_one) {
  EXPECT_EQ(server.SheetCount(), 2);
  server.SelectSheet(2);
  server.SetCell(vkValue, 1, 1, Variant(3.0), 0);
  EXPECT_EQ(server.book()->sheet(2).value(1, 1), hrdoc::sheet::Value::of(3.0));
  EXPECT_EQ(server.GetSheetName(2), "Второй");
  EXPECT_THROW(server.SelectSheet(3), std::exception);
  ASSERT_FALSE(t.ui.boxes.empty());
  EXPECT_EQ(t.ui.boxes.back().text, "В шаблоне нет листа с номером3");
}

TEST_F(ExcelServer, whole_classic_rows_copy_with_their_height_and_merges) {
  auto& s = server.book()->sheet(1);
  s.set_row_height(1, 30);
  s.merge({1, 2, 1, 3});
  server.CopyRangeByName("A1:IV1", "A3", true, xlShiftDown, 0);
  EXPECT_DOUBLE_EQ(s.row_height(3), 30);
  EXPECT_TRUE(s.is_merged({3, 2, 3, 3}));
  EXPECT_EQ(s.value(4, 3), hrdoc::sheet::Value::formula("1+1"));  // pushed down by the insertion
}

TEST_F(ExcelServer, showing_saves_the_book_and_announces_it_once) {
  server.SetCell(vkValue, 8, 1, Variant(std::string("готово")), 0);
  server.SetVisible(true);
  server.SetVisible(true);
  ASSERT_EQ(t.ui.documents.size(), 1u);
  EXPECT_EQ(t.ui.documents[0], file);
  hrdoc::sheet::Book reread(file);
  EXPECT_EQ(reread.sheet(1).value(8, 1), hrdoc::sheet::Value::of("готово"));
}

TEST_F(ExcelServer, block_sort_formats_wrap_and_row_height_reach_the_saved_book) {
  TMSExcelImp s;
  s.NewBook(false);
  ASSERT_TRUE(s.IsConnected());
  const std::string path = (dir / "block.xlsx").string();
  hrdoc::test::run_block_operations(s, path);
  hrdoc::test::check_block_operations(path);
}

TEST_F(ExcelServer, a_new_book_shown_takes_the_first_free_name_of_the_work_folder) {
  for (const char* earlier : {"Книга1.xlsx", "Книга2.xlsx"}) std::ofstream(dir / earlier) << earlier;
  TMSExcelImp fresh;
  fresh.NewBook(false);
  fresh.SetCell(vkValue, 1, 1, Variant(std::string("новая")), 0);
  fresh.SetVisible(true);
  ASSERT_EQ(t.ui.documents.size(), 1u);
  EXPECT_EQ(t.ui.documents[0], (dir / "Книга3.xlsx").string());
  EXPECT_EQ(hrdoc::test::read_file(dir / "Книга1.xlsx"), "Книга1.xlsx");
  EXPECT_EQ(hrdoc::test::read_file(dir / "Книга2.xlsx"), "Книга2.xlsx");
  EXPECT_EQ(hrdoc::sheet::Book((dir / "Книга3.xlsx").string()).sheet(1).value(1, 1), hrdoc::sheet::Value::of("новая"));
}

TEST(ExcelServerOpen, a_missing_or_unreadable_file_gives_two_messages_and_no_connection) {
  hrdoc::test::WorkDir work("srv");
  const std::string broken = work / "broken.xlsx";
  { std::ofstream(broken) << "not a workbook"; }
  for (const std::string& path : {std::string("/nonexistent/WLST_00.xlsx"), broken}) {
    hrdoc::test::TestContext t;
    TMSExcelImp server;
    server.OpenBook(path, false);
    EXPECT_FALSE(server.IsConnected());
    ASSERT_EQ(t.ui.boxes.size(), 2u);
    EXPECT_EQ(t.ui.boxes[0].text, "Не найден шаблон: ''" + path + "'' необходимый для работы данной формы");
    EXPECT_EQ(t.ui.boxes[1].text, "Невозможно открыть Microsoft Excel! Возможно этого приложения на компьютере не установлено.");
    EXPECT_EQ(t.ui.boxes[1].caption, "Ошибка");
  }
}

}  // namespace
