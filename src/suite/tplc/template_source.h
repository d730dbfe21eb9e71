#pragma once
// Report templates are kept as text that reads like the form it prints and compiled into the
// .xlsx the report opens. See templates/README.md for the format.

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace hrdoc::sheet {
class Book;
}

namespace hrdoc::tplc {

// A mistake in a template source: the file, the line, and where relevant the sheet and cell.
class TemplateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Style {
  bool bold = false, italic = false, underline = false;
  double size = 0;      // 0: the sheet's font size
  std::string font;     // empty: the sheet's font
  std::string halign;   // "left", "center", "right" or ""
  std::string valign;   // "top", "center", "bottom" or ""
  bool wrap = false;
  unsigned edges = 0;   // border mask (0x02 top, 0x04 bottom, 0x08 left, 0x10 right, 0x80 all)
  int weight = 2;       // thin 2, medium -4138, thick 4
  std::optional<unsigned> fill;  // 0x00BBGGRR
  std::string format;   // number format code
};

struct Cell {
  std::string text;               // as written: a number, "=formula", or text
  std::vector<std::string> styles;
  enum Kind { value, merge_left, merge_up } kind = value;
  int line = 0;
};

struct Row {
  std::vector<Cell> cells;
  double height = 0;  // 0: default
  bool page_break_before = false;
  int line = 0;
};

struct SheetSource {
  std::string name;
  bool landscape = false;
  bool fit_width = false;
  int paper = 9;  // A4
  double margins[4] = {0.7, 0.7, 0.75, 0.75};  // left, right, top, bottom (inches)
  std::string font = "Times New Roman";
  double font_size = 10;
  std::vector<double> widths;  // characters; < 0: default; 0: hidden
  std::map<std::string, Style> styles;
  std::vector<Row> rows;
  int print_title_first = 0, print_title_last = 0;
};

struct TemplateSource {
  std::string file;
  std::vector<SheetSource> sheets;
};

// Reads a template source; throws TemplateError naming the file and line.
TemplateSource parse_template(const std::string& text, const std::string& file);
// Builds the book of a parsed template; throws TemplateError naming the file, sheet and cell.
void build_book(const TemplateSource& source, sheet::Book& book);
// Reads a source file and writes the .xlsx.
void compile_template(const std::string& source_path, const std::string& xlsx_path);

}  // namespace hrdoc::tplc
