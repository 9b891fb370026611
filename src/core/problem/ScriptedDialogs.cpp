#include "core/problem/ScriptedDialogs.h"

namespace vesk::core {
namespace {

template <typename T>
std::optional<T> Pop(std::deque<std::optional<T>>& queue) {
  if (queue.empty()) return std::nullopt;
  auto value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

void ScriptedDialogs::ShowMessage(MessageKind kind, std::string_view text) {
  messages.push_back({kind, std::string(text)});
}

bool ScriptedDialogs::Confirm(std::string_view question) {
  questions.emplace_back(question);
  if (confirmAnswers.empty()) return false;
  bool yes = confirmAnswers.front();
  confirmAnswers.pop_front();
  return yes;
}

std::optional<bool> ScriptedDialogs::ConfirmOrCancel(std::string_view question) {
  if (choiceAnswers.empty()) return Confirm(question);
  questions.emplace_back(question);
  const std::optional<bool> answer = choiceAnswers.front();
  choiceAnswers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedDialogs::PromptText(std::string_view caption, std::string_view prompt,
                                                       std::string_view initial) {
  prompts.push_back({std::string(caption), std::string(prompt), std::string(initial)});
  return Pop(textAnswers);
}

std::optional<std::string> ScriptedDialogs::ChooseOpenFile(std::string_view filter, std::string_view) {
  fileDialogs.emplace_back(filter);
  return Pop(openFileAnswers);
}

std::optional<std::string> ScriptedDialogs::ChooseSaveFile(std::string_view filter, std::string_view,
                                                           std::string_view) {
  fileDialogs.emplace_back(filter);
  return Pop(saveFileAnswers);
}

std::vector<std::string> ScriptedDialogs::Texts(std::optional<MessageKind> kind) const {
  std::vector<std::string> out;
  for (const auto& m : messages)
    if (!kind || m.kind == *kind) out.push_back(m.text);
  return out;
}

void ScriptedDialogs::ClearRecord() {
  messages.clear();
  questions.clear();
  prompts.clear();
  fileDialogs.clear();
  progress.clear();
}

}  // namespace vesk::core
