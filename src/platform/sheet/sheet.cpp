#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <unordered_map>

#include "sheet/book.h"

namespace hrdoc::sheet {

struct Sheet::Clip {
  Range src;
  std::vector<std::vector<Cell>> cells;  // per source row
  std::vector<std::string> formulas;     // formula texts as they were when taken
  std::vector<std::pair<uint16_t, uint16_t>> arrays;  // their array blocks
  std::vector<Range> merges;             // inside the block, absolute source coordinates
  std::vector<Row> row_meta;             // heights and formats of whole rows (cells empty)
  std::vector<Column> col_meta;
  bool whole_rows = false, whole_cols = false;
};

namespace {

bool whole_rows(const Range& r) { return r.col1 <= 1 && r.col2 >= max_columns; }
bool whole_cols(const Range& r) { return r.row1 <= 1 && r.row2 >= max_rows; }

std::string number_text(double v) {
  if (v == std::floor(v) && std::fabs(v) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", v);
    return buf;
  }
  char buf[32];
  for (int prec = 10; prec <= 17; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*g", prec, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  return buf;
}

// Code points of a UTF-8 text (for width estimates).
size_t glyphs(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

int Sheet::index() const {
  for (int i = 0; i < book_->sheet_count(); ++i) {
    if (book_->sheets_[i].get() == this) return i + 1;
  }
  return 0;
}

void Sheet::check(int row, int col) const {
  if (row < 1 || row > max_rows || col < 1 || col > max_columns) {
    throw Error(book_->path_, "sheet '" + name_ + "'",
                "cell row " + std::to_string(row) + ", column " + std::to_string(col) + " is outside the sheet");
  }
}

void Sheet::check(const Range& r) const {
  check(r.row1, r.col1);
  check(r.row2, r.col2);
  if (r.row1 > r.row2 || r.col1 > r.col2) {
    throw Error(book_->path_, "sheet '" + name_ + "'", "reversed block " + range_name(r));
  }
}

int Sheet::last_column() const {
  int m = 0;
  for (auto& r : rows_) {
    if (!r.cells.empty()) m = std::max<int>(m, r.cells.back().col);
  }
  return m;
}

const Sheet::Cell* Sheet::find(int row, int col) const {
  if (row < 1 || row > static_cast<int>(rows_.size())) return nullptr;
  auto& cells = rows_[row - 1].cells;
  auto it = std::lower_bound(cells.begin(), cells.end(), static_cast<uint32_t>(col),
                             [](const Cell& c, uint32_t v) { return c.col < v; });
  return (it != cells.end() && it->col == static_cast<uint32_t>(col)) ? &*it : nullptr;
}

Sheet::Row& Sheet::row_at(int row) {
  if (row > static_cast<int>(rows_.size())) rows_.resize(row);
  return rows_[row - 1];
}

Sheet::Cell& Sheet::cell(int row, int col) {
  check(row, col);
  Row& r = row_at(row);
  auto& cells = r.cells;
  if (cells.empty() || cells.back().col < static_cast<uint32_t>(col)) {
    uint32_t st = r.custom_format ? r.style : (col <= static_cast<int>(cols_.size()) ? cols_[col - 1].style : 0);
    Cell c{};
    c.col = col, c.style = st, c.type = ValueType::empty, c.number = 0;
    cells.push_back(c);
    return cells.back();
  }
  auto it = std::lower_bound(cells.begin(), cells.end(), static_cast<uint32_t>(col),
                             [](const Cell& c, uint32_t v) { return c.col < v; });
  if (it != cells.end() && it->col == static_cast<uint32_t>(col)) return *it;
  uint32_t st = r.custom_format ? r.style : (col <= static_cast<int>(cols_.size()) ? cols_[col - 1].style : 0);
  Cell c{};
  c.col = col, c.style = st, c.type = ValueType::empty, c.number = 0;
  return *cells.insert(it, c);
}

Value Sheet::value(int row, int col) const {
  const Cell* c = find(row, col);
  Value v;
  if (!c) return v;
  v.type = c->type;
  switch (c->type) {
    case ValueType::number:
    case ValueType::boolean: v.number = c->number; break;
    case ValueType::text:
    case ValueType::error: v.text = book_->str(c->index); break;
    case ValueType::formula: {
      // The formula only; result() gives what it computes to.
      v.text = book_->str(book_->formulas_[c->index].text);
      break;
    }
    default: break;
  }
  return v;
}

Value Sheet::result(int row, int col) const {
  const Cell* c = find(row, col);
  if (!c || c->type != ValueType::formula) return value(row, col);
  auto& f = book_->formulas_[c->index];
  Value v;
  v.type = f.cached;
  if (f.cached == ValueType::text || f.cached == ValueType::error) v.text = book_->str(f.cached_text);
  else v.number = f.number;
  return v;
}

std::string Sheet::value_text(const Cell& c) const {
  switch (c.type) {
    case ValueType::number: return number_text(c.number);
    case ValueType::boolean: return c.number != 0 ? "TRUE" : "FALSE";
    case ValueType::text:
    case ValueType::error: return book_->str(c.index);
    case ValueType::formula: {
      auto& f = book_->formulas_[c.index];
      if (f.cached == ValueType::text || f.cached == ValueType::error) return book_->str(f.cached_text);
      if (f.cached == ValueType::number) return number_text(f.number);
      if (f.cached == ValueType::boolean) return f.number != 0 ? "TRUE" : "FALSE";
      return {};
    }
    default: return {};
  }
}

std::string Sheet::text(int row, int col) const {
  const Cell* c = find(row, col);
  return c ? value_text(*c) : std::string();
}

void Sheet::set_value(int row, int col, const Value& v) {
  if (v.type == ValueType::formula) {
    set_formula(row, col, v.text);
    return;
  }
  if ((v.type == ValueType::text || v.type == ValueType::error) && glyphs(v.text) > 32767) {
    throw Error(book_->path_, "sheet '" + name_ + "', cell " + cell_name(row, col),
                "a text longer than 32767 characters does not fit in a cell");
  }
  Cell& c = cell(row, col);
  forget(c);
  c.type = v.type;
  switch (v.type) {
    case ValueType::number: c.number = v.number; break;
    case ValueType::boolean: c.number = v.number != 0 ? 1 : 0; break;
    case ValueType::text:
    case ValueType::error: c.index = book_->intern(v.text); break;
    default: c.number = 0; break;
  }
}

void Sheet::set_formula(int row, int col, std::string_view f) {
  if (!f.empty() && f[0] == '=') f.remove_prefix(1);
  uint32_t id = book_->add_formula(f, this);
  Cell& c = cell(row, col);
  forget(c);
  ++formula_cells_;
  c.type = ValueType::formula;
  c.index = id;
}

void Sheet::clear(const Range& r) {
  check(r);
  int last = std::min(r.row2, last_row());
  for (int row = r.row1; row <= last; ++row) {
    for (auto& c : rows_[row - 1].cells) {
      if (c.col < static_cast<uint32_t>(r.col1) || c.col > static_cast<uint32_t>(r.col2)) continue;
      forget(c);
      c.type = ValueType::empty;
      c.number = 0;
    }
  }
}

std::vector<std::vector<Value>> Sheet::values(const Range& r) const {
  check(r);
  std::vector<std::vector<Value>> out(r.rows(), std::vector<Value>(r.columns()));
  for (int i = 0; i < r.rows(); ++i) {
    for (int j = 0; j < r.columns(); ++j) out[i][j] = value(r.row1 + i, r.col1 + j);
  }
  return out;
}

void Sheet::set_values(int row, int col, const std::vector<std::vector<Value>>& block) {
  for (size_t i = 0; i < block.size(); ++i) {
    for (size_t j = 0; j < block[i].size(); ++j) set_value(row + static_cast<int>(i), col + static_cast<int>(j), block[i][j]);
  }
}

void Sheet::erase_cells(const Range& r) {
  int last = std::min(r.row2, last_row());
  for (int row = r.row1; row <= last; ++row) {
    auto& cells = rows_[row - 1].cells;
    auto b = std::lower_bound(cells.begin(), cells.end(), static_cast<uint32_t>(r.col1),
                              [](const Cell& c, uint32_t v) { return c.col < v; });
    auto e = std::upper_bound(b, cells.end(), static_cast<uint32_t>(r.col2),
                              [](uint32_t v, const Cell& c) { return v < c.col; });
    for (auto it = b; it != e; ++it) forget(*it);
    cells.erase(b, e);
  }
}

// Moves the cells themselves; everything else follows in apply_shift.
void Sheet::shift_cells(const Shift& s) {
  if (s.rows && s.whole()) {
    int at = s.at;
    if (s.count > 0) {
      if (at <= last_row()) {
        if (last_row() + s.count > max_rows) {
          throw Error(book_->path_, "sheet '" + name_ + "'", "inserting rows would push cells off the sheet");
        }
        rows_.insert(rows_.begin() + (at - 1), s.count, Row{});
      }
    } else {
      int last = std::min(at - s.count - 1, last_row());
      if (at <= last) {
        for (int r = at; r <= last; ++r) {
          for (auto& c : rows_[r - 1].cells) forget(c);
        }
        rows_.erase(rows_.begin() + (at - 1), rows_.begin() + last);
      }
    }
    return;
  }
  if (s.rows) {
    // Cells of columns band1..band2 move up or down.
    Range band{1, s.band1, 1, s.band2};
    auto extract = [&](int row) {
      std::vector<Cell> out;
      if (row > last_row()) return out;
      auto& cells = rows_[row - 1].cells;
      auto b = std::lower_bound(cells.begin(), cells.end(), static_cast<uint32_t>(band.col1),
                                [](const Cell& c, uint32_t v) { return c.col < v; });
      auto e = std::upper_bound(b, cells.end(), static_cast<uint32_t>(band.col2),
                                [](uint32_t v, const Cell& c) { return v < c.col; });
      out.assign(b, e);
      cells.erase(b, e);
      return out;
    };
    auto put = [&](int row, std::vector<Cell>&& moved) {
      if (moved.empty()) return;
      auto& cells = row_at(row).cells;
      auto pos = std::lower_bound(cells.begin(), cells.end(), moved.front().col,
                                  [](const Cell& c, uint32_t v) { return c.col < v; });
      cells.insert(pos, moved.begin(), moved.end());
    };
    int last = last_row();
    if (s.count > 0) {
      for (int r = last; r >= s.at; --r) {
        auto moved = extract(r);
        if (!moved.empty() && r + s.count > max_rows) {
          throw Error(book_->path_, "sheet '" + name_ + "'", "inserting cells would push cells off the sheet");
        }
        put(r + s.count, std::move(moved));
      }
    } else {
      int m = -s.count;
      for (int r = s.at; r < s.at + m && r <= last; ++r) {
        for (auto& c : extract(r)) forget(c);
      }
      for (int r = s.at + m; r <= last; ++r) put(r - m, extract(r));
    }
    while (!rows_.empty() && rows_.back().cells.empty() && rows_.back().height == 0 && !rows_.back().hidden &&
           !rows_.back().custom_format) {
      rows_.pop_back();
    }
    return;
  }
  // Columns move: within rows band1..band2, or all rows.
  int r1 = std::max(1, s.band1), r2 = std::min(last_row(), s.band2);
  for (int r = r1; r <= r2; ++r) {
    auto& cells = rows_[r - 1].cells;
    if (s.count > 0) {
      for (auto& c : cells) {
        if (c.col >= static_cast<uint32_t>(s.at)) {
          c.col += s.count;
          if (c.col > static_cast<uint32_t>(max_columns)) {
            throw Error(book_->path_, "sheet '" + name_ + "'", "inserting columns would push cells off the sheet");
          }
        }
      }
    } else {
      uint32_t at = s.at, end = s.at - s.count;  // deleted: [at, end)
      std::vector<Cell> kept;
      kept.reserve(cells.size());
      for (auto& c : cells) {
        if (c.col < at) kept.push_back(c);
        else if (c.col >= end) kept.push_back(c), kept.back().col -= (end - at);
        else forget(c);
      }
      cells.swap(kept);
    }
  }
  if (s.whole()) {
    if (s.count > 0 && s.at <= static_cast<int>(cols_.size())) {
      cols_.insert(cols_.begin() + (s.at - 1), s.count, Column{});
    } else if (s.count < 0 && s.at <= static_cast<int>(cols_.size())) {
      int end = std::min<int>(cols_.size(), s.at - s.count - 1);
      cols_.erase(cols_.begin() + (s.at - 1), cols_.begin() + end);
    }
    if (cols_.size() > static_cast<size_t>(max_columns)) cols_.resize(max_columns);
  }
}

void Sheet::apply_shift(const Shift& s) {
  // Merges: with row shifts only those near or below the change can move.
  size_t from = 0;
  if (s.rows) {
    int lo = s.at - merge_max_height_ + 1;
    from = std::lower_bound(merges_.begin(), merges_.end(), lo, [](const Range& m, int v) { return m.row1 < v; }) -
           merges_.begin();
  }
  bool resort = !s.rows || !s.whole();
  size_t out = from;
  for (size_t i = from; i < merges_.size(); ++i) {
    auto m = shift_range(merges_[i], s);
    if (m && (m->rows() > 1 || m->columns() > 1)) merges_[out++] = *m;
  }
  merges_.resize(out);
  if (resort) std::stable_sort(merges_.begin(), merges_.end(), [](const Range& a, const Range& b) { return a.row1 < b.row1; });
  if (s.whole()) {
    // Breaks are sorted: only those at or past the change move.
    auto& breaks = s.rows ? row_breaks_ : col_breaks_;
    auto from_it = std::lower_bound(breaks.begin(), breaks.end(), s.at);
    if (s.count < 0) {
      from_it = breaks.erase(from_it, std::lower_bound(from_it, breaks.end(), s.at - s.count));
    }
    for (auto it = from_it; it != breaks.end(); ++it) *it += s.count;
    int limit = s.rows ? max_rows : max_columns;
    while (!breaks.empty() && breaks.back() > limit) breaks.pop_back();
    // A break before the first row (column) breaks nothing.
    while (!breaks.empty() && breaks.front() <= 1) breaks.erase(breaks.begin());
  }
  for (auto it = ranged_.begin(); it != ranged_.end();) {
    std::vector<Range> kept;
    for (auto& r : it->ranges) {
      if (auto m = shift_range(r, s)) kept.push_back(*m);
    }
    it->ranges.swap(kept);
    if (it->ranges.empty()) {
      it = ranged_.erase(it);
      continue;
    }
    // The formulas of rules and validations point at cells too.
    for (const char* tag : {"formula", "formula1", "formula2"}) {
      std::string open = std::string("<") + tag + ">", close = std::string("</") + tag + ">";
      for (size_t p = it->xml.find(open); p != std::string::npos; p = it->xml.find(open, p + 1)) {
        size_t b = p + open.size(), e = it->xml.find(close, b);
        if (e == std::string::npos) break;
        std::string moved = shift_formula(std::string_view(it->xml).substr(b, e - b), name_, name_, s);
        it->xml.replace(b, e - b, moved);
      }
    }
    ++it;
  }
}

void Sheet::insert_rows(int row, int count) {
  check(row, 1);
  if (count <= 0) return;
  Shift s{true, row, count};
  shift_cells(s);
  book_->on_shift(*this, s);
}

void Sheet::delete_rows(int first, int last) {
  check(Range{first, 1, last, 1});
  Shift s{true, first, -(last - first + 1)};
  shift_cells(s);
  book_->on_shift(*this, s);
}

void Sheet::insert_columns(int col, int count) {
  check(1, col);
  if (count <= 0) return;
  Shift s{false, col, count, 1, max_rows};
  shift_cells(s);
  book_->on_shift(*this, s);
}

void Sheet::delete_columns(int first, int last) {
  check(Range{1, first, 1, last});
  Shift s{false, first, -(last - first + 1), 1, max_rows};
  shift_cells(s);
  book_->on_shift(*this, s);
}

void Sheet::insert_cells(const Range& r, Direction dir) {
  check(r);
  if (dir == Direction::down || dir == Direction::up) {
    if (whole_rows(r)) return insert_rows(r.row1, r.rows());
    Shift s{true, r.row1, r.rows(), r.col1, r.col2};
    shift_cells(s);
    book_->on_shift(*this, s);
  } else {
    if (whole_cols(r)) return insert_columns(r.col1, r.columns());
    Shift s{false, r.col1, r.columns(), r.row1, r.row2};
    shift_cells(s);
    book_->on_shift(*this, s);
  }
}

void Sheet::delete_cells(const Range& r, Direction dir) {
  check(r);
  if (dir == Direction::up || dir == Direction::down) {
    if (whole_rows(r)) return delete_rows(r.row1, r.row2);
    Shift s{true, r.row1, -r.rows(), r.col1, r.col2};
    shift_cells(s);
    book_->on_shift(*this, s);
  } else {
    if (whole_cols(r)) return delete_columns(r.col1, r.col2);
    Shift s{false, r.col1, -r.columns(), r.row1, r.row2};
    shift_cells(s);
    book_->on_shift(*this, s);
  }
}

Sheet::Clip Sheet::take(const Range& src) const {
  Clip c;
  c.src = src;
  c.whole_rows = whole_rows(src);
  c.whole_cols = whole_cols(src);
  int last = std::min(src.row2, last_row());
  c.cells.resize(std::max(0, last - src.row1 + 1));
  for (int r = src.row1; r <= last; ++r) {
    const Row& row = rows_[r - 1];
    auto& dst = c.cells[r - src.row1];
    for (auto& cell : row.cells) {
      if (cell.col < static_cast<uint32_t>(src.col1) || cell.col > static_cast<uint32_t>(src.col2)) continue;
      dst.push_back(cell);
      // The source may move before the paste; its formulas are taken as they read now.
      if (cell.type == ValueType::formula) {
        auto& f = book_->formulas_[cell.index];
        c.formulas.push_back(book_->str(f.text));
        c.arrays.emplace_back(f.array_rows, f.array_cols);
        dst.back().index = static_cast<uint32_t>(c.formulas.size() - 1);
      }
    }
    if (c.whole_rows) {
      Row meta = row;
      meta.cells.clear();
      c.row_meta.push_back(std::move(meta));
    }
  }
  if (c.whole_cols) {
    for (int k = src.col1; k <= std::min<int>(src.col2, cols_.size()); ++k) c.col_meta.push_back(cols_[k - 1]);
  }
  size_t from = std::lower_bound(merges_.begin(), merges_.end(), src.row1, [](const Range& m, int v) { return m.row1 < v; }) -
                merges_.begin();
  for (size_t i = from; i < merges_.size() && merges_[i].row1 <= src.row2; ++i) {
    if (merges_[i].inside(src)) c.merges.push_back(merges_[i]);
  }
  return c;
}

void Sheet::paste(const Clip& clip, int row, int col, bool translate) {
  Range dest{row, col, row + clip.src.rows() - 1, col + clip.src.columns() - 1};
  if (clip.whole_rows) dest.col1 = 1, dest.col2 = max_columns, col = 1;
  if (clip.whole_cols) dest.row1 = 1, dest.row2 = max_rows, row = 1;
  check(dest);
  unmerge(dest);
  erase_cells(dest);
  int dr = row - clip.src.row1, dc = col - clip.src.col1;
  for (size_t i = 0; i < clip.cells.size(); ++i) {
    auto& src_cells = clip.cells[i];
    int r = clip.src.row1 + static_cast<int>(i) + dr;
    if (src_cells.empty()) continue;
    Row& target = row_at(r);
    auto& cells = target.cells;
    uint32_t first = src_cells.front().col + dc;
    auto pos = std::lower_bound(cells.begin(), cells.end(), first, [](const Cell& c, uint32_t v) { return c.col < v; });
    size_t at = pos - cells.begin();
    cells.insert(pos, src_cells.begin(), src_cells.end());
    for (size_t k = at; k < at + src_cells.size(); ++k) {
      Cell& c = cells[k];
      c.col += dc;
      if (c.type == ValueType::formula) {
        size_t k = c.index;
        c.index = book_->add_formula(translate ? translate_formula(clip.formulas[k], dr, dc) : clip.formulas[k], this);
        book_->formulas_[c.index].array_rows = clip.arrays[k].first;
        book_->formulas_[c.index].array_cols = clip.arrays[k].second;
        ++formula_cells_;
      }
    }
  }
  if (clip.whole_rows) {
    for (size_t i = 0; i < clip.row_meta.size(); ++i) {
      Row& target = row_at(row + static_cast<int>(i));
      const Row& m = clip.row_meta[i];
      target.height = m.height, target.hidden = m.hidden, target.style = m.style;
      target.custom_format = m.custom_format, target.outline = m.outline;
    }
  }
  if (clip.whole_cols) {
    for (size_t i = 0; i < clip.col_meta.size(); ++i) {
      int k = col + static_cast<int>(i);
      if (k > static_cast<int>(cols_.size())) cols_.resize(k);
      cols_[k - 1] = clip.col_meta[i];
    }
  }
  for (auto m : clip.merges) {
    m.row1 += dr, m.row2 += dr, m.col1 += dc, m.col2 += dc;
    add_merge(m);
  }
}

void Sheet::copy(const Range& src, int row, int col, bool insert, Direction shift, Sheet* target) {
  check(src);
  Sheet& t = target ? *target : *this;
  if (&t.book() != book_) throw Error(book_->path_, "sheet '" + name_ + "'", "cannot copy cells into another book");
  Clip clip = take(src);
  // A manual break before a copied whole row goes with it, as Excel keeps it with the row: a
  // part that starts a page starts one in every copy.
  std::vector<int> carried;
  if (clip.whole_rows)
    for (int b : row_breaks_)
      if (b >= src.row1 && b <= src.row2) carried.push_back(b - src.row1);
  if (insert) {
    Range room{row, col, row + src.rows() - 1, col + src.columns() - 1};
    if (clip.whole_rows) room.col1 = 1, room.col2 = max_columns;
    if (clip.whole_cols) room.row1 = 1, room.row2 = max_rows;
    t.insert_cells(room, shift);
  }
  t.paste(clip, row, col);
  for (int offset : carried)
    if (row + offset <= max_rows) t.add_row_break(row + offset);
}

void Sheet::copy_rows(int first, int last, int dest, bool insert) {
  copy(Range{first, 1, last, max_columns}, dest, 1, insert, Direction::down);
}

void Sheet::copy_columns(int first, int last, int dest, bool insert) {
  copy(Range{1, first, max_rows, last}, 1, dest, insert, Direction::right);
}

void Sheet::cut_insert(const Range& src, int row, int col) {
  check(src);
  bool rows = !whole_cols(src);
  Direction back = rows ? Direction::up : Direction::left;
  Direction fwd = rows ? Direction::down : Direction::right;
  // Make room first; the block itself moves if it lies past the insertion.
  Range room{row, col, row + src.rows() - 1, col + src.columns() - 1};
  if (whole_rows(src)) room.col1 = 1, room.col2 = max_columns;
  if (whole_cols(src)) room.row1 = 1, room.row2 = max_rows;
  insert_cells(room, fwd);
  Range moved = src;
  if (rows && room.col1 <= src.col1 && room.col2 >= src.col2 && src.row1 >= row) moved.row1 += src.rows(), moved.row2 += src.rows();
  if (!rows && room.row1 <= src.row1 && room.row2 >= src.row2 && src.col1 >= col) moved.col1 += src.columns(), moved.col2 += src.columns();
  // References to the cut cells follow them, then the cells go and their place closes up.
  book_->on_move(*this, moved, row - moved.row1, col - moved.col1);
  Clip clip = take(moved);
  paste(clip, row, col, false);
  unmerge(moved);
  delete_cells(moved, back);
}

void Sheet::forget(const Cell& c) {
  if (c.type != ValueType::formula) return;
  book_->drop_formula(c.index);
  --formula_cells_;
}

void Sheet::add_merge(const Range& r) {
  auto pos = std::upper_bound(merges_.begin(), merges_.end(), r.row1, [](int v, const Range& m) { return v < m.row1; });
  merges_.insert(pos, r);
  merge_max_height_ = std::max(merge_max_height_, r.rows());
}

void Sheet::merge(const Range& r) {
  check(r);
  if (r.rows() == 1 && r.columns() == 1) return;
  unmerge(r);
  // Only the top-left value survives, as in Excel.
  int last = std::min(r.row2, last_row());
  for (int row = r.row1; row <= last; ++row) {
    for (auto& c : rows_[row - 1].cells) {
      if (!r.contains(row, c.col) || (row == r.row1 && c.col == static_cast<uint32_t>(r.col1))) continue;
      forget(c);
      c.type = ValueType::empty;
      c.number = 0;
    }
  }
  add_merge(r);
}

// The merges that may touch rows r1..r2: those starting at most one merge height above.
std::pair<size_t, size_t> Sheet::merges_near(int r1, int r2) const {
  auto lo = std::lower_bound(merges_.begin(), merges_.end(), r1 - merge_max_height_ + 1,
                             [](const Range& m, int v) { return m.row1 < v; });
  auto hi = std::upper_bound(lo, merges_.end(), r2, [](int v, const Range& m) { return v < m.row1; });
  return {static_cast<size_t>(lo - merges_.begin()), static_cast<size_t>(hi - merges_.begin())};
}

void Sheet::unmerge(const Range& r) {
  auto [lo, hi] = merges_near(r.row1, r.row2);
  merges_.erase(std::remove_if(merges_.begin() + lo, merges_.begin() + hi, [&](const Range& m) { return m.intersects(r); }),
                merges_.begin() + hi);
}

bool Sheet::is_merged(const Range& r) const {
  auto [lo, hi] = merges_near(r.row1, r.row2);
  for (size_t i = lo; i < hi; ++i) {
    if (r.inside(merges_[i])) return true;
  }
  return false;
}

std::optional<Range> Sheet::merge_area(int row, int col) const {
  auto [lo, hi] = merges_near(row, row);
  for (size_t i = lo; i < hi; ++i) {
    if (merges_[i].contains(row, col)) return merges_[i];
  }
  return std::nullopt;
}

void Sheet::hide_rows(int first, int last, bool hidden) {
  check(Range{first, 1, last, 1});
  for (int r = first; r <= last; ++r) row_at(r).hidden = hidden;
}

void Sheet::hide_columns(int first, int last, bool hidden) {
  check(Range{1, first, 1, last});
  if (last > static_cast<int>(cols_.size())) cols_.resize(last);
  for (int c = first; c <= last; ++c) cols_[c - 1].hidden = hidden;
}

bool Sheet::row_hidden(int row) const { return row >= 1 && row <= last_row() && rows_[row - 1].hidden; }
bool Sheet::column_hidden(int col) const { return col >= 1 && col <= static_cast<int>(cols_.size()) && cols_[col - 1].hidden; }

double Sheet::row_height(int row) const {
  if (row >= 1 && row <= last_row() && rows_[row - 1].height > 0) return rows_[row - 1].height;
  return default_row_height_;
}

void Sheet::set_row_height(int row, double points) {
  check(row, 1);
  row_at(row).height = static_cast<float>(std::clamp(points, 0.0, 409.0));
}

double Sheet::column_width(int col) const {
  if (col >= 1 && col <= static_cast<int>(cols_.size()) && cols_[col - 1].width > 0) return cols_[col - 1].width;
  return default_col_width_;
}

void Sheet::set_column_width(int col, double chars) {
  check(1, col);
  if (col > static_cast<int>(cols_.size())) cols_.resize(col);
  cols_[col - 1].width = std::clamp(chars, 0.0, 255.0);
}

void Sheet::auto_fit_columns(int first, int last) {
  check(Range{1, first, 1, last});
  std::vector<double> best(last - first + 1, 0);
  auto& st = book_->styles_;
  for (int r = 1; r <= last_row(); ++r) {
    for (auto& c : rows_[r - 1].cells) {
      if (c.col < static_cast<uint32_t>(first) || c.col > static_cast<uint32_t>(last) || c.type == ValueType::empty) continue;
      if (auto m = merge_area(r, c.col); m && (m->columns() > 1)) continue;
      std::string t = value_text(c);
      size_t widest = 0, start = 0;
      while (start <= t.size()) {
        size_t nl = t.find('\n', start);
        if (nl == std::string::npos) nl = t.size();
        widest = std::max(widest, glyphs(std::string_view(t).substr(start, nl - start)));
        start = nl + 1;
      }
      double factor = st.font_size(c.style) / 11.0 * (st.font_bold(c.style) ? 1.1 : 1.0);
      // Office applications draw Cyrillic a little wider than the width unit's digits: a
      // tenth more keeps short names from wrapping.
      best[c.col - first] = std::max(best[c.col - first], widest * factor * 1.15 + 1.0);
    }
  }
  for (int k = first; k <= last; ++k) {
    if (best[k - first] > 0) set_column_width(k, std::min(255.0, best[k - first]));
  }
}

void Sheet::auto_fit_rows(int first, int last) {
  check(Range{first, 1, last, 1});
  auto& st = book_->styles_;
  for (int r = first; r <= std::min(last, last_row()); ++r) {
    double height = 0;
    for (auto& c : rows_[r - 1].cells) {
      double size = st.font_size(c.style);
      if (c.type == ValueType::empty) continue;
      if (auto m = merge_area(r, c.col); m && m->rows() > 1) continue;
      std::string t = value_text(c);
      bool wrap = st.alignment(c.style, "wrapText") == "1" || st.alignment(c.style, "wrapText") == "true";
      double width = column_width(c.col);
      if (auto m = merge_area(r, c.col)) {
        width = 0;
        for (int k = m->col1; k <= m->col2; ++k) width += column_width(k);
      }
      int lines = 0;
      size_t start = 0;
      while (start <= t.size()) {
        // A carriage return breaks a line too; "\r\n" is one break.
        size_t nl = t.find_first_of("\r\n", start);
        if (nl == std::string::npos) nl = t.size();
        double w = glyphs(std::string_view(t).substr(start, nl - start)) * size / 11.0;
        // A text exactly as wide as an auto-fitted column is one line, rounding aside.
        lines += wrap && width > 0 ? std::max(1, static_cast<int>(std::ceil(w / std::max(1.0, width - 1) - 1e-6))) : 1;
        start = nl + (t.compare(nl, 2, "\r\n") == 0 ? 2 : 1);
      }
      height = std::max(height, lines * size * 1.3 + 0.75);
    }
    if (height > 0) row_at(r).height = static_cast<float>(std::min(409.0, std::round(height * 4) / 4));
    else if (r <= last_row()) rows_[r - 1].height = 0;
  }
}

template <class F>
void Sheet::restyle(const Range& r, F derive) {
  check(r);
  std::unordered_map<uint64_t, uint32_t> memo;
  auto apply = [&](uint32_t xf, int row, int col) {
    return derive(xf, row, col, memo);
  };
  if (whole_rows(r)) {
    for (int row = r.row1; row <= r.row2; ++row) {
      Row& rw = row_at(row);
      rw.style = apply(rw.style, row, 0);
      rw.custom_format = true;
      for (auto& c : rw.cells) c.style = apply(c.style, row, c.col);
    }
    return;
  }
  if (whole_cols(r)) {
    if (r.col2 > static_cast<int>(cols_.size())) cols_.resize(r.col2);
    for (int k = r.col1; k <= r.col2; ++k) cols_[k - 1].style = apply(cols_[k - 1].style, 0, k);
    for (int row = 1; row <= last_row(); ++row) {
      for (auto& c : rows_[row - 1].cells) {
        if (c.col >= static_cast<uint32_t>(r.col1) && c.col <= static_cast<uint32_t>(r.col2)) c.style = apply(c.style, row, c.col);
      }
    }
    return;
  }
  for (int row = r.row1; row <= r.row2; ++row) {
    for (int col = r.col1; col <= r.col2; ++col) {
      Cell& c = cell(row, col);
      c.style = apply(c.style, row, col);
    }
  }
}

void Sheet::set_fill(const Range& r, std::optional<uint32_t> bgr) {
  auto& st = book_->styles_;
  restyle(r, [&](uint32_t xf, int, int, auto& memo) {
    auto it = memo.find(xf);
    if (it != memo.end()) return it->second;
    return memo[xf] = st.with_fill(xf, bgr);
  });
}

void Sheet::set_fill_index(const Range& r, int colour_index) {
  auto c = Styles::index_colour(colour_index);
  if (!c) throw Error(book_->path_, "sheet '" + name_ + "'", "colour index " + std::to_string(colour_index) + " is not 1..56");
  set_fill(r, c);
}

std::optional<uint32_t> Sheet::fill(int row, int col) const { return book_->styles_.fill_colour(style(row, col)); }

void Sheet::set_borders(const Range& given, unsigned edges, int weight, uint32_t bgr) {
  check(given);
  Range r = given;
  // Whole rows or columns are bordered over the cells in use.
  if (whole_rows(r)) r.col2 = std::max(1, last_column());
  if (whole_cols(r)) r.row2 = std::max(1, last_row());
  auto& st = book_->styles_;
  char colour[32];
  std::snprintf(colour, sizeof colour, "rgb=\"FF%02X%02X%02X\"", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
  BorderEdge line{border_style_for_weight(weight), colour};
  bool all = edges & edge_all;
  restyle(r, [&](uint32_t xf, int row, int col, auto& memo) {
    // Cells in the same position class share the result.
    unsigned pos = (row == r.row1) | (row == r.row2) << 1 | (col == r.col1) << 2 | (col == r.col2) << 3;
    uint64_t k = (uint64_t(xf) << 8) | pos;
    auto it = memo.find(k);
    if (it != memo.end()) return it->second;
    Border b = st.border(xf);
    if (edges == 0) {
      b.top = b.bottom = b.left = b.right = BorderEdge{};
    } else {
      if ((all || (edges & edge_top)) && row == r.row1) b.top = line;
      if ((all || (edges & edge_inside_horizontal)) && row > r.row1) b.top = line;
      if ((all || (edges & edge_bottom)) && row == r.row2) b.bottom = line;
      if ((all || (edges & edge_inside_horizontal)) && row < r.row2) b.bottom = line;
      if ((all || (edges & edge_left)) && col == r.col1) b.left = line;
      if ((all || (edges & edge_inside_vertical)) && col > r.col1) b.left = line;
      if ((all || (edges & edge_right)) && col == r.col2) b.right = line;
      if ((all || (edges & edge_inside_vertical)) && col < r.col2) b.right = line;
    }
    return memo[k] = st.with_border(xf, b);
  });
}

Border Sheet::border(int row, int col) const { return book_->styles_.border(style(row, col)); }

void Sheet::set_number_format(const Range& r, std::string_view code) {
  auto& st = book_->styles_;
  restyle(r, [&](uint32_t xf, int, int, auto& memo) {
    auto it = memo.find(xf);
    if (it != memo.end()) return it->second;
    return memo[xf] = st.with_number_format(xf, code);
  });
}

std::string Sheet::number_format(int row, int col) const { return book_->styles_.number_format(style(row, col)); }

namespace {
const char* halign_name(HAlign a) {
  switch (a) {
    case HAlign::left: return "left";
    case HAlign::center: return "center";
    case HAlign::right: return "right";
    case HAlign::fill: return "fill";
    case HAlign::justify: return "justify";
    case HAlign::center_across: return "centerContinuous";
    case HAlign::distributed: return "distributed";
    default: return "";
  }
}
const char* valign_name(VAlign a) {
  switch (a) {
    case VAlign::top: return "top";
    case VAlign::center: return "center";
    case VAlign::justify: return "justify";
    case VAlign::distributed: return "distributed";
    default: return "";  // bottom is the default
  }
}
}  // namespace

void Sheet::set_horizontal_alignment(const Range& r, HAlign a) {
  auto& st = book_->styles_;
  restyle(r, [&](uint32_t xf, int, int, auto& memo) {
    auto it = memo.find(xf);
    if (it != memo.end()) return it->second;
    return memo[xf] = st.with_alignment(xf, "horizontal", halign_name(a));
  });
}

void Sheet::set_vertical_alignment(const Range& r, VAlign a) {
  auto& st = book_->styles_;
  restyle(r, [&](uint32_t xf, int, int, auto& memo) {
    auto it = memo.find(xf);
    if (it != memo.end()) return it->second;
    return memo[xf] = st.with_alignment(xf, "vertical", valign_name(a));
  });
}

void Sheet::set_wrap(const Range& r, bool wrap) {
  auto& st = book_->styles_;
  restyle(r, [&](uint32_t xf, int, int, auto& memo) {
    auto it = memo.find(xf);
    if (it != memo.end()) return it->second;
    return memo[xf] = st.with_alignment(xf, "wrapText", wrap ? "1" : "");
  });
}

std::string Sheet::alignment(int row, int col, std::string_view attr) const {
  return book_->styles_.alignment(style(row, col), attr);
}

uint32_t Sheet::style(int row, int col) const {
  if (const Cell* c = find(row, col)) return c->style;
  if (row >= 1 && row <= last_row() && rows_[row - 1].custom_format) return rows_[row - 1].style;
  if (col >= 1 && col <= static_cast<int>(cols_.size())) return cols_[col - 1].style;
  return 0;
}

void Sheet::set_style(int row, int col, uint32_t xf) {
  if (xf >= book_->styles_.size()) throw Error(book_->path_, "sheet '" + name_ + "'", "no cell format " + std::to_string(xf));
  cell(row, col).style = xf;
}

void Sheet::add_row_break(int row) {
  check(row, 1);
  auto it = std::lower_bound(row_breaks_.begin(), row_breaks_.end(), row);
  if (it == row_breaks_.end() || *it != row) row_breaks_.insert(it, row);
}

void Sheet::add_column_break(int col) {
  check(1, col);
  auto it = std::lower_bound(col_breaks_.begin(), col_breaks_.end(), col);
  if (it == col_breaks_.end() || *it != col) col_breaks_.insert(it, col);
}

void Sheet::delete_row_break(size_t index) {
  if (index < 1 || index > row_breaks_.size()) throw Error(book_->path_, "sheet '" + name_ + "'", "no row page break " + std::to_string(index));
  row_breaks_.erase(row_breaks_.begin() + (index - 1));
}

void Sheet::delete_column_break(size_t index) {
  if (index < 1 || index > col_breaks_.size()) throw Error(book_->path_, "sheet '" + name_ + "'", "no column page break " + std::to_string(index));
  col_breaks_.erase(col_breaks_.begin() + (index - 1));
}

void Sheet::sort(const Range& r, const std::vector<SortKey>& by) {
  check(r);
  if (by.empty()) throw Error(book_->path_, "sheet '" + name_ + "'", "sort of " + range_name(r) + " without a column");
  for (auto& k : by) {
    if (k.column < r.col1 || k.column > r.col2) {
      throw Error(book_->path_, "sheet '" + name_ + "'",
                  "sort column " + column_name(k.column) + " is outside " + range_name(r));
    }
  }
  int last = std::min(r.row2, last_row());
  if (last < r.row1) return;
  int n = last - r.row1 + 1;
  std::vector<std::vector<Cell>> lines(n);
  for (int i = 0; i < n; ++i) {
    auto& cells = rows_[r.row1 + i - 1].cells;
    for (auto& c : cells) {
      if (c.col >= static_cast<uint32_t>(r.col1) && c.col <= static_cast<uint32_t>(r.col2)) lines[i].push_back(c);
    }
  }
  struct Key {
    int rank;  // 0 number, 1 text, 2 boolean, 3 error, 4 blank
    double number;
    std::string text;
  };
  const size_t nk = by.size();
  std::vector<Key> keys(n * nk, Key{4, 0, {}});  // line i, key j at i * nk + j
  for (int i = 0; i < n; ++i) {
    for (auto& c : lines[i]) {
      for (size_t j = 0; j < nk; ++j) {
        if (c.col != static_cast<uint32_t>(by[j].column)) continue;
        Value v = c.type == ValueType::formula ? result(r.row1 + i, c.col) : value(r.row1 + i, c.col);
        Key k{4, 0, {}};
        switch (v.type) {
          case ValueType::number: k = {0, v.number, {}}; break;
          case ValueType::text: k = {v.text.empty() ? 4 : 1, 0, fold_case(v.text)}; break;
          case ValueType::boolean: k = {2, v.number, {}}; break;
          case ValueType::error: k = {3, 0, {}}; break;
          default: break;
        }
        // ё sorts with е.
        for (size_t p = 0; (p = k.text.find("\xD1\x91", p)) != std::string::npos;) k.text.replace(p, 2, "\xD0\xB5");
        keys[i * nk + j] = std::move(k);
      }
    }
  }
  // Blanks go last in either direction, as in Excel.
  auto compare = [](const Key& x, const Key& y) {
    if (x.rank != y.rank) return x.rank < y.rank ? -1 : 1;
    if (x.rank == 1) return x.text < y.text ? -1 : y.text < x.text ? 1 : 0;
    return x.number < y.number ? -1 : y.number < x.number ? 1 : 0;
  };
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    for (size_t j = 0; j < nk; ++j) {
      const Key &x = keys[a * nk + j], &y = keys[b * nk + j];
      if (x.rank == 4 || y.rank == 4) {
        if (x.rank == y.rank) continue;
        return y.rank == 4;
      }
      int c = compare(x, y);
      if (c != 0) return by[j].ascending ? c < 0 : c > 0;
    }
    return false;
  });
  erase_cells(Range{r.row1, r.col1, last, r.col2});
  for (int i = 0; i < n; ++i) {
    int src = order[i];
    int row = r.row1 + i;
    for (auto c : lines[src]) {
      Cell& d = cell(row, c.col);
      if (c.type == ValueType::formula) {
        c.index = book_->add_formula(translate_formula(book_->str(book_->formulas_[c.index].text), i - src, 0), this);
        ++formula_cells_;
      }
      d = c;
    }
  }
}

}  // namespace hrdoc::sheet

namespace hrdoc::sheet {

void Sheet::set_font(const Range& r, std::string_view name, double size, bool bold, bool italic, bool underline) {
  check(r);
  auto& st = book_->styles_;
  restyle(r, [&](uint32_t xf, int, int, auto& memo) {
    auto it = memo.find(xf);
    if (it != memo.end()) return it->second;
    return memo[xf] = st.with_font(xf, name, size, bold, italic, underline);
  });
}

}  // namespace hrdoc::sheet
