// The rules behind the window's room and manners: how skin rectangles grow with the window,
// where other windows open, which mnemonics menus get, and which icon an alert shows.
#include "AlertKinds.h"
#include "MenuKeys.h"
#include "SkinGrowth.h"
#include "WindowManners.h"
#include "WordGlobe.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinGrowthRule, ViewsStretchOrFollowTheEdgeTheySitBy) {
  const QSize skin(800, 528);
  const QSize now(1200, 800); // 400 wider, 272 taller
  struct Case {
    const char *what;
    QRect base;
    QRect expected;
  };
  const Case cases[] = {
      {"pages: wide and tall, both stretch", {24, 124, 752, 360}, {24, 124, 1152, 632}},
      {"toolbar: wide, at the top", {0, 0, 662, 72}, {0, 0, 1062, 72}},
      {"logo: small, right half, top", {664, 16, 120, 40}, {1064, 16, 120, 40}},
      {"status: wide, at the bottom", {12, 503, 560, 22}, {12, 775, 960, 22}},
      {"a small view top-left stays", {10, 10, 50, 20}, {10, 10, 50, 20}},
      {"a small view bottom-right follows both edges", {700, 480, 60, 20}, {1100, 752, 60, 20}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SkinGrowth::grown(c.base, skin, now), c.expected) << c.what;
  // A window smaller than the skin's (never allowed, but safe) changes nothing.
  EXPECT_EQ(SkinGrowth::grown(QRect(24, 124, 752, 360), skin, QSize(700, 500)), QRect(24, 124, 752, 360));
}

TEST(WindowMannersRule, WindowsOpenByTheMainWindowAndInsideTheScreen) {
  const QRect screen(0, 0, 1280, 900);
  const QRect main(240, 170, 800, 560);
  // By the main window: centred over it, a little below its top.
  EXPECT_EQ(WindowManners::placedBy(QRect(0, 0, 300, 200), main, screen), QRect(489, 250, 300, 200));
  // A main window at the screen's right edge: the window stays inside the screen.
  EXPECT_EQ(WindowManners::placedBy(QRect(0, 0, 300, 200), QRect(1100, 800, 800, 560), screen).bottomRight(),
            QPoint(1279, 899));
  // Larger than the screen: its top-left corner is what shows.
  EXPECT_EQ(WindowManners::placedBy(QRect(0, 0, 2000, 1000), main, screen).topLeft(), QPoint(0, 0));
  struct Case {
    QRect frame;
    bool unplaced;
  };
  const Case cases[] = {{{0, 0, 300, 200}, true},
                        {{1, 1, 300, 200}, true},
                        {{1200, 10, 300, 200}, true},
                        {{400, 300, 300, 200}, false},
                        {{0, 300, 300, 200}, false}};
  for (const Case &c : cases)
    EXPECT_EQ(WindowManners::leftUnplaced(c.frame, screen), c.unplaced) << c.frame.x() << "," << c.frame.y();
}

TEST(MenuKeysRule, EachTitleGetsTheFirstFreeCharacter) {
  EXPECT_EQ(MenuKeys::withMnemonics({"File", "Edit", "Operation", "Window", "Help"}),
            QStringList({"&File", "&Edit", "&Operation", "&Window", "&Help"}));
  // Taken letters pass to the next free one; a title with none left goes without; '&' shows.
  EXPECT_EQ(MenuKeys::withMnemonics({"Copy", "Cut", "Clear", "Cc", "Q&&A"}),
            QStringList({"&Copy", "C&ut", "C&lear", "Cc", "&Q&&A"}));
  // Marks already in a title are replaced, so a language change never doubles them.
  EXPECT_EQ(MenuKeys::withMnemonics({"&Undo", "Re&do"}), QStringList({"&Undo", "&Redo"}));
  EXPECT_EQ(MenuKeys::withoutMnemonic("&Q&&A"), "Q&A");
}

TEST(AlertKindsRule, TheTitleAndTheButtonsChooseTheIcon) {
  struct Case {
    const char *title;
    bool asks;
    QMessageBox::Icon icon;
  };
  const Case cases[] = {{"Warning", false, QMessageBox::Warning},  {"Warning!", false, QMessageBox::Warning},
                        {"Error", false, QMessageBox::Critical},   {"Failed", true, QMessageBox::Critical},
                        {"Warning", true, QMessageBox::Question},  {"Tips", true, QMessageBox::Question},
                        {"Tips", false, QMessageBox::Information}, {"", false, QMessageBox::Information}};
  for (const Case &c : cases)
    EXPECT_EQ(AlertKinds::iconFor(QLatin1String(c.title), c.asks), c.icon) << c.title << " " << c.asks;
}

} // namespace
