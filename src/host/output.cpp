#include "host/output.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>

#include "host/compark.h"
#include "text/date.h"
#include "ui/stop.h"
#include "ui/ui.h"

namespace hrdoc::host {
namespace {

int sys_link(const char* from, const char* to) { return ::link(from, to); }
int sys_rename(const char* from, const char* to) { return ::rename(from, to); }
int sys_unlink(const char* path) { return ::unlink(path); }

std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "WLST_07.xlsx" and the archive writer's leftovers "WLST_07.xlsx.AbC123": the slot number and
// the extension of its lock file; -1 for other names.
int work_slot(const std::string& file, std::string& ext) {
  if (file.size() < 9 || file.compare(0, 5, "WLST_") != 0 || !std::isdigit(static_cast<unsigned char>(file[5])) ||
      !std::isdigit(static_cast<unsigned char>(file[6])) || file[7] != '.')
    return -1;
  const size_t dot = file.find('.', 8);
  ext = file.substr(7, dot == std::string::npos ? std::string::npos : dot - 7);
  return (file[5] - '0') * 10 + (file[6] - '0');
}

}  // namespace

int open_slot_locks(const std::string& work_dir, const std::string& ext) {
  // Never blocks on a FIFO in its place, and takes nothing but a regular file.
  int fd = ::open((work_dir + ".WLST" + ext + ".lock").c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool lock_slot(int lock_fd, int slot) {
  struct flock fl{};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = slot;
  fl.l_len = 1;
  return ::fcntl(lock_fd, F_OFD_SETLK, &fl) == 0;
}

FileCalls& file_calls() {
  static FileCalls calls{sys_link, sys_rename, sys_unlink};
  return calls;
}

std::string work_folder(const std::string& out_dir) {
  std::string dir = out_dir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + ".hrdoc/";
}

void prepare_work_folder(const std::string& work_dir) {
  if (::mkdir(work_dir.c_str(), 0700) != 0 && errno != EEXIST)
    throw std::runtime_error("Не удалось создать рабочую папку " + work_dir + ": " + std::strerror(errno));
  DIR* dir = ::opendir(work_dir.c_str());
  if (!dir) throw std::runtime_error("Не удалось открыть рабочую папку " + work_dir + ": " + std::strerror(errno));
  while (const dirent* e = ::readdir(dir)) {
    std::string ext;
    const std::string file = e->d_name;
    const int slot = work_slot(file, ext);
    if (slot < 0) continue;
    // A slot whose lock byte can be taken belongs to no running report.
    const int lock = open_slot_locks(work_dir, ext);
    if (lock < 0) continue;
    if (lock_slot(lock, slot)) file_calls().unlink((work_dir + file).c_str());
    ::close(lock);
  }
  ::closedir(dir);
}

std::string place_document(const std::string& work_path, const std::string& out_dir, const std::string& name) {
  const size_t slash = work_path.rfind('/');
  const size_t dot = work_path.rfind('.');
  const std::string ext = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? work_path.substr(dot) : "";
  std::string dir = out_dir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  for (int n = 1; n < 1000; ++n) {
    const std::string target = dir + name + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + ext;
    // A hard link appears at once, whole, and never replaces a file that is there.
    if (file_calls().link(work_path.c_str(), target.c_str()) == 0) {
      file_calls().unlink(work_path.c_str());
      return target;
    }
    if (errno == EEXIST) continue;
    const int err = errno;
    // Folders that cannot hold hard links: a rename that refuses to replace does the same.
    if (err == EPERM || err == ENOTSUP || err == EOPNOTSUPP) {
      if (::access(target.c_str(), F_OK) == 0) continue;
      if (file_calls().rename(work_path.c_str(), target.c_str()) == 0) return target;
    }
    throw std::runtime_error("Не удалось поместить документ " + target + ": " + std::strerror(err));
  }
  throw std::runtime_error("В папке " + dir + " уже есть 999 документов " + name + ext);
}

std::string publish_document(compark& ctx, const std::string& saved_path) {
  const auto& ext = ctx.ext();
  if (ext.out_dir.empty() || folder_of(saved_path) != ext.work_dir) return saved_path;
  std::string name = ext.document_code;
  if (name.empty()) {
    const std::string file = saved_path.substr(saved_path.rfind('/') + 1);
    name = file.substr(0, file.rfind('.'));
  } else {
    const text::Ymd d = text::decode_date(ctx.D);
    char date[16];
    std::snprintf(date, sizeof date, "_%04d-%02d-%02d", d.year % 10000, d.month % 100, d.day % 100);
    name += date;
  }
  // A book kept after an error box is shown, but its name says it is not the whole report.
  // A book released while the job's error is on its way to the box counts as shown after it.
  if ((ctx.ui() && ctx.ui()->error_boxes() > 0) || std::uncaught_exceptions() > 0) name += "_неполный";
  const std::string placed = place_document(saved_path, ext.out_dir, name);
  // A command stopped after this point takes the document back out of the folder.
  ui::note_output(placed);
  return placed;
}

}  // namespace hrdoc::host
