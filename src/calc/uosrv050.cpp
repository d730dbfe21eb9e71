#include "calc/uosrv050.h"

#include <stdexcept>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/statements.h"
#include "host/udm.h"
#include "text/date.h"

namespace hrdoc {

TdtUOSRV050* dtUOSRV050 = nullptr;

namespace {

constexpr const char* kQryZPOTV = R"(select t.* from zpotv t
where t.k=:K and t.fd=(select max(otv1.fd) from zpotv otv1 where otv1.k=t.k and otv1.fd<=:fd))";

constexpr const char* kQryZPSK = R"(select * from zpsk
where ngr=:NGR and fd=:FD)";

// The day codes of a schedule, one per character: GR arrives as UTF-8, where "р" takes two
// bytes, so day d is the d-th character, not the d-th byte.
std::u32string day_codes(const std::string& gr) {
  std::u32string out;
  for (size_t i = 0; i < gr.size();) {
    const auto c = static_cast<unsigned char>(gr[i]);
    size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    char32_t cp = len == 1 ? c : c & (0x3F >> (len - 1));
    for (size_t k = 1; k < len && i + k < gr.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(gr[i + k]) & 0x3F);
    out += cp;
    i += len;
  }
  return out;
}

constexpr char32_t kCountedDay = U'р';

}  // namespace

TdtUOSRV050::TdtUOSRV050(Tdm& module)
    : qryZPOTV(std::make_unique<db::Query>(*module.ADOConnection)),
      qryZPSK(std::make_unique<db::Query>(*module.ADOConnection)) {
  qryZPOTV->sql(kQryZPOTV);
  qryZPSK->sql(kQryZPSK);
}

TdtUOSRV050::~TdtUOSRV050() = default;

bool TdtUOSRV050::group_of(uint8_t kind, double first_of_month, int& group) {
  qryZPOTV->close();
  qryZPOTV->set("K", int64_t{kind});
  qryZPOTV->set_date("fd", first_of_month);
  qryZPOTV->open();
  group = 0;
  if (qryZPOTV->eof()) return false;
  group = static_cast<int>(qryZPOTV->field("NGR").as_int());
  return true;
}

bool TdtUOSRV050::count_month(int group, int year, int month, int from, uint16_t& days, int& d, int& last_counted) {
  qryZPSK->close();
  qryZPSK->set("NGR", int64_t{group});
  qryZPSK->set_date("FD", text::encode_date(year, month, 1));
  qryZPSK->open();
  if (qryZPSK->eof()) return false;
  if (qryZPSK->field("KDM").as_int() <= 0) return true;
  const std::u32string codes = day_codes(qryZPSK->field("GR").as_string());
  for (d = from; d <= 31 && days != 0; ++d) {
    if (static_cast<size_t>(d) <= codes.size() && codes[static_cast<size_t>(d) - 1] == kCountedDay) {
      --days;
      last_counted = d;
    }
  }
  return true;
}

int TdtUOSRV050::vacat_calc(uint16_t year, uint16_t month, uint16_t day, uint16_t& days, uint8_t kind,
                            int32_t result[3]) {
  int y = year, m = month, d = 0;
  // The last day counted so far, as a date; the day before the start while none is.
  TDateTime last = text::encode_date(year, month, day) - 1;
  int last_counted = 0;
  int group = 0;
  if (!group_of(kind, text::encode_date(y, m, 1), group) && c_p)
    c_p->armerr(kArmError, "(UTLRSV.vacat_calc): Неопределен вид расчета дней отпуска в ЛОКС");
  bool scheduled = count_month(group, y, m, day, days, d, last_counted);
  if (last_counted) last = text::encode_date(y, m, last_counted);
  while (scheduled && days != 0) {
    if (++m > 12) m = 1, ++y;
    // Nothing to count by beyond the years a date can hold.
    if (y > 9999) break;
    group_of(kind, text::encode_date(y, m, 1), group);
    last_counted = 0;
    scheduled = count_month(group, y, m, 1, days, d, last_counted);
    if (last_counted) last = text::encode_date(y, m, last_counted);
  }
  // Days that no schedule counted run on as calendar days.
  last += days;
  days = 0;
  const text::Ymd end = text::decode_date(last);
  result[0] = end.year;
  result[1] = end.month;
  result[2] = end.day;
  return 0;
}

void CreateDtUOSRV050() {
  if (dtUOSRV050) return;
  if (!dm || !dm->ADOConnection) throw std::runtime_error("vacat_calc: нет соединения с базой данных");
  dtUOSRV050 = new TdtUOSRV050(*dm);
}

void DestroyDtUOSRV050() {
  delete dtUOSRV050;
  dtUOSRV050 = nullptr;
}

namespace {
const bool statements = register_statements("vacat_calc", {{"qryZPOTV", kQryZPOTV}, {"qryZPSK", kQryZPSK}});
}

}  // namespace hrdoc
