#pragma once
// "Apply" in the inconsistency window: the constraints of one suggestion taken
// out of the problem, each where the person gave it.
#include "core/analysis/Inconsistency.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

// Removes the constraints of `suggestion` (rows of state.IGrid) from the
// problem, each at its origin:
//   an example row   the example's side widens: ELow 1 for "C(a)>=h", EHigh K
//                    for "C(a)<=h" (the other side of the example stays);
//   an added row     the constraint is deleted from CGrid as "Delete
//                    constraint" deletes it (both rows of an '=' constraint);
//   a bound row      the bound widens to 0 (lower) or 1 (upper), where the
//                    bound no longer makes a row of the list.
// Everything or nothing: when a row's origin cannot be told (the list no
// longer belongs to the problem), an error is shown and the problem is left
// as it was. Returns true when the problem changed (it is then modified and
// its results reset).
bool ApplySuggestion(Problem& problem, const SortingState& state, const Suggestion& suggestion,
                     UserDialogs& dialogs);

}  // namespace vesk::core
