// KVDLG: the suite's parameter dialogs. "USR" asks for the report date, the period and the
// department; "USRSEW" also for the department set. A confirmed dialog leaves the choices in the
// context and returns 0; a cancelled one returns 1. The period is always offered: reports of
// every kind read it. "SPRANYEX" and "SPRANYEX2" are the dictionary look-ups,
// "KPN2" the person picker.
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "host/compark.h"
#include "suite/kvdlg/department_lookup.h"
#include "suite/kvdlg/dictionary_lookup.h"
#include "suite/kvdlg/person_lookup.h"
#include "text/date.h"
#include "ui/ui.h"

namespace {

using hrdoc::text::date_text;
using hrdoc::text::parse_date;

int arg(void** argv, int i) { return static_cast<int>(reinterpret_cast<intptr_t>(argv[i])); }

std::string join(const std::vector<int>& keys) {
  std::string s;
  for (int k : keys) s += (s.empty() ? "" : ",") + std::to_string(k);
  return s;
}

bool parse_keys(const std::string& text, std::vector<int>& keys) {
  keys.clear();
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) {
    if (part.find_first_not_of(' ') == std::string::npos) continue;
    try {
      size_t used = 0;
      int k = std::stoi(part, &used);
      if (part.find_first_not_of(' ', used) != std::string::npos || k <= 0) return false;
      keys.push_back(k);
    } catch (...) {
      return false;
    }
  }
  return true;
}

int fail(compark* ctx, const std::string& text) {
  ctx->ui()->message_box("Ошибка", text, hrdoc::ui::MB_ICONERROR);
  return 1;
}

int parameter_dialog(compark* ctx, bool with_set, int ask_date, int ask_set) {
  using namespace hrdoc::ui;
  Form form;
  form.name = with_set ? "USRSEW" : "USR";
  form.caption = "Параметры отчёта";
  if (ask_date) form.fields.push_back(date_field("date", "Дата отчёта", date_text(ctx->D)));
  form.fields.push_back(date_field("from", "Период с", date_text(ctx->D1)));
  form.fields.push_back(date_field("to", "Период по", date_text(ctx->D2)));
  // The "..." of both entries shows the tree of the enterprise.
  form.fields.push_back(lookup_field("dept", "Подразделение (0 - всё предприятие)",
                                     [ctx](Field& self, Form&) { return hrdoc::suite::pick_department(ctx, self); },
                                     std::to_string(ctx->KP)));
  if (with_set)
    form.fields.push_back(
        lookup_field("depts", ask_set ? "Набор подразделений" : "Набор подразделений (не обязателен)",
                     [ctx](Field& self, Form&) { return hrdoc::suite::tick_departments(ctx, self); },
                     join(ctx->kpsew_keys())));

  if (!ctx->ui()->edit_form(form)) return 1;

  TDateTime d = ctx->D, d1 = ctx->D1, d2 = ctx->D2;
  for (auto [name, target] : {std::pair{"date", &d}, std::pair{"from", &d1}, std::pair{"to", &d2}}) {
    if (const auto* f = form.find(name)) {
      auto parsed = parse_date(f->value);
      if (!parsed) return fail(ctx, "Неверная дата: \"" + f->value + "\" (нужно дд.мм.гггг)");
      *target = *parsed;
    }
  }
  if (d1 > d2) return fail(ctx, "Начало периода позже его конца: " + date_text(d1) + " - " + date_text(d2));

  int kp = 0;
  try {
    size_t used = 0;
    kp = std::stoi(form.find("dept")->value, &used);
    if (kp < 0) throw std::invalid_argument("negative");
  } catch (...) {
    return fail(ctx, "Неверный код подразделения: \"" + form.find("dept")->value + "\"");
  }
  std::vector<int> keys;
  if (with_set && !parse_keys(form.find("depts")->value, keys))
    return fail(ctx, "Неверный набор подразделений: \"" + form.find("depts")->value + "\" (коды через запятую)");

  int32_t tn = 0;
  std::string sname;
  if (kp != 0 && !hrdoc::suite::lookup_department(ctx, kp, tn, sname))
    return fail(ctx, "Подразделение с кодом " + std::to_string(kp) + " не найдено");

  ctx->set_dates(d, d1, d2);
  ctx->set_department(kp, tn, sname);
  if (with_set) ctx->replace_kpsew(keys);
  return 0;
}

}  // namespace

extern "C" int main_dll(compark* ctx, int argc, void** argv) {
  const char* command = argv ? static_cast<const char*>(argv[1]) : nullptr;
  if (!command) return -1;
  if (std::strcmp(command, "CTRLVERDLL") == 0) return kInterfaceVersion;
  if (!ctx || !ctx->ui()) return -1;
  const bool usr = std::strcmp(command, "USR") == 0, usrsew = std::strcmp(command, "USRSEW") == 0;
  if ((usr || usrsew) && argc >= 5) return parameter_dialog(ctx, usrsew, arg(argv, 2), arg(argv, 4));
  const bool any = std::strcmp(command, "SPRANYEX") == 0, filtered = std::strcmp(command, "SPRANYEX2") == 0;
  if ((any && argc >= 11) || (filtered && argc >= 12)) {
    hrdoc::suite::DictionaryCall call;
    call.title = static_cast<const char*>(argv[2]);
    call.table = static_cast<const char*>(argv[3]);
    call.key_list = static_cast<const char*>(argv[4]);
    call.columns = static_cast<const char*>(argv[5]);
    call.keys = static_cast<hrdoc::kvdlg::LookupEntry*>(argv[6]);
    call.key_count = arg(argv, 7);
    call.results = static_cast<hrdoc::kvdlg::LookupEntry*>(argv[8]);
    call.result_count = arg(argv, 9);
    call.filtered = filtered;
    if (filtered) call.filter = static_cast<hrdoc::kvdlg::LookupFilter*>(argv[10]);
    call.reply = static_cast<hrdoc::kvdlg::LookupReply*>(argv[filtered ? 11 : 10]);
    return hrdoc::suite::dictionary_lookup(ctx, call);
  }
  if (std::strcmp(command, "KPN2") == 0 && argc >= 3 && argv[2])
    return hrdoc::suite::person_lookup(ctx, *static_cast<hrdoc::kvdlg::PersonPick*>(argv[2]));
  return -1;
}

extern "C" int _main_dll(compark* ctx, int argc, void** argv) __attribute__((alias("main_dll")));
