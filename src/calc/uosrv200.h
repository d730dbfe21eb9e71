#pragma once
// Length of service by kind: for one employee and up to a closing date, the years, months and
// days of each of the seven kinds of service (codes 1, 2, 4 ... 64) from the periods of the
// employment record book (KDT2ITK, BOOK=1).
//
// A single period is a calendar difference (a borrowed month has its real length); the sum over
// periods carries days at 30 and months at 12.

#include <array>
#include <cstdint>

using TDateTime = double;

namespace hrdoc {

// A calendar date packed into 16 bits: day (bits 0-4), month (5-8), year - 1980 (9-15,
// signed), so 1916 to 2043.
struct TStageDate {
  uint16_t bits = 0;

  static constexpr int kFirstYear = 1916, kLastYear = 2043;
  // Dates outside 1916..2043 are clamped to the first or last day of that range.
  static TStageDate pack(int year, int month, int day);
  static TStageDate from_date(TDateTime date);

  int day() const { return bits & 0x1F; }
  int month() const { return (bits >> 5) & 0x0F; }
  int year() const;  // calendar year

  friend bool operator==(TStageDate a, TStageDate b) { return a.bits == b.bits; }
  friend bool operator<(TStageDate a, TStageDate b);
};

// A length of service packed into 16 bits: days 0-29 (bits 0-4), months 0-11 (5-8), years
// (9-15, read sign-extended). A total of 64 years or more stays at 63 years 11 months 29 days.
struct TStageSpan {
  uint16_t bits = 0;

  static constexpr int kMaxYears = 63;

  int days() const { return bits & 0x1F; }
  int months() const { return (bits >> 5) & 0x0F; }
  int years() const;  // signed 7-bit
  void set(int years, int months, int days);
  // Adds one period's figures with the carries at 30 days and 12 months, up to the longest
  // length the slot holds.
  void add(int y, int m, int d);
};

// Slot i holds the kind with code 2^i; slot 7 stays zero.
using TStageResult = std::array<TStageSpan, 8>;

// The difference of two dates in whole years, months and days, each part scaled by the
// coefficient and truncated, then carried at the later date's month length and 12 months.
// The order of a and b does not matter.
void DiffYMD(TStageDate a, TStageDate b, int& years, int& months, int& days, double coefficient);

// Fills result with the service of employee KP by kind, periods clipped at dateFrom (when above
// 0) and at dateTo. Reads through the data module's connection; an error is shown in a box and
// the result keeps what the rows read before it added.
void CalcStage(int KP, TDateTime dateFrom, TDateTime dateTo, TStageResult& result);

}  // namespace hrdoc
