// The recent files: the list kept in the settings, and the File menu's items
// that open them.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "IsolatedSettings.h"
#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "core/problem/ProblemFile.h"
#include "gui/RecentFiles.h"
#include "gui/TMainForm.h"

using vesk::gui::RecentFiles;
using vesk::gui::TMainForm;
using vesk::guitest::Item;
using vesk::guitest::ModalAnswerer;
using vesk::guitest::Trigger;

namespace {

// A copy of the shipped problem under `name` in `dir`.
QString CopyOfSample(const QTemporaryDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  QFile::remove(path);
  return QFile::copy(vesk::guitest::SampleProblem(), path) ? path : QString();
}

// The File menu's entries from the one after "P&rint Setup..." on: object
// names of the actions, "-" for a separator, hidden entries left out.
QStringList FileMenuTail(TMainForm& form) {
  auto* file = form.findChild<QMenu*>("FileMenu");
  QStringList tail;
  bool after = false;
  for (QAction* a : file->actions()) {
    if (after && a->isVisible()) tail << (a->isSeparator() ? QString("-") : a->objectName());
    if (a->objectName() == "PrintSetupItem") after = true;
  }
  return tail;
}

}  // namespace

class RecentFilesTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { QSettings().remove(RecentFiles::kKey); }

  void SettingsStayInTheTestFolder() {
    // What the window stores must never reach the person's own settings.
    QVERIFY(QSettings().fileName().startsWith(vesk::guitest::SettingsFolder() + "/"));
  }

  void ListOrderCapDedupeAndRemove() {
    QTemporaryDir dir;
    const QString store = dir.filePath("recent.ini");
    auto over = [&] { return RecentFiles(std::make_unique<QSettings>(store, QSettings::IniFormat)); };
    auto at = [&](const QString& name) { return QDir::cleanPath(dir.filePath(name)); };

    RecentFiles recent = over();
    QVERIFY(recent.Files().isEmpty());
    // Names a list separator or a shortcut mark could break.
    const QStringList names = {"a.tri", "b, with comma.tri", "c & d.tri", "e.tri", "f.tri", "g.tri", "h.tri"};
    for (const QString& name : names) recent.Add(at(name));
    const QStringList newestSix = {at("h.tri"), at("g.tri"), at("f.tri"), at("e.tri"), at("c & d.tri"),
                                   at("b, with comma.tri")};
    QCOMPARE(recent.Files(), newestSix);

    // The same file under another spelling moves to the front, once.
    recent.Add(dir.path() + "/./sub/../e.tri");
    QCOMPARE(recent.Files(), (QStringList{at("e.tri"), at("h.tri"), at("g.tri"), at("f.tri"), at("c & d.tri"),
                                          at("b, with comma.tri")}));

    recent.Remove(at("g.tri"));
    recent.Remove(at("never listed.tri"));
    QCOMPARE(recent.Files(),
             (QStringList{at("e.tri"), at("h.tri"), at("f.tri"), at("c & d.tri"), at("b, with comma.tri")}));

    // Kept on disk: a new reader of the same store sees the same list.
    QCOMPARE(over().Files(), recent.Files());

    // A list edited by hand: empty and repeated entries are passed over, and
    // no more than six are read.
    {
      QSettings edited(store, QSettings::IniFormat);
      edited.setValue(RecentFiles::kKey, QStringList{"", at("1.tri"), at("1.tri"), at("2.tri"), at("3.tri"),
                                                     at("4.tri"), at("5.tri"), at("6.tri"), at("7.tri")});
    }
    QCOMPARE(over().Files(),
             (QStringList{at("1.tri"), at("2.tri"), at("3.tri"), at("4.tri"), at("5.tri"), at("6.tri")}));
  }

  void MenuOpensRecentFiles() {
    ModalAnswerer answerer;
    QTemporaryDir dir;
    const QString first = CopyOfSample(dir, "first.tri");
    const QString second = CopyOfSample(dir, "R&D.tri");
    QVERIFY(!first.isEmpty() && !second.isEmpty());

    TMainForm form;
    form.show();
    QCOMPARE(FileMenuTail(form), (QStringList{"-", "ExitItem"}));

    // Opening from the command line and saving under a new name both add.
    QVERIFY(form.OpenFile(first));
    QVERIFY(form.OpenFile(second));
    const QString saved = dir.filePath("saved.tri");
    answerer.ExpectFile(saved);
    QVERIFY(Trigger(form, "SaveDataAsItem"));
    QTRY_VERIFY(answerer.Idle());
    QVERIFY(QFile::exists(saved));
    QCOMPARE(RecentFiles().Files(), (QStringList{saved, second, first}));

    QCOMPARE(FileMenuTail(form),
             (QStringList{"-", "RecentFileItem1", "RecentFileItem2", "RecentFileItem3", "-", "ExitItem"}));
    QCOMPARE(Item(form, "RecentFileItem1")->text(), "&1 " + saved);
    QCOMPARE(Item(form, "RecentFileItem2")->text(), "&2 " + QString(second).replace("&", "&&"));
    QCOMPARE(Item(form, "RecentFileItem3")->text(), "&3 " + first);

    // Unsaved work: the Open command's question comes first; No opens the file.
    QVERIFY(Trigger(form, "InsertActionItem"));
    QVERIFY(form.problem().DataModified && form.history().CanUndo());
    answerer.ExpectMessage("No");
    QVERIFY(Trigger(form, "RecentFileItem3"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.messages, QStringList{"Save current files?"});
    QCOMPARE(form.windowTitle(), QString::fromStdString(vesk::core::CaptionFor(first.toStdString())));
    QVERIFY(!form.problem().DataModified);
    QCOMPARE(form.problem().NumActions, 10);
    // The opened problem starts a history of its own.
    QVERIFY(!form.history().CanUndo());
    QVERIFY(!Item(form, "UndoItem")->isEnabled());
    QCOMPARE(RecentFiles().Files(), (QStringList{first, saved, second}));
    QCOMPARE(Item(form, "RecentFileItem1")->text(), "&1 " + first);

    // Nothing to save: no question, the file is read.
    QVERIFY(Trigger(form, "RecentFileItem3"));
    QCOMPARE(form.windowTitle(), QString::fromStdString(vesk::core::CaptionFor(second.toStdString())));
    QCOMPARE(answerer.messages.size(), 1);
    QCOMPARE(answerer.unexpected, QStringList());
  }

  void MissingFileIsRemovedWithMessage() {
    ModalAnswerer answerer;
    QTemporaryDir dir;
    const QString kept = CopyOfSample(dir, "kept.tri");
    const QString gone = dir.filePath("gone.tri");
    RecentFiles().Add(kept);
    RecentFiles().Add(gone);

    TMainForm form;
    form.show();
    QVERIFY(form.OpenFile(kept));
    QVERIFY(Trigger(form, "InsertActionItem"));  // unsaved work stays as it is
    const vesk::guitest::ProblemSnapshot before(form.problem());
    QCOMPARE(Item(form, "RecentFileItem2")->data().toString(), gone);

    answerer.ExpectMessage("OK");
    QVERIFY(Trigger(form, "RecentFileItem2"));
    QTRY_VERIFY(answerer.Idle());
    QCOMPARE(answerer.messages, QStringList{"File not found: " + gone});
    QVERIFY(vesk::guitest::ProblemSnapshot(form.problem()) == before);
    QVERIFY(form.problem().DataModified);
    QCOMPARE(RecentFiles().Files(), QStringList{kept});
    QCOMPARE(FileMenuTail(form), (QStringList{"-", "RecentFileItem1", "-", "ExitItem"}));
    QCOMPARE(answerer.unexpected, QStringList());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RecentFilesTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_recent.moc"
