// Books written by another library (libxlsxwriter) open, edit and save here.
#include <gtest/gtest.h>

#include <filesystem>
#include <xlsxwriter.h>

#include "sheet/book.h"
#include "sheet/zip_io.h"
#include "support/work_dir.h"

using namespace hrdoc::sheet;
namespace fs = std::filesystem;

TEST(Foreign, a_libxlsxwriter_book_reads_edits_and_keeps_its_other_parts) {
  hrdoc::test::WorkDir work("foreign");
  const fs::path dir = work.path();
  auto in = (dir / "lxw.xlsx").string();
  {
    lxw_workbook* wb = workbook_new(in.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Отчёт");
    workbook_add_worksheet(wb, "Пустой");
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    format_set_border(bold, LXW_BORDER_MEDIUM);
    format_set_bg_color(bold, 0xFFFF00);
    worksheet_merge_range(ws, 0, 0, 0, 3, "Шапка", bold);
    worksheet_write_number(ws, 1, 0, 5, NULL);
    worksheet_write_number(ws, 2, 0, 6, NULL);
    worksheet_write_formula(ws, 3, 0, "=SUM(A2:A3)", NULL);
    worksheet_set_row(ws, 2, 30, NULL);
    lxw_row_col_options hidden = {.hidden = 1, .level = 0, .collapsed = 0};
    worksheet_set_column_opt(ws, 5, 5, 10, NULL, &hidden);
    worksheet_repeat_rows(ws, 0, 0);
    worksheet_set_landscape(ws);
    workbook_define_name(wb, "Итог", "=Отчёт!$A$4");
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
  }
  Book b(in);
  ASSERT_EQ(b.sheet_count(), 2);
  Sheet& s = b.sheet("отчёт");
  EXPECT_EQ(s.text(1, 1), "Шапка");
  EXPECT_TRUE(s.is_merged(Range{1, 1, 1, 4}));
  EXPECT_EQ(s.border(1, 1).top.style, "medium");
  EXPECT_EQ(*s.fill(1, 2), 0x00FFFFu);
  EXPECT_TRUE(b.styles().font_bold(s.style(1, 1)));
  EXPECT_EQ(s.value(4, 1).text, "SUM(A2:A3)");
  EXPECT_EQ(s.row_height(3), 30);
  EXPECT_TRUE(s.column_hidden(6));
  EXPECT_EQ(s.page_setup().orientation, "landscape");
  EXPECT_EQ(b.defined_name("Итог")->formula, "Отчёт!$A$4");
  EXPECT_EQ(b.defined_name("_xlnm.Print_Titles", 1)->formula, "'Отчёт'!$1:$1");
  s.copy_rows(3, 3, 3, true);
  EXPECT_EQ(s.value(5, 1).text, "SUM(A2:A4)");
  EXPECT_EQ(b.defined_name("Итог")->formula, "Отчёт!$A$5");
  auto out = (dir / "lxw-edited.xlsx").string();
  b.save(out);
  Book again(out);
  EXPECT_EQ(again.sheet(1).value(4, 1).number, 6);
  EXPECT_EQ(again.sheet(1).row_height(4), 30);
  EXPECT_EQ(again.sheet(2).name(), "Пустой");
  ZipReader z(out);
  EXPECT_TRUE(z.read("xl/theme/theme1.xml"));
  EXPECT_TRUE(z.read("docProps/app.xml"));
  EXPECT_FALSE(z.read("xl/calcChain.xml"));
}
