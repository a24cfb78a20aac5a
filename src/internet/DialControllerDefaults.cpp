// The operator's default profiles of DialController, chosen from the SIM's IMSI or its MCC and
// MNC through the settings tables "IMSI2DialConfigIdx" and "AllDefaultDialCfg".
#include "ConfigService.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "DialServiceTransplant.h"
#include "QELAlertPanel.h"

#include <QComboBox>

using namespace dialsupport;

namespace {
bool transplantMode() {
  ConfigService *config = ConfigService::sharedConfigService();
  return config && config->isTransplantCodeToTestApnMatch();
}

DialServiceTransplant *transplant() {
  return DialServiceTransplant::sharedDialServiceTransplant();
}
} // namespace

void DialController::resetDefaultProfileWithMcc(const QString &mcc, const QString &mnc) {
  defaultProfileRequests_ << QStringLiteral("mcc:%1/%2").arg(mcc, mnc);
  if (transplantMode()) {
    if (transplant()->matchGlobalApn(mcc, mnc)) {
      loadDialConfig();
      reloadApnListView();
    }
    return;
  }
  if (mcc.isNull() || mnc.isNull())
    return;
  QVariantList profiles;
  const qint64 mccValue = SettingValue::toInt(mcc);
  const qint64 mncValue = SettingValue::toInt(mnc);
  if (mnc.size() < 3)
    profiles = transplant()->matchApnByString(QString::number(mccValue * 100 + mncValue));
  if (profiles.isEmpty())
    profiles = transplant()->matchApnByString(QString::number(mccValue * 1000 + mncValue));
  if (profiles.isEmpty())
    profiles = transplant()->matchApnByString(QStringLiteral("NULL"));
  if (!profiles.isEmpty())
    resetDialConfigListWithMatchedApn(profiles);
}

void DialController::resetDefaultProfileWithMCCMNC(const QString &mccmnc) {
  defaultProfileRequests_ << QStringLiteral("serving:%1").arg(mccmnc);
  if (transplantMode()) {
    if (transplant()->matchGlobalApn(mccmnc, QString())) {
      loadDialConfig();
      reloadApnListView();
    }
    return;
  }
  const QVariantList profiles = transplant()->matchApnByString(mccmnc);
  if (!profiles.isEmpty())
    resetDialCfgListWithCfgArray(profiles);
}

void DialController::resetDefaultProfileWithImsiAll(const QByteArray &imsi) {
  defaultProfileRequests_ << QStringLiteral("imsi:%1").arg(QString::fromLatin1(imsi));
  const int index = transplantMode() ? transplant()->imsiMatchApn(QString::fromLatin1(imsi))
                                     : transplant()->matchDefaultProfileWithImsi(imsi);
  if (index >= 0 && index < dialConfigArray.size()) {
    setDefaultProfile(index);
    return;
  }
  setDefaultProfile(0);
  NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("Not found a suitable APN")),
                     word(QStringLiteral("Ok")), QString());
}

void DialController::resetGlobalDefaultProfileWithImsi(const QByteArray &imsi) {
  defaultProfileRequests_ << QStringLiteral("global:%1").arg(QString::fromLatin1(imsi));
  const bool matched = transplantMode() ? transplant()->matchGlobalApn(QString::fromLatin1(imsi), QString())
                                        : transplant()->matchGlobalDefaultProfileWithImsi(imsi);
  if (matched) {
    loadDialConfig();
    reloadApnListView();
  }
}

void DialController::resetDialConfigListWithMatchedApn(const QVariantList &profiles) {
  if (profiles.isEmpty())
    return;
  const int presets = std::clamp(readDefaultProfileNum(), 0, int(dialConfigArray.size()));
  dialConfigArray.erase(dialConfigArray.begin(), dialConfigArray.begin() + presets);
  for (int i = int(profiles.size()) - 1; i >= 0; --i)
    dialConfigArray.prepend(profiles.at(i));
  writeDefaultProfileNum(int(profiles.size()));
  saveDialConfigFile();
  reloadApnListView();
}

void DialController::resetDiaCfgListWithImsiCfg(const QVariantMap &profile) {
  if (dialConfigArray.isEmpty())
    dialConfigArray << profile;
  else
    dialConfigArray[0] = profile;
  saveDialConfigFile();
  reloadTable();
  postTableSelectionChanged();
  comboBoxSelectionDidChange(m_IndexOfComboBoxSelectionNow);
  dialConfigListSelectItemAtIndex(readCurrentProfile() + 1);
}

void DialController::setDefaultProfile(int index) {
  if (dialConfigArray.isEmpty())
    return;
  index = std::clamp(index, 0, int(dialConfigArray.size()) - 1);
  dialConfigListSelectItemAtIndex(index + 1);
  comboBoxSelectionDidChange(index + 1);
  postTableSelectionChanged();
}

QString DialController::getDefaultProfileAPN() const {
  const QString apn = currentProfile().value(QStringLiteral("apnName")).toString();
  return apn.isEmpty() ? word(QStringLiteral("Automatic")) : apn;
}

void DialController::reloadApnListView() {
  reloadTable();
  postTableSelectionChanged();
  reloadComboBox();
  dialConfigListSelectItemAtIndex(1);
  comboBoxSelectionDidChange(1);
}
