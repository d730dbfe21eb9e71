// KEYF32.so: read-only keyed files of the suite (the region classifier REGKL).
#include "suite/keyf32/keyf32.h"

#include <dlfcn.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <type_traits>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct KeyedFile {
  std::string path;
  uint16_t record_size = 0;
  uint16_t key_size = 0;
  uint32_t count = 0;
  std::vector<unsigned char> bytes;  // the whole file

  const unsigned char* record(uint32_t i) const {
    return bytes.data() + keyf32::kHeaderSize + static_cast<size_t>(i) * record_size;
  }
};

std::mutex files_mutex;
// Handle h is files[h - 1]. The suite never closes a keyed file, so a file opened again
// gets its earlier handle.
std::vector<std::unique_ptr<KeyedFile>> files;

uint32_t little_endian(const unsigned char* p, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

std::string own_folder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&own_folder), &info) == 0 || !info.dli_fname) return "";
  std::string path = info.dli_fname;
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::unique_ptr<KeyedFile> load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  auto f = std::make_unique<KeyedFile>();
  f->path = path;
  f->bytes.assign(std::istreambuf_iterator<char>(in), {});
  const auto& b = f->bytes;
  if (b.size() < static_cast<size_t>(keyf32::kHeaderSize) || std::memcmp(b.data(), keyf32::kMagic, 8) != 0)
    return nullptr;
  f->record_size = static_cast<uint16_t>(little_endian(&b[8], 2));
  f->key_size = static_cast<uint16_t>(little_endian(&b[10], 2));
  f->count = little_endian(&b[12], 4);
  if (f->key_size == 0 || f->key_size > f->record_size) return nullptr;
  if (b.size() != keyf32::kHeaderSize + static_cast<size_t>(f->count) * f->record_size) return nullptr;
  return f;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t _kffo(int32_t context, const char* name) {
  if (!name || !*name) return -1;
  std::string path = std::strchr(name, '/') ? std::string(name) : own_folder() + name;
  std::lock_guard<std::mutex> guard(files_mutex);
  for (size_t i = 0; i < files.size(); ++i)
    if (files[i]->path == path) return static_cast<int32_t>(i + 1);
  auto f = load(path);
  if (!f) return -1;
  files.push_back(std::move(f));
  return static_cast<int32_t>(files.size());
}

__attribute__((visibility("default"))) int32_t _kfre(int32_t handle, void* record) {
  std::lock_guard<std::mutex> guard(files_mutex);
  if (!record || handle < 1 || static_cast<size_t>(handle) > files.size()) return -1;
  const KeyedFile& f = *files[static_cast<size_t>(handle) - 1];
  uint32_t lo = 0, hi = f.count;
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    int c = std::memcmp(f.record(mid), record, f.key_size);
    if (c == 0) {
      std::memcpy(record, f.record(mid), f.record_size);
      return 0;
    }
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return 1;
}

}  // extern "C"

// The function types the callers use must match the exports.
static_assert(std::is_same_v<decltype(&_kffo), keyf32::OpenFn>);
static_assert(std::is_same_v<decltype(&_kfre), keyf32::ReadFn>);
