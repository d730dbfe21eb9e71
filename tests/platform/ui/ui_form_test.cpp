#include <gtest/gtest.h>

#include "ui/ui.h"

namespace {

using namespace hrdoc::ui;

TEST(Assign, dates_are_normalised_and_checked) {
  Field f = date_field("d", "Дата");
  EXPECT_EQ(assign(f, "2026-12-01"), "");
  EXPECT_EQ(f.value, "01.12.2026");
  EXPECT_EQ(assign(f, " 05.01.2027 "), "");
  EXPECT_NE(assign(f, "31.02.2026"), "");
  EXPECT_EQ(f.value, "05.01.2027");  // unchanged on error
  EXPECT_EQ(assign(f, ""), "");
  EXPECT_EQ(f.value, "");
}

TEST(Assign, spin_numbers_stay_within_their_range) {
  Field f = spin_field("n", "Лет", 0, 50, 5);
  EXPECT_EQ(assign(f, "12"), "");
  EXPECT_EQ(f.value, "12");
  EXPECT_NE(assign(f, "51"), "");
  EXPECT_NE(assign(f, "-1"), "");
  EXPECT_NE(assign(f, "7x"), "");
  EXPECT_EQ(f.value, "12");
}

TEST(Assign, radio_and_pick_take_an_index_or_an_item_text) {
  Field r = radio_field("rg", "Сортировка по...", {"ФИО", "ТН", "Дате приема"});
  EXPECT_EQ(r.index(), 0);
  EXPECT_EQ(assign(r, "2"), "");
  EXPECT_EQ(r.index(), 2);
  EXPECT_EQ(assign(r, "тн"), "");  // case aside, Cyrillic too
  EXPECT_EQ(r.index(), 1);
  EXPECT_EQ(shown_value(r), "ТН");
  EXPECT_NE(assign(r, "3"), "");
  EXPECT_NE(assign(r, "Стаж"), "");

  Field p = pick_field("kind", "Вид стажа", {"Общий", "Непрерывный"});
  EXPECT_TRUE(p.required);
  EXPECT_EQ(p.index(), -1);
  EXPECT_EQ(assign(p, "Непрерывный"), "");
  EXPECT_EQ(p.value, "1");
}

TEST(Assign, check_lists_take_all_none_or_a_list) {
  Field c = checklist_field("lv", "Сотрудники", {"Иванов", "Петров", "Сидоров"}, {11, 12, 13});
  EXPECT_TRUE(c.ticked().empty());
  EXPECT_EQ(assign(c, "all"), "");
  EXPECT_EQ(c.ticked().size(), 3u);
  EXPECT_EQ(assign(c, "none"), "");
  EXPECT_TRUE(c.ticked().empty());
  EXPECT_EQ(assign(c, "0, Сидоров"), "");
  EXPECT_EQ(c.ticked(), (std::vector<size_t>{0, 2}));
  EXPECT_EQ(c.keys[c.ticked()[1]], 13);
  EXPECT_EQ(shown_value(c), "Иванов, Сидоров");
  EXPECT_NE(assign(c, "1,9"), "");
  EXPECT_EQ(c.ticked(), (std::vector<size_t>{0, 2}));
  c.check_all(true);
  EXPECT_EQ(c.ticked().size(), 3u);
}

TEST(Assign, check_boxes_take_yes_or_no) {
  Field c = check_field("cb", "По приказам");
  EXPECT_EQ(assign(c, "да"), "");
  EXPECT_EQ(c.value, "1");
  EXPECT_EQ(assign(c, "no"), "");
  EXPECT_EQ(c.value, "0");
  EXPECT_NE(assign(c, "maybe"), "");
}

TEST(Form, default_buttons_and_missing_required_entries) {
  Form form;
  form.fields = {text_field("a", "A"), pick_field("kind", "Вид", {"x", "y"})};
  auto buttons = form.effective_buttons();
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_FALSE(buttons[0].cancel);
  EXPECT_TRUE(buttons[1].cancel);
  ASSERT_EQ(form.missing().size(), 1u);
  EXPECT_EQ(form.missing()[0]->name, "kind");
  assign(*form.find("kind"), "y");
  EXPECT_TRUE(form.missing().empty());
}

}  // namespace
