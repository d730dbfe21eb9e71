#pragma once
// A host context for tests: a scripted user interface, the library folder of the build, and
// the library's globals pointing at it.

#include <string>

#include "host/compark.h"
#include "ui/scripted_ui.h"

namespace hrdoc::test {

class TestContext {
 public:
  TestContext();
  ~TestContext();
  compark& ctx() { return ctx_; }
  ui::ScriptedUi& ui() { return ui_; }
  // Points the library folder elsewhere (e.g. at the test siblings).
  void set_lib_dir(const std::string& dir);

 private:
  ui::ScriptedUi ui_;
  compark ctx_;
};

}  // namespace hrdoc::test
