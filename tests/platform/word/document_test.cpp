#include "word/document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "office/classwrd.h"
#include "sheet/zip_io.h"
#include "suite/tplc/template_source.h"
#include "suite/tplc/word_template.h"
#include "support/office.h"
#include "support/work_dir.h"

namespace hrdoc::word {
namespace {

namespace fs = std::filesystem;
using Paras = std::vector<std::string>;

const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document "
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
const char* kTail = "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>";

std::string para(const std::string& text) { return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>"; }

// A .docx of the given body, with an extra part no engine knows.
void write_docx(const fs::path& path, const std::string& body) {
  sheet::ZipWriter zip(path.string());
  zip.add("[Content_Types].xml",
          "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
          "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
          "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override PartName=\"/word/document.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>");
  zip.add("_rels/.rels",
          "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
          "Target=\"word/document.xml\"/></Relationships>");
  zip.add("word/document.xml", kHead + body + kTail);
  zip.add("customXml/item1.xml", "<note>kept as it is</note>");
  zip.finish();
}

std::string part_of(const fs::path& docx, const std::string& part) {
  return sheet::ZipReader(docx.string()).read(part).value_or("");
}

class WordDocument : public ::testing::Test {
 protected:
  test::WorkDir dir{"word"};
  Document make(const std::string& body) {
    write_docx(dir / "in.docx", body);
    return Document::open((dir / "in.docx").string());
  }
};

TEST_F(WordDocument, a_placeholder_over_runs_is_found_in_any_case_and_takes_the_first_runs_format) {
  Document doc = make(
      "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Оклад $f</w:t></w:r><w:proofErr w:type=\"spellStart\"/>"
      "<w:r><w:t>OK</w:t></w:r><w:proofErr w:type=\"spellEnd\"/><w:r><w:rPr><w:i/></w:rPr><w:t xml:space=\"preserve\">l руб.</w:t></w:r></w:p>"
      "<w:tbl><w:tr><w:tc>" + para("$FOKL") + "</w:tc></w:tr></w:tbl>" + para("$fok") + para("l"));
  EXPECT_EQ(doc.replace_all("$fokl", "1200\nтысяча"), 2);
  EXPECT_EQ(doc.paragraphs(), (Paras{"Оклад 1200\nтысяча руб.", "1200\nтысяча", "$fok", "l"}));
  doc.save((dir / "out.docx").string());
  std::string xml = part_of(dir / "out.docx", "word/document.xml");
  EXPECT_NE(xml.find("<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Оклад 1200</w:t><w:br/><w:t xml:space=\"preserve\">тысяча</w:t></w:r>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<w:i/></w:rPr><w:t xml:space=\"preserve\"> руб.</w:t>"), std::string::npos) << xml;
  // Reopened: the text is the same and the part nobody knows is still there.
  EXPECT_EQ(Document::open((dir / "out.docx").string()).paragraphs(), doc.paragraphs());
  EXPECT_EQ(part_of(dir / "out.docx", "customXml/item1.xml"), "<note>kept as it is</note>");
}

TEST_F(WordDocument, replacements_that_find_nothing_or_hold_their_own_text) {
  struct Case {
    std::string body, find, repl;
    int count;
    Paras after;
  } cases[] = {
      {para("Приказ"), "$fnone", "x", 0, {"Приказ"}},
      {para("a $f b $F"), "$f", "$f$f", 2, {"a $f$f b $f$f"}},
      {para("$fio") + para("$fio, $fio"), "$fio", "", 3, {"", ", "}},
      {para("Ёлка ёЛКА"), "ЁЛКА", "ель", 2, {"ель ель"}},
  };
  for (const auto& c : cases) {
    Document doc = make(c.body);
    EXPECT_EQ(doc.replace_all(c.find, c.repl), c.count) << c.body;
    EXPECT_EQ(doc.paragraphs(), c.after) << c.body;
  }
}

TEST_F(WordDocument, find_selects_after_the_selection_and_wraps) {
  Document doc = make(para("a x") + para("b x") + para("c"));
  ASSERT_TRUE(doc.find("X"));
  EXPECT_EQ(doc.selected_text(), "x");
  doc.type_text("1");
  ASSERT_TRUE(doc.find("x"));
  doc.type_text("2\n3");
  EXPECT_EQ(doc.paragraphs(), (Paras{"a 1", "b 2\n3", "c"}));
  EXPECT_FALSE(doc.find("x"));
  doc.go_to_end();
  ASSERT_TRUE(doc.find("a"));  // from the end round to the start
  doc.delete_char();
  EXPECT_EQ(doc.paragraphs(), (Paras{" 1", "b 2\n3", "c"}));
  doc.select_all();
  doc.delete_char();
  EXPECT_EQ(doc.paragraphs(), (Paras{""}));
}

TEST_F(WordDocument, an_unreadable_file_is_named_in_the_error) {
  std::ofstream(dir / "junk.docx") << "not a zip at all";
  for (auto name : {"missing.docx", "junk.docx"}) {
    try {
      Document::open((dir / name).string());
      ADD_FAILURE() << name;
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
  }
}

TEST_F(WordDocument, the_template_compiler_names_the_file_and_line_of_a_mistake) {
  for (auto [src, line] : {std::pair{"|ok\n|bad {nostyle}\n", ":2:"}, {"table 5\n|| a || b\nend\n", ":2:"},
                           {"table 5\n|| a\n", ":2:"}, {"|**open\n", ":1:"}, {"margin 1\n", ":1:"}}) {
    try {
      tplc::word_parts(src, "letter.dtpl");
      ADD_FAILURE() << src;
    } catch (const tplc::TemplateError& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("letter.dtpl") + line), std::string::npos) << e.what();
    }
  }
}

// Agreements assembled as a report does: fill the template, copy it, paste it after a page
// break at the end of the result. Each starts a page and its clauses count from 1.
TEST_F(WordDocument, pasted_agreements_each_start_a_page_and_count_from_one) {
  std::ofstream(dir / "t.dtpl") << "font \"Times New Roman\" 12\nstyle title bold center\n"
                                   "|СОГЛАШЕНИЕ $fnum {title}\n|# Оклад $fokl.\n|## Надбавка.\n|# Срок.\n"
                                   "table 8 8\n|| Работодатель || Работник $fio\nend\n";
  tplc::compile_word_template((dir / "t.dtpl").string(), (dir / "t.docx").string());
  std::vector<std::string> announced;
  office::TWordDoc w(dir.slashed(), [&](const std::string& p) { announced.push_back(p); });
  w.OpenDocument((dir / "t.docx").string());
  const int n = 4;
  for (int i = 1; i <= n; ++i) {
    if (i == 1) {
      w.NewDocument((dir / "t.docx").string());
    } else {
      w.Activate("t.docx");
      w.SelectAll();
      w.Copy();
      w.Activate("Документ1");
      w.GoToEnd();
      w.PageBreak();
      w.Paste();
    }
    w.ReplaceAll("$fnum", "№ " + std::to_string(i));
    w.ReplaceAll("$fokl", std::to_string(i * 1000));
    ASSERT_TRUE(w.Find("$fio"));
    w.TypeText("Сотрудник " + std::to_string(i));
  }
  EXPECT_EQ(w.ActiveName(), "Документ1");
  Paras text = w.Active().paragraphs();
  EXPECT_EQ(std::count(text.begin(), text.end(), "Оклад 3000."), 1);
  EXPECT_EQ(std::count_if(text.begin(), text.end(), [](auto& p) { return p.find('$') != std::string::npos; }), 0);
  w.Activate("t.docx");
  w.CloseWindow();
  w.SetVisible(true);
  ASSERT_EQ(announced, std::vector<std::string>{dir.slashed() + "Документ1.docx"});
  // The template itself was never changed: its copy is the one that was filled.
  EXPECT_EQ(Document::open((dir / "t.docx").string()).paragraphs()[0], "СОГЛАШЕНИЕ $fnum");

  if (!test::have_office(true)) GTEST_SKIP() << "LibreOffice or pdftotext is not installed";
  ASSERT_TRUE(test::soffice_convert(announced[0], "pdf", dir / "profile", dir.path()));
  std::string pdf = test::pdf_text(dir / "Документ1.pdf");
  std::vector<std::string> pages;
  for (size_t s = 0, e; (e = pdf.find('\f', s)) != std::string::npos; s = e + 1) pages.push_back(pdf.substr(s, e - s));
  ASSERT_EQ(pages.size(), static_cast<size_t>(n)) << pdf;
  for (int i = 1; i <= n; ++i) {
    const std::string& page = pages[i - 1];
    EXPECT_LT(page.find("СОГЛАШЕНИЕ № " + std::to_string(i)), page.find("Оклад")) << page;
    EXPECT_NE(page.find("1. Оклад " + std::to_string(i * 1000)), std::string::npos) << page;
    EXPECT_NE(page.find("1.1. Надбавка"), std::string::npos) << page;
    EXPECT_NE(page.find("2. Срок"), std::string::npos) << page;
    EXPECT_NE(page.find("Сотрудник " + std::to_string(i)), std::string::npos) << page;
  }
}

TEST_F(WordDocument, a_template_saved_again_by_libreoffice_is_filled_alike) {
  if (!test::have_office()) GTEST_SKIP() << "LibreOffice is not installed";
  std::ofstream(dir / "lo.dtpl") << "|Работник **$ffio** получил\n|# Оклад $fokl\n";
  tplc::compile_word_template((dir / "lo.dtpl").string(), (dir / "src.docx").string());
  fs::create_directories(dir / "out");
  ASSERT_TRUE(test::soffice_convert(dir / "src.docx", "docx:MS Word 2007 XML", dir / "profile", dir / "out"));
  Document doc = Document::open((dir / "out" / "src.docx").string());
  EXPECT_EQ(doc.replace_all("$FFIO", "Иванов И.И."), 1);
  EXPECT_EQ(doc.replace_all("$fokl", "5000"), 1);
  Paras text = doc.paragraphs();
  EXPECT_NE(std::find(text.begin(), text.end(), "Работник Иванов И.И. получил"), text.end());
  EXPECT_NE(std::find(text.begin(), text.end(), "Оклад 5000"), text.end());
}

}  // namespace
}  // namespace hrdoc::word
