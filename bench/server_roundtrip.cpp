// The cost of the network path per statement: one prepared look-up per employee, as reports
// run them, embedded and through a server.
// Usage: server_roundtrip FILE HOST/PORT:FILE   (credentials from ISC_USER / ISC_PASSWORD)
#include <chrono>
#include <cstdio>
#include <vector>

#include "db/database.h"

namespace {

// Seconds per statement over every employee key, after one warm-up pass.
double per_statement(const std::string& database, std::vector<int64_t>* keys) {
  auto c = hrdoc::db::Connection::open(database);
  if (keys->empty()) {
    hrdoc::db::Connection::Rows rows;
    c->run("select KP from OTZKPN where TN > 0", {}, &rows);
    for (auto& r : rows.data) keys->push_back(std::get<int64_t>(r[0]));
  }
  hrdoc::db::Query q(*c);
  q.sql("select KP, SNAME, FNAME, OWNER from OTZKPN where KP = :KP");
  auto pass = [&] {
    for (int64_t kp : *keys) {
      q.set("KP", kp);
      q.open();
    }
  };
  pass();
  auto t0 = std::chrono::steady_clock::now();
  pass();
  std::chrono::duration<double> d = std::chrono::steady_clock::now() - t0;
  return d.count() / static_cast<double>(keys->size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: server_roundtrip FILE HOST/PORT:FILE\n");
    return 2;
  }
  try {
    std::vector<int64_t> keys;
    double embedded = per_statement(argv[1], &keys);
    double remote = per_statement(argv[2], &keys);
    std::printf("  one look-up statement (%zu runs): embedded %.1f us, server %.1f us, network path %.1f us\n",
                keys.size(), embedded * 1e6, remote * 1e6, (remote - embedded) * 1e6);
  } catch (const hrdoc::db::Error& e) {
    std::fprintf(stderr, "server_roundtrip: %s\n", e.what());
    return 1;
  }
  return 0;
}
