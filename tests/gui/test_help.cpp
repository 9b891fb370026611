// The manual's window: a page opens in the program's own browser whether or
// not the desktop has one, with back, forward, contents and search; a page
// that is not there is told; the desktop's browser only on request.
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include "ModalAnswerer.h"
#include "UrlRecorder.h"
#include "core/problem/ScriptedDialogs.h"
#include "gui/HelpPages.h"
#include "gui/TGetHelpForm.h"
#include "gui/TManualForm.h"
#include "gui/TVolumeForm.h"

using vesk::core::ScriptedDialogs;
namespace gui = vesk::gui;
using vesk::guitest::UrlRecorder;

namespace {

gui::TManualForm* Manual() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* form = qobject_cast<gui::TManualForm*>(w)) return form;
  return nullptr;
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    if (!QFileInfo::exists(gui::ManualFolder() + "Main_man.htm")) QSKIP("the manual is not beside the test program");
  }

  void cleanup() {
    if (auto* form = Manual()) delete form;
  }

  void PageOpensInTheProgramsOwnWindow() {
    UrlRecorder recorder;
    ScriptedDialogs dialogs;
    QWidget main;
    main.show();
    QVERIFY(gui::ShowHelpPage("results.htm#holes", dialogs, &main));
    auto* form = main.findChild<gui::TManualForm*>();
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->Page().fileName(), QString("results.htm"));
    QCOMPARE(form->Page().fragment(), QString("holes"));
    QVERIFY(form->Browser()->toPlainText().contains("Holes"));
    QVERIFY(dialogs.messages.empty());
    QVERIFY(recorder.opened.isEmpty());

    // A second page reuses the window.
    QVERIFY(gui::ShowHelpPage("inferprog.htm", dialogs, &main));
    QCOMPARE(main.findChildren<gui::TManualForm*>().size(), 1);
    QCOMPARE(form->Page().fileName(), QString("inferprog.htm"));
  }

  void MissingPageIsToldAndNothingOpens() {
    UrlRecorder recorder;
    ScriptedDialogs dialogs;
    QVERIFY(!gui::ShowHelpPage("no_such_page.htm", dialogs));
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].kind, vesk::core::MessageKind::Error);
    QCOMPARE(QString::fromStdString(dialogs.messages[0].text),
             "Cannot open help file " + gui::ManualFolder() + "no_such_page.htm. Please check its existance and properties.");
    QVERIFY(!Manual());
    QVERIFY(recorder.opened.isEmpty());
  }

  void BackForwardContentsAndSearch() {
    ScriptedDialogs dialogs;
    QVERIFY(gui::ShowHelpPage("Main_man.htm", dialogs));
    gui::TManualForm* form = Manual();
    QVERIFY(form);
    form->Browser()->setSource(QUrl::fromLocalFile(gui::ManualFolder() + "cons_in.htm"));
    form->BackClick();
    QCOMPARE(form->Page().fileName(), QString("Main_man.htm"));
    form->ForwardClick();
    QCOMPARE(form->Page().fileName(), QString("cons_in.htm"));
    form->HomeClick();
    QCOMPARE(form->Page().fileName(), QString("Main_man.htm"));

    auto* find = form->findChild<QLineEdit*>("FindEdit");
    QVERIFY(find);
    find->setText("profiles");
    QVERIFY(form->FindClick());
    const int first = form->Browser()->textCursor().selectionStart();
    QCOMPARE(form->Browser()->textCursor().selectedText().toLower(), QString("profiles"));
    QVERIFY(form->FindClick());
    QVERIFY(form->Browser()->textCursor().selectionStart() > first);
    QVERIFY(form->FindClick(true));
    QCOMPARE(form->Browser()->textCursor().selectionStart(), first);
    find->setText("zqxj-not-in-the-manual");
    QVERIFY(!form->FindClick());
    QCOMPARE(form->findChild<QLabel*>("FindState")->text(), QString("Not found on this page"));
  }

  void OpenInBrowserHandsThePageToTheDesktop() {
    UrlRecorder recorder;
    ScriptedDialogs dialogs;
    QVERIFY(gui::ShowHelpPage("bound_in.htm", dialogs));
    QVERIFY(recorder.opened.isEmpty());
    QVERIFY(Manual()->OpenInBrowserClick());
    QCOMPARE(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(gui::ManualFolder() + "bound_in.htm")});
  }

  // Asked from a modal window, the manual is not blocked by it.
  void ManualAskedFromAModalWindowCanBeUsed() {
    ScriptedDialogs dialogs;
    QWidget main;
    main.show();
    QDialog modal(&main);
    bool shown = false, usable = false;
    QTimer::singleShot(0, &modal, [&] {
      shown = gui::ShowHelpPage("inconsistency.htm", dialogs, &modal);
      auto* form = Manual() ? Manual() : modal.findChild<gui::TManualForm*>();
      usable = form && form->parentWidget() == &modal && form->isVisible();
      modal.accept();
    });
    modal.exec();
    QVERIFY(shown);
    QVERIFY(usable);
    // Asked from the main window again, it goes back to it.
    QVERIFY(gui::ShowHelpPage("Main_man.htm", dialogs, &main));
    auto* form = main.findChild<gui::TManualForm*>();
    QVERIFY(form);
    QCOMPARE(form->parentWidget(), &main);
    QVERIFY(!modal.findChild<gui::TManualForm*>());
  }

  // F1 in a window of its own opens that window's page.
  void F1InTheVolumeWindowOpensItsPage() {
    ScriptedDialogs dialogs;
    vesk::core::Problem problem;
    vesk::core::SortingState state;
    vesk::core::VolumeWindow window;
    gui::TVolumeForm form(problem, state, window, dialogs);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    auto* manual = form.findChild<gui::TManualForm*>();
    QVERIFY(manual);
    QCOMPARE(manual->Page().fileName(), QString("results.htm"));
    QCOMPARE(manual->Page().fragment(), QString("volume"));
    QVERIFY(dialogs.messages.empty());
  }

  void HowToGetHelpClosesWithOk() {
    gui::TGetHelpForm form("/opt/vesk/Manual/");
    QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.findChild<QWidget*>("OKButton"), Qt::LeftButton); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  HelpTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_help.moc"
