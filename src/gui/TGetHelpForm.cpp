// "How to get help": where the manual's pages are expected.
#include <QLabel>
#include <QVBoxLayout>

#include "gui/TGetHelpForm.h"
#include "gui/ScreenCentre.h"

namespace vesk::gui {

TGetHelpForm::TGetHelpForm(const QString& manualFolder, QWidget* parent) : QDialog(parent) {
  setObjectName("TGetHelpForm");
  setWindowTitle("How to get help");
  auto* layout = new QVBoxLayout(this);
  for (const char* line : {"You can learn how to use this program following the Online Manual.",
                           "The help texts are based on HTML and assume that your system has a",
                           "default system browser installed. The files should be located in the following",
                           "location:"})
    layout->addWidget(new QLabel(line, this));
  auto* folder = new QLabel(manualFolder, this);
  folder->setObjectName("ManualFolderLabel");
  folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(folder);
}

void TGetHelpForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
}

}  // namespace vesk::gui
