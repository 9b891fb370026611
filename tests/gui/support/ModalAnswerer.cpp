#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace vesk::guitest {

ModalAnswerer::ModalAnswerer() {
  timer_.setInterval(20);
  connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Poll);
  timer_.start();
}

ModalAnswerer::~ModalAnswerer() { timer_.stop(); }

void ModalAnswerer::Expect(Answer answer) { answers_.push_back(std::move(answer)); }

void ModalAnswerer::ExpectMessage(const QString& buttonText) {
  Expect([this, buttonText](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      unexpected << QString("expected a message box, got ") + modal->metaObject()->className();
      modal->close();
      return;
    }
    messages << box->text();
    QAbstractButton* target = box->defaultButton();
    // Button texts are compared without their accelerator marks ("&Yes").
    auto plain = [](QString t) { return t.remove('&'); };
    for (QAbstractButton* b : box->buttons())
      if (!buttonText.isEmpty() && plain(b->text()) == plain(buttonText)) target = b;
    if (!target && !box->buttons().isEmpty()) target = box->buttons().first();
    if (target) target->click(); else box->close();
  });
}

void ModalAnswerer::ExpectInput(const QString& text, bool cancel) {
  Expect([this, text, cancel](QWidget* modal) {
    auto* input = qobject_cast<QInputDialog*>(modal);
    if (!input) {
      unexpected << QString("expected an input box, got ") + modal->metaObject()->className();
      modal->close();
      return;
    }
    if (cancel) {
      input->reject();
      return;
    }
    input->setTextValue(text);
    input->accept();
  });
}

void ModalAnswerer::ExpectFile(const QString& path) {
  Expect([this, path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) {
      unexpected << QString("expected a file dialog, got ") + modal->metaObject()->className();
      modal->close();
      return;
    }
    // The name is typed as a person types it: the full path into the name
    // field (selectFile alone races the dialog's own loading of its folder).
    if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit")) edit->setText(path);
    else dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();  // QDialog's public slot; QFileDialog's override runs
  });
}

namespace {
void Decline(QWidget* modal) {
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    for (auto which : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
      if (QAbstractButton* b = box->button(which)) {
        b->click();
        return;
      }
    box->reject();
    return;
  }
  if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  else modal->close();
}
}  // namespace

bool ModalAnswerer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide) watched->setProperty("veskAnswered", false);
  return QObject::eventFilter(watched, event);
}

void ModalAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) return;
  // Answer once per appearance: a box handled but not yet gone is left alone.
  if (modal->property("veskAnswered").toBool()) return;
  modal->setProperty("veskAnswered", true);
  modal->installEventFilter(this);
  if (answers_.empty() && declineUnqueued) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    messages << (box ? box->text() : QString(modal->metaObject()->className()) + " " + modal->windowTitle());
    Decline(modal);
    return;
  }
  if (answers_.empty()) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    unexpected << (box ? box->text() : QString(modal->metaObject()->className()) + " " + modal->windowTitle());
    if (box) messages << box->text();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject(); else modal->close();
    return;
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  answer(modal);
}

}  // namespace vesk::guitest
