#pragma once
// The constraint list (IGrid): every constraint of the information in
// at-least form over x = (lambda, k_1..k_n). The robust-assignment command
// builds it beside the inference program; the inconsistency window shows it
// and its suggestion runs read it.
//
// IGrid columns: 0 "No." (row number), 1 "Descr", 2 "lambda", 3..n+2 the
// weights, n+3 ">=" (every row's sign), n+4 "RHS".
#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

// IGrid column positions for n criteria.
inline int IGridCoefficientColumn(int variable) { return 2 + variable; }  // 0 lambda, j k_j
inline int IGridSignColumn(int n) { return n + 3; }
inline int IGridRhsColumn(int n) { return n + 4; }

// Fills state.IGrid from state.ICGrid (its NumExampleConstraints data rows),
// the added constraints of CGrid (the Norm row excluded; '<' rows negated,
// '=' rows as the negated row followed by the row itself; a row whose sign is
// none of '<' '=' '>' gives no row) and the bounds tighter than [0, 1]
// ("LB ..." with coefficient 1 and RHS LB, "UB ..." with coefficient -1 and
// RHS -UB). Negated numbers are written with up to 15 significant digits.
// Throws ConversionError for a cell that must be negated or compared and
// does not hold a number.
void BuildConstraintList(const Problem& problem, SortingState& state);

// IGrid painting: a cell holding exactly "0" is shown empty, except in the RHS
// column (the last one).
bool IGridCellBlank(const Grid& IGrid, int column, int row);

}  // namespace vesk::core
