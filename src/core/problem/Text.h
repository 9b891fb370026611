#pragma once
// Trimming: the one way cells, pasted pieces, names, CSV fields and MPS
// fields drop the blanks around a text.
#include <string_view>

namespace vesk::core {

// White space as the C locale classifies it (spaces, tabs, line ends),
// whatever the process locale: what a cell or a pasted piece drops.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
// The blanks between the fields of a line: space and tab.
inline constexpr std::string_view kBlanks = " \t";

// `text` without the characters of `set` at its end.
inline std::string_view TrimRight(std::string_view text, std::string_view set = kWhiteSpace) {
  const auto last = text.find_last_not_of(set);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// `text` without the characters of `set` at either end.
inline std::string_view Trim(std::string_view text, std::string_view set = kWhiteSpace) {
  text = TrimRight(text, set);
  const auto first = text.find_first_not_of(set);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace vesk::core
