#include "ControllerFixture.h"
#include "DispatchTargets.h"
#include "Plist.h"
#include "QELLanguage.h"
#include "QELMsgCenter.h"
#include "QELUIController.h"

#include <QDialog>
#include <QLabel>
#include <QTabWidget>

namespace {

// Records its hooks and the handlers it was called with.
class RecordingController : public QELUIController {
  Q_OBJECT
public:
  QStringList calls;
  const NotificationPair *ownTable = nullptr;

  Q_INVOKABLE void devicePlugin(const Notification &) { calls << "devicePlugin"; }
  Q_INVOKABLE void deviceRemoved() { calls << "deviceRemoved"; }
  Q_INVOKABLE void notifyDevicePlugInForLog(const Notification &) { calls << "notifyDevicePlugInForLog"; }
  Q_INVOKABLE void updateLanguages(const Notification &) { calls << "updateLanguages"; }
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n) {
    calls << "will:" + n.userInfo.value(kTabViewItemWillChange).toString() + ":" +
                 QString::number(tabviewMain ? tabviewMain->currentIndex() : -1);
  }
  Q_INVOKABLE void tabViewItemDidChange(const Notification &n) {
    calls << "did:" + n.userInfo.value(kTabViewItemWillChange).toString() + ":" +
                 QString::number(tabviewMain ? tabviewMain->currentIndex() : -1);
  }

protected:
  void initializeSkin() override { calls << "initializeSkin"; }
  void initializeNibResources() override { calls << "initializeNibResources"; }
  void registerMessages() override {
    calls << "registerMessages";
    if (ownTable)
      registerNotification(ownTable);
  }
  void initializeController() override {
    calls << "initializeController";
    // The base table is not registered yet.
    notificationCenter->postNotificationName(kDevicePlugin);
  }
  void loadCommonBundle() override { calls << "loadCommonBundle"; }
};

// Only the base class's handlers.
class PlainController : public QELUIController {
  Q_OBJECT
};

using ControllerTest = ControllerFixture;

TEST_F(ControllerTest, WakeUpRunsTheHooksInOrderThenSubscribes) {
  RecordingController c;
  c.awakeFromNib();
  EXPECT_EQ(c.calls, QStringList({"initializeSkin", "initializeNibResources", "registerMessages",
                                  "initializeController", "loadCommonBundle"}));
  c.calls.clear();
  NotificationCenter::defaultCenter().postNotificationName(kUpdateLanguage);
  NotificationCenter::defaultCenter().postNotificationName(kDeviceRemoved);
  EXPECT_EQ(c.calls, QStringList({"updateLanguages", "deviceRemoved"}));
}

TEST_F(ControllerTest, LanguageObjectDrivesUpdateLanguages) {
  QELLanguage language(root.path(), [] { return QStringList{"en"}; });
  RecordingController c;
  c.qelLanguage = &language;
  c.awakeFromNib();
  // Registered with the language object, and applied once at once.
  EXPECT_EQ(c.calls.mid(5), QStringList({"updateLanguages"}));
  c.calls.clear();
  NotificationCenter::defaultCenter().postNotificationName(kUpdateLanguage); // not from the language object
  EXPECT_TRUE(c.calls.isEmpty());
  c.notifyChangeLanguage();
  EXPECT_EQ(c.calls, QStringList({"updateLanguages"}));
}

TEST_F(ControllerTest, OwnTablesComeBeforeTheBaseTableAndBothAreCalled) {
  RecordingController c;
  c.ownTable = CustomerLogNotficationTable;
  c.awakeFromNib();
  c.calls.clear();
  NotificationCenter::defaultCenter().postNotificationName(kDevicePlugin);
  EXPECT_EQ(c.calls, QStringList({"notifyDevicePlugInForLog", "devicePlugin"}));
}

// Captures the warnings logged while it lives.
class WarningLog {
public:
  WarningLog() {
    lines().clear();
    previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
      if (type == QtWarningMsg)
        lines() << text;
    });
  }
  ~WarningLog() { qInstallMessageHandler(previous_); }
  static QStringList &lines() {
    static QStringList l;
    return l;
  }

private:
  QtMessageHandler previous_;
};

TEST_F(ControllerTest, MissingHandlersAreReportedByClassAndMethod) {
  auto &center = NotificationCenter::defaultCenter();
  const int mainWndBefore = center.observerCount(kMainwindOfAppChanged);
  RecordingController c;
  DispatchTargets::forget();
  WarningLog log;
  EXPECT_FALSE(c.registerNotification(nullptr));
  // The base class has only the main-window handler of this table.
  EXPECT_TRUE(c.registerNotification(PhoneBookNotficationTable));
  EXPECT_EQ(center.observerCount(kMainwindOfAppChanged), mainWndBefore + 1);
  const QStringList missing = DispatchTargets::missing();
  EXPECT_EQ(missing.size(), 11);
  EXPECT_TRUE(missing.contains("RecordingController::initUSIMListWithReadResult: (notification initPhoneBookSimSide)"))
      << missing.join('\n').toStdString();
  EXPECT_TRUE(log.lines().join('\n').contains("RecordingController::callModuleReady: (notification callModuleReady)"))
      << log.lines().join('\n').toStdString();

  // An item action the controller lacks does nothing, but says so.
  DispatchTargets::forget();
  EXPECT_FALSE(c.performItemAction("tbiNowhere:", nullptr));
  EXPECT_EQ(DispatchTargets::missing(), QStringList{"RecordingController::tbiNowhere: (item action)"});
}

TEST_F(ControllerTest, TheBaseTableIsOptionalAndReportsNothing) {
  DispatchTargets::forget();
  PlainController c;
  c.awakeFromNib();
  EXPECT_TRUE(DispatchTargets::missing().isEmpty()) << DispatchTargets::missing().join('\n').toStdString();
  const int simReadyBefore = NotificationCenter::defaultCenter().observerCount(kSimReady);
  RecordingController r;
  r.awakeFromNib();
  EXPECT_EQ(NotificationCenter::defaultCenter().observerCount(kSimReady), simReadyBefore) << "no simReady: handler";
  EXPECT_TRUE(DispatchTargets::missing().isEmpty());
}

TEST_F(ControllerTest, TablesAreWellFormed) {
  const NotificationPair *tables[] = {qelUINotificationTable,
                                      deviceFunctionNotficationTable,
                                      MainControllerNotificationTable,
                                      initObServerTable,
                                      dialControllerNotificationTable,
                                      settingObServerTable,
                                      smsObserverTable,
                                      PhoneBookNotficationTable,
                                      callBundleNotficationTable,
                                      callRecordBundleNotficationTable,
                                      STKObServerTable,
                                      USSDObServerTable,
                                      MMSObserverTable,
                                      WLANObserverTable,
                                      statisticsNotifactionTable,
                                      CustomerLogNotficationTable,
                                      entertainObserverTable,
                                      callNotficationTable,
                                      callRecordNotficationTable,
                                      PhoneBookBundleNotficationTable,
                                      simPinNotificationTable,
                                      smsChatObserverTable};
  for (const NotificationPair *t : tables) {
    int n = 0;
    for (const NotificationPair *p = t; p->selector; ++p, ++n) {
      ASSERT_NE(p->notification, nullptr);
      EXPECT_TRUE(QByteArray(p->selector).endsWith(':')) << p->selector;
      EXPECT_FALSE(QByteArray(p->notification).isEmpty());
    }
    EXPECT_GT(n, 0);
  }
  EXPECT_STREQ(qelUINotificationTable[10].selector, "dialConnectStart:");
  EXPECT_STREQ(qelUINotificationTable[10].notification, "StartConnection");
  EXPECT_EQ(qelUINotificationTable[11].selector, nullptr);
}

TEST_F(ControllerTest, MainWindowChangeReachesControllersWhoseTableListsIt) {
  QWidget oldWnd, newWnd;
  PlainController listed, unlisted;
  listed.wndMain = &oldWnd;
  unlisted.wndMain = &oldWnd;
  listed.registerNotification(settingObServerTable);
  unlisted.awakeFromNib(); // the base table does not list it

  // A window-modal sheet on the old window, with a sheet of its own.
  auto *sheet = new QDialog(&oldWnd);
  sheet->setWindowModality(Qt::WindowModal);
  auto *inner = new QDialog(sheet);
  inner->setWindowModality(Qt::WindowModal);
  oldWnd.show();
  sheet->open();
  inner->open();
  QList<int> finished;
  QObject::connect(sheet, &QDialog::finished, [&](int r) { finished << 1000 + r; });
  QObject::connect(inner, &QDialog::finished, [&](int r) { finished << 2000 + r; });

  NotificationCenter::defaultCenter().postNotificationName(kMainwindOfAppChanged, nullptr,
                                                           {{"window", QVariant::fromValue<QObject *>(&newWnd)}});
  EXPECT_EQ(listed.wndMain, &newWnd);
  EXPECT_EQ(unlisted.wndMain, &oldWnd);
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_FALSE(inner->isVisible());
  EXPECT_EQ(finished, QList<int>({2000, 1000})); // innermost first
}

TEST_F(ControllerTest, TabChangePostsAroundTheSelection) {
  RecordingController c;
  QTabWidget tabs;
  for (const char *id : {"Internet", "SMS"}) {
    auto *page = new QWidget;
    page->setProperty("itemIdentifier", QString::fromLatin1(id));
    tabs.addTab(page, id);
  }
  c.tabviewMain = &tabs;
  c.awakeFromNib();
  c.calls.clear();
  PostRecorder rec({kTabViewItemWillChange, kTabViewItemDidChange});
  c.notifyChangeTabViewItem(QString());
  EXPECT_TRUE(rec.posts.isEmpty());
  EXPECT_TRUE(c.calls.isEmpty());

  c.notifyChangeTabViewItem("SMS");
  EXPECT_EQ(c.calls, QStringList({"will:SMS:0", "did:SMS:1"}));
  ASSERT_EQ(rec.posts.size(), 2);
  EXPECT_EQ(rec.posts[0].object, nullptr);
}

TEST_F(ControllerTest, PostersCarryTheControllerAndTheirDetails) {
  PlainController c;
  PostRecorder rec(
      {kDeviceRemoved, kDevicePlugin, kSimReady, kDataServiceSwitch, kAppReady, kAppWillClose, kUpdateLanguage});
  c.notifyDeviceRemoved();
  c.notifyDevicePlugin();
  c.notifySimReady();
  c.notifyDataServiceSwitch(true);
  c.notifyAppReady();
  c.notifyAppWillClose();
  c.notifyChangeLanguage(); // no language object: the notification itself
  QStringList names;
  for (const Notification &n : rec.posts) {
    names << n.name;
    EXPECT_EQ(n.object, &c);
  }
  EXPECT_EQ(names, QStringList({"DeviceRemoved", "DevicePlugin", "SimReady", "DataServiceSwitch", "AppReady",
                                "AppWillClose", "UpdateLanguage"}));
  EXPECT_EQ(rec.posts[3].userInfo.value("DataServiceSwitch"), QVariant(true));
}

TEST_F(ControllerTest, RuntimeDictionary) {
  PlainController c;
  EXPECT_FALSE(settings().contains("RuntimeData"));
  EXPECT_TRUE(c.runtimeDictionary().isEmpty());
  EXPECT_TRUE(settings().contains("RuntimeData")); // made on first use

  c.setRuntimeObject(QVariant(), kRTIMEI);
  c.setRuntimeObject("123", QString());
  EXPECT_TRUE(c.runtimeDictionary().isEmpty());
  c.setRuntimeObject("3544", kRTIMEI);
  c.setRuntimeObject(true, kRTIsConnectted);
  EXPECT_EQ(c.runtimeObjectForKey(kRTIMEI), QVariant("3544"));
  EXPECT_EQ(settings().value("RuntimeData").toMap().value("runtimeIsConnecttedFlag"), QVariant(true));
  EXPECT_FALSE(c.runtimeObjectForKey("absent").isValid());

  // A damaged entry is replaced rather than trusted.
  settings()["RuntimeData"] = QStringLiteral("garbage");
  EXPECT_TRUE(c.runtimeDictionary().isEmpty());

  c.setRuntimeObject("x", kRTPhoneNumber);
  settings()["Keep"] = 1;
  c.deleteRuntimeDictionary();
  EXPECT_FALSE(settings().contains("RuntimeData"));
  QVariant disk;
  ASSERT_TRUE(Plist::readFile(config->configFilePathOfKey(kCMSettingFile), &disk));
  const QVariantMap onDisk = disk.toMap();
  EXPECT_EQ(onDisk.value("Keep"), QVariant(1));
  EXPECT_FALSE(onDisk.contains("RuntimeData"));
}

TEST_F(ControllerTest, ObjectsDictLeavesOutEveryNullField) {
  PlainController c;
  EXPECT_TRUE(c.objectsDict().isEmpty());
  QWidget wnd, popup;
  QTabWidget tabs, settingTabs;
  c.wndMain = &wnd;
  c.tabviewSetting = &settingTabs;
  EXPECT_EQ(c.objectsDict().keys(), QStringList({"tabviewSetting", "wndMain"}));
  c.tabviewMain = &tabs;
  c.wndMainPopup = &popup;
  const QVariantMap d = c.objectsDict();
  EXPECT_EQ(d.keys(), QStringList({"tabviewMain", "tabviewSetting", "wndMain", "wndMainPopup"}));
  EXPECT_EQ(d.value("tabviewMain").value<QObject *>(), &tabs);
}

TEST_F(ControllerTest, TrimStringKeepsSetMembersUpToTheLength) {
  const auto digits = [](QChar c) { return c.isDigit(); };
  struct Case {
    QString in;
    int length;
    QString out;
  };
  const QList<Case> cases = {{"+49 (170) 123", 20, "49170123"},
                             {"+49 (170) 123", 4, "4917"},
                             {"abc", 5, ""},
                             {"", 5, ""},
                             {QString(), 5, ""},
                             {"123", 0, ""}};
  for (const Case &c : cases)
    EXPECT_EQ(QELUIController::trimString(c.in, digits, c.length), c.out) << c.in.toStdString();
  EXPECT_EQ(QELUIController::trimString("123", {}, 5), "");
  EXPECT_FALSE(QELUIController::trimString(QString(), digits, 1).isNull());
}

TEST_F(ControllerTest, DatesFollowTheCustomFormat) {
  const QDateTime when(QDate(2024, 3, 7), QTime(9, 5, 2, 45));
  {
    PlainController c;
    EXPECT_EQ(c.formatStringFromDate(QDateTime()), "");
    EXPECT_FALSE(c.formatStringFromDate(when).isEmpty());
  }
  settings()["CustomDateFormat"] = "%Y-%m-%d %H:%M:%S.%F %I%p %j %%d %q";
  PlainController c;
  EXPECT_EQ(c.formatStringFromDate(when), "2024-03-07 09:05:02.045 09AM 067 %d %q");
}

TEST_F(ControllerTest, SmsCancelWordingIsRenamedWhenConfigured) {
  loadWording({{"Cancel", "Cancel"},
               {"cancel:", "cancel"},
               {"Cancel_SMS", "Discard"},
               {"Cancel_SMS:", "discard"},
               {"OK", "OK"}});
  PlainController c;
  settings()["SMS"] = QVariantMap{{"RenameCancelWording", true}};
  struct Case {
    QString key;
    int module;
    QString text;
  };
  const QList<Case> cases = {{"Cancel", kModuleSMS, "Discard"},
                             {"cancel:", kModuleSMS, "discard"},
                             {"Cancel", kModuleDial, "Cancel"},
                             {"OK", kModuleSMS, "OK"},
                             {"Unknown_Key", kModuleSMS, "Unknown_Key"}};
  for (const Case &k : cases)
    EXPECT_EQ(c.getControlWordingValueByKey(k.key, k.module), k.text) << k.key.toStdString();
  settings()["SMS"] = QVariantMap{{"RenameCancelWording", false}};
  EXPECT_EQ(c.getControlWordingValueByKey("Cancel", kModuleSMS), "Cancel");
}

} // namespace

#include "ControllerTest.moc"
