// ":name" parameters to "?" placeholders.
#include <cctype>

#include "db/database.h"

namespace hrdoc::db {
namespace {

bool name_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool name_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

}  // namespace

ParsedSql parse_params(std::string_view sql) {
  ParsedSql out;
  out.text.reserve(sql.size());
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    char c = sql[i];
    if (c == '\'' || c == '"') {
      // A quoted literal or identifier; a doubled quote stays inside it.
      size_t j = i + 1;
      while (j < n) {
        if (sql[j] == c) {
          if (j + 1 < n && sql[j + 1] == c) {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      size_t end = j < n ? j + 1 : n;
      out.text.append(sql.substr(i, end - i));
      i = end;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      size_t j = sql.find('\n', i);
      size_t end = j == std::string_view::npos ? n : j;
      out.text.append(sql.substr(i, end - i));
      i = end;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      size_t j = sql.find("*/", i + 2);
      size_t end = j == std::string_view::npos ? n : j + 2;
      out.text.append(sql.substr(i, end - i));
      i = end;
    } else if (c == ':' && i + 1 < n && name_start(sql[i + 1])) {
      size_t j = i + 1;
      while (j < n && name_char(sql[j])) ++j;
      std::string name(sql.substr(i + 1, j - i - 1));
      for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      out.names.push_back(std::move(name));
      out.text += '?';
      i = j;
    } else {
      out.text += c;
      ++i;
    }
  }
  return out;
}

}  // namespace hrdoc::db
