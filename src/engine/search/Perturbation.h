#pragma once
// The perturbation of the right-hand side and of the zero ranges of the E-row
// artificials, which the simplex switches on and off against stalling.
#include "engine/EngineModel.h"

namespace vesk::engine {

// Mode 0 removes the perturbation, 1 shifts every row by a small epsilon
// (G rows the other way), 2 also widens the bounds of the E-row artificials
// at random. With an inverted basis the basic values, the objective value and
// the duals are recomputed.
void SetPerturbation(EngineModel& model, int mode);

}  // namespace vesk::engine
