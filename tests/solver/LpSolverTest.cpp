#include <gtest/gtest.h>

#include <string>

#include "engine/ScratchEngineHost.h"
#include "SmallPrograms.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::solver {
namespace {

class LpSolverTest : public ::testing::Test {
 protected:
  void TearDown() override {
    LpSetHost(nullptr);
    LpRelease();
  }
  // max x + y s.t. x + 2y <= 4, 3x + y <= 6: x = 1.6, y = 1.2.
  static void StateTwoRows() {
    ASSERT_EQ(LpSetSize(2, 2), 0);
    LpSetObjective(1, 1);
    LpSetObjective(2, 1);
    LpSetCoefficient(1, 1, 1);
    LpSetCoefficient(1, 2, 2);
    LpSetCoefficient(2, 1, 3);
    LpSetCoefficient(2, 2, 1);
    LpSetRhs(1, 4);
    LpSetRhs(2, 6);
  }
};

TEST_F(LpSolverTest, SettersRefuseBadCalls) {
  EXPECT_EQ(LpSetObjective(1, 1), -1);  // not sized
  EXPECT_EQ(LpSetSize(0, 3), -1);
  EXPECT_EQ(LpSetSize(3, 0), -1);
  EXPECT_EQ(LpSolve(), -1);
  ASSERT_EQ(LpSetSize(3, 2), 0);
  struct Call {
    const char* what;
    int result;
    int expected;
  };
  const Call calls[] = {
      {"objective j=0", LpSetObjective(0, 1), -1},
      {"objective j=4", LpSetObjective(4, 1), -1},
      {"objective j=3", LpSetObjective(3, 1), 0},
      {"coefficient i=3", LpSetCoefficient(3, 1, 1), -1},
      {"coefficient j=4", LpSetCoefficient(1, 4, 1), -1},
      {"coefficient ok", LpSetCoefficient(2, 3, 1), 0},
      {"rhs -0.5", LpSetRhs(1, -0.5), -1},
      {"rhs 0", LpSetRhs(1, 0), 0},
      {"rhs i=0", LpSetRhs(0, 1), -1},
      {"row type L", LpSetRowType(1, 'L'), -1},
      {"row type =", LpSetRowType(1, '='), 0},
      {"row type >", LpSetRowType(2, '>'), 0},
      {"column type X", LpSetColumnType(1, 'X'), -1},
      {"column type B", LpSetColumnType(1, 'B'), 0},
      {"column type j=4", LpSetColumnType(4, 'C'), -1},
      {"lower j=0", LpSetLowerBound(0, 1), -1},
      {"upper j=4", LpSetUpperBound(4, 1), -1},
      {"upper ok", LpSetUpperBound(3, 1), 0},
  };
  for (const Call& c : calls) EXPECT_EQ(c.result, c.expected) << c.what;
  LpRelease();
  EXPECT_EQ(LpSetRhs(1, 1), -1);  // released: must be sized again
}

TEST_F(LpSolverTest, StatusMappingAndReadersKeepTheLastOptimum) {
  StateTwoRows();
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_NEAR(LpObjectiveValue(), 2.8, 1e-9);
  EXPECT_NEAR(LpColumnValue(1), 1.6, 1e-9);
  EXPECT_NEAR(LpColumnValue(2), 1.2, 1e-9);

  // Infeasible: x + y >= 10 with x, y <= 1.
  LpSetRowType(1, '>');
  LpSetCoefficient(1, 2, 1);
  LpSetRhs(1, 10);
  LpSetUpperBound(1, 1);
  LpSetUpperBound(2, 1);
  EXPECT_EQ(LpSolve(), 3);
  EXPECT_NEAR(LpObjectiveValue(), 2.8, 1e-9);  // still the last successful solve
  EXPECT_NEAR(LpColumnValue(1), 1.6, 1e-9);

  // Crossed bounds never reach the engine.
  LpSetLowerBound(1, 2);
  EXPECT_EQ(LpSolve(), -1);

  // Unbounded: max x with x - y <= 1 and no upper bounds.
  ASSERT_EQ(LpSetSize(2, 1), 0);
  LpSetObjective(1, 1);
  LpSetCoefficient(1, 1, 1);
  LpSetCoefficient(1, 2, -1);
  LpSetRhs(1, 1);
  EXPECT_EQ(LpSolve(), 2);
}

TEST_F(LpSolverTest, BoundsTypesAndResolvingWithANewObjective) {
  // max -x with x >= -1 stated as a lower bound; an equality row fixes y.
  ASSERT_EQ(LpSetSize(2, 1), 0);
  LpSetObjective(1, -1);
  LpSetLowerBound(1, -1);
  LpSetUpperBound(1, 3);
  LpSetCoefficient(1, 2, 2);
  LpSetRowType(1, '=');
  LpSetRhs(1, 3);
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_NEAR(LpColumnValue(1), -1, 1e-12);
  EXPECT_NEAR(LpColumnValue(2), 1.5, 1e-12);
  EXPECT_NEAR(LpObjectiveValue(), 1, 1e-12);
  LpSetObjective(1, 1);  // same program, other objective
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_NEAR(LpColumnValue(1), 3, 1e-12);
  EXPECT_NEAR(LpObjectiveValue(), 3, 1e-12);
}

TEST_F(LpSolverTest, IntegerColumnsReadBackWholeValues) {
  // max x + y + z with x <= 2, y <= 3 (general integers) and z binary: the
  // integer path reads the incumbent back as exact whole numbers.
  ASSERT_EQ(test::StateSmallIntegerProgram(), 0);
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_EQ(LpColumnValue(1), 2.0);
  EXPECT_EQ(LpColumnValue(2), 3.0);
  EXPECT_EQ(LpColumnValue(3), 1.0);
  EXPECT_EQ(LpObjectiveValue(), 6.0);
}

TEST_F(LpSolverTest, UsesTheGivenHost) {
  class CountingHost : public vesk::engine::ScratchEngineHost {
   public:
    double ClockSeconds() override {
      ++clockReads;
      return ScratchEngineHost::ClockSeconds();
    }
    int clockReads = 0;
  } host;
  LpSetHost(&host);
  StateTwoRows();
  ASSERT_EQ(LpSolve(), 0);
  EXPECT_GT(host.clockReads, 0);
}

}  // namespace
}  // namespace vesk::solver
