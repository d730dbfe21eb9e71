// Reading an .xlsx package into the model.
#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <unordered_map>

#include "sheet/book.h"
#include "sheet/xml.h"
#include "sheet/zip_io.h"

namespace hrdoc::sheet {

namespace {

std::string node_xml(const pugi::xml_node& n) {
  std::ostringstream os;
  n.print(os, "", pugi::format_raw);
  return os.str();
}

std::string attrs_xml(const pugi::xml_node& n, std::initializer_list<const char*> skip = {}) {
  std::string s;
  for (auto a : n.attributes()) {
    bool drop = false;
    for (auto* k : skip) drop |= std::strcmp(a.name(), k) == 0;
    if (drop) continue;
    s += ' ';
    s += a.name();
    s += "=\"";
    xml::escape(s, a.value(), true);
    s += '"';
  }
  return s;
}

// Resolves a relationship target against the folder of the part that holds it.
std::string resolve(const std::string& base_part, std::string target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  std::string dir = base_part.substr(0, base_part.rfind('/') == std::string::npos ? 0 : base_part.rfind('/') + 1);
  std::string path = dir + target;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t e = path.find('/', start);
    if (e == std::string::npos) e = path.size();
    std::string seg = path.substr(start, e - start);
    if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!seg.empty() && seg != ".") {
      parts.push_back(seg);
    }
    start = e + 1;
  }
  std::string out;
  for (auto& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

std::string rels_name(const std::string& part) {
  auto slash = part.rfind('/');
  if (slash == std::string::npos) return "_rels/" + part + ".rels";
  return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

bool ends_with(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Order of the children of a worksheet element in the file format.
int worksheet_order(std::string_view name) {
  static const char* order[] = {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData",
                                "sheetCalcPr", "sheetProtection", "protectedRanges", "scenarios", "autoFilter",
                                "sortState", "dataConsolidate", "customSheetViews", "mergeCells", "phoneticPr",
                                "conditionalFormatting", "dataValidations", "hyperlinks", "printOptions",
                                "pageMargins", "pageSetup", "headerFooter", "rowBreaks", "colBreaks",
                                "customProperties", "cellWatches", "ignoredErrors", "smartTags", "drawing",
                                "legacyDrawing", "legacyDrawingHF", "picture", "oleObjects", "controls",
                                "webPublishItems", "tableParts", "extLst"};
  for (size_t i = 0; i < std::size(order); ++i) {
    if (name == order[i]) return static_cast<int>(i);
  }
  return static_cast<int>(std::size(order)) - 1;
}

int workbook_order(std::string_view name) {
  static const char* order[] = {"fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews", "sheets",
                                "functionGroups", "externalReferences", "definedNames", "calcPr", "oleSize",
                                "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes", "webPublishing",
                                "fileRecoveryPr", "webPublishObjects", "extLst"};
  for (size_t i = 0; i < std::size(order); ++i) {
    if (name == order[i]) return static_cast<int>(i);
  }
  return static_cast<int>(std::size(order)) - 1;
}

struct Rel {
  std::string id, type, target;  // target resolved to a part name, or verbatim when external
  bool external = false;
};

}  // namespace

int worksheet_child_order(std::string_view name) { return worksheet_order(name); }
int workbook_child_order(std::string_view name) { return workbook_order(name); }

struct XlsxReader {
  Book& book;
  ZipReader& zip;
  std::string file;
  std::vector<uint32_t> shared;  // shared string index -> pool id

  pugi::xml_document parse(const std::string& part, bool required = true) {
    pugi::xml_document doc;
    auto data = zip.read(part);
    if (!data) {
      if (required) throw Error(file, part, "the part is missing");
      return doc;
    }
    // A text of blanks only (a cell holding one space) is a value, not layout.
    auto res = doc.load_buffer(data->data(), data->size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
                               pugi::encoding_utf8);
    if (!res) {
      throw Error(file, part, std::string("malformed XML at byte ") + std::to_string(res.offset) + ": " + res.description());
    }
    return doc;
  }

  std::vector<Rel> rels(const std::string& part) {
    std::vector<Rel> out;
    auto doc = parse(rels_name(part), false);
    for (auto r : doc.child("Relationships").children("Relationship")) {
      Rel rel;
      rel.id = r.attribute("Id").value();
      rel.type = r.attribute("Type").value();
      rel.external = std::string_view(r.attribute("TargetMode").value()) == "External";
      rel.target = rel.external ? r.attribute("Target").value() : resolve(part, r.attribute("Target").value());
      out.push_back(rel);
    }
    return out;
  }

  static std::string rel_xml(const Rel& r) {
    std::string s = "<Relationship Id=\"" + xml::escaped(r.id, true) + "\" Type=\"" + xml::escaped(r.type, true) +
                    "\" Target=\"";
    if (r.external) s += xml::escaped(r.target, true) + "\" TargetMode=\"External\"/>";
    else s += "/" + xml::escaped(r.target, true) + "\"/>";
    return s;
  }

  void run() {
    auto names = zip.names();
    // Package relationships and content types.
    auto types = parse("[Content_Types].xml");
    if (!types.child("Types")) throw Error(file, "[Content_Types].xml", "no Types element");
    for (auto d : types.child("Types").children("Default")) {
      book.default_types_.emplace_back(d.attribute("Extension").value(), d.attribute("ContentType").value());
    }
    for (auto o : types.child("Types").children("Override")) {
      std::string p = o.attribute("PartName").value();
      if (!p.empty() && p[0] == '/') p.erase(0, 1);
      book.content_types_[p] = o.attribute("ContentType").value();
    }
    std::string wb_part;
    for (auto& r : rels("")) {
      if (ends_with(r.type, "/officeDocument")) wb_part = r.target;
      else book.root_rels_.push_back(rel_xml(r));
    }
    if (wb_part.empty()) wb_part = "xl/workbook.xml";
    auto wb = parse(wb_part);
    auto root = wb.child("workbook");
    if (!root) throw Error(file, wb_part, "no workbook element (not a spreadsheet)");
    std::unordered_map<std::string, Rel> wb_rels;
    std::vector<std::string> dropped = {"[Content_Types].xml", "_rels/.rels", wb_part, rels_name(wb_part)};
    for (auto& r : rels(wb_part)) {
      wb_rels[r.id] = r;
      std::string_view t = r.type;
      if (ends_with(t, "/worksheet") || ends_with(t, "/sharedStrings") || ends_with(t, "/styles") ||
          ends_with(t, "/calcChain")) {
        dropped.push_back(r.target);
        dropped.push_back(rels_name(r.target));
      } else if (ends_with(t, "/chartsheet") || ends_with(t, "/dialogsheet") || ends_with(t, "/macrosheet")) {
        throw Error(file, r.target, "chart, dialog and macro sheets are not supported");
      } else {
        book.book_rels_.push_back(rel_xml(r));
      }
    }
    for (auto& [id, r] : wb_rels) {
      if (ends_with(r.type, "/sharedStrings")) read_shared(r.target);
      if (ends_with(r.type, "/styles")) {
        auto data = zip.read(r.target);
        if (!data) throw Error(file, r.target, "the part is missing");
        book.styles_.load(*data, file);
      }
    }
    book.root_attrs_ = attrs_xml(root);
    book.sheets_.clear();
    for (auto child : root.children()) {
      std::string_view name = child.name();
      if (name == "sheets") {
        for (auto s : child.children("sheet")) {
          std::string rid = s.attribute("r:id").value();
          if (rid.empty()) {
            for (auto a : s.attributes()) {
              if (ends_with(a.name(), ":id")) rid = a.value();
            }
          }
          auto it = wb_rels.find(rid);
          if (it == wb_rels.end()) throw Error(file, wb_part, std::string("sheet '") + s.attribute("name").value() + "' has no part");
          auto sheet = std::unique_ptr<Sheet>(new Sheet(&book, s.attribute("name").value()));
          sheet->state_ = s.attribute("state").value();
          if (sheet->name_.empty()) throw Error(file, wb_part, "a sheet without a name");
          read_sheet(*sheet, it->second.target);
          book.sheets_.push_back(std::move(sheet));
        }
      } else if (name == "definedNames") {
        for (auto d : child.children("definedName")) {
          DefinedName dn;
          dn.name = d.attribute("name").value();
          dn.formula = d.text().get();
          dn.hidden = d.attribute("hidden").as_bool();
          if (auto l = d.attribute("localSheetId")) dn.sheet = l.as_int(-1) + 1;
          book.names_.push_back(dn);
        }
      } else if (name == "bookViews") {
        auto v = child.child("workbookView");
        for (auto a : v.attributes()) book.view_attrs_.emplace_back(a.name(), a.value());
      } else if (name == "calcPr" || name == "sheets") {
        continue;
      } else {
        book.kept_.emplace_back(workbook_order(name), node_xml(child));
      }
    }
    if (book.sheets_.empty()) throw Error(file, wb_part, "the workbook has no sheets");
    int n = book.sheet_count();
    book.names_.erase(std::remove_if(book.names_.begin(), book.names_.end(),
                                     [&](const DefinedName& d) { return d.sheet < 0 || d.sheet > n || d.name.empty(); }),
                      book.names_.end());
    for (auto& [k, v] : book.view_attrs_) {
      if (k == "activeTab") book.active_ = std::clamp(std::atoi(v.c_str()) + 1, 1, n);
    }
    for (auto& nm : names) {
      if (nm.empty() || nm.back() == '/') continue;
      if (std::find(dropped.begin(), dropped.end(), nm) != dropped.end()) continue;
      book.kept_parts_.push_back(nm);
    }
  }

  void read_shared(const std::string& part) {
    auto doc = parse(part);
    for (auto si : doc.child("sst").children("si")) {
      std::string text;
      if (auto t = si.child("t")) {
        text = t.text().get();
        shared.push_back(book.intern(xml::unescape_x(text)));
        continue;
      }
      // Rich text: the runs are kept as they are, the plain text serves reading.
      std::string runs;
      for (auto r : si.children()) runs += node_xml(r);
      for (auto r : si.children("r")) text += r.child("t").text().get();
      shared.push_back(book.add_rich(xml::unescape_x(text), runs));
    }
  }

  [[noreturn]] void bad(const std::string& part, const std::string& what) { throw Error(file, part, what); }

  void read_sheet(Sheet& sh, const std::string& part) {
    auto doc = parse(part);
    auto root = doc.child("worksheet");
    if (!root) bad(part, "no worksheet element");
    sh.root_attrs_ = attrs_xml(root);
    std::string where = part + " (sheet '" + sh.name_ + "')";
    // Relationships: kept with absolute targets for the sheet's new part name.
    std::string rels_xml;
    for (auto& r : rels(part)) rels_xml += rel_xml(r);
    sh.rels_ = rels_xml;
    for (auto child : root.children()) {
      std::string_view name = child.name();
      if (name == "sheetData") {
        read_cells(sh, child, where);
      } else if (name == "cols") {
        for (auto c : child.children("col")) {
          int mn = c.attribute("min").as_int(0), mx = c.attribute("max").as_int(0);
          if (mn < 1 || mx < mn || mx > max_columns) bad(where, "column range " + std::to_string(mn) + ".." + std::to_string(mx) + " is outside the sheet");
          // Excel writes max=16384 for "the rest of the columns"; keep the vector small.
          int last = std::min(mx, mn + 256);
          if (last > static_cast<int>(sh.cols_.size())) sh.cols_.resize(last);
          for (int k = mn; k <= last; ++k) {
            auto& col = sh.cols_[k - 1];
            if (c.attribute("customWidth").as_bool() || c.attribute("width")) col.width = c.attribute("width").as_double(0);
            col.hidden = c.attribute("hidden").as_bool();
            col.style = c.attribute("style").as_uint(0);
            if (col.style >= book.styles_.size()) col.style = 0;
            col.outline = static_cast<uint8_t>(c.attribute("outlineLevel").as_uint(0));
          }
        }
      } else if (name == "mergeCells") {
        for (auto m : child.children("mergeCell")) {
          auto r = parse_range(m.attribute("ref").value());
          if (!r) bad(where, std::string("bad merged range '") + m.attribute("ref").value() + "'");
          if (r->rows() > 1 || r->columns() > 1) sh.add_merge(*r);
        }
      } else if (name == "rowBreaks" || name == "colBreaks") {
        auto& v = name == "rowBreaks" ? sh.row_breaks_ : sh.col_breaks_;
        int limit = name == "rowBreaks" ? max_rows : max_columns;
        for (auto b : child.children("brk")) {
          int id = b.attribute("id").as_int(0);
          if (id >= 1 && id < limit) v.push_back(id + 1);
        }
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
      } else if (name == "pageMargins") {
        auto& p = sh.page_;
        p.left = child.attribute("left").as_double(p.left);
        p.right = child.attribute("right").as_double(p.right);
        p.top = child.attribute("top").as_double(p.top);
        p.bottom = child.attribute("bottom").as_double(p.bottom);
        p.header = child.attribute("header").as_double(p.header);
        p.footer = child.attribute("footer").as_double(p.footer);
      } else if (name == "pageSetup") {
        auto& p = sh.page_;
        p.orientation = child.attribute("orientation").value();
        if (p.orientation == "default") p.orientation.clear();
        p.paper_size = child.attribute("paperSize").as_int(0);
        p.scale = child.attribute("scale").as_int(0);
        if (child.attribute("fitToWidth")) p.fit_width = child.attribute("fitToWidth").as_int(1);
        if (child.attribute("fitToHeight")) p.fit_height = child.attribute("fitToHeight").as_int(1);
        sh.page_extra_ = attrs_xml(child, {"orientation", "paperSize", "scale", "fitToWidth", "fitToHeight"});
      } else if (name == "sheetPr") {
        bool fit = child.child("pageSetUpPr").attribute("fitToPage").as_bool();
        if (fit) {
          if (sh.page_.fit_width < 0) sh.page_.fit_width = 1;
          if (sh.page_.fit_height < 0) sh.page_.fit_height = 1;
        }
        child.remove_child("pageSetUpPr");
        sh.sheet_pr_ = node_xml(child);
      } else if (name == "dimension") {
        continue;
      } else if (name == "sheetFormatPr") {
        sh.default_row_height_ = child.attribute("defaultRowHeight").as_double(15);
        if (child.attribute("defaultColWidth")) sh.default_col_width_ = child.attribute("defaultColWidth").as_double(8.43);
        sh.kept_.emplace_back(worksheet_order(name), node_xml(child));
      } else if (name == "conditionalFormatting") {
        add_ranged(sh, 0, child, "sqref", where);
      } else if (name == "dataValidations") {
        for (auto d : child.children("dataValidation")) add_ranged(sh, 1, d, "sqref", where);
      } else if (name == "hyperlinks") {
        for (auto h : child.children("hyperlink")) add_ranged(sh, 2, h, "ref", where);
      } else {
        sh.kept_.emplace_back(worksheet_order(name), node_xml(child));
      }
    }
    if (sh.page_.fit_width >= 0 && sh.page_.fit_height < 0) sh.page_.fit_height = 1;
    if (sh.page_.fit_height >= 0 && sh.page_.fit_width < 0) sh.page_.fit_width = 1;
  }

  void add_ranged(Sheet& sh, int kind, pugi::xml_node node, const char* attr, const std::string& where) {
    Sheet::Ranged r;
    r.kind = kind;
    std::string sq = node.attribute(attr).value();
    size_t start = 0;
    while (start < sq.size()) {
      size_t e = sq.find(' ', start);
      if (e == std::string::npos) e = sq.size();
      if (e > start) {
        auto g = parse_range(std::string_view(sq).substr(start, e - start));
        if (!g) bad(where, "bad range '" + sq + "'");
        r.ranges.push_back(*g);
      }
      start = e + 1;
    }
    node.attribute(attr).set_value("@@SQREF@@");
    r.xml = node_xml(node);
    if (!r.ranges.empty()) sh.ranged_.push_back(std::move(r));
  }

  void read_cells(Sheet& sh, pugi::xml_node data, const std::string& where) {
    struct Master {
      std::string text;
      int row, col;
    };
    std::unordered_map<std::string, Master> masters;
    int next_row = 1;
    for (auto rn : data.children("row")) {
      int r = next_row;
      if (auto a = rn.attribute("r")) {
        long v = std::strtol(a.value(), nullptr, 10);
        if (v < 1 || v > max_rows) bad(where, std::string("row number ") + a.value() + " is outside the sheet");
        r = static_cast<int>(v);
      }
      next_row = r + 1;
      Sheet::Row& row = sh.row_at(r);
      if (rn.attribute("customHeight").as_bool() || rn.attribute("ht")) {
        double ht = rn.attribute("ht").as_double(0);
        if (rn.attribute("customHeight").as_bool()) row.height = static_cast<float>(std::clamp(ht, 0.0, 409.0));
      }
      row.hidden = rn.attribute("hidden").as_bool();
      row.custom_format = rn.attribute("customFormat").as_bool();
      row.style = rn.attribute("s").as_uint(0);
      if (row.style >= book.styles_.size()) row.style = 0;
      row.outline = static_cast<uint8_t>(std::min(7u, rn.attribute("outlineLevel").as_uint(0)));
      int next_col = 1;
      bool sorted = true;
      for (auto cn : rn.children("c")) {
        int col = next_col;
        if (auto a = cn.attribute("r")) {
          auto ref = parse_range(a.value());
          if (!ref || ref->row1 != ref->row2 || ref->col1 != ref->col2) bad(where, std::string("bad cell reference '") + a.value() + "'");
          if (ref->row1 != r) bad(where, std::string("cell ") + a.value() + " is filed under row " + std::to_string(r));
          col = ref->col1;
        }
        if (col > max_columns) bad(where, "column " + std::to_string(col) + " is outside the sheet");
        next_col = col + 1;
        if (!row.cells.empty() && row.cells.back().col >= static_cast<uint32_t>(col)) sorted = false;
        Sheet::Cell c{};
        c.col = col;
        c.style = cn.attribute("s").as_uint(0);
        if (c.style >= book.styles_.size()) c.style = 0;
        c.type = ValueType::empty;
        c.number = 0;
        std::string_view t = cn.attribute("t").value();
        auto v = cn.child("v");
        const char* vtext = v.text().get();
        ValueType vt = ValueType::empty;
        double num = 0;
        uint32_t sid = 0;
        if (t == "s") {
          if (v) {
            unsigned long i = std::strtoul(vtext, nullptr, 10);
            if (i >= shared.size()) bad(where, "cell " + cell_name(r, col) + " refers to a missing shared string");
            vt = ValueType::text, sid = shared[i];
          }
        } else if (t == "inlineStr") {
          std::string text;
          auto is = cn.child("is");
          if (auto tt = is.child("t")) text = tt.text().get();
          else for (auto run : is.children("r")) text += run.child("t").text().get();
          vt = ValueType::text, sid = book.intern(xml::unescape_x(text));
        } else if (t == "str" || t == "d") {
          if (v) vt = ValueType::text, sid = book.intern(xml::unescape_x(vtext));
        } else if (t == "b") {
          if (v) vt = ValueType::boolean, num = std::strtol(vtext, nullptr, 10) != 0;
        } else if (t == "e") {
          if (v) vt = ValueType::error, sid = book.intern(vtext);
        } else if (v) {
          char* end = nullptr;
          num = std::strtod(vtext, &end);
          if (end == vtext) bad(where, "cell " + cell_name(r, col) + " holds '" + vtext + "' where a number belongs");
          vt = ValueType::number;
        }
        if (auto f = cn.child("f")) {
          std::string text = f.text().get();
          std::string_view ft = f.attribute("t").value();
          if (ft == "shared") {
            std::string si = f.attribute("si").value();
            if (!text.empty()) {
              masters[si] = {text, r, col};
            } else if (auto m = masters.find(si); m != masters.end()) {
              text = translate_formula(m->second.text, r - m->second.row, col - m->second.col);
            }
          }
          if (!text.empty()) {
            uint32_t id = book.add_formula(text, &sh);
            auto& fr = book.formulas_[id];
            fr.cached = vt;
            fr.number = num;
            fr.cached_text = sid;
            if (ft == "array") {
              auto g = parse_range(f.attribute("ref").value());
              if (g && g->row1 == r && g->col1 == col && g->rows() <= 65535 && g->columns() <= 65535) {
                fr.array_rows = static_cast<uint16_t>(g->rows());
                fr.array_cols = static_cast<uint16_t>(g->columns());
              }
            }
            c.type = ValueType::formula;
            c.index = id;
            ++sh.formula_cells_;
            row.cells.push_back(c);
            continue;
          }
        }
        c.type = vt;
        if (vt == ValueType::text || vt == ValueType::error) c.index = sid;
        else c.number = num;
        row.cells.push_back(c);
      }
      if (!sorted) {
        std::stable_sort(row.cells.begin(), row.cells.end(), [](auto& a, auto& b) { return a.col < b.col; });
        // Keep the last of duplicated cells.
        std::vector<Sheet::Cell> uniq;
        for (auto& c : row.cells) {
          if (!uniq.empty() && uniq.back().col == c.col) {
            sh.forget(uniq.back());
            uniq.back() = c;
          } else {
            uniq.push_back(c);
          }
        }
        row.cells.swap(uniq);
      }
    }
  }
};

Book::Book(const std::string& path) : path_(path) {
  ZipReader zip(path);
  XlsxReader reader{*this, zip, path, {}};
  reader.run();
  // Kept parts are copied from the source at save time.
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw Error(path, "", "cannot read the file");
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  source_.resize(size > 0 ? size : 0);
  size_t got = source_.empty() ? 0 : std::fread(source_.data(), 1, source_.size(), f);
  std::fclose(f);
  if (got != source_.size()) throw Error(path, "", "cannot read the file");
}

Book::Book(const void* data, size_t size, const std::string& name) : path_(name) {
  source_.assign(static_cast<const char*>(data), size);
  ZipReader zip(source_.data(), source_.size(), name);
  XlsxReader reader{*this, zip, name, {}};
  reader.run();
}

}  // namespace hrdoc::sheet
