#include <gtest/gtest.h>

#include <filesystem>

#include "db/database.h"
#include "support/test_database.h"

using namespace hrdoc::db;

namespace {

class ConnectionTest : public ::testing::Test {
 protected:
  hrdoc::test::TestDatabase db_{LAYER_SCHEMA};
  Connection& c_ = db_.connection();

  int64_t count(Connection& c) {
    Query q(c);
    q.sql("select count(*) as N from T");
    q.open();
    return q.field("N").as_int();
  }
};

TEST_F(ConnectionTest, a_created_database_stores_text_in_windows_1251) {
  Query q(c_);
  q.sql("select trim(RDB$CHARACTER_SET_NAME) as CS from RDB$DATABASE");
  q.open();
  EXPECT_EQ(q.field("CS").as_string(), "WIN1251");
  q.sql("select trim(cs.RDB$CHARACTER_SET_NAME) as CS from MON$ATTACHMENTS a "
        "join RDB$CHARACTER_SETS cs on cs.RDB$CHARACTER_SET_ID = a.MON$CHARACTER_SET_ID "
        "where a.MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  q.open();
  EXPECT_EQ(q.field("CS").as_string(), "UTF8");
}

TEST_F(ConnectionTest, a_statement_error_carries_the_message_the_code_and_the_statement) {
  Query q(c_);
  q.sql("select NOSUCH from T where ID = :id");
  try {
    q.open();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.sql_code(), -206);
    EXPECT_NE(e.message().find("NOSUCH"), std::string::npos) << e.message();
    EXPECT_EQ(e.statement(), "select NOSUCH from T where ID = ?");
    EXPECT_EQ(std::string(e.what()), e.message());
  }
}

TEST_F(ConnectionTest, a_constraint_violation_is_reported_and_the_connection_goes_on) {
  c_.execute("insert into T (ID) values (1)");
  try {
    c_.execute("insert into T (ID) values (1)");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.sql_code(), -803);
    EXPECT_NE(e.message().find("PRIMARY"), std::string::npos) << e.message();
  }
  c_.execute("insert into T (ID) values (2)");
  EXPECT_EQ(count(c_), 2);
}

TEST_F(ConnectionTest, opening_a_missing_database_names_the_file) {
  std::string path = db_.path() + ".missing";
  try {
    Connection::open(path);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(e.message().find(path), std::string::npos) << e.message();
    EXPECT_NE(e.sql_code(), 0);
  }
}

TEST_F(ConnectionTest, without_a_transaction_each_statement_commits_by_itself) {
  c_.execute("insert into T (ID) values (1)");
  auto other = db_.open_another();
  EXPECT_EQ(count(*other), 1);
}

TEST_F(ConnectionTest, a_transaction_not_committed_rolls_back_when_it_goes) {
  {
    Transaction t(c_);
    EXPECT_TRUE(c_.in_transaction());
    c_.execute("insert into T (ID) values (1)");
    Query q(c_);
    q.sql("insert into T (ID) values (:id)");
    q.set("id", int64_t{2});
    q.exec_sql();
    EXPECT_EQ(count(c_), 2);  // visible inside
  }
  EXPECT_FALSE(c_.in_transaction());
  EXPECT_EQ(count(c_), 0);
}

TEST_F(ConnectionTest, a_committed_transaction_is_seen_by_another_connection_only_after_commit) {
  auto other = db_.open_another();
  Transaction t(c_);
  c_.execute("insert into T (ID) values (1)");
  EXPECT_EQ(count(*other), 0);
  t.commit();
  EXPECT_EQ(count(*other), 1);
  EXPECT_THROW(c_.commit(), Error);
}

TEST_F(ConnectionTest, a_row_locked_by_another_connection_is_refused_at_once) {
  c_.execute("insert into T (ID, NAME) values (1, 'a')");
  auto other = db_.open_another();
  Transaction t(*other);
  other->execute("update T set NAME = 'b' where ID = 1");
  try {
    c_.execute("update T set NAME = 'c' where ID = 1");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.sql_code(), -913) << e.message();
  }
}

TEST_F(ConnectionTest, the_same_text_is_prepared_once) {
  Query q(c_);
  int64_t before = c_.prepare_count();
  for (int i = 0; i < 5; ++i) {
    q.sql("insert into T (ID) values (:id)");
    q.set("id", int64_t{i});
    q.exec_sql();
  }
  EXPECT_EQ(c_.prepare_count(), before + 1);
  Query other(c_);
  other.sql("select * from T where ID = :id");
  other.open();
  other.open();
  EXPECT_EQ(c_.prepare_count(), before + 2);
  EXPECT_EQ(c_.cached_statements(), 2u + (before > 0 ? static_cast<size_t>(before) : 0u));
}

TEST_F(ConnectionTest, ddl_drops_the_prepared_statements) {
  Query q(c_);
  q.sql("select ID from T");
  q.open();
  EXPECT_GE(c_.cached_statements(), 1u);
  c_.execute("create table U (A integer)");
  EXPECT_EQ(c_.cached_statements(), 0u);
  c_.execute("insert into U values (1)");
  q.open();
  EXPECT_EQ(q.record_count(), 0);
}

TEST_F(ConnectionTest, a_script_runs_statements_procedures_and_skips_isql_settings) {
  c_.execute_script(R"(
    SET SQL DIALECT 3;
    SET GENERATOR T_GEN TO 41;
    /* a comment; with a terminator */
    CREATE TABLE S (A INTEGER, B VARCHAR(10)); -- another; one
    INSERT INTO S VALUES (1, 'x;y');
    SET TERM ^ ;
    CREATE PROCEDURE P RETURNS (N INTEGER) AS
    BEGIN
      /* counts; the rows */
      SELECT COUNT(*) FROM S INTO :N;
      SUSPEND;
    END^
    SET TERM ; ^
    COMMIT;
    INSERT INTO S VALUES (2, 'z');
  )");
  Query q(c_);
  q.sql("select N from P");
  q.open();
  EXPECT_EQ(q.field("N").as_int(), 2);
  q.sql("select GEN_ID(T_GEN, 1) as G from RDB$DATABASE");
  q.open();
  EXPECT_EQ(q.field("G").as_int(), 42);
  q.sql("select B from S where A = 1");
  q.open();
  EXPECT_EQ(q.field("B").as_string(), "x;y");
}

TEST_F(ConnectionTest, a_script_refuses_to_create_a_database) {
  try {
    c_.execute_script("SET NAMES UTF8;\nCREATE DATABASE 'x.fdb';\nCREATE TABLE S (A INTEGER);");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.statement(), "CREATE DATABASE 'x.fdb'");
  }
  Query q(c_);
  q.sql("select count(*) as N from RDB$RELATIONS where RDB$RELATION_NAME = 'S'");
  q.open();
  EXPECT_EQ(q.field("N").as_int(), 0);
}

TEST_F(ConnectionTest, generators_advance_through_a_plain_select) {
  Query q(c_);
  q.sql("select GEN_ID(T_GEN,1) from RDB$DATABASE");
  q.open();
  EXPECT_EQ(q.field("gen_id").as_int(), 1);
  q.open();
  EXPECT_EQ(q.field("GEN_ID").as_int(), 2);
}

TEST_F(ConnectionTest, a_parameter_count_mismatch_is_an_error_not_a_crash) {
  EXPECT_THROW(c_.run("select ID from T where ID = ?", {}, nullptr), Error);
}

TEST(Connection, creating_over_an_existing_file_fails) {
  hrdoc::test::TestDatabase db(LAYER_SCHEMA);
  EXPECT_THROW(Connection::create(db.path()), Error);
  EXPECT_TRUE(std::filesystem::exists(db.path()));
}

}  // namespace
