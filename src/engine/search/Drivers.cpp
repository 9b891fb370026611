// The engine drivers: preparing the objective, solving a continuous program,
// solving a program with integer columns, and the status texts read after.
#include <cmath>

#include "engine/EngineFiles.h"
#include "engine/EngineModel.h"
#include "engine/search/BranchAndBound.h"
#include "engine/search/Simplex.h"

namespace vesk::engine {

void PrepareForSolve(EngineModel& M) {
  if (!M.modelPresent) return;
  if (!M.prepared) M.PrepareModel();
  if (!M.modelPresent) return;
  M.maximize = true;
  M.unboundedFlag = false;
  M.LoadObjective();
}

namespace {

// Runs the continuous simplex from the current basis (a crash basis first on
// a fresh model). Returns false when nothing could run.
bool RunRelaxation(EngineModel& M) {
  M.stopReason = StopReason::kNone;
  M.numericalTrouble = false;
  M.verdictReached = false;
  if (!M.modelPresent || !M.prepared) return false;
  if (M.boundsCrossed) return false;
  if (M.inversionCount == 1 && !CrashBasis(M)) return false;
  M.errorFlag = false;
  Simplex(M, true);
  return true;
}

}  // namespace

void SolveContinuous(EngineModel& M) {
  M.running = true;
  M.startTime = M.host.ClockSeconds();
  RunRelaxation(M);
  M.accumulatedTime += M.host.ClockSeconds() - M.startTime;
  M.running = false;
  M.errorFlag = false;
}

void SolveInteger(EngineModel& M) {
  if (!M.modelPresent) return;
  M.running = true;
  M.startTime = M.host.ClockSeconds();
  M.searchUnavailable = false;
  if (RunRelaxation(M) && M.modelPresent && !M.errorFlag && M.stopReason == StopReason::kNone &&
      M.infeasCount == 0) {
    DeleteInfFile(M);
    SaveBasis(M);
    if (!M.unboundedFlag) BranchAndBound(M);  // integer-path hook
  }
  M.accumulatedTime += M.host.ClockSeconds() - M.startTime;
  M.running = false;
}

namespace {

const char* UnfinishedText(StopReason reason) {
  switch (reason) {
    case StopReason::kIterationLimit: return "UNFINISHED: ITERATION LIMIT";
    case StopReason::kTimeLimit: return "UNFINISHED: TIME LIMIT";
    case StopReason::kNumericalTrouble: return "UNFINISHED: NUMERICAL PROBLEMS";
    case StopReason::kWholeMatrixSearched: return "UNFINISHED: WHOLE MATRIX SEARCHED";
    case StopReason::kModelError: return "UNFINISHED: MODEL ERROR";
    case StopReason::kNone: break;
  }
  return nullptr;
}

}  // namespace

std::string ContinuousStatus(const EngineModel& M) {
  if (const char* text = UnfinishedText(M.stopReason)) return text;
  if (M.boundsCrossed) return "PROBLEM IS INFEASIBLE";
  if (!M.modelPresent || !M.prepared) return "UNFINISHED: NO MODEL";
  if (!M.verdictReached) return "UNFINISHED";
  // A ray found while the basis is still infeasible proves neither verdict.
  if (M.unboundedFlag && M.infeasCount > 0) return "UNFINISHED: UNBOUNDED RAY BEFORE FEASIBILITY";
  if (M.infeasCount > 0) return "PROBLEM IS INFEASIBLE";
  if (M.unboundedFlag) return "UNBOUNDED SOLUTION";
  return "OPTIMAL SOLUTION";
}

std::string IntegerStatus(const EngineModel& M) {
  if (const char* text = UnfinishedText(M.stopReason)) return text;
  if (M.errorFlag) return "UNFINISHED";
  if (M.integerFound) return "OPTIMAL SOLUTION";
  // integer-path hook: an unbounded relaxation is reported as unbounded.
  if (M.unboundedFlag) return M.infeasCount > 0 ? "UNFINISHED: UNBOUNDED RAY BEFORE FEASIBILITY" : "UNBOUNDED SOLUTION";
  if (M.searchUnavailable) return "UNFINISHED: NO BRANCH-AND-BOUND SEARCH";
  if (!M.boundsCrossed && (!M.modelPresent || !M.prepared)) return "UNFINISHED: NO MODEL";
  return "INTEGER-PROBLEM-INFEASIBLE";
}

bool IsUnfinishedStatus(std::string_view status) { return status.substr(0, 10) == "UNFINISHED"; }

}  // namespace vesk::engine
