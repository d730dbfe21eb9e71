// The context record itself: construction, layout and the members the host and the
// parameter dialogs set. Shared by the host, the library and the sibling libraries.
#include "host/compark.h"

#include <algorithm>
#include <cstring>

#include "text/codepage.h"
#include "text/date.h"

#define HRDOC_AT(member, offset) static_assert(offsetof(compark, member) == offset, #member " must be at " #offset)
HRDOC_AT(dm_slot_, 4);
HRDOC_AT(lib_dir, 12);
HRDOC_AT(D, 264);
HRDOC_AT(D1, 272);
HRDOC_AT(D2, 280);
HRDOC_AT(d_day, 288);
HRDOC_AT(d_month, 290);
HRDOC_AT(d_year, 292);
HRDOC_AT(d1_day, 294);
HRDOC_AT(d1_month, 296);
HRDOC_AT(d1_year, 298);
HRDOC_AT(d2_day, 300);
HRDOC_AT(d2_month, 302);
HRDOC_AT(d2_year, 304);
HRDOC_AT(SNAME, 306);
HRDOC_AT(TN, 348);
HRDOC_AT(KP, 352);
HRDOC_AT(list_order, 442);
HRDOC_AT(payroll_month, 488);
HRDOC_AT(spuuk_dt1, 496);
HRDOC_AT(spuuk_dt2, 504);
HRDOC_AT(keyf_context, 512);
HRDOC_AT(flag516, 516);
HRDOC_AT(oracle, 784);
HRDOC_AT(user_slot_, 792);
HRDOC_AT(trace_l_call, 804);
HRDOC_AT(GNI, 816);
HRDOC_AT(NASH, 820);
HRDOC_AT(BUH, 824);
HRDOC_AT(inn_slot_, 828);
HRDOC_AT(RASH, 832);
HRDOC_AT(KASSIR, 836);
HRDOC_AT(ZAMDIR, 840);
HRDOC_AT(string_slots844_, 844);
HRDOC_AT(BSKS, 904);
HRDOC_AT(BSKSS, 905);
HRDOC_AT(BSKK, 908);
HRDOC_AT(NDFLFB, 912);
HRDOC_AT(TRAVM, 920);
HRDOC_AT(PROF, 928);
HRDOC_AT(PERKOP, 936);
HRDOC_AT(DOSTAV, 944);
HRDOC_AT(ESNKOP, 952);
HRDOC_AT(KBU, 960);
HRDOC_AT(IDCLIENT, 964);
HRDOC_AT(IDKPV, 968);
HRDOC_AT(name_slots972_, 972);
HRDOC_AT(USN, 1016);
HRDOC_AT(KBUO, 1020);
HRDOC_AT(string_slots1056_, 1056);
HRDOC_AT(ZPOTZKDR, 1384);
HRDOC_AT(NACHOK, 1388);
HRDOC_AT(kpsew_slot_, 1392);
#undef HRDOC_AT
static_assert(std::is_standard_layout_v<compark>, "the fixed block needs a standard layout");

compark::compark() : ext_(new Ext) {}

compark::~compark() {
  delete[] ext_->kpsew;
  delete ext_;
}

void compark::set_dates(TDateTime d, TDateTime d1, TDateTime d2) {
  using hrdoc::text::decode_date;
  D = d;
  D1 = d1;
  D2 = d2;
  auto a = decode_date(d), b = decode_date(d1), c = decode_date(d2);
  d_day = a.day, d_month = a.month, d_year = a.year;
  d1_day = b.day, d1_month = b.month, d1_year = b.year;
  d2_day = c.day, d2_month = c.month, d2_year = c.year;
}

void compark::set_department(int32_t kp, int32_t tn, const std::string& sname_utf8) {
  KP = kp;
  TN = tn;
  std::memset(SNAME, 0, sizeof SNAME);
  std::string bytes = hrdoc::text::utf8_to_cp1251(sname_utf8);
  std::memcpy(SNAME, bytes.data(), std::min(bytes.size(), sizeof SNAME - 1));
}

std::string compark::department_name() const {
  return hrdoc::text::cp1251_to_utf8(std::string(SNAME, strnlen(SNAME, sizeof SNAME)));
}

void compark::replace_kpsew(const std::vector<int>& keys) {
  delete[] ext_->kpsew;
  ext_->kpsew = nullptr;
  if (keys.empty()) return;
  ext_->kpsew = new int[keys.size() + 1];
  ext_->kpsew[0] = static_cast<int>(keys.size());
  std::copy(keys.begin(), keys.end(), ext_->kpsew + 1);
}

std::vector<int> compark::kpsew_keys() const {
  if (!ext_->kpsew) return {};
  return std::vector<int>(ext_->kpsew + 1, ext_->kpsew + 1 + ext_->kpsew[0]);
}
