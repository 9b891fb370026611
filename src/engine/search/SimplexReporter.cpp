#include "engine/search/SimplexReporter.h"

#include <cstdio>
#include <string>

#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

// Console colours of the verdicts.
constexpr int kInfeasibleColour = 4, kOptimalColour = 14, kNormalColour = 7;

}  // namespace

void SimplexReporter::Candidates() {
  if (!M.quiet && ConsoleOn(M)) ConsoleField(M, kFieldCandidates, std::to_string(M.candidateCount));
}

void SimplexReporter::Rejected() {
  if (!M.quiet) ConsoleNamed(M, "Memo", ".");
}

void SimplexReporter::BestPivot(const ColumnRecord& column, double pivot) {
  if (M.quiet || !ConsoleOn(M)) return;
  if (ConsoleLineCount(M) > 1) ConsoleLine(M, "");
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", pivot);
  ConsoleLine(M, "PIVOT PROBLEM: BEST PIVOT " + column.name + " " + buf);
}

void SimplexReporter::NumericalProblems() { ConsoleLine(M, "Numerical Problems"); }

void SimplexReporter::IterationStopped() { ConsoleLine(M, "Numerical Problems: Iteration stopped."); }

void SimplexReporter::Cancelled() {
  if (M.logFile) WriteLog(M, "Solution cancelled");
}

void SimplexReporter::UnboundedColumn(const ColumnRecord& column) {
  ConsoleLine(M, "VARIABLE " + column.name + " is unbounded !");
  if (M.logFile) WriteLog(M, "Variable " + column.name + " is unbounded");
}

void SimplexReporter::RunEnding() {
  if (M.iterLog == 0 && !M.quiet) IterationLogLine(M, "", "");
  Candidates();
}

void SimplexReporter::Verdict() {
  if (!M.quiet && ConsoleOn(M)) {
    std::string text;
    char buf[64];
    int colour;
    if (M.infeasCount > 0) {
      colour = kInfeasibleColour;
      std::snprintf(buf, sizeof buf, "%g", M.infeasSum);
      text = "PROBLEM IS INFEASIBLE nINF=" + std::to_string(M.infeasCount) + " INF=" + buf;
    } else {
      colour = kOptimalColour;
      std::snprintf(buf, sizeof buf, " %14.6f", M.objectiveValue);
      text = std::string("OPTIMAL SOLUTION") + buf;
    }
    ConsoleColour(M, colour);
    if (ConsoleLineCount(M) > 1) ConsoleLine(M, "");
    ConsoleLine(M, text);
    ConsoleLine(M, "Elapsed Time " + ElapsedText(M.ElapsedSeconds()));
    if (M.errorFlag) ConsoleLine(M, "UNFINISHED");
  }
  ConsoleColour(M, kNormalColour);
}

}  // namespace vesk::engine
