#include "core/problem/Grid.h"

#include <stdexcept>

namespace vesk::core {

void Grid::Resize(int rows, int columns) {
  if (rows < 0 || columns < 0) throw std::invalid_argument("Grid::Resize: negative size");
  if (rows == rows_ && columns == columns_) return;
  std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
  const int keepRows = std::min(rows, rows_);
  const int keepColumns = std::min(columns, columns_);
  for (int r = 0; r < keepRows; ++r)
    for (int c = 0; c < keepColumns; ++c)
      cells[static_cast<std::size_t>(r) * columns + c] = std::move(cells_[Index(r, c)]);
  cells_ = std::move(cells);
  rows_ = rows;
  columns_ = columns;
}

const std::string& Grid::CellOrEmpty(int row, int column) const {
  static const std::string empty;
  return Contains(row, column) ? Cell(row, column) : empty;
}

std::size_t Grid::Index(int row, int column) const {
  if (!Contains(row, column))
    throw std::out_of_range("Grid cell (" + std::to_string(row) + ", " + std::to_string(column) +
                            ") outside a " + std::to_string(rows_) + " x " + std::to_string(columns_) +
                            " table");
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
}

}  // namespace vesk::core
