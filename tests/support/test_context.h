#pragma once
// A context record wired as the host wires it: a scripted user interface, a data module on
// the test's database, and the library's globals c_p and dm pointing at them.

#include <memory>

#include "host/compark.h"
#include "host/udm.h"
#include "ui/scripted_ui.h"

namespace hrdoc::test {

class TestContext {
 public:
  explicit TestContext(db::Connection& connection, const std::string& user = "TESTER");
  ~TestContext();

  compark ctx;
  ui::ScriptedUi ui;
  std::unique_ptr<Tdm> data_module;
};

}  // namespace hrdoc::test
