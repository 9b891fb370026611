#pragma once
// Reading numbers from table cells inside a computation: a cell that does not
// convert ends the computation with a ConversionError naming the table and the
// cell (row and column as the table numbers them, the header being row 0).
#include <string>

#include "core/problem/Grid.h"

namespace vesk::core {

long double CellReal(const Grid& grid, int row, int column, const char* table);
int CellInteger(const Grid& grid, int row, int column, const char* table);

// As CellReal, an empty cell counting as 0.
long double CellRealOrZero(const Grid& grid, int row, int column, const char* table);

}  // namespace vesk::core
