#include "cli/CliDialogs.h"

#include <ostream>

namespace vesk::cli {
namespace {

std::optional<std::string> Pop(std::deque<std::string>& queue) {
  if (queue.empty()) return std::nullopt;
  std::string value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

CliDialogs::CliDialogs(std::ostream& err) : err_(err) {}

void CliDialogs::ShowMessage(core::MessageKind kind, std::string_view text) {
  err_ << core::MessageKindName(kind) << ": " << text << '\n';
}

bool CliDialogs::Confirm(std::string_view question) {
  bool yes = false;
  if (!confirmAnswers.empty()) {
    yes = confirmAnswers.front();
    confirmAnswers.pop_front();
  }
  err_ << "question: " << question << " -> " << (yes ? "Yes" : "No") << '\n';
  return yes;
}

std::optional<std::string> CliDialogs::PromptText(std::string_view caption, std::string_view prompt,
                                                  std::string_view) {
  auto answer = Pop(textAnswers);
  err_ << "prompt: " << caption;
  if (!prompt.empty()) err_ << " / " << prompt;
  err_ << " -> " << (answer ? *answer : std::string("Cancel")) << '\n';
  return answer;
}

std::optional<std::string> CliDialogs::ChooseOpenFile(std::string_view, std::string_view) {
  return Pop(openFileAnswers);
}

std::optional<std::string> CliDialogs::ChooseSaveFile(std::string_view, std::string_view, std::string_view) {
  return Pop(saveFileAnswers);
}

}  // namespace vesk::cli
