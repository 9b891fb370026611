#include "engine/ScratchEngineHost.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <system_error>

namespace vesk::engine {

ScratchEngineHost::ScratchEngineHost(bool verbose) : verbose_(verbose) {}

ScratchEngineHost::~ScratchEngineHost() {
  if (!folder_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
}

EngineHost::Answer ScratchEngineHost::MessageBox(std::string_view text) {
  messages_.append(text);
  messages_.push_back('\n');
  std::cerr << text << '\n';
  return Answer::Cancel;
}

bool ScratchEngineHost::ReadNumber(std::string_view /*prompt*/, double& /*value*/) { return false; }

void ScratchEngineHost::ConsoleWriteLine(std::string_view text) {
  if (verbose_) std::cerr << text << '\n';
}

double ScratchEngineHost::ClockSeconds() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

std::filesystem::path ScratchEngineHost::WorkingFolder() {
  if (folder_.empty()) {
    static std::atomic<unsigned> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      auto candidate = base / ("vesk-engine-" + std::to_string(::getpid()) + "-" +
                               std::to_string(counter.fetch_add(1)));
      std::error_code ec;
      if (std::filesystem::create_directory(candidate, ec)) {
        folder_ = candidate;
        break;
      }
      if (ec) {  // temp folder unusable: fall back to the temp folder itself
        folder_.clear();
        return base;
      }
    }
  }
  return folder_;
}

}  // namespace vesk::engine
