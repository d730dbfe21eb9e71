#pragma once
// Values passed to and from the spreadsheet servers, as automation variants carry them.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace hrdoc::office {

// An OLE (wide) string. PutValue writes it as a formula.
struct WideString {
  std::string text;  // UTF-8
};

// A cell error value (automation variant type 10).
struct ErrorValue {
  int32_t code = 0;
};

// A block of cells of one sheet, in the server's own 1-based coordinates.
struct RangeRef {
  int sheet = 0;  // 0: the active sheet
  int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
};

class Variant;

// A two-dimensional array of values, row by row.
struct VariantArray {
  int rows = 0, cols = 0;
  std::vector<Variant> values;
};

class Variant {
 public:
  using Storage = std::variant<std::monostate, double, int32_t, int16_t, bool, std::string, WideString, ErrorValue,
                               RangeRef, std::shared_ptr<VariantArray>>;

  Variant() = default;
  Variant(double v) : v_(v) {}
  Variant(int32_t v) : v_(v) {}
  Variant(int16_t v) : v_(v) {}
  Variant(bool v) : v_(v) {}
  Variant(std::string v) : v_(std::move(v)) {}
  Variant(const char* v) : v_(std::string(v)) {}
  Variant(WideString v) : v_(std::move(v)) {}
  Variant(ErrorValue v) : v_(v) {}
  Variant(RangeRef v) : v_(v) {}
  Variant(std::shared_ptr<VariantArray> v) : v_(std::move(v)) {}

  bool empty() const { return std::holds_alternative<std::monostate>(v_); }
  template <class T>
  bool is() const {
    return std::holds_alternative<T>(v_);
  }
  template <class T>
  const T& get() const {
    return std::get<T>(v_);
  }
  const Storage& storage() const { return v_; }

  // The value as text: numbers in their shortest form, empty for nothing.
  std::string text() const;
  // The value as a number: 0 for text that is not one.
  double number() const;

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  Storage v_;
};

}  // namespace hrdoc::office
