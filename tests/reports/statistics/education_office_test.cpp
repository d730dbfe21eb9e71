// LibreOffice opens the finished staff list with its education records and prints it: one
// conversion for the family.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "reports/statistics/education_fixture.h"
#include "support/office.h"

namespace {

class EducationOffice : public hrdoc::test::EducationFixture {
 protected:
  void SetUp() override {
    if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    EducationFixture::SetUp();
  }
};

TEST_F(EducationOffice, hrdoc140_prints_its_list_with_every_education_record_across_a4) {
  ASSERT_EQ(run_list("HRDOC140", {}, 0), 0);
  const std::filesystem::path book = ui().documents.back();
  ASSERT_TRUE(hrdoc::test::soffice_convert(book, "pdf", work_dir() / "lo"));
  const std::filesystem::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
  const std::filesystem::path txt = work_dir() / "info.txt";
  ASSERT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + txt.string() + "'").c_str()), 0);
  const std::string info = hrdoc::test::read_file(txt);
  EXPECT_NE(info.find("841.89 x 595."), std::string::npos) << info;  // A4 across
  const std::string text = hrdoc::test::pdf_text(pdf);
  for (const char* wanted : {"Список сотрудников подразделения", "Ф.ех.24", "Цех № 1::Участок", "Андреев"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  EXPECT_EQ(text.find("_x000D_"), std::string::npos) << text;
  // Both records of Андреев are printed; the carriage return between them is read as a control
  // character (LibreOffice breaks lines only at line feeds), never as its escape.
  for (const char* wanted : {"Высшее", "Среднее общее", "Уральский университет", "Школа № 5"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
}

}  // namespace
