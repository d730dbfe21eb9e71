#include "office/classwrd.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "office/office_host.h"
#include "office/srvimp.h"
#include "word/document.h"

namespace hrdoc::office {

struct TWordDoc::Open {
  std::string name;  // "Документ1", or the file name
  std::string path;  // empty for a new document
  word::Document doc;
};

TWordDoc::TWordDoc(std::string work_dir, std::function<void(const std::string&)> announce)
    : work_dir_(std::move(work_dir)), announce_(std::move(announce)) {}

TWordDoc::~TWordDoc() = default;

TWordDoc::Open& TWordDoc::active() const {
  if (docs_.empty()) throw std::runtime_error("Нет открытого документа");
  return *docs_.back();
}

word::Document& TWordDoc::Active() { return active().doc; }

void TWordDoc::SetVisible(bool visible) {
  if (!visible) return;
  for (auto& d : docs_) {
    if (!d->path.empty()) continue;
    // The first free name, so that an earlier document is never replaced.
    std::string path = FirstFreeName(work_dir_, "Документ", ".docx");
    d->doc.save(path);
    path = OfficeHost().PlaceDocument(path);
    d->path = path;
    shown_.push_back(path);
    if (announce_) announce_(path);
  }
}

void TWordDoc::NewDocument(const std::string& templateName) {
  auto d = std::make_unique<Open>(Open{"Документ" + std::to_string(++new_count_), "",
                                       templateName.empty() ? word::Document::blank() : word::Document::open(templateName)});
  docs_.push_back(std::move(d));
}

void TWordDoc::OpenDocument(const std::string& fileName) {
  auto d = std::make_unique<Open>(Open{std::filesystem::path(fileName).filename().string(), fileName, word::Document::open(fileName)});
  docs_.push_back(std::move(d));
}

bool TWordDoc::Find(const std::string& text) { return active().doc.find(text); }
void TWordDoc::ReplaceAll(const std::string& text, const std::string& replacement) { active().doc.replace_all(text, replacement); }
void TWordDoc::SelectAll() { active().doc.select_all(); }
void TWordDoc::Copy() { clipboard_ = std::make_unique<word::Fragment>(active().doc.copy()); }

void TWordDoc::Paste() {
  if (clipboard_) active().doc.paste(*clipboard_);
}

void TWordDoc::Delete() { active().doc.delete_char(); }
void TWordDoc::PageBreak() { active().doc.page_break(); }
void TWordDoc::GoToEnd() { active().doc.go_to_end(); }
void TWordDoc::TypeText(const std::string& text) { active().doc.type_text(text); }

void TWordDoc::CloseWindow() {
  if (!docs_.empty()) docs_.pop_back();
}

void TWordDoc::Activate(const std::string& name) {
  auto it = std::find_if(docs_.begin(), docs_.end(), [&](const auto& d) { return d->name == name; });
  if (it == docs_.end()) throw std::runtime_error("Нет открытого документа \"" + name + "\"");
  std::rotate(it, it + 1, docs_.end());
}

std::string TWordDoc::ActiveName() const { return active().name; }

}  // namespace hrdoc::office
