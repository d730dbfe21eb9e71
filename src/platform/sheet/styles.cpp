#include "sheet/styles.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "sheet/error.h"
#include "sheet/xml.h"

namespace hrdoc::sheet {

namespace {

// The classic 64-entry palette (RGB); indexes 8..63 are what colour indexes 1..56 refer to.
const uint32_t default_palette[64] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

const std::pair<int, const char*> builtin_formats[] = {
    {0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}, {9, "0%"}, {10, "0.00%"},
    {11, "0.00E+00"}, {12, "# ?/?"}, {13, "# ?\?/?\?"}, {14, "mm-dd-yy"}, {15, "d-mmm-yy"},
    {16, "d-mmm"}, {17, "mmm-yy"}, {18, "h:mm AM/PM"}, {19, "h:mm:ss AM/PM"}, {20, "h:mm"},
    {21, "h:mm:ss"}, {22, "m/d/yy h:mm"}, {45, "mm:ss"}, {46, "[h]:mm:ss"}, {47, "mmss.0"},
    {48, "##0.0E+0"}, {49, "@"}};

uint32_t rgb_to_bgr(uint32_t rgb) { return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16); }

std::string argb_of_bgr(uint32_t bgr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "FF%06X", static_cast<unsigned>(rgb_to_bgr(bgr & 0xFFFFFF)));
  return buf;
}

std::string node_xml(const pugi::xml_node& n) {
  std::ostringstream os;
  n.print(os, "", pugi::format_raw);
  return os.str();
}

std::string attrs_xml(const pugi::xml_node& n) {
  std::string s;
  for (auto a : n.attributes()) {
    if (!s.empty()) s += ' ';
    s += a.name();
    s += "=\"";
    xml::escape(s, a.value(), true);
    s += '"';
  }
  return s;
}

BorderEdge read_edge(const pugi::xml_node& b, const char* name) {
  BorderEdge e;
  auto n = b.child(name);
  if (!n) return e;
  e.style = n.attribute("style").value();
  if (auto c = n.child("color")) e.color = attrs_xml(c);
  return e;
}

void write_edge(std::string& s, const char* name, const BorderEdge& e) {
  if (e.style.empty()) {
    s += "<";
    s += name;
    s += "/>";
    return;
  }
  s += "<";
  s += name;
  s += " style=\"" + e.style + "\">";
  if (!e.color.empty()) s += "<color " + e.color + "/>";
  s += "</";
  s += name;
  s += ">";
}

std::string border_xml(const Border& b) {
  std::string s = "<border";
  if (b.diagonal_up) s += " diagonalUp=\"1\"";
  if (b.diagonal_down) s += " diagonalDown=\"1\"";
  s += ">";
  write_edge(s, "left", b.left);
  write_edge(s, "right", b.right);
  write_edge(s, "top", b.top);
  write_edge(s, "bottom", b.bottom);
  write_edge(s, "diagonal", b.diagonal);
  return s + "</border>";
}

std::string xf_xml(const CellFormat& f) {
  std::string s = "<xf numFmtId=\"" + std::to_string(f.num_fmt) + "\" fontId=\"" + std::to_string(f.font) +
                  "\" fillId=\"" + std::to_string(f.fill) + "\" borderId=\"" + std::to_string(f.border) +
                  "\" xfId=\"" + std::to_string(f.xf_id) + "\"";
  if (f.num_fmt) s += " applyNumberFormat=\"1\"";
  if (f.font) s += " applyFont=\"1\"";
  if (f.fill) s += " applyFill=\"1\"";
  if (f.border) s += " applyBorder=\"1\"";
  if (!f.alignment.empty()) s += " applyAlignment=\"1\"";
  if (!f.protection.empty()) s += " applyProtection=\"1\"";
  if (f.quote_prefix) s += " quotePrefix=\"1\"";
  if (!f.extra.empty()) s += " " + f.extra;
  if (f.alignment.empty() && f.protection.empty()) return s + "/>";
  s += ">";
  if (!f.alignment.empty()) {
    s += "<alignment";
    for (auto& [k, v] : f.alignment) {
      s += " " + k + "=\"";
      xml::escape(s, v, true);
      s += "\"";
    }
    s += "/>";
  }
  s += f.protection;
  return s + "</xf>";
}

int to_int(const char* s) { return static_cast<int>(std::strtol(s, nullptr, 10)); }

}  // namespace

std::string border_style_for_weight(int weight) {
  switch (weight) {
    case 1: return "hair";
    case 2: return "thin";
    case -4138: return "medium";
    case 4: return "thick";
    default: return "thin";
  }
}

std::optional<uint32_t> Styles::index_colour(int index) {
  if (index < 1 || index > 56) return std::nullopt;
  return rgb_to_bgr(default_palette[index + 7]);
}

Styles::Styles() {
  fonts_.push_back({"<font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>", 11, false});
  fills_ = {"<fill><patternFill patternType=\"none\"/></fill>", "<fill><patternFill patternType=\"gray125\"/></fill>"};
  for (uint32_t i = 0; i < fills_.size(); ++i) fill_index_.emplace(fills_[i], i);
  borders_.emplace_back();
  xfs_.emplace_back();
  xf_index_.emplace(key(xfs_[0]), 0);
  palette_.assign(std::begin(default_palette), std::end(default_palette));
  cell_style_xfs_ = "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
  cell_styles_ = "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";
}

void Styles::load(std::string_view text, const std::string& file) {
  pugi::xml_document doc;
  auto res = doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!res) throw Error(file, "xl/styles.xml", std::string("malformed XML: ") + res.description());
  auto root = doc.child("styleSheet");
  if (!root) throw Error(file, "xl/styles.xml", "no styleSheet element");
  num_fmts_.clear();
  for (auto n : root.child("numFmts").children("numFmt")) {
    num_fmts_.emplace_back(to_int(n.attribute("numFmtId").value()), n.attribute("formatCode").value());
  }
  fonts_.clear();
  for (auto n : root.child("fonts").children("font")) {
    Font f;
    f.xml = node_xml(n);
    if (auto sz = n.child("sz")) f.size = sz.attribute("val").as_double(11);
    if (f.size <= 0 || f.size > 409) f.size = 11;
    f.bold = n.child("b") && n.child("b").attribute("val").as_bool(true);
    fonts_.push_back(std::move(f));
  }
  fills_.clear();
  fill_index_.clear();
  for (auto n : root.child("fills").children("fill")) {
    fills_.push_back(node_xml(n));
    fill_index_.emplace(fills_.back(), static_cast<uint32_t>(fills_.size() - 1));
  }
  borders_.clear();
  for (auto n : root.child("borders").children("border")) {
    Border b;
    b.left = read_edge(n, n.child("left") ? "left" : "start");
    b.right = read_edge(n, n.child("right") ? "right" : "end");
    b.top = read_edge(n, "top");
    b.bottom = read_edge(n, "bottom");
    b.diagonal = read_edge(n, "diagonal");
    b.diagonal_up = n.attribute("diagonalUp").as_bool();
    b.diagonal_down = n.attribute("diagonalDown").as_bool();
    borders_.push_back(b);
  }
  if (fonts_.empty()) fonts_.push_back({"<font><sz val=\"11\"/><name val=\"Calibri\"/></font>", 11, false});
  if (fills_.size() < 2) {
    fills_ = {"<fill><patternFill patternType=\"none\"/></fill>", "<fill><patternFill patternType=\"gray125\"/></fill>"};
    fill_index_.clear();
    for (uint32_t i = 0; i < fills_.size(); ++i) fill_index_.emplace(fills_[i], i);
  }
  if (borders_.empty()) borders_.emplace_back();
  xfs_.clear();
  xf_index_.clear();
  auto clamp = [](int v, size_t n) { return (v < 0 || static_cast<size_t>(v) >= n) ? 0 : v; };
  for (auto n : root.child("cellXfs").children("xf")) {
    CellFormat f;
    std::string extra;
    for (auto a : n.attributes()) {
      std::string_view name = a.name();
      if (name == "numFmtId") f.num_fmt = to_int(a.value());
      else if (name == "fontId") f.font = clamp(to_int(a.value()), fonts_.size());
      else if (name == "fillId") f.fill = clamp(to_int(a.value()), fills_.size());
      else if (name == "borderId") f.border = clamp(to_int(a.value()), borders_.size());
      else if (name == "xfId") f.xf_id = to_int(a.value());
      else if (name == "quotePrefix") f.quote_prefix = a.as_bool();
      else if (name.substr(0, 5) == "apply") continue;
      else {
        if (!extra.empty()) extra += ' ';
        extra += std::string(name) + "=\"" + xml::escaped(a.value(), true) + "\"";
      }
    }
    f.extra = extra;
    for (auto a : n.child("alignment").attributes()) f.alignment.emplace_back(a.name(), a.value());
    if (auto p = n.child("protection")) f.protection = node_xml(p);
    xfs_.push_back(f);
    xf_index_.emplace(key(f), static_cast<uint32_t>(xfs_.size() - 1));
  }
  if (xfs_.empty()) {
    xfs_.emplace_back();
    xf_index_.emplace(key(xfs_[0]), 0);
  }
  auto raw = [&](const char* name) { return root.child(name) ? node_xml(root.child(name)) : std::string(); };
  cell_style_xfs_ = raw("cellStyleXfs");
  cell_styles_ = raw("cellStyles");
  dxfs_ = raw("dxfs");
  table_styles_ = raw("tableStyles");
  colors_ = raw("colors");
  ext_ = raw("extLst");
  if (cell_style_xfs_.empty()) {
    cell_style_xfs_ = "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
  }
  palette_.assign(std::begin(default_palette), std::end(default_palette));
  size_t i = 0;
  for (auto c : root.child("colors").child("indexedColors").children("rgbColor")) {
    if (i < palette_.size()) palette_[i++] = std::strtoul(c.attribute("rgb").value(), nullptr, 16) & 0xFFFFFF;
  }
}

std::string Styles::save() const {
  std::string s =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  if (!num_fmts_.empty()) {
    s += "<numFmts count=\"" + std::to_string(num_fmts_.size()) + "\">";
    for (auto& [id, code] : num_fmts_) {
      s += "<numFmt numFmtId=\"" + std::to_string(id) + "\" formatCode=\"";
      xml::escape(s, code, true);
      s += "\"/>";
    }
    s += "</numFmts>";
  }
  s += "<fonts count=\"" + std::to_string(fonts_.size()) + "\">";
  for (auto& f : fonts_) s += f.xml;
  s += "</fonts><fills count=\"" + std::to_string(fills_.size()) + "\">";
  for (auto& f : fills_) s += f;
  s += "</fills><borders count=\"" + std::to_string(borders_.size()) + "\">";
  for (auto& b : borders_) s += border_xml(b);
  s += "</borders>";
  s += cell_style_xfs_;
  s += "<cellXfs count=\"" + std::to_string(xfs_.size()) + "\">";
  for (auto& f : xfs_) s += xf_xml(f);
  s += "</cellXfs>";
  s += cell_styles_ + dxfs_ + table_styles_ + colors_ + ext_;
  return s + "</styleSheet>";
}

std::string Styles::key(const CellFormat& f) { return xf_xml(f); }

uint32_t Styles::intern(const CellFormat& f) {
  auto k = key(f);
  auto it = xf_index_.find(k);
  if (it != xf_index_.end()) return it->second;
  xfs_.push_back(f);
  uint32_t id = static_cast<uint32_t>(xfs_.size() - 1);
  xf_index_.emplace(std::move(k), id);
  return id;
}

std::string Styles::number_format(uint32_t xf) const {
  int id = format(xf).num_fmt;
  for (auto& [i, code] : num_fmts_) if (i == id) return code;
  for (auto& [i, code] : builtin_formats) if (i == id) return code;
  return "General";
}

uint32_t Styles::with_number_format(uint32_t xf, std::string_view code) {
  int id = -1;
  for (auto& [i, c] : num_fmts_) if (c == code) id = i;
  if (id < 0) for (auto& [i, c] : builtin_formats) if (code == c) id = i;
  if (id < 0) {
    int next = 164;
    for (auto& [i, c] : num_fmts_) next = std::max(next, i + 1);
    num_fmts_.emplace_back(next, std::string(code));
    id = next;
  }
  CellFormat f = format(xf);
  f.num_fmt = id;
  return intern(f);
}

std::optional<uint32_t> Styles::colour_of(std::string_view attrs) const {
  // attrs look like: rgb="FFRRGGBB" or indexed="10" (theme colours are not resolved).
  auto value = [&](std::string_view name) -> std::optional<std::string> {
    auto p = attrs.find(std::string(name) + "=\"");
    if (p == std::string_view::npos) return std::nullopt;
    p += name.size() + 2;
    auto e = attrs.find('"', p);
    return std::string(attrs.substr(p, e - p));
  };
  if (auto rgb = value("rgb")) return rgb_to_bgr(std::strtoul(rgb->c_str(), nullptr, 16) & 0xFFFFFF);
  if (auto idx = value("indexed")) {
    int i = std::atoi(idx->c_str());
    if (i >= 0 && i < static_cast<int>(palette_.size())) return rgb_to_bgr(palette_[i]);
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<uint32_t> Styles::fill_colour(uint32_t xf) const {
  const std::string& fill = fills_[format(xf).fill];
  if (fill.find("patternType=\"solid\"") == std::string::npos) return std::nullopt;
  auto p = fill.find("<fgColor ");
  if (p == std::string::npos) return 0;
  auto e = fill.find("/>", p);
  return colour_of(std::string_view(fill).substr(p + 9, e - p - 9));
}

uint32_t Styles::with_fill(uint32_t xf, std::optional<uint32_t> bgr) {
  uint32_t id = 0;
  if (bgr) {
    std::string xmlfill = "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"" + argb_of_bgr(*bgr) +
                          "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
    auto it = fill_index_.find(xmlfill);
    if (it != fill_index_.end()) {
      id = it->second;
    } else {
      fills_.push_back(xmlfill);
      id = static_cast<uint32_t>(fills_.size() - 1);
      fill_index_.emplace(std::move(xmlfill), id);
    }
  }
  CellFormat f = format(xf);
  f.fill = static_cast<int>(id);
  return intern(f);
}

const Border& Styles::border(uint32_t xf) const { return borders_[format(xf).border]; }

uint32_t Styles::with_border(uint32_t xf, const Border& b) {
  auto it = std::find(borders_.begin(), borders_.end(), b);
  size_t id = static_cast<size_t>(it - borders_.begin());
  if (it == borders_.end()) borders_.push_back(b);
  CellFormat f = format(xf);
  f.border = static_cast<int>(id);
  return intern(f);
}

std::string Styles::alignment(uint32_t xf, std::string_view attr) const {
  for (auto& [k, v] : format(xf).alignment) if (k == attr) return v;
  return {};
}

uint32_t Styles::with_alignment(uint32_t xf, std::string_view attr, std::string_view value) {
  CellFormat f = format(xf);
  auto it = std::find_if(f.alignment.begin(), f.alignment.end(), [&](auto& p) { return p.first == attr; });
  if (it != f.alignment.end()) f.alignment.erase(it);
  if (!value.empty()) f.alignment.emplace_back(std::string(attr), std::string(value));
  std::sort(f.alignment.begin(), f.alignment.end());
  return intern(f);
}

double Styles::font_size(uint32_t xf) const { return fonts_[std::min<size_t>(format(xf).font, fonts_.size() - 1)].size; }
bool Styles::font_bold(uint32_t xf) const { return fonts_[std::min<size_t>(format(xf).font, fonts_.size() - 1)].bold; }

}  // namespace hrdoc::sheet

namespace hrdoc::sheet {

namespace {

std::string font_xml(std::string_view name, double size, bool bold, bool italic, bool underline) {
  char sz[32];
  std::snprintf(sz, sizeof sz, "%g", size);
  std::string xml = "<font>";
  if (bold) xml += "<b/>";
  if (italic) xml += "<i/>";
  if (underline) xml += "<u/>";
  xml += "<sz val=\"" + std::string(sz) + "\"/><name val=\"";
  for (char c : name) {
    if (c == '"') xml += "&quot;";
    else if (c == '&') xml += "&amp;";
    else if (c == '<') xml += "&lt;";
    else xml += c;
  }
  return xml + "\"/><charset val=\"204\"/></font>";
}

}  // namespace

void Styles::set_default_font(std::string_view name, double size) {
  if (size <= 0 || size > 409) size = 11;
  fonts_[0] = {font_xml(name, size, false, false, false), size, false};
}

uint32_t Styles::with_font(uint32_t xf, std::string_view name, double size, bool bold, bool italic, bool underline) {
  if (size <= 0 || size > 409) size = 11;
  const std::string xml = font_xml(name, size, bold, italic, underline);
  size_t id = 0;
  while (id < fonts_.size() && fonts_[id].xml != xml) ++id;
  if (id == fonts_.size()) fonts_.push_back({xml, size, bold});
  CellFormat f = format(xf);
  f.font = static_cast<int>(id);
  return intern(f);
}

}  // namespace hrdoc::sheet
