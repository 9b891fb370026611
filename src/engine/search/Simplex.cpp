#include "engine/search/Simplex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/EngineFiles.h"
#include "engine/Factorization.h"
#include "engine/Tolerances.h"
#include "engine/search/RatioTest.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

// Reduced cost of a nonbasic position. A nonbasic free column stands at a
// working bound and can move away from it in one direction only; when the
// other direction improves, it is turned around (the working bound becomes
// the opposite one, the side it moves to is unbounded).
double PriceColumn(EngineModel& M, int j) {
  ComputeDj(M, j);
  ColumnRecord& c = M.Col(j);
  if (c.kind == kFreeStructural && c.reducedCost > kReducedCostZero) {
    if (c.status != ColumnStatus::kAtUpper) {
      c.upper = c.lower;
      c.lower = -kEngineInfinity;
      c.status = ColumnStatus::kAtUpper;
    } else {
      c.lower = c.upper;
      c.upper = kEngineInfinity;
      c.status = ColumnStatus::kAtLower;
    }
    ComputeDj(M, j);
  }
  return c.reducedCost;
}

void ShowCandidates(EngineModel& M) {
  if (ConsoleOn(M)) ConsoleField(M, kFieldCandidates, std::to_string(M.candidateCount));
}

void Transform(EngineModel& M, int q) {
  ScatterColumn(M, q, M.pivotColumn);
  Ftran(M, M.pivotColumn, 1, M.etaFile.count);
}

}  // namespace

int ScanBlock(EngineModel& M, int s) {
  M.candidateCount = 0;
  M.bestEligibleDj = 0;
  int j = s;
  const int n = M.n;
  for (; j <= n && M.candidateCount < M.pricing; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.upper - c.lower <= kZeroRange) continue;
    const double dj = PriceColumn(M, j);
    if (c.eligible) M.bestEligibleDj = std::min(M.bestEligibleDj, dj);
    if (dj < M.djMin) {
      M.SwapColumns(j, s + M.candidateCount);
      ++M.candidateCount;
    }
  }
  M.acceptThreshold = 0;
  if (M.candidateCount > 0) {
    auto first = M.column.begin() + s + 1;
    std::stable_sort(first, first + M.candidateCount, [](const ColumnRecord* a, const ColumnRecord* b) {
      return a->reducedCost < b->reducedCost;
    });
    for (int t = 0; t < M.candidateCount; ++t) M.Col(s + t).number = s + t;
    const int k = std::min(M.candidateCount, 10);
    for (int i = 1; i <= k; ++i) {
      const ColumnRecord& c = M.Col(s + i - 1);
      if (c.eligible) M.djHistory[i] = c.reducedCost;
      M.acceptThreshold += M.djHistory[i] / k;
    }
  }
  if (!M.quiet) ShowCandidates(M);
  return j;
}

void Simplex(EngineModel& M, bool storeSolution) {
  if (!M.modelPresent || !M.prepared) return;
  EngineHost& host = M.host;
  ComputePrices(M);
  M.acceptThreshold = -1e8;
  M.stallPeriods = 0;
  M.perturbSwitches = 0;
  int pivotsSinceReset = 0;
  bool rejectedPresent = false;
  M.limitReached = false;
  M.lastProgressIteration = M.iterationCount;
  std::vector<int> rejected;

  for (;;) {  // one pass
    if (!M.modelPresent) return;
    const int m = M.m;
    const int n = M.n;
    bool noPivot = true;
    rejected.clear();
    bool toReport = false;
    bool restartPass = false;
    int s = m + 1;
    while (s <= n) {
      const int next = ScanBlock(M, s);
      if (s == m + 1 && M.candidateCount < M.pricing && m + 1 <= n && M.Col(m + 1).reducedCost > -100 &&
          M.infeasCount > 0 && M.perturbMode == 0) {
        // No column can reduce the weighted infeasibility any more; confirm
        // on a fresh inverse before calling it infeasible.
        if (!M.freshSolution) {
          if (M.pivotsSinceInversion > 0) {
            if (!Reinvert(M)) return;
          } else {
            ComputeBasicSolution(M);
            ComputePrices(M);
          }
          restartPass = true;
        } else {
          toReport = true;
        }
        break;
      }
      for (int t = 0; t < M.candidateCount; ++t) {
        const int p = s + t;
        ColumnRecord& c = M.Col(p);
        if (c.upper - c.lower <= kZeroRange) continue;
        const double dj = PriceColumn(M, p);
        if (dj < M.djMin && dj < 0.95 * M.acceptThreshold) {
          Transform(M, p);
          RatioTest(M, p);
          ++M.iterationCount;
          if (M.iterationCount > M.maxIter) {
            M.limitReached = true;
            M.limitReason = StopReason::kIterationLimit;
          } else if (host.ClockSeconds() - M.startTime + M.accumulatedTime > static_cast<double>(M.maxTime)) {
            M.limitReached = true;
            M.limitReason = StopReason::kTimeLimit;
          }
          if (M.unboundedFlag) {
            M.verdictReached = true;
            return;
          }
          if (M.pivotMagnitude < kRejectedPivot) {
            c.eligible = false;
            rejected.push_back(p);
            rejectedPresent = true;
            if (!M.quiet) ConsoleNamed(M, "Memo", ".");
          } else {
            for (int i = 1; i <= 9; ++i) M.djHistory[i] = M.djHistory[i + 1];
            M.djHistory[10] = dj / std::max(1, c.Count());
            if (++pivotsSinceReset > 50) {
              if (rejectedPresent)
                for (int j = 1; j <= M.n; ++j) M.Col(j).eligible = true;
              pivotsSinceReset = 0;
              rejectedPresent = false;
            }
            double threshold = 0;
            for (int i = 1; i <= 10; ++i) threshold += 0.95 * M.djHistory[i] / 10;
            M.acceptThreshold = threshold;
            if (!ApplyStep(M, p)) return;
            noPivot = false;
            rejected.clear();
            if (M.unboundedFlag) {
            M.verdictReached = true;
            return;
          }
          }
        }
        if (M.iterationCount % 10 == 0) {
          host.ProcessPendingEvents();
          if (host.CancelRequested()) {
            M.limitReached = true;
            M.limitReason = StopReason::kTimeLimit;
          }
        }
        if (M.errorFlag) {
          if (M.logFile) WriteLog(M, "Solution cancelled");
          return;
        }
      }
      s = next;
    }
    if (restartPass) continue;

    if (!toReport) {
      // Stall control.
      if (M.iterationCount - M.lastProgressIteration > 30) {
        ++M.stallPeriods;
        M.lastProgressIteration = M.iterationCount;
      }
      if (M.stallPeriods > 2) {
        if (M.perturbSwitches > 10) {
          ConsoleLine(M, "Numerical Problems");
          M.numericalTrouble = true;
          M.stopReason = StopReason::kNumericalTrouble;
          toReport = true;
        } else {
          ++M.perturbSwitches;
          if (M.perturbMode < 2) {
            SetPerturbation(M, 2);
            M.pricing = 32;
          } else {
            SetPerturbation(M, 0);
          }
          M.stallPeriods = 0;
        }
      }
    }
    if (!toReport && M.quiet) {
      ScanBlock(M, m + 1);
      if (M.candidateCount > 0 && M.candidateCount < 10 && M.infeasSum > kQuietInfeasibility && m + 1 <= n &&
          M.Col(m + 1).reducedCost > -100) {
        if (M.perturbMode != 0) {
          SetPerturbation(M, 0);
          continue;
        }
        toReport = true;
      }
    }
    if (!toReport) {
      if (!noPivot && !M.errorFlag) continue;
      if (M.errorFlag) return;

      // Retry of the candidates set aside for a small pivot.
      if (!rejected.empty()) {
        int bestP = 0;
        double bestA = 0;
        for (int p : rejected) {
          Transform(M, p);
          RatioTest(M, p);
          if (M.unboundedFlag) {
            M.verdictReached = true;
            return;
          }
          if (M.pivotMagnitude > bestA) {
            bestA = M.pivotMagnitude;
            bestP = p;
            if (!M.quiet && ConsoleOn(M)) {
              if (ConsoleLineCount(M) > 1) ConsoleLine(M, "");
              char buf[64];
              std::snprintf(buf, sizeof buf, "%g", bestA);
              ConsoleLine(M, "PIVOT PROBLEM: BEST PIVOT " + M.Col(p).name + " " + buf);
            }
          }
        }
        // A pivot this small would wreck the inverse; it counts as none.
        if (bestA > kRetryPivot) {
          PriceColumn(M, bestP);
          Transform(M, bestP);
          RatioTest(M, bestP);
          ++M.iterationCount;
          if (M.unboundedFlag) {
            M.verdictReached = true;
            return;
          }
          if (!ApplyStep(M, bestP)) return;
          if (M.unboundedFlag) {
            M.verdictReached = true;
            return;
          }
          continue;
        }
        if (M.pivotsSinceInversion > 3) {
          if (!Reinvert(M)) return;
          M.candidateCount = 0;
          PeriodicBasisSave(M);
          continue;
        }
        ConsoleLine(M, "Numerical Problems: Iteration stopped.");
        M.numericalTrouble = true;
        M.stopReason = StopReason::kNumericalTrouble;
        return;
      }

      // Threshold relaxation.
      if (M.acceptThreshold < M.djMin || M.candidateCount > 0) {
        M.acceptThreshold = rejectedPresent ? M.djMin : std::min(M.bestEligibleDj / 1.9, M.djMin);
        for (int i = 1; i <= 10; ++i) M.djHistory[i] = M.acceptThreshold;
        continue;
      }

      // No candidate at all.
      if (M.perturbMode != 0) {
        SetPerturbation(M, 0);
        continue;
      }
      if (!M.freshSolution) {
        // Every verdict is confirmed on a fresh inverse.
        if (M.pivotsSinceInversion > 0) {
          if (!Reinvert(M)) return;
          M.candidateCount = 0;
          PeriodicBasisSave(M);
        } else {
          ComputeBasicSolution(M);
          ComputePrices(M);
        }
        continue;
      }

      // Free columns at a working lower bound that still want to fall.
      if (M.freeColumns) {
        bool widened = false;
        for (int j = m + 1; j <= n; ++j) {
          ColumnRecord& c = M.Col(j);
          if (c.kind != kFreeStructural || c.status != ColumnStatus::kAtLower) continue;
          ComputeDj(M, j);
          if (c.reducedCost > kReducedCostZero) {
            c.lower = c.lower == 0 ? -100 : -100 * std::fabs(c.lower);
            widened = true;
          }
        }
        if (widened) {
          ComputeBasicSolution(M);
          ComputePrices(M);
          continue;
        }
      }
    }

    // Report.
    if (M.iterLog == 0 && !M.quiet) IterationLogLine(M, "", "");
    if (!M.quiet) ShowCandidates(M);
    CheckPrimalFeasibility(M);
    ComputePrices(M);
    if (!M.quiet && ConsoleOn(M)) {
      std::string text;
      int colour;
      char buf[64];
      if (M.infeasCount > 0) {
        colour = 4;
        std::snprintf(buf, sizeof buf, "%g", M.infeasSum);
        text = "PROBLEM IS INFEASIBLE nINF=" + std::to_string(M.infeasCount) + " INF=" + buf;
      } else if (M.unboundedFlag) {
        colour = 5;
        std::snprintf(buf, sizeof buf, " %14.6f", M.objectiveValue);
        text = std::string("PROBLEM IS UNBOUNDED") + buf;
      } else {
        colour = 14;
        std::snprintf(buf, sizeof buf, " %14.6f", M.objectiveValue);
        text = std::string("OPTIMAL SOLUTION") + buf;
      }
      ConsoleColour(M, colour);
      if (ConsoleLineCount(M) > 1) ConsoleLine(M, "");
      ConsoleLine(M, text);
      ConsoleLine(M, "Elapsed Time " + ElapsedText(M.ElapsedSeconds()));
      if (M.errorFlag) ConsoleLine(M, "UNFINISHED");
    }
    if (storeSolution) StoreSolution(M);
    M.verdictReached = true;
    ConsoleColour(M, 7);
    return;
  }
}

}  // namespace vesk::engine
