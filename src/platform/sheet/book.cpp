#include <algorithm>

#include "sheet/book.h"

namespace hrdoc::sheet {

Book::Book() { sheets_.push_back(std::unique_ptr<Sheet>(new Sheet(this, "Sheet1"))); }

Book::~Book() = default;

uint32_t Book::intern(std::string_view s) {
  auto it = string_index_.find(s);
  if (it != string_index_.end()) return it->second;
  strings_.emplace_back(s);
  uint32_t id = static_cast<uint32_t>(strings_.size() - 1);
  string_index_.emplace(strings_.back(), id);
  return id;
}

uint32_t Book::add_rich(std::string_view text, std::string runs) {
  strings_.emplace_back(text);
  uint32_t id = static_cast<uint32_t>(strings_.size() - 1);
  rich_.emplace(id, std::move(runs));
  return id;
}

uint32_t Book::add_formula(std::string_view text, Sheet* owner) {
  Formula f;
  f.text = intern(text);
  f.sheet = owner;
  uint32_t id = static_cast<uint32_t>(formulas_.size());
  f.reach_pos = reach_.emplace(formula_reach(text), id);
  formulas_.push_back(f);
  return id;
}

void Book::drop_formula(uint32_t id) {
  Formula& f = formulas_[id];
  if (!f.sheet) return;
  reach_.erase(f.reach_pos);
  f.sheet = nullptr;
}

void Book::set_formula_text(uint32_t id, std::string_view text) {
  Formula& f = formulas_[id];
  f.text = intern(text);
  if (!f.sheet) return;
  int reach = formula_reach(text);
  if (reach != f.reach_pos->first) {
    reach_.erase(f.reach_pos);
    f.reach_pos = reach_.emplace(reach, id);
  }
}

std::vector<uint32_t> Book::formulas_reaching(int row) const {
  std::vector<uint32_t> out;
  for (auto it = reach_.lower_bound(row); it != reach_.end(); ++it) out.push_back(it->second);
  return out;
}

Sheet& Book::sheet(int index) {
  if (index < 1 || index > sheet_count()) {
    throw Error(path_, "", "no sheet number " + std::to_string(index) + " (the book has " + std::to_string(sheet_count()) + ")");
  }
  return *sheets_[index - 1];
}

Sheet* Book::find_sheet(std::string_view name) {
  for (auto& s : sheets_) {
    if (same_name(s->name_, name)) return s.get();
  }
  return nullptr;
}

const Sheet* Book::find_sheet(std::string_view name) const { return const_cast<Book*>(this)->find_sheet(name); }

Sheet& Book::sheet(std::string_view name) {
  if (Sheet* s = find_sheet(name)) return *s;
  throw Error(path_, "", "no sheet named '" + std::string(name) + "'");
}

void Book::set_active_sheet(int index) {
  sheet(index);
  active_ = index;
}

void Book::check_name(std::string_view name, const Sheet* self) const {
  size_t glyphs = 0;
  for (unsigned char c : name) glyphs += (c & 0xC0) != 0x80;
  if (name.empty() || glyphs > 31 || name.find_first_of("[]:*?/\\") != std::string_view::npos || name.front() == '\'' ||
      name.back() == '\'') {
    throw Error(path_, "", "'" + std::string(name) + "' cannot be a sheet name");
  }
  if (name_taken(name, self)) throw Error(path_, "", "a sheet named '" + std::string(name) + "' exists already");
}

bool Book::name_taken(std::string_view name, const Sheet* self) const {
  if (!names_indexed_) {
    name_index_.clear();
    for (auto& s : sheets_) ++name_index_[fold_case(s->name_)];
    names_indexed_ = true;
  }
  const std::string folded = fold_case(name);
  auto it = name_index_.find(folded);
  if (it == name_index_.end() || it->second == 0) return false;
  return !(self && it->second == 1 && fold_case(self->name_) == folded);
}

void Book::index_name(const std::string& name, bool add) {
  if (!names_indexed_) return;
  int& n = name_index_[fold_case(name)];
  n += add ? 1 : -1;
}

void Book::reindex_names(const std::vector<int>& map) {
  std::vector<DefinedName> kept;
  for (auto& n : names_) {
    if (n.sheet == 0) {
      kept.push_back(n);
      continue;
    }
    int to = n.sheet <= static_cast<int>(map.size()) ? map[n.sheet - 1] : 0;
    if (to == 0) continue;
    kept.push_back(n);
    kept.back().sheet = to;
  }
  names_.swap(kept);
}

Sheet& Book::add_sheet(std::string_view name, int position) {
  check_name(name, nullptr);
  int n = sheet_count();
  if (position < 1 || position > n) position = n + 1;
  std::vector<int> map(n);
  for (int i = 1; i <= n; ++i) map[i - 1] = i < position ? i : i + 1;
  sheets_.insert(sheets_.begin() + (position - 1), std::unique_ptr<Sheet>(new Sheet(this, std::string(name))));
  index_name(std::string(name), true);
  reindex_names(map);
  if (active_ >= position) ++active_;
  return *sheets_[position - 1];
}

std::string Book::unique_copy_name(const std::string& base) {
  std::string stem = base;
  // Drop an existing " (n)" so that copies of copies count on.
  if (auto p = stem.rfind(" ("); p != std::string::npos && stem.back() == ')') stem.resize(p);
  // Numbers below the last one given are still taken unless a sheet went since.
  int& next = next_copy_[fold_case(stem)];
  for (int k = std::max(next, 2);; ++k) {
    std::string suffix = " (" + std::to_string(k) + ")";
    std::string s = stem;
    auto glyphs = [](const std::string& t) {
      size_t g = 0;
      for (unsigned char c : t) g += (c & 0xC0) != 0x80;
      return g;
    };
    while (!s.empty() && glyphs(s) + suffix.size() > 31) {
      s.pop_back();
      while (!s.empty() && (static_cast<unsigned char>(s.back()) & 0xC0) == 0x80) s.pop_back();
      if (!s.empty() && (static_cast<unsigned char>(s.back()) & 0xC0) == 0xC0) s.pop_back();
    }
    s += suffix;
    if (!name_taken(s, nullptr)) {
      next = k + 1;
      return s;
    }
  }
}

Sheet& Book::copy_sheet(int index, int position, bool after, std::string_view name) {
  Sheet& src = sheet(index);
  std::string new_name = name.empty() ? unique_copy_name(src.name_) : std::string(name);
  check_name(new_name, nullptr);
  int n = sheet_count();
  if (position < 1 || position > n) position = n, after = true;
  int at = after ? position + 1 : position;  // 1-based place of the copy
  auto copy = std::unique_ptr<Sheet>(new Sheet(this, new_name));
  Sheet& c = *copy;
  c.rows_ = src.rows_;
  for (auto& row : c.rows_) {
    for (auto& cell : row.cells) {
      if (cell.type == ValueType::formula) {
        Formula f = formulas_[cell.index];
        cell.index = add_formula(str(f.text), &c);
        auto& g = formulas_[cell.index];
        g.cached = f.cached, g.number = f.number, g.cached_text = f.cached_text;
        g.array_rows = f.array_rows, g.array_cols = f.array_cols;
      }
    }
  }
  c.cols_ = src.cols_;
  c.merges_ = src.merges_;
  c.merge_max_height_ = src.merge_max_height_;
  c.row_breaks_ = src.row_breaks_;
  c.col_breaks_ = src.col_breaks_;
  // Hyperlinks into the relationships of the original are not carried.
  for (auto& r : src.ranged_) {
    if (r.kind != 2 || r.xml.find(":id=") == std::string::npos) c.ranged_.push_back(r);
  }
  c.page_ = src.page_;
  c.sheet_pr_ = src.sheet_pr_;
  c.page_extra_ = src.page_extra_;
  if (auto p = c.page_extra_.find(" r:id=\""); p != std::string::npos) {
    c.page_extra_.erase(p, c.page_extra_.find('"', p + 7) - p + 1);
  }
  c.formula_cells_ = src.formula_cells_;
  c.default_row_height_ = src.default_row_height_;
  c.default_col_width_ = src.default_col_width_;
  c.root_attrs_ = src.root_attrs_;
  c.state_ = src.state_;
  // Drawings, tables and controls belong to one sheet; the copy goes without them.
  for (auto& [order, xml] : src.kept_) {
    static const char* owned[] = {"<drawing", "<legacyDrawing", "<legacyDrawingHF", "<picture", "<oleObjects",
                                  "<controls", "<tableParts"};
    bool skip = false;
    for (auto* o : owned) skip |= xml.rfind(o, 0) == 0 && (xml[std::string(o).size()] == ' ' || xml[std::string(o).size()] == '>' || xml[std::string(o).size()] == '/');
    if (!skip) c.kept_.emplace_back(order, xml);
  }
  sheets_.insert(sheets_.begin() + (at - 1), std::move(copy));
  index_name(new_name, true);
  // Sheet numbers of local names move only when some name is local.
  const int src_index = index < at ? index : index + 1;
  if (std::any_of(names_.begin(), names_.end(), [](const DefinedName& d) { return d.sheet != 0; })) {
    std::vector<int> map(n);
    for (int i = 1; i <= n; ++i) map[i - 1] = i < at ? i : i + 1;
    reindex_names(map);
  }
  if (active_ >= at) ++active_;
  std::vector<DefinedName> local;
  for (auto& dn : names_) {
    if (dn.sheet == src_index) {
      DefinedName d = dn;
      d.sheet = at;
      d.formula = rename_in_formula(d.formula, src.name_, new_name);
      local.push_back(std::move(d));
    }
  }
  names_.insert(names_.end(), local.begin(), local.end());
  return c;
}

void Book::move_sheet(int index, int position, bool after) {
  sheet(index);
  sheet(position);
  int n = sheet_count();
  std::vector<int> order;  // new order of old indexes
  for (int i = 1; i <= n; ++i) {
    if (i == index) continue;
    if (i == position && !after) order.push_back(index);
    order.push_back(i);
    if (i == position && after) order.push_back(index);
  }
  if (index == position) return;
  std::vector<int> map(n);
  std::vector<std::unique_ptr<Sheet>> moved(n);
  for (int k = 0; k < n; ++k) {
    map[order[k] - 1] = k + 1;
    moved[k] = std::move(sheets_[order[k] - 1]);
  }
  sheets_.swap(moved);
  reindex_names(map);
  active_ = map[active_ - 1];
}

void Book::rename_sheet(int index, std::string_view name) {
  Sheet& s = sheet(index);
  check_name(name, &s);
  std::string old = s.name_;
  for (uint32_t id : formulas_reaching(0)) {
    std::string t = rename_in_formula(str(formulas_[id].text), old, name);
    if (t != str(formulas_[id].text)) set_formula_text(id, t);
  }
  for (auto& n : names_) n.formula = rename_in_formula(n.formula, old, name);
  index_name(old, false);
  s.name_ = std::string(name);
  index_name(s.name_, true);
  next_copy_.clear();
}

void Book::delete_sheet(int index) {
  Sheet& s = sheet(index);
  if (sheet_count() == 1) throw Error(path_, "sheet '" + s.name_ + "'", "a book must keep at least one sheet");
  std::string old = s.name_;
  int n = sheet_count();
  std::vector<int> map(n);
  for (int i = 1; i <= n; ++i) map[i - 1] = i < index ? i : (i == index ? 0 : i - 1);
  for (auto& row : s.rows_) {
    for (auto& c : row.cells) s.forget(c);
  }
  sheets_.erase(sheets_.begin() + (index - 1));
  index_name(old, false);
  next_copy_.clear();
  reindex_names(map);
  for (uint32_t id : formulas_reaching(0)) {
    std::string t = rename_in_formula(str(formulas_[id].text), old, "");
    if (t != str(formulas_[id].text)) set_formula_text(id, t);
  }
  for (auto& dn : names_) dn.formula = rename_in_formula(dn.formula, old, "");
  if (active_ > index || active_ > sheet_count()) --active_;
  if (active_ < 1) active_ = 1;
}

const DefinedName* Book::defined_name(std::string_view name, int sheet) const {
  for (auto& n : names_) {
    if (n.sheet == sheet && same_name(n.name, name)) return &n;
  }
  return nullptr;
}

void Book::set_defined_name(std::string_view name, std::string_view formula, int sheet_no) {
  if (sheet_no != 0) sheet(sheet_no);
  if (name.empty()) throw Error(path_, "", "a defined name cannot be empty");
  if (!formula.empty() && formula[0] == '=') formula.remove_prefix(1);
  for (auto& n : names_) {
    if (n.sheet == sheet_no && same_name(n.name, name)) {
      n.formula = std::string(formula);
      return;
    }
  }
  names_.push_back({std::string(name), sheet_no, std::string(formula), false});
}

void Book::remove_defined_name(std::string_view name, int sheet_no) {
  names_.erase(std::remove_if(names_.begin(), names_.end(),
                              [&](const DefinedName& n) { return n.sheet == sheet_no && same_name(n.name, name); }),
               names_.end());
}

void Book::set_print_titles(int sheet_no, int first_row, int last_row) {
  Sheet& s = sheet(sheet_no);
  s.check(Range{first_row, 1, last_row, 1});
  set_defined_name("_xlnm.Print_Titles",
                   sheet_prefix(s.name_) + "$" + std::to_string(first_row) + ":$" + std::to_string(last_row), sheet_no);
}

void Book::on_move(Sheet& target, const Range& block, int drow, int dcol) {
  for (uint32_t id : formulas_reaching(block.row1)) {
    const Formula& f = formulas_[id];
    const std::string& before = str(f.text);
    std::string after = move_formula(before, f.sheet->name_, target.name_, block, drow, dcol);
    if (after != before) set_formula_text(id, after);
  }
  for (auto& n : names_) {
    std::string_view own = n.sheet ? std::string_view(sheets_[n.sheet - 1]->name_) : std::string_view();
    n.formula = move_formula(n.formula, own, target.name_, block, drow, dcol);
  }
}

void Book::on_shift(Sheet& target, const Shift& s) {
  // Row changes reach only formulas whose references get as far as the first changed row.
  for (uint32_t id : formulas_reaching(s.rows ? s.at : 0)) {
    const Formula& f = formulas_[id];
    const std::string& before = str(f.text);
    std::string after = shift_formula(before, f.sheet->name_, target.name_, s);
    if (after != before) set_formula_text(id, after);
  }
  for (auto& n : names_) {
    std::string_view own = n.sheet ? std::string_view(sheets_[n.sheet - 1]->name_) : std::string_view();
    n.formula = shift_formula(n.formula, own, target.name_, s);
  }
  target.apply_shift(s);
}

}  // namespace hrdoc::sheet
