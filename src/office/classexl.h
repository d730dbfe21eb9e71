#pragma once
// The report workbook: opens a work copy of a template, reads its parts (blocks of rows marked
// "<name>B" .. "<name>E" in column A) and fields ("$name" cells), and lets a report fill fields,
// append filled copies of parts and finish the book.

#include <memory>
#include <string>
#include <vector>

#include "office/officeobj.h"
#include "office/srvimp.h"

namespace hrdoc::office {

// Creates the server of a backend: 0 the native engine (Excel's semantics), 1 LibreOffice Calc.
std::unique_ptr<TServerImp> CreateServer(int backend);

class TExcelShablon {
 public:
  static constexpr int kMaxParts = 30;
  static constexpr int kMaxFields = 3000;
  static constexpr size_t kMaxName = 31;

  struct Field {
    std::string name;
    int row = 0, col = 0;
  };
  struct Part {
    std::string name;
    std::vector<Field> fields;
    int height = 0;
    int first = 0, last = 0;
  };

  TExcelShablon();
  ~TExcelShablon();
  TExcelShablon(const TExcelShablon&) = delete;
  TExcelShablon& operator=(const TExcelShablon&) = delete;

  void Open(const std::string& fileName, bool clearFields, bool visible, int backend);
  void OpenPlain(const std::string& fileName, bool visible, int backend);
  bool IsOpen() const;
  void SetField(const std::string& part, const std::string& field, const Variant& value);
  void ClearPart(const std::string& part);
  // Appends a copy of the part at the output row; the first row of the copy, or -1 when not open.
  int AddPart(const std::string& part, int blankRows);
  void SelectSheet(int n);
  void UseSheet(int n);
  int SheetCount();
  void DeleteSheet(int n);
  // Hiding takes effect at once; showing when the book is released (Finish, Show or the end of
  // the object), where it is written once.
  void SetVisible(bool visible);
  // Shows a book opened plain, as it was filled, from its first sheet, and releases it.
  void Show();
  // The server, for the direct calls a report makes (select a range, auto-fit); null when closed.
  TServerImp* GetApplication() const { return server_.get(); }
  // Removes the marks and the template parts not named in keepParts ("ppH;ppX"), shows the
  // book (writing it once) and releases it.
  void Finish(const std::string& keepParts);
  // What Finish does to the active sheet, the book left open: for books of several filled
  // sheets, each cleaned in turn. The parts are forgotten until the next UseSheet.
  void ClearMarks(const std::string& keepParts);

  // Fits the heights of the rows added so far to their wrapped texts.
  void FitOutputRows();

  // For reports and tests that need the layout.
  int PartCount() const { return static_cast<int>(parts_.size()); }
  const Part* FindPart(const std::string& name) const;
  int Width() const { return width_; }
  int OutputRow() const { return output_row_; }
  TBook* Book() { return book_.get(); }

 private:
  void open(const std::string& fileName, bool read_parts, bool clearFields, bool visible, int backend);
  void read_parts(bool clearFields);
  int find_mark_row(const std::string& mark);
  std::string text_at(int row, int col);
  void release();
  void remove_marks(const std::string& keepParts);
  Part* find_part(const std::string& name);

  std::vector<Part> parts_;
  int width_ = 0;
  std::unique_ptr<TServerImp> server_;
  int output_row_ = 0;
  bool plain_ = false;
  std::unique_ptr<TBook> book_;
};

// Upper-cases the Latin and Cyrillic letters of a UTF-8 text, as names are compared.
std::string UpperName(const std::string& text);

}  // namespace hrdoc::office
