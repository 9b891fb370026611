#pragma once
// The data and decisions behind the result views: what selecting a range cell
// does, the switch between input order and variability order, and how each
// output cell is painted. A window only asks these and paints.
//
// RGrid row a (1..m) is action a; ORGrid row p (1..m) is action
// VariabilityOrder[p-1] + 1; column h (1..K) is category h.
#include <optional>
#include <string>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

// Told instead of a vector when the forced assignment is met only with a
// positive relaxation alpha.
inline constexpr const char* kNoExactAssignmentVector =
    "No parameter vector gives this assignment exactly: the information with this assignment added is "
    "inconsistent (alpha = ";

// Solves the inference program with action a (1-based) forced into category h
// and shows the vector in DGrid row 1 ("%.5g", lambda first). The temporary
// rows are removed from IPGrid whatever happens. Returns true when a vector
// was shown; when its alpha exceeds the consistency tolerance the person is
// told so and DGrid row 1 is cleared instead.
bool ShowAssignmentSolution(const Problem& problem, SortingState& state, UserDialogs& dialogs, int a, int h);

// The action (1-based) of an RGrid row (ordered = false) or an ORGrid row
// (ordered = true), or nothing for the header or a row outside the results.
std::optional<int> ResultRowAction(const SortingState& state, bool ordered, int row);

// The action whose assignment a selection of (column, row) solves, or nothing
// when the selection clears DGrid row 1: the results must be those of the
// current problem and consistent, the row an action row, the column inside the
// action's range and the cell no hole.
std::optional<int> SelectionAction(const Problem& problem, const SortingState& state, bool ordered, int column,
                                   int row);

// Why no vector can be shown for action a (1-based) in category h, or nothing
// when one can: the results are not those of the problem, the information is
// inconsistent, the category does not exist, lies outside the action's range
// or is a hole.
std::optional<std::string> AssignmentRefusal(const Problem& problem, const SortingState& state, int a, int h);

// The selection handler of RGrid / ORGrid.
void ResultCellSelected(const Problem& problem, SortingState& state, UserDialogs& dialogs, bool ordered, int column,
                        int row);

// "by &Input Order" and "by &Variability Order"; both clear DGrid row 1. The
// second does nothing while the by-variability command is disabled.
void ShowByInputOrder(SortingState& state);
void ShowByVariabilityOrder(SortingState& state);

enum class ResultPaint {
  Default,    // the grid's own painting
  Aqua,       // name of an action with an assignment example
  White,      // category cell outside what is coloured
  Green,      // (0,128,0): inferred category (consistent, or inconsistent inside the example)
  Red,        // inferred category outside the example (inconsistent run)
  Lime,       // reachable category
  Hatched,    // hole inside the range: black forward diagonal on white
};

// Painting of RGrid / ORGrid cell (column, row).
ResultPaint ResultCellPaint(const Problem& problem, const SortingState& state, bool ordered, int column, int row);

// The text RGrid / ORGrid cell (column, row) gives when it is copied: the
// action's name in column 0; in a category column the category number when
// the cell is coloured as reachable (in range and no hole, or the inferred
// category of an inconsistent run), nothing otherwise.
std::string ResultCellCopyText(const Problem& problem, const SortingState& state, bool ordered, int column, int row);

// IPGrid: data row r drawn in red when r-1 is a violated row (r-1 < 256).
bool IPGridRowRed(const SortingState& state, int row);
// IPGrid: a cell holding exactly "0" shown empty, except in the RHS column.
bool IPGridCellBlank(const SortingState& state, int column, int row);
// DGrid: row 2 (the inferred vector) drawn in green text.
inline bool DGridRowGreen(int row) { return row == 2; }

}  // namespace vesk::core
