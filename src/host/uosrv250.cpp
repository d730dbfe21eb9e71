#include "host/uosrv250.h"

#include <initializer_list>

namespace hrdoc {
namespace {

std::string join(std::initializer_list<const std::string*> parts) {
  std::string path;
  for (const std::string* p : parts) path += SepStr(path, *p) + *p;
  return path;
}

}  // namespace

std::string SepStr(const std::string& text, const std::string& next) {
  return !text.empty() && !next.empty() ? ", " : "";
}

std::string GetPathSkpw(const skpw& r) {
  static const std::string none;
  const std::string& enterprise = r.format_code == 99 ? r.enterprise_name : none;
  return join({&enterprise, &r.top_sname, &r.second_sname, &r.third_sname, &r.employee_sname});
}

std::string GetPathRow(const std::array<std::string, 4>& sorts, const skpw& record, int flag) {
  static const std::string none;
  const std::string& first = record.format_code == 99 && flag == 0 ? sorts[0] : none;
  return join({&first, &sorts[1], &sorts[2], &sorts[3]});
}

}  // namespace hrdoc
