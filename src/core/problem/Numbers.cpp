#include "core/problem/Numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace vesk::core {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// std::to_chars / from_chars are locale independent.
std::string FormatPrecision(double value, int precision) {
  if (value == 0.0) value = 0.0;  // folds -0 into 0
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::optional<double> ParseReal(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  // from_chars rejects a leading '+'; accept it as the usual number syntax does.
  bool plus = false;
  if (text.front() == '+') {
    plus = true;
    text.remove_prefix(1);
    if (text.empty() || text.front() == '-') return std::nullopt;
  }
  // Only digits, one point, an exponent and signs; no "inf", "nan" or hex.
  for (char c : text) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return std::nullopt;
  }
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  (void)plus;
  return value;
}

std::optional<int> ParseInt(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  int value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatGeneral(double value) {
  // The shortest text that reads back to the same double, limited to 15
  // significant digits.
  for (int precision = 1; precision < 15; ++precision) {
    std::string text = FormatPrecision(value, precision);
    if (auto back = ParseReal(text); back && *back == value) return text;
  }
  return FormatPrecision(value, 15);
}

std::string Format5g(double value) { return FormatPrecision(value, 5); }

}  // namespace vesk::core
