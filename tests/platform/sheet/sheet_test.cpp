#include <gtest/gtest.h>

#include "sheet/book.h"

using namespace hrdoc::sheet;

namespace {

class SheetTest : public ::testing::Test {
 protected:
  // A template-like sheet: heading merged over A1:D1, a bordered part in row 3, a total below.
  void fill_template(Sheet& t) {
    t.set_text(1, 1, "Ведомость");
    t.merge(Range{1, 1, 1, 4});
    t.set_text(3, 1, "$fio");
    t.set_number(3, 2, 10);
    t.merge(Range{3, 3, 3, 4});
    t.set_borders(Range{3, 1, 3, 4}, edge_all, 2, 0);
    t.set_row_height(3, 30);
    t.set_formula(5, 2, "SUM(B2:B4)");
  }
  // The texts of column c, rows r1..r2.
  std::vector<std::string> column(int c, int r1, int r2) {
    std::vector<std::string> out;
    for (int r = r1; r <= r2; ++r) out.push_back(s.text(r, c));
    return out;
  }
  Book b;
  Sheet& s = b.sheet(1);
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(SheetTest, values_of_every_kind_read_back) {
  s.set_number(2, 3, 1.5);
  s.set_text(2, 4, "Привет");
  s.set_formula(2, 5, "=C2*2");
  s.set_value(2, 6, Value{ValueType::boolean, 1, {}});
  s.set_value(2, 7, Value{ValueType::error, 0, "#N/A"});
  EXPECT_EQ(s.value(2, 3), Value::of(1.5));
  EXPECT_EQ(s.text(2, 4), "Привет");
  EXPECT_EQ(s.value(2, 5).type, ValueType::formula);
  EXPECT_EQ(s.value(2, 5).text, "C2*2");
  EXPECT_EQ(s.text(2, 6), "TRUE");
  EXPECT_EQ(s.value(2, 7).text, "#N/A");
  EXPECT_EQ(s.value(9, 9).type, ValueType::empty);
  s.set_values(10, 1, {{Value::of(1.0), Value::of("a")}, {Value::of(2.0), Value{}}});
  auto block = s.values(Range{10, 1, 11, 2});
  EXPECT_EQ(block[0][1].text, "a");
  EXPECT_EQ(block[1][0].number, 2);
  EXPECT_EQ(s.last_row(), 11);
  EXPECT_THROW(s.set_number(0, 1, 1), Error);
  EXPECT_THROW(s.set_number(1, max_columns + 1, 1), Error);
  EXPECT_THROW(s.set_text(1, 1, std::string(32768, 'x')), Error);
  s.set_text(1, 1, std::string(32767, 'x'));
}

TEST_F(SheetTest, inserting_and_deleting_rows_move_cells_merges_heights_breaks_and_formulas) {
  fill_template(s);
  s.set_formula(6, 1, "B3*2");
  s.add_row_break(5);
  s.insert_rows(2, 3);
  EXPECT_EQ(s.text(6, 1), "$fio");
  EXPECT_EQ(s.value(8, 2).text, "SUM(B5:B7)");  // the whole range lies below the insertion
  EXPECT_EQ(s.merges(), (std::vector<Range>{{1, 1, 1, 4}, {6, 3, 6, 4}}));
  EXPECT_EQ(s.row_height(6), 30);
  EXPECT_EQ(s.border(6, 1).top.style, "thin");
  EXPECT_EQ(s.border(3, 1).top.style, "");
  EXPECT_EQ(s.row_breaks(), std::vector<int>{8});
  s.delete_rows(2, 4);
  s.delete_rows(3, 3);  // the part with its merge goes; formulas to it break
  EXPECT_EQ(s.merges().size(), 1u);
  EXPECT_EQ(s.value(4, 2).text, "SUM(B2:B3)");
  EXPECT_EQ(s.value(5, 1).text, "#REF!*2");
  EXPECT_EQ(s.row_breaks(), std::vector<int>{4});
}

TEST_F(SheetTest, copying_a_part_with_insertion_carries_values_formats_merges_and_height) {
  fill_template(s);
  s.set_formula(3, 5, "B3*2");
  // The report pattern: the copy goes above the template part, which moves down.
  s.copy_rows(3, 3, 3, true);
  EXPECT_EQ(column(1, 3, 4), (Texts{"$fio", "$fio"}));
  EXPECT_EQ(s.value(3, 5).text, "B3*2");
  EXPECT_EQ(s.value(4, 5).text, "B4*2");
  EXPECT_EQ(s.row_height(3), 30);
  EXPECT_EQ(s.border(3, 4).right.style, "thin");
  EXPECT_EQ(s.merges(), (std::vector<Range>{{1, 1, 1, 4}, {3, 3, 3, 4}, {4, 3, 4, 4}}));
  EXPECT_EQ(s.value(6, 2).text, "SUM(B2:B5)");
  // A break before the part's row goes with every copy; one below it just moves down.
  s.add_row_break(4);
  s.add_row_break(5);
  s.copy_rows(4, 4, 4, true);
  EXPECT_EQ(s.row_breaks(), (std::vector<int>{4, 5, 6}));
}

TEST_F(SheetTest, block_copies_overwrite_or_shift_and_block_deletes_shift_within_their_columns) {
  s.set_text(1, 1, "x");
  s.set_text(1, 2, "y");
  s.set_text(5, 1, "old");
  s.set_text(5, 3, "keep");
  s.copy(Range{1, 1, 1, 2}, 5, 1);
  EXPECT_EQ(column(1, 5, 6), (Texts{"x", ""}));
  EXPECT_EQ(s.text(5, 2), "y");
  EXPECT_EQ(s.text(5, 3), "keep");
  // Shift right moves the cells of the target rows only, and references follow them.
  s.set_text(2, 2, "moved");
  s.set_text(3, 2, "stays");
  s.set_formula(4, 1, "B2&B3");
  s.copy(Range{1, 1, 1, 1}, 2, 2, true, Direction::right);
  EXPECT_EQ(s.text(2, 2), "x");
  EXPECT_EQ(s.text(2, 3), "moved");
  EXPECT_EQ(s.text(3, 2), "stays");
  EXPECT_EQ(s.value(4, 1).text, "C2&B3");
  Sheet& t = b.add_sheet("Числа");
  for (int r = 1; r <= 4; ++r) {
    t.set_number(r, 1, r);
    t.set_number(r, 2, r * 10);
  }
  t.delete_cells(Range{2, 2, 2, 2}, Direction::up);
  EXPECT_EQ(t.value(2, 1).number, 2);
  EXPECT_EQ(t.value(2, 2).number, 30);
  EXPECT_EQ(t.value(4, 2).type, ValueType::empty);
}

TEST_F(SheetTest, columns_insert_and_delete_move_widths_cells_and_names) {
  s.set_column_width(2, 20);
  s.set_text(1, 2, "b");
  s.set_text(1, 5, "e");
  b.set_defined_name("Area", "Sheet1!$B$1:$E$1");
  s.insert_columns(1, 1);
  EXPECT_EQ(s.text(1, 3), "b");
  EXPECT_EQ(s.column_width(3), 20);
  EXPECT_EQ(b.defined_name("Area")->formula, "Sheet1!$C$1:$F$1");
  s.delete_columns(3, 3);
  EXPECT_EQ(s.text(1, 5), "e");
  EXPECT_EQ(b.defined_name("Area")->formula, "Sheet1!$C$1:$E$1");
}

TEST_F(SheetTest, cut_and_insert_moves_a_line_up_or_down_with_its_references) {
  s.set_text(8, 1, "first");
  s.set_text(9, 1, "second");
  s.set_text(10, 1, "newest");
  s.set_number(10, 2, 7);
  s.set_formula(10, 3, "B10*2");
  s.set_formula(12, 1, "B10+B8");
  s.cut_insert(Range{10, 1, 10, 44}, 8, 1);
  EXPECT_EQ(column(1, 8, 10), (Texts{"newest", "first", "second"}));
  // References follow the moved cells; the moved formula still reads its own row.
  EXPECT_EQ(s.value(8, 3).text, "B8*2");
  EXPECT_EQ(s.value(12, 1).text, "B8+B9");
  // Moving down: the block lands above the destination row once its place has closed.
  s.cut_insert(Range{8, 1, 8, 44}, 11, 1);
  EXPECT_EQ(column(1, 8, 10), (Texts{"first", "second", "newest"}));
  EXPECT_EQ(s.value(10, 3).text, "B10*2");
  EXPECT_EQ(s.value(12, 1).text, "B10+B8");
}

TEST_F(SheetTest, formats_derive_new_styles_once_and_share_them) {
  size_t before = b.styles().size();
  s.set_fill(Range{1, 1, 10, 10}, 0x0000FF);
  size_t fills = b.styles().fill_count();
  s.set_fill(Range{20, 1, 20, 3}, 0x0000FF);
  EXPECT_EQ(b.styles().size(), before + 1);
  EXPECT_EQ(b.styles().fill_count(), fills);
  EXPECT_EQ(*s.fill(5, 5), 0x0000FFu);
  s.set_fill_index(Range{2, 2, 2, 2}, 3);
  EXPECT_EQ(*s.fill(2, 2), 0x0000FFu);  // classic index 3 is red
  EXPECT_FALSE(s.fill(30, 30));
  s.set_number_format(Range{1, 1, 1, 1}, "@");
  s.set_horizontal_alignment(Range{1, 1, 1, 1}, HAlign::center);
  s.set_vertical_alignment(Range{1, 1, 1, 1}, VAlign::top);
  s.set_wrap(Range{1, 1, 1, 1}, true);
  // Each change keeps the others.
  EXPECT_EQ(*s.fill(1, 1), 0x0000FFu);
  EXPECT_EQ(s.alignment(1, 1, "horizontal"), "center");
  EXPECT_EQ(s.alignment(1, 1, "vertical"), "top");
  EXPECT_EQ(s.alignment(1, 1, "wrapText"), "1");
  EXPECT_EQ(s.number_format(1, 1), "@");
  // Whole-row and whole-column formats reach cells written later.
  s.set_text(40, 3, "есть");
  s.set_fill(Range{40, 1, 40, max_columns}, 0x00FFFF);
  EXPECT_EQ(*s.fill(40, 3), 0x00FFFFu);
  EXPECT_EQ(*s.fill(40, 500), 0x00FFFFu);
  s.set_text(40, 700, "новая");
  EXPECT_EQ(*s.fill(40, 700), 0x00FFFFu);
  EXPECT_FALSE(s.fill(41, 3));
  s.set_fill(Range{1, 50, max_rows, 50}, 0xFF0000);
  EXPECT_EQ(*s.fill(45, 50), 0xFF0000u);
  s.set_number(41, 50, 1);
  EXPECT_EQ(*s.fill(41, 50), 0xFF0000u);
  EXPECT_THROW(s.set_style(1, 1, 100000), Error);
}

TEST_F(SheetTest, borders_follow_the_edge_mask) {
  s.set_borders(Range{2, 2, 3, 3}, edge_top | edge_left, -4138, 0x0000FF);
  EXPECT_EQ(s.border(2, 2).top.style, "medium");
  EXPECT_EQ(s.border(2, 2).top.color, "rgb=\"FFFF0000\"");
  EXPECT_EQ(s.border(2, 3).left.style, "");
  EXPECT_EQ(s.border(3, 2).top.style, "");
  EXPECT_EQ(s.border(3, 2).left.style, "medium");
  s.set_borders(Range{2, 2, 3, 3}, edge_inside_horizontal, 2);
  EXPECT_EQ(s.border(2, 3).bottom.style, "thin");
  EXPECT_EQ(s.border(3, 3).top.style, "thin");
  EXPECT_EQ(s.border(3, 3).bottom.style, "");
  s.set_borders(Range{2, 2, 3, 3}, 0);
  EXPECT_EQ(s.border(2, 2), Border{});
}

TEST_F(SheetTest, merges_hidden_rows_and_page_breaks) {
  s.set_text(1, 1, "keep");
  s.set_text(1, 2, "lost");
  s.merge(Range{1, 1, 2, 2});
  EXPECT_EQ(s.text(1, 2), "");
  EXPECT_TRUE(s.is_merged(Range{1, 1, 1, 1}));
  EXPECT_EQ(*s.merge_area(2, 2), (Range{1, 1, 2, 2}));
  s.unmerge(Range{2, 2, 2, 2});
  EXPECT_TRUE(s.merges().empty());
  s.hide_rows(2, 3);
  s.hide_columns(4, 4);
  EXPECT_TRUE(s.row_hidden(3));
  EXPECT_FALSE(s.row_hidden(4));
  EXPECT_TRUE(s.column_hidden(4));
  for (int r : {10, 5, 10}) s.add_row_break(r);
  EXPECT_EQ(s.row_breaks(), (std::vector<int>{5, 10}));
  s.insert_rows(6, 2);
  EXPECT_EQ(s.row_breaks(), (std::vector<int>{5, 12}));
  s.delete_row_break(1);
  EXPECT_EQ(s.row_breaks(), (std::vector<int>{12}));
  EXPECT_THROW(s.delete_row_break(3), Error);
}

TEST_F(SheetTest, auto_fit_grows_with_text_and_font) {
  s.set_text(1, 1, "короткий");
  s.set_text(2, 2, "гораздо более длинный текст ячейки");
  s.auto_fit_columns(1, 3);
  EXPECT_GT(s.column_width(2), s.column_width(1));
  EXPECT_GE(s.column_width(2), 30);
  EXPECT_EQ(s.column_width(3), s.column_width(50));  // empty column untouched
  s.set_text(3, 1, "строка 1\nстрока 2\nстрока 3");
  s.auto_fit_rows(1, 3);
  EXPECT_GT(s.row_height(3), 2.5 * s.row_height(1));
}

TEST_F(SheetTest, sort_orders_rows_by_a_column_with_blanks_last) {
  const char* names[] = {"Яковлев", "иванов", "", "Ёлкин", "Борисов"};
  for (int i = 0; i < 5; ++i) {
    if (*names[i]) s.set_text(3 + i, 3, names[i]);
    s.set_number(3 + i, 2, i);
  }
  s.set_text(2, 3, "header");
  s.sort(Range{3, 1, 7, 4}, 3);
  EXPECT_EQ(column(3, 2, 7), (Texts{"header", "Борисов", "Ёлкин", "иванов", "Яковлев", ""}));
  EXPECT_EQ(s.value(3, 2).number, 4);  // the row travels with its key
  s.sort(Range{3, 1, 7, 4}, 3, false);
  EXPECT_EQ(column(3, 3, 7), (Texts{"Яковлев", "иванов", "Ёлкин", "Борисов", ""}));
}

TEST_F(SheetTest, sheets_add_copy_move_rename_delete) {
  Sheet& first = s;
  fill_template(first);
  b.set_print_titles(1, 1, 2);
  Sheet& copy = b.copy_sheet(1, 1, true);
  EXPECT_EQ(copy.name(), "Sheet1 (2)");
  EXPECT_EQ(copy.index(), 2);
  EXPECT_EQ(copy.merges(), first.merges());
  EXPECT_EQ(copy.text(3, 1), "$fio");
  ASSERT_NE(b.defined_name("_xlnm.Print_Titles", 2), nullptr);
  EXPECT_EQ(b.defined_name("_xlnm.Print_Titles", 2)->formula, "'Sheet1 (2)'!$1:$2");
  // The copy's formulas are its own: inserting into the original leaves them.
  first.insert_rows(1, 1);
  EXPECT_EQ(copy.value(5, 2).text, "SUM(B2:B4)");
  EXPECT_EQ(first.value(6, 2).text, "SUM(B3:B5)");
  EXPECT_EQ(b.defined_name("_xlnm.Print_Titles", 1)->formula, "Sheet1!$2:$3");
  b.add_sheet("Итоги", 1);
  EXPECT_EQ(b.sheet(1).name(), "Итоги");
  EXPECT_EQ(b.defined_name("_xlnm.Print_Titles", 2)->formula, "Sheet1!$2:$3");
  b.sheet(1).set_formula(1, 1, "Sheet1!B6+'Sheet1 (2)'!B5");
  b.rename_sheet(2, "Данные");
  EXPECT_EQ(b.sheet(1).value(1, 1).text, "Данные!B6+'Sheet1 (2)'!B5");
  b.move_sheet(1, 3, true);
  EXPECT_EQ(b.sheet(3).name(), "Итоги");
  EXPECT_EQ(b.defined_name("_xlnm.Print_Titles", 1)->formula, "Данные!$2:$3");
  b.delete_sheet(1);
  EXPECT_EQ(b.sheet(2).value(1, 1).text, "#REF!+'Sheet1 (2)'!B5");
  EXPECT_EQ(b.defined_name("_xlnm.Print_Titles", 1)->formula, "'Sheet1 (2)'!$1:$2");
  EXPECT_THROW(b.add_sheet("итоги"), Error);
  EXPECT_THROW(b.add_sheet("a/b"), Error);
  EXPECT_THROW(b.sheet(5), Error);
  b.delete_sheet(2);
  EXPECT_THROW(b.delete_sheet(1), Error);
}

TEST_F(SheetTest, appending_20000_parts_with_merges_keeps_every_part) {
  // Appending near the end must not touch the rows above.
  fill_template(s);
  int part = 3;
  for (int i = 0; i < 20000; ++i, ++part) {
    s.set_number(part, 2, i);
    s.copy_rows(part, part, part, true);
  }
  EXPECT_EQ(s.value(3, 2).number, 0);
  EXPECT_EQ(s.value(20002, 2).number, 19999);
  EXPECT_EQ(s.merges().size(), 20002u);
  EXPECT_TRUE(s.is_merged(Range{20002, 3, 20002, 4}));
  EXPECT_EQ(s.value(part + 2, 2).text, "SUM(B2:B" + std::to_string(part + 1) + ")");
}

TEST_F(SheetTest, copying_onto_another_sheet_brings_formats_and_merges) {
  fill_template(s);
  Sheet& dst = b.add_sheet("Копия");
  dst.set_text(3, 1, "ниже");
  s.copy(Range{1, 1, 3, 4}, 2, 2, true, Direction::down, &dst);
  EXPECT_EQ(dst.text(2, 2), "Ведомость");
  EXPECT_EQ(dst.merges(), (std::vector<Range>{{2, 2, 2, 5}, {4, 4, 4, 5}}));
  EXPECT_EQ(dst.border(4, 2).top.style, "thin");
  EXPECT_EQ(dst.text(3, 1), "ниже");  // column A is outside the inserted block
  EXPECT_EQ(s.merges().size(), 2u);
  Book other;
  EXPECT_THROW(s.copy(Range{1, 1, 1, 1}, 1, 1, false, Direction::down, &other.sheet(1)), Error);
}

TEST(BookSheets, copies_take_the_first_free_number_and_names_ignore_letter_case) {
  Book b;
  b.rename_sheet(1, "Лист");
  for (int i = 0; i < 3; ++i) b.copy_sheet(1, b.sheet_count(), true);
  EXPECT_EQ(b.sheet(4).name(), "Лист (4)");
  EXPECT_EQ(b.copy_sheet(3, 4, true).name(), "Лист (5)");  // a copy of a copy counts on
  EXPECT_THROW(b.add_sheet("лист (3)"), Error);
  b.delete_sheet(2);  // "Лист (2)" is free again
  EXPECT_EQ(b.copy_sheet(1, 1, true).name(), "Лист (2)");
  b.rename_sheet(3, "Итоги");  // so is "Лист (3)"
  EXPECT_EQ(b.copy_sheet(1, 1).name(), "Лист (3)");
  b.rename_sheet(1, "ИТОГИ (2)");
  EXPECT_THROW(b.rename_sheet(2, "итоги"), Error);
  Sheet* totals = b.find_sheet("ИТОГИ");
  ASSERT_NE(totals, nullptr);
  b.rename_sheet(totals->index(), "итоги");  // its own name in other letters
  EXPECT_EQ(totals->name(), "итоги");
}
