#include "STKController.h"

#include "CallNeighbours.h"
#include "ConfigService.h"
#include "Neighbourhood.h"
#include "PlugInBesidePage.h"
#include "PlugInCalls.h"
#include "QELAlertPanel.h"
#include "SettingsNeighbour.h"
#include "TextFormats.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QDebug>

STKController *g_STKController = nullptr;

namespace {

STKController::RequestObserver &requestObserver() {
  static STKController::RequestObserver observer;
  return observer;
}

QString &bundleName() {
  static QString name = QStringLiteral("STKBundle.bundle");
  return name;
}

// The package of a notification when it is one the toolkit acts on (type 0).
bool packageOf(const Notification &n, QByteArray *data) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 0)
    return false;
  *data = msg.payload();
  return true;
}

// The longest answer the input record carries, in UTF-16 units.
constexpr int kAnswerUnits = StkRecords::kTitleUnits;

} // namespace

STKController::STKController(QObject *parent) : QELUIController(parent) {
  setObjectName(QStringLiteral("STKController"));
  g_STKController = this;
}

STKController::~STKController() {
  if (g_STKController == this)
    g_STKController = nullptr;
}

void STKController::setBundleName(const QString &name) {
  bundleName() = name.isEmpty() ? QStringLiteral("STKBundle.bundle") : name;
}

void STKController::setRequestObserver(RequestObserver observer) {
  requestObserver() = std::move(observer);
}

// ---- hooks ----

void STKController::initializeNibResources() {
  loadBundle();
  if (STKPlugInInterface *p = bundleDelegate()) {
    p->setIsNewUI(true);
    p->Init_STK_nib();
    p->setMainWindow(wndMain);
  }
}

void STKController::loadBundle() {
  if (!tabviewMain)
    return;
  if (!hostView) {
    const int index = NSTabViewExt::tabViewItemOfIdentifier(tabviewMain, QStringLiteral("STK"));
    hostView = index >= 0 ? qobject_cast<ServiceHostPage *>(tabviewMain->widget(index)) : nullptr;
  }
  if (!hostView || !loadPlugInBesidePage(*this, bundleName(), QStringLiteral("STK"), hostView.data()))
    return;
  QObject *instance = bundleInstance();
  auto *delegate = qobject_cast<STKPlugInInterface *>(instance);
  if (!delegate) {
    // A plug-in of another kind: its view goes and the tab stays empty.
    hostView->setBundleView(nullptr);
    NSRunAlertPanelExt(QStringLiteral("Warning!"), QStringLiteral("Invalid STK plugin!"), QStringLiteral("OK"));
    return;
  }
  m_bundleDelegate = delegate;
  bundleObject_ = instance;
  delegate->setHostController(this);
}

void STKController::registerMessages() {
  if (qelMsgCenter) {
    using namespace StkRecords;
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfMAINMENU:"), kMajor, kMainMenu);
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfSUBMENU:"), kMajor, kSubMenu);
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfALERTREQ:"), kMajor, kAlert);
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfALERTREQ:"), kMajor, kAlertNoButton);
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfINPUTREQ:"), kMajor, kInput);
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfINFORMATION:"), kMajor, kInformation);
  }
  registerNotification(deviceFunctionNotficationTable);
  registerNotification(STKObServerTable);
}

void STKController::updateLanguages(const Notification &) {
  if (STKPlugInInterface *p = bundleDelegate())
    p->Init_STK_nib();
}

// ---- requests ----

void STKController::send(int minor, const QByteArray &data) {
  if (requestObserver())
    requestObserver()(minor, data);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(StkRecords::kModule, StkRecords::kMajor, minor, 0, 0, data);
}

void STKController::SelectClicked(int index) {
  STKPlugInInterface *p = bundleDelegate();
  const bool main = (p ? p->getCurrentLocation() : location_) == 0;
  send(main ? StkRecords::kSelectMain : StkRecords::kSelectSub, StkRecords::encodeIndex(quint32(index)));
}

void STKController::backClicked() {
  send(StkRecords::kBack);
}

void STKController::ExitClicked() {
  send(StkRecords::kExit);
}

void STKController::AlertOKClicked() {
  send(StkRecords::kAlertOK);
  if (ConfigService::readBool(QStringLiteral("STK"), QStringLiteral("ClickedOKButtonGotoSTKView")))
    notifyChangeTabViewItem(QStringLiteral("STK"));
}

void STKController::AlertCancelClicked() {
  send(StkRecords::kAlertCancel);
}

void STKController::InputCancelClicked() {
  send(StkRecords::kInputCancel);
}

void STKController::InputOKClicked() {
  STKPlugInInterface *p = bundleDelegate();
  if (!p)
    return;
  const int minimum = p->getMinLen();
  const int maximum = p->getMaxLen();
  const QString text = p->inputTextStringValue();
  // The answer must lie within both bounds the SIM gave, and fit the record's text area.
  const int upper = maximum >= minimum && maximum > 0 ? std::min(maximum, kAnswerUnits) : kAnswerUnits;
  if (text.size() < minimum || text.size() > upper) {
    NSRunAlertPanelExt(
        Map_Name_Item_of_IndexString(QStringLiteral("Warning!")),
        fillWordedFormat(Map_Name_Item_of_IndexString(QStringLiteral("Input length must be between %d and %d!")),
                         {minimum, upper}),
        Map_Name_Item_of_IndexString(QStringLiteral("OK")));
    return;
  }
  send(StkRecords::kInputAnswer, StkRecords::encodeText(text));
  p->closeInputWindow();
}

QString STKController::getLanguageString(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

int STKController::GetGlobalSupportLanguage() {
  if (STKPlugInInterface *p = bundleDelegate())
    p->Init_STK_nib();
  return 1;
}

// ---- backend packages ----

void STKController::dealWithMsgOfMAINMENU(const Notification &n) {
  QByteArray data;
  if (packageOf(n, &data))
    showMainMenu(data);
}

void STKController::dealWithMsgOfSUBMENU(const Notification &n) {
  QByteArray data;
  if (packageOf(n, &data))
    showSubMenu(data);
}

void STKController::dealWithMsgOfALERTREQ(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 0)
    return;
  showAlert(msg.payload(), msg.minorId == StkRecords::kAlertNoButton);
}

void STKController::dealWithMsgOfINPUTREQ(const Notification &n) {
  QByteArray data;
  if (packageOf(n, &data))
    showInput(data);
}

void STKController::dealWithMsgOfINFORMATION(const Notification &n) {
  QByteArray data;
  if (packageOf(n, &data))
    showInformation(data);
}

void STKController::fillMenu(const StkRecords::Menu &menu) {
  STKPlugInInterface *p = bundleDelegate();
  p->clearMenuContextList();
  for (const QString &item : menu.items)
    p->menuContextListAddObj({{QStringLiteral("menu"), item}});
}

void STKController::closeWindows() {
  STKPlugInInterface *p = bundleDelegate();
  p->closeAlertWindow();
  p->closeInputWindow();
}

void STKController::showMainMenu(const QByteArray &data) {
  mMainMenu = StkRecords::decodeMenu(data);
  location_ = 0;
  if (ConfigService::readBool(QStringLiteral("STK"), QStringLiteral("UpdateSTKToolTipWithMainTitle")))
    notificationCenter->postNotificationName(QString::fromLatin1(kUpdateStkToolTip), this,
                                             {{QString::fromLatin1(kStkMainTitle), mMainMenu.title}});
  // The roaming-IMSI choice needs the SIM's menu, which is now known.
  if (auto *settings = Neighbourhood::settings())
    settings->setRoamingIMSISelectEnabled(true);
  STKPlugInInterface *p = bundleDelegate();
  if (!p)
    return;
  p->setCurrentLocation(0);
  p->menutitleSetStringValue(mMainMenu.title);
  fillMenu(mMainMenu);
  p->menuListReloadData();
  p->menuListDeselectAll();
  p->BackBtnSetEnabled(false);
  p->ExitBtnSetEnabled(false);
  p->SelectBtnSetEnabled(false);
  closeWindows();
}

void STKController::showSubMenu(const QByteArray &data) {
  mSubMenu = StkRecords::decodeMenu(data);
  location_ = 1;
  STKPlugInInterface *p = bundleDelegate();
  if (p) {
    p->setCurrentLocation(1);
    fillMenu(mSubMenu);
  }
  // The roaming-IMSI hand-off: the settings window chose the item this sub-menu offers.
  SettingsNeighbour *settings = Neighbourhood::settings();
  if (settings && settings->roamingImsiSet() && ConfigService::sharedConfigService()->isRoamingImsiSet()) {
    const int type = settings->roamingImsiType();
    if (type == 0 || type == 1)
      SelectClicked(type);
    settings->setRoamingImsiSet(false);
  }
  if (!p)
    return;
  p->menuListReloadData();
  p->menuListDeselectAll();
  p->BackBtnSetEnabled(true);
  p->ExitBtnSetEnabled(true);
  p->SelectBtnSetEnabled(false);
  closeWindows();
}

void STKController::showAlert(const QByteArray &data, bool hideButton) {
  STKPlugInInterface *p = bundleDelegate();
  if (!p)
    return;
  p->alertTextSetStringValue(QString());
  p->alertTextSetStringValue(StkRecords::decodeText(data));
  p->hidePopAlertWindowBtn(hideButton);
  p->popAlertWindow();
}

void STKController::showInput(const QByteArray &data) {
  STKPlugInInterface *p = bundleDelegate();
  if (!p)
    return;
  const StkRecords::Input input = StkRecords::decodeInput(data);
  p->inputTitleSetStringValue(input.prompt);
  p->minLengthSetStringValue(
      fillWordedFormat(Map_Name_Item_of_IndexString(QStringLiteral("Min Length:%d")), {input.minimum}));
  p->setMinLen(input.minimum);
  p->maxLengthSetStringValue(
      fillWordedFormat(Map_Name_Item_of_IndexString(QStringLiteral("Max Length:%d")), {input.maximum}));
  p->setMaxLen(input.maximum);
  p->inputTextSetStringValue(QString());
  p->popInputWindow();
}

void STKController::showInformation(const QByteArray &data) {
  STKPlugInInterface *p = bundleDelegate();
  if (!p)
    return;
  p->setSMSRStatus(1);
  p->informationTextSetStringValue(QString());
  p->informationTextSetStringValue(StkRecords::decodeText(data));
  p->popInformationWindow();
}

// ---- device and tabs ----

void STKController::devicePlugin(const Notification &) {
  netcardChanged(2);
}

void STKController::simReady(const Notification &) {
  netcardChanged(12);
}

void STKController::deviceRemoved(const Notification &) {
  STKPlugInInterface *p = bundleDelegate();
  if (!p)
    return;
  p->clearMenuContextList();
  p->menuListReloadData();
  p->menuListDeselectAll();
  p->menutitleSetStringValue(QStringLiteral(" "));
  p->SelectBtnSetEnabled(false);
  p->BackBtnSetEnabled(false);
  p->ExitBtnSetEnabled(false);
  // What the card asked or told belongs to a card that has gone.
  closeWindows();
  p->infoWindowShutDown();
}

void STKController::tabViewItemWillChange(const Notification &n) {
  if (n.userInfo.value(QString::fromLatin1(kTabViewItemWillChange)).toString() != QStringLiteral("STK"))
    return;
  CallNeighbours &neighbours = CallNeighbours::shared();
  if (settingDict().value(QStringLiteral("DeviceLockSTKFunction")).toBool() && neighbours.getDeviceUnlockCodeState()) {
    neighbours.openUnlockDeviceWindow(wndMain);
    neighbours.setDeviceLockFunctionModule(5);
  }
}

void STKController::notifyDeviceUnlockSuccess(const Notification &) {
  if (CallNeighbours::shared().getDeviceLockFunctionModule() == 5)
    notifyChangeTabViewItem(QStringLiteral("STK"));
}

void STKController::notifyDeviceUnlockFailed(const Notification &) {
  if (CallNeighbours::shared().getDeviceLockFunctionModule() == 5)
    notifyChangeTabViewItem(QStringLiteral("Internet"));
}
