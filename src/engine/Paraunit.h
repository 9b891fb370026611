#pragma once
// Paraunit: the engine's typed parameter table, filled from 27 built-in lines
// of the form "TYPE NAME=VALUE [MIN MAX]" (type 0 real, 1 integer, 2 Boolean,
// 3 text), and the engine's short number format.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineHost.h"

namespace vesk::engine {

enum ParameterType : uint8_t { kRealParameter = 0, kIntegerParameter = 1, kBooleanParameter = 2, kTextParameter = 3 };

struct ParameterEntry {
  uint8_t type = 0;
  double minimum = 0;  // stored, not enforced
  double maximum = 0;  // stored, not enforced
  double value = 0;    // Booleans: 1.0 yes, 0.0 no
  std::string name;
  std::string text;
};

class ParameterTable {
 public:
  static constexpr int kMaxPar = 50;

  // Parses `lines` into the table. More than kMaxPar lines is fatal.
  void FillFromLines(EngineHost& host, const std::vector<std::string>& lines);

  // Index of the entry named `name` (exact comparison). A missing name shows
  // "Parameter NAME not found" when `report` is set and is fatal either way.
  int FindParameter(EngineHost& host, std::string_view name, bool report) const;
  // Index or -1, without messages.
  int Lookup(std::string_view name) const;

  double RealValue(EngineHost& host, std::string_view name) const;
  long long IntegerValue(EngineHost& host, std::string_view name) const;
  bool BooleanValue(EngineHost& host, std::string_view name) const;
  std::string TextValue(EngineHost& host, std::string_view name) const;

  // Parses `text` as a value of entry `index`'s type and stores it. On a
  // malformed value returns false with the message in `error`; nothing changes.
  bool SetValue(int index, std::string_view text, std::string& error);

  int Count() const { return static_cast<int>(entries_.size()); }
  const ParameterEntry& Entry(int index) const { return entries_[index]; }

 private:
  void ParseLine(EngineHost& host, std::string line, ParameterEntry& entry);
  std::vector<ParameterEntry> entries_;
};

// The 27 built-in parameter lines, in table order.
const std::vector<std::string>& BuiltInParameterLines();

// Converts a number token in the engine's syntax: a "." lacking a digit on
// either side gets a "0" there ("-.5E-6", "1.", "2E9"). False when it still
// does not convert.
bool ParseEngineNumber(std::string_view token, double& value);

// The short number format of progress output and log lines: "0"; fixed
// notation with 7 - max(0, round(log10|x|)) decimals for 1e-6 < |x| < 1e6,
// trailing zeros removed; otherwise exponent notation such as 2E9 or -1E-12.
std::string ShortNumber(double x);

// Upper-cases ASCII letters and the three umlauts of the DOS code page.
std::string UpperCaseEngine(std::string_view text);

}  // namespace vesk::engine
