#pragma once
// Raised after the engine has shown the message of a condition it cannot
// continue from (column table full, an entry for an undefined row, an unknown
// parameter name, too many parameter lines). The solver interface and the
// command line catch it; nothing else of the program is lost.
#include <stdexcept>

namespace vesk::engine {

struct EngineFatalError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace vesk::engine
