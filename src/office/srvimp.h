#pragma once
// The spreadsheet server: one interface over the office applications the reports drive.
// Callers speak 1-based rows, columns and sheets (sheet 0 = the active sheet) and Windows
// colours (0x00BBGGRR); each implementation turns that into its application's calls.

#include <cstdint>
#include <string>
#include <vector>

#include "office/variant.h"

namespace hrdoc::office {

// How a cell value is written or read.
enum TValueKind : uint8_t { vkValue = 0, vkString = 1, vkFormula = 2 };

// Shift directions (Excel's constants).
inline constexpr int32_t xlShiftUp = -4162;
inline constexpr int32_t xlShiftDown = -4121;
inline constexpr int32_t xlShiftToLeft = -4131;
inline constexpr int32_t xlShiftToRight = -4152;

// Border edges for SetBorders.
enum : uint8_t {
  beTop = 0x02,
  beBottom = 0x04,
  beLeft = 0x08,
  beRight = 0x10,
  beInsideVertical = 0x20,
  beInsideHorizontal = 0x40,
  beAll = 0x80,
};

// One column of a block sort: the sheet's 1-based column number and its direction.
struct TSortKey {
  int column = 1;
  bool ascending = true;
};

class TServerImp {
 public:
  virtual ~TServerImp() = default;

  virtual void SetBorders(const Variant& range, uint8_t edges, int8_t weight, int32_t colour, bool useMergeArea) = 0;
  virtual void CopyRange(const Variant& source, const Variant& destination, bool insert, int32_t shift, int sheet) = 0;
  virtual void NewBook(bool visible) = 0;
  virtual void OpenBook(const std::string& fileName, bool visible) = 0;
  virtual void SelectSheet(int n) = 0;
  virtual void SelectCell(int row, int col) = 0;
  virtual Variant GetCell(TValueKind kind, int row, int col, int sheet) = 0;
  virtual Variant GetRange(TValueKind kind, const std::string& name, int sheet) = 0;
  virtual void SetCell(TValueKind kind, int row, int col, const Variant& value, int sheet) = 0;
  virtual void SetRange(TValueKind kind, const std::string& name, const Variant& value, int sheet) = 0;
  virtual void CopyRangeByName(const std::string& source, const std::string& destination, bool insert, int32_t shift,
                               int sheet) = 0;
  virtual void CopyRows(int first, int last, int destination, bool insert, int sheet) = 0;
  virtual void CopyColumns(int first, int last, int destination, bool insert, int sheet) = 0;
  virtual void CopyCells(int row1, int col1, int row2, int col2, int destRow, int destCol, bool insert, int sheet) = 0;
  virtual void CopySheet(int n, int target, bool after, bool move) = 0;
  virtual void CopySheetAs(int n, int target, bool after, bool move, const std::string& name) = 0;
  virtual void SelectRange(const std::string& name, int sheet) = 0;
  virtual void DeleteRange(const std::string& name, int32_t shift, int sheet) = 0;
  virtual void DeleteRows(int first, int last, int32_t shift, int sheet) = 0;
  virtual void DeleteColumns(int first, int last, int32_t shift, int sheet) = 0;
  // kind: 0 columns, 1 rows.
  virtual void HideRowsColumns(int first, int last, int kind, int sheet) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void LockScreen(bool lock) = 0;
  virtual void SetCellColor(int row, int col, int32_t colour, int sheet) = 0;
  virtual int32_t GetCellColor(int row, int col, int sheet) = 0;
  virtual void SetRangeColor(const std::string& name, int32_t colour, int sheet) = 0;
  virtual int32_t GetRangeColor(const std::string& name, int sheet) = 0;
  virtual void SetRowsColor(int first, int last, int32_t colour, int sheet) = 0;
  virtual int32_t GetRowsColor(int first, int last, int sheet) = 0;
  virtual void SetColumnsColor(int first, int last, int32_t colour, int sheet) = 0;
  virtual int32_t GetColumnsColor(int first, int last, int sheet) = 0;
  virtual Variant GetCellObject(int row, int col, int sheet) = 0;
  virtual Variant GetRangeObject(const std::string& name, int sheet) = 0;
  virtual Variant GetRowsObject(int first, int last, int sheet) = 0;
  virtual Variant GetColumnsObject(int first, int last, int sheet) = 0;
  virtual void Disconnect() = 0;
  virtual bool IsConnected() = 0;
  virtual int SheetCount() = 0;
  virtual void SaveAs(const std::string& fileName) = 0;
  virtual void Save() = 0;
  virtual void CloseBook(int index, bool saveChanges, const std::string& fileName) = 0;
  virtual int WorksheetCount() = 0;
  virtual void SetSheetName(int n, const std::string& name) = 0;
  virtual std::string GetSheetName(int n) = 0;
  virtual void DeleteSheet(int n) = 0;
  virtual void DeleteSheetByName(const std::string& name) = 0;
  virtual void SetRowData(int row, const VariantArray& data, int sheet) = 0;
  virtual VariantArray GetRowData(int row, int sheet) = 0;
  virtual void SetRangeData(int row1, int col1, int row2, int col2, const VariantArray& data, int sheet) = 0;
  virtual VariantArray GetRangeData(int row1, int col1, int row2, int col2, int sheet) = 0;
  virtual void MergeRange(const std::string& name, bool merge, int sheet) = 0;
  virtual bool IsMergedRange(const std::string& name, int sheet) = 0;
  virtual void DeleteRowPageBreaks(int index, int sheet) = 0;
  virtual void DeleteColumnPageBreaks(int index, int sheet) = 0;
  virtual int PageBreakCount(bool columns, int sheet) = 0;
  virtual void Quit() = 0;
  virtual void AutoFitColumns(int first, int last, int sheet) = 0;
  virtual void AutoFitRows(int first, int last, int sheet) = 0;
  virtual void SetHorizontalAlignment(const std::string& name, int32_t alignment, int sheet) = 0;
  virtual void SetVerticalAlignment(const std::string& name, int32_t alignment, int sheet) = 0;
  virtual int GetRangeRow(const std::string& name, int sheet) = 0;
  virtual int GetRangeColumn(const std::string& name, int sheet) = 0;
  // Sorts the rows of a block (no heading row) by its columns in `keys`: the first decides,
  // each next one orders the rows the earlier ones tie on. Texts ignore letter case; empty
  // cells go last either way.
  virtual void SortRange(const std::string& name, const std::vector<TSortKey>& keys, int sheet) = 0;
  // Excel's format code for a block: "@" text, "0.00", "DD.MM.YYYY" and the like.
  virtual void SetNumberFormat(const std::string& name, const std::string& format, int sheet) = 0;
  virtual void SetWrapText(const std::string& name, bool wrap, int sheet) = 0;
  // Height of the rows first..last, in points.
  virtual void SetRowHeight(int first, int last, double points, int sheet) = 0;
  // Prints the sheet scaled to one page wide, as many pages down as it takes.
  virtual void FitToPageWidth(int sheet) = 0;

  // Subtracted from every row, column and sheet number: 0 for applications counting from 1.
  int32_t origin = 0;
  // The row the report workbook treats as the always-empty bottom row of a sheet.
  int32_t maxRow = 65535;
  // The application; the server is connected while it is not empty.
  Variant app;
};

// Writes a value with SetCell, the kind chosen by the value's type: numbers as values, wide
// strings as formulas, anything else as text.
void PutValue(TServerImp& server, int row, int col, const Variant& value, int sheet);
// Column letters of column n, 1 <= n <= 256.
std::string ColLitFromNum(int n);
// The office URL of a path.
std::string FileNameToURL(const std::string& path);
// Swaps red and blue: 0x00BBGGRR <-> 0x00RRGGBB.
int32_t SwapRB(int32_t colour);

// The first "<stem>N<extension>" (N = 1, 2, ...) not yet in the folder dir (ending in '/'): a
// new book that is shown takes it, so it never replaces an earlier one.
std::string FirstFreeName(const std::string& dir, const std::string& stem, const std::string& extension);

}  // namespace hrdoc::office
