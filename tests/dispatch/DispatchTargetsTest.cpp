// Every method the program's tables and its shipped configuration name must exist on the object
// that is asked for it: a missing one is a notification, a backend reply or a click that does
// nothing, and nobody notices.
#include "DispatchTargets.h"
#include "CallRecordController.h"
#include "CompoundCallController.h"
#include "CustomerLogController.h"
#include "DialController.h"
#include "DialRecordController.h"
#include "EntertainController.h"
#include "MMSController.h"
#include "MainWindowFixture.h"
#include "NotificationTables.h"
#include "PBController.h"
#include "QELUIManager.h"
#include "SMSController.h"
#include "STKController.h"
#include "SettingController.h"
#include "USSDContrller.h"
#include "WLANController.h"

#include <map>
#include <utility>
#include <vector>

namespace {

// The notification tables each controller registers besides the base one (whose entries are
// hooks a controller may have), checked on the class, so that a controller the shipped settings
// do not build is checked too. A new controller is one line.
struct ControllerTables {
  const QMetaObject *controller;
  std::vector<const NotificationPair *> tables;
};
const ControllerTables kNotificationTables[] = {
    {&MainController::staticMetaObject, {MainControllerNotificationTable}},
    {&InitController::staticMetaObject, {initObServerTable}},
    {&DialController::staticMetaObject, {dialControllerNotificationTable, deviceFunctionNotficationTable}},
    {&DialRecordController::staticMetaObject, {statisticsNotifactionTable}},
    {&SettingController::staticMetaObject, {settingObServerTable, deviceFunctionNotficationTable}},
    {&SMSController::staticMetaObject, {smsObserverTable, deviceFunctionNotficationTable}},
    {&MMSController::staticMetaObject, {deviceFunctionNotficationTable}},
    {&PBController::staticMetaObject, {PhoneBookNotficationTable}},
    {&CompoundCallController::staticMetaObject, {callBundleNotficationTable, deviceFunctionNotficationTable}},
    {&CallRecordController::staticMetaObject, {callRecordBundleNotficationTable}},
    {&USSDContrller::staticMetaObject, {USSDObServerTable, deviceFunctionNotficationTable}},
    {&STKController::staticMetaObject, {STKObServerTable, deviceFunctionNotficationTable}},
    {&WLANController::staticMetaObject, {WLANObserverTable}},
    {&CustomerLogController::staticMetaObject, {CustomerLogNotficationTable}},
    {&EntertainController::staticMetaObject, {entertainObserverTable}},
};

// Whether the class has the handler as a notification names it (with the notification or without).
bool classHas(const QMetaObject *mo, const char *selector) {
  QByteArray name(selector);
  if (const int colon = name.indexOf(':'); colon >= 0)
    name.truncate(colon);
  return mo->indexOfMethod(name + "(Notification)") >= 0 || mo->indexOfMethod(name + "()") >= 0;
}

// Where the shipped settings list "itemAction" and "menuItemAction" entries (a module and its
// key, or a top-level key with an empty module), and the controller that answers them. Entries
// nested in an entry (pop-up menus) go to the same controller.
struct ActionSource {
  const char *module;
  const char *key;
  const char *controller;
};
const ActionSource kActionSources[] = {
    {"", "toolBarItems", "MainController"},
    {"UIConfig", "ToolbarItems", "MainController"},
    {"UIConfig", "TitlebarItems", "MainController"},
    {"UIConfig", "RightbarItems", "MainController"},
    {"UIConfig", "btnsInViewTopFixed", "MainController"},
    {"UIConfig", "btnsInViewBottomFixed", "MainController"},
    {"UIConfig", "btnsInViewInSetting", "SettingController"},
};

// Table entries without a handler, and why each is accepted. A new entry here needs a reason that
// holds for the shipped program, not "not written yet".
struct Tolerated {
  const char *controller;
  const char *method;
  const char *reason;
};
const Tolerated kTolerated[] = {
    // The table is shared with the plug-in bundles, which answer these requests themselves.
    {"PBController", "initUSIMListWithReadResult:", "the phonebook plug-in's own request"},
    {"PBController", "wirteContactsToUSIMList:", "the phonebook plug-in's own request"},
    {"CallRecordController", "readAllCallRecords:", "the call-log plug-in's own request"},
    {"DialRecordController", "setDateUsage:", "posted for plug-ins; no controller shows the year's sums"},
    // The shipped settings build no MMS tab.
    {"MMSController", "notifyDeviceUnlockSuccess:", "no MMS tab in the shipped settings"},
    {"MMSController", "notifyDeviceUnlockFailed:", "no MMS tab in the shipped settings"},
};

bool tolerated(const QString &controller, const QByteArray &method) {
  for (const Tolerated &t : kTolerated)
    if (controller == QLatin1String(t.controller) && method == t.method)
      return true;
  return false;
}

bool toleratedEntry(const QString &ledgerEntry) {
  // "Class::method (wanted by)"
  const QString head = ledgerEntry.section(QLatin1Char(' '), 0, 0);
  return tolerated(head.section(QStringLiteral("::"), 0, 0), head.section(QStringLiteral("::"), 1).toLatin1());
}

// Every (path, action) of the configuration, the path starting with the module and key.
void collectActions(const QVariant &value, const QStringList &path, QList<QPair<QStringList, QByteArray>> *out) {
  if (value.typeId() == QMetaType::QVariantMap) {
    const QVariantMap map = value.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
      if (it.key() == QLatin1String("itemAction") || it.key() == QLatin1String("menuItemAction"))
        out->append({path, it.value().toString().toLatin1()});
      else
        collectActions(it.value(), path + QStringList{it.key()}, out);
    }
  } else if (value.typeId() == QMetaType::QVariantList) {
    for (const QVariant &v : value.toList())
      collectActions(v, path, out);
  }
}

const char *ownerOf(const QStringList &path) {
  for (const ActionSource &s : kActionSources) {
    const bool topLevel = *s.module == 0;
    if (topLevel ? (!path.isEmpty() && path[0] == QLatin1String(s.key))
                 : (path.size() >= 2 && path[0] == QLatin1String(s.module) && path[1] == QLatin1String(s.key)))
      return s.controller;
  }
  return nullptr;
}

class DispatchTargetsTest : public MainWindowFixture {
protected:
  std::unique_ptr<QELUIManager> skin;
  std::map<QString, QObject *> byClass;

  void TearDown() override {
    delete parts.mainController; // it watches the window
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    skin.reset();
  }

  // The whole program as the application builds it: skin, backend link, every controller, the
  // launch, and a modem that comes up with its SIM ready.
  void buildProgram() {
    link = std::make_unique<PackageLink>(ui, be);
    ASSERT_TRUE(link->open());
    center = std::make_unique<QELMsgCenter>(link.get());
    center->awakeFromNib();
    skin = std::make_unique<QELUIManager>(config.get());
    DispatchTargets::forget();
    parts = MainWindowBuilder::build(center.get(), skin.get(), &owner);
    testsupport::useFreeOperatorAddress();
    backend = std::make_unique<testsupport::BackendProcess>(
        ui, be, testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"));
    ASSERT_TRUE(backend->start());
    parts.mainController->applicationWillFinishLaunching();
    ASSERT_TRUE(testsupport::waitUntil([&] { return parts.mainController->getNetCardStatus() == 12; }, 10000));
    for (QObject *c : parts.controllers)
      byClass[QString::fromLatin1(c->metaObject()->className())] = c;
  }
};

TEST_F(DispatchTargetsTest, EveryNamedHandlerExists) {
  buildProgram();
  QStringList failures;

  // What the controllers registered while the program was built and ran: their notification
  // tables, their backend message tables, the configured buttons and the plug-in calls.
  for (const QString &entry : DispatchTargets::missing())
    if (!toleratedEntry(entry))
      failures << QStringLiteral("registered: ") + entry;

  // The tables, also where a controller registers them only under a setting or with a page.
  for (const ControllerTables &c : kNotificationTables) {
    const QLatin1String name(c.controller->className());
    for (const NotificationPair *table : c.tables)
      for (const NotificationPair *p = table; p->selector; ++p)
        if (!classHas(c.controller, p->selector) && !tolerated(name, p->selector))
          failures << QStringLiteral("table: %1::%2 (notification %3)")
                          .arg(name, QLatin1String(p->selector), QLatin1String(p->notification));
  }

  // Every item action of the shipped settings, on the controller that answers it.
  QVariantMap settings;
  ASSERT_TRUE(Plist::readDictionary(
      testsupport::buildBundlePath() + QStringLiteral("/Resources/ModemList/settings.plist"), &settings));
  QList<QPair<QStringList, QByteArray>> actions;
  collectActions(settings, {}, &actions);
  ASSERT_FALSE(actions.isEmpty());
  for (const auto &[path, action] : std::as_const(actions)) {
    const char *owner = ownerOf(path);
    if (!owner) {
      failures << QStringLiteral("configuration: %1 names %2, answered by no controller listed in kActionSources")
                      .arg(path.join(QLatin1Char('/')), QString::fromLatin1(action));
      continue;
    }
    QObject *controller = byClass[QLatin1String(owner)];
    if (!DispatchTargets::answersItemAction(controller, action) && !tolerated(QLatin1String(owner), action))
      failures << QStringLiteral("configuration: %1::%2 (%3)")
                      .arg(QLatin1String(owner), QString::fromLatin1(action), path.join(QLatin1Char('/')));
  }

  failures.removeDuplicates();
  EXPECT_TRUE(failures.isEmpty()) << "missing handlers:\n" << failures.join(QLatin1Char('\n')).toStdString();
}

} // namespace
