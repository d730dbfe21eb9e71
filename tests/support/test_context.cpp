#include "support/test_context.h"

namespace hrdoc::test {

TestContext::TestContext(db::Connection& connection, const std::string& user)
    : data_module(std::make_unique<Tdm>(connection)) {
  ctx.ext().ui = &ui;
  ctx.ext().dm = data_module.get();
  ctx.user() = user;
  c_p = &ctx;
  dm = data_module.get();
}

TestContext::~TestContext() {
  if (c_p == &ctx) c_p = nullptr;
  if (dm == data_module.get()) dm = nullptr;
}

}  // namespace hrdoc::test
