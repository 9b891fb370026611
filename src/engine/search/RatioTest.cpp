#include "engine/search/RatioTest.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/EngineFiles.h"
#include "engine/Factorization.h"
#include "engine/Random.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

// Bound a basic column runs into when it rises; 0 result means no limit.
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
// columns, +-phase1Weight for infeasible ones) grows when column q moves off
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
// the slope of the merit by (phase1Weight -+ cost_i) |alpha_i|; the step goes
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
  // Points reached together (within 1e-11) go to the largest pivot element.
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

}  // namespace

void RatioTest(EngineModel& M, int q) {
  ColumnRecord& e = M.Col(q);
  const double* alpha = M.pivotColumn.data();
  const double* x = M.basicValues.data();
  const double W = kPhase1Price;
  for (;;) {
    const int d = e.status == ColumnStatus::kAtUpper ? -1 : 1;
    double theta = e.upper - e.lower;
    StepKind kind = d < 0 ? StepKind::kFlipToLower : StepKind::kFlipToUpper;
    int r = 0;
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
      if (std::fabs(t - theta) >= kStepTie) {
        if (t < theta + kStepTie) {
          theta = t;
          bestAlpha = absA;
          r = i;
          kind = candidate;
        }
      } else if (absA > bestAlpha) {
        bestAlpha = absA;
        r = i;
        kind = candidate;
      }
    }
    const int b = LongStep(M, e, theta);
    bool atNearBound = false;
    if (b >= 0) {
      const auto& p = M.breakpoints[static_cast<size_t>(b)];
      theta = p.t;
      r = p.row;
      kind = p.atLower ? StepKind::kLeaveAtLower : StepKind::kLeaveAtUpper;
      atNearBound = true;
    }
    M.pivotMagnitude = 1.0;
    if (theta > kInfiniteBound) {
      r = 0;
      kind = d < 0 ? StepKind::kFlipToLower : StepKind::kFlipToUpper;
      const bool open = d < 0 ? e.lower < -kInfiniteBound : e.upper > kInfiniteBound;
      if (open) {
        ConsoleLine(M, "VARIABLE " + e.name + " is unbounded !");
        if (M.logFile) WriteLog(M, "Variable " + e.name + " is unbounded");
        const std::string question =
            e.name + (d < 0 ? " is unbounded ! CHANGE lower Bound ? (Y/N) " : " is unbounded ! CHANGE upper Bound ? (Y/N) ");
        bool changed = false;
        if (M.host.MessageBox(question) == EngineHost::Answer::Ok) {
          const std::string prompt = (d < 0 ? "Enter Lo-Bound of Variable " : "Enter Up-Bound of Variable ") + e.name;
          if (d < 0) ConsoleNamed(M, "Prompt", prompt);
          double v = 0;
          if (M.host.ReadNumber(prompt, v) && std::isfinite(v) && std::fabs(v) <= kInfiniteBound) {
            if (d < 0 && v <= e.upper) {
              e.lower = v;
              changed = true;
            } else if (d > 0 && v >= e.lower) {
              e.upper = v;
              changed = true;
            }
          }
        }
        if (changed) continue;  // the step is found again with the new bound
        M.unboundedFlag = true;
        kind = StepKind::kUnbounded;
      }
    }
    M.stepKind = kind;
    M.leavingRow = r;
    M.theta = theta;
    if (r > 0) {
      M.pivotMagnitude = std::fabs(alpha[r]);
      const ColumnRecord& L = M.Col(r);
      if (atNearBound) {
        // An infeasible column stopping at the bound it has just reached.
        M.leavingBound = kind == StepKind::kLeaveAtLower ? L.lower : L.upper;
        M.leavingStatus = kind == StepKind::kLeaveAtLower ? ColumnStatus::kAtLower : ColumnStatus::kAtUpper;
      } else if (kind == StepKind::kLeaveAtLower) {
        M.leavingBound = L.status == ColumnStatus::kBelow ? -kInfiniteBound : L.lower;
        M.leavingStatus = ColumnStatus::kAtLower;
      } else {
        double limit;
        M.leavingBound = RisingLimit(L, limit) ? limit : kInfiniteBound;
        M.leavingStatus = L.upper > kInfiniteBound ? ColumnStatus::kAtLower : ColumnStatus::kAtUpper;
      }
    }
    return;
  }
}

static void RefillInfeasibleList(EngineModel& M) {
  M.infeasibleList.clear();
  for (int i = 1; i <= M.m - 1; ++i)
    if (M.Col(i).kind < kObjectiveLogical) M.infeasibleList.push_back(i);
}

bool ApplyStep(EngineModel& M, int q) {
  std::vector<double>& x = M.basicValues;
  const std::vector<double>& alpha = M.pivotColumn;
  const int m = M.m;
  ColumnRecord& e = M.Col(q);
  const double enteringBound = e.status == ColumnStatus::kAtUpper ? e.upper : e.lower;
  bool basisChanged = false;
  double th = 0;
  std::string enteringName, leavingName;
  const bool logging = M.iterLog > 0 && ConsoleOn(M);
  if (logging) enteringName = e.name;
  switch (M.stepKind) {
    case StepKind::kLeaveAtLower:
    case StepKind::kLeaveAtUpper: {
      ++M.pivotsSinceInversion;
      const int r = M.leavingRow;
      ColumnRecord& L = M.Col(r);
      if (logging) leavingName = L.name;
      const double limit = M.leavingBound;
      L.status = M.leavingStatus;
      th = x[r] - limit;
      if (std::fabs(th) >= kDegenerateStep) {
        th /= alpha[r];
        for (int i = 1; i <= m; ++i) x[i] -= th * alpha[i];
        x[r] = th;
      } else {
        x[r] = 0;
        th = 0;
      }
      x[r] += enteringBound;
      if (M.pivotMagnitude < kRejectedPivot) RefillInfeasibleList(M);
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
      basisChanged = true;
      break;
    }
    case StepKind::kFlipToUpper:
    case StepKind::kFlipToLower: {
      if (M.stepKind == StepKind::kFlipToUpper) {
        th = e.upper - e.lower;
        e.status = ColumnStatus::kAtUpper;
      } else {
        th = e.lower - e.upper;
        e.status = ColumnStatus::kAtLower;
      }
      for (int i = 1; i <= m; ++i) x[i] -= th * alpha[i];
      M.objectiveValue = -x[m];
      if (logging) leavingName = M.stepKind == StepKind::kFlipToUpper ? "to upper" : "to lower";
      break;
    }
    case StepKind::kUnbounded:
      return true;
  }
  M.freshSolution = false;

  if (std::fabs(th) > kDegenerateStep) {
    bool progress = std::fabs(alpha[m]) > kProgressEntry;
    for (size_t k = 0; !progress && k < M.infeasibleList.size(); ++k)
      progress = std::fabs(alpha[M.infeasibleList[k]]) > kProgressEntry;
    if (progress) {
      M.lastProgressIteration = M.iterationCount;
      M.stallPeriods = 0;
      M.perturbSwitches = 0;
    }
  }
  if (M.pivotMagnitude < kRejectedPivot) RefillInfeasibleList(M);

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
  // Reinversion by operation count, so that the same model gives the same
  // pivots on any machine: after 50 pivots, once the etas added since the
  // inversion hold more nonzeros than the inversion itself, every further
  // transformation costs more than rebuilding; and whenever the file is full.
  const long long added = M.etaFile.nonzeros - M.etaNonzerosAtInversion;
  const bool reinvert = (M.pivotsSinceInversion > 49 && added > M.etaNonzerosAtInversion) ||
                        M.etaFile.count >= M.etaFile.capacity;
  // The reinversion computes the duals itself.
  if ((becameFeasible || basisChanged) && !reinvert) ComputePrices(M);

  if (M.limitReached) {
    M.errorFlag = true;
    M.stopReason = M.limitReason;
  }
  if (logging) IterationLogLine(M, enteringName, leavingName);

  if (reinvert) {
    if (M.iterLog == 0 && !M.quiet && ConsoleOn(M)) IterationLogLine(M, "", "");
    if (!Reinvert(M)) return false;
    M.candidateCount = 0;
    PeriodicBasisSave(M);
  }
  return true;
}

void SetPerturbation(EngineModel& M, int mode) {
  const int m = M.m;
  const double eps = kPerturbation;
  ColumnRecord& rhs = M.Col(0);
  if (mode == 0) {
    if (M.perturbMode == 0) return;
    std::vector<double> b(static_cast<size_t>(m) + 1, 0.0);
    for (const auto& e : rhs.entries) b[e.row] = e.value;
    rhs.entries.clear();
    for (int i = 1; i <= m; ++i) {
      const double shift = M.Row(i).type == kRowG ? -eps : eps;
      b[i] -= shift;
      if (i < static_cast<int>(M.basicValues.size())) M.basicValues[i] -= shift;
      if (std::fabs(b[i]) >= kDroppedEntry) rhs.entries.push_back({i, b[i]});
    }
    rhs.maxRow = m;
    for (int j = 1; j <= M.n; ++j) {
      ColumnRecord& c = M.Col(j);
      if (c.kind == kArtificial) c.lower = c.upper = 0;
    }
    M.perturbMode = 0;
    if (M.inversionCount > 0) {
      ComputeBasicSolution(M);
      M.objectiveValue = -M.basicValues[static_cast<size_t>(m)];
      ComputePrices(M);
    }
    ConsoleLine(M, "REMOVE EPS");
    return;
  }
  if (M.perturbMode == 0) {
    if (12LL * m > 524287) {
      ConsoleLine(M, "Field size too small");
      return;
    }
    std::vector<double> b(static_cast<size_t>(m) + 1, 0.0);
    for (const auto& e : rhs.entries) b[e.row] += e.value;
    rhs.entries.clear();
    for (int i = 1; i <= m; ++i) {
      const double shift = M.Row(i).type == kRowG ? -eps : eps;
      b[i] += shift;
      if (i < static_cast<int>(M.basicValues.size())) M.basicValues[i] += shift;
      rhs.entries.push_back({i, b[i]});
    }
    rhs.maxRow = m;
    if (mode == 1) ConsoleLine(M, "EPS 1");
  }
  if (mode == 2) {
    ConsoleLine(M, "EPS 2");
    for (int j = 1; j <= M.n; ++j) {
      ColumnRecord& c = M.Col(j);
      if (c.kind != kArtificial) continue;
      c.upper = 3 * eps * Random();
      c.lower = -3 * eps * Random();
    }
  }
  M.perturbMode = mode;
  if (M.inversionCount > 0) {
    ComputeBasicSolution(M);
    M.objectiveValue = -M.basicValues[static_cast<size_t>(m)];
    ComputePrices(M);
  }
}

}  // namespace vesk::engine
