#pragma once
// Simplex: the bounded primal simplex over the model's current basis, with a
// composite objective (infeasible basic columns priced at phase1Weight),
// partial block pricing with an acceptance threshold, and stall control by
// switching the perturbation on and off.
#include "engine/EngineModel.h"

namespace vesk::engine {

void Simplex(EngineModel& model, bool storeSolution);

// Prices the nonbasic positions from s on into a candidate list of at most
// PRICING columns, sorted by reduced cost; returns the next block's start.
int ScanBlock(EngineModel& model, int s);

}  // namespace vesk::engine
