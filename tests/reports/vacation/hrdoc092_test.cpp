// "HRDOC092" through main_dll on fixture databases; the finished T-7 is read back cell by cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "reports/vacation/schedule_fixture.h"
#include "support/host_run.h"
#include "support/office.h"

namespace {

using hrdoc::test::no_marks;
using hrdoc::text::encode_date;
using hrdoc::ui::IDNO;
using hrdoc::ui::IDYES;
using Line = std::vector<std::string>;
using Lines = std::vector<Line>;

// Where the finished form has its values (the mark column is gone).
constexpr int kOrgRow = 4, kOrgCol = 1;
constexpr int kDirectorPositionRow = 12, kDirectorPositionCol = 8;
constexpr int kDirectorNameRow = 14, kDirectorNameCol = 9;
constexpr int kDocumentRow = 11, kCompiledCol = 5, kYearCol = 7;
constexpr int kFirstLine = 22, kColumns = 10;
const char* const kSignature = "Руководитель кадровой службы";

class Hrdoc092 : public hrdoc::test::ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    set_period(encode_date(2026, 12, 5), encode_date(2027, 1, 1), encode_date(2027, 12, 31));
  }

  // Answers the two questions and runs the command.
  void run092(bool by_orders, bool by_department) {
    answer(by_orders ? IDYES : IDNO);
    answer(by_department ? IDYES : IDNO);
    ASSERT_EQ(run("HRDOC092"), 0);
  }

  // The row of the personnel head's signature.
  static int signature_row(const hrdoc::sheet::Sheet& s) {
    for (int r = kFirstLine; r <= s.last_row(); ++r)
      if (s.text(r, 1) == kSignature) return r;
    return 0;
  }

  // The table lines below the header: the finished book keeps only the header part's rows
  // and the lines added after it.
  Lines lines() {
    const auto& s = result();
    EXPECT_EQ(signature_row(s), 0) << "the signature part must not survive Finish";
    Lines out;
    for (int r = kFirstLine; r <= s.last_row(); ++r) out.push_back(line(s, r, kColumns));
    return out;
  }

  static Line row(std::string podr, std::string dol, std::string fio, std::string tn, std::string days,
                  std::string planned, std::string actual = "", std::string basis = "") {
    return {podr, dol, fio, tn, days, planned, actual, basis, "", ""};
  }
};

TEST_F(Hrdoc092, a_department_without_schedule_rows_prints_the_header_only_then_its_sections_lines) {
  set_department(10, "Цех № 1");
  run092(false, false);

  ASSERT_EQ(ui().boxes.size(), 2u);
  EXPECT_EQ(ui().boxes[0].caption, "Тип выборки");
  EXPECT_EQ(ui().boxes[0].text, "Сформировать по приказам на отпуск?");
  EXPECT_EQ(ui().boxes[1].caption, "Тип сортировки");
  EXPECT_EQ(ui().boxes[1].text, "Группировать сотрудников по отделам?");
  ASSERT_EQ(ui().windows.size(), 1u);
  EXPECT_EQ(ui().windows[0].caption, "Печать графика отпусков по форме Т7");
  EXPECT_EQ(ui().windows[0].statuses.front(), "Подготовка формы для печати...");
  EXPECT_TRUE(ui().windows[0].closed);
  ASSERT_EQ(ui().documents.size(), 1u);

  const auto& s = result();
  EXPECT_EQ(s.text(kOrgRow, kOrgCol), "Цех № 1");
  EXPECT_EQ(s.text(kDirectorPositionRow, kDirectorPositionCol), "Генеральный директор");
  EXPECT_EQ(s.text(kDirectorNameRow, kDirectorNameCol), "Смирнов А.П.");
  EXPECT_EQ(s.text(kDocumentRow, kCompiledCol), "05.12.2026");
  EXPECT_EQ(s.value(kDocumentRow, kYearCol), hrdoc::sheet::Value::of(2026.0));
  EXPECT_EQ(s.text(1, 8), "Унифицированная форма № Т-7");
  EXPECT_EQ(s.text(4, 10), "0301020");
  EXPECT_EQ(s.text(kFirstLine - 1, 10), "10");  // the column numbers close the header
  // Nothing below the header: no lines, and the signature part went with the template rows.
  EXPECT_EQ(signature_row(s), 0);
  EXPECT_LT(s.last_row(), kFirstLine);
  EXPECT_TRUE(no_marks(s));
  EXPECT_EQ(ui().error_boxes(), 0);

  // The department takes its sections and leaves the other departments out.
  employee(200, 11, 15, "Иванов И.И.", "Иванов Иван Иванович", 3);
  employee(201, 20, 16, "Петрова А.А.", "Петрова Анна Андреевна", 4);
  plan(200, 2027, "2027-06-07", 14);
  plan(201, 2027, "2027-06-07", 14);
  run092(false, false);
  EXPECT_EQ(lines(), (Lines{row("Участок сборки цеха № 1", "Токарь", "Иванов Иван Иванович", "15", "14", "07.06.2027")}));
}

TEST_F(Hrdoc092, planned_parts_of_the_year_on_the_payroll_give_lines_the_second_without_the_name) {
  employee(200, 10, 15, "Иванов И.И.", "Иванов Иван Иванович", 3);
  employee(201, 11, 16, "Петров П.П.", "Петров Пётр Петрович", 3);
  employee(202, 10, 17, "Сидоров С.С.", "Сидоров Семён Сидорович", 3, 1);  // UW 1: not on the payroll
  node(203, 10, 18, "Тихонов Т.Т.", "Тихонов Тимур Тихонович");             // no payroll record this month
  exec("insert into ZPLS (FD, KP, DOL, UW) values ('2026-11-01', 203, 3, 0)");
  employee(204, 10, 19, "Андреев А.А.", "Андреев Андрей Андреевич", 3);
  plan(200, 2027, "2027-08-02", 10);
  plan(200, 2027, "2027-03-01", 18);
  plan(200, 2027, "", 7);   // a part without a date is not selected
  plan(204, 2027, "", 28);
  plan(201, 2027, "2027-05-17", 28);
  plan(201, 2026, "2026-06-01", 28);  // last year's schedule
  plan(201, 2028, "2028-01-10", 14);  // next year's
  for (int kp : {202, 203}) plan(kp, 2027, "2027-06-07", 14);
  run092(false, false);

  EXPECT_EQ(lines(), (Lines{row("Механический цех № 1", "Токарь", "Иванов Иван Иванович", "15", "18", "01.03.2027"),
                            row("", "", "", "", "10", "02.08.2027"),
                            row("Участок сборки цеха № 1", "Токарь", "Петров Пётр Петрович", "16", "28", "17.05.2027")}));
  const auto& w = ui().windows.at(0);
  EXPECT_EQ(w.max, 3);
  EXPECT_EQ(w.position, 3);
  EXPECT_NE(std::find(w.statuses.begin(), w.statuses.end(), "Печать данных: Петров Пётр Петрович"), w.statuses.end());
}

TEST_F(Hrdoc092, grouping_by_department_changes_only_the_order) {
  employee(200, 20, 15, "Абрамова А.А.", "Абрамова Анна Андреевна", 4);
  employee(201, 10, 16, "Борисов Б.Б.", "Борисов Борис Борисович", 3);
  employee(202, 20, 17, "Власова В.В.", "Власова Вера Васильевна", 4);
  plan(200, 2027, "2027-02-01", 14);
  plan(201, 2027, "2027-03-01", 14);
  plan(202, 2027, "2027-04-05", 14);
  plan(202, 2027, "2027-09-06", 14);
  run092(false, false);
  const Lines by_name = lines();
  run092(false, true);
  const Lines by_department = lines();

  const Line abramova = row("Бухгалтерия предприятия", "Бухгалтер", "Абрамова Анна Андреевна", "15", "14", "01.02.2027");
  const Line borisov = row("Механический цех № 1", "Токарь", "Борисов Борис Борисович", "16", "14", "01.03.2027");
  const Line vlasova = row("Бухгалтерия предприятия", "Бухгалтер", "Власова Вера Васильевна", "17", "14", "05.04.2027");
  const Line vlasova2 = row("", "", "", "", "14", "06.09.2027");
  EXPECT_EQ(by_name, (Lines{abramova, borisov, vlasova, vlasova2}));
  EXPECT_EQ(by_department, (Lines{abramova, vlasova, vlasova2, borisov}));
}

TEST_F(Hrdoc092, by_orders_granting_and_postponement_orders_fill_days_dates_and_basis) {
  employee(200, 10, 15, "Иванов И.И.", "Иванов Иван Иванович", 3);
  employee(201, 10, 16, "Петров П.П.", "Петров Пётр Петрович", 3);
  employee(202, 10, 17, "Сидоров С.С.", "Сидоров Семён Сидорович", 3);
  employee(203, 10, 18, "Тихонов Т.Т.", "Тихонов Тимур Тихонович", 3);
  plan(200, 2027, "2027-03-01", 28);
  plan(201, 2027, "2027-05-03", 14);  // no order
  plan(202, 2027, "2027-03-01", 28);
  plan(203, 2027, "2027-03-01", 14);
  plan(203, 2027, "2027-08-02", 14);  // the second planned part carries its date only
  // Two granting orders give two lines.
  order({.kp = 200, .dated = "2027-02-15", .start = "2027-03-01", .kolvo = 14, .kolvd = 3});
  order({.kp = 200, .dated = "2027-07-01", .start = "2027-07-12", .kolvo = 14, .kolvd = 0, .pro = std::nullopt});
  // Not vacation orders of the period: unpaid leave, another kind of line, an order dated on
  // the first day of the period (the bounds are exclusive).
  order({.kp = 200, .dated = "2027-04-01", .start = "2027-04-05", .kolvo = 3, .ktd = 32});
  order({.kp = 200, .dated = "2027-04-01", .start = "2027-04-05", .kolvo = 5, .kvot = 2});
  order({.kp = 200, .dated = "2027-01-01", .start = "2027-01-11", .kolvo = 9});
  // A postponement order fills the basis.
  order({.kp = 202, .dated = "2027-02-20", .start = "2027-03-01", .kolvo = 28, .pro = 1, .nd = "45-к"});
  order({.kp = 202, .dated = "2027-03-10", .start = "2027-03-15", .kolvo = 28});
  order({.kp = 202, .dated = "2027-03-20", .start = "2027-03-22", .kolvo = 2, .pro = 2});
  order({.kp = 203, .dated = "2027-02-15", .start = "2027-03-01", .kolvo = 14});
  run092(true, false);

  const std::string shop = "Механический цех № 1";
  EXPECT_EQ(lines(), (Lines{row(shop, "Токарь", "Иванов Иван Иванович", "15", "17", "01.03.2027", "01.03.2027"),
                            row("", "", "", "", "14", "", "12.07.2027"),
                            row(shop, "Токарь", "Петров Пётр Петрович", "16", "", "03.05.2027"),
                            row(shop, "Токарь", "Сидоров Семён Сидорович", "17", "", "01.03.2027", "", "45-к"),
                            row("", "", "", "", "28", "", "15.03.2027"),
                            row(shop, "Токарь", "Тихонов Тимур Тихонович", "18", "14", "01.03.2027", "01.03.2027"),
                            row("", "", "", "", "", "02.08.2027")}));
}

TEST_F(Hrdoc092, database_error_is_shown_and_what_was_written_is_kept) {
  employee(200, 10, 15, "Иванов И.И.", "Иванов Иван Иванович", 3);
  plan(200, 2027, "2027-03-01", 14);
  exec("drop table KDT2VIIIO");
  run092(true, false);

  EXPECT_EQ(ui().error_boxes(), 1);
  EXPECT_NE(ui().boxes.back().text.find("KDT2VIIIO"), std::string::npos) << ui().boxes.back().text;
  ASSERT_EQ(ui().documents.size(), 1u);
  // Released, not finished: the marks are still in column A.
  const auto& s = result();
  EXPECT_EQ(s.text(1, 1), "ppHB");
  EXPECT_EQ(s.text(kDirectorNameRow, kDirectorNameCol + 1), "Смирнов А.П.");
  EXPECT_TRUE(ui().windows.at(0).closed);
}

// LibreOffice reads the finished form and prints it on landscape A4 pages.
TEST_F(Hrdoc092, libreoffice_prints_the_form_on_landscape_a4) {
  if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
  set_department(10, "Цех № 1");
  employee(200, 10, 15, "Иванов И.И.", "Иванов Иван Иванович", 3);
  plan(200, 2027, "2027-03-01", 14);
  plan(200, 2027, "2027-08-02", 14);
  run092(false, false);
  ASSERT_EQ(ui().documents.size(), 1u);

  ASSERT_TRUE(hrdoc::test::soffice_convert(ui().documents.back(), "pdf", work_dir() / "lo"));
  const std::string pdf = (work_dir() / "WLST_00.pdf").string(), info_txt = (work_dir() / "info.txt").string();
  ASSERT_EQ(std::system(("pdfinfo '" + pdf + "' >'" + info_txt + "'").c_str()), 0);
  const std::string text = hrdoc::test::pdf_text(pdf), info = hrdoc::test::read_file(info_txt);
  for (const char* wanted : {"Унифицированная форма № Т-7", "0301020", "ГРАФИК ОТПУСКОВ", "УТВЕРЖДАЮ",
                             "Генеральный директор", "Смирнов А.П.", "Цех № 1", "Иванов Иван Иванович",
                             "02.08.2027"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  EXPECT_EQ(text.find("ppD"), std::string::npos) << text;
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  EXPECT_NE(info.find("841.89 x 595.") , std::string::npos) << info;  // A4 across
}

// The command-line host answers the two questions by their captions.
TEST_F(Hrdoc092, host_answers_the_questions_by_their_captions) {
  exec("insert into SPUUK (UU, DT) values (3, '2026-12-01')");
  exec("insert into ZPPASP (P, N, NASH) values (1, 'АО \"Заря\"', 100)");
  exec("insert into ZPPASP1 (P, N, NACHOK) values (1, 'АО \"Заря\"', 101)");
  employee(200, 10, 15, "Иванов И.И.", "Иванов Иван Иванович", 3);
  employee(201, 20, 16, "Абрамова А.А.", "Абрамова Анна Андреевна", 4);
  plan(200, 2027, "2027-03-01", 14);
  plan(201, 2027, "2027-04-05", 14);
  order({.kp = 200, .dated = "2027-02-15", .start = "2027-03-01", .kolvo = 14, .kolvd = 2});
  const std::string database = hand_over_database();
  const std::string out = (work_dir() / "out").string();

  const auto [code, printed] = hrdoc::test::run_hrdoc(
      "run HRDOC092 --quiet --db '" + database + "' --date 05.12.2026 --from 01.01.2027 --to 31.12.2027 --dept 0"
      " --answer 'Тип выборки=yes' --answer 'Тип сортировки=yes' --out '" + out + "'");
  ASSERT_EQ(code, 0) << printed;
  const std::string path = out + "/HRDOC092_2026-12-05.xlsx";
  EXPECT_NE(printed.find(path), std::string::npos) << printed;

  hrdoc::sheet::Book book(path);
  const auto& s = book.sheet(1);
  EXPECT_EQ(s.text(kDirectorNameRow, kDirectorNameCol), "Смирнов А.П.");
  // Grouped by department (the accounting office first), with the order's days and start.
  EXPECT_EQ(line(s, kFirstLine, kColumns),
            row("Бухгалтерия предприятия", "Бухгалтер", "Абрамова Анна Андреевна", "16", "", "05.04.2027"));
  EXPECT_EQ(line(s, kFirstLine + 1, kColumns),
            row("Механический цех № 1", "Токарь", "Иванов Иван Иванович", "15", "16", "01.03.2027", "01.03.2027"));
  EXPECT_EQ(s.last_row(), kFirstLine + 1);
}

}  // namespace
