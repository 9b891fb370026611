#include "gui/HelpPages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

#include "gui/TManualForm.h"

namespace vesk::gui {

QString ProgramFolder() { return QCoreApplication::applicationDirPath() + "/"; }

QString ManualFolder() { return ProgramFolder() + "Manual/"; }

bool ShowHelpPage(const QString& page, core::UserDialogs& dialogs, QWidget* from) {
  const QString file = ManualFolder() + page.section('#', 0, 0);
  if (!QFileInfo(file).isFile()) {
    dialogs.Error(("Cannot open help file " + file + ". Please check its existance and properties.").toStdString());
    return false;
  }
  QUrl url = QUrl::fromLocalFile(file);
  if (page.contains('#')) url.setFragment(page.section('#', 1));
  TManualForm::For(from)->ShowPage(url, from);
  return true;
}

}  // namespace vesk::gui
