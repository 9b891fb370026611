#include "gui/RecentFiles.h"

#include <QDir>
#include <QFileInfo>

namespace vesk::gui {

RecentFiles::RecentFiles() : settings_(std::make_unique<QSettings>()) {}

RecentFiles::RecentFiles(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

QString RecentFiles::Normalized(const QString& path) {
  if (path.isEmpty()) return {};
  // Not the canonical path: a file that has gone has none, and it must still
  // match its entry to be removed.
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStringList RecentFiles::Files() const {
  // The stored value may have been edited by hand or written by another
  // version: anything that is not a usable path is passed over.
  // Picks up what another window wrote since.
  settings_->sync();
  QStringList files;
  for (const QString& entry : settings_->value(kKey).toStringList()) {
    const QString path = Normalized(entry);
    if (path.isEmpty() || files.contains(path)) continue;
    files << path;
    if (files.size() == kMaxFiles) break;
  }
  return files;
}

void RecentFiles::Add(const QString& path) {
  const QString file = Normalized(path);
  if (file.isEmpty()) return;
  QStringList files = Files();
  files.removeAll(file);
  files.prepend(file);
  while (files.size() > kMaxFiles) files.removeLast();
  Store(files);
}

void RecentFiles::Remove(const QString& path) {
  QStringList files = Files();
  if (files.removeAll(Normalized(path)) > 0) Store(files);
}

void RecentFiles::Store(const QStringList& files) {
  settings_->setValue(kKey, files);
  settings_->sync();
}

}  // namespace vesk::gui
