#pragma once
// The parameter-space program of the robust bounds: the admissible vectors
// (lambda, k_1..k_n), every constraint holding exactly, without the inference
// program's alpha. The robust-assignment command states it once and then only
// changes the objective from one search to the next.
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

// States the parameter space: columns lambda, k_1..k_n; the CGrid rows (Norm
// row included) and the example rows of ICGrid, every one to hold exactly; the
// bounds of BGrid. Returns 0, or -1 after showing the refused call's message.
// Empty coefficient cells are rewritten as "0".
int LoadParameterSpace(Problem& problem, SortingState& state, UserDialogs& dialogs);

}  // namespace vesk::core
