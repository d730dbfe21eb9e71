#include "suite/hrdoc/host_setup.h"

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "host/compark.h"
#include "host/output.h"
#include "text/date.h"
#include "ui/ui.h"

namespace fs = std::filesystem;

namespace hrdoc::host {

fs::path exe_dir() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return fs::current_path();
  buf[n] = 0;
  return fs::path(buf).parent_path();
}

std::string login_name() {
  if (const passwd* pw = getpwuid(geteuid())) return pw->pw_name;
  if (const char* u = std::getenv("USER")) return u;
  return "user";
}

Library::~Library() {
  if (handle_) dlclose(handle_);
}

bool Library::open(const fs::path& folder, std::string& error) {
  if (handle_) return true;
  fs::path path = folder / "libhrdoc.so";
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) error = std::string("cannot load ") + path.string() + ": " + dlerror();
  return handle_ != nullptr;
}

void* Library::symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

int Library::call(compark& ctx, const std::string& command, int value) const {
  using MainDll = int (*)(compark*, int, void**);
  auto entry = get<MainDll>("main_dll");
  if (!entry) return -1;
  std::string self = ctx.ext().host_path, cmd = command;
  void* argv[3] = {self.data(), cmd.data(), &value};
  return entry(&ctx, 3, argv);
}

void wire_context(compark& ctx, ui::Ui& ui, const fs::path& dir, const std::string& out_dir, int office,
                  const std::string& user) {
  std::snprintf(ctx.lib_dir, sizeof ctx.lib_dir, "%s/", dir.c_str());
  ctx.ext().ui = &ui;
  ctx.ext().host_path = (dir / "hrdoc").string();
  ctx.ext().template_dir = (dir / "mzxls").string() + "/";
  ctx.ext().out_dir = out_dir;
  ctx.ext().work_dir = work_folder(out_dir);
  ctx.ext().office = office;
  ctx.user() = user.empty() ? login_name() : user;
  TDateTime today = text::today();
  auto t = text::decode_date(today);
  ctx.set_dates(today, text::encode_date(t.year, t.month, 1), today);
}

}  // namespace hrdoc::host
