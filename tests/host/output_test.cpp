// Finished documents reach the documents folder whole, under their own names, never over a
// file that is there; work copies stay in the private work folder and a killed run's are swept.
#include "host/output.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "host/compark.h"
#include "support/work_dir.h"
#include "text/date.h"

namespace fs = std::filesystem;
using hrdoc::host::FileCalls;
using hrdoc::host::file_calls;

namespace {

void write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

std::set<std::string> files_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

// Replaces the file calls for one test.
class Calls {
 public:
  Calls() : saved_(file_calls()) {}
  ~Calls() { file_calls() = saved_; }

 private:
  FileCalls saved_;
};

class Output : public ::testing::Test {
 protected:
  void SetUp() override {
    out_ = work_.slashed();
    wdir_ = hrdoc::host::work_folder(out_);
    hrdoc::host::prepare_work_folder(wdir_);
  }
  std::string work_copy(const std::string& file, const std::string& text) {
    write(wdir_ + file, text);
    return wdir_ + file;
  }
  hrdoc::test::WorkDir work_{"output"};
  std::string out_, wdir_;
};

TEST_F(Output, documents_take_the_next_free_name_and_leave_earlier_ones_intact) {
  const struct {
    const char* existing;  // already in the folder
    const char* placed;
  } cases[] = {
      {nullptr, "HRDOC091_2027-03-31.xlsx"},
      {"HRDOC091_2027-03-31.xlsx", "HRDOC091_2027-03-31 (2).xlsx"},
      {"HRDOC091_2027-03-31 (2).xlsx", "HRDOC091_2027-03-31 (3).xlsx"},
  };
  for (const auto& c : cases) {
    if (c.existing) {
      EXPECT_EQ(hrdoc::test::read_file(work_.path() / c.existing), std::string("doc ") + c.existing);
    }
    const std::string placed =
        hrdoc::host::place_document(work_copy("WLST_00.xlsx", std::string("doc ") + c.placed), out_, "HRDOC091_2027-03-31");
    EXPECT_EQ(placed, out_ + c.placed);
    EXPECT_FALSE(fs::exists(wdir_ + "WLST_00.xlsx"));
  }
  EXPECT_EQ(files_in(work_.path()), (std::set<std::string>{".hrdoc", "HRDOC091_2027-03-31.xlsx",
                                                            "HRDOC091_2027-03-31 (2).xlsx", "HRDOC091_2027-03-31 (3).xlsx"}));
}

TEST_F(Output, a_document_that_cannot_be_placed_leaves_the_folder_as_it_was) {
  Calls restore;
  write(work_.path() / "HRDOC092_2027-01-10.xlsx", "earlier");
  const std::string copy = work_copy("WLST_01.xlsx", "finished");
  struct Failure {
    int link_errno;
    int rename_errno;  // met only where the folder has no hard links
  };
  for (Failure f : {Failure{ENOSPC, 0}, Failure{EACCES, 0}, Failure{EPERM, EXDEV}, Failure{ENOTSUP, ENOSPC}}) {
    static Failure current;
    current = f;
    file_calls().link = [](const char*, const char* to) {
      errno = ::access(to, F_OK) == 0 ? EEXIST : current.link_errno;
      return -1;
    };
    file_calls().rename = [](const char*, const char*) {
      errno = current.rename_errno;
      return -1;
    };
    try {
      hrdoc::host::place_document(copy, out_, "HRDOC092_2027-01-10");
      ADD_FAILURE() << "placed despite errno " << f.link_errno;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("HRDOC092_2027-01-10 (2).xlsx"), std::string::npos) << e.what();
    }
    EXPECT_EQ(files_in(work_.path()), (std::set<std::string>{".hrdoc", "HRDOC092_2027-01-10.xlsx"}));
    EXPECT_EQ(hrdoc::test::read_file(copy), "finished");
  }
  EXPECT_EQ(hrdoc::test::read_file(work_.path() / "HRDOC092_2027-01-10.xlsx"), "earlier");
}

TEST_F(Output, a_folder_without_hard_links_gets_the_document_by_rename) {
  Calls restore;
  file_calls().link = [](const char*, const char*) {
    errno = EPERM;
    return -1;
  };
  write(work_.path() / "Книга1.xlsx", "earlier");
  EXPECT_EQ(hrdoc::host::place_document(work_copy("Книга1.xlsx", "new"), out_, "Книга1"), out_ + "Книга1 (2).xlsx");
  EXPECT_EQ(hrdoc::test::read_file(work_.path() / "Книга1 (2).xlsx"), "new");
  EXPECT_EQ(hrdoc::test::read_file(work_.path() / "Книга1.xlsx"), "earlier");
}

TEST_F(Output, a_run_names_its_document_by_code_and_date_and_other_books_stay_put) {
  compark ctx;
  ctx.ext().work_dir = wdir_;
  ctx.ext().out_dir = out_;
  ctx.set_dates(hrdoc::text::encode_date(2027, 3, 5), hrdoc::text::encode_date(2027, 3, 1),
                hrdoc::text::encode_date(2027, 3, 31));
  ctx.ext().document_code = "HRDOC340";
  EXPECT_EQ(hrdoc::host::publish_document(ctx, work_copy("WLST_00.xlsx", "x")), out_ + "HRDOC340_2027-03-05.xlsx");
  // A book saved outside the work folder is where the report put it.
  write(work_.path() / "elsewhere.xlsx", "y");
  EXPECT_EQ(hrdoc::host::publish_document(ctx, out_ + "elsewhere.xlsx"), out_ + "elsewhere.xlsx");
  // A new book without a report code keeps its own name.
  ctx.ext().document_code.clear();
  EXPECT_EQ(hrdoc::host::publish_document(ctx, work_copy("Книга1.xlsx", "z")), out_ + "Книга1.xlsx");
  // Without a documents folder (the library used on its own) nothing moves.
  ctx.ext().out_dir.clear();
  EXPECT_EQ(hrdoc::host::publish_document(ctx, work_copy("WLST_02.xlsx", "w")), wdir_ + "WLST_02.xlsx");
}

TEST_F(Output, the_next_run_sweeps_the_work_copies_nobody_holds) {
  fs::create_directories(work_.path() / "mzxls");
  write(work_.path() / "mzxls" / "HRDOC091.xlsx", "template");
  compark ctx;
  ctx.ext().template_dir = (work_.path() / "mzxls").string() + "/";
  ctx.ext().work_dir = wdir_;
  char held[4096];
  ASSERT_EQ(ctx.mopenx("HRDOC091", held, ".xlsx"), 0);  // a report still running
  work_copy("WLST_05.xlsx", "killed run");
  work_copy("WLST_05.xlsx.Xy12Ab", "killed while saving");
  work_copy("notes.txt", "not ours");
  hrdoc::host::prepare_work_folder(wdir_);
  std::set<std::string> left = files_in(wdir_);
  left.erase(".WLST.xlsx.lock");
  EXPECT_EQ(left, (std::set<std::string>{fs::path(held).filename().string(), "notes.txt"}));
}

TEST(OutputFolder, a_work_folder_that_cannot_be_made_is_a_clear_error) {
  hrdoc::test::WorkDir dir("output_file");
  write(dir.path() / "plain", "a file, not a folder");
  try {
    hrdoc::host::prepare_work_folder(hrdoc::host::work_folder((dir.path() / "plain").string()));
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("plain/.hrdoc/"), std::string::npos) << e.what();
  }
}

}  // namespace
