#include <gtest/gtest.h>

#include "RobustFixtures.h"
#include "ScopedSolverHost.h"
#include "core/problem/Errors.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/RobustAssignments.h"
#include "engine/ScratchEngineHost.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {
namespace {

using test::ActionRow;
using test::AddConstraint;
using test::StepProblem;
using test::ThreeActions;

// The command leaves neither the busy cursor, nor the progress panel, nor
// KeepParameters behind, whichever way it ends.
void ExpectCleanExit(const ScriptedDialogs& dialogs, const SortingState& s) {
  EXPECT_FALSE(dialogs.busy);
  EXPECT_FALSE(dialogs.progressVisible);
  EXPECT_FALSE(s.KeepParameters);
}

TEST(RobustAssignments, RangesHolesOrderAndIndex) {
  // Four categories; b_2 and b_3 coincide, so for "H" (80, 60) category 3 is
  // out of reach: sigma(b_1) = 1, sigma(b_2) = sigma(b_3) = k1.
  Problem p = StepProblem(2, 4, {50, 70, 70},
                          {{"L", {"40", "40"}}, {"H", {"80", "60"}}, {"T", {"90", "90"}}, {"M", {"60", "60"}}});
  p.BGrid.SetCell(2, 1, "0.9");  // lambda below 1: "T" (sigma 1) never sits on the border
  ScriptedDialogs dialogs;
  SortingState s;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(s.Consistent);
  EXPECT_EQ(s.WorstCategory, (std::vector<int>{1, 2, 4, 2}));
  EXPECT_EQ(s.BestCategory, (std::vector<int>{1, 4, 4, 2}));
  EXPECT_EQ(HoleCategories(s, 4), (std::vector<std::vector<int>>{{}, {3}, {}, {}}));
  EXPECT_EQ(s.VariabilityOrder, (std::vector<int>{1, 0, 2, 3}));
  EXPECT_EQ(s.ORGrid.Cell(1, 0), "H");
  EXPECT_EQ(s.ORGrid.Cell(1, 3), "X");
  EXPECT_EQ(s.RGrid.Cell(2, 3), "X");
  EXPECT_EQ(s.RGrid.Cell(0, 4), "C4");
  EXPECT_EQ(s.IndexText, "1.316");  // 3^(1/4)
  EXPECT_TRUE(p.ResultsAvailable);
  EXPECT_TRUE(s.IndicesTabShown);
  EXPECT_FALSE(s.InferredConstraintsTabShown);
  EXPECT_FALSE(s.InconsistencyEnabled);
  EXPECT_EQ(s.Generation, p.ResultsGeneration);
  ExpectCleanExit(dialogs, s);
}

TEST(RobustAssignments, ExampleNarrowsTheRange) {
  Problem p = ThreeActions();
  p.AGrid.SetCell(1, 1, "2");  // "A" is at least in category 2
  ScriptedDialogs dialogs;
  SortingState s;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  EXPECT_EQ(s.WorstCategory, (std::vector<int>{2, 3, 2}));
  EXPECT_EQ(s.BestCategory, (std::vector<int>{2, 3, 2}));
  EXPECT_EQ(s.NumExampleConstraints, 1);
  EXPECT_EQ(s.ICGrid.Cell(1, 0), "C(A)>=2");
  EXPECT_TRUE(s.InferredConstraintsTabShown);
}

TEST(RobustAssignments, WithoutAnyRowTheWeightSumAloneIsSolved) {
  Problem p = ThreeActions();
  p.BGrid.SetCell(1, 1, "0");  // every bound [0, 1]: no row at all
  ScriptedDialogs dialogs;
  SortingState s;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  EXPECT_EQ(s.IPGrid.RowCount(), 1);
  EXPECT_DOUBLE_EQ(s.InconsistencyMeasure, -999);
  // lambda may be anything in [0, 1], even 0 where every credibility ties
  // with it: the ranges then start from whatever vector was inferred, but
  // every action has one to start from.
  for (int i = 0; i < 3; ++i) {
    EXPECT_GE(s.InferredCategory[i], 1) << i;
    EXPECT_LE(s.WorstCategory[i], s.InferredCategory[i]) << i;
    EXPECT_GE(s.BestCategory[i], s.InferredCategory[i]) << i;
  }
  EXPECT_EQ(s.WorstCategory[0], 1);
  EXPECT_EQ(s.BestCategory[1], 3);
}

// "A" must reach category 2 (k1 >= lambda >= 0.5) while ad1 says k1 <= t.
struct ConsistencyCase {
  const char* rhs;
  bool consistent;
  std::vector<std::string> warnings;
};

TEST(RobustAssignments, ConsistencyVerdictAndWarnings) {
  const ConsistencyCase cases[] = {
      {"0.3", false, {"Inconsistent information!"}},                            // alpha 0.1
      {"0.4999", false, {"Information is inconsistent, but the error is negligible!"}},  // alpha 0.00005
      // alpha 0.0000075: consistent within the tolerance, but no vector meets
      // every row exactly; the searches do not move.
      {"0.499985", true, {kNoExactVector}},
      {"0.6", true, {}},
  };
  for (const auto& c : cases) {
    Problem p = ThreeActions();
    p.AGrid.SetCell(1, 1, "2");
    p.AGrid.SetCell(1, 2, "2");
    AddConstraint(p, {"0", "1", "0"}, "<=", c.rhs);
    ScriptedDialogs dialogs;
    SortingState s;
    ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs)) << c.rhs;
    EXPECT_EQ(s.Consistent, c.consistent) << c.rhs;
    EXPECT_EQ(dialogs.Texts(MessageKind::Warning), c.warnings) << c.rhs;
    EXPECT_EQ(dialogs.messages.size(), c.warnings.size()) << c.rhs;
    EXPECT_EQ(s.InconsistencyEnabled, !c.consistent) << c.rhs;
    EXPECT_EQ(s.VariabilityOrderEnabled, c.consistent) << c.rhs;
    if (c.consistent) {
      EXPECT_EQ(s.WorstCategory, s.InferredCategory) << c.rhs;
      if (c.warnings.empty()) EXPECT_EQ(s.BestCategory, (std::vector<int>{2, 3, 2})) << c.rhs;
      else EXPECT_EQ(s.BestCategory, s.InferredCategory) << c.rhs;
    } else {
      // Rows: C(A)>=2, C(A)<=2, ad1, LB lambda; the vector breaks some of them.
      ASSERT_EQ(s.IPGrid.RowCount(), 5);
      EXPECT_FALSE(s.ViolatedRows.empty());
      for (int r = 1; r <= 4; ++r) EXPECT_FALSE(s.IPGrid.Cell(r, 7).empty()) << r;
    }
    ExpectCleanExit(dialogs, s);
  }
}

TEST(RobustAssignments, AcceptedVectorShowsTheInconsistentOutcomeWithoutWarning) {
  Problem p = ThreeActions();
  p.AGrid.SetCell(1, 1, "2");
  p.AGrid.SetCell(1, 2, "2");
  AddConstraint(p, {"0", "1", "0"}, "<", "0.3");
  ScriptedDialogs dialogs;
  SortingState s;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  ASSERT_FALSE(s.Consistent);
  // A vector that meets the example and breaks only ad1 (row 3).
  s.InferredParams = {0.5, 0.6, 0.4};
  s.KeepParameters = true;
  dialogs.ClearRecord();
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(s.InferredCategory, (std::vector<int>{2, 3, 2}));
  EXPECT_EQ(s.ViolatedRows, (std::set<int>{2}));
  EXPECT_EQ(s.IPGrid.Cell(3, 7), "0.3");
  EXPECT_FALSE(s.Consistent);
  EXPECT_TRUE(s.InconsistencyEnabled);
  ExpectCleanExit(dialogs, s);
}

TEST(RobustAssignments, RefusalsLeaveEarlierResults) {
  struct Case {
    const char* what;
    void (*spoil)(Problem&);
    std::string message;  // a part of the one error shown
  } cases[] = {
      {"no data", [](Problem& p) { p = Problem(); }, "You must read data first"},
      {"empty sign", [](Problem& p) { AddConstraint(p, {"0", "1", "-1"}, "", "0"); },
       "Constraint ad1 (row 1) has no sign"},
      {"performance", [](Problem& p) { p.AGrid.SetCell(3, 4, "6x"); }, "'6x'"},
      {"constraint coefficient", [](Problem& p) { AddConstraint(p, {"0", "--", "1"}, ">", "0"); }, "'--'"},
  };
  for (const auto& c : cases) {
    Problem p = ThreeActions();
    ScriptedDialogs dialogs;
    SortingState s;
    ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
    const SortingState before = s;
    c.spoil(p);
    EXPECT_FALSE(CalcRangeItemClick(p, s, dialogs)) << c.what;
    ASSERT_EQ(dialogs.messages.size(), 1u) << c.what;
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error) << c.what;
    EXPECT_NE(dialogs.messages[0].text.find(c.message), std::string::npos) << dialogs.messages[0].text;
    EXPECT_EQ(s.ICGrid, before.ICGrid) << c.what;
    EXPECT_EQ(s.IPGrid, before.IPGrid) << c.what;
    EXPECT_EQ(s.WorstCategory, before.WorstCategory) << c.what;
    EXPECT_EQ(s.BestCategory, before.BestCategory) << c.what;
    ExpectCleanExit(dialogs, s);
  }
}

TEST(RobustAssignments, ProgressEveryFifthActionAndSharedPrograms) {
  std::vector<ActionRow> rows(10, ActionRow{"a", {"60", "40"}});
  Problem p = StepProblem(2, 3, {50, 70}, rows);
  ScriptedDialogs dialogs;
  SortingState s;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  EXPECT_EQ(dialogs.progress, (std::vector<int>{0, 50, 100}));
  ExpectCleanExit(dialogs, s);
  // Ten actions with the same coefficients need the programs of one.
  Problem one = StepProblem(2, 3, {50, 70}, {rows[0]});
  SortingState single;
  ASSERT_TRUE(CalcRangeItemClick(one, single, dialogs));
  EXPECT_EQ(s.ParameterSpaceSolves, single.ParameterSpaceSolves);
  EXPECT_EQ(s.WorstCategory, std::vector<int>(10, single.WorstCategory[0]));
  EXPECT_EQ(s.BestCategory, std::vector<int>(10, single.BestCategory[0]));
}

// Cancelled midway, after a first run and a change: the problem, the earlier
// results and the engine's files are as they were before the command.
TEST(RobustAssignments, CancelMidwayLeavesEverythingAsBefore) {
  engine::ScratchEngineHost host;
  vesk::test::ScopedSolverHost scopedHost(host);
  std::vector<ActionRow> rows = {{"a", {"60", "40"}}, {"b", {"80", "80"}}, {"c", {"60", "60"}},
                                 {"d", {"40", "90"}}, {"e", {"55", "75"}}, {"f", {"45", "65"}}};
  Problem p = StepProblem(2, 3, {50, 70}, rows);
  ScriptedDialogs dialogs;
  SortingState s;
  ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
  p.AGrid.SetCell(1, 1, "2");  // an example: the next command rebuilds everything
  p.ResetResults();
  s.KeepParameters = false;
  const Problem problemBefore = p;
  const SortingState stateBefore = s;
  const auto filesBefore = test::FolderContents(host.WorkingFolder());
  for (int checks : {0, 3}) {
    SCOPED_TRACE(checks);
    ScriptedDialogs cancel;
    cancel.cancelAfterChecks = checks;
    EXPECT_FALSE(CalcRangeItemClick(p, s, cancel));
    EXPECT_EQ(cancel.Texts(), (std::vector<std::string>{kComputationCancelled}));
    EXPECT_EQ(cancel.messages[0].kind, MessageKind::Information);
    EXPECT_GT(cancel.cancelChecks, checks);
    EXPECT_TRUE(p == problemBefore);
    EXPECT_TRUE(s == stateBefore);
    EXPECT_EQ(test::FolderContents(host.WorkingFolder()), filesBefore);
    ExpectCleanExit(cancel, s);
  }
  // Not cancelled, the same command runs to its end.
  ScriptedDialogs never;
  never.cancelAfterChecks = 100;
  EXPECT_TRUE(CalcRangeItemClick(p, s, never));
  EXPECT_TRUE(never.messages.empty());
  EXPECT_EQ(s.WorstCategory[0], 2);
}

TEST(VariabilityOrder, WidestFirstTiesInInputOrder) {
  EXPECT_EQ(SortByVariability({1, 2, 1, 3}, {2, 3, 1, 3}, 3), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(SortByVariability({2, 1, 1, 1}, {2, 3, 2, 3}, 3), (std::vector<int>{1, 3, 2, 0}));
  try {
    SortByVariability({3}, {2}, 3);  // a range that does not exist
    ADD_FAILURE() << "no program error";
  } catch (const ProgramError& e) {
    EXPECT_EQ(e.Unit(), "Main");
    EXPECT_STREQ(e.what(), "problem in sorting by variability");
  }
}

TEST(RobustnessIndex, IndexAndVariationTexts) {
  SortingState s;
  // Ranges of 1, 2 and 4 categories.
  ShowRobustnessIndex(s, RobustnessIndex({1, 1, 1}, {1, 2, 4}));
  EXPECT_EQ(s.IndexText, "2.000");
  EXPECT_EQ(s.VariationText, "");
  ShowRobustnessIndex(s, 2.5L);
  EXPECT_EQ(s.VariationText, "variation = 0.500 (25.0%)");
  EXPECT_EQ(s.IndexText, "2.500");
  ShowRobustnessIndex(s, RobustnessIndex({1, 2}, {1, 2}));
  EXPECT_EQ(s.IndexText, "1.000");
  EXPECT_EQ(s.VariationText, "variation = -1.500 (-60.0%)");
  EXPECT_EQ(FormatFixed(-0.0004, 3), "0.000");
}

}  // namespace
}  // namespace vesk::core
