#include <gtest/gtest.h>

#include "db/database.h"

using hrdoc::db::parse_params;

TEST(Params, names_become_placeholders_in_order_and_repeats_are_kept) {
  auto p = parse_params("select * from t where a=:OW or :ow1 in (b,c) or 0=:Ow");
  EXPECT_EQ(p.text, "select * from t where a=? or ? in (b,c) or 0=?");
  EXPECT_EQ(p.names, (std::vector<std::string>{"OW", "OW1", "OW"}));
}

TEST(Params, colons_inside_literals_identifiers_and_comments_are_not_parameters) {
  auto p = parse_params(
      "select ':x', 'it''s :y', \"A:B\" from t -- :z\n"
      "where /* :w */ c=:real");
  EXPECT_EQ(p.names, std::vector<std::string>{"REAL"});
  EXPECT_EQ(p.text,
            "select ':x', 'it''s :y', \"A:B\" from t -- :z\n"
            "where /* :w */ c=?");
}

TEST(Params, a_colon_not_followed_by_a_name_stays) {
  auto p = parse_params("select a from t where b = : c or d=:1 or e=:p_2$");
  EXPECT_EQ(p.text, "select a from t where b = : c or d=:1 or e=?");
  EXPECT_EQ(p.names, std::vector<std::string>{"P_2$"});
}

TEST(Params, an_unterminated_literal_swallows_the_rest) {
  auto p = parse_params("select 'abc :x");
  EXPECT_TRUE(p.names.empty());
  EXPECT_EQ(p.text, "select 'abc :x");
}
