#pragma once
// One run of the server's block operations (sort, number format, wrap, row height) that both
// backends go through: the book is saved and read back with the engine, so what is checked is
// what a user opens.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "office/srvimp.h"
#include "sheet/book.h"

namespace hrdoc::test {

struct BlockSortCase {
  const char* what;
  std::vector<office::TSortKey> keys;  // columns counted within the block: 1 = its first
  std::vector<double> numbers;         // the block's first column from top to bottom afterwards
};

// The same five lines are sorted in blocks side by side, one block per case. Line by line:
// number, name, department; the line named "Петров" is filled red.
inline const std::vector<BlockSortCase>& block_sort_cases() {
  static const std::vector<BlockSortCase> cases = {
      {"department up, then name down; empty names last", {{3, true}, {2, false}}, {10, 20, 30, 50, 40}},
      {"number down", {{1, false}}, {50, 40, 30, 20, 10}},
      {"name up ignoring letter case, ties by number", {{2, true}, {1, true}}, {50, 20, 30, 10, 40}},
  };
  return cases;
}

inline void run_block_operations(office::TServerImp& s, const std::string& path) {
  using office::Variant;
  const struct {
    double number;
    const char* name;
    double dept;
  } lines[] = {{30, "иванов", 2}, {10, "Петров", 1}, {20, "Иванов", 1}, {40, "", 2}, {50, "Андреев", 2}};
  const auto& cases = block_sort_cases();
  s.SetCell(office::vkString, 1, 1, Variant(std::string("Протокол")), 0);
  for (size_t k = 0; k < cases.size(); ++k) {
    const int c0 = 1 + 4 * static_cast<int>(k);
    for (int i = 0; i < 5; ++i) {
      const int row = 2 + i;
      s.SetCell(office::vkValue, row, c0, Variant(lines[i].number), 0);
      if (*lines[i].name) s.SetCell(office::vkString, row, c0 + 1, Variant(std::string(lines[i].name)), 0);
      s.SetCell(office::vkValue, row, c0 + 2, Variant(lines[i].dept), 0);
    }
    s.SetRangeColor(office::ColLitFromNum(c0) + "3", 0x0000FF, 0);
    std::vector<office::TSortKey> keys = cases[k].keys;
    for (auto& key : keys) key.column += c0 - 1;
    s.SortRange(office::ColLitFromNum(c0) + "2:" + office::ColLitFromNum(c0 + 2) + "6", keys, 0);
  }
  // A key outside its block is refused.
  EXPECT_ANY_THROW(s.SortRange("A2:C6", {{5, true}}, 0));

  s.SetNumberFormat("M2:M3", "@", 0);
  s.SetCell(office::vkString, 2, 13, Variant(std::string("0042")), 0);
  s.SetNumberFormat("M4", "0.00", 0);
  s.SetCell(office::vkValue, 4, 13, Variant(3.14159), 0);
  s.SetWrapText("N1:O1", true, 0);
  s.SetCell(office::vkString, 1, 14, Variant(std::string("Длинный заголовок протокола в две строки")), 0);
  s.SetRowHeight(1, 1, 30, 0);
  s.SetRowHeight(7, 8, 6, 0);
  s.FitToPageWidth(0);
  s.SaveAs(path);
}

inline void check_block_operations(const std::string& path) {
  sheet::Book b(path);
  auto& s = b.sheet(1);
  const auto& cases = block_sort_cases();
  for (size_t k = 0; k < cases.size(); ++k) {
    const int c0 = 1 + 4 * static_cast<int>(k);
    std::vector<double> got;
    for (int row = 2; row <= 6; ++row) got.push_back(s.value(row, c0).number);
    EXPECT_EQ(got, cases[k].numbers) << cases[k].what;
    // The red fill went with Петров's line.
    for (int row = 2; row <= 6; ++row) {
      const bool petrov = s.value(row, c0 + 1).text == "Петров";
      EXPECT_EQ(s.fill(row, c0).value_or(0xFFFFFF), petrov ? 0x0000FFu : 0xFFFFFFu) << cases[k].what << " row " << row;
    }
  }
  EXPECT_EQ(s.value(1, 1).text, "Протокол");  // above the block, untouched
  EXPECT_EQ(s.value(2, 13), sheet::Value::of("0042"));
  EXPECT_EQ(s.number_format(2, 13), "@");
  EXPECT_EQ(s.number_format(3, 13), "@");
  EXPECT_EQ(s.number_format(4, 13), "0.00");
  EXPECT_EQ(s.number_format(5, 13), "General");
  // An xsd:boolean: LibreOffice writes "true" and "false" where Excel writes "1" or nothing.
  auto wrapped = [&](int col) {
    const std::string w = s.alignment(1, col, "wrapText");
    return w == "1" || w == "true";
  };
  EXPECT_TRUE(wrapped(14));
  EXPECT_TRUE(wrapped(15));
  EXPECT_FALSE(wrapped(16));
  EXPECT_NEAR(s.row_height(1), 30, 0.1);
  EXPECT_NEAR(s.row_height(7), 6, 0.1);
  EXPECT_NEAR(s.row_height(8), 6, 0.1);
  EXPECT_EQ(s.page_setup().fit_width, 1);
  EXPECT_EQ(s.page_setup().fit_height, 0);
}

}  // namespace hrdoc::test
