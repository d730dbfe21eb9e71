// The connection on the Firebird 3 client's own interface: embedded for a file path, through
// the remote provider for "host:path" and "host/port:path".
#include "db/database.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <firebird/Interface.h>
#include <ibase.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <list>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace hrdoc::db {

Error::Error(std::string message, int sql_code, std::string statement, Failure failure)
    : std::runtime_error(message),
      message_(std::move(message)),
      sql_code_(sql_code),
      statement_(std::move(statement)),
      failure_(failure) {}

ConnectOptions with_environment(ConnectOptions options) {
  auto take = [](std::string& value, const char* variable) {
    const char* v = std::getenv(variable);
    if (value.empty() && v) value = v;
  };
  take(options.user, "ISC_USER");
  take(options.password, "ISC_PASSWORD");
  if (options.user.empty()) options.user = "SYSDBA";
  return options;
}

bool is_remote(const std::string& database) {
  // "C:\..." does not occur here; a ':' before any '/' of a path names a host.
  auto colon = database.find(':');
  return colon != std::string::npos && colon > 0;
}

Transaction::Transaction(Connection& connection) : connection_(connection) { connection_.begin(); }

Transaction::~Transaction() {
  if (done_) return;
  try {
    connection_.rollback();
  } catch (...) {
    // A destructor never throws; the server drops the transaction with the attachment.
  }
}

void Transaction::commit() {
  connection_.commit();
  done_ = true;
}

namespace {

using namespace Firebird;

// The embedded engine keeps its lock files in /tmp/firebird unless told otherwise. That folder
// is created by whoever used the engine first, with no access for other users: then each user
// gets a folder of their own, so that nobody has to set anything up by hand.
void prepare_environment() {
  if (std::getenv("FIREBIRD_LOCK")) return;
  const std::string lock = "/tmp/firebird";
  struct stat st {};
  if (::stat(lock.c_str(), &st) != 0) return;  // the engine creates it, as ours
  if (::access(lock.c_str(), R_OK | W_OK | X_OK) == 0) return;
  std::string own = lock + "-" + std::to_string(::getuid());
  ::mkdir(own.c_str(), 0700);
  ::setenv("FIREBIRD_LOCK", own.c_str(), 0);
}

IMaster* master() {
  static IMaster* m = [] {
    prepare_environment();
    return fb_get_master_interface();
  }();
  return m;
}

// Days from 17.11.1858 (Firebird's day 0) to 30.12.1899 (TDateTime's day 0).
constexpr int kDateShift = 15018;
constexpr double kTimeUnits = 86400.0 * ISC_TIME_SECONDS_PRECISION;

ISC_TIMESTAMP to_timestamp(TDateTime v) {
  // Firebird keeps 01.01.0001 to 31.12.9999.
  if (!std::isfinite(v) || v < -693593.0 || v >= 2958466.0)
    throw Error("a date parameter is outside 01.01.0001 - 31.12.9999: " + std::to_string(v));
  double day = std::trunc(v);
  double frac = std::fabs(v - day);
  auto units = static_cast<int64_t>(std::llround(frac * kTimeUnits));
  if (units >= static_cast<int64_t>(kTimeUnits)) units = static_cast<int64_t>(kTimeUnits) - 1;
  ISC_TIMESTAMP ts;
  ts.timestamp_date = static_cast<ISC_DATE>(day) + kDateShift;
  ts.timestamp_time = static_cast<ISC_TIME>(units);
  return ts;
}

TDateTime from_timestamp(ISC_DATE date, ISC_TIME time) {
  double day = static_cast<double>(date - kDateShift);
  double frac = time / kTimeUnits;
  return day >= 0 ? day + frac : day - frac;
}

// A status that throws FbException on error and lives as long as the calls it serves.
struct Status : ThrowStatusWrapper {
  Status() : ThrowStatusWrapper(master()->getStatus()) {}
  ~Status() { dispose(); }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
};

// The TCP port a server string "host[/port]:path" names; 3050 when it names none or a service.
int server_port(const std::string& database) {
  std::string host = database.substr(0, database.find(':'));
  auto slash = host.find('/');
  if (slash == std::string::npos) return 3050;
  int port = std::atoi(host.c_str() + slash + 1);
  return port > 0 ? port : 3050;
}

// The sockets of this process connected to a port: the client library keeps its connections
// to itself, and the only way to cut one that hangs is to shut its socket down.
std::set<int> sockets_to(int port) {
  std::set<int> found;
  DIR* dir = ::opendir("/proc/self/fd");
  if (!dir) return found;
  while (dirent* e = ::readdir(dir)) {
    int fd = std::atoi(e->d_name);
    if (fd <= 2 || fd == ::dirfd(dir)) continue;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode)) continue;
    sockaddr_storage peer{};
    socklen_t len = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &len) != 0) continue;
    int p = peer.ss_family == AF_INET    ? ntohs(reinterpret_cast<sockaddr_in*>(&peer)->sin_port)
            : peer.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&peer)->sin6_port)
                                         : -1;
    if (p == port) found.insert(fd);
  }
  ::closedir(dir);
  return found;
}

// One call to a server that must end by a deadline. When it does not, its sockets are shut
// down, and the client library returns from the call with a network error.
struct Watch {
  std::chrono::steady_clock::time_point deadline;
  int port = 0;
  std::set<int> sockets;  // the connection's sockets; empty while it is being made
  std::set<int> before;   // while connecting: the sockets that were there already
  bool fired = false;
};

class Watchdog {
 public:
  // Never destroyed: connections closed by static destructors at exit still use it.
  static Watchdog& instance() {
    static Watchdog* w = new Watchdog;
    return *w;
  }
  void add(Watch* w) {
    std::lock_guard lock(mutex_);
    watches_.push_back(w);
    if (!started_) {
      std::thread([this] { loop(); }).detach();
      started_ = true;
    }
    if (watches_.size() == 1) wake_.notify_all();
  }
  // Returns whether the watch fired.
  bool remove(Watch* w) {
    std::lock_guard lock(mutex_);
    watches_.remove(w);
    return w->fired;
  }

 private:
  Watchdog() = default;
  [[noreturn]] void loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (watches_.empty()) {
        wake_.wait(lock);
        continue;
      }
      // A coarse tick keeps statement runs free of wake-ups; waits are counted in seconds.
      wake_.wait_for(lock, std::chrono::milliseconds(200));
      auto now = std::chrono::steady_clock::now();
      for (Watch* w : watches_) {
        if (w->fired || now < w->deadline) continue;
        w->fired = true;
        std::set<int> cut = w->sockets;
        if (cut.empty())
          for (int fd : sockets_to(w->port))
            if (!w->before.count(fd)) cut.insert(fd);
        for (int fd : cut) ::shutdown(fd, SHUT_RDWR);
      }
    }
  }
  std::mutex mutex_;
  std::condition_variable wake_;
  std::list<Watch*> watches_;
  bool started_ = false;
};

// Watches a call for as long as it lives.
class Guard {
 public:
  Guard(Watch* w, int seconds) : w_(w) {
    if (!w_) return;
    w_->fired = false;
    w_->deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    Watchdog::instance().add(w_);
  }
  ~Guard() { release(); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;
  // True when the call ran past its deadline.
  bool release() {
    if (!w_) return false;
    bool fired = Watchdog::instance().remove(w_);
    w_ = nullptr;
    return fired;
  }

 private:
  Watch* w_;
};

// Remote attachments are made one at a time, so that the sockets a new one adds are told
// apart from the others'.
std::mutex& attach_mutex() {
  static std::mutex m;
  return m;
}

Failure classify(const ISC_STATUS* v) {
  bool network = false;
  for (; v && v[0] != isc_arg_end; v += 2) {
    if (v[0] != isc_arg_gds) continue;
    switch (v[1]) {
      case isc_login: return Failure::login;
      case isc_net_lookup_err: return Failure::host_not_found;
      case isc_net_connect_err: return Failure::unreachable;
      case isc_conn_lost:
      case isc_att_shutdown:  // the server shut down under us
      case isc_net_read_err:
      case isc_net_write_err: return Failure::lost;
      case isc_network_error: network = true; break;
      default: break;
    }
  }
  return network ? Failure::lost : Failure::other;
}

class FbConnection;

// A prepared statement with its metadata, shared by the cache and the runs using it.
struct Statement {
  IStatement* stmt = nullptr;
  IMessageMetadata* in = nullptr;
  IMessageMetadata* out = nullptr;
  unsigned type = 0;
  bool cursor = false;
  std::vector<std::string> columns;
  Statement() = default;
  // Owns the Firebird handles above: a copy would free them twice.
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() {
    if (in) in->release();
    if (out) out->release();
    if (stmt) {
      Status status;
      try {
        stmt->free(&status);
      } catch (const FbException&) {
        stmt->release();
      }
    }
  }
};

std::string format_status(const IStatus* status) {
  char buf[2048];
  master()->getUtilInterface()->formatStatus(buf, sizeof buf, const_cast<IStatus*>(status));
  std::string text(buf);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

[[noreturn]] void raise(const FbException& e, const std::string& statement, int timed_out = 0) {
  const IStatus* st = e.getStatus();
  int code = static_cast<int>(isc_sqlcode(st->getErrors()));
  if (timed_out > 0)
    throw Error("Сервер базы данных не ответил за " + std::to_string(timed_out) + " с; соединение разорвано.\n" +
                    format_status(st),
                code, statement, Failure::timeout);
  Failure failure = classify(st->getErrors());
  std::string message = format_status(st);
  // The server's words ("connection shutdown", "Error reading data from the connection") do
  // not say that it is gone.
  if (failure == Failure::lost) message = "Соединение с сервером базы данных разорвано (" + message + ")";
  throw Error(message, code, statement, failure);
}


const unsigned char kTpbRead[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version};
const unsigned char kTpbWrite[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                                   isc_tpb_nowait};
const unsigned char kTpbSnapshot[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_concurrency};

bool is_local(const std::string& database) { return !is_remote(database); }


class FbConnection final : public Connection {
 public:
  FbConnection(const std::string& database, const ConnectOptions& options, bool create)
      : database_(database), read_wait_(options.read_wait) {
    if (is_local(database_) && !database_.empty())
      database_ = std::filesystem::absolute(database_).lexically_normal().string();
    std::unique_lock<std::mutex> attaching;
    Watch connecting;
    std::optional<Guard> guard;
    if (is_remote(database_)) {
      watch_ = std::make_unique<Watch>();
      watch_->port = connecting.port = server_port(database_);
      attaching = std::unique_lock(attach_mutex());
      connecting.before = sockets_to(connecting.port);
      // The client's own connect timeout does not cover a server that accepts and then says
      // nothing; the watch does.
      if (options.connect_wait > 0) guard.emplace(&connecting, options.connect_wait + 1);
    }
    Status status;
    IUtil* util = master()->getUtilInterface();
    IXpbBuilder* dpb = nullptr;
    const auto started = std::chrono::steady_clock::now();
    try {
      dpb = util->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
      ConnectOptions login = with_environment(options);
      dpb->insertString(&status, isc_dpb_user_name, login.user.c_str());
      if (!login.password.empty()) dpb->insertString(&status, isc_dpb_password, login.password.c_str());
      std::fill(login.password.begin(), login.password.end(), '\0');
      dpb->insertString(&status, isc_dpb_lc_ctype, "UTF8");
      if (watch_ && options.connect_wait > 0) dpb->insertInt(&status, isc_dpb_connect_timeout, options.connect_wait);
      IProvider* provider = master()->getDispatcher();
      if (create) {
        dpb->insertInt(&status, isc_dpb_page_size, 8192);
        dpb->insertInt(&status, isc_dpb_sql_dialect, 3);
        dpb->insertString(&status, isc_dpb_set_db_charset, "WIN1251");
        // Created files are demo and test databases, rebuilt rather than recovered: no
        // flush to disk on every commit.
        dpb->insertInt(&status, isc_dpb_force_write, 0);
        att_ = provider->createDatabase(&status, database_.c_str(), dpb->getBufferLength(&status),
                                        dpb->getBuffer(&status));
      } else {
        att_ = provider->attachDatabase(&status, database_.c_str(), dpb->getBufferLength(&status),
                                        dpb->getBuffer(&status));
      }
      provider->release();
      dpb->dispose();
    } catch (const FbException& e) {
      if (dpb) dpb->dispose();
      const IStatus* st = e.getStatus();
      std::string message = format_status(st);
      if (is_local(database_) && message.find("already opened") != std::string::npos)
        message += "\nВстроенный Firebird открывает файл базы только в одном процессе: закройте другую "
                   "программу, работающую с ним, или подключайтесь через сервер Firebird (host:path).";
      Failure failure = guard && guard->release() ? Failure::timeout : classify(st->getErrors());
      // The client's own connect timeout ends in "connection rejected" or a network error.
      if (watch_ && options.connect_wait > 0 && failure != Failure::login && failure != Failure::host_not_found &&
          std::chrono::steady_clock::now() - started >= std::chrono::seconds(options.connect_wait))
        failure = Failure::timeout;
      if (failure == Failure::timeout)
        message = "Сервер базы данных не ответил за " + std::to_string(options.connect_wait) + " с.\n" + message;
      throw Error(message, static_cast<int>(isc_sqlcode(st->getErrors())), {}, failure);
    }
    if (watch_) {
      guard.reset();
      for (int fd : sockets_to(watch_->port))
        if (!connecting.before.count(fd)) watch_->sockets.insert(fd);
    }
  }

  ~FbConnection() override {
    cache_.clear();
    Status status;
    try {
      if (tra_) tra_->rollback(&status);
    } catch (const FbException&) {
      if (tra_) tra_->release();
    }
    tra_ = nullptr;
    snapshot_depth_ = 1;
    release_snapshot();
    try {
      if (att_) att_->detach(&status);
    } catch (const FbException&) {
      att_->release();
    }
  }

  void execute(const std::string& sql) override { run_text(sql, {}, nullptr); }

  void execute_script(std::string_view script) override;

  void begin() override {
    if (tra_) throw Error("a transaction is already active on " + database_);
    Status status;
    Guard guard(watch(), read_wait_);
    try {
      tra_ = att_->startTransaction(&status, sizeof kTpbWrite, kTpbWrite);
    } catch (const FbException& e) {
      raise(e, {}, timed_out(guard));
    }
  }

  void commit() override {
    if (!tra_) throw Error("no transaction to commit on " + database_);
    Status status;
    Guard guard(watch(), read_wait_);
    try {
      tra_->commit(&status);
      tra_ = nullptr;
    } catch (const FbException& e) {
      raise(e, {}, timed_out(guard));
    }
  }

  void rollback() override {
    if (!tra_) return;
    Status status;
    ITransaction* t = tra_;
    tra_ = nullptr;
    Guard guard(watch(), read_wait_);
    try {
      t->rollback(&status);
    } catch (const FbException& e) {
      t->release();
      raise(e, {}, timed_out(guard));
    }
  }

  bool in_transaction() const override { return tra_ != nullptr; }

  void hold_snapshot() override {
    if (snapshot_depth_++ > 0) return;
    Status status;
    Guard guard(watch(), read_wait_);
    try {
      snapshot_ = att_->startTransaction(&status, sizeof kTpbSnapshot, kTpbSnapshot);
    } catch (const FbException& e) {
      snapshot_depth_ = 0;
      raise(e, {}, timed_out(guard));
    }
  }

  // Never throws: the snapshot only read, and a failed commit leaves nothing behind.
  void release_snapshot() override {
    if (snapshot_depth_ == 0 || --snapshot_depth_ > 0) return;
    ITransaction* t = snapshot_;
    snapshot_ = nullptr;
    if (!t) return;
    Status status;
    Guard guard(watch(), read_wait_);
    try {
      t->commit(&status);
    } catch (const FbException&) {
      t->release();
    }
  }

  bool in_snapshot() const override { return snapshot_ != nullptr; }
  const std::string& database() const override { return database_; }

  int64_t run(const std::string& sql, const std::vector<Value>& params, Rows* rows) override {
    return run_text(sql, params, rows);
  }

  int64_t prepare_count() const override { return prepares_; }
  size_t cached_statements() const override { return cache_.size(); }

 private:
  std::shared_ptr<Statement> prepare(const std::string& sql, ITransaction* tra);
  int64_t run_text(const std::string& sql, const std::vector<Value>& params, Rows* rows);
  IMessageMetadata* input_metadata(Statement& st, const std::vector<Value>& params);
  void read_row(Statement& st, const unsigned char* buf, ITransaction* tra, std::vector<Value>& row);
  std::string read_blob(ISC_QUAD id, ITransaction* tra);

  Watch* watch() const { return read_wait_ > 0 ? watch_.get() : nullptr; }
  int timed_out(Guard& guard) const { return guard.release() ? read_wait_ : 0; }

  std::string database_;
  int read_wait_;
  std::unique_ptr<Watch> watch_;  // remote connections only
  IAttachment* att_ = nullptr;
  ITransaction* tra_ = nullptr;
  ITransaction* snapshot_ = nullptr;
  int snapshot_depth_ = 0;
  std::map<std::string, std::shared_ptr<Statement>> cache_;
  int64_t prepares_ = 0;
};

// Reports run a few hundred distinct texts at most; a runaway caller building texts with
// literals must not hold statements without bound.
constexpr size_t kCacheLimit = 500;

std::shared_ptr<Statement> FbConnection::prepare(const std::string& sql, ITransaction* tra) {
  if (auto it = cache_.find(sql); it != cache_.end()) return it->second;
  Status status;
  auto st = std::make_shared<Statement>();
  st->stmt = att_->prepare(&status, tra, 0, sql.c_str(), SQL_DIALECT_V6, IStatement::PREPARE_PREFETCH_METADATA);
  ++prepares_;
  st->type = st->stmt->getType(&status);
  st->cursor = (st->stmt->getFlags(&status) & IStatement::FLAG_HAS_CURSOR) != 0;
  st->in = st->stmt->getInputMetadata(&status);
  st->out = st->stmt->getOutputMetadata(&status);
  unsigned n = st->out->getCount(&status);
  for (unsigned i = 0; i < n; ++i) {
    const char* alias = st->out->getAlias(&status, i);
    st->columns.emplace_back(alias && *alias ? alias : st->out->getField(&status, i));
  }
  // DDL changes what other texts mean; they are prepared afresh.
  if (st->type == isc_info_sql_stmt_ddl) {
    cache_.clear();
    return st;
  }
  if (cache_.size() >= kCacheLimit) cache_.clear();
  cache_.emplace(sql, st);
  return st;
}

// The statement's own parameter types, each replaced by the type of the value bound to it;
// the engine converts to what the statement expects.
IMessageMetadata* FbConnection::input_metadata(Statement& st, const std::vector<Value>& params) {
  Status status;
  IMetadataBuilder* b = st.in->getBuilder(&status);
  try {
    for (unsigned i = 0; i < params.size(); ++i) {
      const Value& v = params[i];
      if (std::holds_alternative<std::monostate>(v)) continue;
      b->setScale(&status, i, 0);
      if (std::holds_alternative<int64_t>(v)) {
        b->setType(&status, i, SQL_INT64);
        b->setLength(&status, i, sizeof(ISC_INT64));
      } else if (std::holds_alternative<double>(v)) {
        b->setType(&status, i, SQL_DOUBLE);
        b->setLength(&status, i, sizeof(double));
      } else if (std::holds_alternative<Date>(v)) {
        b->setType(&status, i, SQL_TIMESTAMP);
        b->setLength(&status, i, sizeof(ISC_TIMESTAMP));
      } else {
        const auto& s = std::get<std::string>(v);
        if (s.size() > 32765) throw Error("a text parameter is longer than 32765 bytes");
        b->setType(&status, i, SQL_VARYING);
        b->setSubType(&status, i, 0);
        b->setCharSet(&status, i, 4);  // UTF8
        b->setLength(&status, i, static_cast<unsigned>(s.empty() ? 1 : s.size()));
      }
    }
    IMessageMetadata* m = b->getMetadata(&status);
    b->release();
    return m;
  } catch (...) {
    b->release();
    throw;
  }
}

std::string FbConnection::read_blob(ISC_QUAD id, ITransaction* tra) {
  Status status;
  IBlob* blob = att_->openBlob(&status, tra, &id, 0, nullptr);
  std::string out;
  char buf[16384];
  try {
    for (;;) {
      unsigned got = 0;
      int r = blob->getSegment(&status, sizeof buf, buf, &got);
      if (r == IStatus::RESULT_OK || r == IStatus::RESULT_SEGMENT)
        out.append(buf, got);
      else
        break;
    }
    blob->close(&status);
  } catch (...) {
    blob->release();
    throw;
  }
  return out;
}

void FbConnection::read_row(Statement& st, const unsigned char* buf, ITransaction* tra, std::vector<Value>& row) {
  Status status;
  IMessageMetadata* out = st.out;
  unsigned n = out->getCount(&status);
  row.clear();
  row.reserve(n);
  for (unsigned i = 0; i < n; ++i) {
    if (*reinterpret_cast<const short*>(buf + out->getNullOffset(&status, i))) {
      row.emplace_back(std::monostate{});
      continue;
    }
    const unsigned char* p = buf + out->getOffset(&status, i);
    int scale = out->getScale(&status, i);
    auto scaled = [&](int64_t v) -> Value {
      if (scale >= 0) return v;
      return static_cast<double>(v) / std::pow(10.0, -scale);
    };
    switch (out->getType(&status, i)) {
      case SQL_TEXT: {
        std::string s(reinterpret_cast<const char*>(p), out->getLength(&status, i));
        // Fixed-width text comes padded with blanks (OCTETS with zero bytes).
        while (!s.empty() && (s.back() == ' ' || (out->getCharSet(&status, i) == 1 && s.back() == '\0'))) s.pop_back();
        row.emplace_back(std::move(s));
        break;
      }
      case SQL_VARYING: {
        auto len = *reinterpret_cast<const uint16_t*>(p);
        row.emplace_back(std::string(reinterpret_cast<const char*>(p + 2), len));
        break;
      }
      case SQL_SHORT: row.push_back(scaled(*reinterpret_cast<const int16_t*>(p))); break;
      case SQL_LONG: row.push_back(scaled(*reinterpret_cast<const int32_t*>(p))); break;
      case SQL_INT64: row.push_back(scaled(*reinterpret_cast<const int64_t*>(p))); break;
      case SQL_FLOAT: row.emplace_back(static_cast<double>(*reinterpret_cast<const float*>(p))); break;
      case SQL_DOUBLE:
      case SQL_D_FLOAT: row.emplace_back(*reinterpret_cast<const double*>(p)); break;
      case SQL_TIMESTAMP: {
        auto* ts = reinterpret_cast<const ISC_TIMESTAMP*>(p);
        row.emplace_back(Date{from_timestamp(ts->timestamp_date, ts->timestamp_time)});
        break;
      }
      case SQL_TYPE_DATE: row.emplace_back(Date{from_timestamp(*reinterpret_cast<const ISC_DATE*>(p), 0)}); break;
      case SQL_TYPE_TIME: row.emplace_back(Date{*reinterpret_cast<const ISC_TIME*>(p) / kTimeUnits}); break;
      case SQL_BOOLEAN: row.emplace_back(static_cast<int64_t>(*p ? 1 : 0)); break;
      case SQL_BLOB: row.emplace_back(read_blob(*reinterpret_cast<const ISC_QUAD*>(p), tra)); break;
      default: row.emplace_back(std::monostate{}); break;
    }
  }
}

int64_t FbConnection::run_text(const std::string& sql, const std::vector<Value>& params, Rows* rows) {
  if (rows) *rows = Rows{};
  Status status;
  ITransaction* own = nullptr;
  IMessageMetadata* in = nullptr;
  IResultSet* rs = nullptr;
  // A failed statement gives back its cursor and input and rolls back its own transaction.
  auto release_after_failure = [&] {
    Status cleanup;
    if (rs) rs->release();
    if (in) in->release();
    if (own) try {
        own->rollback(&cleanup);
      } catch (const FbException&) {
        own->release();
      }
  };
  Guard guard(watch(), read_wait_);
  try {
    ITransaction* tra = tra_;
    std::shared_ptr<Statement> st;
    if (!tra && snapshot_) {
      // Reads see the snapshot; a write cannot run in it and commits by itself.
      st = prepare(sql, snapshot_);
      if (st->type == isc_info_sql_stmt_select) {
        tra = snapshot_;
      } else {
        own = att_->startTransaction(&status, sizeof kTpbWrite, kTpbWrite);
        tra = own;
      }
    } else if (!tra) {
      // Without an explicit transaction each statement commits by itself; a select known
      // from an earlier run needs no more than a read-only one.
      auto it = cache_.find(sql);
      bool read = it != cache_.end() && it->second->type == isc_info_sql_stmt_select && it->second->cursor;
      own = read ? att_->startTransaction(&status, sizeof kTpbRead, kTpbRead)
                 : att_->startTransaction(&status, sizeof kTpbWrite, kTpbWrite);
      tra = own;
    }
    if (!st) st = prepare(sql, tra);
    unsigned expected = st->in->getCount(&status);
    if (params.size() != expected)
      throw Error("the statement takes " + std::to_string(expected) + " parameters, " + std::to_string(params.size()) +
                      " given",
                  0, sql);
    in = input_metadata(*st, params);
    std::vector<unsigned char> inbuf(in->getMessageLength(&status));
    for (unsigned i = 0; i < params.size(); ++i) {
      const Value& v = params[i];
      unsigned char* p = inbuf.data() + in->getOffset(&status, i);
      short* null = reinterpret_cast<short*>(inbuf.data() + in->getNullOffset(&status, i));
      *null = std::holds_alternative<std::monostate>(v) ? -1 : 0;
      if (auto* x = std::get_if<int64_t>(&v)) {
        std::memcpy(p, x, sizeof *x);
      } else if (auto* d = std::get_if<double>(&v)) {
        std::memcpy(p, d, sizeof *d);
      } else if (auto* t = std::get_if<Date>(&v)) {
        ISC_TIMESTAMP ts = to_timestamp(t->value);
        std::memcpy(p, &ts, sizeof ts);
      } else if (auto* s = std::get_if<std::string>(&v)) {
        auto len = static_cast<uint16_t>(s->size());
        std::memcpy(p, &len, 2);
        std::memcpy(p + 2, s->data(), s->size());
      }
    }
    int64_t affected = 0;
    std::vector<unsigned char> outbuf(st->out->getMessageLength(&status));
    if (rows) rows->columns = st->columns;
    if (st->cursor) {
      rs = st->stmt->openCursor(&status, tra, in, inbuf.data(), st->out, 0);
      if (rows) {
        while (rs->fetchNext(&status, outbuf.data()) == IStatus::RESULT_OK) {
          rows->data.emplace_back();
          read_row(*st, outbuf.data(), tra, rows->data.back());
        }
      }
      rs->close(&status);
      rs = nullptr;
    } else {
      st->stmt->execute(&status, tra, in, inbuf.data(), st->out, outbuf.data());
      affected = static_cast<int64_t>(st->stmt->getAffectedRecords(&status));
      if (rows && !st->columns.empty()) {
        rows->data.emplace_back();
        read_row(*st, outbuf.data(), tra, rows->data.back());
      }
    }
    in->release();
    in = nullptr;
    if (own) {
      own->commit(&status);
      own = nullptr;
    }
    return affected;
  } catch (const FbException& e) {
    release_after_failure();
    raise(e, sql, guard.release() ? read_wait_ : 0);
  } catch (...) {
    release_after_failure();
    throw;
  }
}

// Splits a script at its terminator (";" unless a "SET TERM" changes it), keeping quoted text
// and comments whole. isql's own settings (SET SQL DIALECT, SET NAMES, ...) are skipped and
// COMMIT/ROLLBACK act on the current explicit transaction.
void FbConnection::execute_script(std::string_view script) {
  std::string term = ";";
  std::string current;
  auto upper_words = [](const std::string& s) {
    std::string u;
    bool space = true;
    for (char c : s) {
      if (std::isspace(static_cast<unsigned char>(c))) {
        if (!space) u += ' ';
        space = true;
      } else {
        u += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        space = false;
      }
    }
    while (!u.empty() && u.back() == ' ') u.pop_back();
    return u;
  };
  auto flush = [&]() {
    std::string u = upper_words(current);
    size_t b = current.find_first_not_of(" \t\r\n"), e = current.find_last_not_of(" \t\r\n");
    std::string stmt = b == std::string::npos ? std::string() : current.substr(b, e - b + 1);
    current.clear();
    if (u.empty()) return;
    if (u.rfind("SET TERM ", 0) == 0) {
      term = u.substr(9);
      return;
    }
    // isql's own settings; SET GENERATOR, STATISTICS, TRANSACTION and ROLE are statements.
    if (u.rfind("SET ", 0) == 0 && u.rfind("SET GENERATOR ", 0) != 0 && u.rfind("SET STATISTICS ", 0) != 0 &&
        u.rfind("SET TRANSACTION", 0) != 0 && u.rfind("SET ROLE ", 0) != 0 && u.rfind("SET TRUSTED ROLE", 0) != 0)
      return;
    if (u.rfind("CREATE DATABASE ", 0) == 0 || u.rfind("CONNECT ", 0) == 0)
      throw Error("a script run on an open connection cannot create or connect to a database", 0, stmt);
    if (u == "COMMIT" || u == "COMMIT WORK") {
      if (in_transaction()) commit();
      return;
    }
    if (u == "ROLLBACK" || u == "ROLLBACK WORK") {
      if (in_transaction()) rollback();
      return;
    }
    execute(stmt);
  };
  size_t i = 0;
  const size_t n = script.size();
  bool at_start = true;  // only blanks since the last statement
  while (i < n) {
    char c = script[i];
    if (c == '\'' || c == '"') {
      size_t j = i + 1;
      while (j < n && !(script[j] == c && (j + 1 >= n || script[j + 1] != c))) j += script[j] == c ? 2 : 1;
      size_t end = std::min(n, j + 1);
      current.append(script.substr(i, end - i));
      i = end;
      at_start = false;
      continue;
    }
    if (c == '-' && i + 1 < n && script[i + 1] == '-') {
      size_t j = script.find('\n', i);
      i = j == std::string_view::npos ? n : j;
      if (!at_start) current += ' ';
      continue;
    }
    if (c == '/' && i + 1 < n && script[i + 1] == '*') {
      size_t j = script.find("*/", i + 2);
      size_t end = j == std::string_view::npos ? n : j + 2;
      // Comments inside a statement stay (a procedure's body may hold them); those between
      // statements go.
      if (!at_start) current.append(script.substr(i, end - i));
      i = end;
      continue;
    }
    if (script.compare(i, term.size(), term) == 0) {
      flush();
      i += term.size();
      at_start = true;
      continue;
    }
    current += c;
    if (!std::isspace(static_cast<unsigned char>(c))) at_start = false;
    ++i;
  }
  flush();
}

}  // namespace

std::unique_ptr<Connection> Connection::open(const std::string& database, const ConnectOptions& options) {
  return std::make_unique<FbConnection>(database, options, false);
}

std::unique_ptr<Connection> Connection::create(const std::string& database, const ConnectOptions& options) {
  return std::make_unique<FbConnection>(database, options, true);
}

}  // namespace hrdoc::db
