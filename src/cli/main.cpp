// vesk-cli: the sorting tool's commands without windows, for batch work.
#include "cli/Command.h"

#include <algorithm>
#include <iostream>
#include <map>

int main(int argc, char** argv) {
  using namespace vesk::cli;
  CLI::App app{"Vesk command line: multicriteria sorting problems and the LP/MIP engine"};
  app.require_subcommand(1, 1);
  auto specs = Commands();
  std::sort(specs.begin(), specs.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  std::map<CLI::App*, std::function<int()>> actions;
  for (auto& spec : specs) {
    CLI::App* sub = app.add_subcommand(spec.name, spec.description);
    actions[sub] = spec.setup(*sub);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  for (auto& [sub, action] : actions) {
    if (sub->parsed()) return action();
  }
  return kExitUsage;
}
