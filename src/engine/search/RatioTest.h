#pragma once
// The bounded ratio test, the step update after it (with the reinversion
// trigger) and the perturbation of right-hand side and zero-range bounds.
#include "engine/EngineModel.h"

namespace vesk::engine {

// Entering position q; pivotColumn holds its column times the inverse.
// Feasible basic columns keep within their bounds; an infeasible one that
// reaches a bound on the way is passed while the weighted merit still rises
// (the step stops on the one after which it would fall). Leaves stepKind,
// leavingRow (0 for a bound flip), leavingBound and leavingStatus, theta and
// pivotMagnitude; sets unboundedFlag when the column can move without limit.
void RatioTest(EngineModel& model, int q);
// Performs the step found by the preceding RatioTest(q). Returns false when a
// reinversion cleared the model.
bool ApplyStep(EngineModel& model, int q);
// Mode 0 removes the perturbation, 1 shifts every row by epsilon, 2 also
// widens the bounds of the E-row artificials at random.
void SetPerturbation(EngineModel& model, int mode);

}  // namespace vesk::engine
