#include "AnimationView.h"
#include "StatusBarView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Clicked : public QObject {
  Q_OBJECT
public:
  QList<QObject *> senders;
  Q_INVOKABLE void statusItemClicked(QObject *sender) { senders << sender; }
};

class StatusImagesFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  void SetUp() override { StatusImages::setImageFolder(dir.path()); }
  void TearDown() override { StatusImages::setImageFolder(QString()); }
  void writeFrame(const QString &name, int width) {
    QImage image(width, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QDir(dir.path()).filePath(name + ".PNG"), "PNG"));
  }
};

TEST(StatusFrameNames, EveryFrameIsNamedFromTheBase) {
  const QStringList names = StatusBarView::frameNames("status1", 12);
  ASSERT_EQ(names.size(), 12);
  EXPECT_EQ(names[0], "status1");
  EXPECT_EQ(names[8], "status9");
  EXPECT_EQ(names[9], "status10");
  EXPECT_EQ(names[11], "status12");
  EXPECT_TRUE(StatusBarView::frameNames(QString(), 3).isEmpty());
  EXPECT_EQ(AnimationView::frameNames("hint1"), QStringList({"hint1", "hint2", "hint3", "hint4"}));
}

TEST_F(StatusImagesFixture, SequenceEndsAtTheFirstMissingImageAndCycles) {
  for (int i = 1; i <= 11; ++i)
    if (i != 4)
      writeFrame(QStringLiteral("net%1").arg(i), 10 + i);
  StatusBarView item;
  item.setAnimationSequenceImageNumber(11);
  item.setAnimationImagesPath("net1");
  ASSERT_EQ(item.animationSequenceImages().size(), 3); // net4 is missing
  EXPECT_TRUE(item.bAnimation());

  item.startAnimation();
  EXPECT_TRUE(item.isAnimating());
  EXPECT_EQ(item.currentFrameIndex(), 2);
  QList<int> widths;
  for (int i = 0; i < 4; ++i) {
    item.animationDidReachProgressMark(0.0);
    widths << item.currentImage().width();
  }
  EXPECT_EQ(widths, QList<int>({11, 12, 13, 11}));

  // A still image ends the sequence look at once.
  QImage still(30, 16, QImage::Format_ARGB32);
  item.setImage(still);
  EXPECT_FALSE(item.bAnimation());
  EXPECT_EQ(item.currentImage().width(), 30);

  item.stopAnimation();
  EXPECT_FALSE(item.isAnimating());
  EXPECT_TRUE(item.animationSequenceImages().isEmpty());
  EXPECT_TRUE(item.getAnimationImagesPath().isEmpty());
}

TEST_F(StatusImagesFixture, TenAndMoreFramesLoad) {
  for (int i = 1; i <= 12; ++i)
    writeFrame(QStringLiteral("sig%1").arg(i), i);
  StatusBarView item;
  item.setAnimationSequenceImageNumber(12);
  item.setAnimationImagesPath("sig1");
  ASSERT_EQ(item.animationSequenceImages().size(), 12);
  EXPECT_EQ(item.animationSequenceImages()[11].width(), 12);
}

TEST_F(StatusImagesFixture, NoFramesMeansNoAnimation) {
  StatusBarView item;
  item.setAnimationSequenceImageNumber(5);
  item.setAnimationImagesPath("absent1");
  EXPECT_TRUE(item.animationSequenceImages().isEmpty());
  item.startAnimation();
  EXPECT_FALSE(item.isAnimating());
  item.animationDidReachProgressMark(0.5); // a stray frame does nothing
  EXPECT_TRUE(item.currentImage().isNull());
  StatusBarView none;
  none.startAnimation();
  EXPECT_FALSE(none.isAnimating());
}

TEST_F(StatusImagesFixture, SameNameRebuildsNothing) {
  writeFrame("a1", 5);
  writeFrame("a2", 6);
  StatusBarView item;
  item.setAnimationSequenceImageNumber(2);
  item.setAnimationImagesPath("a1");
  ASSERT_EQ(item.animationSequenceImages().size(), 2);
  QFile::remove(QDir(dir.path()).filePath("a2.PNG"));
  item.setAnimationImagesPath("a1");
  EXPECT_EQ(item.animationSequenceImages().size(), 2);
}

TEST(StatusItemClick, MenuWinsOverTheAction) {
  StatusBarView item;
  Clicked target;
  item.setTarget(&target);
  item.setAction("statusItemClicked:");
  EXPECT_TRUE(item.mouseUp());
  EXPECT_EQ(target.senders, QList<QObject *>({&target}));
  QMenu menu;
  item.setMenu(&menu);
  item.mouseUp();
  menu.hide();
  EXPECT_EQ(target.senders.size(), 1);
  StatusBarView noAction;
  noAction.setTarget(&target);
  noAction.setAction("noSuchMethod:");
  EXPECT_FALSE(noAction.mouseUp());
}

TEST_F(StatusImagesFixture, BlinkingViewCyclesFourFramesAndStopsOnClick) {
  writeFrame("hint1", 1);
  writeFrame("hint3", 3);
  AnimationView view;
  int activated = 0;
  QObject::connect(&view, &AnimationView::activated, [&] { ++activated; });
  view.setImagePath("hint1");
  EXPECT_FALSE(view.images()[0].isNull());
  EXPECT_TRUE(view.images()[1].isNull()); // drawn as nothing
  view.startAnimation();
  EXPECT_TRUE(view.isVisible());
  QList<int> seen;
  for (int i = 0; i < 5; ++i) {
    view.animationDidReachProgressMark(0.0);
    seen << view.currentIndex();
  }
  EXPECT_EQ(seen, QList<int>({0, 1, 2, 3, 0}));
  view.stopAnimationWhenMinimizeWnd();
  EXPECT_FALSE(view.isAnimating());
  EXPECT_TRUE(view.isVisible());
  view.startAnimation();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &press);
  EXPECT_FALSE(view.isAnimating());
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(activated, 1);
}

} // namespace

#include "StatusItemTest.moc"
