// Computing the formulas of a book, so that a saved book carries the results every reader
// shows. The engine knows arithmetic, comparison, concatenation, percentages and SUM, IF,
// ROUND, MIN, MAX, COUNT, COUNTA, AVERAGE, ABS, AND, OR, NOT over cells, ranges and other
// sheets, with Excel's rules for empty cells, text in arithmetic and errors. Anything else
// (another function, a defined name, an array formula, a circular reference) leaves the
// formula without a result for the application to compute.
#pragma once

#include <string_view>

#include "sheet/book.h"

namespace hrdoc::sheet {

// The value of one formula written in cell (row, col) of `sheet`, as Excel computes it;
// nullopt when the engine cannot compute it. Does not change the book.
std::optional<Value> evaluate_formula(const Sheet& sheet, int row, int col, std::string_view formula);

}  // namespace hrdoc::sheet
