#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "SkinTestSupport.h"
#include "UIManager.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class SkinEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    skin.setItem("btnOK", {{"Left", 10}, {"Bottom", 20}, {"Width", 80}, {"Height", 24}});
    skin.setItem("allFont", {{"FontName", "DejaVu Sans"}, {"FontSize", 17}});
    manager.setDevicePixelRatio(1.0);
  }
  TempSkin skin;
  UIManager manager;
};

TEST_F(SkinEngineTest, NothingRegistersWithoutASkin) {
  QWidget w;
  EXPECT_FALSE(manager.registerController(&w, "btnOK", true));
  EXPECT_FALSE(manager.setNewSizeForKey("btnOK", "x", false));
  EXPECT_FALSE(manager.updataItem(&w, "btnOK"));
}

TEST_F(SkinEngineTest, LoadingRefusesMissingFolderAndUnreadableFile) {
  EXPECT_FALSE(manager.loadUIResource({}));
  EXPECT_FALSE(manager.loadUIResource(skin.path() + "/nope"));
  EXPECT_FALSE(manager.loadUIResource(skin.path())); // no SkinInfo written yet
  ASSERT_TRUE(skin.load(manager));
  EXPECT_TRUE(manager.hasKey("btnOK"));
  EXPECT_EQ(manager.skinPath(), QDir::cleanPath(skin.path()));
}

TEST_F(SkinEngineTest, RegistrationRulesAndLookUps) {
  ASSERT_TRUE(skin.load(manager));
  QWidget parent;
  parent.resize(200, 100);
  auto *a = new QWidget(&parent);
  auto *b = new QWidget(&parent);
  EXPECT_TRUE(manager.registerController(a, "btnOK", false));
  EXPECT_FALSE(manager.registerController(a, "btnOK", false)) << "a control registers once";
  EXPECT_FALSE(manager.registerController(a, "allFont2", false));
  EXPECT_TRUE(manager.registerController(b, "btnOK", true));
  EXPECT_EQ(manager.controllerByKey("btnOK"), a);
  EXPECT_EQ(manager.controllersByKey("btnOK"), (QObjectList{a, b}));
  EXPECT_TRUE(manager.controllersByKey("missing").isEmpty());
  EXPECT_EQ(manager.controllerByKey("missing"), nullptr);
  // Applied at once: bottom-left (10, 20) of an 80 x 24 frame in a 100-high parent.
  EXPECT_EQ(b->geometry(), QRect(10, 100 - 20 - 24, 80, 24));
  EXPECT_NE(a->geometry(), QRect(10, 56, 80, 24)) << "registered without reload";
  EXPECT_TRUE(manager.updateUI());
  EXPECT_EQ(a->geometry(), QRect(10, 56, 80, 24));
}

TEST_F(SkinEngineTest, KeyTheSkinLacksStillGetsTheDefaultFont) {
  ASSERT_TRUE(skin.load(manager));
  QLabel label;
  EXPECT_FALSE(manager.registerController(&label, "labelNotInSkin", true));
  EXPECT_EQ(label.font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(label.font().pixelSize(), 17);
}

TEST_F(SkinEngineTest, DestroyedAndRemovedControlsLeaveTheRegistry) {
  ASSERT_TRUE(skin.load(manager));
  auto *first = new QWidget;
  QWidget second;
  ASSERT_TRUE(manager.registerController(first, "btnOK", false));
  ASSERT_TRUE(manager.registerController(&second, "btnOK", false));
  delete first;
  EXPECT_EQ(manager.controllerByKey("btnOK"), &second);
  manager.removeController(&second);
  EXPECT_EQ(manager.controllerByKey("btnOK"), nullptr);
  // Rebuilt toolbars register new buttons under the old keys.
  QWidget third;
  EXPECT_TRUE(manager.registerController(&third, "btnOK", false));
  EXPECT_TRUE(manager.updateItem(&third));
  EXPECT_EQ(manager.controllerByKey("btnOK"), &third);
}

TEST_F(SkinEngineTest, FourStateStripsFollowTheOrderAndStyle) {
  skin.addImage("tab.png", QSize(200, 50), {Qt::red, Qt::blue});
  skin.setItem("btnTab", {{"ImageName", "tab.png"}, {"BtnImageOrder", "Up,Down"}});
  skin.setItem("btnTabV", {{"ImageName", "tab.png"}, {"BtnStyle", "Vertical"}});
  ASSERT_TRUE(skin.load(manager));
  NSFlickerButton button;
  const QImage image = manager.itemImage(&button, "btnTab");
  const QList<QImage> strips = manager.update4ImageButton(&button, "Up,Down", image, "btnTab");
  ASSERT_EQ(strips.size(), 2);
  EXPECT_EQ(strips[0].size(), QSize(100, 50));
  EXPECT_EQ(strips[1].size(), QSize(100, 50));
  EXPECT_EQ(button.imageUp().pixelColor(0, 0), QColor(Qt::red));
  EXPECT_EQ(button.imageDn().pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(button.size(), QSize(100, 50)) << "sized to fit";

  const QList<QImage> vertical = manager.update4ImageButton(&button, "Up,Down", image, "btnTabV");
  ASSERT_EQ(vertical.size(), 2);
  for (const QImage &s : vertical)
    EXPECT_EQ(s.size(), QSize(200, 25)) << "strips of full width, half high each";
}

TEST_F(SkinEngineTest, TwoStateImageNeedsAStyle) {
  skin.addImage("btn.png", QSize(60, 40), {Qt::green, Qt::black});
  skin.setItem("btnH", {{"ImageName", "btn.png"}, {"BtnStyle", "Horizontal"}, {"BtnImageOrder", "In,Up"}});
  skin.setItem("btnNone", {{"ImageName", "btn.png"}});
  ASSERT_TRUE(skin.load(manager));
  NSButtonExt b;
  ASSERT_TRUE(manager.registerController(&b, "btnH", true));
  EXPECT_EQ(b.image().size(), QSize(30, 40));
  EXPECT_EQ(b.image().pixelColor(0, 0), QColor(Qt::green)) << "always Up first, whatever the order says";
  EXPECT_EQ(b.alternateImage().pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(b.buttonType(), NSMomentaryChangeButton);
  NSButtonExt plain;
  ASSERT_TRUE(manager.registerController(&plain, "btnNone", true));
  EXPECT_TRUE(plain.image().isNull());
}

TEST_F(SkinEngineTest, CutPastTheEdgeYieldsNoImageAndKeepsTheOldOne) {
  skin.addImage("back.png", QSize(100, 40));
  skin.setItem("viewCut", {{"ImageName", "back.png"},
                           {"CutImage", true},
                           {"CutLeft", 60},
                           {"CutTop", 0},
                           {"CutWidth", 50},
                           {"CutHeight", 40}});
  skin.setItem("viewCutOK", {{"ImageName", "back.png"},
                             {"CutImage", true},
                             {"CutLeft", 50},
                             {"CutTop", 0},
                             {"CutWidth", 50},
                             {"CutHeight", 40}});
  ASSERT_TRUE(skin.load(manager));
  NSViewExt view;
  QImage old(5, 5, QImage::Format_ARGB32);
  old.fill(Qt::yellow);
  view.setImage(old);
  EXPECT_TRUE(manager.itemImage(&view, "viewCut").isNull());
  manager.updataItem(&view, "viewCut");
  EXPECT_EQ(view.image().size(), QSize(5, 5));
  EXPECT_EQ(manager.itemImage(&view, "viewCutOK").size(), QSize(50, 40));
}

TEST_F(SkinEngineTest, RescaleTakesItsSizeFromTheItemOrTheControl) {
  skin.addImage("bar.png", QSize(10, 10));
  skin.setItem("rItem", {{"ImageName", "bar.png"}, {"Rescale", true}, {"Width", 40}, {"Height", 8}});
  skin.setItem("rWidth", {{"ImageName", "bar.png"}, {"Rescale", true}, {"WidthFromController", true}});
  skin.setItem("rZero", {{"ImageName", "bar.png"}, {"Rescale", true}, {"Width", 0}, {"Height", 8}});
  skin.setItem("rNone", {{"ImageName", "bar.png"}, {"Rescale", true}});
  ASSERT_TRUE(skin.load(manager));
  QWidget control;
  control.resize(33, 77);
  EXPECT_EQ(manager.itemImage(&control, "rItem").size(), QSize(40, 8));
  EXPECT_EQ(manager.itemImage(&control, "rWidth").size(), QSize(33, 10));
  EXPECT_TRUE(manager.itemImage(&control, "rZero").isNull());
  EXPECT_EQ(manager.itemImage(&control, "rNone").size(), QSize(10, 10));
}

TEST_F(SkinEngineTest, ImageNamesCannotLeaveTheSkinFolder) {
  skin.setItem("evil", {{"ImageName", "../../etc/passwd"}});
  skin.setItem("abs", {{"ImageName", "/etc/passwd"}});
  ASSERT_TRUE(skin.load(manager));
  EXPECT_TRUE(manager.itemImage(nullptr, "evil").isNull());
  EXPECT_TRUE(manager.itemImage(nullptr, "abs").isNull());
}

TEST_F(SkinEngineTest, HighDensityPrefersTheDoubleImage) {
  skin.addImage("logo.png", QSize(20, 10), {Qt::red});
  skin.addImage("logo@2x.png", QSize(40, 20), {Qt::blue});
  skin.setItem("viewLogo", {{"ImageName", "logo.png"},
                            {"CutImage", true},
                            {"CutLeft", 10},
                            {"CutTop", 0},
                            {"CutWidth", 10},
                            {"CutHeight", 10}});
  ASSERT_TRUE(skin.load(manager));
  manager.setDevicePixelRatio(2.0);
  const QImage cut = manager.itemImage(nullptr, "viewLogo");
  EXPECT_EQ(cut.size(), QSize(20, 20)) << "the 1x rectangle cut from the 2x picture";
  EXPECT_EQ(cut.devicePixelRatio(), 2.0);
  EXPECT_EQ(cut.pixelColor(0, 0), QColor(Qt::blue));
  NSViewExt view;
  manager.updataItem(&view, "viewLogo");
  EXPECT_EQ(view.size(), QSize(10, 10)) << "frames stay in 1x pixels";
}

TEST_F(SkinEngineTest, RunTimeImageChanges) {
  skin.addImage("a.png", QSize(10, 10));
  skin.addImage("b.png", QSize(20, 10));
  skin.setItem("wndMainTabviewBack",
               {{"ImageName", "a.png"},
                {"ImageArray", QVariantList{"a.png", "b.png"}},
                {"ImageDict", QVariantMap{{"Internet", "a.png"}, {"SMS", "b.png"}}},
                {"LocationArray", QVariantList{QVariantMap{{"Left", 7}, {"Bottom", 3}, {"ImageName", "b.png"}}}}});
  ASSERT_TRUE(skin.load(manager));
  QWidget parent;
  parent.resize(100, 100);
  auto *view = new NSViewExt(&parent);
  ASSERT_TRUE(manager.registerController(view, "wndMainTabviewBack", true));
  EXPECT_FALSE(manager.setImageForKey("wndMainTabviewBack", QStringLiteral("Internet"), true))
      << "the image already shown";
  EXPECT_FALSE(manager.setImageForKey("wndMainTabviewBack", QStringLiteral("Phonebook"), true));
  EXPECT_EQ(manager.itemInfoDictForKey("wndMainTabviewBack").value("ImageName"), "a.png");
  EXPECT_TRUE(manager.setImageForKey("wndMainTabviewBack", QStringLiteral("SMS"), true));
  EXPECT_EQ(view->geometry(), QRect(7, 100 - 3 - 10, 20, 10));
  EXPECT_FALSE(manager.setImageForKey("wndMainTabviewBack", 2, true));
  EXPECT_TRUE(manager.setImageForKey("wndMainTabviewBack", 0, true));
  EXPECT_EQ(view->size(), QSize(10, 10));
}

TEST_F(SkinEngineTest, RunTimeSizeAndPlacementByName) {
  skin.setItem("viewMiddle",
               {{"Width", 10},
                {"Height", 10},
                {"SizeInfoArray", QVariantList{QVariantMap{{"Width", 50}, {"Height", 30}, {"ItemName", "big"}}}},
                {"LocationInSuperviewArray",
                 QVariantList{QVariantMap{{"LocationInSuperview", QVariantList{"InSuperViewRight,8"}},
                                          {"ItemName", "right"}}}}});
  ASSERT_TRUE(skin.load(manager));
  QWidget parent;
  parent.resize(200, 100);
  auto *view = new QWidget(&parent);
  ASSERT_TRUE(manager.registerController(view, "viewMiddle", true));
  EXPECT_TRUE(manager.setNewSizeForKey("viewMiddle", "nothing", true));
  EXPECT_EQ(view->size(), QSize(10, 10));
  EXPECT_TRUE(manager.setNewSizeForKey("viewMiddle", "big", true));
  EXPECT_EQ(view->size(), QSize(50, 30));
  EXPECT_TRUE(manager.setNewLocationInSuperviewForKey("viewMiddle", "right", true));
  EXPECT_EQ(view->x(), 200 - 50 - 8);
  EXPECT_FALSE(manager.setNewSizeForKey("absent", "big", true));
}

TEST_F(SkinEngineTest, FontsTextColourAndHidden) {
  skin.setItem("labelTitle",
               {{"Font", QVariantMap{{"FontName", "NoSuchFontAnywhere"}, {"FontSize", 21}, {"FontTrait", 2}}},
                {"TextColorString", "1 0 0 1"},
                {"Hidden", true}});
  ASSERT_TRUE(skin.load(manager));
  QLabel label("x");
  ASSERT_TRUE(manager.registerController(&label, "labelTitle", true));
  EXPECT_EQ(label.font().pixelSize(), 21);
  EXPECT_TRUE(label.font().bold());
  EXPECT_EQ(label.font().family(), QStringLiteral("DejaVu Sans")) << "an unknown name falls back to the current font";
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(label.isHidden());
}

TEST_F(SkinEngineTest, WidgetWithoutParentTakesItsPlaceWhenAdded) {
  ASSERT_TRUE(skin.load(manager));
  auto *child = new QWidget;
  ASSERT_TRUE(manager.registerController(child, "btnOK", true));
  QWidget parent;
  parent.resize(300, 200);
  child->setParent(&parent);
  EXPECT_EQ(child->geometry(), QRect(10, 200 - 20 - 24, 80, 24));
}

} // namespace
