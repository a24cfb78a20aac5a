#include "ViewPlacement.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {
using namespace NSViewPlacement;
using Frames = rules::Frames;

// A 200 x 100 view with children given as bottom-left frames.
struct Board {
  QWidget view;
  QList<QWidget *> kids;
  explicit Board(const Frames &frames, QSize size = {200, 100}) {
    view.resize(size);
    for (const QRectF &f : frames) {
      auto *w = new QWidget(&view);
      CocoaFrame::setFrame(w, f);
      kids << w;
    }
  }
  QRectF frame(int i) const { return CocoaFrame::frame(kids[i]); }
};

TEST(CocoaFrameTest, ConvertsBottomLeftOnceBothWays) {
  QWidget parent;
  parent.resize(300, 200);
  auto *child = new QWidget(&parent);
  CocoaFrame::setFrame(child, QRectF(10, 20, 50, 30));
  EXPECT_EQ(child->geometry(), QRect(10, 200 - 20 - 30, 50, 30));
  EXPECT_EQ(CocoaFrame::frame(child), QRectF(10, 20, 50, 30));
  CocoaFrame::setFrameSize(child, QSizeF(50, 60));
  EXPECT_EQ(CocoaFrame::frame(child), QRectF(10, 20, 50, 60)) << "a resize keeps the bottom-left origin";
}

TEST(CocoaFrameTest, PlacedViewsKeepTheirBottomWhenTheParentGrows) {
  QWidget parent;
  parent.resize(100, 100);
  auto *placed = new QWidget(&parent);
  auto *free = new QWidget(&parent);
  CocoaFrame::setFrameOrigin(placed, QPointF(0, 10)); // reads the frame before placing it
  CocoaFrame::setFrameSize(placed, QSizeF(20, 20));
  free->setGeometry(0, 5, 20, 20);
  parent.resize(100, 300); // hidden: no resize event yet
  EXPECT_EQ(CocoaFrame::frame(placed), QRectF(0, 10, 20, 20));
  parent.show();
  parent.resize(100, 200);
  EXPECT_EQ(placed->geometry(), QRect(0, 200 - 10 - 20, 20, 20));
  EXPECT_EQ(free->geometry(), QRect(0, 5, 20, 20)) << "widgets placed the Qt way are left alone";
}

TEST(PlacementTest, RowFromTheLeftUsesWidthsAndSpacing) {
  Board b({{4, 0, 10, 10}, {0, 0, 20, 10}, {0, 0, 30, 10}});
  EXPECT_TRUE(placementSubViewsSpacingPixel(&b.view, 5, "PlacementRefLeft"));
  EXPECT_EQ(b.kids[1]->x(), 19);
  EXPECT_EQ(b.kids[2]->x(), 44);
  EXPECT_EQ(b.kids[0]->x(), 4);
}

TEST(PlacementTest, RowFromTheRight) {
  Frames f{{0, 0, 10, 10}, {0, 0, 20, 10}, {150, 0, 30, 10}};
  rules::refRight(f, 5);
  EXPECT_EQ(f[1].x(), 150 - 5 - 20);
  EXPECT_EQ(f[0].x(), 125 - 5 - 10);
  rules::refRight(f, 0, 200);
  EXPECT_EQ(f[2].x(), 170);
}

// Columns stack each subview clear of its neighbour's own height.
TEST(PlacementTest, ColumnsStackWithTheirOwnHeights) {
  Frames up{{0, 10, 10, 10}, {0, 0, 10, 20}, {0, 0, 10, 30}};
  rules::refTop(up, 5);
  EXPECT_EQ(up[1].y(), 10 + 10 + 5);
  EXPECT_EQ(up[2].y(), 25 + 20 + 5);
  Frames down{{0, 0, 10, 10}, {0, 0, 10, 20}, {0, 60, 10, 30}};
  rules::refBottom(down, 5);
  EXPECT_EQ(down[1].y(), 60 - 5 - 20);
  EXPECT_EQ(down[0].y(), 35 - 5 - 10);
  for (const Frames &col : {up, down})
    for (int i = 1; i < col.size(); ++i)
      EXPECT_EQ(col[i].y() - (col[i - 1].y() + col[i - 1].height()), 5) << "even gaps, no overlap";
}

TEST(PlacementTest, CentringRowsAndColumns) {
  Frames row{{0, 0, 10, 10}, {0, 0, 20, 10}};
  EXPECT_TRUE(rules::toViewCenterX(row, 5, {100, 50}));
  EXPECT_EQ(row[0].x(), 32); // (100 - 35) / 2 cut toward zero
  EXPECT_EQ(row[1].x(), 47);
  Frames full{{0, 0, 50, 10}, {0, 0, 45, 10}};
  const Frames before = full;
  EXPECT_FALSE(rules::toViewCenterX(full, 5, {100, 50})) << "total equal to the width";
  EXPECT_EQ(full, before);

  Frames col{{0, 0, 10, 10}, {0, 0, 10, 20}};
  EXPECT_TRUE(rules::toViewCenterY(col, 10, {50, 100}));
  const qreal bottom = col[0].y(), top = col[1].y() + col[1].height();
  EXPECT_EQ(bottom, 30);
  EXPECT_EQ(100 - top, bottom) << "the column really sits in the middle";
}

TEST(PlacementTest, EdgesAndCentringOnTheFirst) {
  Board b({{3, 3, 10, 10}, {50, 50, 20, 30}});
  placementSubViewsSpacingPixel(&b.view, 4, "PlacementToViewRight");
  EXPECT_EQ(b.frame(0).x(), 200 - 4 - 10);
  EXPECT_EQ(b.frame(1).x(), 200 - 4 - 20);
  placementSubViewsSpacingPixel(&b.view, 4, "PlacementToViewTop");
  EXPECT_EQ(b.kids[0]->y(), 4);
  EXPECT_EQ(b.kids[1]->y(), 4);
  placementSubViewsSpacingPixel(&b.view, 2, "PlacementToViewBottom");
  EXPECT_EQ(b.frame(1).y(), 2);
  placementSubViewsSpacingPixel(&b.view, 0, "PlacementCenterYRefTop");
  EXPECT_EQ(b.frame(0).y(), 45);
  EXPECT_EQ(b.frame(1).y(), 45);
  placementSubViewsSpacingPixel(&b.view, 0, "PlacementCenterXRefLeft");
  EXPECT_EQ(b.frame(1).x(), 95);
}

TEST(PlacementTest, UnknownWordsAndEmptyViewsChangeNothing) {
  Board b({{3, 3, 10, 10}});
  EXPECT_FALSE(placementSubViewsSpacingPixel(&b.view, 4, "placementrefleft"));
  EXPECT_FALSE(placementSubViewsSpacingPixel(&b.view, 4, "InSuperViewLeft"));
  EXPECT_FALSE(placementInSuperViewSpacingPixel(b.kids[0], 4, "PlacementRefLeft"));
  EXPECT_EQ(b.frame(0), QRectF(3, 3, 10, 10));
  QWidget empty;
  EXPECT_FALSE(placementSubViewsSpacingPixel(&empty, 0, "PlacementRefLeft"));
  EXPECT_FALSE(placementInSuperViewSpacingPixel(&empty, 0, "InSuperViewLeft")) << "no superview";
}

TEST(PlacementTest, ReorderingBySelectionKeepsTies) {
  Board b({{30, 0, 5, 5}, {10, 0, 5, 5}, {10, 0, 5, 5}});
  EXPECT_TRUE(placementSubViewsSpacingPixel(&b.view, 0, "RebuilSubviewsByX"));
  EXPECT_EQ(subviews(&b.view), (QList<QWidget *>{b.kids[1], b.kids[2], b.kids[0]}));
  const Frames byY{{0, 50, 5, 10}, {0, 20, 5, 40}, {0, 30, 5, 10}};
  EXPECT_EQ(rules::rearrangeOrder(byY, 1), (QList<int>{1, 2, 0})); // keys 40, -20, 20
}

TEST(PlacementTest, InSuperviewModes) {
  struct Case {
    const char *mode;
    int spacing;
    QSizeF super;
    QRectF expected;
    bool ok;
  };
  const QRectF start(1, 1, 20, 10);
  const Case cases[] = {
      {"InSuperViewCenterX", 0, {100, 50}, {40, 1, 20, 10}, true},
      {"InSuperViewCenterY", 0, {100, 50}, {1, 20, 20, 10}, true},
      {"InSuperViewLeft", 8, {100, 50}, {8, 1, 20, 10}, true},
      {"InSuperViewLeft", 8, {24, 50}, {0, 1, 20, 10}, true},
      {"InSuperViewTop", 5, {100, 50}, {1, 35, 20, 10}, true},
      {"InSuperViewTop", 5, {100, 12}, {1, 2, 20, 10}, true},
      {"InSuperViewRight", 8, {100, 50}, {72, 1, 20, 10}, true},
      {"InSuperViewRight", 8, {24, 50}, {4, 1, 20, 10}, true}, // flush right
      {"InSuperViewBottom", 6, {100, 50}, {1, 6, 20, 10}, true},
      {"InSuperViewCenterX", 0, {10, 50}, start, false}, // superview narrower than the view
      {"InSuperViewTop", 0, {100, 5}, start, false},
  };
  for (const Case &c : cases) {
    QWidget parent;
    parent.resize(c.super.toSize());
    auto *v = new QWidget(&parent);
    CocoaFrame::setFrame(v, start);
    EXPECT_EQ(placementInSuperViewSpacingPixel(v, c.spacing, c.mode), c.ok) << c.mode;
    EXPECT_EQ(CocoaFrame::frame(v), c.expected) << c.mode << " in " << c.super.width() << "x" << c.super.height();
  }
}

} // namespace
