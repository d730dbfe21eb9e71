// Month names, amounts and numbers in words, decimal rounding through text, and the numbered
// work copies of report templates. The compark members write Windows-1251 bytes into the
// caller's buffers; compark_text.h gives the same results in UTF-8.
#include "host/compark_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>

#include "host/compark.h"
#include "host/output.h"
#include "text/codepage.h"
#include "text/date.h"
#include "ui/stop.h"

namespace {

// The word tables in Windows-1251, converted once from the UTF-8 below. Index [1] of a
// pair is the capital form used for the first word written.
struct Words {
  std::string hundreds[2][10], tens[2][10], teens[2][10], units[2][10], units_fem[2][3];
  // Per scale (thousands, millions, billions, trillions, quadrillions): the forms for a
  // group ending in 1, in 2..4, and in anything else (teens included).
  std::string scale[5][3];
  std::string minus;
  std::string ruble[3];  // "рубль  ", "рубля  ", "pублей " (Latin p), 7 bytes each
  std::string zero_rubles;
  std::string kopeck[3];  // " копейка", " копейки", " копеек ", 8 bytes each
  std::string months[2][13];
};

std::string cp(const char* utf8) { return hrdoc::text::utf8_to_cp1251(utf8); }

// Lower-case Cyrillic letters of Windows-1251 (0xE0..0xFF) have their capitals 0x20 below.
std::string capital(std::string s) {
  auto c = static_cast<unsigned char>(s[0]);
  if (c >= 0xE0) s[0] = static_cast<char>(c - 0x20);
  return s;
}

void fill(std::string (&pair)[2][10], std::initializer_list<const char*> words, int first) {
  int d = first;
  for (const char* w : words) {
    pair[0][d] = cp(w);
    pair[1][d] = capital(pair[0][d]);
    ++d;
  }
}

Words make_words() {
  Words w;
  fill(w.hundreds, {"сто ", "двести ", "триста ", "четыреста ", "пятьсот ", "шестьсот ", "семьсот ",
                    "восемьсот ", "девятьсот "}, 1);
  fill(w.tens, {"двадцать ", "тридцать ", "сорок ", "пятьдесят ", "шестьдесят ", "семьдесят ",
                "восемьдесят ", "девяносто "}, 2);
  fill(w.teens, {"десять ", "одиннадцать ", "двенадцать ", "тринадцать ", "четырнадцать ",
                 "пятнадцать ", "шестнадцать ", "семнадцать ", "восемнадцать ", "девятнадцать "}, 0);
  fill(w.units, {"один ", "два ", "три ", "четыре ", "пять ", "шесть ", "семь ", "восемь ", "девять "}, 1);
  w.units_fem[0][1] = cp("одна ");
  w.units_fem[0][2] = cp("две ");
  w.units_fem[1][1] = capital(w.units_fem[0][1]);
  w.units_fem[1][2] = capital(w.units_fem[0][2]);

  const std::string thousand = cp("тысяч");
  w.scale[0][0] = thousand + cp("а ");
  w.scale[0][1] = thousand + cp("и ");
  w.scale[0][2] = thousand + " ";
  const char* big[] = {"миллион", "миллиард", "триллион", "квадриллион"};
  for (int k = 1; k < 5; ++k) {
    std::string base = cp(big[k - 1]);
    w.scale[k][0] = base + " ";
    w.scale[k][1] = base + cp("а ");
    w.scale[k][2] = base + cp("ов ");
  }
  w.minus = cp("минус ");
  w.ruble[0] = cp("рубль  ");
  w.ruble[1] = cp("рубля  ");
  w.ruble[2] = cp("pублей ");
  w.zero_rubles = cp("Ноль рублей ");
  w.kopeck[0] = cp(" копейка");
  w.kopeck[1] = cp(" копейки");
  w.kopeck[2] = cp(" копеек ");

  const char* nominative[] = {"ЯНВАРЬ", "ФЕВРАЛЬ", "МАРТ",    "АПРЕЛЬ",  "МАЙ",    "ИЮНЬ",    "ИЮЛЬ",
                              "АВГУСТ", "СЕНТЯБРЬ", "ОКТЯБРЬ", "НОЯБРЬ", "ДЕКАБРЬ", "ОШИБКА"};
  const char* genitive[] = {"ЯНВАРЯ",  "ФЕВРАЛЯ",  "МАРТА",   "АПРЕЛЯ", "МАЯ",     "ИЮНЯ",  "ИЮЛЯ",
                            "АВГУСТА", "СЕНТЯБРЯ", "ОКТЯБРЯ", "НОЯБРЯ", "ДЕКАБРЯ", "ОШИБКА"};
  for (int m = 0; m < 13; ++m) {
    w.months[0][m] = cp(nominative[m]);
    w.months[1][m] = cp(genitive[m]);
  }
  return w;
}

const Words& words() {
  static const Words w = make_words();
  return w;
}

// 0 for "one", 1 for "few", 2 for "many" by the last two digits of a count.
int form_of(int units, int tens) {
  if (tens == 1) return 2;
  if (units == 1) return 0;
  if (units >= 2 && units <= 4) return 1;
  return 2;
}

const std::string& month_cp1251(int month, int form) {
  int row = form == 1 ? 1 : 0;
  return words().months[row][month >= 1 && month <= 12 ? month - 1 : 12];
}

// Writes the words of a whole number; the longest result (17 digits after a sign, or 18
// digits) is well below 250 bytes. Returns the bytes written, or -1 for more than 18
// characters. No terminating zero.
int write_number(const char* digits, char* out) {
  if (!digits || !out) return -1;
  const size_t n = strnlen(digits, 19);
  if (n > 18) return -1;
  const Words& w = words();
  size_t pos = 0;
  auto put = [&](const std::string& s) {
    std::memcpy(out + pos, s.data(), s.size());
    pos += s.size();
  };
  // Anything but a digit, and any position outside the text, reads as 0.
  auto digit = [&](ptrdiff_t i) -> int {
    if (i < 0 || i >= static_cast<ptrdiff_t>(n)) return 0;
    char c = digits[i];
    return c >= '0' && c <= '9' ? c - '0' : 0;
  };

  for (size_t i = 0; i < n; ++i) {
    const int cap = i == 0 ? 1 : 0;
    if (i == 0 && digits[0] == '-') {
      put(w.minus);
      continue;
    }
    size_t r = n - i;  // 1 = units
    const int d = digit(static_cast<ptrdiff_t>(i));
    if (r % 3 == 0) {
      if (d) put(w.hundreds[cap][d]);
    } else if (r % 3 == 2) {
      if (d == 1) {
        // A teen takes the units digit with it.
        ++i;
        --r;
        put(w.teens[cap][digit(static_cast<ptrdiff_t>(i))]);
      } else if (d) {
        put(w.tens[cap][d]);
      }
    } else if (d) {
      put(r == 4 && d <= 2 ? w.units_fem[cap][d] : w.units[cap][d]);
    }
    if (r % 3 == 1 && r >= 4) {
      const auto at = static_cast<ptrdiff_t>(n - r);
      const int u = digit(at), t = digit(at - 1), h = digit(at - 2);
      if (u || t || h) put(w.scale[(r - 4) / 3][form_of(u, t)]);
    }
  }
  return static_cast<int>(pos);
}

int write_amount(double amount, char* out) {
  if (!out) return -1;
  if (!(amount >= 0) || amount > 9.99e17) return -1;
  const Words& w = words();
  char text[25];
  std::snprintf(text, sizeof text, "%.2lf", amount);
  const size_t len = std::strlen(text);
  int k;
  if (amount < 1.0) {
    std::memcpy(out, w.zero_rubles.data(), w.zero_rubles.size());
    k = static_cast<int>(w.zero_rubles.size());
  } else {
    char integer[24] = {};
    std::memcpy(integer, text, len - 3);
    k = write_number(integer, out) + 7;
    const size_t digits = len - 3;
    const int u = integer[digits - 1] - '0';
    const int t = digits >= 2 ? integer[digits - 2] - '0' : 0;
    std::memcpy(out + k - 7, w.ruble[form_of(u, t)].data(), 7);
  }
  std::memcpy(out + k, text + len - 2, 2);
  const std::string& word = w.kopeck[form_of(text[len - 1] - '0', text[len - 2] - '0')];
  std::memcpy(out + k + 2, word.data(), 8);
  out[k + 10] = '\0';
  return k + 10;
}

int sign_of(double value) {
  if (value >= 0.0049) return 1;
  if (value <= -0.0049) return -1;
  return 0;
}

// Rounds half away from zero: a value whose next digit is exactly 5 is pushed past the half
// by a millionth of the last decimal before printing, so 2.675 (stored as 2.67499...) gives
// 2.68.
std::string round_text(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 20);
  double e = 0.001;
  for (int i = 0; i < decimals + 1; ++i) e *= 0.1;
  char format[32];
  std::snprintf(format, sizeof format, "%%%d.%df", decimals + 12, decimals);
  const double pushed = value + sign_of(value) * e;
  int len = std::snprintf(nullptr, 0, format, pushed);
  std::string s(static_cast<size_t>(std::max(len, 0)), '\0');
  std::snprintf(s.data(), s.size() + 1, format, pushed);
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

double parse_decimal(const char* text) {
  double v = 0;
  if (!text || !*text || std::sscanf(text, "%lf", &v) != 1) return 0;
  return v;
}

// Work copies. Each number NN of a work folder is reserved by an open-file-description lock
// on byte NN of a lock file kept in that folder, taken before the copy is touched and held
// while the copy is in use. The lock belongs to the number, not to the file, so it still
// holds when the document is later saved under the same name as a new file.
struct Reserved {
  std::mutex mutex;
  std::map<std::string, int> lock_fds;  // work copy path -> descriptor holding its lock
};

Reserved& reserved() {
  static Reserved r;
  return r;
}

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// True when an existing file at path may be replaced: no other program has it open with a
// lock (an office application also leaves a ".~lock.<name>#" file beside it), it is not
// read-only and it is not the template itself; it is then removed.
bool free_slot(const std::string& dir, const std::string& file, const struct stat& source) {
  const std::string path = dir + file;
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) return false;
  if (st.st_dev == source.st_dev && st.st_ino == source.st_ino) return false;
  if (exists(dir + ".~lock." + file + "#")) return false;
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock probe{};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  bool locked = fcntl(fd, F_OFD_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
  close(fd);
  if (locked) return false;
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool copy_all(int from, int to) {
  char buf[65536];
  off_t offset = 0;
  for (;;) {
    ssize_t got = pread(from, buf, sizeof buf, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    offset += got;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = write(to, buf + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      done += put;
    }
  }
}

// Reports ask for "hrdoc310" as well as "HRDOC091": the file whose name matches ignoring the
// case of Latin letters, the exact name first.
std::string template_file(const std::string& dir, const std::string& file) {
  const std::string exact = dir + file;
  if (exists(exact)) return exact;
  auto lower = [](std::string t) {
    for (char& ch : t)
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return t;
  };
  const std::string wanted = lower(file);
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir.empty() ? "." : dir, ec))
    if (lower(entry.path().filename().string()) == wanted) return dir + entry.path().filename().string();
  return exact;
}

std::optional<std::string> make_work_copy(const std::string& template_dir, const std::string& work_dir,
                                          const char* name, const char* extension) {
  if (!name) return std::nullopt;
  const std::string ext = extension ? extension : ".xls";
  const std::string source = template_file(template_dir, name + ext);
  // The template is only ever read. Without O_NONBLOCK a FIFO in its place would hang the open;
  // it is refused below as not a regular file.
  int src = open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (src < 0) return std::nullopt;
  struct stat source_st;
  if (fstat(src, &source_st) != 0 || !S_ISREG(source_st.st_mode) || source_st.st_size == 0) {
    close(src);
    return std::nullopt;
  }
  std::optional<std::string> result;
  for (int j = 0; j <= 98 && !result; ++j) {
    int lock = hrdoc::host::open_slot_locks(work_dir, ext);
    if (lock < 0) break;
    char file[32];
    std::snprintf(file, sizeof file, "WLST_%2.2d", j);
    const std::string candidate_file = file + ext;
    const std::string candidate = work_dir + candidate_file;
    if (!hrdoc::host::lock_slot(lock, j) || !free_slot(work_dir, candidate_file, source_st)) {
      close(lock);
      continue;
    }
    int dst = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (dst < 0) {
      close(lock);
      // Another program put a file there after our check: try the next number.
      if (errno == EEXIST) continue;
      break;
    }
    bool copied = copy_all(src, dst);
    if (close(dst) != 0) copied = false;
    if (!copied) {
      unlink(candidate.c_str());
      close(lock);
      break;
    }
    Reserved& r = reserved();
    std::lock_guard<std::mutex> guard(r.mutex);
    auto [it, fresh] = r.lock_fds.emplace(candidate, lock);
    if (!fresh) {
      // A number released by this process and taken again.
      close(it->second);
      it->second = lock;
    }
    result = candidate;
    // Until the command finishes the copy is its unfinished output.
    hrdoc::ui::note_output(candidate);
  }
  close(src);
  return result;
}

}  // namespace

std::string compark::getWriteMonth(TDateTime date, char form) {
  return month_cp1251(hrdoc::text::decode_date(date).month, form);
}

std::string compark::getWriteMonthM(uint16_t month, char form) { return month_cp1251(month, form); }

int compark::summa(double amount, char* out) { return write_amount(amount, out); }

int compark::zahls(const char* digits, char* out) { return write_number(digits, out); }

void compark::ldsd(char* out, double value, int decimals) {
  if (!out) return;
  std::string s = round_text(value, decimals);
  std::memcpy(out, s.c_str(), s.size() + 1);
}

void compark::sldd(const char* text, double* value) {
  if (value) *value = parse_decimal(text);
}

void compark::rndd(double* value, int decimals) {
  if (!value || *value == 0 || !std::isfinite(*value)) return;
  *value = parse_decimal(round_text(*value, decimals).c_str());
}

int compark::dzero(double value) { return sign_of(value); }

int compark::mopenx(const char* name, char* out, const char* extension) {
  auto path = make_work_copy(ext().template_dir, ext().work_dir, name, extension);
  // Outside a report's run, the finished document is named after its template.
  if (path && ext().document_code.empty()) ext().document_code = name;
  if (!path) {
    if (out) out[0] = '\0';
    return -1;
  }
  if (out) std::memcpy(out, path->c_str(), path->size() + 1);
  return 0;
}

namespace hrdoc::text {

std::string month_name(int month, int form) { return cp1251_to_utf8(month_cp1251(month, form)); }

std::string amount_in_words(double amount) {
  char buf[256];
  int n = write_amount(amount, buf);
  if (n < 0)
    throw std::invalid_argument("Сумма " + std::to_string(amount) +
                                " не может быть записана прописью: она отрицательна или больше 9.99e17");
  return cp1251_to_utf8(std::string_view(buf, static_cast<size_t>(n)));
}

std::string number_in_words(std::string_view digits) {
  if (digits.size() > 18)
    throw std::invalid_argument("Число \"" + std::string(digits) +
                                "\" не может быть записано прописью: в нём больше 18 знаков");
  char text[19] = {};
  std::memcpy(text, digits.data(), digits.size());
  char buf[256];
  int n = write_number(text, buf);
  return cp1251_to_utf8(std::string_view(buf, static_cast<size_t>(n)));
}

std::string rounded_text(double value, int decimals) { return round_text(value, decimals); }

}  // namespace hrdoc::text

namespace hrdoc::host {

std::string template_path(const compark& ctx, const std::string& name, const std::string& extension) {
  return template_file(ctx.ext().template_dir, name + extension);
}

std::optional<std::string> open_work_copy(compark& ctx, const std::string& name, const std::string& extension) {
  auto path = make_work_copy(ctx.ext().template_dir, ctx.ext().work_dir, name.c_str(), extension.c_str());
  if (path && ctx.ext().document_code.empty()) ctx.ext().document_code = name;
  return path;
}

void release_work_copy(const std::string& path) {
  Reserved& r = reserved();
  std::lock_guard<std::mutex> guard(r.mutex);
  auto it = r.lock_fds.find(path);
  if (it == r.lock_fds.end()) return;
  close(it->second);
  r.lock_fds.erase(it);
}

}  // namespace hrdoc::host
