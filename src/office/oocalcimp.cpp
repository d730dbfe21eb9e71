#include "office/oocalcimp.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/XActionLockable.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/CellDeleteMode.hpp>
#include <com/sun/star/sheet/CellInsertMode.hpp>
#include <com/sun/star/sheet/TablePageBreakData.hpp>
#include <com/sun/star/sheet/XCellAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangeMovement.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetPageBreak.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/BorderLine.hpp>
#include <com/sun/star/table/CellAddress.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/TableSortField.hpp>
#include <com/sun/star/table/TableSortFieldType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XMergeable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/util/XSortable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include "office/office_host.h"
#include "ui/stop.h"

namespace hrdoc::office {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using css::uno::XComponentContext;
using css::uno::XInterface;
using rtl::OUString;

namespace {

constexpr const char* kProgram = "/usr/lib/libreoffice/program/soffice.bin";
constexpr const char* kFundamentalRc = "vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc";
constexpr int kDefaultStartSeconds = 60;
// soffice.bin asks for a restart with this code after it has set up a new user profile.
constexpr int kRestartCode = 81;

const char* const kCannotOpen =
    "Невозможно открыть Open Office.org Calc! Возможно этого приложения на компьютере не установлено.";

OUString ou(const std::string& s) {
  return rtl::OStringToOUString(rtl::OString(s.c_str(), static_cast<sal_Int32>(s.size())), RTL_TEXTENCODING_UTF8);
}

std::string str(const OUString& s) { return std::string(rtl::OUStringToOString(s, RTL_TEXTENCODING_UTF8).getStr()); }

css::beans::PropertyValue property(const char* name, const Any& value) {
  css::beans::PropertyValue p;
  p.Name = OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

// The office could not be started or reached.
struct OfficeStartError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Runs f, turning the office's exceptions into standard ones so callers see one kind of error.
template <class F>
auto uno_call(F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const css::uno::Exception& e) {
    std::string text = str(e.Message);
    throw std::runtime_error(text.empty() ? std::string("Ошибка LibreOffice") : "LibreOffice: " + text);
  }
}

int env_int(const char* name, int fallback) {
  const char* v = std::getenv(name);
  if (!v || !*v) return fallback;
  char* end = nullptr;
  long n = std::strtol(v, &end, 10);
  return end && *end == 0 && n > 0 && n < 3600 ? static_cast<int>(n) : fallback;
}

// The headless office of this process: started on first use with a private user profile, so
// runs and tests beside each other never share one, and closed at the end of the program.
class Office {
 public:
  static Office& instance() {
    static Office office;
    return office;
  }

  ~Office() { shutdown(); }

  Reference<XComponentContext> context() {
    std::lock_guard lock(mutex_);
    if (remote_.is() && !alive()) {
      // The office went away (it crashed or was killed): the next book gets a new one.
      pid_ = -1;
      remote_.clear();
      remove_profile();
    }
    if (!remote_.is()) start();
    return remote_;
  }

  void shutdown() noexcept {
    std::lock_guard lock(mutex_);
    if (remote_.is()) {
      // On a thread of its own, so an office that no longer answers cannot hold up the end.
      struct Done {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
      };
      auto done = std::make_shared<Done>();
      try {
        std::thread closer([done, remote = remote_] {
          terminate(remote);
          std::lock_guard g(done->m);
          done->done = true;
          done->cv.notify_all();
        });
        bool finished = false;
        {
          std::unique_lock g(done->m);
          finished = done->cv.wait_for(g, std::chrono::seconds(20), [&] { return done->done; });
        }
        if (!finished) {
          // Killing the office ends any call still waiting for it.
          stop_process(std::chrono::seconds(0));
          std::unique_lock g(done->m);
          finished = done->cv.wait_for(g, std::chrono::seconds(5), [&] { return done->done; });
        }
        if (finished)
          closer.join();
        else
          closer.detach();
      } catch (...) {
      }
      remote_.clear();
    }
    stop_process(std::chrono::seconds(10));
    remove_profile();
  }

 private:
  Office() = default;

  static void terminate(const Reference<XComponentContext>& remote) noexcept {
    try {
      auto desktop = css::frame::Desktop::create(remote);
      // Close the books first, so the office does not keep itself alive for them.
      auto components = desktop->getComponents()->createEnumeration();
      while (components->hasMoreElements()) {
        Reference<css::util::XCloseable> book(components->nextElement(), UNO_QUERY);
        try {
          if (book.is()) book->close(true);
        } catch (const css::uno::Exception&) {
        }
      }
      desktop->terminate();
    } catch (const css::uno::Exception&) {
      // The bridge goes away while terminate runs: that is the office ending.
    } catch (...) {
    }
  }

  void start() {
    const char* custom = std::getenv("HRDOC_SOFFICE");
    program_ = custom && *custom ? custom : kProgram;
    const int seconds = env_int("HRDOC_OFFICE_TIMEOUT", kDefaultStartSeconds);

    std::error_code ec;
    std::string base = std::filesystem::temp_directory_path(ec).string();
    if (ec || base.empty()) base = "/tmp";
    base += "/hrdoc-office-XXXXXX";
    std::vector<char> tmpl(base.begin(), base.end());
    tmpl.push_back(0);
    if (!mkdtemp(tmpl.data())) throw OfficeStartError("не удалось создать папку профиля " + base);
    profile_ = tmpl.data();
    static std::atomic<int> serial{0};
    pipe_ = "hrdoc_" + std::to_string(::getpid()) + "_" + std::to_string(++serial) + "_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    try {
      prepare_profile(deadline, seconds);
      spawn(true);
      if (!local_.is()) {
        rtl::Bootstrap::set("URE_BOOTSTRAP", OUString::createFromAscii(kFundamentalRc));
        local_ = uno_call([] { return cppu::defaultBootstrap_InitialComponentContext(); });
      }
      connect(deadline, seconds);
    } catch (const std::exception& e) {
      stop_process(std::chrono::seconds(0));
      remove_profile();
      throw OfficeStartError(e.what());
    }
    if (!hooked_) {
      // After the bridge is up, so this runs before the bridge's own statics go.
      std::atexit([] { Office::instance().shutdown(); });
      hooked_ = true;
    }
  }

  // A new profile makes the office restart itself once it has set the profile up. The first
  // instance may already be listening on the pipe by then, and a client that reached it loses
  // the office a moment later; so the profile is set up by a run of its own first.
  void prepare_profile(std::chrono::steady_clock::time_point deadline, int seconds) {
    for (int run = 0; run < 3; ++run) {
      spawn(false);
      int status = 0;
      for (;;) {
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_ || (r < 0 && errno == ECHILD)) break;
        if (ui::stop_requested()) {
          stop_process(std::chrono::seconds(0));
          throw ui::Stopped();
        }
        if (std::chrono::steady_clock::now() >= deadline) {
          stop_process(std::chrono::seconds(0));
          throw std::runtime_error("LibreOffice не ответил за " + std::to_string(seconds) + " с" + log_suffix());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      pid_ = -1;
      if (WIFEXITED(status) && WEXITSTATUS(status) == kRestartCode) continue;
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
      throw std::runtime_error(ended_text(status) + log_suffix());
    }
  }

  std::string ended_text(int status) const {
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return "не удалось запустить " + program_;
    return program_ + (WIFEXITED(status) ? " завершился с кодом " + std::to_string(WEXITSTATUS(status))
                                         : " завершился по сигналу " + std::to_string(WTERMSIG(status)));
  }

  std::string log_suffix() const {
    std::string tail = log_tail();
    return tail.empty() ? tail : ": " + tail;
  }

  void spawn(bool accept) {
    std::vector<std::string> args = {program_,     "-env:UserInstallation=file://" + profile_,
                                     "--headless", "--invisible",
                                     "--nologo",   "--norestore",
                                     "--nodefault", "--nolockcheck"};
    args.push_back(accept ? "--accept=pipe,name=" + pipe_ + ";urp;" : "--terminate_after_init");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string log = profile_ + "/soffice.log";
    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("не удалось запустить " + program_);
    if (pid == 0) {
      // The office dies with the thread that started it (the caller's), whatever way it ends, and
      // never holds our terminal or pipes.
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      // The host keeps the termination signals blocked for its own watcher; the office gets
      // them back, in a process group of its own so that Ctrl+C on the terminal reaches only
      // us and we decide what becomes of the office.
      sigset_t none;
      sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::setpgid(0, 0);
      int in = ::open("/dev/null", O_RDONLY);
      int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in >= 0) ::dup2(in, 0);
      if (out >= 0) {
        ::dup2(out, 1);
        ::dup2(out, 2);
      }
      for (int fd = 3; fd < 1024; ++fd) ::close(fd);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    pid_ = pid;
  }

  // Waits for the office to answer on its pipe, for at most `seconds`. The attempts run on a
  // thread of their own, so an office that hangs half-started cannot hang us.
  void connect(std::chrono::steady_clock::time_point deadline, int seconds) {
    struct State {
      std::mutex m;
      std::condition_variable cv;
      bool done = false;
      std::atomic<bool> stop{false};
      Reference<XComponentContext> context;
    };
    auto state = std::make_shared<State>();
    auto resolver = uno_call([&] { return css::bridge::UnoUrlResolver::create(local_); });
    const OUString url = ou("uno:pipe,name=" + pipe_ + ";urp;StarOffice.ComponentContext");
    std::thread worker([state, resolver, url] {
      while (!state->stop) {
        try {
          Reference<XComponentContext> c(resolver->resolve(url), UNO_QUERY);
          if (c.is()) {
            std::lock_guard g(state->m);
            state->context = c;
            state->done = true;
            state->cv.notify_all();
            return;
          }
        } catch (const css::uno::Exception&) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
      std::lock_guard g(state->m);
      state->done = true;
      state->cv.notify_all();
    });

    std::string failure;
    int restarts = 0;
    for (;;) {
      {
        std::unique_lock g(state->m);
        if (state->cv.wait_for(g, std::chrono::milliseconds(100), [&] { return state->done; })) break;
      }
      int status = 0;
      if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == kRestartCode && restarts < 3) {
          ++restarts;
          spawn(true);
          continue;
        }
        failure = ended_text(status);
        break;
      }
      if (ui::stop_requested()) {
        failure = ui::kStoppedText;
        break;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        failure = "LibreOffice не ответил за " + std::to_string(seconds) + " с";
        break;
      }
    }
    if (failure.empty()) {
      worker.join();
      remote_ = state->context;
      return;
    }
    state->stop = true;
    stop_process(std::chrono::seconds(0));
    // Killing the office breaks any attempt still waiting on its pipe; do not wait forever anyway.
    {
      std::unique_lock g(state->m);
      state->cv.wait_for(g, std::chrono::seconds(5), [&] { return state->done; });
    }
    if (state->done)
      worker.join();
    else
      worker.detach();
    throw std::runtime_error(failure + log_suffix());
  }

  // False once the office process has ended (reaped here, or by someone ignoring SIGCHLD).
  bool alive() {
    if (pid_ <= 0) return false;
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    return r == 0 || (r < 0 && errno != ECHILD);
  }

  std::string log_tail() const {
    std::ifstream in(profile_ + "/soffice.log");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!all.empty() && (all.back() == '\n' || all.back() == '\r')) all.pop_back();
    if (all.size() > 300) all = all.substr(all.size() - 300);
    return all;
  }

  void stop_process(std::chrono::seconds grace) noexcept {
    if (pid_ <= 0) return;
    const auto deadline = std::chrono::steady_clock::now() + grace;
    int status = 0;
    for (;;) {
      if (!alive()) {
        pid_ = -1;
        return;
      }
      if (std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

  void remove_profile() noexcept {
    if (profile_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(profile_, ec);
    profile_.clear();
  }

  std::mutex mutex_;
  std::string program_;
  std::string profile_;
  std::string pipe_;
  pid_t pid_ = -1;
  bool hooked_ = false;
  Reference<XComponentContext> local_;
  Reference<XComponentContext> remote_;
};

std::string lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The office's URL of a file: relative paths are taken from the current folder, and the
// characters a URL would read as its own ("%", "#", "?") are escaped before the usual conversion.
std::string url_of(const std::string& path) {
  std::string full = path;
  if (!full.empty() && full[0] != '/') {
    std::error_code ec;
    auto abs = std::filesystem::absolute(path, ec);
    if (!ec) full = abs.string();
  }
  std::string escaped;
  for (char c : full) {
    if (c == '%')
      escaped += "%25";
    else if (c == '#')
      escaped += "%23";
    else if (c == '?')
      escaped += "%3F";
    else
      escaped += c;
  }
  return FileNameToURL(escaped);
}

// Our documents are .xlsx; anything else goes out as Excel 97.
const char* filter_for(const std::string& path) {
  return ends_with(lower(path), ".xlsx") ? "Calc MS Excel 2007 XML" : "MS Excel 97";
}

// What deleting cells does with the rest, by the letter the office's own delete command takes
// for each shift direction: "U" cells up, "L" cells left, "R" whole rows; "D" means nothing to it.
css::sheet::CellDeleteMode delete_mode(int32_t shift) {
  switch (shift) {
    case xlShiftUp: return css::sheet::CellDeleteMode_UP;
    case xlShiftToLeft: return css::sheet::CellDeleteMode_LEFT;
    case xlShiftToRight: return css::sheet::CellDeleteMode_ROWS;
    default: return css::sheet::CellDeleteMode_NONE;
  }
}

Any to_any(const Variant& v) {
  if (v.empty()) return Any();
  if (v.is<double>() || v.is<int32_t>() || v.is<int16_t>() || v.is<bool>()) return Any(v.number());
  return Any(ou(v.text()));
}

Variant from_any(const Any& a) {
  double d = 0;
  OUString s;
  if (a >>= d) return Variant(d);
  if (a >>= s) return Variant(str(s));
  return Variant();
}

}  // namespace

// No ".uno:" commands are dispatched: after one, on a hidden book, the headless office aborts a
// moment later. Sheets are activated, rows deleted and hidden through the sheet interfaces.
struct TooCalcImp::Handles {
  Reference<XComponentContext> context;
  Reference<css::frame::XDesktop2> desktop;
  Reference<css::lang::XComponent> document;
  Reference<css::sheet::XSpreadsheets> sheets;
  Reference<css::sheet::XSpreadsheet> active;
  Reference<css::frame::XFrame> frame;
  Reference<css::frame::XController> controller;
};

namespace {

using Handles = TooCalcImp::Handles;

void require(const Handles& h) {
  if (!h.document.is()) throw std::runtime_error("Книга не открыта");
}

void select(const Handles& h, const Any& what) {
  Reference<css::view::XSelectionSupplier>(h.controller, UNO_QUERY_THROW)->select(what);
}

int sheet_index(const Reference<css::sheet::XSpreadsheet>& sh) {
  return Reference<css::sheet::XCellRangeAddressable>(sh, UNO_QUERY_THROW)->getRangeAddress().Sheet;
}

css::table::CellAddress first_cell(const Reference<css::table::XCellRange>& r) {
  return Reference<css::sheet::XCellAddressable>(r->getCellByPosition(0, 0), UNO_QUERY_THROW)->getCellAddress();
}

css::table::CellRangeAddress address_of(const Reference<css::table::XCellRange>& r) {
  return Reference<css::sheet::XCellRangeAddressable>(r, UNO_QUERY_THROW)->getRangeAddress();
}

Reference<css::beans::XPropertySet> props(const Reference<XInterface>& x) {
  return Reference<css::beans::XPropertySet>(x, UNO_QUERY_THROW);
}

void set_colour(const Reference<XInterface>& x, int32_t colour) {
  props(x)->setPropertyValue("CellBackColor", Any(static_cast<sal_Int32>(SwapRB(colour))));
}

int32_t get_colour(const Reference<XInterface>& x) {
  sal_Int32 c = -1;
  props(x)->getPropertyValue("CellBackColor") >>= c;
  return SwapRB(c);
}

// Copies a block onto a cell, inserting room for it first when asked; the block moves down
// with the insertion when it lies at or below the destination.
void copy_block(const Reference<css::sheet::XSpreadsheet>& sh, css::table::CellRangeAddress src,
                const css::table::CellAddress& dst, bool insert) {
  Reference<css::sheet::XCellRangeMovement> mover(sh, UNO_QUERY_THROW);
  if (insert) {
    css::table::CellRangeAddress area;
    area.Sheet = dst.Sheet;
    area.StartColumn = dst.Column;
    area.EndColumn = dst.Column + src.EndColumn - src.StartColumn;
    area.StartRow = dst.Row;
    area.EndRow = dst.Row + src.EndRow - src.StartRow;
    mover->insertCells(area, css::sheet::CellInsertMode_DOWN);
    if (dst.Sheet == src.Sheet && dst.Row <= src.StartRow) {
      const sal_Int32 height = src.EndRow - src.StartRow + 1;
      src.StartRow = src.EndRow + 1;
      src.EndRow += height;
    }
  }
  mover->copyRange(dst, src);
}

}  // namespace

TooCalcImp::TooCalcImp() : h_(std::make_unique<Handles>()) { origin = 1; }

TooCalcImp::~TooCalcImp() = default;

void TooCalcImp::show(const std::string& text) {
  OfficeHost().ShowError(text);
}

namespace {

Reference<css::sheet::XSpreadsheet> sheet_of(Handles& h, int origin, int sheet) {
  require(h);
  if (sheet == 0) {
    if (!h.active.is())
      h.active = Reference<css::sheet::XSpreadsheetView>(h.controller, UNO_QUERY_THROW)->getActiveSheet();
    return h.active;
  }
  Reference<css::container::XIndexAccess> all(h.sheets, UNO_QUERY_THROW);
  const int n = sheet - origin;
  if (n < 0 || n >= all->getCount()) throw std::out_of_range("В книге нет листа с номером " + std::to_string(sheet));
  return Reference<css::sheet::XSpreadsheet>(all->getByIndex(n), UNO_QUERY_THROW);
}

Reference<css::table::XCell> cell_of(Handles& h, int origin, int row, int col, int sheet) {
  return sheet_of(h, origin, sheet)->getCellByPosition(col - origin, row - origin);
}

}  // namespace

#define SH(n) sheet_of(*h_, origin, (n))

void TooCalcImp::load(const std::string& url, bool visible, bool template_book, const std::string& fileName) {
  h_->context = Office::instance().context();
  h_->desktop = css::frame::Desktop::create(h_->context);
  // Always hidden: there is no display, and the headless office aborts on visible books.
  Sequence<css::beans::PropertyValue> args(1);
  args[0] = property("Hidden", Any(true));
  Reference<css::lang::XComponent> doc;
  try {
    doc = h_->desktop->loadComponentFromURL(ou(url), "_blank", 0, args);
  } catch (const css::uno::Exception&) {
    if (!template_book) throw;
  }
  if (!doc.is() || !Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY).is()) {
    if (template_book) {
      show("Не найден шаблон: ''" + fileName + "'' необходимый для работы данной формы");
      throw std::runtime_error("");
    }
    throw std::runtime_error("LibreOffice не создал книгу");
  }
  h_->document = doc;
  h_->sheets = Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY_THROW)->getSheets();
  h_->controller = Reference<css::frame::XModel>(doc, UNO_QUERY_THROW)->getCurrentController();
  h_->frame = h_->controller->getFrame();
  h_->active.clear();
  app = Variant(std::string("com.sun.star.ServiceManager"));
}

void TooCalcImp::NewBook(bool visible) {
  try {
    try {
      uno_call([&] { load("private:factory/scalc", visible, false, std::string()); });
      path_.clear();
      shown_path_.clear();
      SelectSheet(1);
      SetVisible(visible);
    } catch (const std::exception& e) {
      throw std::runtime_error(std::string("Не удалось создать новую книгу OO Calc.\r\nОписание: ") + e.what());
    }
  } catch (const std::exception& e) {
    show(std::string(kCannotOpen) + "\r\nОписание: " + e.what());
    Disconnect();
  }
}

void TooCalcImp::OpenBook(const std::string& fileName, bool visible) {
  try {
    uno_call([&] { load(url_of(fileName), visible, true, fileName); });
    path_ = fileName;
    shown_path_.clear();
    SelectSheet(1);
    SetVisible(visible);
  } catch (const OfficeStartError& e) {
    // Say why the office did not come up, so the machine can be put right.
    show(std::string(kCannotOpen) + "\r\nОписание: " + e.what());
    Disconnect();
  } catch (const std::exception&) {
    show(kCannotOpen);
    Disconnect();
  }
}

void TooCalcImp::SelectSheet(int n) {
  uno_call([&] {
    require(*h_);
    const int count = Reference<css::container::XIndexAccess>(h_->sheets, UNO_QUERY_THROW)->getCount();
    if (n < 1 || n > count) throw std::out_of_range("Неверный номер листа: " + std::to_string(n));
    Reference<css::sheet::XSpreadsheetView> view(h_->controller, UNO_QUERY_THROW);
    view->setActiveSheet(Reference<css::sheet::XSpreadsheet>(
        Reference<css::container::XIndexAccess>(h_->sheets, UNO_QUERY_THROW)->getByIndex(n - 1), UNO_QUERY_THROW));
    h_->active = view->getActiveSheet();
  });
}

void TooCalcImp::SelectCell(int row, int col) {
  uno_call([&] { select(*h_, Any(SH(0)->getCellByPosition(col - origin, row - origin))); });
}

Variant TooCalcImp::GetCell(TValueKind kind, int row, int col, int sheet) {
  return uno_call([&] {
    auto cell = cell_of(*h_, origin, row, col, sheet);
    switch (kind) {
      case vkValue: return Variant(cell->getValue());
      case vkFormula: return Variant(str(cell->getFormula()));
      default: return Variant(str(Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->getString()));
    }
  });
}

Variant TooCalcImp::GetRange(TValueKind kind, const std::string& name, int sheet) {
  return uno_call([&] {
    auto range = SH(sheet)->getCellRangeByName(ou(name));
    auto a = address_of(range);
    if (a.StartRow == a.EndRow && a.StartColumn == a.EndColumn)
      return GetCell(kind, a.StartRow + origin, a.StartColumn + origin, sheet);
    return Variant(std::make_shared<VariantArray>(
        GetRangeData(a.StartRow + origin, a.StartColumn + origin, a.EndRow + origin, a.EndColumn + origin, sheet)));
  });
}

void TooCalcImp::SetCell(TValueKind kind, int row, int col, const Variant& value, int sheet) {
  uno_call([&] {
    auto cell = cell_of(*h_, origin, row, col, sheet);
    switch (kind) {
      case vkValue: cell->setValue(value.number()); break;
      case vkFormula: cell->setFormula(ou(value.text())); break;
      default: Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->setString(ou(value.text())); break;
    }
  });
}

void TooCalcImp::SetRange(TValueKind kind, const std::string& name, const Variant& value, int sheet) {
  uno_call([&] {
    auto a = address_of(SH(sheet)->getCellRangeByName(ou(name)));
    if (value.is<std::shared_ptr<VariantArray>>()) {
      SetRangeData(a.StartRow + origin, a.StartColumn + origin, a.EndRow + origin, a.EndColumn + origin,
                   *value.get<std::shared_ptr<VariantArray>>(), sheet);
      return;
    }
    for (int r = a.StartRow; r <= a.EndRow; ++r)
      for (int c = a.StartColumn; c <= a.EndColumn; ++c) SetCell(kind, r + origin, c + origin, value, sheet);
  });
}

namespace {

// A range given as a reference or an A1-style name, as the application's address.
css::table::CellRangeAddress range_address(Handles& h, int origin, const Variant& v, int sheet) {
  if (v.is<RangeRef>()) {
    const RangeRef& r = v.get<RangeRef>();
    css::table::CellRangeAddress a;
    a.Sheet = static_cast<sal_Int16>(sheet_index(sheet_of(h, origin, r.sheet ? r.sheet : sheet)));
    a.StartColumn = r.col1 - origin;
    a.StartRow = r.row1 - origin;
    a.EndColumn = r.col2 - origin;
    a.EndRow = r.row2 - origin;
    return a;
  }
  if (v.is<std::string>()) return address_of(sheet_of(h, origin, sheet)->getCellRangeByName(ou(v.get<std::string>())));
  throw std::invalid_argument("Ожидался диапазон ячеек");
}

Reference<css::table::XCellRange> range_object(Handles& h, int origin, const Variant& v) {
  auto a = range_address(h, origin, v, 0);
  Reference<css::container::XIndexAccess> all(h.sheets, UNO_QUERY_THROW);
  Reference<css::table::XCellRange> sh(all->getByIndex(a.Sheet), UNO_QUERY_THROW);
  return sh->getCellRangeByPosition(a.StartColumn, a.StartRow, a.EndColumn, a.EndRow);
}

}  // namespace

void TooCalcImp::SetBorders(const Variant& range, uint8_t edges, int8_t weight, int32_t colour, bool) {
  uno_call([&] {
    auto r = props(range_object(*h_, origin, range));
    css::table::BorderLine line;
    line.Color = SwapRB(colour);
    line.LineDistance = 0;
    line.InnerLineWidth = line.OuterLineWidth = edges == 0 ? 0 : weight;
    const bool all = edges == 0 || (edges & beAll);
    if (all || (edges & beTop)) r->setPropertyValue("TopBorder", Any(line));
    if (all || (edges & beBottom)) r->setPropertyValue("BottomBorder", Any(line));
    if (all || (edges & beLeft)) r->setPropertyValue("LeftBorder", Any(line));
    if (all || (edges & beRight)) r->setPropertyValue("RightBorder", Any(line));
  });
}

void TooCalcImp::CopyRange(const Variant& source, const Variant& destination, bool insert, int32_t, int sheet) {
  uno_call([&] {
    auto sh = SH(sheet);
    auto src = range_address(*h_, origin, source, sheet);
    auto d = range_address(*h_, origin, destination, sheet);
    css::table::CellAddress dst;
    dst.Sheet = d.Sheet;
    dst.Column = d.StartColumn;
    dst.Row = d.StartRow;
    copy_block(sh, src, dst, insert);
  });
}

void TooCalcImp::CopyRangeByName(const std::string& source, const std::string& destination, bool insert, int32_t,
                                 int sheet) {
  uno_call([&] {
    auto sh = SH(sheet);
    auto src = address_of(sh->getCellRangeByName(ou(source)));
    auto dst = first_cell(sh->getCellRangeByName(ou(destination)));
    copy_block(sh, src, dst, insert);
  });
}

void TooCalcImp::CopyRows(int first, int last, int destination, bool insert, int sheet) {
  uno_call([&] {
    auto sh = SH(sheet);
    const int f = first - origin, l = last - origin, d = destination - origin;
    if (!insert) {
      Reference<css::util::XMergeable> block(sh->getCellRangeByPosition(0, d, 255, d + (l - f)), UNO_QUERY_THROW);
      if (block->getIsMerged()) block->merge(false);
    } else {
      Reference<css::table::XColumnRowRange>(sh, UNO_QUERY_THROW)->getRows()->insertByIndex(d, l - f + 1);
    }
    // Rows inserted at or above the source push it down.
    const int shift = insert && d <= f ? l - f + 1 : 0;
    auto dst = first_cell(sh->getCellRangeByPosition(0, d, 0, d));
    auto src = address_of(sh->getCellRangeByPosition(0, f + shift, 255, l + shift));
    Reference<css::sheet::XCellRangeMovement>(sh, UNO_QUERY_THROW)->copyRange(dst, src);
  });
}

void TooCalcImp::CopyColumns(int first, int last, int destination, bool insert, int sheet) {
  uno_call([&] {
    auto sh = SH(sheet);
    const int f = first - origin, l = last - origin, d = destination - origin, bottom = maxRow;
    if (!insert) {
      Reference<css::util::XMergeable> block(sh->getCellRangeByPosition(d, 0, d + (l - f), bottom), UNO_QUERY_THROW);
      if (block->getIsMerged()) block->merge(false);
    } else {
      Reference<css::table::XColumnRowRange>(sh, UNO_QUERY_THROW)->getColumns()->insertByIndex(d, l - f + 1);
    }
    const int shift = insert && d <= f ? l - f + 1 : 0;
    auto dst = first_cell(sh->getCellRangeByPosition(d, 0, d, 0));
    auto src = address_of(sh->getCellRangeByPosition(f + shift, 0, l + shift, bottom));
    Reference<css::sheet::XCellRangeMovement>(sh, UNO_QUERY_THROW)->copyRange(dst, src);
  });
}

void TooCalcImp::CopyCells(int row1, int col1, int row2, int col2, int destRow, int destCol, bool insert, int sheet) {
  uno_call([&] {
    auto sh = SH(sheet);
    css::table::CellRangeAddress src;
    src.Sheet = static_cast<sal_Int16>(sheet_index(sh));
    src.StartColumn = col1 - origin;
    src.EndColumn = col2 - origin;
    src.StartRow = row1 - origin;
    src.EndRow = row2 - origin;
    auto dst = first_cell(sh->getCellRangeByPosition(destCol - origin, destRow - origin, destCol - origin,
                                                     destRow - origin));
    copy_block(sh, src, dst, insert);
  });
}

namespace {

std::string sheet_name(Handles& h, int index) {
  Reference<css::container::XIndexAccess> all(h.sheets, UNO_QUERY_THROW);
  return str(Reference<css::container::XNamed>(all->getByIndex(index), UNO_QUERY_THROW)->getName());
}

// Where a sheet goes when placed before or after the sheet at `target` (0-based).
sal_Int16 placement(int target, bool after) { return static_cast<sal_Int16>(after ? target + 1 : target); }

}  // namespace

void TooCalcImp::CopySheet(int n, int target, bool after, bool move) {
  uno_call([&] {
    require(*h_);
    const std::string name = sheet_name(*h_, n - origin);
    if (move) {
      h_->sheets->moveByName(ou(name), placement(target - origin, after));
      return;
    }
    // A copy gets the name Excel would give it: "Лист1 (2)", "Лист1 (3)" ...
    std::string copy;
    for (int k = 2;; ++k) {
      copy = name + " (" + std::to_string(k) + ")";
      if (!h_->sheets->hasByName(ou(copy))) break;
    }
    h_->sheets->copyByName(ou(name), ou(copy), placement(target - origin, after));
  });
}

void TooCalcImp::CopySheetAs(int n, int target, bool after, bool move, const std::string& name) {
  uno_call([&] {
    require(*h_);
    const std::string old = sheet_name(*h_, n - origin);
    if (move) {
      h_->sheets->moveByName(ou(old), placement(target - origin, after));
      Reference<css::container::XNamed>(h_->sheets->getByName(ou(old)), UNO_QUERY_THROW)->setName(ou(name));
    } else {
      h_->sheets->copyByName(ou(old), ou(name), placement(target - origin, after));
    }
  });
}

void TooCalcImp::SelectRange(const std::string& name, int sheet) {
  uno_call([&] { select(*h_, Any(SH(sheet)->getCellRangeByName(ou(name)))); });
}

void TooCalcImp::DeleteRange(const std::string& name, int32_t shift, int sheet) {
  uno_call([&] {
    auto sh = SH(sheet);
    auto range = sh->getCellRangeByName(ou(name));
    select(*h_, Any(range));
    Reference<css::sheet::XCellRangeMovement> mover(sh, UNO_QUERY_THROW);
    const auto a = address_of(range);
    const auto mode = delete_mode(shift);
    if (mode != css::sheet::CellDeleteMode_UP) {
      mover->removeRange(a, mode);
      return;
    }
    // Removing cells upwards takes whole rows with them in this office: move the cells below up
    // over the block instead.
    css::table::CellAddress to;
    to.Sheet = a.Sheet;
    to.Column = a.StartColumn;
    to.Row = a.StartRow;
    css::table::CellRangeAddress below = a;
    below.StartRow = a.EndRow + 1;
    below.EndRow = Reference<css::table::XColumnRowRange>(sh, UNO_QUERY_THROW)->getRows()->getCount() - 1;
    if (below.StartRow <= below.EndRow) mover->moveRange(to, below);
  });
}

void TooCalcImp::DeleteRows(int first, int last, int32_t, int sheet) {
  uno_call([&] {
    auto sh = SH(sheet);
    auto rows = sh->getCellRangeByName(ou("A" + std::to_string(first) + ":IV" + std::to_string(last)));
    select(*h_, Any(rows));
    Reference<css::sheet::XCellRangeMovement>(sh, UNO_QUERY_THROW)
        ->removeRange(address_of(rows), css::sheet::CellDeleteMode_ROWS);
  });
}

// LibreOffice is not asked to delete columns: the marks column and the width column stay.
void TooCalcImp::DeleteColumns(int, int, int32_t, int) {}

void TooCalcImp::HideRowsColumns(int first, int last, int kind, int sheet) {
  uno_call([&] {
    Reference<css::table::XColumnRowRange> sh(SH(sheet), UNO_QUERY_THROW);
    for (int i = first; i <= last; ++i) {
      Any line = kind == 1 ? sh->getRows()->getByIndex(i - origin) : sh->getColumns()->getByIndex(i - origin);
      select(*h_, line);
      Reference<css::beans::XPropertySet>(line, UNO_QUERY_THROW)->setPropertyValue("IsVisible", Any(false));
    }
  });
}

// There is no window to show: showing stores the book at its path and announces it once.
void TooCalcImp::SetVisible(bool visible) {
  // A stopped job leaves no document behind, not even the half it had.
  if (!visible || !h_->document.is() || ui::stop_requested()) return;
  std::string target = path_;
  if (target.empty()) target = FirstFreeName(OfficeHost().WorkDir(), "Книга", ".xlsx");
  try {
    uno_call([&] {
      Sequence<css::beans::PropertyValue> args(1);
      args[0] = property("FilterName", Any(OUString::createFromAscii(filter_for(target))));
      Reference<css::frame::XStorable>(h_->document, UNO_QUERY_THROW)->storeAsURL(ou(url_of(target)), args);
    });
    target = OfficeHost().PlaceDocument(target);
  } catch (const std::exception& e) {
    show("Не удалось сохранить книгу " + target + ":\r\n" + e.what());
    return;
  }
  path_ = target;
  if (shown_path_ != target) OfficeHost().DocumentShown(target);
  shown_path_ = target;
}

void TooCalcImp::LockScreen(bool lock) {
  uno_call([&] {
    require(*h_);
    Reference<css::frame::XModel> model(h_->document, UNO_QUERY_THROW);
    Reference<css::document::XActionLockable> locks(h_->document, UNO_QUERY_THROW);
    if (lock) {
      model->lockControllers();
      locks->addActionLock();
    } else {
      model->unlockControllers();
      locks->removeActionLock();
    }
  });
}

void TooCalcImp::SetCellColor(int row, int col, int32_t colour, int sheet) {
  uno_call([&] { set_colour(cell_of(*h_, origin, row, col, sheet), colour); });
}

int32_t TooCalcImp::GetCellColor(int row, int col, int sheet) {
  return uno_call([&] { return get_colour(cell_of(*h_, origin, row, col, sheet)); });
}

void TooCalcImp::SetRangeColor(const std::string& name, int32_t colour, int sheet) {
  uno_call([&] { set_colour(SH(sheet)->getCellRangeByName(ou(name)), colour); });
}

int32_t TooCalcImp::GetRangeColor(const std::string& name, int sheet) {
  return uno_call([&] { return get_colour(SH(sheet)->getCellRangeByName(ou(name))); });
}

void TooCalcImp::SetRowsColor(int first, int last, int32_t colour, int sheet) {
  uno_call([&] { set_colour(SH(sheet)->getCellRangeByPosition(0, first - origin, 255, last - origin), colour); });
}

int32_t TooCalcImp::GetRowsColor(int first, int last, int sheet) {
  return uno_call(
      [&] { return get_colour(SH(sheet)->getCellRangeByPosition(0, first - origin, 255, last - origin)); });
}

void TooCalcImp::SetColumnsColor(int first, int last, int32_t colour, int sheet) {
  uno_call([&] { set_colour(SH(sheet)->getCellRangeByPosition(first - origin, 0, last - origin, maxRow), colour); });
}

int32_t TooCalcImp::GetColumnsColor(int first, int last, int sheet) {
  return uno_call(
      [&] { return get_colour(SH(sheet)->getCellRangeByPosition(first - origin, 0, last - origin, maxRow)); });
}

Variant TooCalcImp::GetCellObject(int row, int col, int sheet) {
  uno_call([&] { SH(sheet); });
  return Variant(RangeRef{sheet, row, col, row, col});
}

Variant TooCalcImp::GetRangeObject(const std::string& name, int sheet) {
  return uno_call([&] {
    auto a = address_of(SH(sheet)->getCellRangeByName(ou(name)));
    return Variant(
        RangeRef{sheet, a.StartRow + origin, a.StartColumn + origin, a.EndRow + origin, a.EndColumn + origin});
  });
}

Variant TooCalcImp::GetRowsObject(int first, int last, int sheet) {
  uno_call([&] { SH(sheet); });
  return Variant(RangeRef{sheet, first, 1, last, 256});
}

Variant TooCalcImp::GetColumnsObject(int first, int last, int sheet) {
  uno_call([&] { SH(sheet); });
  return Variant(RangeRef{sheet, 1, first, maxRow + origin, last});
}

void TooCalcImp::Disconnect() {
  app = Variant();
  *h_ = Handles();
}

bool TooCalcImp::IsConnected() { return !app.empty() && h_->document.is(); }

int TooCalcImp::SheetCount() {
  return uno_call([&] {
    require(*h_);
    return static_cast<int>(Reference<css::container::XIndexAccess>(h_->sheets, UNO_QUERY_THROW)->getCount());
  });
}

void TooCalcImp::SaveAs(const std::string& fileName) {
  uno_call([&] {
    require(*h_);
    Sequence<css::beans::PropertyValue> args(1);
    args[0] = property("FilterName", Any(OUString::createFromAscii(filter_for(fileName))));
    Reference<css::frame::XStorable>(h_->document, UNO_QUERY_THROW)->storeAsURL(ou(url_of(fileName)), args);
  });
  path_ = fileName;
}

void TooCalcImp::Save() {
  uno_call([&] {
    require(*h_);
    Reference<css::frame::XStorable>(h_->document, UNO_QUERY_THROW)->store();
  });
}

void TooCalcImp::CloseBook(int, bool, const std::string&) {
  if (!h_->document.is()) return;
  uno_call([&] { Reference<css::util::XCloseable>(h_->document, UNO_QUERY_THROW)->close(true); });
  h_->document.clear();
  h_->sheets.clear();
  h_->active.clear();
  h_->controller.clear();
  h_->frame.clear();
}

int TooCalcImp::WorksheetCount() { return SheetCount(); }

void TooCalcImp::SetSheetName(int n, const std::string& name) {
  uno_call([&] {
    require(*h_);
    Reference<css::container::XIndexAccess> all(h_->sheets, UNO_QUERY_THROW);
    Reference<css::container::XNamed>(all->getByIndex(n - origin), UNO_QUERY_THROW)->setName(ou(name));
  });
}

std::string TooCalcImp::GetSheetName(int n) {
  return uno_call([&] {
    require(*h_);
    return sheet_name(*h_, n - origin);
  });
}

void TooCalcImp::DeleteSheet(int n) {
  uno_call([&] {
    require(*h_);
    h_->sheets->removeByName(ou(sheet_name(*h_, n - origin)));
    h_->active.clear();
  });
}

void TooCalcImp::DeleteSheetByName(const std::string& name) {
  uno_call([&] {
    require(*h_);
    h_->sheets->removeByName(ou(name));
    h_->active.clear();
  });
}

void TooCalcImp::SetRowData(int row, const VariantArray& data, int sheet) {
  if (data.cols < 1) return;
  SetRangeData(row, 1, row, data.cols, data, sheet);
}

VariantArray TooCalcImp::GetRowData(int row, int sheet) {
  int last = uno_call([&] {
    auto sh = SH(sheet);
    Reference<css::sheet::XSheetCellCursor> cursor = sh->createCursor();
    Reference<css::sheet::XUsedAreaCursor>(cursor, UNO_QUERY_THROW)->gotoEndOfUsedArea(false);
    return static_cast<int>(address_of(Reference<css::table::XCellRange>(cursor, UNO_QUERY_THROW)).EndColumn);
  });
  return GetRangeData(row, 1, row, last + origin, sheet);
}

void TooCalcImp::SetRangeData(int row1, int col1, int row2, int col2, const VariantArray& data, int sheet) {
  uno_call([&] {
    auto range = SH(sheet)->getCellRangeByPosition(col1 - origin, row1 - origin, col2 - origin, row2 - origin);
    Sequence<Sequence<Any>> rows(row2 - row1 + 1);
    auto* out = rows.getArray();
    for (int i = 0; i <= row2 - row1; ++i) {
      Sequence<Any> line(col2 - col1 + 1);
      auto* cells = line.getArray();
      for (int j = 0; j <= col2 - col1; ++j)
        cells[j] = i < data.rows && j < data.cols ? to_any(data.values[static_cast<size_t>(i * data.cols + j)])
                                                  : Any(OUString());
      out[i] = line;
    }
    Reference<css::sheet::XCellRangeData>(range, UNO_QUERY_THROW)->setDataArray(rows);
  });
}

VariantArray TooCalcImp::GetRangeData(int row1, int col1, int row2, int col2, int sheet) {
  return uno_call([&] {
    auto range = SH(sheet)->getCellRangeByPosition(col1 - origin, row1 - origin, col2 - origin, row2 - origin);
    auto rows = Reference<css::sheet::XCellRangeData>(range, UNO_QUERY_THROW)->getDataArray();
    VariantArray a;
    a.rows = rows.getLength();
    a.cols = a.rows ? rows[0].getLength() : 0;
    for (const auto& line : rows)
      for (const auto& v : line) a.values.push_back(from_any(v));
    return a;
  });
}

void TooCalcImp::MergeRange(const std::string& name, bool merge, int sheet) {
  uno_call([&] {
    Reference<css::util::XMergeable>(SH(sheet)->getCellRangeByName(ou(name)), UNO_QUERY_THROW)->merge(merge);
  });
}

bool TooCalcImp::IsMergedRange(const std::string& name, int sheet) {
  return uno_call([&] {
    return static_cast<bool>(
        Reference<css::util::XMergeable>(SH(sheet)->getCellRangeByName(ou(name)), UNO_QUERY_THROW)->getIsMerged());
  });
}

namespace {

void clear_break(const Reference<css::sheet::XSpreadsheet>& sh, int index, bool columns) {
  Reference<css::sheet::XSheetPageBreak> breaks(sh, UNO_QUERY_THROW);
  auto list = columns ? breaks->getColumnPageBreaks() : breaks->getRowPageBreaks();
  // Breaks are counted from 1, as Excel counts them.
  if (index < 1 || index > list.getLength())
    throw std::out_of_range("Нет разрыва страницы с номером " + std::to_string(index));
  const sal_Int32 at = list[index - 1].Position;
  Reference<css::table::XColumnRowRange> lines(sh, UNO_QUERY_THROW);
  Any line = columns ? lines->getColumns()->getByIndex(at) : lines->getRows()->getByIndex(at);
  Reference<css::beans::XPropertySet>(line, UNO_QUERY_THROW)->setPropertyValue("IsStartOfNewPage", Any(false));
}

}  // namespace

void TooCalcImp::DeleteRowPageBreaks(int index, int sheet) { uno_call([&] { clear_break(SH(sheet), index, false); }); }

void TooCalcImp::DeleteColumnPageBreaks(int index, int sheet) {
  uno_call([&] { clear_break(SH(sheet), index, true); });
}

int TooCalcImp::PageBreakCount(bool columns, int sheet) {
  return uno_call([&] {
    Reference<css::sheet::XSheetPageBreak> breaks(SH(sheet), UNO_QUERY_THROW);
    return static_cast<int>(columns ? breaks->getColumnPageBreaks().getLength()
                                    : breaks->getRowPageBreaks().getLength());
  });
}

void TooCalcImp::Quit() {
  CloseBook(1, false, std::string());
  Disconnect();
}

// The operations LibreOffice is not asked for here.
void TooCalcImp::AutoFitColumns(int, int, int) {}
void TooCalcImp::AutoFitRows(int, int, int) {}
void TooCalcImp::SetHorizontalAlignment(const std::string&, int32_t, int) {}
void TooCalcImp::SetVerticalAlignment(const std::string&, int32_t, int) {}

int TooCalcImp::GetRangeRow(const std::string& name, int sheet) {
  return uno_call(
      [&] { return static_cast<int>(address_of(SH(sheet)->getCellRangeByName(ou(name))).StartRow) + origin; });
}

int TooCalcImp::GetRangeColumn(const std::string& name, int sheet) {
  return uno_call(
      [&] { return static_cast<int>(address_of(SH(sheet)->getCellRangeByName(ou(name))).StartColumn) + origin; });
}

void TooCalcImp::SortRange(const std::string& name, const std::vector<TSortKey>& keys, int sheet) {
  uno_call([&] {
    auto range = SH(sheet)->getCellRangeByName(ou(name));
    const auto a = address_of(range);
    if (keys.empty()) throw std::invalid_argument("Не заданы столбцы сортировки диапазона " + name);
    Sequence<css::table::TableSortField> fields(static_cast<sal_Int32>(keys.size()));
    auto* f = fields.getArray();
    for (size_t i = 0; i < keys.size(); ++i) {
      const int column = keys[i].column - origin;
      if (column < a.StartColumn || column > a.EndColumn)
        throw std::out_of_range("Столбец сортировки " + std::to_string(keys[i].column) +
                                " вне диапазона " + name);
      f[i].Field = column - a.StartColumn;
      f[i].IsAscending = keys[i].ascending;
      f[i].IsCaseSensitive = false;
      f[i].FieldType = css::table::TableSortFieldType_AUTOMATIC;
    }
    Reference<css::util::XSortable> sortable(range, UNO_QUERY_THROW);
    auto descriptor = sortable->createSortDescriptor();
    for (auto& p : descriptor) {
      if (p.Name == "SortFields") p.Value <<= fields;
      else if (p.Name == "ContainsHeader") p.Value <<= false;
      else if (p.Name == "IsSortColumns") p.Value <<= false;
      // Fills and borders travel with their rows, as in Excel.
      else if (p.Name == "BindFormatsToContent") p.Value <<= true;
    }
    sortable->sort(descriptor);
  });
}

void TooCalcImp::SetNumberFormat(const std::string& name, const std::string& format, int sheet) {
  uno_call([&] {
    require(*h_);
    auto formats = Reference<css::util::XNumberFormatsSupplier>(h_->document, UNO_QUERY_THROW)->getNumberFormats();
    // The book's own language: a code given for a named one would be saved with its tag.
    const css::lang::Locale book_language;
    sal_Int32 key = formats->queryKey(ou(format), book_language, false);
    if (key < 0) key = formats->addNew(ou(format), book_language);
    props(SH(sheet)->getCellRangeByName(ou(name)))->setPropertyValue("NumberFormat", Any(key));
  });
}

void TooCalcImp::SetWrapText(const std::string& name, bool wrap, int sheet) {
  uno_call([&] { props(SH(sheet)->getCellRangeByName(ou(name)))->setPropertyValue("IsTextWrapped", Any(wrap)); });
}

void TooCalcImp::SetRowHeight(int first, int last, double points, int sheet) {
  uno_call([&] {
    auto rows = Reference<css::table::XColumnRowRange>(SH(sheet), UNO_QUERY_THROW)->getRows();
    // The office measures in hundredths of a millimetre.
    const auto height = static_cast<sal_Int32>(std::lround(points * 2540.0 / 72.0));
    for (int r = first; r <= last; ++r)
      props(Reference<XInterface>(rows->getByIndex(r - origin), UNO_QUERY_THROW))
          ->setPropertyValue("Height", Any(height));
  });
}

void TooCalcImp::FitToPageWidth(int sheet) {
  uno_call([&] {
    OUString style;
    props(SH(sheet))->getPropertyValue("PageStyle") >>= style;
    auto families = Reference<css::style::XStyleFamiliesSupplier>(h_->document, UNO_QUERY_THROW)->getStyleFamilies();
    Reference<css::container::XNameAccess> pages(families->getByName("PageStyles"), UNO_QUERY_THROW);
    auto page = props(Reference<XInterface>(pages->getByName(style), UNO_QUERY_THROW));
    page->setPropertyValue("ScaleToPagesX", Any(sal_Int16(1)));
    page->setPropertyValue("ScaleToPagesY", Any(sal_Int16(0)));
  });
}

void ShutdownOffice() noexcept { Office::instance().shutdown(); }

}  // namespace hrdoc::office
