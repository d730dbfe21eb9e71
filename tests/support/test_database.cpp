#include "support/test_database.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <optional>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace hrdoc::test {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the schema script " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

uint64_t fnv1a(const std::string& text) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

// Holds an exclusive lock on a file while a template is built, so that parallel test
// processes build it once.
class FileLock {
 public:
  explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_CREAT | O_RDWR, 0644)) {
    if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0) throw std::runtime_error("cannot lock " + path);
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);
  }

 private:
  int fd_;
};

}  // namespace

std::string default_schema() { return std::string(HRDOC_SOURCE_DIR) + "/db/schema.sql"; }

std::string template_database(const std::string& schema_path) {
  std::string script = read_file(schema_path);
  // The personnel schema leaves ZPCLIENTS to the program; test databases have it, with KPSEW.
  const std::string zpclients = std::string(HRDOC_SOURCE_DIR) + "/db/zpclients.sql";
  if (schema_path == std::string(HRDOC_SOURCE_DIR) + "/db/schema.sql" && fs::exists(zpclients))
    script += "\n" + read_file(zpclients);
  fs::path dir = HRDOC_TEST_DB_DIR;
  fs::create_directories(dir);
  char name[40];
  std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(fnv1a(script)));
  fs::path target = dir / (std::string(name) + ".fdb");
  FileLock lock((dir / (std::string(name) + ".lock")).string());
  if (fs::exists(target)) return target.string();
  fs::path building = dir / (std::string(name) + ".building.fdb");
  fs::remove(building);
  {
    auto c = db::Connection::create(building.string());
    c->execute_script(script);
  }
  fs::rename(building, target);
  return target.string();
}

TestDatabase::TestDatabase(const std::string& schema_path) {
  static std::atomic<int> counter{0};
  std::string source = template_database(schema_path);
  fs::path dir = fs::path(HRDOC_TEST_DB_DIR) / "work";
  fs::create_directories(dir);
  path_ = (dir / ("t" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".fdb")).string();
  fs::copy_file(source, path_, fs::copy_options::overwrite_existing);
}

TestDatabase::~TestDatabase() {
  connection_.reset();
  std::error_code ec;
  fs::remove(path_, ec);
}

ServerInfo read_server_info(const std::string& path) {
  ServerInfo info;
  std::ifstream in(path);
  if (!in) {
    info.skip = "the server fixture wrote no " + path + " (run the tests through ctest)";
    return info;
  }
  std::string line, password_file;
  while (std::getline(in, line)) {
    auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string name = line.substr(0, eq), value = line.substr(eq + 1);
    if (name == "HOST") info.host = value;
    else if (name == "PORT") info.port = value;
    else if (name == "USER") info.user = value;
    else if (name == "PASSWORD_FILE") password_file = value;
    else if (name == "PID") info.pid = std::atoi(value.c_str());
    else if (name == "SKIP") info.skip = value;
  }
  if (info.skip.empty() && !password_file.empty()) {
    std::ifstream p(password_file);
    std::getline(p, info.password);
  }
  if (info.skip.empty() && (info.host.empty() || info.port.empty()))
    info.skip = path + " names no server";
  return info;
}

namespace {

const ServerInfo* test_server() {
  static const std::optional<ServerInfo> info = []() -> std::optional<ServerInfo> {
    const char* file = std::getenv("HRDOC_TEST_SERVER_FILE");
    if (!file || !*file) return std::nullopt;
    ServerInfo s = read_server_info(file);
    if (s.skip.empty()) {
      ::setenv("ISC_USER", s.user.c_str(), 1);
      ::setenv("ISC_PASSWORD", s.password.c_str(), 1);
    }
    return s;
  }();
  return info ? &*info : nullptr;
}

// Skips every test of a process meant to run through a server that is not there, saying why.
class ServerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string why = server_unavailable();
    if (!why.empty()) GTEST_SKIP() << "server tests skipped: " << why;
  }
};

[[maybe_unused]] auto* const server_environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

}  // namespace

std::string server_prefix() {
  if (const ServerInfo* s = test_server()) return s->skip.empty() ? s->prefix() : std::string();
  const char* server = std::getenv("HRDOC_TEST_SERVER");
  return server && *server ? server : "";
}

std::string server_unavailable() {
  const ServerInfo* s = test_server();
  return s ? s->skip : std::string();
}

std::string TestDatabase::connection_string() const { return server_prefix() + path_; }

db::Connection& TestDatabase::connection() {
  if (!connection_) connection_ = db::Connection::open(connection_string());
  return *connection_;
}

std::unique_ptr<db::Connection> TestDatabase::open_another() const {
  return db::Connection::open(connection_string());
}

}  // namespace hrdoc::test
