#include "support/test_database.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

std::string TestDatabase::connection_string() const {
  const char* server = std::getenv("HRDOC_TEST_SERVER");
  return server && *server ? server + path_ : path_;
}

db::Connection& TestDatabase::connection() {
  if (!connection_) connection_ = db::Connection::open(connection_string());
  return *connection_;
}

std::unique_ptr<db::Connection> TestDatabase::open_another() const {
  return db::Connection::open(connection_string());
}

}  // namespace hrdoc::test
