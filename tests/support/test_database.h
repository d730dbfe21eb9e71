#pragma once
// Fresh embedded databases for tests. Each schema script is built once into a template file
// shared by every test process of the build; each test gets its own copy.

#include <memory>
#include <string>

#include "db/database.h"

namespace hrdoc::test {

// The personnel schema, db/schema.sql.
std::string default_schema();

class TestDatabase {
 public:
  explicit TestDatabase(const std::string& schema_path = default_schema());
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  const std::string& path() const { return path_; }
  // What the test connects to: the file itself (embedded), or, when the tests run through a
  // Firebird server (see server_prefix), the file through that server.
  std::string connection_string() const;
  // The test's own connection, opened on first use.
  db::Connection& connection();
  // Closes the test's connection, so that another process may open the file (the embedded
  // engine lets one process at a time have it).
  void close() { connection_.reset(); }
  // Another connection to the same database, as a second user would have.
  std::unique_ptr<db::Connection> open_another() const;

 private:
  std::string path_;
  std::unique_ptr<db::Connection> connection_;
};

// The private test server the tests of this process go through, as "127.0.0.1/port:", or ""
// for embedded. HRDOC_TEST_SERVER_FILE names the file the server fixture wrote (host, port, user
// and the password's file); its credentials go into ISC_USER / ISC_PASSWORD, where the database
// layer and the host find them. HRDOC_TEST_SERVER may name a server directly.
std::string server_prefix();
// Why the server tests cannot run here; empty when they can (or run embedded).
std::string server_unavailable();
// Reads the fixture file `path`: its "NAME=value" lines.
struct ServerInfo {
  std::string host, port, user, password, skip;
  int pid = 0;
  std::string prefix() const { return host + "/" + port + ":"; }
};
ServerInfo read_server_info(const std::string& path);

// Builds (or finds) the template database of a schema script and returns its path.
std::string template_database(const std::string& schema_path);

}  // namespace hrdoc::test
