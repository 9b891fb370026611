#pragma once
// Progress output of the engine: the console of the host (lines, colours,
// status fields, named controls), the elapsed-time text, the iteration log
// line and the log file "LP.LOG" in the host's working folder.
#include <string>
#include <string_view>

namespace vesk::engine {

class EngineModel;

// Status-field positions (column, row) of the text console.
struct FieldPosition {
  int column, row;
};
inline constexpr FieldPosition kFieldProgress{1, 24};
inline constexpr FieldPosition kFieldInversion{40, 24};
inline constexpr FieldPosition kFieldHeap{60, 24};
inline constexpr FieldPosition kFieldSmallestPivot{68, 24};
inline constexpr FieldPosition kFieldCandidates{1, 23};
inline constexpr FieldPosition kFieldNodes{40, 23};

// True when the host shows console output (text need not be built otherwise).
bool ConsoleOn(const EngineModel& model);
void ConsoleLine(EngineModel& model, std::string_view text);
void ConsoleColour(EngineModel& model, int colour);
int ConsoleLineCount(const EngineModel& model);
void ConsoleField(EngineModel& model, FieldPosition field, std::string_view text);
void ConsoleNamed(EngineModel& model, std::string_view control, std::string_view text);

// Days "d", hours right-aligned in 2 "h", minutes "'", seconds "%4.1f" and a
// double quote: 75.5 gives 1'15.5" and 3661 gives " 1h 1' 1.0"".
std::string ElapsedText(double seconds);

// Appends one line to "LP.LOG" in the host's working folder.
void WriteLog(EngineModel& model, std::string_view text);

// The iteration log line after a step: entering and leaving names (or the
// bound flip), objective, infeasibility sum, iterations, elapsed time and the
// smallest pivot of the last inversion.
void IterationLogLine(EngineModel& model, std::string_view entering, std::string_view leaving);

}  // namespace vesk::engine
