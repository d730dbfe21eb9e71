#include "office/classexl.h"

#include <filesystem>

#include "office/office_host.h"

namespace hrdoc::office {
namespace {

void show(const std::string& text) { OfficeHost().ShowError(text); }

bool ends_with(const std::string& s, char c) { return !s.empty() && s.back() == c; }

// The first n characters of a UTF-8 text: limits count characters, as in the single-byte code
// page, and a cut never splits one.
std::string first_chars(const std::string& text, size_t n) {
  std::string head;
  size_t chars = 0;
  for (size_t i = 0; i < text.size() && chars < n; ++chars) {
    size_t len = 1;
    auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
    head.append(text, i, len);
    i += len;
  }
  return head;
}

// The field name of a "$name ..." cell: at most 20 characters of the cell, "$" included, up to
// the first space.
std::string field_name(const std::string& cell) {
  std::string name = first_chars(cell, 20).substr(1);
  auto space = name.find(' ');
  return space == std::string::npos ? name : name.substr(0, space);
}

}  // namespace

std::string UpperName(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c >= 'a' && c <= 'z') {
      out += static_cast<char>(c - 32);
    } else if ((c == 0xD0 || c == 0xD1) && i + 1 < text.size()) {
      unsigned cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
      if (cp >= 0x430 && cp <= 0x44F) cp -= 0x20;       // а..я
      else if (cp >= 0x450 && cp <= 0x45F) cp -= 0x50;  // ѐ..џ (ё among them)
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
      ++i;
    } else if (c == 0xD2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x91) {
      out += "\xD2\x90";  // ґ, the one Cyrillic letter of the code page outside the block above
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

TExcelShablon::TExcelShablon() = default;

TExcelShablon::~TExcelShablon() {
  try {
    if (IsOpen()) release();
  } catch (...) {
  }
}

bool TExcelShablon::IsOpen() const { return server_ && server_->IsConnected(); }

void TExcelShablon::Open(const std::string& fileName, bool clearFields, bool visible, int backend) {
  open(fileName, true, clearFields, visible, backend);
}

void TExcelShablon::OpenPlain(const std::string& fileName, bool visible, int backend) {
  open(fileName, false, false, visible, backend);
}

void TExcelShablon::open(const std::string& fileName, bool read, bool clearFields, bool visible, int backend) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) {
    show("Не найден файл шаблон печатной формы!\r\n" + fileName + ".");
    return;
  }
  parts_.clear();
  width_ = 0;
  output_row_ = 0;
  if (!server_) {
    // Reports pass 0; the host's choice for the run (hrdoc run --office calc) then decides, so
    // every report of the run goes through the same application.
    if (backend == 0) backend = OfficeHost().Backend();
    server_ = CreateServer(backend);
    if (!server_) return;
    server_->maxRow = 65535;
  }
  server_->OpenBook(fileName, visible);
  if (!server_->IsConnected()) return;
  plain_ = !read;
  if (read) read_parts(clearFields);
  book_ = std::make_unique<TBook>(*server_);
}

std::string TExcelShablon::text_at(int row, int col) { return server_->GetCell(vkString, row, col, 0).text(); }

int TExcelShablon::find_mark_row(const std::string& mark) {
  const std::string wanted = UpperName(mark);
  for (int r = 1; r <= server_->maxRow; ++r) {
    std::string t = text_at(r, 1);
    if (t == "$END$") return 0;
    if (UpperName(t) == wanted) return r;
  }
  return -1;  // no "$END$": the search ran off the sheet
}

void TExcelShablon::read_parts(bool clearFields) {
  parts_.clear();
  int col = 1;
  while (col < 255 && text_at(1, col) != "$END$") ++col;
  width_ = col;

  bool ended = false;
  int row = 1;
  while (row <= server_->maxRow) {
    std::string mark = text_at(row, 1);
    if (mark == "$END$") {
      ended = true;
      break;
    }
    if (ends_with(mark, 'E')) {
      mark.back() = 'B';
      std::string name = mark.substr(0, mark.size() - 1);
      if (find_mark_row(mark) < 0)
        throw TClassExlExcept("Неправильно оформлена часть ''" + name + "'' не найден признак начала части ''" + name +
                              "B''");
    }
    if (!ends_with(mark, 'B')) {
      ++row;
      continue;
    }
    Part part;
    part.name = mark.substr(0, mark.size() - 1);
    part.first = row;
    int end_row = find_mark_row(part.name + "E");
    if (end_row <= 0) {
      part.last = row;
      part.height = 1;
    } else {
      part.last = end_row;
      part.height = end_row - row + 1;
    }
    const int bottom = std::max(part.first, part.last);
    if (static_cast<int>(parts_.size()) >= kMaxParts) {
      show("В шаблоне больше " + std::to_string(kMaxParts) + " частей: часть ''" + part.name + "'' (строка " +
           std::to_string(row) + ") не будет заполняться.");
      row = bottom + 1;
      continue;
    }
    part.name = first_chars(part.name, kMaxName);
    bool warned = false;
    for (int r = part.first; r <= part.last; ++r) {
      for (int c = 2; c <= width_; ++c) {
        std::string t = text_at(r, c);
        if (t.empty() || t[0] != '$') continue;
        std::string name = field_name(t);
        name = first_chars(name, kMaxName);
        std::string upper = UpperName(name);
        bool seen = false;
        for (const auto& f : part.fields) seen = seen || UpperName(f.name) == upper;
        if (seen) continue;
        if (static_cast<int>(part.fields.size()) >= kMaxFields) {
          if (!warned)
            show("В части ''" + part.name + "'' больше " + std::to_string(kMaxFields) +
                 " полей: лишние поля не будут заполняться.");
          warned = true;
          continue;
        }
        part.fields.push_back({name, r, c});
      }
    }
    parts_.push_back(std::move(part));
    row = bottom + 1;
  }
  if (!ended)
    show("В шаблоне нет признака $END$ в столбце A: части прочитаны до строки " + std::to_string(server_->maxRow) + ".");
  output_row_ = parts_.empty() ? 1 : parts_.front().last + 1;
  if (clearFields)
    for (const auto& p : parts_) ClearPart(p.name);
}

TExcelShablon::Part* TExcelShablon::find_part(const std::string& name) {
  const std::string upper = UpperName(name);
  for (auto& p : parts_)
    if (p.height != 0 && UpperName(p.name) == upper) return &p;
  return nullptr;
}

const TExcelShablon::Part* TExcelShablon::FindPart(const std::string& name) const {
  return const_cast<TExcelShablon*>(this)->find_part(name);
}

void TExcelShablon::SetField(const std::string& part, const std::string& field, const Variant& value) {
  if (!IsOpen()) return;
  Part* p = find_part(part);
  if (!p) {
    show("Ошибка: часть с именем ''" + part + "'' не существует.");
    return;
  }
  const std::string upper = UpperName(field);
  const Field* f = nullptr;
  for (const auto& x : p->fields)
    if (UpperName(x.name) == upper) {
      f = &x;
      break;
    }
  if (!f) {
    show("Ошибка: в части с именем ''" + part + "'' не существует поля ''" + field + "''");
    return;
  }
  if (f->row < 1 || f->col < 1) {
    show("Ошибка: в части с именем ''" + part + "'' для поля ''" + field + "''" + " указанны неверные координаты");
    return;
  }
  try {
    PutValue(*server_, f->row, f->col, value, 0);
  } catch (const std::exception&) {
    show("Ошибка вывода значения в поле ''" + field + "''");
  }
}

void TExcelShablon::ClearPart(const std::string& part) {
  if (!IsOpen()) return;
  Part* p = find_part(part);
  if (!p) {
    show("Ошибка: часть с именем ''" + part + "'' не существует.");
    return;
  }
  for (const auto& f : p->fields) PutValue(*server_, f.row, f.col, Variant(std::string(" ")), 0);
}

int TExcelShablon::AddPart(const std::string& part, int blankRows) {
  if (!IsOpen()) return -1;
  Part* p = find_part(part);
  if (!p) {
    std::string text = "Части с именем ''" + part + "'' не существует.";
    show(text);
    throw TClassExlExcept(text);
  }
  const int h = p->height;
  const int r = output_row_;
  server_->CopyRangeByName("A" + std::to_string(p->first) + ":IV" + std::to_string(p->last), "A" + std::to_string(r),
                           true, xlShiftDown, 0);
  const std::string bottom = "A" + std::to_string(server_->maxRow) + ":IV" + std::to_string(server_->maxRow);
  for (int i = 0; i < blankRows; ++i)
    server_->CopyRangeByName(bottom, "A" + std::to_string(r) + ":IV" + std::to_string(r), true, xlShiftDown, 0);
  const int moved = h + blankRows;
  output_row_ = r + moved;
  for (size_t i = 1; i < parts_.size(); ++i) {
    parts_[i].first += moved;
    parts_[i].last += moved;
    for (auto& f : parts_[i].fields) f.row += moved;
  }
  return output_row_ - h;
}

void TExcelShablon::FitOutputRows() {
  if (!IsOpen() || parts_.empty()) return;
  const int first = parts_.front().last + 1;
  if (output_row_ > first) server_->AutoFitRows(first, output_row_ - 1, 0);
}

void TExcelShablon::SelectSheet(int n) {
  if (IsOpen()) server_->SelectSheet(n);
}

void TExcelShablon::UseSheet(int n) {
  if (!IsOpen()) return;
  parts_.clear();
  server_->SelectSheet(n);
  read_parts(true);
}

int TExcelShablon::SheetCount() { return IsOpen() ? server_->SheetCount() : 0; }

void TExcelShablon::DeleteSheet(int n) {
  if (server_) server_->DeleteSheet(n);
}

// Showing stores the book: it happens once, when the book is released, so a report that asks
// for the book early does not write it twice.
void TExcelShablon::SetVisible(bool visible) {
  if (IsOpen() && !visible) server_->SetVisible(false);
}

void TExcelShablon::Show() {
  if (IsOpen()) release();
}

void TExcelShablon::Finish(const std::string& keepParts) {
  if (!IsOpen()) return;
  remove_marks(keepParts);
  release();
}

void TExcelShablon::ClearMarks(const std::string& keepParts) {
  if (!IsOpen()) return;
  remove_marks(keepParts);
  parts_.clear();
  width_ = 0;
}

void TExcelShablon::remove_marks(const std::string& keepParts) {
  try {
    std::vector<std::string> keep;
    size_t start = 0;
    while (!keepParts.empty() && start <= keepParts.size() && keep.size() < 50) {
      size_t semi = keepParts.find(';', start);
      std::string name = keepParts.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
      if (!name.empty()) keep.push_back(UpperName(name));
      if (semi == std::string::npos) break;
      start = semi + 1;
    }
    if (!parts_.empty()) {
      const int end_row = parts_.back().last + 1;
      server_->DeleteRows(end_row, end_row, xlShiftUp, 0);
      for (size_t i = parts_.size(); i-- > 0;) {
        const Part& p = parts_[i];
        bool kept = false;
        for (const auto& k : keep) kept = kept || k == UpperName(p.name);
        if (!kept) server_->DeleteRows(p.first, p.last, xlShiftUp, 0);
      }
    }
    if (width_ > 0) server_->DeleteColumns(width_, width_, xlShiftToRight, 0);
    server_->DeleteColumns(1, 1, xlShiftToLeft, 0);
  } catch (const std::exception& e) {
    show(e.what());
  }
}

void TExcelShablon::release() {
  // A book filled cell by cell over several sheets opens on its first, also after an error.
  if (plain_) {
    try {
      server_->SelectSheet(1);
    } catch (const std::exception&) {
    }
  }
  server_->SetVisible(true);
  server_->Disconnect();
  book_.reset();
  server_.reset();
}

}  // namespace hrdoc::office
