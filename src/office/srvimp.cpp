#include "office/srvimp.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace hrdoc::office {

std::string Variant::text() const {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(double v) const {
      if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.15g", v);
      return buf;
    }
    std::string operator()(int32_t v) const { return std::to_string(v); }
    std::string operator()(int16_t v) const { return std::to_string(v); }
    std::string operator()(bool v) const { return v ? "TRUE" : "FALSE"; }
    std::string operator()(const std::string& v) const { return v; }
    std::string operator()(const WideString& v) const { return v.text; }
    std::string operator()(ErrorValue) const { return {}; }
    std::string operator()(const RangeRef&) const { return {}; }
    std::string operator()(const std::shared_ptr<VariantArray>&) const { return {}; }
  };
  return std::visit(Visitor{}, v_);
}

double Variant::number() const {
  if (auto* d = std::get_if<double>(&v_)) return *d;
  if (auto* i = std::get_if<int32_t>(&v_)) return *i;
  if (auto* s = std::get_if<int16_t>(&v_)) return *s;
  if (auto* b = std::get_if<bool>(&v_)) return *b ? 1 : 0;
  std::string t = text();
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  return end && end != t.c_str() && *end == 0 ? v : 0;
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.v_.index() != b.v_.index()) return false;
  if (auto* x = std::get_if<std::shared_ptr<VariantArray>>(&a.v_)) {
    auto& y = std::get<std::shared_ptr<VariantArray>>(b.v_);
    if (!*x || !y) return *x == y;
    return (*x)->rows == y->rows && (*x)->cols == y->cols && (*x)->values == y->values;
  }
  if (auto* x = std::get_if<RangeRef>(&a.v_)) {
    auto& y = std::get<RangeRef>(b.v_);
    return x->sheet == y.sheet && x->row1 == y.row1 && x->col1 == y.col1 && x->row2 == y.row2 && x->col2 == y.col2;
  }
  if (auto* x = std::get_if<WideString>(&a.v_)) return x->text == std::get<WideString>(b.v_).text;
  if (auto* x = std::get_if<ErrorValue>(&a.v_)) return x->code == std::get<ErrorValue>(b.v_).code;
  return a.v_ == b.v_;
}

void PutValue(TServerImp& server, int row, int col, const Variant& value, int sheet) {
  TValueKind kind = vkString;
  if (value.is<double>() || value.is<int32_t>() || value.is<int16_t>())
    kind = vkValue;
  else if (value.is<WideString>())
    kind = vkFormula;
  server.SetCell(kind, row, col, value, sheet);
}

std::string ColLitFromNum(int n) {
  if (n < 1 || n > 256)
    throw std::out_of_range("Ошибка функции ColLitFromNum. Индекс столбца должен находиться в диапазоне 0..255!");
  std::string s;
  if (n > 26) s += static_cast<char>('A' + (n - 1) / 26 - 1);
  s += static_cast<char>('A' + (n - 1) % 26);
  return s;
}

std::string FileNameToURL(const std::string& path) {
  std::string url = "file://localhost/";
  // An absolute path keeps its one root slash.
  size_t start = !path.empty() && path[0] == '/' ? 1 : 0;
  for (size_t i = start; i < path.size(); ++i) {
    char c = path[i];
    if (c == ' ')
      url += "%20";
    else if (c == '\\')
      url += '/';
    else
      url += c;
  }
  return url;
}

int32_t SwapRB(int32_t v) { return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16); }

std::string FirstFreeName(const std::string& dir, const std::string& stem, const std::string& extension) {
  for (int n = 1;; ++n) {
    const std::string path = dir + stem + std::to_string(n) + extension;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 && errno == ENOENT) return path;
  }
}

}  // namespace hrdoc::office
