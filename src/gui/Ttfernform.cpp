// The engine's chart window: a maximized window holding one paint box. It is
// created hidden and nothing shows it or draws on it.
#include <QVBoxLayout>

#include "gui/Ttfernform.h"

namespace vesk::gui {

Ttfernform::Ttfernform(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("tfernform");
  setWindowState(Qt::WindowMaximized);
  auto* layout = new QVBoxLayout(this);
  auto* paintBox = new QWidget(this);
  paintBox->setObjectName("PaintBox");
  paintBox->setFixedSize(700, 500);
  layout->addWidget(paintBox);
  hide();
}

}  // namespace vesk::gui
