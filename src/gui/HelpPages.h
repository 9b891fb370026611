#pragma once
// The program's folders and the help pages of the manual.
#include <QString>

#include "core/problem/UserDialogs.h"

class QWidget;

namespace vesk::gui {

// The folder of the program file, with a trailing separator.
QString ProgramFolder();
// ProgramFolder() followed by "Manual/".
QString ManualFolder();

// Shows ManualFolder() + `page` (a file name, optionally followed by
// "#anchor") in the program's manual window (TManualForm), raised above
// `from` (the window asking; the active window when null). When the page
// does not exist, shows "Cannot open help file ..." through `dialogs`. True
// when the page is shown.
bool ShowHelpPage(const QString& page, core::UserDialogs& dialogs, QWidget* from = nullptr);

}  // namespace vesk::gui
