#pragma once
// Small programs stated through the solver interface, shared by its tests.
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::solver::test {

// max x + y + z with x <= 2, y <= 3 (general integers, y's own bound 10) and
// z binary: the optimum is (2, 3, 1) with value 6. Returns LpSetSize's result.
inline int StateSmallIntegerProgram() {
  const int sized = LpSetSize(3, 2);
  for (int j = 1; j <= 3; ++j) LpSetObjective(j, 1);
  LpSetCoefficient(1, 2, 1);
  LpSetRhs(1, 3);
  LpSetCoefficient(2, 3, 1);
  LpSetRhs(2, 5);
  LpSetUpperBound(1, 2);
  LpSetUpperBound(2, 10);
  LpSetColumnType(1, 'I');
  LpSetColumnType(2, 'I');
  LpSetColumnType(3, 'B');
  return sized;
}

}  // namespace vesk::solver::test
