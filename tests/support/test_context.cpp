#include "support/test_context.h"

#include <cstdio>

namespace hrdoc::test {

TestContext::TestContext() { wire("TESTER"); }

TestContext::TestContext(db::Connection& connection, const std::string& user)
    : data_module(std::make_unique<Tdm>(connection)) {
  wire(user);
}

void TestContext::wire(const std::string& user) {
  ctx.ext().ui = &ui;
  ctx.ext().dm = data_module.get();
  ctx.ext().template_dir = std::string(HRDOC_BIN_DIR) + "mzxls/";
  ctx.ext().host_path = std::string(HRDOC_BIN_DIR) + "hrdoc";
  set_lib_dir(HRDOC_BIN_DIR);
  ctx.user() = user;
  c_p = &ctx;
  dm = data_module.get();
}

TestContext::~TestContext() {
  if (c_p == &ctx) c_p = nullptr;
  if (dm && dm == data_module.get()) dm = nullptr;
}

void TestContext::set_lib_dir(const std::string& dir) {
  std::snprintf(ctx.lib_dir, sizeof ctx.lib_dir, "%s", dir.c_str());
}

}  // namespace hrdoc::test
