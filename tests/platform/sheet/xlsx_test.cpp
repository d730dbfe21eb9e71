#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sheet/book.h"
#include "sheet/zip_io.h"
#include "support/work_dir.h"

using namespace hrdoc::sheet;
namespace fs = std::filesystem;

namespace {

class Xlsx : public ::testing::Test {
 protected:
  hrdoc::test::WorkDir work{"xlsx"};
  const fs::path dir = work.path();
};

const char* const content_types =
    R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/docProps/custom.xml" ContentType="application/vnd.openxmlformats-officedocument.custom-properties+xml"/>)"
    R"(</Types>)";
const char* const root_rels =
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/custom-properties" Target="docProps/custom.xml"/>)"
    R"(</Relationships>)";
const char* const book_rels =
    R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
    R"(</Relationships>)";
const char* const shared_strings =
    R"(<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<si><r><rPr><b/></rPr><t>Жирный</t></r><r><t xml:space="preserve"> и обычный</t></r></si><si><t>Жирный и обычный</t></si></sst>)";
const char* const workbook =
    R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)"
    R"(<sheet name="Данные" sheetId="7" r:id="rId1"/></sheets><definedNames>)"
    R"(<definedName name="_xlnm.Print_Titles" localSheetId="0">Данные!$1:$1</definedName>)"
    R"(<definedName name="Total">Данные!$B$5</definedName></definedNames></workbook>)";

// A hand-made package: shared formulas, an inline string, a conditional format, page setup.
std::string sheet_xml(const std::string& data) {
  return R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
         R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
         R"(<sheetPr><pageSetUpPr fitToPage="1"/></sheetPr><sheetData>)" +
         data +
         R"(</sheetData><mergeCells count="1"><mergeCell ref="A6:B6"/></mergeCells>)"
         R"(<conditionalFormatting sqref="B2:B4"><cfRule type="cellIs" dxfId="0" priority="1" operator="greaterThan"><formula>$A$2&gt;1</formula></cfRule></conditionalFormatting>)"
         R"(<pageMargins left="0.5" right="0.5" top="1" bottom="1" header="0.3" footer="0.3"/>)"
         R"(<pageSetup paperSize="9" orientation="landscape" fitToWidth="1" fitToHeight="0"/>)"
         R"(<rowBreaks count="1" manualBreakCount="1"><brk id="3" max="16383" man="1"/></rowBreaks></worksheet>)";
}

const char* const good_cells =
    R"(<row r="1"><c r="A1" t="inlineStr"><is><t>Заголовок</t></is></c></row>)"
    R"(<row r="2"><c r="A2"><v>1</v></c><c r="B2"><f t="shared" ref="B2:B4" si="0">A2*10</f><v>10</v></c></row>)"
    R"(<row r="3"><c r="A3"><v>2</v></c><c r="B3"><f t="shared" si="0"/><v>20</v></c></row>)"
    R"(<row r="4" ht="25" customHeight="1"><c r="A4"><v>3</v></c><c r="B4"><f t="shared" si="0"/><v>30</v></c></row>)"
    R"(<row r="5"><c r="B5"><f>SUM(B2:B4)</f><v>60</v></c><c r="C5" t="b"><v>1</v></c><c r="D5" t="e"><v>#DIV/0!</v></c></row>)"
    R"(<row r="7"><c r="A7" t="s"><v>0</v></c><c r="B7" t="s"><v>1</v></c></row>)"
    R"(<row r="8"><c r="A8"><f t="array" ref="A8:A9">A2:A3*2</f><v>2</v></c></row><row r="9"><c r="A9"><v>4</v></c></row>)";

std::string make_package(const fs::path& file, const std::string& cells, bool with_workbook = true) {
  ZipWriter z(file.string());
  z.add("[Content_Types].xml", content_types);
  z.add("_rels/.rels", root_rels);
  if (with_workbook) z.add("xl/workbook.xml", workbook);
  z.add("xl/_rels/workbook.xml.rels", book_rels);
  z.add("xl/worksheets/sheet1.xml", sheet_xml(cells));
  z.add("xl/sharedStrings.xml", shared_strings);
  z.add("docProps/custom.xml", R"(<?xml version="1.0"?><Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/custom-properties"/>)");
  z.finish();
  return file.string();
}

std::string error_of(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST_F(Xlsx, reads_shared_formulas_names_page_setup_and_kept_parts) {
  Book b(make_package(dir / "hand.xlsx", good_cells));
  Sheet& s = b.sheet(1);
  EXPECT_EQ(s.name(), "Данные");
  EXPECT_EQ(s.text(1, 1), "Заголовок");
  EXPECT_EQ(s.value(3, 2).text, "A3*10");
  EXPECT_EQ(s.value(4, 2).text, "A4*10");
  EXPECT_EQ(s.result(4, 2).number, 30);
  EXPECT_EQ(s.text(5, 3), "TRUE");
  EXPECT_EQ(s.value(5, 4).text, "#DIV/0!");
  EXPECT_EQ(s.text(7, 1), s.text(7, 2));  // rich runs read as their plain text
  EXPECT_EQ(s.text(7, 2), "Жирный и обычный");
  EXPECT_EQ(s.row_height(4), 25);
  EXPECT_EQ(s.page_setup().orientation, "landscape");
  EXPECT_EQ(s.page_setup().fit_width, 1);
  EXPECT_EQ(s.page_setup().fit_height, 0);
  EXPECT_EQ(s.page_setup().left, 0.5);
  EXPECT_EQ(s.row_breaks(), std::vector<int>{4});
  EXPECT_EQ(b.defined_name("Total")->formula, "Данные!$B$5");

  // Insert above the shared formulas: each copy moves, and so do names, merges, breaks.
  s.insert_rows(2, 2);
  EXPECT_EQ(s.value(5, 2).text, "A5*10");
  EXPECT_EQ(s.value(7, 2).text, "SUM(B4:B6)");
  EXPECT_EQ(b.defined_name("Total")->formula, "Данные!$B$7");
  EXPECT_EQ(b.defined_name("_xlnm.Print_Titles", 1)->formula, "Данные!$1:$1");
  EXPECT_EQ(s.merges()[0], (Range{8, 1, 8, 2}));
  EXPECT_EQ(s.row_breaks(), std::vector<int>{6});
  auto out = (dir / "hand-out.xlsx").string();
  b.save(out);

  Book again(out);
  Sheet& t = again.sheet(1);
  EXPECT_EQ(t.value(6, 2).text, "A6*10");
  EXPECT_EQ(t.merges(), s.merges());
  EXPECT_EQ(t.row_breaks(), std::vector<int>{6});
  EXPECT_EQ(t.page_setup().fit_width, 1);
  EXPECT_EQ(again.defined_name("Total")->formula, "Данные!$B$7");
  EXPECT_EQ(t.row_height(6), 25);
  ZipReader z(out);
  auto ws = z.read("xl/worksheets/sheet1.xml");
  ASSERT_TRUE(ws);
  EXPECT_NE(ws->find("<conditionalFormatting sqref=\"B4:B6\">"), std::string::npos);
  EXPECT_NE(ws->find("<formula>$A$4&gt;1</formula>"), std::string::npos);
  EXPECT_TRUE(z.read("docProps/custom.xml"));
  auto sst = z.read("xl/sharedStrings.xml");
  EXPECT_NE(sst->find("<si><r><rPr><b/></rPr><t>Жирный</t></r>"), std::string::npos);  // runs kept
  EXPECT_NE(sst->find("<si><t>Жирный и обычный</t></si>"), std::string::npos);
  EXPECT_NE(ws->find("<f t=\"array\" ref=\"A10:A11\">A4:A5*2</f>"), std::string::npos);
  EXPECT_NE(z.read("xl/workbook.xml")->find("fullCalcOnLoad=\"1\""), std::string::npos);
  EXPECT_NE(z.read("[Content_Types].xml")->find("/docProps/custom.xml"), std::string::npos);
}

TEST_F(Xlsx, written_book_reads_back_with_formats_and_sheets) {
  auto path = (dir / "own.xlsx").string();
  {
    Book b;
    Sheet& s = b.sheet(1);
    s.set_text(1, 1, "  пробелы и <теги> & \"кавычки\"\nвторая строка");
    s.set_text(1, 2, " ");
    s.set_number(2, 1, 0.1);
    s.set_number(3, 1, -1e300);
    s.set_fill(Range{2, 1, 2, 1}, 0x00FF00);
    s.set_borders(Range{2, 1, 3, 2}, edge_all, 4);
    s.set_number_format(Range{3, 1, 3, 1}, "0.000");
    s.hide_columns(3, 3);
    s.hide_rows(4, 4);
    s.set_column_width(2, 33.5);
    b.add_sheet("Второй").set_text(1, 1, "x");
    b.set_active_sheet(2);
    b.sheet(2).page_setup() = {.orientation = "landscape", .paper_size = 9, .scale = 80, .top = 0.4};
    b.sheet(2).add_column_break(3);
    b.save(path);
  }
  Book b(path);
  Sheet& s = b.sheet(1);
  EXPECT_EQ(s.text(1, 1), "  пробелы и <теги> & \"кавычки\"\nвторая строка");
  EXPECT_EQ(s.text(1, 2), " ");
  EXPECT_EQ(s.value(2, 1).number, 0.1);
  EXPECT_EQ(s.value(3, 1).number, -1e300);
  EXPECT_EQ(*s.fill(2, 1), 0x00FF00u);
  EXPECT_EQ(s.border(3, 2).bottom.style, "thick");
  EXPECT_EQ(s.number_format(3, 1), "0.000");
  EXPECT_TRUE(s.column_hidden(3));
  EXPECT_TRUE(s.row_hidden(4));
  EXPECT_EQ(s.column_width(2), 33.5);
  EXPECT_EQ(b.sheet_count(), 2);
  EXPECT_EQ(b.active_sheet().name(), "Второй");
  const PageSetup& p = b.sheet(2).page_setup();
  EXPECT_EQ(p.orientation, "landscape");
  EXPECT_EQ(p.paper_size, 9);
  EXPECT_EQ(p.scale, 80);
  EXPECT_EQ(p.top, 0.4);
  EXPECT_EQ(p.fit_width, -1);
  EXPECT_EQ(b.sheet(2).column_breaks(), std::vector<int>{3});
  // Only the active sheet is selected, or Excel would open the sheets grouped.
  ZipReader z(path);
  EXPECT_EQ(z.read("xl/worksheets/sheet1.xml")->find("tabSelected"), std::string::npos);
  EXPECT_NE(z.read("xl/worksheets/sheet2.xml")->find("tabSelected=\"1\""), std::string::npos);
}

TEST_F(Xlsx, bad_input_gives_one_clear_error) {
  std::ofstream(dir / "text.xlsx") << "this is not a zip file";
  const std::pair<std::string, std::string> cases[] = {
      {(dir / "text.xlsx").string(), "not a valid .xlsx"},
      {(dir / "none.xlsx").string(), "file not found"},
      {make_package(dir / "missing.xlsx", good_cells, false), "missing.xlsx, xl/workbook.xml: the part is missing"},
      {make_package(dir / "huge.xlsx", R"(<row r="99999999"><c r="A99999999"><v>1</v></c></row>)"),
       "row number 99999999 is outside the sheet"},
      {make_package(dir / "badxml.xlsx", R"(<row r="1"><c r="A1"><v>1</v></row>)"),
       "xl/worksheets/sheet1.xml: malformed XML"},
      {make_package(dir / "badref.xlsx", R"(<row r="1"><c r="A1" t="s"><v>5</v></c></row>)"),
       "A1 refers to a missing shared string"}};
  for (const auto& [file, expected] : cases) {
    auto msg = error_of([&] { Book b(file); });
    EXPECT_NE(msg.find(expected), std::string::npos) << file << ": " << msg;
  }
  // A truncated archive in memory.
  const std::string bytes = hrdoc::test::read_file(make_package(dir / "whole.xlsx", good_cells));
  EXPECT_NE(error_of([&] { Book b(bytes.data(), bytes.size() / 2, "half.xlsx"); }).find("half.xlsx"), std::string::npos);
  Book fine(bytes.data(), bytes.size(), "whole.xlsx");
  EXPECT_EQ(fine.sheet(1).text(1, 1), "Заголовок");
  // A failed save leaves no file behind.
  EXPECT_THROW(fine.save((dir / "no-such-dir" / "x.xlsx").string()), Error);
  EXPECT_FALSE(fs::exists(dir / "no-such-dir"));
}
