#include "sheet/zip_io.h"

#include <zip.h>

#include <cstdio>
#include <unistd.h>

#include "sheet/error.h"

namespace hrdoc::sheet {

namespace {
// Parts larger than this are refused, so that a crafted archive cannot exhaust memory.
constexpr zip_uint64_t max_part_size = 1ull << 30;
}  // namespace

struct ZipReader::Impl {
  std::string name;
  zip_t* zip = nullptr;
  ~Impl() {
    if (zip) zip_discard(zip);
  }
};

ZipReader::ZipReader(const std::string& path) : impl_(std::make_unique<Impl>()) {
  impl_->name = path;
  int err = 0;
  impl_->zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
  if (!impl_->zip) {
    zip_error_t ze;
    zip_error_init_with_code(&ze, err);
    std::string what = err == ZIP_ER_NOENT ? "file not found" : std::string("not a valid .xlsx (zip) file: ") + zip_error_strerror(&ze);
    zip_error_fini(&ze);
    throw Error(path, "", what);
  }
}

ZipReader::ZipReader(const void* data, size_t size, const std::string& name) : impl_(std::make_unique<Impl>()) {
  impl_->name = name;
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* src = zip_source_buffer_create(data, size, 0, &ze);
  if (src) {
    impl_->zip = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &ze);
    if (!impl_->zip) zip_source_free(src);
  }
  if (!impl_->zip) {
    std::string what = std::string("not a valid .xlsx (zip) file: ") + zip_error_strerror(&ze);
    zip_error_fini(&ze);
    throw Error(name, "", what);
  }
  zip_error_fini(&ze);
}

ZipReader::~ZipReader() = default;

std::vector<std::string> ZipReader::names() const {
  std::vector<std::string> out;
  zip_int64_t n = zip_get_num_entries(impl_->zip, 0);
  for (zip_int64_t i = 0; i < n; ++i) {
    const char* nm = zip_get_name(impl_->zip, i, 0);
    if (nm) out.emplace_back(nm);
  }
  return out;
}

std::optional<std::string> ZipReader::read(const std::string& part) const {
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat(impl_->zip, part.c_str(), 0, &st) != 0) return std::nullopt;
  if (!(st.valid & ZIP_STAT_SIZE) || st.size > max_part_size) throw Error(impl_->name, part, "part is too large");
  zip_file_t* f = zip_fopen_index(impl_->zip, st.index, 0);
  if (!f) throw Error(impl_->name, part, std::string("cannot read: ") + zip_strerror(impl_->zip));
  std::string data(static_cast<size_t>(st.size), '\0');
  zip_int64_t got = data.empty() ? 0 : zip_fread(f, data.data(), data.size());
  bool ok = got == static_cast<zip_int64_t>(data.size());
  std::string why = ok ? "" : (zip_file_strerror(f) ? zip_file_strerror(f) : "short read");
  zip_fclose(f);
  if (!ok) throw Error(impl_->name, part, "damaged: " + why);
  return data;
}

struct ZipWriter::Impl {
  std::string path, temp;
  zip_t* zip = nullptr;
  std::vector<std::string> temp_files;
  std::vector<std::string> buffers_kept;
  ~Impl() {
    if (zip) zip_discard(zip);
    for (auto& t : temp_files) ::unlink(t.c_str());
    if (!temp.empty()) ::unlink(temp.c_str());
  }
};

ZipWriter::ZipWriter(const std::string& path) : impl_(std::make_unique<Impl>()) {
  impl_->path = path;
  // Written beside the target and renamed at the end, so a failure leaves no half file.
  impl_->temp = path + ".tmp" + std::to_string(::getpid());
  int err = 0;
  impl_->zip = zip_open(impl_->temp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  if (!impl_->zip) {
    zip_error_t ze;
    zip_error_init_with_code(&ze, err);
    std::string what = std::string("cannot create: ") + zip_error_strerror(&ze);
    zip_error_fini(&ze);
    impl_->temp.clear();
    throw Error(path, "", what);
  }
}

ZipWriter::~ZipWriter() = default;

namespace {
// zlib's default level: the best levels cost several times the time for a few per cent.
constexpr zip_uint32_t deflate_level = 6;
}  // namespace

void ZipWriter::add(const std::string& part, std::string data) {
  impl_->buffers_kept.push_back(std::move(data));
  auto& buf = impl_->buffers_kept.back();
  zip_source_t* src = zip_source_buffer(impl_->zip, buf.data(), buf.size(), 0);
  zip_int64_t idx = src ? zip_file_add(impl_->zip, part.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) : -1;
  if (idx < 0) {
    if (src) zip_source_free(src);
    throw Error(impl_->path, part, std::string("cannot add: ") + zip_strerror(impl_->zip));
  }
  zip_set_file_compression(impl_->zip, idx, ZIP_CM_DEFLATE, deflate_level);
}

void ZipWriter::add_file(const std::string& part, const std::string& temp_path, int64_t start, int64_t length) {
  if (impl_->temp_files.empty() || impl_->temp_files.back() != temp_path) impl_->temp_files.push_back(temp_path);
  zip_source_t* src =
      zip_source_file(impl_->zip, temp_path.c_str(), static_cast<zip_uint64_t>(start), static_cast<zip_int64_t>(length));
  zip_int64_t idx = src ? zip_file_add(impl_->zip, part.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) : -1;
  if (idx < 0) {
    if (src) zip_source_free(src);
    throw Error(impl_->path, part, std::string("cannot add: ") + zip_strerror(impl_->zip));
  }
  zip_set_file_compression(impl_->zip, idx, ZIP_CM_DEFLATE, deflate_level);
}

void ZipWriter::finish() {
  if (zip_close(impl_->zip) != 0) {
    std::string why = zip_strerror(impl_->zip);
    throw Error(impl_->path, "", "cannot write: " + why);
  }
  impl_->zip = nullptr;
  if (std::rename(impl_->temp.c_str(), impl_->path.c_str()) != 0) {
    throw Error(impl_->path, "", "cannot replace the file");
  }
  impl_->temp.clear();
}

}  // namespace hrdoc::sheet
