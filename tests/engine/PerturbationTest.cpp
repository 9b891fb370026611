#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EngineFixtures.h"
#include "engine/BasisSolves.h"
#include "engine/search/Perturbation.h"

namespace vesk::engine::test {
namespace {

double RhsEntry(const EngineModel& model, int row) {
  for (const auto& e : model.Col(0).entries)
    if (e.row == row) return e.value;
  return 0;
}

// Every model starts perturbed (mode 1); widening the E-row ranges (mode 2)
// and removing the perturbation again leave the right-hand side as stated,
// the artificials fixed at zero and the basic values as a fresh computation
// gives them.
TEST(Perturbation, SwitchedOnAndOffLeavesTheModelAsStated) {
  RecordingHost host;
  auto model = State(host, {{{"L1", 'L'}, {"G1", 'G'}, {"E1", 'E'}},
                            {{"X", "OBJ", 1}, {"X", "L1", 1}, {"X", "G1", 1}, {"Y", "E1", 1}, {"Y", "L1", 1}},
                            {{"L1", 4}, {"G1", 1}},
                            {}});
  PrepareForSolve(*model);
  ASSERT_TRUE(model->prepared);
  const int l1 = model->FindRow("L1"), g1 = model->FindRow("G1"), e1 = model->FindRow("E1");
  ASSERT_EQ(model->perturbMode, 1);
  EXPECT_EQ(model->Col(0).Count(), model->m);  // one shifted entry per row
  EXPECT_GT(RhsEntry(*model, l1), 4.0);
  EXPECT_LT(RhsEntry(*model, g1), 1.0);  // G rows move the other way
  EXPECT_GT(RhsEntry(*model, e1), 0.0);

  SetPerturbation(*model, 2);
  EXPECT_TRUE(host.Said("EPS 2"));
  const ColumnRecord& artificial = model->Col(model->FindColumnNumber("E1"));
  ASSERT_EQ(artificial.kind, kArtificial);
  EXPECT_LE(artificial.lower, 0.0);
  EXPECT_GE(artificial.upper, 0.0);
  EXPECT_LE(std::fabs(artificial.lower) + std::fabs(artificial.upper), 6e-8);

  SetPerturbation(*model, 0);
  EXPECT_TRUE(host.Said("REMOVE EPS"));
  EXPECT_EQ(model->perturbMode, 0);
  ASSERT_EQ(model->Col(0).Count(), 2);  // the shifted zero entry is dropped
  EXPECT_EQ(RhsEntry(*model, l1), 4.0);
  EXPECT_EQ(RhsEntry(*model, g1), 1.0);
  EXPECT_EQ(artificial.lower, 0.0);
  EXPECT_EQ(artificial.upper, 0.0);
  const std::vector<double> kept = model->basicValues;
  ComputeBasicSolution(*model);
  for (int i = 1; i <= model->m; ++i) EXPECT_NEAR(kept[static_cast<size_t>(i)], model->basicValues[static_cast<size_t>(i)], 1e-12) << i;

  const size_t lines = host.lines.size();
  SetPerturbation(*model, 0);  // nothing to remove
  EXPECT_EQ(host.lines.size(), lines);
}

}  // namespace
}  // namespace vesk::engine::test
