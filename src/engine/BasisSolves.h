#pragma once
// What the simplex and the search take from the factor of the basis: the
// prices, a row of the inverse, the basic solution and its feasibility, the
// reduced cost of a column and the write-back of the solution. Positions 1..m
// of the column array are the basic columns (position i basic in row i), row
// m is the objective row; vectors are dense, 1-based by row.
#include <vector>

#include "engine/EngineModel.h"

namespace vesk::engine {

// Clears x (rows 1..m) and writes the entries of column j into it (column 0
// gives the right-hand side).
void ScatterColumn(const EngineModel& model, int j, std::vector<double>& x);
// duals := the basic columns' prices (cost when within its bounds, plus or
// minus the phase-1 price when below or above) times the inverse.
void ComputePrices(EngineModel& model);
// duals := row r of the inverse.
void BtranUnit(EngineModel& model, int r);
// basicValues from scratch (nonbasic columns settled at their bounds), the
// objective value and the feasibility fields.
void ComputeBasicSolution(EngineModel& model);
// Status, list, count and sum of the infeasible basic columns; a total below
// the negligible infeasibility counts as feasible.
void CheckPrimalFeasibility(EngineModel& model);
// The reduced cost of nonbasic column j into its reduced-cost field; an
// improving free column gets -1e20, so that it is taken first.
void ComputeDj(EngineModel& model, int j);
// Copies the solution into every column's value (and reduced-cost) field.
void StoreSolution(EngineModel& model);

}  // namespace vesk::engine
