#include <gtest/gtest.h>

#include "EngineFixtures.h"
#include "engine/BasisSolves.h"
#include "engine/EtaFile.h"
#include "engine/search/RatioTest.h"
#include "engine/search/StepUpdate.h"

namespace vesk::engine::test {
namespace {

// One column X entering from the logical basis of rows on X alone; every G
// row below its right-hand side starts with an infeasible surplus.
struct Case {
  const char* label;
  Lp lp;
  const char* leaving;  // name of the leaving logical
  StepKind kind;
  double theta;
  ColumnStatus leavingStatus;
};

TEST(RatioTest, InfeasibleRowsArePassedWhileTheMeritStillRises) {
  const Case cases[] = {
      {"three rows made feasible by one step: it stops on the last",
       {{{"G1", 'G'}, {"G2", 'G'}, {"G3", 'G'}},
        {{"X", "G1", 1}, {"X", "G2", 1}, {"X", "G3", 1}},
        {{"G1", 1}, {"G2", 2}, {"G3", 3}},
        {{"UP", "X", 10}}},
       "G3", StepKind::kLeaveAtLower, 3, ColumnStatus::kAtLower},
      {"a row moving away balances the first one passed: it stops there",
       {{{"G1", 'G'}, {"G2", 'G'}, {"G3", 'G'}},
        {{"X", "G1", 1}, {"X", "G2", 1}, {"X", "G3", -1}},
        {{"G1", 1}, {"G2", 3}, {"G3", 1}},
        {{"UP", "X", 10}}},
       "G1", StepKind::kLeaveAtLower, 1, ColumnStatus::kAtLower},
      {"a ranged row is not carried to its far bound against the merit",
       {{{"G1", 'G'}, {"G3", 'G'}},
        {{"X", "G1", 2}, {"X", "G3", -1}, {"RANGE", "G1", 8}},
        {{"G1", 2}, {"G3", 1}},
        {{"UP", "X", 10}}},
       "G1", StepKind::kLeaveAtLower, 1, ColumnStatus::kAtLower},
      {"every row before the bound passed: the bound flip of the entering column",
       {{{"G1", 'G'}, {"G2", 'G'}, {"G3", 'G'}},
        {{"X", "G1", 1}, {"X", "G2", 1}, {"X", "G3", 1}},
        {{"G1", 1}, {"G2", 2}, {"G3", 6}},
        {{"UP", "X", 4}}},
       nullptr, StepKind::kFlipToUpper, 4, ColumnStatus::kAtLower},
      {"a feasible row still limits the step",
       {{{"G1", 'G'}, {"G2", 'G'}, {"L1", 'L'}},
        {{"X", "G1", 1}, {"X", "G2", 1}, {"X", "L1", 1}},
        {{"G1", 1}, {"G2", 3}, {"L1", 2}},
        {{"UP", "X", 10}}},
       "L1", StepKind::kLeaveAtLower, 2, ColumnStatus::kAtLower},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RecordingHost host;
    auto model = State(host, c.lp);
    PrepareForSolve(*model);
    ASSERT_TRUE(model->prepared);
    const int q = model->FindColumnNumber("X");
    ASSERT_GT(q, model->m);
    ScatterColumn(*model, q, model->pivotColumn);
    Ftran(*model, model->pivotColumn, 1, model->etaFile.count);
    const Step step = RatioTest(*model, q);
    EXPECT_EQ(step.kind, c.kind);
    EXPECT_NEAR(step.theta, c.theta, 1e-6);
    if (c.leaving == nullptr) {
      EXPECT_EQ(step.leavingRow, 0);
      continue;
    }
    ASSERT_GT(step.leavingRow, 0);
    EXPECT_EQ(model->Col(step.leavingRow).name, c.leaving);
    EXPECT_EQ(step.leavingStatus, c.leavingStatus);

    // The step leaves every row it passed feasible and X at theta.
    ASSERT_TRUE(ApplyStep(*model, q, step));
    ComputeBasicSolution(*model);
    EXPECT_NEAR(model->basicValues[static_cast<size_t>(model->FindColumnNumber("X"))], c.theta, 1e-6);
  }
}

}  // namespace
}  // namespace vesk::engine::test
