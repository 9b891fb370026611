#pragma once
// Everything core says to or asks of the person goes through this interface.
// The desktop window shows real boxes; the command line answers from its
// options; tests use a scripted implementation that records every message.
#include <optional>
#include <string>
#include <string_view>

namespace vesk::core {

enum class MessageKind { Error, Warning, Information };

// Information shown when a long computation was stopped by the person.
inline constexpr const char* kComputationCancelled = "Computation cancelled";

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Modal message box with an OK button.
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
  void Error(std::string_view text) { ShowMessage(MessageKind::Error, text); }
  void Warning(std::string_view text) { ShowMessage(MessageKind::Warning, text); }
  void Information(std::string_view text) { ShowMessage(MessageKind::Information, text); }

  // Yes/No confirmation; true for Yes.
  virtual bool Confirm(std::string_view question) = 0;

  // Yes/No/Cancel question: true for Yes, false for No, nothing for Cancel.
  // A person who cannot cancel (a run without a window) answers as Confirm.
  virtual std::optional<bool> ConfirmOrCancel(std::string_view question) { return Confirm(question); }

  // Input box with caption, prompt and initial text; nothing on Cancel.
  virtual std::optional<std::string> PromptText(std::string_view caption, std::string_view prompt,
                                                std::string_view initial) = 0;

  // File choosers; nothing on Cancel. `filter` uses the "Text (*.ext)|*.ext" form.
  virtual std::optional<std::string> ChooseOpenFile(std::string_view filter, std::string_view initialName) = 0;
  virtual std::optional<std::string> ChooseSaveFile(std::string_view filter, std::string_view defaultExtension,
                                                    std::string_view initialName) = 0;

  // Busy cursor and progress of long computations (percent 0..100).
  virtual void SetBusy(bool /*busy*/) {}
  virtual void ShowProgress(bool /*visible*/) {}
  virtual void SetProgress(int /*percent*/) {}

  // Asked at every progress point of a long computation: true once the person
  // has asked to stop it. The computation then ends without a trace and says
  // kComputationCancelled (see CancellableCommand.h).
  virtual bool CancelRequested() { return false; }

  // Integer prompt: repeats the input box until the text is an integer in
  // [low, high]; nothing on Cancel.
  std::optional<int> PromptInteger(std::string_view caption, std::string_view prompt, int low, int high,
                                   std::string_view initial = "");
};

// "error", "warning" or "information".
std::string_view MessageKindName(MessageKind kind);

}  // namespace vesk::core
