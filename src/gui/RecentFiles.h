#pragma once
// The problems opened or saved last, most recent first, kept in the
// program's settings so that they outlive the window.
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace vesk::gui {

class RecentFiles {
 public:
  // Files kept; an older one drops off the end.
  static constexpr int kMaxFiles = 6;
  // The settings key of the list.
  static constexpr const char* kKey = "RecentFiles";

  // Over the program's settings (organisation and application names of the
  // running application).
  RecentFiles();
  // Over a settings object of the caller's.
  explicit RecentFiles(std::unique_ptr<QSettings> settings);

  // The list as stored, cleaned up: absolute paths, no empty or repeated
  // entries, at most kMaxFiles.
  QStringList Files() const;
  // Puts `path` at the front, removing an earlier entry of the same file.
  void Add(const QString& path);
  // Takes `path` out of the list.
  void Remove(const QString& path);

  // The absolute, cleaned form under which a path is listed.
  static QString Normalized(const QString& path);

 private:
  void Store(const QStringList& files);
  std::unique_ptr<QSettings> settings_;
};

}  // namespace vesk::gui
