#include "gui/TManualForm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "gui/HelpPages.h"

namespace vesk::gui {

namespace {

constexpr const char* kHomePage = "Main_man.htm";
constexpr const char* kTitle = "Vesk 2 manual";

// The top of the program's window family: the main window.
QWidget* ProgramWindow(QWidget* anchor) {
  QWidget* w = anchor ? anchor->window() : QApplication::activeWindow();
  while (w && w->parentWidget()) w = w->parentWidget()->window();
  return w;
}

QToolButton* Button(const QString& name, const QString& text, QStyle::StandardPixmap icon, const QString& hint,
                    QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  return button;
}

}  // namespace

TManualForm* TManualForm::For(QWidget* anchor) {
  QWidget* program = ProgramWindow(anchor);
  if (program) {
    if (auto* form = program->findChild<TManualForm*>(QString(), Qt::FindChildrenRecursively)) return form;
  }
  return new TManualForm(program);
}

TManualForm::TManualForm(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName("TManualForm");
  setWindowTitle(kTitle);
  if (!owner) setAttribute(Qt::WA_DeleteOnClose);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);

  auto* bar = new QHBoxLayout;
  back_ = Button("BackButton", "Back", QStyle::SP_ArrowBack, "Back to the page seen before (Alt+Left)", this);
  forward_ = Button("ForwardButton", "Forward", QStyle::SP_ArrowForward, "Forward again (Alt+Right)", this);
  auto* home = Button("HomeButton", "Contents", QStyle::SP_DirHomeIcon, "The manual's first page", this);
  connect(back_, &QToolButton::clicked, this, &TManualForm::BackClick);
  connect(forward_, &QToolButton::clicked, this, &TManualForm::ForwardClick);
  connect(home, &QToolButton::clicked, this, &TManualForm::HomeClick);
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addWidget(home);
  bar->addSpacing(16);

  auto* findLabel = new QLabel("Find:", this);
  find_ = new QLineEdit(this);
  find_->setObjectName("FindEdit");
  find_->setPlaceholderText("a word of this page");
  find_->setClearButtonEnabled(true);
  find_->setMaximumWidth(260);
  findLabel->setBuddy(find_);
  auto* next = Button("FindNextButton", "Next", QStyle::SP_ArrowDown, "Next place on the page (Enter, F3)", this);
  auto* previous = Button("FindPreviousButton", "Previous", QStyle::SP_ArrowUp,
                          "Place before on the page (Shift+Enter, Shift+F3)", this);
  connect(find_, &QLineEdit::returnPressed, this, [this] {
    FindClick(QApplication::keyboardModifiers() & Qt::ShiftModifier);
  });
  connect(next, &QToolButton::clicked, this, [this] { FindClick(false); });
  connect(previous, &QToolButton::clicked, this, [this] { FindClick(true); });
  findState_ = new QLabel(this);
  findState_->setObjectName("FindState");
  bar->addWidget(findLabel);
  bar->addWidget(find_, 1);
  bar->addWidget(next);
  bar->addWidget(previous);
  bar->addWidget(findState_);
  bar->addStretch();
  auto* external = new QPushButton("Open in browser", this);
  external->setObjectName("OpenInBrowserButton");
  external->setToolTip("Open this page in the desktop's web browser");
  connect(external, &QPushButton::clicked, this, &TManualForm::OpenInBrowserClick);
  bar->addWidget(external);
  column->addLayout(bar);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName("ManualBrowser");
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({ManualFolder()});
  connect(browser_, &QTextBrowser::historyChanged, this, &TManualForm::ShowState);
  connect(browser_, &QTextBrowser::sourceChanged, this, &TManualForm::ShowState);
  column->addWidget(browser_, 1);

  auto shortcut = [this](const QKeySequence& keys, const std::function<void()>& run) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, run);
  };
  shortcut(QKeySequence::Find, [this] {
    find_->setFocus();
    find_->selectAll();
  });
  shortcut(QKeySequence::FindNext, [this] { FindClick(false); });
  shortcut(QKeySequence::FindPrevious, [this] { FindClick(true); });
  shortcut(QKeySequence::Back, [this] { BackClick(); });
  shortcut(QKeySequence::Forward, [this] { ForwardClick(); });
  shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });

  if (const QScreen* screen = owner ? owner->screen() : QApplication::primaryScreen()) {
    const QRect room = screen->availableGeometry();
    resize(std::min(900, room.width() * 2 / 3), room.height() * 4 / 5);
  }
  ShowState();
}

void TManualForm::AttachTo(QWidget* anchor) {
  QWidget* modal = QApplication::activeModalWidget();
  QWidget* owner = modal ? modal : ProgramWindow(anchor);
  if (!owner || owner == this || owner == parentWidget()) return;
  const QRect where = geometry();
  const bool shown = isVisible();
  setParent(owner, Qt::Window);
  if (shown) setGeometry(where);
}

void TManualForm::ShowPage(const QUrl& page, QWidget* anchor) {
  AttachTo(anchor);
  browser_->setSource(page);
  find_->clear();
  findState_->clear();
  if (!placed_) {
    // The first time beside the program's window: centred over it, on its screen.
    placed_ = true;
    if (const QWidget* program = ProgramWindow(anchor)) {
      QRect frame(QPoint(0, 0), size());
      frame.moveCenter(program->frameGeometry().center());
      if (const QScreen* screen = program->screen()) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - frame.width())));
        frame.moveTop(std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - frame.height())));
      }
      move(frame.topLeft());
    }
  }
  show();
  raise();
  activateWindow();
}

QUrl TManualForm::Page() const { return browser_->source(); }

void TManualForm::BackClick() { browser_->backward(); }

void TManualForm::ForwardClick() { browser_->forward(); }

void TManualForm::HomeClick() { browser_->setSource(QUrl::fromLocalFile(ManualFolder() + kHomePage)); }

bool TManualForm::FindClick(bool backward) {
  const QString text = find_->text();
  findState_->clear();
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (browser_->find(text, flags)) return true;
  // Once more from the other end of the page.
  QTextCursor restart = browser_->textCursor();
  const QTextCursor before = restart;
  restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  browser_->setTextCursor(restart);
  if (browser_->find(text, flags)) return true;
  browser_->setTextCursor(before);
  findState_->setText("Not found on this page");
  return false;
}

bool TManualForm::OpenInBrowserClick() {
  const QUrl page = Page();
  if (QDesktopServices::openUrl(page)) return true;
  QMessageBox::warning(this, kTitle,
                       "No web browser could be started for " + page.toDisplayString(QUrl::PreferLocalFile) +
                           ". The page stays readable in this window.");
  return false;
}

void TManualForm::ShowState() {
  back_->setEnabled(browser_->isBackwardAvailable());
  forward_->setEnabled(browser_->isForwardAvailable());
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? QString(kTitle) : title);
}

}  // namespace vesk::gui
