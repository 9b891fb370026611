#include "cli/SortingCommand.h"

#include "core/problem/ProblemFile.h"

namespace vesk::cli {

void RecordingDialogs::ShowMessage(core::MessageKind kind, std::string_view text) {
  messages.push_back({{"kind", std::string(core::MessageKindName(kind))}, {"text", std::string(text)}});
  CliDialogs::ShowMessage(kind, text);
}

void AddThresholdSwitches(CLI::App& sub, ThresholdSwitches& switches) {
  sub.add_flag("--no-veto", switches.noVeto, "\"Use vj\" up: no veto or discordance");
  sub.add_flag("--uj", switches.uj, "\"Use uj\" down: discordance thresholds where u > p");
}

bool ReadProblemForCommand(core::Problem& problem, core::UserDialogs& dialogs, const std::string& file,
                           const ThresholdSwitches& switches) {
  if (!core::ReadProblemFile(problem, dialogs, file)) return false;
  if (switches.noVeto) {
    problem.UsevjDown = false;
    problem.UseujDown = false;
  } else if (switches.uj) {
    problem.UseujDown = true;
  }
  return true;
}

}  // namespace vesk::cli
