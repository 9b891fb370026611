#pragma once
// What the robust-assignment command and its neighbours compute and keep
// beside the problem: the derived tables, the inferred vector, the per-action
// ranges and the flags the result views and the report read.
#include <set>
#include <string>
#include <vector>

#include "core/problem/Grid.h"

namespace vesk::core {

struct SortingState {
  // Derived tables (rebuilt by a robust-assignment command that rebuilds).
  Grid ICGrid;  // example constraints: n+4 columns
  Grid IPGrid;  // inference program: n+6 columns
  Grid IGrid;   // the inconsistency window's constraint list: n+5 columns
  int NumExampleConstraints = 0;

  // Output tables.
  Grid RGrid;   // m+1 rows, K+1 columns, input order
  Grid ORGrid;  // the same rows in VariabilityOrder
  Grid DGrid;   // header, row 1 selected assignment's vector, row 2 InferredParams

  // Inference.
  std::vector<double> InferredParams;  // n+1: lambda, k_1..k_n
  double InconsistencyMeasure = 0.0;   // alpha*
  bool Consistent = true;
  bool KeepParameters = false;
  std::set<int> ViolatedRows;          // IPGrid data row r is element r-1 (0..255)

  // Per action (index = action number - 1).
  std::vector<int> InferredCategory;
  std::vector<int> WorstCategory;
  std::vector<int> BestCategory;
  std::vector<int> VariabilityOrder;

  // The vector of the last selected assignment (DGrid row 1 shows it with
  // "%.5g"), with the alpha it needed; empty when none is shown.
  std::vector<double> SelectedParams;
  double SelectedAlpha = 0.0;

  // Parameter-space programs the last robust-assignment command solved.
  long long ParameterSpaceSolves = 0;

  // Robustness index labels ("Indices" tab).
  std::string IndexText = "0";
  std::string VariationText;

  // Command and view state the window shows.
  bool InconsistencyEnabled = false;       // the "&Inconsistency" menu command
  bool VariabilityOrderEnabled = true;     // "by &Variability Order"
  bool ShowVariabilityOrder = false;       // false: "by &Input Order" ticked
  bool OutputShown = false;                // the output page control
  bool InferredConstraintsTabShown = false;
  bool IndicesTabShown = false;

  // Problem::ResultsGeneration when these results were made; results whose
  // generation differs from the problem's belong to an earlier problem.
  unsigned long long Generation = 0;

  bool operator==(const SortingState&) const = default;
};

}  // namespace vesk::core
