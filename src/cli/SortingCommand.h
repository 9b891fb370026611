#pragma once
// What the commands on a problem file (robust, solution, suggest, volume)
// share: a person that also keeps every message for the JSON output, and the
// two threshold switches of the toolbar as options.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/CliDialogs.h"
#include "core/problem/Problem.h"

namespace vesk::cli {

// CliDialogs that also keeps every message, with its kind, for `--json`.
class RecordingDialogs : public CliDialogs {
 public:
  using CliDialogs::CliDialogs;
  void ShowMessage(core::MessageKind kind, std::string_view text) override;
  nlohmann::json messages = nlohmann::json::array();
};

// "--no-veto": "Use vj" up (no veto, no discordance); "--uj": "Use uj" down.
struct ThresholdSwitches {
  bool noVeto = false;
  bool uj = false;
};

void AddThresholdSwitches(CLI::App& sub, ThresholdSwitches& switches);

// The options that give `switches` to a command (for a program started with them).
std::vector<std::string> ThresholdSwitchArguments(const ThresholdSwitches& switches);

// The check of a picture file's name: "" for a .png or .svg file, otherwise
// why the name is refused.
std::string PictureNameError(const std::string& path);

// Reads the problem file and applies the switches; false (with the reader's
// message shown) when the file does not read.
bool ReadProblemForCommand(core::Problem& problem, core::UserDialogs& dialogs, const std::string& file,
                           const ThresholdSwitches& switches);

}  // namespace vesk::cli
