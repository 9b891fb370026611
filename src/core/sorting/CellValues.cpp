#include "core/sorting/CellValues.h"

#include "core/problem/Errors.h"
#include "core/problem/Numbers.h"

namespace vesk::core {
namespace {

std::string Where(int row, int column, const char* table) {
  return " (table " + std::string(table) + ", row " + std::to_string(row) + ", column " + std::to_string(column) + ")";
}

}  // namespace

long double CellReal(const Grid& grid, int row, int column, const char* table) {
  const std::string& text = grid.CellOrEmpty(row, column);
  if (auto value = ParseReal(text)) return *value;
  throw ConversionError("'" + text + "' is not a valid floating point value" + Where(row, column, table));
}

int CellInteger(const Grid& grid, int row, int column, const char* table) {
  const std::string& text = grid.CellOrEmpty(row, column);
  if (auto value = ParseInt(text)) return *value;
  throw ConversionError("'" + text + "' is not a valid integer value" + Where(row, column, table));
}

long double CellRealOrZero(const Grid& grid, int row, int column, const char* table) {
  if (grid.CellOrEmpty(row, column).empty()) return 0.0L;
  return CellReal(grid, row, column, table);
}

}  // namespace vesk::core
