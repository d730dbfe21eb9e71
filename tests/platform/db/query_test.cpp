#include <gtest/gtest.h>

#include "db/database.h"
#include "support/test_database.h"
#include "text/date.h"

using namespace hrdoc::db;
using hrdoc::text::encode_date;

namespace {

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class QueryTest : public ::testing::Test {
 protected:
  hrdoc::test::TestDatabase db_{LAYER_SCHEMA};
  Connection& c_ = db_.connection();

  void insert(int id, Value name, Value amount, Value day) {
    Query q(c_);
    q.sql("insert into T (ID, NAME, AMOUNT, DT) values (:id, :name, :amount, :day)");
    q.set("id", int64_t{id});
    q.set("name", name);
    q.set("amount", amount);
    q.set("day", day);
    EXPECT_EQ(q.exec_sql(), 1);
  }

  std::vector<int64_t> ids(Query& q) {
    std::vector<int64_t> out;
    for (q.first(); !q.eof(); q.next()) out.push_back(q.field("ID").as_int());
    return out;
  }
};

TEST_F(QueryTest, parameters_repeat_default_to_null_and_are_forgotten_with_the_text) {
  insert(1, "a", 1.0, {});
  insert(2, "b", 2.0, {});
  Query q(c_);
  q.sql("select ID from T where ID = :k or (ID > :K and 0 = :k)");
  q.set("K", int64_t{2});
  q.open();
  EXPECT_EQ(ids(q), std::vector<int64_t>{2});
  q.sql("insert into T (ID, NAME, AMOUNT) values (:id, :name, :amount)");
  q.set("id", int64_t{3});  // :name and :amount left unbound
  q.exec_sql();
  q.sql("select ID, NAME from T where cast(:nothing as integer) is null and ID = :id");
  q.set("id", int64_t{3});
  q.open();
  ASSERT_EQ(q.record_count(), 1);
  EXPECT_TRUE(q.field("NAME").is_null());
  q.sql("select ID, NAME from T where cast(:nothing as integer) is null and ID = :id");
  q.open();
  EXPECT_EQ(q.record_count(), 0);
}

TEST_F(QueryTest, navigation_walks_every_row_and_an_empty_result_reads_as_empty) {
  Query q(c_);
  q.sql("select ID, NAME, AMOUNT from T order by ID");
  q.open();
  EXPECT_TRUE(q.active());
  EXPECT_TRUE(q.eof());
  EXPECT_EQ(q.record_count(), 0);
  EXPECT_EQ(q.field("NAME").as_string(), "");
  EXPECT_EQ(q.field("AMOUNT").as_float(), 0.0);
  for (int i = 1; i <= 3; ++i) insert(i, "n", i * 1.5, {});
  q.open();
  EXPECT_EQ(q.record_count(), 3);
  EXPECT_EQ(ids(q), (std::vector<int64_t>{1, 2, 3}));
  EXPECT_TRUE(q.eof());
  q.next();
  EXPECT_EQ(q.position(), 3);
  EXPECT_TRUE(q.field("ID").is_null());
  q.first();
  EXPECT_EQ(q.field("id").as_int(), 1);
}

TEST_F(QueryTest, fields_are_found_by_any_case_a_missing_one_is_named_and_null_reads_empty) {
  insert(1, "a", 1.0, {});
  insert(2, {}, {}, {});
  Query q(c_);
  q.sql("select ID, NAME as Fio from T order by ID");
  q.open();
  EXPECT_TRUE(q.has_field("fio"));
  EXPECT_EQ(q.field("FIO").as_string(), "a");
  EXPECT_EQ(q.field_count(), 2);
  EXPECT_EQ(q.field_name(1), "FIO");
  try {
    q.field("NOPE");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("NOPE"), std::string::npos);
  }
  q.sql("select NAME, AMOUNT, PRICE, DT, MEMO, CODE from T where ID = 2");
  q.open();
  for (const char* f : {"NAME", "AMOUNT", "PRICE", "DT", "MEMO", "CODE"}) {
    EXPECT_TRUE(q.field(f).is_null()) << f;
    EXPECT_EQ(q.field(f).as_string(), "") << f;
    EXPECT_EQ(q.field(f).as_int(), 0) << f;
    EXPECT_EQ(q.field(f).as_float(), 0.0) << f;
    EXPECT_EQ(q.field(f).as_date(), 0.0) << f;
  }
}

TEST_F(QueryTest, every_column_type_reads_back_what_was_written_and_converts) {
  TDateTime day = encode_date(2024, 2, 29);
  TDateTime stamp = encode_date(2026, 12, 5) + 0.75;  // 18:00
  Query q(c_);
  q.sql("insert into T values (:id, :name, :code, :amount, :price, :small, :big, :day, :stamp, :memo)");
  q.set("id", int64_t{7});
  q.set("name", "Иванов Иван Иванович");
  q.set("code", "AB");
  q.set("amount", 1234.5678);
  q.set("price", 10.25);
  q.set("small", int64_t{-3});
  q.set("big", int64_t{9000000000});
  q.set_date("day", day);
  q.set_date("stamp", stamp);
  q.set("memo", repeat("ж", 5000));
  q.exec_sql();
  q.sql("select * from T");
  q.open();
  EXPECT_EQ(q.field("NAME").as_string(), "Иванов Иван Иванович");
  EXPECT_EQ(q.field("CODE").as_string(), "AB");  // padding dropped
  EXPECT_DOUBLE_EQ(q.field("AMOUNT").as_float(), 1234.5678);
  EXPECT_DOUBLE_EQ(q.field("PRICE").as_float(), 10.25);
  EXPECT_EQ(q.field("PRICE").as_string(), "10.25");
  EXPECT_EQ(q.field("SMALL").as_int(), -3);
  EXPECT_EQ(q.field("BIG").as_int(), 9000000000);
  EXPECT_EQ(q.field("DT").as_date(), day);
  EXPECT_EQ(q.field("DT").as_string(), "29.02.2024");
  EXPECT_NEAR(q.field("STAMP").as_date(), stamp, 1e-9);
  EXPECT_EQ(q.field("STAMP").as_string(), "05.12.2026 18:00:00");
  EXPECT_EQ(q.field("MEMO").as_string(), repeat("ж", 5000));
  EXPECT_EQ(q.field("ID").as_string(), "7");
  // Text and numbers convert when read as the other.
  q.sql("select '42' as A, ' 3,5 ' as B, 'x1' as C, 2.6 as D, '05.12.2026' as E from RDB$DATABASE");
  q.open();
  EXPECT_EQ(q.field("A").as_int(), 42);
  EXPECT_DOUBLE_EQ(q.field("B").as_float(), 3.5);
  EXPECT_EQ(q.field("C").as_int(), 0);
  EXPECT_EQ(q.field("D").as_int(), 3);
  EXPECT_EQ(q.field("E").as_date(), encode_date(2026, 12, 5));
}

TEST_F(QueryTest, cyrillic_text_is_one_byte_a_letter_and_compares_with_literals) {
  insert(1, "Щукин Ёжик ъ", 0.0, {});
  insert(2, "Ж", 0.0, {});
  Query q(c_);
  q.sql("select NAME, octet_length(cast(NAME as varchar(40) character set win1251)) as L from T where NAME = :n");
  q.set("n", "Щукин Ёжик ъ");
  q.open();
  ASSERT_EQ(q.record_count(), 1);
  EXPECT_EQ(q.field("NAME").as_string(), "Щукин Ёжик ъ");
  EXPECT_EQ(q.field("L").as_int(), 12);
  q.sql("select ID, 'женщина' as KIND from T where NAME = 'Ж'");
  q.open();
  EXPECT_EQ(ids(q), std::vector<int64_t>{2});
  q.first();
  EXPECT_EQ(q.field("KIND").as_string(), "женщина");
  // A character outside Windows-1251 is refused.
  q.sql("insert into T (ID, NAME) values (3, :n)");
  q.set("n", "日本");
  EXPECT_THROW(q.exec_sql(), Error);
}

TEST_F(QueryTest, dates_bind_compare_and_are_refused_outside_what_firebird_keeps) {
  insert(1, "a", 0.0, Date{encode_date(2026, 1, 31)});
  insert(2, "b", 0.0, Date{encode_date(2026, 2, 1)});
  Query q(c_);
  q.sql("select ID from T where DT >= :d1 and DT < :d2");
  q.set_date("d1", encode_date(2026, 2, 1));
  q.set_date("d2", encode_date(2026, 3, 1));
  q.open();
  EXPECT_EQ(ids(q), std::vector<int64_t>{2});
  q.sql("insert into T (ID, DT) values (3, :d)");
  q.set_date("d", 1e12);
  EXPECT_THROW(q.exec_sql(), Error);  // before it is sent
  q.set_date("d", encode_date(1, 1, 1));
  q.exec_sql();
  q.sql("select DT from T where ID = 3");
  q.open();
  EXPECT_EQ(q.field("DT").as_string(), "01.01.0001");
}

TEST_F(QueryTest, locate_finds_the_first_match_and_stays_put_without_one) {
  insert(1, "Петров", 10.0, {});
  insert(2, "Сидоров", 20.0, {});
  insert(3, "Сидоров", 30.0, {});
  Query q(c_);
  q.sql("select * from T order by ID");
  q.open();
  EXPECT_TRUE(q.locate("name", "Сидоров"));
  EXPECT_EQ(q.field("ID").as_int(), 2);
  EXPECT_TRUE(q.locate("AMOUNT", int64_t{30}));
  EXPECT_EQ(q.field("ID").as_int(), 3);
  EXPECT_FALSE(q.locate("NAME", "сидоров"));  // exact text
  EXPECT_EQ(q.field("ID").as_int(), 3);
  EXPECT_TRUE(q.locate("ID", "1"));
  EXPECT_EQ(q.position(), 0);
  EXPECT_TRUE(q.locate("DT", Value{}));
}

TEST_F(QueryTest, sort_orders_text_numbers_dates_and_lists_with_nulls_first) {
  insert(1, "Ежов", 5.0, Date{encode_date(2020, 5, 1)});
  insert(2, "Ёлкин", {}, Date{encode_date(2019, 12, 31)});
  insert(3, {}, -1.0, {});
  insert(4, "Жуков", 100.0, Date{encode_date(2020, 1, 1)});
  insert(5, "Абрамов", 20.0, Date{encode_date(2021, 1, 1)});
  Query q(c_);
  q.sql("select * from T");
  q.open();
  q.sort("NAME");
  EXPECT_EQ(ids(q), (std::vector<int64_t>{3, 5, 1, 2, 4}));
  q.sort("amount");
  EXPECT_EQ(ids(q), (std::vector<int64_t>{2, 3, 1, 5, 4}));
  q.sort("DT");
  EXPECT_EQ(ids(q), (std::vector<int64_t>{3, 2, 4, 1, 5}));
  q.sort("DT DESC");
  EXPECT_EQ(ids(q), (std::vector<int64_t>{5, 1, 4, 2, 3}));
  // A list breaks ties with the next field; the cursor goes to the first row.
  insert(6, "Ежов", 1.0, {});
  insert(7, "Ежов", 9.0, {});
  q.open();
  q.move_to(2);
  q.sort("NAME, AMOUNT desc");
  EXPECT_EQ(q.position(), 0);
  EXPECT_EQ(ids(q), (std::vector<int64_t>{3, 5, 7, 1, 6, 2, 4}));
  EXPECT_THROW(q.sort("NAME,NOSUCH"), Error);
}

}  // namespace
