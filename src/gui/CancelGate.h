#pragma once
// Lets one Cancel button (and Esc) through while a long computation runs.
// While a gate is open, every other key or mouse event of the application is
// held back, so that pending events can be processed in full without a menu
// or a button starting a second computation; a click on the Cancel button or
// Esc marks the computation as to be stopped. Core and the engine ask through
// CancelRequested() at their progress points.
#include <QObject>
#include <QPointer>

class QAbstractButton;

namespace vesk::gui {

class CancelGate : public QObject {
 public:
  // Opens the gate for `button` (shown and enabled while open).
  explicit CancelGate(QAbstractButton* button);
  ~CancelGate() override;
  CancelGate(const CancelGate&) = delete;
  CancelGate& operator=(const CancelGate&) = delete;

  bool Requested() const { return requested_; }
  void Request() { requested_ = true; }

  // The gate open now, if any (the innermost when gates nest).
  static CancelGate* Active();
  // Processes pending events through the open gate and tells whether the
  // person asked to stop; false when no gate is open.
  static bool Poll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QAbstractButton> button_;
  CancelGate* outer_ = nullptr;
  bool requested_ = false;
  bool wasVisible_ = false;
  bool wasEnabled_ = false;
};

}  // namespace vesk::gui
