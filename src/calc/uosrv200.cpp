#include "calc/uosrv200.h"

#include <cmath>
#include <exception>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/udm.h"
#include "text/date.h"

namespace hrdoc {

namespace {

constexpr int kKinds = 7;
constexpr const char* kFlags[kKinds] = {"TSTG1", "TSTG2", "TSTG4", "TSTG8", "TSTG16", "TSTG32", "TSTG64"};
constexpr const char* kCoefficients[kKinds] = {"KF1", "KF2", "KF4", "KF8", "KF16", "KF32", "KF64"};

// Days of a month with February's length already decided.
int month_days(int month, int february) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  return month == 2 ? february : kDays[month - 1];
}

// Truncation toward zero, bounded so that a wild coefficient cannot overflow an int.
int scaled(int value, double coefficient) {
  double v = std::trunc(value * coefficient);
  if (!(v > -1e6)) return v != v ? 0 : -1000000;
  if (v > 1e6) return 1000000;
  return static_cast<int>(v);
}

}  // namespace

TStageDate TStageDate::pack(int year, int month, int day) {
  if (year < kFirstYear) year = kFirstYear, month = 1, day = 1;
  if (year > kLastYear) year = kLastYear, month = 12, day = 31;
  TStageDate d;
  d.bits = static_cast<uint16_t>((day & 0x1F) | ((month & 0x0F) << 5) | (((year - 1980) & 0x7F) << 9));
  return d;
}

TStageDate TStageDate::from_date(TDateTime date) {
  const text::Ymd ymd = text::decode_date(date);
  return pack(ymd.year, ymd.month, ymd.day);
}

int TStageDate::year() const {
  int y = (bits >> 9) & 0x7F;
  if (y & 0x40) y -= 0x80;
  return 1980 + y;
}

bool operator<(TStageDate a, TStageDate b) {
  if (a.year() != b.year()) return a.year() < b.year();
  if (a.month() != b.month()) return a.month() < b.month();
  return a.day() < b.day();
}

int TStageSpan::years() const {
  int y = (bits >> 9) & 0x7F;
  return (y & 0x40) ? y - 0x80 : y;
}

void TStageSpan::set(int years, int months, int days) {
  bits = static_cast<uint16_t>((days & 0x1F) | ((months & 0x0F) << 5) | ((years & 0x7F) << 9));
}

void TStageSpan::add(int y, int m, int d) {
  int years = this->years(), months = this->months(), days = this->days();
  years += y;
  if (days + d < 30) {
    days += d;
  } else {
    months += (days + d) / 30;
    days = (days + d) % 30;
  }
  if (months + m < 12) {
    months += m;
  } else {
    years += (months + m) / 12;
    months = (months + m) % 12;
  }
  // 64 years and more do not fit the 7 signed bits: the slot holds the longest length it can
  // rather than wrapping into a negative one. The sum only grows, so the order of the periods
  // still does not matter.
  if (years > kMaxYears) years = kMaxYears, months = 11, days = 29;
  set(years, months, days);
}

void DiffYMD(TStageDate a, TStageDate b, int& years, int& months, int& days, double coefficient) {
  years = months = days = 0;
  if (a == b) return;
  const TStageDate e = b < a ? b : a, l = b < a ? a : b;
  const int february = text::is_leap_year(e.year()) ? 29 : 28;

  int y = l.year() - e.year(), m = l.month() - e.month(), d = l.day() - e.day();
  if (d < 0) {
    d += month_days(e.month(), february);
    --m;
  }
  if (m < 0) {
    m += 12;
    --y;
  }
  y = scaled(y, coefficient);
  m = scaled(m, coefficient);
  d = scaled(d, coefficient);
  const int last = month_days(l.month(), february);
  if (d >= last) {
    m += d / last;
    d %= last;
  }
  if (m >= 12) {
    y += m / 12;
    m %= 12;
  }
  years = y, months = m, days = d;
}

void CalcStage(int KP, TDateTime dateFrom, TDateTime dateTo, TStageResult& result) {
  result.fill(TStageSpan{});
  try {
    if (!dm || !dm->ADOConnection) throw std::runtime_error("CalcStage: нет соединения с базой данных");
    // The text is the same for every employee, so the connection prepares it once.
    db::Query q(*dm->ADOConnection);
    std::string text =
        R"(select DTO,DTU,TSTG1,TSTG2,TSTG4,TSTG8,TSTG16,TSTG32,TSTG64,KF1,KF2,KF4, KF8,KF16,KF32,KF64 from KDT2ITK where KP=:KP and BOOK=1)";
    if (dateFrom > 0) text += R"( and (DTU is NULL or DTU>=:DTO))";
    if (dateTo > 0) text += R"( and DTO<=:DTK)";
    q.sql(text);
    if (dateFrom > 0) q.set_date("DTO", dateFrom);
    if (dateTo > 0) q.set_date("DTK", dateTo);
    q.set("KP", static_cast<int64_t>(KP));
    q.open();
    for (q.first(); !q.eof(); q.next()) {
      const db::Field dto = q.field("DTO"), dtu = q.field("DTU");
      TDateTime begin = dto.is_null() ? 0 : dto.as_date();
      if (dateFrom > 0 && !dto.is_null() && begin <= dateFrom) begin = dateFrom;
      TDateTime end = dtu.is_null() ? 0 : dtu.as_date();
      if (dateTo != 0 && (dtu.is_null() || end > dateTo)) end = dateTo;
      // Without a begin or an end there is no length to measure.
      if (begin == 0 || end == 0) continue;
      const TStageDate b = TStageDate::from_date(begin), e = TStageDate::from_date(end);

      for (int k = 0; k < kKinds; ++k) {
        if (q.field(kFlags[k]).as_int() <= 0) continue;
        const double coefficient = q.field(kCoefficients[k]).as_float();
        // A negative coefficient would take service away; it counts as none.
        if (!(coefficient > 0)) continue;
        int y = 0, m = 0, d = 0;
        DiffYMD(b, e, y, m, d, coefficient);
        result[k].add(y, m, d);
      }
    }
  } catch (const std::exception& e) {
    if (c_p) c_p->armerr(kArmError, std::string(e.what()));
  }
}

}  // namespace hrdoc
