#pragma once
// The robust-assignment command: for every action the lowest and highest
// category some admissible parameter vector gives it, the unreachable
// categories inside that range, the order of the actions by the width of their
// range and the geometric-mean robustness index.
#include <string>
#include <vector>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/Outranking.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

// Shown once per command when a parameter-space program turns out infeasible
// (the information is consistent only within the consistency tolerance).
inline constexpr const char* kNoExactVector =
    "The information admits no parameter vector exactly (its inconsistency is negligible): "
    "the ranges shown are those of the inferred vector";

// The whole command ("&Robust Assignments"). True when it ran to its end, the
// ranges or the inconsistent outcome being shown; false when it stopped with a
// message. On every way out the busy cursor and the progress panel are
// removed and KeepParameters is cleared. When the person cancels (see
// UserDialogs::CancelRequested) the problem and the state are put back as they
// were before the command, "Computation cancelled" is shown and it returns false.
bool CalcRangeItemClick(Problem& problem, SortingState& state, UserDialogs& dialogs);

// Actions (0-based) by decreasing range width, ties in input order. Throws
// ProgramError ("problem in sorting by variability") unless every action is
// placed exactly once.
std::vector<int> SortByVariability(const std::vector<int>& worst, const std::vector<int>& best, int K);

// (product over the actions of (best - worst + 1)) ^ (1/m); m must be > 0.
long double RobustnessIndex(const std::vector<int>& worst, const std::vector<int>& best);

// Writes the index label ("%.3f") and, when the label held an earlier index,
// the difference label "variation = %.3f (%.1f%)".
void ShowRobustnessIndex(SortingState& state, long double index);

// Per action (0-based) the categories marked as holes in RGrid.
std::vector<std::vector<int>> HoleCategories(const SortingState& state, int K);

// One action's (0-based) worst, inferred and best category as the report and
// the CSV export write them: decimal numbers; worst and best empty when the
// information is not consistent, any of them empty when its array stops short
// of the action (the results of an interrupted command).
struct CategoryTexts {
  std::string worst, inferred, best;
};
CategoryTexts ActionCategoryTexts(const SortingState& state, int action);

}  // namespace vesk::core
