#pragma once
// Partial pricing of the simplex: the reduced costs of the nonbasic columns,
// scanned in blocks into a sorted candidate list, and the acceptance
// threshold that the recent best reduced costs set.
#include "engine/EngineModel.h"

namespace vesk::engine {

// Reduced cost of nonbasic position j. A nonbasic free column stands at a
// working bound and can move away from it in one direction only; when the
// other direction improves, it is turned around (the working bound becomes
// the opposite one, the side it moves to is unbounded).
double PriceColumn(EngineModel& model, int j);

// Prices the nonbasic positions from s on into a candidate list of at most
// PRICING columns at positions s.., sorted by reduced cost, and sets the
// acceptance threshold from the first ten; returns the next block's start.
int ScanBlock(EngineModel& model, int s);

}  // namespace vesk::engine
