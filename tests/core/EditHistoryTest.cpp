#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ProblemBuilders.h"
#include "RobustFixtures.h"
#include "core/problem/EditHistory.h"
#include "core/problem/InputGrid.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/problem/StructuralEdits.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::core {
namespace {

using test::MakeProblem;
using test::SetExample;

// Everything undo puts back.
auto Undone(const Problem& p) {
  return std::make_tuple(p.AGrid, p.FGrid, p.BGrid, p.CGrid, p.NumCriteria, p.NumActions, p.NumCategories,
                         p.NumConstraints, p.DataModified);
}

// Two criteria, three integer-named actions with examples, K = 3, one added constraint.
Problem Sample() {
  Problem p = MakeProblem(2, 3, 3);
  for (int a = 1; a <= 3; ++a) p.AGrid.SetCell(a, 0, std::to_string(a));
  SetExample(p, 1, 2, 3);
  SetExample(p, 2, 1, 1);
  ScriptedDialogs none;
  InsertConstraint(p, none);
  p.DataModified = false;
  return p;
}

struct ChangeCase {
  const char* what;
  std::vector<std::optional<std::string>> texts;
  std::vector<bool> confirms;
  std::function<bool(Problem&, UserDialogs&)> change;
};

TEST(EditHistory, EveryKindOfChangeIsUndoneAndRedone) {
  const std::vector<ChangeCase> cases = {
      {"a cell typed key by key", {}, {}, [](Problem& p, UserDialogs&) {
         for (const char* text : {"7", "72", "72.5"}) {
           FilterKey(p, InputTable::AGrid, 2, 3, U'7');
           p.AGrid.SetCell(2, 3, text);
         }
         return true;
       }},
      {"a profile threshold", {}, {}, [](Problem& p, UserDialogs&) {
         FilterKey(p, InputTable::FGrid, 2, 1, U'3');
         p.FGrid.SetCell(2, 1, "3");
         return true;
       }},
      {"rename an action", {"x"}, {}, [](Problem& p, UserDialogs& d) { return RenameAction(p, d, 2); }},
      {"rename a criterion", {"cost"}, {}, [](Problem& p, UserDialogs& d) { return RenameCriterion(p, d, 4); }},
      {"example low", {"2"}, {}, [](Problem& p, UserDialogs& d) { return ChangeExampleLow(p, d, 3); }},
      {"example high", {"2"}, {}, [](Problem& p, UserDialogs& d) { return ChangeExampleHigh(p, d, 3); }},
      {"split a category", {"2"}, {}, SplitCategory},
      {"merge categories", {"1"}, {true}, MergeCategories},
      {"insert a criterion", {}, {}, InsertCriterion},
      {"delete a criterion", {"1"}, {}, [](Problem& p, UserDialogs& d) { return DeleteCriterion(p, d); }},
      {"insert an action", {}, {}, InsertAction},
      {"delete an action", {"2"}, {}, [](Problem& p, UserDialogs& d) { return DeleteAction(p, d); }},
      {"erase examples", {}, {true}, EraseExamples},
      {"insert a constraint", {}, {}, InsertConstraint},
      {"delete a constraint", {"1"}, {}, [](Problem& p, UserDialogs& d) { return DeleteConstraint(p, d); }},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(c.what);
    Problem p = Sample();
    EditHistory history;
    history.Reset(p);
    const auto before = Undone(p);
    ScriptedDialogs dialogs;
    for (const auto& t : c.texts) dialogs.AnswerText(t);
    for (bool yes : c.confirms) dialogs.AnswerConfirm(yes);
    ASSERT_TRUE(c.change(p, dialogs));
    ASSERT_TRUE(p.DataModified);
    const auto after = Undone(p);
    ASSERT_NE(after, before);
    EXPECT_TRUE(history.Record(p));
    EXPECT_FALSE(history.Record(p));  // nothing new: no second step

    p.ResultsAvailable = true;
    auto generation = p.ResultsGeneration;
    ASSERT_TRUE(history.Undo(p));
    EXPECT_EQ(Undone(p), before);
    EXPECT_FALSE(p.ResultsAvailable);
    EXPECT_GT(p.ResultsGeneration, generation);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo(p));

    p.ResultsAvailable = true;
    generation = p.ResultsGeneration;
    ASSERT_TRUE(history.Redo(p));
    EXPECT_EQ(Undone(p), after);
    EXPECT_FALSE(p.ResultsAvailable);
    EXPECT_GT(p.ResultsGeneration, generation);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.CanUndo());
  }
}

TEST(EditHistory, StepsRedoSideSavesAndReset) {
  Problem p = Sample();
  EditHistory history;
  history.Reset(p);

  // A key that is dropped marks the problem modified but is no step.
  FilterKey(p, InputTable::AGrid, 1, 3, U'x');
  EXPECT_FALSE(history.Pending(p));
  EXPECT_FALSE(history.Record(p));
  EXPECT_FALSE(history.CanUndo());

  p.AGrid.SetCell(1, 3, "1");
  EXPECT_TRUE(history.Pending(p));
  ASSERT_TRUE(history.Record(p));
  EXPECT_FALSE(history.Pending(p));
  const auto first = Undone(p);
  p.AGrid.SetCell(1, 4, "2");
  ASSERT_TRUE(history.Record(p));
  const auto second = Undone(p);

  // An edit still pending when undo is asked for is a step of its own.
  p.AGrid.SetCell(2, 4, "3");
  ASSERT_TRUE(history.Undo(p));
  EXPECT_EQ(Undone(p), second);
  ASSERT_TRUE(history.Undo(p));
  EXPECT_EQ(Undone(p), first);

  // A new change drops what could have been redone.
  p.AGrid.SetCell(3, 3, "9");
  EXPECT_TRUE(history.Record(p));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(history.Redo(p));

  // Saved: every other state now differs from the file, the saved one does not.
  const auto saved = Undone(p);
  p.DataModified = false;
  EXPECT_FALSE(history.Record(p));
  ASSERT_TRUE(history.Undo(p));
  EXPECT_EQ(Undone(p), first);
  ASSERT_TRUE(history.Undo(p));
  EXPECT_TRUE(p.DataModified);  // the opened state, no longer what the file holds
  ASSERT_TRUE(history.Redo(p));
  ASSERT_TRUE(history.Redo(p));
  EXPECT_FALSE(p.DataModified);
  EXPECT_EQ(std::get<0>(Undone(p)), std::get<0>(saved));

  history.Reset(p);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
}

TEST(EditHistory, StepsBeyondTheLimitDropTheOldest) {
  Problem p = Sample();
  EditHistory history;
  history.Reset(p);
  for (std::size_t i = 0; i < EditHistory::kMaxSteps + 5; ++i) {
    p.AGrid.SetCell(1, 3, std::to_string(i));
    history.Record(p);
  }
  std::size_t undone = 0;
  while (history.Undo(p)) ++undone;
  EXPECT_EQ(undone, EditHistory::kMaxSteps);
  EXPECT_EQ(p.AGrid.Cell(1, 3), "4");
}

TEST(EditHistory, UndoOfAStructuralEditGivesTheEarlierResults) {
  Problem p = test::ThreeActions();
  EditHistory history;
  history.Reset(p);
  ScriptedDialogs dialogs;
  SortingState earlier;
  ASSERT_TRUE(CalcRangeItemClick(p, earlier, dialogs));

  dialogs.AnswerText("2");
  ASSERT_TRUE(DeleteCriterion(p, dialogs));
  ASSERT_TRUE(history.Record(p));
  SortingState edited;
  ASSERT_TRUE(CalcRangeItemClick(p, edited, dialogs));
  ASSERT_NE(std::make_pair(edited.WorstCategory, edited.BestCategory),
            std::make_pair(earlier.WorstCategory, earlier.BestCategory));

  ASSERT_TRUE(history.Undo(p));
  EXPECT_FALSE(p.ResultsAvailable);
  SortingState again;
  ASSERT_TRUE(CalcRangeItemClick(p, again, dialogs));
  EXPECT_EQ(again.WorstCategory, earlier.WorstCategory);
  EXPECT_EQ(again.BestCategory, earlier.BestCategory);
  EXPECT_EQ(again.InferredCategory, earlier.InferredCategory);
  EXPECT_EQ(again.RGrid, earlier.RGrid);
  EXPECT_EQ(again.IPGrid, earlier.IPGrid);
  EXPECT_EQ(again.IndexText, earlier.IndexText);
}

}  // namespace
}  // namespace vesk::core
