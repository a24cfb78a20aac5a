#include "QELUIController.h"

#include "WebViewUtilities.h"

#include "Bundle.h"
#include "CocoaExt.h"
#include "ConfigManager.h"
#include "FrameworkLinks.h"
#include "NSButtonExt.h"
#include "NSToolbarItemExt.h"
#include "PlugInInterface.h"
#include "QELMsgCenter.h"
#include "Sound.h"
#include "TextFormats.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QLocale>
#include <QPluginLoader>
#include <QTabWidget>
#include <QThread>
#include <QWidget>
#include <array>

namespace {

const std::array<QString, 5> kSoundFileKeys = {
    QStringLiteral("onlineSoundFileName"), QStringLiteral("offlineSoundFileName"), QStringLiteral("smsSoundFileName"),
    QStringLiteral("callSoundFileName"), QStringLiteral("quitUISoundFileName")};
const std::array<QString, 5> kSoundMuteKeys = {QStringLiteral("onlineSoundMute"), QStringLiteral("offlineSoundMute"),
                                               QStringLiteral("smsSoundMute"), QStringLiteral("callSoundMute"),
                                               QStringLiteral("quitUISoundMute")};

bool validSoundType(int type) {
  return type >= 0 && type < int(kSoundFileKeys.size());
}

// The one sound of the program and its type (-1 when none).
std::unique_ptr<Sound> &currentSound() {
  static std::unique_ptr<Sound> sound;
  return sound;
}
int g_soundType = -1;
int g_closeSoundWaitMs = 2000;

QELUIController::UrlOpener &urlOpener() {
  static QELUIController::UrlOpener opener;
  return opener;
}

QString toolbarItemIdentifier(const QObject *item) {
  if (!item)
    return {};
  if (auto *button = qobject_cast<const NSButtonExt *>(item))
    return button->itemIdentifier();
  if (auto *toolbarItem = qobject_cast<const NSToolbarItemExt *>(item))
    return toolbarItem->itemIdentifier();
  const QVariant v = item->property("itemIdentifier");
  return v.isValid() ? v.toString() : item->objectName();
}

} // namespace

QELUIController::QELUIController(QObject *parent) : QObject(parent) {
  notificationCenter = &NotificationCenter::defaultCenter();
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  settingDict_ = cm ? &cm->getConfiguration() : &ownSettings_;
  customDateFormat_ = FrameworkLinks::uiDateFormat();
  const QVariantMap font = FrameworkLinks::uiFont();
  if (!font.isEmpty()) {
    fontName_ = font.value(QStringLiteral("FontName")).toString();
    if (font.contains(QStringLiteral("FontSize")))
      fontSize_ = font.value(QStringLiteral("FontSize")).toFloat();
    QFont f(fontName_);
    if (fontSize_ > 0)
      f.setPointSizeF(fontSize_);
    font_ = f;
  }
  stopSoundTimer_.setSingleShot(true);
  connect(&stopSoundTimer_, &QTimer::timeout, this, [] { stopSound(); });
}

QELUIController::~QELUIController() {
  stopSound();
  notificationCenter->removeObserver(this);
}

void QELUIController::awakeFromNib() {
  initializeSkin();
  initializeNibResources();
  registerMessages();
  initializeController();
  loadCommonBundle();
  if (hasNotificationMethod(this, "updateLanguages:")) {
    if (qelLanguage)
      FrameworkLinks::registerLanguageObserver(qelLanguage, this, "updateLanguages:", true);
    else
      notificationCenter->addObserver(this, QByteArray("updateLanguages:"), QString::fromLatin1(kUpdateLanguage));
  }
  // The base table lists hooks a controller may have, not ones it must have.
  for (const NotificationPair *p = qelUINotificationTable; p->selector; ++p)
    if (hasNotificationMethod(this, p->selector))
      notificationCenter->addObserver(this, QByteArray(p->selector), QString::fromLatin1(p->notification));
}

// ---- posters

void QELUIController::notifyDeviceRemoved() {
  notificationCenter->postNotificationName(kDeviceRemoved, this);
}
void QELUIController::notifyDevicePlugin() {
  notificationCenter->postNotificationName(kDevicePlugin, this);
}
void QELUIController::notifySimReady() {
  notificationCenter->postNotificationName(kSimReady, this);
}
void QELUIController::notifyAppReady() {
  notificationCenter->postNotificationName(kAppReady, this);
}
void QELUIController::notifyAppWillClose() {
  notificationCenter->postNotificationName(kAppWillClose, this);
}

void QELUIController::notifyDataServiceSwitch(bool on) {
  notificationCenter->postNotificationName(kDataServiceSwitch, this, {{QString::fromLatin1(kDataServiceSwitch), on}});
}

void QELUIController::notifyChangeTabViewItem(const QString &identifier) {
  if (identifier.isNull())
    return;
  const QVariantMap info{{QString::fromLatin1(kTabViewItemWillChange), identifier}};
  FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("wndMainTabviewBack"), identifier, true);
  notificationCenter->postNotificationName(kTabViewItemWillChange, nullptr, info);
  const int index = NSTabViewExt::tabViewItemOfIdentifier(tabviewMain, identifier);
  if (index >= 0)
    tabviewMain->setCurrentIndex(index);
  notificationCenter->postNotificationName(kTabViewItemDidChange, nullptr, info);
}

void QELUIController::notifyChangeLanguage() {
  if (qelLanguage)
    FrameworkLinks::updateLanguage(qelLanguage);
  else
    notificationCenter->postNotificationName(kUpdateLanguage, this);
}

bool QELUIController::registerNotification(const NotificationPair *table) {
  if (!table)
    return false;
  for (const NotificationPair *p = table; p->selector; ++p) {
    if (p->notification)
      notificationCenter->addObserver(this, QByteArray(p->selector), QString::fromLatin1(p->notification));
  }
  return true;
}

// ---- settings

QVariantMap QELUIController::uiConfigDict() const {
  return settingDict_->value(QStringLiteral("UIConfig")).toMap();
}

QVariantMap QELUIController::runtimeDictionary() {
  auto it = settingDict_->find(kCMRuntimeDataKey);
  if (it == settingDict_->end() || it->typeId() != QMetaType::QVariantMap)
    it = settingDict_->insert(kCMRuntimeDataKey, QVariantMap());
  return it->toMap();
}

QVariant QELUIController::runtimeObjectForKey(const QString &key) {
  if (key.isEmpty())
    return {};
  return runtimeDictionary().value(key);
}

void QELUIController::setRuntimeObject(const QVariant &object, const QString &key) {
  if (!object.isValid() || object.isNull() || key.isEmpty())
    return;
  QVariantMap runtime = runtimeDictionary();
  runtime.insert(key, object);
  settingDict_->insert(kCMRuntimeDataKey, runtime);
}

void QELUIController::deleteRuntimeDictionary() {
  settingDict_->remove(kCMRuntimeDataKey);
  if (ConfigManager *cm = ConfigManager::sharedConfigManager())
    cm->writeToFile();
}

// ---- sounds

QString QELUIController::filenameKeyOfSound(int type) {
  return validSoundType(type) ? kSoundFileKeys[type] : QString();
}
QString QELUIController::muteKeyOfSound(int type) {
  return validSoundType(type) ? kSoundMuteKeys[type] : QString();
}
int QELUIController::currentSoundType() {
  return g_soundType;
}
bool QELUIController::isSoundPlaying() {
  return currentSound() && currentSound()->isPlaying();
}
void QELUIController::setCloseSoundWaitMs(int ms) {
  g_closeSoundWaitMs = qMax(0, ms);
}

bool QELUIController::isSoundMute(int type) const {
  return validSoundType(type) && settingDict_->value(kSoundMuteKeys[type]).toBool();
}

void QELUIController::setSoundType(int type, bool mute) {
  if (!validSoundType(type))
    return;
  const bool inverted =
      settingDict_->value(QStringLiteral("Setting")).toMap().value(QStringLiteral("AlertNotMuteSet")).toBool();
  settingDict_->insert(kSoundMuteKeys[type], inverted ? !mute : mute);
  if (ConfigManager *cm = ConfigManager::sharedConfigManager())
    cm->writeToFile();
}

void QELUIController::setSoundFileName(int type, const QString &path) {
  if (!validSoundType(type) || path.isNull())
    return;
  settingDict_->insert(kSoundFileKeys[type], path);
  if (ConfigManager *cm = ConfigManager::sharedConfigManager())
    cm->writeToFile();
}

QString QELUIController::soundFileName(int type) const {
  if (!validSoundType(type))
    return {};
  const QVariant v = settingDict_->value(kSoundFileKeys[type]);
  return v.isValid() ? v.toString() : QString();
}

void QELUIController::cancelPendingStop() {
  stopSoundTimer_.stop();
}

void QELUIController::playSound(int type) {
  if (g_soundType == kSoundIncomingCall && isSoundPlaying())
    return;
  cancelPendingStop();
  stopSound();
  if (!validSoundType(type))
    return;
  QString path = soundFileName(type);
  if (path.isEmpty())
    return;
  // A relative name is taken from the configuration folder.
  if (QFileInfo(path).isRelative()) {
    if (ConfigManager *cm = ConfigManager::sharedConfigManager())
      path = cm->getFilePathWithFileName(path);
  }
  g_soundType = type;
  // The audio output must go before the application object does.
  static const bool cleanupRegistered = [] {
    if (QCoreApplication::instance())
      qAddPostRoutine([] { stopSound(); });
    return true;
  }();
  Q_UNUSED(cleanupRegistered)
  currentSound() = Sound::fromFile(path);
  if (!currentSound()) {
    qDebug() << "QELUIController: cannot read sound" << path;
    return;
  }
  if (isSoundMute(type))
    return;
  currentSound()->play();
}

void QELUIController::playSound(int type, double seconds) {
  if (seconds < 0.0)
    return;
  playSound(type);
  if (g_soundType == kSoundIncomingCall && isSoundPlaying())
    return;
  stopSoundTimer_.start(int(qMin(seconds * 1000.0, double(std::numeric_limits<int>::max()))));
}

void QELUIController::playShortSound(int type) {
  double seconds = 3.0;
  const auto it = settingDict_->constFind(QStringLiteral("PlaySoundTime"));
  if (it != settingDict_->constEnd()) {
    const double configured = it->toDouble();
    seconds = configured > 0 ? configured : 0.0;
  }
  playSound(type, seconds);
}

void QELUIController::playCloseSound() {
  playSound(kSoundQuit);
  // The quit sound plays out before the program goes; nothing else runs meanwhile.
  if (g_closeSoundWaitMs > 0)
    QThread::msleep(g_closeSoundWaitMs);
  stopSound(kSoundQuit);
}

void QELUIController::stopSound() {
  if (currentSound()) {
    currentSound()->stop();
    currentSound().reset();
  }
  g_soundType = -1;
}

void QELUIController::stopSound(int type) {
  if (g_soundType == type)
    stopSound();
}

void QELUIController::experienceIncomingcallSond(int type) {
  if (type == kSoundIncomingCall && isSoundPlaying())
    stopSound();
  else
    playSound(type);
}

// ---- plug-ins

QVariantMap QELUIController::objectsDict() const {
  QVariantMap dict;
  auto add = [&dict](const char *key, QObject *object) {
    if (object)
      dict.insert(QString::fromLatin1(key), QVariant::fromValue(object));
  };
  add("wndMain", wndMain);
  add("tabviewMain", tabviewMain);
  add("wndMainPopup", wndMainPopup);
  add("qelMsgCenter", qelMsgCenter);
  add("qelSkinManager", FrameworkLinks::asObject(qelSkinManager));
  add("tabviewSetting", tabviewSetting);
  add("qelLanguage", FrameworkLinks::asObject(qelLanguage));
  return dict;
}

QObject *QELUIController::bundleInstance() const {
  return loadedBundle_ ? loadedBundle_->instance : nullptr;
}

bool QELUIController::loadPlugin(const QString &bundleName, const QString &tabIdentifier) {
  if (bundleName.isEmpty() || tabIdentifier.isEmpty() || !tabviewMain)
    return false;
  int index = NSTabViewExt::tabViewItemOfIdentifier(tabviewMain, tabIdentifier);
  if (index < 0)
    return false;
  QString error;
  std::optional<LoadedPlugIn> plugIn = PlugInLoader::load(Bundle::mainBundle().plugInsPath(), bundleName, &error);
  if (!plugIn) {
    qWarning() << "QELUIController: plug-in" << bundleName << "not loaded:" << error;
    return false;
  }
  // A plug-in that cannot work with our objects, or has nothing to show, leaves the tab alone.
  QWidget *view = plugIn->principal->initWithParam(objectsDict()) ? plugIn->principal->bundleView() : nullptr;
  if (!view) {
    qWarning() << "QELUIController: plug-in" << bundleName << "gave no view";
    plugIn->loader->unload();
    return false;
  }
  QWidget *old = tabviewMain->widget(index);
  const bool wasCurrent = tabviewMain->currentIndex() == index;
  const QString label = tabviewMain->tabText(index);
  const QIcon icon = tabviewMain->tabIcon(index);
  const QString toolTip = tabviewMain->tabToolTip(index);
  const bool visible = tabviewMain->isTabVisible(index);
  view->setProperty("itemIdentifier", tabIdentifier);
  tabviewMain->removeTab(index);
  index = tabviewMain->insertTab(index, view, icon, label);
  tabviewMain->setTabToolTip(index, toolTip);
  tabviewMain->setTabVisible(index, visible);
  if (wasCurrent)
    tabviewMain->setCurrentIndex(index);
  viewOfOldTavViewItem_ = old;
  loadedBundle_ = std::make_unique<LoadedPlugIn>(std::move(*plugIn));
  return true;
}

// ---- main window

void QELUIController::changeMainWindowOfApp(const Notification &notification) {
  QWidget *window = qobject_cast<QWidget *>(notification.userInfo.value(QStringLiteral("window")).value<QObject *>());
  if (window == wndMain)
    return;
  closeAllSheetsOfMainWnd();
  wndMain = window;
}

void QELUIController::closeAllSheetsOfMainWnd() {
  QList<QPointer<QWidget>> chain;
  QWidget *current = wndMain;
  while (current && chain.size() < 64) {
    QWidget *sheet = nullptr;
    for (QWidget *child : current->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
      if (child->isWindow() && child->isVisible() && child->windowModality() != Qt::NonModal) {
        sheet = child;
        break;
      }
    }
    if (!sheet)
      break;
    chain.append(sheet);
    current = sheet;
  }
  for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
    if (!*it)
      continue;
    (*it)->hide();
    if (auto *dialog = qobject_cast<QDialog *>(it->data()))
      dialog->done(QDialog::Rejected);
  }
}

// ---- web links

QString QELUIController::webURLForKey(const QString &key) const {
  return settingDict_->value(QStringLiteral("webURLDict")).toMap().value(key).toString();
}

void QELUIController::tbiMainURLActionExt(QObject *toolbarItem) {
  tbiMainURLActionExt(toolbarItemIdentifier(toolbarItem));
}

void QELUIController::tbiMainURLActionExt(const QString &itemIdentifier) {
  const QString format = webURLForKey(itemIdentifier);
  if (format.isEmpty())
    return;
  const QStringList values = {runtimeObjectForKey(kRTPhoneNumber).toString(), runtimeObjectForKey(kRTIMEI).toString()};
  openSafari(fillWebLinkTemplate(format, values));
}

void QELUIController::setUrlOpener(UrlOpener opener) {
  urlOpener() = std::move(opener);
}

bool QELUIController::openSafari(const QString &url) {
  if (url.isEmpty())
    return false;
  const QUrl u(url, QUrl::StrictMode);
  if (!u.isValid() || u.scheme().isEmpty())
    return false;
  // Addresses come from settings and operator files: only web and mail addresses and local
  // documents go to the desktop, never a program, a launcher or another handler's scheme.
  if (!WebViewUtilities::mayOpenOutside(u)) {
    qWarning().noquote() << "Not opened outside the program (scheme not allowed):" << u.scheme();
    return false;
  }
  if (urlOpener())
    return urlOpener()(u);
  return QDesktopServices::openUrl(u);
}

// ---- text

QString QELUIController::formatStringFromDate(const QDateTime &date) const {
  if (!date.isValid())
    return QString("");
  if (!customDateFormat_.isEmpty())
    return formatCalendarDate(date, customDateFormat_);
  return systemDateTimeString(date);
}

QString QELUIController::trimString(const QString &string, const std::function<bool(QChar)> &characterSet, int length) {
  QString out("");
  if (string.isEmpty() || !characterSet || length <= 0)
    return out;
  for (const QChar c : string) {
    if (out.size() >= length)
      break;
    if (characterSet(c))
      out.append(c);
  }
  return out;
}

QString QELUIController::getControlWordingValueByKey(const QString &key, int moduleID) const {
  if (moduleID == kModuleSMS &&
      settingDict_->value(QStringLiteral("SMS")).toMap().value(QStringLiteral("RenameCancelWording")).toBool()) {
    if (key == QLatin1String("Cancel"))
      return FrameworkLinks::wording(QStringLiteral("Cancel_SMS"));
    if (key == QLatin1String("cancel:"))
      return FrameworkLinks::wording(QStringLiteral("Cancel_SMS:"));
  }
  return FrameworkLinks::wording(key);
}
