// The quantities the simplex derives from the factor: basic solution,
// feasibility, prices and reduced costs, and the write-back of values.
#include "engine/BasisSolves.h"

#include <algorithm>
#include <string>

#include "engine/EtaFile.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

void ScatterColumn(const EngineModel& M, int j, std::vector<double>& x) {
  std::fill(x.begin() + 1, x.begin() + M.m + 1, 0.0);
  for (const auto& e : M.Col(j).entries) x[static_cast<size_t>(e.row)] = e.value;
}

void ComputePrices(EngineModel& M) {
  std::vector<double>& y = M.duals;
  for (int i = 1; i <= M.m; ++i) {
    const ColumnRecord& c = M.Col(i);
    y[static_cast<size_t>(i)] = c.status == ColumnStatus::kWithin ? c.cost : (c.status == ColumnStatus::kBelow ? kPhase1Price : -kPhase1Price);
  }
  Btran(M, y);
}

void BtranUnit(EngineModel& M, int r) {
  std::fill(M.duals.begin(), M.duals.end(), 0.0);
  M.duals[static_cast<size_t>(r)] = 1.0;
  Btran(M, M.duals);
}

void CheckPrimalFeasibility(EngineModel& M) {
  M.infeasCount = 0;
  M.infeasSum = 0;
  M.infeasibleList.clear();
  for (int i = 1; i <= M.m - 1; ++i) {
    ColumnRecord& c = M.Col(i);
    if (c.kind >= kObjectiveLogical) continue;
    const double x = M.basicValues[static_cast<size_t>(i)];
    if (x - c.upper > BoundTolerance(c.upper)) {
      c.status = ColumnStatus::kAbove;
      M.infeasSum += x - c.upper;
      M.infeasibleList.push_back(i);
    } else if (c.lower - x > BoundTolerance(c.lower)) {
      c.status = ColumnStatus::kBelow;
      M.infeasSum += c.lower - x;
      M.infeasibleList.push_back(i);
    } else {
      c.status = ColumnStatus::kWithin;
    }
  }
  M.infeasCount = static_cast<int>(M.infeasibleList.size());
  if (M.infeasSum < kNegligibleInfeasibility) {
    for (int i : M.infeasibleList) M.Col(i).status = ColumnStatus::kWithin;
    M.infeasibleList.clear();
    M.infeasCount = 0;
    M.infeasSum = 0;
  }
}

// Value at which a nonbasic column stands, after settling its status: a
// column marked for the basis that stayed out of it stands at its lower bound.
static double NonbasicValue(ColumnRecord& c) {
  if (c.kind == kFreeStructural) {
    if (!(c.status == ColumnStatus::kAtUpper && c.upper < kInfiniteBound)) {
      c.status = ColumnStatus::kAtLower;
      if (c.lower < -kInfiniteBound) c.lower = 0;
    }
  }
  if (c.status == ColumnStatus::kWithin) c.status = ColumnStatus::kAtLower;
  if (c.status == ColumnStatus::kAtUpper && c.upper > kLargeBound) c.status = ColumnStatus::kAtLower;
  // A column without a lower bound but with an upper one stands at its upper.
  if (c.status == ColumnStatus::kAtLower && c.lower < -kInfiniteBound && c.upper < kInfiniteBound) c.status = ColumnStatus::kAtUpper;
  if (c.status == ColumnStatus::kAtUpper) return c.upper;
  if (c.lower < -kInfiniteBound) return 0.0;
  return c.lower;
}

void ComputeBasicSolution(EngineModel& M) {
  std::vector<double>& x = M.basicValues;
  ScatterColumn(M, 0, x);
  for (int j = M.m + 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    const double v = NonbasicValue(c);
    if (v != 0.0)
      for (const auto& e : c.entries) x[static_cast<size_t>(e.row)] -= v * e.value;
  }
  Ftran(M, x, 1, M.etaFile.count);
  M.objectiveValue = -x[static_cast<size_t>(M.m)];
  CheckPrimalFeasibility(M);
  M.freshSolution = true;
  if (!M.quiet && ConsoleOn(M)) {
    std::string s = std::to_string(M.infeasCount) + " " + std::to_string(M.etaFile.count) + " " +
                    std::to_string(M.etaFile.nonzeros);
    if (s.size() < 19) s.resize(19, ' ');
    ConsoleField(M, kFieldInversion, s);
  }
}

void ComputeDj(EngineModel& M, int j) {
  ColumnRecord& c = M.Col(j);
  double s = 0;
  const double* y = M.duals.data();
  for (const auto& e : c.entries) s += static_cast<long double>(y[e.row]) * e.value;
  double d = static_cast<double>(s);
  if (c.status == ColumnStatus::kAtUpper) d = c.cost - d;
  else d = d - c.cost;
  if (c.kind == kFreeStructural && (d > kReducedCostZero || d < -kReducedCostZero) && d < 0) d = -1e20;
  c.reducedCost = d;
}

void StoreSolution(EngineModel& M) {
  for (int i = 1; i <= M.m; ++i) {
    ColumnRecord& c = M.Col(i);
    c.value = M.basicValues[static_cast<size_t>(i)];
    c.reducedCost = 0;
  }
  for (int j = M.m + 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    c.value = c.status == ColumnStatus::kAtUpper ? c.upper : c.lower;
    if (c.value < -kInfiniteBound) c.value = 0;
  }
}

}  // namespace vesk::engine
