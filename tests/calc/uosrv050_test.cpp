// The vacation-days calculator over work schedules inserted into one database: which days count,
// months passed over, the kind's group changing, and what it answers without a kind or schedule.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "calc/uosrv050.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "text/date.h"

namespace {

using hrdoc::text::encode_date;

class VacatCalc : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    db_ = new hrdoc::test::TestDatabase();
    // Kind 1 counts by group 1; kind 3 by group 2; kind 4 by group 1, from February 2027 by
    // group 2. Kind 9 is unknown.
    kind(1, "2000-01-01", 1);
    kind(3, "2000-01-01", 2);
    kind(4, "2000-01-01", 1);
    kind(4, "2027-02-01", 2);
    // Group 1: December working every day; January with the holidays 1..8 and the 31st off;
    // February working; no March.
    month(1, 2026, 12, {});
    month(1, 2027, 1, {1, 2, 3, 4, 5, 6, 7, 8, 31});
    month(1, 2027, 2, {});
    // Group 2: February without its 1st; March without a length (KDM 0); April working.
    month(2, 2027, 2, {1});
    month(2, 2027, 3, {}, 0);
    month(2, 2027, 4, {});
    // Group 0, which an unknown kind counts by: March and April 2027.
    month(0, 2027, 3, {});
    month(0, 2027, 4, {});
  }
  static void TearDownTestSuite() { delete db_; }

  void SetUp() override {
    t_ = std::make_unique<hrdoc::test::TestContext>(db_->connection());
    hrdoc::CreateDtUOSRV050();
  }
  void TearDown() override {
    hrdoc::DestroyDtUOSRV050();
    t_.reset();
  }

  static void kind(int k, const char* fd, int ngr) {
    db_->connection().execute("insert into ZPOTV (K, FD, N, KOF, KOF1, NGR, PRIZ) values (" + std::to_string(k) +
                              ", '" + fd + "', 'Отпуск', 1, 1, " + std::to_string(ngr) + ", 1)");
  }
  // A month of a group: every day counted but the days off ("в").
  static void month(int ngr, int y, int m, const std::set<int>& off, int kdm = -1) {
    const int n = hrdoc::text::days_in_month(y, m);
    std::string gr;
    for (int d = 1; d <= n; ++d) gr += off.count(d) ? "в" : "р";
    char fd[16];
    std::snprintf(fd, sizeof fd, "%04d-%02d-01", y, m);
    db_->connection().execute("insert into ZPSK (NGR, FD, KDM, KHM, GR) values (" + std::to_string(ngr) + ", '" + fd +
                              "', " + std::to_string(kdm < 0 ? n : kdm) + ", 0, '" + gr + "')");
  }

  // The last day as dd.mm.yyyy; the days left must be counted down to 0.
  std::string last_day(int kind, int y, int m, int d, int days) {
    uint16_t left = static_cast<uint16_t>(days);
    int32_t r[3] = {};
    EXPECT_EQ(hrdoc::dtUOSRV050->vacat_calc(y, m, d, left, static_cast<uint8_t>(kind), r), 0);
    EXPECT_EQ(left, 0);
    return hrdoc::text::date_text(encode_date(r[0], r[1], r[2]));
  }

  static hrdoc::test::TestDatabase* db_;
  std::unique_ptr<hrdoc::test::TestContext> t_;
};
hrdoc::test::TestDatabase* VacatCalc::db_ = nullptr;

TEST_F(VacatCalc, counts_the_schedules_marked_days_across_months) {
  struct Case {
    const char* what;
    int kind, y, m, d, days;
    const char* last;
  };
  const Case cases[] = {
      {"30th counts, 31st not, then the 1st and 2nd", 1, 2027, 1, 30, 3, "02.02.2027"},
      {"a start day off: counting begins with the next counted day", 1, 2027, 1, 31, 1, "01.02.2027"},
      {"December runs on into January past the holidays", 1, 2026, 12, 28, 14, "18.01.2027"},
      {"one day on a counted day ends there", 1, 2026, 12, 10, 1, "10.12.2026"},
      {"a month of length 0 is passed over whole", 3, 2027, 2, 27, 4, "02.04.2027"},
      {"the kind's group changes with the month", 4, 2027, 1, 30, 3, "03.02.2027"},
      {"schedules end: the rest runs on as calendar days", 1, 2027, 2, 26, 5, "02.03.2027"},
      {"no schedule at all: calendar days from the start", 1, 2028, 6, 10, 3, "12.06.2028"},
  };
  for (const Case& c : cases) EXPECT_EQ(last_day(c.kind, c.y, c.m, c.d, c.days), c.last) << c.what;
  EXPECT_TRUE(t_->ui.boxes.empty());
}

TEST_F(VacatCalc, an_unknown_kind_is_reported_for_the_first_month_only_and_counts_by_group_0) {
  EXPECT_EQ(last_day(9, 2027, 3, 30, 5), "03.04.2027");
  ASSERT_EQ(t_->ui.boxes.size(), 1u);
  EXPECT_EQ(t_->ui.boxes[0].caption, "Ошибка");
  EXPECT_EQ(t_->ui.boxes[0].text, "(UTLRSV.vacat_calc): Неопределен вид расчета дней отпуска в ЛОКС");
}

}  // namespace
