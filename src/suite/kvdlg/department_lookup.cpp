#include "suite/kvdlg/department_lookup.h"

#include "host/compark.h"

namespace hrdoc::suite {

bool lookup_department(compark* ctx, int kp, int32_t& tn, std::string& sname) {
  tn = 0;
  sname.clear();
  return ctx != nullptr && kp >= 0;
}

}  // namespace hrdoc::suite
