// The run knobs: a start page and a start action, applied as a user's click would be.
#include "StartKnobs.h"
#include "MainWindowFixture.h"
#include "NotificationTables.h"
#include "PinSheets.h"
#include "SettingController.h"

#include <QTabWidget>

namespace {

using StartKnobsTest = MainWindowFixture;

TEST(StartKnobsParse, TabAndSettingsPage) {
  struct Case {
    const char *value, *tab, *page;
  };
  for (const Case &c :
       {Case{"Internet", "Internet", ""}, Case{" SMS ", "SMS", ""}, Case{"Setting/Network", "Setting", "Network"},
        Case{"Setting/ ", "Setting", ""}, Case{"/x", "", "x"}, Case{"", "", ""}}) {
    const StartKnobs::Page page = StartKnobs::parsePage(QLatin1String(c.value));
    EXPECT_EQ(page.tab, QLatin1String(c.tab)) << c.value;
    EXPECT_EQ(page.settingsPage, QLatin1String(c.page)) << c.value;
  }
}

TEST_F(StartKnobsTest, AKnownTabIsBroughtForwardThroughTheTabChangeNotification) {
  buildOffline();
  auto *second = new QWidget;
  second->setProperty("itemIdentifier", QStringLiteral("Other"));
  parts.tabs->addTab(second, QStringLiteral("Other"));
  QStringList announced;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(
      &observer, QString::fromLatin1(kTabViewItemWillChange), nullptr,
      [&](const Notification &n) { announced << n.userInfo.value(kTabViewItemWillChange).toString(); });
  EXPECT_TRUE(StartKnobs::apply(QStringLiteral("Other"), QString(), parts.mainController, parts.controllers).isEmpty());
  EXPECT_EQ(parts.tabs->currentWidget(), second);
  EXPECT_EQ(announced, QStringList{QStringLiteral("Other")});
  EXPECT_TRUE(
      StartKnobs::apply(QStringLiteral("Internet"), QString(), parts.mainController, parts.controllers).isEmpty());
  EXPECT_EQ(parts.tabs->currentIndex(), 0);
}

TEST_F(StartKnobsTest, UnknownNamesAreReportedAndTheRestIsStillApplied) {
  buildOffline();
  const QStringList errors = StartKnobs::apply(QStringLiteral("NoSuchTab"), QStringLiteral("noSuchAction"),
                                               parts.mainController, parts.controllers);
  ASSERT_EQ(errors.size(), 2);
  EXPECT_TRUE(errors[0].contains(QLatin1String("NoSuchTab")));
  EXPECT_TRUE(errors[1].contains(QLatin1String("noSuchAction")));
  // An unknown settings page: the tab is still chosen, the page is reported.
  const QStringList settings =
      StartKnobs::apply(QStringLiteral("Setting/NoSuchPage"), QString(), parts.mainController, parts.controllers);
  ASSERT_EQ(settings.size(), 1);
  EXPECT_TRUE(settings[0].contains(QLatin1String("\"NoSuchPage\"")));
  EXPECT_TRUE(StartKnobs::apply(QStringLiteral("Setting/Security"), QString(), parts.mainController, parts.controllers)
                  .isEmpty());
  EXPECT_EQ(g_SettingController->currentSettingPage(), QStringLiteral("Security"));
}

TEST_F(StartKnobsTest, AnActionRunsOnTheFirstControllerThatHasIt) {
  buildOffline();
  // "enterPIN" belongs to the device-status controller: its PIN sheet opens.
  EXPECT_TRUE(
      StartKnobs::apply(QString(), QStringLiteral("enterPIN"), parts.mainController, parts.controllers).isEmpty());
  EXPECT_TRUE(parts.initController->pinSheet()->isVisible());
  // A selector spelled with its colon resolves the same way.
  EXPECT_TRUE(StartKnobs::apply(QString(), QStringLiteral("cancelPinWindow:"), parts.mainController, parts.controllers)
                  .isEmpty());
}

} // namespace
