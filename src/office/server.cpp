#include <memory>

#include "office/classexl.h"
#include "office/msexcelimp.h"
#include "office/office_host.h"
#ifdef HRDOC_WITH_CALC
#include "office/oocalcimp.h"
#endif

namespace hrdoc::office {

std::unique_ptr<TServerImp> CreateServer(int backend) {
  if (backend == 0) return std::make_unique<TMSExcelImp>();
#ifdef HRDOC_WITH_CALC
  if (backend == 1) return std::make_unique<TooCalcImp>();
#endif
  const std::string text =
      "Невозможно открыть Open Office.org Calc! Возможно этого приложения на компьютере не установлено."
      "\r\nОписание: " +
      (backend == 1 ? std::string("этот выпуск hrdoc собран без LibreOffice")
                    : "неизвестный вид приложения " + std::to_string(backend));
  OfficeHost().ShowError(text);
  return nullptr;
}

}  // namespace hrdoc::office
