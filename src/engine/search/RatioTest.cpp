#include "engine/search/RatioTest.h"

#include <cmath>
#include <cstdio>

#include "engine/EngineFiles.h"
#include "engine/Factorization.h"
#include "engine/Random.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

// Bound a basic column runs into when it rises; 0 result means no limit.
bool RisingLimit(const ColumnRecord& c, double& limit) {
  if (c.status == -1) limit = c.upper >= kInfiniteBound ? c.lower : c.upper;
  else if (c.status == 0) limit = c.upper;
  else return false;
  return limit <= kInfiniteBound && limit >= -kInfiniteBound;
}

bool FallingLimit(const ColumnRecord& c, double& limit) {
  if (c.status == -1) return false;
  limit = c.lower;
  return limit >= -kInfiniteBound;
}

}  // namespace

void RatioTest(EngineModel& M, int q) {
  ColumnRecord& e = M.Col(q);
  const double* alpha = M.pivotColumn.data();
  const double* x = M.basicValues.data();
  for (;;) {
    const int d = e.status == 1 ? -1 : 1;
    double theta = e.upper - e.lower;
    StepKind kind = d < 0 ? StepKind::kFlipToLower : StepKind::kFlipToUpper;
    int r = 0;
    double bestAlpha = 0;
    for (int i = 1; i <= M.m - 1; ++i) {
      const double a = alpha[i];
      if (a <= 1e-11 && a >= -1e-11) continue;
      const ColumnRecord& c = M.Col(i);
      if (c.kind >= kObjectiveLogical) continue;
      double limit;
      StepKind candidate;
      if (d * a <= 0) {
        if (!RisingLimit(c, limit)) continue;
        candidate = StepKind::kLeaveAtUpper;
      } else {
        if (!FallingLimit(c, limit)) continue;
        candidate = StepKind::kLeaveAtLower;
      }
      const double t = std::fabs(d * (x[i] - limit) / a);
      const double absA = std::fabs(a);
      if (std::fabs(t - theta) >= 1e-11) {
        if (t < theta + 1e-11) {
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
    if (r > 0) M.pivotMagnitude = std::fabs(alpha[r]);
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
  const double enteringBound = e.status == 1 ? e.upper : e.lower;
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
      double limit;
      if (M.stepKind == StepKind::kLeaveAtLower) {
        limit = L.status == -1 ? -1e20 : L.lower;
        L.status = -1;
      } else {
        if (!RisingLimit(L, limit)) limit = 1e20;
        L.status = L.upper > kInfiniteBound ? -1 : 1;
      }
      th = x[r] - limit;
      if (std::fabs(th) >= 1e-11) {
        th /= alpha[r];
        for (int i = 1; i <= m; ++i) x[i] -= th * alpha[i];
        x[r] = th;
      } else {
        x[r] = 0;
        th = 0;
      }
      x[r] += enteringBound;
      if (M.pivotMagnitude < 1e-6) RefillInfeasibleList(M);
      M.objectiveValue = -x[m];
      AppendEta(M, alpha, r, 1, m);
      M.SwapColumns(r, q);
      ColumnRecord& in = M.Col(r);
      in.status = 0;
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
        e.status = 1;
      } else {
        th = e.lower - e.upper;
        e.status = -1;
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

  if (std::fabs(th) > 1e-11) {
    bool progress = std::fabs(alpha[m]) > 1e-9;
    for (size_t k = 0; !progress && k < M.infeasibleList.size(); ++k)
      progress = std::fabs(alpha[M.infeasibleList[k]]) > 1e-9;
    if (progress) {
      M.lastProgressIteration = M.iterationCount;
      M.stallPeriods = 0;
      M.perturbSwitches = 0;
    }
  }
  if (M.pivotMagnitude < 1e-6) RefillInfeasibleList(M);

  bool becameFeasible = false;
  double sum = 0;
  std::vector<int>& list = M.infeasibleList;
  for (size_t k = list.size(); k-- > 0;) {
    const int i = list[k];
    ColumnRecord& c = M.Col(i);
    const double v = x[i];
    if (v - c.upper > BoundTolerance(c.upper)) {
      sum += v - c.upper;
      c.status = 1;
    } else if (c.lower - v > BoundTolerance(c.lower)) {
      sum += c.lower - v;
      c.status = -1;
    } else {
      if (c.status != 0) becameFeasible = true;
      c.status = 0;
      list[k] = list.back();
      list.pop_back();
    }
  }
  if (sum < M.feasibilitySumTolerance) {
    for (int i : list) M.Col(i).status = 0;
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
  const double eps = M.epsilon;
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
      if (std::fabs(b[i]) >= 1e-11) rhs.entries.push_back({i, b[i]});
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
