// "About": the program's icon, name, version and picture.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "gui/TAboutBox.h"
#include "gui/ScreenCentre.h"

// The pictures live in a resource file of a static library, which must be
// registered by name before its first use.
static void InitFormResources() { Q_INIT_RESOURCE(forms); }

namespace vesk::gui {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  InitFormResources();
  setObjectName("TAboutBox");
  setWindowTitle("About");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QGridLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  auto* icon = new QLabel(this);
  icon->setObjectName("ProgramIcon");
  icon->setPixmap(QPixmap(":/vesk/vesk.png"));
  auto* title = new QLabel("Vesk", this);
  title->setObjectName("ProductName");
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  title->setFont(bold);
  auto* version = new QLabel("Version 2.0 -  November 2002", this);
  version->setObjectName("Version");
  auto* picture = new QLabel(this);
  picture->setObjectName("Picture");
  picture->setPixmap(QPixmap(":/vesk/about.jpg", "JPG"));
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TAboutBox::accept);

  layout->addWidget(icon, 0, 0, Qt::AlignTop);
  layout->addWidget(title, 0, 1);
  layout->addWidget(version, 1, 1);
  layout->addWidget(picture, 2, 0, 1, 2, Qt::AlignCenter);
  layout->addWidget(ok, 3, 0, 1, 2, Qt::AlignCenter);
}

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
}

}  // namespace vesk::gui
