#pragma once
// The engine drivers: preparing the objective, solving a continuous program,
// solving a program with integer columns, and the status texts read after.
#include <string>
#include <string_view>

#include "engine/EngineModel.h"

namespace vesk::engine {

// Prepares a present model (logical columns, order, first inversion) once and
// loads its objective (the model always maximises).
void PrepareForSolve(EngineModel& model);
// The simplex from the current basis (a crash basis first on a fresh model).
void SolveContinuous(EngineModel& model);
// The relaxation, then the branch-and-bound search when it is feasible and
// bounded.
void SolveInteger(EngineModel& model);
std::string ContinuousStatus(const EngineModel& model);
std::string IntegerStatus(const EngineModel& model);
bool IsUnfinishedStatus(std::string_view status);

}  // namespace vesk::engine
