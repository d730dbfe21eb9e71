// KWDLG: the suite's workplace dialogs. "KWDLG190L" is the choice of workplaces (OTZMSTN) for a
// report counted by enterprise code: a check list of the workplaces with their codes.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "db/database.h"
#include "host/compark.h"
#include "host/kwdlg_choice.h"
#include "host/udm.h"
#include "ui/ui.h"

namespace {

using hrdoc::kwdlg::WorkplaceChoice;

constexpr const char* kWorkplaces = "select MST, N, OKPO from OTZMSTN order by OKPO, N";

int choose_workplaces(compark* ctx, WorkplaceChoice* block) {
  using namespace hrdoc::ui;
  Ui& ui = *ctx->ui();
  auto fail = [&](const std::string& text) {
    ui.message_box("Ошибка", text, MB_ICONERROR);
    block->answer = 1;
    return 1;
  };
  Tdm* data = ctx->data_module();
  if (!data || !data->ADOConnection) return fail("Места работы: нет соединения с базой данных");

  struct Place {
    std::string name, okpo;
  };
  std::vector<Place> places;
  Table rows;
  rows.columns = {"Место работы", "ОКПО"};
  std::vector<long long> keys, current;
  try {
    hrdoc::db::Query q(*data->ADOConnection);
    q.sql(kWorkplaces);
    q.open();
    for (q.first(); !q.eof(); q.next()) {
      places.push_back({q.field("N").as_string(), q.field("OKPO").as_string()});
      rows.rows.push_back({places.back().name, places.back().okpo});
      keys.push_back(static_cast<long long>(places.size() - 1));
      if (block->okpo[0] && places.back().okpo == block->okpo) current.push_back(keys.back());
    }
  } catch (const std::exception& e) {
    return fail(std::string("Места работы: ") + e.what());
  }
  if (places.empty()) return fail("Справочник мест работы (OTZMSTN) пуст");

  Form form;
  form.name = "KWDLG190L";
  form.caption = "Места работы";
  form.fields.push_back(checklist_field("places", "Отметьте места работы одного ОКПО", rows, keys));
  form.fields.back().tick_keys(current);
  for (;;) {
    if (!ui.edit_form(form)) {
      block->answer = 1;
      return 1;
    }
    const std::vector<long long> ticked = form.fields.back().ticked_keys();
    std::string names, okpo;
    bool one_code = true;
    for (long long k : ticked) {
      const Place& p = places[static_cast<size_t>(k)];
      if (!names.empty() && p.okpo != okpo) one_code = false;
      okpo = p.okpo;
      names += (names.empty() ? "" : ", ") + p.name;
    }
    std::string error;
    if (ticked.empty()) error = "Не отмечено ни одного места работы";
    else if (!one_code) error = "Отмечены места работы с разными кодами ОКПО: выберите места работы одного ОКПО";
    if (error.empty()) {
      std::snprintf(block->okpo, sizeof block->okpo, "%s", okpo.c_str());
      std::snprintf(block->places, sizeof block->places, "%s", names.c_str());
      block->answer = 0;
      return 0;
    }
    ui.message_box("Ошибка", error, MB_ICONERROR);
    if (!ui.can_ask_again()) {
      block->answer = 1;
      return 1;
    }
  }
}

}  // namespace

extern "C" int main_dll(compark* ctx, int argc, void** argv) {
  const char* command = argv ? static_cast<const char*>(argv[1]) : nullptr;
  if (!command) return -1;
  if (std::strcmp(command, "CTRLVERDLL") == 0) return kInterfaceVersion;
  if (!ctx || !ctx->ui()) return -1;
  if (std::strcmp(command, "KWDLG190L") == 0 && argc >= 3 && argv[2])
    return choose_workplaces(ctx, static_cast<WorkplaceChoice*>(argv[2]));
  return -1;
}

extern "C" int _main_dll(compark* ctx, int argc, void** argv) __attribute__((alias("main_dll")));
