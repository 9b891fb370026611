#pragma once
// Places a top-level window in the middle of the screen it is on.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vesk::gui {

inline void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace vesk::gui
