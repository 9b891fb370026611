#include "core/problem/ClipboardBlock.h"

#include <algorithm>

#include "core/problem/CsvPerformances.h"

namespace vesk::core {
namespace {

constexpr const char* kNothingPasted = ". Nothing was pasted.";

// "row 2 (Birch & Co), column 4 (quality)": grid indices, with the row's
// label and the column's header where the table has them.
std::string CellName(const Grid& grid, int row, int column) {
  auto named = [](std::string text, const std::string& label) {
    return label.empty() ? text : text + " (" + label + ")";
  };
  const std::string rowLabel = row >= 1 ? grid.CellOrEmpty(row, 0) : std::string();
  const std::string& header = grid.CellOrEmpty(0, column);
  return named("row " + std::to_string(row), rowLabel) + ", " + named("column " + std::to_string(column), header);
}

// The grid rows a block of `count` rows lands on, starting at `first`: the
// rows shown, one after another; past the end of the table the rows it would
// have.
std::vector<int> TargetRows(const Problem& p, InputTable table, int first, int count) {
  const Grid& grid = TableGrid(p, table);
  std::vector<int> rows;
  for (int r = first; static_cast<int>(rows.size()) < count; ++r)
    if (r >= grid.RowCount() || table != InputTable::FGrid || FGridRowShown(p, r)) rows.push_back(r);
  return rows;
}

bool NeedsQuotes(const std::string& piece) { return piece.find_first_of("\t\r\n\"") != std::string::npos; }

}  // namespace

bool IsBlockText(std::string_view text) { return text.find_first_of("\t\r\n") != std::string_view::npos; }

std::optional<CellBlock> ParseBlock(std::string_view text, std::string& error) {
  CsvError csv;
  const std::optional<char> separator =
      text.find('\t') != std::string_view::npos ? std::optional<char>('\t') : std::nullopt;
  auto records = ParseCsv(text, csv, separator);
  if (!records) {
    error = csv.message + " (line " + std::to_string(csv.line) + ")";
    return std::nullopt;
  }
  return std::move(records->rows);
}

std::string BlockText(const CellBlock& block) {
  std::string text;
  for (const auto& row : block) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += '\t';
      const std::string& piece = row[i];
      if (!NeedsQuotes(piece)) {
        text += piece;
        continue;
      }
      text += '"';
      for (char c : piece) text += c == '"' ? std::string("\"\"") : std::string(1, c);
      text += '"';
    }
    text += '\n';
  }
  return text;
}

std::optional<CellArea> PasteBlock(Problem& p, UserDialogs& dialogs, InputTable table, CellArea selection,
                                   std::string_view text) {
  std::string error;
  const auto block = ParseBlock(text, error);
  if (!block) {
    dialogs.Error("Cannot paste: " + error + kNothingPasted);
    return std::nullopt;
  }
  const int height = static_cast<int>(block->size());
  int width = 0;
  for (const auto& row : *block) width = std::max(width, static_cast<int>(row.size()));
  if (height == 0 || width == 0) return std::nullopt;

  // A selection that holds the block a whole number of times is filled with it.
  const bool tiled = selection.rows % height == 0 && selection.columns % width == 0;
  const int down = tiled ? selection.rows / height : 1;
  const int across = tiled ? selection.columns / width : 1;
  const std::vector<int> rows = TargetRows(p, table, selection.row, height * down);

  // Every piece is checked before the first cell changes.
  const Grid& grid = TableGrid(p, table);
  struct Change {
    int row, column;
    std::string text;
  };
  std::vector<Change> changes;
  for (int i = 0; i < height * down; ++i) {
    const auto& pieces = (*block)[static_cast<std::size_t>(i % height)];
    for (int k = 0; k < across; ++k) {
      for (int j = 0; j < static_cast<int>(pieces.size()); ++j) {
        const int row = rows[static_cast<std::size_t>(i)];
        const int column = selection.column + k * width + j;
        if (!InputCellEditable(p, table, row, column) || (table == InputTable::CGrid && !CGridRowEditable(p, row))) {
          dialogs.Error(std::string("Cannot paste here: ") +
                        (grid.Contains(row, column) ? CellName(grid, row, column) + " cannot be edited"
                                                    : "the block runs past the table at " + CellName(grid, row, column)) +
                        kNothingPasted);
          return std::nullopt;
        }
        const std::string& piece = pieces[static_cast<std::size_t>(j)];
        auto accepted = PastedCellText(p, table, row, column, piece);
        if (!accepted) {
          dialogs.Error("Cannot paste \"" + piece + "\" into " + CellName(grid, row, column) +
                        ": the cell does not take it" + kNothingPasted);
          return std::nullopt;
        }
        changes.push_back({row, column, std::move(*accepted)});
      }
    }
  }

  Grid& target = TableGrid(p, table);
  for (Change& c : changes) target.SetCell(c.row, c.column, std::move(c.text));
  p.DataModified = true;
  p.ResetResults();
  // In grid rows the area reaches the last row filled, hidden rows included.
  return CellArea{selection.row, selection.column, rows.back() - selection.row + 1, width * across};
}

}  // namespace vesk::core
