// The SIM's IMSI in InitController: it is kept for every service, and the connection profile is
// chosen by the IMSI, the home MCC/MNC or the serving MCC/MNC, as the settings ask.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "InitController.h"
#include "InitService.h"
#include "MainController.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "SettingValue.h"
#include "SettingsNeighbour.h"
#include "SimHexCursor.h"
#include "WordGlobe.h"

#include <algorithm>

namespace {
constexpr int kImsiFieldWidth = 36;

ConfigService *switches() {
  return ConfigService::sharedConfigService();
}

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

void saveSettings() {
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}
} // namespace

void InitController::checkIMSI() {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(1, 7, 43, 0, 0);
}

void InitController::dealWithMsgOfCheckCIMI(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg))
    return;
  if (msg.result != 0 || msg.type != 1) {
    if (SettingValue::toBool(settingDict().value(QStringLiteral("sendCIMICmdInLoop")))) {
      setSimStatus(false);
      alreadyGetSimIMSIFlag_ = false;
    }
    return;
  }
  if (alreadyGetSimIMSIFlag_ &&
      !SettingValue::toBool(
          settingDict().value(QStringLiteral("Setting")).toMap().value(QStringLiteral("CheckIMSIForDiag"))))
    return;
  const QByteArray imsi = SimHexCursor::fieldText(msg, 0, kImsiFieldWidth);
  m_IMSI = QString::fromLatin1(imsi);
  // The service enters the home network into the membership map itself, with the MNC length the
  // SIM files give, so three-digit MNCs stay right.
  InitService::sharedInitService()->setImsi(m_IMSI);
  // Whether the card is new is decided once, from the choice made before this reply: the profile
  // rule writes "SimImsiCode", and the USSD rule must not read that as "already seen".
  const QString before = readSimImsiCode();
  simIsNewForThisReply_ = before.isNull() || before != m_IMSI;
  if (!switches()->isSpecialImsiRoam())
    matchApnAccordImsi(imsi);
  matchUssdCodeAccordImsi(m_IMSI);
  checkIMSIForZUDE();
  checkIfNeedSendActiveSMS(m_IMSI);
  settingDict().insert(QStringLiteral("IMSI"), m_IMSI);
  saveSettings();
  getPhoneNumberByIMSI();
  refreshDiagIMSI(false);
  alreadyGetSimIMSIFlag_ = true;
  simIsNewForThisReply_.reset();
}

void InitController::dealWithMsgOfCheckMCCMNC(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0)
    return;
  // The reply follows the automatic choice like the other rules do.
  if (!switches()->isEnableAutoApnMatch())
    return;
  const QString mcc = QString::fromUtf8(SimHexCursor::fieldText(msg, 0, 32));
  const QString mnc = QString::fromUtf8(SimHexCursor::fieldText(msg, 32, 32));
  ConnectionNeighbour *dial = Neighbourhood::connection();
  if (dial && !mcc.isEmpty() && !mnc.isEmpty())
    dial->resetDefaultProfileWithMcc(mcc, mnc);
}

bool InitController::isNewSim(const QString &imsi) {
  if (simIsNewForThisReply_ && imsi == m_IMSI)
    return *simIsNewForThisReply_;
  const QString known = readSimImsiCode();
  return known.isNull() || known != imsi;
}

void InitController::matchUssdCodeAccordImsi(const QString &imsi) {
  if (imsi.isEmpty() || !SettingValue::toBool(settingDict().value(QStringLiteral("ImsiMatchUssdCode"))))
    return;
  if (!isNewSim(imsi))
    return;
  saveSimImsiCode(imsi);
  notificationCenter->postNotificationName(QStringLiteral("ImsiMatchUssd"), this, {{QStringLiteral("IMSI"), imsi}});
}

QString InitController::getPhoneNum() {
  return runtimeObjectForKey(kRTPhoneNumber).toString();
}

void InitController::getPhoneNumberByIMSI() {
  ConfigService *config = switches();
  const QString imsi = InitService::sharedInitService()->imsi();
  if (!config->hasImsiPhoneConfig() || imsi.isEmpty())
    return;
  const QString number = config->getPhoneNumWithImsi(imsi);
  if (number.isEmpty())
    return;
  notificationCenter->postNotificationName(QStringLiteral("receivePhoneNumberFromSoapServer"), this,
                                           {{QStringLiteral("receivePhoneNumberFromSoapServer"), number}});
}

void InitController::SetPCDataPathWithIMSI(const QString &imsi) {
  // The IMSI names files: only digits may, so a reply can never point outside the folder.
  if (imsi.isEmpty() || imsi.size() > kImsiFieldWidth ||
      !std::all_of(imsi.cbegin(), imsi.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
    return;
  if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
    phonebook->loadPcPhoneListByImsi(QStringLiteral("%1_%2").arg(imsi, QStringLiteral("phoneBook.plist")));
  if (auto *records = Neighbourhood::records())
    records->loadRecordList(QStringLiteral("%1_%2").arg(imsi, QStringLiteral("dialRecordData.plist")));
}

void InitController::checkIfNeedSendActiveSMS(const QString &imsi) {
  QVariantMap sms = settingDict().value(QStringLiteral("SMS")).toMap();
  const QVariant due = sms.value(QStringLiteral("NeedSendActiveSIMCardSMS"));
  // A short IMSI has no eighth character to read the card's state from.
  if (!SettingValue::toBool(due) || imsi.size() < 8)
    return;
  sms.insert(QStringLiteral("NeedSendActiveSIMCardSMS"), imsi.at(7) == QLatin1Char('0'));
  settingDict().insert(QStringLiteral("SMS"), sms);
  saveSettings();
}

void InitController::sendActiveSimcardSMS(int mode) {
  QVariantMap sms = settingDict().value(QStringLiteral("SMS")).toMap();
  if (!SettingValue::toBool(sms.value(QStringLiteral("NeedSendActiveSIMCardSMS"))) || (mode != 1 && mode != 3))
    return;
  const QString to = sms.value(QStringLiteral("SendActiveSIMCardSMSTo")).toString();
  const QString text = sms.value(QStringLiteral("SendActiveSIMCardSMSMsg")).toString();
  const bool canSend = !to.isEmpty() && !text.isEmpty();
  // Every registration report comes here: the notice shows once while the card is in.
  if (activeSmsAlertShown_)
    return;
  activeSmsAlertShown_ = true;
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")),
                       word(QStringLiteral("It is necessary to active the line for starting to use your MODEM USB.")),
                       word(QStringLiteral("Accept")));
  if (!canSend)
    return;
  auto *messages = Neighbourhood::messages();
  if (!messages || !messages->sendSmsTo(to, text, false, false, true))
    return;
  sms.insert(QStringLiteral("NeedSendActiveSIMCardSMS"), false);
  settingDict().insert(QStringLiteral("SMS"), sms);
  saveSettings();
}

void InitController::checkIMSIForZUDE() {
  const QVariantMap special = settingDict().value(QStringLiteral("specialSoftVersion")).toMap();
  if (!SettingValue::toBool(special.value(QStringLiteral("ZUDE_ZEZ"))))
    return;
  const QVariant stored = settingDict().value(QStringLiteral("IMSI"));
  const QVariant seen = settingDict().value(QStringLiteral("simIMSI"));
  SetPCDataPathWithIMSI(m_IMSI);
  if (m_SimPinState == kSimNotReady)
    setSimStatus(true);
  const bool changed = seen.isValid() && seen.toString() != m_IMSI;
  if (SettingValue::toBool(special.value(QStringLiteral("ZUDE_ZEZ_TK311"))) && !stored.toString().isEmpty() &&
      seen.toString() != m_IMSI) {
    NSBeginAlertPanelExt(word(QStringLiteral("Warning")),
                         word(QStringLiteral("You have changed the SIM,please restart the software")),
                         word(QStringLiteral("OK")), QString(), [this](int answer, bool closedByRemoval) {
                           if (answer != 1 || closedByRemoval)
                             return;
                           if (g_MainController) {
                             g_MainController->toolbarSetItemEnable(true, QStringLiteral("STK"));
                             g_MainController->toolbarSetItemEnable(true, QStringLiteral("Internet"));
                           }
                           dialFunctionEnabledFlag_ = false;
                           notifyChangeTabViewItem(QStringLiteral("Internet"));
                         });
    return;
  }
  if (g_MainController)
    g_MainController->toolbarSetEnable(true);
  settingDict().insert(QStringLiteral("simIMSI"), m_IMSI);
  saveSettings();
  notificationCenter->postNotificationName(QStringLiteral("AlreadyGetSimIMSI"), this,
                                           {{QStringLiteral("imsiInfo"), changed}});
}

void InitController::matchApnAccordImsi(const QByteArray &imsi) {
  if (!switches()->isEnableAutoApnMatch() || imsi.isEmpty())
    return;
  const bool byImsi = switches()->isImsiMatchApn();
  if (!byImsi && !switches()->isImsiMatchGlobalApn())
    return;
  // A new SIM is one whose IMSI differs from the one the last choice was made for.
  const bool isNew = isNewSim(m_IMSI);
  saveSimImsiCode(m_IMSI);
  if (!isNew)
    return;
  ConnectionNeighbour *dial = Neighbourhood::connection();
  if (!dial)
    return;
  if (byImsi)
    dial->resetDefaultProfileWithImsiAll(imsi);
  else
    dial->resetGlobalDefaultProfileWithImsi(imsi);
}

void InitController::matchApnAccordMCCAndMNC(const QString &homeMcc, const QString &homeMnc) {
  // The choice waits for the SIM's IMSI, so that it is made once per card.
  if (homeMcc.isEmpty() || homeMnc.isEmpty() || !switches()->isQdonMatchApn() || m_IMSI.isEmpty())
    return;
  if (readSimImsiCode() == m_IMSI)
    return;
  saveSimImsiCode(m_IMSI);
  if (auto *dial = Neighbourhood::connection())
    dial->resetDefaultProfileWithMcc(homeMcc, homeMnc);
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
  if (auto *dial = Neighbourhood::connection())
    dial->resetDefaultProfileWithMCCMNC(mccmnc);
}

void InitController::getIccidNumAfterMatchApnAccordImsi() {
  if (!switches()->isSpecialImsiRoam() || m_IMSI.isEmpty())
    return;
  matchApnAccordImsi(m_IMSI.toLatin1().left(kImsiFieldWidth));
  if (auto *settings = Neighbourhood::settings())
    settings->setRoamingStateAccordImsi(m_IMSI);
}

QString InitController::readSimImsiCode() {
  const QVariant code = settingDict().value(QStringLiteral("SimImsiCode"));
  return code.isValid() ? code.toString() : QString();
}

void InitController::saveSimImsiCode(const QString &imsi) {
  settingDict().insert(QStringLiteral("SimImsiCode"), imsi);
  saveSettings();
}
