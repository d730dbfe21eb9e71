#include "test_context.h"

#include <cstdio>

namespace hrdoc::test {

TestContext::TestContext() {
  ctx_.ext().ui = &ui_;
  set_lib_dir(HRDOC_BIN_DIR);
  ctx_.ext().template_dir = std::string(HRDOC_BIN_DIR) + "mzxls/";
  ctx_.ext().host_path = std::string(HRDOC_BIN_DIR) + "hrdoc";
  ctx_.user() = "TEST";
  c_p = &ctx_;
  dm = nullptr;
}

TestContext::~TestContext() {
  if (c_p == &ctx_) c_p = nullptr;
}

void TestContext::set_lib_dir(const std::string& dir) {
  std::snprintf(ctx_.lib_dir, sizeof ctx_.lib_dir, "%s", dir.c_str());
}

}  // namespace hrdoc::test
