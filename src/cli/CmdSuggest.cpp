// vesk-cli suggest FILE.tri: runs the robust-assignment command and then one
// suggestion run of the inconsistency analysis on its constraint list.
#include <algorithm>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/SortingCommand.h"
#include "cli/Command.h"
#include "core/sorting/ConstraintDescription.h"
#include "core/analysis/Inconsistency.h"
#include "core/problem/ProblemFile.h"
#include "core/sorting/RobustAssignments.h"
#include "core/sorting/SortingState.h"

namespace vesk::cli {
namespace {

struct SuggestOptions {
  std::string file;
  int max = 5;
  bool json = false;
  ThresholdSwitches switches;
};

void PrintTable(const core::Problem& problem, const core::SortingState& state, const core::InconsistencyAnalysis& a,
                std::ostream& out) {
  const core::Grid& g = a.SuggestionGrid;
  for (int r = 0; r < g.RowCount(); ++r) {
    if (r > 0 && g.Cell(r, 0).empty()) continue;  // no suggestion was written
    out << g.Cell(r, 0) << '\t' << g.Cell(r, 1) << '\t' << g.Cell(r, 2) << '\n';
  }
  // What the listed constraint numbers stand for.
  std::vector<int> listed;
  for (const auto& s : a.Suggestions) listed.insert(listed.end(), s.constraints.begin(), s.constraints.end());
  std::sort(listed.begin(), listed.end());
  listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
  if (!listed.empty()) out << "\nConstraints:\n";
  for (int r : listed)
    out << "  " << r << "  " << state.IGrid.CellOrEmpty(r, 1) << "  (" << core::DescribeConstraintRow(problem, state, r)
        << ")\n";
}

nlohmann::json Descriptions(const core::Problem& problem, const core::SortingState& state, const std::vector<int>& rows) {
  nlohmann::json out = nlohmann::json::array();
  for (int r : rows) out.push_back(core::DescribeConstraintRow(problem, state, r));
  return out;
}

int RunSuggest(const SuggestOptions& o) {
  RecordingDialogs dialogs(std::cerr);
  core::Problem problem;
  core::SortingState state;
  core::InconsistencyAnalysis analysis;
  analysis.SetMaxSuggestions(o.max);
  bool ran = false;
  const bool read = ReadProblemForCommand(problem, dialogs, o.file, o.switches);
  if (read && core::CalcRangeItemClick(problem, state, dialogs)) {
    core::OpenInconsistencyWindow(analysis);
    ran = core::BSuggestClick(problem, state, analysis, dialogs);
  }

  if (o.json) {
    nlohmann::json out;
    nlohmann::json suggestions = nlohmann::json::array();
    for (const auto& s : analysis.Suggestions)
      suggestions.push_back({{"count", static_cast<long long>(s.count)},
                             {"constraints", s.constraints},
                             {"descriptions", Descriptions(problem, state, s.constraints)}});
    out["suggestions"] = suggestions;
    out["no_need"] = analysis.End == core::SuggestionEnd::NoNeed;
    out["messages"] = dialogs.messages;
    std::cout << out.dump(1) << '\n';
  } else if (ran) {
    PrintTable(problem, state, analysis, std::cout);
  }
  return ran ? kExitOk : kExitProblem;
}

const CommandRegistrar kSuggest{{
    "suggest",
    "Suggest smallest sets of constraints whose removal makes the information of a problem file consistent",
    [](CLI::App& sub) -> std::function<int()> {
      auto o = std::make_shared<SuggestOptions>();
      sub.add_option("FILE", o->file, "Problem file to read")->required();
      sub.add_option("--max", o->max, "Max. suggestions (3..30)")
          ->check(CLI::Range(core::kMinSuggestions, core::kMaxSuggestions));
      sub.add_flag("--json", o->json, "Print one JSON object");
      AddThresholdSwitches(sub, o->switches);
      return [o]() { return RunSuggest(*o); };
    },
}};

}  // namespace
}  // namespace vesk::cli
