#pragma once
// Makes an engine host the solver interface's host for one scope and puts the
// default back however the scope ends, an assertion that returns early
// included, so that no later test solves through a host that is gone.
#include "engine/EngineHost.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::test {

class ScopedSolverHost {
 public:
  explicit ScopedSolverHost(engine::EngineHost& host) { solver::LpSetHost(&host); }
  ~ScopedSolverHost() { solver::LpSetHost(nullptr); }
  ScopedSolverHost(const ScopedSolverHost&) = delete;
  ScopedSolverHost& operator=(const ScopedSolverHost&) = delete;
};

}  // namespace vesk::test
