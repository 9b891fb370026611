#pragma once
// Answers the modal boxes a window test provokes. Each expected box is queued
// with what to do with it; a timer looks for QApplication::activeModalWidget()
// and hands it to the first queued answer. A box that appears with nothing
// queued is recorded and rejected, so a missed dialog fails the test instead of
// hanging it.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace vesk::guitest {

class ModalAnswerer : public QObject {
  Q_OBJECT
 public:
  // `answer` receives the modal widget; it must close it (accept, reject, click
  // a button ...).
  using Answer = std::function<void(QWidget* modal)>;

  ModalAnswerer();
  ~ModalAnswerer() override;

  void Expect(Answer answer);
  // A QMessageBox: records its text and clicks the button with `buttonText`
  // ("OK", "&Yes", "&No", "Cancel" ...), or the default button when empty.
  void ExpectMessage(const QString& buttonText = {});
  // A QInputDialog: types `text` and presses OK (or Cancel when `cancel`).
  void ExpectInput(const QString& text, bool cancel = false);
  // A QFileDialog: chooses `path` and accepts it.
  void ExpectFile(const QString& path);

  // With nothing queued, a box is answered as a person who declines
  // everything would: Cancel, else No, else its only button (OK); any other
  // dialog is rejected. Such boxes are recorded in `messages`, not in
  // `unexpected`.
  bool declineUnqueued = false;

  // Texts of every message box seen, and of boxes that came unexpected.
  QStringList messages;
  QStringList unexpected;
  bool Idle() const { return answers_.empty(); }

 protected:
  // A dialog that is shown again (the forms created once at start) is
  // answered again: its mark is cleared when it hides.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Poll();
  QTimer timer_;
  std::deque<Answer> answers_;
};

}  // namespace vesk::guitest
