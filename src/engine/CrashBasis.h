#pragma once
// The crash basis: the logical starting basis improved by sparse structural
// columns before the first simplex run.
#include "engine/EngineModel.h"

namespace vesk::engine {

// Replaces logical basic columns by sparse structural ones, then reinverts.
// Returns false when the reinversion cleared the model.
bool CrashBasis(EngineModel& model);

}  // namespace vesk::engine
