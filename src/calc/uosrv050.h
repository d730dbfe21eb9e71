#pragma once
// The last day of a vacation: from its first day, walks the payroll's monthly work schedules
// (ZPSK) of the schedule group that the vacation kind counts by (ZPOTV.NGR) and counts only the
// days marked "р", until the vacation's days are used up.

#include <cstdint>
#include <memory>

class Tdm;

namespace hrdoc {
namespace db {
class Query;
}

class TdtUOSRV050 {
 public:
  explicit TdtUOSRV050(Tdm& module);
  ~TdtUOSRV050();
  TdtUOSRV050(const TdtUOSRV050&) = delete;
  TdtUOSRV050& operator=(const TdtUOSRV050&) = delete;

  // Counts `days` down from the first day year-month-day by the schedule of vacation `kind` and
  // puts the year, month and day of the last vacation day into result. A kind unknown in the
  // first month is reported in an error box and counts by group 0. When the schedules run out
  // before the days do, the days left over are counted as calendar days after the last counted
  // one, so the result is always a real date. Database errors pass to the caller. Returns 0.
  int vacat_calc(uint16_t year, uint16_t month, uint16_t day, uint16_t& days, uint8_t kind, int32_t result[3]);

 private:
  // The schedule group of the kind in force on a date; nothing when the kind has no row.
  bool group_of(uint8_t kind, double first_of_month, int& group);
  // Counts the month's "р" days from day `from` while days remain; false when the month has no
  // schedule row. d ends one past the last day looked at.
  bool count_month(int group, int year, int month, int from, uint16_t& days, int& d, int& last_counted);

  std::unique_ptr<db::Query> qryZPOTV, qryZPSK;
};

// The application's one calculator on the host's data module: created on demand (a second
// request while it exists does nothing) and destroyed on request.
extern TdtUOSRV050* dtUOSRV050;
void CreateDtUOSRV050();
void DestroyDtUOSRV050();

}  // namespace hrdoc
