#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProblemBuilders.h"
#include "core/problem/InputChecks.h"
#include "core/problem/ScriptedDialogs.h"

namespace vesk::core {
namespace {

using test::MakeProblem;

struct BoundsCase {
  const char* what;
  int column;  // BGrid column: 1 lambda, 1+j k_j
  const char* lower;
  const char* upper;
  bool ok;
  std::vector<std::string> messages;
  const char* lowerAfter;
  const char* upperAfter;
};

TEST(CheckBounds, MessagesRewritesAndResult) {
  const BoundsCase cases[] = {
      {"defaults pass", 1, "0.5", "1.0", true, {}, "0.5", "1.0"},
      {"negative lower is set to 0", 1, "-0.2", "0.5", true,
       {"Lower bound in column 1 was <0: changed it to 0. Column 1 is lambda."}, "0.0", "0.5"},
      {"upper above 1 is set to 1", 1, "0.6", "1.4", true,
       {"Upper bound in column 1 was >1: changed it to 1. Column 1 is lambda."}, "0.6", "1.0"},
      {"lower above upper", 1, "0.8", "0.3", false, {"Lower bound exceeds upper bound in column 1"}, "0.8", "0.3"},
      {"lower above the clamped upper", 1, "1.5", "2", false,
       {"Upper bound in column 1 was >1: changed it to 1. Column 1 is lambda.", "Lower bound exceeds upper bound in column 1"}, "1.5",
       "1.0"},
      {"upper below the clamped lower", 2, "-0.5", "-0.2", false,
       {"Lower bound in column 2 was <0: changed it to 0. Column 2 is k1 (g1).", "Lower bound exceeds upper bound in column 2"}, "0.0",
       "-0.2"},
      {"equal bounds pass", 3, "0.3", "0.3", true, {}, "0.3", "0.3"},
      {"not numbers", 3, "-", "", false, {"Invalid lower bound in column 3", "Invalid upper bound in column 3"}, "-",
       ""},
      {"one bad, the other still clamped", 2, "abc", "7", false,
       {"Invalid lower bound in column 2", "Upper bound in column 2 was >1: changed it to 1. Column 2 is k1 (g1)."}, "abc", "1.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Problem p = MakeProblem(2, 2, 2);
    p.BGrid.SetCell(1, c.column, c.lower);
    p.BGrid.SetCell(2, c.column, c.upper);
    ScriptedDialogs d;
    EXPECT_EQ(CheckBounds(p, d), c.ok);
    EXPECT_EQ(d.Texts(MessageKind::Error), c.messages);
    EXPECT_EQ(d.messages.size(), c.messages.size());
    EXPECT_EQ(p.BGrid.Cell(1, c.column), c.lowerAfter);
    EXPECT_EQ(p.BGrid.Cell(2, c.column), c.upperAfter);
  }
}

TEST(CheckBounds, ChecksEveryColumnAfterAFailure) {
  Problem p = MakeProblem(3, 1, 2);
  p.BGrid.SetCell(1, 1, "x");     // lambda
  p.BGrid.SetCell(2, 3, "1.5");   // k2
  p.BGrid.SetCell(1, 4, "-1");    // k3
  ScriptedDialogs d;
  EXPECT_FALSE(CheckBounds(p, d));
  EXPECT_EQ(d.Texts(), (std::vector<std::string>{"Invalid lower bound in column 1",
                                                 "Upper bound in column 3 was >1: changed it to 1. Column 3 is k2 (g2).",
                                                 "Lower bound in column 4 was <0: changed it to 0. Column 4 is k3 (g3)."}));
  EXPECT_TRUE(p.DataModified);  // cells were rewritten
}

TEST(CheckConstraintRHS, EmptyBecomesZeroAndBadRowsFail) {
  Problem p = MakeProblem(2, 1, 2);
  const char* rhs[] = {"", "abc", "-0.5", "0.25", "  "};
  p.CGrid.Resize(2 + 5, p.CGrid.ColCount());
  p.NumConstraints = 6;
  for (int t = 1; t <= 5; ++t) {
    p.CGrid.SetCell(1 + t, 0, test::Numbered("ad", 1 + t));
    p.CGrid.SetCell(1 + t, p.RhsColumn(), rhs[t - 1]);
  }
  ScriptedDialogs d;
  EXPECT_FALSE(CheckConstraintRHS(p, d));
  EXPECT_EQ(d.Texts(MessageKind::Error), (std::vector<std::string>{"Invalid RHS is row 2", "Negative RHS is row 3"}));
  EXPECT_EQ(p.CGrid.Cell(2, p.RhsColumn()), "0");
  EXPECT_EQ(p.CGrid.Cell(5, p.RhsColumn()), "0.25");
  EXPECT_EQ(p.CGrid.Cell(6, p.RhsColumn()), "0");
}

TEST(CheckConstraintRHS, NoAddedConstraintPasses) {
  Problem p = MakeProblem(2, 1, 2);
  ScriptedDialogs d;
  EXPECT_TRUE(CheckConstraintRHS(p, d));
  EXPECT_TRUE(d.messages.empty());
  EXPECT_FALSE(p.DataModified);
}

}  // namespace
}  // namespace vesk::core
