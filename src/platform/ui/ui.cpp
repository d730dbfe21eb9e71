#include "ui.h"

namespace hrdoc::ui {

bool is_error_box(unsigned flags) { return (flags & 0xF0) == MB_ICONERROR; }

int default_answer(unsigned flags) {
  const bool second = (flags & 0xF00) == MB_DEFBUTTON2;
  switch (flags & 0xF) {
    case MB_OKCANCEL: return second ? IDCANCEL : IDOK;
    case MB_YESNO: return second ? IDNO : IDYES;
    case MB_YESNOCANCEL: return second ? IDNO : IDYES;
    default: return IDOK;
  }
}

Field* Form::find(const std::string& field_name) {
  for (auto& f : fields)
    if (f.name == field_name) return &f;
  return nullptr;
}

const Field* Form::find(const std::string& field_name) const {
  return const_cast<Form*>(this)->find(field_name);
}

}  // namespace hrdoc::ui
