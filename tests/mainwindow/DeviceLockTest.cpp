// The device lock code at start-up and for the guarded pages, end to end against the simulated
// modem.
#include "CallNeighbours.h"
#include "DataSessionLayout.h"
#include "InitController.h"
#include "MainWindowFixture.h"
#include "SettingController.h"
#include "UnlockDeviceSheet.h"

#include <QTest>

namespace {

class DeviceLock : public MainWindowFixture {
protected:
  InitController *init() const { return parts.initController; }
  UnlockDeviceSheet *sheet() const { return init()->unlockDeviceSheet(); }

  bool sheetUp() {
    return testsupport::waitUntil([&] { return sheet()->isVisible(); });
  }
  void type(const QString &code) {
    sheet()->code->setText(code);
    sheet()->ok->click();
  }
  int askedCount(const QString &message) const {
    return int(std::count_if(answers->asked().cbegin(), answers->asked().cend(),
                             [&](const ModalQuestion &q) { return q.message == message; }));
  }
  // The unlock requests (5/28) the backend received: their module ids and codes.
  QList<QPair<int, QByteArray>> unlockRequests() const {
    QList<QPair<int, QByteArray>> out;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg msg;
      if (UIMsg::decode(bytes, &msg) && msg.majorId == 5 && msg.minorId == 28)
        out.append({msg.moduleId, msg.payload()});
    }
    return out;
  }
};

TEST_F(DeviceLock, ALockedDeviceAsksForItsCodeUntilTheRightOneComes) {
  if (!launch(QStringLiteral("device-lock")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(sheetUp());
  EXPECT_TRUE(g_SettingController->getDeviceUnlockCodeState());
  EXPECT_FALSE(init()->firstUnlockedDevice());

  // Codes that are not four digits never leave the program, and the sheet stays.
  for (const QString &bad : {QStringLiteral("123"), QStringLiteral("12a4"), QStringLiteral("12345"), QString()}) {
    const int before = askedCount(QStringLiteral("The unlock device code must be 4 digitals"));
    type(bad);
    EXPECT_EQ(askedCount(QStringLiteral("The unlock device code must be 4 digitals")), before + 1) << qPrintable(bad);
    EXPECT_TRUE(sheet()->isVisible());
  }
  EXPECT_TRUE(unlockRequests().isEmpty());

  // A wrong code is told, and the sheet comes back.
  type(QStringLiteral("0000"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return askedCount(QStringLiteral("Invalid password!")) == 1; }));
  ASSERT_TRUE(sheetUp());
  EXPECT_FALSE(init()->firstUnlockedDevice());

  type(QStringLiteral("4321"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->firstUnlockedDevice(); }));
  EXPECT_FALSE(sheet()->isVisible());
  const auto requests = unlockRequests();
  ASSERT_EQ(requests.size(), 2);
  EXPECT_EQ(requests[0].first, kModuleInit);
  EXPECT_EQ(requests[1].second, QByteArray("4321"));

  // Once unlocked, a guarded page asks again under module 3 and hears of the result.
  int successes = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QLatin1String(kDeviceUnlockSuccess), nullptr,
                                                  [&](const Notification &) { ++successes; });
  CallNeighbours::shared().openUnlockDeviceWindow(parts.window);
  CallNeighbours::shared().setDeviceLockFunctionModule(4);
  EXPECT_EQ(init()->getDeviceLockFunctionModule(), 4);
  ASSERT_TRUE(sheetUp());
  type(QStringLiteral("4321"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return successes == 1; }));
  EXPECT_EQ(unlockRequests().constLast().first, kModuleSetting);
}

TEST_F(DeviceLock, CancelTellsTheGuardedPagesAndAnUnlockedDeviceAsksNothing) {
  if (!launch(QStringLiteral("device-lock")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(sheetUp());
  int failures = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QLatin1String(kDeviceUnlockFailed), nullptr,
                                                  [&](const Notification &) { ++failures; });
  sheet()->cancel->click();
  EXPECT_EQ(failures, 1);
  EXPECT_FALSE(sheet()->isVisible());

  // The device comes back with its lock switched off: it is unlocked at once.
  backend->control(QStringLiteral("SetDeviceLock"), {false, QString()});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->firstUnlockedDevice(); }));
  EXPECT_FALSE(g_SettingController->getDeviceUnlockCodeState());
  EXPECT_FALSE(sheet()->isVisible());
  // Removal forgets the unlock.
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return !init()->firstUnlockedDevice(); }));
}

// The start-up sheet declined, the device stays locked: each guarded page asks for the code when
// it is opened, Cancel leaves for the Internet page, and the right code (still under the start-up
// module, as the device was never unlocked) opens the page that asked.
TEST_F(DeviceLock, AfterCancelAtStartUpEveryGuardedPageAsksForTheCode) {
  if (!launch(QStringLiteral("device-lock")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(sheetUp());
  sheet()->cancel->click();
  ASSERT_FALSE(sheet()->isVisible());
  QStringList pagesEntered;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QLatin1String(kTabViewItemWillChange), nullptr,
      [&](const Notification &n) { pagesEntered << n.userInfo.value(kTabViewItemWillChange).toString(); });
  const struct {
    const char *page;
    int module;
  } cases[] = {{"SMS", 1}, {"Phonebook", 2}, {"Setting", 6}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.page);
    pagesEntered.clear();
    parts.mainController->notifyChangeTabViewItem(QLatin1String(c.page));
    ASSERT_TRUE(sheetUp());
    EXPECT_EQ(init()->getDeviceLockFunctionModule(), c.module);
    sheet()->cancel->click();
    EXPECT_EQ(pagesEntered, (QStringList{QLatin1String(c.page), QStringLiteral("Internet")}));
  }
  pagesEntered.clear();
  parts.mainController->notifyChangeTabViewItem(QStringLiteral("SMS"));
  ASSERT_TRUE(sheetUp());
  type(QStringLiteral("4321"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return pagesEntered.size() == 2; }));
  EXPECT_EQ(pagesEntered.last(), QStringLiteral("SMS"));
  EXPECT_TRUE(init()->firstUnlockedDevice());
  EXPECT_EQ(unlockRequests().constLast().first, kModuleInit);
  // The page opened on the code just accepted does not ask for it again.
  QTest::qWait(200);
  EXPECT_FALSE(sheet()->isVisible());
  // Opened later, it asks again (now under the settings module, the device having been unlocked).
  parts.mainController->notifyChangeTabViewItem(QStringLiteral("Internet"));
  parts.mainController->notifyChangeTabViewItem(QStringLiteral("SMS"));
  ASSERT_TRUE(sheetUp());
  type(QStringLiteral("4321"));
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return pagesEntered.constLast() == QLatin1String("SMS") && !sheet()->isVisible(); }));
  QTest::qWait(200);
  EXPECT_FALSE(sheet()->isVisible());
  EXPECT_EQ(unlockRequests().constLast().first, kModuleSetting);
}

// The code accepted at start-up is told like any other, and no feature acts on it: no page
// moves and no connect starts.
TEST_F(DeviceLock, TheStartUpCodeIsToldAndMovesNothing) {
  if (!launch(QStringLiteral("device-lock")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(sheetUp());
  int successes = 0, pageChanges = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QLatin1String(kDeviceUnlockSuccess), nullptr,
                                                  [&](const Notification &) { ++successes; });
  NotificationCenter::defaultCenter().addObserver(&owner, QLatin1String(kTabViewItemWillChange), nullptr,
                                                  [&](const Notification &) { ++pageChanges; });
  EXPECT_EQ(init()->getDeviceLockFunctionModule(), InitController::kDeviceLockAskedAtStartUp);
  type(QStringLiteral("4321"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return successes == 1; }));
  EXPECT_TRUE(init()->firstUnlockedDevice());
  EXPECT_EQ(pageChanges, 0);
  QTest::qWait(300);
  for (const QByteArray &bytes : backend->received()) {
    UIMsg msg;
    if (UIMsg::decode(bytes, &msg)) {
      EXPECT_FALSE(msg.majorId == DataSessionLayout::kDialMajor && msg.minorId == DataSessionLayout::kDialConnect)
          << "no connect request";
    }
  }
}

TEST_F(DeviceLock, ALockStatusWithAFailureResultChangesNothing) {
  buildOffline();
  UIMsg msg;
  msg.majorId = 0;
  msg.minorId = 27;
  msg.result = UIMsg::kResultFailure;
  msg.setPayload(QByteArray("\x01\0\0\0", 4));
  init()->dealWithMsgOfCheckDeviceLockStatus(
      Notification{QStringLiteral("qUIMsg27"), nullptr, {{QStringLiteral("qUIMsg"), msg.encode()}}});
  EXPECT_FALSE(sheet()->isVisible());
  EXPECT_FALSE(init()->firstUnlockedDevice());
}

} // namespace
