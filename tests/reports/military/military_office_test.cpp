// LibreOffice opens the finished reserve list, form Ф.ex.23, and prints it: the one conversion
// of the military registration reports.
#include <string>

#include "military_fixture.h"
#include "support/office.h"

namespace hrdoc::test {
namespace {

class MilitaryOffice : public MilitaryFixture {
 protected:
  void SetUp() override {
    if (!have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    MilitaryFixture::SetUp();
  }
};

TEST_F(MilitaryOffice, hrdoc150_prints_its_29_columns_across_a3) {
  ctx().replace_kpsew({});
  ASSERT_EQ(run("HRDOC150", 1), 0);
  std::string info;
  const std::string text = printed(ui().documents.back(), work_dir(), info);
  for (const char* wanted : {"Список сотрудников подразделения", "Паспорт", "Воинский учёт", "Состав семьи",
                             "Цех № 1::Участок", "Андреев Андрей", "04 51", "Ленинский РВК"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  EXPECT_NE(info.find("1190.55 x 841."), std::string::npos) << info;  // A3 across
}

}  // namespace
}  // namespace hrdoc::test
