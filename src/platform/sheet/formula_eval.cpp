#include "sheet/formula_eval.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace hrdoc::sheet {
namespace {

// Thrown when the engine leaves a formula to the application.
struct Unsupported {};
struct Circular {};

const char* const kValue = "#VALUE!";
const char* const kDiv0 = "#DIV/0!";
const char* const kNum = "#NUM!";
const char* const kRef = "#REF!";

Value error(const char* code) { return {ValueType::error, 0, code}; }
Value boolean(bool b) { return {ValueType::boolean, b ? 1.0 : 0.0, {}}; }
Value number(double v) { return std::isfinite(v) ? Value::of(v) : error(kNum); }

// A parsed formula.
struct Node {
  enum Kind { literal, ref, unary, percent, binary, call, missing } kind = literal;
  Value value;                 // literal
  const Sheet* sheet = nullptr;  // ref; nullptr for a reference to a sheet that does not exist
  Range range;                 // ref
  bool single = true;          // ref to one cell
  std::string op;              // unary, binary; call: the function name in capitals
  std::vector<std::unique_ptr<Node>> args;
};
using NodePtr = std::unique_ptr<Node>;

bool name_byte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || c == '.' || c == '$' || u >= 0x80;
}

class Parser {
 public:
  Parser(const Book& book, const Sheet& own, std::string_view text) : book_(book), own_(own), s_(text) {}

  NodePtr parse() {
    if (s_.size() > 8192) throw Unsupported{};  // Excel's own limit
    NodePtr n = comparison();
    skip();
    if (p_ != s_.size()) throw Unsupported{};
    return n;
  }

 private:
  void skip() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\n' || s_[p_] == '\r')) ++p_;
  }
  bool eat(std::string_view t) {
    skip();
    if (s_.substr(p_, t.size()) != t) return false;
    p_ += t.size();
    return true;
  }
  NodePtr make_binary(std::string op, NodePtr a, NodePtr b) {
    // Chains of operators become deep trees; no report writes one this long.
    if (++ops_ > 1000) throw Unsupported{};
    auto n = std::make_unique<Node>();
    n->kind = Node::binary;
    n->op = std::move(op);
    n->args.push_back(std::move(a));
    n->args.push_back(std::move(b));
    return n;
  }

  NodePtr comparison() {
    // Excel allows 64 levels; deeper nesting in a damaged file must not exhaust the stack.
    struct Level {
      int& d;
      explicit Level(int& depth) : d(depth) {
        if (++d > 100) throw Unsupported{};
      }
      ~Level() { --d; }
    } level(depth_);
    NodePtr a = concat();
    for (;;) {
      std::string op;
      for (const char* o : {"<=", ">=", "<>", "=", "<", ">"}) {
        if (eat(o)) {
          op = o;
          break;
        }
      }
      if (op.empty()) return a;
      a = make_binary(op, std::move(a), concat());
    }
  }
  NodePtr concat() {
    NodePtr a = additive();
    while (eat("&")) a = make_binary("&", std::move(a), additive());
    return a;
  }
  NodePtr additive() {
    NodePtr a = multiplicative();
    for (;;) {
      if (eat("+")) a = make_binary("+", std::move(a), multiplicative());
      else if (eat("-")) a = make_binary("-", std::move(a), multiplicative());
      else return a;
    }
  }
  NodePtr multiplicative() {
    NodePtr a = power();
    for (;;) {
      if (eat("*")) a = make_binary("*", std::move(a), power());
      else if (eat("/")) a = make_binary("/", std::move(a), power());
      else return a;
    }
  }
  NodePtr power() {
    NodePtr a = unary();
    while (eat("^")) a = make_binary("^", std::move(a), unary());
    return a;
  }
  // Excel binds the sign tighter than ^: -2^2 is 4.
  NodePtr unary() {
    if (eat("-") || eat("+")) {
      auto n = std::make_unique<Node>();
      n->kind = Node::unary;
      n->op = s_[p_ - 1];
      if (++signs_ > 100) throw Unsupported{};
      n->args.push_back(unary());
      return n;
    }
    NodePtr a = primary();
    while (eat("%")) {
      auto n = std::make_unique<Node>();
      n->kind = Node::percent;
      n->args.push_back(std::move(a));
      a = std::move(n);
    }
    return a;
  }

  NodePtr literal(Value v) {
    auto n = std::make_unique<Node>();
    n->value = std::move(v);
    return n;
  }

  NodePtr primary() {
    skip();
    if (p_ >= s_.size()) throw Unsupported{};
    const char c = s_[p_];
    if (c == '(') {
      ++p_;
      NodePtr n = comparison();
      if (!eat(")")) throw Unsupported{};
      return n;
    }
    if (c == '"') return literal(Value::of(quoted('"')));
    if (c == '#') {
      for (const char* e : {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A"}) {
        if (eat(e)) return literal(error(e));
      }
      throw Unsupported{};
    }
    if (c == '\'') {
      std::string sheet = quoted('\'');
      if (!eat("!")) throw Unsupported{};
      return reference(book_.find_sheet(sheet));
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
      // Row ranges ("3:5") start like numbers.
      const size_t start = p_;
      size_t q = p_;
      while (q < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[q])) || s_[q] == '$')) ++q;
      if (q < s_.size() && s_[q] == ':') return reference(&own_);
      p_ = start;
      return literal(Value::of(number_token()));
    }
    if (!name_byte(c)) throw Unsupported{};
    const size_t start = p_;
    size_t q = p_;
    while (q < s_.size() && name_byte(s_[q])) ++q;
    const std::string_view word = s_.substr(start, q - start);
    if (q < s_.size() && s_[q] == '!') {
      p_ = q + 1;
      return reference(book_.find_sheet(word));
    }
    if (q < s_.size() && s_[q] == '(') {
      p_ = q + 1;
      auto n = std::make_unique<Node>();
      n->kind = Node::call;
      n->op = upper(word);
      if (n->op.rfind("_XLFN.", 0) == 0) n->op.erase(0, 6);
      if (!eat(")")) {
        do {
          skip();
          if (p_ < s_.size() && (s_[p_] == ',' || s_[p_] == ')')) {
            auto m = std::make_unique<Node>();
            m->kind = Node::missing;
            n->args.push_back(std::move(m));
          } else {
            n->args.push_back(comparison());
          }
        } while (eat(","));
        if (!eat(")")) throw Unsupported{};
      }
      return n;
    }
    const std::string up = upper(word);
    if (up == "TRUE" || up == "FALSE") {
      p_ = q;
      return literal(boolean(up == "TRUE"));
    }
    return reference(&own_);
  }

  // A cell, a block, whole columns or whole rows; unknown words are defined names.
  NodePtr reference(const Sheet* sheet) {
    skip();
    size_t q = p_;
    while (q < s_.size() && name_byte(s_[q]) && s_[q] != '.') ++q;
    if (q < s_.size() && s_[q] == ':') {
      ++q;
      while (q < s_.size() && name_byte(s_[q]) && s_[q] != '.') ++q;
    }
    std::string_view text = s_.substr(p_, q - p_);
    if (text == "#REF!" || s_.substr(p_, 5) == "#REF!") {
      p_ += 5;
      return literal(error(kRef));
    }
    auto r = parse_range(text);
    if (!r) throw Unsupported{};
    p_ = q;
    if (!sheet) return literal(error(kRef));
    auto n = std::make_unique<Node>();
    n->kind = Node::ref;
    n->sheet = sheet;
    n->range = *r;
    n->single = r->row1 == r->row2 && r->col1 == r->col2;
    return n;
  }

  std::string quoted(char q) {
    std::string out;
    for (++p_; p_ < s_.size(); ++p_) {
      if (s_[p_] == q) {
        if (p_ + 1 < s_.size() && s_[p_ + 1] == q) {
          out += q;
          ++p_;
          continue;
        }
        ++p_;
        return out;
      }
      out += s_[p_];
    }
    throw Unsupported{};
  }

  double number_token() {
    const std::string rest(s_.substr(p_, 64));
    char* end = nullptr;
    const double v = std::strtod(rest.c_str(), &end);
    if (end == rest.c_str()) throw Unsupported{};
    p_ += static_cast<size_t>(end - rest.c_str());
    return v;
  }

  static std::string upper(std::string_view w) {
    std::string u(w);
    for (char& ch : u) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return u;
  }

  const Book& book_;
  const Sheet& own_;
  std::string_view s_;
  size_t p_ = 0;
  int depth_ = 0, signs_ = 0, ops_ = 0;
};

// Excel shows up to 15 significant digits of a number turned into text.
std::string general_text(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  std::string s = buf;
  if (auto e = s.find('e'); e != std::string::npos) s[e] = 'E';
  return s == "-0" ? "0" : s;
}

// A number in a text, as arithmetic reads it: " 12,5" is not one, "12.5" and "50%" are.
std::optional<double> text_number(const std::string& t) {
  size_t a = t.find_first_not_of(' '), b = t.find_last_not_of(' ');
  if (a == std::string::npos) return std::nullopt;
  std::string s = t.substr(a, b - a + 1);
  double scale = 1;
  if (s.back() == '%') {
    scale = 0.01;
    s.pop_back();
  }
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s[0])) || s[0] == '-' || s[0] == '+' || s[0] == '.'))
    return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v * scale;
}

// ROUND as Excel does it: on the 15 digits it shows, halves away from zero.
double excel_round(double x, int digits) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", x);
  x = std::strtod(buf, nullptr);
  const double p = std::pow(10.0, std::abs(digits));
  double scaled = digits >= 0 ? x * p : x / p;
  std::snprintf(buf, sizeof buf, "%.15g", scaled);
  scaled = std::round(std::strtod(buf, nullptr));
  return digits >= 0 ? scaled / p : scaled * p;
}

}  // namespace

// Evaluates the formulas of a book with the results of the formulas it meets kept, so every
// formula is computed once.
struct FormulaEvaluator {
  explicit FormulaEvaluator(const Book& b) : book(b), state(b.formulas_.size(), 0), results(b.formulas_.size()) {}

  const Book& book;
  std::vector<uint8_t> state;  // 0 not yet, 1 being computed, 2 done, 3 left to the application
  std::vector<Value> results;
  int depth = 0;
  int row = 0, col = 0;  // the cell of the formula being computed, for implicit intersection

  Value formula_value(uint32_t id, int r, int c) {
    if (state[id] == 2) return results[id];
    if (state[id] == 1) throw Circular{};
    if (state[id] == 3) throw Unsupported{};
    const auto& f = book.formulas_[id];
    // A long chain of formulas each waiting for the next is left to the application rather
    // than risk the stack.
    if (f.array_rows || !f.sheet || depth > 400) throw Unsupported{};
    state[id] = 1;
    const int saved_row = row, saved_col = col;
    ++depth;
    try {
      Parser parser(book, *f.sheet, book.str(f.text));
      NodePtr n = parser.parse();
      row = r;
      col = c;
      Value v = scalar(eval(*n));
      if (v.type == ValueType::empty) v = Value::of(0.0);
      results[id] = v;
      state[id] = 2;
    } catch (...) {
      state[id] = 3;
      --depth;
      row = saved_row;
      col = saved_col;
      throw;
    }
    --depth;
    row = saved_row;
    col = saved_col;
    return results[id];
  }

  Value cell_value(const Sheet::Cell& c, int r) {
    switch (c.type) {
      case ValueType::number: return Value::of(c.number);
      case ValueType::boolean: return boolean(c.number != 0);
      case ValueType::text: return Value::of(book.str(c.index));
      case ValueType::error: return {ValueType::error, 0, book.str(c.index)};
      case ValueType::formula: return formula_value(c.index, r, static_cast<int>(c.col));
      default: return {};
    }
  }

  Value cell_at(const Sheet& sh, int r, int c) {
    const Sheet::Cell* cell = sh.find(r, c);
    return cell ? cell_value(*cell, r) : Value{};
  }

  // Every non-empty cell of a block, row by row.
  template <class F>
  void each_cell(const Node& ref, F f) {
    const Sheet& sh = *ref.sheet;
    const int last = std::min(ref.range.row2, sh.last_row());
    for (int r = ref.range.row1; r <= last; ++r) {
      const auto& cells = sh.rows_[r - 1].cells;
      auto it = std::lower_bound(cells.begin(), cells.end(), static_cast<uint32_t>(ref.range.col1),
                                 [](const Sheet::Cell& c, uint32_t v) { return c.col < v; });
      for (; it != cells.end() && it->col <= static_cast<uint32_t>(ref.range.col2); ++it) {
        if (it->type != ValueType::empty) f(cell_value(*it, r));
      }
    }
  }

  // A reference where one value belongs: its cell, or the cell of a row or column block in
  // line with the formula (Excel's implicit intersection).
  Value deref(const Node& ref) {
    const Range& g = ref.range;
    if (ref.single) return cell_at(*ref.sheet, g.row1, g.col1);
    if (g.col1 == g.col2 && row >= g.row1 && row <= g.row2) return cell_at(*ref.sheet, row, g.col1);
    if (g.row1 == g.row2 && col >= g.col1 && col <= g.col2) return cell_at(*ref.sheet, g.row1, col);
    return error(kValue);
  }

  // Evaluation keeps references as they are; `value` turns them into one value.
  struct Result {
    const Node* ref = nullptr;
    Value v;
  };

  Result eval(const Node& n) {
    switch (n.kind) {
      case Node::literal: return {nullptr, n.value};
      case Node::missing: return {nullptr, Value{}};
      case Node::ref: return {&n, {}};
      case Node::unary: {
        Value a = value(n.args[0]);
        if (a.type == ValueType::error) return {nullptr, a};
        auto x = to_number(a);
        if (!x) return {nullptr, error(kValue)};
        return {nullptr, number(n.op == "-" ? -*x : *x)};
      }
      case Node::percent: {
        Value a = value(n.args[0]);
        if (a.type == ValueType::error) return {nullptr, a};
        auto x = to_number(a);
        return {nullptr, x ? number(*x / 100) : error(kValue)};
      }
      case Node::binary: return {nullptr, binary(n)};
      case Node::call: return {nullptr, call(n)};
    }
    return {nullptr, {}};
  }

  Value scalar(const Result& r) { return r.ref ? deref(*r.ref) : r.v; }
  Value value(const NodePtr& n) { return scalar(eval(*n)); }

  static std::optional<double> to_number(const Value& v) {
    switch (v.type) {
      case ValueType::empty: return 0.0;
      case ValueType::number:
      case ValueType::boolean: return v.number;
      case ValueType::text: return text_number(v.text);
      default: return std::nullopt;
    }
  }

  static std::string to_text(const Value& v) {
    switch (v.type) {
      case ValueType::number: return general_text(v.number);
      case ValueType::boolean: return v.number != 0 ? "TRUE" : "FALSE";
      case ValueType::text: return v.text;
      default: return {};
    }
  }

  // Excel orders numbers before texts before logical values; an empty cell counts as the
  // other side's zero.
  static int compare(Value a, Value b) {
    if (a.type == ValueType::empty) a = empty_like(b);
    if (b.type == ValueType::empty) b = empty_like(a);
    auto rank = [](const Value& v) { return v.type == ValueType::number ? 0 : v.type == ValueType::text ? 1 : 2; };
    if (rank(a) != rank(b)) return rank(a) < rank(b) ? -1 : 1;
    if (a.type == ValueType::text) {
      const std::string x = fold_case(a.text), y = fold_case(b.text);
      return x < y ? -1 : x > y ? 1 : 0;
    }
    return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
  }
  static Value empty_like(const Value& other) {
    if (other.type == ValueType::text) return Value::of(std::string_view());
    if (other.type == ValueType::boolean) return boolean(false);
    return Value::of(0.0);
  }

  Value binary(const Node& n) {
    Value a = value(n.args[0]);
    Value b = value(n.args[1]);
    if (a.type == ValueType::error) return a;
    if (b.type == ValueType::error) return b;
    const std::string& op = n.op;
    if (op == "&") return Value::of(to_text(a) + to_text(b));
    if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
      const int c = compare(a, b);
      const bool r = op == "=" ? c == 0 : op == "<>" ? c != 0 : op == "<" ? c < 0 : op == ">" ? c > 0 : op == "<=" ? c <= 0 : c >= 0;
      return boolean(r);
    }
    auto x = to_number(a), y = to_number(b);
    if (!x || !y) return error(kValue);
    if (op == "+") return number(*x + *y);
    if (op == "-") return number(*x - *y);
    if (op == "*") return number(*x * *y);
    if (op == "/") return *y == 0 ? error(kDiv0) : number(*x / *y);
    if (*x == 0 && *y < 0) return error(kDiv0);
    return number(std::pow(*x, *y));
  }

  // The values an aggregate sees: from a block, numbers only (and errors, which stop it);
  // given directly, logical values and numeric texts count too and other texts are #VALUE!.
  struct Numbers {
    std::vector<double> values;
    Value err;
    bool failed() const { return err.type == ValueType::error; }
  };

  Numbers numbers(const Node& call, bool skip_errors = false) {
    Numbers out;
    for (const auto& a : call.args) {
      if (out.failed()) break;
      Result r = eval(*a);
      if (r.ref) {
        each_cell(*r.ref, [&](const Value& v) {
          if (v.type == ValueType::number) out.values.push_back(v.number);
          else if (v.type == ValueType::error && !skip_errors && !out.failed()) out.err = v;
        });
        continue;
      }
      const Value& v = r.v;
      if (v.type == ValueType::error) {
        if (!skip_errors) out.err = v;
      } else if (auto x = to_number(v)) {
        out.values.push_back(*x);
      } else if (!skip_errors) {
        out.err = error(kValue);
      }
    }
    return out;
  }

  void arity(const Node& n, size_t least, size_t most) {
    if (n.args.size() < least || n.args.size() > most) throw Unsupported{};
  }

  std::optional<bool> truth(const Value& v) {
    if (v.type == ValueType::text) {
      const std::string t = fold_case(v.text);
      if (t == "true") return true;
      if (t == "false") return false;
      return std::nullopt;
    }
    return v.number != 0;
  }

  Value call(const Node& n) {
    const std::string& f = n.op;
    if (f == "SUM" || f == "AVERAGE" || f == "MIN" || f == "MAX" || f == "COUNT") {
      arity(n, 1, 255);
      Numbers x = numbers(n, f == "COUNT");
      if (f == "COUNT") return Value::of(static_cast<double>(x.values.size()));
      if (x.failed()) return x.err;
      if (f == "MIN" || f == "MAX") {
        if (x.values.empty()) return Value::of(0.0);
        return Value::of(f == "MIN" ? *std::min_element(x.values.begin(), x.values.end())
                                    : *std::max_element(x.values.begin(), x.values.end()));
      }
      double sum = 0;
      for (double v : x.values) sum += v;
      if (f == "SUM") return number(sum);
      return x.values.empty() ? error(kDiv0) : number(sum / static_cast<double>(x.values.size()));
    }
    if (f == "COUNTA") {
      arity(n, 1, 255);
      double count = 0;
      for (const auto& a : n.args) {
        Result r = eval(*a);
        if (r.ref) each_cell(*r.ref, [&](const Value&) { ++count; });
        else ++count;
      }
      return Value::of(count);
    }
    if (f == "IF") {
      arity(n, 1, 3);
      Value c = value(n.args[0]);
      if (c.type == ValueType::error) return c;
      auto t = truth(c);
      if (!t) return error(kValue);
      if (*t) return n.args.size() < 2 || n.args[1]->kind == Node::missing ? Value::of(0.0) : value(n.args[1]);
      if (n.args.size() < 3) return boolean(false);
      return n.args[2]->kind == Node::missing ? Value::of(0.0) : value(n.args[2]);
    }
    if (f == "ROUND" || f == "ABS") {
      arity(n, f == "ROUND" ? 2 : 1, f == "ROUND" ? 2 : 1);
      std::vector<double> x;
      for (const auto& a : n.args) {
        Value v = value(a);
        if (v.type == ValueType::error) return v;
        auto d = to_number(v);
        if (!d) return error(kValue);
        x.push_back(*d);
      }
      if (f == "ABS") return Value::of(std::fabs(x[0]));
      return number(excel_round(x[0], static_cast<int>(std::trunc(std::clamp(x[1], -400.0, 400.0)))));
    }
    if (f == "NOT") {
      arity(n, 1, 1);
      Value v = value(n.args[0]);
      if (v.type == ValueType::error) return v;
      auto t = truth(v);
      return t ? boolean(!*t) : error(kValue);
    }
    if (f == "AND" || f == "OR") {
      arity(n, 1, 255);
      bool any = false, all = true, seen = false;
      for (const auto& a : n.args) {
        Result r = eval(*a);
        std::optional<Value> err;
        auto take = [&](const Value& v) {
          if (v.type == ValueType::error) {
            if (!err) err = v;
            return;
          }
          if (v.type != ValueType::number && v.type != ValueType::boolean) return;
          seen = true;
          any = any || v.number != 0;
          all = all && v.number != 0;
        };
        if (r.ref) {
          each_cell(*r.ref, take);
        } else if (r.v.type == ValueType::text) {
          auto t = truth(r.v);
          if (!t) return error(kValue);
          take(boolean(*t));
        } else {
          take(r.v);
        }
        if (err) return *err;
      }
      if (!seen) return error(kValue);
      return boolean(f == "AND" ? all : any);
    }
    throw Unsupported{};
  }
};

bool Book::calculate() {
  FormulaEvaluator ev(*this);
  bool complete = true;
  // Row by row from the top: most formulas refer to cells above them, which are then known.
  for (auto& sh : sheets_) {
    for (size_t r = 0; r < sh->rows_.size(); ++r) {
      for (const auto& c : sh->rows_[r].cells) {
        if (c.type != ValueType::formula) continue;
        try {
          ev.formula_value(c.index, static_cast<int>(r + 1), static_cast<int>(c.col));
        } catch (const Unsupported&) {
          complete = false;
        } catch (const Circular&) {
          complete = false;
        }
      }
    }
  }
  for (size_t id = 0; id < formulas_.size(); ++id) {
    Formula& f = formulas_[id];
    if (!f.sheet) continue;
    if (ev.state[id] != 2) {
      f.cached = ValueType::empty;
      continue;
    }
    const Value& v = ev.results[id];
    f.cached = v.type;
    f.number = v.number;
    f.cached_text = v.type == ValueType::text || v.type == ValueType::error ? intern(v.text) : 0;
  }
  return complete;
}

std::optional<Value> evaluate_formula(const Sheet& sheet, int row, int col, std::string_view formula) {
  const Book& book = sheet.book();
  FormulaEvaluator ev(book);
  ev.row = row;
  ev.col = col;
  try {
    Parser parser(book, sheet, formula);
    NodePtr n = parser.parse();
    Value v = ev.scalar(ev.eval(*n));
    if (v.type == ValueType::empty) v = Value::of(0.0);
    return v;
  } catch (const Unsupported&) {
    return std::nullopt;
  } catch (const Circular&) {
    return std::nullopt;
  }
}

}  // namespace hrdoc::sheet
