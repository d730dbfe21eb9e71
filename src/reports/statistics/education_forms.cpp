#include "reports/statistics/education_forms.h"

#include <cstdio>
#include <ctime>

#include "host/statements.h"
#include "host/udm.h"
#include "office/classexl.h"

namespace hrdoc {
namespace {

constexpr const char* kQryKP = R"(select sname from otzkpn
where kp=:kp)";

const bool statements = register_statements("education forms", {{"qryKP", kQryKP}});

}  // namespace

void BindDepartment(db::Query& q, int K) {
  q.set("ow", int64_t{K});
  for (int i = 1; i <= 7; ++i) q.set("ow" + std::to_string(i), int64_t{K});
  q.set("md", int64_t{K});
}

std::string PrintTime() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char text[80];
  std::snprintf(text, sizeof text, "%02d.%02d.%4d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

void PutSignatures(office::TExcelShablon& w, Tdm& dm, const compark& ctx) {
  db::Query qryKP(*dm.ADOConnection);
  qryKP.sql(kQryKP);
  auto sname = [&qryKP](int kp) {
    qryKP.close();
    qryKP.set("kp", int64_t{kp});
    qryKP.open();
    return qryKP.record_count() > 0 ? qryKP.field("SNAME").as_string() : std::string();
  };
  w.ClearPart("ppF");
  w.SetField("ppF", "fdir", "Директор                                  ____________________________  " + sname(ctx.NASH));
  w.SetField("ppF", "fnach", "Начальник службы по кадрам  ____________________________  " + sname(ctx.NACHOK));
  w.AddPart("ppF", 0);
}

}  // namespace hrdoc
