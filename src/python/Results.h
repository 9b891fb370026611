#pragma once
// What the module's computations return: snapshots of their outcome, kept
// apart from the problem (a later change to the problem does not alter them).
#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

#include "Computation.h"
#include "core/analysis/Volume.h"
#include "core/sorting/RobustSummary.h"

namespace vesk::python {

// problem.robust()
struct RobustResult {
  core::RobustSummary summary;
  std::vector<std::string> actions;        // names, in input order
  std::vector<std::string> parameterKeys;  // "lambda", then one key per weight
  std::vector<Message> messages;
};

// One suggestion: the constraints (1-based rows of the constraint list) whose
// removal makes the rest consistent, and what each of them says.
struct SuggestionItem {
  int number = 0;
  long long count = 0;
  std::vector<int> constraints;
  std::vector<std::string> descriptions;
};

// problem.suggest()
struct SuggestResult {
  std::vector<SuggestionItem> items;
  std::string end;  // "no_need", "no_more_alternatives" or "max"
  std::optional<std::vector<double>> newSolution;  // when nothing needs dropping
  std::vector<std::string> parameterKeys;
  std::vector<Message> messages;
};

// problem.volume()
struct VolumeOutcome {
  core::VolumeResult result;
  double stderr_ = 0.0;
  std::vector<Message> messages;
};

// {key: value} of a parameter vector (lambda first).
pybind11::dict ParameterDict(const std::vector<std::string>& keys, const std::vector<double>& values);

void RegisterResults(pybind11::module_& m);

}  // namespace vesk::python
