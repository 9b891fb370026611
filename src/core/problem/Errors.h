#pragma once
// Failures that end a command: the command runner reports them through
// UserDialogs and the application goes on with the problem intact.
#include <stdexcept>
#include <string>

namespace vesk::core {

// An internal consistency check that failed (an assertion of the program),
// naming the unit it belongs to ("Main", "VolumeF").
class ProgramError : public std::runtime_error {
 public:
  ProgramError(std::string unit, const std::string& text)
      : std::runtime_error(text), unit_(std::move(unit)) {}
  const std::string& Unit() const { return unit_; }
  // The text shown to the person: "<text> (unit <unit>)".
  std::string Message() const { return std::string(what()) + " (unit " + unit_ + ")"; }

 private:
  std::string unit_;
};

// A cell that should hold a number does not; the message names the value.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vesk::core
