#include "gui/FormDialogs.h"

#include <QApplication>
#include <QCursor>

namespace vesk::gui {

FormDialogs::~FormDialogs() {
  while (busyDepth_ > 0) SetBusy(false);
}

void FormDialogs::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
  outer_.SetBusy(busy);
}

void FormDialogs::SetProgress(int percent) {
  outer_.SetProgress(percent);
  if (progress_) progress_(percent);
}

}  // namespace vesk::gui
