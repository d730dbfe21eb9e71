#pragma once
// The Word document class: a word processor driven the way a report drives Word, over the
// .docx engine. It keeps the open documents and works on the active one and its selection.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hrdoc::word {
class Document;
class Fragment;
}  // namespace hrdoc::word

namespace hrdoc::office {

class TWordDoc {
 public:
  // New documents are saved into `work_dir` (ending with '/') when shown; `announce` receives
  // the path of every document shown.
  TWordDoc(std::string work_dir, std::function<void(const std::string&)> announce);
  ~TWordDoc();
  TWordDoc(const TWordDoc&) = delete;
  TWordDoc& operator=(const TWordDoc&) = delete;

  // Showing saves every new document as the work folder's first free "ДокументN.docx" and
  // announces it.
  void SetVisible(bool visible);
  // A new document on the template (its body, styles, lists, page setup, headers and footers);
  // an empty name gives a blank A4 document.
  void NewDocument(const std::string& templateName);
  void OpenDocument(const std::string& fileName);
  bool Find(const std::string& text);
  void ReplaceAll(const std::string& text, const std::string& replacement);
  void SelectAll();
  void Copy();
  void Paste();
  void Delete();
  void PageBreak();
  void GoToEnd();
  // Closes the active document without saving; the one active before it becomes active.
  void CloseWindow();
  void TypeText(const std::string& text);

  // Switching between the open documents: by the name a document has ("Документ1" for a new
  // one, the file name for an opened one).
  void Activate(const std::string& name);
  std::string ActiveName() const;
  // The active document, for reading it back.
  word::Document& Active();
  // Paths of the documents saved by SetVisible.
  const std::vector<std::string>& Shown() const { return shown_; }

 private:
  struct Open;
  Open& active() const;

  std::string work_dir_;
  std::function<void(const std::string&)> announce_;
  std::vector<std::unique_ptr<Open>> docs_;  // the last is the active one
  std::unique_ptr<word::Fragment> clipboard_;
  int new_count_ = 0;
  std::vector<std::string> shown_;
};

}  // namespace hrdoc::office
