#include "suite/kvdlg/dictionary_lookup.h"

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/compark.h"
#include "host/udm.h"
#include "text/strings.h"
#include "ui/ui.h"

namespace hrdoc::suite {
namespace {

using kvdlg::LookupEntry;
using kvdlg::LookupValue;

struct Column {
  std::string field, caption;
  bool shown = true;
};

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Names go into the statement as they stand: only letters, digits, "_" and "$" pass.
bool is_name(const std::string& s) {
  if (s.empty() || s.size() > 63 || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  for (unsigned char c : s)
    if (!std::isalnum(c) && c != '_' && c != '$') return false;
  return true;
}

std::vector<std::vector<std::string>> split_list(const std::string& list) {
  std::vector<std::vector<std::string>> out;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::vector<std::string> parts;
    size_t p = start;
    for (;;) {
      size_t comma = list.find(',', p);
      if (comma == std::string::npos || comma > end) comma = end;
      parts.push_back(list.substr(p, comma - p));
      if (comma == end) break;
      p = comma + 1;
    }
    if (!parts[0].empty()) out.push_back(parts);
    start = end + 1;
  }
  return out;
}

void add_field(std::vector<std::string>& fields, const std::string& f) {
  for (const auto& g : fields)
    if (upper(g) == upper(f)) return;
  fields.push_back(f);
}

void put(LookupValue& v, const db::Field& f) {
  const db::Value& value = f.value();
  if (std::holds_alternative<std::monostate>(value)) v.set_null();
  else if (std::holds_alternative<int64_t>(value)) v.set_int(std::get<int64_t>(value));
  else if (std::holds_alternative<double>(value)) v.set_number(std::get<double>(value));
  else v.set_text(f.as_string());
}

bool same(const LookupValue& key, const db::Field& f) {
  switch (key.kind) {
    case LookupValue::integer: return !f.is_null() && f.as_int() == key.i;
    case LookupValue::number: return !f.is_null() && std::fabs(f.as_float() - key.f) < 1e-9;
    case LookupValue::text: return f.as_string() == key.s;
    default: return f.is_null();
  }
}

// Whether the current row's key or one of its shown columns reads as the text.
bool reads(const db::Query& q, const std::vector<std::string>& keys, const std::vector<Column>& columns,
           const std::string& text) {
  for (const auto& k : keys)
    if (text::trim(q.field(k).as_string()) == text) return true;
  for (const auto& c : columns)
    if (c.shown && text::trim(q.field(c.field).as_string()) == text) return true;
  return false;
}

}  // namespace

int dictionary_lookup(compark* ctx, const DictionaryCall& call) {
  ui::Ui& ui = *ctx->ui();
  auto fail = [&](const std::string& text) {
    ui.message_box("Ошибка", text, ui::MB_ICONERROR);
    if (call.reply) {
      call.reply->answer = -1;
      std::snprintf(call.reply->message, sizeof call.reply->message, "%s", text.c_str());
    }
    return -1;
  };
  auto done = [&](int answer) {
    if (call.reply) call.reply->answer = answer, call.reply->message[0] = 0;
    return answer;
  };

  const std::string table = call.table ? call.table : "";
  const std::string title = call.title ? call.title : table;
  if (!is_name(table)) return fail("Справочник: неверное имя таблицы \"" + table + "\"");
  if (call.key_count < 0 || call.result_count < 0 || (call.key_count && !call.keys) ||
      (call.result_count && !call.results))
    return fail("Справочник " + table + ": неверные поля ключа или результата");

  std::vector<Column> columns;
  std::vector<std::string> fields, order;
  for (const auto& parts : split_list(call.columns ? call.columns : "")) {
    Column c{parts[0], parts.size() > 1 ? parts[1] : parts[0], true};
    c.shown = !(parts.size() > 3 && parts[3] == "0");
    columns.push_back(c);
    add_field(fields, c.field);
  }
  for (const auto& parts : split_list(call.key_list ? call.key_list : "")) {
    order.push_back(parts[0]);
    add_field(fields, parts[0]);
  }
  for (int i = 0; i < call.key_count; ++i) add_field(fields, call.keys[i].field);
  for (int i = 0; i < call.result_count; ++i) add_field(fields, call.results[i].field);
  if (fields.empty()) return fail("Справочник " + table + ": не заданы поля");
  std::string sql = "select ";
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!is_name(fields[i])) return fail("Справочник " + table + ": неверное имя поля \"" + fields[i] + "\"");
    sql += (i ? "," : "") + fields[i];
  }
  sql += " from " + table;
  if (call.filter && call.filter->on && call.filter->text[0]) sql += " where " + std::string(call.filter->text);
  if (!order.empty()) {
    sql += " order by ";
    for (size_t i = 0; i < order.size(); ++i) sql += (i ? "," : "") + order[i];
  }

  Tdm* data = ctx->data_module();
  if (!data || !data->ADOConnection) return fail("Справочник " + table + ": нет соединения с базой данных");
  db::Query q(*data->ADOConnection);
  ui::Table shown;
  int current = -1, typed = -1;
  const std::string given = call.reply ? text::trim(call.reply->given) : std::string();
  try {
    q.sql(sql);
    q.open();
    for (const auto& c : columns)
      if (c.shown) shown.columns.push_back(c.caption);
    for (q.first(); !q.eof(); q.next()) {
      std::vector<std::string> row;
      for (const auto& c : columns)
        if (c.shown) row.push_back(q.field(c.field).as_string());
      shown.rows.push_back(std::move(row));
      bool match = call.key_count > 0;
      for (int i = 0; i < call.key_count && match; ++i) match = same(call.keys[i].value, q.field(call.keys[i].field));
      if (match && current < 0) current = q.position();
      if (!given.empty() && typed < 0 && reads(q, order, columns, given)) typed = q.position();
    }
  } catch (const db::Error& e) {
    return fail("Справочник " + table + ": " + e.message());
  }

  int chosen = -1;
  const bool given_key = call.filtered && call.key_count > 0 && call.keys[0].value.as_int() != 0;
  if (!given.empty()) {
    if (typed < 0) return fail("Справочник \"" + title + "\": нет записи \"" + given + "\"");
    chosen = typed;
  } else if (given_key) {
    // A code given by the caller picks its row; one the dictionary lacks is an error.
    if (current < 0)
      return fail("Справочник \"" + title + "\": нет записи с кодом " + call.keys[0].value.as_text());
    chosen = current;
  } else {
    chosen = ui.choose_row(title, shown, current);
    if (chosen < 0 || chosen >= q.record_count()) return done(1);
  }
  q.move_to(chosen);
  for (int i = 0; i < call.result_count; ++i) put(call.results[i].value, q.field(call.results[i].field));
  return done(0);
}

}  // namespace hrdoc::suite
