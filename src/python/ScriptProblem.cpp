#include "ScriptProblem.h"

#include <set>

#include "core/analysis/Inconsistency.h"
#include "core/problem/Numbers.h"
#include "core/problem/ProblemFile.h"
#include "core/sorting/ConstraintDescription.h"
#include "core/sorting/InferenceProgram.h"
#include "core/sorting/Report.h"
#include "core/sorting/ResultView.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::python {
namespace {

std::vector<std::string> ActionNames(const core::Problem& p) {
  std::vector<std::string> names;
  for (int a = 1; a <= p.NumActions; ++a) names.push_back(p.AGrid.CellOrEmpty(a, 0));
  return names;
}

// The robust-assignment command on copies; the problem and its results take
// the copies' place only when the command ran to its end.
std::vector<Message> RunRobust(ScriptProblem& sp) {
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  core::Problem problem = sp.problem;
  core::SortingState state = sp.state;
  const bool ran = RunReleased(cancel, dialogs, [&](ScriptDialogs& d, engine::EngineHost&) {
    return core::CalcRangeItemClick(problem, state, d);
  });
  if (!ran) throw ProblemFailure(dialogs.messages);
  sp.problem = std::move(problem);
  sp.state = std::move(state);
  Warn(dialogs);
  return dialogs.messages;
}

// The results of the current problem, computed when there are none.
std::vector<Message> EnsureResults(ScriptProblem& sp) {
  if (sp.HasResults()) return {};
  return RunRobust(sp);
}

}  // namespace

bool ScriptProblem::HasResults() const {
  return problem.ResultsAvailable && state.Generation == problem.ResultsGeneration &&
         state.InferredCategory.size() == static_cast<std::size_t>(problem.NumActions);
}

void ScriptProblem::Edited() {
  problem.DataModified = true;
  problem.ResetResults();
}

int ActionRow(const core::Problem& p, py::handle key) {
  if (py::isinstance<py::str>(key)) {
    const std::string name = key.cast<std::string>();
    int found = 0;
    for (int a = 1; a <= p.NumActions; ++a) {
      if (p.AGrid.CellOrEmpty(a, 0) != name) continue;
      if (found) throw py::key_error("several actions are named '" + name + "': give the action's index");
      found = a;
    }
    if (!found) throw py::key_error("no action is named '" + name + "'");
    return found;
  }
  if (!PyIndex_Check(key.ptr())) throw py::type_error("an action is given by its 0-based index or its name");
  const auto index = key.cast<long long>();
  const long long m = p.NumActions;
  const long long i = index < 0 ? index + m : index;
  if (i < 0 || i >= m) throw py::index_error("action index " + std::to_string(index) + " out of range (" +
                                             std::to_string(m) + " actions)");
  return static_cast<int>(i) + 1;
}

int ParameterIndex(const core::Problem& p, py::handle key) {
  const int n = p.NumCriteria;
  if (py::isinstance<py::str>(key)) {
    const std::string name = key.cast<std::string>();
    if (name == "lambda") return 0;
    // "k<j>", j = 1..n (digits only).
    if (name.size() > 1 && name.size() < 5 && name[0] == 'k' &&
        name.find_first_not_of("0123456789", 1) == std::string::npos) {
      const int j = std::stoi(name.substr(1));
      if (j >= 1 && j <= n) return j;
    }
    int found = 0;
    for (int j = 1; j <= n; ++j) {
      if (p.FGrid.CellOrEmpty(0, j) != name) continue;
      if (found) throw py::key_error("several criteria are named '" + name + "': use k" + std::to_string(found));
      found = j;
    }
    if (!found) throw py::key_error("no parameter '" + name + "': use lambda, k1..k" + std::to_string(n) +
                                    " or a criterion's name");
    return found;
  }
  if (!PyIndex_Check(key.ptr())) throw py::type_error("a parameter is given by its name (lambda, k1, ...) or index");
  const auto index = key.cast<long long>();
  if (index < 0 || index > n) throw py::key_error("parameter index " + std::to_string(index) + " out of range 0.." +
                                                  std::to_string(n));
  return static_cast<int>(index);
}

std::vector<std::string> ParameterKeys(const core::Problem& p) {
  std::vector<std::string> keys{"lambda"};
  std::set<std::string> seen{"lambda"};
  bool names = true;
  for (int j = 1; j <= p.NumCriteria && names; ++j) {
    const std::string& name = p.FGrid.CellOrEmpty(0, j);
    names = !name.empty() && seen.insert(name).second;
  }
  for (int j = 1; j <= p.NumCriteria; ++j)
    keys.push_back(names ? p.FGrid.CellOrEmpty(0, j) : core::ParameterName(j));
  return keys;
}

RobustResult Robust(ScriptProblem& sp) {
  RobustResult r;
  r.messages = RunRobust(sp);
  r.summary = core::SummarizeRobust(sp.problem, sp.state, true);
  r.actions = ActionNames(sp.problem);
  r.parameterKeys = ParameterKeys(sp.problem);
  return r;
}

py::dict Solution(ScriptProblem& sp, py::handle action, int category) {
  const int a = ActionRow(sp.problem, action);
  EnsureResults(sp);
  if (const auto refusal = core::AssignmentRefusal(sp.problem, sp.state, a, category)) throw ProblemFailure(*refusal);
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  const core::Problem problem = sp.problem;
  core::SortingState state = sp.state;
  const bool shown = RunReleased(cancel, dialogs, [&](ScriptDialogs& d, engine::EngineHost&) {
    return core::ShowAssignmentSolution(problem, state, d, a, category);
  });
  Conclude(shown, dialogs);
  sp.state = std::move(state);
  return ParameterDict(ParameterKeys(sp.problem), sp.state.SelectedParams);
}

SuggestResult Suggest(ScriptProblem& sp, int maxSuggestions) {
  if (maxSuggestions < core::kMinSuggestions || maxSuggestions > core::kMaxSuggestions)
    throw py::value_error("max_suggestions must lie in " + std::to_string(core::kMinSuggestions) + ".." +
                          std::to_string(core::kMaxSuggestions));
  SuggestResult out;
  out.messages = EnsureResults(sp);
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  core::InconsistencyAnalysis analysis;
  analysis.SetMaxSuggestions(maxSuggestions);
  core::OpenInconsistencyWindow(analysis);
  const core::Problem problem = sp.problem;
  const core::SortingState state = sp.state;
  const bool ran = RunReleased(cancel, dialogs, [&](ScriptDialogs& d, engine::EngineHost&) {
    return core::BSuggestClick(problem, state, analysis, d);
  });
  Conclude(ran, dialogs);
  out.messages.insert(out.messages.end(), dialogs.messages.begin(), dialogs.messages.end());
  for (const auto& s : analysis.Suggestions) {
    SuggestionItem item;
    item.number = s.number;
    item.count = static_cast<long long>(s.count);
    item.constraints = s.constraints;
    for (int r : s.constraints) item.descriptions.push_back(core::DescribeConstraintRow(sp.problem, sp.state, r));
    out.items.push_back(std::move(item));
  }
  switch (analysis.End) {
    case core::SuggestionEnd::NoNeed: out.end = "no_need"; break;
    case core::SuggestionEnd::NoMoreAlternatives: out.end = "no_more_alternatives"; break;
    default: out.end = "max"; break;
  }
  if (analysis.NewSolutionFound) out.newSolution = analysis.NewSolution;
  out.parameterKeys = ParameterKeys(sp.problem);
  return out;
}

VolumeOutcome Volume(ScriptProblem& sp, int precision, std::optional<std::uint32_t> seed) {
  if (precision < core::kVolumeMinPrecision || precision > core::kVolumeMaxPrecision)
    throw py::value_error("precision must lie in " + std::to_string(core::kVolumeMinPrecision) + ".." +
                          std::to_string(core::kVolumeMaxPrecision));
  CancelCheck cancel;
  ScriptDialogs dialogs(cancel);
  core::Problem problem = sp.problem;
  core::SortingState state;  // the volume's own example rows; the robust results stay
  core::VolumeWindow window;
  window.SetPrecision(precision);
  const auto result = RunReleased(cancel, dialogs, [&](ScriptDialogs& d, engine::EngineHost&) {
    std::optional<core::VolumeResult> r;
    if (core::VolumeComputationItemClick(problem, state, window, d))
      r = core::StartSimulationClick(problem, state, window, d, seed);
    return r;
  });
  if (!result) throw ProblemFailure(dialogs.messages);
  sp.problem = std::move(problem);
  Warn(dialogs);
  VolumeOutcome out;
  out.result = *result;
  out.stderr_ = core::VolumeStandardError(*result);
  out.messages = dialogs.messages;
  return out;
}

void Report(ScriptProblem& sp, const std::string& path) {
  EnsureResults(sp);
  if (!core::WriteReportFile(sp.problem, sp.state, path)) throw ProblemFailure(core::kDiskWriteError);
}

}  // namespace vesk::python
