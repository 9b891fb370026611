#pragma once
// The progress output of one simplex run, written at the boundaries of its
// stages: console lines, fields and colours, and the lines of "LP.LOG". In
// quiet mode (the search's node runs) only the log and the numerical warnings
// are written.
#include <string_view>

#include "engine/EngineModel.h"

namespace vesk::engine {

class SimplexReporter {
 public:
  explicit SimplexReporter(EngineModel& model) : M(model) {}

  // The candidate count of the last block scan.
  void Candidates();
  // A candidate set aside for a small pivot element.
  void Rejected();
  // A larger pivot element found while the set-aside candidates are retried.
  void BestPivot(const ColumnRecord& column, double pivot);
  // Stalling that the perturbation could not end.
  void NumericalProblems();
  // Every retried pivot was zero on a fresh inverse.
  void IterationStopped();
  // The run stops on a limit or a cancel.
  void Cancelled();
  // A column that can move without limit towards an infinite bound.
  void UnboundedColumn(const ColumnRecord& column);
  // Before the verdict is established: the last iteration log line and the
  // candidate count.
  void RunEnding();
  // The verdict: "PROBLEM IS INFEASIBLE" with the count and sum of the
  // infeasibilities, or "OPTIMAL SOLUTION" with the objective, the elapsed
  // time and "UNFINISHED" after a stop.
  void Verdict();

 private:
  EngineModel& M;
};

}  // namespace vesk::engine
