#include "suite/tplc/template_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "office/classexl.h"
#include "sheet/book.h"
#include "support/office.h"
#include "support/test_context.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;
using hrdoc::sheet::Book;
using hrdoc::sheet::Value;
using hrdoc::tplc::build_book;
using hrdoc::tplc::parse_template;
using hrdoc::tplc::TemplateError;

const char* kList = R"(# A list with a framed title, a detail part and a total.
sheet "Список" landscape fit-width
font "Times New Roman" 10
columns 4 6 30 12 2
style title bold size=14 center middle
style head bold center middle wrap box
style cell box
style money box format="0.00" right
| ppHB | $ftitle {title} | <          | <            | $END$ | height=30
| ppHE | № {head}        | ФИО {head} | Сумма {head} |
| ppDB | $fnum {cell}    | $ffio {cell} | $fsum {money} |
| ppTB | Итого {head}    | <          | =SUM(D2:D3) {money} |
| $END$ |
)";

std::unique_ptr<Book> build(const char* text) {
  auto b = std::make_unique<Book>();
  build_book(parse_template(text, "TEST.tpl"), *b);
  return b;
}

TEST(Tplc, lays_out_cells_merges_styles_and_page) {
  auto book = build(kList);
  Book& b = *book;
  auto& s = b.sheet(1);
  EXPECT_EQ(s.name(), "Список");
  EXPECT_EQ(s.value(1, 1), Value::of("ppHB"));
  EXPECT_EQ(s.value(1, 2), Value::of("$ftitle"));
  EXPECT_EQ(s.value(1, 5), Value::of("$END$"));
  EXPECT_TRUE(s.is_merged({1, 2, 1, 4}));
  EXPECT_TRUE(s.is_merged({4, 2, 4, 3}));
  EXPECT_EQ(s.value(4, 4), Value::formula("SUM(D2:D3)"));
  EXPECT_DOUBLE_EQ(s.row_height(1), 30);
  EXPECT_DOUBLE_EQ(s.column_width(3), 30);
  EXPECT_EQ(s.number_format(3, 4), "0.00");
  EXPECT_EQ(s.border(3, 2).left.style, "thin");
  EXPECT_EQ(s.border(4, 3).bottom.style, "thin");  // a merged cell takes its area's frame
  EXPECT_TRUE(b.styles().font_bold(s.style(1, 2)));
  EXPECT_DOUBLE_EQ(b.styles().font_size(s.style(1, 2)), 14);
  EXPECT_EQ(s.alignment(2, 3, "horizontal"), "center");
  EXPECT_EQ(s.page_setup().orientation, "landscape");
  EXPECT_EQ(s.page_setup().fit_width, 1);
}

TEST(Tplc, numbers_formulas_and_escapes) {
  auto b = build("sheet S\n| 12 | -3.5 | '007 | a \\| b | =1+2 | x \\{y} |\n");
  auto& s = b->sheet(1);
  EXPECT_EQ(s.value(1, 1), Value::of(12.0));
  EXPECT_EQ(s.value(1, 2), Value::of(-3.5));
  EXPECT_EQ(s.value(1, 3), Value::of("007"));
  EXPECT_EQ(s.value(1, 4), Value::of("a | b"));
  EXPECT_EQ(s.value(1, 5), Value::formula("1+2"));
  EXPECT_EQ(s.value(1, 6), Value::of("x {y}"));
}

TEST(Tplc, repeat_counts_make_columns_and_cells) {
  auto b = build("sheet S\ncolumns 2 0.5*3 -\nstyle x bold\n| a {x} | <*2 | *2 | b |\n| ^*3 | c |\n");
  auto& s = b->sheet(1);
  EXPECT_DOUBLE_EQ(s.column_width(1), 2);
  for (int c = 2; c <= 4; ++c) EXPECT_DOUBLE_EQ(s.column_width(c), 0.5) << c;
  EXPECT_TRUE(s.is_merged({1, 1, 2, 3}));                  // "<*2" widens, "^*3" deepens the area
  EXPECT_EQ(s.value(1, 6), Value::of("b"));                 // "*2": two empty cells
  EXPECT_EQ(s.value(2, 4), Value::of("c"));
}

TEST(Tplc, mistakes_name_the_file_line_sheet_and_cell) {
  auto message = [](const char* text) {
    try {
      Book b;
      build_book(parse_template(text, "BAD.tpl"), b);
    } catch (const TemplateError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("| a |\n"), "BAD.tpl:1: a grid row before any \"sheet\" line");
  EXPECT_EQ(message("sheet S\nstyle x glow\n"), "BAD.tpl:2: unknown style property \"glow\"");
  EXPECT_EQ(message("sheet S\n| a {nostyle} |\n"), "BAD.tpl: sheet \"S\", cell A1 (line 2): unknown style \"nostyle\"");
  EXPECT_EQ(message("sheet S\n| < |\n"), "BAD.tpl: sheet \"S\", cell A1 (line 2): \"<\" in the first column");
  EXPECT_EQ(message("sheet S\n| a | b |\n| ^ | < |\n"),
            "BAD.tpl: sheet \"S\", cell B1 (line 2): the merged area of A1 is not a rectangle");
  EXPECT_EQ(message("# nothing\n"), "BAD.tpl: no \"sheet\" line");
  EXPECT_EQ(message("sheet S\ncolumns 1*0\n"), "BAD.tpl:2: a column repeat count from 1 to 16384");
}

// The compiled list template filled by the report workbook; LibreOffice renders it to a PDF
// with the frame, the merged title and the recomputed total.
TEST(Tplc, a_filled_template_prints_through_libreoffice) {
  if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
  hrdoc::test::WorkDir work("tplc");
  const fs::path dir = work.path();
  hrdoc::test::TestContext t;
  t.ctx.ext().work_dir = work.slashed();
  const std::string xlsx = (dir / "LIST.xlsx").string();
  {
    std::ofstream(dir / "LIST.tpl") << kList;
    hrdoc::tplc::compile_template((dir / "LIST.tpl").string(), xlsx);
    hrdoc::office::TExcelShablon w;
    w.Open(xlsx, true, false, 0);
    w.SetField("ppH", "ftitle", std::string("Ведомость"));
    for (int i = 1; i <= 3; ++i) {
      w.SetField("ppD", "fnum", static_cast<int32_t>(i));
      w.SetField("ppD", "ffio", std::string("Работник ") + std::to_string(i));
      w.SetField("ppD", "fsum", 10.5 * i);
      w.AddPart("ppD", 0);
    }
    w.Finish("ppH;ppT");
  }
  ASSERT_TRUE(hrdoc::test::soffice_convert(xlsx, "pdf", dir / "lo"));
  const std::string text = hrdoc::test::pdf_text(dir / "LIST.pdf");
  EXPECT_NE(text.find("Ведомость"), std::string::npos) << text;
  EXPECT_NE(text.find("Работник 3"), std::string::npos) << text;
  EXPECT_NE(text.find("63.00"), std::string::npos) << text;  // 10.5 + 21 + 31.5
  EXPECT_EQ(text.find("$"), std::string::npos) << text;
  EXPECT_EQ(text.find("pp"), std::string::npos) << text;
}

}  // namespace
