#include "host/compark_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "host/compark.h"
#include "support/work_dir.h"
#include "text/codepage.h"
#include "text/date.h"

namespace fs = std::filesystem;
using hrdoc::text::utf8_to_cp1251;

namespace {

// What a call wrote, as UTF-8 (the words hold no characters outside Windows-1251).
std::string utf8(const char* bytes, int n) { return hrdoc::text::cp1251_to_utf8(std::string(bytes, n)); }

std::string zahls(const char* digits) {
  compark ctx;
  char buf[300];
  int n = ctx.zahls(digits, buf);
  return n < 0 ? "<-1>" : utf8(buf, n);
}

std::string summa(double amount) {
  compark ctx;
  char buf[300];
  int n = ctx.summa(amount, buf);
  if (n < 0) return "<-1>";
  EXPECT_EQ(buf[n], '\0');
  return utf8(buf, n);
}

}  // namespace

TEST(MonthNames, NominativeGenitiveAndTheErrorWord) {
  compark ctx;
  // Any form but 1 is the nominative; 0 and 13 are no month.
  const struct { int month, form; const char* name; } cases[] = {
      {12, 1, "ДЕКАБРЯ"}, {1, 0, "ЯНВАРЬ"}, {5, 1, "МАЯ"},     {13, 1, "ОШИБКА"},
      {0, 0, "ОШИБКА"},   {3, 5, "МАРТ"},   {3, '1', "МАРТ"}};
  for (const auto& c : cases)
    EXPECT_EQ(ctx.getWriteMonthM(c.month, c.form), utf8_to_cp1251(c.name)) << c.month << "/" << c.form;
  EXPECT_EQ(ctx.getWriteMonth(hrdoc::text::encode_date(2024, 8, 31) + 0.9, 1), utf8_to_cp1251("АВГУСТА"));
}

TEST(Zahls, ScalesEndingsEmptyGroupsAndTheCapital) {
  const std::pair<const char*, const char*> cases[] = {
      // Thousands take the feminine units and their own endings.
      {"1000", "Одна тысяча "}, {"2000", "Две тысячи "}, {"4000", "Четыре тысячи "},
      {"5000", "Пять тысяч "}, {"11000", "Одиннадцать тысяч "}, {"12000", "Двенадцать тысяч "},
      {"20000", "Двадцать тысяч "}, {"21000", "Двадцать одна тысяча "}, {"102000", "Сто две тысячи "},
      {"100000", "Сто тысяч "},
      // Every larger scale takes the one, few and many endings.
      {"1000000", "Один миллион "}, {"2000000", "Два миллиона "}, {"5000000", "Пять миллионов "},
      {"13000000", "Тринадцать миллионов "}, {"1000000000", "Один миллиард "},
      {"3000000000", "Три миллиарда "}, {"11000000000", "Одиннадцать миллиардов "},
      {"1000000000000", "Один триллион "}, {"104000000000000", "Сто четыре триллиона "},
      {"600000000000000", "Шестьсот триллионов "}, {"1000000000000000", "Один квадриллион "},
      {"22000000000000000", "Двадцать два квадриллиона "},
      {"315000000000000000", "Триста пятнадцать квадриллионов "},
      // Empty groups write no scale word.
      {"1001000", "Один миллион одна тысяча "}, {"1000001", "Один миллион один "},
      {"2000000000002", "Два триллиона два "},
      {"999999999999999999",
       "Девятьсот девяносто девять квадриллионов девятьсот девяносто девять триллионов "
       "девятьсот девяносто девять миллиардов девятьсот девяносто девять миллионов "
       "девятьсот девяносто девять тысяч девятьсот девяносто девять "},
      // The first position takes the capital even when it writes nothing.
      {"7", "Семь "}, {"115", "Сто пятнадцать "}, {"0100", "сто "}, {"-5", "минус пять "},
      {"-1000", "минус одна тысяча "}, {"0", ""}, {"", ""}};
  for (const auto& [digits, words] : cases) EXPECT_EQ(zahls(digits), words) << digits;
}

TEST(Summa, RublesAndKopecksTakeTheirEndings) {
  const std::pair<double, const char*> cases[] = {
      {0, "Ноль рублей 00 копеек "}, {0.01, "Ноль рублей 01 копейка"}, {0.11, "Ноль рублей 11 копеек "},
      {0.22, "Ноль рублей 22 копейки"}, {0.21, "Ноль рублей 21 копейка"},
      {1.01, "Один рубль  01 копейка"}, {21, "Двадцать один рубль  00 копеек "},
      {11.11, "Одиннадцать pублей 11 копеек "}, {3.04, "Три рубля  04 копейки"},
      {1000.02, "Одна тысяча pублей 02 копейки"}, {112, "Сто двенадцать pублей 00 копеек "},
      {2000001, "Два миллиона один рубль  00 копеек "}};
  for (const auto& [amount, words] : cases) EXPECT_EQ(summa(amount), words) << amount;
}

TEST(Summa, WritesExactBytesWithTheLatinPAndRefusesWithoutWriting) {
  compark ctx;
  char buf[300];
  std::memset(buf, 'X', sizeof buf);
  ASSERT_EQ(ctx.summa(0.5, buf), 22);
  EXPECT_EQ(std::string(buf, 24), utf8_to_cp1251("Ноль рублей 50 копеек ") + '\0' + 'X');
  // "Пять " is 5 bytes; the length is the zahls length + 17, the many form keeps its Latin p.
  ASSERT_EQ(ctx.summa(5, buf), 22);
  EXPECT_EQ(std::string(buf, 7), "\xCF\xFF\xF2\xFC p\xF3");
  std::memset(buf, 'X', sizeof buf);
  EXPECT_EQ(ctx.zahls("1000000000000000000", buf), -1);  // more than eighteen characters
  EXPECT_EQ(buf[0], 'X');
  int n = ctx.zahls("21", buf);
  EXPECT_EQ(n, static_cast<int>(utf8_to_cp1251("Двадцать один ").size()));
  EXPECT_EQ(buf[n], 'X');
  // Negative, non-numeric and too large amounts are refused without writing.
  std::memset(buf, 'X', sizeof buf);
  for (double bad : {-0.01, double(NAN), double(INFINITY), 1e18}) EXPECT_EQ(ctx.summa(bad, buf), -1) << bad;
  EXPECT_EQ(buf[0], 'X');
  EXPECT_GT(ctx.summa(9.99e17, buf), 0);
  EXPECT_THROW(hrdoc::text::amount_in_words(-1), std::invalid_argument);
  EXPECT_THROW(hrdoc::text::number_in_words("1234567890123456789"), std::invalid_argument);
}

TEST(Rounding, HalfAwayFromZeroThroughTextAndBack) {
  compark ctx;
  const struct { double in; int decimals; double out; const char* text; } cases[] = {
      {2.675, 2, 2.68, "2.68"}, {-2.675, 2, -2.68, "-2.68"}, {1.005, 2, 1.01, "1.01"}, {2.5, 0, 3, "3"},
      {0.5, 0, 1, "1"},         {-7, 3, -7, "-7.000"},       {1234.5678, 3, 1234.568, "1234.568"}};
  char buf[64];
  for (const auto& c : cases) {
    double v = c.in;
    ctx.rndd(&v, c.decimals);
    EXPECT_EQ(v, c.out) << c.in << " to " << c.decimals;
    ctx.ldsd(buf, c.in, c.decimals);
    EXPECT_STREQ(buf, c.text) << c.in << " to " << c.decimals;
  }
  double v = NAN;
  ctx.rndd(&v, 2);
  EXPECT_TRUE(std::isnan(v));
  EXPECT_EQ(hrdoc::text::rounded_text(-0.125, 2), "-0.13");
  for (auto [text, value] : {std::pair{"", 0.0}, {"12.5 руб", 12.5}, {"руб", 0.0}}) {
    v = 1;
    ctx.sldd(text, &v);
    EXPECT_EQ(v, value) << text;
  }
  const std::pair<double, int> zero[] = {{0.0049, 1}, {-0.0049, -1}, {0.00489, 0}, {-0.00489, 0}, {NAN, 0}, {-1e300, -1}};
  for (const auto& [value, sign] : zero) EXPECT_EQ(ctx.dzero(value), sign) << value;
}

// summa and zahls write into the caller's buffer: random input must never reach past the
// bytes they report (the copies land in exactly-sized heap buffers, which the sanitizer
// build checks), and summa stays within its 250 bytes.
TEST(WordsBuffers, RandomInputStaysInsideTheBuffers) {
  compark ctx;
  std::mt19937_64 rng(20240605);
  std::uniform_int_distribution<int> len(0, 20), digit(0, 9), kind(0, 15);
  char wide[1024];
  // The longest words of every group: 245 bytes for summa with its currency words.
  ASSERT_EQ(ctx.zahls("888888888888884888", wide), 227);
  for (int round = 0; round < 3000; ++round) {
    std::string digits;
    int n = len(rng);
    for (int i = 0; i < n; ++i) {
      int k = kind(rng);
      digits += i == 0 && k == 0 ? '-' : k == 1 ? ' ' : static_cast<char>('0' + digit(rng));
    }
    int written = ctx.zahls(digits.c_str(), wide);
    if (n > 18) {
      ASSERT_EQ(written, -1) << digits;
      continue;
    }
    ASSERT_GE(written, 0) << digits;
    ASSERT_LT(written, 250) << digits;
    std::unique_ptr<char[]> exact(new char[std::max(written, 1)]);
    ASSERT_EQ(ctx.zahls(digits.c_str(), exact.get()), written);
    ASSERT_EQ(std::memcmp(exact.get(), wide, written), 0) << digits;
  }
  std::uniform_real_distribution<double> mantissa(0, 10);
  std::uniform_int_distribution<int> exponent(-3, 18);
  for (int round = 0; round < 3000; ++round) {
    double amount = mantissa(rng) * std::pow(10.0, exponent(rng));
    if (round % 7 == 0) amount = std::nextafter(9.99e17, round % 2 ? 0.0 : 1e19);
    if (round % 11 == 0) amount = std::floor(amount);
    std::unique_ptr<char[]> guarded(new char[250 + 16]);
    std::memset(guarded.get(), 0x5A, 250 + 16);
    int written = ctx.summa(amount, guarded.get());
    if (amount > 9.99e17) {
      ASSERT_EQ(written, -1);
      continue;
    }
    ASSERT_GT(written, 0) << amount;
    ASSERT_LT(written, 250) << amount;
    for (int i = written + 1; i < 250 + 16; ++i) ASSERT_EQ(guarded[i], 0x5A) << amount;
    std::unique_ptr<char[]> exact(new char[written + 1]);
    ASSERT_EQ(ctx.summa(amount, exact.get()), written);
    ASSERT_EQ(std::memcmp(exact.get(), guarded.get(), written + 1), 0) << amount;
  }
}

class WorkCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "mzxls");
    fs::create_directories(root_ / "work");
    ctx_.ext().template_dir = (root_ / "mzxls").string() + "/";
    ctx_.ext().work_dir = (root_ / "work").string() + "/";
    write(root_ / "mzxls" / "HRDOC092.xlsx", "template 092");
  }
  void TearDown() override {
    for (auto& p : issued_) hrdoc::host::release_work_copy(p);
    std::error_code ec;
    fs::permissions(root_, fs::perms::owner_all, ec);
  }
  static void write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }
  static std::string read(const fs::path& p) { return hrdoc::test::read_file(p); }
  // The path mopenx wrote, or "" with its result -1.
  std::string copy(const char* name = "HRDOC092", const char* ext = ".xlsx") {
    char out[4096];
    std::memset(out, 'X', sizeof out);
    int rc = ctx_.mopenx(name, out, ext);
    EXPECT_EQ(rc == 0, out[0] != '\0');
    if (rc != 0) return "";
    issued_.push_back(out);
    return out;
  }
  std::string work(const std::string& file) const { return (root_ / "work" / file).string(); }

  hrdoc::test::WorkDir work_{"mopenx"};
  const fs::path root_ = work_.path();
  compark ctx_;
  std::vector<std::string> issued_;
};

TEST_F(WorkCopy, CopiesTheTemplateOverAStaleCopyAndANullExtensionMeansXls) {
  write(work("WLST_00.xlsx"), "yesterday's report");
  EXPECT_EQ(copy(), work("WLST_00.xlsx"));
  EXPECT_EQ(read(work("WLST_00.xlsx")), "template 092");
  EXPECT_EQ(read(root_ / "mzxls" / "HRDOC092.xlsx"), "template 092");
  write(root_ / "mzxls" / "hrdoc031.xls", "old format");
  EXPECT_EQ(copy("hrdoc031", nullptr), work("WLST_00.xls"));
  EXPECT_EQ(read(work("WLST_00.xls")), "old format");
}

TEST_F(WorkCopy, TemplateNamesAreFoundInAnyCaseTheExactOneFirst) {
  for (const char* name : {"hrdoc092", "Hrdoc092"}) {
    const std::string path = copy(name);
    ASSERT_FALSE(path.empty()) << name;
    EXPECT_EQ(read(path), "template 092") << name;
  }
  write(root_ / "mzxls" / "hrdoc092.xlsx", "lower-case twin");
  EXPECT_EQ(read(copy("hrdoc092")), "lower-case twin");
  EXPECT_EQ(read(copy("HRDOC092")), "template 092");
}

TEST_F(WorkCopy, AMissingOrEmptyTemplateOrNoFreeNumberGivesMinusOneAndNoCopy) {
  EXPECT_EQ(copy("HRDOC999"), "");
  write(root_ / "mzxls" / "EMPTY.xlsx", "");
  EXPECT_EQ(copy("EMPTY"), "");
  EXPECT_FALSE(fs::exists(work("WLST_00.xlsx")));
  for (int j = 0; j <= 98; ++j) {  // it gives up after ninety-nine numbers
    char name[32];
    std::snprintf(name, sizeof name, "WLST_%02d.xlsx", j);
    write(work(name), "kept");
    fs::permissions(work(name), fs::perms::owner_read);
  }
  EXPECT_EQ(copy(), "");
  EXPECT_FALSE(fs::exists(work("WLST_99.xlsx")));
  ctx_.ext().work_dir = (root_ / "nowhere").string() + "/";
  EXPECT_EQ(copy(), "");
}

TEST_F(WorkCopy, ACopyInUseKeepsItsNumberUntilReleased) {
  std::string first = copy();
  EXPECT_EQ(first, work("WLST_00.xlsx"));
  EXPECT_EQ(copy(), work("WLST_01.xlsx"));
  // Saving the document replaces the file; the number stays taken.
  fs::remove(first);
  write(first, "report being saved");
  EXPECT_EQ(copy(), work("WLST_02.xlsx"));
  hrdoc::host::release_work_copy(first);
  EXPECT_EQ(copy(), work("WLST_00.xlsx"));
  EXPECT_EQ(read(first), "template 092");
}

TEST_F(WorkCopy, CopiesHeldByAnotherProgramOrReadOnlyAreLeftAlone) {
  // 00 is locked by another program, 01 open in an office application, 02 read-only.
  for (const char* f : {"WLST_00.xlsx", "WLST_01.xlsx", "WLST_02.xlsx"}) write(work(f), std::string("kept ") + f);
  int fd = open(work("WLST_00.xlsx").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  struct flock lock{};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(fd, F_OFD_SETLK, &lock), 0);
  write(work(".~lock.WLST_01.xlsx#"), ",user,host,05.06.2024 10:00,");
  fs::permissions(work("WLST_02.xlsx"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(copy(), work("WLST_03.xlsx"));
  for (const char* f : {"WLST_00.xlsx", "WLST_01.xlsx", "WLST_02.xlsx"})
    EXPECT_EQ(read(work(f)), std::string("kept ") + f);
  close(fd);
}

TEST_F(WorkCopy, NeverReplacesTheTemplateItself) {
  // Templates and work copies in one folder, and a template that happens to be named like a copy.
  ctx_.ext().work_dir = ctx_.ext().template_dir;
  write(root_ / "mzxls" / "WLST_00.xlsx", "a template");
  EXPECT_EQ(copy("WLST_00"), (root_ / "mzxls" / "WLST_01.xlsx").string());
  EXPECT_EQ(read(root_ / "mzxls" / "WLST_00.xlsx"), "a template");
}

TEST_F(WorkCopy, ConcurrentProcessesNeverShareACopy) {
  constexpr int kProcesses = 6;
  int start[2], results[2], finish[2];
  ASSERT_EQ(pipe(start), 0);
  ASSERT_EQ(pipe(results), 0);
  ASSERT_EQ(pipe(finish), 0);
  // An earlier run left a stale copy that any of them may take.
  write(work("WLST_00.xlsx"), "stale");
  std::vector<pid_t> children;
  for (int i = 0; i < kProcesses; ++i) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int fd : {start[1], results[0], finish[1]}) close(fd);
      char c, out[512] = {};
      while (::read(start[0], &c, 1) > 0) continue;
      ctx_.mopenx("HRDOC092", out, ".xlsx");
      if (::write(results[1], out, sizeof out) != static_cast<ssize_t>(sizeof out)) _exit(1);
      while (::read(finish[0], &c, 1) > 0) continue;  // hold the copy until every process has one
      _exit(0);
    }
    children.push_back(pid);
  }
  for (int fd : {start[0], results[1], finish[0], start[1]}) close(fd);  // closing start[1] starts them all
  std::set<std::string> paths;
  for (int i = 0; i < kProcesses; ++i) {
    char out[512];  // one atomic pipe write each
    ASSERT_EQ(::read(results[0], out, sizeof out), static_cast<ssize_t>(sizeof out));
    paths.insert(out);
  }
  close(finish[1]);
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  close(results[0]);
  EXPECT_EQ(paths.size(), static_cast<size_t>(kProcesses));
  for (const auto& p : paths) {
    EXPECT_EQ(p.rfind(work("WLST_"), 0), 0u) << p;
    EXPECT_EQ(read(p), "template 092") << p;
  }
}

TEST_F(WorkCopy, ConcurrentThreadsNeverShareACopy) {
  constexpr int kThreads = 4;
  std::vector<std::string> paths(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back([&, i] {
      char out[512] = {};
      if (ctx_.mopenx("HRDOC092", out, ".xlsx") == 0) paths[i] = out;
    });
  for (auto& t : threads) t.join();
  std::set<std::string> distinct(paths.begin(), paths.end());
  for (auto& p : paths) issued_.push_back(p);
  EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads));
  EXPECT_EQ(distinct.count(""), 0u);
}
