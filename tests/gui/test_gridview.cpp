// The grid adapter: indices, headers, looks and edits of a core Grid.
#include <QApplication>
#include <QtTest>

#include "gui/GridView.h"

using vesk::core::Grid;
using vesk::gui::CellLook;
using vesk::gui::GridModel;
using vesk::gui::GridView;

class GridViewTest : public QObject {
  Q_OBJECT
 private slots:
  void HeadersAndCellsKeepTheGridsIndices() {
    Grid g(3, 3);
    g.SetCell(0, 1, "g1");
    g.SetCell(1, 0, "a1");
    g.SetCell(1, 1, "5");
    GridModel model([&]() -> const Grid& { return g; });
    GridView view("TGrid", &model);
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("g1"));
    QCOMPARE(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), QString("a1"));
    QCOMPARE(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QString("5"));
    QVERIFY(view.isRowHidden(0));
    QVERIFY(view.isColumnHidden(0));
    QVERIFY(!view.isRowHidden(2));
  }

  void EditsGoThroughTheCommitRuleAndReloadFollowsResizes() {
    Grid g(2, 2);
    GridModel model([&]() -> const Grid& { return g; });
    model.editable = [](int r, int c) { return r == 1 && c == 1; };
    model.commit = [&](int r, int c, const std::string& t) {
      if (t == "x") return false;
      g.SetCell(r, c, t);
      return true;
    };
    QVERIFY(!(model.flags(model.index(1, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.setData(model.index(1, 1), "7", Qt::EditRole));
    QCOMPARE(QString::fromStdString(g.Cell(1, 1)), QString("7"));
    QVERIFY(!model.setData(model.index(1, 1), "x", Qt::EditRole));
    QCOMPARE(QString::fromStdString(g.Cell(1, 1)), QString("7"));
    g.Resize(4, 3);
    model.Reload();
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.columnCount(), 3);
  }

  void PaintsTheLookOfACell() {
    Grid g(3, 3);
    g.SetCell(1, 1, "0");
    GridModel model([&]() -> const Grid& { return g; });
    model.look = [](int r, int c) {
      CellLook l;
      if (r == 1 && c == 1) { l.background = QColor(0, 255, 0); l.blank = true; }
      if (r == 2 && c == 2) l.hatched = true;
      return l;
    };
    GridView view("TGrid", &model);
    view.resize(200, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QString());
    const QImage image = view.viewport()->grab().toImage();
    const QRect lime = view.CellRect(1, 1);
    QCOMPARE(image.pixelColor(lime.center()), QColor(0, 255, 0));
    const QRect hatched = view.CellRect(2, 2);
    int black = 0;
    for (int x = hatched.left() + 2; x < hatched.right() - 2; ++x)
      if (image.pixelColor(x, hatched.center().y()) == QColor(Qt::black)) ++black;
    QVERIFY(black > 0);
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  GridViewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_gridview.moc"
