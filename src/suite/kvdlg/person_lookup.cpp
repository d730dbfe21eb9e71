#include "suite/kvdlg/person_lookup.h"

#include <cstdio>
#include <string>

#include "db/database.h"
#include "host/compark.h"
#include "host/udm.h"
#include "ui/ui.h"

namespace hrdoc::suite {
namespace {

// Employees only (a personnel number), newest units' names beside them.
constexpr const char* kQryFind = R"(select kpn.KP, kpn.TN, kpn.FNAME, own.SNAME as OWNNAME
from OTZKPN kpn left join OTZKPN own on own.KP=kpn.OWNER
where kpn.TN>0 and upper(kpn.FNAME) containing upper(:NAME)
order by kpn.FNAME, kpn.TN)";

int none(kvdlg::PersonPick& pick) {
  pick.kp = 0;
  return 1;
}

}  // namespace

int person_lookup(compark* ctx, kvdlg::PersonPick& pick) {
  Tdm* data = ctx->data_module();
  if (!data || !data->ADOConnection) {
    ctx->ui()->message_box("Ошибка", "Выбор сотрудника: нет соединения с базой данных", ui::MB_ICONERROR);
    return none(pick);
  }
  ui::Form form;
  form.name = "KPN2";
  form.caption = "Выбор сотрудника";
  form.fields.push_back(ui::text_field("name", "ФИО (или его часть)", pick.name));
  form.fields.back().required = true;
  if (!ctx->ui()->edit_form(form)) return none(pick);
  const std::string name = form.find("name")->value;

  db::Query q(*data->ADOConnection);
  q.sql(kQryFind);
  q.set("NAME", name);
  q.open();
  if (q.record_count() == 0) {
    ctx->ui()->message_box("Выбор сотрудника", "Не найден сотрудник \"" + name + "\"", ui::MB_ICONINFORMATION);
    return none(pick);
  }
  ui::Table table;
  table.columns = {"Таб. №", "ФИО", "Подразделение"};
  for (q.first(); !q.eof(); q.next())
    table.rows.push_back({q.field("TN").as_string(), q.field("FNAME").as_string(), q.field("OWNNAME").as_string()});
  // One match is the answer; several are for the user to choose from.
  const int row = table.rows.size() == 1 ? 0 : ctx->ui()->choose_row("Сотрудники", table, -1);
  if (row < 0) return none(pick);
  q.move_to(row);
  pick.kp = static_cast<int32_t>(q.field("KP").as_int());
  std::snprintf(pick.name, sizeof pick.name, "%s", q.field("FNAME").as_string().c_str());
  return 0;
}

}  // namespace hrdoc::suite
