#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
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
    for (QAbstractButton* b : box->buttons())
      if (!buttonText.isEmpty() && b->text() == buttonText) target = b;
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

void ModalAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) return;
  // Answer once per appearance: a box handled but not yet gone is left alone.
  if (modal->property("veskAnswered").toBool()) return;
  modal->setProperty("veskAnswered", true);
  // A dialog that is run again (the windows reuse theirs) is a new appearance.
  if (auto* dialog = qobject_cast<QDialog*>(modal))
    connect(dialog, &QDialog::finished, dialog, [dialog] { dialog->setProperty("veskAnswered", false); },
            Qt::SingleShotConnection);
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
