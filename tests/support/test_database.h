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
  // What the test connects to: the file itself (embedded), or, when HRDOC_TEST_SERVER names a
  // Firebird server ("localhost:" or "localhost/3051:"), the file through that server.
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

// Builds (or finds) the template database of a schema script and returns its path.
std::string template_database(const std::string& schema_path);

}  // namespace hrdoc::test
