#include "office/classexl.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "office/msexcelimp.h"
#include "sheet/book.h"
#include "support/office.h"
#include "support/sheet_rows.h"
#include "support/test_context.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;
using hrdoc::office::TExcelShablon;
using hrdoc::office::Variant;
using hrdoc::sheet::Book;
using hrdoc::sheet::Value;
using hrdoc::test::put_rows;

// A list template: a two-row header with the organisation, a one-row detail part with
// borders, and a totals part whose SUM spans the detail rows.
void write_list_template(const std::string& path) {
  Book b;
  auto& s = b.sheet(1);
  put_rows(s, {{"ppHB", "$fpredpr", "", "", "$END$"},
               {"ppHE", "№", "ФИО", "Сумма"},
               {"ppDB", "$fnum", "$ffio", "$fsum"},
               {"ppTB", "Итого", "$ffio"},
               {"$END$"}});
  s.merge({1, 2, 1, 4});
  s.set_borders({3, 2, 3, 4}, hrdoc::sheet::edge_all, 2);
  s.set_row_height(3, 20);
  s.set_formula(4, 4, "SUM(D2:D3)");
  b.save(path);
}

class Shablon : public ::testing::Test {
 protected:
  void SetUp() override {
    t.ctx.ext().work_dir = work.slashed();
    path = (dir / "WLST_00.xlsx").string();
  }

  void fill_three_lines(TExcelShablon& w) {
    w.SetField("ppH", "fpredpr", Variant(std::string("ООО «Ромашка»")));
    const char* names[] = {"Иванов И.И.", "Петрова А.С.", "Сидоров П.П."};
    for (int i = 0; i < 3; ++i) {
      w.SetField("ppD", "fnum", Variant(static_cast<int32_t>(i + 1)));
      w.SetField("ppD", "FFIO", Variant(std::string(names[i])));
      w.SetField("ppD", "fsum", Variant(100.0 * (i + 1)));
      EXPECT_EQ(w.AddPart("ppD", 0), 3 + i);
    }
  }

  hrdoc::test::TestContext t;
  hrdoc::test::WorkDir work{"shablon"};
  const fs::path dir = work.path();
  std::string path;
};

TEST_F(Shablon, reads_parts_fields_and_the_width_and_fields_belong_to_their_part) {
  write_list_template(path);
  TExcelShablon w;
  w.Open(path, true, false, 0);
  ASSERT_TRUE(w.IsOpen());
  EXPECT_EQ(w.Width(), 5);
  ASSERT_EQ(w.PartCount(), 3);
  const auto* h = w.FindPart("PPH");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->first, 1);
  EXPECT_EQ(h->last, 2);
  EXPECT_EQ(h->height, 2);
  const auto* d = w.FindPart("ppD");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->height, 1);  // no end mark: one row
  ASSERT_EQ(d->fields.size(), 3u);
  EXPECT_EQ(d->fields[1].name, "ffio");
  EXPECT_EQ(d->fields[1].col, 3);
  EXPECT_EQ(w.OutputRow(), 3);
  // Fields were cleared to one blank each on opening.
  auto& s = dynamic_cast<hrdoc::office::TMSExcelImp*>(w.GetApplication())->book()->sheet(1);
  EXPECT_EQ(s.value(3, 3), Value::of(" "));
  // The same field name in two parts is two fields.
  w.SetField("ppT", "ffio", Variant(std::string("итог")));
  w.SetField("ppD", "ffio", Variant(std::string("строка")));
  EXPECT_EQ(s.value(4, 3), Value::of("итог"));
  EXPECT_EQ(s.value(3, 3), Value::of("строка"));
  EXPECT_TRUE(t.ui.boxes.empty());
}

// Names are limited in characters, so long Cyrillic names are kept whole; a field cell is read
// for 20 characters, "$" included, up to the first space.
TEST_F(Shablon, long_cyrillic_names_and_field_cells_are_read_by_characters) {
  Book b;
  auto& s = b.sheet(1);
  put_rows(s, {{"ДлиннаяЧастьОтчётаB", "$ФамилияИмяОтчество", "$abcdefghijklmnopqrstuvwxyz", "$fio подпись", "$END$"},
               {"$END$"}});
  b.save(path);
  TExcelShablon w;
  w.Open(path, true, false, 0);
  const auto* p = w.FindPart("длиннаячастьотчёта");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->name, "ДлиннаяЧастьОтчёта");
  ASSERT_EQ(p->fields.size(), 4u);  // the width column's "$END$" is read as well
  EXPECT_EQ(p->fields[0].name, "ФамилияИмяОтчество");
  EXPECT_EQ(p->fields[1].name, "abcdefghijklmnopqrs");
  EXPECT_EQ(p->fields[2].name, "fio");
  w.SetField("ДлиннаяЧастьОтчёта", "фамилияимяотчество", Variant(std::string("Иванов")));
  auto& out = dynamic_cast<hrdoc::office::TMSExcelImp*>(w.GetApplication())->book()->sheet(1);
  EXPECT_EQ(out.value(1, 2), Value::of("Иванов"));
  EXPECT_TRUE(t.ui.boxes.empty());
  EXPECT_EQ(hrdoc::office::UpperName("ґанок ёлка їжак"), "ҐАНОК ЁЛКА ЇЖАК");
}

TEST_F(Shablon, fills_lines_and_finishes_a_clean_book_that_libreoffice_reads) {
  write_list_template(path);
  {
    TExcelShablon w;
    w.Open(path, true, false, 0);
    fill_three_lines(w);
    w.Finish("ppH;ppT");
    EXPECT_FALSE(w.IsOpen());
  }
  ASSERT_EQ(t.ui.documents.size(), 1u);
  EXPECT_EQ(t.ui.documents[0], path);
  EXPECT_TRUE(t.ui.boxes.empty());

  Book done(path);
  auto& s = done.sheet(1);
  // Column A (the marks) and the width column are gone: B..D became A..C.
  EXPECT_EQ(s.value(1, 1), Value::of("ООО «Ромашка»"));
  EXPECT_TRUE(s.is_merged({1, 1, 1, 3}));
  EXPECT_EQ(s.value(2, 2), Value::of("ФИО"));
  EXPECT_EQ(s.value(3, 1), Value::of(1.0));
  EXPECT_EQ(s.value(4, 2), Value::of("Петрова А.С."));
  EXPECT_EQ(s.value(5, 3), Value::of(300.0));
  EXPECT_DOUBLE_EQ(s.row_height(5), 20);
  EXPECT_EQ(s.border(5, 3).bottom.style, "thin");
  // The template detail row was removed, the total follows the lines and sums them all.
  EXPECT_EQ(s.value(6, 1), Value::of("Итого"));
  EXPECT_EQ(s.value(6, 3), Value::formula("SUM(C2:C5)"));
  EXPECT_EQ(s.last_row(), 6);
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 5; ++c) {
      std::string text = s.text(r, c);
      EXPECT_TRUE(text.find("$") == std::string::npos && text != "ppHB" && text != "ppDB") << r << "," << c;
    }
  // LibreOffice reads the finished book, recomputes the total and shows no marks.
  if (!hrdoc::test::have_office()) GTEST_SKIP() << "LibreOffice is not installed";
  ASSERT_TRUE(hrdoc::test::soffice_convert(path, hrdoc::test::kCsvUtf8, dir / "lo-profile"));
  const std::string text = hrdoc::test::read_file(dir / "WLST_00.csv");
  EXPECT_NE(text.find("ООО «Ромашка»"), std::string::npos) << text;
  EXPECT_NE(text.find("3,Сидоров П.П.,300"), std::string::npos) << text;
  EXPECT_NE(text.find("Итого, ,600"), std::string::npos) << text;
  EXPECT_EQ(text.find("ppD"), std::string::npos) << text;
  EXPECT_EQ(text.find("$"), std::string::npos) << text;
}

TEST_F(Shablon, adding_the_first_part_puts_a_copy_below_it_and_it_stays) {
  write_list_template(path);
  TExcelShablon w;
  w.Open(path, true, false, 0);
  w.SetField("ppH", "fpredpr", Variant(std::string("Копия")));
  EXPECT_EQ(w.AddPart("ppH", 0), 3);
  EXPECT_EQ(w.FindPart("ppH")->first, 1);
  EXPECT_EQ(w.FindPart("ppD")->first, 5);
  auto& s = dynamic_cast<hrdoc::office::TMSExcelImp*>(w.GetApplication())->book()->sheet(1);
  EXPECT_EQ(s.value(3, 2), Value::of("Копия"));
  EXPECT_TRUE(s.is_merged({3, 2, 3, 4}));
}

// An end mark outside a part opens a one-row part at its own row; blank rows go before the copy.
TEST_F(Shablon, a_stray_end_mark_is_a_part_and_blank_rows_precede_the_copy) {
  Book b;
  auto& s = b.sheet(1);
  put_rows(s, {{"ppHB", "", "$END$"}, {"ppDB", "$fd"}, {"ppXE", "$fx"}, {"$END$"}});
  b.save(path);
  TExcelShablon w;
  w.Open(path, true, false, 0);
  ASSERT_EQ(w.PartCount(), 3);
  const auto* x = w.FindPart("ppX");
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->first, 3);
  EXPECT_EQ(x->height, 1);
  ASSERT_EQ(x->fields.size(), 1u);
  w.SetField("ppD", "fd", Variant(std::string("строка")));
  EXPECT_EQ(w.AddPart("ppD", 2), 4);
  EXPECT_EQ(w.OutputRow(), 5);
  EXPECT_EQ(w.FindPart("ppD")->first, 5);
  EXPECT_EQ(w.FindPart("ppX")->fields[0].row, 6);
  auto& out = dynamic_cast<hrdoc::office::TMSExcelImp*>(w.GetApplication())->book()->sheet(1);
  EXPECT_EQ(out.text(2, 2), "");
  EXPECT_EQ(out.text(3, 2), "");
  EXPECT_EQ(out.value(4, 2), Value::of("строка"));
  EXPECT_EQ(out.text(6, 1), "ppXE");
  EXPECT_TRUE(t.ui.boxes.empty());
}

TEST_F(Shablon, unknown_parts_and_fields_are_reported_and_the_report_goes_on) {
  write_list_template(path);
  TExcelShablon w;
  w.Open(path, true, false, 0);
  w.SetField("ppX", "f", Variant(1.0));
  w.SetField("ppD", "fnone", Variant(1.0));
  ASSERT_EQ(t.ui.boxes.size(), 2u);
  EXPECT_EQ(t.ui.boxes[0].text, "Ошибка: часть с именем ''ppX'' не существует.");
  EXPECT_EQ(t.ui.boxes[1].text, "Ошибка: в части с именем ''ppD'' не существует поля ''fnone''");
  EXPECT_THROW(w.AddPart("ppX", 0), hrdoc::office::TClassExlExcept);
  EXPECT_EQ(t.ui.boxes.back().text, "Части с именем ''ppX'' не существует.");
  EXPECT_EQ(w.AddPart("ppD", 0), 3);
}

TEST_F(Shablon, a_missing_template_opens_nothing_and_every_verb_is_quiet) {
  TExcelShablon w;
  w.Open((dir / "none.xlsx").string(), true, false, 0);
  EXPECT_FALSE(w.IsOpen());
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_EQ(t.ui.boxes[0].text, "Не найден файл шаблон печатной формы!\r\n" + (dir / "none.xlsx").string() + ".");
  EXPECT_EQ(w.AddPart("ppD", 0), -1);
  w.SetField("ppD", "fnum", Variant(1.0));
  w.Finish("ppH");
  EXPECT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_TRUE(t.ui.documents.empty());
}

TEST_F(Shablon, a_template_without_end_marks_stops_at_the_sheet_limits) {
  Book b;
  auto& s = b.sheet(1);
  put_rows(s, {{"ppDB", "", "$fa"}});
  b.save(path);
  TExcelShablon w;
  w.Open(path, true, false, 0);
  ASSERT_TRUE(w.IsOpen());
  EXPECT_EQ(w.Width(), 255);
  ASSERT_EQ(w.PartCount(), 1);
  EXPECT_EQ(w.FindPart("ppD")->fields.size(), 1u);
  ASSERT_EQ(t.ui.boxes.size(), 1u);
  EXPECT_NE(t.ui.boxes[0].text.find("$END$"), std::string::npos);
}

TEST_F(Shablon, more_than_thirty_parts_are_refused_without_harm) {
  Book b;
  auto& s = b.sheet(1);
  for (int i = 0; i < 32; ++i) {
    s.set_text(i + 1, 1, "p" + std::to_string(i) + "B");
    s.set_text(i + 1, 2, "$f");
  }
  s.set_text(33, 1, "$END$");
  s.set_text(1, 3, "$END$");
  b.save(path);
  TExcelShablon w;
  w.Open(path, true, false, 0);
  EXPECT_EQ(w.PartCount(), TExcelShablon::kMaxParts);
  EXPECT_EQ(t.ui.boxes.size(), 2u);  // one message per refused part
  EXPECT_EQ(w.FindPart("p31"), nullptr);
  EXPECT_NE(w.FindPart("p29"), nullptr);
}

}  // namespace
