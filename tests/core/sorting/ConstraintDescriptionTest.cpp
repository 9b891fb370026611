// What each row of the constraint list stands for and how it is described:
// examples by their action, added constraints by label and text, bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RobustFixtures.h"
#include "core/sorting/ConstraintDescription.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

using test::ActionRow;
using test::AddConstraint;

// Examples with an upper row only, a lower row only and both; an '>=' row, an
// '=' row (two list rows), a '<=' row led by a negative coefficient; bounds on
// lambda, k1 (lower) and k2 (upper).
Problem ListedProblem() {
  Problem p = test::StepProblem(2, 3, {50, 70},
                                {ActionRow{"Alder Supply", {"60", "40"}, 1, 2}, ActionRow{"B", {"80", "80"}, 3, 3},
                                 ActionRow{"C", {"60", "60"}, 2, 2}, ActionRow{"D", {"10", "10"}, 1, 3}});
  AddConstraint(p, {"0", "1", "-1"}, ">=", "0");
  AddConstraint(p, {"0.25", "2", "-0.5"}, "=", "0");
  AddConstraint(p, {"", "-1", "1"}, "<=", "0.50");
  p.BGrid.SetCell(1, 2, "0.1");
  p.BGrid.SetCell(2, 3, "0.8");
  return p;
}

TEST(ConstraintDescription, EveryListRowIsToldByWhatItSays) {
  Problem p = ListedProblem();
  SortingState s;
  ScriptedDialogs d;
  CalcRangeItemClick(p, s, d);
  const std::vector<std::string> expected = {
      "Alder Supply in C1..C2",
      "B in C3",
      "C in C2",
      "C in C2",
      "ad1: k1 - k2 >= 0",
      "ad2: 0.25 lambda + 2 k1 - 0.5 k2 = 0",
      "ad2: 0.25 lambda + 2 k1 - 0.5 k2 = 0",
      "ad3: -k1 + k2 <= 0.5",
      "lambda >= 0.5",
      "k1 >= 0.1",
      "k2 <= 0.8",
  };
  ASSERT_EQ(s.IGrid.RowCount() - 1, static_cast<int>(expected.size()));
  for (int r = 1; r < s.IGrid.RowCount(); ++r) EXPECT_EQ(DescribeConstraintRow(p, s, r), expected[r - 1]) << r;

  // The origins say what to remove: the action, the CGrid row, the variable.
  using K = ConstraintOriginKind;
  EXPECT_EQ(ConstraintRowOrigin(p, s, 1), (ConstraintOrigin{K::Example, 1}));
  EXPECT_EQ(ConstraintRowOrigin(p, s, 4), (ConstraintOrigin{K::Example, 3}));
  EXPECT_EQ(ConstraintRowOrigin(p, s, 7), (ConstraintOrigin{K::Added, 3}));
  EXPECT_EQ(ConstraintRowOrigin(p, s, 9), (ConstraintOrigin{K::LowerBound, 0}));
  EXPECT_EQ(ConstraintRowOrigin(p, s, 11), (ConstraintOrigin{K::UpperBound, 2}));
  EXPECT_FALSE(ConstraintRowOrigin(p, s, 12));

  // A list that no longer belongs to the problem is told by its own cells.
  p.ResetResults();
  EXPECT_FALSE(ConstraintRowOrigin(p, s, 1));
  EXPECT_EQ(DescribeConstraintRow(p, s, 5), "ad1");
}

}  // namespace
}  // namespace vesk::core
