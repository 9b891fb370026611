#include "gui/HelpPages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vesk::gui {

QString ProgramFolder() { return QCoreApplication::applicationDirPath() + "/"; }

QString ManualFolder() { return ProgramFolder() + "Manual/"; }

bool ShowHelpPage(const QString& page, core::UserDialogs& dialogs) {
  const QString path = ManualFolder() + page;
  if (QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
  dialogs.Error(("Cannot open help file " + path + ". Please check its existance and properties.").toStdString());
  return false;
}

}  // namespace vesk::gui
