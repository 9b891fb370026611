#pragma once
// BranchAndBound: depth-first search with pseudo-cost branching over the
// integer columns, starting from the optimal basis of the continuous
// relaxation. Both children of a node are solved from the parent's basis; the
// better one is dived into and the other waits in a list ordered best bound
// first (its worst members overflow to the node file when memory runs short).
#include "engine/EngineModel.h"

namespace vesk::engine {

// Outcome in the model: integerFound with the incumbent in the columns'
// integer value fields and objectiveValue set to the incumbent's objective;
// errorFlag (with stopReason) when a limit stopped the search; nodeCount.
void BranchAndBound(EngineModel& model);

}  // namespace vesk::engine
