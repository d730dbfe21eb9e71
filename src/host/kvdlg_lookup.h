#pragma once
// The blocks of KVDLG's dictionary look-ups, laid out once for both sides: the library fills
// them and calls through l_call, KVDLG reads and fills them.
//
// "SPRANYEX": l_call("KVDLG", "SPRANYEX", title, table, key list, column list,
//                    key entries, key count, result entries, result count, &reply)
// "SPRANYEX2": the same with a filter block before the reply:
//                    ..., result entries, result count, &filter, &reply)
//
// Title, table and the lists are zero-terminated UTF-8 texts. The key list names the key
// fields, each ended by ";" ("TSTG;"; anything after a field's first comma is ignored). The
// column list gives "field,caption,format,width;" per column: a width of 0 hides the column,
// an empty one shows it ("TSTG,Код;KF,Коэффициент,,0;"). Key entries carry the current key
// (that row is marked in the list; for "SPRANYEX2" a non-zero key picks its row without
// asking). Result entries name the fields to return; a chosen row fills their values.
// The answer is 0 when a row was chosen; otherwise non-zero and the result entries are as
// they were. The reply carries the answer and, after a failure, its message; a text given in it
// picks its row without a list.

#include <cstdint>
#include <cstdio>
#include <string>

namespace hrdoc::kvdlg {

// A variant value of an entry.
struct LookupValue {
  enum Kind : int32_t { null = 0, integer = 1, number = 2, text = 3 };
  int32_t kind = null;
  int64_t i = 0;
  double f = 0;
  char s[256] = {};

  void set_null() { *this = LookupValue{}; }
  void set_int(int64_t v) {
    set_null();
    kind = integer, i = v, f = static_cast<double>(v);
    std::snprintf(s, sizeof s, "%lld", static_cast<long long>(v));
  }
  void set_number(double v) {
    set_null();
    kind = number, f = v, i = static_cast<int64_t>(v);
    std::snprintf(s, sizeof s, "%.15g", v);
  }
  void set_text(const std::string& v) {
    set_null();
    kind = text;
    std::snprintf(s, sizeof s, "%s", v.c_str());
  }
  // Null reads as 0 and as empty text.
  int64_t as_int() const { return kind == text ? std::strtoll(s, nullptr, 10) : i; }
  std::string as_text() const { return s; }
};

// A field name and its value.
struct LookupEntry {
  char field[32] = {};
  LookupValue value;

  LookupEntry() = default;
  explicit LookupEntry(const char* name) { std::snprintf(field, sizeof field, "%s", name); }
  LookupEntry(const char* name, int64_t v) : LookupEntry(name) { value.set_int(v); }
};

// "SPRANYEX2" only: on = 1 applies text as the condition of the rows listed ("KRWK>0").
struct LookupFilter {
  int32_t on = 0;
  char text[512] = {};

  LookupFilter() = default;
  explicit LookupFilter(const char* condition) : on(1) { std::snprintf(text, sizeof text, "%s", condition); }
};

struct LookupReply {
  int32_t answer = 0;
  char message[512] = {};
  // A code or name the user typed instead of choosing: the row whose key or shown column reads
  // so is taken without asking; when none does, an error. Empty: the list is shown.
  char given[256] = {};

  LookupReply() = default;
  explicit LookupReply(const std::string& typed) { std::snprintf(given, sizeof given, "%s", typed.c_str()); }
};

// "KPN2", the person picker: l_call("KVDLG", "KPN2", &pick, 2). The user finds a person by
// name; the answer is 0 with the person's key and full name in the record, non-zero with key 0
// when nobody was chosen.
struct PersonPick {
  int32_t kp = 0;
  char name[256] = {};
};

}  // namespace hrdoc::kvdlg
