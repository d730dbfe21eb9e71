// The connection on the Firebird 3 client's own interface: embedded for a file path, through
// the remote provider for "host:path" and "host/port:path".
#include "db/database.h"

#include <firebird/Interface.h>
#include <ibase.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>

namespace hrdoc::db {

Error::Error(std::string message, int sql_code, std::string statement)
    : std::runtime_error(message), message_(std::move(message)), sql_code_(sql_code), statement_(std::move(statement)) {}

Cancelled::Cancelled(std::string statement)
    : Error("the statement was cancelled: the command is being stopped", 0, std::move(statement)) {}

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

class FbConnection;

// A prepared statement with its metadata, shared by the cache and the runs using it.
struct Statement {
  IStatement* stmt = nullptr;
  IMessageMetadata* in = nullptr;
  IMessageMetadata* out = nullptr;
  unsigned type = 0;
  bool cursor = false;
  std::vector<std::string> columns;
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

[[noreturn]] void raise(const FbException& e, const std::string& statement) {
  const IStatus* st = e.getStatus();
  const ISC_STATUS* errors = st->getErrors();
  if (errors[0] == isc_arg_gds && errors[1] == isc_cancelled) throw Cancelled(statement);
  int code = static_cast<int>(isc_sqlcode(st->getErrors()));
  throw Error(format_status(st), code, statement);
}


const unsigned char kTpbRead[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version};
const unsigned char kTpbWrite[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                                   isc_tpb_nowait};

bool is_local(const std::string& database) { return database.find(':') == std::string::npos; }

constexpr int kConnectSeconds = 30;

class FbConnection final : public Connection {
 public:
  FbConnection(const std::string& database, const std::string& user, const std::string& password, bool create)
      : database_(database) {
    if (is_local(database_) && !database_.empty())
      database_ = std::filesystem::absolute(database_).lexically_normal().string();
    Status status;
    IUtil* util = master()->getUtilInterface();
    IXpbBuilder* dpb = nullptr;
    try {
      dpb = util->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
      dpb->insertString(&status, isc_dpb_user_name, user.c_str());
      dpb->insertString(&status, isc_dpb_password, password.c_str());
      dpb->insertString(&status, isc_dpb_lc_ctype, "UTF8");
      // A server that does not answer must not keep the user waiting without end.
      if (!is_local(database_)) dpb->insertInt(&status, isc_dpb_connect_timeout, kConnectSeconds);
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
      throw Error(message, static_cast<int>(isc_sqlcode(st->getErrors())));
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
    try {
      tra_ = att_->startTransaction(&status, sizeof kTpbWrite, kTpbWrite);
    } catch (const FbException& e) {
      raise(e, {});
    }
  }

  void commit() override {
    if (!tra_) throw Error("no transaction to commit on " + database_);
    Status status;
    try {
      tra_->commit(&status);
      tra_ = nullptr;
    } catch (const FbException& e) {
      raise(e, {});
    }
  }

  void rollback() override {
    if (!tra_) return;
    Status status;
    ITransaction* t = tra_;
    tra_ = nullptr;
    try {
      t->rollback(&status);
    } catch (const FbException& e) {
      t->release();
      raise(e, {});
    }
  }

  bool in_transaction() const override { return tra_ != nullptr; }
  const std::string& database() const override { return database_; }

  int64_t run(const std::string& sql, const std::vector<Value>& params, Rows* rows) override {
    return run_text(sql, params, rows);
  }

  int64_t prepare_count() const override { return prepares_; }
  size_t cached_statements() const override { return cache_.size(); }

  void set_stop_check(std::function<bool()> stop) override { stop_ = std::move(stop); }

  void cancel() override {
    // Only while the engine works: an idle attachment has nothing to break off.
    if (!busy_.load() || !att_) return;
    Status status;
    try {
      att_->cancelOperation(&status, fb_cancel_raise);
    } catch (const FbException&) {
      // The statement ended meanwhile.
    }
  }

 private:
  bool stopping() const { return stop_ && stop_(); }

  std::shared_ptr<Statement> prepare(const std::string& sql, ITransaction* tra);
  int64_t run_text(const std::string& sql, const std::vector<Value>& params, Rows* rows);
  IMessageMetadata* input_metadata(Statement& st, const std::vector<Value>& params);
  void read_row(Statement& st, const unsigned char* buf, ITransaction* tra, std::vector<Value>& row);
  std::string read_blob(ISC_QUAD id, ITransaction* tra);

  std::string database_;
  IAttachment* att_ = nullptr;
  ITransaction* tra_ = nullptr;
  std::map<std::string, std::shared_ptr<Statement>> cache_;
  int64_t prepares_ = 0;
  std::function<bool()> stop_;
  std::atomic<bool> busy_{false};
};

// Marks the attachment busy for cancel() while a statement runs.
class Busy {
 public:
  explicit Busy(std::atomic<bool>& flag) : flag_(flag) { flag_.store(true); }
  ~Busy() { flag_.store(false); }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  std::atomic<bool>& flag_;
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
  if (stopping()) throw Cancelled(sql);
  Busy busy(busy_);
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
  try {
    ITransaction* tra = tra_;
    std::shared_ptr<Statement> st;
    if (!tra) {
      // Without an explicit transaction each statement commits by itself; a select known
      // from an earlier run needs no more than a read-only one.
      auto it = cache_.find(sql);
      bool read = it != cache_.end() && it->second->type == isc_info_sql_stmt_select && it->second->cursor;
      own = read ? att_->startTransaction(&status, sizeof kTpbRead, kTpbRead)
                 : att_->startTransaction(&status, sizeof kTpbWrite, kTpbWrite);
      tra = own;
    }
    st = prepare(sql, tra);
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
          if (stopping()) throw Cancelled(sql);
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
    raise(e, sql);
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

std::unique_ptr<Connection> Connection::open(const std::string& database, const std::string& user,
                                             const std::string& password) {
  return std::make_unique<FbConnection>(database, user, password, false);
}

std::unique_ptr<Connection> Connection::create(const std::string& database, const std::string& user,
                                               const std::string& password) {
  return std::make_unique<FbConnection>(database, user, password, true);
}

}  // namespace hrdoc::db
