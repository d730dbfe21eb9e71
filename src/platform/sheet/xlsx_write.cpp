// Writing the model as an .xlsx package.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "sheet/book.h"
#include "sheet/xml.h"
#include "sheet/zip_io.h"

namespace hrdoc::sheet {

int worksheet_child_order(std::string_view name);
int workbook_child_order(std::string_view name);

namespace {

const char* const ns_main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const ns_rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const rel_base = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const char* const ct_base = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

// Appends to a temporary file in large pieces.
class Out {
 public:
  Out(const std::string& book_path) {
    const char* dir = std::getenv("TMPDIR");
    path_ = std::string(dir && *dir ? dir : "/tmp") + "/hrdoc-sheet-XXXXXX";
    int fd = ::mkstemp(path_.data());
    if (fd < 0) throw Error(book_path, "", "cannot create a temporary file in " + path_);
    f_ = ::fdopen(fd, "wb");
    if (!f_) {
      ::close(fd);
      ::unlink(path_.c_str());
      throw Error(book_path, "", "cannot open a temporary file");
    }
    book_ = book_path;
    buf_.reserve(1 << 20);
  }
  ~Out() {
    if (f_) std::fclose(f_);
    if (!handed_) ::unlink(path_.c_str());
  }
  std::string& buf() { return buf_; }
  void maybe_flush() {
    if (buf_.size() >= (1 << 20)) flush();
  }
  void flush() {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) {
      throw Error(book_, "", "cannot write a temporary file (disk full?)");
    }
    written_ += static_cast<int64_t>(buf_.size());
    buf_.clear();
  }
  // Bytes written so far, the buffer included.
  int64_t offset() const { return written_ + static_cast<int64_t>(buf_.size()); }
  // Closes the file and gives its path to the archive, which removes it.
  std::string hand_over() {
    flush();
    if (std::fclose(f_) != 0) {
      f_ = nullptr;
      throw Error(book_, "", "cannot write a temporary file");
    }
    f_ = nullptr;
    handed_ = true;
    return path_;
  }

 private:
  FILE* f_ = nullptr;
  std::string path_, book_, buf_;
  int64_t written_ = 0;
  bool handed_ = false;
};

void put_number(std::string& s, double v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  s.append(buf, r.ptr);
}

void put_int(std::string& s, long v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  s.append(buf, r.ptr);
}

std::string num(double v) {
  std::string s;
  put_number(s, v);
  return s;
}

std::string attr(const std::string& name, const std::string& value) {
  return " " + name + "=\"" + xml::escaped(value, true) + "\"";
}

}  // namespace

struct XlsxWriter {
  Book& book;
  std::string path;
  std::vector<uint32_t> sst;       // pool id -> shared index (UINT32_MAX = unused)
  std::vector<uint32_t> sst_order;  // shared index -> pool id
  std::vector<std::string> col_names;
  size_t sst_refs = 0;     // text cells, each a reference into the shared strings
  bool complete = true;    // every formula carries its result

  const std::string& col_name(uint32_t c) {
    if (c >= col_names.size()) {
      size_t old = col_names.size();
      col_names.resize(c + 1);
      for (size_t k = std::max<size_t>(old, 1); k <= c; ++k) col_names[k] = column_name(static_cast<int>(k));
    }
    return col_names[c];
  }

  void collect_strings() {
    sst.assign(book.strings_.size(), UINT32_MAX);
    for (auto& sh : book.sheets_) {
      for (auto& row : sh->rows_) {
        for (auto& c : row.cells) {
          if (c.type != ValueType::text) continue;
          ++sst_refs;
          if (sst[c.index] == UINT32_MAX) {
            sst[c.index] = static_cast<uint32_t>(sst_order.size());
            sst_order.push_back(c.index);
          }
        }
      }
    }
  }

  std::string shared_strings() {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<sst xmlns=\"";
    s += ns_main;
    s += "\" count=\"" + std::to_string(sst_refs) + "\" uniqueCount=\"" + std::to_string(sst_order.size()) + "\">";
    for (uint32_t id : sst_order) {
      if (auto rich = book.rich_.find(id); rich != book.rich_.end()) {
        s += "<si>" + rich->second + "</si>";
        continue;
      }
      const std::string& t = book.strings_[id];
      bool keep_space = !t.empty() && (t.front() == ' ' || t.back() == ' ' || t.find('\n') != std::string::npos ||
                                       t.find('\t') != std::string::npos);
      s += keep_space ? "<si><t xml:space=\"preserve\">" : "<si><t>";
      xml::escape(s, t);
      s += "</t></si>";
    }
    return s + "</sst>";
  }

  void write_cell(std::string& s, int r, const Sheet::Cell& c) {
    if (c.type == ValueType::empty && c.style == 0) return;
    s += "<c r=\"";
    s += col_name(c.col);
    put_int(s, r);
    s += '"';
    if (c.style) {
      s += " s=\"";
      put_int(s, c.style);
      s += '"';
    }
    switch (c.type) {
      case ValueType::empty: s += "/>"; return;
      case ValueType::number:
        s += "><v>";
        put_number(s, c.number);
        s += "</v></c>";
        return;
      case ValueType::text:
        s += " t=\"s\"><v>";
        put_int(s, sst[c.index]);
        s += "</v></c>";
        return;
      case ValueType::boolean: s += c.number != 0 ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>"; return;
      case ValueType::error:
        s += " t=\"e\"><v>";
        xml::escape(s, book.strings_[c.index]);
        s += "</v></c>";
        return;
      case ValueType::formula: {
        // The result computed just before saving; readers that do not calculate show it.
        auto& f = book.formulas_[c.index];
        switch (f.cached) {
          case ValueType::text: s += " t=\"str\""; break;
          case ValueType::boolean: s += " t=\"b\""; break;
          case ValueType::error: s += " t=\"e\""; break;
          default: break;
        }
        if (f.array_rows) {
          Range g{r, static_cast<int>(c.col), std::min(max_rows, r + f.array_rows - 1),
                  std::min<int>(max_columns, c.col + f.array_cols - 1)};
          s += "><f t=\"array\" ref=\"" + range_name(g) + "\">";
        } else {
          s += "><f>";
        }
        xml::escape(s, book.strings_[f.text]);
        s += "</f>";
        switch (f.cached) {
          case ValueType::number:
          case ValueType::boolean:
            s += "<v>";
            put_number(s, f.number);
            s += "</v>";
            break;
          case ValueType::text:
          case ValueType::error:
            s += "<v>";
            xml::escape(s, book.strings_[f.cached_text]);
            s += "</v>";
            break;
          default: break;
        }
        s += "</c>";
        return;
      }
    }
  }

  std::string sheet_views(const Sheet& sh, bool active) {
    std::string views;
    for (auto& [order, x] : sh.kept_) {
      if (x.rfind("<sheetViews", 0) == 0) views = x;
    }
    if (views.empty()) views = "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>";
    for (size_t p; (p = views.find(" tabSelected=\"1\"")) != std::string::npos;) views.erase(p, 16);
    for (size_t p; (p = views.find(" tabSelected=\"true\"")) != std::string::npos;) views.erase(p, 19);
    if (active) {
      auto p = views.find("<sheetView");
      p = views.find("<sheetView", p + 11);  // the first <sheetView after <sheetViews
      if (p != std::string::npos) views.insert(p + 10, " tabSelected=\"1\"");
    }
    return views;
  }

  // Appends the sheet's part to `out`; its start and length there.
  std::pair<int64_t, int64_t> write_sheet(Sheet& sh, bool active, Out& out) {
    out.flush();
    const int64_t start = out.offset();
    std::string& s = out.buf();
    s = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet";
    if (sh.root_attrs_.empty()) s += std::string(" xmlns=\"") + ns_main + "\" xmlns:r=\"" + ns_rel + "\"";
    else s += sh.root_attrs_;
    if (s.find("xmlns:r=") == std::string::npos) s += std::string(" xmlns:r=\"") + ns_rel + "\"";
    s += ">";
    // Elements in schema order; sheetData (order 5) is streamed in place.
    std::vector<std::pair<int, std::string>> parts;
    for (auto& [order, x] : sh.kept_) {
      if (x.rfind("<sheetViews", 0) != 0) parts.emplace_back(order, x);
    }
    parts.emplace_back(worksheet_child_order("sheetViews"), sheet_views(sh, active));
    bool fit = sh.page_.fit_width >= 0 || sh.page_.fit_height >= 0;
    std::string pr = sh.sheet_pr_;
    if (fit) {
      if (pr.empty()) pr = "<sheetPr/>";
      if (pr.size() >= 2 && pr.compare(pr.size() - 2, 2, "/>") == 0) pr = pr.substr(0, pr.size() - 2) + "></sheetPr>";
      pr.insert(pr.rfind("</sheetPr>"), "<pageSetUpPr fitToPage=\"1\"/>");
    }
    if (!pr.empty()) parts.emplace_back(0, pr);
    int last_col = std::max(1, sh.last_column());
    parts.emplace_back(1, "<dimension ref=\"" + (sh.last_row() ? "A1:" + cell_name(sh.last_row(), last_col) : std::string("A1")) + "\"/>");
    std::string cols = columns(sh);
    if (!cols.empty()) parts.emplace_back(4, cols);
    parts.emplace_back(5, "");  // sheetData
    // Overlapping merges make Excel repair the file; keep the first of any overlap.
    std::vector<Range> merges;
    for (size_t i = 0; i < sh.merges_.size(); ++i) {
      bool clash = false;
      for (size_t j = merges.size(); j-- > 0 && !clash;) {
        if (merges[j].row1 + sh.merge_max_height_ <= sh.merges_[i].row1) break;
        clash = merges[j].intersects(sh.merges_[i]);
      }
      if (!clash) merges.push_back(sh.merges_[i]);
    }
    if (!merges.empty()) {
      std::string m = "<mergeCells count=\"" + std::to_string(merges.size()) + "\">";
      for (auto& r : merges) m += "<mergeCell ref=\"" + range_name(r) + "\"/>";
      parts.emplace_back(14, m + "</mergeCells>");
    }
    std::string dv, links;
    int dv_count = 0;
    for (auto& r : sh.ranged_) {
      std::string refs;
      for (auto& g : r.ranges) refs += (refs.empty() ? "" : " ") + range_name(g);
      std::string x = r.xml;
      if (auto p = x.find("@@SQREF@@"); p != std::string::npos) x.replace(p, 9, refs);
      if (r.kind == 0) parts.emplace_back(16, x);
      else if (r.kind == 1) dv += x, ++dv_count;
      else links += x;
    }
    if (!dv.empty()) parts.emplace_back(17, "<dataValidations count=\"" + std::to_string(dv_count) + "\">" + dv + "</dataValidations>");
    if (!links.empty()) parts.emplace_back(18, "<hyperlinks>" + links + "</hyperlinks>");
    auto& p = sh.page_;
    parts.emplace_back(20, "<pageMargins left=\"" + num(p.left) + "\" right=\"" + num(p.right) + "\" top=\"" + num(p.top) +
                               "\" bottom=\"" + num(p.bottom) + "\" header=\"" + num(p.header) + "\" footer=\"" +
                               num(p.footer) + "\"/>");
    std::string setup;
    if (p.paper_size > 0) setup += " paperSize=\"" + std::to_string(p.paper_size) + "\"";
    if (p.scale > 0) setup += " scale=\"" + std::to_string(std::clamp(p.scale, 10, 400)) + "\"";
    if (fit) setup += " fitToWidth=\"" + std::to_string(std::max(0, p.fit_width)) + "\" fitToHeight=\"" + std::to_string(std::max(0, p.fit_height)) + "\"";
    if (!p.orientation.empty()) setup += " orientation=\"" + xml::escaped(p.orientation, true) + "\"";
    setup += sh.page_extra_;
    if (!setup.empty()) parts.emplace_back(21, "<pageSetup" + setup + "/>");
    auto breaks = [&](const std::vector<int>& v, const char* name, int max) {
      std::string b = std::string("<") + name + " count=\"" + std::to_string(v.size()) + "\" manualBreakCount=\"" +
                      std::to_string(v.size()) + "\">";
      for (int x : v) b += "<brk id=\"" + std::to_string(x - 1) + "\" max=\"" + std::to_string(max) + "\" man=\"1\"/>";
      return b + "</" + name + ">";
    };
    if (!sh.row_breaks_.empty()) parts.emplace_back(23, breaks(sh.row_breaks_, "rowBreaks", max_columns - 1));
    if (!sh.col_breaks_.empty()) parts.emplace_back(24, breaks(sh.col_breaks_, "colBreaks", max_rows - 1));
    std::stable_sort(parts.begin(), parts.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [order, x] : parts) {
      if (order == 5 && x.empty()) {
        rows(sh, out);
      } else {
        s += x;
      }
    }
    s += "</worksheet>";
    out.flush();
    return {start, out.offset() - start};
  }

  std::string columns(const Sheet& sh) {
    std::string s;
    int n = static_cast<int>(sh.cols_.size());
    for (int k = 1; k <= n;) {
      auto& c = sh.cols_[k - 1];
      int e = k;
      while (e < n && sh.cols_[e].width == c.width && sh.cols_[e].hidden == c.hidden && sh.cols_[e].style == c.style &&
             sh.cols_[e].outline == c.outline) {
        ++e;
      }
      if (c.width > 0 || c.hidden || c.style || c.outline) {
        s += "<col min=\"" + std::to_string(k) + "\" max=\"" + std::to_string(e) + "\" width=\"" +
             num(c.width > 0 ? c.width : sh.default_col_width_) + "\"";
        if (c.style) s += " style=\"" + std::to_string(c.style) + "\"";
        if (c.hidden) s += " hidden=\"1\"";
        if (c.width > 0) s += " customWidth=\"1\"";
        if (c.outline) s += " outlineLevel=\"" + std::to_string(c.outline) + "\"";
        s += "/>";
      }
      k = e + 1;
    }
    return s.empty() ? s : "<cols>" + s + "</cols>";
  }

  void rows(Sheet& sh, Out& out) {
    std::string& s = out.buf();
    s += "<sheetData>";
    for (int r = 1; r <= sh.last_row(); ++r) {
      auto& row = sh.rows_[r - 1];
      bool plain = row.height == 0 && !row.hidden && !row.custom_format && !row.outline;
      if (plain && row.cells.empty()) continue;
      s += "<row r=\"";
      put_int(s, r);
      s += '"';
      if (row.height > 0) {
        s += " ht=\"";
        put_number(s, row.height);
        s += "\" customHeight=\"1\"";
      }
      if (row.hidden) s += " hidden=\"1\"";
      if (row.custom_format) {
        s += " s=\"";
        put_int(s, row.style);
        s += "\" customFormat=\"1\"";
      }
      if (row.outline) s += " outlineLevel=\"" + std::to_string(row.outline) + "\"";
      if (row.cells.empty()) {
        s += "/>";
      } else {
        s += '>';
        for (auto& c : row.cells) write_cell(s, r, c);
        s += "</row>";
      }
      out.maybe_flush();
    }
    s += "</sheetData>";
  }

  std::string workbook_xml() {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<workbook";
    if (book.root_attrs_.empty()) s += std::string(" xmlns=\"") + ns_main + "\" xmlns:r=\"" + ns_rel + "\"";
    else s += book.root_attrs_;
    if (s.find("xmlns:r=") == std::string::npos) s += std::string(" xmlns:r=\"") + ns_rel + "\"";
    s += ">";
    std::vector<std::pair<int, std::string>> parts = book.kept_;
    std::string view = "<bookViews><workbookView";
    for (auto& [k, v] : book.view_attrs_) {
      if (k != "activeTab" && k != "firstSheet") view += attr(k, v);
    }
    view += " activeTab=\"" + std::to_string(book.active_ - 1) + "\"/></bookViews>";
    parts.emplace_back(workbook_child_order("bookViews"), view);
    std::string sheets = "<sheets>";
    for (size_t i = 0; i < book.sheets_.size(); ++i) {
      auto& sh = *book.sheets_[i];
      sheets += "<sheet" + attr("name", sh.name_) + " sheetId=\"" + std::to_string(i + 1) + "\"";
      if (!sh.state_.empty() && static_cast<int>(i + 1) != book.active_) sheets += attr("state", sh.state_);
      sheets += " r:id=\"rIdS" + std::to_string(i + 1) + "\"/>";
    }
    parts.emplace_back(workbook_child_order("sheets"), sheets + "</sheets>");
    if (!book.names_.empty()) {
      std::string dn = "<definedNames>";
      for (auto& n : book.names_) {
        dn += "<definedName" + attr("name", n.name);
        if (n.sheet) dn += " localSheetId=\"" + std::to_string(n.sheet - 1) + "\"";
        if (n.hidden) dn += " hidden=\"1\"";
        dn += ">" + xml::escaped(n.formula) + "</definedName>";
      }
      parts.emplace_back(workbook_child_order("definedNames"), dn + "</definedNames>");
    }
    // The application computes on opening only what the engine could not.
    parts.emplace_back(workbook_child_order("calcPr"),
                       complete ? "<calcPr calcId=\"191029\"/>" : "<calcPr calcId=\"191029\" fullCalcOnLoad=\"1\"/>");
    std::stable_sort(parts.begin(), parts.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [o, x] : parts) s += x;
    return s + "</workbook>";
  }

  void run() {
    complete = book.calculate();
    collect_strings();
    ZipWriter zip(path);
    std::vector<std::pair<std::string, std::string>> overrides;  // part -> content type
    // Parts carried over unchanged.
    if (!book.kept_parts_.empty()) {
      ZipReader src(book.source_.data(), book.source_.size(), book.path_);
      for (auto& part : book.kept_parts_) {
        auto data = src.read(part);
        if (!data) continue;
        zip.add(part, std::move(*data));
        if (auto it = book.content_types_.find(part); it != book.content_types_.end()) overrides.emplace_back(part, it->second);
      }
    }
    // All sheets go into one temporary file, each part a stretch of it: a book of thousands
    // of sheets makes one file, not thousands.
    std::vector<std::pair<int64_t, int64_t>> stretch;
    stretch.reserve(book.sheets_.size());
    std::string spilled;
    {
      Out spill(path);
      for (size_t i = 0; i < book.sheets_.size(); ++i)
        stretch.push_back(write_sheet(*book.sheets_[i], static_cast<int>(i + 1) == book.active_, spill));
      spilled = spill.hand_over();
    }
    std::string wb_rels;
    for (size_t i = 0; i < book.sheets_.size(); ++i) {
      auto& sh = *book.sheets_[i];
      std::string part = "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml";
      zip.add_file(part, spilled, stretch[i].first, stretch[i].second);
      overrides.emplace_back(part, std::string(ct_base) + "worksheet+xml");
      if (!sh.rels_.empty()) {
        zip.add("xl/worksheets/_rels/sheet" + std::to_string(i + 1) + ".xml.rels",
                std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">") +
                    sh.rels_ + "</Relationships>");
      }
      wb_rels += "<Relationship Id=\"rIdS" + std::to_string(i + 1) + "\" Type=\"" + rel_base +
                 "worksheet\" Target=\"/" + part + "\"/>";
    }
    zip.add("xl/styles.xml", book.styles_.save());
    overrides.emplace_back("xl/styles.xml", std::string(ct_base) + "styles+xml");
    wb_rels += std::string("<Relationship Id=\"rIdStyles\" Type=\"") + rel_base + "styles\" Target=\"/xl/styles.xml\"/>";
    zip.add("xl/sharedStrings.xml", shared_strings());
    overrides.emplace_back("xl/sharedStrings.xml", std::string(ct_base) + "sharedStrings+xml");
    wb_rels += std::string("<Relationship Id=\"rIdStrings\" Type=\"") + rel_base +
               "sharedStrings\" Target=\"/xl/sharedStrings.xml\"/>";
    for (auto& r : book.book_rels_) wb_rels += r;
    zip.add("xl/workbook.xml", workbook_xml());
    overrides.emplace_back("xl/workbook.xml", std::string(ct_base) + "sheet.main+xml");
    zip.add("xl/_rels/workbook.xml.rels",
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + wb_rels +
                "</Relationships>");
    std::string root_rels = std::string("<Relationship Id=\"rIdBook\" Type=\"") + rel_base +
                            "officeDocument\" Target=\"/xl/workbook.xml\"/>";
    for (auto& r : book.root_rels_) root_rels += r;
    zip.add("_rels/.rels",
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + root_rels +
                "</Relationships>");
    std::string ct = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                     "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">";
    auto defaults = book.default_types_;
    auto ensure = [&](const char* ext, const char* type) {
      for (auto& [e, t] : defaults) {
        if (e == ext) return;
      }
      defaults.emplace_back(ext, type);
    };
    ensure("rels", "application/vnd.openxmlformats-package.relationships+xml");
    ensure("xml", "application/xml");
    for (auto& [e, t] : defaults) ct += "<Default" + attr("Extension", e) + attr("ContentType", t) + "/>";
    for (auto& [p, t] : overrides) ct += "<Override" + attr("PartName", "/" + p) + attr("ContentType", t) + "/>";
    zip.add("[Content_Types].xml", ct + "</Types>");
    zip.finish();
  }
};

void Book::save(const std::string& path) {
  XlsxWriter writer{*this, path, {}, {}, {}, 0, true};
  writer.run();
}

}  // namespace hrdoc::sheet
