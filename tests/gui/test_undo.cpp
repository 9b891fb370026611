// Undo and redo in the main window: the Edit menu, its enabling, and the
// shortcuts typed while a cell's editor is open.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QtTest>

#include "MainFormDriver.h"
#include "ModalAnswerer.h"
#include "gui/TMainForm.h"
#include "gui/InputGrids.h"
#include "gui/ResultGrids.h"

using vesk::gui::TMainForm;
using vesk::guitest::Item;
using vesk::guitest::Trigger;

namespace {

// The editor that opens by itself on (row, column) of a focused grid.
QLineEdit* EditorOn(vesk::gui::GridView* view, int row, int column) {
  view->setFocus();
  view->setCurrentIndex(view->model()->index(row, column));
  QLineEdit* editor = nullptr;
  const bool open = QTest::qWaitFor([&] {
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    return editor && view->isAncestorOf(editor);
  });
  return open ? editor : nullptr;
}

}  // namespace

class UndoTest : public QObject {
  Q_OBJECT
 private slots:
  void EditMenuAndTypedCellEdit() {
    vesk::guitest::ModalAnswerer answerer;
    TMainForm form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    // The Edit menu follows the File menu and holds both items.
    const QList<QAction*> bar = form.menuBar()->actions();
    QVERIFY(bar.size() > 2);
    QCOMPARE(bar[0]->menu()->objectName(), QString("FileMenu"));
    QMenu* edit = bar[1]->menu();
    QVERIFY(edit);
    QCOMPARE(edit->objectName(), QString("EditMenu"));
    QCOMPARE(edit->title(), QString("&Edit"));
    QAction* undo = Item(form, "UndoItem");
    QAction* redo = Item(form, "RedoItem");
    QVERIFY(undo && redo);
    QCOMPARE(edit->actions(), (QList<QAction*>{undo, redo}));
    QCOMPARE(undo->text(), QString("&Undo"));
    QCOMPARE(redo->text(), QString("&Redo"));
    QCOMPARE(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());

    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    const vesk::core::Problem opened = form.problem();

    // A cell typed key by key and left with Enter is one step.
    vesk::gui::GridView* agrid = form.inputGrids()->AGrid;
    QLineEdit* editor = EditorOn(agrid, 1, 3);
    QVERIFY(editor);
    const QPointer<QLineEdit> closed = editor;
    editor->selectAll();
    QTest::keyClicks(editor, "42.5");
    QTest::keyClick(closed, Qt::Key_Return);
    QTRY_VERIFY(form.history().CanUndo());  // the editor closes after the key
    QCOMPARE(form.problem().AGrid.Cell(1, 3), std::string("42.5"));
    QVERIFY(form.problem().DataModified);
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    const vesk::core::Problem typed = form.problem();

    // Ctrl+Z in the editor that opened again goes to the window's history.
    QTRY_VERIFY(!closed && qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(form.problem().AGrid, opened.AGrid);
    QVERIFY(!form.problem().DataModified);
    QVERIFY(!undo->isEnabled());
    QVERIFY(redo->isEnabled());

    QTRY_VERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    QTRY_COMPARE(form.problem().AGrid, typed.AGrid);
    QVERIFY(form.problem().DataModified);

    // A structural edit from the menu, undone from the menu: the grid follows.
    QVERIFY(Trigger(form, "InsertActionItem"));
    QCOMPARE(form.problem().NumActions, opened.NumActions + 1);
    QCOMPARE(agrid->model()->rowCount(), opened.AGrid.RowCount() + 1);
    QVERIFY(!redo->isEnabled());
    QVERIFY(Trigger(form, "UndoItem"));
    QCOMPARE(form.problem().NumActions, opened.NumActions);
    QCOMPARE(agrid->model()->rowCount(), opened.AGrid.RowCount());
    QCOMPARE(form.problem().AGrid, typed.AGrid);

    // Opening a problem again forgets the history.
    QVERIFY(form.OpenFile(vesk::guitest::SampleProblem()));
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    QCOMPARE(answerer.unexpected, QStringList());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  UndoTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_undo.moc"
