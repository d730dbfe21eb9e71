// Calling sibling libraries and showing message boxes.
#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "host/compark.h"
#include "ui/ui.h"

namespace {

using MainDll = int (*)(compark*, int, void**);

int show_box(compark& ctx, const std::string& caption, const std::string& text, unsigned flags) {
  if (hrdoc::ui::Ui* ui = ctx.ui()) return ui->message_box(caption, text, flags);
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  return hrdoc::ui::default_answer(flags);
}

}  // namespace

int compark::armerr(const std::string& text) { return armerr(kArmInformation, text.c_str()); }

int compark::armerr(int kind, const std::string& text) { return armerr(kind, text.c_str()); }

int compark::armerr(int kind, const char* text) { return armerr(kind, nullptr, text); }

int compark::armerr(int kind, const char* caption, const char* text) {
  using namespace hrdoc::ui;
  const char* def = "";
  unsigned flags = 0;
  switch (kind) {
    case kArmQuestion: def = "Предупреждение", flags = MB_YESNO | MB_ICONQUESTION; break;
    case kArmQuestionNo: def = "Предупреждение", flags = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2; break;
    case kArmError: def = "Ошибка", flags = MB_ICONERROR; break;
    case kArmInformation: def = "Информация", flags = MB_ICONINFORMATION; break;
    default: break;
  }
  int answer = show_box(*this, caption ? caption : def, text ? text : "", flags);
  return answer == IDOK || answer == IDYES ? 0 : answer;
}

int compark::l_call_values(const char* library, const char* command, std::initializer_list<intptr_t> values) {
  using namespace hrdoc::ui;
  char path[300] = {};
  char cmd[80] = {};
  std::snprintf(cmd, sizeof cmd, "%s", command ? command : "");
  std::snprintf(path, sizeof path, "%s%s.so", lib_dir, library ? library : "");

  void* argv[12] = {path, cmd};
  size_t i = 2;
  for (intptr_t v : values) argv[i++] = reinterpret_cast<void*>(v);

  errno = 0;
  void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    int code = errno;
    const char* why = dlerror();
    show_box(*this, "Ошибка",
             std::string("L_CALL: Не найдена ") + path + "\r\nКод: " + std::to_string(code) +
                 "; Messsage: " + (why ? why : std::strerror(code)),
             MB_OKCANCEL | MB_ICONERROR);
    return -1;
  }
  auto entry = reinterpret_cast<MainDll>(dlsym(lib, "_main_dll"));
  if (!entry) {
    show_box(*this, "Ошибка", std::string("L_CALL: Не найдена main_dll в ") + path, MB_OKCANCEL | MB_ICONERROR);
    dlclose(lib);
    return -1;
  }
  if (cmd[0] != '_') {
    char query[] = "CTRLVERDLL";
    void* vargv[2] = {query, query};
    int version = entry(c_p, 2, vargv);
    if (version != kInterfaceVersion) {
      show_box(*this, "Ошибка",
               std::string("L_CALL: Версия ") + path + " не равна VuvaVA.EXE; VerDll=" + std::to_string(version) +
                   ";VuvaVa.exe=" + std::to_string(kInterfaceVersion),
               MB_OKCANCEL | MB_ICONERROR);
      dlclose(lib);
      return version;
    }
  }
  if (trace_l_call) armerr(kArmInformation, std::string("l_call: ") + library + ", " + command);
  int result = 0;
  // The callee's exception is taken apart before its library goes: its type may live there.
  std::string failure;
  bool failed = false;
  try {
    result = entry(c_p, 12, argv);
  } catch (const std::exception& e) {
    failure = e.what();
    failed = true;
  } catch (...) {
    failure = std::string("L_CALL: ") + path + ", " + cmd + ": неизвестная ошибка";
    failed = true;
  }
  dlclose(lib);
  if (failed) throw std::runtime_error(failure);
  if (trace_l_call) armerr(kArmInformation, "ret l_call: " + std::to_string(result));
  return result;
}
