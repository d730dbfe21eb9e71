#include "calc/fmmilitary.h"

#include <charconv>

#include "host/compark.h"
#include "host/kvdlg_lookup.h"
#include "text/strings.h"

namespace hrdoc {

TfmMil::TfmMil(compark& ctx) : ctx_(ctx) {}

bool TfmMil::Lookup(Choice& choice, int64_t code) {
  kvdlg::LookupEntry key(choice.code_field, code);
  kvdlg::LookupEntry results[2] = {kvdlg::LookupEntry(choice.code_field), kvdlg::LookupEntry(choice.name_field)};
  kvdlg::LookupFilter filter(choice.filter);
  kvdlg::LookupReply reply;
  if (ctx_.l_call("KVDLG", "SPRANYEX2", choice.title, choice.table, choice.key_list, choice.columns, &key, 1, results,
                  2, &filter, &reply) != 0)
    return false;
  choice.code = static_cast<int32_t>(results[0].value.as_int());
  choice.name = results[1].value.as_text();
  return true;
}

bool TfmMil::Resolve(Choice& choice, const std::string& given) {
  const std::string text = text::trim(given);
  int64_t code = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
  if (text.empty()) code = 0;
  else if (error != std::errc() || end != text.data() + text.size() || code < 0) {
    ctx_.armerr(kArmError, std::string(choice.caption) + " \"" + text + "\" - это не код справочника \"" +
                               choice.title + "\": выберите строку или укажите её код");
    return false;
  }
  // An emptied edit, or code 0: nothing chosen.
  if (code == 0) {
    choice.code = 0;
    choice.name.clear();
    return true;
  }
  // The look-up itself says when the code is missing.
  return Lookup(choice, code);
}

ui::Field TfmMil::Edit(Choice& choice) {
  return ui::lookup_field(choice.field, choice.caption, [this, &choice](ui::Field& self, ui::Form&) {
    if (!Lookup(choice, 0)) return false;
    self.value = choice.name;
    return true;
  });
}

int TfmMil::Execute(int32_t& krwk, std::string& nrwk, int32_t& kswu, std::string& nswu) {
  for (Choice* c : {&voenkom_, &sost_}) c->code = 0, c->name.clear();
  ui::Form form;
  form.name = "TfmMil";
  form.caption = "Настройка режимов работы";
  form.fields = {Edit(voenkom_), Edit(sost_)};
  form.buttons = {{"bbtnOk", "OK"}, {"bbtnCancel", "Отказаться", true, false, true}};
  if (!ctx_.ui()->edit_form(form)) return 0;
  // An edit that does not show the chosen name was given a code instead of a choice.
  for (Choice* c : {&voenkom_, &sost_}) {
    const ui::Field* edit = form.find(c->field);
    if (edit && edit->value != c->name && !Resolve(*c, edit->value)) return 0;
  }
  krwk = voenkom_.code;
  nrwk = voenkom_.name;
  kswu = sost_.code;
  nswu = sost_.name;
  return 1;
}

}  // namespace hrdoc
