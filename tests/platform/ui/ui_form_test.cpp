#include <gtest/gtest.h>

#include "ui/ui.h"

namespace {

using namespace hrdoc::ui;

TEST(Assign, dates_numbers_and_check_boxes_are_normalised_checked_and_kept_on_error) {
  Field date = date_field("d", "Дата"), spin = spin_field("n", "Лет", 0, 50, 5), check = check_field("cb", "По приказам");
  const struct { Field* f; const char* in; bool ok; const char* value; } cases[] = {
      {&date, "2026-12-01", true, "01.12.2026"}, {&date, " 05.01.2027 ", true, "05.01.2027"},
      {&date, "31.02.2026", false, "05.01.2027"}, {&date, "", true, ""}, {&spin, "12", true, "12"},
      {&spin, "51", false, "12"}, {&spin, "-1", false, "12"}, {&spin, "7x", false, "12"},
      {&check, "да", true, "1"}, {&check, "no", true, "0"}, {&check, "maybe", false, "0"}};
  for (const auto& c : cases) {
    EXPECT_EQ(assign(*c.f, c.in).empty(), c.ok) << c.f->name << " = " << c.in;
    EXPECT_EQ(c.f->value, c.value) << c.f->name << " = " << c.in;
  }
}

TEST(Assign, radio_and_pick_take_an_index_or_an_item_text) {
  Field r = radio_field("rg", "Сортировка по...", {"ФИО", "ТН", "Дате приема"});
  EXPECT_EQ(r.index(), 0);
  for (auto [in, index] : {std::pair{"2", 2}, {"тн", 1}}) {  // case aside, Cyrillic too
    EXPECT_EQ(assign(r, in), "") << in;
    EXPECT_EQ(r.index(), index) << in;
  }
  EXPECT_EQ(shown_value(r), "ТН");
  for (const char* bad : {"3", "Стаж"}) EXPECT_NE(assign(r, bad), "") << bad;

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
