#include "host/region.h"

#include <dlfcn.h>

#include <cstring>
#include <stdexcept>

#include "host/compark.h"
#include "suite/keyf32/keyf32.h"
#include "text/codepage.h"

namespace hrdoc::host {

std::optional<std::string> region_name(const compark& ctx, int code) {
  const std::string path = std::string(ctx.lib_dir, strnlen(ctx.lib_dir, sizeof ctx.lib_dir)) + "KEYF32.so";
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    const char* why = dlerror();
    throw std::runtime_error("Не загружена библиотека " + path + ": " + (why ? why : "неизвестная ошибка"));
  }
  // The library's files live as long as it stays loaded, so release it on every way out.
  struct Unload {
    void* lib;
    ~Unload() { dlclose(lib); }
  } unload{lib};
  auto open = reinterpret_cast<keyf32::OpenFn>(dlsym(lib, "_kffo"));
  auto read = reinterpret_cast<keyf32::ReadFn>(dlsym(lib, "_kfre"));
  if (!open || !read) throw std::runtime_error("В библиотеке " + path + " нет функций _kffo и _kfre");
  int32_t handle = open(ctx.keyf_context, "REGKL");
  if (handle < 0) throw std::runtime_error("Не открыт классификатор регионов REGKL рядом с " + path);

  unsigned char record[keyf32::kRegionRecordSize] = {};
  const auto key = static_cast<uint16_t>(code);
  record[0] = static_cast<unsigned char>(key >> 8);
  record[1] = static_cast<unsigned char>(key & 0xFF);
  if (read(handle, record) != 0) return std::nullopt;

  const char* name = reinterpret_cast<const char*>(record + keyf32::kRegionNameOffset);
  size_t len = strnlen(name, keyf32::kRegionNameSize);
  while (len > 0 && name[len - 1] == ' ') --len;
  return hrdoc::text::cp866_to_utf8(std::string_view(name, len));
}

}  // namespace hrdoc::host
