// The status item: which still image or animation it shows as messages arrive and are read and
// as the connection changes, and what a click on it does.
#include "CocoaExt.h"
#include "DialController.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "SmsService.h"
#include "StatusBarView.h"

#include <QImage>
#include <QMenu>
#include <QTabWidget>

namespace {

const char *const kImages[] = {"SysStatusItem",        "SysStatusItemConnected", "SysStatusItemDisConnected",
                               "Normal_SMS_Arrive1",   "Normal_SMS_Arrive2",     "FlowValue_SMS_Arrive1",
                               "FlowValue_SMS_Arrive2"};

QVariantMap message(const QString &number, const QString &text, bool unread = true) {
  return {{"smsInfo", QVariantMap{{"stat", unread ? 0 : 1}, {"mobilephone", number}, {"messagetext", text}}}};
}
const QVariantMap kOrdinary = message("+4912345", "hello");
const QVariantMap kDataUsage = message("5555", "Band 75 used");

class StatusItemRefresh : public MainWindowFixture {
protected:
  bool needItem = true;
  bool freshOnNewSms = true;
  QTemporaryDir images;
  std::unique_ptr<SmsService> sms;

  QVariantMap settingsOverrides() const override {
    return {{"NeedSystemStatusItem", needItem},
            {"Main", QVariantMap{{"Main_FreshStatusView_ConnectStatusChanged", true},
                                 {"Main_FreshStatusView_NewSMSArrive", freshOnNewSms}}},
            {"SMS", QVariantMap{{"SMS_FlowValueSMSJudegeConditions",
                                 QVariantMap{{"FlowValueSMS_PhoneNumber", "5555"},
                                             {"FLowValueSMS_Bandbreite", "Band"},
                                             {"FlowValueSMS_SeventyFivePercentKey", "75"}}}}}};
  }
  void SetUp() override {}
  void start() {
    MainWindowFixture::SetUp();
    // Each picture a colour of its own, so that what is shown can be named.
    for (int i = 0; i < int(std::size(kImages)); ++i) {
      QImage image(4, 4, QImage::Format_RGB32);
      image.fill(QColor(10 + 30 * i, 0, 0));
      image.save(images.filePath(QLatin1String(kImages[i]) + ".PNG"));
    }
    StatusImages::setImageFolder(images.path());
    StatusBarView::setAssumeSystemTray(true);
    sms = std::make_unique<SmsService>();
    SmsService::setSharedSmsService(sms.get());
    buildOffline();
    main()->setStartsBackend(false);
  }
  void TearDown() override {
    delete parts.mainController;
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    SmsService::setSharedSmsService(nullptr);
    StatusBarView::setAssumeSystemTray(false);
    StatusImages::setImageFolder(QString());
    if (g_DialController)
      g_DialController->setConnectStatus(0);
  }
  MainController *main() const { return parts.mainController; }
  StatusBarView *view() const { return main()->sysStatusItemView(); }
  // The animation's first frame name, or the still image's name.
  QString shown() const {
    if (view()->bAnimation())
      return view()->getAnimationImagesPath();
    const QRgb pixel = view()->currentImage().pixel(0, 0);
    for (int i = 0; i < int(std::size(kImages)); ++i)
      if (qRed(pixel) == 10 + 30 * i)
        return QLatin1String(kImages[i]);
    return "?";
  }
  void unreadLeft(const QVariantList &pc, const QVariantList &sim) {
    sms->getUnreadSMSInPos(0, pc);
    sms->getUnreadSMSInPos(1, sim);
  }
  bool clickOpensInbox() {
    parts.tabs->setCurrentIndex(0);
    if (view()->menu())
      return false; // the click pops the menu up
    view()->mouseUp();
    return parts.tabs->currentIndex() == NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, "SMS");
  }
};

TEST_F(StatusItemRefresh, ReadingAMessageShowsTheOtherKindOrTheConnectionsStillImage) {
  struct Case {
    const char *name;
    int readType; // the kind of the message just read
    QVariantList pcLeft, simLeft;
    int dialStatus;
    const char *expected;
    bool clickOpensInbox;
  };
  const Case cases[] = {
      {"ordinary read, nothing left, connected", 2, {}, {}, 3, "SysStatusItemConnected", false},
      {"ordinary read, nothing left, disconnected", 2, {}, {}, 0, "SysStatusItemDisConnected", false},
      {"ordinary read, nothing left, connecting", 2, {}, {}, 1, "SysStatusItemDisConnected", false},
      {"ordinary read, data usage left", 2, {kDataUsage}, {}, 3, "FlowValue_SMS_Arrive1", true},
      {"ordinary read, ordinary left on the SIM", 2, {}, {kOrdinary}, 3, "Normal_SMS_Arrive1", true},
      {"data usage read, ordinary left", 0, {}, {kOrdinary}, 0, "Normal_SMS_Arrive1", true},
      {"data usage read, data usage left", 0, {kDataUsage}, {}, 0, "FlowValue_SMS_Arrive1", true},
      {"data usage read, nothing left", 0, {}, {}, 3, "SysStatusItemConnected", false},
  };
  start();
  ASSERT_NE(view(), nullptr);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    sms->setTypeOfNewSms(c.readType);
    unreadLeft({c.readType == 2 ? kOrdinary : kDataUsage}, {});
    main()->freshStatusViewWhenNewSMSArrive();
    ASSERT_TRUE(view()->bAnimation());
    EXPECT_EQ(view()->menu(), nullptr) << "the animation carries the click";
    g_DialController->setConnectStatus(c.dialStatus);
    unreadLeft(c.pcLeft, c.simLeft);
    main()->freshStatusViewWhenSMSReaded();
    EXPECT_EQ(shown(), QLatin1String(c.expected));
    EXPECT_EQ(clickOpensInbox(), c.clickOpensInbox);
    if (!c.clickOpensInbox) {
      EXPECT_EQ(view()->menu(), main()->sysStatusItemMenu()) << "the menu returns with the still image";
    }
  }
}

TEST_F(StatusItemRefresh, AConnectionChangeKeepsAnAnimationOfUnreadMessagesWhenAskedTo) {
  start();
  sms->setTypeOfNewSms(2);
  unreadLeft({kOrdinary}, {});
  main()->freshStatusViewWhenNewSMSArrive();
  g_DialController->setConnectStatus(0);
  main()->freshStatusViewWhenDialStatusChanged();
  EXPECT_EQ(shown(), "Normal_SMS_Arrive1");
  EXPECT_TRUE(clickOpensInbox());
  unreadLeft({}, {});
  g_DialController->setConnectStatus(3);
  main()->freshStatusViewWhenDialStatusChanged();
  EXPECT_EQ(shown(), "SysStatusItemConnected");
  EXPECT_FALSE(clickOpensInbox());
}

TEST_F(StatusItemRefresh, WithoutTheNewMessageSwitchAConnectionChangeShowsTheStillImage) {
  freshOnNewSms = false;
  start();
  sms->setTypeOfNewSms(0);
  unreadLeft({kDataUsage}, {});
  main()->freshStatusViewWhenNewSMSArrive();
  EXPECT_EQ(shown(), "FlowValue_SMS_Arrive1");
  g_DialController->setConnectStatus(3);
  main()->freshStatusViewWhenDialStatusChanged();
  EXPECT_EQ(shown(), "SysStatusItemConnected");
  // Connecting and disconnecting in between keep the image.
  g_DialController->setConnectStatus(1);
  main()->freshStatusViewWhenDialStatusChanged();
  EXPECT_EQ(shown(), "SysStatusItemConnected");
}

TEST_F(StatusItemRefresh, StartsWithTheInitialImageAndItsMenu) {
  start();
  EXPECT_EQ(shown(), "SysStatusItem");
  EXPECT_EQ(view()->menu(), main()->sysStatusItemMenu());
  EXPECT_NE(view()->statusItem(), nullptr);
}

TEST_F(StatusItemRefresh, WithoutTheSettingEveryRefreshDoesNothing) {
  needItem = false;
  start();
  EXPECT_EQ(view(), nullptr);
  sms->setTypeOfNewSms(2);
  unreadLeft({kOrdinary}, {});
  main()->freshStatusViewWhenNewSMSArrive();
  main()->freshStatusViewWhenSMSReaded();
  main()->freshStatusViewWhenDialStatusChanged();
  main()->freshStatusViewWhenInitialController();
  main()->setImageOfStatusBarViewWithImageName("SysStatusItemConnected");
  EXPECT_EQ(view(), nullptr);
}

} // namespace
