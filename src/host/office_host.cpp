// Hands the office layer what it needs from the run's context record.
#include <cstdio>

#include "host/compark.h"
#include "host/output.h"
#include "office/office_host.h"
#include "ui/ui.h"

namespace {

class ContextOfficeHost final : public hrdoc::office::TOfficeHost {
 public:
  void ShowError(const std::string& text) override {
    if (c_p)
      c_p->armerr(kArmError, text);
    else
      std::fprintf(stderr, "%s\n", text.c_str());
  }
  std::string WorkDir() override { return c_p ? c_p->ext().work_dir : std::string(); }
  int Backend() override { return c_p ? c_p->ext().office : 0; }
  std::string PlaceDocument(const std::string& path) override {
    return c_p ? hrdoc::host::publish_document(*c_p, path) : path;
  }
  void DocumentShown(const std::string& path) override {
    if (c_p && c_p->ui()) c_p->ui()->document(path);
  }
};

ContextOfficeHost context_host;
// The context record is read at each call, so the library's c_p, set by main_dll or a test,
// is the one used.
const bool installed = (hrdoc::office::SetOfficeHost(&context_host), true);

}  // namespace
