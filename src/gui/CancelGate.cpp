#include "gui/CancelGate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace vesk::gui {
namespace {
CancelGate* g_active = nullptr;

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
      return true;
    default:
      return false;
  }
}
}  // namespace

CancelGate::CancelGate(QAbstractButton* button) : button_(button), outer_(g_active) {
  g_active = this;
  if (button_) {
    wasVisible_ = button_->isVisible();
    wasEnabled_ = button_->isEnabled();
    button_->setEnabled(true);
    button_->show();
    connect(button_, &QAbstractButton::clicked, this, &CancelGate::Request);
  }
  qApp->installEventFilter(this);
}

CancelGate::~CancelGate() {
  qApp->removeEventFilter(this);
  if (button_) {
    button_->setEnabled(wasEnabled_);
    button_->setVisible(wasVisible_);
  }
  g_active = outer_;
}

CancelGate* CancelGate::Active() { return g_active; }

bool CancelGate::Poll() {
  CancelGate* gate = g_active;
  if (!gate) return false;
  QCoreApplication::processEvents();
  return gate->requested_;
}

bool CancelGate::eventFilter(QObject* watched, QEvent* event) {
  if (g_active != this || !IsUserInput(event->type())) return false;
  // A box the computation opens meanwhile (a message, a question) is answered
  // as usual.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && (!button_ || modal != button_->window())) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget == modal || modal->isAncestorOf(widget)) return false;
  }
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    requested_ = true;
    return true;
  }
  // A window passes its input on to its widgets, where it is sorted out.
  if (!watched->isWidgetType()) return false;
  // Mouse events reach the button itself; keys (Space on a focused button)
  // are held back with everything else, Esc being the keyboard's way.
  const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
                     event->type() == QEvent::MouseMove;
  if (mouse && button_ && watched == button_.data()) return false;
  return true;
}

}  // namespace vesk::gui
