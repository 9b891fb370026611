#pragma once
// Numbers in the problem are text; these are the only ways they are parsed and
// printed. "." is the decimal separator whatever the process locale.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vesk::core {

// Parses a whole cell as a real: optional blanks around, optional sign, digits
// with an optional "." and exponent. Nothing else may follow. Returns nothing
// for an empty or malformed text (a lone "-" included) and for inf/nan.
std::optional<double> ParseReal(std::string_view text);

// Parses a whole cell as a 32-bit integer (optional blanks and sign).
std::optional<int> ParseInt(std::string_view text);

// The formats below write "." as separator whatever the locale, and never a
// negative zero ("-0", "-0.000").

// General format: up to 15 significant digits, shortest form ("0.5", "2",
// "1e-07").
std::string FormatGeneral(double value);

// printf "%.*g": `digits` significant digits (the grids' parameter cells
// "%.5g", the accepted vector "%g" with 6, the volume labels 2..5).
std::string FormatSignificant(double value, int digits);

// printf "%.*f": `decimals` digits after the point (the robustness index).
std::string FormatFixed(double value, int decimals);

// A number cell written for a cell too narrow for its text: the same value
// with fewer significant digits ("%.*g", 15 down to 1), the first form
// `fits` accepts, so that its magnitude always shows ("1.1e-16", never a cut
// "1.110"); "#" when no form fits. Nothing when the text is no number.
std::optional<std::string> ShortenedNumber(std::string_view cell,
                                           const std::function<bool(std::string_view)>& fits);

}  // namespace vesk::core
