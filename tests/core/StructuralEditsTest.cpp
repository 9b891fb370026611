#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ProblemBuilders.h"
#include "core/problem/Invariants.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/problem/StructuralEdits.h"

namespace vesk::core {
namespace {

using test::Example;
using test::MakeProblem;
using test::MarkProfile;
using test::SetExample;

using Command = bool (*)(Problem&, UserDialogs&);

struct EditCase {
  const char* what;
  std::function<Problem()> build;
  Command command;
  std::vector<std::optional<std::string>> texts;  // prompt answers, nullopt = Cancel
  std::vector<bool> confirms;
  bool changes;                                      // false: the problem must stay exactly as it was
  std::function<void(const Problem&, const ScriptedDialogs&)> expect;
};

// Two criteria, three actions with examples [1,2] [2,2] [1,1], K = 2, b_1 marked.
Problem TwoCategories() {
  Problem p = MakeProblem(2, 3, 2);
  MarkProfile(p, 1);
  p.FGrid.SetCell(p.DirectionRow(), 2, "-1");
  SetExample(p, 1, 1, 2);
  SetExample(p, 2, 2, 2);
  SetExample(p, 3, 1, 1);
  return p;
}

// Three criteria, two actions [2,3] [1,1], K = 3, b_1 and b_2 marked, one added constraint.
Problem ThreeCategories() {
  Problem p = MakeProblem(3, 2, 3);
  MarkProfile(p, 1);
  MarkProfile(p, 2);
  p.FGrid.SetCell(p.DirectionRow(), 1, "-1");
  SetExample(p, 1, 2, 3);
  SetExample(p, 2, 1, 1);
  p.CGrid.Resize(3, p.CGrid.ColCount());
  p.NumConstraints = 2;
  for (auto [c, text] : {std::pair{0, "ad2"}, {1, "0.5"}, {2, "1"}, {3, "-1"}, {4, "2"}, {5, ">="}, {6, "0.25"}})
    p.CGrid.SetCell(2, c, text);
  return p;
}

// n = 2, four actions named "0" "1" "x" "1": for the name searches.
Problem NamedActions() {
  Problem p = MakeProblem(2, 4, 3);
  p.AGrid.SetCell(3, 0, "x");
  p.AGrid.SetCell(4, 0, "1");
  for (int i = 1; i <= 4; ++i) p.AGrid.SetCell(i, 3, test::Numbered("perf", i));
  return p;
}

// Three added constraints with RHS "r2" "r3" "r4" (labels ad2..ad4).
Problem ThreeConstraints() {
  Problem p = MakeProblem(2, 2, 2);
  p.CGrid.Resize(5, p.CGrid.ColCount());
  p.NumConstraints = 4;
  for (int r = 2; r <= 4; ++r) {
    p.CGrid.SetCell(r, 0, test::Numbered("ad", r));
    for (int c = 1; c <= 3; ++c) p.CGrid.SetCell(r, c, std::to_string(r * 10 + c));
    p.CGrid.SetCell(r, 4, "<=");
    p.CGrid.SetCell(r, 5, test::Numbered("r", r));
  }
  return p;
}

std::string ProfileCell(const Problem& p, int h, int offset, int j) { return p.FGrid.Cell(p.ProfileRow(h) + offset, j); }

const std::vector<EditCase>& Cases() {
  static const std::vector<EditCase> cases = {
      {"split category K of a 2-category problem copies b_1 to b_2", TwoCategories, SplitCategory, {"2"}, {}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.prompts[0].caption, "Split category No.:");
         EXPECT_EQ(d.prompts[0].prompt, "Split category No. (1-2):");
         EXPECT_EQ(p.NumCategories, 3);
         for (int offset = 0; offset < 5; ++offset)
           for (int j = 1; j <= 2; ++j) EXPECT_EQ(ProfileCell(p, 2, offset, j), ProfileCell(p, 1, offset, j));
         EXPECT_EQ(ProfileCell(p, 1, 2, 1), "121");
         EXPECT_EQ(p.FGrid.Cell(p.DirectionRow(), 2), "-1");
         EXPECT_EQ(Example(p, 1), "[1,3]");
         EXPECT_EQ(Example(p, 2), "[2,3]");
         EXPECT_EQ(Example(p, 3), "[1,1]");
       }},
      {"split category 1 keeps b_1 and shifts the others up", ThreeCategories, SplitCategory, {"1"}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) {
         EXPECT_EQ(p.NumCategories, 4);
         EXPECT_EQ(ProfileCell(p, 1, 0, 1), "101");
         EXPECT_EQ(ProfileCell(p, 2, 0, 1), "101");
         EXPECT_EQ(ProfileCell(p, 3, 4, 3), "243");
         EXPECT_EQ(p.FGrid.Cell(p.DirectionRow(), 1), "-1");
         EXPECT_EQ(Example(p, 1), "[3,4]");
         EXPECT_EQ(Example(p, 2), "[1,2]");
       }},
      {"split asks again outside 1..K", TwoCategories, SplitCategory, {"0", "3", "x", "1"}, {}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.prompts.size(), 4u);
         EXPECT_EQ(p.NumCategories, 3);
       }},
      {"split cancelled", TwoCategories, SplitCategory, {std::nullopt}, {}, false, nullptr},

      {"merge 1-2 of a 3-category problem", ThreeCategories, MergeCategories, {"1"}, {true}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.questions, std::vector<std::string>{"Are you sure you want to merge two categories?"});
         EXPECT_EQ(d.prompts[0].caption, "Merge the categories from No. :");
         EXPECT_EQ(d.prompts[0].prompt, "Merge the categories from No. (1-2):");
         EXPECT_EQ(p.NumCategories, 2);
         EXPECT_EQ(ProfileCell(p, 1, 3, 2), "232");
         EXPECT_EQ(p.FGrid.Cell(p.DirectionRow(), 1), "-1");
         EXPECT_EQ(Example(p, 1), "[1,2]");
         EXPECT_EQ(Example(p, 2), "[1,1]");
       }},
      {"merge 2-3 drops the last profile", ThreeCategories, MergeCategories, {"3", "2"}, {true}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.prompts.size(), 2u);  // 3 = K is asked again
         EXPECT_EQ(ProfileCell(p, 1, 0, 1), "101");
         EXPECT_EQ(Example(p, 1), "[2,2]");
       }},
      {"merge answered No", ThreeCategories, MergeCategories, {"1"}, {false}, false, nullptr},
      {"merge cancelled at the number", ThreeCategories, MergeCategories, {std::nullopt}, {true}, false, nullptr},
      {"merge refused with two categories", TwoCategories, MergeCategories, {"1"}, {true}, false,
       [](const Problem&, const ScriptedDialogs& d) { EXPECT_TRUE(d.questions.empty()); }},

      {"insert criterion: zero data, zero bounds, Norm 1", ThreeCategories, InsertCriterion, {}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) {
         EXPECT_EQ(p.NumCriteria, 4);
         EXPECT_EQ(p.FGrid.Cell(0, 4), "g4");
         EXPECT_EQ(p.AGrid.Cell(0, 6), "g4");
         EXPECT_EQ(ProfileCell(p, 2, 4, 4), "0");
         EXPECT_EQ(p.FGrid.Cell(p.DirectionRow(), 4), "1");
         EXPECT_EQ(p.AGrid.Cell(2, 6), "0");
         EXPECT_EQ(p.BGrid.Cell(0, 5), "k4");
         EXPECT_EQ(p.BGrid.Cell(1, 5), "0");
         EXPECT_EQ(p.BGrid.Cell(2, 5), "0");
         EXPECT_EQ(p.CGrid.Cell(1, 5), "1");
         EXPECT_EQ(p.CGrid.Cell(2, 4), "2");  // k3 coefficient stays
         EXPECT_EQ(p.CGrid.Cell(2, 5), "0");
         EXPECT_EQ(p.CGrid.Cell(2, 6), ">=");
         EXPECT_EQ(p.CGrid.Cell(2, 7), "0.25");
       }},
      {"insert criterion refuses a 20th",
       [] { return MakeProblem(19, 2, 2); }, InsertCriterion, {}, {}, false,
       [](const Problem&, const ScriptedDialogs& d) {
         EXPECT_EQ(d.messages, (std::vector<ScriptedDialogs::Message>{{MessageKind::Error, "Maximum number of criteria exceeded"}}));
       }},

      {"delete criterion 1 keeps the lambda bounds; names move with their data",
       [] {
         Problem p = ThreeCategories();
         p.FGrid.SetCell(0, 2, "price");
         p.AGrid.SetCell(0, 4, "price");
         p.BGrid.SetCell(1, 1, "0.6");
         p.BGrid.SetCell(2, 1, "0.9");
         p.BGrid.SetCell(1, 3, "0.1");
         p.AGrid.SetCell(1, 4, "77");
         return p;
       },
       DeleteCriterion, {"4", "1"}, {}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.prompts.size(), 2u);
         EXPECT_EQ(d.prompts[0].caption, "Delete criterion No.:");
         EXPECT_EQ(d.prompts[0].prompt, "Delete criterion No. (1-3):");
         EXPECT_EQ(p.NumCriteria, 2);
         EXPECT_EQ(p.BGrid.Cell(1, 1), "0.6");
         EXPECT_EQ(p.BGrid.Cell(2, 1), "0.9");
         EXPECT_EQ(p.BGrid.Cell(1, 2), "0.1");  // old k2 now k1
         EXPECT_EQ(p.FGrid.Cell(0, 1), "price");
         EXPECT_EQ(p.AGrid.Cell(0, 3), "price");
         EXPECT_EQ(p.FGrid.Cell(0, 2), "g3");
         EXPECT_EQ(p.AGrid.Cell(1, 3), "77");
         EXPECT_EQ(ProfileCell(p, 1, 0, 1), "102");
         EXPECT_EQ(p.FGrid.Cell(p.DirectionRow(), 1), "1");  // criterion 1's "-1" went with it
         EXPECT_EQ(p.CGrid.Cell(2, 2), "-1");                // old k2 coefficient
         EXPECT_EQ(p.CGrid.Cell(2, 4), ">=");
         EXPECT_EQ(p.CGrid.Cell(2, 5), "0.25");
       }},
      {"delete criterion cancelled", ThreeCategories, DeleteCriterion, {std::nullopt}, {}, false, nullptr},
      {"delete criterion refused with one criterion left", [] { return MakeProblem(1, 2, 2); }, DeleteCriterion,
       {"1"}, {}, false, [](const Problem&, const ScriptedDialogs& d) { EXPECT_TRUE(d.prompts.empty()); }},

      {"insert action after an integer name", NamedActions, InsertAction, {}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) {
         EXPECT_EQ(p.NumActions, 5);
         EXPECT_EQ(p.AGrid.Cell(5, 0), "2");
         EXPECT_EQ(Example(p, 5), "[1,3]");
         EXPECT_EQ(p.AGrid.Cell(5, 3), "0");
       }},
      {"insert action after a name that is not an integer",
       [] {
         Problem p = NamedActions();
         p.AGrid.SetCell(4, 0, "last");
         p.AGrid.SetCell(1, 0, "7");
         return p;
       },
       InsertAction, {}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) { EXPECT_EQ(p.AGrid.Cell(5, 0), "8"); }},
      {"insert action into an empty table", [] { return MakeProblem(2, 0, 2); }, InsertAction, {}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) { EXPECT_EQ(p.AGrid.Cell(1, 0), "0"); }},

      {"delete action by its number, its row", NamedActions, DeleteAction, {"1"}, {}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.prompts.size(), 1u);
         EXPECT_EQ(d.prompts[0].caption, "Delete action No.:");
         EXPECT_EQ(d.prompts[0].prompt, "Delete action (1-4 or name):");
         EXPECT_EQ(p.NumActions, 3);
         EXPECT_EQ(p.AGrid.Cell(1, 0), "1");
         EXPECT_EQ(p.AGrid.Cell(1, 3), "perf2");
         EXPECT_EQ(p.AGrid.Cell(3, 3), "perf4");
       }},
      {"delete action by a name that is no number", NamedActions, DeleteAction, {" x "}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) {
         EXPECT_EQ(p.NumActions, 3);
         EXPECT_EQ(p.AGrid.Cell(3, 0), "1");
         EXPECT_EQ(p.AGrid.Cell(3, 3), "perf4");
       }},
      {"delete action 0 by its name, the first default name", NamedActions, DeleteAction, {"0"}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) {
         EXPECT_EQ(p.NumActions, 3);
         EXPECT_EQ(p.AGrid.Cell(1, 3), "perf2");
       }},
      {"delete action named with blanks",
       [] {
         Problem p = NamedActions();
         p.AGrid.SetCell(2, 0, "Supplier 3");
         return p;
       },
       DeleteAction, {"Supplier 3"}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) {
         EXPECT_EQ(p.NumActions, 3);
         EXPECT_EQ(p.AGrid.Cell(2, 0), "x");
       }},
      {"delete action not found", NamedActions, DeleteAction, {" 7"}, {}, false,
       [](const Problem&, const ScriptedDialogs& d) {
         EXPECT_EQ(d.messages, (std::vector<ScriptedDialogs::Message>{{MessageKind::Error, "Action  7 not found"}}));
       }},
      {"delete action cancelled", NamedActions, DeleteAction, {std::nullopt}, {}, false, nullptr},

      {"erase examples", TwoCategories, EraseExamples, {}, {true}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.questions, std::vector<std::string>{"Do you really want to erase all assignment examples?"});
         for (int i = 1; i <= 3; ++i) EXPECT_EQ(Example(p, i), "[1,2]");
       }},
      {"erase examples answered No", TwoCategories, EraseExamples, {}, {false}, false, nullptr},

      {"insert constraint", ThreeCategories, InsertConstraint, {}, {}, true,
       [](const Problem& p, const ScriptedDialogs&) {
         EXPECT_EQ(p.NumConstraints, 3);
         EXPECT_EQ(p.CGrid.Cell(3, 0), "ad3");
         for (int c = 1; c <= 4; ++c) EXPECT_EQ(p.CGrid.Cell(3, c), "0");
         EXPECT_EQ(p.CGrid.Cell(3, 5), "<=");
         EXPECT_EQ(p.CGrid.Cell(3, 6), "0");
       }},
      {"delete constraint: NumConstraints is asked again, labels stay", ThreeConstraints, DeleteConstraint,
       {"4", "0", "2"}, {}, true,
       [](const Problem& p, const ScriptedDialogs& d) {
         EXPECT_EQ(d.prompts.size(), 3u);
         EXPECT_EQ(d.prompts[0].caption, "Delete Constraint");
         EXPECT_EQ(d.prompts[0].prompt, "Delete constraint No. (1-3):");
         EXPECT_EQ(p.NumConstraints, 3);
         EXPECT_EQ(p.CGrid.Cell(2, 5), "r2");
         EXPECT_EQ(p.CGrid.Cell(3, 0), "ad3");
         EXPECT_EQ(p.CGrid.Cell(3, 5), "r4");
         EXPECT_EQ(p.CGrid.Cell(3, 1), "41");
       }},
      {"delete constraint cancelled", ThreeConstraints, DeleteConstraint, {std::nullopt}, {}, false, nullptr},
      {"delete constraint with none to delete", TwoCategories, DeleteConstraint, {"1"}, {}, false,
       [](const Problem&, const ScriptedDialogs& d) { EXPECT_TRUE(d.prompts.empty()); }},
  };
  return cases;
}

TEST(StructuralEdits, KeepInvariantsAndChangeWhatTheySay) {
  for (const EditCase& c : Cases()) {
    SCOPED_TRACE(c.what);
    Problem p = c.build();
    ASSERT_EQ(CheckProblemInvariants(p), std::vector<std::string>{});
    const auto before = test::Contents(p);
    ScriptedDialogs dialogs;
    for (const auto& t : c.texts) dialogs.AnswerText(t);
    for (bool yes : c.confirms) dialogs.AnswerConfirm(yes);

    EXPECT_EQ(c.command(p, dialogs), c.changes);
    EXPECT_EQ(CheckProblemInvariants(p), std::vector<std::string>{});
    if (c.changes) {
      EXPECT_TRUE(p.DataModified);
      EXPECT_GT(p.ResultsGeneration, std::get<9>(before));
    } else {
      EXPECT_TRUE(test::Contents(p) == before);
    }
    if (c.expect) c.expect(p, dialogs);
  }
}

TEST(StructuralEdits, DeletesOfferTheSelectedNumber) {
  Problem p = ThreeConstraints();
  ScriptedDialogs d;
  EXPECT_FALSE(DeleteAction(p, d, 2));
  EXPECT_FALSE(DeleteCriterion(p, d, 1));
  EXPECT_FALSE(DeleteConstraint(p, d, 3));
  EXPECT_FALSE(DeleteConstraint(p, d, 4));  // no such constraint: nothing offered
  ASSERT_EQ(d.prompts.size(), 4u);
  EXPECT_EQ(d.prompts[0].initial, "2");
  EXPECT_EQ(d.prompts[1].initial, "1");
  EXPECT_EQ(d.prompts[2].initial, "3");
  EXPECT_EQ(d.prompts[3].initial, "");

  // What a selected cell offers: the criterion of a data column, the added
  // constraint of a CGrid row; nothing for labels, examples, lambda, sign,
  // RHS or the Norm row.
  EXPECT_EQ(CriterionOfColumn(p, InputTable::AGrid, 4), 2);
  EXPECT_EQ(CriterionOfColumn(p, InputTable::AGrid, 2), 0);
  EXPECT_EQ(CriterionOfColumn(p, InputTable::FGrid, 1), 1);
  EXPECT_EQ(CriterionOfColumn(p, InputTable::BGrid, 1), 0);
  EXPECT_EQ(CriterionOfColumn(p, InputTable::CGrid, 3), 2);
  EXPECT_EQ(CriterionOfColumn(p, InputTable::CGrid, p.SignColumn()), 0);
  EXPECT_EQ(ConstraintOfRow(p, 4), 3);
  EXPECT_EQ(ConstraintOfRow(p, 1), 0);
}

TEST(StructuralEdits, ResetResultsOnEveryEdit) {
  Problem p = ThreeCategories();
  p.ResultsAvailable = true;
  ScriptedDialogs dialogs;
  EXPECT_TRUE(InsertAction(p, dialogs));
  EXPECT_FALSE(p.ResultsAvailable);
}

TEST(StructuralEdits, MenuEnabling) {
  Problem none;
  EXPECT_FALSE(StructuralCommandEnabled(none, StructuralCommand::SplitCategory));
  EXPECT_TRUE(StructuralCommandEnabled(none, StructuralCommand::EraseExamples));
  Problem p = MakeProblem(2, 0, 2);
  EXPECT_TRUE(StructuralCommandEnabled(p, StructuralCommand::InsertCriterion));
  EXPECT_FALSE(StructuralCommandEnabled(p, StructuralCommand::MergeCategories));
  EXPECT_FALSE(StructuralCommandEnabled(p, StructuralCommand::DeleteCriterion));
  EXPECT_FALSE(StructuralCommandEnabled(p, StructuralCommand::DeleteAction));
  EXPECT_FALSE(StructuralCommandEnabled(p, StructuralCommand::DeleteConstraint));
  Problem q = ThreeCategories();
  EXPECT_TRUE(StructuralCommandEnabled(q, StructuralCommand::MergeCategories));
  EXPECT_TRUE(StructuralCommandEnabled(q, StructuralCommand::DeleteCriterion));
  EXPECT_TRUE(StructuralCommandEnabled(q, StructuralCommand::DeleteAction));
  EXPECT_TRUE(StructuralCommandEnabled(q, StructuralCommand::DeleteConstraint));
}

// A sequence of edits, each checked by the invariant checker, so that edits
// that only break the problem in combination are caught too.
TEST(StructuralEdits, LongSequenceKeepsInvariants) {
  Problem p = ThreeCategories();
  ScriptedDialogs d;
  const std::vector<std::pair<Command, std::vector<std::string>>> steps = {
      {InsertCriterion, {}}, {SplitCategory, {"2"}}, {InsertConstraint, {}}, {DeleteCriterion, {"2"}},
      {MergeCategories, {"3"}}, {InsertAction, {}}, {DeleteConstraint, {"1"}}, {SplitCategory, {"3"}},
      {DeleteAction, {"0"}}, {DeleteCriterion, {"3"}}, {InsertCriterion, {}}, {MergeCategories, {"1"}},
  };
  for (const auto& [command, answers] : steps) {
    for (const auto& a : answers) d.AnswerText(a);
    d.AnswerConfirm(true);
    EXPECT_TRUE(command(p, d));
    d.confirmAnswers.clear();
    EXPECT_EQ(CheckProblemInvariants(p), std::vector<std::string>{});
  }
}

TEST(Invariants, FindBrokenProblems) {
  EXPECT_TRUE(CheckProblemInvariants(Problem{}).empty());
  const std::vector<std::pair<const char*, std::function<void(Problem&)>>> breakers = {
      {"FGrid one row short", [](Problem& p) { p.FGrid.Resize(p.FGrid.RowCount() - 1, p.FGrid.ColCount()); }},
      {"NumConstraints out of step", [](Problem& p) { p.NumConstraints = 2; }},
      {"names disagree", [](Problem& p) { p.FGrid.SetCell(0, 1, "other"); }},
      {"Norm row changed", [](Problem& p) { p.CGrid.SetCell(1, 2, "0"); }},
      {"added row without 'a'",
       [](Problem& p) {
         p.CGrid.Resize(3, p.CGrid.ColCount());
         p.NumConstraints = 2;
         p.CGrid.SetCell(2, 0, "x2");
       }},
      {"ELow above EHigh", [](Problem& p) { SetExample(p, 1, 2, 1); }},
      {"EHigh above K", [](Problem& p) { SetExample(p, 1, 1, 3); }},
      {"direction label lost", [](Problem& p) { p.FGrid.SetCell(p.DirectionRow(), 0, ""); }},
      {"BGrid header", [](Problem& p) { p.BGrid.SetCell(0, 2, "k9"); }},
  };
  for (const auto& [what, breaker] : breakers) {
    Problem p = MakeProblem(2, 2, 2);
    breaker(p);
    EXPECT_FALSE(CheckProblemInvariants(p).empty()) << what;
  }
}

}  // namespace
}  // namespace vesk::core
