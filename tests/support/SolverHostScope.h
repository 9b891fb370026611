#pragma once
// Gives the solver interface a host for one scope and takes it back on every
// way out of it, a failed assertion that returns early included, so that the
// tests after it run with the built-in host again.
#include "engine/EngineHost.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::test {

class SolverHostScope {
 public:
  explicit SolverHostScope(engine::EngineHost& host) { solver::LpSetHost(&host); }
  ~SolverHostScope() { solver::LpSetHost(nullptr); }
  SolverHostScope(const SolverHostScope&) = delete;
  SolverHostScope& operator=(const SolverHostScope&) = delete;
};

}  // namespace vesk::test
