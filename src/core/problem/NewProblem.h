#pragma once
// The New command: the New Problem dialog's fields and their checks, and the
// creation of a problem of the chosen size.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

// The three fields of the New Problem dialog, as typed.
struct NewProblemFields {
  std::string alternatives = "2", criteria = "2", categories = "2";
};

// Largest accepted value of each field; every field accepts 2 at least.
inline constexpr int kMaxNewAlternatives = 1000;
inline constexpr int kMaxNewCriteria = 12;
inline constexpr int kMaxNewCategories = 20;

// The check made on leaving a field: "You must enter a value", "Invalid
// number", "Number is too high" (above `maximum`) or "Number is too low"
// (below 2); nothing when the text is valid.
std::optional<std::string> CheckNewProblemField(std::string_view text, int maximum);

// Keys the dialog's fields accept as typed: digits and Backspace.
bool NewProblemFieldKeyAccepted(char32_t key);

// Creates the problem from the dialog's fields (after OK). A count that is not
// an integer ("Assertion violated: No. Criteria is invalid" and its siblings),
// 20 criteria or more ("Maximum number of criteria exceeded"), or a count
// outside its field's range (the field check's message) keeps the previous
// problem and returns false. On success the tables hold New's defaults, the
// caption is the bare title, the save dialog's name is back to its first
// ("output"), DataModified is cleared and ResetResults is called.
bool CreateNewProblem(Problem& problem, UserDialogs& dialogs, const NewProblemFields& fields);

// The whole New command: "Save current files?" when DataModified is set (Yes
// saves through SaveData; Cancel, or a save cancelled or failed, stops New
// with the problem kept), then the dialog (`showDialog` returns the fields on
// OK, nothing otherwise), then the creation. True when a problem was created.
bool NewCommand(Problem& problem, UserDialogs& dialogs,
                const std::function<std::optional<NewProblemFields>()>& showDialog);

}  // namespace vesk::core
