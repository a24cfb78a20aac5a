#include "ButtonMatrix.h"
#include "NSButtonExt.h"
#include "NSTableViewExt.h"
#include "NSWindowExt.h"
#include "NotificationCenter.h"

#include <QEnterEvent>
#include <QMenu>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage solid(QColor c) {
  QImage img(20, 10, QImage::Format_ARGB32);
  img.fill(c);
  return img;
}

class Target : public QObject {
  Q_OBJECT
public:
  int hits = 0;
  QObject *sender = nullptr;
  Q_INVOKABLE void buttonAction(QObject *s) {
    ++hits;
    sender = s;
  }
};

// A flicker button with four distinguishable looks.
struct Flicker {
  NSFlickerButton button;
  Target target;
  Flicker() {
    button.setFlickerButtonStyle();
    button.setImageUp(solid(Qt::red));
    button.setImageDn(solid(Qt::blue));
    button.setImageIn(solid(Qt::green));
    button.setImageDisable(solid(Qt::gray));
    button.setImage(button.imageUp());
    button.resize(20, 10);
    button.setTarget(&target);
    button.setAction("buttonAction");
  }
  QColor shown() const {
    QImage img(button.size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const_cast<NSFlickerButton &>(button).render(&img);
    return img.pixelColor(5, 5);
  }
  void enter() {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &e);
  }
  void leave() {
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &e);
  }
};

TEST(FlickerButtonTest, ClickSendsTheActionAndHoverShowsTheInImage) {
  Flicker f;
  f.enter();
  EXPECT_EQ(f.shown(), QColor(Qt::green));
  QTest::mousePress(&f.button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(f.shown(), QColor(Qt::blue));
  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(f.target.hits, 1);
  EXPECT_EQ(f.target.sender, &f.button);
  EXPECT_EQ(f.shown(), QColor(Qt::red));
}

TEST(FlickerButtonTest, ReleasingOutsideSendsNothing) {
  Flicker f;
  f.enter();
  QTest::mousePress(&f.button, Qt::LeftButton, {}, QPoint(5, 5));
  QMouseEvent drag(QEvent::MouseMove, QPointF(50, 50), f.button.mapToGlobal(QPointF(50, 50)), Qt::NoButton,
                   Qt::LeftButton, {});
  QCoreApplication::sendEvent(&f.button, &drag);
  EXPECT_EQ(f.shown(), QColor(Qt::red));
  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_EQ(f.target.hits, 0);
  EXPECT_EQ(f.shown(), QColor(Qt::red));
  EXPECT_EQ(f.button.btnStatus(), 0);
}

TEST(FlickerButtonTest, DisablingShowsTheDisabledImage) {
  Flicker f;
  f.button.setEnabled(false);
  EXPECT_EQ(f.shown(), QColor(Qt::gray));
  f.button.setEnabled(true);
  EXPECT_EQ(f.shown(), QColor(Qt::red));
}

TEST(FlickerButtonTest, GroupKeepsExactlyOneMemberDown) {
  Flicker a, b, c;
  a.button.setGroupButton("Tabs", true);
  b.button.setGroupButton("Tabs", false);
  c.button.setGroupButton("Other", false);
  EXPECT_EQ(a.shown(), QColor(Qt::blue)) << "the default member starts pressed";
  b.enter();
  QTest::mouseClick(&b.button, Qt::LeftButton, {}, QPoint(5, 5));
  b.leave();
  EXPECT_EQ(b.shown(), QColor(Qt::blue)) << "stays down after the pointer leaves";
  EXPECT_EQ(a.shown(), QColor(Qt::red));
  EXPECT_EQ(c.shown(), QColor(Qt::red));
  EXPECT_EQ(b.button.groupID(), "NSFlickerButtonTabs");
}

TEST(FlickerButtonTest, MenuOpensInsteadOfTheAction) {
  Flicker f;
  QMenu menu;
  menu.addAction("One");
  f.button.setMenu(&menu);
  f.enter();
  QTest::mouseClick(&f.button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(f.target.hits, 0);
  EXPECT_TRUE(menu.isVisible());
  menu.hide();
}

TEST(ButtonExtTest, TitleColourSurvivesTitleChanges) {
  NSButtonExt b("OK");
  b.setTitleColor(Qt::red);
  b.setTitle("Cancel");
  EXPECT_EQ(b.palette().color(QPalette::ButtonText), QColor(Qt::red));
  b.setTitleColor(QColor());
  EXPECT_EQ(b.titleColor(), QColor(Qt::red)) << "an invalid colour changes nothing";
}

TEST(WindowExtTest, DraggingStopsAtTheTopOfTheVisibleArea) {
  const QRect area(0, 30, 1000, 700);
  EXPECT_EQ(NSWindowExt::draggedOrigin({500, 400}, {20, 10}, area), QPoint(480, 390));
  EXPECT_EQ(NSWindowExt::draggedOrigin({500, 35}, {20, 10}, area), QPoint(480, 30));
  NSWindowExt w;
  EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(w.canBecomeKeyWindow());
  NSPanelExt p;
  EXPECT_EQ(p.windowType(), Qt::Tool);
}

class HoverModel : public QStandardItemModel, public TableViewExtSource {
  Q_OBJECT
public:
  using QStandardItemModel::QStandardItemModel;
  QList<int> rows;
  void tableViewExt(QObject *, int row) override { rows << row; }
  using TableViewExtSource::tableViewExt;
};

TEST(TableViewExtTest, FollowsThePointerAndReportsTheHoveredRowAsSelected) {
  HoverModel model(5, 2);
  NSTableViewExt table;
  table.setModel(&model);
  table.resize(300, 300);
  table.show();
  table.setMouseMovedNotification("superWindowMouseMoved");
  const QRect cell = table.visualRect(model.index(2, 1));
  const QPointF global = table.viewport()->mapToGlobal(QPointF(cell.center()));
  NotificationCenter::defaultCenter().postNotificationName("superWindowMouseMoved", nullptr,
                                                           {{"theEvent", QVariant::fromValue(global)}});
  EXPECT_EQ(table.selectedRow(), 2);
  EXPECT_EQ(model.rows, QList<int>{2});
  table.setForeGroundColor(Qt::red, 1);
  table.setForeGroundColor(Qt::blue, 2); // no such column
  EXPECT_EQ(table.foreGroundColorOfColumn(1), QColor(Qt::red));
  EXPECT_FALSE(table.foreGroundColorOfColumn(2).isValid());
  EXPECT_EQ(tableViewRowAndColumnOfEvent(QPointF(-5000, -5000), &table), std::make_pair(-1, -1));
  EXPECT_EQ(tableViewRowAndColumnOfEvent(global, nullptr), std::make_pair(-1, -1));
}

TEST(OutlineViewExtTest, RightClickSelectsTheRowAndIgnoresEmptySpace) {
  QStandardItemModel model;
  model.appendRow(new QStandardItem("Inbox"));
  model.appendRow(new QStandardItem("Outbox"));
  NSOutlineViewExt outline;
  outline.setModel(&model);
  outline.resize(200, 300);
  outline.show();
  outline.selectionModel()->select(model.index(0, 0), QItemSelectionModel::ClearAndSelect);
  int changing = 0;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(&observer, "NSOutlineViewSelectionIsChangingNotification", nullptr,
                                                  [&](const Notification &) { ++changing; });
  QTest::mouseClick(outline.viewport(), Qt::RightButton, {}, QPoint(5, 280));
  EXPECT_TRUE(outline.selectionModel()->isSelected(model.index(0, 0))) << "empty space: nothing changes";
  EXPECT_EQ(outline.rowAtMouseRightDown(), -1);
  const QPoint second = outline.visualRect(model.index(1, 0)).center();
  QTest::mouseClick(outline.viewport(), Qt::RightButton, {}, second);
  EXPECT_TRUE(outline.selectionModel()->isSelected(model.index(1, 0)));
  EXPECT_FALSE(outline.selectionModel()->isSelected(model.index(0, 0)));
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(outline.rowAtMouseRightDown(), 1);
}

TEST(IconMatrixTest, IndexMapsRowByRow) {
  int row = 0, column = 0;
  IconMatrix::cellOfIndex(7, 3, &row, &column);
  EXPECT_EQ(row, 2);
  EXPECT_EQ(column, 1);
  IconMatrix m;
  m.renewRows(3, 3);
  m.setCellSize({20, 20});
  m.setIntercellSpacing({0, 0});
  m.sizeToCells();
  EXPECT_TRUE(m.findClickedPoint({25, 45}, &row, &column));
  EXPECT_EQ(std::make_pair(row, column), std::make_pair(2, 1));
  EXPECT_FALSE(m.findClickedPoint({70, 5}, &row, &column));
  EXPECT_EQ(row, -1);
  int actions = 0;
  QObject::connect(&m, &IconMatrix::action, [&] { ++actions; });
  QTest::mouseClick(&m, Qt::LeftButton, {}, QPoint(25, 45));
  EXPECT_EQ(m.curcellIndex(), 7);
  EXPECT_EQ(actions, 1);
}

} // namespace

#include "ControlsTest.moc"
