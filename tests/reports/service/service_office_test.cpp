// LibreOffice opens the finished service-length book and prints it: one conversion for the
// family, the widest of its forms.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "reports/service/service_fixture.h"
#include "support/office.h"

namespace {

using hrdoc::test::kD;

class ServiceOffice : public hrdoc::test::ServiceFixture {
 protected:
  void SetUp() override {
    if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    ServiceFixture::SetUp();
  }
};

TEST_F(ServiceOffice, hrdoc030_prints_its_table_across_a4) {
  ASSERT_EQ(run("HRDOC030", kD, 0), 0);
  const std::filesystem::path book = ui().documents.back();
  ASSERT_TRUE(hrdoc::test::soffice_convert(book, "pdf", work_dir() / "lo"));
  const std::filesystem::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
  const std::filesystem::path info = work_dir() / "info.txt";
  ASSERT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + info.string() + "'").c_str()), 0);
  const std::string text = hrdoc::test::pdf_text(pdf);
  for (const char* wanted : {"Сведения о стаже работников", "Таб. №", "Непрерывный стаж", "лет мес дн",
                             "Цех № 1, Участок, Бригада", "Андреев Андрей Андреевич", "26 11 4"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  EXPECT_NE(hrdoc::test::read_file(info).find("841.89 x 595."), std::string::npos);  // A4 across
}

}  // namespace
