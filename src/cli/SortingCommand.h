#pragma once
// What the commands on a problem file (robust, solution, suggest, volume)
// share: a person that also keeps every message for the JSON output, and the
// two threshold switches of the toolbar as options.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <string>

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

// Reads the problem file and applies the switches; false (with the reader's
// message shown) when the file does not read.
bool ReadProblemForCommand(core::Problem& problem, core::UserDialogs& dialogs, const std::string& file,
                           const ThresholdSwitches& switches);

}  // namespace vesk::cli
