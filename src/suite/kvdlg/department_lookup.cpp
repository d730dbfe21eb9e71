#include "suite/kvdlg/department_lookup.h"

#include "db/database.h"
#include "host/compark.h"
#include "host/udm.h"
#include "ui/ui.h"

namespace hrdoc::suite {

bool lookup_department(compark* ctx, int kp, int32_t& tn, std::string& sname) {
  tn = 0;
  sname.clear();
  if (ctx == nullptr || kp < 0) return false;
  Tdm* dm = ctx->data_module();
  if (!dm || !dm->ADOConnection) return true;
  try {
    auto found = dm->FindDepartment(kp);
    if (!found) return false;
    tn = found->tn;
    sname = found->sname;
    return true;
  } catch (const db::Error& e) {
    if (ctx->ui())
      ctx->ui()->message_box("Ошибка", "Не удалось прочитать подразделение " + std::to_string(kp) + "\n" + e.message(),
                             hrdoc::ui::MB_ICONERROR);
    return false;
  }
}

}  // namespace hrdoc::suite
