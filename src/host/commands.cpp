#include "host/commands.h"

#include <cstring>
#include <map>
#include <string>

namespace hrdoc {
namespace {

using A = LaunchArg;
using K = LaunchKind;

const Command kCommands[] = {
    {"HRDOC010", "Tfmhrd01", "Сведения о военнобязанных", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC030", "Tfmhrd03", "Сведения о стажах", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC040", "Tfmhrd04", "Сведения об уволенных", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC050", "Tfmhrd05", "Сведения об образовании", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC060", "Tfmhrd06", "Состав специалистов по полу ", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC070", "Tfmhrd07", "Возрастная структура работников ", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC080", "Tfmhrd08", "Справка по неиспользованным дням отпуска", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC031", "Tfmhrd031", "Список работников", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC090", "TfmHRDOC090", "", A::value, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC090L", "TfmHRDOC090", "", A::entry2, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC091", "TfmHRDOC091", "Печать графика отпусков", A::none, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC092", "TfmHRDOC092", "Печать графика отпусков по форме Т7", A::none, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC100", "TfmHRDOC100", "", A::value, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC101", "TfmHRDOC100", "", A::value, 1, "USR", {1, 1, 0}, K::shown},
    {"HRDOC110", "TfmfmHRDOC110", "", A::none, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC120", "TfmHRDOC120", "", A::none, 0, "USRSEW", {1, 1, 1}, K::shown},
    {"HRDOC130", "TfmHRDOC130", "", A::none, 0, "USRSEW", {1, 1, 1}, K::shown},
    {"HRDOC140", "TfmHRDOC140", "", A::none, 0, "USRSEW", {1, 1, 1}, K::shown},
    {"HRDOC150", "TfmHRDOC150", "", A::none, 0, "USRSEW", {1, 1, 1}, K::shown},
    {"HRDOC170", "Tfmhrd170", "Сведения о стаже работников", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC180", "Tfmhrd180", "", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC190", "Tfmhrd190", "Отчет о повышении квалификации  по всем категориям", A::context, 0, "USRSEW", {1, 0, 1}, K::direct},
    {"HRDOC200", "Tfmhrd200", "Отчет о повышении квалификации по всем категориям кроме рабочих", A::context, 0, "USRSEW", {1, 0, 0}, K::direct},
    {"HRDOC210", "Tfmhrd210", "Отчет о повышении квалификации по рабочим", A::context, 0, "USRSEW", {1, 0, 0}, K::direct},
    {"HRDOC220", "Tfmhrd220", "Отчет о повышении квалификации по всем категориям кроме рабочих", A::context_and_value, 0, "USRSEW", {1, 0, 1}, K::direct},
    {"HRDOC221", "Tfmhrd220", "Отчет о повышении квалификации по всем категориям кроме рабочих", A::context_and_value, 1, "USRSEW", {1, 0, 1}, K::direct},
    {"HRDOC230", "Tfmhrd230", "Обучение рабочих", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC240", "Tfmhrd240", "Сведения по повышению квалификации работников за период", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC260", "Tfmhrd260", "Доп. соглашения к тр.договору (оклад)", A::context, 0, "USR", {1, 0, 0}, K::modal},
    {"HRDOC270", "Tfmhrd270", "Доп. соглашения к тр.договору (характер работы)", A::context, 0, "USR", {1, 0, 0}, K::own},
    {"HRDOC250", "Tfmhrd250", "Извещения об отпусках", A::none, 0, "USR", {1, 0, 0}, K::shown},
    {"HRDOC280", "TfmHRDOC280", "", A::value, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC280L", "TfmHRDOC280", "", A::entry2, 0, "USR", {1, 1, 0}, K::shown},
    {"HRDOC290", "Tfmhrd290", "Сведения об уволенных", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC300", "Tfmhrd300", "", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC310", "Tfmhrd310", "", A::context, 0, "USR", {1, 0, 0}, K::direct},
    {"HRDOC320", "Tfmhrd320", "Доп. соглашения к тр.договору (перевод)", A::context, 0, "USR", {1, 0, 0}, K::modal},
    {"HRDOC330", "Tfmhrd330", "Доп. соглашения к тр.договору", A::context, 0, "USRSEW", {1, 0, 0}, K::modal},
    {"HRDOC340", "Tfmhrd340", "", A::context, 0, "USRSEW", {1, 0, 0}, K::direct},
    {"HRDOC350", "Tfmhrd350", "", A::context, 0, "USRSEW", {1, 0, 0}, K::modal},
    {"HRDOC360", "Tfmhrd360", "Доп. соглашения к тр.договору (Новая тарифная сетка)", A::context, 0, "USRSEW", {1, 0, 0}, K::modal},
};

std::map<std::string, Launcher>& launchers() {
  static std::map<std::string, Launcher> map;
  return map;
}

}  // namespace

std::span<const Command> command_table() { return kCommands; }

const Command* find_command(const char* name) {
  for (const auto& c : kCommands)
    if (std::strcmp(c.name, name) == 0) return &c;
  return nullptr;
}

bool register_launcher(const char* command, Launcher launcher) {
  launchers()[command] = launcher;
  return true;
}

Launcher find_launcher(const char* command) {
  auto it = launchers().find(command);
  return it == launchers().end() ? nullptr : it->second;
}

}  // namespace hrdoc

extern "C" int hrdoc_command_count() { return static_cast<int>(hrdoc::command_table().size()); }

extern "C" int hrdoc_command_info(int index, const char** name, const char** window_class, const char** caption,
                                  int* built) {
  auto table = hrdoc::command_table();
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return -1;
  const auto& c = table[static_cast<size_t>(index)];
  if (name) *name = c.name;
  if (window_class) *window_class = c.window_class;
  if (caption) *caption = c.caption;
  if (built) *built = hrdoc::find_launcher(c.name) != nullptr;
  return 0;
}
