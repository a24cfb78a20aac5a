#include "MMSController.h"

#include "Bundle.h"
#include "MMSPlugInInterface.h"
#include "NotificationTables.h"
#include "PlugInInterface.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QLayout>
#include <QPluginLoader>
#include <QVBoxLayout>

namespace {
constexpr int kMmsMajor = 8192, kPushMinor = 194;
constexpr int kMmsDevicePlugged = 2, kMmsSimReady = 12, kMmsDeviceRemoved = 1;
MMSController *g_shared = nullptr;
} // namespace

MMSController::MMSController(QObject *parent) : QELUIController(parent) {
  setObjectName(QStringLiteral("MMSController"));
  g_shared = this;
}

MMSController::~MMSController() {
  unloadMMSLib();
  if (g_shared == this)
    g_shared = nullptr;
}

MMSController *MMSController::sharedManager() {
  if (!g_shared)
    new MMSController;
  return g_shared;
}

void MMSController::initializeNibResources() {
  loadBundle();
}

void MMSController::registerMessages() {
  if (qelMsgCenter)
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMMSOfNewPush:"), kMmsMajor, kPushMinor);
  registerNotification(deviceFunctionNotficationTable);
}

void MMSController::loadBundle() {
  const QString path = PlugInLoader::pathForBundle(Bundle::mainBundle().plugInsPath(), bundleName);
  if (path.isEmpty())
    return;
  auto loader = std::make_unique<QPluginLoader>(path);
  QObject *instance = loader->instance();
  if (!instance)
    return;
  auto *delegate = qobject_cast<MMSPlugInInterface *>(instance);
  if (!delegate) {
    NSRunAlertPanelExt(QStringLiteral("Warning!"), QStringLiteral("Invalid MMS plugin!"), QStringLiteral("OK"));
    return;
  }
  loader_ = std::move(loader);
  bundleDelegate_ = delegate;
  delegate->setHostController(this);
  attachBundleView();
  delegate->LoadMMSLib();
  delegate->updateMMSNib();
}

void MMSController::attachBundleView() {
  if (!bundleDelegate_ || !hostView_)
    return;
  QWidget *view = bundleDelegate_->bundleView();
  if (!view)
    return;
  if (!hostView_->layout()) {
    auto *layout = new QVBoxLayout(hostView_);
    layout->setContentsMargins(0, 0, 0, 0);
  }
  hostView_->layout()->addWidget(view);
}

void MMSController::dealWithMMSOfNewPush(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 0 || !bundleDelegate_)
    return;
  bundleDelegate_->ProcMMSPush_Manual(reinterpret_cast<const char *>(msg.data.data()), msg.dataLength);
}

void MMSController::connectIdleStatuFromDial() {
  if (bundleDelegate_)
    bundleDelegate_->connectIdleStatuFromDial();
}

void MMSController::connectRunningStatuFromDial() {
  if (bundleDelegate_)
    bundleDelegate_->connectRunningStatuFromDial();
}

void MMSController::windowDidMove() {
  if (bundleDelegate_)
    bundleDelegate_->updatePreviewWindowPosition();
}

void MMSController::setTheSearchFieldText(const QStringList &numbers) {
  if (bundleDelegate_)
    bundleDelegate_->setTheSearchFieldText(numbers);
}

void MMSController::netcardChanged(int status) {
  if (bundleDelegate_)
    bundleDelegate_->MMS_OnReceiveNetCardStatusChange(status);
}

void MMSController::unloadMMSLib() {
  if (bundleDelegate_)
    bundleDelegate_->unloadMMSLib();
  bundleDelegate_ = nullptr;
}

void MMSController::informBundleLanguageChanged() {
  if (bundleDelegate_)
    bundleDelegate_->changeLanguage();
}

void MMSController::devicePlugin(const Notification &) {
  netcardChanged(kMmsDevicePlugged);
}
void MMSController::simReady(const Notification &) {
  netcardChanged(kMmsSimReady);
}
void MMSController::deviceRemoved(const Notification &) {
  netcardChanged(kMmsDeviceRemoved);
}

void MMSController::updateLanguages(const Notification &) {
  if (hasModuleWith(QStringLiteral("MMS")))
    informBundleLanguageChanged();
}

QString MMSController::Map_Name_Item_of_IndexStr(const QString &key) const {
  return Map_Name_Item_of_IndexString(key);
}

void MMSController::configFormSoundPlay(int type) {
  playSound(type);
}

void MMSController::mainFormchangeToOtherModule(const QString &identifier) {
  notifyChangeTabViewItem(identifier);
}

bool MMSController::mainFormhasModuleWith(const QString &module) const {
  return hasModuleWith(module);
}

QString MMSController::msgBoxsearchMultiPhoneNumber(const QString &numbers) const {
  return searchMultiPhoneNumber ? searchMultiPhoneNumber(numbers) : numbers;
}

void MMSController::msgBoxreplyMessageFromMMS(const QString &number) {
  if (replyMessageFromMMS)
    replyMessageFromMMS(number);
}

bool MMSController::getFlagIsConnect() const {
  return dial.isConnected && dial.isConnected();
}

QString MMSController::getAPNString() const {
  return dial.apn ? dial.apn() : QString();
}

void MMSController::connect(QObject *) {
  if (dial.dialOption && !getFlagIsConnect())
    dial.dialOption(this);
}

void MMSController::disConnect(QObject *) {
  if (dial.dialOption && getFlagIsConnect())
    dial.dialOption(this);
}

void MMSController::addMMSConfig() {
  if (dial.addMMSConfig)
    dial.addMMSConfig();
}

void MMSController::removeMMSConfig() {
  if (dial.removeMMSConfig)
    dial.removeMMSConfig();
}

void MMSController::setDialConfig(int index) {
  if (dial.setDialConfig)
    dial.setDialConfig(index);
}

void MMSController::showContactSelectWindow(QObject *) {
  if (showContactPicker)
    showContactPicker(this);
}
