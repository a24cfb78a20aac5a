#include "NetworkIdentityHandlers.h"

#include "IdentitySettings.h"
#include "InitService.h"
#include "Platform.h"
#include "SimFiles.h"
#include "SimHexCursor.h"
#include "UIMsg.h"

#include <QtEndian>

namespace {
const QString kInit = QStringLiteral("Init");
const QString kMain = QStringLiteral("Main");
const QString kLongFormatSwitch = QStringLiteral("displayLongFormatSPNWhenRoamOn");

QString fieldString(const UIMsg &msg, int offset, int width) {
  return QString::fromUtf8(SimHexCursor::fieldText(msg, offset, std::min(width, PlmnReport::kPayloadSize - offset)));
}

int32_t int32At(const UIMsg &msg, int offset, int width) {
  uint8_t bytes[4] = {0, 0, 0, 0};
  for (int i = 0; i < width && i < 4; ++i)
    if (offset + i < msg.dataLength)
      bytes[i] = msg.data[size_t(offset + i)];
  return qFromLittleEndian<int32_t>(bytes);
}
} // namespace

PlmnReport PlmnReport::fromMsg(const UIMsg &msg) {
  PlmnReport r;
  r.operatorName = fieldString(msg, kOperatorNameOffset, kOperatorNameWidth);
  r.nationalRoamingName = fieldString(msg, kNationalRoamingNameOffset, kNationalRoamingNameWidth);
  r.servingMcc = fieldString(msg, kServingMccOffset, kCodeFieldWidth);
  r.servingMnc = fieldString(msg, kServingMncOffset, kCodeFieldWidth);
  r.roamIndication = fieldString(msg, kRoamOffset, kCodeFieldWidth);
  r.homeMcc = fieldString(msg, kHomeMccOffset, kCodeFieldWidth);
  r.homeMnc = fieldString(msg, kHomeMncOffset, kCodeFieldWidth);
  r.pnnOplFlag = int32At(msg, kPnnOplFlagOffset, 4);
  r.numericFlag = int32At(msg, kNumericFlagOffset, 1);
  r.psDomainMark = msg.tail[2] == '1';
  return r;
}

int NetworkIdentitySink::getNetworkRoamStatusWithQdonResult(const QString &roamIndication) {
  if (roamIndication == QLatin1String("ROAM_ON"))
    return 0;
  if (roamIndication == QLatin1String("ROAM_OFF"))
    return 1;
  return 2;
}

NetworkIdentityHandlers::NetworkIdentityHandlers(NetworkIdentitySink &sink, InitService *service, WordLookup word)
    : sink_(sink), service_(service), word_(std::move(word)) {}

InitService &NetworkIdentityHandlers::service() const {
  return service_ ? *service_ : *InitService::sharedInitService();
}

QString NetworkIdentityHandlers::word(const QString &name) const {
  if (name.isEmpty() || !word_)
    return name;
  return word_(name);
}

bool NetworkIdentityHandlers::switchOn(const QString &module, const QString &key) {
  return IdentitySettings::switchOn(module, key);
}

bool NetworkIdentityHandlers::isNetWorkChangedWithPreMCCMNC(const QString &previous) const {
  return !mccmnc_.isEmpty() && mccmnc_ != previous;
}

void NetworkIdentityHandlers::dealWithMsgOfCheckPLMN(const UIMsg &msg) {
  const PlmnReport r = PlmnReport::fromMsg(msg);
  const bool numeric = r.isNumeric();
  InitService &s = service();
  if (!numeric && switchOn({}, kLongFormatSwitch))
    s.setLongFormatLocalSpn(r.operatorName);

  const QString previous = mccmnc_;
  int roam = 2;
  if (numeric) {
    roam = sink_.getNetworkRoamStatusWithQdonResult(r.roamIndication);
    sink_.showRoamAlertWindow(roam);
    sink_.matchApnAccordMCCAndMNC(r.homeMcc, r.homeMnc);
    sink_.checkLocalMCCAndNetMCC(r.homeMcc, r.servingMcc);
    // The home network keeps as many MNC digits as the network gives it.
    s.setHomeMncLength(int(r.homeMnc.size()));

    if (roam == 2 || r.servingMcc.isEmpty()) {
      mccmnc_ = QStringLiteral("");
    } else {
      sink_.showDiagMccAndMnc(r.servingMcc, r.servingMnc);
      mccmnc_ = SimFiles::composeMccmnc(r.servingMcc, r.servingMnc);
      sink_.checkAPNMatchWithMCCMNC(mccmnc_);
      if (sink_.isSupportUpdate()) {
        sink_.dealWithMCCMNC(mccmnc_);
        if (!sink_.isSendUpdateMessageWhenMCCMNC() && switchOn({}, QStringLiteral("newUpdate"))) {
          sink_.dealWithDeviceReady();
          sink_.setIsSendUpdateMessageWhenMCCMNC(true);
        }
      }
    }
    if (roam != 2 && r.psDomainMark)
      sink_.informOtherModulePSDomain(2);
  }

  s.setLocalSpn(r.operatorName);
  if (numeric) {
    s.setCurrentRmccRmnc(mccmnc_);
    s.setNetworkRoamStatus(roam);
  }

  const bool changed = isNetWorkChangedWithPreMCCMNC(previous);
  if (switchOn(kMain, QStringLiteral("filterTheFirstQdonQpasWhenNetWorkChanged")) && changed &&
      sink_.firstTimeDealWithQdonWhenNetWorkChanged()) {
    // The first report of a new network is not trusted yet: the old one stays current.
    mccmnc_ = previous;
    sink_.dealWithFirstQdonWhenNetWorkChangedWithPreMccMnc(previous);
    return;
  }

  // Icera devices report roaming through a reply of their own.
  if (numeric && Platform::sharedPlatform()->platform() != Platform::kPlatformIcera)
    sink_.setRoamInfoWithNetworkRoamStatus(sink_.closeRoamAtDomesticRoaming(roam, r.homeMcc, r.servingMcc));

  if (switchOn(kInit, QStringLiteral("Init_ShowSpnByNewMethod")))
    showSpn();
  else
    postSetProviderAndDomainStatusForGeneral(r);

  if (changed && numeric) {
    sink_.setFirstTimeDealWithQdonWhenNetWorkChanged(true);
    sink_.doWhenNetWorkChanged();
  }
}

void NetworkIdentityHandlers::dealWithMsgOfCheckSPDI(const UIMsg &msg) {
  service().doParseEF_SPDI(SimHexCursor::fieldText(msg, 0, kSimFileTextWidth));
}

void NetworkIdentityHandlers::dealWithMsgOfCheckSPN(const UIMsg &msg) {
  InitService &s = service();
  s.doParseEF_SPN(SimHexCursor::fieldText(msg, 0, kSimFileTextWidth));
  m_SPN = s.homeSpn();
  m_DisplayCondForSpn = s.the1and2FiledFromSPN();
}

void NetworkIdentityHandlers::dealWithMsgOfCheckICCID(const UIMsg &msg) {
  InitService &s = service();
  s.doParseEF_ICCID(SimHexCursor::fieldText(msg, 0, kSimFileTextWidth));
  iccid_ = s.iccidStr();
  sink_.getIccidNumAfterMatchApnAccordImsi();
  sink_.showDiagIccid(iccid_);
}

void NetworkIdentityHandlers::showSpn() {
  QspnShowBase &strategy = service().getSpnDisplayProtocol();
  sink_.setLocalSPN(word(strategy.getLocalSpn()), true);
  sink_.setBelonetoSPN(word(strategy.getHomeSpn()));
}

void NetworkIdentityHandlers::postSetProviderAndDomainStatusForGeneral(const PlmnReport &r) {
  if (switchOn({}, QStringLiteral("SearchRegistModel")) || service().networkMode() == 0)
    return;
  const bool refresh = !switchOn({}, kLongFormatSwitch);
  sink_.setLocalSPN(QStringLiteral(""), refresh);
  sink_.setBelonetoSPN(QStringLiteral(""));
  if (switchOn({}, QStringLiteral("DisplayOnlyPLMN"))) {
    sink_.setLocalSPN(word(r.operatorName), true);
    return;
  }
  if (r.operatorName == QLatin1String("Not Found") || mccmnc_.isNull())
    return;

  QString shown = r.operatorName;
  if (switchOn(kInit, QStringLiteral("DisplayBelongToSPNWhenNationalRoam")) && r.homeMcc == r.servingMcc &&
      r.roamIndication == QLatin1String("ROAM_ON"))
    shown = r.nationalRoamingName;
  if (sink_.progressSPNDomainForZavidev(shown))
    return;
  if (switchOn(kInit, QStringLiteral("ShowFixedLocalSPN"))) {
    sink_.setLocalSPN(word(QStringLiteral("fixed local SPN")), true);
    return;
  }
  if (switchOn(kInit, QStringLiteral("ShowSPNForPOSLAT"))) {
    sink_.setLocalSPN(word(r.pnnOplFlag == 1 && !m_SPN.isEmpty() ? m_SPN : shown), true);
    return;
  }
  progressSPNDomainForGeneral(shown);
}

void NetworkIdentityHandlers::progressSPNDomainForGeneral(const QString &name) {
  if (name.isEmpty())
    return;
  const bool refresh = !switchOn({}, kLongFormatSwitch);
  const QString spn = m_SPN;
  const int cond = m_DisplayCondForSpn;
  const bool onlyBelongTo = switchOn(kInit, QStringLiteral("OnlyShowBelonetoSPN"));

  if (service().isHomeOrFriendly(mccmnc_)) {
    sink_.setBelonetoSPN(spn);
    if (cond == 1 || cond == 3 || switchOn(kMain, QStringLiteral("AlwaysShowLocalSPN")))
      sink_.setLocalSPN(word(name), refresh);
  } else {
    sink_.setLocalSPN(word(name), refresh);
    if (cond == 0 || cond == 1)
      sink_.setBelonetoSPN(spn);
  }

  // A card without a provider name (not merely one not read yet) shows the network's name.
  if (!spn.isNull() && spn.isEmpty()) {
    sink_.setLocalSPN(word(name), refresh);
    sink_.setBelonetoSPN(QStringLiteral(""));
    if (onlyBelongTo)
      sink_.setBelonetoSPN(name);
  } else if (!spn.isEmpty() && onlyBelongTo) {
    sink_.setBelonetoSPN(spn);
  }
}

void NetworkIdentityHandlers::deviceRemoved() {
  mccmnc_ = QStringLiteral("");
  iccid_ = QStringLiteral("");
  m_SPN = QString();
  m_DisplayCondForSpn = 0;
  service().deviceRemoved();
}
