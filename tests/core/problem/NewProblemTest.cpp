#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ProblemBuilders.h"
#include "TestPaths.h"
#include "core/problem/Invariants.h"
#include "core/problem/NewProblem.h"
#include "core/problem/ScriptedDialogs.h"

namespace vesk::core {
namespace {

using test::MakeProblem;

TEST(NewProblemField, Checks) {
  struct Case {
    const char* text;
    int maximum;
    std::optional<std::string> message;
  };
  const Case cases[] = {
      {"", 12, "You must enter a value"},
      {"abc", 12, "Invalid number"},
      {"1x", 12, "Invalid number"},
      {"2", 12, std::nullopt},
      {"12", 12, std::nullopt},
      {"13", 12, "Number is too high: at most 12"},
      {"1000", 1000, std::nullopt},
      {"1001", 1000, "Number is too high: at most 1000"},
      {"99999999999999", 20, "Number is too high: at most 20"},
      {"1", 20, "Number is too low"},
      {"0", 20, "Number is too low"},
      {"-3", 20, "Number is too low"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckNewProblemField(c.text, c.maximum), c.message) << '"' << c.text << '"';
  EXPECT_TRUE(NewProblemFieldKeyAccepted(U'7'));
  EXPECT_TRUE(NewProblemFieldKeyAccepted(U'\b'));
  EXPECT_FALSE(NewProblemFieldKeyAccepted(U'-'));
  EXPECT_FALSE(NewProblemFieldKeyAccepted(U'a'));
  EXPECT_EQ(NewProblemFields{}.criteria, "2");
}

TEST(CreateNewProblem, WritesNewDefaults) {
  Problem p = MakeProblem(2, 2, 2);
  p.DataModified = true;
  p.ResultsAvailable = true;
  p.Caption = "Vesk 2  -  /somewhere/old.tri";
  ScriptedDialogs d;
  ASSERT_TRUE(CreateNewProblem(p, d, {.alternatives = "4", .criteria = "3", .categories = "3"}));
  EXPECT_TRUE(d.messages.empty());
  EXPECT_TRUE(CheckProblemInvariants(p).empty());
  EXPECT_EQ(p.NumCriteria, 3);
  EXPECT_EQ(p.NumActions, 4);
  EXPECT_EQ(p.NumCategories, 3);
  EXPECT_EQ(p.NumConstraints, 1);
  EXPECT_EQ(p.AGrid.Cell(4, 0), "3");
  EXPECT_EQ(test::Example(p, 4), "[1,3]");
  EXPECT_EQ(p.AGrid.Cell(4, 5), "0");
  EXPECT_EQ(p.FGrid.Cell(p.ProfileRow(2) + 4, 3), "0");
  EXPECT_EQ(p.FGrid.Cell(p.DirectionRow(), 3), "1");
  EXPECT_EQ(p.BGrid.Cell(1, 1), "0.5");
  EXPECT_EQ(p.BGrid.Cell(2, 1), "1.0");
  EXPECT_EQ(p.BGrid.Cell(1, 4), "0");
  EXPECT_EQ(p.BGrid.Cell(2, 4), "0.5");
  EXPECT_EQ(p.Caption, "Vesk 2");
  EXPECT_FALSE(p.DataModified);
  EXPECT_FALSE(p.ResultsAvailable);
}

TEST(CreateNewProblem, InvalidCountKeepsThePreviousProblem) {
  struct Case {
    NewProblemFields fields;
    const char* message;
  };
  const Case cases[] = {
      {{.alternatives = "3", .criteria = "x", .categories = "3"}, "Assertion violated: No. Criteria is invalid"},
      {{.alternatives = "", .criteria = "3", .categories = "3"}, "Assertion violated: No. Actions is invalid"},
      {{.alternatives = "3", .criteria = "3", .categories = "2.5"}, "Assertion violated: No. Categories is invalid"},
      {{.alternatives = "3", .criteria = "20", .categories = "3"}, "Maximum number of criteria exceeded"},
      {{.alternatives = "3", .criteria = "13", .categories = "3"}, "Number is too high: at most 12"},
      {{.alternatives = "1001", .criteria = "3", .categories = "3"}, "Number is too high: at most 1000"},
      {{.alternatives = "3", .criteria = "3", .categories = "1"}, "Number is too low"},
      {{.alternatives = "3", .criteria = "-1", .categories = "3"}, "Number is too low"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Problem p = MakeProblem(2, 5, 4);
    p.DataModified = true;
    const auto before = test::Contents(p);
    ScriptedDialogs d;
    EXPECT_FALSE(CreateNewProblem(p, d, c.fields));
    EXPECT_EQ(d.messages, (std::vector<ScriptedDialogs::Message>{{MessageKind::Error, c.message}}));
    EXPECT_TRUE(test::Contents(p) == before);
  }
}

TEST(NewCommand, AsksToSaveOnlyModifiedWorkAndStopsUnlessItIsSavedOrLeft) {
  const NewProblemFields fields{.alternatives = "3", .criteria = "2", .categories = "2"};
  int dialogShown = 0;
  auto dialog = [&]() -> std::optional<NewProblemFields> {
    ++dialogShown;
    return fields;
  };

  Problem fresh;
  ScriptedDialogs d1;
  EXPECT_TRUE(NewCommand(fresh, d1, dialog));
  EXPECT_TRUE(d1.questions.empty());
  EXPECT_TRUE(fresh.TablesShown);

  Problem modified = MakeProblem(2, 2, 2);
  modified.DataModified = true;
  ScriptedDialogs d2;
  d2.AnswerConfirm(false);
  EXPECT_TRUE(NewCommand(modified, d2, dialog));
  EXPECT_EQ(d2.questions, std::vector<std::string>{"Save current files?"});
  EXPECT_TRUE(d2.fileDialogs.empty());
  EXPECT_EQ(modified.NumActions, 3);
  EXPECT_FALSE(modified.DataModified);

  // Yes with the save dialog cancelled, or Cancel: the work is kept and New
  // stops before its dialog.
  for (const bool cancelQuestion : {false, true}) {
    SCOPED_TRACE(cancelQuestion ? "Cancel" : "Yes, then the save dialog cancelled");
    Problem kept = MakeProblem(2, 2, 2);
    kept.DataModified = true;
    const auto before = test::Contents(kept);
    ScriptedDialogs d3;
    if (cancelQuestion) d3.AnswerCancel();
    else d3.AnswerConfirm(true);
    EXPECT_FALSE(NewCommand(kept, d3, dialog));
    EXPECT_EQ(d3.questions, std::vector<std::string>{"Save current files?"});
    EXPECT_EQ(d3.fileDialogs.size(), cancelQuestion ? 0u : 1u);
    EXPECT_TRUE(test::Contents(kept) == before);
  }
  EXPECT_EQ(dialogShown, 2);
}

TEST(NewCommand, SaveAsProposesNoNameOfTheOldFile) {
  Problem p = MakeProblem(2, 2, 2);
  p.SaveFileName = "/work/old/problem";
  p.Caption = "Vesk 2  -  /work/old/problem.tri";
  ScriptedDialogs d;
  EXPECT_TRUE(NewCommand(p, d, [] { return std::optional<NewProblemFields>(NewProblemFields{}); }));
  EXPECT_EQ(p.SaveFileName, Problem{}.SaveFileName);
  EXPECT_EQ(p.Caption, kTitle);
}

TEST(NewCommand, YesSavesTheCurrentProblemFirst) {
  const auto dir = vesk::test::FreshTempDir("new_saves");
  Problem p = MakeProblem(2, 2, 2);
  p.AGrid.SetCell(1, 0, "kept");
  p.DataModified = true;
  ScriptedDialogs d;
  d.AnswerConfirm(true);
  d.saveFileAnswers.push_back((dir / "before").string());
  EXPECT_TRUE(NewCommand(p, d, [] { return std::optional<NewProblemFields>(NewProblemFields{}); }));
  EXPECT_TRUE(std::filesystem::exists(dir / "before.tri"));
  EXPECT_EQ(p.AGrid.Cell(1, 0), "0");
  EXPECT_EQ(p.Caption, "Vesk 2");
  std::filesystem::remove_all(dir);
}

TEST(NewCommand, CancelledDialogChangesNothing) {
  Problem p = MakeProblem(2, 2, 2);
  const auto before = test::Contents(p);
  ScriptedDialogs d;
  EXPECT_FALSE(NewCommand(p, d, [] { return std::optional<NewProblemFields>(); }));
  EXPECT_TRUE(test::Contents(p) == before);
}

}  // namespace
}  // namespace vesk::core
