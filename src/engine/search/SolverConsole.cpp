#include "engine/search/SolverConsole.h"

#include <cmath>
#include <cstdio>
#include <fstream>

#include "engine/EngineModel.h"

namespace vesk::engine {

bool ConsoleOn(const EngineModel& model) { return model.host.ConsoleEnabled(); }

void ConsoleLine(EngineModel& model, std::string_view text) {
  if (ConsoleOn(model)) model.host.ConsoleWriteLine(text);
}

void ConsoleColour(EngineModel& model, int colour) {
  if (ConsoleOn(model)) model.host.ConsoleSetColour(colour);
}

int ConsoleLineCount(const EngineModel& model) { return model.host.ConsoleLineCount(); }

void ConsoleField(EngineModel& model, FieldPosition field, std::string_view text) {
  if (ConsoleOn(model)) model.host.ConsoleShowField(field.column, field.row, text);
}

void ConsoleNamed(EngineModel& model, std::string_view control, std::string_view text) {
  if (ConsoleOn(model)) model.host.ConsoleWriteNamed(control, text);
}

std::string ElapsedText(double t) {
  if (t < 0) t = 0;
  std::string out;
  char buf[32];
  bool hoursWritten = false;
  if (t >= 86400) {
    const long long days = static_cast<long long>(t / 86400);
    out += std::to_string(days) + "d";
    t -= static_cast<double>(days) * 86400;
  }
  const long long hours = static_cast<long long>(t / 3600);
  if (hours >= 1) {
    std::snprintf(buf, sizeof buf, "%2lldh", hours);
    out += buf;
    t -= static_cast<double>(hours) * 3600;
    hoursWritten = true;
  }
  const long long minutes = static_cast<long long>(t / 60);
  t -= static_cast<double>(minutes) * 60;
  std::snprintf(buf, sizeof buf, hoursWritten ? "%2lld'" : "%lld'", minutes);
  out += buf;
  std::snprintf(buf, sizeof buf, "%4.1f\"", t);
  out += buf;
  return out;
}

void WriteLog(EngineModel& model, std::string_view text) {
  const auto path = model.host.WorkingFolder() / "LP.LOG";
  std::ofstream out(path, std::ios::app);
  if (!out) out.open(path, std::ios::trunc);
  if (out) out << text << '\n';
}

void IterationLogLine(EngineModel& model, std::string_view entering, std::string_view leaving) {
  if (!ConsoleOn(model)) return;
  char buf[160];
  std::snprintf(buf, sizeof buf, " %14.6f %12.4g %8lld %s %10.3g", model.objectiveValue, model.infeasSum,
                model.iterationCount, ElapsedText(model.ElapsedSeconds()).c_str(), model.smallestPivot);
  ConsoleLine(model, std::string(entering) + " " + std::string(leaving) + buf);
}

}  // namespace vesk::engine
