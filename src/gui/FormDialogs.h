#pragma once
// The person as a secondary window sees it during one of its commands: every
// box goes to the main window's dialogs, the busy cursor is shown on the
// screen, and the window hears of each progress step so that it can show it
// and repaint while the command runs.
#include <functional>

#include "core/problem/UserDialogs.h"

namespace vesk::gui {

class FormDialogs : public core::UserDialogs {
 public:
  explicit FormDialogs(core::UserDialogs& outer, std::function<void(int percent)> progress = {})
      : outer_(outer), progress_(std::move(progress)) {}
  ~FormDialogs() override;

  void ShowMessage(core::MessageKind kind, std::string_view text) override { outer_.ShowMessage(kind, text); }
  bool Confirm(std::string_view question) override { return outer_.Confirm(question); }
  std::optional<std::string> PromptText(std::string_view caption, std::string_view prompt,
                                        std::string_view initial) override {
    return outer_.PromptText(caption, prompt, initial);
  }
  std::optional<std::string> ChooseOpenFile(std::string_view filter, std::string_view initialName) override {
    return outer_.ChooseOpenFile(filter, initialName);
  }
  std::optional<std::string> ChooseSaveFile(std::string_view filter, std::string_view defaultExtension,
                                            std::string_view initialName) override {
    return outer_.ChooseSaveFile(filter, defaultExtension, initialName);
  }
  void SetBusy(bool busy) override;
  void ShowProgress(bool visible) override { outer_.ShowProgress(visible); }
  void SetProgress(int percent) override;
  bool CancelRequested() override { return outer_.CancelRequested(); }

 private:
  core::UserDialogs& outer_;
  std::function<void(int)> progress_;
  int busyDepth_ = 0;
};

}  // namespace vesk::gui
