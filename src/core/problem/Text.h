#pragma once
// Trimming of fields and cells: the one way the readers of problem files,
// grid cells, CSV and MPS files drop the blanks around a text.
#include <string_view>

namespace vesk::core {

// The blanks between the fields of a line: space and tab.
inline constexpr std::string_view kBlanks = " \t";
// White space as the C locale classifies it, whatever the process locale.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

// `text` without the characters of `set` at its end.
inline std::string_view TrimRight(std::string_view text, std::string_view set = kBlanks) {
  const auto last = text.find_last_not_of(set);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// `text` without the characters of `set` at either end.
inline std::string_view Trim(std::string_view text, std::string_view set = kBlanks) {
  text = TrimRight(text, set);
  const auto first = text.find_first_not_of(set);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace vesk::core
