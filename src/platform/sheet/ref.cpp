#include "sheet/ref.h"

#include <algorithm>
#include <functional>

namespace hrdoc::sheet {

std::string column_name(int col) {
  std::string s;
  while (col > 0) {
    int d = (col - 1) % 26;
    s.insert(s.begin(), char('A' + d));
    col = (col - 1) / 26;
  }
  return s;
}

std::string cell_name(int row, int col) { return column_name(col) + std::to_string(row); }

std::string range_name(const Range& r) {
  if (r.row1 == r.row2 && r.col1 == r.col2) return cell_name(r.row1, r.col1);
  return cell_name(r.row1, r.col1) + ":" + cell_name(r.row2, r.col2);
}

namespace {

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
bool is_letter(char c) { return is_upper(c) || (c >= 'a' && c <= 'z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_ident(char c) {
  return is_letter(c) || is_digit(c) || c == '_' || c == '.' || c == '\\' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// One side of a reference: column and/or row with their absolute marks.
struct Part {
  int col = 0, row = 0;  // 0 when absent
  bool col_abs = false, row_abs = false;
};

// Reads $A$1, $A or $1 at i; returns the end or npos.
size_t read_part(std::string_view f, size_t i, Part& p) {
  size_t j = i;
  bool abs = false;
  if (j < f.size() && f[j] == '$') abs = true, ++j;
  size_t letters = j;
  long col = 0;
  while (j < f.size() && is_letter(f[j]) && j - letters < 3) {
    col = col * 26 + (std::toupper(static_cast<unsigned char>(f[j])) - 'A' + 1);
    ++j;
  }
  if (j > letters) {
    if (j < f.size() && is_letter(f[j])) return std::string_view::npos;
    p.col = static_cast<int>(col);
    p.col_abs = abs;
    if (col > max_columns) return std::string_view::npos;
    abs = false;
    if (j < f.size() && f[j] == '$') abs = true, ++j;
  } else if (abs && j < f.size() && !is_digit(f[j])) {
    return std::string_view::npos;
  }
  size_t digits = j;
  long row = 0;
  while (j < f.size() && is_digit(f[j]) && j - digits < 8) row = row * 10 + (f[j++] - '0');
  if (j > digits) {
    if (row < 1 || row > max_rows) return std::string_view::npos;
    p.row = static_cast<int>(row);
    p.row_abs = abs;
  } else if (abs && p.col) {
    return std::string_view::npos;  // "$A$" without a row
  }
  if (!p.col && !p.row) return std::string_view::npos;
  return j;
}

enum class Kind { cell, area, cols, rows };

struct Ref {
  Kind kind = Kind::cell;
  Part a, b;
  Range range() const {
    switch (kind) {
      case Kind::cell: return {a.row, a.col, a.row, a.col};
      case Kind::area: return {a.row, a.col, b.row, b.col};
      case Kind::cols: return {1, a.col, max_rows, b.col};
      case Kind::rows: return {a.row, 1, b.row, max_columns};
    }
    return {};
  }
};

// Parses a reference without a sheet prefix at i; returns its end or npos.
size_t read_ref(std::string_view f, size_t i, Ref& ref) {
  Part a;
  size_t j = read_part(f, i, a);
  if (j == std::string_view::npos) return j;
  Part b;
  size_t k = std::string_view::npos;
  if (j < f.size() && f[j] == ':') k = read_part(f, j + 1, b);
  bool a_cell = a.col && a.row;
  if (a_cell) {
    if (k != std::string_view::npos && b.col && b.row) {
      ref.kind = Kind::area, ref.a = a, ref.b = b, j = k;
    } else {
      ref.kind = Kind::cell, ref.a = a;
    }
  } else if (a.col && k != std::string_view::npos && b.col && !b.row) {
    ref.kind = Kind::cols, ref.a = a, ref.b = b, j = k;
  } else if (a.row && k != std::string_view::npos && b.row && !b.col) {
    ref.kind = Kind::rows, ref.a = a, ref.b = b, j = k;
  } else {
    return std::string_view::npos;
  }
  if (j < f.size() && (is_ident(f[j]) || f[j] == '(' || f[j] == '!' || f[j] == '[')) {
    return std::string_view::npos;
  }
  return j;
}

std::string format_part(const Part& p, bool col, bool row) {
  std::string s;
  if (col) s += (p.col_abs ? "$" : "") + column_name(p.col);
  if (row) s += (p.row_abs ? "$" : "") + std::to_string(p.row);
  return s;
}

std::string format_ref(const Ref& r) {
  switch (r.kind) {
    case Kind::cell: return format_part(r.a, true, true);
    case Kind::area: return format_part(r.a, true, true) + ":" + format_part(r.b, true, true);
    case Kind::cols: return format_part(r.a, true, false) + ":" + format_part(r.b, true, false);
    case Kind::rows: return format_part(r.a, false, true) + ":" + format_part(r.b, false, true);
  }
  return {};
}

// Sets the reference to a new range, keeping its kind and absolute marks.
void set_range(Ref& r, const Range& g) {
  r.a.row = g.row1, r.a.col = g.col1, r.b.row = g.row2, r.b.col = g.col2;
}

// Calls `fn` for every reference of the formula with its sheet name (empty when unprefixed);
// fn returns the new text of the reference, or nullopt to leave it untouched.
// `prefix` is the original prefix text ("Sheet1!" or ""); the returned text replaces both.
using RefFn = std::function<std::optional<std::string>(std::string_view sheet, std::string_view prefix, Ref&)>;

std::string rewrite(std::string_view f, const RefFn& fn) {
  std::string out;
  out.reserve(f.size() + 8);
  size_t i = 0;
  while (i < f.size()) {
    char ch = f[i];
    if (ch == '"') {
      size_t j = i + 1;
      while (j < f.size()) {
        if (f[j] == '"') {
          if (j + 1 < f.size() && f[j + 1] == '"') { j += 2; continue; }
          break;
        }
        ++j;
      }
      j = std::min(j + 1, f.size());
      out.append(f.substr(i, j - i));
      i = j;
      continue;
    }
    if (ch == '[') {
      int depth = 0;
      size_t j = i;
      for (; j < f.size(); ++j) {
        if (f[j] == '[') ++depth;
        if (f[j] == ']' && --depth == 0) break;
      }
      j = std::min(j + 1, f.size());
      out.append(f.substr(i, j - i));
      i = j;
      continue;
    }
    bool start = i == 0 || !is_ident(f[i - 1]);
    if (start && (ch == '\'' || ch == '$' || is_ident(ch))) {
      // An optional sheet prefix, then a reference.
      std::string sheet;
      size_t j = i;

      if (ch == '\'') {
        size_t k = i + 1;
        std::string name;
        while (k < f.size()) {
          if (f[k] == '\'') {
            if (k + 1 < f.size() && f[k + 1] == '\'') { name += '\''; k += 2; continue; }
            break;
          }
          name += f[k++];
        }
        if (k + 1 < f.size() && f[k] == '\'' && f[k + 1] == '!') {
          sheet = name, j = k + 2;
        } else {
          size_t end = std::min(k + 1, f.size());
          out.append(f.substr(i, end - i));
          i = end;
          continue;
        }
      } else {
        size_t k = i;
        while (k < f.size() && is_ident(f[k])) ++k;
        if (k < f.size() && f[k] == '!' && k > i) sheet = std::string(f.substr(i, k - i)), j = k + 1;
      }
      Ref ref;
      size_t end = read_ref(f, j, ref);
      if (end != std::string_view::npos) {
        auto text = fn(sheet, f.substr(i, j - i), ref);
        if (text) {
          out += *text;
        } else {
          out.append(f.substr(i, end - i));
        }
        i = end;
        continue;
      }
      size_t k = j;
      while (k < f.size() && is_ident(f[k])) ++k;
      if (k == i) k = i + 1;
      out.append(f.substr(i, k - i));
      i = k;
      continue;
    }
    out += ch;
    ++i;
  }
  return out;
}

int fold_cp(int cp) {
  if (cp < 128) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  return cp;
}

}  // namespace

std::optional<Range> parse_range(std::string_view text) {
  Ref ref;
  size_t end = read_ref(text, 0, ref);
  if (end != text.size()) return std::nullopt;
  Range r = ref.range();
  if (r.row1 > r.row2) std::swap(r.row1, r.row2);
  if (r.col1 > r.col2) std::swap(r.col1, r.col2);
  return r;
}

std::optional<Range> shift_range(const Range& r, const Shift& s) {
  int a1 = s.rows ? r.row1 : r.col1, a2 = s.rows ? r.row2 : r.col2;
  int b1 = s.rows ? r.col1 : r.row1, b2 = s.rows ? r.col2 : r.row2;
  int limit = s.rows ? max_rows : max_columns;
  if (a1 == 1 && a2 == limit) return r;  // whole columns do not move with rows
  if (!s.whole() && (b1 < s.band1 || b2 > s.band2)) return r;
  if (s.count > 0) {
    if (a1 >= s.at) a1 += s.count;
    if (a2 >= s.at) a2 += s.count;
    if (a1 > limit) return std::nullopt;
    a2 = std::min(a2, limit);
  } else if (s.count < 0) {
    int m = -s.count, last = s.at + m - 1;
    if (a1 > last) a1 -= m;
    else if (a1 >= s.at) a1 = s.at;
    if (a2 > last) a2 -= m;
    else if (a2 >= s.at) a2 = s.at - 1;
    if (a1 > a2) return std::nullopt;
  }
  Range out = r;
  if (s.rows) out.row1 = a1, out.row2 = a2;
  else out.col1 = a1, out.col2 = a2;
  return out;
}

std::string shift_formula(std::string_view formula, std::string_view own, std::string_view target,
                          const Shift& shift) {
  return rewrite(formula, [&](std::string_view sheet, std::string_view prefix, Ref& ref) -> std::optional<std::string> {
    if (!same_name(sheet.empty() ? own : sheet, target)) return std::nullopt;
    Range before = ref.range();
    auto after = shift_range(before, shift);
    if (!after) return std::string(prefix) + "#REF!";
    if (*after == before) return std::nullopt;
    set_range(ref, *after);
    return std::string(prefix) + format_ref(ref);
  });
}

std::string translate_formula(std::string_view formula, int drow, int dcol) {
  if (drow == 0 && dcol == 0) return std::string(formula);
  return rewrite(formula, [&](std::string_view, std::string_view prefix, Ref& ref) -> std::optional<std::string> {
    bool bad = false;
    auto move = [&](Part& p, bool col, bool row) {
      if (col && !p.col_abs) {
        p.col += dcol;
        if (p.col < 1 || p.col > max_columns) bad = true;
      }
      if (row && !p.row_abs) {
        p.row += drow;
        if (p.row < 1 || p.row > max_rows) bad = true;
      }
    };
    bool cols = ref.kind != Kind::rows, rows = ref.kind != Kind::cols;
    move(ref.a, cols, rows);
    if (ref.kind != Kind::cell) move(ref.b, cols, rows);
    if (bad) return std::string(prefix) + "#REF!";
    return std::string(prefix) + format_ref(ref);
  });
}

std::string move_formula(std::string_view formula, std::string_view own, std::string_view target,
                         const Range& block, int drow, int dcol) {
  return rewrite(formula, [&](std::string_view sheet, std::string_view prefix, Ref& ref) -> std::optional<std::string> {
    if (!same_name(sheet.empty() ? own : sheet, target)) return std::nullopt;
    Range g = ref.range();
    if (!g.inside(block)) return std::nullopt;
    if (ref.kind != Kind::cols) g.row1 += drow, g.row2 += drow;
    if (ref.kind != Kind::rows) g.col1 += dcol, g.col2 += dcol;
    set_range(ref, g);
    return std::string(prefix) + format_ref(ref);
  });
}

std::string rename_in_formula(std::string_view formula, std::string_view from, std::string_view to) {
  return rewrite(formula, [&](std::string_view sheet, std::string_view, Ref& ref) -> std::optional<std::string> {
    if (sheet.empty() || !same_name(sheet, from)) return std::nullopt;
    if (to.empty()) return std::string("#REF!");
    return sheet_prefix(to) + format_ref(ref);
  });
}

int formula_reach(std::string_view formula) {
  int reach = 0;
  rewrite(formula, [&](std::string_view, std::string_view, Ref& ref) -> std::optional<std::string> {
    reach = std::max(reach, ref.range().row2);
    return std::nullopt;
  });
  return reach;
}

std::string sheet_prefix(std::string_view name) {
  bool plain = !name.empty() && !is_digit(name[0]);
  for (char c : name) {
    if (!(is_letter(c) || is_digit(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80)) plain = false;
  }
  if (plain && parse_range(name)) plain = false;
  if (plain) return std::string(name) + "!";
  std::string s = "'";
  for (char c : name) {
    if (c == '\'') s += '\'';
    s += c;
  }
  return s + "'!";
}

std::string fold_case(std::string_view t) {
  std::string out;
  out.reserve(t.size());
  for (size_t i = 0; i < t.size();) {
    unsigned char c = t[i];
    if (c < 0x80) {
      out += char(fold_cp(c));
      ++i;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < t.size()) {
      int cp = ((c & 0x1F) << 6) | (t[i + 1] & 0x3F);
      cp = fold_cp(cp);
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
      i += 2;
    } else {
      out += char(c);
      ++i;
    }
  }
  return out;
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  return a == b || fold_case(a) == fold_case(b);
}

}  // namespace hrdoc::sheet
