#pragma once
// The factorization of the basis into the eta file (product form of the
// inverse).
#include "engine/EngineModel.h"

namespace vesk::engine {

// Rebuilds the eta file for the basic columns, then the basic values, the
// objective value and the duals. A dependent column is replaced by the
// logical of its row ("MATRIX SINGULAR"). Returns false when it had to clear
// the model ("WHOLE MATRIX SEARCHED"); nothing may read the model then.
bool Reinvert(EngineModel& model);

}  // namespace vesk::engine
