#include "suite/hrdoc-gui/families.h"

#include <cstring>

namespace hrdoc::gui {
namespace {

struct Entry {
  const char* code;
  const char* family;
  const char* title;  // for a command without a caption in the table
};

constexpr const char* kStatistics = "Кадровая статистика";
constexpr const char* kVacations = "Отпуска";
constexpr const char* kMilitary = "Воинский учёт";
constexpr const char* kCards = "Банковские карты";
constexpr const char* kAgreements = "Дополнительные соглашения";
constexpr const char* kService = "Стаж";
constexpr const char* kOther = "Прочие";

const Entry kEntries[] = {
    {"HRDOC040", kStatistics, ""},
    {"HRDOC050", kStatistics, ""},
    {"HRDOC060", kStatistics, ""},
    {"HRDOC070", kStatistics, ""},
    {"HRDOC120", kStatistics, "Печать \"Половозрастная структура новая\" (Ф.ex.26)"},
    {"HRDOC130", kStatistics, "Печать \"Сведения о договорах по сотрудникам\" (Ф.ex.25)"},
    {"HRDOC140", kStatistics, "Печать \"Сведения по сотрудникам\" (Ф.ех.24)"},
    {"HRDOC180", kStatistics, "Численность специалистов в отрасли с высшим и средним образованием"},
    {"HRDOC190", kStatistics, "Отчет о повышении квалификации  по всем категориям"},
    {"HRDOC200", kStatistics, "Отчет о повышении квалификации по всем категориям кроме рабочих"},
    {"HRDOC210", kStatistics, "Отчет о повышении квалификации по рабочим"},
    {"HRDOC220", kStatistics, "Отчет о повышении квалификации по всем категориям кроме рабочих"},
    {"HRDOC221", kStatistics, "Отчет о повышении квалификации по всем категориям кроме рабочих"},
    {"HRDOC230", kStatistics, ""},
    {"HRDOC240", kStatistics, "Сведения по повышению квалификации работников за период"},
    {"HRDOC290", kStatistics, ""},
    {"HRDOC300", kStatistics, "Сведения об образовании (до 29 лет)"},
    {"HRDOC340", kStatistics, "Сведения о численности и движении работников"},
    {"HRDOC350", kStatistics, "Сведения о неполной занятости и движении работников"},
    {"HRDOC080", kVacations, ""},
    {"HRDOC090", kVacations,
     "Печать протокола проверки сотрудников, имеющих дату отпуска по графику в заданном интервале"},
    {"HRDOC090L", kVacations,
     "Печать протокола проверки сотрудников, имеющих дату отпуска по графику в заданном интервале"},
    {"HRDOC091", kVacations, ""},
    {"HRDOC092", kVacations, ""},
    {"HRDOC250", kVacations, ""},
    {"HRDOC280", kVacations,
     "Печать протокола проверки сотрудников, имеющих дату отпуска по графику в заданном интервале"},
    {"HRDOC280L", kVacations,
     "Печать протокола проверки сотрудников, имеющих дату отпуска по графику в заданном интервале"},
    {"HRDOC010", kMilitary, ""},
    {"HRDOC150", kMilitary,
     "Печать \"Сведения о работающих на предприятии гражданах пребывающих в запасе и гражданах подлежащих "
     "призыву на военную службу\" (Ф.ex.23)"},
    {"HRDOC310", kMilitary, "Сведения о состоящих на военном учете"},
    {"HRDOC100", kCards, "Печать реестра об открытии картсчетов сотрудникам организации"},
    {"HRDOC101", kCards, "Печать реестра об открытии картсчетов сотрудникам организации"},
    {"HRDOC110", kCards, "Печать реестра на выпуск банковских карт Visa (Classic, Gold)"},
    {"HRDOC260", kAgreements, ""},
    {"HRDOC270", kAgreements, ""},
    {"HRDOC320", kAgreements, ""},
    {"HRDOC330", kAgreements, ""},
    {"HRDOC360", kAgreements, ""},
    {"HRDOC030", kService, ""},
    {"HRDOC031", kService, ""},
    {"HRDOC170", kService, ""},
};

const Entry* find(const std::string& code) {
  for (const auto& e : kEntries)
    if (code == e.code) return &e;
  return nullptr;
}

const char* const kOrder[] = {kStatistics, kVacations, kMilitary, kCards, kAgreements, kService, kOther};

}  // namespace

std::string family_of(const std::string& code) {
  const Entry* e = find(code);
  return e ? e->family : kOther;
}

std::string title_of(const std::string& code, const std::string& caption) {
  if (caption.find_first_not_of(' ') != std::string::npos) return caption;
  const Entry* e = find(code);
  return e && *e->title ? e->title : code;
}

const char* const* family_order(int& count) {
  count = static_cast<int>(sizeof kOrder / sizeof kOrder[0]);
  return kOrder;
}

}  // namespace hrdoc::gui
