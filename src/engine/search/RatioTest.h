#pragma once
// The bounded ratio test: how far an entering column moves and which basic
// column leaves the basis.
#include "engine/EngineModel.h"

namespace vesk::engine {

enum class StepKind {
  kLeaveAtLower,  // a basic column leaves at its lower bound
  kLeaveAtUpper,  // a basic column leaves at its upper bound
  kFlipToUpper,   // the entering column moves to its other bound, the basis stays
  kFlipToLower,
  kUnbounded,     // nothing limits the move: the bound the column moves to is infinite
};

// The step the ratio test chose for an entering column.
struct Step {
  StepKind kind = StepKind::kFlipToUpper;
  int leavingRow = 0;           // 0 for a bound flip or an unbounded move
  double theta = 0;             // step length
  double pivotMagnitude = 1.0;  // |alpha_r|, 1 for a bound flip
  double leavingBound = 0;      // the bound the leaving column ends at
  ColumnStatus leavingStatus = ColumnStatus::kAtLower;  // and its status there

  bool ChangesBasis() const { return kind == StepKind::kLeaveAtLower || kind == StepKind::kLeaveAtUpper; }
};

// Entering position q; pivotColumn holds its column times the inverse.
// Feasible basic columns keep within their bounds; an infeasible one that
// reaches a bound on the way is passed while the weighted merit still rises
// (the step stops on the one after which it would fall). Ties in the step
// length go to the largest pivot element. Asks nothing: an unbounded move is
// returned as such, and the caller decides what to do with it.
Step RatioTest(EngineModel& model, int q);

}  // namespace vesk::engine
