#pragma once
// Access to the personnel database with the behaviour the reports are written against: named
// ":params", whole results fetched into a client-side data set, navigation, locate, sort,
// typed reads with NULL as empty/0, and one error type carrying the server's message.
// The Firebird client headers stay in the .cpp files.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using TDateTime = double;

namespace hrdoc::db {

// What went wrong when the cause matters to the user more than the server's words.
enum class Failure {
  other,
  login,           // the server does not know the user name or the password
  host_not_found,  // the server's host name does not resolve
  unreachable,     // nothing answers at the server's address and port
  lost,            // the connection broke while a statement ran
  timeout,         // the server did not answer within the wait
};

// A statement or connection failure: Firebird's message, its SQL code and the statement.
class Error : public std::runtime_error {
 public:
  Error(std::string message, int sql_code = 0, std::string statement = {}, Failure failure = Failure::other);
  int sql_code() const { return sql_code_; }
  const std::string& message() const { return message_; }
  const std::string& statement() const { return statement_; }
  Failure failure() const { return failure_; }

 private:
  std::string message_;
  int sql_code_;
  std::string statement_;
  Failure failure_;
};

// A date (or timestamp) parameter value; a bare double binds as a number.
struct Date {
  TDateTime value;
};

// A parameter or field value. Text is UTF-8.
using Value = std::variant<std::monostate, int64_t, double, std::string, Date>;

// Who connects and how long a server may keep us waiting.
struct ConnectOptions {
  // Empty: Firebird's own ISC_USER / ISC_PASSWORD from the environment, else SYSDBA and no
  // password (the embedded engine checks none).
  std::string user;
  std::string password;
  // Seconds to reach a server and log in.
  int connect_wait = 15;
  // Seconds a server may take over one call (a statement with its fetch, a commit); then the
  // connection is cut and the call fails. 0 waits for ever.
  int read_wait = 600;
};

// The options with an empty user or password taken from ISC_USER / ISC_PASSWORD (user SYSDBA
// when neither says).
ConnectOptions with_environment(ConnectOptions options);

// True for "host:path" and "host/port:path", false for a file opened in-process.
bool is_remote(const std::string& database);

class Connection {
 public:
  // database: a file path (opened in-process, embedded) or "host:path" / "host/port:path".
  static std::unique_ptr<Connection> open(const std::string& database, const ConnectOptions& options = {});
  // Creates a new database file with DEFAULT CHARACTER SET WIN1251 (page size 8192) and forced
  // writes off (demo and test databases; "gfix -write sync" turns them on).
  static std::unique_ptr<Connection> create(const std::string& database, const ConnectOptions& options = {});
  virtual ~Connection() = default;

  // Runs a statement without parameters and results (DDL, DML) in auto-commit mode, or inside
  // the current explicit transaction.
  virtual void execute(const std::string& sql) = 0;
  // Runs a script of statements separated by ";" (a "SET TERM" block changes the terminator);
  // comments are skipped, and so are isql's own SET commands; COMMIT and ROLLBACK act on the
  // explicit transaction. DDL is committed statement by statement.
  virtual void execute_script(std::string_view script) = 0;

  // Explicit transactions (read committed, no wait on locked rows); without one every statement
  // commits by itself. begin() while one is active is an error.
  virtual void begin() = 0;
  virtual void commit() = 0;
  virtual void rollback() = 0;
  virtual bool in_transaction() const = 0;

  // While a snapshot is held, every statement outside an explicit transaction reads in one
  // read-only SNAPSHOT transaction: one state of the database, whatever others commit
  // meanwhile. Statements that write still commit by themselves. Holds nest; the last
  // release ends the snapshot.
  virtual void hold_snapshot() = 0;
  virtual void release_snapshot() = 0;
  virtual bool in_snapshot() const = 0;

  virtual const std::string& database() const = 0;

  // What a statement with "?" placeholders returned: column names (as the server names them)
  // and the rows, fetched whole.
  struct Rows {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> data;
  };
  // Runs a statement with "?" placeholders and positional values (std::monostate binds NULL),
  // in the current explicit transaction or in one of its own. Fills rows when given and the
  // statement returns any. Returns the number of rows affected. Query is built on this.
  virtual int64_t run(const std::string& sql, const std::vector<Value>& params, Rows* rows) = 0;

  // How many statements were prepared so far and how many are kept for reuse.
  virtual int64_t prepare_count() const = 0;
  virtual size_t cached_statements() const = 0;
};

// A statement text with its ":name" parameters replaced by "?": the names in the order they
// occur (upper case, repeats kept).
struct ParsedSql {
  std::string text;
  std::vector<std::string> names;
};
ParsedSql parse_params(std::string_view sql);

// Rolls back in its destructor unless committed.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

// Holds the connection's snapshot for its lifetime.
class Snapshot {
 public:
  explicit Snapshot(Connection& connection) : connection_(connection) { connection_.hold_snapshot(); }
  ~Snapshot() { connection_.release_snapshot(); }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;

 private:
  Connection& connection_;
};

class Field {
 public:
  const std::string& name() const { return name_; }
  bool is_null() const;
  std::string as_string() const;  // dates as dd.mm.yyyy, numbers as their shortest text
  int64_t as_int() const;         // rounded; 0 for NULL or text that is not a number
  double as_float() const;
  TDateTime as_date() const;
  const Value& value() const;

 private:
  friend class Query;
  std::string name_;
  const Value* value_ = nullptr;
};

// A statement with ":name" parameters (a name may repeat; an unbound one is NULL; ':' inside
// quoted literals and comments is not a parameter; names are case-insensitive). Prepared
// statements are reused by the connection when the same text runs again.
class Query {
 public:
  explicit Query(Connection& connection);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // Sets the statement text; closes the query and forgets the parameters' values.
  void sql(std::string text);
  const std::string& sql() const;

  void set(std::string_view name, Value value);
  void set_null(std::string_view name);
  void set_date(std::string_view name, TDateTime value) { set(name, Date{value}); }

  // Runs the statement and fetches the whole result.
  void open();
  void close();
  bool active() const;
  // Runs a statement that returns no rows; returns the number of rows affected.
  int64_t exec_sql();

  int record_count() const;
  void first();
  void next();
  bool eof() const;
  // Current row number from 0; record_count() when past the end.
  int position() const;
  void move_to(int row);
  // Moves to the first row whose field equals the value (text compared exactly, numbers and
  // dates by value, a text value read as a number or date for such a field); false and stays
  // put when none.
  bool locate(std::string_view field, const Value& value);
  // Sorts the fetched rows by a field list "A,B DESC" and moves to the first row: numbers and
  // dates by value, text in alphabetical order (Ё after Е), NULLs first; DESC reverses a field.
  void sort(std::string_view fields);

  // Case-insensitive; throws Error naming the field when there is none.
  Field field(std::string_view name) const;
  bool has_field(std::string_view name) const;
  int field_count() const;
  std::string field_name(int index) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace hrdoc::db
