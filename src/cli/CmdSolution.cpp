// vesk-cli solution FILE.tri ACTION CATEGORY: the parameter vector the result
// view shows when the range cell of ACTION in CATEGORY is selected.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/SortingCommand.h"
#include "cli/Command.h"
#include "core/problem/Numbers.h"
#include "core/problem/ProblemFile.h"
#include "core/sorting/ResultView.h"
#include "core/sorting/RobustAssignments.h"

namespace vesk::cli {
namespace {

struct SolutionOptions {
  std::string file;
  std::string action;
  int category = 0;
  bool json = false;
  ThresholdSwitches switches;
};

// The 1-based action row, or an action's name (core::ActionNamed).
std::optional<int> FindAction(const core::Problem& p, const std::string& text) {
  if (const int a = core::ActionNamed(p, text)) return a;
  return std::nullopt;
}

int RunSolution(const SolutionOptions& o) {
  RecordingDialogs dialogs(std::cerr);
  core::Problem problem;
  if (!ReadProblemForCommand(problem, dialogs, o.file, o.switches)) return kExitProblem;
  const auto action = FindAction(problem, o.action);
  if (!action) {
    dialogs.Error("No action " + o.action + " in " + o.file);
    return kExitUsage;
  }
  core::SortingState state;
  bool shown = false;
  if (core::CalcRangeItemClick(problem, state, dialogs)) {
    if (const auto refusal = core::AssignmentRefusal(problem, state, *action, o.category)) dialogs.Error(*refusal);
    else shown = core::ShowAssignmentSolution(problem, state, dialogs, *action, o.category);
  }
  if (o.json) {
    nlohmann::json out;
    out["action"] = *action;
    out["name"] = problem.AGrid.Cell(*action, 0);
    out["category"] = o.category;
    out["params"] = shown ? nlohmann::json(state.SelectedParams) : nlohmann::json(nullptr);
    out["alpha"] = shown ? nlohmann::json(state.SelectedAlpha) : nlohmann::json(nullptr);
    out["messages"] = dialogs.messages;
    std::cout << out.dump(1) << '\n';
  } else if (shown) {
    for (int c = 0; c <= problem.NumCriteria; ++c)
      std::cout << (c ? "  " : "") << state.DGrid.Cell(0, c) << " = " << state.DGrid.Cell(1, c);
    std::cout << '\n';
  }
  return shown ? kExitOk : kExitProblem;
}

const CommandRegistrar kSolution{{
    "solution",
    "The parameter vector that assigns ACTION to CATEGORY within its robust range",
    [](CLI::App& sub) -> std::function<int()> {
      auto o = std::make_shared<SolutionOptions>();
      sub.add_option("FILE", o->file, "Problem file to read")->required();
      sub.add_option("ACTION", o->action,
                     "The action: its 1-based row number in the actions table, or its name (a name that is a "
                     "number is taken as a row number)")
          ->required();
      sub.add_option("CATEGORY", o->category, "The category (1 = worst)")->required();
      AddThresholdSwitches(sub, o->switches);
      sub.add_flag("--json", o->json, "Print one JSON object");
      sub.footer(
          "Runs the robust assignments first; CATEGORY must lie inside the action's range and not be a hole. "
          "Exit status: 0 when a vector was found, 1 when refused or not met exactly, 2 on a usage error.");
      return [o]() { return RunSolution(*o); };
    },
}};

}  // namespace
}  // namespace vesk::cli
