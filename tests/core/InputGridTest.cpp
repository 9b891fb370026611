#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ProblemBuilders.h"
#include "core/problem/InputGrid.h"
#include "core/problem/Invariants.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/problem/Toggles.h"

namespace vesk::core {
namespace {

using test::MakeProblem;
using test::SetExample;

// n = 2, m = 2, K = 2 with one added constraint "ad2" in CGrid row 2.
// FGrid: direction row 6; CGrid: sign column 4, RHS column 5.
Problem WithConstraint() {
  Problem p = MakeProblem(2, 2, 2);
  p.CGrid.Resize(3, p.CGrid.ColCount());
  p.NumConstraints = 2;
  const char* row[] = {"ad2", "0", "1", "0", "<=", "0"};
  for (int c = 0; c < 6; ++c) p.CGrid.SetCell(2, c, row[c]);
  return p;
}

struct KeyCase {
  InputTable table;
  int row, column;
  char32_t key;
  bool keep, modified, reset;
};

TEST(FilterKey, PerTableAndPosition) {
  using T = InputTable;
  const KeyCase cases[] = {
      // AGrid performances: digits '-' '.' and the editing keys; anything typed marks the data.
      {T::AGrid, 1, 3, U'5', true, true, true},
      {T::AGrid, 2, 4, U'-', true, true, true},
      {T::AGrid, 1, 3, U'.', true, true, true},
      {T::AGrid, 1, 3, U'a', false, true, true},
      {T::AGrid, 1, 3, U'e', false, true, true},
      {T::AGrid, 1, 3, keys::Backspace, true, true, true},
      {T::AGrid, 1, 3, keys::Delete, true, true, true},
      // Names, examples and headers are never typed into.
      {T::AGrid, 1, 0, U'5', false, false, false},
      {T::AGrid, 1, 2, U'2', false, false, false},
      {T::AGrid, 0, 3, U'5', false, false, false},
      // Navigation changes nothing.
      {T::AGrid, 1, 3, keys::Tab, true, false, false},
      {T::BGrid, 1, 1, keys::Left, true, false, false},
      {T::CGrid, 1, 1, keys::Enter, true, false, false},
      {T::FGrid, 6, 1, keys::PageDown, true, false, false},
      // BGrid.
      {T::BGrid, 1, 1, U'7', true, true, true},
      {T::BGrid, 2, 3, U'x', false, true, true},
      {T::BGrid, 1, 0, U'7', false, false, false},
      // FGrid: the direction row takes '-' and '1' only.
      {T::FGrid, 6, 1, U'1', true, true, true},
      {T::FGrid, 6, 2, U'-', true, true, true},
      {T::FGrid, 6, 1, U'2', false, true, true},
      {T::FGrid, 6, 1, U'.', false, true, true},
      {T::FGrid, 5, 1, U'2', true, true, true},
      {T::FGrid, 1, 2, U'<', false, true, true},
      // CGrid: the sign column takes '<' '=' '>' only; the Norm row takes nothing.
      {T::CGrid, 2, 4, U'<', true, true, true},
      {T::CGrid, 2, 4, U'=', true, true, true},
      {T::CGrid, 2, 4, U'>', true, true, true},
      {T::CGrid, 2, 4, U'1', false, true, true},
      {T::CGrid, 2, 1, U'9', true, true, true},
      {T::CGrid, 2, 5, U'>', false, true, true},
      {T::CGrid, 1, 2, U'1', false, false, true},
      {T::CGrid, 1, 4, U'=', false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "table " << static_cast<int>(c.table) << " cell (" << c.row << ", "
                                    << c.column << ") key " << static_cast<unsigned>(c.key));
    Problem p = WithConstraint();
    p.ResultsAvailable = true;
    const auto generation = p.ResultsGeneration;
    const KeyDecision decision = FilterKey(p, c.table, c.row, c.column, c.key);
    EXPECT_EQ(decision.keep, c.keep);
    EXPECT_EQ(decision.resultsReset, c.reset);
    EXPECT_EQ(p.DataModified, c.modified);
    EXPECT_EQ(p.ResultsGeneration != generation, c.reset);
    EXPECT_EQ(p.ResultsAvailable, !c.reset);
  }
}

TEST(FilterPastedText, KeepsWhatTypingWouldKeep) {
  Problem p = WithConstraint();
  EXPECT_EQ(FilterPastedText(p, InputTable::AGrid, 1, 3, "1a2.5\r\n"), "12.5");
  EXPECT_TRUE(p.DataModified);

  Problem q = WithConstraint();
  EXPECT_EQ(FilterPastedText(q, InputTable::CGrid, 2, 4, ">= 0"), ">=");
  EXPECT_EQ(FilterPastedText(q, InputTable::FGrid, 6, 1, "-1.0"), "-1");

  Problem norm = WithConstraint();
  const auto generation = norm.ResultsGeneration;
  EXPECT_EQ(FilterPastedText(norm, InputTable::CGrid, 1, 1, "0.5"), "");
  EXPECT_FALSE(norm.DataModified);
  EXPECT_NE(norm.ResultsGeneration, generation);

  Problem fixed = WithConstraint();
  EXPECT_EQ(FilterPastedText(fixed, InputTable::AGrid, 1, 0, "42"), "");
  EXPECT_EQ(FilterPastedText(fixed, InputTable::BGrid, 1, 1, ""), "");
  EXPECT_FALSE(fixed.DataModified);
  EXPECT_EQ(fixed.ResultsGeneration, WithConstraint().ResultsGeneration);
}

TEST(CellPaint, AGridMarksExamples) {
  Problem p = MakeProblem(2, 4, 3);
  SetExample(p, 2, 2, 3);
  SetExample(p, 3, 1, 2);
  p.AGrid.SetCell(4, 1, "-");  // being typed: draws normally
  const CellPaint normal{}, aqua{CellColour::Aqua}, yellow{CellColour::Yellow};
  EXPECT_EQ(AGridCellPaint(p, 1, 0), normal);  // [1, K]: no example
  EXPECT_EQ(AGridCellPaint(p, 1, 1), normal);
  EXPECT_EQ(AGridCellPaint(p, 2, 0), aqua);
  EXPECT_EQ(AGridCellPaint(p, 2, 1), yellow);
  EXPECT_EQ(AGridCellPaint(p, 2, 2), normal);
  EXPECT_EQ(AGridCellPaint(p, 3, 0), aqua);
  EXPECT_EQ(AGridCellPaint(p, 3, 1), normal);
  EXPECT_EQ(AGridCellPaint(p, 3, 2), yellow);
  EXPECT_EQ(AGridCellPaint(p, 4, 0), normal);
  EXPECT_EQ(AGridCellPaint(p, 4, 1), normal);
  EXPECT_EQ(AGridCellPaint(p, 2, 3), normal);  // performance
  EXPECT_EQ(AGridCellPaint(p, 0, 1), normal);  // header
}

TEST(CellPaint, FGridProfilesAndThresholdsInEffect) {
  struct Case {
    const char* what;
    int offset;  // 3: u row (p just above), 4: v row (p two rows above)
    const char* value;
    const char* p;
    bool white;
  };
  const Case cases[] = {
      {"veto 0 is blank", 4, "0", "0", true},
      {"veto equal to p", 4, "3", "3", true},
      {"veto below p", 4, "2", "3", true},
      {"veto above p", 4, "4", "3", false},
      {"negative veto above a more negative p", 4, "-1", "-2", false},
      {"veto being typed", 4, "-", "3", false},
      {"p being typed", 4, "4", "", false},
      {"u above p", 3, "5", "3", false},
      {"u zero", 3, "0", "-1", true},
      {"u equal to p", 3, "2.5", "2.5", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Problem p = MakeProblem(2, 1, 2);
    p.FGrid.SetCell(p.ProfileRow(1) + c.offset, 1, c.value);
    p.FGrid.SetCell(p.ProfileRow(1) + 2, 1, c.p);  // the p row
    const CellPaint paint = FGridCellPaint(p, p.ProfileRow(1) + c.offset, 1);
    EXPECT_EQ(paint.whiteText, c.white);
    EXPECT_EQ(paint.background, CellColour::Normal);
  }
  Problem p = MakeProblem(2, 1, 3);
  for (int row : {1, 6, 11}) EXPECT_EQ(FGridCellPaint(p, row, 2).background, CellColour::Lime) << row;
  for (int row : {2, 3, 7}) EXPECT_EQ(FGridCellPaint(p, row, 2), CellPaint{}) << row;
  EXPECT_EQ(FGridCellPaint(p, 1, 0), CellPaint{});  // labels
  EXPECT_EQ(FGridCellPaint(p, 0, 1), CellPaint{});  // names
}

TEST(CellPaint, CGridNormRowAndBlankZeros) {
  Problem p = WithConstraint();
  p.CGrid.SetCell(2, 2, "0.0");
  const CellPaint yellow{CellColour::Yellow}, yellowBlank{CellColour::Yellow, false, true};
  EXPECT_EQ(CGridCellPaint(p, 1, 1), yellowBlank);  // Norm lambda "0"
  EXPECT_EQ(CGridCellPaint(p, 1, 2), yellow);
  EXPECT_EQ(CGridCellPaint(p, 1, 5), yellow);       // Norm RHS "1"
  EXPECT_EQ(CGridCellPaint(p, 2, 1), (CellPaint{CellColour::Normal, false, true}));
  EXPECT_EQ(CGridCellPaint(p, 2, 2), CellPaint{});  // "0.0" is not "0"
  EXPECT_EQ(CGridCellPaint(p, 2, 5), CellPaint{});  // RHS "0" stays visible
  EXPECT_EQ(CGridCellPaint(p, 1, 0), CellPaint{});  // label
  EXPECT_EQ(ColourRgb(CellColour::Aqua), (Rgb{0, 255, 255}));
  EXPECT_EQ(ColourRgb(CellColour::Lime), (Rgb{0, 255, 0}));
  EXPECT_EQ(ColourRgb(CellColour::Yellow), (Rgb{255, 255, 0}));
}

TEST(CGridSelection, NormRowAndFixedCellsCannotBeSelected) {
  Problem p = WithConstraint();
  EXPECT_FALSE(CGridCellSelectable(p, 1, 1));
  EXPECT_FALSE(CGridCellSelectable(p, 1, 5));
  EXPECT_TRUE(CGridCellSelectable(p, 2, 1));
  EXPECT_TRUE(CGridCellSelectable(p, 2, 5));
  EXPECT_FALSE(CGridCellSelectable(p, 0, 1));
  EXPECT_FALSE(CGridCellSelectable(p, 2, 0));
}

TEST(InputCellEditable, DataCellsOnly) {
  using T = InputTable;
  Problem p = WithConstraint();
  struct Case {
    T table;
    int row, column;
    bool editable;
  } const cases[] = {
      {T::AGrid, 1, 3, true},  {T::AGrid, 1, 2, false}, {T::AGrid, 1, 0, false}, {T::AGrid, 0, 3, false},
      {T::FGrid, 6, 1, true},  {T::FGrid, 1, 0, false}, {T::BGrid, 2, 3, true},  {T::BGrid, 3, 1, false},
      {T::CGrid, 1, 1, true},  {T::CGrid, 2, 5, true},  {T::CGrid, 2, 6, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InputCellEditable(p, c.table, c.row, c.column), c.editable)
        << static_cast<int>(c.table) << " " << c.row << "," << c.column;
  EXPECT_FALSE(InputCellEditable(Problem{}, T::AGrid, 1, 3));  // no tables yet
}

TEST(Toggles, UsevjUpReleasesAndDisablesUseuj) {
  Problem p = MakeProblem(2, 1, 2);  // vj down, uj up
  const int u = p.ProfileRow(1) + 3, v = p.ProfileRow(1) + 4;
  EXPECT_FALSE(FGridRowShown(p, u));
  EXPECT_TRUE(FGridRowShown(p, v));
  EXPECT_TRUE(FGridRowShown(p, p.DirectionRow()));

  EXPECT_TRUE(SetUseuj(p, true));
  EXPECT_TRUE(FGridRowShown(p, u));

  p.ResultsAvailable = true;
  EXPECT_TRUE(SetUsevj(p, false));
  EXPECT_FALSE(p.ResultsAvailable);
  EXPECT_FALSE(p.UseujDown);
  EXPECT_FALSE(UseujEnabled(p));
  EXPECT_FALSE(FGridRowShown(p, u));
  EXPECT_FALSE(FGridRowShown(p, v));
  EXPECT_TRUE(FGridRowShown(p, p.ProfileRow(1) + 2));
  EXPECT_FALSE(SetUseuj(p, true));  // disabled
  EXPECT_FALSE(p.UseujDown);

  EXPECT_TRUE(SetUsevj(p, true));
  EXPECT_TRUE(UseujEnabled(p));
  EXPECT_FALSE(p.UseujDown);  // stays released
  EXPECT_FALSE(SetUsevj(p, true));
  EXPECT_FALSE(p.DataModified);
}

TEST(AGridMouse, ButtonDownMovesToAPerformanceCell) {
  const Problem p = MakeProblem(3, 3, 2);
  const GridCell current{2, 4};
  EXPECT_EQ(AGridMouseDownCell(p, current, {3, 1}), (GridCell{3, 3}));
  EXPECT_EQ(AGridMouseDownCell(p, current, {0, 5}), (GridCell{2, 5}));
  EXPECT_EQ(AGridMouseDownCell(p, current, {0, 0}), (GridCell{2, 3}));
  EXPECT_EQ(AGridMouseDownCell(p, current, {1, 4}), (GridCell{1, 4}));
}

TEST(AGridMouse, RenamesCriterionInBothTables) {
  Problem p = MakeProblem(3, 3, 2);
  ScriptedDialogs d;
  d.AnswerText("price");
  EXPECT_TRUE(AGridMouseUp(p, d, {2, 4}, {0, 4}));
  ASSERT_EQ(d.prompts.size(), 1u);
  EXPECT_EQ(d.prompts[0].caption, "Edit criterion name");
  EXPECT_EQ(d.prompts[0].prompt, "New name for this criterion");
  EXPECT_EQ(d.prompts[0].initial, "g2");
  EXPECT_EQ(p.AGrid.Cell(0, 4), "price");
  EXPECT_EQ(p.FGrid.Cell(0, 2), "price");
  EXPECT_TRUE(p.DataModified);
  EXPECT_TRUE(CheckProblemInvariants(p).empty());
}

TEST(AGridMouse, DragAndCancelChangeNothing) {
  Problem p = MakeProblem(3, 3, 2);
  const auto before = test::Contents(p);
  ScriptedDialogs d;
  EXPECT_FALSE(AGridMouseUp(p, d, {2, 4}, {0, 3}));  // header of another column
  EXPECT_FALSE(AGridMouseUp(p, d, {2, 4}, {3, 0}));  // name of another row
  EXPECT_FALSE(AGridMouseUp(p, d, {2, 4}, {2, 5}));  // a performance
  EXPECT_TRUE(d.prompts.empty());
  for (int column : {0, 1, 2}) EXPECT_FALSE(AGridMouseUp(p, d, {2, 4}, {2, column}));  // Cancel
  EXPECT_FALSE(AGridMouseUp(p, d, {2, 4}, {0, 4}));
  EXPECT_EQ(d.prompts.size(), 4u);
  EXPECT_TRUE(test::Contents(p) == before);
}

TEST(AGridMouse, RenamesAction) {
  Problem p = MakeProblem(3, 3, 2);
  ScriptedDialogs d;
  d.AnswerText("north site");
  EXPECT_TRUE(AGridMouseUp(p, d, {2, 4}, {2, 0}));
  EXPECT_EQ(d.prompts[0].caption, "Edit action name");
  EXPECT_EQ(d.prompts[0].prompt, "New name for this action");
  EXPECT_EQ(d.prompts[0].initial, "1");
  EXPECT_EQ(p.AGrid.Cell(2, 0), "north site");
  EXPECT_TRUE(p.DataModified);
}

TEST(AGridMouse, ExampleCategories) {
  struct Case {
    const char* what;
    int column;  // 1 lower, 2 upper
    int low, high;
    std::vector<const char*> answers;
    bool accepted;
    const char* example;
  };
  // K = 4 throughout.
  const Case cases[] = {
      {"lower accepted", 1, 1, 3, {"2"}, true, "[2,3]"},
      {"lower equal to EHigh", 1, 1, 3, {"3"}, true, "[3,3]"},
      {"lower above EHigh", 1, 1, 3, {"4"}, false, "[1,3]"},
      {"lower 0", 1, 1, 3, {"0"}, false, "[1,3]"},
      {"lower asked again until an integer", 1, 1, 3, {"x", "", "1.5", "2"}, true, "[2,3]"},
      {"upper accepted", 2, 2, 2, {"4"}, true, "[2,4]"},
      {"upper below ELow", 2, 2, 3, {"1"}, false, "[2,3]"},
      {"upper above K", 2, 2, 3, {"5"}, false, "[2,3]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Problem p = MakeProblem(2, 2, 4);
    p.AGrid.SetCell(1, 0, "site A");
    SetExample(p, 1, c.low, c.high);
    ScriptedDialogs d;
    for (const char* a : c.answers) d.AnswerText(a);
    EXPECT_EQ(AGridMouseUp(p, d, {1, 3}, {1, c.column}), c.accepted);
    EXPECT_EQ(test::Example(p, 1), c.example);
    EXPECT_EQ(d.prompts.size(), c.answers.size());
    EXPECT_EQ(d.prompts[0].caption, "Assignment example for action site A");
    EXPECT_EQ(d.prompts[0].prompt, c.column == 1 ? "Lower category" : "Upper category");
    EXPECT_EQ(d.prompts[0].initial, "");
    EXPECT_EQ(d.Texts(MessageKind::Error), c.accepted ? std::vector<std::string>{}
                                                       : std::vector<std::string>{"Invalid category"});
    EXPECT_EQ(p.DataModified, c.accepted);
  }
}

TEST(InPlaceEdits, ExampleTypedIntoELowAndEHigh) {
  struct Case {
    const char* what;
    int column;
    const char* typed;
    bool accepted;
    const char* example;
    std::vector<std::string> errors;
  };
  // K = 4, example [1, 3].
  const Case cases[] = {
      {"lower accepted", 1, "2", true, "[2,3]", {}},
      {"lower above EHigh", 1, "4", false, "[1,3]", {"Invalid category"}},
      {"lower 0", 1, "0", false, "[1,3]", {"Invalid category"}},
      {"upper accepted", 2, "4", true, "[1,4]", {}},
      {"upper above K", 2, "5", false, "[1,3]", {"Invalid category"}},
      {"no integer", 2, "99999999999", false, "[1,3]", {"Invalid category"}},
      {"nothing typed", 1, "", false, "[1,3]", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Problem p = MakeProblem(2, 2, 4);
    SetExample(p, 1, 1, 3);
    ScriptedDialogs d;
    EXPECT_EQ(SetExampleText(p, d, 1, c.column, c.typed), c.accepted);
    EXPECT_EQ(test::Example(p, 1), c.example);
    EXPECT_EQ(d.Texts(MessageKind::Error), c.errors);
    EXPECT_EQ(p.DataModified, c.accepted);
  }
  EXPECT_TRUE(ExampleKeyAllowed(U'7'));
  EXPECT_TRUE(ExampleKeyAllowed(keys::Backspace));
  EXPECT_FALSE(ExampleKeyAllowed(U'-'));
  // The in-place editors: a name takes every key, ELow and EHigh digits.
  const Problem p = MakeProblem(2, 2, 4);
  EXPECT_TRUE(InPlaceKeyAllowed(p, 1, 0, U'x'));
  EXPECT_FALSE(InPlaceKeyAllowed(p, 1, 1, U'x'));
  EXPECT_TRUE(InPlaceKeyAllowed(p, 1, 2, keys::Left));
  EXPECT_FALSE(InPlaceKeyAllowed(p, 1, 3, U'7'));  // a performance has its own filter
  EXPECT_EQ(InPlacePastedText(p, 1, 1, "a2b"), "2");
  EXPECT_EQ(InPlacePastedText(p, 1, 0, "North site\n"), "North site");
}

TEST(InPlaceEdits, DeleteClearsOneBoundOfTheExample) {
  Problem p = MakeProblem(2, 2, 4);
  SetExample(p, 1, 2, 3);
  EXPECT_TRUE(ClearExample(p, 1, 1));
  EXPECT_EQ(test::Example(p, 1), "[1,3]");
  EXPECT_TRUE(ClearExample(p, 1, 2));
  EXPECT_EQ(test::Example(p, 1), "[1,4]");
  EXPECT_TRUE(p.DataModified);
  p.DataModified = false;
  EXPECT_FALSE(ClearExample(p, 1, 2));  // nothing to clear
  EXPECT_FALSE(ClearExample(p, 1, 3));  // a performance
  EXPECT_FALSE(p.DataModified);
}

TEST(InPlaceEdits, NamesAndSigns) {
  Problem p = WithConstraint();
  EXPECT_TRUE(SetActionName(p, 2, "Supplier 10 Ltd"));
  EXPECT_EQ(p.AGrid.Cell(2, 0), "Supplier 10 Ltd");
  EXPECT_TRUE(SetCriterionName(p, 4, "delivery"));
  EXPECT_EQ(p.FGrid.Cell(0, 2), "delivery");
  EXPECT_TRUE(CheckProblemInvariants(p).empty());
  p.DataModified = false;
  EXPECT_FALSE(SetActionName(p, 2, "Supplier 10 Ltd"));  // unchanged
  EXPECT_FALSE(SetCriterionName(p, 2, "x"));             // EHigh is no criterion
  EXPECT_FALSE(p.DataModified);

  // The sign changes only when its meaning does.
  EXPECT_FALSE(SetConstraintSign(p, 2, "<"));  // "<=" already
  EXPECT_FALSE(SetConstraintSign(p, 2, "=>"));
  EXPECT_FALSE(SetConstraintSign(p, 1, ">"));  // the Norm row
  EXPECT_FALSE(p.DataModified);
  EXPECT_TRUE(SetConstraintSign(p, 2, ">"));
  EXPECT_EQ(p.CGrid.Cell(2, 4), ">");
  EXPECT_TRUE(p.DataModified);
}

TEST(PastedCellText, TheCellsKeyFilterAndItsValue) {
  const Problem p = WithConstraint();
  struct Case {
    InputTable table;
    int row, column;
    const char* piece;
    std::optional<std::string> kept;
  } const cases[] = {
      {InputTable::AGrid, 1, 3, " 12.5 ", "12.5"}, {InputTable::AGrid, 1, 3, "3,5", "3.5"},
      {InputTable::AGrid, 1, 3, "1e3", std::nullopt}, {InputTable::AGrid, 1, 3, "-", std::nullopt},
      {InputTable::BGrid, 2, 1, "0.7", "0.7"},       {InputTable::FGrid, 6, 1, "-1", "-1"},
      {InputTable::FGrid, 6, 1, "0", std::nullopt},  {InputTable::FGrid, 2, 1, "0", "0"},
      {InputTable::CGrid, 2, 4, ">=", ">="},         {InputTable::CGrid, 2, 4, "=<", std::nullopt},
      {InputTable::CGrid, 2, 4, "1", std::nullopt},  {InputTable::CGrid, 2, 1, "<", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PastedCellText(p, c.table, c.row, c.column, c.piece), c.kept) << c.piece;
}

}  // namespace
}  // namespace vesk::core
