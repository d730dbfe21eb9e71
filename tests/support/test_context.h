#pragma once
// A context record wired as the host wires it: a scripted user interface, the build's library
// folder, optionally a data module on the test's database, and the library's globals c_p and dm
// pointing at them.

#include <memory>
#include <string>

#include "host/compark.h"
#include "host/udm.h"
#include "ui/scripted_ui.h"

namespace hrdoc::test {

class TestContext {
 public:
  // Without a database.
  TestContext();
  explicit TestContext(db::Connection& connection, const std::string& user = "TESTER");
  ~TestContext();
  // Points the library folder elsewhere (e.g. at the test siblings).
  void set_lib_dir(const std::string& dir);

  compark ctx;
  ui::ScriptedUi ui;
  std::unique_ptr<Tdm> data_module;

 private:
  void wire(const std::string& user);
};

}  // namespace hrdoc::test
