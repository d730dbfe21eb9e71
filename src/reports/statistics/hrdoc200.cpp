// "HRDOC200": the employees of every category but the workers of the department set with courses of
// qualification improvement in the period, department by department, a line per course.
#include <string>

#include "host/statements.h"
#include "reports/statistics/qualification.h"

namespace hrdoc {
namespace {

const std::string kQryKpn = CategoryStatement("and t2.kat!=4");
// Appended after the department set.
constexpr const char* kOrder = " order by  1,kpn.fname";

class Tfmhrd200 : public TCourseList {
 public:
  Tfmhrd200()
      : TCourseList({"hrdoc200", "Отчет о повышении квалификации по всем категориям кроме рабочих", kQryKpn.c_str(),
                     kOrder, false}) {}
};

const bool statements = register_statements("HRDOC200", {{"qryKpn", kQryKpn + kOrder}});
const bool registered = register_report<Tfmhrd200, "HRDOC200">();

}  // namespace
}  // namespace hrdoc
