// The demo database: deterministic, consistent, and with data for the reports' filters.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "db/database.h"
#include "suite/demo/demo_database.h"
#include "suite/statement_file.h"
#include "support/test_database.h"
#include "support/work_dir.h"
#include "text/date.h"

namespace fs = std::filesystem;

namespace {

using hrdoc::db::Connection;
using hrdoc::db::Date;
using hrdoc::db::Query;
using hrdoc::db::Value;
using hrdoc::text::encode_date;

const TDateTime kToday = encode_date(2026, 11, 18);

// The demo databases of the process, in one folder removed at exit.
std::string temp_path(const std::string& name) {
  static const hrdoc::test::WorkDir dir("demo");
  return dir / (name + ".fdb");
}

hrdoc::demo::DemoOptions options(const std::string& path, int employees, uint64_t seed) {
  hrdoc::demo::DemoOptions o;
  o.database = path;
  o.employees = employees;
  o.seed = seed;
  o.today = kToday;
  return o;
}

// Fills a copy of the tests' template database (creating the schema costs seconds of disk
// syncs; the data takes a fraction of that).
std::unique_ptr<Connection> build(const std::string& name, int employees, uint64_t seed) {
  std::string path = temp_path(name);
  fs::copy_file(hrdoc::test::template_database(hrdoc::test::default_schema()), path,
                fs::copy_options::overwrite_existing);
  auto c = Connection::open(path);
  hrdoc::demo::fill_demo_database(*c, options(path, employees, seed));
  return c;
}

std::vector<std::string> user_tables(Connection& c) {
  Query q(c);
  q.sql("select trim(RDB$RELATION_NAME) as NAME from RDB$RELATIONS where RDB$SYSTEM_FLAG=0 and RDB$VIEW_BLR is null "
        "order by 1");
  q.open();
  std::vector<std::string> out;
  for (; !q.eof(); q.next()) out.push_back(q.field("NAME").as_string());
  return out;
}

int64_t count(Connection& c, const std::string& sql, std::map<std::string, Value> params = {}) {
  Query q(c);
  q.sql(sql);
  for (auto& [k, v] : params) q.set(k, v);
  q.open();
  return q.record_count();
}

// A checksum of a whole table read in a fixed order.
uint64_t checksum(Connection& c, const std::string& table) {
  Query q(c);
  q.sql("select * from " + table);
  q.open();
  std::vector<std::string> rows;
  for (; !q.eof(); q.next()) {
    std::string row;
    for (int i = 0; i < q.field_count(); ++i) row += q.field(q.field_name(i)).as_string() + "|";
    rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  uint64_t h = 1469598103934665603ull;
  for (const auto& r : rows)
    for (unsigned char ch : r) h = (h ^ ch) * 1099511628211ull;
  return h;
}

class Demo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    a_ = build("a", 60, 7).release();
    b_ = build("b", 60, 7).release();
  }
  static void TearDownTestSuite() {
    delete a_;
    delete b_;
  }
  static Connection* a_;
  static Connection* b_;
  Connection& c() { return *a_; }
};
Connection* Demo::a_ = nullptr;
Connection* Demo::b_ = nullptr;

TEST_F(Demo, the_same_options_give_the_same_data_and_another_seed_other_people) {
  auto tables = user_tables(*a_);
  ASSERT_EQ(tables, user_tables(*b_));
  for (const auto& t : tables) {
    EXPECT_EQ(count(*a_, "select 1 from " + t), count(*b_, "select 1 from " + t)) << t;
    EXPECT_EQ(checksum(*a_, t), checksum(*b_, t)) << t;
  }
  // Another seed gives other people.
  auto other = build("c", 60, 8);
  EXPECT_NE(checksum(*a_, "OTZKPN"), checksum(*other, "OTZKPN"));
}

TEST(DemoBuild, creates_the_database_file_with_schema_and_data_and_reports_each_stage) {
  std::string path = temp_path("new");
  std::vector<std::string> stages;
  int last_total = 0;
  hrdoc::demo::build_demo_database(options(path, 12, 3), [&](std::string_view s, int done, int total) {
    stages.emplace_back(s);
    EXPECT_EQ(done, static_cast<int>(stages.size()));
    last_total = total;
  });
  EXPECT_EQ(static_cast<int>(stages.size()), last_total);
  {
    auto c = Connection::open(path);
    EXPECT_GE(count(*c, "select 1 from OTZKPN where TN>0"), 12);
    EXPECT_EQ(count(*c, "select 1 from RDB$RELATIONS where RDB$RELATION_NAME='ZPCLIENTS'"), 1);
  }
  // A second build never overwrites an existing database.
  EXPECT_THROW(hrdoc::demo::build_demo_database(options(path, 12, 3)), std::exception);
}

TEST(DemoBuild, refuses_an_impossible_number_of_employees) {
  hrdoc::test::TestDatabase db;
  EXPECT_THROW(hrdoc::demo::fill_demo_database(db.connection(), options(db.path(), 0, 1)), std::invalid_argument);
  EXPECT_EQ(count(db.connection(), "select 1 from OTZKPN"), 0);
}

TEST_F(Demo, every_table_holds_rows) {
  for (const auto& t : user_tables(c())) {
    if (t == "ZPCLIENTS") continue;  // per user: filled by the program
    EXPECT_GT(count(c(), "select first 1 1 from " + t), 0) << t;
  }
}

TEST_F(Demo, department_tree_is_four_to_five_levels_deep_and_its_tables_agree) {
  Query q(c());
  q.sql("select KP, OWNER from OTZKPN where TN=0");
  q.open();
  std::map<int64_t, int64_t> owner;
  for (; !q.eof(); q.next()) owner[q.field("KP").as_int()] = q.field("OWNER").as_int();
  ASSERT_EQ(owner.at(1), 0);
  int deepest = 0;
  for (auto [kp, parent] : owner) {
    // Ancestors below the enterprise, from the top level down.
    std::vector<int64_t> chain;
    for (int64_t p = parent; p > 1; p = owner.at(p)) chain.insert(chain.begin(), p);
    int level = kp == 1 ? 0 : static_cast<int>(chain.size()) + 1;
    deepest = std::max(deepest, level);

    Query ruc(c());
    ruc.sql("select * from OTZRUC where OWNER=:KP");
    ruc.set("KP", kp);
    ruc.open();
    ASSERT_EQ(ruc.record_count(), 1) << kp;
    for (int i = 0; i < 7; ++i) {
      int64_t expected = i < static_cast<int>(chain.size()) ? chain[i] : 0;
      EXPECT_EQ(ruc.field("OW" + std::to_string(i + 1)).as_int(), expected) << "department " << kp;
    }
  }
  EXPECT_GE(deepest, 4);
  EXPECT_LE(deepest, 5);
  // Each department has its one OTZNKP row (same owner and name) with its OTZRUC2 row.
  EXPECT_EQ(count(c(), "select 1 from OTZKPN d where d.TN=0 and (select count(*) from OTZNKP n join OTZRUC2 r on "
                       "r.KP=n.KP where n.KP=d.KP and n.OWNER=d.OWNER and n.SNAME=d.SNAME)<>1"),
            0);
  // Employees hang under departments only.
  EXPECT_EQ(count(c(), "select 1 from OTZKPN e left join OTZKPN d on d.KP=e.OWNER where e.TN>0 and (d.KP is null or d.TN<>0)"), 0);
}

TEST_F(Demo, names_agree_with_sex) {
  Query q(c());
  q.sql("select kpn.FNAME, ads.POL from OTZKPN kpn join ZPADS1 ads on ads.KP=kpn.KP where kpn.TN>0");
  q.open();
  ASSERT_EQ(q.record_count(), 60);
  int women = 0;
  for (; !q.eof(); q.next()) {
    std::string fio = q.field("FNAME").as_string(), pol = q.field("POL").as_string();
    auto first = fio.find(' '), second = fio.rfind(' ');
    ASSERT_NE(first, second) << fio;
    std::string surname = fio.substr(0, first), patronymic = fio.substr(second + 1);
    if (pol == "Ж") {
      ++women;
      EXPECT_TRUE(patronymic.ends_with("на")) << fio;
      EXPECT_TRUE(surname.ends_with("а") || surname.ends_with("ая")) << fio;
    } else {
      ASSERT_EQ(pol, "М") << fio;
      EXPECT_TRUE(patronymic.ends_with("ич")) << fio;
      EXPECT_FALSE(surname.ends_with("а") || surname.ends_with("ая")) << fio;
    }
  }
  EXPECT_GT(women, 0);
  EXPECT_LT(women, 60);
}

TEST_F(Demo, history_rows_have_their_order_lines_and_nothing_lies_after_the_reference_date) {
  EXPECT_EQ(count(c(), "select 1 from KDT2IIIDVG d left join KDSDJS js on js.UNSD=d.UNSD where js.UNSD is null"), 0);
  EXPECT_EQ(count(c(), "select 1 from KDSDJS js left join KDSDJZ jz on jz.UND=js.UND where jz.UND is null or jz.KTD<>js.KTD"), 0);
  EXPECT_EQ(count(c(), "select 1 from KDT2IIIDVG where DTO>:T", {{"T", Date{kToday}}}), 0);
  EXPECT_EQ(count(c(), "select 1 from KDT2VIIIO where DTO>:T", {{"T", Date{kToday}}}), 0);
  // Generators continue after the keys in use.
  Query q(c());
  q.sql("select GEN_ID(UNSD_GEN,0) as G, (select max(UNSD) from KDT2IIIDVG) as M from RDB$DATABASE");
  q.open();
  EXPECT_GE(q.field("G").as_int(), q.field("M").as_int());
}

// The reports' own statements find rows in the demo database for its reference month.
class DemoReports : public Demo {
 protected:
  std::string statement(const std::string& label) {
    const auto& all = hrdoc::test::all_statements(HRDOC_STATEMENTS);
    for (const auto& e : all)
      if (e.label == label) return hrdoc::test::without_department_set(e.sql);
    ADD_FAILURE() << "no statement " << label;
    return "select 1 from RDB$DATABASE where 1=0";
  }
  int64_t rows(const std::string& label, std::map<std::string, Value> params) {
    return count(c(), statement(label), std::move(params));
  }
  const Value fdb_ = Date{encode_date(2026, 11, 1)};
  const Value fde_ = Date{encode_date(2026, 11, 30)};
  const Value today_ = Date{kToday};
  std::map<std::string, Value> department(int64_t kp) {
    std::map<std::string, Value> m{{"ow", kp}, {"md", kp}};
    for (int i = 1; i <= 7; ++i) m["ow" + std::to_string(i)] = kp;
    return m;
  }
};

// Parameters as the reports' dialogs set them, where they differ from the generic binding below.
TEST_F(DemoReports, reports_find_rows_with_their_dialog_parameters) {
  const Value jan1 = Date{encode_date(2026, 1, 1)}, okpo = std::string("05754312"), zero = int64_t{0};
  auto all = department(0);
  all["fd"] = today_;
  auto year = department(0);
  year["fd1"] = jan1;
  year["fd2"] = Date{encode_date(2026, 12, 31)};
  const std::pair<std::string, std::map<std::string, Value>> cases[] = {
      {"HRDOC340 qrySHTI", {{"DTE1", fde_}, {"DTE2", fde_}}},
      {"HRDOC060 qryKpn", all},
      {"HRDOC070 qryKpn", all},
      {"HRDOC010 qryKpn", all},
      {"HRDOC190 qryKpn", {{"fd1", fdb_}, {"fd2", today_}, {"dt", today_}}},
      {"HRDOC040 qryKpn", year},
      {"HRDOC092 qryGo", {{"FD", fdb_}, {"DT1", jan1}, {"DT2", fde_}, {"OW", zero}, {"OW11", zero}, {"YY", int64_t{2026}}}},
      {"HRDOC250 qryKpn", {{"DT22", today_}, {"DT1", today_}, {"DT2", Date{encode_date(2027, 12, 31)}}}},
      {"HRDOC350 qryLst2", {{"OKPO", okpo}, {"DT2", today_}, {"DT21", today_}, {"DT22", today_}}},
      {"HRDOC350 qryPmuz", {{"OKPO", okpo}, {"DT21", today_}, {"DT22", today_}, {"DT23", today_}, {"DT24", today_}}},
      {"HRDOC101 qrySelect", {{"OW", zero}, {"OW1", zero}, {"FD", fdb_}, {"DT1", fdb_}, {"DT2", today_}}},
  };
  for (const auto& [label, params] : cases) EXPECT_GT(rows(label, params), 0) << label;
  // Granted vacations and military records of the kinds the reports look for.
  EXPECT_GT(count(c(), "select 1 from KDSDJS js join KDT2VIIIO ot on ot.UNSD=js.UNSD where js.KTD=31 and ot.KVOT=1"), 0);
  EXPECT_GT(count(c(), "select 1 from KDT2IIWU where KOWS not in (0,3)"), 0);
}

// Every statement of the reports, with the department set left out and its parameters bound
// for the reference month and the whole enterprise, finds rows. Left out: rows the program writes
// itself (settings, per-user rows) and statements about one given employee or department.
TEST_F(DemoReports, every_report_statement_finds_rows_for_the_reference_month) {
  const std::set<std::string> left_out = {
      "GetMonopol", "GetDopUsrMon", "SetMonopol select", "SetDopUsrMon select", "LoadKpSewFromZPClients",
      "ref_comp ZPCLIENTS", "HRDOC190 qryKV", "HRDOC240 qryKV", "HRDOC092 qryGrfExlOt", "HRDOC080 used days",
      "HRDOC310 qryPRI", "HRDOC310 qryUV", "HRDOC310 qryDOLJ", "HRDOC101 card account", "HRDOC260 qrySelect",
      "HRDOC040 previous position", "HRDOC300 qryObr", "HRDOC140 education", "HRDOC150 qryFam07",
      "HRDOC010 family", "HRDOC120 qryExlSp", "HRDOC140 qryExl24", "HRDOC130 qryExl25", "HRDOC150 qryExl23",
      "HRDOC260 qryT2", "HRDOC320 qryT2", "HRDOC360 qryT2", "HRDOC360 position", "CalcStage", "f_skpw zplspro",
      "HRDOC101 qryExlSp27", "domain signatory", "HRDOC110 account",
      "HRDOC110 position and order", "HRDOC110 position", "address texts qryAds", "address texts qryAdf",
      "HRDOC330 qryT2", "tariff agreements qryDolRuk"};
  const Value start = fdb_, end = fde_, day = today_;
  std::map<std::string, Value> ints = {{"YY", int64_t{2026}}, {"KAT1", int64_t{0}}, {"KAT2", int64_t{4}},
                                       {"PKTPDO", int64_t{1}}, {"KTD", int64_t{21}}, {"KTD1", int64_t{22}},
                                       {"K", int64_t{2}},       {"NGR", int64_t{3}},   {"PR", int64_t{1}},
                                       {"KP", int64_t{1}}};
  std::map<std::string, Value> texts = {{"OKPO", std::string("05754312")}, {"C_KEY", std::string("ZPOTZKDR")},
                                        {"IDCONST", std::string("KDRTEL")}, {"CNST", std::string("KDRTEL")},
                                        {"PIDC", std::string("KDRTEL")}};
  const std::set<std::string> starts = {"FD", "PFDZP", "LSFD", "FDB", "FD1", "DT1", "DT11", "DT12", "FD11"};
  const std::set<std::string> ends = {"FD2", "DT2", "FDE", "DT21", "DT22"};
  const std::regex zero_ints("OW\\d*|MD|PKRW\\d|PKSU\\d|PTN\\d|PZHT|PDTK|VV\\d?|KTHT\\d?|PKTPDS|PKTPDV");
  const auto& all = hrdoc::test::all_statements(HRDOC_STATEMENTS);
  int checked = 0;
  for (const auto& e : all) {
    if (left_out.count(e.label) || e.sql.compare(0, 6, "select") != 0) continue;
    std::string sql = hrdoc::test::without_department_set(e.sql);
    Query q(c());
    q.sql(sql);
    for (const auto& name : hrdoc::db::parse_params(sql).names) {
      if (texts.count(name))
        q.set(name, texts[name]);
      else if (ints.count(name))
        q.set(name, ints[name]);
      else if (std::regex_match(name, zero_ints))
        q.set(name, int64_t{0});
      else
        q.set(name, starts.count(name) ? start : ends.count(name) ? end : day);
    }
    try {
      q.open();
    } catch (const std::exception& ex) {
      ADD_FAILURE() << e.label << ": " << ex.what();
      continue;
    }
    EXPECT_GT(q.record_count(), 0) << e.label;
    ++checked;
  }
  EXPECT_GT(checked, 60);
}

}  // namespace


namespace {

// Properties the coming reports rely on, checked on one larger database: each statement counts
// rows that must lie within [low, high].
class DemoPopulation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { db_ = build("population", 1500, 11).release(); }
  static void TearDownTestSuite() { delete db_; }
  static Connection* db_;
  // A single number a statement selects as N.
  static double number(const std::string& sql) {
    Query q(*db_);
    q.sql(sql);
    q.set("T", Date{kToday});
    q.open();
    return q.field("N").as_float();
  }
};
Connection* DemoPopulation::db_ = nullptr;

// Latest hire of each employee within a year of the reference date, by a first hire order.
const std::string kRecentHires =
    "from OTZKPN kpn join ZPADS1 ads on ads.KP=kpn.KP left join KDT2IOB ob on ob.KP=kpn.KP "
    "where kpn.TN>0 and ads.VDOC=21 and exists(select 1 from KDT2IIIDVG h where h.KP=kpn.KP and h.KTD=21 "
    "and h.DTO>:T-365 and h.DTO=(select max(h2.DTO) from KDT2IIIDVG h2 where h2.KP=kpn.KP and h2.KTD in (21,23)))";
const std::string kDefect =
    "(ads.KORG is null or ads.FDVD is null or char_length(ob.KGORP)>30 or "
    "not exists(select 1 from ZPADRES a where a.KP=kpn.KP) or "
    "exists(select 1 from ZPADRES a where a.KP=kpn.KP and coalesce(a.DOM,'')=''))";

TEST_F(DemoPopulation, holds_the_cases_the_reports_look_for) {
  struct Case {
    const char* what;
    std::string sql;  // selects N
    double low, high;
  };
  const Case cases[] = {
      {"re-hired: a hire after a dismissal",
       "select count(distinct d.KP) as N from KDT2IIIDVG d join KDT2IIIDVG h on h.KP=d.KP and h.KTD=21 and h.DTO>d.DTO "
       "where d.KTD=121",
       5, 300},
      {"years with dismissals", "select count(distinct extract(year from DTO)) as N from KDT2IIIDVG where KTD=121", 4, 41},
      {"share of dismissals in the reference year",
       "select 1.0*sum(case when extract(year from DTO)=extract(year from cast(:T as date)) then 1 else 0 end)/count(*) "
       "as N from KDT2IIIDVG where KTD=121",
       0.15, 0.6},
      {"share of recent hires with a gap in their data",
       "select 1.0*sum(case when " + kDefect + " then 1 else 0 end)/count(*) as N " + kRecentHires, 0.06, 0.16},
      {"recent hires without an issuer code", "select count(*) as N " + kRecentHires + " and ads.KORG is null", 1, 40},
      {"recent hires without an issue date", "select count(*) as N " + kRecentHires + " and ads.FDVD is null", 1, 40},
      {"recent hires born in a place of over 30 characters",
       "select count(*) as N " + kRecentHires + " and char_length(ob.KGORP)>30", 1, 40},
      {"recent hires without a registered address",
       "select count(*) as N " + kRecentHires + " and not exists(select 1 from ZPADRES a where a.KP=kpn.KP)", 1, 40},
      {"recent hires without a house",
       "select count(*) as N " + kRecentHires + " and exists(select 1 from ZPADRES a where a.KP=kpn.KP and a.DOM is null)",
       1, 40},
      {"recent hires with a gap and on military registration",
       "select count(*) as N " + kRecentHires + " and " + kDefect +
           " and exists(select 1 from KDT2IIWU wu where wu.KP=kpn.KP and wu.KOWS not in (0,3))",
       1, 100},
      {"years with unpaid leave", "select count(distinct extract(year from DTO)) as N from KDT2VIIIO where KVOT=5", 2, 2},
      {"maternity or child-care leave begun over a year ago",
       "select count(*) as N from ZPKPR where VID=1 and OT in (16,17) and FD1<:T-365", 1, 100},
      {"maternity or child-care leave begun within the year",
       "select count(*) as N from ZPKPR where VID=1 and OT in (16,17) and FD1>=:T-365", 2, 100},
      {"documents of kind 10", "select count(*) as N from ZPADS1 where VDOC=10 and NUM is null and SER is not null", 3,
       80},
      {"documents of kind 91", "select count(*) as N from ZPADS1 where VDOC=91", 3, 80},
      {"contracts without a number", "select count(*) as N from KDT2IOB where CONTRACTN is null", 10, 150},
      {"districts of birth", "select count(*) as N from KDT2IOB where KRAIP is not null", 100, 1000},
      {"actual addresses without a region code", "select count(*) as N from KDT2IADF where KODREGF is null", 0, 0},
      {"actual addresses with a district", "select count(*) as N from KDT2IADF where KODRAIF>0 and RAIF is not null",
       50, 1500},
      {"card status dates past", "select count(*) as N from KDT2IOB where PSTS<:T", 3, 100},
      {"card status dates ahead", "select count(*) as N from KDT2IOB where PSTS>:T", 3, 100},
      // Consistency the new cases must keep.
      {"employees at work without an open staffing line",
       "select count(*) as N from OTZKPN kpn where kpn.TN>0 and not exists(select 1 from KDT2IIIDVG d where d.KP=kpn.KP "
       "and d.KTD in (121,122) and d.DTO=(select max(d2.DTO) from KDT2IIIDVG d2 where d2.KP=kpn.KP)) and not exists("
       "select 1 from KDHTRO h where h.KP=kpn.KP and h.DTOK is null)",
       0, 0},
      {"history rows whose hire date is not the latest hire",
       "select count(*) as N from KDT2IIIDVG d where d.DTN<>(select max(h.DTO) from KDT2IIIDVG h where h.KP=d.KP and "
       "h.KTD in (21,23) and h.DTO<=d.DTO)",
       0, 0},
      {"vacations past a dismissal",
       "select count(*) as N from KDT2VIIIO ot join KDT2IIIDVG d on d.KP=ot.KP and d.KTD in (121,122) and "
       "d.DTO=(select max(d2.DTO) from KDT2IIIDVG d2 where d2.KP=d.KP) where ot.DKO>d.DTO",
       0, 0},
  };
  for (const auto& c : cases) {
    double n = number(c.sql);
    EXPECT_GE(n, c.low) << c.what;
    EXPECT_LE(n, c.high) << c.what;
  }
}

}  // namespace
