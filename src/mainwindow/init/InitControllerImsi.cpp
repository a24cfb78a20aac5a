// The SIM's IMSI in InitController: it is kept for every service, and the connection profile is
// chosen by the IMSI, the home MCC/MNC or the serving MCC/MNC, as the settings ask.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialController.h"
#include "InitController.h"
#include "InitService.h"
#include "SettingValue.h"
#include "SimHexCursor.h"

namespace {
constexpr int kImsiFieldWidth = 36;

ConfigService *switches() {
  return ConfigService::sharedConfigService();
}

void saveSettings() {
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}
} // namespace

void InitController::dealWithMsgOfCheckCIMI(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0 || msg.type != 1)
    return;
  if (alreadyGetSimIMSIFlag_ &&
      !SettingValue::toBool(
          settingDict().value(QStringLiteral("Setting")).toMap().value(QStringLiteral("CheckIMSIForDiag"))))
    return;
  const QByteArray imsi = SimHexCursor::fieldText(msg, 0, kImsiFieldWidth);
  m_IMSI = QString::fromLatin1(imsi);
  InitService::sharedInitService()->setImsi(m_IMSI);
  if (!switches()->isSpecialImsiRoam())
    matchApnAccordImsi(imsi);
  settingDict().insert(QStringLiteral("IMSI"), m_IMSI);
  saveSettings();
  alreadyGetSimIMSIFlag_ = true;
}

void InitController::matchApnAccordImsi(const QByteArray &imsi) {
  if (!switches()->isEnableAutoApnMatch() || imsi.isEmpty())
    return;
  const bool byImsi = switches()->isImsiMatchApn();
  if (!byImsi && !switches()->isImsiMatchGlobalApn())
    return;
  // A new SIM is one whose IMSI differs from the one the last choice was made for.
  const QVariant previous = settingDict().value(QStringLiteral("SimImsiCode"));
  settingDict().insert(QStringLiteral("SimImsiCode"), m_IMSI);
  saveSettings();
  if (previous.isValid() && previous.toString() == m_IMSI)
    return;
  if (!g_DialController)
    return;
  if (byImsi)
    g_DialController->resetDefaultProfileWithImsiAll(imsi);
  else
    g_DialController->resetGlobalDefaultProfileWithImsi(imsi);
}

void InitController::matchApnAccordMCCAndMNC(const QString &homeMcc, const QString &homeMnc) {
  // The choice waits for the SIM's IMSI, so that it is made once per card.
  if (homeMcc.isEmpty() || homeMnc.isEmpty() || !switches()->isQdonMatchApn() || m_IMSI.isEmpty())
    return;
  if (settingDict().value(QStringLiteral("SimImsiCode")).toString() == m_IMSI)
    return;
  settingDict().insert(QStringLiteral("SimImsiCode"), m_IMSI);
  saveSettings();
  if (g_DialController)
    g_DialController->resetDefaultProfileWithMcc(homeMcc, homeMnc);
}

void InitController::checkAPNMatchWithMCCMNC(const QString &mccmnc) {
  if (!switches()->isEnableAutoApnMatch() || !switches()->isAPNMatchWithMCCMNC() || mccmnc.isEmpty())
    return;
  if (!mccmncForAPNMatchLoaded_) {
    MCCMNCForAPNMatch = settingDict().value(QStringLiteral("CurrentMCCMNC")).toString();
    mccmncForAPNMatchLoaded_ = true;
  }
  if (MCCMNCForAPNMatch == mccmnc)
    return;
  MCCMNCForAPNMatch = mccmnc;
  settingDict().insert(QStringLiteral("CurrentMCCMNC"), mccmnc);
  saveSettings();
  if (g_DialController)
    g_DialController->resetDefaultProfileWithMCCMNC(mccmnc);
}

void InitController::getIccidNumAfterMatchApnAccordImsi() {
  if (switches()->isSpecialImsiRoam() && !m_IMSI.isEmpty())
    matchApnAccordImsi(m_IMSI.toLatin1().left(kImsiFieldWidth));
}
