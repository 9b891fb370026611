#pragma once
// Records the file URLs the desktop is asked to open instead of starting a
// browser, for as long as it lives.
#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

namespace vesk::guitest {

class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  UrlRecorder() { QDesktopServices::setUrlHandler("file", this, "Open"); }
  ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
  QList<QUrl> opened;
 public slots:
  void Open(const QUrl& url) { opened << url; }
};

}  // namespace vesk::guitest
