// LibreOffice opens the card-account registry and prints it: one conversion for the family.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "reports/cards/cards_fixture.h"
#include "support/office.h"

namespace {

using hrdoc::text::encode_date;

class CardsOffice : public hrdoc::test::CardsFixture {
 protected:
  void SetUp() override {
    if (!hrdoc::test::have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    CardsFixture::SetUp();
  }
};

TEST_F(CardsOffice, registry_prints_across_one_landscape_page_with_its_lines) {
  ASSERT_EQ(run("HRDOC100", 0, encode_date(2026, 11, 1), encode_date(2026, 11, 30)), 0);
  const std::filesystem::path book = ui().documents.at(0);
  ASSERT_TRUE(hrdoc::test::soffice_convert(book, "pdf", work_dir() / "lo"));
  const std::filesystem::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
  const std::filesystem::path info = work_dir() / "info.txt";
  ASSERT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + info.string() + "'").c_str()), 0);
  const std::string text = hrdoc::test::pdf_text(pdf, false);
  for (const char* wanted : {"РЕЕСТР на открытие счетов", "Адрес регистрации", "Оганесян",
                             "Сидоров", "рабочий", "VGLD", "РОССИЯ"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  const std::string pages = hrdoc::test::read_file(info);
  EXPECT_NE(pages.find("Pages:           1\n"), std::string::npos) << pages;
  EXPECT_NE(pages.find("841.89 x 595."), std::string::npos) << pages;
}

}  // namespace
