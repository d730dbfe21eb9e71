// LibreOffice opens the widest book of the qualification-improvement family, "HRDOC240", and
// prints it across A4 with its headings and both sections.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "reports/statistics/qualification_fixture.h"
#include "support/office.h"

namespace {

class QualificationOffice : public hrdoc::test::QualificationFixture {
 protected:
  void SetUp() override {
    if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    QualificationFixture::SetUp();
  }
};

TEST_F(QualificationOffice, hrdoc240_prints_its_three_column_groups_across_a4) {
  ASSERT_EQ(run("HRDOC240", 0), 0);
  const std::filesystem::path book = ui().documents.back();
  ASSERT_TRUE(hrdoc::test::soffice_convert(book, "pdf", work_dir() / "lo"));
  const std::filesystem::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
  const std::filesystem::path txt = work_dir() / "info.txt";
  ASSERT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + txt.string() + "'").c_str()), 0);
  const std::string info = hrdoc::test::read_file(txt), text = hrdoc::test::pdf_text(pdf);
  for (const char* wanted : {"Сведения по повышению квалификации работников", "Повышение квалификации",
                             "Курсы целевого назначения и целевое обучение", "Семинары", "Андреев Андрей",
                             "Стропальщик", "УВОЛЕННЫЕ", "Григорьев Глеб"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  EXPECT_EQ(text.find('$'), std::string::npos) << text;
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  EXPECT_NE(info.find("841.89 x 595."), std::string::npos) << info;  // A4 across
}

}  // namespace
