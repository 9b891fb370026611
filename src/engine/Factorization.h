#pragma once
// The basis inverse in product form and the solves taken from it. Positions
// 1..m of the column array are the basic columns (position i basic in row i),
// row m is the objective row; vectors are dense, 1-based by row.
#include <vector>

#include "engine/EngineModel.h"
#include "engine/Tolerances.h"

namespace vesk::engine {

// Rebuilds the eta file for the basic columns, then the basic values, the
// objective value and the duals. Returns false when it had to clear the model
// ("WHOLE MATRIX SEARCHED"); nothing may read the model then.
bool Reinvert(EngineModel& model);

void ScatterColumn(const EngineModel& model, int j, std::vector<double>& x);
// Applies etas first..last, in increasing order, to x in place.
void Ftran(const EngineModel& model, std::vector<double>& x, int first, int last);
// Appends the eta of a transformed column v with pivot row r (rows lo..hi).
void AppendEta(EngineModel& model, const std::vector<double>& v, int r, int lo, int hi);
// Gives every eta of the file that fills most rows a dense copy of its values
// as well (its pairs stay), for the forward solve; used once a reinversion
// has renumbered the rows.
void AddDenseCopies(EngineModel& model);
// y := y * E_count ... E_1 (the backward transformation over the whole file).
void Btran(const EngineModel& model, std::vector<double>& y);
void ComputePrices(EngineModel& model);
void BtranUnit(EngineModel& model, int r);
void ComputeBasicSolution(EngineModel& model);
void CheckPrimalFeasibility(EngineModel& model);
void ComputeDj(EngineModel& model, int j);
void StoreSolution(EngineModel& model);

}  // namespace vesk::engine
