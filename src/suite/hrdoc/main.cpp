// hrdoc: the command-line host. It owns the context, the database connection and the user
// interface, loads libhrdoc.so and calls its entry once per command.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/compark.h"
#include "host/output.h"
#include "suite/hrdoc/host_setup.h"
#include "suite/hrdoc/session.h"
#include "suite/hrdoc/signals.h"
#include "text/date.h"
#include "ui/stop.h"
#include "ui/terminal_ui.h"

namespace fs = std::filesystem;

namespace {

enum Exit { kOk = 0, kErrorShown = 1, kUsage = 2 };

using CommandCount = int (*)();
using CommandInfo = int (*)(int, const char**, const char**, const char**, int*);

using hrdoc::host::exe_dir;
using hrdoc::host::Library;

struct RunOptions {
  std::string command;
  std::string db;
  std::string db_user, db_password_file;
  int connect_wait = 15, read_wait = 600;
  std::string date, from, to;
  int dept = -1;
  std::string depts;
  std::string user;
  int order = -1;
  int arg = 0;
  bool yes = false, no = false, quiet = false;
  std::vector<std::string> answers;
  std::vector<std::string> sets;
  std::vector<std::string> presses;
  std::string out;
  std::string office = "native";
};

int usage_error(const std::string& text) {
  std::fprintf(stderr, "hrdoc: %s\n", text.c_str());
  return kUsage;
}

bool split_pair(const std::string& s, std::string& name, std::string& value) {
  auto eq = s.rfind('=');
  if (eq == std::string::npos || eq == 0) return false;
  name = s.substr(0, eq);
  value = s.substr(eq + 1);
  return true;
}

int run(const RunOptions& o, hrdoc::host::SignalWatch& signals) {
  using hrdoc::text::parse_date;
  hrdoc::ui::TerminalUi::Options uo;
  uo.interactive = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
  uo.quiet = o.quiet;
  uo.hold_documents = true;
  if (o.yes && o.no) return usage_error("--yes and --no exclude each other");
  uo.answer_all = o.yes ? hrdoc::ui::IDYES : o.no ? hrdoc::ui::IDNO : 0;
  for (const auto& a : o.answers) {
    std::string text, value;
    if (!split_pair(a, text, value) || (value != "yes" && value != "no"))
      return usage_error("--answer takes \"TEXT=yes\" or \"TEXT=no\", not \"" + a + "\"");
    uo.answers.emplace_back(text, value == "yes" ? hrdoc::ui::IDYES : hrdoc::ui::IDNO);
  }
  for (const auto& s : o.sets) {
    std::string name, value;
    if (!split_pair(s, name, value)) return usage_error("--set takes NAME=VALUE, not \"" + s + "\"");
    uo.values[name] = value;
  }
  uo.presses.assign(o.presses.begin(), o.presses.end());
  if (o.office != "native" && o.office != "calc")
    return usage_error("--office takes native or calc, not \"" + o.office + "\"");

  std::optional<TDateTime> date, from, to;
  for (auto [text, target, name] : {std::tuple{&o.date, &date, "--date"}, std::tuple{&o.from, &from, "--from"},
                                    std::tuple{&o.to, &to, "--to"}}) {
    if (text->empty()) continue;
    *target = parse_date(*text);
    if (!*target) return usage_error(std::string(name) + " takes dd.mm.yyyy or yyyy-mm-dd, not \"" + *text + "\"");
  }
  std::vector<int> depts;
  if (!o.depts.empty()) {
    std::string part;
    for (size_t i = 0; i <= o.depts.size(); ++i) {
      if (i == o.depts.size() || o.depts[i] == ',') {
        char* end = nullptr;
        long k = std::strtol(part.c_str(), &end, 10);
        if (part.empty() || *end || k <= 0 || k > INT_MAX)
          return usage_error("--depts takes department keys separated by commas, not \"" + o.depts + "\"");
        depts.push_back(static_cast<int>(k));
        part.clear();
      } else {
        part += o.depts[i];
      }
    }
  }
  if (o.order != -1 && (o.order < 0 || o.order > 2)) return usage_error("--order takes 0, 1 or 2");
  if (o.dept < -1) return usage_error("--dept takes a department key, 0 for the whole enterprise");

  // A missing documents folder is made; one that is a file or cannot be written is refused
  // before anything runs.
  fs::path work = o.out.empty() ? fs::current_path() : fs::path(o.out);
  std::error_code ec;
  if (!o.out.empty()) fs::create_directories(work, ec);
  if (!fs::is_directory(work)) {
    std::fprintf(stderr, "hrdoc: --out: %s is not a folder%s\n", work.c_str(),
                 ec ? (" (" + ec.message() + ")").c_str() : "");
    return kErrorShown;
  }
  if (access(work.c_str(), W_OK | X_OK) != 0) {
    std::fprintf(stderr, "hrdoc: --out: cannot write into the folder %s\n", work.c_str());
    return kErrorShown;
  }
  std::string out_dir = fs::absolute(work).lexically_normal().string();
  if (out_dir.back() != '/') out_dir += '/';
  try {
    hrdoc::host::prepare_work_folder(hrdoc::host::work_folder(out_dir));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "hrdoc: %s\n", e.what());
    return kErrorShown;
  }

  hrdoc::ui::TerminalUi ui(uo);
  compark ctx;
  hrdoc::host::wire_context(ctx, ui, exe_dir(), out_dir, o.office == "calc" ? 1 : 0, o.user);
  signals.set_work_dir(ctx.ext().work_dir);

  hrdoc::db::ConnectOptions connect;
  connect.user = o.db_user;
  if (!o.db_password_file.empty()) {
    std::ifstream in(o.db_password_file);
    if (!in || !std::getline(in, connect.password))
      return usage_error("--db-password-file: cannot read a password from " + o.db_password_file);
    if (!connect.password.empty() && connect.password.back() == '\r') connect.password.pop_back();
  }
  if (o.connect_wait < 0 || o.read_wait < 0)
    return usage_error("--db-connect-wait and --db-read-wait take seconds, 0 or more");
  connect.connect_wait = o.connect_wait;
  connect.read_wait = o.read_wait;

  hrdoc::host::Session session;
  if (!o.db.empty() && !session.connect(ctx, o.db, connect)) return kErrorShown;

  // The command line has the last word over what the database remembered.
  ctx.set_dates(date.value_or(ctx.D), from.value_or(ctx.D1), to.value_or(ctx.D2));
  if (ctx.D1 > ctx.D2) return usage_error("the period starts after it ends");
  if (o.dept >= 0 && !session.select_department(ctx, o.dept)) return kErrorShown;
  // Without --dept: the user's department as the database remembers it, else the enterprise.
  if (o.dept < 0) session.select_enterprise_if_none(ctx);
  // One department picked is a set of one, as in the dialog; 0 is the whole enterprise.
  if (o.depts.empty() && o.dept >= 0) depts = o.dept > 0 ? std::vector<int>{o.dept} : std::vector<int>{};
  if (!o.depts.empty() || o.dept >= 0) ctx.replace_kpsew(depts);
  if (o.order >= 0) ctx.list_order = static_cast<uint16_t>(o.order);
  if (hrdoc::ui::stop_requested()) return kErrorShown;

  Library lib;
  std::string error;
  if (!lib.open(exe_dir(), error)) {
    std::fprintf(stderr, "hrdoc: %s\n", error.c_str());
    return kErrorShown;
  }
  if (!lib.symbol("main_dll")) {
    std::fprintf(stderr, "hrdoc: libhrdoc.so exports no main_dll\n");
    return kErrorShown;
  }
  const std::string& command = o.command;
  int result = lib.call(ctx, command, o.arg);
  if (signals.settle()) {
    // Stopped after a document was placed: the folder is left as it was.
    for (const auto& path : ui.documents()) std::remove(path.c_str());
    return kErrorShown;
  }
  ui.announce_documents();
  if (command == "CTRLVERDLL") std::printf("%d\n", result);
  for (const auto& name : ui.unused_values())
    std::fprintf(stderr, "hrdoc: note: --set %s was not asked for by this command\n", name.c_str());
  for (const auto& name : ui.unused_presses())
    std::fprintf(stderr, "hrdoc: note: --press %s was not pressed: no window of this command had it left\n",
                 name.c_str());
  return ui.error_boxes() > 0 ? kErrorShown : kOk;
}

int list() {
  Library lib;
  std::string error;
  if (!lib.open(exe_dir(), error)) {
    std::fprintf(stderr, "hrdoc: %s\n", error.c_str());
    return kErrorShown;
  }
  auto count = lib.get<CommandCount>("hrdoc_command_count");
  auto info = lib.get<CommandInfo>("hrdoc_command_info");
  if (!count || !info) {
    std::fprintf(stderr, "hrdoc: libhrdoc.so has no command table\n");
    return kErrorShown;
  }
  for (int i = 0; i < count(); ++i) {
    const char *name, *cls, *caption;
    int built = 0;
    info(i, &name, &cls, &caption, &built);
    std::printf("%-10s %-14s %-9s %s\n", name, cls, built ? "" : "(not yet)", caption);
  }
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  hrdoc::host::SignalWatch signals;
  // A file-size limit reached while saving is a failed write with a message, not a dead process.
  std::signal(SIGXFSZ, SIG_IGN);
  CLI::App app{"hrdoc: personnel reports from the suite's Firebird database into .xlsx and .docx"};
  app.require_subcommand(1);
  app.footer(
      "Examples:\n"
      "  hrdoc run CTRLVERDLL\n"
      "  hrdoc list\n"
      "  hrdoc run HRDOC340 --db demo.fdb --date 30.11.2026 --out out/\n"
      "  ISC_USER=CLERK ISC_PASSWORD=... hrdoc run HRDOC340 --db dbhost/3050:/srv/hr/kadry.fdb --out out/\n"
      "Exit codes: 0 ran without an error box, 1 an error box was shown, 2 bad usage,\n"
      "130 stopped by Ctrl+C, 143 by SIGTERM (a second Ctrl+C ends at once).");

  RunOptions o;
  auto* run_cmd = app.add_subcommand("run", "Run one command of the library (a report code such as HRDOC092)");
  run_cmd->add_option("COMMAND", o.command, "Command, exactly as in 'hrdoc list' (case-sensitive)")->required();
  run_cmd->add_option("--db", o.db, "Database: a Firebird file path (embedded) or host[/port]:path");
  run_cmd->add_option("--db-user", o.db_user, "Server user name (default: ISC_USER from the environment, else SYSDBA)");
  run_cmd->add_option("--db-password-file", o.db_password_file,
                      "File whose first line is the server password (default: ISC_PASSWORD from the environment)");
  run_cmd->add_option("--db-connect-wait", o.connect_wait, "Seconds to reach the server (default 15)");
  run_cmd->add_option("--db-read-wait", o.read_wait,
                      "Seconds the server may take to answer one statement before the connection is cut "
                      "(default 600; 0 = no limit)");
  run_cmd->add_option("--date", o.date, "Report date, dd.mm.yyyy or yyyy-mm-dd (default: today)");
  run_cmd->add_option("--from", o.from, "Period start (default: first day of this month)");
  run_cmd->add_option("--to", o.to, "Period end (default: today)");
  run_cmd->add_option("--dept", o.dept, "Department key KP; 0 = the whole enterprise");
  run_cmd->add_option("--depts", o.depts, "Department set: keys separated by commas");
  run_cmd->add_option("--user", o.user, "User name (default: the login name)");
  run_cmd->add_option("--order", o.order, "Order of name lists: 0 by name, 1 by personnel number, 2 by staffing");
  run_cmd->add_option("--arg", o.arg, "The integer of the commands ending in L");
  run_cmd->add_flag("--yes", o.yes, "Answer every question with yes");
  run_cmd->add_flag("--no", o.no, "Answer every question with no");
  run_cmd->add_option("--answer", o.answers, "TEXT=yes|no: answer the question whose text or caption contains TEXT");
  run_cmd->add_option("--set", o.sets,
                      "NAME=VALUE: a window or dialog entry, e.g. date=01.12.2026; a check list takes the rows to "
                      "tick, e.g. lv=0,3 (or all, none)");
  run_cmd->add_option("--press", o.presses,
                      "Button to press in the next window that has it, by name or caption; repeat for several, "
                      "in order (windows whose default button cancels need one)");
  run_cmd->add_option("--out", o.out, "Folder for the documents, made when missing (default: the current folder)");
  run_cmd->add_option("--office", o.office, "Spreadsheet backend: native (default) or calc (LibreOffice)");
  run_cmd->add_flag("--quiet", o.quiet, "No progress line and no information boxes");

  auto* list_cmd = app.add_subcommand("list", "List every command with its window caption");

  hrdoc::host::add_subcommands(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsage;
  }
  if (run_cmd->parsed()) return signals.exit_code(run(o, signals));
  if (list_cmd->parsed()) return signals.exit_code(list());
  return signals.exit_code(hrdoc::host::run_subcommands(app));
}
