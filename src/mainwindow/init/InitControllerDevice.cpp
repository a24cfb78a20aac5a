// Device mode and identity replies: the device family, the network search and preference
// modes, versions, model, own number and serial number.
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "InitController.h"
#include "InitStatusView.h"
#include "Neighbourhood.h"
#include "Platform.h"
#include "SettingsNeighbour.h"
#include "WordGlobe.h"

#include <QMetaMethod>
#include <QtEndian>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool wordAt(const UIMsg &msg, int index, quint32 *out) {
  const int offset = index * 4;
  if (offset + 4 > msg.dataLength)
    return false;
  *out = qFromLittleEndian<quint32>(msg.data.data() + offset);
  return true;
}

// A NUL-terminated text in a field of `width` bytes at the start of the data; never reads past
// the field or the data the package carries.
QString textField(const UIMsg &msg, int width) {
  const int available = std::clamp(int(msg.dataLength), 0, width);
  const char *begin = reinterpret_cast<const char *>(msg.data.data());
  const char *end = std::find(begin, begin + available, '\0');
  return QString::fromLatin1(begin, int(end - begin));
}

// Fills the first "%s" of a worded pattern; the value is never read as a format itself.
QString fillPattern(const QString &pattern, const QString &value) {
  const int at = pattern.indexOf(QLatin1String("%s"));
  return at < 0 ? pattern : pattern.left(at) + value + pattern.mid(at + 2);
}

} // namespace

// ---- neighbours ----

int InitController::getCurrentNetWorkPreferedMode() const {
  auto *settings = Neighbourhood::settings();
  return settings ? settings->getCurrentNetWorkPreferedMode() : 0;
}

void InitController::settingSetWCDMASelectNetworkVisible(bool visible) {
  if (auto *settings = Neighbourhood::settings())
    settings->setWCDMASelectNetworkVisible(visible);
}

void InitController::settingSetCDMASelectNetworkVisible(bool visible) {
  if (auto *settings = Neighbourhood::settings())
    settings->setCDMASelectNetworkVisible(visible);
}

void InitController::settingDealWithSearchmode(quint32 searchMode, quint32 selectedMode, quint32 prefMode) {
  if (auto *settings = Neighbourhood::settings())
    settings->dealWithMsgOfCheckSearchmode(searchMode, selectedMode, prefMode);
}

void InitController::settingDealWithSearchmodeForIcera(quint32 searchMode, quint32 selectedMode) {
  if (auto *settings = Neighbourhood::settings())
    settings->dealWithMsgOfCheckSearchmodeForIcera(searchMode, selectedMode);
}

void InitController::settingDealWithPreferenceMode(quint32 prefMode) {
  if (auto *settings = Neighbourhood::settings())
    settings->dealWithMsgOfCheckPreferenceMode(prefMode);
}

void InitController::settingSetCheckForUpdateRizoraEnable(bool enable) {
  if (auto *settings = Neighbourhood::settings())
    settings->setCheckForUpdateRizoraEnable(enable);
}

void InitController::settingSetRuvozModel(const QString &model) {
  if (auto *settings = Neighbourhood::settings())
    settings->setRuvozModel(model);
}

void InitController::dialSetWCDMAConfigHidden(bool hidden) {
  if (auto *dial = Neighbourhood::connection())
    dial->setWCDMAConfigHidden(hidden);
}

// ---- handlers ----

void InitController::dealWithMsgOfGetDeviceMode(const Notification &n) {
  UIMsg msg;
  quint32 mode = 0;
  if (!readPackage(n, &msg) || !wordAt(msg, 0, &mode))
    return;
  m_deviceMode = qint32(mode);
  if (m_deviceMode >= 4 && m_deviceMode <= 6) {
    setEvdoViewsVisible(false);
    settingSetCDMASelectNetworkVisible(true);
    settingSetWCDMASelectNetworkVisible(false);
    dialSetWCDMAConfigHidden(false);
  } else {
    settingSetWCDMASelectNetworkVisible(true);
    settingSetCDMASelectNetworkVisible(false);
    if (ConfigService::readBool(QStringLiteral("Internet"), QStringLiteral("HideWCDMAPara")))
      dialSetWCDMAConfigHidden(true);
  }
}

void InitController::dealWithMsgOfCheckSearchMode(const Notification &n) {
  UIMsg msg;
  quint32 search = 0, selected = 0, pref = 0;
  if (!readPackage(n, &msg) || msg.result != 0 || !wordAt(msg, 0, &search) || !wordAt(msg, 1, &selected))
    return;
  if (Platform::sharedPlatform()->platform() == Platform::kPlatformIcera) {
    settingDealWithSearchmodeForIcera(search, selected);
    return;
  }
  if (wordAt(msg, 2, &pref))
    settingDealWithSearchmode(search, selected, pref);
}

void InitController::dealWithMsgOfCheckPreferenceMode(const Notification &n) {
  UIMsg msg;
  quint32 pref = 0;
  if (readPackage(n, &msg) && msg.result == 0 && wordAt(msg, 0, &pref))
    settingDealWithPreferenceMode(pref);
}

void InitController::dealWithMsgOfCheckHWVERSION(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg) && msg.result == 0)
    m_HWVersion = textField(msg, 128);
}

void InitController::dealWithMsgOfCheckSerialNumber(const Notification &n) {
  UIMsg msg;
  if (readPackage(n, &msg) && msg.result == 0)
    m_SerialNumber = textField(msg, 36);
}

void InitController::dealWithMsgOfCheckFWINTERNALVERSION(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0)
    return;
  m_InternalFWVersion = textField(msg, 68);
  if (isSupportUpdate())
    updaterDealWithInternalFirmwareVersion(m_InternalFWVersion);
  settingSetCheckForUpdateRizoraEnable(true);
}

void InitController::dealWithMsgOfCheckModemModel(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0)
    return;
  m_Devicemodel = fillPattern(word(QStringLiteral("%s")), textField(msg, 32));
  if (isSupportUpdate())
    updaterDealWithDeviceType(m_Devicemodel);
  settingSetRuvozModel(m_Devicemodel);
}

void InitController::dealWithMsgOfCheckPhoneNumber(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg))
    return;
  const QString number = textField(msg, 44);
  if (msg.result != 0) {
    setRuntimeObject(QStringLiteral(""), kRTPhoneNumber);
  } else {
    setRuntimeObject(number, kRTPhoneNumber);
    setRuvozUITopFrontSizeFlag(true);
    if (ConfigService::readBool(QStringLiteral("UIConfig"), QStringLiteral("RuvozUI")))
      notificationCenter->postNotificationName(QStringLiteral("DisplayPhoneNumberForRuvoz"), nullptr);
  }
  if (tfdOwnNumContent_)
    tfdOwnNumContent_->setText(number);
  if (tfdOwnNumUI_ && !number.isEmpty())
    tfdOwnNumUI_->setText(fillPattern(word(QStringLiteral("Main_btnNumberForBrazil:%s")), number));
}
