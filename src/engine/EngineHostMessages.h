#pragma once
// Shows a fatal message through the host and raises EngineFatalError.
#include <string>

#include "engine/EngineFatalError.h"
#include "engine/EngineHost.h"

namespace vesk::engine {

[[noreturn]] inline void FatalEngineError(EngineHost& host, const std::string& text) {
  host.MessageBox(text);
  throw EngineFatalError(text);
}

}  // namespace vesk::engine
