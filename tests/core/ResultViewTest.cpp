#include <gtest/gtest.h>

#include "RobustFixtures.h"
#include "core/problem/Numbers.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/ResultView.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

using test::AddConstraint;
using test::StepProblem;
using test::ThreeActions;

double Row1(const SortingState& s, int c) { return ParseReal(s.DGrid.Cell(1, c)).value(); }

class ResultViewTest : public ::testing::Test {
 protected:
  void Run() {
    ASSERT_TRUE(CalcRangeItemClick(p, s, dialogs));
    dialogs.ClearRecord();
  }
  Problem p = ThreeActions();  // ranges A [1, 2], B [3, 3], C [2, 2]
  SortingState s;
  ScriptedDialogs dialogs;
};

TEST_F(ResultViewTest, SelectedAssignmentShowsAVectorThatGivesIt) {
  Run();
  const Grid ipBefore = s.IPGrid;
  // "A" in category 2 needs k1 >= lambda; in category 1 lambda - k1 >= 0.0001.
  ResultCellSelected(p, s, dialogs, false, 2, 1);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_GE(Row1(s, 1) - Row1(s, 0), -1e-9);
  ResultCellSelected(p, s, dialogs, false, 1, 1);
  EXPECT_GE(Row1(s, 0) - Row1(s, 1), 0.0001 - 1e-9);
  EXPECT_EQ(s.IPGrid, ipBefore);
  // Category K keeps only the "at least" row: "B" in 3 with any vector.
  ResultCellSelected(p, s, dialogs, false, 3, 2);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(s.DGrid.Cell(1, 0).empty());
  EXPECT_EQ(s.IPGrid, ipBefore);
}

TEST_F(ResultViewTest, SelectionsThatClearTheSelectedVector) {
  p = StepProblem(2, 4, {50, 70, 70}, {{"H", {"80", "60"}}, {"M", {"60", "60"}}});  // H [2, 4], hole 3
  Run();
  ASSERT_EQ(s.RGrid.Cell(1, 3), "X");
  struct Case {
    const char* what;
    bool ordered;
    int column, row;
  } cases[] = {
      {"hole", false, 3, 1},          {"below the range", false, 1, 1}, {"above the range", false, 4, 2},
      {"header row", false, 2, 0},    {"name column", false, 0, 1},    {"row past the actions", false, 2, 3},
      {"hole through ORGrid", true, 3, 1},
  };
  for (const auto& c : cases) {
    ResultCellSelected(p, s, dialogs, false, 2, 1);  // fills row 1
    ASSERT_FALSE(s.DGrid.Cell(1, 0).empty()) << c.what;
    ResultCellSelected(p, s, dialogs, c.ordered, c.column, c.row);
    EXPECT_EQ(s.DGrid.Cell(1, 0), "") << c.what;
    EXPECT_EQ(s.DGrid.Cell(1, 2), "") << c.what;
  }
  // Through ORGrid, row 1 is the widest range, "H".
  ResultCellSelected(p, s, dialogs, true, 4, 1);
  EXPECT_FALSE(s.DGrid.Cell(1, 0).empty());
  // Stale results (the problem changed) never solve.
  p.ResetResults();
  EXPECT_FALSE(SelectionAction(p, s, false, 2, 1));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ResultViewTest, AssignmentMetOnlyWithPositiveAlphaIsNotShownAsExact) {
  // lambda in [0.5, 0.50005] and k1 >= 0.49999: "A" reaches category 1 by the
  // range margin, but lambda - k1 >= 0.0001 needs alpha = 0.0000133.
  p.BGrid.SetCell(2, 1, "0.50005");
  AddConstraint(p, {"0", "1", "0"}, ">", "0.49999");
  Run();
  ASSERT_EQ(s.WorstCategory[0], 1);
  ResultCellSelected(p, s, dialogs, false, 1, 1);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text.rfind(kNoExactAssignmentVector, 0), 0u) << dialogs.messages[0].text;
  EXPECT_EQ(s.DGrid.Cell(1, 0), "");
}

TEST_F(ResultViewTest, FailedSolveLeavesTheInferenceTableAsItWas) {
  Run();
  s.IPGrid.SetCell(1, 5, "x");  // the sign of "LB lambda"
  const Grid before = s.IPGrid;
  EXPECT_FALSE(ShowAssignmentSolution(p, s, dialogs, 1, 2));
  EXPECT_EQ(dialogs.Texts(MessageKind::Error), (std::vector<std::string>{"Error in Ineq1"}));
  EXPECT_EQ(s.IPGrid, before);
}

TEST_F(ResultViewTest, ViewSwitchClearsTheSelectedVector) {
  Run();
  ResultCellSelected(p, s, dialogs, false, 2, 1);
  ShowByVariabilityOrder(s);
  EXPECT_TRUE(s.ShowVariabilityOrder);
  EXPECT_EQ(s.DGrid.Cell(1, 0), "");
  ResultCellSelected(p, s, dialogs, true, 2, 1);
  ShowByInputOrder(s);
  EXPECT_FALSE(s.ShowVariabilityOrder);
  EXPECT_EQ(s.DGrid.Cell(1, 0), "");
}

TEST_F(ResultViewTest, RangePaintingConsistent) {
  p = StepProblem(2, 4, {50, 70, 70}, {{"H", {"80", "60"}, 2}, {"M", {"60", "60"}}});
  Run();
  const int inferred = s.InferredCategory[0];  // 2 or 4
  for (int h = 1; h <= 4; ++h) {
    ResultPaint expected = h == 1 ? ResultPaint::White : h == 3 ? ResultPaint::Hatched : ResultPaint::Lime;
    if (h == inferred) expected = ResultPaint::Green;
    EXPECT_EQ(ResultCellPaint(p, s, false, h, 1), expected) << h;
    EXPECT_EQ(ResultCellPaint(p, s, true, h, 1), expected) << h;  // H has the widest range
  }
  // Copied, the row reads as its painting: the reachable categories, no hole.
  EXPECT_EQ(ResultCellCopyText(p, s, false, 0, 1), "H");
  for (int h = 1; h <= 4; ++h)
    EXPECT_EQ(ResultCellCopyText(p, s, false, h, 1), h == 1 || h == 3 ? "" : std::to_string(h)) << h;
  EXPECT_EQ(ResultCellPaint(p, s, false, 0, 1), ResultPaint::Aqua);    // example [2, 4]
  EXPECT_EQ(ResultCellPaint(p, s, false, 0, 2), ResultPaint::Default);  // [1, 4]: none
  EXPECT_EQ(ResultCellPaint(p, s, false, 2, 0), ResultPaint::Default);  // header
  p.AGrid.SetCell(1, 1, "-");  // being typed: painting must not fail
  EXPECT_EQ(ResultCellPaint(p, s, false, 0, 1), ResultPaint::Default);
}

TEST_F(ResultViewTest, RangePaintingInconsistentAndInferenceRows) {
  p.AGrid.SetCell(1, 1, "2");
  p.AGrid.SetCell(1, 2, "2");
  AddConstraint(p, {"0", "1", "0"}, "<", "0.3");
  Run();
  ASSERT_FALSE(s.Consistent);
  const int inferred = s.InferredCategory[0];
  for (int h = 1; h <= 3; ++h) {
    const ResultPaint expected =
        h != inferred ? ResultPaint::White : (h == 2 ? ResultPaint::Green : ResultPaint::Red);
    EXPECT_EQ(ResultCellPaint(p, s, false, h, 1), expected) << h;
  }
  EXPECT_FALSE(SelectionAction(p, s, false, inferred, 1));
  for (int h = 1; h <= 3; ++h)
    EXPECT_EQ(ResultCellCopyText(p, s, false, h, 1), h == inferred ? std::to_string(h) : "") << h;
  for (int r = 1; r < s.IPGrid.RowCount(); ++r) EXPECT_EQ(IPGridRowRed(s, r), s.ViolatedRows.count(r - 1) > 0);
  EXPECT_FALSE(IPGridRowRed(s, 0));
  s.ViolatedRows.insert(299);
  EXPECT_FALSE(IPGridRowRed(s, 300));
  // "0" cells look empty except in the RHS column (the second-last).
  const int rhs = s.IPGrid.ColCount() - 2;
  s.IPGrid.SetCell(1, rhs, "0");
  s.IPGrid.SetCell(1, 3, "0");
  EXPECT_FALSE(IPGridCellBlank(s, rhs, 1));
  EXPECT_TRUE(IPGridCellBlank(s, 3, 1));
  EXPECT_TRUE(DGridRowGreen(2));
  EXPECT_FALSE(DGridRowGreen(1));
}

}  // namespace
}  // namespace vesk::core
