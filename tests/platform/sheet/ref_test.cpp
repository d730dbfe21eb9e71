#include "sheet/ref.h"

#include <gtest/gtest.h>

using namespace hrdoc::sheet;

TEST(Ref, column_letters_round_trip) {
  EXPECT_EQ(column_name(1), "A");
  EXPECT_EQ(column_name(26), "Z");
  EXPECT_EQ(column_name(27), "AA");
  EXPECT_EQ(column_name(256), "IV");
  EXPECT_EQ(column_name(16384), "XFD");
  for (int c : {1, 26, 27, 52, 53, 702, 703, 16384}) EXPECT_EQ(parse_range(column_name(c) + "1")->col1, c);
}

TEST(Ref, parses_cells_blocks_whole_rows_and_columns) {
  EXPECT_EQ(*parse_range("B7"), (Range{7, 2, 7, 2}));
  EXPECT_EQ(*parse_range("$A$1:C3"), (Range{1, 1, 3, 3}));
  EXPECT_EQ(*parse_range("A5:IV5"), (Range{5, 1, 5, 256}));
  EXPECT_EQ(*parse_range("3:5"), (Range{3, 1, 5, max_columns}));
  EXPECT_EQ(*parse_range("B:C"), (Range{1, 2, max_rows, 3}));
  EXPECT_FALSE(parse_range("A0"));
  EXPECT_FALSE(parse_range("XFE1"));
  EXPECT_FALSE(parse_range("A1048577"));
  EXPECT_FALSE(parse_range("A1:"));
  EXPECT_FALSE(parse_range("hello"));
}

TEST(Ref, insert_rows_moves_references_below_and_stretches_spanning_ranges) {
  Shift s{true, 5, 2};
  EXPECT_EQ(shift_formula("A4+A5+$B$6", "S", "S", s), "A4+A7+$B$8");
  EXPECT_EQ(shift_formula("SUM(C2:C10)", "S", "S", s), "SUM(C2:C12)");
  EXPECT_EQ(shift_formula("SUM(C5:C10)", "S", "S", s), "SUM(C7:C12)");
  EXPECT_EQ(shift_formula("SUM(C1:C4)", "S", "S", s), "SUM(C1:C4)");
  EXPECT_EQ(shift_formula("SUM(A:A)", "S", "S", s), "SUM(A:A)");
  EXPECT_EQ(shift_formula("SUM(5:6)", "S", "S", s), "SUM(7:8)");
}

TEST(Ref, delete_rows_shrinks_ranges_and_breaks_lost_cells) {
  Shift s{true, 3, -2};  // rows 3 and 4 go
  EXPECT_EQ(shift_formula("A3", "S", "S", s), "#REF!");
  EXPECT_EQ(shift_formula("A5*2", "S", "S", s), "A3*2");
  EXPECT_EQ(shift_formula("SUM(A1:A10)", "S", "S", s), "SUM(A1:A8)");
  EXPECT_EQ(shift_formula("SUM(A3:A4)", "S", "S", s), "SUM(#REF!)");
  EXPECT_EQ(shift_formula("SUM(A4:A6)", "S", "S", s), "SUM(A3:A4)");
}

TEST(Ref, only_references_to_the_changed_sheet_move) {
  Shift s{true, 1, 1};
  EXPECT_EQ(shift_formula("A1+Other!A1+'My sheet'!B2", "Data", "Other", s), "A1+Other!A2+'My sheet'!B2");
  EXPECT_EQ(shift_formula("A1+'My sheet'!B2", "Data", "my sheet", s), "A1+'My sheet'!B3");
  EXPECT_EQ(shift_formula("Лист1!A1", "X", "лист1", s), "Лист1!A2");
}

TEST(Ref, strings_functions_and_names_are_left_alone) {
  Shift s{true, 1, 3};
  EXPECT_EQ(shift_formula("IF(A1>0,\"A1 B2\",LOG10(A2))", "S", "S", s), "IF(A4>0,\"A1 B2\",LOG10(A5))");
  EXPECT_EQ(shift_formula("Total_2024+1E+5+TRUE", "S", "S", s), "Total_2024+1E+5+TRUE");
  EXPECT_EQ(shift_formula("Table1[Col A1]", "S", "S", s), "Table1[Col A1]");
}

TEST(Ref, block_shift_moves_only_references_inside_the_band) {
  Shift s{true, 2, 1, 2, 3};  // cells B2:C.. move down one row
  EXPECT_EQ(shift_formula("B2+C5+A2+D2", "S", "S", s), "B3+C6+A2+D2");
  EXPECT_EQ(shift_formula("SUM(A2:D2)", "S", "S", s), "SUM(A2:D2)");
}

TEST(Ref, column_shift_moves_columns_right) {
  Shift s{false, 2, 2, 1, max_rows};
  EXPECT_EQ(shift_formula("A1+B1+$C$1+SUM(A1:C1)+SUM(B:C)", "S", "S", s), "A1+D1+$E$1+SUM(A1:E1)+SUM(D:E)");
}

TEST(Ref, pasting_moves_relative_parts_only) {
  EXPECT_EQ(translate_formula("A1*$B$1+A$1+$A1", 3, 1), "B4*$B$1+B$1+$A4");
  EXPECT_EQ(translate_formula("A1", -1, 0), "#REF!");
  EXPECT_EQ(translate_formula("Other!C3", 1, 1), "Other!D4");
}

TEST(Ref, renaming_a_sheet_rewrites_prefixes_and_quotes_when_needed) {
  EXPECT_EQ(rename_in_formula("Data!A1+data!B2+A3", "Data", "New name"), "'New name'!A1+'New name'!B2+A3");
  EXPECT_EQ(rename_in_formula("'O''Brien'!A1", "O'Brien", "Отчёт"), "Отчёт!A1");
  EXPECT_EQ(rename_in_formula("Data!A1+1", "Data", ""), "#REF!+1");
  EXPECT_EQ(sheet_prefix("A1"), "'A1'!");
}
