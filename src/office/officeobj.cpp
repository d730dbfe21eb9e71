#include "office/officeobj.h"

namespace hrdoc::office {

void TRange::SetValue(const Variant& value) { server_.SetRange(vkString, name_, value, sheet_.number()); }

TRange& TSheet::Range(const std::string& name) {
  range_ = std::make_unique<TRange>(*this, server_, name);
  return *range_;
}

TSheet& TSheet::Copy(int position, bool move) {
  server_.CopySheet(number_, position, true, move);
  return book_.Sheet(position);
}

TSheet& TBook::Sheet(int n) {
  if (n < 1) throw TClassExlExcept("Неверный номер листа: " + std::to_string(n));
  if (!sheet_)
    sheet_ = std::make_unique<TSheet>(server_, *this, n);
  else
    sheet_->set_number(n);
  return *sheet_;
}

}  // namespace hrdoc::office
