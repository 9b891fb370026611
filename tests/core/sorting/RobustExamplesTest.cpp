// The example problems give the ranges, holes, order, index and consistency of
// their expected results when run through the robust-assignment command.
#include <gtest/gtest.h>

#include "ExampleProblems.h"
#include "TestPaths.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

class RobustExample : public ::testing::TestWithParam<const char*> {};

TEST_P(RobustExample, MatchesExpectedResults) {
  const auto dir = vesk::test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  const std::string name = GetParam();
  const auto example = vesk::test::ReadExample(*dir, name);
  ASSERT_TRUE(example) << name;
  const auto& robust = example->expected["robust"];

  Problem p;
  ScriptedDialogs dialogs;
  ASSERT_TRUE(test::ReadExampleProblem(*example, p, dialogs)) << name;
  dialogs.ClearRecord();
  SortingState s;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs)) << name;

  const bool consistent = robust["consistent"];
  EXPECT_EQ(s.Consistent, consistent);
  EXPECT_NEAR(s.InconsistencyMeasure, robust["alpha"].get<double>(), 1e-6);
  EXPECT_TRUE(p.ResultsAvailable);
  if (consistent) {
    EXPECT_EQ(s.WorstCategory, robust["worst"].get<std::vector<int>>());
    EXPECT_EQ(s.BestCategory, robust["best"].get<std::vector<int>>());
    EXPECT_EQ(HoleCategories(s, p.NumCategories), robust["holes"].get<std::vector<std::vector<int>>>());
    EXPECT_EQ(s.VariabilityOrder, robust["variability_order"].get<std::vector<int>>());
    EXPECT_NEAR(std::stod(s.IndexText), robust["index"].get<double>(), 0.0005);
    EXPECT_NEAR(static_cast<double>(RobustnessIndex(s.WorstCategory, s.BestCategory)), robust["index"].get<double>(),
                1e-6);
    EXPECT_TRUE(s.ViolatedRows.empty());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts()[0];
  } else {
    EXPECT_TRUE(s.InconsistencyEnabled);
    EXPECT_FALSE(s.VariabilityOrderEnabled);
    EXPECT_FALSE(s.IndicesTabShown);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Warning);
  }
  if (robust["inferred_unique"]) {
    const auto params = robust["inferred_params"].get<std::vector<double>>();
    ASSERT_EQ(s.InferredParams.size(), params.size());
    for (std::size_t i = 0; i < params.size(); ++i) EXPECT_NEAR(s.InferredParams[i], params[i], 1e-6) << i;
    EXPECT_EQ(s.InferredCategory, robust["inferred_category"].get<std::vector<int>>());
    std::vector<int> violated;
    for (int r : s.ViolatedRows) violated.push_back(r + 1);
    EXPECT_EQ(violated, robust["violated_rows"].get<std::vector<int>>());
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, RobustExample,
                         ::testing::Values("imprecise_holes", "conflict", "version1", "ordinal", "volume2"));

}  // namespace
}  // namespace vesk::core
