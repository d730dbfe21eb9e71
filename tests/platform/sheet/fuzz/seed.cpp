// Writes the seed corpus of the .xlsx reader fuzzer into the folder given.
#include <fstream>
#include <string>

#include "sheet/book.h"

using namespace hrdoc::sheet;

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string dir = argv[1];
  {
    Book b;
    b.sheet(1).set_text(1, 1, "Тест");
    b.sheet(1).set_number(2, 1, 42);
    b.save(dir + "/plain.xlsx");
  }
  {
    Book b;
    Sheet& s = b.sheet(1);
    s.set_text(1, 1, "Заголовок");
    s.merge(Range{1, 1, 1, 3});
    s.set_formula(2, 2, "SUM(A1:A3)+Other!B2");
    s.set_borders(Range{1, 1, 3, 3}, edge_all, 2, 0);
    s.set_fill_index(Range{2, 2, 2, 2}, 3);
    s.add_row_break(3);
    s.hide_columns(4, 4);
    b.add_sheet("Other").set_value(2, 2, Value{ValueType::boolean, 1, {}});
    b.set_print_titles(1, 1, 1);
    b.save(dir + "/formats.xlsx");
  }
  std::ofstream(dir + "/sheet.xml")
      << "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
         "<row r=\"1\" ht=\"20\" customHeight=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>x</t></is></c>"
         "<c r=\"B1\"><f t=\"shared\" ref=\"B1:B3\" si=\"0\">A1*2</f><v>1</v></c></row>"
         "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" si=\"0\"/></c><c r=\"C2\" t=\"b\"><v>1</v></c></row>"
         "</sheetData><mergeCells><mergeCell ref=\"A3:C4\"/></mergeCells>"
         "<conditionalFormatting sqref=\"A1:A9 C3\"><cfRule type=\"expression\"><formula>A1&gt;0</formula></cfRule>"
         "</conditionalFormatting><rowBreaks><brk id=\"2\" man=\"1\"/></rowBreaks>"
         "<cols><col min=\"1\" max=\"3\" width=\"12\" customWidth=\"1\"/></cols></worksheet>";
  return 0;
}
