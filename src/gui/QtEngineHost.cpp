#include "gui/QtEngineHost.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "core/problem/Numbers.h"
#include "gui/CancelGate.h"

namespace vesk::gui {

QtEngineHost::QtEngineHost(QWidget* parent) : parent_(parent) {}

engine::EngineHost::Answer QtEngineHost::MessageBox(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), QString::fromUtf8(text.data(), text.size()),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

bool QtEngineHost::ReadNumber(std::string_view prompt, double& value) {
  // Asked until the text is a number ("." as decimal separator) or Cancel.
  QString text;
  for (;;) {
    QInputDialog input(parent_);
    input.setInputMode(QInputDialog::TextInput);
    input.setWindowTitle(QGuiApplication::applicationDisplayName());
    input.setLabelText(QString::fromUtf8(prompt.data(), prompt.size()));
    input.setTextValue(text);
    if (input.exec() != QDialog::Accepted) return false;
    text = input.textValue();
    if (const auto number = core::ParseReal(text.trimmed().toStdString())) {
      value = *number;
      return true;
    }
  }
}

// With a Cancel button open, the gate holds back every other input itself,
// so the events are processed in full and the button's click gets through.
void QtEngineHost::ProcessPendingEvents() {
  if (CancelGate::Active()) QCoreApplication::processEvents();
  else QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool QtEngineHost::CancelRequested() { return CancelGate::Active() && CancelGate::Active()->Requested(); }

// The engine only takes differences of the clock, so the same seconds as the
// other hosts serve.
double QtEngineHost::ClockSeconds() { return scratch_.ClockSeconds(); }

// The window process holds far more than the engine; the memory rules of the
// search are about the engine's own allocation.
long long QtEngineHost::HeapBytes() { return engineHeap_; }

void QtEngineHost::NoteEngineHeapBytes(long long bytes) { engineHeap_ = bytes; }

std::filesystem::path QtEngineHost::WorkingFolder() { return scratch_.WorkingFolder(); }

}  // namespace vesk::gui
