// The .docx document engine: a document read from a file (Word's, LibreOffice's or our
// template compiler's), edited through a selection the way a word processor is driven, and
// written back. Paragraphs, runs, tables, breaks, styles, numbering, page setup, headers and
// footers are edited in place in the document's own XML; every part the engine does not edit
// is written back byte for byte.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hrdoc::word {

// The one exception type of the engine: names the file (and the part) and what is wrong.
class Error : public std::runtime_error {
 public:
  Error(const std::string& file, const std::string& what)
      : std::runtime_error((file.empty() ? std::string("document") : file) + ": " + what), file_(file) {}
  const std::string& file() const { return file_; }

 private:
  std::string file_;
};

// What `Document::copy` takes: the selected body content with the styles, numbering and
// related parts it refers to, so that it can be pasted into another document.
class Fragment {
 public:
  Fragment();
  ~Fragment();
  Fragment(Fragment&&) noexcept;
  Fragment& operator=(Fragment&&) noexcept;
  bool empty() const;

 private:
  friend class Document;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class Document {
 public:
  // Reads a .docx; an unreadable file raises Error naming it.
  static Document open(const std::string& path);
  // A blank A4 document with a plain "Normal" style.
  static Document blank();
  Document(Document&&) noexcept;
  Document& operator=(Document&&) noexcept;
  ~Document();

  // Writes the document as .docx (to a temporary file first, then renamed over the path).
  void save(const std::string& path) const;

  // The text of every paragraph of the body in order, tables included; a line break is "\n",
  // a tab "\t".
  std::vector<std::string> paragraphs() const;

  // Replaces every occurrence of `text` in the body (letter case ignored, never across
  // paragraphs) by `replacement`, which takes the formatting of the run where the occurrence
  // begins; "\n" in it is a line break. Returns how many were replaced. Paragraphs that did not
  // change since the last search for the same text are not searched again.
  int replace_all(std::string_view text, std::string_view replacement);
  // Selects the next occurrence after the selection, continuing at the start of the body.
  bool find(std::string_view text);
  // The selected text (empty for a caret).
  std::string selected_text() const;
  // Replaces the selection by the text ("\n": a line break) and leaves the caret after it.
  void type_text(std::string_view text);
  // Deletes the selection, or the character after the caret.
  void delete_char();
  void select_all();
  void go_to_end();
  // Ends the page at the caret: what follows starts at the top of the next page.
  void page_break();
  // The selection's content (whole paragraphs and tables; the whole body after select_all).
  Fragment copy() const;
  // Inserts a fragment at the caret keeping its formatting: its styles come along when this
  // document lacks them, its numbered lists start again from 1, its ids are made unique.
  void paste(const Fragment& fragment);

 private:
  struct Impl;
  explicit Document(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace hrdoc::word
