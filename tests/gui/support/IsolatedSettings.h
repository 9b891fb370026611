#pragma once
// Every window test program keeps its settings (the recent files) in a
// folder of its own that goes when the program ends, never in the settings
// of the person running the tests. The redirection is made before main.
#include <QString>

namespace vesk::guitest {

// The folder that holds this program's settings.
QString SettingsFolder();

}  // namespace vesk::guitest
