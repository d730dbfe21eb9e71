#include "suite/tplc/template_source.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "text/strings.h"
#include "sheet/book.h"

namespace hrdoc::tplc {
namespace {

using text::trim;

// Splits a directive into words; "quoted words" keep their blanks.
std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string w;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
      if (line[i] == '"')
        quoted = !quoted;
      else
        w += line[i];
      ++i;
    }
    out.push_back(w);
  }
  return out;
}

// Drops a "# comment" that stands outside quotes and outside the grid.
std::string strip_comment(const std::string& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '#' && !quoted && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  }
  return line;
}

double number(const std::string& s, const std::string& where) {
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (s.empty() || *end) throw TemplateError(where + ": \"" + s + "\" is not a number");
  return v;
}

unsigned colour(const std::string& hex, const std::string& where) {
  if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    throw TemplateError(where + ": colour \"" + hex + "\" must be RRGGBB");
  unsigned rgb = static_cast<unsigned>(std::strtoul(hex.c_str(), nullptr, 16));
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

Style parse_style(const std::vector<std::string>& w, size_t from, const std::string& where) {
  Style s;
  for (size_t i = from; i < w.size(); ++i) {
    const std::string& p = w[i];
    auto eq = p.find('=');
    std::string key = eq == std::string::npos ? p : p.substr(0, eq);
    std::string val = eq == std::string::npos ? "" : p.substr(eq + 1);
    if (key == "bold") s.bold = true;
    else if (key == "italic") s.italic = true;
    else if (key == "underline") s.underline = true;
    else if (key == "size") s.size = number(val, where);
    else if (key == "font") s.font = val;
    else if (key == "left" || key == "center" || key == "right") s.halign = key;
    else if (key == "top" || key == "bottom") s.valign = key;
    else if (key == "middle") s.valign = "center";
    else if (key == "wrap") s.wrap = true;
    else if (key == "box") s.edges |= 0x80;
    else if (key == "border") {
      std::stringstream in(val);
      std::string edge;
      while (std::getline(in, edge, ',')) {
        if (edge == "top") s.edges |= 0x02;
        else if (edge == "bottom") s.edges |= 0x04;
        else if (edge == "left") s.edges |= 0x08;
        else if (edge == "right") s.edges |= 0x10;
        else throw TemplateError(where + ": unknown border edge \"" + edge + "\" (top, bottom, left, right)");
      }
    } else if (key == "medium") s.weight = -4138;
    else if (key == "thick") s.weight = 4;
    else if (key == "fill") s.fill = colour(val, where);
    else if (key == "format") s.format = val;
    else if (key == "text") s.format = "@";
    else throw TemplateError(where + ": unknown style property \"" + p + "\"");
  }
  return s;
}

// Splits a grid line "| a | b {s} |" into cells; "\|" and "\{" stand for themselves.
Row parse_row(const std::string& line, int line_no, const std::string& where) {
  Row row;
  row.line = line_no;
  std::vector<std::string> raw;
  std::string cur;
  size_t i = 1;  // past the opening '|'
  size_t tail = std::string::npos;
  for (; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '|' || line[i + 1] == '{' || line[i + 1] == '\\')) {
      cur += '\x01';
      cur += line[++i];
      continue;
    }
    if (c == '|') {
      raw.push_back(cur);
      cur.clear();
      tail = i + 1;
      continue;
    }
    cur += c;
  }
  // Text after the last '|' holds row options; without a closing '|' it is the last cell.
  std::string options = tail == std::string::npos ? "" : trim(line.substr(tail));
  if (tail == std::string::npos || (!trim(cur).empty() && options.find('=') == std::string::npos)) {
    raw.push_back(cur);
    options.clear();
  }
  for (const auto& w : words(options)) {
    if (w.rfind("height=", 0) == 0)
      row.height = number(w.substr(7), where);
    else
      throw TemplateError(where + ": unknown row option \"" + w + "\" (height=N)");
  }
  for (auto& r : raw) {
    Cell cell;
    cell.line = line_no;
    std::string text = r;
    // Styles: a trailing "{a b}" not escaped.
    size_t open = std::string::npos;
    for (size_t k = 0; k < text.size(); ++k)
      if (text[k] == '{' && (k == 0 || text[k - 1] != '\x01')) open = k;
    if (open != std::string::npos) {
      size_t close = text.find('}', open);
      if (close == std::string::npos) throw TemplateError(where + ": \"{\" without \"}\"");
      cell.styles = words(text.substr(open + 1, close - open - 1));
      if (!trim(text.substr(close + 1)).empty()) throw TemplateError(where + ": text after the styles of a cell");
      text = text.substr(0, open);
    }
    text = trim(text);
    std::string plain;
    for (size_t k = 0; k < text.size(); ++k)
      if (text[k] != '\x01') plain += text[k];
    // "<*N", "^*N" and "*N" stand for N such cells (N empty ones for "*N").
    size_t repeat = 1;
    if (const size_t star = text.find('*'); star != std::string::npos && star <= 1 && star + 1 < text.size() &&
                                             (star == 0 || text[0] == '<' || text[0] == '^') &&
                                             text.find_first_not_of("0123456789", star + 1) == std::string::npos) {
      repeat = static_cast<size_t>(number(text.substr(star + 1), where));
      if (repeat < 1 || repeat > 16384) throw TemplateError(where + ": a repeat count from 1 to 16384");
      text = text.substr(0, star);
      plain = text;
    }
    if (text == "<")
      cell.kind = Cell::merge_left;
    else if (text == "^")
      cell.kind = Cell::merge_up;
    cell.text = cell.kind == Cell::value ? plain : "";
    for (size_t k = 1; k < repeat; ++k) row.cells.push_back(cell);
    row.cells.push_back(std::move(cell));
  }
  return row;
}

std::string cell_where(const TemplateSource& src, const SheetSource& sh, int row, int col) {
  return src.file + ": sheet \"" + sh.name + "\", cell " + sheet::cell_name(row, col) + " (line " +
         std::to_string(sh.rows[static_cast<size_t>(row - 1)].line) + ")";
}

}  // namespace

TemplateSource parse_template(const std::string& text, const std::string& file) {
  TemplateSource src;
  src.file = file;
  std::istringstream in(text);
  std::string line;
  int line_no = 0;
  bool pending_break = false;
  while (std::getline(in, line)) {
    ++line_no;
    const std::string where = file + ":" + std::to_string(line_no);
    std::string t = trim(line);
    if (!t.empty() && t[0] == '|') {
      if (src.sheets.empty()) throw TemplateError(where + ": a grid row before any \"sheet\" line");
      Row row = parse_row(t, line_no, where);
      row.page_break_before = pending_break;
      pending_break = false;
      src.sheets.back().rows.push_back(std::move(row));
      continue;
    }
    t = trim(strip_comment(t));
    if (t.empty()) continue;
    auto w = words(t);
    const std::string& d = w[0];
    if (d == "sheet") {
      if (w.size() < 2) throw TemplateError(where + ": \"sheet\" needs a name");
      SheetSource sh;
      sh.name = w[1];
      for (size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "landscape") sh.landscape = true;
        else if (w[i] == "portrait") sh.landscape = false;
        else if (w[i] == "fit-width") sh.fit_width = true;
        else if (w[i] == "A4") sh.paper = 9;
        else if (w[i] == "A3") sh.paper = 8;
        else throw TemplateError(where + ": unknown sheet option \"" + w[i] + "\"");
      }
      src.sheets.push_back(std::move(sh));
      continue;
    }
    if (src.sheets.empty()) throw TemplateError(where + ": \"" + d + "\" before any \"sheet\" line");
    SheetSource& sh = src.sheets.back();
    if (d == "font") {
      if (w.size() != 3) throw TemplateError(where + ": \"font\" takes a name and a size");
      sh.font = w[1];
      sh.font_size = number(w[2], where);
    } else if (d == "margins") {
      if (w.size() != 5) throw TemplateError(where + ": \"margins\" takes left, right, top and bottom in cm");
      for (int i = 0; i < 4; ++i) sh.margins[i] = number(w[static_cast<size_t>(i) + 1], where) / 2.54;
    } else if (d == "columns") {
      for (size_t i = 1; i < w.size(); ++i) {
        // "W*N": N columns of width W.
        const size_t star = w[i].find('*');
        const std::string width = w[i].substr(0, star);
        const double count = star == std::string::npos ? 1 : number(w[i].substr(star + 1), where);
        if (count < 1 || count > 16384 || count != static_cast<int>(count))
          throw TemplateError(where + ": a column repeat count from 1 to 16384");
        for (int k = 0; k < static_cast<int>(count); ++k) sh.widths.push_back(width == "-" ? -1 : number(width, where));
      }
    } else if (d == "style") {
      if (w.size() < 2) throw TemplateError(where + ": \"style\" needs a name");
      sh.styles[w[1]] = parse_style(w, 2, where);
    } else if (d == "print-titles") {
      if (w.size() != 2 || w[1].find(':') == std::string::npos)
        throw TemplateError(where + ": \"print-titles\" takes rows as FIRST:LAST");
      sh.print_title_first = static_cast<int>(number(w[1].substr(0, w[1].find(':')), where));
      sh.print_title_last = static_cast<int>(number(w[1].substr(w[1].find(':') + 1), where));
    } else if (d == "page-break") {
      pending_break = true;
    } else {
      throw TemplateError(where + ": unknown line \"" + d + "\"");
    }
  }
  if (src.sheets.empty()) throw TemplateError(file + ": no \"sheet\" line");
  return src;
}

void build_book(const TemplateSource& src, sheet::Book& book) {
  for (size_t si = 0; si < src.sheets.size(); ++si) {
    const SheetSource& sh = src.sheets[si];
    sheet::Sheet& s = si == 0 ? book.sheet(1) : book.add_sheet(sh.name);
    if (si == 0) book.rename_sheet(1, sh.name);
    // Cells a report writes without a format of their own print in the form's font.
    if (si == 0 && !sh.font.empty()) book.styles().set_default_font(sh.font, sh.font_size);

    auto& page = s.page_setup();
    page.orientation = sh.landscape ? "landscape" : "portrait";
    page.paper_size = sh.paper;
    if (sh.fit_width) {
      page.fit_width = 1;
      page.fit_height = 0;
    }
    page.left = sh.margins[0];
    page.right = sh.margins[1];
    page.top = sh.margins[2];
    page.bottom = sh.margins[3];
    for (size_t c = 0; c < sh.widths.size(); ++c) {
      const int col = static_cast<int>(c) + 1;
      if (sh.widths[c] == 0)
        s.hide_columns(col, col);
      else if (sh.widths[c] > 0)
        s.set_column_width(col, sh.widths[c]);
    }

    // Each cell belongs to the merged area of its anchor; "<" and "^" take their neighbour's.
    const int nrows = static_cast<int>(sh.rows.size());
    std::vector<std::vector<std::pair<int, int>>> anchor(static_cast<size_t>(nrows));
    for (int r = 1; r <= nrows; ++r) {
      const Row& row = sh.rows[static_cast<size_t>(r - 1)];
      auto& a = anchor[static_cast<size_t>(r - 1)];
      for (int c = 1; c <= static_cast<int>(row.cells.size()); ++c) {
        const Cell& cell = row.cells[static_cast<size_t>(c - 1)];
        if (cell.kind == Cell::merge_left) {
          if (c == 1) throw TemplateError(cell_where(src, sh, r, c) + ": \"<\" in the first column");
          a.push_back(a[static_cast<size_t>(c - 2)]);
        } else if (cell.kind == Cell::merge_up) {
          const auto& above = r > 1 ? anchor[static_cast<size_t>(r - 2)] : std::vector<std::pair<int, int>>{};
          if (static_cast<int>(above.size()) < c) throw TemplateError(cell_where(src, sh, r, c) + ": \"^\" with no cell above");
          a.push_back(above[static_cast<size_t>(c - 1)]);
        } else {
          a.push_back({r, c});
        }
      }
    }
    std::map<std::pair<int, int>, sheet::Range> areas;
    for (int r = 1; r <= nrows; ++r)
      for (int c = 1; c <= static_cast<int>(anchor[static_cast<size_t>(r - 1)].size()); ++c) {
        auto key = anchor[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)];
        auto [it, fresh] = areas.try_emplace(key, sheet::Range{r, c, r, c});
        if (!fresh) {
          it->second.row2 = std::max(it->second.row2, r);
          it->second.col2 = std::max(it->second.col2, c);
        }
      }
    for (auto& [key, area] : areas) {
      for (int r = area.row1; r <= area.row2; ++r)
        for (int c = area.col1; c <= area.col2; ++c) {
          const auto& a = anchor[static_cast<size_t>(r - 1)];
          if (static_cast<int>(a.size()) < c || a[static_cast<size_t>(c - 1)] != key)
            throw TemplateError(cell_where(src, sh, r, c) + ": the merged area of " + sheet::cell_name(key.first, key.second) +
                                " is not a rectangle");
        }
      if (area.rows() > 1 || area.columns() > 1) s.merge(area);
    }

    // The sheet's font for every cell written, then each cell's own styles.
    for (int r = 1; r <= nrows; ++r) {
      const Row& row = sh.rows[static_cast<size_t>(r - 1)];
      if (row.height > 0) s.set_row_height(r, row.height);
      if (row.page_break_before && r > 1) s.add_row_break(r);
      for (int c = 1; c <= static_cast<int>(row.cells.size()); ++c) {
        const Cell& cell = row.cells[static_cast<size_t>(c - 1)];
        const std::string where = cell_where(src, sh, r, c);
        auto key = anchor[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)];
        // Merged cells take the styles of their area's first cell unless they name their own.
        const Cell& styled = cell.styles.empty() && key != std::make_pair(r, c)
                                 ? sh.rows[static_cast<size_t>(key.first - 1)].cells[static_cast<size_t>(key.second - 1)]
                                 : cell;
        Style st;
        bool any = false;
        for (const auto& name : styled.styles) {
          auto it = sh.styles.find(name);
          if (it == sh.styles.end()) throw TemplateError(where + ": unknown style \"" + name + "\"");
          const Style& x = it->second;
          st.bold |= x.bold, st.italic |= x.italic, st.underline |= x.underline, st.wrap |= x.wrap;
          if (x.size) st.size = x.size;
          if (!x.font.empty()) st.font = x.font;
          if (!x.halign.empty()) st.halign = x.halign;
          if (!x.valign.empty()) st.valign = x.valign;
          if (x.edges) st.edges |= x.edges, st.weight = x.weight;
          if (x.fill) st.fill = x.fill;
          if (!x.format.empty()) st.format = x.format;
          any = true;
        }
        const sheet::Range one{r, c, r, c};
        // The inner cells of a merged area show nothing of their own: they carry only their
        // part of the area's frame, so a wide grid of merged texts stays small.
        if (cell.styles.empty() && key != std::make_pair(r, c)) {
          if (st.edges) s.set_borders(one, (st.edges & 0x80) ? 0x1E : st.edges, st.weight, 0);
          continue;
        }
        if (!cell.text.empty() || any) {
          s.set_font(one, st.font.empty() ? sh.font : st.font, st.size ? st.size : sh.font_size, st.bold, st.italic,
                     st.underline);
        }
        if (!st.halign.empty())
          s.set_horizontal_alignment(one, st.halign == "left"     ? sheet::HAlign::left
                                          : st.halign == "center" ? sheet::HAlign::center
                                                                  : sheet::HAlign::right);
        if (!st.valign.empty())
          s.set_vertical_alignment(one, st.valign == "top"      ? sheet::VAlign::top
                                        : st.valign == "center" ? sheet::VAlign::center
                                                                : sheet::VAlign::bottom);
        if (st.wrap) s.set_wrap(one, true);
        if (st.fill) s.set_fill(one, *st.fill);
        if (!st.format.empty()) s.set_number_format(one, st.format);
        if (st.edges) s.set_borders(one, (st.edges & 0x80) ? 0x1E : st.edges, st.weight, 0);

        const std::string& text = cell.text;
        if (text.empty()) continue;
        char* end = nullptr;
        double v = std::strtod(text.c_str(), &end);
        if (text[0] == '\'')
          s.set_text(r, c, text.substr(1));
        else if (text[0] == '=' && text.size() > 1)
          s.set_formula(r, c, text.substr(1));
        else if (*end == 0 && text.find_first_not_of("0123456789.-+") == std::string::npos)
          s.set_number(r, c, v);
        else
          s.set_text(r, c, text);
      }
    }
    if (sh.print_title_first > 0) book.set_print_titles(static_cast<int>(si) + 1, sh.print_title_first, sh.print_title_last);
  }
  book.set_active_sheet(1);
}

void compile_template(const std::string& source_path, const std::string& xlsx_path) {
  std::ifstream in(source_path, std::ios::binary);
  if (!in) throw TemplateError(source_path + ": cannot be read");
  std::stringstream text;
  text << in.rdbuf();
  TemplateSource src = parse_template(text.str(), source_path);
  sheet::Book book;
  build_book(src, book);
  book.save(xlsx_path);
}

}  // namespace hrdoc::tplc
