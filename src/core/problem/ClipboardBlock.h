#pragma once
// Blocks of cells as text, the way spreadsheets put them on the clipboard and
// read them back: one line per row, the pieces of a line separated by tabs.
// Text without a tab is read as CSV is (";" or "," between pieces, "," also
// as a decimal mark), so that a line copied from a CSV file pastes too.
//
// A block pasted into an input table is all or nothing: every piece goes
// through the rules of the cell it lands on (PastedCellText), and one piece
// that the cell would not take, or one piece outside the cells that can be
// edited, refuses the whole block with one message and changes nothing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/problem/InputGrid.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

// Rows of pieces; rows may differ in length.
using CellBlock = std::vector<std::vector<std::string>>;

// True when clipboard text is a block rather than text for one cell: it holds
// a tab or a line end.
bool IsBlockText(std::string_view text);

// The pieces of a block text. Tab-separated when the text holds a tab,
// otherwise CSV (";" when the first line holds one, else ","); quoted pieces
// as spreadsheets quote them. A line end at the very end starts no row. On a
// malformed text (an unclosed quote, a control character) nothing, with the
// reason in `error`.
std::optional<CellBlock> ParseBlock(std::string_view text, std::string& error);

// The text of a block as spreadsheets read it: pieces joined by tabs, each
// row ended by a line end; a piece holding a tab, a line end or a quote is
// quoted.
std::string BlockText(const CellBlock& block);

// A rectangle of cells: top-left grid cell and its size.
struct CellArea {
  int row = 0, column = 0;
  int rows = 1, columns = 1;
  bool operator==(const CellArea&) const = default;
};

// Pastes block text into `table`. The block starts at the top-left cell of
// `selection`; a selection whose size is a whole multiple of the block's (a
// single piece over a larger selection, say) is filled with copies of it.
// Rows follow the rows shown (FGrid's hidden threshold rows are passed over).
// On success the cells change, DataModified is set and ResetResults is called
// once, and the area filled is returned (in grid rows, so it spans the
// hidden rows it passed over). Otherwise one error message names
// the first piece that cannot be pasted by its row and column (grid indices,
// with the row's label and the column's header), and nothing changes.
std::optional<CellArea> PasteBlock(Problem& problem, UserDialogs& dialogs, InputTable table, CellArea selection,
                                   std::string_view text);

}  // namespace vesk::core
