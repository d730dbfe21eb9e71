// libFuzzer target: any bytes given to the .xlsx reader must give a book or an Error, and a
// book that opens must edit and save. Inputs starting with '<' are a worksheet part placed in
// an otherwise valid package, so that the XML reading is reached past the zip checks.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "sheet/book.h"
#include "sheet/zip_io.h"

using namespace hrdoc::sheet;

namespace {

std::string temp(const char* what) { return "/tmp/hrdoc-fuzz-" + std::to_string(::getpid()) + what; }

void exercise(Book& book) {
  auto& s = book.sheet(1);
  s.insert_rows(1, 1);
  s.copy_rows(2, 3, 5, true);
  s.delete_columns(1, 1);
  s.delete_rows(2, 2);
  static const std::string out = temp("-out.xlsx");
  book.save(out);
  Book again(out);
  std::remove(out.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    if (size > 0 && data[0] == '<') {
      static const std::string pkg = temp("-pkg.xlsx");
      {
        ZipWriter z(pkg);
        z.add("[Content_Types].xml",
              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>");
        z.add("xl/workbook.xml",
              "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
              "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
              "<sheet name=\"S\" sheetId=\"1\" r:id=\"a\"/></sheets>"
              "<definedNames><definedName name=\"N\">S!$A$1:$B$3</definedName></definedNames></workbook>");
        z.add("xl/_rels/workbook.xml.rels",
              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"a\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
              "worksheet\" Target=\"s.xml\"/></Relationships>");
        z.add("xl/s.xml", std::string(reinterpret_cast<const char*>(data), size));
        z.finish();
      }
      Book book(pkg);
      exercise(book);
    } else {
      Book book(data, size, "fuzz.xlsx");
      exercise(book);
    }
  } catch (const Error&) {
  }
  return 0;
}
