#include "core/problem/Numbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace vesk::core {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

namespace {

// std::to_chars / from_chars are locale independent.
std::string FormatPrecision(double value, int precision) {
  if (value == 0.0) value = 0.0;  // folds -0 into 0
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::optional<double> ParseReal(std::string_view text) {
  text = TrimBlanks(text);
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
  text = TrimBlanks(text);
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
  if (value == 0.0 || !std::isfinite(value)) return FormatPrecision(value, 15);
  // The fewest significant digits (at most 15) that read back to the same
  // double...
  int digits = 15;
  for (int p = 1; p < 15; ++p) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, p - 1);
    if (auto back = ParseReal(std::string_view(buffer, result.ptr - buffer)); back && *back == value) {
      digits = p;
      break;
    }
  }
  // ...written in fixed notation unless the value is below 0.00001 in
  // magnitude or has more than 15 digits before the point.
  char buffer[64];
  auto sci = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
  std::string_view text(buffer, sci.ptr - buffer);
  const int exponent = std::stoi(std::string(text.substr(text.find('e') + 1)));
  if (exponent < -5 || exponent >= 15) {
    // Drop a trailing ".0..." of the mantissa: 1e-07, 2.5e+20.
    std::string mantissa(text.substr(0, text.find('e')));
    std::string rest(text.substr(text.find('e')));
    if (mantissa.find('.') != std::string::npos) {
      while (mantissa.back() == '0') mantissa.pop_back();
      if (mantissa.back() == '.') mantissa.pop_back();
    }
    return mantissa + rest;
  }
  const int decimals = std::max(0, digits - 1 - exponent);
  char fixed[64];
  auto result = std::to_chars(fixed, fixed + sizeof fixed, value, std::chars_format::fixed, decimals);
  std::string out(fixed, result.ptr);
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  if (out == "-0") out = "0";
  return out;
}

std::string Format5g(double value) { return FormatPrecision(value, 5); }

}  // namespace vesk::core
