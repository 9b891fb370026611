// The bounded ratio test over the rows of the basis, with a long step over the
// points where infeasible basic columns become feasible.
#include "engine/search/RatioTest.h"

#include <algorithm>
#include <cmath>

#include "engine/Tolerances.h"

namespace vesk::engine {

namespace {

// Bound a basic column runs into when it rises; false when nothing stops it.
bool RisingLimit(const ColumnRecord& c, double& limit) {
  if (c.status == ColumnStatus::kBelow) limit = c.upper >= kInfiniteBound ? c.lower : c.upper;
  else if (c.status == ColumnStatus::kWithin) limit = c.upper;
  else return false;
  return limit <= kInfiniteBound && limit >= -kInfiniteBound;
}

bool FallingLimit(const ColumnRecord& c, double& limit) {
  if (c.status == ColumnStatus::kBelow) return false;
  limit = c.lower;
  return limit >= -kInfiniteBound;
}

// Rate at which the merit the prices describe (costs of feasible basic
// columns, +-the phase-1 price for infeasible ones) grows when column q moves off
// its bound: minus its reduced cost, computed from the current duals.
double MeritSlope(const EngineModel& M, const ColumnRecord& e) {
  long double s = 0;
  const double* y = M.duals.data();
  for (const auto& entry : e.entries) s += static_cast<long double>(y[entry.row]) * entry.value;
  const double dj = e.status == ColumnStatus::kAtUpper ? e.cost - static_cast<double>(s) : static_cast<double>(s) - e.cost;
  return -dj;
}

// Long step over the breakpoints of infeasible basic columns lying before the
// hard limit theta. Passing the point where column i becomes feasible lowers
// the slope of the merit by (the phase-1 price -+ cost_i) |alpha_i|; the step goes
// on while the slope stays positive and stops on the point that ends it, so
// one pivot can make many rows feasible. Returns the index of the breakpoint
// to pivot on, or -1 when the hard limit is reached first.
int LongStep(EngineModel& M, const ColumnRecord& e, double theta) {
  auto& bp = M.breakpoints;
  size_t kept = 0;
  for (size_t k = 0; k < bp.size(); ++k)
    if (bp[k].t < theta - kStepTie) bp[kept++] = bp[k];
  bp.resize(kept);
  if (bp.empty()) return -1;
  std::sort(bp.begin(), bp.end(), [](const auto& a, const auto& b) {
    return a.t < b.t || (a.t == b.t && a.row < b.row);
  });
  const double slope0 = MeritSlope(M, e);
  int stop = -1;
  if (!(slope0 > 0)) {
    stop = 0;
  } else {
    double slope = slope0;
    for (size_t k = 0; k < bp.size(); ++k) {
      slope -= bp[k].drop;
      if (slope <= kSlopeEnd * slope0) {
        stop = static_cast<int>(k);
        break;
      }
    }
  }
  // Passing every point never turns a bounded step into an unbounded one.
  if (stop < 0 && theta > kInfiniteBound) stop = static_cast<int>(bp.size()) - 1;
  if (stop < 0) return -1;
  // Points reached together (a step tie) go to the largest pivot element.
  const double tStop = bp[static_cast<size_t>(stop)].t;
  int best = stop;
  for (int k = stop; k >= 0 && tStop - bp[static_cast<size_t>(k)].t < kStepTie; --k)
    if (bp[static_cast<size_t>(k)].absAlpha > bp[static_cast<size_t>(best)].absAlpha) best = k;
  for (size_t k = static_cast<size_t>(stop) + 1; k < bp.size() && bp[k].t - tStop < kStepTie; ++k)
    if (bp[k].absAlpha > bp[static_cast<size_t>(best)].absAlpha) best = static_cast<int>(k);
  // A pivot too small to be accepted: stop earlier on an acceptable one.
  if (bp[static_cast<size_t>(best)].absAlpha < kRejectedPivot)
    for (int k = best - 1; k >= 0; --k)
      if (bp[static_cast<size_t>(k)].absAlpha >= kRejectedPivot) {
        best = k;
        break;
      }
  return best;
}

// The hard limit of the step: the entering column's own range, or the first
// row whose basic column reaches a bound it may not pass (ties to the largest
// pivot element, then to the first row). Collects on the way the breakpoints
// where infeasible basic columns become feasible.
Step HardLimit(EngineModel& M, const ColumnRecord& e, int d) {
  const double* alpha = M.pivotColumn.data();
  const double* x = M.basicValues.data();
  const double W = kPhase1Price;
  Step step;
  step.theta = e.upper - e.lower;
  step.kind = d < 0 ? StepKind::kFlipToLower : StepKind::kFlipToUpper;
  double bestAlpha = 0;
  M.breakpoints.clear();
  for (int i = 1; i <= M.m - 1; ++i) {
    const double a = alpha[i];
    if (a <= kPivotColumnZero && a >= -kPivotColumnZero) continue;
    const ColumnRecord& c = M.Col(i);
    if (c.kind >= kObjectiveLogical) continue;
    const double absA = std::fabs(a);
    double limit;
    StepKind candidate;
    if (d * a <= 0) {
      if (c.status == ColumnStatus::kBelow) {
        // Below its lower bound and rising: it becomes feasible on the way.
        M.breakpoints.push_back({(c.lower - x[i]) / absA, absA, (W - c.cost) * absA, i, true});
        if (c.upper >= kInfiniteBound) continue;
      }
      if (!RisingLimit(c, limit)) continue;
      candidate = StepKind::kLeaveAtUpper;
    } else {
      if (c.status == ColumnStatus::kAbove) {
        // Above its upper bound and falling.
        M.breakpoints.push_back({(x[i] - c.upper) / absA, absA, (W + c.cost) * absA, i, false});
      }
      if (!FallingLimit(c, limit)) continue;
      candidate = StepKind::kLeaveAtLower;
    }
    const double t = std::fabs(d * (x[i] - limit) / a);
    if (std::fabs(t - step.theta) >= kStepTie) {
      if (t < step.theta + kStepTie) {
        step.theta = t;
        bestAlpha = absA;
        step.leavingRow = i;
        step.kind = candidate;
      }
    } else if (absA > bestAlpha) {
      bestAlpha = absA;
      step.leavingRow = i;
      step.kind = candidate;
    }
  }
  return step;
}

// Where the leaving column of a row step ends and its status there.
void SetLeavingBound(const EngineModel& M, Step& step, bool atNearBound) {
  const ColumnRecord& L = M.Col(step.leavingRow);
  if (atNearBound) {
    // An infeasible column stopping at the bound it has just reached.
    step.leavingBound = step.kind == StepKind::kLeaveAtLower ? L.lower : L.upper;
    step.leavingStatus = step.kind == StepKind::kLeaveAtLower ? ColumnStatus::kAtLower : ColumnStatus::kAtUpper;
  } else if (step.kind == StepKind::kLeaveAtLower) {
    step.leavingBound = L.status == ColumnStatus::kBelow ? -kInfiniteBound : L.lower;
    step.leavingStatus = ColumnStatus::kAtLower;
  } else {
    double limit;
    step.leavingBound = RisingLimit(L, limit) ? limit : kInfiniteBound;
    step.leavingStatus = L.upper > kInfiniteBound ? ColumnStatus::kAtLower : ColumnStatus::kAtUpper;
  }
}

}  // namespace

Step RatioTest(EngineModel& M, int q) {
  const ColumnRecord& e = M.Col(q);
  const int d = e.status == ColumnStatus::kAtUpper ? -1 : 1;
  Step step = HardLimit(M, e, d);
  const int b = LongStep(M, e, step.theta);
  bool atNearBound = false;
  if (b >= 0) {
    const auto& p = M.breakpoints[static_cast<size_t>(b)];
    step.theta = p.t;
    step.leavingRow = p.row;
    step.kind = p.atLower ? StepKind::kLeaveAtLower : StepKind::kLeaveAtUpper;
    atNearBound = true;
  }
  step.pivotMagnitude = 1.0;
  if (step.theta > kInfiniteBound) {
    step.leavingRow = 0;
    step.kind = d < 0 ? StepKind::kFlipToLower : StepKind::kFlipToUpper;
    const bool open = d < 0 ? e.lower < -kInfiniteBound : e.upper > kInfiniteBound;
    if (open) step.kind = StepKind::kUnbounded;
  }
  if (step.leavingRow > 0) {
    step.pivotMagnitude = std::fabs(M.pivotColumn[static_cast<size_t>(step.leavingRow)]);
    SetLeavingBound(M, step, atNearBound);
  }
  return step;
}

}  // namespace vesk::engine
