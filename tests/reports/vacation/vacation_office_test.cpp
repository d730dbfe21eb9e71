// LibreOffice opens a book of vacation notices and prints it: one A4 page per notice, no template
// mark on any of them. The one conversion of the vacation family.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "reports/vacation/schedule_fixture.h"
#include "support/office.h"

namespace {

using hrdoc::text::encode_date;

class VacationOffice : public hrdoc::test::ScheduleFixture {
 protected:
  void SetUp() override {
    if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    ScheduleFixture::SetUp();
  }
};

TEST_F(VacationOffice, hrdoc250_prints_a_portrait_page_per_notice) {
  set_period(encode_date(2026, 12, 7), encode_date(2026, 12, 1), encode_date(2026, 12, 31));
  vacation_kind(2, 3);
  schedule(3, 2026, 12, {});
  schedule(3, 2027, 1, {1, 2, 3, 4, 5, 6, 7, 8});
  staff();
  record(200, "2020-03-01", 21, 10, "Токарь");
  record(202, "2018-01-10", 21, 20, "Бухгалтер");
  sex(200, "М");
  sex(202, "Ж");
  plan(200, 2026, "2026-12-07", 14);
  plan(200, 2026, "2026-12-21", 14);
  plan(202, 2026, "2026-12-10", 7);
  ASSERT_EQ(run("HRDOC250"), 0);

  const std::filesystem::path book = ui().documents.back();
  ASSERT_TRUE(hrdoc::test::soffice_convert(book, "pdf", work_dir() / "lo"));
  const std::filesystem::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
  const std::filesystem::path info = work_dir() / "info.txt";
  ASSERT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + info.string() + "'").c_str()), 0);
  const std::string pages = hrdoc::test::read_file(info);
  EXPECT_NE(pages.find("Pages:           3\n"), std::string::npos) << pages;
  EXPECT_NE(pages.find(" x 841.89"), std::string::npos) << pages;  // A4 upright

  const std::string text = hrdoc::test::pdf_text(pdf);
  for (const char* wanted : {"ИЗВЕЩЕНИЕ", "Уважаемая Анна Андреевна!", "Уважаемый Иван Иванович!", "11.01.2027",
                             "С уведомлением ознакомлен(а)", "линия отреза"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  for (const char* mark : {"$", "ppP", "ppH", "END"}) EXPECT_EQ(text.find(mark), std::string::npos) << mark;
}

}  // namespace
