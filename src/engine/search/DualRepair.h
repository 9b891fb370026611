#pragma once
// The dual repair of a child's basis in the branch-and-bound search.
#include "engine/EngineModel.h"

namespace vesk::engine {

// A child starts from its parent's optimal basis, which its own bound change
// has made primal infeasible but left dual feasible. A few dual simplex
// pivots carry such a basis back to feasibility along the cheapest way,
// where the composite pricing of the simplex would first chase columns with
// a large rate and a tiny step (a binary with a big coefficient moves the
// infeasible column fast but only a little), and then take them back. Each
// pivot takes the most infeasible basic column out at the bound it violates
// and brings in the nonbasic column with the least reduced cost per unit of
// its row (the largest entry among near ties); the basis stays dual feasible
// up to the tolerance. The repair stops, leaving the rest to the simplex that
// follows, when the basis is feasible, when the start is not dual feasible,
// when no column qualifies (the child may be infeasible, which the simplex
// then establishes), on a free column, or after a bounded number of pivots.
void DualRepair(EngineModel& model);

}  // namespace vesk::engine
