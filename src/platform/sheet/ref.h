// Cell coordinates, A1 references and the rewriting of references inside formulas.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hrdoc::sheet {

inline constexpr int max_rows = 1048576;
inline constexpr int max_columns = 16384;

// A rectangular block, 1-based and inclusive.
struct Range {
  int row1 = 1, col1 = 1, row2 = 1, col2 = 1;
  int rows() const { return row2 - row1 + 1; }
  int columns() const { return col2 - col1 + 1; }
  bool contains(int r, int c) const { return r >= row1 && r <= row2 && c >= col1 && c <= col2; }
  bool intersects(const Range& o) const {
    return row1 <= o.row2 && o.row1 <= row2 && col1 <= o.col2 && o.col1 <= col2;
  }
  bool inside(const Range& o) const {
    return row1 >= o.row1 && row2 <= o.row2 && col1 >= o.col1 && col2 <= o.col2;
  }
  bool operator==(const Range&) const = default;
};

// Column letters of a 1-based column: 1 = "A", 27 = "AA".
std::string column_name(int col);
// "B7" for row 7, column 2.
std::string cell_name(int row, int col);
// "A1:C3", or "A1" for a single cell.
std::string range_name(const Range& r);
// Parses "A1", "$A$1:B2", "A:C" (whole columns) or "3:5" (whole rows); nullopt when malformed.
std::optional<Range> parse_range(std::string_view text);

// One structural change of a sheet, applied to every reference that points into it.
struct Shift {
  bool rows = true;    // rows move (insert/delete rows or shift up/down); else columns
  int at = 1;          // first row (column) inserted or deleted
  int count = 0;       // > 0 inserted, < 0 deleted
  int band1 = 1;       // the moving cells lie in these columns (rows) only
  int band2 = max_columns;
  bool whole() const { return band1 <= 1 && band2 >= (rows ? max_columns : max_rows); }
};

// Maps a range through a shift. nullopt when the range is deleted entirely.
std::optional<Range> shift_range(const Range& r, const Shift& s);

// Rewrites the references of a formula (text without the leading "=") that point at sheet
// `target` after `shift`. `own` is the sheet the formula belongs to; unprefixed references
// point there. References whose cells are deleted become #REF!.
std::string shift_formula(std::string_view formula, std::string_view own, std::string_view target,
                          const Shift& shift);

// Moves the relative parts of every reference by (drow, dcol), as pasting a copied formula does.
std::string translate_formula(std::string_view formula, int drow, int dcol);

// Moves references that lie wholly inside `block` of sheet `target` by (drow, dcol), absolute
// parts included, as moving cut cells does.
std::string move_formula(std::string_view formula, std::string_view own, std::string_view target,
                         const Range& block, int drow, int dcol);

// Replaces the sheet name `from` with `to` in prefixed references; an empty `to` turns
// references into that sheet into #REF!.
std::string rename_in_formula(std::string_view formula, std::string_view from, std::string_view to);

// The last row any reference of the formula reaches (max_rows for whole columns), 0 if none.
int formula_reach(std::string_view formula);

// The sheet prefix for a reference: Sheet1! or 'My sheet'!.
std::string sheet_prefix(std::string_view name);

// Lower-cases ASCII and Cyrillic letters of a UTF-8 text.
std::string fold_case(std::string_view text);

// Case-insensitive comparison of sheet names (ASCII and Cyrillic letters).
bool same_name(std::string_view a, std::string_view b);

}  // namespace hrdoc::sheet
