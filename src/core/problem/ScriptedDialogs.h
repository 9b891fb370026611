#pragma once
// A UserDialogs that answers from queues and records everything it is told:
// the person of the tests (and of any batch run that scripts its answers).
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/problem/UserDialogs.h"

namespace vesk::core {

class ScriptedDialogs : public UserDialogs {
 public:
  struct Message {
    MessageKind kind;
    std::string text;
    bool operator==(const Message&) const = default;
  };
  struct Prompt {
    std::string caption;
    std::string prompt;
    std::string initial;
  };

  // Answers, consumed in order. An empty queue answers No / Cancel.
  std::deque<bool> confirmAnswers;
  // Answers of Yes/No/Cancel questions (nothing = Cancel), taken first; when
  // none is queued such a question takes its answer from confirmAnswers.
  std::deque<std::optional<bool>> choiceAnswers;
  std::deque<std::optional<std::string>> textAnswers;  // nullopt = Cancel
  std::deque<std::optional<std::string>> openFileAnswers;
  std::deque<std::optional<std::string>> saveFileAnswers;

  // What was shown and asked, in order.
  std::vector<Message> messages;
  std::vector<std::string> questions;
  std::vector<Prompt> prompts;
  std::vector<std::string> fileDialogs;  // filter texts of the file choosers shown
  std::vector<int> progress;
  bool busy = false;
  int busyChanges = 0;
  bool progressVisible = false;
  // CancelRequested answers false this many times, then true (never when negative).
  int cancelAfterChecks = -1;
  int cancelChecks = 0;

  ScriptedDialogs& AnswerText(std::optional<std::string> text) { textAnswers.push_back(std::move(text)); return *this; }
  ScriptedDialogs& AnswerConfirm(bool yes) { confirmAnswers.push_back(yes); return *this; }
  ScriptedDialogs& AnswerCancel() { choiceAnswers.push_back(std::nullopt); return *this; }

  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool Confirm(std::string_view question) override;
  std::optional<bool> ConfirmOrCancel(std::string_view question) override;
  std::optional<std::string> PromptText(std::string_view caption, std::string_view prompt,
                                        std::string_view initial) override;
  std::optional<std::string> ChooseOpenFile(std::string_view filter, std::string_view initialName) override;
  std::optional<std::string> ChooseSaveFile(std::string_view filter, std::string_view defaultExtension,
                                            std::string_view initialName) override;
  void SetBusy(bool on) override { busy = on; ++busyChanges; }
  void ShowProgress(bool visible) override { progressVisible = visible; }
  void SetProgress(int percent) override { progress.push_back(percent); }
  bool CancelRequested() override { return cancelAfterChecks >= 0 && cancelChecks++ >= cancelAfterChecks; }

  // Texts of the messages of one kind (all kinds when nothing is given).
  std::vector<std::string> Texts(std::optional<MessageKind> kind = std::nullopt) const;
  void ClearRecord();
};

}  // namespace vesk::core
