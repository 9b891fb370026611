#pragma once
// The problem a Python script holds: core's problem tables and, beside them,
// the results of its last robust assignments; and the ways Python values name
// its actions and parameters.
#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "Results.h"
#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"

namespace vesk::python {

namespace py = pybind11;

struct ScriptProblem {
  core::Problem problem;
  core::SortingState state;  // the results of the last robust assignments

  // The results in `state` are those of the problem as it is now.
  bool HasResults() const;

  // A change made from Python, as an edit in the window makes it.
  void Edited();
};

// AGrid row (1..m) of an action given by its 0-based index (negative counts
// from the end) or by its name. IndexError, KeyError, TypeError otherwise.
int ActionRow(const core::Problem& problem, py::handle key);

// Parameter index (0 lambda, j k_j) of "lambda", "k<j>", a criterion's name or
// an integer 0..n. KeyError or TypeError otherwise.
int ParameterIndex(const core::Problem& problem, py::handle key);

// The keys under which parameters are reported: "lambda", then the criteria's
// names when they are distinct, not empty and not "lambda"; else "k1".."kn".
std::vector<std::string> ParameterKeys(const core::Problem& problem);

// The commands, each run with the interpreter lock released; a command that
// stops with a message raises ProblemError and leaves the problem as it was.
RobustResult Robust(ScriptProblem& sp);
py::dict Solution(ScriptProblem& sp, py::handle action, int category);
SuggestResult Suggest(ScriptProblem& sp, int maxSuggestions);
VolumeOutcome Volume(ScriptProblem& sp, int precision, std::optional<std::uint32_t> seed);
void Report(ScriptProblem& sp, const std::string& path);

void RegisterProblem(py::module_& m);

}  // namespace vesk::python
