#pragma once
// The inference program: assignment examples become linear rows over
// (lambda, k_1..k_n) (ICGrid), gathered with the added constraints and the
// non-trivial bounds into one table relaxed by a common alpha (IPGrid), which is
// stated through the solver interface and minimises alpha.
//
// Tables:
//   ICGrid  n+4 columns: description, lambda, k1..kn, "<,=,>", "RHS"; every
//           generated row reads coefficients . (lambda, k) >= RHS.
//   IPGrid  n+6 columns: "Descr", "alpha" ("1" or "-1"), lambda, k1..kn,
//           "<,=,>" (">=" or "<="), "RHS", "Error".
// InferenceProgramLoad.h states IPGrid through the solver interface.
#include <string>

#include "core/problem/ParameterNames.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/Outranking.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

inline constexpr double kOutrankingMargin = 0.0001;    // non-outranking rows: lambda - sigma >= this
inline constexpr double kConsistencyTolerance = 0.00001;
inline constexpr double kNegligibleInconsistency = 0.0001;
inline constexpr double kAlphaUpperBound = 999;
inline constexpr int kMaxMarkedRows = 255;              // rows that get an Error value and a mark

// The rows an assignment example [low, high] gives, in this order: "C(a)>=low"
// when low > 1, "C(a)<=high" when high < K.
inline bool ExampleHasLowerRow(int low) { return low > 1; }
inline bool ExampleHasUpperRow(int high, int K) { return high > 0 && high < K; }

// Rebuilds ICGrid and NumExampleConstraints from the assignment examples, with
// the "Symmetric constraints" warning for an example whose two rows contradict
// each other. The first overload reads the tables first and throws
// ConversionError (nothing changed) for a cell that does not convert.
void BuildExampleConstraints(const Problem& problem, SortingState& state, UserDialogs& dialogs);
void BuildExampleConstraints(const SortingData& data, SortingState& state, UserDialogs& dialogs);

// Rebuilds IPGrid from ICGrid, CGrid (the Norm row skipped) and the bounds
// tighter than [0, 1]. Throws ConversionError for a bound that does not convert.
void BuildInferenceGrid(const Problem& problem, SortingState& state);

// Writes the Error column ("%.5g") of every IPGrid data row at InferredParams
// and fills ViolatedRows, when IPGrid has 1..255 data rows.
void WriteInferenceErrors(const Problem& problem, SortingState& state);

}  // namespace vesk::core
