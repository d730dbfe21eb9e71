// LibreOffice opens the finished books of the sex and age and of the dismissal statistics and
// prints them: one conversion for each family.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "reports/statistics/statistics_fixture.h"
#include "support/office.h"

namespace {

using hrdoc::test::kD;
using hrdoc::text::encode_date;

class StatisticsOffice : public hrdoc::test::StatisticsFixture {
 protected:
  void SetUp() override {
    if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    StatisticsFixture::SetUp();
  }

  // Prints the last document to PDF with LibreOffice; its text, and pdfinfo's account in info.
  std::string printed(std::string& info) { return hrdoc::test::printed(ui().documents.back(), work_dir(), info); }
};

TEST_F(StatisticsOffice, hrdoc120_prints_its_form_on_one_landscape_page) {
  ctx().replace_kpsew({});
  ASSERT_EQ(run("HRDOC120", kD, 1), 0);
  std::string info;
  const std::string text = printed(info);
  for (const char* wanted : {"Половозрастная структура сотрудников", "Подразделение", "Муж. до 25",
                             "Жен. до 25", "Цех № 1::Участок", "Итого по Акционерное общество"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  EXPECT_NE(info.find("841.89 x 595."), std::string::npos) << info;  // A4 across
}

TEST_F(StatisticsOffice, hrdoc040_prints_its_list_across_a4) {
  ASSERT_EQ(run("HRDOC040", kD, 0, encode_date(2026, 1, 1), kD), 0);
  std::string info;
  const std::string text = printed(info);
  for (const char* wanted : {"ВЫБЫВШИЕ ПО ПОДРАЗДЕЛЕНИЮ", "Фамилия", "кем выдан", "Фёдоров", "Северный",
                             "Слесарь 4 разряда"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  EXPECT_NE(info.find("841.89 x 595."), std::string::npos) << info;
}

}  // namespace
