#include "suite/hrdoc/session.h"

#include <CLI/CLI.hpp>

#include "host/compark.h"
#include "ui/ui.h"

namespace hrdoc::host {

struct Session::Impl {};

Session::Session() : impl_(new Impl) {}
Session::~Session() { delete impl_; }

bool Session::connect(compark& ctx, const std::string& database) {
  ctx.ui()->message_box("Ошибка", "Database support is not built into this hrdoc: cannot open " + database,
                        hrdoc::ui::MB_ICONERROR);
  return false;
}

bool Session::select_department(compark& ctx, int kp) {
  ctx.set_department(kp, 0, "");
  return true;
}

void add_subcommands(CLI::App&) {}
int run_subcommands(CLI::App&) { return 2; }

}  // namespace hrdoc::host
