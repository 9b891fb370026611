#pragma once
// The inference program as it is stated through the solver interface, from
// IPGrid (see InferenceProgram.h), minimising alpha:
//   columns 1 alpha+, 2 alpha-, 3 lambda, 4.. k_1..k_n (alpha in [0, 999],
//           the parameters in [0, 1]);
//   rows    1..D the IPGrid data rows, row D+1 the weight sum.
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

// States IPGrid as the inference program (LpSetSize .. objective). Returns 0,
// or -1 after showing the message of the refused call. An empty coefficient
// cell is rewritten as "0"; a cell that does not convert throws ConversionError.
int LoadInferenceProgram(const Problem& problem, SortingState& state, UserDialogs& dialogs);

// Parameter i (0 lambda, j k_j) of the last solved inference program (its
// LP column i+3; the solver interface reads it back inside its bounds [0, 1]).
double InferredValue(int i);

}  // namespace vesk::core
