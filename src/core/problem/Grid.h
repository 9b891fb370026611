#pragma once
// A text table: rows x columns of strings, the store of every problem table.
#include <string>
#include <vector>

namespace vesk::core {

class Grid {
 public:
  Grid() = default;
  Grid(int rows, int columns) { Resize(rows, columns); }

  int RowCount() const { return rows_; }
  int ColCount() const { return columns_; }

  // Changes the size; cells that stay keep their text, new cells are empty.
  void Resize(int rows, int columns);
  void Clear() { Resize(0, 0); }

  // Cell access; (row, column) must lie inside the table.
  const std::string& Cell(int row, int column) const { return cells_[Index(row, column)]; }
  void SetCell(int row, int column, std::string text) { cells_[Index(row, column)] = std::move(text); }

  // Text of a cell, or "" when (row, column) lies outside the table.
  const std::string& CellOrEmpty(int row, int column) const;

  bool Contains(int row, int column) const {
    return row >= 0 && row < rows_ && column >= 0 && column < columns_;
  }

  bool operator==(const Grid& other) const = default;

 private:
  std::size_t Index(int row, int column) const;

  int rows_ = 0;
  int columns_ = 0;
  std::vector<std::string> cells_;  // row-major
};

}  // namespace vesk::core
