#include "gui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>
#include <cstdio>

#include "gui/CancelGate.h"

namespace vesk::gui {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// While a box waits for the person the hourglass gives way to the arrow.
class ArrowWhileAsking {
 public:
  explicit ArrowWhileAsking(bool busy) : busy_(busy) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileAsking() {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  ArrowWhileAsking(const ArrowWhileAsking&) = delete;
  ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

 private:
  bool busy_;
};

// Directory and file name a chooser starts from: an absolute initial name
// gives both, a bare one only the name.
void StartAt(QFileDialog& dialog, std::string_view initialName) {
  if (initialName.empty()) return;
  const QFileInfo info(Q(initialName));
  if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
  dialog.selectFile(info.fileName());
}

}  // namespace

QStringList QtNameFilters(std::string_view filter) {
  const QStringList parts = Q(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
    if (!description.contains('(')) description += " (" + patterns + ")";
    filters << description;
  }
  if (parts.size() % 2 == 1 && !parts.back().isEmpty()) filters << parts.back();
  return filters;
}

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

QtDialogs::~QtDialogs() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtDialogs::SetProgressWidgets(QWidget* panel, QProgressBar* bar, QAbstractButton* cancel) {
  panel_ = panel;
  bar_ = bar;
  cancel_ = cancel;
}

bool QtDialogs::CancelRequested() { return CancelGate::Poll(); }

void QtDialogs::ShowMessage(core::MessageKind kind, std::string_view text) {
  if (kind == core::MessageKind::Error) ++errors_;
  if (unattended_) {
    std::fprintf(stderr, "%s: %.*s\n", std::string(core::MessageKindName(kind)).c_str(),
                 static_cast<int>(text.size()), text.data());
    return;
  }
  ArrowWhileAsking arrow(busy_);
  QMessageBox::Icon icon = QMessageBox::Information;
  QString title = "Information";
  if (kind == core::MessageKind::Error) {
    icon = QMessageBox::Critical;
    title = "Error";
  } else if (kind == core::MessageKind::Warning) {
    icon = QMessageBox::Warning;
    title = "Warning";
  }
  QMessageBox box(icon, title, Q(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::Confirm(std::string_view question) { return Ask(question, false).value_or(false); }

std::optional<bool> QtDialogs::ConfirmOrCancel(std::string_view question) { return Ask(question, true); }

std::optional<bool> QtDialogs::Ask(std::string_view question, bool withCancel) {
  if (unattended_) {
    std::fprintf(stderr, "question: %.*s (answered No)\n", static_cast<int>(question.size()), question.data());
    return false;
  }
  ArrowWhileAsking arrow(busy_);
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, "Confirm", Q(question), buttons, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  const int answer = box.exec();
  if (answer == QMessageBox::Yes) return true;
  if (answer == QMessageBox::No) return false;
  return std::nullopt;
}

std::optional<std::string> QtDialogs::PromptText(std::string_view caption, std::string_view prompt,
                                                 std::string_view initial) {
  if (unattended_) return std::nullopt;
  ArrowWhileAsking arrow(busy_);
  QInputDialog box(parent_);
  box.setInputMode(QInputDialog::TextInput);
  box.setWindowTitle(Q(caption));
  box.setLabelText(Q(prompt));
  box.setTextValue(Q(initial));
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.textValue().toStdString();
}

std::optional<std::string> QtDialogs::ChooseOpenFile(std::string_view filter, std::string_view initialName) {
  if (unattended_) return std::nullopt;
  ArrowWhileAsking arrow(busy_);
  QFileDialog dialog(parent_, "Open");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(QtNameFilters(filter));
  StartAt(dialog, initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::ChooseSaveFile(std::string_view filter, std::string_view defaultExtension,
                                                     std::string_view initialName) {
  if (unattended_) return std::nullopt;
  ArrowWhileAsking arrow(busy_);
  QFileDialog dialog(parent_, "Save As");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(QtNameFilters(filter));
  dialog.setDefaultSuffix(Q(defaultExtension));
  StartAt(dialog, initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

void QtDialogs::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

void QtDialogs::ShowProgress(bool visible) {
  if (!panel_) return;
  // The panel's Cancel button stops the computation, unless a window of its
  // own (with its own Cancel) runs it.
  if (!visible) gate_.reset();
  else if (cancel_ && !gate_ && !CancelGate::Active()) gate_ = std::make_unique<CancelGate>(cancel_);
  panel_->setVisible(visible);
  if (visible) {
    panel_->raise();
    panel_->repaint();
  }
}

void QtDialogs::SetProgress(int percent) {
  if (!bar_) return;
  bar_->setValue(std::clamp(percent, 0, 100));
  if (panel_ && panel_->isVisible()) panel_->repaint();
}

}  // namespace vesk::gui
