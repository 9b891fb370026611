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
//   Program columns: 1 alpha+, 2 alpha-, 3 lambda, 4.. k_1..k_n; rows 1..D the
//           IPGrid data rows, row D+1 the weight sum.
#include <string>

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

// Refuses (error message naming the row, false) a CGrid constraint row whose
// sign cell does not start with '<', '=' or '>'; every row is checked.
bool CheckConstraintSigns(const Problem& problem, UserDialogs& dialogs);

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

// States IPGrid as the inference program (LpSetSize .. objective). Returns 0,
// or -1 after showing the message of the refused call. An empty coefficient
// cell is rewritten as "0"; a cell that does not convert throws ConversionError.
int LoadInferenceProgram(const Problem& problem, SortingState& state, UserDialogs& dialogs);

// Parameter i (0 lambda, j k_j) of the last solved inference program (its
// LP column i+3; the solver interface reads it back inside its bounds [0, 1]).
double InferredValue(int i);

// Writes the Error column ("%.5g") of every IPGrid data row at InferredParams
// and fills ViolatedRows, when IPGrid has 1..255 data rows.
void WriteInferenceErrors(const Problem& problem, SortingState& state);

// The "k%d" header text of weight j, "lambda" for j = 0.
std::string ParameterName(int j);

}  // namespace vesk::core
