#pragma once
// The program's folders and the help pages of the manual.
#include <QString>

#include "core/problem/UserDialogs.h"

namespace vesk::gui {

// The folder of the program file, with a trailing separator.
QString ProgramFolder();
// ProgramFolder() followed by "Manual/".
QString ManualFolder();

// Opens ManualFolder() + `page` with the desktop's default handler; when the
// page does not exist or cannot be opened, shows "Cannot open help file ..."
// through `dialogs`. True when the page was handed to the handler.
bool ShowHelpPage(const QString& page, core::UserDialogs& dialogs);

}  // namespace vesk::gui
