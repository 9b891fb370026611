// The engine drivers: preparing the objective, solving a continuous program,
// solving a program with integer columns, and the status texts read after.
#include "engine/search/Drivers.h"

#include "engine/CrashBasis.h"
#include "engine/EngineFiles.h"
#include "engine/search/BranchAndBound.h"
#include "engine/search/Simplex.h"

namespace vesk::engine {

void PrepareForSolve(EngineModel& M) {
  if (!M.modelPresent) return;
  if (!M.prepared) M.PrepareModel();
  if (!M.modelPresent) return;
  M.maximize = true;
  M.LoadObjective();
}

namespace {

// Runs the continuous simplex from the current basis (a crash basis first on
// a fresh model) and keeps its outcome.
void RunRelaxation(EngineModel& M) {
  M.stopReason = StopReason::kNone;
  M.relaxationOutcome = SimplexOutcome::kNotRun;
  if (!M.modelPresent || !M.prepared) return;
  if (M.boundsCrossed) return;
  if (M.inversionCount == 1 && !CrashBasis(M)) return;
  M.errorFlag = false;
  M.relaxationOutcome = Simplex(M, true);
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
  RunRelaxation(M);
  if (M.relaxationOutcome != SimplexOutcome::kNotRun && M.modelPresent && !M.errorFlag &&
      M.stopReason == StopReason::kNone && M.infeasCount == 0) {
    DeleteInfFile(M);
    SaveBasis(M);
    if (M.relaxationOutcome != SimplexOutcome::kUnbounded) BranchAndBound(M);
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

// A ray found while the basis is still infeasible proves neither verdict.
const char* UnboundedText(const EngineModel& M) {
  return M.infeasCount > 0 ? "UNFINISHED: UNBOUNDED RAY BEFORE FEASIBILITY" : "UNBOUNDED SOLUTION";
}

}  // namespace

std::string ContinuousStatus(const EngineModel& M) {
  if (const char* text = UnfinishedText(M.stopReason)) return text;
  if (M.boundsCrossed) return "PROBLEM IS INFEASIBLE";
  if (!M.modelPresent || !M.prepared) return "UNFINISHED: NO MODEL";
  switch (M.relaxationOutcome) {
    case SimplexOutcome::kUnbounded:
      return UnboundedText(M);
    case SimplexOutcome::kOptimal:
    case SimplexOutcome::kInfeasible:
    case SimplexOutcome::kNumericalTrouble:
      return M.infeasCount > 0 ? "PROBLEM IS INFEASIBLE" : "OPTIMAL SOLUTION";
    case SimplexOutcome::kNotRun:
    case SimplexOutcome::kStopped:
    case SimplexOutcome::kModelCleared:
      break;
  }
  return "UNFINISHED";
}

std::string IntegerStatus(const EngineModel& M) {
  if (const char* text = UnfinishedText(M.stopReason)) return text;
  if (M.errorFlag) return "UNFINISHED";
  if (M.integerFound) return "OPTIMAL SOLUTION";
  if (M.relaxationOutcome == SimplexOutcome::kUnbounded) return UnboundedText(M);
  if (!M.boundsCrossed && (!M.modelPresent || !M.prepared)) return "UNFINISHED: NO MODEL";
  return "INTEGER-PROBLEM-INFEASIBLE";
}

bool IsUnfinishedStatus(std::string_view status) { return status.substr(0, 10) == "UNFINISHED"; }

}  // namespace vesk::engine
