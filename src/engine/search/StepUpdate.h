#pragma once
// The update after a step of the simplex: values, basis, infeasibility,
// duals, the stall bookkeeping, the iteration log and the reinversion trigger.
#include "engine/EngineModel.h"
#include "engine/search/RatioTest.h"

namespace vesk::engine {

// Performs `step`, found by RatioTest for the entering position q (an
// unbounded step does nothing). Returns false when a reinversion cleared the
// model.
bool ApplyStep(EngineModel& model, int q, const Step& step);

// A reinversion between steps: the candidate list is forgotten and the basis
// saved when BASIS-INTERVALL iterations have passed. Returns false when the
// reinversion cleared the model.
bool ReinvertBetweenSteps(EngineModel& model);

}  // namespace vesk::engine
