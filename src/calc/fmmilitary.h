#pragma once
// "Настройка режимов работы": the military commissariat and the registration composition that
// the military registration movement list is made for. Nothing is kept between calls.

#include <cstdint>
#include <string>

#include "ui/ui.h"

class compark;

namespace hrdoc {

class TfmMil {
 public:
  explicit TfmMil(compark& ctx);

  // Shows the dialog modally. Confirmed: 1, with the chosen codes and names (0 and "" where
  // nothing was chosen); cancelled, or a given code the dictionary lacks: 0.
  int Execute(int32_t& krwk, std::string& nrwk, int32_t& kswu, std::string& nswu);

 private:
  // One look-up of the form: its dictionary, and the code and name chosen so far.
  struct Choice {
    const char* field;    // the read-only edit
    const char* caption;  // its label
    const char* title;    // the dictionary list's title
    const char* table;
    const char* key_list;
    const char* columns;
    const char* filter;
    const char* code_field;
    const char* name_field;
    int32_t code = 0;
    std::string name;
  };

  // Runs "SPRANYEX2" for the choice with key `code` (0 lists the rows to choose from); true
  // when a row was chosen, its code and name then held.
  bool Lookup(Choice& choice, int64_t code);
  // A value typed or given on the command line instead of chosen: a code to pick its row by.
  bool Resolve(Choice& choice, const std::string& given);
  ui::Field Edit(Choice& choice);

  compark& ctx_;
  Choice voenkom_{"EdVoenkom", "Военкомат:", "Военкоматы", "KDIIRWK", "KRWK;", "KRWK,Код,,1;NRWK,Наименование;",
                  "KRWK>0", "KRWK", "NRWK", 0, {}};
  Choice sost_{"EdSost", "Состав:", "Состав учета", "KDIISWU", "KSWU,1;", "KSWU,Код;NSWU,Наименование;", "KSWU>0",
               "KSWU", "NSWU", 0, {}};
};

}  // namespace hrdoc
