// The agreements made through LibreOffice Calc (hrdoc run --office calc): a sheet per agreement
// as with the native engine; the salary agreements printed, a page each.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "office/oocalcimp.h"
#include "reports/agreements/agreements_fixture.h"
#include "support/office.h"

namespace hrdoc::test {
namespace {

class OfficeEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { office::ShutdownOffice(); }
};
const auto* const office_environment = ::testing::AddGlobalTestEnvironment(new OfficeEnvironment);

class AgreementsCalc : public AgreementsFixture {
 protected:
  void SetUp() override {
    if (!have_office(true)) GTEST_SKIP() << "LibreOffice or poppler-utils is not installed";
    AgreementsFixture::SetUp();
    ctx().ext().office = 1;
  }

  // The last book printed to PDF by LibreOffice: a page per agreement, the agreements' texts.
  void expect_printed(int pages) {
    const std::filesystem::path book = ui().documents.back();
    ASSERT_TRUE(soffice_convert(book, "pdf", work_dir() / "lo"));
    const std::filesystem::path pdf = book.parent_path() / (book.stem().string() + ".pdf");
    const std::filesystem::path info = work_dir() / "info.txt";
    ASSERT_EQ(std::system(("pdfinfo '" + pdf.string() + "' >'" + info.string() + "'").c_str()), 0);
    EXPECT_NE(read_file(info).find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos)
        << read_file(info);
    const std::string text = pdf_text(pdf);
    for (const char* wanted : {"ДОПОЛНИТЕЛЬНОЕ СОГЛАШЕНИЕ", "И.П.Иванов", "А.Петрова", "Н.Н.Николаева", "Работодатель"})
      EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
  }
};

TEST_F(AgreementsCalc, each_agreement_is_a_sheet_of_the_calc_book) {
  struct Case {
    const char* command;
    ui::ScriptedUi::FormAnswer window;
    int sheets;
    int row, col;
    const char* text;
  };
  const Case cases[] = {
      {"HRDOC260",
       {{{"edDTOPr", "01.12.2026"}, {"edDTVPr", "01.01.2027"}, {"edNumPr", "245"}, {"edOsnPr", "Устава"}}, false, {}},
       3, 16, 1, "(сорок одна тысяча шестьсот рублей) в месяц."},
      {"HRDOC270", {{{"lv", "all"}, {"edOsnPr", "Устава"}}, false, "bbPrnAllCheck"}, 3, 21, 23, "О.П.Сергеева"},
      {"HRDOC320", {{{"edDTOPr", "05.01.2027"}, {"edDtDov", "10.01.2026"}, {"edNumDov", "17"}}, false, {}}, 2, 4, 76,
       "05"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    TearDown();
    SetUp();
    ASSERT_EQ(run(c.command, 5, {c.window}), 0) << (ui().boxes.empty() ? "" : ui().boxes.back().text);
    sheet::Book& b = result();
    EXPECT_EQ(b.sheet_count(), c.sheets);
    bool found = false;
    for (int i = 1; i <= b.sheet_count(); ++i) found = found || b.sheet(i).text(c.row, c.col) == c.text;
    EXPECT_TRUE(found) << c.text;
    if (std::string(c.command) == "HRDOC260") expect_printed(c.sheets);
  }
}

}  // namespace
}  // namespace hrdoc::test
