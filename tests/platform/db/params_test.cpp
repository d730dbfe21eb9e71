#include <gtest/gtest.h>

#include "db/database.h"

using hrdoc::db::parse_params;

TEST(Params, names_become_placeholders_except_inside_literals_identifiers_and_comments) {
  struct Case {
    std::string sql, text;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      // In order, upper-cased, repeats kept.
      {"select * from t where a=:OW or :ow1 in (b,c) or 0=:Ow", "select * from t where a=? or ? in (b,c) or 0=?",
       {"OW", "OW1", "OW"}},
      {"select ':x', 'it''s :y', \"A:B\" from t -- :z\nwhere /* :w */ c=:real",
       "select ':x', 'it''s :y', \"A:B\" from t -- :z\nwhere /* :w */ c=?", {"REAL"}},
      // A colon not followed by a name stays.
      {"select a from t where b = : c or d=:1 or e=:p_2$", "select a from t where b = : c or d=:1 or e=?", {"P_2$"}},
      // An unterminated literal swallows the rest.
      {"select 'abc :x", "select 'abc :x", {}},
  };
  for (const auto& c : cases) {
    auto p = parse_params(c.sql);
    EXPECT_EQ(p.text, c.text) << c.sql;
    EXPECT_EQ(p.names, c.names) << c.sql;
  }
}
