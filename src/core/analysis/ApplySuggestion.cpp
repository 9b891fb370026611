#include "core/analysis/ApplySuggestion.h"

#include <functional>
#include <set>
#include <string>

#include "core/problem/Numbers.h"
#include "core/problem/StructuralEdits.h"
#include "core/sorting/ConstraintDescription.h"
#include "core/sorting/InferenceProgram.h"

namespace vesk::core {

namespace {

// Whether example row `row` of the list, of action a, is the example's lower
// side ("C(a)>=low"): an action's rows are consecutive, the lower one first.
bool IsLowerSide(const Problem& p, const SortingState& s, int row, int a) {
  const auto before = row > 1 ? ConstraintRowOrigin(p, s, row - 1) : std::nullopt;
  const bool first = !before || before->kind != ConstraintOriginKind::Example || before->index != a;
  const auto low = ParseInt(p.AGrid.CellOrEmpty(a, 1));
  return first && low && ExampleHasLowerRow(*low);
}

}  // namespace

bool ApplySuggestion(Problem& p, const SortingState& s, const Suggestion& suggestion, UserDialogs& dialogs) {
  if (suggestion.constraints.empty()) return false;
  std::set<int> lowSides, highSides, lowerBounds, upperBounds;
  std::set<int, std::greater<>> added;  // CGrid rows, the last first
  for (int r : suggestion.constraints) {
    const auto origin = ConstraintRowOrigin(p, s, r);
    if (!origin) {
      dialogs.Error("Constraint " + std::to_string(r) +
                    " of the list no longer belongs to the problem: nothing was removed. Run Robust Assignments "
                    "again.");
      return false;
    }
    switch (origin->kind) {
      case ConstraintOriginKind::Example:
        (IsLowerSide(p, s, r, origin->index) ? lowSides : highSides).insert(origin->index);
        break;
      case ConstraintOriginKind::Added: added.insert(origin->index); break;
      case ConstraintOriginKind::LowerBound: lowerBounds.insert(origin->index); break;
      case ConstraintOriginKind::UpperBound: upperBounds.insert(origin->index); break;
    }
  }
  for (int a : lowSides) p.AGrid.SetCell(a, 1, "1");
  for (int a : highSides) p.AGrid.SetCell(a, 2, std::to_string(p.NumCategories));
  for (int v : lowerBounds) p.BGrid.SetCell(1, 1 + v, "0");
  for (int v : upperBounds) p.BGrid.SetCell(2, 1 + v, "1");
  for (int row : added) RemoveConstraint(p, row - 1);
  p.DataModified = true;
  p.ResetResults();
  return true;
}

}  // namespace vesk::core
