#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/host_run.h"
#include "support/office.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace hrdoc::test {

WorkDir::WorkDir(const std::string& prefix) {
  std::string name = "hrdoc_" + prefix + "_" + std::to_string(::getpid());
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
    name += std::string("_") + info->test_suite_name() + "_" + info->name();
  for (char& c : name)
    if (c == '/') c = '_';  // parameterised names
  path_ = fs::temp_directory_path() / name;
  fs::remove_all(path_);
  fs::create_directories(path_);
}

WorkDir::~WorkDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool have_office(bool with_pdftotext) {
  return std::system(with_pdftotext ? "command -v soffice >/dev/null && command -v pdftotext >/dev/null"
                                    : "command -v soffice >/dev/null") == 0;
}

bool soffice_convert(const fs::path& file, const std::string& filter, const fs::path& profile, fs::path outdir,
                     const std::string& infilter) {
  if (outdir.empty()) outdir = file.parent_path();
  fs::create_directories(outdir);
  const fs::path result = outdir / fs::path(file.filename()).replace_extension("." + filter.substr(0, filter.find(':')));
  std::string cmd = "cd '" + outdir.string() + "' && timeout 300 soffice -env:UserInstallation=file://" +
                    profile.string() + " --headless --convert-to '" + filter + "' --outdir '" + outdir.string() + "'";
  if (!infilter.empty()) cmd += " --infilter='" + infilter + "'";
  cmd += " '" + file.string() + "' >/dev/null 2>&1";
  // One conversion at a time on the machine: parallel test processes each starting an office
  // with a fresh profile overload it, and a first start may end early asking for a restart
  // (it then succeeds on the next try). Success is the converted file, not the exit status.
  const int lock = ::open((fs::temp_directory_path() / "hrdoc-soffice.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  bool ok = false;
  for (int attempt = 0; attempt < 3 && !ok; ++attempt) {
    std::error_code ec;
    if (result != file) fs::remove(result, ec);
    (void)std::system(cmd.c_str());
    ok = fs::exists(result, ec) && fs::file_size(result, ec) > 0;
    // A csv of every sheet comes as "<name>-<sheet>.csv".
    for (const auto& e : fs::directory_iterator(outdir, ec)) {
      const std::string n = e.path().filename().string();
      ok = ok || (n.rfind(result.stem().string() + "-", 0) == 0 && e.path().extension() == result.extension());
    }
  }
  if (lock >= 0) ::close(lock);
  return ok;
}

std::string pdf_text(const fs::path& pdf, bool layout) {
  fs::path txt = fs::path(pdf).replace_extension(".txt");
  std::string cmd = std::string("pdftotext ") + (layout ? "-layout '" : "'") + pdf.string() + "' '" + txt.string() + "'";
  return std::system(cmd.c_str()) == 0 ? read_file(txt) : std::string();
}

HostRun run_hrdoc(const std::string& args, bool with_stderr) {
  std::string cmd = std::string(HRDOC_BIN_DIR) + "hrdoc " + args + (with_stderr ? " 2>&1" : " 2>/dev/null") + " </dev/null";
  HostRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  for (size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;) r.out.append(buf.data(), n);
  int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string printed(const fs::path& book, const fs::path& work, std::string& info) {
  EXPECT_TRUE(soffice_convert(book, "pdf", work / "lo"));
  const fs::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
  const fs::path txt = work / "info.txt";
  EXPECT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + txt.string() + "'").c_str()), 0);
  info = read_file(txt);
  return pdf_text(pdf);
}

}  // namespace hrdoc::test
