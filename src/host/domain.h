#pragma once
// The personnel domain as the reports share it: the codes their statements and counts compare
// against, named once, and the look-ups several reports make (department name, signatory).

#include <string>

#include "host/compark.h"

class Tdm;

namespace hrdoc::domain {

// The root of the organisation tree: the enterprise itself.
constexpr int kRootDepartment = 1;

// Personnel event codes (KTD of KDT2IIIDVG, KDSDJS, KDSDJZ).
constexpr int kKtdHire = 21;           // hiring
constexpr int kKtdInForceFirst = 21;   // 21..26 and 51: events that leave the employee at work
constexpr int kKtdInForceLast = 26;
constexpr int kKtdContractChange = 51;
constexpr int kKtdVacationOrder = 31;  // vacation orders among the personnel orders
constexpr int kKtdDismissal = 121;
constexpr int kKtdDismissal2 = 122;

// Grounds of dismissal (KOSD) that the headcount statistics count apart.
constexpr int kKosdGoodReason = 80;
constexpr int kKosdDiscipline = 25;
// Reductions of staff: 2, 82, 85.
constexpr bool is_reduction(long long kosd) { return kosd == 2 || kosd == 82 || kosd == 85; }

// Service-length kinds are codes 1, 2, 4 .. 64; the calculator keeps kind 2^i in slot i.
constexpr int kServiceKindStatistics = 16;  // the length of service the statistics group by
// The result slot of a kind; -1 for a code that is no kind.
constexpr int service_slot(int kind) {
  for (int i = 0; i < 7; ++i)
    if (kind == 1 << i) return i;
  return -1;
}

// The short name (SNAME) of a department; key 0, the whole enterprise, reads the root's. Empty
// when the key is not in the tree.
std::string department_name(Tdm& dm, int kp);

// The enterprise's name from the payroll directory (ZPKPV), for reports made for the root.
std::string enterprise_name(Tdm& dm);

// A person who signs a document: the position held in the payroll month and the short name.
struct Signatory {
  std::string position;
  std::string name;
};
Signatory signatory(Tdm& dm, int kp, TDateTime payroll_month);

}  // namespace hrdoc::domain
