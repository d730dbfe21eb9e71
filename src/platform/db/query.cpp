// Query: ":name" parameters, the client-side data set and its navigation.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>

#include "db/database.h"
#include "text/date.h"

namespace hrdoc::db {
namespace {

std::string upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

std::string trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

const Value kNull;

double number(const Value& v) {
  if (auto* i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* t = std::get_if<Date>(&v)) return t->value;
  return 0;
}

// Reads a whole text as a number; nothing when it is not one.
std::optional<double> parse_number(std::string_view text) {
  std::string s = trim(text);
  if (s.empty()) return std::nullopt;
  std::replace(s.begin(), s.end(), ',', '.');
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// One decoded character of UTF-8 text; malformed bytes stand for themselves.
uint32_t next_char(std::string_view s, size_t& i) {
  auto b = static_cast<unsigned char>(s[i]);
  int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
  if (i + len > s.size()) len = 1;
  uint32_t cp = len == 1 ? b : b & (0x7F >> len);
  for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  i += len;
  return cp;
}

// Code-point order, except that Ё and ё sort right after Е and е as in the alphabet.
uint64_t weight(uint32_t cp) {
  if (cp == 0x401) return 0x415ull * 2 + 1;
  if (cp == 0x451) return 0x435ull * 2 + 1;
  return static_cast<uint64_t>(cp) * 2;
}

int compare_text(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    uint64_t x = weight(next_char(a, i)), y = weight(next_char(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::string number_text(double v) {
  if (v == std::trunc(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<int64_t>(v));
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string value_text(const Value& v) {
  if (auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
  if (auto* d = std::get_if<double>(&v)) return number_text(*d);
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  if (auto* t = std::get_if<Date>(&v)) {
    std::string text = text::date_text(t->value);
    double frac = std::fabs(t->value - std::trunc(t->value));
    auto secs = static_cast<long>(std::llround(frac * 86400));
    if (secs > 0 && secs < 86400) {
      char buf[16];
      std::snprintf(buf, sizeof buf, " %02ld:%02ld:%02ld", secs / 3600, secs / 60 % 60, secs % 60);
      text += buf;
    }
    return text;
  }
  return {};
}

// Order of two values: NULL first, then numbers and dates by value, text by the alphabet.
int compare_values(const Value& a, const Value& b) {
  bool an = std::holds_alternative<std::monostate>(a), bn = std::holds_alternative<std::monostate>(b);
  if (an || bn) return an == bn ? 0 : an ? -1 : 1;
  auto* as = std::get_if<std::string>(&a);
  auto* bs = std::get_if<std::string>(&b);
  if (as && bs) return compare_text(*as, *bs);
  if (!as && !bs) {
    double x = number(a), y = number(b);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  return compare_text(value_text(a), value_text(b));
}

bool equal_values(const Value& field, const Value& wanted) {
  bool fn = std::holds_alternative<std::monostate>(field), wn = std::holds_alternative<std::monostate>(wanted);
  if (fn || wn) return fn && wn;
  if (auto* s = std::get_if<std::string>(&wanted)) {
    if (auto* fs = std::get_if<std::string>(&field)) return *fs == *s;
    if (std::holds_alternative<Date>(field)) {
      auto d = text::parse_date(*s);
      return d && std::trunc(number(field)) == *d;
    }
    auto n = parse_number(*s);
    return n && *n == number(field);
  }
  if (auto* fs = std::get_if<std::string>(&field)) {
    auto n = parse_number(*fs);
    return n && *n == number(wanted);
  }
  return number(field) == number(wanted);
}

}  // namespace

bool Field::is_null() const { return !value_ || std::holds_alternative<std::monostate>(*value_); }

const Value& Field::value() const { return value_ ? *value_ : kNull; }

std::string Field::as_string() const { return value_text(value()); }

int64_t Field::as_int() const {
  const Value& v = value();
  if (auto* i = std::get_if<int64_t>(&v)) return *i;
  if (auto* d = std::get_if<double>(&v)) return std::isfinite(*d) ? std::llround(*d) : 0;
  if (auto* t = std::get_if<Date>(&v)) return static_cast<int64_t>(std::trunc(t->value));
  if (auto* s = std::get_if<std::string>(&v)) {
    auto n = parse_number(*s);
    return n && std::fabs(*n) < 9.2e18 ? std::llround(*n) : 0;
  }
  return 0;
}

double Field::as_float() const {
  const Value& v = value();
  if (auto* s = std::get_if<std::string>(&v)) return parse_number(*s).value_or(0);
  return number(v);
}

TDateTime Field::as_date() const {
  const Value& v = value();
  if (auto* s = std::get_if<std::string>(&v)) return text::parse_date(*s).value_or(0);
  return number(v);
}

struct Query::Impl {
  Connection& connection;
  std::string text;
  ParsedSql parsed;
  std::map<std::string, Value> values;  // by upper-case name
  Connection::Rows rows;
  std::map<std::string, int> index;  // upper-case column name -> first column with it
  bool active = false;
  int position = 0;

  explicit Impl(Connection& c) : connection(c) {}

  std::vector<Value> bound() const {
    std::vector<Value> out;
    out.reserve(parsed.names.size());
    for (const auto& name : parsed.names) {
      auto it = values.find(name);
      out.push_back(it == values.end() ? Value{} : it->second);
    }
    return out;
  }

  int column(std::string_view name) const {
    auto it = index.find(upper(trim(name)));
    return it == index.end() ? -1 : it->second;
  }
};

Query::Query(Connection& connection) : impl_(std::make_unique<Impl>(connection)) {}
Query::~Query() = default;

void Query::sql(std::string text) {
  close();
  impl_->text = std::move(text);
  impl_->parsed = parse_params(impl_->text);
  impl_->values.clear();
}

const std::string& Query::sql() const { return impl_->text; }

void Query::set(std::string_view name, Value value) {
  std::string key = upper(name);
  if (!key.empty() && key[0] == ':') key.erase(0, 1);
  impl_->values[key] = std::move(value);
}

void Query::set_null(std::string_view name) { set(name, Value{}); }

void Query::open() {
  close();
  if (trim(impl_->text).empty()) throw Error("the query has no statement text");
  impl_->connection.run(impl_->parsed.text, impl_->bound(), &impl_->rows);
  for (int i = static_cast<int>(impl_->rows.columns.size()) - 1; i >= 0; --i)
    impl_->index[upper(impl_->rows.columns[i])] = i;
  impl_->active = true;
  impl_->position = 0;
}

void Query::close() {
  impl_->active = false;
  impl_->rows = {};
  impl_->index.clear();
  impl_->position = 0;
}

bool Query::active() const { return impl_->active; }

int64_t Query::exec_sql() {
  close();
  if (trim(impl_->text).empty()) throw Error("the query has no statement text");
  return impl_->connection.run(impl_->parsed.text, impl_->bound(), nullptr);
}

int Query::record_count() const { return static_cast<int>(impl_->rows.data.size()); }
void Query::first() { impl_->position = 0; }
void Query::next() {
  if (impl_->position < record_count()) ++impl_->position;
}
bool Query::eof() const { return impl_->position >= record_count(); }
int Query::position() const { return impl_->position; }
void Query::move_to(int row) { impl_->position = std::clamp(row, 0, record_count()); }

bool Query::locate(std::string_view field_name, const Value& value) {
  int col = impl_->column(field_name);
  if (col < 0) throw Error("Поле '" + std::string(field_name) + "' не найдено", 0, impl_->text);
  for (int r = 0; r < record_count(); ++r) {
    if (equal_values(impl_->rows.data[r][col], value)) {
      impl_->position = r;
      return true;
    }
  }
  return false;
}

void Query::sort(std::string_view fields) {
  struct Key {
    int column;
    bool desc;
  };
  std::vector<Key> keys;
  size_t start = 0;
  while (start <= fields.size()) {
    size_t comma = fields.find(',', start);
    std::string part = trim(fields.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    start = comma == std::string_view::npos ? fields.size() + 1 : comma + 1;
    if (part.empty()) continue;
    bool desc = false;
    std::string u = upper(part);
    auto ends = [&](const std::string& w) {
      return u.size() > w.size() && u.compare(u.size() - w.size(), w.size(), w) == 0 &&
             std::isspace(static_cast<unsigned char>(u[u.size() - w.size() - 1]));
    };
    if (ends("DESC")) {
      desc = true;
      part = trim(part.substr(0, part.size() - 4));
    } else if (ends("ASC")) {
      part = trim(part.substr(0, part.size() - 3));
    }
    int col = impl_->column(part);
    if (col < 0) throw Error("Поле '" + part + "' не найдено", 0, impl_->text);
    keys.push_back({col, desc});
  }
  std::stable_sort(impl_->rows.data.begin(), impl_->rows.data.end(),
                   [&](const std::vector<Value>& a, const std::vector<Value>& b) {
                     for (const auto& k : keys) {
                       int c = compare_values(a[k.column], b[k.column]);
                       if (c != 0) return k.desc ? c > 0 : c < 0;
                     }
                     return false;
                   });
  impl_->position = 0;
}

Field Query::field(std::string_view name) const {
  int col = impl_->column(name);
  if (col < 0) throw Error("Поле '" + std::string(name) + "' не найдено", 0, impl_->text);
  Field f;
  f.name_ = impl_->rows.columns[col];
  if (!eof()) f.value_ = &impl_->rows.data[impl_->position][col];
  return f;
}

bool Query::has_field(std::string_view name) const { return impl_->column(name) >= 0; }
int Query::field_count() const { return static_cast<int>(impl_->rows.columns.size()); }
std::string Query::field_name(int index) const {
  if (index < 0 || index >= field_count()) return {};
  return impl_->rows.columns[index];
}

}  // namespace hrdoc::db
