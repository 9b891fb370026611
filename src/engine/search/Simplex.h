#pragma once
// Simplex: the bounded primal simplex over the model's current basis, with a
// composite objective (infeasible basic columns priced at the phase-1 price),
// partial block pricing with an acceptance threshold, and stall control by
// switching the perturbation on and off.
#include "engine/EngineModel.h"

namespace vesk::engine {

// Runs from the model's basis to a verdict or a stop and returns how it
// ended. A verdict (optimal or infeasible) is reported on the console; with
// storeSolution the final values are then copied into the columns. An
// unbounded column is offered to the host for a new bound first; a stop on a
// limit or a cancel sets the error flag and the stop reason.
SimplexOutcome Simplex(EngineModel& model, bool storeSolution);

}  // namespace vesk::engine
