#pragma once
// The person of a command-line run: messages go to standard error with their
// kind ("error: ..."); questions, prompts and file choosers take their answers
// from queues that a command fills from its arguments and options, and answer
// No / Cancel when nothing was supplied. Every question and prompt is echoed
// on standard error with the answer given.
#include <deque>
#include <iosfwd>
#include <optional>
#include <string>

#include "core/problem/UserDialogs.h"

namespace vesk::cli {

class CliDialogs : public core::UserDialogs {
 public:
  explicit CliDialogs(std::ostream& err);

  std::deque<bool> confirmAnswers;
  std::deque<std::string> textAnswers;
  std::deque<std::string> openFileAnswers;
  std::deque<std::string> saveFileAnswers;

  void ShowMessage(core::MessageKind kind, std::string_view text) override;
  bool Confirm(std::string_view question) override;
  std::optional<std::string> PromptText(std::string_view caption, std::string_view prompt,
                                        std::string_view initial) override;
  std::optional<std::string> ChooseOpenFile(std::string_view filter, std::string_view initialName) override;
  std::optional<std::string> ChooseSaveFile(std::string_view filter, std::string_view defaultExtension,
                                            std::string_view initialName) override;

 private:
  std::ostream& err_;
};

}  // namespace vesk::cli
