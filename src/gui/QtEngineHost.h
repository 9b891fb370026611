#pragma once
// The engine's host in the desktop window: its message boxes with OK and
// Cancel, a number prompt for the unbounded-column question, pending events
// processed with user input held back (no menu can start a second
// computation meanwhile), the clock, the engine's own heap figure and its
// working folder (a scratch folder of its own, never the person's current
// folder). The console is detached.
#include <filesystem>

#include "engine/EngineHost.h"
#include "engine/ScratchEngineHost.h"

class QWidget;

namespace vesk::gui {

class QtEngineHost : public engine::EngineHost {
 public:
  explicit QtEngineHost(QWidget* parent = nullptr);
  Answer MessageBox(std::string_view text) override;
  bool ReadNumber(std::string_view prompt, double& value) override;
  bool ConsoleEnabled() const override { return false; }
  void ProcessPendingEvents() override;
  // True once the Cancel button of the open CancelGate was pressed.
  bool CancelRequested() override;
  double ClockSeconds() override;
  long long HeapBytes() override;
  void NoteEngineHeapBytes(long long bytes) override;
  std::filesystem::path WorkingFolder() override;

 private:
  QWidget* parent_;
  long long engineHeap_ = 0;
  // Owns the scratch folder: created on first use under the system temp
  // folder, removed with its files when the host goes.
  engine::ScratchEngineHost scratch_;
};

}  // namespace vesk::gui
