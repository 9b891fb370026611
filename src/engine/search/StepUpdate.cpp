// The update after a step: the step itself (a basis exchange or a bound flip),
// the stall bookkeeping, the infeasibility of the listed rows, the duals, the
// iteration log and the reinversion trigger, in that order.
#include "engine/search/StepUpdate.h"

#include <cmath>
#include <string>

#include "engine/BasisSolves.h"
#include "engine/EngineChecks.h"
#include "engine/EngineFiles.h"
#include "engine/EtaFile.h"
#include "engine/Reinvert.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

// After a small pivot every bounded row is examined by the next update.
void RefillInfeasibleList(EngineModel& M) {
  M.infeasibleList.clear();
  for (int i = 1; i <= M.m - 1; ++i)
    if (M.Col(i).kind < kObjectiveLogical) M.infeasibleList.push_back(i);
}

// The leaving column goes to its bound, the entering one takes its row: the
// basic values move by theta times the transformed column, one eta is
// appended and the two columns exchange positions. Returns the step length.
double ExchangeBasis(EngineModel& M, int q, const Step& step) {
  std::vector<double>& x = M.basicValues;
  const std::vector<double>& alpha = M.pivotColumn;
  const int m = M.m;
  const int r = step.leavingRow;
  const ColumnRecord& e = M.Col(q);
  const double enteringBound = e.status == ColumnStatus::kAtUpper ? e.upper : e.lower;
  ++M.pivotsSinceInversion;
  ColumnRecord& L = M.Col(r);
  L.status = step.leavingStatus;
  double th = x[r] - step.leavingBound;
  if (std::fabs(th) >= kDegenerateStep) {
    th /= alpha[r];
    for (int i = 1; i <= m; ++i) x[i] -= th * alpha[i];
    x[r] = th;
  } else {
    x[r] = 0;
    th = 0;
  }
  x[r] += enteringBound;
  // Refilled before the exchange: the leaving column's kind decides whether
  // row r is listed.
  if (step.pivotMagnitude < kRejectedPivot) RefillInfeasibleList(M);
  M.objectiveValue = -x[m];
  AppendEta(M, alpha, r, 1, m);
  M.SwapColumns(r, q);
  ColumnRecord& in = M.Col(r);
  in.status = ColumnStatus::kWithin;
  in.reducedCost = 0;
  if (in.kind == kFreeStructural) {
    in.lower = -kEngineInfinity;
    in.upper = kEngineInfinity;
  }
  return th;
}

// The entering column moves to its other bound; the basis stays.
double FlipBound(EngineModel& M, int q, const Step& step) {
  std::vector<double>& x = M.basicValues;
  const std::vector<double>& alpha = M.pivotColumn;
  ColumnRecord& e = M.Col(q);
  double th;
  if (step.kind == StepKind::kFlipToUpper) {
    th = e.upper - e.lower;
    e.status = ColumnStatus::kAtUpper;
  } else {
    th = e.lower - e.upper;
    e.status = ColumnStatus::kAtLower;
  }
  for (int i = 1; i <= M.m; ++i) x[i] -= th * alpha[i];
  M.objectiveValue = -x[M.m];
  return th;
}

// Stall bookkeeping: a step that moves the objective row or an infeasible row
// is progress, and the stall counters start again.
void NoteProgress(EngineModel& M, double th) {
  if (!(std::fabs(th) > kDegenerateStep)) return;
  const std::vector<double>& alpha = M.pivotColumn;
  bool progress = std::fabs(alpha[M.m]) > kProgressEntry;
  for (size_t k = 0; !progress && k < M.infeasibleList.size(); ++k)
    progress = std::fabs(alpha[M.infeasibleList[k]]) > kProgressEntry;
  if (progress) {
    M.lastProgressIteration = M.iterationCount;
    M.stallPeriods = 0;
    M.perturbSwitches = 0;
  }
}

// Updates the infeasibility over the listed rows only, from the last entry to
// the first; rows that became feasible leave the list (the ratio test keeps
// feasible basic columns within their bounds, so none is added). Returns true
// when some row became feasible.
bool UpdateInfeasibility(EngineModel& M) {
  const std::vector<double>& x = M.basicValues;
  bool becameFeasible = false;
  double sum = 0;
  std::vector<int>& list = M.infeasibleList;
  for (size_t k = list.size(); k-- > 0;) {
    const int i = list[k];
    ColumnRecord& c = M.Col(i);
    const double v = x[i];
    if (v - c.upper > BoundTolerance(c.upper)) {
      sum += v - c.upper;
      c.status = ColumnStatus::kAbove;
    } else if (c.lower - v > BoundTolerance(c.lower)) {
      sum += c.lower - v;
      c.status = ColumnStatus::kBelow;
    } else {
      if (c.status != ColumnStatus::kWithin) becameFeasible = true;
      c.status = ColumnStatus::kWithin;
      list[k] = list.back();
      list.pop_back();
    }
  }
  if (sum < kNegligibleInfeasibility) {
    for (int i : list) M.Col(i).status = ColumnStatus::kWithin;
    if (!list.empty()) becameFeasible = true;
    list.clear();
    sum = 0;
  }
  M.infeasSum = sum;
  M.infeasCount = static_cast<int>(list.size());
  return becameFeasible;
}

// Reinversion by operation count, so that the same model gives the same pivots
// on any machine: after 50 pivots, once the etas added since the inversion
// hold more nonzeros than the inversion itself, every further transformation
// costs more than rebuilding; and whenever the file is full.
bool ReinversionDue(const EngineModel& M) {
  const long long added = M.etaFile.nonzeros - M.etaNonzerosAtInversion;
  return (M.pivotsSinceInversion > 49 && added > M.etaNonzerosAtInversion) ||
         M.etaFile.count >= M.etaFile.capacity;
}

}  // namespace

bool ApplyStep(EngineModel& M, int q, const Step& step) {
  if (step.kind == StepKind::kUnbounded) return true;
  CheckStepStart(M, q, step.ChangesBasis() ? step.leavingRow : 0);
  // The iteration log names the columns as they stood before the step.
  const bool logging = M.iterLog > 0 && ConsoleOn(M);
  std::string enteringName, leavingName;
  if (logging) {
    enteringName = M.Col(q).name;
    if (step.ChangesBasis()) leavingName = M.Col(step.leavingRow).name;
    else leavingName = step.kind == StepKind::kFlipToUpper ? "to upper" : "to lower";
  }

  const double th = step.ChangesBasis() ? ExchangeBasis(M, q, step) : FlipBound(M, q, step);
  M.freshSolution = false;
  NoteProgress(M, th);
  if (step.pivotMagnitude < kRejectedPivot) RefillInfeasibleList(M);
  const bool becameFeasible = UpdateInfeasibility(M);
  const bool reinvert = ReinversionDue(M);
  // The reinversion computes the duals itself.
  if ((becameFeasible || step.ChangesBasis()) && !reinvert) ComputePrices(M);

  CheckBasis(M);

  if (logging) IterationLogLine(M, enteringName, leavingName);
  if (reinvert) {
    if (M.iterLog == 0 && !M.quiet && ConsoleOn(M)) IterationLogLine(M, "", "");
    return ReinvertBetweenSteps(M);
  }
  return true;
}

bool ReinvertBetweenSteps(EngineModel& M) {
  if (!Reinvert(M)) return false;
  M.candidateCount = 0;
  PeriodicBasisSave(M);
  return true;
}

}  // namespace vesk::engine
