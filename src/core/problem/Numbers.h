#pragma once
// Numbers in the problem are text; these are the only ways they are parsed and
// printed. "." is the decimal separator whatever the process locale.
#include <optional>
#include <string>
#include <string_view>

namespace vesk::core {

// `text` without the blanks (spaces, tabs, line ends) around it.
std::string_view TrimBlanks(std::string_view text);

// Parses a whole cell as a real: optional blanks around, optional sign, digits
// with an optional "." and exponent. Nothing else may follow. Returns nothing
// for an empty or malformed text (a lone "-" included) and for inf/nan.
std::optional<double> ParseReal(std::string_view text);

// Parses a whole cell as a 32-bit integer (optional blanks and sign).
std::optional<int> ParseInt(std::string_view text);

// General format: up to 15 significant digits, shortest form ("0.5", "2",
// "1e-07"); never "-0".
std::string FormatGeneral(double value);

// printf "%.5g" with "." as separator; never "-0".
std::string Format5g(double value);

}  // namespace vesk::core
