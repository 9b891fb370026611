#include "cli/Command.h"

namespace vesk::cli {

std::vector<CommandSpec>& Commands() {
  // Built on first use, so that the registrars of every command file find it
  // whatever the order of static initialisation.
  static std::vector<CommandSpec> commands;
  return commands;
}

}  // namespace vesk::cli
