#pragma once
// Sub-commands of vesk-cli. Each command lives in its own file and registers
// itself with a static CommandRegistrar; main() builds the argument parser from
// the registered commands.
#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace vesk::cli {

// Exit codes of every command.
enum ExitCode : int { kExitOk = 0, kExitProblem = 1, kExitUsage = 2 };

struct CommandSpec {
  std::string name;
  std::string description;
  // Adds the command's options to `sub` and returns the action run when the
  // command is chosen; the action returns the process exit code.
  std::function<std::function<int()>(CLI::App& sub)> setup;
};

std::vector<CommandSpec>& Commands();

struct CommandRegistrar {
  explicit CommandRegistrar(CommandSpec spec) { Commands().push_back(std::move(spec)); }
};

}  // namespace vesk::cli
