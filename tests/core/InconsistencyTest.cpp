// Inconsistency analysis: the constraint list, the zero-one program of a
// suggestion run as it is stated, the runs themselves (smallest sets first,
// cuts, the ways a run ends), and the accept step.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "RobustFixtures.h"
#include "ScopedSolverHost.h"
#include "TestPaths.h"
#include "core/analysis/Inconsistency.h"
#include "core/problem/Problem.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"
#include "core/sorting/ConstraintList.h"
#include "core/sorting/RobustAssignments.h"
#include "core/sorting/SortingState.h"
#include "engine/ScratchEngineHost.h"
#include "solver/LP_Unit_LPSolver.h"

namespace vesk::core {
namespace {

using test::AddConstraint;

Problem MakeProblem(int n) {
  Problem p;
  LayoutTables(p, n, 1, 2, /*withDefaults=*/true);
  for (int j = 1; j <= n; ++j) p.BGrid.SetCell(2, 1 + j, "1");  // k in [0, 1]: no bound rows
  return p;
}

// The state a robust-assignment command leaves when it rebuilt the lists of a
// problem without assignment examples.
SortingState ListedState(const Problem& p) {
  SortingState s;
  const int n = p.NumCriteria;
  s.ICGrid = Grid(2, n + 4);
  s.NumExampleConstraints = 0;
  BuildConstraintList(p, s);
  s.Generation = p.ResultsGeneration;
  return s;
}

std::vector<std::string> Row(const Grid& g, int r) {
  std::vector<std::string> out;
  for (int c = 0; c < g.ColCount(); ++c) out.push_back(g.Cell(r, c));
  return out;
}

using Strings = std::vector<std::string>;

TEST(ConstraintList, EveryRowInAtLeastForm) {
  Problem p;
  LayoutTables(p, 2, 1, 3, /*withDefaults=*/true);  // lambda [0.5, 1], k in [0, 0.5]
  p.BGrid.SetCell(1, 3, "0.1");
  AddConstraint(p, {"0", "1", "-1"}, ">=", "0.1");
  AddConstraint(p, {"", "2", "0.25"}, "<=", "0.75");
  AddConstraint(p, {"0", "1", "-1"}, "=", "0");
  SortingState s;
  s.ICGrid = Grid(3, 6);
  s.ICGrid.SetCell(1, 0, "C(a)>=2");
  for (int c = 1; c <= 3; ++c) s.ICGrid.SetCell(1, c, c == 1 ? "-1" : "0.5");
  s.ICGrid.SetCell(1, 4, ">=");
  s.ICGrid.SetCell(1, 5, "0");
  s.ICGrid.SetCell(2, 0, "stale row beyond the count");
  s.NumExampleConstraints = 1;
  BuildConstraintList(p, s);
  const std::vector<Strings> expected = {
      {"No.", "Descr", "lambda", "k1", "k2", ">=", "RHS"},
      {"1", "C(a)>=2", "-1", "0.5", "0.5", ">=", "0"},
      {"2", "ad1", "0", "1", "-1", ">=", "0.1"},
      {"3", "ad2", "0", "-2", "-0.25", ">=", "-0.75"},
      {"4", "ad3", "0", "-1", "1", ">=", "0"},
      {"5", "ad3", "0", "1", "-1", ">=", "0"},
      {"6", "LB lambda", "1", "0", "0", ">=", "0.5"},
      {"7", "UB k1", "0", "-1", "0", ">=", "-0.5"},
      {"8", "LB k2", "0", "0", "1", ">=", "0.1"},
      {"9", "UB k2", "0", "0", "-1", ">=", "-0.5"},
  };
  ASSERT_EQ(s.IGrid.RowCount(), static_cast<int>(expected.size()));
  for (int r = 0; r < s.IGrid.RowCount(); ++r) EXPECT_EQ(Row(s.IGrid, r), expected[r]) << "row " << r;
  // The window shows the zeros of the coefficients empty, never those of RHS.
  EXPECT_TRUE(IGridCellBlank(s.IGrid, 2, 2));
  EXPECT_FALSE(IGridCellBlank(s.IGrid, 6, 1));
  EXPECT_FALSE(IGridCellBlank(s.IGrid, 2, 1));
}

TEST(SuggestionProgram, RowsColumnsAndTypesAsStated) {
  Problem p = MakeProblem(2);
  AddConstraint(p, {"0", "1", "0"}, ">=", "0.7");   // 1: k1 >= 0.7
  AddConstraint(p, {"0", "1", "0"}, "<=", "0.3");   // 2: -k1 >= -0.3
  AddConstraint(p, {"1", "0", "0"}, ">=", "0");     // 3: lambda >= 0 (RHS 0 stays '>')
  SortingState s = ListedState(p);
  SuggestionWork work = ReadSuggestionWork(p, s.IGrid);
  ASSERT_EQ(work.V, 3);
  ASSERT_EQ(work.R, 4);  // the three rows and "LB lambda"
  AddSuggestionCut(work, {1, 4}, 2);
  SuggestionProgram prog = BuildSuggestionProgram(work);
  EXPECT_EQ(prog.columns, 7);
  EXPECT_EQ(prog.rows, 6);
  EXPECT_EQ(prog.columnTypes, (std::vector<char>{'C', 'C', 'C', 'B', 'B', 'B', 'B'}));
  EXPECT_EQ(prog.objective, (std::vector<double>{0, 0, 0, -1, -1, -1, -1}));
  EXPECT_EQ(prog.rowTypes, (std::vector<char>{'>', '<', '>', '>', '=', '<'}));
  EXPECT_EQ(prog.matrix[0], (std::vector<double>{0, 1, 0, 999, 0, 0, 0}));
  // -k1 + 999 y2 >= -0.3 + 0.00001 is stated with every sign reversed.
  EXPECT_EQ(prog.matrix[1], (std::vector<double>{0, 1, 0, 0, -999, 0, 0}));
  EXPECT_DOUBLE_EQ(prog.rhs[1], 0.3 - 0.00001);
  EXPECT_DOUBLE_EQ(prog.rhs[0], 0.7 + 0.00001);
  EXPECT_DOUBLE_EQ(prog.rhs[2], 0.00001);
  EXPECT_DOUBLE_EQ(prog.rhs[3], 0.5 + 0.00001);
  EXPECT_EQ(prog.matrix[4], (std::vector<double>{0, 1, 1, 0, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(prog.rhs[4], 1);
  EXPECT_EQ(prog.matrix[5], (std::vector<double>{0, 0, 0, 1, 0, 0, 1}));
  EXPECT_DOUBLE_EQ(prog.rhs[5], 1);
  for (double b : prog.rhs) EXPECT_GE(b, 0);
}

// The zero-one programs need the integer path of the solver interface.
std::set<std::vector<int>> Sets(const std::vector<Suggestion>& suggestions) {
  std::set<std::vector<int>> out;
  for (const auto& s : suggestions) out.insert(s.constraints);
  return out;
}

struct RunCase {
  const char* name;
  int max;
  std::vector<std::vector<std::string>> constraints;  // coefficients..., sign, rhs
  std::vector<double> counts;
  std::set<std::vector<int>> allowed;  // every set a run may list
  SuggestionEnd end;
  std::vector<std::string> messages;
};

void CheckRun(const RunCase& c) {
  SCOPED_TRACE(c.name);
  Problem p = MakeProblem(2);
  for (const auto& row : c.constraints) AddConstraint(p, {row[0], row[1], row[2]}, row[3], row[4]);
  SortingState s = ListedState(p);
  InconsistencyAnalysis a;
  a.SetMaxSuggestions(c.max);
  ScriptedDialogs d;
  EXPECT_TRUE(BSuggestClick(p, s, a, d));
  EXPECT_EQ(a.End, c.end);
  EXPECT_EQ(d.Texts(), c.messages);
  std::vector<double> counts;
  for (const auto& sug : a.Suggestions) counts.push_back(sug.count);
  EXPECT_EQ(counts, c.counts);
  const auto listed = Sets(a.Suggestions);
  EXPECT_EQ(listed.size(), a.Suggestions.size()) << "a set was listed twice";
  for (const auto& set : listed) EXPECT_TRUE(c.allowed.count(set)) << "unexpected set";
  // The grid: header, then one row per suggestion.
  ASSERT_EQ(a.SuggestionGrid.RowCount(), 1 + static_cast<int>(a.Suggestions.size()));
  EXPECT_EQ(Row(a.SuggestionGrid, 0), (Strings{" # ", " Quant.", " Constraints to remove"}));
  for (std::size_t t = 0; t < a.Suggestions.size(); ++t) {
    const auto& sug = a.Suggestions[t];
    std::string text;
    for (int r : sug.constraints) text += (text.empty() ? "" : " + ") + std::to_string(r);
    if (sug.count == 0) text = kNoNeedToDrop;
    EXPECT_EQ(Row(a.SuggestionGrid, static_cast<int>(t) + 1),
              (Strings{std::to_string(t + 1), std::to_string(static_cast<int>(sug.count)), text}));
  }
  EXPECT_EQ(a.NewSolutionFound, c.end == SuggestionEnd::NoNeed);
  EXPECT_FALSE(d.busy);
}

TEST(SuggestionRun, SmallestSetsFirstThenTheRunEnds) {
  const std::vector<RunCase> cases = {
      {"two conflicting constraints", 5,
       {{"0", "1", "0", ">=", "0.7"}, {"0", "1", "0", "<=", "0.3"}},
       {1, 1}, {{1}, {2}}, SuggestionEnd::NoMoreAlternatives, {kNoMoreAlternatives}},
      // Two independent conflicts: four sets of two; all four, then none.
      {"two conflicts", 5,
       {{"0", "1", "0", ">=", "0.7"}, {"0", "1", "0", "<=", "0.3"},
        {"1", "0", "0", ">=", "0.9"}, {"1", "0", "0", "<=", "0.6"}},
       {2, 2, 2, 2}, {{1, 3}, {1, 4}, {2, 3}, {2, 4}}, SuggestionEnd::NoMoreAlternatives, {kNoMoreAlternatives}},
      {"max 3", 3,
       {{"0", "1", "0", ">=", "0.7"}, {"0", "1", "0", "<=", "0.3"},
        {"1", "0", "0", ">=", "0.9"}, {"1", "0", "0", "<=", "0.6"}},
       {2, 2, 2}, {{1, 3}, {1, 4}, {2, 3}, {2, 4}}, SuggestionEnd::MaxReached, {}},
      {"consistent", 5, {{"0", "1", "0", ">=", "0.7"}}, {0}, {{}}, SuggestionEnd::NoNeed, {}},
  };
  for (const auto& c : cases) CheckRun(c);
}

// Consistent information with an equality: its two halves, each shifted by
// 0.00001, are met once y = 0.00001 / 999 (about 1e-8), which lies within the
// search's integrality tolerance (1e-7) of 0, so nothing needs dropping.
TEST(SuggestionRun, ConsistentInformationWithAnEqualityNeedsNoDrop) {
  CheckRun({"consistent with an equality", 5, {{"0", "1", "-1", "=", "0"}}, {0}, {{}}, SuggestionEnd::NoNeed, {}});
}

// A run cancelled after its second suggestion leaves the window with what the
// earlier run showed, and the engine's files as they were.
TEST(SuggestionRun, CancelMidwayLeavesTheEarlierRunShown) {
  engine::ScratchEngineHost host;
  vesk::test::ScopedSolverHost scopedHost(host);
  Problem p = MakeProblem(2);
  for (const auto& row : std::vector<std::vector<std::string>>{{"0", "1", "0", ">=", "0.7"},
                                                               {"0", "1", "0", "<=", "0.3"},
                                                               {"1", "0", "0", ">=", "0.9"},
                                                               {"1", "0", "0", "<=", "0.6"}})
    AddConstraint(p, {row[0], row[1], row[2]}, row[3], row[4]);
  SortingState s = ListedState(p);
  InconsistencyAnalysis a;
  a.SetMaxSuggestions(3);
  ScriptedDialogs first;
  ASSERT_TRUE(BSuggestClick(p, s, a, first));
  ASSERT_EQ(a.Suggestions.size(), 3u);
  a.SetMaxSuggestions(5);
  const InconsistencyAnalysis before = a;
  const Problem problemBefore = p;
  const SortingState stateBefore = s;
  const auto filesBefore = test::FolderContents(host.WorkingFolder());
  ScriptedDialogs cancel;
  cancel.cancelAfterChecks = 2;
  EXPECT_FALSE(BSuggestClick(p, s, a, cancel));
  EXPECT_EQ(cancel.Texts(MessageKind::Information), (std::vector<std::string>{kComputationCancelled}));
  EXPECT_EQ(cancel.messages.size(), 1u);
  EXPECT_TRUE(a == before);
  EXPECT_TRUE(p == problemBefore);
  EXPECT_TRUE(s == stateBefore);
  EXPECT_EQ(test::FolderContents(host.WorkingFolder()), filesBefore);
  EXPECT_FALSE(cancel.busy);
}

TEST(SuggestionRun, MaxSuggestionsStaysWithinItsRange) {
  InconsistencyAnalysis a;
  EXPECT_EQ(a.MaxSuggestions, 5);
  for (auto [asked, kept] : std::vector<std::pair<int, int>>{{2, 3}, {3, 3}, {30, 30}, {31, 30}}) {
    a.SetMaxSuggestions(asked);
    EXPECT_EQ(a.MaxSuggestions, kept) << asked;
  }
}

TEST(SuggestionRun, StaleListIsNotUsedAfterAProblemChange) {
  Problem p = MakeProblem(2);
  AddConstraint(p, {"0", "1", "0"}, ">=", "0.7");
  SortingState s = ListedState(p);
  s.InconsistencyEnabled = true;
  p.ResultsAvailable = true;
  EXPECT_TRUE(InconsistencyCommandEnabled(p, s));
  p.ResetResults();
  EXPECT_FALSE(InconsistencyCommandEnabled(p, s));
  InconsistencyAnalysis a;
  ScriptedDialogs d;
  EXPECT_FALSE(BSuggestClick(p, s, a, d));
  EXPECT_TRUE(d.messages.empty());
  EXPECT_FALSE(InconsistencyItemClick(p, s, a, d, [] { ADD_FAILURE() << "window opened"; }));
}

TEST(AcceptStep, OnlyAFreshSolutionIsOfferedAndYesMakesItTheInferredVector) {
  Problem p = MakeProblem(2);
  AddConstraint(p, {"0", "1", "0"}, ">=", "0.7");
  SortingState s;
  ScriptedDialogs d;
  ASSERT_TRUE(CalcRangeItemClick(p, s, d));
  const std::vector<double> inferred = s.InferredParams;
  const Grid dgrid = s.DGrid;
  InconsistencyAnalysis a;
  ASSERT_TRUE(BSuggestClick(p, s, a, d));
  ASSERT_TRUE(a.NewSolutionFound);
  const std::vector<double> found = a.NewSolution;
  ASSERT_EQ(found.size(), 3u);
  EXPECT_GE(found[1], 0.7);
  EXPECT_NEAR(found[1] + found[2], 1.0, 1e-9);

  // Opening the window again forgets the earlier run.
  InconsistencyAnalysis reopened = a;
  OpenInconsistencyWindow(reopened);
  EXPECT_FALSE(AcceptNewSolution(p, s, reopened, d));
  EXPECT_TRUE(d.questions.empty());

  // No: nothing changes.
  InconsistencyAnalysis declined = a;
  EXPECT_FALSE(AcceptNewSolution(p, s, declined, d));
  EXPECT_EQ(d.questions, (Strings{kAcceptQuestion}));
  EXPECT_EQ(s.InferredParams, inferred);
  EXPECT_EQ(s.DGrid, dgrid);

  // Yes: the vector is taken, shown with "%g" and the robust command runs on it.
  d.AnswerConfirm(true);
  EXPECT_TRUE(AcceptNewSolution(p, s, a, d));
  EXPECT_EQ(s.InferredParams, found);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.DGrid.Cell(2, i), FormatG(found[i]));
  EXPECT_FALSE(s.KeepParameters);  // cleared by the command on its way out
}

TEST(AcceptStep, GFormatHasSixSignificantDigits) {
  const std::vector<std::pair<double, std::string>> cases = {
      {0.7000100000001, "0.70001"}, {0.123456789, "0.123457"}, {-0.0, "0"}, {1e-7, "1e-07"}, {2, "2"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatG(value), text) << value;
}

// The example problems: the robust command finds the inconsistency, then one
// run lists the expected counts, each set one the reference allows.
TEST(SuggestionExamples, CountsAndSetsOfTheExpectedRuns) {
  auto dir = vesk::test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(*dir)) {
    const auto path = entry.path();
    if (path.extension() != ".tri") continue;
    auto expectedPath = path;
    expectedPath.replace_extension(".expected.json");
    std::ifstream in(expectedPath);
    if (!in) continue;
    const auto expected = nlohmann::json::parse(in);
    if (!expected.contains("suggest")) continue;
    SCOPED_TRACE(path.filename().string());

    Problem p;
    ScriptedDialogs d;
    ASSERT_TRUE(ReadProblemFile(p, d, path.string()));
    for (const auto& flag : expected["flags"]) {
      if (flag == "--no-veto") p.UsevjDown = false, p.UseujDown = false;
      if (flag == "--uj") p.UseujDown = true;
    }
    SortingState s;
    ASSERT_TRUE(CalcRangeItemClick(p, s, d));
    ASSERT_TRUE(InconsistencyCommandEnabled(p, s));
    InconsistencyAnalysis a;
    a.SetMaxSuggestions(expected["suggest_max"].get<int>());
    d.ClearRecord();
    ASSERT_TRUE(BSuggestClick(p, s, a, d));

    const auto& rows = expected["suggest"];
    ASSERT_EQ(a.Suggestions.size(), rows.size());
    const double last = rows.back()["count"].get<double>();
    std::multiset<std::vector<int>> expectedBelow, listedBelow;
    for (std::size_t t = 0; t < rows.size(); ++t) {
      EXPECT_EQ(a.Suggestions[t].count, rows[t]["count"].get<double>()) << "row " << t + 1;
      if (rows[t]["count"].get<double>() < last)
        expectedBelow.insert(rows[t]["constraints"].get<std::vector<int>>());
    }
    std::set<std::vector<int>> lastLevel;
    for (const auto& set : expected["suggest_last_level"]) lastLevel.insert(set.get<std::vector<int>>());
    for (const auto& sug : a.Suggestions) {
      if (sug.count < last) listedBelow.insert(sug.constraints);
      else EXPECT_TRUE(lastLevel.count(sug.constraints)) << "set not allowed at the last count";
    }
    EXPECT_EQ(listedBelow, expectedBelow);
    EXPECT_EQ(Sets(a.Suggestions).size(), a.Suggestions.size());
    const std::string end = expected["suggest_end"];
    const SuggestionEnd wanted = end == "no_more_alternatives" ? SuggestionEnd::NoMoreAlternatives
                                 : end == "max"                ? SuggestionEnd::MaxReached
                                                               : SuggestionEnd::NoNeed;
    EXPECT_EQ(a.End, wanted);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace vesk::core
