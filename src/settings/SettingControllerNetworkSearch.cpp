// The Network page's manual search: the search request, the list sheet of the networks found,
// registering on the chosen one and the answers to both.
#include "SettingController.h"

#include "CallsNeighbour.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "NetListModel.h"
#include "Platform.h"
#include "QELAlertPanel.h"
#include "SettingControllerNetworkSupport.h"
#include "SettingControllerSupport.h"
#include "SettingService.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QtEndian>
#include <cstring>

using namespace settingsupport;
using namespace networksupport;

// ---- the manual search and its list ----

QVariantList SettingController::netListFromSearchReply(const QByteArray &data, bool shortNames) {
  QVariantList list;
  if (data.size() < 4)
    return list;
  const quint32 count = qFromLittleEndian<quint32>(data.constData());
  for (int i = 0; i < kMaxNetRecords && quint32(i) < count; ++i) {
    const int base = 4 + i * kNetRecordSize;
    if (base + kNetRecordSize > data.size())
      break;
    const quint32 state = qFromLittleEndian<quint32>(data.constData() + base);
    if (state == 0)
      break;
    static const char *states[] = {"AVAILABLE", "CURRENT", "FORBIDDEN"};
    const bool known = state >= 1 && state <= 3;
    const QString longName = textAt(data, base + 4, 68), shortName = textAt(data, base + 72, 20);
    list << QVariantMap{
        {QStringLiteral("state"), known ? word(QLatin1String(states[state - 1])) : QString()},
        {QStringLiteral("netState"), known ? int(state) : 0},
        {QStringLiteral("lalpha_oper"), shortNames ? shortName : longName},
        {QStringLiteral("numeric_oper"), textAt(data, base + 92, 12)},
        {QStringLiteral("nettype"), textAt(data, base + 104, 24)},
    };
  }
  return list;
}

QVariant SettingController::netListValue(int row, const QString &column) const {
  if (row < 0 || row >= netList_.size())
    return {};
  const QVariantMap net = netList_[row].toMap();
  QVariant value = net.value(column);
  QVariantMap &dict = const_cast<SettingController *>(this)->settingDict();
  const QString numeric = net.value(QStringLiteral("numeric_oper")).toString();
  if (column == QLatin1String("nettype")) {
    const QString special = dict.value(QStringLiteral("Setting"))
                                .toMap()
                                .value(QStringLiteral("DisplayNetTypeWithMCCMNCInNetList"))
                                .toString();
    const bool useSpecial = !special.isEmpty() && special == numeric;
    const int type = value.toString().toInt();
    if (type == 0)
      value = word(useSpecial ? QStringLiteral("Special2G") : QStringLiteral("2G"));
    else if (type == 2)
      value = word(useSpecial ? QStringLiteral("Special3G") : QStringLiteral("3G"));
    else
      value = QString();
  }
  if (boolOf(dict, QStringLiteral("Internet"), QStringLiteral("highLightCurrentNet"))) {
    if (net.value(QStringLiteral("netState")).toInt() == 2)
      return QVariantMap{{QStringLiteral("text"), value}, {QStringLiteral("highlight"), true}};
    return value;
  }
  if (column != QLatin1String("lalpha_oper"))
    return value;
  const bool changeSpn = boolOf(dict, QStringLiteral("Internet"), QStringLiteral("Internet_ChangeSPN_IfNeeded"));
  if (!changeSpn)
    return value;
  value = word(value.toString());
  const QVariantMap specific =
      dict.value(QStringLiteral("Init")).toMap().value(QStringLiteral("Init_specificMccAndMnc")).toMap();
  if (!specific.isEmpty()) {
    const QString key = specific.firstKey();
    DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
    if (numeric == key && device && device->mccmnc() == key) {
      const QString name = specific.value(key).toString();
      return device->registeredNetworkRoamStatus() != 0 ? name.mid(2) : name;
    }
  }
  const QVariantMap all = dict.value(QStringLiteral("Init"))
                              .toMap()
                              .value(QStringLiteral("Init_ChangeAllSPN_IfMatchedSpecialMCCMNC"))
                              .toMap();
  if (!all.isEmpty() && Neighbourhood::deviceStatus() &&
      Neighbourhood::deviceStatus()->ifCurrentSIMCardNeededChangeSPN() && all.contains(numeric))
    return all.value(numeric);
  return value;
}

int SettingController::selectedNetRow() const {
  if (!netListView || !netListView->selectionModel())
    return -1;
  const QModelIndexList rows = netListView->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void SettingController::selectNetRow(int row) {
  if (!netListView || !netListView->selectionModel())
    return;
  if (row < 0 || row >= netList_.size()) {
    netListView->clearSelection();
    return;
  }
  netListView->selectRow(row);
}

void SettingController::tableViewSelectionDidChange() {
  const int row = selectedNetRow();
  if (row < 0 || row >= netList_.size()) {
    enable(netSelectBtn, false);
    return;
  }
  if (boolOf(settingDict(), QStringLiteral("Internet"), QStringLiteral("ForbiddenNetCanChoose"))) {
    enable(netSelectBtn, !hasRegisteringNetFlagValue_);
    return;
  }
  const QVariantMap net = netList_[row].toMap();
  if (net.value(QStringLiteral("state")).toString() == word(QStringLiteral("FORBIDDEN"))) {
    enable(netSelectBtn, false);
    return;
  }
  if (hasRegisteringNetFlagValue_)
    return;
  ConfigService *config = ConfigService::sharedConfigService();
  if (config->checkMccMncIsRegister(net.value(QStringLiteral("numeric_oper")).toString()) &&
      config->setSearchNetListViewApplyBtnEnable()) {
    enable(netSelectBtn, false);
    return;
  }
  enable(netSelectBtn, true);
}

void SettingController::dealWithMsgOfManualSearchNet(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || noPopupNetSelectWindowFlag_ || msg.type != 1)
    return;
  searchingNetworkUI(false);
  if (msg.result != 0) {
    m_ManualSelectFlag = false;
    selectTag(m_NetworkFindModeSeletion, networkFindModeTag());
    selectRow(m_MethodToSelectNet, 0);
    alert(QStringLiteral("Failed"));
  } else {
    const bool shortNames = boolOf(settingDict(), QStringLiteral("Init"), QStringLiteral("ShowOperatorInShortFormat"));
    netList_ = netListFromSearchReply(msg.payload(), shortNames);
    notificationCenter->postNotificationName(QStringLiteral("searchNetResult"), this,
                                             {{QStringLiteral("searchNetResult"), netList_}});
    m_ManualSelectFlag = false;
    enable(netSelectBtn, false);
    if (netListModel_)
      netListModel_->reload();
    selectNetRow(-1);
    if (!boolOf(settingDict(), QStringLiteral("Setting"), QStringLiteral("Setting_OpenBundleNetSelectWindow_IfNeed"))) {
      if (netSelectWindow)
        netSelectWindow->open();
      setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
    }
  }
  noPopupNetSelectWindowFlag_ = true;
  if (cancelNetworkManualSelectBtn)
    cancelNetworkManualSelectBtn->hide();
}

void SettingController::ApplyNetSelect(QObject *) {
  const int row = selectedNetRow();
  if (row < 0 || row >= netList_.size())
    return;
  const bool forbidden =
      netList_[row].toMap().value(QStringLiteral("state")).toString() == word(QStringLiteral("FORBIDDEN"));
  if (ConfigService::sharedConfigService()->forbiddenNetCanChooseAndReturnFailedByUI() && forbidden) {
    alert(QStringLiteral("Failed"));
    return;
  }
  const int mode =
      boolOf(settingDict(), QStringLiteral("specialSoftVersion"), QStringLiteral("H3GTK522FromVov")) ? 4 : 1;
  sendManualSelectNetToBack(row, mode);
  if (boolOf(settingDict(), QStringLiteral("Setting"), QStringLiteral("NotExitNetSelSheet"))) {
    enable(netSelectBtn, false);
    hasRegisteringNetFlagValue_ = true;
  } else if (netSelectWindow) {
    netSelectWindow->hide();
  }
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  searchingNetworkUI(true);
  if (cancelNetworkManualSelectBtn)
    cancelNetworkManualSelectBtn->hide();
}

void SettingController::CancelNetSelect(QObject *) {
  isOperatorSelectionForNetwork = false;
  m_ManualSelectFlag = false;
  if (netSelectWindow)
    netSelectWindow->hide();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  selectRow(m_MethodToSelectNet, 0);
  notificationCenter->postNotificationName(QStringLiteral("changeStatusSearchNetMode"), this, {});
  enable(m_NetworkFindModeSeletion, true);
  ruvozUIInitNetworkSetting();
  sendAutoNetSelectToBack();
}

void SettingController::cancelNetworkManualSelect(QObject *) {
  noPopupNetSelectWindowFlag_ = true;
  isOperatorSelectionForNetwork = false;
  m_ManualSelectFlag = false;
  searchingNetworkUI(false);
  if (cancelNetworkManualSelectBtn)
    cancelNetworkManualSelectBtn->hide();
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kSelMajor, kCancelMinor, 0, 0);
}

void SettingController::manualRegisterNet(const Notification &n) {
  const int row = n.userInfo.value(QStringLiteral("index")).toInt();
  sendManualSelectNetToBack(row, 1);
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  searchingNetworkUI(true);
}

void SettingController::registerCurrentNetworkAfterFailure(int failedRow) {
  if (!boolOf(settingDict(), QStringLiteral("Setting"),
              QStringLiteral("Setting_RegisterCurrentNetwork_IfRegisterFailed")))
    return;
  if (failedRow < 0 || failedRow >= netList_.size() ||
      netList_[failedRow].toMap().value(QStringLiteral("state")).toString() != word(QStringLiteral("FORBIDDEN")))
    return;
  for (int i = 0; i < netList_.size(); ++i) {
    if (netList_[i].toMap().value(QStringLiteral("state")).toString() != word(QStringLiteral("CURRENT")))
      continue;
    sendManualSelectNetToBack(i, 1);
    selectNetRow(i);
    SettingService::sharedSettingService()->setSecondManualSelectNetFlag(true);
    return;
  }
}

void SettingController::dealWithMsgOfManualSelectNet(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  SettingService *service = SettingService::sharedSettingService();
  if (service->isSecondManualSelectNetFlag()) {
    // The answer to the register-current request is the one this mark was set for.
    service->setSecondManualSelectNetFlag(false);
    return;
  }
  const auto posted = [this] {
    notificationCenter->postNotificationName(QStringLiteral("manualRegisterNetResult"), this, {});
  };
  if (msg.type != 1) {
    posted();
    return;
  }
  searchingNetworkUI(false);
  enable(matrixAutoConnectRuvoz, true);
  isOperatorSelectionForNetwork = false;

  const QVariantMap &dict = settingDict();
  const int row = lastSelectedNetRow_;
  const QVariantMap chosen = row >= 0 && row < netList_.size() ? netList_[row].toMap() : QVariantMap();
  const int technology = chosen.value(QStringLiteral("nettype")).toString().toInt();
  bool ok = msg.result == 0;
  if (ok && boolOf(dict, QStringLiteral("specialSoftVersion"), QStringLiteral("H3GTK522FromVov"))) {
    const QByteArray data = msg.payload();
    float quality = 0;
    const quint32 bits = wordAt(msg, 0);
    std::memcpy(&quality, &bits, sizeof quality);
    const char tech = data.size() > 40 ? data.at(40) : '\0';
    ok = quality > 0 && textAt(data, 4, 36) == chosen.value(QStringLiteral("numeric_oper")).toString() &&
         ((technology == 2 && tech == '3') || (technology == 0 && tech == '2'));
  }
  if (ok && boolOf(dict, QStringLiteral("Internet"), QStringLiteral("NetWork_getSeletedNetType_IfSeleteNetOk"))) {
    if (technology == 0)
      selectTag(m_NetworkFindModeSeletion, 0);
    else if (technology == 2)
      selectTag(m_NetworkFindModeSeletion, 1);
  }
  const bool keepSheet = boolOf(dict, QStringLiteral("Setting"), QStringLiteral("NotExitNetSelSheet"));
  if (ok) {
    m_nCheckNetStatusTimes_ = 0;
    if (keepSheet) {
      alert(QStringLiteral("Success"), [this] {
        if (netSelectWindow)
          netSelectWindow->hide();
        hasRegisteringNetFlagValue_ = false;
        setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
      });
    } else {
      alert(QStringLiteral("Success"));
    }
    if (boolOf(dict, QStringLiteral("specialSoftVersion"), QStringLiteral("H3GTK522FromVov")))
      selectRow(m_MethodToSelectNet, 0);
    if (boolOf(dict, QStringLiteral("Internet"), QStringLiteral("backToAutoModeAfterSelNetSuccess")))
      backToAutoModeAfterSelNetSuccess();
    if (dict.contains(QStringLiteral("SearchRegistModel"))) {
      settingDict().insert(QStringLiteral("SearchRegistModel"), true);
      if (ConfigManager *config = ConfigManager::sharedConfigManager())
        config->writeToFile();
    }
  } else if (m_nCheckNetStatusTimes_ <= 4 && dict.value(QStringLiteral("NetSearchForIndiaIdea")).toBool()) {
    searchingNetworkUI(true);
    ++m_nCheckNetStatusTimes_;
    QTimer::singleShot(m_nCheckNetStatusTimes_ == 1 ? 20000 : 10000, this, [this] { checkStatusAfterManualSelect(); });
  } else {
    m_nCheckNetStatusTimes_ = 0;
    if (boolOf(dict, QStringLiteral("Setting"), QStringLiteral("BackToNetSelectList"))) {
      alert(QStringLiteral("Failed"), [this] {
        if (netSelectWindow)
          netSelectWindow->open();
        setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
      });
    } else {
      if (keepSheet) {
        alert(QStringLiteral("Failed"));
        hasRegisteringNetFlagValue_ = false;
        selectNetRow(-1);
        if (netListModel_)
          netListModel_->reload();
      } else {
        alert(QStringLiteral("Failed"), [this, row] { registerCurrentNetworkAfterFailure(row); });
      }
      searchingNetworkUI(true);
      sendAutoNetSelectToBack();
      if (boolOf(dict, QStringLiteral("Setting"), QStringLiteral("backToAutoModeAfterSelNetFail"))) {
        selectRow(m_MethodToSelectNet, 0);
        enable(m_NetworkFindModeSeletion, true);
      }
    }
  }
  posted();
}

void SettingController::dealWithMsgOfSetSearchNetMode(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.result != 0)
    return;
  if (!m_ManualSelectFlag) {
    if (boolOf(settingDict(), QStringLiteral("Internet"), QStringLiteral("backToAutoModeAfterSelNetSuccess")))
      selectRow(m_MethodToSelectNet, 0);
    selectTag(m_NetworkFindModeSeletion, networkFindModeTag());
  }
  ConnectionNeighbour *dial = Neighbourhood::connection();
  const int status = dial ? dial->connectStatus() : 0;
  if (!m_ManualSelectFlag && status == 0) {
    searchingNetworkUI(false);
    ruvozUISetMatrixEnable(false);
  }
}
