#include "sheet/styles.h"

#include <gtest/gtest.h>

#include "sheet/error.h"

using namespace hrdoc::sheet;

namespace {

// A style part as office applications write it: custom formats, a custom palette, cell styles.
const char* const styles_xml =
    R"(<?xml version="1.0"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<numFmts count="1"><numFmt numFmtId="164" formatCode="dd.mm.yyyy"/></numFmts>)"
    R"(<fonts count="2"><font><sz val="10"/><name val="Arial"/></font><font><b/><sz val="14"/><name val="Arial"/></font></fonts>)"
    R"(<fills count="3"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill>)"
    R"(<fill><patternFill patternType="solid"><fgColor indexed="10"/><bgColor indexed="64"/></patternFill></fill></fills>)"
    R"(<borders count="2"><border><left/><right/><top/><bottom/><diagonal/></border>)"
    R"(<border><left style="thin"><color indexed="64"/></left><right/><top/><bottom style="double"><color rgb="FF00FF00"/></bottom><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="164" fontId="1" fillId="2" borderId="1" xfId="0" applyNumberFormat="1"><alignment horizontal="center" wrapText="1"/><protection locked="0"/></xf>)"
    R"(<xf numFmtId="49" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
    R"(<cellStyles count="1"><cellStyle name="Обычный" xfId="0" builtinId="0"/></cellStyles>)"
    R"(<colors><indexedColors><rgbColor rgb="FF000000"/><rgbColor rgb="FFFFFFFF"/><rgbColor rgb="FFFF0000"/>)"
    R"(<rgbColor rgb="FF00FF00"/><rgbColor rgb="FF0000FF"/><rgbColor rgb="FFFFFF00"/><rgbColor rgb="FFFF00FF"/>)"
    R"(<rgbColor rgb="FF00FFFF"/><rgbColor rgb="FF000000"/><rgbColor rgb="FFFFFFFF"/><rgbColor rgb="FF123456"/></indexedColors></colors>)"
    R"(</styleSheet>)";

}  // namespace

TEST(Styles, reads_formats_fonts_fills_borders_and_the_palette_and_derives_shared_formats) {
  Styles st;
  st.load(styles_xml, "t.xlsx");
  EXPECT_EQ(st.size(), 3u);
  EXPECT_EQ(st.number_format(1), "dd.mm.yyyy");
  EXPECT_EQ(st.number_format(2), "@");
  EXPECT_EQ(st.font_size(1), 14);
  EXPECT_TRUE(st.font_bold(1));
  EXPECT_FALSE(st.font_bold(0));
  EXPECT_EQ(*st.fill_colour(1), 0x563412u);  // the custom palette's entry 10, as 0x00BBGGRR
  EXPECT_FALSE(st.fill_colour(0));
  EXPECT_EQ(st.border(1).left.style, "thin");
  EXPECT_EQ(st.border(1).bottom.style, "double");
  EXPECT_EQ(st.alignment(1, "horizontal"), "center");
  EXPECT_EQ(st.alignment(1, "wrapText"), "1");
  // Derived formats keep the rest and are shared.
  uint32_t a = st.with_fill(1, 0x00FF00);
  EXPECT_EQ(st.number_format(a), "dd.mm.yyyy");
  EXPECT_EQ(st.border(a).bottom.style, "double");
  EXPECT_EQ(st.alignment(a, "horizontal"), "center");
  EXPECT_EQ(st.format(a).protection, st.format(1).protection);
  EXPECT_EQ(st.with_fill(1, 0x00FF00), a);
  EXPECT_EQ(st.with_fill(a, std::nullopt), st.with_fill(1, std::nullopt));
  size_t before = st.size();
  EXPECT_EQ(st.with_number_format(0, "@"), 2u);  // an existing format is found, not added
  EXPECT_EQ(st.with_alignment(st.with_alignment(0, "vertical", "top"), "vertical", ""), 0u);
  EXPECT_EQ(st.size(), before + 1);
  uint32_t custom = st.with_number_format(0, "# ##0,00\\ \"руб.\"");
  EXPECT_EQ(st.number_format(custom), "# ##0,00\\ \"руб.\"");
  EXPECT_EQ(st.with_number_format(0, "# ##0,00\\ \"руб.\""), custom);
  EXPECT_EQ(Styles::index_colour(3), 0x0000FFu);
  EXPECT_EQ(Styles::index_colour(6), 0x00FFFFu);
  EXPECT_FALSE(Styles::index_colour(57));
}

TEST(Styles, save_and_load_keep_everything) {
  Styles st;
  st.load(styles_xml, "t.xlsx");
  uint32_t x = st.with_number_format(st.with_fill(1, 0x0000FF), "0.000");
  Styles again;
  again.load(st.save(), "again.xlsx");
  EXPECT_EQ(again.size(), st.size());
  EXPECT_EQ(again.number_format(x), "0.000");
  EXPECT_EQ(*again.fill_colour(x), 0x0000FFu);
  EXPECT_EQ(again.border(x), st.border(x));
  EXPECT_EQ(again.format(x).alignment, st.format(x).alignment);
  EXPECT_NE(st.save().find("Обычный"), std::string::npos);
  EXPECT_THROW(again.load("<styleSheet><fonts>", "bad.xlsx"), Error);
}
