// CalcStage for every employee with record-book periods, timed per employee. Also writes the
// same statements, one per employee with its values in the text, as an isql script, so that
// isql-fb can run them for comparison.
// Usage: calcstage_bench DATABASE ISQL_SCRIPT [DD.MM.YYYY]
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/uosrv200.h"
#include "db/database.h"
#include "host/compark.h"
#include "host/udm.h"
#include "text/date.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: calcstage_bench DATABASE ISQL_SCRIPT [DD.MM.YYYY]\n");
    return 2;
  }
  const auto date = argc > 3 ? hrdoc::text::parse_date(argv[3]) : hrdoc::text::today();
  if (!date) {
    std::fprintf(stderr, "calcstage_bench: not a date: %s\n", argv[3]);
    return 2;
  }
  try {
    auto connection = hrdoc::db::Connection::open(argv[1]);
    Tdm data(*connection);
    compark ctx;
    ctx.ext().dm = &data;
    c_p = &ctx;
    dm = &data;

    hrdoc::db::Query q(*connection);
    q.sql("select distinct KP from KDT2ITK order by KP");
    q.open();
    std::vector<int> keys;
    for (q.first(); !q.eof(); q.next()) keys.push_back(static_cast<int>(q.field("KP").as_int()));
    if (keys.empty()) throw std::runtime_error("no record-book periods in the database");

    const auto ymd = hrdoc::text::decode_date(*date);
    char to[24];
    std::snprintf(to, sizeof to, "%04d-%02d-%02d", ymd.year, ymd.month, ymd.day);
    FILE* script = std::fopen(argv[2], "w");
    if (!script) throw std::runtime_error(std::string("cannot write ") + argv[2]);
    for (int kp : keys)
      std::fprintf(script,
                   "select DTO,DTU,TSTG1,TSTG2,TSTG4,TSTG8,TSTG16,TSTG32,TSTG64,KF1,KF2,KF4, KF8,KF16,KF32,KF64 from "
                   "KDT2ITK where KP=%d and BOOK=1 and DTO<='%s';\n",
                   kp, to);
    std::fprintf(script, "quit;\n");
    std::fclose(script);

    hrdoc::TStageResult result;
    long years = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int kp : keys) {
      hrdoc::CalcStage(kp, 0, *date, result);
      years += result[4].years();
    }
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    std::printf("CalcStage %zu employees %.1f us/employee (statements prepared: %lld; kind-16 years in all: %ld)\n",
                keys.size(), us / keys.size(), static_cast<long long>(connection->prepare_count()), years);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "calcstage_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
