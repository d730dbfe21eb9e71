#include "sheet/ref.h"

#include <gtest/gtest.h>

using namespace hrdoc::sheet;

TEST(Ref, parses_cells_blocks_whole_rows_and_columns_and_names_columns) {
  for (auto [c, name] : std::vector<std::pair<int, std::string>>{{1, "A"}, {26, "Z"}, {27, "AA"}, {256, "IV"}, {16384, "XFD"}})
    EXPECT_EQ(column_name(c), name);
  for (int c : {1, 26, 27, 52, 53, 702, 703, 16384}) EXPECT_EQ(parse_range(column_name(c) + "1")->col1, c);
  EXPECT_EQ(*parse_range("B7"), (Range{7, 2, 7, 2}));
  EXPECT_EQ(*parse_range("$A$1:C3"), (Range{1, 1, 3, 3}));
  EXPECT_EQ(*parse_range("A5:IV5"), (Range{5, 1, 5, 256}));
  EXPECT_EQ(*parse_range("3:5"), (Range{3, 1, 5, max_columns}));
  EXPECT_EQ(*parse_range("B:C"), (Range{1, 2, max_rows, 3}));
  for (const char* bad : {"A0", "XFE1", "A1048577", "A1:", "hello"}) EXPECT_FALSE(parse_range(bad)) << bad;
}

TEST(Ref, shifts_rewrite_only_the_references_that_move) {
  struct Case {
    Shift shift;
    std::string formula, sheet, changed, expected;
  };
  const Shift insert2at5{true, 5, 2}, delete3and4{true, 3, -2}, down1{true, 1, 1}, down3{true, 1, 3};
  const Case cases[] = {
      // Inserting rows moves references below and stretches spanning ranges.
      {insert2at5, "A4+A5+$B$6", "S", "S", "A4+A7+$B$8"},
      {insert2at5, "SUM(C2:C10)", "S", "S", "SUM(C2:C12)"},
      {insert2at5, "SUM(C5:C10)", "S", "S", "SUM(C7:C12)"},
      {insert2at5, "SUM(C1:C4)", "S", "S", "SUM(C1:C4)"},
      {insert2at5, "SUM(A:A)", "S", "S", "SUM(A:A)"},
      {insert2at5, "SUM(5:6)", "S", "S", "SUM(7:8)"},
      // Deleting rows shrinks ranges and breaks lost cells.
      {delete3and4, "A3", "S", "S", "#REF!"},
      {delete3and4, "A5*2", "S", "S", "A3*2"},
      {delete3and4, "SUM(A1:A10)", "S", "S", "SUM(A1:A8)"},
      {delete3and4, "SUM(A3:A4)", "S", "S", "SUM(#REF!)"},
      {delete3and4, "SUM(A4:A6)", "S", "S", "SUM(A3:A4)"},
      // Only references to the changed sheet move.
      {down1, "A1+Other!A1+'My sheet'!B2", "Data", "Other", "A1+Other!A2+'My sheet'!B2"},
      {down1, "A1+'My sheet'!B2", "Data", "my sheet", "A1+'My sheet'!B3"},
      {down1, "Лист1!A1", "X", "лист1", "Лист1!A2"},
      // Strings, functions and names stay.
      {down3, "IF(A1>0,\"A1 B2\",LOG10(A2))", "S", "S", "IF(A4>0,\"A1 B2\",LOG10(A5))"},
      {down3, "Total_2024+1E+5+TRUE", "S", "S", "Total_2024+1E+5+TRUE"},
      {down3, "Table1[Col A1]", "S", "S", "Table1[Col A1]"},
      // A block shift moves only references inside its band (cells B2:C.. down one row).
      {{true, 2, 1, 2, 3}, "B2+C5+A2+D2", "S", "S", "B3+C6+A2+D2"},
      {{true, 2, 1, 2, 3}, "SUM(A2:D2)", "S", "S", "SUM(A2:D2)"},
      {{false, 2, 2, 1, max_rows}, "A1+B1+$C$1+SUM(A1:C1)+SUM(B:C)", "S", "S", "A1+D1+$E$1+SUM(A1:E1)+SUM(D:E)"},
  };
  for (const auto& c : cases) EXPECT_EQ(shift_formula(c.formula, c.sheet, c.changed, c.shift), c.expected) << c.formula;
}

TEST(Ref, pasting_moves_relative_parts_and_renaming_rewrites_prefixes) {
  EXPECT_EQ(translate_formula("A1*$B$1+A$1+$A1", 3, 1), "B4*$B$1+B$1+$A4");
  EXPECT_EQ(translate_formula("A1", -1, 0), "#REF!");
  EXPECT_EQ(translate_formula("Other!C3", 1, 1), "Other!D4");
  EXPECT_EQ(rename_in_formula("Data!A1+data!B2+A3", "Data", "New name"), "'New name'!A1+'New name'!B2+A3");
  EXPECT_EQ(rename_in_formula("'O''Brien'!A1", "O'Brien", "Отчёт"), "Отчёт!A1");
  EXPECT_EQ(rename_in_formula("Data!A1+1", "Data", ""), "#REF!+1");
  EXPECT_EQ(sheet_prefix("A1"), "'A1'!");
}
