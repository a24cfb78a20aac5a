// The dial parameters of DialController: the current profile made safe and packed into the
// 920-byte record the backend needs before it dials, and the IPv6 keys of double-PDP mode.
#include "ConfigService.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "DialParamsLayout.h"
#include "DialParamsRecord.h"

#include <QCheckBox>
#include <QDebug>
#include <QLineEdit>
#include <QTabWidget>

#include "ButtonMatrix.h"

using namespace dialsupport;

namespace {
const QStringList kStringKeys = {QStringLiteral("provider"), QStringLiteral("apnName"),   QStringLiteral("accountName"),
                                 QStringLiteral("password"), QStringLiteral("telNumber"), QStringLiteral("pdpAddress"),
                                 QStringLiteral("preDns"),   QStringLiteral("altDns")};
const QStringList kNumberKeys = {QStringLiteral("pdpFlag"),        QStringLiteral("pdpType"),
                                 QStringLiteral("pppFlag"),        QStringLiteral("apnFlag"),
                                 QStringLiteral("dnsFlag"),        QStringLiteral("saveUsernameFlag"),
                                 QStringLiteral("askUsernameFlag")};
} // namespace

QVariant DialController::getSafeDialStrParas(const QVariantMap &profile, const QString &key) {
  if (key.isEmpty())
    return {};
  const QVariant v = profile.value(key);
  return v.typeId() == QMetaType::QString ? v : QVariant(QString(""));
}

QVariant DialController::getSafeDialNumParas(const QVariantMap &profile, const QString &key) {
  if (key.isEmpty())
    return {};
  const QVariant v = profile.value(key);
  return v.isValid() ? QVariant(SettingValue::toInt(v)) : QVariant(0);
}

QVariantMap DialController::createSafeDialConfig(const QVariantMap &profile) const {
  QStringList numbers = kNumberKeys;
  QStringList strings = kStringKeys;
  addIPv6ParaNumArray(numbers, strings);
  QVariantMap safe = profile;
  for (const QString &key : std::as_const(strings))
    safe.insert(key, getSafeDialStrParas(profile, key));
  for (const QString &key : std::as_const(numbers))
    safe.insert(key, getSafeDialNumParas(profile, key));
  return safe;
}

void DialController::addIPv6ParaNumArray(QStringList &numKeys, QStringList &strKeys) const {
  if (!isSupportDoblePdpSettings())
    return;
  numKeys << QStringLiteral("IPv6AuthMode") << QStringLiteral("SinglePdp");
  strKeys << QStringLiteral("IPv6ApnName") << QStringLiteral("IPv6Username") << QStringLiteral("IPv6Password");
}

void DialController::setDefaultDialParamsForIPv6(QVariantMap &profile) const {
  if (!isSupportDoblePdpSettings())
    return;
  profile.insert(QStringLiteral("IPv6ApnName"), QString(""));
  profile.insert(QStringLiteral("IPv6PrefDNS"), QString(""));
  profile.insert(QStringLiteral("IPv6AltDNS"), QString(""));
  profile.insert(QStringLiteral("IPv6DNSMode"), 0);
}

int DialController::readConnectType() {
  return SettingValue::toInt(ConfigService::readValue(QString(), QStringLiteral("ConnectType")));
}

int DialController::setParaDisableAlertWindow() const {
  const QVariantMap &settings = const_cast<DialController *>(this)->settingDict();
  if (switchOn(settings, kInternet, QStringLiteral("DisableAlertWindowWhileAutoConnectFailed")) && reconnectTimes > 0)
    return 1;
  return apnCycleLastTry() ? 0 : 1;
}

void DialController::setDialParams() {
  const int index = m_IndexOfComboBoxSelectionNow - 1;
  if (index < 0 || index >= dialConfigArray.size()) {
    // The heading row or an empty list: there is no profile to send.
    qWarning() << "setDialParams: no profile at item" << m_IndexOfComboBoxSelectionNow << "of" << dialConfigArray.size()
               << "profiles; nothing sent";
    return;
  }
  DialParamsRecord::Settings s;
  s.connectType = readConnectType();
  s.disableAlert = setParaDisableAlertWindow();
  s.mtu = SettingValue::toInt(moduleValue(settingDict(), kInternet, QStringLiteral("MTUSize")));
  s.doublePdp = isSupportDoblePdpSettings();
  lastDialParams_ = DialParamsRecord::encode(createSafeDialConfig(profileAt(index)), s);
  ++dialParamsSent_;
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(DialParamsLayout::kModule, DialParamsLayout::kMajor, DialParamsLayout::kMinor, 0,
                                      0, lastDialParams_);
}

void DialController::connectTypeDidChanged(const Notification &) {
  setDialParams();
}

void DialController::saveDialConfigForIPv6() {
  const int row = selectedTableRow();
  if (!isSupportDoblePdpSettings() || row < 0 || row >= dialConfigArray.size())
    return;
  QVariantMap profile = dialConfigArray.at(row).toMap();
  if (tfApnIPv6_)
    profile.insert(QStringLiteral("IPv6ApnName"), tfApnIPv6_->text());
  if (tfPreferDNSIPv6_)
    profile.insert(QStringLiteral("IPv6PrefDNS"), tfPreferDNSIPv6_->text());
  if (tfAltDNSIPv6_)
    profile.insert(QStringLiteral("IPv6AltDNS"), tfAltDNSIPv6_->text());
  if (radioObtainDNSIPv6_) {
    const int columns = std::max(1, radioObtainDNSIPv6_->numberOfColumns());
    profile.insert(QStringLiteral("IPv6DNSMode"), std::max(0, radioObtainDNSIPv6_->selectedIndex()) / columns);
  }
  dialConfigArray[row] = profile;
}

void DialController::displyEditDialParamsForIPv6(const QVariantMap &profile) {
  if (!isSupportDoblePdpSettings())
    return;
  setdialControls(checkSavePasswordForIPv6_, profile, QStringLiteral("IPv6SaveAccount"));
  setdialControls(tfUsernameForIPv6_, profile, QStringLiteral("IPv6Username"));
  setdialControls(tfPasswordForIPv6_, profile, QStringLiteral("IPv6Password"));
  setdialControls(radioObtainApnIPv6_, profile, QStringLiteral("IPv6ApnMode"));
  setdialControls(tfApnIPv6_, profile, QStringLiteral("IPv6ApnName"));
  setdialControls(radioObtainDNSIPv6_, profile, QStringLiteral("IPv6DNSMode"));
  setdialControls(tfPreferDNSIPv6_, profile, QStringLiteral("IPv6PrefDNS"));
  setdialControls(tfAltDNSIPv6_, profile, QStringLiteral("IPv6AltDNS"));
  setdialControls(radioObtainPdpIPv6_, profile, QStringLiteral("IPv6PDPMode"));
  setdialControls(tfPdpAddrIPv6_, profile, QStringLiteral("IPv6PDPAddr"));
  setdialControls(radioAuthModeIPv6_, profile, QStringLiteral("IPv6AuthMode"));
  setdialControls(checkSinglePdp_, profile, QStringLiteral("SinglePdp"));
  setApnEditWinCtrlStatusForIPv6();
  if (tabviewApnSettings_)
    tabviewApnSettings_->setCurrentIndex(0);
}
