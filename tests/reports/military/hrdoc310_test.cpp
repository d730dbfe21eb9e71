// "HRDOC310" on the military fixture database, over 01.01.2026 .. 30.11.2026.
#include "military_fixture.h"

namespace hrdoc::test {
namespace {

enum Col { fnp = 1, fzv, ffio, ffdr, fvus, fdolj, fadr, fdtpr, fdtuv, fhar };
constexpr int kFirstRow = 8;

class Hrdoc310 : public MilitaryFixture {
 protected:
  void SetUp() override {
    MilitaryFixture::SetUp();
    ctx().NACHOK = 109;
  }
  // Runs the report with the settings dialog confirmed with these codes.
  sheet::Sheet& report(int kp, const std::string& voenkom, const std::string& sost) {
    ui().form_answers.push_back({});  // the parameter dialog as it stands
    ui().form_answers.push_back({{{"EdVoenkom", voenkom}, {"EdSost", sost}}, false, "bbtnOk"});
    EXPECT_EQ(run("HRDOC310", kp), 0);
    EXPECT_EQ(ui().error_boxes(), 0);
    return result();
  }
  // Number and name of each row; department rows have their name first.
  static Lines listed(const sheet::Sheet& s) {
    Lines out;
    for (int r = kFirstRow; r < s.last_row(); ++r) out.push_back({text::trim(s.text(r, fnp)), text::trim(s.text(r, ffio))});
    return out;
  }
};

TEST_F(Hrdoc310, hired_or_dismissed_strictly_within_the_period_are_listed_by_department_and_filter) {
  // Not listed whatever the filter: hired on D1 (Кузнецов), on D2 (Лебедев), hired again after a
  // dismissal before the period (Морозов). Романов has no registration row.
  struct Case {
    int kp;
    const char *voenkom, *sost;
    Lines rows;
  };
  const Line accounts{"Бухгалтерия", ""}, shop{"Цех № 1", ""}, section{"Участок", ""};
  for (const Case& c : {
           Case{0, "0", "0",
                {accounts, {"1", "Зайцев Захар"}, {"2", "Никитин Никита"}, shop, {"3", "Орлов Олег"},
                 {"4", "Павлов Павел"}, section, {"5", "Романов Роман"}}},
           Case{0, "1", "0", {accounts, {"1", "Зайцев Захар"}, {"2", "Никитин Никита"}, shop, {"3", "Орлов Олег"}}},
           Case{0, "0", "2", {accounts, {"1", "Зайцев Захар"}, shop, {"2", "Павлов Павел"}}},
           Case{0, "1", "1", {accounts, {"1", "Никитин Никита"}, shop, {"2", "Орлов Олег"}}},
           Case{10, "0", "0", {shop, {"1", "Орлов Олег"}, {"2", "Павлов Павел"}, section, {"3", "Романов Роман"}}},
       }) {
    SCOPED_TRACE(std::to_string(c.kp) + " " + c.voenkom + " " + c.sost);
    EXPECT_EQ(listed(report(c.kp, c.voenkom, c.sost)), c.rows);
  }
}

TEST_F(Hrdoc310, header_rows_and_footer_name_the_choices_the_period_and_the_head_of_personnel) {
  struct Case {
    const char *voenkom, *sost, *f1, *f2;
  };
  for (const Case& c : {Case{"0", "0", "Сведения о работниках Цех № 1 из числа Не определенно состава",
                             "состоящих на воинском учете в Не определенно"},
                        Case{"2", "1", "Сведения о работниках Цех № 1 из числа Офицеры состава",
                             "состоящих на воинском учете в Советский РВК"}}) {
    sheet::Sheet& s = report(10, c.voenkom, c.sost);
    EXPECT_EQ(text::trim(s.text(1, 1)), c.f1);
    EXPECT_EQ(text::trim(s.text(2, 1)), c.f2);
    EXPECT_EQ(text::trim(s.text(3, 1)), "принятых и уволенных с 01.01.2026 по 30.11.2026");
    EXPECT_EQ(s.text(4, 1).size(), 19u) << s.text(4, 1);
    EXPECT_EQ(text::trim(s.text(s.last_row(), 1)), "Начальник службы по кадрам  ____________________________ Жуков Жан");
  }
}

TEST_F(Hrdoc310, a_row_gives_rank_position_address_dates_and_movement) {
  sheet::Sheet& s = report(0, "0", "0");
  const Lines rows = lines(s, kFirstRow, fhar);
  auto row = [&](const std::string& name) {
    for (const Line& l : rows)
      if (l[ffio - 1] == name) return l;
    ADD_FAILURE() << name;
    return Line(fhar);
  };
  // Hired and dismissed within the period: both dates, the latest position.
  EXPECT_EQ(row("Никитин Никита"),
            (Line{"2", "Рядовой", "Никитин Никита", "08.04.1985", "404", "Кассир", "", "01.02.2026", "01.10.2026",
                  "принят  , уволен"}));
  // Hired long before, dismissed within.
  EXPECT_EQ(row("Зайцев Захар")[fdtpr - 1], "01.01.2015");
  EXPECT_EQ(row("Зайцев Захар")[fhar - 1], "принят  , уволен");
  EXPECT_EQ(row("Орлов Олег"), (Line{"3", "Рядовой", "Орлов Олег", "09.04.1985", "405", "Токарь",
                                     "Екатеринбург ул. Мира №7 корп.Б кв.9", "01.04.2026", "", "принят"}));
  // No registration row: no rank, no specialty.
  EXPECT_EQ(row("Романов Роман")[fzv - 1], "");
  EXPECT_EQ(row("Романов Роман")[fvus - 1], "");
}

TEST_F(Hrdoc310, the_settings_dialog_cancelled_or_unanswered_opens_no_window_and_writes_nothing) {
  for (bool cancel : {false, true}) {
    if (cancel) {
      ui().form_answers.push_back({});
      ui().form_answers.push_back({{}, true, ""});
    }
    EXPECT_EQ(run("HRDOC310", 0), 0);
    EXPECT_EQ(ui().forms.back().name, "TfmMil");
    EXPECT_TRUE(ui().windows.empty());
    EXPECT_TRUE(ui().documents.empty());
    EXPECT_EQ(ui().error_boxes(), 0);
  }
}

}  // namespace
}  // namespace hrdoc::test
