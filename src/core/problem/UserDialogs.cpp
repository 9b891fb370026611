#include "core/problem/UserDialogs.h"

#include "core/problem/Numbers.h"

namespace vesk::core {

std::optional<int> UserDialogs::PromptInteger(std::string_view caption, std::string_view prompt, int low,
                                              int high, std::string_view initial) {
  std::string text(initial);
  for (;;) {
    auto answer = PromptText(caption, prompt, text);
    if (!answer) return std::nullopt;
    if (auto value = ParseInt(*answer); value && *value >= low && *value <= high) return *value;
    text = *answer;
  }
}

std::string_view MessageKindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return "error";
    case MessageKind::Warning: return "warning";
    case MessageKind::Information: return "information";
  }
  return "message";
}

}  // namespace vesk::core
