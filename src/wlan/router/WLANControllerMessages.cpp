// The router's messages: the senders fill their records from the held values, the handlers
// take the backend's reads and answers (module 10).
#include "WLANController.h"

#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QDebug>

namespace {
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QString::fromLatin1(key));
}
} // namespace

void WLANController::send(uint16_t minor, const QByteArray &data, uint16_t major) {
  if (sendHook)
    sendHook(major, minor, data);
  else if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(WLANMsg::kModule, major, minor, 0, 0, data);
}

void WLANController::sendApplyWifiBasic() {
  send(WLANMsg::kSetBasic, basic.encode());
}

void WLANController::sendApplyWifiSecurity() {
  send(WLANMsg::kSetSecurity, security.encode());
}

void WLANController::sendApplyWifiSecurityShare() {
  send(WLANMsg::kSetWEP, wep.encode());
}

void WLANController::sendApplyWifiSecurityWAP_PSK() {
  WPAKeyRecord record = wpa;
  record.authentication = WPAKeyRecord::authenticationOf(security.aumode);
  send(WLANMsg::kSetWPA, record.encode());
}

void WLANController::sendEnableIPFilter() {
  send(WLANMsg::kSetFilterSwitch, FilterSwitchRecord{IF_enable, IPPolicy}.encode());
}

void WLANController::sendApplyIPFilter() {
  send(WLANMsg::kSetFilterRule, ipRule.encode());
}

void WLANController::sendReadIPFilter() {
  send(WLANMsg::kReadFilterList, ListReadRequest::encode(), WLANMsg::kReadMajor);
}

void WLANController::sendEnableVirtualServer() {
  send(WLANMsg::kSetVirtualSwitch, EnableWordRecord{VS_enable}.encode());
}

void WLANController::sendApplyVirtualServer() {
  send(WLANMsg::kSetVirtualRule, vsRule.encode());
}

void WLANController::sendReadVirtualServer() {
  send(WLANMsg::kReadVirtualList, ListReadRequest::encode(), WLANMsg::kReadMajor);
}

void WLANController::sendApplyDHCP() {
  send(WLANMsg::kSetDHCP, dhcp.encode());
}

void WLANController::sendRestoreFactoryDefault() {
  send(WLANMsg::kRestoreFactory, restoreFactoryPayload());
}

// ---- handlers ----

bool WLANController::takePackage(const Notification &n, UIMsg *msg) const {
  if (!QELMsgCenter::getMsgPackage(msg, n))
    return false;
  return msg->majorId == WLANMsg::kReadMajor || msg->majorId == WLANMsg::kSetMajor;
}

void WLANController::failedSetting() {
  if (statusNoteKey_ == QLatin1String("Settings successful!"))
    setStatusNote({});
  // Told from the reply's handler: the notice must not hold back the packages after it.
  NSBeginAlertPanelExt(word("Warning!"), word("Setting Failed!"), word("OK"));
}

namespace {
bool isRead(const UIMsg &m) {
  return m.majorId == WLANMsg::kReadMajor;
}
bool succeeded(const UIMsg &m) {
  return m.result == UIMsg::kResultSuccess;
}
bool failedSet(const UIMsg &m) {
  return m.majorId == WLANMsg::kSetMajor && !succeeded(m);
}
// A read the router sends must hold its whole record; a short one is not shown.
template <typename Record> std::optional<Record> readRecord(const UIMsg &m) {
  const auto record = Record::decode(m.payload());
  if (!record)
    qWarning() << "WLANController: short router read" << m.majorId << "/" << m.minorId << "of" << m.dataLength
               << "bytes";
  return record;
}
} // namespace

template <typename Record, typename AfterFailure, typename Show>
void WLANController::takeRecordAnswer(const Notification &n, AfterFailure afterFailure, Show show) {
  UIMsg m;
  if (!takePackage(n, &m))
    return;
  if (failedSet(m)) {
    failedSetting();
    afterFailure();
  } else if (isRead(m) && succeeded(m)) {
    if (const auto r = readRecord<Record>(m)) {
      routerAnswered();
      show(*r);
    }
  } else if (succeeded(m)) {
    settingApplied();
  }
}

void WLANController::dealWithWifi(const Notification &n) {
  UIMsg m;
  if (takePackage(n, &m) && succeeded(m))
    (void)EnableWordRecord::decode(m.payload()); // taken, never shown
}

void WLANController::dealWithDMZ(const Notification &n) {
  UIMsg m;
  (void)takePackage(n, &m); // taken, never shown
}

void WLANController::dealWithUPNP(const Notification &n) {
  UIMsg m;
  if (takePackage(n, &m) && succeeded(m))
    (void)EnableWordRecord::decode(m.payload());
}

void WLANController::dealWithWifiBasic(const Notification &n) {
  takeRecordAnswer<WLANBasicRecord>(
      n, [this] { setBasicButtons(true); }, [this](const WLANBasicRecord &r) { showBasic(r); });
}

void WLANController::dealWithWifiSecurity(const Notification &n) {
  takeRecordAnswer<WLANSecurityRecord>(
      n, [this] { setSecurityButtons(true); }, [this](const WLANSecurityRecord &r) { showSecurity(r); });
}

void WLANController::dealWithWifiSecurityShare(const Notification &n) {
  takeRecordAnswer<WEPKeyRecord>(
      n, [this] { setSecurityButtons(true); }, [this](const WEPKeyRecord &r) { showWEP(r); });
}

void WLANController::dealWithWifiSecurityWAP_PSK(const Notification &n) {
  takeRecordAnswer<WPAKeyRecord>(
      n, [this] { setSecurityButtons(true); }, [this](const WPAKeyRecord &r) { showWPA(r); });
}

void WLANController::dealWithDHCP(const Notification &n) {
  takeRecordAnswer<DHCPRecord>(
      n, [this] { setRouterButtons(true); }, [this](const DHCPRecord &r) { showDHCP(r); });
}

void WLANController::dealWithEnableIPFilter(const Notification &n) {
  takeRecordAnswer<FilterSwitchRecord>(
      n, [this] { restoreFilterSwitch(); }, [this](const FilterSwitchRecord &r) { showFilterSwitch(r); });
}

void WLANController::dealWithEnableVirtualServer(const Notification &n) {
  takeRecordAnswer<EnableWordRecord>(
      n, [this] { restoreVirtualSwitch(); }, [this](const EnableWordRecord &r) { showVirtualSwitch(r.enable); });
}

void WLANController::dealWithIPFilterList(const Notification &n) {
  UIMsg m;
  if (!takePackage(n, &m))
    return;
  if (failedSet(m)) {
    failedSetting();
    IFCANCEL();
  } else if (succeeded(m) && isRead(m)) {
    routerAnswered();
    showIPFilterList(IPFilterListReply::decode(m.payload()));
  } else if (succeeded(m)) {
    settingApplied();
    cleanIPList();
    refreshIPTable();
    sendReadIPFilter();
  }
}

void WLANController::dealWithVirtualServerList(const Notification &n) {
  UIMsg m;
  if (!takePackage(n, &m))
    return;
  if (failedSet(m)) {
    failedSetting();
    VSCANCEL();
  } else if (succeeded(m) && isRead(m)) {
    routerAnswered();
    showVirtualServerList(VirtualServerListReply::decode(m.payload()));
  } else if (succeeded(m)) {
    settingApplied();
    cleanVSList();
    refreshVSTable();
    sendReadVirtualServer();
  }
}
