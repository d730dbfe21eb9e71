// An in-process .xlsx workbook with Excel's editing semantics. Rows, columns and sheet
// numbers are 1-based. Every operation that inserts or deletes cells moves merges, page
// breaks, defined names, conditional formats, validations and the references inside
// formulas, as Excel does; a saved book carries the results of the formulas it can compute
// and asks the application to recalculate on opening only when some are left.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sheet/error.h"
#include "sheet/ref.h"
#include "sheet/styles.h"

namespace hrdoc::sheet {

enum class ValueType : uint8_t { empty, number, text, boolean, error, formula };

// A cell value as callers see it. For a formula, `text` is the formula without "=";
// Sheet::result gives the value an office application last computed for it.
struct Value {
  ValueType type = ValueType::empty;
  double number = 0;
  std::string text;
  bool operator==(const Value&) const = default;
  static Value of(double v) { return {ValueType::number, v, {}}; }
  static Value of(std::string_view s) { return {ValueType::text, 0, std::string(s)}; }
  static Value formula(std::string_view f) { return {ValueType::formula, 0, std::string(f)}; }
};

// Where the cells next to an inserted or deleted block go (Excel's constants).
enum class Direction { up = -4162, down = -4121, left = -4131, right = -4152 };

// Border edges for set_borders, as a mask.
enum Edge : unsigned {
  edge_top = 0x02, edge_bottom = 0x04, edge_left = 0x08, edge_right = 0x10,
  edge_inside_vertical = 0x20, edge_inside_horizontal = 0x40, edge_all = 0x80
};

// Excel's alignment constants.
enum class HAlign { general = 1, left = -4131, center = -4108, right = -4152, fill = 5, justify = -4130,
                    center_across = 7, distributed = -4117 };
enum class VAlign { top = -4160, center = -4108, bottom = -4107, justify = -4130, distributed = -4117 };

struct PageSetup {
  std::string orientation;         // "portrait", "landscape" or "" (application default)
  int paper_size = 0;              // 9 = A4; 0 = unset
  int scale = 0;                   // percent; 0 = unset
  int fit_width = -1, fit_height = -1;  // pages; -1 = not fitting to pages
  double left = 0.7, right = 0.7, top = 0.75, bottom = 0.75, header = 0.3, footer = 0.3;  // inches
};

// One column of a sort: the sheet's column number and the direction.
struct SortKey {
  int column = 1;
  bool ascending = true;
};

struct DefinedName {
  std::string name;
  int sheet = 0;  // 0 = whole book, else the 1-based sheet it is local to
  std::string formula;
  bool hidden = false;
};

class Book;

class Sheet {
 public:
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  const std::string& name() const { return name_; }
  // 1-based position in the book.
  int index() const;
  Book& book() { return *book_; }
  const Book& book() const { return *book_; }

  // Last row and column holding a cell or a row with its own format (0 when empty).
  int last_row() const { return static_cast<int>(rows_.size()); }
  int last_column() const;

  // Cell values.
  Value value(int row, int col) const;
  // The value of a cell, for a formula the result last computed by an office application.
  Value result(int row, int col) const;
  // The text of a cell: strings as stored; numbers in shortest form.
  std::string text(int row, int col) const;
  void set_value(int row, int col, const Value& v);
  void set_number(int row, int col, double v) { set_value(row, col, Value::of(v)); }
  void set_text(int row, int col, std::string_view s) { set_value(row, col, Value::of(s)); }
  void set_formula(int row, int col, std::string_view f);
  void clear(const Range& r);  // values only; formats stay
  // A block of values, row by row.
  std::vector<std::vector<Value>> values(const Range& r) const;
  void set_values(int row, int col, const std::vector<std::vector<Value>>& block);

  // Copies a block (values, formats, merges; row heights when whole rows are copied) so that
  // its top-left lands at (row, col), possibly on another sheet of the same book. With
  // `insert`, room is made first by shifting cells down or right.
  // Whole rows are columns 1..max_columns (parse_range("5:7")); "A5:IV7" is a block.
  void copy(const Range& src, int row, int col, bool insert = false, Direction shift = Direction::down,
            Sheet* target = nullptr);
  // Copies whole rows first..last onto row `dest`, inserting rows first when `insert`.
  void copy_rows(int first, int last, int dest, bool insert = false);
  void copy_columns(int first, int last, int dest, bool insert = false);
  // Cuts a block and inserts it at (row, col), shifting the cells there down (right for whole
  // columns); the place it left closes up, and references to the cut cells follow them.
  void cut_insert(const Range& src, int row, int col);

  void insert_rows(int row, int count = 1);
  void delete_rows(int first, int last);
  void insert_columns(int col, int count = 1);
  void delete_columns(int first, int last);
  // Inserts empty cells in the block's place, moving the cells there down or right.
  void insert_cells(const Range& r, Direction shift);
  // Deletes a block, moving the cells below up or the cells to the right left.
  void delete_cells(const Range& r, Direction shift);

  void merge(const Range& r);
  // Removes every merge that intersects the block.
  void unmerge(const Range& r);
  // True when the block lies inside one merged area.
  bool is_merged(const Range& r) const;
  std::optional<Range> merge_area(int row, int col) const;
  const std::vector<Range>& merges() const { return merges_; }

  void hide_rows(int first, int last, bool hidden = true);
  void hide_columns(int first, int last, bool hidden = true);
  bool row_hidden(int row) const;
  bool column_hidden(int col) const;
  double row_height(int row) const;  // points
  void set_row_height(int row, double points);
  double column_width(int col) const;  // characters
  void set_column_width(int col, double chars);
  // Widths and heights estimated from the texts and fonts.
  void auto_fit_columns(int first, int last);
  void auto_fit_rows(int first, int last);

  // Formats of a block. Colours are 0x00BBGGRR values.
  void set_fill(const Range& r, std::optional<uint32_t> bgr);
  void set_fill_index(const Range& r, int colour_index);  // classic index, 3 = red
  std::optional<uint32_t> fill(int row, int col) const;
  // Edges per mask; weight as Excel's (1, 2, -4138, 4). Mask 0 removes all borders.
  void set_borders(const Range& r, unsigned edges, int weight = 2, uint32_t bgr = 0);
  Border border(int row, int col) const;
  void set_number_format(const Range& r, std::string_view code);
  std::string number_format(int row, int col) const;
  void set_horizontal_alignment(const Range& r, HAlign a);
  void set_vertical_alignment(const Range& r, VAlign a);
  void set_wrap(const Range& r, bool wrap);
  void set_font(const Range& r, std::string_view name, double size, bool bold, bool italic = false,
                bool underline = false);
  std::string alignment(int row, int col, std::string_view attr) const;
  uint32_t style(int row, int col) const;
  void set_style(int row, int col, uint32_t xf);

  // Manual page breaks: a row break before `row`, a column break before `col`.
  void add_row_break(int row);
  void add_column_break(int col);
  const std::vector<int>& row_breaks() const { return row_breaks_; }
  const std::vector<int>& column_breaks() const { return col_breaks_; }
  void delete_row_break(size_t index);     // 1-based index in row_breaks()
  void delete_column_break(size_t index);

  PageSetup& page_setup() { return page_; }
  const PageSetup& page_setup() const { return page_; }

  // Sorts the rows of a block by the values of one of its columns (numbers before texts,
  // blanks last; texts without regard to letter case).
  void sort(const Range& r, int key_col, bool ascending = true) { sort(r, std::vector<SortKey>{{key_col, ascending}}); }
  // Sorts by several columns: each next column orders the rows the columns before it tie on.
  void sort(const Range& r, const std::vector<SortKey>& by);

 private:
  friend class Book;
  friend struct XlsxReader;
  friend struct XlsxWriter;
  friend struct FormulaEvaluator;

  struct Cell {
    uint32_t col;
    uint32_t style;
    ValueType type;
    union {
      double number;
      uint32_t index;  // text/error: string id; formula: formula id
    };
  };
  struct Row {
    std::vector<Cell> cells;  // sorted by column
    uint32_t style = 0;
    float height = 0;  // 0 = default
    bool hidden = false, custom_format = false;
    uint8_t outline = 0;
  };
  struct Column {
    double width = 0;  // 0 = default
    uint32_t style = 0;
    bool hidden = false;
    uint8_t outline = 0;
  };
  // An element keyed by cell ranges that is kept verbatim otherwise (conditional formats,
  // data validations, hyperlinks).
  struct Ranged {
    int kind;  // 0 conditional formatting, 1 data validation, 2 hyperlink
    std::string xml;  // element with @@SQREF@@ in place of its ranges
    std::vector<Range> ranges;
  };
  // A copy of a block taken before the cells move.
  struct Clip;

  Sheet(Book* book, std::string name) : book_(book), name_(std::move(name)) {}

  const Cell* find(int row, int col) const;
  Cell& cell(int row, int col);  // creates the cell
  Row& row_at(int row);           // creates the row
  void erase_cells(const Range& r);
  void apply_shift(const Shift& s);  // moves everything of this sheet but the cells
  void shift_cells(const Shift& s);
  Clip take(const Range& r) const;
  void paste(const Clip& clip, int row, int col, bool translate = true);
  template <class F> void restyle(const Range& r, F derive);
  std::string value_text(const Cell& c) const;
  void check(int row, int col) const;
  void check(const Range& r) const;
  void add_merge(const Range& r);
  std::pair<size_t, size_t> merges_near(int r1, int r2) const;
  void forget(const Cell& c);  // the cell's formula, if any, is gone

  Book* book_;
  std::string name_;
  std::vector<Row> rows_;
  std::vector<Column> cols_;
  std::vector<Range> merges_;  // sorted by first row
  int merge_max_height_ = 1;
  std::vector<int> row_breaks_, col_breaks_;
  std::vector<Ranged> ranged_;
  PageSetup page_;
  size_t formula_cells_ = 0;
  double default_row_height_ = 15;
  double default_col_width_ = 8.43;
  // What the writer does not model, verbatim: (order in the worksheet schema, element).
  std::vector<std::pair<int, std::string>> kept_;
  std::string root_attrs_;   // namespace declarations of the worksheet element
  std::string rels_;         // the original relationships part, targets made absolute
  std::string page_extra_;   // pageSetup attributes not modelled (r:id and the like)
  std::string state_;        // "hidden", "veryHidden" or ""
  std::string sheet_pr_;     // sheetPr without pageSetUpPr, verbatim
};

class Book {
 public:
  // A new book with one empty sheet "Sheet1".
  Book();
  // Opens an .xlsx file; throws Error naming the file and part when it cannot be read.
  explicit Book(const std::string& path);
  // Opens an .xlsx held in memory; `name` is used in messages.
  Book(const void* data, size_t size, const std::string& name);
  ~Book();
  Book(const Book&) = delete;
  Book& operator=(const Book&) = delete;

  // Writes the book; throws Error when the file cannot be written.
  void save(const std::string& path);
  const std::string& path() const { return path_; }

  int sheet_count() const { return static_cast<int>(sheets_.size()); }
  Sheet& sheet(int index);  // 1-based
  Sheet& sheet(std::string_view name);
  Sheet* find_sheet(std::string_view name);
  const Sheet* find_sheet(std::string_view name) const;
  Sheet& active_sheet() { return sheet(active_); }
  void set_active_sheet(int index);

  // Adds an empty sheet at `position` (1-based; 0 or past the end appends).
  Sheet& add_sheet(std::string_view name, int position = 0);
  // Copies a sheet with its cells, formats, merges, breaks, page setup and local names;
  // the copy goes before (or, with `after`, after) sheet `position`. The name is derived
  // from the original as Excel does ("Name (2)") unless given.
  Sheet& copy_sheet(int index, int position, bool after = false, std::string_view name = {});
  // Moves sheet `index` before (or after) sheet `position`.
  void move_sheet(int index, int position, bool after = false);
  void rename_sheet(int index, std::string_view name);
  void delete_sheet(int index);

  const std::vector<DefinedName>& defined_names() const { return names_; }
  const DefinedName* defined_name(std::string_view name, int sheet = 0) const;
  void set_defined_name(std::string_view name, std::string_view formula, int sheet = 0);
  void remove_defined_name(std::string_view name, int sheet = 0);
  // Rows repeated at the top of every printed page of a sheet.
  void set_print_titles(int sheet, int first_row, int last_row);

  Styles& styles() { return styles_; }

  // Computes the formulas and keeps their results, which a saved book carries. False when some
  // are left without a result for the application to compute (see formula_eval.h).
  bool calculate();

 private:
  friend class Sheet;
  friend struct XlsxReader;
  friend struct XlsxWriter;
  friend struct FormulaEvaluator;
  struct Formula {
    uint32_t text;  // string id, without "="
    ValueType cached = ValueType::empty;
    double number = 0;
    uint32_t cached_text = 0;
    Sheet* sheet = nullptr;  // the sheet of its cell; nullptr once the cell lost it
    uint16_t array_rows = 0, array_cols = 0;  // an array formula's block, from its cell
    std::multimap<int, uint32_t>::iterator reach_pos;
  };

  uint32_t intern(std::string_view s);
  const std::string& str(uint32_t id) const { return strings_[id]; }
  // A text with formatted runs: never shared with plain texts of the same letters.
  uint32_t add_rich(std::string_view text, std::string runs);
  uint32_t add_formula(std::string_view text, Sheet* owner);
  void drop_formula(uint32_t id);
  void set_formula_text(uint32_t id, std::string_view text);
  // Live formulas whose references reach row `row` or further (all of them for 0).
  std::vector<uint32_t> formulas_reaching(int row) const;
  // Moves references of every formula, name and range that point into `sheet`.
  void on_shift(Sheet& sheet, const Shift& s);
  // Points references to a block of `sheet` at the block's new place.
  void on_move(Sheet& sheet, const Range& block, int drow, int dcol);
  std::string unique_copy_name(const std::string& base);
  void check_name(std::string_view name, const Sheet* self) const;
  // Whether a sheet other than `self` has the name (letter case aside); through an index built
  // on first use, so that a book of thousands of sheets adds each in constant time.
  bool name_taken(std::string_view name, const Sheet* self) const;
  void index_name(const std::string& name, bool add);
  void reindex_names(const std::vector<int>& new_index);  // old 1-based index -> new (0 = gone)

  std::string path_;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  mutable std::unordered_map<std::string, int> name_index_;  // folded sheet name -> sheets with it
  mutable bool names_indexed_ = false;
  std::unordered_map<std::string, int> next_copy_;  // folded stem -> the number its next copy tries
  int active_ = 1;
  std::deque<std::string> strings_;
  std::unordered_map<std::string_view, uint32_t> string_index_;
  std::unordered_map<uint32_t, std::string> rich_;  // string id -> the runs of a rich text
  std::vector<Formula> formulas_;
  // Live formulas by the last row their references reach. An insertion or deletion at a row
  // only has to look at the formulas reaching it, so appending near the end stays cheap.
  std::multimap<int, uint32_t> reach_;
  std::vector<DefinedName> names_;
  Styles styles_;
  // Parts copied unchanged from the opened file.
  std::vector<std::string> kept_parts_;
  std::unordered_map<std::string, std::string> content_types_;  // part -> content type override
  std::vector<std::pair<std::string, std::string>> default_types_;  // extension -> type
  std::vector<std::string> book_rels_;  // kept <Relationship> elements of the workbook, targets absolute
  std::vector<std::pair<int, std::string>> kept_;                   // workbook elements verbatim
  std::string root_attrs_;
  std::vector<std::pair<std::string, std::string>> view_attrs_;    // the first workbookView
  std::vector<std::string> root_rels_;  // kept <Relationship> elements of the package
  std::string source_;  // the bytes of the opened file, for copying kept parts
};

}  // namespace hrdoc::sheet
