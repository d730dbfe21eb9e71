// f_skpw: an employee or department with the units above it, as the reports' headings need.
#include <set>
#include <stdexcept>
#include <vector>

#include "host/compark.h"
#include "host/udm.h"
#include "text/date.h"

namespace {

struct Level {
  uint16_t kp = 0;
  std::string sname, fname;
};

}  // namespace

int compark::f_skpw(uint16_t key, TDateTime date, skpw* record) {
  Tdm* m = data_module();
  if (!m || !m->qrySysRSNU) throw std::runtime_error("f_skpw :: нет соединения с базой данных");
  if (!record) return 0;
  hrdoc::db::Query& q = *m->qrySysRSNU;
  skpw& r = *record;

  q.close();
  q.sql(R"(select n,k from zpkpv where pr=:pr)");
  q.set("pr", int64_t{1});
  q.open();
  r.format_code = static_cast<int32_t>(q.field("k").as_int());
  r.enterprise_name = r.format_code == 99 ? q.field("n").as_string() : std::string();

  q.close();
  q.sql(R"(select owner,tn, sname, fname,kp from OTZKPN where kp=:kp)");
  q.set("kp", int64_t{key});
  q.open();

  std::vector<Level> levels;
  bool start = key != 0;
  if (key == 0 || q.field("tn").as_int() == 0) {
    r.kp_employee = 0;
    r.tn = 0;
    r.employee_sname.clear();
    r.employee_fname.clear();
  } else {
    r.tn = static_cast<int32_t>(q.field("tn").as_int());
    r.kp_employee = key;
    r.employee_sname = q.field("sname").as_string();
    r.employee_fname = q.field("fname").as_string();
    // The department the employee was paid in during the month of the date.
    auto ymd = hrdoc::text::decode_date(date);
    TDateTime fd1 = hrdoc::text::encode_date(ymd.year, ymd.month, 1);
    TDateTime fd2 = ymd.month == 12 ? hrdoc::text::encode_date(ymd.year + 1, 1, 1)
                                    : hrdoc::text::encode_date(ymd.year, ymd.month + 1, 1);
    q.close();
    q.sql(R"(select t1.peri1 from zplspro t1 where t1.kp=:kp and t1.fd>=:fd1 and t1.fd<:fd2)");
    q.set("kp", int64_t{key});
    q.set_date("fd1", fd1);
    q.set_date("fd2", fd2);
    q.open();
    int64_t unit = q.field("peri1").as_int();
    if (unit == 0) unit = key;
    q.close();
    q.sql(R"(select owner,kp, sname, fname from OTZKPN where kp=:kp)");
    q.set("kp", unit);
    q.open();
  }

  // Climb the owners; a chain that comes back to a unit already seen is broken data.
  std::set<int64_t> seen;
  while (start && !q.eof()) {
    int64_t kp = q.field("kp").as_int();
    if (!seen.insert(kp).second)
      throw std::runtime_error("f_skpw :: цикл в дереве подразделений OTZKPN на KP=" + std::to_string(kp));
    levels.push_back({static_cast<uint16_t>(kp), q.field("sname").as_string(), q.field("fname").as_string()});
    int64_t owner = q.field("owner").as_int();
    if (owner == 0) break;
    q.close();
    q.sql(R"(select owner,kp, sname, fname from OTZKPN where kp=:kp)");
    q.set("kp", owner);
    q.open();
  }

  auto level = [&](size_t from_top) -> Level {
    return from_top < levels.size() ? levels[levels.size() - 1 - from_top] : Level{};
  };
  Level top = level(0), second = level(1), third = level(2);
  r.kp_top = top.kp, r.top_sname = top.sname, r.top_fname = top.fname;
  r.kp_second = second.kp, r.second_sname = second.sname, r.second_fname = second.fname;
  r.kp_third = third.kp, r.third_sname = third.sname, r.third_fname = third.fname;
  q.close();
  return 0;
}
