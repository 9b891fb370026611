#include "core/problem/NewProblem.h"

#include <algorithm>

#include "core/problem/Numbers.h"
#include "core/problem/ProblemFile.h"

namespace vesk::core {

namespace {

std::string TooHigh(int maximum) { return "Number is too high: at most " + std::to_string(maximum); }

}  // namespace

std::optional<std::string> CheckNewProblemField(std::string_view text, int maximum) {
  if (text.empty()) return "You must enter a value";
  const bool digitsOnly = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const auto value = ParseInt(text);
  if (!value) {
    // A long run of digits is a number, only too large for any field.
    if (digitsOnly) return TooHigh(maximum);
    return "Invalid number";
  }
  if (*value > maximum) return TooHigh(maximum);
  if (*value < 2) return "Number is too low";
  return std::nullopt;
}

bool NewProblemFieldKeyAccepted(char32_t key) { return (key >= U'0' && key <= U'9') || key == U'\b'; }

bool CreateNewProblem(Problem& problem, UserDialogs& dialogs, const NewProblemFields& fields) {
  const auto n = ParseInt(fields.criteria);
  if (!n) {
    dialogs.Error("Assertion violated: No. Criteria is invalid");
    return false;
  }
  const auto m = ParseInt(fields.alternatives);
  if (!m) {
    dialogs.Error("Assertion violated: No. Actions is invalid");
    return false;
  }
  const auto K = ParseInt(fields.categories);
  if (!K) {
    dialogs.Error("Assertion violated: No. Categories is invalid");
    return false;
  }
  if (*n > kMaxCriteria) {
    dialogs.Error("Maximum number of criteria exceeded");
    return false;
  }
  // The dialog checks each field as it is left; a count that still lies
  // outside its range (a field never left, or a caller without the dialog)
  // would build a broken problem, so it is refused here as well.
  for (auto [text, maximum] : {std::pair{std::string_view(fields.criteria), kMaxNewCriteria},
                               std::pair{std::string_view(fields.alternatives), kMaxNewAlternatives},
                               std::pair{std::string_view(fields.categories), kMaxNewCategories}}) {
    if (auto message = CheckNewProblemField(text, maximum)) {
      dialogs.Error(*message);
      return false;
    }
  }

  LayoutTables(problem, *n, *m, *K, /*withDefaults=*/true);
  problem.ResetResults();
  problem.Caption = kTitle;
  // The new problem has no file yet: Save As proposes none of the old one.
  problem.SaveFileName = Problem{}.SaveFileName;
  problem.DataModified = false;
  return true;
}

bool NewCommand(Problem& problem, UserDialogs& dialogs,
                const std::function<std::optional<NewProblemFields>()>& showDialog) {
  if (!SaveBeforeReplacing(problem, dialogs)) return false;
  const auto fields = showDialog();
  if (!fields) return false;
  return CreateNewProblem(problem, dialogs, *fields);
}

}  // namespace vesk::core
