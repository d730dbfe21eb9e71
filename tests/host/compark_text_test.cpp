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
  EXPECT_EQ(ctx.getWriteMonthM(12, 1), utf8_to_cp1251("ДЕКАБРЯ"));
  EXPECT_EQ(ctx.getWriteMonthM(1, 0), utf8_to_cp1251("ЯНВАРЬ"));
  EXPECT_EQ(ctx.getWriteMonthM(5, 1), utf8_to_cp1251("МАЯ"));
  EXPECT_EQ(ctx.getWriteMonthM(13, 1), utf8_to_cp1251("ОШИБКА"));
  EXPECT_EQ(ctx.getWriteMonthM(0, 0), utf8_to_cp1251("ОШИБКА"));
  // Any form but 1 is the nominative.
  EXPECT_EQ(ctx.getWriteMonthM(3, 5), utf8_to_cp1251("МАРТ"));
  EXPECT_EQ(ctx.getWriteMonthM(3, '1'), utf8_to_cp1251("МАРТ"));
  EXPECT_EQ(ctx.getWriteMonth(hrdoc::text::encode_date(2024, 8, 31) + 0.9, 1), utf8_to_cp1251("АВГУСТА"));
  EXPECT_EQ(hrdoc::text::month_name(9, 0), "СЕНТЯБРЬ");
  EXPECT_EQ(hrdoc::text::month_name(2, 1), "ФЕВРАЛЯ");
}

TEST(Zahls, ThousandsTakeTheFeminineUnitsAndTheirOwnEndings) {
  EXPECT_EQ(zahls("1000"), "Одна тысяча ");
  EXPECT_EQ(zahls("2000"), "Две тысячи ");
  EXPECT_EQ(zahls("4000"), "Четыре тысячи ");
  EXPECT_EQ(zahls("5000"), "Пять тысяч ");
  EXPECT_EQ(zahls("11000"), "Одиннадцать тысяч ");
  EXPECT_EQ(zahls("12000"), "Двенадцать тысяч ");
  EXPECT_EQ(zahls("20000"), "Двадцать тысяч ");
  EXPECT_EQ(zahls("21000"), "Двадцать одна тысяча ");
  EXPECT_EQ(zahls("102000"), "Сто две тысячи ");
  EXPECT_EQ(zahls("100000"), "Сто тысяч ");
}

TEST(Zahls, EveryLargerScaleTakesOneFewAndManyEndings) {
  EXPECT_EQ(zahls("1000000"), "Один миллион ");
  EXPECT_EQ(zahls("2000000"), "Два миллиона ");
  EXPECT_EQ(zahls("5000000"), "Пять миллионов ");
  EXPECT_EQ(zahls("13000000"), "Тринадцать миллионов ");
  EXPECT_EQ(zahls("1000000000"), "Один миллиард ");
  EXPECT_EQ(zahls("3000000000"), "Три миллиарда ");
  EXPECT_EQ(zahls("11000000000"), "Одиннадцать миллиардов ");
  EXPECT_EQ(zahls("1000000000000"), "Один триллион ");
  EXPECT_EQ(zahls("104000000000000"), "Сто четыре триллиона ");
  EXPECT_EQ(zahls("600000000000000"), "Шестьсот триллионов ");
  EXPECT_EQ(zahls("1000000000000000"), "Один квадриллион ");
  EXPECT_EQ(zahls("22000000000000000"), "Двадцать два квадриллиона ");
  EXPECT_EQ(zahls("315000000000000000"), "Триста пятнадцать квадриллионов ");
}

TEST(Zahls, EmptyGroupsWriteNoScaleWord) {
  EXPECT_EQ(zahls("1001000"), "Один миллион одна тысяча ");
  EXPECT_EQ(zahls("1000001"), "Один миллион один ");
  EXPECT_EQ(zahls("2000000000002"), "Два триллиона два ");
  EXPECT_EQ(zahls("999999999999999999"),
            "Девятьсот девяносто девять квадриллионов девятьсот девяносто девять триллионов "
            "девятьсот девяносто девять миллиардов девятьсот девяносто девять миллионов "
            "девятьсот девяносто девять тысяч девятьсот девяносто девять ");
}

TEST(Zahls, TheFirstPositionTakesTheCapitalEvenWhenItWritesNothing) {
  EXPECT_EQ(zahls("7"), "Семь ");
  EXPECT_EQ(zahls("115"), "Сто пятнадцать ");
  EXPECT_EQ(zahls("0100"), "сто ");
  EXPECT_EQ(zahls("-5"), "минус пять ");
  EXPECT_EQ(zahls("-1000"), "минус одна тысяча ");
  EXPECT_EQ(zahls("0"), "");
  EXPECT_EQ(zahls(""), "");
}

TEST(Zahls, RejectsMoreThanEighteenCharactersAndWritesNoTerminator) {
  compark ctx;
  char buf[300];
  std::memset(buf, 'X', sizeof buf);
  EXPECT_EQ(ctx.zahls("1000000000000000000", buf), -1);
  EXPECT_EQ(buf[0], 'X');
  int n = ctx.zahls("21", buf);
  EXPECT_EQ(n, static_cast<int>(utf8_to_cp1251("Двадцать один ").size()));
  EXPECT_EQ(buf[n], 'X');
}

TEST(Summa, KopecksAndZeroRubles) {
  compark ctx;
  char buf[300];
  std::memset(buf, 'X', sizeof buf);
  ASSERT_EQ(ctx.summa(0.5, buf), 22);
  EXPECT_EQ(std::string(buf, 23), utf8_to_cp1251("Ноль рублей 50 копеек ") + '\0');
  EXPECT_EQ(buf[23], 'X');
  EXPECT_EQ(summa(0), "Ноль рублей 00 копеек ");
  EXPECT_EQ(summa(0.01), "Ноль рублей 01 копейка");
  EXPECT_EQ(summa(0.11), "Ноль рублей 11 копеек ");
  EXPECT_EQ(summa(0.22), "Ноль рублей 22 копейки");
  EXPECT_EQ(summa(0.21), "Ноль рублей 21 копейка");
}

TEST(Summa, RubleWordFollowsTheLastTwoDigits) {
  EXPECT_EQ(summa(1.01), "Один рубль  01 копейка");
  EXPECT_EQ(summa(21), "Двадцать один рубль  00 копеек ");
  EXPECT_EQ(summa(11.11), "Одиннадцать pублей 11 копеек ");
  EXPECT_EQ(summa(3.04), "Три рубля  04 копейки");
  EXPECT_EQ(summa(1000.02), "Одна тысяча pублей 02 копейки");
  EXPECT_EQ(summa(112), "Сто двенадцать pублей 00 копеек ");
  EXPECT_EQ(summa(2000001), "Два миллиона один рубль  00 копеек ");
}

TEST(Summa, TheManyFormKeepsItsLatinP) {
  compark ctx;
  char buf[300];
  int n = ctx.summa(5, buf);
  // "Пять " is 5 bytes; the length is the zahls length + 17.
  ASSERT_EQ(n, 22);
  EXPECT_EQ(buf[5], 'p');
  EXPECT_EQ(static_cast<unsigned char>(buf[6]), 0xF3);  // у
  EXPECT_EQ(static_cast<unsigned char>(buf[0]), 0xCF);  // П
}

TEST(Summa, RejectsNegativeNonNumericAndTooLargeAmountsWithoutWriting) {
  compark ctx;
  char buf[300];
  std::memset(buf, 'X', sizeof buf);
  EXPECT_EQ(ctx.summa(-0.01, buf), -1);
  EXPECT_EQ(ctx.summa(NAN, buf), -1);
  EXPECT_EQ(ctx.summa(INFINITY, buf), -1);
  EXPECT_EQ(ctx.summa(1e18, buf), -1);
  EXPECT_EQ(buf[0], 'X');
  EXPECT_GT(ctx.summa(9.99e17, buf), 0);
  EXPECT_THROW(hrdoc::text::amount_in_words(-1), std::invalid_argument);
  EXPECT_EQ(hrdoc::text::amount_in_words(21), "Двадцать один рубль  00 копеек ");
  EXPECT_EQ(hrdoc::text::number_in_words("2001"), "Две тысячи один ");
  EXPECT_THROW(hrdoc::text::number_in_words("1234567890123456789"), std::invalid_argument);
}

TEST(Rounding, HalfAwayFromZeroThroughText) {
  compark ctx;
  double v = 2.675;
  ctx.rndd(&v, 2);
  EXPECT_EQ(v, 2.68);
  v = -2.675;
  ctx.rndd(&v, 2);
  EXPECT_EQ(v, -2.68);
  v = 1.005;
  ctx.rndd(&v, 2);
  EXPECT_EQ(v, 1.01);
  v = 2.5;
  ctx.rndd(&v, 0);
  EXPECT_EQ(v, 3);
  v = 1234.5678;
  ctx.rndd(&v, 3);
  EXPECT_EQ(v, 1234.568);
  v = NAN;
  ctx.rndd(&v, 2);
  EXPECT_TRUE(std::isnan(v));
}

TEST(Rounding, TextWithoutBlanksAndParsingBack) {
  compark ctx;
  char buf[64];
  ctx.ldsd(buf, 2.675, 2);
  EXPECT_STREQ(buf, "2.68");
  ctx.ldsd(buf, -7, 3);
  EXPECT_STREQ(buf, "-7.000");
  ctx.ldsd(buf, 0.5, 0);
  EXPECT_STREQ(buf, "1");
  EXPECT_EQ(hrdoc::text::rounded_text(-0.125, 2), "-0.13");
  double v = 1;
  ctx.sldd("", &v);
  EXPECT_EQ(v, 0);
  ctx.sldd("12.5 руб", &v);
  EXPECT_EQ(v, 12.5);
  ctx.sldd("руб", &v);
  EXPECT_EQ(v, 0);
}

TEST(Rounding, DzeroHasAHalfCentDeadZone) {
  compark ctx;
  EXPECT_EQ(ctx.dzero(0.0049), 1);
  EXPECT_EQ(ctx.dzero(-0.0049), -1);
  EXPECT_EQ(ctx.dzero(0.00489), 0);
  EXPECT_EQ(ctx.dzero(-0.00489), 0);
  EXPECT_EQ(ctx.dzero(NAN), 0);
  EXPECT_EQ(ctx.dzero(-1e300), -1);
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
    char tmpl[] = "/tmp/hrdoc_mopenx_XXXXXX";
    root_ = mkdtemp(tmpl);
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
    fs::remove_all(root_, ec);
  }
  static void write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }
  static std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
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

  fs::path root_;
  compark ctx_;
  std::vector<std::string> issued_;
};

TEST_F(WorkCopy, CopiesTheTemplateIntoTheFirstFreeNumber) {
  EXPECT_EQ(copy(), work("WLST_00.xlsx"));
  EXPECT_EQ(read(work("WLST_00.xlsx")), "template 092");
  EXPECT_EQ(read(root_ / "mzxls" / "HRDOC092.xlsx"), "template 092");
}

TEST_F(WorkCopy, ANullExtensionMeansXls) {
  write(root_ / "mzxls" / "hrdoc031.xls", "old format");
  EXPECT_EQ(copy("hrdoc031", nullptr), work("WLST_00.xls"));
  EXPECT_EQ(read(work("WLST_00.xls")), "old format");
}

TEST_F(WorkCopy, AMissingOrEmptyTemplateGivesMinusOneAndNoCopy) {
  EXPECT_EQ(copy("HRDOC999"), "");
  write(root_ / "mzxls" / "EMPTY.xlsx", "");
  EXPECT_EQ(copy("EMPTY"), "");
  EXPECT_FALSE(fs::exists(work("WLST_00.xlsx")));
  ctx_.ext().work_dir = (root_ / "nowhere").string() + "/";
  EXPECT_EQ(copy(), "");
}

TEST_F(WorkCopy, ACopyInUseKeepsItsNumberUntilReleased) {
  std::string first = copy();
  std::string second = copy();
  EXPECT_EQ(first, work("WLST_00.xlsx"));
  EXPECT_EQ(second, work("WLST_01.xlsx"));
  // Saving the document replaces the file; the number stays taken.
  fs::remove(first);
  write(first, "report being saved");
  EXPECT_EQ(copy(), work("WLST_02.xlsx"));
  hrdoc::host::release_work_copy(first);
  EXPECT_EQ(copy(), work("WLST_00.xlsx"));
  EXPECT_EQ(read(first), "template 092");
}

TEST_F(WorkCopy, AStaleCopyFromAnEarlierRunIsReplaced) {
  write(work("WLST_00.xlsx"), "yesterday's report");
  EXPECT_EQ(copy(), work("WLST_00.xlsx"));
  EXPECT_EQ(read(work("WLST_00.xlsx")), "template 092");
}

TEST_F(WorkCopy, ACopyHeldOpenByAnotherProgramIsLeftAlone) {
  write(work("WLST_00.xlsx"), "open in another program");
  int fd = open(work("WLST_00.xlsx").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  struct flock lock{};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  ASSERT_EQ(fcntl(fd, F_OFD_SETLK, &lock), 0);
  EXPECT_EQ(copy(), work("WLST_01.xlsx"));
  EXPECT_EQ(read(work("WLST_00.xlsx")), "open in another program");
  close(fd);
}

TEST_F(WorkCopy, ACopyOpenInAnOfficeApplicationIsLeftAlone) {
  write(work("WLST_00.xlsx"), "open in Calc");
  write(work(".~lock.WLST_00.xlsx#"), ",user,host,05.06.2024 10:00,");
  EXPECT_EQ(copy(), work("WLST_01.xlsx"));
  EXPECT_EQ(read(work("WLST_00.xlsx")), "open in Calc");
}

TEST_F(WorkCopy, AReadOnlyCopyIsLeftAlone) {
  write(work("WLST_00.xlsx"), "kept");
  fs::permissions(work("WLST_00.xlsx"), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(copy(), work("WLST_01.xlsx"));
  EXPECT_EQ(read(work("WLST_00.xlsx")), "kept");
}

TEST_F(WorkCopy, NeverReplacesTheTemplateItself) {
  // Templates and work copies in one folder, and a template that happens to be named like a copy.
  ctx_.ext().work_dir = ctx_.ext().template_dir;
  write(root_ / "mzxls" / "WLST_00.xlsx", "a template");
  char out[4096];
  ASSERT_EQ(ctx_.mopenx("WLST_00", out, ".xlsx"), 0);
  issued_.push_back(out);
  EXPECT_EQ(std::string(out), (root_ / "mzxls" / "WLST_01.xlsx").string());
  EXPECT_EQ(read(root_ / "mzxls" / "WLST_00.xlsx"), "a template");
}

TEST_F(WorkCopy, GivesUpAfterNinetyNineNumbers) {
  for (int j = 0; j <= 98; ++j) {
    char name[32];
    std::snprintf(name, sizeof name, "WLST_%02d.xlsx", j);
    write(work(name), "kept");
    fs::permissions(work(name), fs::perms::owner_read);
  }
  EXPECT_EQ(copy(), "");
  EXPECT_FALSE(fs::exists(work("WLST_99.xlsx")));
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
      close(start[1]);
      close(results[0]);
      close(finish[1]);
      char c;
      while (::read(start[0], &c, 1) > 0) {
      }
      char out[512] = {};
      ctx_.mopenx("HRDOC092", out, ".xlsx");
      ssize_t ignored = ::write(results[1], out, sizeof out);
      (void)ignored;
      // Hold the copy until every process has one.
      while (::read(finish[0], &c, 1) > 0) {
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  close(start[0]);
  close(results[1]);
  close(finish[0]);
  close(start[1]);  // all start at once
  std::set<std::string> paths;
  for (int i = 0; i < kProcesses; ++i) {
    char out[512];
    size_t got = 0;
    while (got < sizeof out) {
      ssize_t n = ::read(results[0], out + got, sizeof out - got);
      ASSERT_GT(n, 0);
      got += static_cast<size_t>(n);
    }
    EXPECT_NE(out[0], '\0');
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
