#pragma once
// The engine's one window on the outside world. The desktop program, the
// command line and the tests each provide a host; the engine runs unchanged
// under all of them.
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk::engine {

class EngineHost {
 public:
  enum class Answer { Ok, Cancel };

  virtual ~EngineHost() = default;

  // Modal message box with the buttons OK and Cancel.
  virtual Answer MessageBox(std::string_view text) = 0;

  // Reads a number typed by the person after `prompt` (used when the person
  // answers OK to the unbounded-column question). Returns false on Cancel.
  virtual bool ReadNumber(std::string_view prompt, double& value) = 0;

  // Progress console (a host may ignore it). When ConsoleEnabled() is false
  // the engine skips formatting console text altogether.
  virtual bool ConsoleEnabled() const { return true; }
  virtual void ConsoleWriteLine(std::string_view /*text*/) {}
  virtual void ConsoleSetColour(int /*colour*/) {}
  virtual int ConsoleLineCount() const { return 0; }
  virtual void ConsoleShowField(int /*column*/, int /*row*/, std::string_view /*text*/) {}
  virtual void ConsoleWriteNamed(std::string_view /*control*/, std::string_view /*text*/) {}

  // Lets the user interface process pending events (called every 10 iterations).
  virtual void ProcessPendingEvents() {}

  // Asked right after pending events were processed: true ends the run as
  // unfinished, as the time limit does.
  virtual bool CancelRequested() { return false; }

  // The engine clock: seconds since a fixed day (only differences are used).
  virtual double ClockSeconds() = 0;

  // Bytes currently allocated by the engine's own heap use (the heap figure of
  // the memory rules of the search).
  virtual long long HeapBytes() = 0;

  // The engine reports its own allocation figure after each inversion; a host
  // without a better source may answer HeapBytes() with it.
  virtual void NoteEngineHeapBytes(long long /*bytes*/) {}

  // Folder holding the engine's files (basis, pseudo-costs, node file, logs).
  virtual std::filesystem::path WorkingFolder() = 0;
};

}  // namespace vesk::engine
