#include "office/office_host.h"

#include <cstdio>

namespace hrdoc::office {
namespace {

class StandaloneHost final : public TOfficeHost {
 public:
  void ShowError(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  std::string WorkDir() override { return {}; }
  int Backend() override { return 0; }
  std::string PlaceDocument(const std::string& path) override { return path; }
  void DocumentShown(const std::string&) override {}
};

StandaloneHost standalone;
TOfficeHost* installed = nullptr;

}  // namespace

void SetOfficeHost(TOfficeHost* host) { installed = host; }

TOfficeHost& OfficeHost() { return installed ? *installed : standalone; }

}  // namespace hrdoc::office
