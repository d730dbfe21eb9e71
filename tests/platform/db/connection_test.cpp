#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "db/database.h"
#include "support/test_database.h"

using namespace hrdoc::db;

namespace {

class ConnectionTest : public ::testing::Test {
 protected:
  hrdoc::test::TestDatabase db_{LAYER_SCHEMA};
  Connection& c_ = db_.connection();

  // The first column of the first row of a statement, as text.
  static std::string scalar(Connection& c, const std::string& sql) {
    Query q(c);
    q.sql(sql);
    q.open();
    return q.field(q.field_name(0)).as_string();
  }
  static int64_t count(Connection& c) { return std::stoll(scalar(c, "select count(*) from T")); }
  // The error an action raises; fails the test when there is none.
  static Error error_of(const std::function<void()>& action) {
    try {
      action();
    } catch (const Error& e) {
      return e;
    }
    ADD_FAILURE() << "no error";
    return Error("", 0);
  }
};

TEST_F(ConnectionTest, the_database_stores_windows_1251_and_the_connection_speaks_utf8) {
  EXPECT_EQ(scalar(c_, "select trim(RDB$CHARACTER_SET_NAME) from RDB$DATABASE"), "WIN1251");
  EXPECT_EQ(scalar(c_, "select trim(cs.RDB$CHARACTER_SET_NAME) from MON$ATTACHMENTS a "
                       "join RDB$CHARACTER_SETS cs on cs.RDB$CHARACTER_SET_ID = a.MON$CHARACTER_SET_ID "
                       "where a.MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            "UTF8");
}

TEST_F(ConnectionTest, errors_carry_the_message_the_code_and_the_statement_and_the_connection_goes_on) {
  Error e = error_of([&] {
    Query q(c_);
    q.sql("select NOSUCH from T where ID = :id");
    q.open();
  });
  EXPECT_EQ(e.sql_code(), -206);
  EXPECT_NE(e.message().find("NOSUCH"), std::string::npos) << e.message();
  EXPECT_EQ(e.statement(), "select NOSUCH from T where ID = ?");
  EXPECT_EQ(std::string(e.what()), e.message());

  c_.execute("insert into T (ID) values (1)");
  e = error_of([&] { c_.execute("insert into T (ID) values (1)"); });
  EXPECT_EQ(e.sql_code(), -803);
  EXPECT_NE(e.message().find("PRIMARY"), std::string::npos) << e.message();
  c_.execute("insert into T (ID) values (2)");
  EXPECT_EQ(count(c_), 2);

  const std::string missing = db_.path() + ".missing";
  e = error_of([&] { Connection::open(missing); });
  EXPECT_NE(e.message().find(missing), std::string::npos) << e.message();
  EXPECT_NE(e.sql_code(), 0);
  EXPECT_THROW(c_.run("select ID from T where ID = ?", {}, nullptr), Error);  // parameter count mismatch
  EXPECT_THROW(Connection::create(db_.path()), Error);
  EXPECT_TRUE(std::filesystem::exists(db_.path()));
}

TEST_F(ConnectionTest, transactions_commit_roll_back_and_lock) {
  auto other = db_.open_another();
  c_.execute("insert into T (ID) values (1)");  // without a transaction: committed at once
  EXPECT_EQ(count(*other), 1);
  {
    Transaction t(c_);
    EXPECT_TRUE(c_.in_transaction());
    c_.execute("insert into T (ID) values (2)");
    Query q(c_);
    q.sql("insert into T (ID) values (:id)");
    q.set("id", int64_t{3});
    q.exec_sql();
    EXPECT_EQ(count(c_), 3);  // visible inside
    EXPECT_EQ(count(*other), 1);
  }
  EXPECT_FALSE(c_.in_transaction());
  EXPECT_EQ(count(c_), 1);  // not committed: rolled back when it went
  {
    Transaction t(c_);
    c_.execute("insert into T (ID) values (4)");
    t.commit();
    EXPECT_EQ(count(*other), 2);
    EXPECT_THROW(c_.commit(), Error);
  }
  // A row locked by another connection is refused at once.
  Transaction t(*other);
  other->execute("update T set NAME = 'b' where ID = 1");
  EXPECT_EQ(error_of([&] { c_.execute("update T set NAME = 'c' where ID = 1"); }).sql_code(), -913);
}

TEST_F(ConnectionTest, the_same_text_is_prepared_once_until_ddl_drops_the_cache) {
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
  c_.execute("create table U (A integer)");
  EXPECT_EQ(c_.cached_statements(), 0u);
  c_.execute("insert into U values (1)");
  other.open();
  EXPECT_EQ(other.record_count(), 0);
}

TEST_F(ConnectionTest, a_script_runs_statements_procedures_skips_isql_settings_and_never_creates_a_database) {
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
  EXPECT_EQ(scalar(c_, "select N from P"), "2");
  EXPECT_EQ(scalar(c_, "select B from S where A = 1"), "x;y");
  // Generators advance through a plain select; the field is found by any case.
  Query q(c_);
  q.sql("select GEN_ID(T_GEN,1) from RDB$DATABASE");
  q.open();
  EXPECT_EQ(q.field("gen_id").as_int(), 42);
  q.open();
  EXPECT_EQ(q.field("GEN_ID").as_int(), 43);
  // A script that would create a database stops there.
  Error e = error_of([&] { c_.execute_script("SET NAMES UTF8;\nCREATE DATABASE 'x.fdb';\nCREATE TABLE S2 (A INTEGER);"); });
  EXPECT_EQ(e.statement(), "CREATE DATABASE 'x.fdb'");
  EXPECT_EQ(scalar(c_, "select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'S2'"), "0");
}

}  // namespace

namespace {

// The same cases run embedded and through the test server; each run must really be the one it
// says it is.
TEST(ConnectionPath, a_test_run_through_the_server_is_attached_over_tcp_and_an_embedded_one_in_process) {
  hrdoc::test::TestDatabase db(LAYER_SCHEMA);
  Query q(db.connection());
  q.sql("select MON$REMOTE_PROTOCOL as P from MON$ATTACHMENTS where MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  q.open();
  if (hrdoc::test::server_prefix().empty())
    EXPECT_TRUE(q.field("P").is_null()) << q.field("P").as_string();
  else
    EXPECT_EQ(q.field("P").as_string(), "TCPv4");
  EXPECT_EQ(is_remote(db.connection().database()), !hrdoc::test::server_prefix().empty());
}

}  // namespace
