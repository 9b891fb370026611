#pragma once
// The manual's window: the shipped HTML pages of Manual/ in a browser of the
// program's own, with back, forward, home, search within the page and "Open in
// browser" for the desktop's browser. One window serves the whole program; it
// stays open beside the window it was asked from.
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;
class QUrl;

namespace vesk::gui {

class TManualForm : public QWidget {
  Q_OBJECT
 public:
  // The manual's window of the program `anchor` belongs to, made on first use.
  static TManualForm* For(QWidget* anchor);

  // Shows `page` (a page of the manual, with an optional anchor) and raises
  // the window above the window it is asked from.
  void ShowPage(const QUrl& page, QWidget* anchor);

  // The controls, as their buttons and keys run them.
  void BackClick();
  void ForwardClick();
  void HomeClick();
  // Finds the search field's text in the page after (or before) the current
  // selection, wrapping round the page once; false when it is not there.
  bool FindClick(bool backward = false);
  // Opens the page shown in the desktop's browser; false, with a message,
  // when none could be started.
  bool OpenInBrowserClick();

  QTextBrowser* Browser() const { return browser_; }
  QUrl Page() const;

 private:
  explicit TManualForm(QWidget* owner);
  // The window a modal dialog does not block: a child of the modal dialog
  // shown, else of the program's main window.
  void AttachTo(QWidget* anchor);
  void ShowState();

  QTextBrowser* browser_ = nullptr;
  QToolButton* back_ = nullptr;
  QToolButton* forward_ = nullptr;
  QLineEdit* find_ = nullptr;
  QLabel* findState_ = nullptr;
  bool placed_ = false;
};

}  // namespace vesk::gui
