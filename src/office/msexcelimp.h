#pragma once
// The server with Excel's semantics, over the native spreadsheet engine. "Showing" the book
// saves it at its work-copy path and announces the path to the user.

#include <memory>
#include <string>

#include "office/srvimp.h"

namespace hrdoc::sheet {
class Book;
class Sheet;
struct Range;
}  // namespace hrdoc::sheet

namespace hrdoc::office {

class TMSExcelImp : public TServerImp {
 public:
  TMSExcelImp();
  ~TMSExcelImp() override;

  void SetBorders(const Variant& range, uint8_t edges, int8_t weight, int32_t colour, bool useMergeArea) override;
  void CopyRange(const Variant& source, const Variant& destination, bool insert, int32_t shift, int sheet) override;
  void NewBook(bool visible) override;
  void OpenBook(const std::string& fileName, bool visible) override;
  void SelectSheet(int n) override;
  void SelectCell(int row, int col) override;
  Variant GetCell(TValueKind kind, int row, int col, int sheet) override;
  Variant GetRange(TValueKind kind, const std::string& name, int sheet) override;
  void SetCell(TValueKind kind, int row, int col, const Variant& value, int sheet) override;
  void SetRange(TValueKind kind, const std::string& name, const Variant& value, int sheet) override;
  void CopyRangeByName(const std::string& source, const std::string& destination, bool insert, int32_t shift,
                       int sheet) override;
  void CopyRows(int first, int last, int destination, bool insert, int sheet) override;
  void CopyColumns(int first, int last, int destination, bool insert, int sheet) override;
  void CopyCells(int row1, int col1, int row2, int col2, int destRow, int destCol, bool insert, int sheet) override;
  void CopySheet(int n, int target, bool after, bool move) override;
  void CopySheetAs(int n, int target, bool after, bool move, const std::string& name) override;
  void SelectRange(const std::string& name, int sheet) override;
  void DeleteRange(const std::string& name, int32_t shift, int sheet) override;
  void DeleteRows(int first, int last, int32_t shift, int sheet) override;
  void DeleteColumns(int first, int last, int32_t shift, int sheet) override;
  void HideRowsColumns(int first, int last, int kind, int sheet) override;
  void SetVisible(bool visible) override;
  void LockScreen(bool lock) override;
  void SetCellColor(int row, int col, int32_t colour, int sheet) override;
  int32_t GetCellColor(int row, int col, int sheet) override;
  void SetRangeColor(const std::string& name, int32_t colour, int sheet) override;
  int32_t GetRangeColor(const std::string& name, int sheet) override;
  void SetRowsColor(int first, int last, int32_t colour, int sheet) override;
  int32_t GetRowsColor(int first, int last, int sheet) override;
  void SetColumnsColor(int first, int last, int32_t colour, int sheet) override;
  int32_t GetColumnsColor(int first, int last, int sheet) override;
  Variant GetCellObject(int row, int col, int sheet) override;
  Variant GetRangeObject(const std::string& name, int sheet) override;
  Variant GetRowsObject(int first, int last, int sheet) override;
  Variant GetColumnsObject(int first, int last, int sheet) override;
  void Disconnect() override;
  bool IsConnected() override;
  int SheetCount() override;
  void SaveAs(const std::string& fileName) override;
  void Save() override;
  void CloseBook(int index, bool saveChanges, const std::string& fileName) override;
  int WorksheetCount() override;
  void SetSheetName(int n, const std::string& name) override;
  std::string GetSheetName(int n) override;
  void DeleteSheet(int n) override;
  void DeleteSheetByName(const std::string& name) override;
  void SetRowData(int row, const VariantArray& data, int sheet) override;
  VariantArray GetRowData(int row, int sheet) override;
  void SetRangeData(int row1, int col1, int row2, int col2, const VariantArray& data, int sheet) override;
  VariantArray GetRangeData(int row1, int col1, int row2, int col2, int sheet) override;
  void MergeRange(const std::string& name, bool merge, int sheet) override;
  bool IsMergedRange(const std::string& name, int sheet) override;
  void DeleteRowPageBreaks(int index, int sheet) override;
  void DeleteColumnPageBreaks(int index, int sheet) override;
  int PageBreakCount(bool columns, int sheet) override;
  void Quit() override;
  void AutoFitColumns(int first, int last, int sheet) override;
  void AutoFitRows(int first, int last, int sheet) override;
  void SetHorizontalAlignment(const std::string& name, int32_t alignment, int sheet) override;
  void SetVerticalAlignment(const std::string& name, int32_t alignment, int sheet) override;
  int GetRangeRow(const std::string& name, int sheet) override;
  int GetRangeColumn(const std::string& name, int sheet) override;
  void SortRange(const std::string& name, const std::vector<TSortKey>& keys, int sheet) override;
  void SetNumberFormat(const std::string& name, const std::string& format, int sheet) override;
  void SetWrapText(const std::string& name, bool wrap, int sheet) override;
  void SetRowHeight(int first, int last, double points, int sheet) override;
  void FitToPageWidth(int sheet) override;

  // The engine's book, for reports and tests that work with it directly; null when closed.
  sheet::Book* book() { return book_.get(); }
  // The block last selected (SelectRange, SelectCell), as "A1:C3".
  const std::string& selection() const { return selection_; }
  // Where the book is saved when shown.
  const std::string& path() const { return path_; }

 private:
  sheet::Sheet& ws(int sheet);
  sheet::Range range(const std::string& name) const;
  RangeRef ref(const Variant& v, int sheet) const;
  sheet::Range rows(int first, int last) const;
  sheet::Range columns(int first, int last) const;
  void require_book() const;

  std::unique_ptr<sheet::Book> book_;
  std::string path_;
  std::string shown_path_;
  std::string selection_;
  bool visible_ = false;
};

}  // namespace hrdoc::office
