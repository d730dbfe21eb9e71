#pragma once
// Thin wrappers for reports that address cells by name instead of by part and field.

#include <memory>
#include <stdexcept>
#include <string>

#include "office/srvimp.h"

namespace hrdoc::office {

// The unit's exception: a message with an extra integer and an extra text.
class TClassExlExcept : public std::runtime_error {
 public:
  explicit TClassExlExcept(const std::string& message, int code = 0, std::string extra = {})
      : std::runtime_error(message), code_(code), extra_(std::move(extra)) {}
  int code() const { return code_; }
  const std::string& extra() const { return extra_; }

 private:
  int code_;
  std::string extra_;
};

class TBook;
class TSheet;

class TRange {
 public:
  TRange(TSheet& sheet, TServerImp& server, std::string name) : sheet_(sheet), server_(server), name_(std::move(name)) {}
  // Writes the value as the server's string kind into every cell of the range.
  void SetValue(const Variant& value);
  const std::string& name() const { return name_; }

 private:
  TSheet& sheet_;
  TServerImp& server_;
  std::string name_;
};

class TSheet {
 public:
  TSheet(TServerImp& server, TBook& book, int number) : server_(server), book_(book), number_(number) {}
  // A fresh range for an A1-style name; the previous one is freed.
  TRange& Range(const std::string& name);
  // Copies (flag false) or moves (flag true) this sheet to the position and returns that sheet.
  TSheet& Copy(int position, bool move);
  int number() const { return number_; }
  void set_number(int n) { number_ = n; }

 private:
  TServerImp& server_;
  TBook& book_;
  int number_;
  std::unique_ptr<TRange> range_;
};

class TBook {
 public:
  explicit TBook(TServerImp& server) : server_(server) {}
  // The sheet object set to number n; throws TClassExlExcept for n < 1.
  TSheet& Sheet(int n);

 private:
  TServerImp& server_;
  std::unique_ptr<TSheet> sheet_;
};

}  // namespace hrdoc::office
