#pragma once
// The host of the command line and the tests: no windows, every question
// answered with Cancel, engine files in a private scratch folder.
#include <filesystem>
#include <string>

#include "engine/EngineHost.h"

namespace vesk::engine {

class ScratchEngineHost : public EngineHost {
 public:
  // With `verbose`, console lines and message texts go to standard error.
  explicit ScratchEngineHost(bool verbose = false);
  ~ScratchEngineHost() override;
  ScratchEngineHost(const ScratchEngineHost&) = delete;
  ScratchEngineHost& operator=(const ScratchEngineHost&) = delete;

  Answer MessageBox(std::string_view text) override;
  bool ReadNumber(std::string_view prompt, double& value) override;
  bool ConsoleEnabled() const override { return verbose_; }
  void ConsoleWriteLine(std::string_view text) override;
  double ClockSeconds() override;
  long long HeapBytes() override { return heapBytes_; }
  void NoteEngineHeapBytes(long long bytes) override { heapBytes_ = bytes; }
  // Created on first use under the system temp folder, unique per process and
  // per host object; removed with its files by the destructor.
  std::filesystem::path WorkingFolder() override;

  // Every message box text shown so far (tests read it).
  const std::string& Messages() const { return messages_; }

 private:
  bool verbose_;
  long long heapBytes_ = 0;
  std::filesystem::path folder_;
  std::string messages_;
};

}  // namespace vesk::engine
