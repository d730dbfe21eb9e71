// The military registration settings dialog over the commissariat and composition dictionaries.
#include <map>
#include <string>

#include "calc/fmmilitary.h"
#include "military_fixture.h"

namespace hrdoc::test {
namespace {

class MilitarySettings : public MilitaryFixture {
 protected:
  struct Answer {
    int result;
    int32_t krwk;
    std::string nrwk;
    int32_t kswu;
    std::string nswu;
    bool operator==(const Answer&) const = default;
  };
  Answer execute() {
    Answer a{-1, -1, "прежний", -1, "прежний"};
    a.result = TfmMil(ctx()).Execute(a.krwk, a.nrwk, a.kswu, a.nswu);
    if (a.result == 0) a = {0, -1, "прежний", -1, "прежний"};
    return a;
  }
};

TEST_F(MilitarySettings, codes_given_for_the_edits_pick_their_rows_and_cancel_is_the_default) {
  struct Case {
    const char* name;
    bool queued;  // an answer pressing OK; otherwise nobody answers (the default button)
    std::map<std::string, std::string> values;
    Answer expected;
    size_t errors;
  };
  const Answer cancelled{0, -1, "прежний", -1, "прежний"};
  for (const Case& c : {
           Case{"nobody answers", false, {}, cancelled, 0},
           Case{"OK without a choice", true, {}, {1, 0, "", 0, ""}, 0},
           Case{"both codes", true, {{"EdVoenkom", "2"}, {"EdSost", " 1 "}}, {1, 2, "Советский РВК", 1, "Офицеры"}, 0},
           Case{"code 0 is no choice", true, {{"EdVoenkom", "0"}, {"EdSost", "2"}}, {1, 0, "", 2, "Солдаты"}, 0},
           Case{"a code the dictionary lacks", true, {{"EdSost", "0"}, {"EdVoenkom", "7"}}, cancelled, 1},
           Case{"not a code", true, {{"EdVoenkom", "Ленинский"}}, cancelled, 1},
       }) {
    SCOPED_TRACE(c.name);
    ui().boxes.clear();
    if (c.queued) ui().form_answers.push_back({c.values, false, "bbtnOk"});
    EXPECT_EQ(execute(), c.expected);
    EXPECT_EQ(ui().boxes.size(), c.errors);
    EXPECT_TRUE(ui().row_lists.empty());
  }
  ASSERT_FALSE(ui().forms.empty());
  const ui::Form& form = ui().forms.back();
  EXPECT_EQ(form.caption, "Настройка режимов работы");
  EXPECT_EQ(form.default_button().name, "bbtnCancel");
  EXPECT_EQ(form.button("Отказаться")->name, "bbtnCancel");
}

TEST_F(MilitarySettings, lookups_list_the_rows_past_the_filter_and_fill_code_and_name) {
  ui().on_form = [](ui::Form& form) {
    for (auto& f : form.fields) f.lookup(f, form);
  };
  ui().choices = {1, 0};
  ui().form_answers.push_back({{}, false, "bbtnOk"});
  EXPECT_EQ(execute(), (Answer{1, 2, "Советский РВК", 1, "Офицеры"}));
  ASSERT_EQ(ui().row_lists.size(), 2u);
  EXPECT_EQ(ui().row_lists[0].caption, "Военкоматы");
  EXPECT_EQ(ui().row_lists[0].table.rows, (std::vector<std::vector<std::string>>{{"1", "Ленинский РВК"}, {"2", "Советский РВК"}}));
  EXPECT_EQ(ui().row_lists[1].caption, "Состав учета");
  EXPECT_EQ(ui().row_lists[1].table.rows.size(), 2u);

  // Chosen, then cancelled: nothing comes back.
  ui().choices = {0, 0};
  ui().form_answers.push_back({{}, true, ""});
  EXPECT_EQ(execute().result, 0);
}

}  // namespace
}  // namespace hrdoc::test
