#pragma once
#include <QWidget>

namespace vesk::gui {

// The engine's chart window: created hidden at start-up, never shown.
class Ttfernform : public QWidget {
  Q_OBJECT
 public:
  explicit Ttfernform(QWidget* parent = nullptr);
};

}  // namespace vesk::gui
