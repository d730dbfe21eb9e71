// "HRDOC210": the workers (category 4) of the department set with courses of qualification
// improvement in the period, department by department, a line per course.
#include <string>

#include "host/statements.h"
#include "reports/statistics/qualification.h"

namespace hrdoc {
namespace {

const std::string kQryKpn = CategoryStatement("and t2.kat=4");
// Appended after the department set.
constexpr const char* kOrder = " order by  1,kpn.fname";

class Tfmhrd210 : public TCourseList {
 public:
  Tfmhrd210()
      : TCourseList({"hrdoc210", "Отчет о повышении квалификации по рабочим", kQryKpn.c_str(), kOrder, false}) {}
};

const bool statements = register_statements("HRDOC210", {{"qryKpn", kQryKpn + kOrder}});
const bool registered = register_report<Tfmhrd210, "HRDOC210">();

}  // namespace
}  // namespace hrdoc
