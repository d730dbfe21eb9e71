#include <gtest/gtest.h>

#include "host/compark.h"
#include "host/uosrv220.h"
#include "host/uosrv250.h"

namespace {

using hrdoc::GetPathRow;
using hrdoc::GetPathSkpw;
using hrdoc::SepStr;

skpw record(int format_code) {
  skpw r;
  r.format_code = format_code;
  r.enterprise_name = "ОАО «Заречтрубопровод»";
  r.top_sname = "ЛПУ";
  r.second_sname = "Цех 2";
  r.third_sname = "Участок 5";
  r.employee_sname = "Иванов И.И.";
  return r;
}

TEST(GetPathSkpw, all_levels_top_first_with_the_enterprise_only_for_format_code_99) {
  EXPECT_EQ(SepStr("ЛПУ", "Цех"), ", ");
  for (auto [a, b] : {std::pair{"", "Цех"}, {"ЛПУ", ""}, {"", ""}}) EXPECT_EQ(SepStr(a, b), "") << a << "|" << b;
  EXPECT_EQ(GetPathSkpw(record(1)), "ЛПУ, Цех 2, Участок 5, Иванов И.И.");
  EXPECT_EQ(GetPathSkpw(record(99)), "ОАО «Заречтрубопровод», ЛПУ, Цех 2, Участок 5, Иванов И.И.");
  for (int code : {0, 98, 100}) EXPECT_EQ(GetPathSkpw(record(code)), GetPathSkpw(record(1))) << code;
  // Empty parts are skipped.
  skpw r = record(1);
  r.second_sname = r.third_sname = "";
  EXPECT_EQ(GetPathSkpw(r), "ЛПУ, Иванов И.И.");
  r.top_sname = "";
  EXPECT_EQ(GetPathSkpw(r), "Иванов И.И.");
  r.employee_sname = "";
  EXPECT_EQ(GetPathSkpw(r), "");
  r.format_code = 99;
  EXPECT_EQ(GetPathSkpw(r), "ОАО «Заречтрубопровод»");
}

TEST(GetPathRow, sort1_only_for_format_code_99_and_flag_0_and_empty_columns_skipped) {
  std::array<std::string, 4> sorts{"Управление", "ЛПУ", "Цех 2", "Участок 5"};
  EXPECT_EQ(GetPathRow(sorts, record(99), 0), "Управление, ЛПУ, Цех 2, Участок 5");
  EXPECT_EQ(GetPathRow(sorts, record(99), 1234), "ЛПУ, Цех 2, Участок 5");
  EXPECT_EQ(GetPathRow(sorts, record(1), 0), "ЛПУ, Цех 2, Участок 5");
  EXPECT_EQ(GetPathRow({"", "ЛПУ", "", "Участок 5"}, record(1), 0), "ЛПУ, Участок 5");
  EXPECT_EQ(GetPathRow({"Управление", "", "", ""}, record(99), 0), "Управление");
  EXPECT_EQ(GetPathRow({"Управление", "", "", ""}, record(1), 0), "");
}

TEST(GetKodUosrv220, maps_every_listed_code_and_gives_zero_for_others) {
  const int map[][2] = {{7, 21},   {3, 22},   {2, 121},  {1, 31},   {5, 131},  {8, 26},  {9, 32},  {101, 48},
                        {102, 49}, {103, 43}, {104, 46}, {11, 27},  {51, 51},  {106, 54}, {107, 55}};
  for (const auto& [in, out] : map) EXPECT_EQ(hrdoc::GetKodUosrv220(in), out) << in;
  for (int code : {4, 6, 10, 105, 0, -1, 21, 100, 108, 1000}) EXPECT_EQ(hrdoc::GetKodUosrv220(code), 0) << code;
}

}  // namespace
