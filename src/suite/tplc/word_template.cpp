#include "suite/tplc/word_template.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "sheet/xml.h"
#include "sheet/zip_io.h"
#include "suite/tplc/template_source.h"
#include "text/strings.h"

namespace hrdoc::tplc {
namespace {

using text::trim;

constexpr double twips_per_cm = 566.93;

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::string w;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) out.push_back(w);
      w.clear();
      any = false;
    } else {
      w += c;
      any = true;
    }
  }
  if (any) out.push_back(w);
  return out;
}

struct ParaStyle {
  std::string ppr, rpr;  // the XML of the style's paragraph and run properties
};

class Compiler {
 public:
  Compiler(std::string file) : file_(std::move(file)) {}

  void line(const std::string& raw, int number) {
    line_ = number;
    std::string l = trim(raw);
    if (l.empty() || l[0] == '#') return;
    if (in_table_) {
      if (l == "end") {
        body_ += "</w:tbl>";
        in_table_ = false;
      } else if (l.rfind("||", 0) == 0) {
        table_row(l.substr(2));
      } else {
        fail("a table row starts with \"||\"; \"end\" closes the table");
      }
      return;
    }
    if (l[0] == '|') return paragraph(l.substr(1));
    auto w = words(l);
    const std::string& d = w[0];
    if (d == "page") page(w);
    else if (d == "font") font(w);
    else if (d == "style") style(w);
    else if (d == "table") table(w);
    else if (d == "page-break") body_ += "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>";
    else fail("unknown line \"" + d + "\" (a paragraph starts with \"|\")");
  }

  WordParts finish() {
    if (in_table_) fail("the table is not closed by \"end\"");
    WordParts p;
    p.document =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>" +
        body_ + sect_pr() + "</w:body></w:document>";
    p.styles =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:styles "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:docDefaults><w:rPrDefault><w:rPr>"
        "<w:rFonts w:ascii=\"" + sheet::xml::escaped(font_, true) + "\" w:hAnsi=\"" + sheet::xml::escaped(font_, true) +
        "\" w:cs=\"" + sheet::xml::escaped(font_, true) + "\" w:eastAsia=\"" + sheet::xml::escaped(font_, true) +
        "\"/><w:sz w:val=\"" + std::to_string(size_half_) + "\"/><w:szCs w:val=\"" + std::to_string(size_half_) +
        "\"/><w:lang w:val=\"ru-RU\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:line=\"240\" "
        "w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/><w:qFormat/></w:style>"
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/><w:tblPr>"
        "<w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" w:type=\"dxa\"/>"
        "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style>";
    for (auto& [name, s] : styles_)
      p.styles += "<w:style w:type=\"paragraph\" w:customStyle=\"1\" w:styleId=\"" + name + "\"><w:name w:val=\"" + name +
                  "\"/><w:basedOn w:val=\"Normal\"/><w:qFormat/>" + (s.ppr.empty() ? "" : "<w:pPr>" + s.ppr + "</w:pPr>") +
                  (s.rpr.empty() ? "" : "<w:rPr>" + s.rpr + "</w:rPr>") + "</w:style>";
    p.styles += "</w:styles>";
    // Clauses "1." and sub-clauses "1.1." of one list, indented as a letter's clauses are.
    p.numbering =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:numbering "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:abstractNum w:abstractNumId=\"1\">"
        "<w:multiLevelType w:val=\"multilevel\"/>"
        "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/><w:lvlJc w:val=\"left\"/>"
        "<w:pPr><w:tabs><w:tab w:val=\"num\" w:pos=\"1134\"/></w:tabs><w:ind w:left=\"0\" w:firstLine=\"709\"/></w:pPr></w:lvl>"
        "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.%2.\"/><w:lvlJc w:val=\"left\"/>"
        "<w:pPr><w:tabs><w:tab w:val=\"num\" w:pos=\"1418\"/></w:tabs><w:ind w:left=\"0\" w:firstLine=\"709\"/></w:pPr></w:lvl>"
        "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"1\"/></w:num></w:numbering>";
    return p;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw TemplateError(file_ + ":" + std::to_string(line_) + ": " + what);
  }

  double num(const std::string& s) const {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end) fail("\"" + s + "\" is not a number");
    return v;
  }

  static std::string tw(double cm) { return std::to_string(static_cast<long>(cm * twips_per_cm + 0.5)); }

  std::string sect_pr() const {
    std::string w = landscape_ ? "16838" : "11906", h = landscape_ ? "11906" : "16838";
    return "<w:sectPr><w:pgSz w:w=\"" + w + "\" w:h=\"" + h + "\"" + (landscape_ ? " w:orient=\"landscape\"" : "") +
           "/><w:pgMar w:top=\"" + tw(margins_[2]) + "\" w:right=\"" + tw(margins_[1]) + "\" w:bottom=\"" + tw(margins_[3]) +
           "\" w:left=\"" + tw(margins_[0]) + "\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>";
  }

  // page A4 [portrait|landscape] [margins LEFT RIGHT TOP BOTTOM] (centimetres)
  void page(const std::vector<std::string>& w) {
    for (size_t i = 1; i < w.size(); ++i) {
      if (w[i] == "A4" || w[i] == "portrait") continue;
      if (w[i] == "landscape") landscape_ = true;
      else if (w[i] == "margins" && i + 4 < w.size()) {
        for (int k = 0; k < 4; ++k) margins_[k] = num(w[i + 1 + k]);
        i += 4;
      } else fail("page takes A4, portrait or landscape and margins LEFT RIGHT TOP BOTTOM");
    }
  }

  void font(const std::vector<std::string>& w) {
    if (w.size() != 3) fail("font takes a name and a size: font \"Times New Roman\" 12");
    font_ = w[1];
    size_half_ = static_cast<int>(num(w[2]) * 2 + 0.5);
  }

  // style NAME bold italic underline left center right justify size=PT indent=CM first=CM
  //       hanging=CM space-before=PT space-after=PT keep-next
  void style(const std::vector<std::string>& w) {
    if (w.size() < 2) fail("style needs a name");
    ParaStyle s;
    std::string jc, ind, spacing, keep, b, i, u, sz;
    for (size_t k = 2; k < w.size(); ++k) {
      const std::string& p = w[k];
      auto value = [&](const char* key) -> std::optional<double> {
        std::string pre = std::string(key) + "=";
        if (p.rfind(pre, 0) != 0) return std::nullopt;
        return num(p.substr(pre.size()));
      };
      if (p == "bold") b = "<w:b/>";
      else if (p == "italic") i = "<w:i/>";
      else if (p == "underline") u = "<w:u w:val=\"single\"/>";
      else if (p == "left" || p == "center" || p == "right") jc = p;
      else if (p == "justify") jc = "both";
      else if (p == "keep-next") keep = "<w:keepNext/>";
      else if (auto v = value("size")) sz = std::to_string(static_cast<int>(*v * 2 + 0.5));
      else if (auto v = value("indent")) ind += " w:left=\"" + tw(*v) + "\"";
      else if (auto v = value("first")) ind += " w:firstLine=\"" + tw(*v) + "\"";
      else if (auto v = value("hanging")) ind += " w:hanging=\"" + tw(*v) + "\"";
      else if (auto v = value("space-before")) spacing += " w:before=\"" + std::to_string(static_cast<int>(*v * 20)) + "\"";
      else if (auto v = value("space-after")) spacing += " w:after=\"" + std::to_string(static_cast<int>(*v * 20)) + "\"";
      else fail("unknown style property \"" + p + "\"");
    }
    s.ppr = keep + (spacing.empty() ? "" : "<w:spacing" + spacing + "/>") + (ind.empty() ? "" : "<w:ind" + ind + "/>") +
            (jc.empty() ? "" : "<w:jc w:val=\"" + jc + "\"/>");
    s.rpr = b + i + u + (sz.empty() ? "" : "<w:sz w:val=\"" + sz + "\"/><w:szCs w:val=\"" + sz + "\"/>");
    styles_[w[1]] = s;
  }

  // table WIDTH... (centimetres): a borderless table; rows follow as "|| cell || cell", "end"
  // closes it.
  void table(const std::vector<std::string>& w) {
    if (w.size() < 2) fail("table takes the column widths in centimetres");
    widths_.clear();
    for (size_t k = 1; k < w.size(); ++k) widths_.push_back(num(w[k]));
    body_ += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblLayout w:type=\"fixed\"/><w:tblBorders>"
             "<w:top w:val=\"nil\"/><w:left w:val=\"nil\"/><w:bottom w:val=\"nil\"/><w:right w:val=\"nil\"/>"
             "<w:insideH w:val=\"nil\"/><w:insideV w:val=\"nil\"/></w:tblBorders></w:tblPr><w:tblGrid>";
    for (double cm : widths_) body_ += "<w:gridCol w:w=\"" + tw(cm) + "\"/>";
    body_ += "</w:tblGrid>";
    in_table_ = true;
  }

  void table_row(const std::string& row) {
    std::vector<std::string> cells;
    std::string cur;
    for (size_t i = 0; i < row.size(); ++i) {
      if (row[i] == '\\' && i + 1 < row.size()) {
        cur += row[i];
        cur += row[++i];
      } else if (row.compare(i, 2, "||") == 0) {
        cells.push_back(cur);
        cur.clear();
        ++i;
      } else {
        cur += row[i];
      }
    }
    cells.push_back(cur);
    if (cells.size() != widths_.size())
      fail("the row has " + std::to_string(cells.size()) + " cells, the table " + std::to_string(widths_.size()) + " columns");
    body_ += "<w:tr>";
    for (size_t k = 0; k < cells.size(); ++k) {
      body_ += "<w:tc><w:tcPr><w:tcW w:w=\"" + tw(widths_[k]) + "\" w:type=\"dxa\"/></w:tcPr>";
      paragraph(cells[k]);
      body_ += "</w:tc>";
    }
    body_ += "</w:tr>";
  }

  // "# text", "## text": a clause or sub-clause of the numbered list; "{styles}" at the end.
  void paragraph(std::string text) {
    int level = 0;
    while (!text.empty() && text[0] == '#') {
      ++level;
      text.erase(0, 1);
    }
    if (level > 2) fail("clauses have two levels: \"#\" and \"##\"");
    text = trim(text);
    std::vector<std::string> names;
    if (!text.empty() && text.back() == '}') {
      auto open = text.rfind('{');
      if (open == std::string::npos || (open > 0 && text[open - 1] == '\\')) fail("\"}\" without \"{\"");
      for (auto& n : words(text.substr(open + 1, text.size() - open - 2))) {
        if (!styles_.count(n)) fail("unknown style \"" + n + "\"");
        names.push_back(n);
      }
      text = trim(text.substr(0, open));
    }
    std::string ppr;
    if (!names.empty()) ppr += "<w:pStyle w:val=\"" + names[0] + "\"/>";
    if (names.size() > 1) fail("a paragraph takes one style");
    if (level) ppr += "<w:numPr><w:ilvl w:val=\"" + std::to_string(level - 1) + "\"/><w:numId w:val=\"1\"/></w:numPr>";
    body_ += "<w:p>" + (ppr.empty() ? "" : "<w:pPr>" + ppr + "</w:pPr>") + runs(text) + "</w:p>";
  }

  // Text with "**bold**", "__underlined__" and "\n" line breaks; "\\", "\*", "\_", "\{" and
  // "\|" stand for themselves.
  std::string runs(const std::string& text) {
    std::string out, cur;
    bool bold = false, under = false;
    auto flush = [&] {
      if (cur.empty()) return;
      out += "<w:r>";
      if (bold || under) out += std::string("<w:rPr>") + (bold ? "<w:b/>" : "") + (under ? "<w:u w:val=\"single\"/>" : "") + "</w:rPr>";
      size_t start = 0;
      while (true) {
        size_t nl = cur.find('\n', start);
        std::string piece = cur.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!piece.empty()) out += "<w:t xml:space=\"preserve\">" + sheet::xml::escaped(piece) + "</w:t>";
        if (nl == std::string::npos) break;
        out += "<w:br/>";
        start = nl + 1;
      }
      out += "</w:r>";
      cur.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
      char c = text[i];
      if (c == '\\' && i + 1 < text.size()) {
        char n = text[++i];
        cur += n == 'n' ? '\n' : n;
      } else if (text.compare(i, 2, "**") == 0) {
        flush();
        bold = !bold;
        ++i;
      } else if (text.compare(i, 2, "__") == 0) {
        flush();
        under = !under;
        ++i;
      } else {
        cur += c;
      }
    }
    if (bold || under) fail("\"**\" or \"__\" is not closed");
    flush();
    return out;
  }

  std::string file_;
  int line_ = 0;
  bool landscape_ = false;
  double margins_[4] = {3, 1.5, 2, 2};
  std::string font_ = "Times New Roman";
  int size_half_ = 24;
  std::map<std::string, ParaStyle> styles_;
  std::vector<double> widths_;
  bool in_table_ = false;
  std::string body_;
};

}  // namespace

WordParts word_parts(const std::string& text, const std::string& file) {
  Compiler c(file);
  std::istringstream in(text);
  std::string l;
  int n = 0;
  while (std::getline(in, l)) c.line(l, ++n);
  return c.finish();
}

void compile_word_template(const std::string& source_path, const std::string& docx_path) {
  std::ifstream in(source_path, std::ios::binary);
  if (!in) throw TemplateError(source_path + ": cannot read");
  std::stringstream ss;
  ss << in.rdbuf();
  WordParts p = word_parts(ss.str(), source_path);
  sheet::ZipWriter zip(docx_path);
  zip.add("[Content_Types].xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Types "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
          "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
          "ContentType=\"application/xml\"/><Override PartName=\"/word/document.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/><Override "
          "PartName=\"/word/styles.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/><Override "
          "PartName=\"/word/numbering.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml\"/></Types>");
  zip.add("_rels/.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
          "Target=\"word/document.xml\"/></Relationships>");
  zip.add("word/_rels/document.xml.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
          "<Relationship Id=\"rId2\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering\" "
          "Target=\"numbering.xml\"/></Relationships>");
  zip.add("word/document.xml", p.document);
  zip.add("word/styles.xml", p.styles);
  zip.add("word/numbering.xml", p.numbering);
  zip.finish();
}

}  // namespace hrdoc::tplc
