#include "IsolatedSettings.h"

#include <QSettings>
#include <QTemporaryDir>

namespace vesk::guitest {
namespace {

struct Isolation {
  QTemporaryDir dir;
  Isolation() {
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
      QSettings::setPath(format, QSettings::UserScope, dir.path() + "/user");
      QSettings::setPath(format, QSettings::SystemScope, dir.path() + "/system");
    }
  }
};

// Built before main, so before any window or settings object.
const Isolation isolation;

}  // namespace

QString SettingsFolder() { return isolation.dir.path(); }

}  // namespace vesk::guitest
