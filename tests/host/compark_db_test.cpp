#include <gtest/gtest.h>

#include <memory>

#include "host/compark.h"
#include "host/udm.h"
#include "support/test_context.h"
#include "support/test_database.h"
#include "text/date.h"

using hrdoc::db::Query;
using hrdoc::text::encode_date;

namespace {

class ComparkDb : public ::testing::Test {
 protected:
  hrdoc::test::TestDatabase db_;
  hrdoc::db::Connection& c_ = db_.connection();
  hrdoc::test::TestContext t_{c_};
  compark& ctx_ = t_.ctx;

  void sql(const std::string& text) { c_.execute(text); }
  // The message of the error a call throws.
  template <class F>
  static std::string error_of(F call) {
    try {
      call();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "no error";
  }

  std::vector<int64_t> column(const std::string& text) {
    Query q(c_);
    q.sql(text);
    q.open();
    std::vector<int64_t> out;
    for (; !q.eof(); q.next()) out.push_back(q.field_count() ? q.field(q.field_name(0)).as_int() : 0);
    return out;
  }

  // 1 enterprise > 10 plant > 20 shop 1 > 30 section A > 40 team > 41 > 42 > 43 > 44,
  // 20 > 31 section B, 10 > 21 shop 2; employees 100..106 in 30, 31, 21, 42, 43, 44.
  void tree() {
    const char* rows[] = {"1, 0, 0, 'Предприятие', 'АО Предприятие'", "10, 1, 0, 'Завод', 'Завод полностью'",
                          "20, 10, 0, 'Цех 1', 'Цех номер один'", "21, 10, 0, 'Цех 2', 'Цех номер два'",
                          "30, 20, 0, 'Участок А', 'Участок А цеха 1'", "31, 20, 0, 'Участок Б', 'Участок Б цеха 1'",
                          "40, 30, 0, 'Бригада', 'Бригада'", "41, 40, 0, 'Звено', 'Звено'", "42, 41, 0, 'Пост', 'Пост'",
                          "43, 42, 0, 'Смена', 'Смена'", "44, 43, 0, 'Группа', 'Группа'",
                          "100, 30, 1001, 'Иванов И.И.', 'Иванов Иван Иванович'",
                          "101, 31, 1002, 'Петров П.П.', 'Петров Пётр Петрович'",
                          "102, 21, 1003, 'Сидоров С.С.', 'Сидоров Семён Сергеевич'",
                          "103, 42, 1004, 'Кузнецова А.А.', 'Кузнецова Анна Андреевна'",
                          "105, 43, 1005, 'Орлов О.О.', 'Орлов Олег Олегович'",
                          "106, 44, 1006, 'Зайцев З.З.', 'Зайцев Захар Захарович'"};
    for (const char* row : rows) sql(std::string("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (") + row + ")");
  }

  std::vector<int64_t> filtered() {
    return column("select kpn.KP from otzkpn kpn where kpn.KP > 1" + ctx_.GetKpSewForWhere("kpn.KP") +
                  " order by kpn.KP");
  }
};

TEST_F(ComparkDb, state_at_a_date_takes_the_larger_unsd_among_equal_dto) {
  for (const char* row : {"1, 100, '2020-01-01', 100", "3, 100, '2021-01-01', 300", "2, 100, '2021-01-01', 200",
                          "4, 100, '2022-01-01', 400"})
    sql(std::string("insert into KDT2IIIDVG (UNSD, KP, DTO, OKL) values (") + row + ")");
  Query q(c_);
  q.sql(R"(select t2.OKL from kdt2iiidvg t2 where t2.kp=:kp and t2.UNSD=(select first 1 t2dvg.UNSD from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd order by t2dvg.DTO desc,t2dvg.UNSD desc))");
  q.set("kp", int64_t{100});
  for (auto [date, okl] : {std::pair{encode_date(2021, 6, 1), 300.0}, {encode_date(2020, 12, 31), 100.0}}) {
    q.set_date("fd", date);
    q.open();
    EXPECT_EQ(q.field("OKL").as_float(), okl);
  }
  q.set_date("fd", encode_date(2019, 12, 31));
  q.open();
  EXPECT_EQ(q.record_count(), 0);
}

TEST_F(ComparkDb, department_filter_keeps_rows_in_and_up_to_six_levels_under_the_set) {
  EXPECT_EQ(ctx_.GetKpSewForWhere("kpn.KP"), "");  // no set, no condition
  tree();
  // 106 sits seven levels under 20, beyond the five owners the condition climbs; units listed in
  // ZPKOMU drop out with everything under them.
  const struct { std::vector<int> keys; std::vector<int> zpkomu; std::vector<int64_t> kept; } cases[] = {
      {{20}, {}, {20, 30, 31, 40, 41, 42, 43, 44, 100, 101, 103, 105}},
      {{21, 31}, {}, {21, 31, 101, 102}},
      {{20}, {31, 41}, {20, 30, 40, 100}}};
  for (const auto& c : cases) {
    for (int kp : c.zpkomu) sql("insert into ZPKOMU (KP) values (" + std::to_string(kp) + ")");
    ctx_.replace_kpsew(c.keys);
    EXPECT_EQ(filtered(), c.kept) << ::testing::PrintToString(c.keys);
  }
  ctx_.replace_kpsew({21, 31});
  EXPECT_NE(ctx_.GetKpSewForWhere("kpn.KP").find("sew.KP in (21,31) or sewow1.KP in (21,31)"), std::string::npos);
}

TEST_F(ComparkDb, kpsew_text_takes_only_keys_closed_by_a_semicolon) {
  ctx_.SetKpSew(5);
  ctx_.LoadKpSewFromZPClients();  // an unknown user has none
  EXPECT_EQ(ctx_.KpSewCount(), 0);
  sql("insert into ZPCLIENTS (USR, KPSEW) values ('TESTER', '')");
  const std::pair<const char*, std::vector<int>> cases[] = {{"12;15", {12}}, {"12;15;7;", {12, 15, 7}}, {"12", {}}};
  for (const auto& [text, keys] : cases) {
    sql(std::string("update ZPCLIENTS set KPSEW = '") + text + "' where USR = 'TESTER'");
    ctx_.LoadKpSewFromZPClients();
    EXPECT_EQ(ctx_.kpsew_keys(), keys) << text;
  }
  ctx_.SetKpSew(5);
  sql("update ZPCLIENTS set KPSEW = '12;x;' where USR = 'TESTER'");
  EXPECT_NE(error_of([&] { ctx_.LoadKpSewFromZPClients(); }).find("'x'"), std::string::npos);
  EXPECT_EQ(ctx_.KpSewCount(), 0);
}

TEST_F(ComparkDb, department_set_routines) {
  ctx_.SetKpSew(7);
  EXPECT_EQ(ctx_.KpSew(0), 7);
  EXPECT_EQ(error_of([&] { ctx_.KpSew(1); }), "Выход за пределы диапазона в KpSew. Ind=2, KpSewCount=1");
  EXPECT_THROW(ctx_.KpSew(-1), std::runtime_error);
  ctx_.SetKpSew(-3);
  EXPECT_EQ(ctx_.KpSewCount(), 0);
  EXPECT_EQ(ctx_.GetCopyKpSew(), nullptr);
  EXPECT_FALSE(ctx_.KpInKpSew(7));
  int set[] = {3, 5, 9, 11};
  ctx_.SetKpSew(set);
  set[2] = 100;  // the context keeps a copy
  EXPECT_TRUE(ctx_.KpInKpSew(9));
  EXPECT_FALSE(ctx_.KpInKpSew(100));
  std::unique_ptr<int[]> copy(ctx_.GetCopyKpSew());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::vector<int>(copy.get(), copy.get() + 4), (std::vector<int>{3, 5, 9, 11}));
  ctx_.SetKpSew(static_cast<const int*>(nullptr));
  EXPECT_EQ(ctx_.KpSewCount(), 0);
}

TEST_F(ComparkDb, a_lock_taken_by_one_user_is_refused_to_another_until_released) {
  auto other = db_.open_another();
  hrdoc::test::TestContext b(*other, "ПЕТРОВ");
  t_.ctx.user() = "ИВАНОВ";
  t_.ctx.ext().str1060 = "WS1";
  t_.ctx.ext().str1056 = "42";

  EXPECT_TRUE(t_.ctx.SetLocEx("ORD-7", true));
  EXPECT_TRUE(b.ctx.GetLocEx("ORD-7"));
  EXPECT_FALSE(b.ctx.SetLocEx("ORD-7", true));
  ASSERT_EQ(b.ui.boxes.size(), 1u);
  EXPECT_EQ(b.ui.boxes[0].caption, "Ошибка");
  const std::string& text = b.ui.boxes[0].text;
  EXPECT_EQ(text.rfind("Приказ корректируется другим пользователем.\r\nИВАНОВ::WS1::42\r\n", 0), 0u) << text;
  EXPECT_NE(text.find(" :: "), std::string::npos) << text;

  EXPECT_TRUE(t_.ctx.SetLocEx("ORD-7", false));
  EXPECT_FALSE(b.ctx.GetLocEx("ORD-7"));
  EXPECT_TRUE(b.ctx.SetLocEx("ORD-7", true));
  EXPECT_TRUE(t_.ui.boxes.empty());
  EXPECT_FALSE(c_.in_transaction());
}

TEST_F(ComparkDb, a_lock_nobody_holds_or_that_cannot_be_written_is_refused_with_a_message) {
  EXPECT_FALSE(ctx_.SetLocEx("ORD-1", false));
  sql("drop table SPCONST");
  EXPECT_FALSE(ctx_.SetLocEx("ORD-1", true));
  ASSERT_EQ(t_.ui.boxes.size(), 2u);
  EXPECT_EQ(t_.ui.boxes[0].text, "Приказ корректируется другим пользователем.\r\n\r\n");
  EXPECT_EQ(t_.ui.boxes[1].text.rfind("Ошибка блокировки приказа\r\n", 0), 0u);
  EXPECT_NE(t_.ui.boxes[1].text.find("SPCONST"), std::string::npos) << t_.ui.boxes[1].text;
}

TEST_F(ComparkDb, monopol_and_dopusrmon_rows_are_written_once_and_updated) {
  EXPECT_EQ(ctx_.GetMonopol() + ctx_.GetDopUsrMon(), "");
  ctx_.user() = "O'Brien";
  ctx_.SetMonopol("1");
  ctx_.SetMonopol("2");
  ctx_.SetDopUsrMon("Сидоров");
  EXPECT_EQ(ctx_.GetMonopol(), "2");
  EXPECT_EQ(ctx_.GetDopUsrMon(), "Сидоров");
  Query q(c_);
  q.sql("select NAME, CNST from SPCONST where IDCONST = 'MONOPOL'");
  q.open();
  EXPECT_EQ(q.record_count(), 1);
  EXPECT_EQ(q.field("NAME").as_string(), "O'Brien");
  q.sql("select CNST from SPCONST where IDCONST = 'DOPUSRMON'");
  q.open();
  EXPECT_TRUE(q.field("CNST").is_null());
  EXPECT_FALSE(c_.in_transaction());
}

TEST_F(ComparkDb, generators_count_up_and_unknown_ones_fail_or_give_nothing) {
  EXPECT_EQ(ctx_.GetUND_ID(true), 1);
  EXPECT_EQ(ctx_.GetUND_ID(true), 2);
  EXPECT_EQ(ctx_.GetUNSD_ID(true), 1);
  EXPECT_EQ(ctx_.GetGEN_ID(1, 10, true), 11);
  EXPECT_EQ(ctx_.GetGEN_ID(2, 1, false), std::nullopt);
  EXPECT_EQ(error_of([&] { ctx_.GetGEN_ID(2, 1, true); }), "GetGEN_ID :: Генератор для индекса=2 не описан");
  ctx_.oracle = 1;
  EXPECT_EQ(ctx_.GetUND_ID(false), std::nullopt);
  EXPECT_THROW(ctx_.GetUND_ID(true), std::runtime_error);
}

TEST_F(ComparkDb, ref_comp_creates_zpclients_when_it_is_missing) {
  sql("drop table ZPCLIENTS");
  ctx_.ref_comp();
  EXPECT_EQ(column("select count(*) from RDB$RELATION_CONSTRAINTS where RDB$RELATION_NAME = 'ZPCLIENTS' "
                   "and RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'"),
            std::vector<int64_t>{1});
  TDateTime today = hrdoc::text::today();
  auto ymd = hrdoc::text::decode_date(today);
  EXPECT_EQ((std::vector<TDateTime>{ctx_.D, ctx_.D1, ctx_.D2}),
            (std::vector<TDateTime>{today, encode_date(ymd.year, ymd.month, 1), today}));
  EXPECT_EQ((std::vector<int>{ctx_.d1_day, ctx_.flag516, ctx_.ZPOTZKDR}), (std::vector<int>{1, 2, -1}));
  EXPECT_TRUE(t_.ui.boxes.empty());
  sql("insert into CONSTH (C_KEY, C_D) values ('ZPOTZKDR', '1x')");  // not a number
  ctx_.ZPOTZKDR = 5;
  ctx_.ref_comp();
  EXPECT_EQ(ctx_.ZPOTZKDR, -1);
}

TEST_F(ComparkDb, ref_comp_loads_the_users_row_with_a_quote_in_the_name) {
  tree();
  ctx_.user() = "O'Brien";
  sql("insert into ZPCLIENTS (USR, DT, DT1, DT2, KP) values ('O''Brien', '2025-03-15', '2025-03-01', '2025-03-31', 30)");
  sql("insert into ZPCLIENTS (USR, DT, DT1, DT2, KP) values ('other', '2024-01-01', '2024-01-01', '2024-01-01', 21)");
  for (const char* row : {"1, '2025-01-01'", "2, '2025-02-01'", "3, '2025-03-01'"})
    sql(std::string("insert into SPUUK (UU, DT) values (") + row + ")");
  sql("insert into VERBASSM (IDSMX, IDCLIENT, IDKPV) values (1, 5, 6)");
  sql("insert into VERBASSM (IDSMX, IDCLIENT, IDKPV) values (0, 77, 88)");
  sql("insert into CONSTH (C_KEY, C_D) values ('ZPOTZKDR', '12')");
  ctx_.ref_comp();
  EXPECT_EQ((std::vector<TDateTime>{ctx_.D, ctx_.D1, ctx_.D2, ctx_.spuuk_dt1, ctx_.spuuk_dt2, ctx_.payroll_month}),
            (std::vector<TDateTime>{encode_date(2025, 3, 15), encode_date(2025, 3, 1), encode_date(2025, 3, 31),
                                    encode_date(2025, 1, 1), encode_date(2025, 2, 1), encode_date(2025, 3, 1)}));
  EXPECT_EQ((std::vector<int>{ctx_.d2_day, ctx_.d_year, ctx_.KP, ctx_.TN, ctx_.IDCLIENT, ctx_.IDKPV, ctx_.ZPOTZKDR}),
            (std::vector<int>{31, 2025, 30, 0, 77, 88, 12}));
  EXPECT_EQ(ctx_.department_name(), "Участок А");
}

TEST_F(ComparkDb, ini_zppasp_loads_the_requisites_with_the_named_people) {
  tree();
  sql("insert into ZPPASP (P, N, INN, GNI, NASH, BUH) values (1, 'АО Ромашка', '7701234567', 77, 100, 101)");
  sql("insert into ZPPASP1 (P, N, OGRN, OKPO, KPP, OKTMO, KASSIR, ZAMDIR, NACHOK, RASH) "
      "values (1, 'Ромашка', '1027700000000', '12345678', '770101001', '45000000', 102, 103, 105, 9)");
  sql("insert into ZPPASP2 (P, BSKS, BSKSS, BSKK, NDFLFB, KBU, USN, KBUO) values (1, 1, 2, 3, 13.5, 4, 5, 6)");
  ctx_.BSKK = 99;
  ctx_.ext().OKATO = "stale";
  EXPECT_EQ(ctx_.ini_ZPPASP(), 0);
  const auto& e = ctx_.ext();
  EXPECT_EQ((std::vector<std::string>{e.INN, e.N, e.OKPO, e.KPP, e.OKTMO, e.OKATO}),
            (std::vector<std::string>{"7701234567", "Ромашка", "12345678", "770101001", "45000000", ""}));
  EXPECT_EQ((std::vector<int>{ctx_.GNI, ctx_.NASH, ctx_.BUH, ctx_.NACHOK, ctx_.RASH, ctx_.BSKS, ctx_.BSKSS, ctx_.BSKK,
                              ctx_.KBU, ctx_.USN, ctx_.KBUO}),
            (std::vector<int>{77, 100, 101, 105, 9, 1, 2, 3, 4, 5, 6}));
  EXPECT_DOUBLE_EQ(ctx_.NDFLFB, 13.5);
  EXPECT_EQ((std::vector<std::string>{e.BUHSNAME, e.KASFNAME, e.ZAMDSNAME}),
            (std::vector<std::string>{"Петров П.П.", "Сидоров Семён Сергеевич", "Кузнецова А.А."}));
  EXPECT_TRUE(t_.ui.boxes.empty());
  // Without its tables it shows the error and fails, the fields cleared.
  sql("drop table ZPPASP2");
  EXPECT_NE(ctx_.ini_ZPPASP(), 0);
  EXPECT_EQ(ctx_.BSKK, 0);
  ASSERT_EQ(t_.ui.boxes.size(), 1u);
  EXPECT_EQ(t_.ui.boxes[0].text.rfind("Исключение в методе ini_ZPPASP:\n", 0), 0u);
  EXPECT_NE(t_.ui.boxes[0].text.find("ZPPASP2"), std::string::npos) << t_.ui.boxes[0].text;
}

// The climb's start and the three top levels it found.
std::vector<int> levels(const skpw& r) { return {r.kp_employee, r.tn, r.format_code, r.kp_top, r.kp_second, r.kp_third}; }

TEST_F(ComparkDb, f_skpw_climbs_from_the_department_the_employee_was_paid_in) {
  tree();
  sql("insert into ZPKPV (PR, K, N) values (1, 99, 'АО Ромашка')");
  sql("insert into ZPLSPRO (FD, KP, PERI1) values ('2025-03-01', 100, 21)");
  skpw r;
  EXPECT_EQ(ctx_.f_skpw(100, encode_date(2025, 3, 20), &r), 0);
  // 21 > 10 > 1: three levels.
  EXPECT_EQ(levels(r), (std::vector<int>{100, 1001, 99, 1, 10, 21}));
  EXPECT_EQ((std::vector<std::string>{r.enterprise_name, r.employee_sname, r.employee_fname, r.third_sname,
                                      r.second_fname, r.top_sname}),
            (std::vector<std::string>{"АО Ромашка", "Иванов И.И.", "Иванов Иван Иванович", "Цех 2",
                                      "Завод полностью", "Предприятие"}));
  // Without a payroll month it starts at the employee: 100 > 30 > 20 > 10 > 1, the top three.
  sql("update ZPKPV set K = 3");
  ctx_.f_skpw(100, encode_date(2025, 2, 28), &r);
  EXPECT_EQ(r.enterprise_name, "");
  EXPECT_EQ(levels(r), (std::vector<int>{100, 1001, 3, 1, 10, 20}));
}

TEST_F(ComparkDb, f_skpw_for_a_department_leaves_the_employee_empty) {
  tree();
  skpw r;
  r.tn = 5;
  r.employee_sname = "stale";
  ctx_.f_skpw(20, encode_date(2025, 3, 31), &r);
  EXPECT_EQ(levels(r), (std::vector<int>{0, 0, 0, 1, 10, 20}));
  EXPECT_EQ(r.employee_sname, "");
  EXPECT_EQ(r.third_fname, "Цех номер один");
  ctx_.f_skpw(10, encode_date(2025, 3, 31), &r);
  EXPECT_EQ(levels(r), (std::vector<int>{0, 0, 0, 1, 10, 0}));
  EXPECT_EQ(r.third_sname, "");
  ctx_.f_skpw(0, encode_date(2025, 3, 31), &r);
  EXPECT_EQ(r.kp_top, 0);
  EXPECT_EQ(r.top_sname, "");
  // An owner chain that loops is refused.
  sql("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (50, 51, 0, 'A', 'A')");
  sql("insert into OTZKPN (KP, OWNER, TN, SNAME, FNAME) values (51, 50, 0, 'B', 'B')");
  EXPECT_THROW(ctx_.f_skpw(50, encode_date(2025, 3, 31), &r), std::runtime_error);
}

}  // namespace
