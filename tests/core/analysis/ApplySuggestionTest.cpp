// "Apply" in the inconsistency window: each row of the constraint list is
// taken out where the person gave it, and nothing else changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "RobustFixtures.h"
#include "core/analysis/ApplySuggestion.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/ConstraintDescription.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

// Action A with the example [2, 2] (two rows), an '=' constraint (two rows), a
// '<' constraint, and bounds that make rows: lambda >= 0.5, k1 <= 0.8,
// k2 >= 0.1.
Problem Fixture() {
  Problem p = test::ThreeActions();
  p.AGrid.SetCell(1, 1, "2");
  p.AGrid.SetCell(1, 2, "2");
  test::AddConstraint(p, {"0", "1", "-1"}, "=", "0");
  test::AddConstraint(p, {"0", "1", "0"}, "<", "0.45");
  p.BGrid.SetCell(2, 2, "0.8");
  p.BGrid.SetCell(1, 3, "0.1");
  return p;
}

// The descriptions of the constraint list's rows.
std::vector<std::string> Listed(const SortingState& s) {
  std::vector<std::string> out;
  for (int r = 1; r < s.IGrid.RowCount(); ++r) out.push_back(s.IGrid.Cell(r, 1));
  return out;
}

TEST(ApplySuggestion, EachRowIsTakenOutWhereItWasGiven) {
  const Problem original = Fixture();
  SortingState listed;
  {
    Problem p = original;
    ScriptedDialogs dialogs;
    CalcRangeItemClick(p, listed, dialogs);
    ASSERT_EQ(p.CGrid, original.CGrid);
  }
  const std::vector<std::string> before = Listed(listed);
  // Two example rows, two rows of the '=' constraint and one of the '<', three bound rows.
  ASSERT_EQ(before.size(), 8u) << testing::PrintToString(before);

  for (int r = 1; r <= static_cast<int>(before.size()); ++r) {
    SCOPED_TRACE(before[r - 1]);
    Problem p = original;
    p.ResultsGeneration = listed.Generation;
    ScriptedDialogs dialogs;
    const auto origin = ConstraintRowOrigin(p, listed, r);
    ASSERT_TRUE(origin);
    ASSERT_TRUE(ApplySuggestion(p, listed, Suggestion{1, 1, {r}}, dialogs));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(p.DataModified);
    EXPECT_FALSE(p.ResultsAvailable);

    // Only the origin's cells changed.
    Problem expected = original;
    switch (origin->kind) {
      case ConstraintOriginKind::Example:
        expected.AGrid.SetCell(1, before[r - 1].find(">=") != std::string::npos ? 1 : 2,
                               before[r - 1].find(">=") != std::string::npos ? "1" : "3");
        break;
      case ConstraintOriginKind::Added:
        EXPECT_EQ(p.NumConstraints, original.NumConstraints - 1);
        expected.CGrid = p.CGrid;
        expected.NumConstraints = p.NumConstraints;
        EXPECT_EQ(p.CGrid.Cell(2, 0), "ad1");  // labels stay in place
        EXPECT_EQ(p.CGrid.Cell(2, p.SignColumn()), origin->index == 2 ? "<" : "=");
        break;
      case ConstraintOriginKind::LowerBound: expected.BGrid.SetCell(1, 1 + origin->index, "0"); break;
      case ConstraintOriginKind::UpperBound: expected.BGrid.SetCell(2, 1 + origin->index, "1"); break;
    }
    EXPECT_EQ(p.AGrid, expected.AGrid);
    EXPECT_EQ(p.BGrid, expected.BGrid);
    EXPECT_EQ(p.CGrid, expected.CGrid);

    // Built again, the list has lost that constraint (both rows of an '='),
    // and only it.
    SortingState again;
    CalcRangeItemClick(p, again, dialogs);
    std::vector<std::string> kept = before;
    if (origin->kind == ConstraintOriginKind::Added) {
      // Both rows of an '=' go; the labels stay in place, so ad2 becomes ad1.
      kept.erase(std::remove(kept.begin(), kept.end(), before[r - 1]), kept.end());
      std::replace(kept.begin(), kept.end(), std::string("ad2"), std::string("ad1"));
    } else {
      kept.erase(kept.begin() + (r - 1));
    }
    const std::vector<std::string> after = Listed(again);
    EXPECT_EQ(after, kept);
  }
}

TEST(ApplySuggestion, AListOfAnEarlierProblemChangesNothing) {
  Problem p = Fixture();
  SortingState listed;
  ScriptedDialogs dialogs;
  CalcRangeItemClick(p, listed, dialogs);
  p.ResetResults();  // an edit since the list was built
  const Problem before = p;
  dialogs.ClearRecord();
  EXPECT_FALSE(ApplySuggestion(p, listed, Suggestion{1, 2, {1, 3}}, dialogs));
  EXPECT_EQ(p, before);
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_NE(dialogs.Texts()[0].find("no longer belongs to the problem: nothing was removed"), std::string::npos);
}

}  // namespace
}  // namespace vesk::core
