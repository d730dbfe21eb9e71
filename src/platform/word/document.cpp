#include "word/document.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "sheet/error.h"
#include "sheet/zip_io.h"
#include "word/blank.h"

namespace hrdoc::word {

namespace {

constexpr const char* kRelDocument = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char* kRelStyles = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr const char* kRelNumbering = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering";
constexpr const char* kNumberingType = "application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml";
constexpr const char* kNsW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kNsRel = "http://schemas.openxmlformats.org/package/2006/relationships";

using Node = pugi::xml_node;
using Key = const void*;

Key key_of(Node n) { return n.internal_object(); }

// --- text -----------------------------------------------------------------------------------

std::u32string decode(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    size_t n;
    if (c < 0x80) cp = c, n = 1;
    else if ((c >> 5) == 6) cp = c & 0x1F, n = 2;
    else if ((c >> 4) == 14) cp = c & 0x0F, n = 3;
    else if ((c >> 3) == 30) cp = c & 0x07, n = 4;
    else {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    if (i + n > s.size()) {
      out += U'\uFFFD';
      break;
    }
    bool ok = true;
    for (size_t k = 1; k < n; ++k) {
      auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc >> 6) != 2) ok = false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    out += ok ? cp : U'\uFFFD';
    i += ok ? n : 1;
  }
  return out;
}

std::string encode(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t cp : s) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

// Lower case for the letters a clerk types: Latin and Cyrillic (ё, ґ and the others included).
char32_t fold(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c == 0x490) return 0x491;
  return c;
}

std::u32string folded(std::u32string s) {
  for (auto& c : s) c = fold(c);
  return s;
}

// --- paragraphs as text ---------------------------------------------------------------------

enum class AtomKind { text, tab, line };

struct Atom {
  Node node;
  AtomKind kind;
  size_t start;
  size_t len;
};

struct ParaText {
  std::vector<Atom> atoms;
  std::u32string text;
};

bool is(Node n, const char* name) { return std::string_view(n.name()) == name; }

// Elements whose content is not part of the paragraph's running text.
bool skipped(Node n) {
  static const std::set<std::string_view> names = {
      "w:p", "w:pPr", "w:rPr", "w:del", "w:delText", "w:instrText", "w:drawing", "w:pict",
      "w:object", "mc:AlternateContent", "w:txbxContent", "w:footnoteReference", "w:commentReference"};
  return names.count(n.name()) != 0;
}

void collect(Node n, ParaText& pt) {
  for (Node c = n.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element || skipped(c)) continue;
    if (is(c, "w:t")) {
      std::u32string t = decode(c.text().get());
      pt.atoms.push_back({c, AtomKind::text, pt.text.size(), t.size()});
      pt.text += t;
    } else if (is(c, "w:tab")) {
      pt.atoms.push_back({c, AtomKind::tab, pt.text.size(), 1});
      pt.text += U'\t';
    } else if (is(c, "w:br") || is(c, "w:cr")) {
      pt.atoms.push_back({c, AtomKind::line, pt.text.size(), 1});
      pt.text += U'\n';
    } else {
      collect(c, pt);
    }
  }
}

ParaText para_text(Node p) {
  ParaText pt;
  collect(p, pt);
  return pt;
}

void set_text(Node t, std::u32string_view text) {
  t.text().set(encode(text).c_str());
  if (!t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
}

// Removes [s, e) of the paragraph's text. Text elements stay (possibly empty) so that an
// insertion point found before the removal is still there after it.
void erase_range(const ParaText& pt, size_t s, size_t e) {
  for (const auto& a : pt.atoms) {
    size_t as = a.start, ae = a.start + a.len;
    if (ae <= s || as >= e) continue;
    if (a.kind == AtomKind::text) {
      std::u32string t = decode(a.node.text().get());
      size_t from = std::max(s, as) - as, to = std::min(e, ae) - as;
      t.erase(from, to - from);
      set_text(a.node, t);
    } else if (as >= s && ae <= e) {
      a.node.parent().remove_child(a.node);
    }
  }
}

// Drops the text elements left empty and the runs left with nothing but their properties.
void tidy(Node p) {
  std::vector<Node> empty_t;
  std::vector<Node> stack{p};
  std::vector<Node> runs;
  while (!stack.empty()) {
    Node n = stack.back();
    stack.pop_back();
    for (Node c = n.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      if (is(c, "w:t") && *c.text().get() == 0) empty_t.push_back(c);
      else if (!is(c, "w:p") && !skipped(c)) stack.push_back(c);
      if (is(c, "w:r")) runs.push_back(c);
    }
  }
  for (Node t : empty_t) t.parent().remove_child(t);
  for (Node r : runs) {
    bool content = false;
    for (Node c = r.first_child(); c && !content; c = c.next_sibling())
      content = c.type() == pugi::node_element && !is(c, "w:rPr");
    if (!content) r.parent().remove_child(r);
  }
}

// A new run for text where the paragraph has none to lend its formatting: it takes the
// formatting of the paragraph mark.
Node new_run(Node p, Node before) {
  Node r = before ? p.insert_child_before("w:r", before) : p.append_child("w:r");
  if (Node mark = p.child("w:pPr").child("w:rPr")) r.append_copy(mark);
  return r;
}

// Inserts text ("\n": a line break) into the paragraph at `pos`, in the run of the text element
// `hint` when it is still there, else in the run holding that position. Returns the characters
// inserted.
size_t insert_text(Node p, size_t pos, std::u32string_view text, Node hint) {
  if (text.empty()) return 0;
  ParaText pt = para_text(p);
  const Atom* at = nullptr;
  for (const auto& a : pt.atoms)
    if (a.kind == AtomKind::text && a.node == hint && a.start <= pos && pos <= a.start + a.len) at = &a;
  if (!at)
    for (const auto& a : pt.atoms)
      if (a.kind == AtomKind::text && a.start <= pos && pos <= a.start + a.len && (!at || a.start + a.len > pos)) at = &a;
  Node t;
  size_t off = 0;
  if (at) {
    t = at->node;
    off = pos - at->start;
  } else {
    // No text element at the position: a new one in the run of the atom that follows, else a
    // new run at the end.
    const Atom* next = nullptr;
    for (const auto& a : pt.atoms)
      if (a.start >= pos) {
        next = &a;
        break;
      }
    if (next) {
      t = next->node.parent().insert_child_before("w:t", next->node);
    } else if (!pt.atoms.empty()) {
      t = pt.atoms.back().node.parent().insert_child_after("w:t", pt.atoms.back().node);
    } else {
      t = new_run(p, Node()).append_child("w:t");
    }
  }
  std::u32string cur = decode(t.text().get());
  std::u32string suffix = cur.substr(off);
  cur.erase(off);
  size_t i = 0;
  Node last = t;
  while (true) {
    size_t nl = text.find(U'\n', i);
    std::u32string_view piece = text.substr(i, nl == std::u32string_view::npos ? std::u32string_view::npos : nl - i);
    if (last == t) {
      cur += piece;
    } else {
      cur = std::u32string(piece);
    }
    if (nl == std::u32string_view::npos) {
      cur += suffix;
      set_text(last, cur);
      break;
    }
    set_text(last, cur);
    Node br = last.parent().insert_child_after("w:br", last);
    last = last.parent().insert_child_after("w:t", br);
    i = nl + 1;
  }
  return text.size();
}

// The paragraphs of a body or a part of it, in reading order; paragraphs inside text boxes
// belong to their drawing and are left out.
void paragraphs_of(Node n, std::vector<Node>& out) {
  for (Node c = n.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    if (is(c, "w:p")) out.push_back(c);
    else if (!skipped(c) && !is(c, "w:sectPr")) paragraphs_of(c, out);
  }
}

void add_page_break_before(Node p) {
  Node ppr = p.child("w:pPr");
  if (!ppr) ppr = p.prepend_child("w:pPr");
  if (ppr.child("w:pageBreakBefore")) return;
  // Early in the properties, where the schema's order puts it.
  Node after = Node();
  for (const char* name : {"w:pStyle", "w:keepNext", "w:keepLines"})
    if (Node c = ppr.child(name)) after = c;
  if (after) ppr.insert_child_after("w:pageBreakBefore", after);
  else ppr.prepend_child("w:pageBreakBefore");
}

std::string rel_dir(const std::string& part) {
  auto slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string rels_of(const std::string& part) {
  auto slash = part.rfind('/');
  std::string dir = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
  return dir + "_rels/" + file + ".rels";
}

// Resolves a relationship target against the folder of its source part.
std::string resolve(const std::string& base_dir, const std::string& target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  std::vector<std::string> parts;
  std::string path = base_dir + target;
  std::stringstream ss(path);
  std::string seg;
  while (std::getline(ss, seg, '/')) {
    if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!seg.empty() && seg != ".") {
      parts.push_back(seg);
    }
  }
  std::string out;
  for (auto& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

std::string xml_text(const pugi::xml_document& doc) {
  std::ostringstream os;
  doc.save(os, "", pugi::format_raw, pugi::encoding_utf8);
  return os.str();
}

}  // namespace

// --- the package ----------------------------------------------------------------------------

struct Fragment::Impl {
  pugi::xml_document content;    // <frag> holding copies of body elements
  pugi::xml_document styles;     // the source's styles part
  pugi::xml_document numbering;  // the source's numbering part
  struct Rel {
    std::string type, target;
    bool external = false;
    std::string part_name, data;  // an internal part's name and bytes
    std::string content_type;
  };
  std::map<std::string, Rel> rels;
  std::string source;  // where the fragment came from, to reuse the lists it brought once
};

Fragment::Fragment() : impl_(std::make_unique<Impl>()) {}
Fragment::~Fragment() = default;
Fragment::Fragment(Fragment&&) noexcept = default;
Fragment& Fragment::operator=(Fragment&&) noexcept = default;
bool Fragment::empty() const { return !impl_ || !impl_->content.first_child().first_child(); }

struct Document::Impl {
  std::string file;                                  // for messages
  std::vector<std::string> order;                    // part names as read
  std::unordered_map<std::string, std::string> raw;  // parts kept as bytes
  std::string main_part = "word/document.xml";
  std::string styles_part, numbering_part;
  pugi::xml_document main, styles, numbering, types, rels;
  bool styles_loaded = false, numbering_loaded = false;
  bool styles_dirty = false, numbering_dirty = false, types_dirty = false, rels_dirty = false;
  Node body;

  // The selection: a caret or a range inside one paragraph, the whole body, or a caret in a
  // paragraph not made yet that will follow `para` (the start of the body when empty).
  enum class Sel { caret, range, all, pending } sel = Sel::caret;
  Node para;
  size_t start = 0, end = 0;
  bool pending_break = false;

  // Order of the body's own elements, so that the position of a paragraph is known without
  // walking the body.
  std::unordered_map<Key, uint64_t> order_key;
  // Paragraphs changed or inserted, in order of change; and for a search text, how much of
  // that journal had been seen when the body last held no occurrence of it.
  std::vector<Node> journal;
  std::unordered_map<std::u32string, size_t> clean;

  std::set<std::string> style_ids;
  std::map<std::string, std::string> abstract_for;  // source list definition -> our id
  std::map<std::string, std::string> style_num_for;  // source list of an imported style -> our num
  int next_num = 0, next_abstract = 0, next_bookmark = 0, next_docpr = 0, next_rel = 0, next_media = 0;

  static constexpr uint64_t gap = uint64_t{1} << 20;

  void renumber_order() {
    order_key.clear();
    uint64_t k = gap;
    // The section properties close the body and take no place: what is appended goes before
    // them with room to spare.
    for (Node c = body.first_child(); c; c = c.next_sibling(), k += gap)
      if (!is(c, "w:sectPr")) order_key[key_of(c)] = k;
  }

  // Gives a body element just inserted a place in the order.
  void place(Node n) {
    if (n.parent() != body) return;
    Node prev = n.previous_sibling(), next = n.next_sibling();
    auto pk = prev ? order_key.find(key_of(prev)) : order_key.end();
    auto nk = next ? order_key.find(key_of(next)) : order_key.end();
    uint64_t lo = pk == order_key.end() ? 0 : pk->second;
    uint64_t hi = nk == order_key.end() ? lo + 2 * gap : nk->second;
    if (hi - lo < 2) return renumber_order();
    order_key[key_of(n)] = lo + (hi - lo) / 2;
  }

  // Where a paragraph stands: its body element's place, then its place inside that element.
  std::pair<uint64_t, size_t> position(Node p) {
    Node top = p;
    while (top.parent() != body) top = top.parent();
    auto it = order_key.find(key_of(top));
    if (it == order_key.end()) {
      renumber_order();
      it = order_key.find(key_of(top));
    }
    if (top == p) return {it->second, 0};
    std::vector<Node> inner;
    paragraphs_of(top, inner);
    return {it->second, static_cast<size_t>(std::find(inner.begin(), inner.end(), p) - inner.begin())};
  }

  void touched(Node p) { journal.push_back(p); }
  void forget_all() {
    journal.clear();
    clean.clear();
  }

  std::vector<Node> all_paragraphs() const {
    std::vector<Node> out;
    paragraphs_of(body, out);
    return out;
  }

  // The paragraphs that may hold the search text: only those changed since the body last held
  // none, when that is known.
  std::vector<Node> candidates(const std::u32string& needle, bool& all) {
    auto it = clean.find(needle);
    all = it == clean.end();
    if (all) return all_paragraphs();
    std::vector<Node> out;
    std::unordered_set<Key> seen;
    for (size_t i = it->second; i < journal.size(); ++i)
      if (seen.insert(key_of(journal[i])).second) out.push_back(journal[i]);
    return out;
  }

  // --- parts --------------------------------------------------------------------------------

  std::string part(const std::string& name) const {
    auto it = raw.find(name);
    return it == raw.end() ? std::string() : it->second;
  }

  void parse(pugi::xml_document& doc, const std::string& name) {
    std::string data = part(name);
    auto r = doc.load_buffer(data.data(), data.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!r) throw Error(file, name + ": " + r.description() + " at byte " + std::to_string(r.offset));
  }

  Node rel_root() { return rels.child("Relationships"); }

  std::string add_rel(const std::string& type, const std::string& target, bool external) {
    std::string id;
    do id = "rIdW" + std::to_string(++next_rel);
    while (rel_root().find_child_by_attribute("Relationship", "Id", id.c_str()));
    Node r = rel_root().append_child("Relationship");
    r.append_attribute("Id") = id.c_str();
    r.append_attribute("Type") = type.c_str();
    r.append_attribute("Target") = target.c_str();
    if (external) r.append_attribute("TargetMode") = "External";
    rels_dirty = true;
    return id;
  }

  void add_override(const std::string& part_name, const std::string& type) {
    Node t = types.child("Types");
    std::string pn = "/" + part_name;
    if (t.find_child_by_attribute("Override", "PartName", pn.c_str())) return;
    Node o = t.append_child("Override");
    o.append_attribute("PartName") = pn.c_str();
    o.append_attribute("ContentType") = type.c_str();
    types_dirty = true;
  }

  void add_default(const std::string& ext, const std::string& type) {
    Node t = types.child("Types");
    for (Node d : t.children("Default"))
      if (std::string_view(d.attribute("Extension").value()) == ext) return;
    Node d = t.prepend_child("Default");
    d.append_attribute("Extension") = ext.c_str();
    d.append_attribute("ContentType") = type.c_str();
    types_dirty = true;
  }

  Node styles_root() {
    if (!styles_loaded) {
      styles_loaded = true;
      if (!styles_part.empty()) parse(styles, styles_part);
      for (Node s : styles.child("w:styles").children("w:style")) style_ids.insert(s.attribute("w:styleId").value());
    }
    return styles.child("w:styles");
  }

  Node numbering_root() {
    if (!numbering_loaded) {
      numbering_loaded = true;
      if (!numbering_part.empty()) parse(numbering, numbering_part);
      for (Node n : numbering.child("w:numbering").children()) {
        if (is(n, "w:num")) next_num = std::max(next_num, n.attribute("w:numId").as_int());
        if (is(n, "w:abstractNum")) next_abstract = std::max(next_abstract, n.attribute("w:abstractNumId").as_int());
      }
    }
    if (!numbering.child("w:numbering")) {
      // The document had no lists: it gets its numbering part now.
      numbering_part = "word/numbering.xml";
      order.push_back(numbering_part);
      Node root = numbering.append_child("w:numbering");
      root.append_attribute("xmlns:w") = kNsW;
      add_rel(kRelNumbering, "numbering.xml", false);
      add_override(numbering_part, kNumberingType);
      numbering_dirty = true;
    }
    return numbering.child("w:numbering");
  }

  void load(std::vector<std::pair<std::string, std::string>> parts) {
    for (auto& [name, data] : parts) {
      if (!name.empty() && name.back() == '/') continue;
      order.push_back(name);
      raw[name] = std::move(data);
    }
    if (!raw.count("[Content_Types].xml")) throw Error(file, "not a Word document: the package has no content types");
    parse(types, "[Content_Types].xml");
    if (raw.count("_rels/.rels")) {
      pugi::xml_document root_rels;
      parse(root_rels, "_rels/.rels");
      for (Node r : root_rels.child("Relationships").children("Relationship"))
        if (std::string_view(r.attribute("Type").value()) == kRelDocument) main_part = resolve("", r.attribute("Target").value());
    }
    if (!raw.count(main_part)) throw Error(file, "not a Word document: no " + main_part);
    parse(main, main_part);
    body = main.child("w:document").child("w:body");
    if (!body) throw Error(file, main_part + ": the document has no body");
    std::string rels_name = rels_of(main_part);
    if (raw.count(rels_name)) {
      parse(rels, rels_name);
    } else {
      order.push_back(rels_name);
      Node root = rels.append_child("Relationships");
      root.append_attribute("xmlns") = kNsRel;
      rels_dirty = true;
    }
    for (Node r : rel_root().children("Relationship")) {
      std::string_view type = r.attribute("Type").value();
      std::string target = resolve(rel_dir(main_part), r.attribute("Target").value());
      if (type == kRelStyles) styles_part = target;
      if (type == kRelNumbering) numbering_part = target;
    }
    // Ids the pasted content must not repeat.
    for (auto x : main.select_nodes("//w:bookmarkStart"))
      next_bookmark = std::max(next_bookmark, x.node().attribute("w:id").as_int());
    for (auto x : main.select_nodes("//wp:docPr")) next_docpr = std::max(next_docpr, x.node().attribute("id").as_int());
    renumber_order();
    Node first = body.child("w:p");
    if (first) para = first;
    else sel = Sel::pending, para = Node();
  }

  // --- selection ----------------------------------------------------------------------------

  void caret_at(Node p, size_t pos) {
    sel = Sel::caret;
    para = p;
    start = end = pos;
  }

  void caret_after(Node n) {
    if (n && is(n, "w:p")) return caret_at(n, para_text(n).text.size());
    sel = Sel::pending;
    para = n;
    pending_break = false;
  }

  // Inserts a copy of `src` after `after` (at the start of the body when null).
  Node insert_after(Node after, Node src) {
    Node n;
    if (after) n = after.parent().insert_copy_after(src, after);
    else if (body.first_child()) n = body.insert_copy_before(src, body.first_child());
    else n = body.append_copy(src);
    place(n);
    return n;
  }

  Node new_paragraph_after(Node after) {
    pugi::xml_document tmp;
    tmp.append_child("w:p");
    return insert_after(after, tmp.first_child());
  }

  // Turns the pending paragraph into a real one.
  Node materialize() {
    Node p = new_paragraph_after(para);
    if (pending_break) add_page_break_before(p);
    touched(p);
    caret_at(p, 0);
    return p;
  }

  void delete_selection() {
    if (sel == Sel::all) {
      std::vector<Node> drop;
      for (Node c = body.first_child(); c; c = c.next_sibling())
        if (!is(c, "w:sectPr")) drop.push_back(c);
      for (Node c : drop) body.remove_child(c);
      forget_all();
      renumber_order();
      Node p = new_paragraph_after(Node());
      caret_at(p, 0);
    } else if (sel == Sel::range) {
      ParaText pt = para_text(para);
      erase_range(pt, start, end);
      tidy(para);
      touched(para);
      caret_at(para, start);
    }
  }

  // Splits the caret's paragraph; returns the paragraph holding the text after the caret, or
  // an empty node (and the caret pending after its paragraph) when the caret is at its end.
  Node split_at_caret() {
    ParaText pt = para_text(para);
    if (start >= pt.text.size()) {
      sel = Sel::pending;
      pending_break = false;
      return Node();
    }
    Node second = para.parent().insert_copy_after(para, para);
    place(second);
    erase_range(para_text(second), 0, start);
    erase_range(pt, start, pt.text.size());
    tidy(para);
    tidy(second);
    touched(para);
    touched(second);
    return second;
  }
};

Document::Document(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;
Document::~Document() = default;

Document Document::open(const std::string& path) {
  auto impl = std::make_unique<Impl>();
  impl->file = path;
  try {
    sheet::ZipReader zip(path);
    std::vector<std::pair<std::string, std::string>> parts;
    for (auto& name : zip.names()) parts.emplace_back(name, *zip.read(name));
    impl->load(std::move(parts));
  } catch (const sheet::Error& e) {
    std::string what = e.what();
    if (what.find("file not found") != std::string::npos) throw Error(path, "file not found");
    throw Error(path, "not a readable .docx document (" + what + ")");
  }
  return Document(std::move(impl));
}

Document Document::blank() {
  auto impl = std::make_unique<Impl>();
  impl->file = "blank document";
  impl->load(blank_parts());
  return Document(std::move(impl));
}

void Document::save(const std::string& path) const {
  auto& d = *impl_;
  try {
    sheet::ZipWriter zip(path);
    for (const auto& name : d.order) {
      if (name == d.main_part) zip.add(name, xml_text(d.main));
      else if (name == "[Content_Types].xml" && d.types_dirty) zip.add(name, xml_text(d.types));
      else if (name == rels_of(d.main_part) && d.rels_dirty) zip.add(name, xml_text(d.rels));
      else if (name == d.styles_part && d.styles_dirty) zip.add(name, xml_text(d.styles));
      else if (name == d.numbering_part && d.numbering_dirty) zip.add(name, xml_text(d.numbering));
      else zip.add(name, d.part(name));
    }
    zip.finish();
  } catch (const sheet::Error& e) {
    throw Error(path, std::string("cannot save: ") + e.what());
  }
}

std::vector<std::string> Document::paragraphs() const {
  std::vector<std::string> out;
  for (Node p : impl_->all_paragraphs()) out.push_back(encode(para_text(p).text));
  return out;
}

int Document::replace_all(std::string_view text, std::string_view replacement) {
  auto& d = *impl_;
  std::u32string needle = folded(decode(text));
  if (needle.empty()) return 0;
  std::u32string repl = decode(replacement);
  bool all = false;
  int count = 0;
  const size_t journal_before = d.journal.size();
  for (Node p : d.candidates(needle, all)) {
    ParaText pt = para_text(p);
    std::u32string hay = folded(pt.text);
    std::vector<size_t> hits;
    for (size_t at = hay.find(needle); at != std::u32string::npos; at = hay.find(needle, at + needle.size())) hits.push_back(at);
    if (hits.empty()) continue;
    // From the last occurrence back, so that the earlier ones keep their positions.
    for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
      ParaText cur = it == hits.rbegin() ? std::move(pt) : para_text(p);
      Node first;
      for (const auto& a : cur.atoms)
        if (a.kind == AtomKind::text && a.start <= *it && *it < a.start + a.len) {
          first = a.node;
          break;
        }
      erase_range(cur, *it, *it + needle.size());
      insert_text(p, *it, repl, first);
      ++count;
    }
    tidy(p);
    d.touched(p);
    if (d.para == p && d.sel != Impl::Sel::pending) {
      size_t len = para_text(p).text.size();
      d.start = std::min(d.start, len);
      d.end = std::min(d.end, len);
    }
  }
  // The paragraphs that still hold the text go on the journal again, so that the next search
  // for it looks at them and at what changes later, not at the whole body.
  size_t mark = d.journal.size();
  if (folded(repl).find(needle) != std::u32string::npos)
    for (size_t i = journal_before; i < mark; ++i) d.touched(d.journal[i]);
  d.clean[needle] = mark;
  return count;
}

bool Document::find(std::string_view text) {
  auto& d = *impl_;
  std::u32string needle = folded(decode(text));
  if (needle.empty()) return false;
  bool all = false;
  std::vector<Node> cands = d.candidates(needle, all);
  // Where the search starts: after the selection.
  std::pair<uint64_t, size_t> from{0, 0};
  size_t from_off = 0;
  if (d.sel == Impl::Sel::caret || d.sel == Impl::Sel::range) {
    from = d.position(d.para);
    from_off = d.end;
  } else if (d.sel == Impl::Sel::pending && d.para) {
    from = d.position(d.para);
    from_off = SIZE_MAX;
  }
  struct Hit {
    std::pair<uint64_t, size_t> pos;
    size_t off;
    Node p;
  };
  std::optional<Hit> after, first;
  std::vector<Node> holding;
  bool none = true;
  for (Node p : cands) {
    std::u32string hay = folded(para_text(p).text);
    size_t at = hay.find(needle);
    if (at == std::u32string::npos) continue;
    none = false;
    holding.push_back(p);
    auto pos = d.position(p);
    for (; at != std::u32string::npos; at = hay.find(needle, at + 1)) {
      Hit h{pos, at, p};
      auto before = [](const Hit& a, const Hit& b) { return a.pos != b.pos ? a.pos < b.pos : a.off < b.off; };
      if (!first || before(h, *first)) first = h;
      bool is_after = pos > from || (pos == from && at >= from_off && from_off != SIZE_MAX);
      if (is_after && (!after || before(h, *after))) after = h;
    }
  }
  size_t mark = d.journal.size();
  for (Node p : holding) d.touched(p);
  d.clean[needle] = mark;
  if (none) return false;
  const Hit& h = after ? *after : *first;
  d.sel = Impl::Sel::range;
  d.para = h.p;
  d.start = h.off;
  d.end = h.off + needle.size();
  return true;
}

std::string Document::selected_text() const {
  auto& d = *impl_;
  if (d.sel == Impl::Sel::range) return encode(para_text(d.para).text.substr(d.start, d.end - d.start));
  if (d.sel == Impl::Sel::all) {
    std::string out;
    for (auto& p : paragraphs()) out += p + "\n";
    return out;
  }
  return {};
}

void Document::type_text(std::string_view text) {
  auto& d = *impl_;
  std::u32string t = decode(text);
  Node hint;
  if (d.sel == Impl::Sel::range) {
    for (const auto& a : para_text(d.para).atoms)
      if (a.kind == AtomKind::text && a.start <= d.start && d.start < a.start + a.len) {
        hint = a.node;
        break;
      }
  }
  d.delete_selection();
  if (d.sel == Impl::Sel::pending) d.materialize();
  insert_text(d.para, d.start, t, hint);
  tidy(d.para);
  d.touched(d.para);
  d.caret_at(d.para, d.start + t.size());
}

void Document::delete_char() {
  auto& d = *impl_;
  if (d.sel == Impl::Sel::caret) {
    ParaText pt = para_text(d.para);
    if (d.start >= pt.text.size()) return;
    d.sel = Impl::Sel::range;
    d.end = d.start + 1;
  }
  d.delete_selection();
}

void Document::select_all() { impl_->sel = Impl::Sel::all; }

void Document::go_to_end() {
  auto& d = *impl_;
  Node last;
  for (Node c = d.body.last_child(); c; c = c.previous_sibling())
    if (c.type() == pugi::node_element && !is(c, "w:sectPr")) {
      last = c;
      break;
    }
  d.caret_after(last);
}

void Document::page_break() {
  auto& d = *impl_;
  if (d.sel == Impl::Sel::all || d.sel == Impl::Sel::range) d.delete_selection();
  if (d.sel == Impl::Sel::pending) {
    if (d.pending_break) d.materialize();
    d.pending_break = true;
    return;
  }
  Node second = d.split_at_caret();
  if (!second) {
    d.pending_break = true;
    return;
  }
  add_page_break_before(second);
  d.caret_at(second, 0);
}

Fragment Document::copy() const {
  auto& d = *impl_;
  Fragment f;
  auto& fi = *f.impl_;
  fi.source = d.file;
  Node root = fi.content.append_child("frag");
  if (d.sel == Impl::Sel::all) {
    for (Node c = d.body.first_child(); c; c = c.next_sibling())
      if (c.type() == pugi::node_element && !is(c, "w:sectPr")) root.append_copy(c);
  } else if (d.sel == Impl::Sel::range) {
    Node p = root.append_copy(d.para);
    ParaText pt = para_text(p);
    erase_range(pt, d.end, pt.text.size());
    erase_range(para_text(p), 0, d.start);
    tidy(p);
  }
  if (Node s = d.styles_root()) fi.styles.append_copy(s);
  if (!d.numbering_part.empty() || d.numbering.child("w:numbering")) {
    if (Node n = d.numbering_root()) fi.numbering.append_copy(n);
  }
  // The relationships the content refers to, with the parts they point at.
  for (auto x : root.select_nodes("//@r:id | //@r:embed | //@r:link | //@r:pict")) {
    std::string id = x.attribute().value();
    if (fi.rels.count(id)) continue;
    Node r = d.rels.child("Relationships").find_child_by_attribute("Relationship", "Id", id.c_str());
    if (!r) continue;
    Fragment::Impl::Rel rel;
    rel.type = r.attribute("Type").value();
    rel.target = r.attribute("Target").value();
    rel.external = std::string_view(r.attribute("TargetMode").value()) == "External";
    if (!rel.external) {
      rel.part_name = resolve(rel_dir(d.main_part), rel.target);
      rel.data = d.part(rel.part_name);
      auto dot = rel.part_name.rfind('.');
      std::string ext = dot == std::string::npos ? "" : rel.part_name.substr(dot + 1);
      for (Node def : d.types.child("Types").children("Default"))
        if (std::string_view(def.attribute("Extension").value()) == ext) rel.content_type = def.attribute("ContentType").value();
      std::string pn = "/" + rel.part_name;
      if (Node o = d.types.child("Types").find_child_by_attribute("Override", "PartName", pn.c_str()))
        rel.content_type = o.attribute("ContentType").value();
    }
    fi.rels[id] = std::move(rel);
  }
  return f;
}

void Document::paste(const Fragment& fragment) {
  auto& d = *impl_;
  if (fragment.empty()) return;
  const auto& fi = *fragment.impl_;
  d.delete_selection();

  // Where the content goes: after `anchor`, or before the caret's paragraph when the caret is
  // at its start.
  Node anchor;
  bool page_break = false;
  if (d.sel == Impl::Sel::pending) {
    anchor = d.para;
    page_break = d.pending_break;
  } else if (d.start == 0) {
    anchor = d.para.previous_sibling();
    while (anchor && anchor.type() != pugi::node_element) anchor = anchor.previous_sibling();
    if (anchor && anchor.parent() != d.para.parent()) anchor = Node();
    if (!anchor && d.para.parent() != d.body) anchor = d.para;  // inside a cell: after it
  } else {
    d.split_at_caret();
    anchor = d.para;
  }

  // Styles this document lacks come with the content.
  Node our_styles = d.styles_root();
  std::vector<Node> imported;
  if (our_styles) {
    for (Node s : fi.styles.child("w:styles").children("w:style")) {
      std::string id = s.attribute("w:styleId").value();
      if (d.style_ids.insert(id).second) {
        imported.push_back(our_styles.append_copy(s));
        d.styles_dirty = true;
      }
    }
  }

  // Lists: each paste gets lists of its own that start again from 1, over one copy of each
  // list definition.
  std::map<std::string, std::string> num_map;
  auto our_num = [&](const std::string& src_num, bool restart) -> std::string {
    Node src = fi.numbering.child("w:numbering").find_child_by_attribute("w:num", "w:numId", src_num.c_str());
    if (!src) return {};
    std::string abs_id = src.child("w:abstractNumId").attribute("w:val").value();
    Node abs = fi.numbering.child("w:numbering").find_child_by_attribute("w:abstractNum", "w:abstractNumId", abs_id.c_str());
    if (!abs) return {};
    Node root = d.numbering_root();
    std::ostringstream os;
    abs.print(os, "", pugi::format_raw);
    std::string def_key = os.str();
    auto known = d.abstract_for.find(def_key);
    std::string our_abs;
    if (known != d.abstract_for.end()) {
      our_abs = known->second;
    } else {
      our_abs = std::to_string(++d.next_abstract);
      Node first_num = root.child("w:num");
      Node copy = first_num ? root.insert_copy_before(abs, first_num) : root.append_copy(abs);
      copy.attribute("w:abstractNumId").set_value(our_abs.c_str());
      d.abstract_for[def_key] = our_abs;
    }
    std::string id = std::to_string(++d.next_num);
    Node num = root.append_child("w:num");
    num.append_attribute("w:numId") = id.c_str();
    num.append_child("w:abstractNumId").append_attribute("w:val") = our_abs.c_str();
    if (restart) {
      for (Node lvl : abs.children("w:lvl")) {
        Node o = num.append_child("w:lvlOverride");
        o.append_attribute("w:ilvl") = lvl.attribute("w:ilvl").value();
        int start_at = lvl.child("w:start") ? lvl.child("w:start").attribute("w:val").as_int() : 0;
        o.append_child("w:startOverride").append_attribute("w:val") = start_at;
      }
    }
    d.numbering_dirty = true;
    return id;
  };
  // Lists that imported styles refer to.
  if (fi.numbering.child("w:numbering")) {
    for (Node style : imported) {
      Node num = style.child("w:pPr").child("w:numPr").child("w:numId");
      std::string src = num.attribute("w:val").value();
      if (!num || src == "0") continue;
      std::string key = fi.source + "\n" + src;
      auto it = d.style_num_for.find(key);
      std::string ours = it != d.style_num_for.end() ? it->second : our_num(src, false);
      d.style_num_for[key] = ours;
      if (!ours.empty()) num.attribute("w:val").set_value(ours.c_str());
    }
  }

  std::map<std::string, std::string> rel_map;
  std::vector<Node> inserted;
  Node after = anchor;
  for (Node c = fi.content.child("frag").first_child(); c; c = c.next_sibling()) {
    Node n = d.insert_after(after, c);
    inserted.push_back(n);
    after = n;
  }
  if (page_break) {
    if (is(inserted.front(), "w:p")) {
      add_page_break_before(inserted.front());
    } else {
      Node p = d.new_paragraph_after(anchor);
      add_page_break_before(p);
      d.touched(p);
    }
  }
  for (Node n : inserted) {
    for (auto x : n.select_nodes("descendant-or-self::*[@w14:paraId or @w14:textId]")) {
      x.node().remove_attribute("w14:paraId");
      x.node().remove_attribute("w14:textId");
    }
    std::map<std::string, std::string> bookmark_map;
    for (auto x : n.select_nodes(".//w:bookmarkStart | .//w:bookmarkEnd")) {
      std::string old = x.node().attribute("w:id").value();
      auto it = bookmark_map.find(old);
      if (it == bookmark_map.end()) it = bookmark_map.emplace(old, std::to_string(++d.next_bookmark)).first;
      x.node().attribute("w:id").set_value(it->second.c_str());
    }
    for (auto x : n.select_nodes(".//wp:docPr")) x.node().attribute("id").set_value(++d.next_docpr);
    for (auto x : n.select_nodes("descendant-or-self::w:numPr/w:numId")) {
      std::string src = x.node().attribute("w:val").value();
      if (src == "0" || !fi.numbering.child("w:numbering")) continue;
      auto it = num_map.find(src);
      if (it == num_map.end()) it = num_map.emplace(src, our_num(src, true)).first;
      if (!it->second.empty()) x.node().attribute("w:val").set_value(it->second.c_str());
    }
    for (auto x : n.select_nodes(".//@r:id | .//@r:embed | .//@r:link | .//@r:pict")) {
      std::string old = x.attribute().value();
      auto known = rel_map.find(old);
      if (known == rel_map.end()) {
        auto src = fi.rels.find(old);
        if (src == fi.rels.end()) continue;
        const auto& rel = src->second;
        std::string target = rel.target;
        if (!rel.external) {
          auto slash = rel.part_name.rfind('/');
          std::string base = slash == std::string::npos ? rel.part_name : rel.part_name.substr(slash + 1);
          std::string name = "word/media/pasted" + std::to_string(++d.next_media) + "_" + base;
          d.order.push_back(name);
          d.raw[name] = rel.data;
          target = name.substr(5);
          auto dot = base.rfind('.');
          if (dot != std::string::npos && !rel.content_type.empty()) d.add_default(base.substr(dot + 1), rel.content_type);
        }
        known = rel_map.emplace(old, d.add_rel(rel.type, target, rel.external)).first;
      }
      x.attribute().set_value(known->second.c_str());
    }
    std::vector<Node> ps;
    if (is(n, "w:p")) ps.push_back(n);
    else paragraphs_of(n, ps);
    for (Node p : ps) d.touched(p);
  }
  d.caret_after(inserted.back());
}

}  // namespace hrdoc::word
