#pragma once
// The person of the desktop window: core's messages, questions, prompts and
// file choosers in real Qt boxes, the hourglass cursor and the progress panel.
//
// The boxes are Qt's own widgets (never the platform's native dialogs), so
// that window tests can find and answer them. For runs without a person
// (`SetUnattended`), messages go to standard error, questions are answered
// No and prompts and choosers are cancelled.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "core/problem/UserDialogs.h"

class QAbstractButton;
class QProgressBar;
class QWidget;

namespace vesk::gui {

class CancelGate;

class QtDialogs : public core::UserDialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr);
  ~QtDialogs() override;

  void ShowMessage(core::MessageKind kind, std::string_view text) override;
  bool Confirm(std::string_view question) override;
  std::optional<bool> ConfirmOrCancel(std::string_view question) override;
  std::optional<std::string> PromptText(std::string_view caption, std::string_view prompt,
                                        std::string_view initial) override;
  std::optional<std::string> ChooseOpenFile(std::string_view filter, std::string_view initialName) override;
  std::optional<std::string> ChooseSaveFile(std::string_view filter, std::string_view defaultExtension,
                                            std::string_view initialName) override;

  void SetBusy(bool busy) override;
  void ShowProgress(bool visible) override;
  void SetProgress(int percent) override;
  // Polls the open CancelGate (see CancelGate.h).
  bool CancelRequested() override;

  // The panel that covers the toolbar during computations and its bar.
  void SetProgressWidgets(QWidget* panel, QProgressBar* bar, QAbstractButton* cancel = nullptr);

  // No person present: nothing modal is shown (see the header comment).
  void SetUnattended(bool on) { unattended_ = on; }
  bool Unattended() const { return unattended_; }
  // Errors shown since the window started (unattended runs exit non-zero on them).
  int ErrorCount() const { return errors_; }

  bool Busy() const { return busy_; }

 private:
  // A question with Yes, No and (when `withCancel`) Cancel; Escape or the
  // close box answers Cancel, or No without it.
  std::optional<bool> Ask(std::string_view question, bool withCancel);

  QWidget* parent_;
  QWidget* panel_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QAbstractButton* cancel_ = nullptr;
  std::unique_ptr<CancelGate> gate_;  // open while the panel is shown
  bool busy_ = false;
  bool unattended_ = false;
  int errors_ = 0;
};

// The file choosers' filter "Text (*.ext)|*.ext|..." as a Qt name filter list
// ("Text (*.ext)", ...). A description without its patterns in brackets gets
// them appended; patterns separated by ';' are joined by blanks.
QStringList QtNameFilters(std::string_view filter);

}  // namespace vesk::gui
