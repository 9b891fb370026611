#include "cli/SortingCommand.h"

#include "core/problem/ProblemFile.h"
#include "picture/PictureFormat.h"

namespace vesk::cli {
namespace {

constexpr const char* kNoVetoOption = "--no-veto";
constexpr const char* kUjOption = "--uj";

}  // namespace

void RecordingDialogs::ShowMessage(core::MessageKind kind, std::string_view text) {
  messages.push_back({{"kind", std::string(core::MessageKindName(kind))}, {"text", std::string(text)}});
  CliDialogs::ShowMessage(kind, text);
}

void AddThresholdSwitches(CLI::App& sub, ThresholdSwitches& switches) {
  sub.add_flag(kNoVetoOption, switches.noVeto, "\"Use vj\" up: no veto or discordance");
  sub.add_flag(kUjOption, switches.uj, "\"Use uj\" down: discordance thresholds where u > p");
}

std::vector<std::string> ThresholdSwitchArguments(const ThresholdSwitches& switches) {
  std::vector<std::string> arguments;
  if (switches.noVeto) arguments.emplace_back(kNoVetoOption);
  if (switches.uj) arguments.emplace_back(kUjOption);
  return arguments;
}

std::string PictureNameError(const std::string& path) {
  return picture::PictureFormatFor(path) ? std::string() : std::string("the picture must be a .png or .svg file");
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
