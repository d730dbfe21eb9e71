#include "office/msexcelimp.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "office/office_host.h"
#include "sheet/book.h"
#include "ui/stop.h"

namespace hrdoc::office {
namespace {

using sheet::Value;
using sheet::ValueType;

void show_error(const std::string& text) {
  OfficeHost().ShowError(text);
}

// A text that Excel would take for a number when it is assigned to a cell: digits with an
// optional sign and one decimal point or comma.
bool looks_numeric(const std::string& s, double& out) {
  if (s.empty() || s.size() > 30) return false;
  std::string t = s;
  size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  bool digit = false, point = false;
  for (size_t k = i; k < t.size(); ++k) {
    if (std::isdigit(static_cast<unsigned char>(t[k]))) {
      digit = true;
    } else if ((t[k] == '.' || t[k] == ',') && !point) {
      point = true;
      t[k] = '.';
    } else {
      return false;
    }
  }
  if (!digit) return false;
  out = std::strtod(t.c_str(), nullptr);
  return true;
}

Variant from_engine(const Value& v, TValueKind kind) {
  if (kind == vkFormula) return Variant(std::string());
  switch (v.type) {
    case ValueType::number: return Variant(v.number);
    case ValueType::text: return Variant(v.text);
    case ValueType::boolean: return Variant(v.number != 0);
    case ValueType::error: return kind == vkString ? Variant(std::string()) : Variant(ErrorValue{});
    case ValueType::formula: return Variant(v.text);
    case ValueType::empty: break;
  }
  return Variant();
}

sheet::Direction direction(int32_t shift) {
  switch (shift) {
    case xlShiftUp: return sheet::Direction::up;
    case xlShiftToLeft: return sheet::Direction::left;
    case xlShiftToRight: return sheet::Direction::right;
    default: return sheet::Direction::down;
  }
}

// Excel 97 counted 256 columns and 65536 rows: a block that spans them is whole rows or columns.
sheet::Range widen(sheet::Range r) {
  if (r.col1 == 1 && r.col2 == 256) r.col2 = sheet::max_columns;
  if (r.row1 == 1 && r.row2 == 65536) r.row2 = sheet::max_rows;
  return r;
}

int32_t colour_or_white(std::optional<uint32_t> c) { return c ? static_cast<int32_t>(*c) : 0xFFFFFF; }

}  // namespace

TMSExcelImp::TMSExcelImp() { origin = 0; }
TMSExcelImp::~TMSExcelImp() = default;

void TMSExcelImp::require_book() const {
  if (!book_) throw std::runtime_error("Книга не открыта");
}

sheet::Sheet& TMSExcelImp::ws(int sheet) {
  require_book();
  if (sheet == 0) return book_->active_sheet();
  const int n = sheet - origin;
  if (n < 1 || n > book_->sheet_count()) throw std::out_of_range("В книге нет листа с номером " + std::to_string(sheet));
  return book_->sheet(n);
}

sheet::Range TMSExcelImp::range(const std::string& name) const {
  auto r = sheet::parse_range(name);
  if (!r) throw std::invalid_argument("Неверный адрес диапазона: \"" + name + "\"");
  return widen(*r);
}

sheet::Range TMSExcelImp::rows(int first, int last) const {
  return sheet::Range{first - origin, 1, last - origin, sheet::max_columns};
}

sheet::Range TMSExcelImp::columns(int first, int last) const {
  return sheet::Range{1, first - origin, sheet::max_rows, last - origin};
}

RangeRef TMSExcelImp::ref(const Variant& v, int sheet) const {
  if (v.is<RangeRef>()) return v.get<RangeRef>();
  if (v.is<std::string>()) {
    sheet::Range r = range(v.get<std::string>());
    return RangeRef{sheet, r.row1, r.col1, r.row2, r.col2};
  }
  throw std::invalid_argument("Ожидался диапазон ячеек");
}

void TMSExcelImp::SetBorders(const Variant& rangeV, uint8_t edges, int8_t weight, int32_t colour, bool useMergeArea) {
  RangeRef rr = ref(rangeV, 0);
  sheet::Sheet& s = ws(rr.sheet);
  sheet::Range r{rr.row1, rr.col1, rr.row2, rr.col2};
  if (useMergeArea && s.is_merged(r))
    if (auto area = s.merge_area(r.row1, r.col1)) r = *area;
  s.set_borders(r, edges, weight, static_cast<uint32_t>(colour));
}

void TMSExcelImp::CopyRange(const Variant& source, const Variant& destination, bool insert, int32_t shift, int sheet) {
  RangeRef src = ref(source, 0);
  RangeRef dst = ref(destination, sheet);
  sheet::Sheet& from = ws(src.sheet);
  sheet::Sheet& to = ws(sheet ? sheet : dst.sheet);
  from.copy(widen({src.row1, src.col1, src.row2, src.col2}), dst.row1, dst.col1, insert, direction(shift), &to);
}

void TMSExcelImp::NewBook(bool visible) {
  try {
    try {
      book_ = std::make_unique<sheet::Book>();
      path_.clear();
      shown_path_.clear();
      app = Variant(std::string("hrdoc.Application"));
      SelectSheet(1);
      SetVisible(visible);
    } catch (const std::exception& e) {
      throw std::runtime_error(std::string("Не удалось создать новую книгу MS Excel.\r\nОписание: ") + e.what());
    }
  } catch (const std::exception& e) {
    show_error(std::string("Невозможно открыть Microsoft Excel! Возможно это приложение не установлено на "
                           "компьютере.\r\nОписание: ") +
               e.what());
    Disconnect();
  }
}

void TMSExcelImp::OpenBook(const std::string& fileName, bool visible) {
  try {
    try {
      book_ = std::make_unique<sheet::Book>(fileName);
    } catch (const std::exception& e) {
      // A file that is there but cannot be read: the reason goes to the log, so the template
      // can be mended; the user sees the usual message.
      if (dynamic_cast<const sheet::Error*>(&e)) std::fprintf(stderr, "%s\n", e.what());
      show_error("Не найден шаблон: ''" + fileName + "'' необходимый для работы данной формы");
      throw;
    }
    path_ = fileName;
    shown_path_.clear();
    app = Variant(std::string("hrdoc.Application"));
    SelectSheet(1);
    SetVisible(visible);
  } catch (const std::exception&) {
    show_error("Невозможно открыть Microsoft Excel! Возможно этого приложения на компьютере не установлено.");
    Disconnect();
  }
}

void TMSExcelImp::SelectSheet(int n) {
  require_book();
  const int k = n - origin;
  if (k < 1 || k > book_->sheet_count()) {
    show_error("В шаблоне нет листа с номером" + std::to_string(n));
    throw std::runtime_error("");
  }
  book_->set_active_sheet(k);
}

void TMSExcelImp::SelectCell(int row, int col) {
  require_book();
  selection_ = sheet::cell_name(row - origin, col - origin);
}

Variant TMSExcelImp::GetCell(TValueKind kind, int row, int col, int sheet) {
  return from_engine(ws(sheet).result(row - origin, col - origin), kind);
}

Variant TMSExcelImp::GetRange(TValueKind kind, const std::string& name, int sheet) {
  sheet::Sheet& s = ws(sheet);
  sheet::Range r = range(name);
  if (r.row1 == r.row2 && r.col1 == r.col2) return from_engine(s.result(r.row1, r.col1), kind);
  return Variant(std::make_shared<VariantArray>(GetRangeData(r.row1, r.col1, r.row2, r.col2, sheet)));
}

void TMSExcelImp::SetCell(TValueKind kind, int row, int col, const Variant& value, int sheet) {
  sheet::Sheet& s = ws(sheet);
  const int r = row - origin, c = col - origin;
  // A value is taken as if typed into the cell, whatever its kind: so "=..."
  // becomes a formula and a number-like text a number, unless the cell is formatted as text.
  if (value.empty()) {
    s.set_value(r, c, Value{});
  } else if (value.is<double>() || value.is<int32_t>() || value.is<int16_t>()) {
    s.set_number(r, c, value.number());
  } else if (value.is<bool>()) {
    s.set_value(r, c, Value{ValueType::boolean, value.get<bool>() ? 1.0 : 0.0, {}});
  } else if (value.is<std::string>() || value.is<WideString>()) {
    const std::string text = value.text();
    double number = 0;
    if (s.number_format(r, c) == "@")
      s.set_text(r, c, text);
    else if (text.size() > 1 && text[0] == '=')
      s.set_formula(r, c, text.substr(1));
    else if (looks_numeric(text, number))
      s.set_number(r, c, number);
    else
      s.set_text(r, c, text);
  } else if (value.is<ErrorValue>()) {
    s.set_value(r, c, Value{ValueType::error, 0, "#N/A"});
  } else {
    throw std::invalid_argument("Значение этого типа нельзя записать в ячейку");
  }
  (void)kind;
}

void TMSExcelImp::SetRange(TValueKind kind, const std::string& name, const Variant& value, int sheet) {
  sheet::Range r = range(name);
  if (value.is<std::shared_ptr<VariantArray>>()) {
    SetRangeData(r.row1, r.col1, r.row2, r.col2, *value.get<std::shared_ptr<VariantArray>>(), sheet);
    return;
  }
  for (int row = r.row1; row <= r.row2; ++row)
    for (int col = r.col1; col <= r.col2; ++col) SetCell(kind, row + origin, col + origin, value, sheet);
}

void TMSExcelImp::CopyRangeByName(const std::string& source, const std::string& destination, bool insert,
                                  int32_t shift, int sheet) {
  sheet::Range s = range(source), d = range(destination);
  CopyRange(Variant(RangeRef{sheet, s.row1, s.col1, s.row2, s.col2}),
            Variant(RangeRef{sheet, d.row1, d.col1, d.row2, d.col2}), insert, shift, sheet);
}

void TMSExcelImp::CopyRows(int first, int last, int destination, bool insert, int sheet) {
  ws(sheet).copy_rows(first - origin, last - origin, destination - origin, insert);
}

void TMSExcelImp::CopyColumns(int first, int last, int destination, bool insert, int sheet) {
  ws(sheet).copy_columns(first - origin, last - origin, destination - origin, insert);
}

void TMSExcelImp::CopyCells(int row1, int col1, int row2, int col2, int destRow, int destCol, bool insert, int sheet) {
  sheet::Sheet& s = ws(sheet);
  s.copy({row1 - origin, col1 - origin, row2 - origin, col2 - origin}, destRow - origin, destCol - origin, insert,
         sheet::Direction::down);
}

void TMSExcelImp::CopySheet(int n, int target, bool after, bool move) {
  require_book();
  if (move)
    book_->move_sheet(n - origin, target - origin, after);
  else
    book_->copy_sheet(n - origin, target - origin, after);
}

void TMSExcelImp::CopySheetAs(int n, int target, bool after, bool move, const std::string& name) {
  require_book();
  if (move) {
    book_->move_sheet(n - origin, target - origin, after);
    // The moved sheet now stands just before or after the target.
    int at = target - origin + (after ? 1 : 0);
    if (n - origin < target - origin) at -= 1;
    if (at < 1) at = 1;
    if (at > book_->sheet_count()) at = book_->sheet_count();
    book_->rename_sheet(at, name);
  } else {
    book_->copy_sheet(n - origin, target - origin, after, name);
  }
}

void TMSExcelImp::SelectRange(const std::string& name, int sheet) {
  ws(sheet);
  range(name);
  selection_ = name;
}

void TMSExcelImp::DeleteRange(const std::string& name, int32_t shift, int sheet) {
  ws(sheet).delete_cells(range(name), direction(shift) == sheet::Direction::left ? sheet::Direction::left
                                                                                    : sheet::Direction::up);
}

void TMSExcelImp::DeleteRows(int first, int last, int32_t, int sheet) {
  ws(sheet).delete_rows(first - origin, last - origin);
}

void TMSExcelImp::DeleteColumns(int first, int last, int32_t, int sheet) {
  ws(sheet).delete_columns(first - origin, last - origin);
}

void TMSExcelImp::HideRowsColumns(int first, int last, int kind, int sheet) {
  if (kind == 1)
    ws(sheet).hide_rows(first - origin, last - origin);
  else
    ws(sheet).hide_columns(first - origin, last - origin);
}

void TMSExcelImp::SetVisible(bool visible) {
  visible_ = visible;
  // A stopped job leaves no document behind, not even the half it had.
  if (!visible || !book_ || ui::stop_requested()) return;
  std::string target = path_;
  if (target.empty()) target = FirstFreeName(OfficeHost().WorkDir(), "Книга", ".xlsx");
  try {
    book_->save(target);
    target = OfficeHost().PlaceDocument(target);
  } catch (const std::exception& e) {
    show_error("Не удалось сохранить книгу " + target + ":\r\n" + e.what());
    return;
  }
  path_ = target;
  if (shown_path_ != target) OfficeHost().DocumentShown(target);
  shown_path_ = target;
}

void TMSExcelImp::LockScreen(bool) {}

void TMSExcelImp::SetCellColor(int row, int col, int32_t colour, int sheet) {
  int r = row - origin, c = col - origin;
  ws(sheet).set_fill({r, c, r, c}, static_cast<uint32_t>(colour));
}

int32_t TMSExcelImp::GetCellColor(int row, int col, int sheet) {
  return colour_or_white(ws(sheet).fill(row - origin, col - origin));
}

void TMSExcelImp::SetRangeColor(const std::string& name, int32_t colour, int sheet) {
  ws(sheet).set_fill(range(name), static_cast<uint32_t>(colour));
}

int32_t TMSExcelImp::GetRangeColor(const std::string& name, int sheet) {
  sheet::Range r = range(name);
  return colour_or_white(ws(sheet).fill(r.row1, r.col1));
}

void TMSExcelImp::SetRowsColor(int first, int last, int32_t colour, int sheet) {
  ws(sheet).set_fill(rows(first, last), static_cast<uint32_t>(colour));
}

int32_t TMSExcelImp::GetRowsColor(int first, int, int sheet) { return colour_or_white(ws(sheet).fill(first - origin, 1)); }

void TMSExcelImp::SetColumnsColor(int first, int last, int32_t colour, int sheet) {
  ws(sheet).set_fill(columns(first, last), static_cast<uint32_t>(colour));
}

int32_t TMSExcelImp::GetColumnsColor(int first, int, int sheet) {
  return colour_or_white(ws(sheet).fill(1, first - origin));
}

Variant TMSExcelImp::GetCellObject(int row, int col, int sheet) {
  ws(sheet);
  return Variant(RangeRef{sheet, row - origin, col - origin, row - origin, col - origin});
}

Variant TMSExcelImp::GetRangeObject(const std::string& name, int sheet) {
  ws(sheet);
  sheet::Range r = range(name);
  return Variant(RangeRef{sheet, r.row1, r.col1, r.row2, r.col2});
}

Variant TMSExcelImp::GetRowsObject(int first, int last, int sheet) {
  ws(sheet);
  sheet::Range r = rows(first, last);
  return Variant(RangeRef{sheet, r.row1, r.col1, r.row2, r.col2});
}

Variant TMSExcelImp::GetColumnsObject(int first, int last, int sheet) {
  ws(sheet);
  sheet::Range r = columns(first, last);
  return Variant(RangeRef{sheet, r.row1, r.col1, r.row2, r.col2});
}

void TMSExcelImp::Disconnect() { app = Variant(); }

bool TMSExcelImp::IsConnected() { return !app.empty() && book_ != nullptr; }

int TMSExcelImp::SheetCount() {
  require_book();
  return book_->sheet_count();
}

void TMSExcelImp::SaveAs(const std::string& fileName) {
  require_book();
  book_->save(fileName);
  path_ = fileName;
}

void TMSExcelImp::Save() {
  require_book();
  if (path_.empty()) throw std::runtime_error("Книга ещё не сохранялась: нужно имя файла");
  book_->save(path_);
}

void TMSExcelImp::CloseBook(int, bool saveChanges, const std::string& fileName) {
  if (!book_) return;
  if (saveChanges) {
    if (!fileName.empty())
      SaveAs(fileName);
    else if (path_.empty())
      SaveAs(FirstFreeName(OfficeHost().WorkDir(), "Книга", ".xlsx"));
    else
      Save();
  }
  book_.reset();
  Disconnect();
}

int TMSExcelImp::WorksheetCount() { return SheetCount(); }

void TMSExcelImp::SetSheetName(int n, const std::string& name) {
  require_book();
  book_->rename_sheet(n - origin, name);
}

std::string TMSExcelImp::GetSheetName(int n) { return ws(n).name(); }

void TMSExcelImp::DeleteSheet(int n) {
  require_book();
  book_->delete_sheet(n - origin);
}

void TMSExcelImp::DeleteSheetByName(const std::string& name) {
  require_book();
  book_->delete_sheet(book_->sheet(name).index());
}

void TMSExcelImp::SetRowData(int row, const VariantArray& data, int sheet) {
  SetRangeData(row, 1 + origin, row, data.cols + origin, data, sheet);
}

VariantArray TMSExcelImp::GetRowData(int row, int sheet) {
  int last = ws(sheet).last_column();
  return GetRangeData(row, 1 + origin, row, std::max(last, 1) + origin, sheet);
}

void TMSExcelImp::SetRangeData(int row1, int col1, int row2, int col2, const VariantArray& data, int sheet) {
  for (int r = row1; r <= row2; ++r)
    for (int c = col1; c <= col2; ++c) {
      const int i = r - row1, j = c - col1;
      Variant v = (i < data.rows && j < data.cols) ? data.values[static_cast<size_t>(i * data.cols + j)] : Variant();
      SetCell(vkValue, r, c, v, sheet);
    }
}

VariantArray TMSExcelImp::GetRangeData(int row1, int col1, int row2, int col2, int sheet) {
  sheet::Sheet& s = ws(sheet);
  VariantArray a;
  a.rows = row2 - row1 + 1;
  a.cols = col2 - col1 + 1;
  a.values.reserve(static_cast<size_t>(a.rows) * static_cast<size_t>(a.cols));
  for (int r = row1; r <= row2; ++r)
    for (int c = col1; c <= col2; ++c) a.values.push_back(from_engine(s.result(r - origin, c - origin), vkValue));
  return a;
}

void TMSExcelImp::MergeRange(const std::string& name, bool merge, int sheet) {
  if (merge)
    ws(sheet).merge(range(name));
  else
    ws(sheet).unmerge(range(name));
}

bool TMSExcelImp::IsMergedRange(const std::string& name, int sheet) { return ws(sheet).is_merged(range(name)); }

void TMSExcelImp::DeleteRowPageBreaks(int index, int sheet) { ws(sheet).delete_row_break(static_cast<size_t>(index)); }

void TMSExcelImp::DeleteColumnPageBreaks(int index, int sheet) {
  ws(sheet).delete_column_break(static_cast<size_t>(index));
}

int TMSExcelImp::PageBreakCount(bool columns, int sheet) {
  sheet::Sheet& s = ws(sheet);
  return static_cast<int>(columns ? s.column_breaks().size() : s.row_breaks().size());
}

void TMSExcelImp::Quit() {
  book_.reset();
  Disconnect();
}

void TMSExcelImp::AutoFitColumns(int first, int last, int sheet) { ws(sheet).auto_fit_columns(first - origin, last - origin); }

void TMSExcelImp::AutoFitRows(int first, int last, int sheet) { ws(sheet).auto_fit_rows(first - origin, last - origin); }

void TMSExcelImp::SetHorizontalAlignment(const std::string& name, int32_t alignment, int sheet) {
  ws(sheet).set_horizontal_alignment(range(name), static_cast<sheet::HAlign>(alignment));
}

void TMSExcelImp::SetVerticalAlignment(const std::string& name, int32_t alignment, int sheet) {
  ws(sheet).set_vertical_alignment(range(name), static_cast<sheet::VAlign>(alignment));
}

int TMSExcelImp::GetRangeRow(const std::string& name, int sheet) {
  ws(sheet);
  return range(name).row1 + origin;
}

int TMSExcelImp::GetRangeColumn(const std::string& name, int sheet) {
  ws(sheet);
  return range(name).col1 + origin;
}

void TMSExcelImp::SortRange(const std::string& name, const std::vector<TSortKey>& keys, int sheet) {
  std::vector<sheet::SortKey> by;
  by.reserve(keys.size());
  for (const auto& k : keys) by.push_back({k.column - origin, k.ascending});
  ws(sheet).sort(range(name), by);
}

void TMSExcelImp::SetNumberFormat(const std::string& name, const std::string& format, int sheet) {
  ws(sheet).set_number_format(range(name), format);
}

void TMSExcelImp::SetWrapText(const std::string& name, bool wrap, int sheet) { ws(sheet).set_wrap(range(name), wrap); }

void TMSExcelImp::SetRowHeight(int first, int last, double points, int sheet) {
  sheet::Sheet& s = ws(sheet);
  for (int r = first; r <= last; ++r) s.set_row_height(r - origin, points);
}

void TMSExcelImp::FitToPageWidth(int sheet) {
  sheet::PageSetup& p = ws(sheet).page_setup();
  p.fit_width = 1;
  p.fit_height = 0;
}

}  // namespace hrdoc::office
