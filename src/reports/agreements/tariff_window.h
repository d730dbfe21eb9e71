#pragma once
// The window of the tariff-grid agreements ("HRDOC360" in Word, "HRDOC330" in a book): the
// agreement's data, the signatory picked from the staff, the checks before printing, and the
// texts both fill in.

#include <string>

#include "db/database.h"
#include "host/report_window.h"

namespace hrdoc::agreements {

class TTariffAgreementWindow : public TReportWindow {
 public:
  TTariffAgreementWindow();
  std::string CheckEntries() override;

 protected:
  // "Данные доп. соглашения" as printed: «05» декабря 2026 г.
  std::string IssueDateText() const;
  std::string EffectiveDateText() const;
  // The first day of the month of "Дата выписки": the day the history is read on.
  TDateTime SelectionDate() const;

  int kpRuk = 0;  // the signatory picked with "..."

 private:
  bool PickSignatory(ui::Field& self, ui::Form& form);
};

// An amount of rubles in figures: "25000,00".
std::string AmountText(double amount);

// The unit an employee works in, as the agreements name it: " группы X отдела Y" for a group
// inside a department, else " отдела X".
std::string UnitText(const db::Query& row);
// Position, unit and name: "Инженер отдела Кадры Петров Пётр Петрович".
std::string PositionUnitName(const std::string& position, const db::Query& row, const std::string& name);

}  // namespace hrdoc::agreements
