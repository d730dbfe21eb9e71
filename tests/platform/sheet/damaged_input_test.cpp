// Books that are not what they claim: each is refused with the engine's one error naming the
// file, or read within bounded time and memory; none crashes the process.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "sheet/book.h"
#include "sheet/zip_io.h"
#include "support/work_dir.h"

using namespace hrdoc::sheet;
namespace fs = std::filesystem;

namespace {

class DamagedInput : public ::testing::Test {
 protected:
  void SetUp() override {
    Book b;
    b.sheet(1).set_text(1, 1, "шаблон");
    b.sheet(1).set_formula(2, 1, "1+1");
    good_ = (work_.path() / "good.xlsx").string();
    b.save(good_);
    bytes_ = hrdoc::test::read_file(good_);
  }
  std::string file(const std::string& name, const std::string& bytes) {
    const std::string path = (work_.path() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  // The good book with one part replaced (or removed when `data` is empty).
  std::string with_part(const std::string& name, const std::string& part, const std::string& data) {
    ZipReader in(good_);
    const std::string path = (work_.path() / name).string();
    ZipWriter out(path);
    for (const auto& p : in.names()) {
      if (p == part) continue;
      out.add(p, *in.read(p));
    }
    if (!data.empty()) out.add(part, data);
    out.finish();
    return path;
  }
  hrdoc::test::WorkDir work_{"damaged"};
  std::string good_, bytes_;
};

std::string sheet_with(const std::string& inside_c, const std::string& doctype = {}) {
  return "<?xml version=\"1.0\"?>" + doctype +
         "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData><row r=\"1\">"
         "<c r=\"A1\" t=\"inlineStr\"><is><t>" + inside_c + "</t></is></c></row></sheetData></worksheet>";
}

TEST_F(DamagedInput, broken_containers_are_refused_with_the_file_named) {
  std::mt19937 random(7);
  std::string noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::string cases[] = {
      file("empty.xlsx", ""),
      file("truncated.xlsx", bytes_.substr(0, bytes_.size() / 2)),
      file("noise.xlsx", noise),
      with_part("no-workbook.xlsx", "xl/workbook.xml", ""),
      with_part("bad-sheet.xlsx", "xl/worksheets/sheet1.xml", "<worksheet><sheetData><row"),
  };
  for (const auto& path : cases) {
    try {
      Book b(path);
      ADD_FAILURE() << path << " was read";
    } catch (const Error& e) {
      EXPECT_EQ(e.file(), path);
    }
  }
}

TEST_F(DamagedInput, entity_bombs_and_deep_nesting_stay_small) {
  std::string bomb = "<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\">";
  for (char c = 'b'; c <= 'j'; ++c) {
    bomb += std::string("<!ENTITY ") + c + " \"";
    for (int i = 0; i < 10; ++i) bomb += std::string("&") + static_cast<char>(c - 1) + ";";
    bomb += "\">";
  }
  bomb += "]>";
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<x>";
  for (int i = 0; i < 10000; ++i) deep += "</x>";
  const std::string cases[] = {
      with_part("bomb.xlsx", "xl/worksheets/sheet1.xml", sheet_with("&j;", bomb)),
      with_part("deep.xlsx", "xl/worksheets/sheet1.xml", sheet_with(deep)),
  };
  for (const auto& path : cases) {
    try {
      Book b(path);
      EXPECT_LT(b.sheet(1).text(1, 1).size(), 1000u) << path;
    } catch (const Error& e) {
      EXPECT_EQ(e.file(), path);
    }
  }
}

TEST_F(DamagedInput, a_million_shared_strings_are_read) {
  std::string sst = "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (int i = 0; i < 1000000; ++i) sst += "<si><t>s" + std::to_string(i) + "</t></si>";
  sst += "</sst>";
  const std::string sheet =
      "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>999999</v></c><c r=\"B1\" t=\"s\"><v>1000000</v></c></row>"
      "</sheetData></worksheet>";
  ZipReader in(with_part("big-sst.xlsx", "xl/sharedStrings.xml", sst));
  const std::string path = (work_.path() / "big.xlsx").string();
  {
    ZipWriter out(path);
    for (const auto& p : in.names()) out.add(p, p == "xl/worksheets/sheet1.xml" ? sheet : *in.read(p));
    out.finish();
  }
  // An index past the table is the file's fault, named as such.
  try {
    Book b(path);
    EXPECT_EQ(b.sheet(1).text(1, 1), "s999999");
  } catch (const Error& e) {
    EXPECT_EQ(e.file(), path);
    EXPECT_NE(std::string(e.what()).find("B1"), std::string::npos) << e.what();
  }
}

// A disk that fills while the book is written: the save fails with the engine's error and
// no file appears at the target.
TEST_F(DamagedInput, a_full_disk_while_saving_leaves_no_file) {
  Book b;
  for (int r = 1; r <= 20000; ++r) b.sheet(1).set_text(r, 1, "строка " + std::to_string(r));
  const std::string target = (work_.path() / "full.xlsx").string();
  auto* old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  bool failed = false;
  try {
    b.save(target);
  } catch (const Error& e) {
    failed = true;
    EXPECT_EQ(e.file(), target);
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(failed);
  EXPECT_FALSE(fs::exists(target));
}

}  // namespace
