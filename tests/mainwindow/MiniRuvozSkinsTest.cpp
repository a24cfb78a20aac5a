// The mini and ruvoz main windows: which one a configuration asks for, how each lays the window
// out from the skin, and their own status display driven by the simulated modem.
#include "CocoaExt.h"
#include "FrameworkLinks.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "NotificationTables.h"
#include "QELUIManager.h"

#include <QLineEdit>
#include <QTabWidget>

namespace {

class MiniRuvozSkins : public ModemWindowFixture {
protected:
  QVariantMap uiConfig;
  std::unique_ptr<QELUIManager> skin;

  QVariantMap settingsOverrides() const override { return {{"UIConfig", uiConfig}}; }
  void SetUp() override {}
  void TearDown() override {
    if (parts.mainController) {
      delete parts.mainController;
      parts.mainController = nullptr;
    }
    ModemWindowFixture::TearDown();
  }
  // The shipped configuration's arrays with the switches of the test.
  void prepare(bool mini, bool ruvoz) {
    QVariantMap settings;
    Plist::readDictionary(testsupport::buildBundlePath() + "/Resources/ModemList/settings.plist", &settings);
    uiConfig = settings.value("UIConfig").toMap();
    uiConfig.insert("MiniUI", mini);
    uiConfig.insert("RuvozUI", ruvoz);
    ModemWindowFixture::SetUp();
    skin = std::make_unique<QELUIManager>(config.get());
    ASSERT_TRUE(skin->loadUIResource(testsupport::buildBundlePath() + "/Resources/defaultSkin"));
  }
  void build() { parts = MainWindowBuilder::build(center.get(), skin.get(), &owner); }
  MainController *main() const { return parts.mainController; }
  QWidget *skinView(const char *key) const {
    return qobject_cast<QWidget *>(FrameworkLinks::controllerByKey(skin.get(), QLatin1String(key)));
  }
  QString networkLabel() const {
    auto *field = qobject_cast<QLineEdit *>(skinView("labelNetworkStatus"));
    return field ? field->text() : QStringLiteral("<none>");
  }
  QString signalImage() const { return skin->itemInfoDictForKey("imageviewSingal").value("ImageName").toString(); }
};

TEST(MiniRuvozSkinsNames, ShortNetworkStatus) {
  struct Case {
    const char *in, *out;
  };
  for (const Case &c : {Case{"HSDPA", "HSPA"}, Case{"HSUPA", "HSPA"}, Case{"UMTS", "3G"}, Case{"EDGE", "EDGE"},
                        Case{"hsupa", "hsupa"}, Case{"", ""}})
    EXPECT_EQ(MainController::shortNetworkStatus(QLatin1String(c.in)), QLatin1String(c.out)) << c.in;
}

TEST_F(MiniRuvozSkins, TheMiniWindowPutsThePagesAndStatusIntoItsPopUpAndWinsOverRuvoz) {
  prepare(true, true);
  parts = MainWindowBuilder::build(nullptr, skin.get(), &owner);
  ASSERT_EQ(main()->skinVariant(), "Mini");
  QWidget *popup = main()->wndMainPopup;
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(parts.tabs->window(), popup);
  EXPECT_EQ(init()->statusView->window(), popup);
  EXPECT_EQ(skinView("wndMainPopup")->parentWidget(), popup);
  // The strip carries the toolbar buttons and the signal picture.
  QWidget *strip = parts.window->centralWidget();
  ASSERT_NE(strip->findChild<NSFlickerButton *>("btnInternet"), nullptr);
  ASSERT_NE(strip->findChild<QWidget *>("imageviewSingal"), nullptr);
  EXPECT_LT(parts.window->height(), 200) << "a strip, not the whole window";
  EXPECT_EQ(skinView("viewTopFixed"), nullptr);
  // Choosing a page brings the pop-up up; its close action takes it away.
  parts.window->show();
  main()->notifyChangeTabViewItem("SMS");
  EXPECT_TRUE(popup->isVisible());
  main()->closeMainPopupWindow();
  EXPECT_FALSE(popup->isVisible());
}

TEST_F(MiniRuvozSkins, TheRuvozWindowHasFixedBandsAroundThePagesAndStartsOnTheHomePage) {
  prepare(false, true);
  parts = MainWindowBuilder::build(nullptr, skin.get(), &owner);
  ASSERT_EQ(main()->skinVariant(), "Ruvoz");
  QWidget *top = skinView("viewTopFixed");
  QWidget *middle = skinView("viewMiddleChangeable");
  QWidget *bottom = skinView("viewBottomFixed");
  ASSERT_TRUE(top && middle && bottom);
  EXPECT_EQ(parts.tabs->parentWidget(), middle);
  parts.window->show();
  EXPECT_FALSE(init()->statusView->isVisible());
  auto *dial = qobject_cast<QWidget *>(skinView("btnDialConnectExt"));
  ASSERT_NE(dial, nullptr);
  EXPECT_FALSE(dial->isEnabled());
  EXPECT_EQ(dial->parentWidget(), top);
  EXPECT_NE(skinView("webViewInTopFixed"), nullptr);
  EXPECT_EQ(NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, "HomePage"), parts.tabs->currentIndex());
  EXPECT_NE(parts.tabs->currentWidget()->findChild<QWidget *>(), nullptr);
  EXPECT_NE(skinView("webViewInHomePage"), nullptr);
  // The bands do not overlap: top, pages, bottom from top to bottom.
  EXPECT_LE(top->geometry().bottom(), middle->geometry().top());
  EXPECT_LE(middle->geometry().bottom(), bottom->geometry().top());
  // The connect button asks for a connection.
  QStringList posted;
  NotificationCenter::defaultCenter().addObserver(&owner, QString::fromLatin1(kDialOption), nullptr,
                                                  [&](const Notification &n) { posted << n.name; });
  main()->btnDialConnectExt();
  EXPECT_EQ(posted, QStringList{"dialOption"});
}

TEST_F(MiniRuvozSkins, TheNormalWindowWithoutEitherSwitch) {
  prepare(false, false);
  parts = MainWindowBuilder::build(nullptr, skin.get(), &owner);
  EXPECT_EQ(main()->skinVariant(), QString());
  EXPECT_TRUE(main()->usesSkinnedWindow());
  EXPECT_EQ(skinView("viewTopFixed"), nullptr);
}

TEST_F(MiniRuvozSkins, TheRuvozWindowFollowsTheModemsSignalAndNetwork) {
  prepare(false, true);
  // As launch() does, with the skin.
  link = std::make_unique<PackageLink>(ui, be);
  if (!link->open())
    GTEST_SKIP() << "no session bus";
  center = std::make_unique<QELMsgCenter>(link.get());
  build();
  backend = std::make_unique<testsupport::BackendProcess>(
      ui, be, testsupport::buildBundlePath() + "/Resources/Scenarios/sim-ready.plist");
  ASSERT_TRUE(backend->start());
  ASSERT_EQ(main()->skinVariant(), "Ruvoz");
  ASSERT_TRUE(backend->control("SetSignal", {2}).value(0).toBool());
  EXPECT_TRUE(testsupport::waitUntil([&] { return signalImage() == "rssi3.png"; })) << signalImage().toStdString();
  backend->control("SetRegistration", {QStringLiteral("CS_PS")});
  backend->control("SetNetwork", {QString(), QString(), QString(), QStringLiteral("HSUPA")});
  EXPECT_TRUE(testsupport::waitUntil([&] { return networkLabel() == "HSPA"; })) << networkLabel().toStdString();
  backend->control("SetNetwork", {QString(), QString(), QString(), QStringLiteral("UMTS")});
  EXPECT_TRUE(testsupport::waitUntil([&] { return networkLabel() == "3G"; })) << networkLabel().toStdString();
  ASSERT_TRUE(backend->control("SetSignal", {5}).value(0).toBool());
  EXPECT_TRUE(testsupport::waitUntil([&] { return signalImage() == "rssi6.png"; }));
}

} // namespace
