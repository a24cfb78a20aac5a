#include "WLANController.h"

#include "ConfigService.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "QELFormatter.h"
#include "WifiController.h"
#include "WordGlobe.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

using namespace WLANChecks;

WLANController *g_WLANController = nullptr;

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}
} // namespace

WLANController::WLANController(QObject *parent) : QELUIController(parent) {
  g_WLANController = this;
  Neighbourhood::setWlan(this);
  wep.wepkeyindex = 1;
  for (quint32 &format : wep.keyModel)
    format = 1; // ASCII
}

WLANController::~WLANController() {
  if (g_WLANController == this)
    g_WLANController = nullptr;
  Neighbourhood::leave(static_cast<WlanNeighbour *>(this));
}

const QStringList &WLANController::tabIdentifiers() {
  static const QStringList ids = {QStringLiteral("WLAN Basic"), QStringLiteral("WLAN Security"),
                                  QStringLiteral("Firewall"), QStringLiteral("Router")};
  return ids;
}

namespace {
const char *switchOfTab(const QString &identifier) {
  if (identifier == QLatin1String("WLAN Basic"))
    return "WLANBasic";
  if (identifier == QLatin1String("WLAN Security"))
    return "WLANSecurity";
  if (identifier == QLatin1String("Firewall"))
    return "Firewall";
  return "Router";
}

int tabIndexOf(QTabWidget *tabs, const QString &identifier) {
  if (!tabs)
    return -1;
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->widget(i) && tabs->widget(i)->objectName() == identifier)
      return i;
  return -1;
}
} // namespace

bool WLANController::tabIsOn(const QString &identifier) const {
  return ConfigService::readBool(QStringLiteral("WLANTAB"), QLatin1String(switchOfTab(identifier))) &&
         tabIndexOf(WLANTab, identifier) >= 0;
}

// ---- hooks ----

void WLANController::initializeNibResources() {
  initTab();
  for (int t = 0; t < 4; ++t)
    if (tabIsOn(tabIdentifiers().at(t)))
      applyWording(t);
}

void WLANController::initTab() {
  for (const QString &identifier : tabIdentifiers()) {
    if (ConfigService::readBool(QStringLiteral("WLANTAB"), QLatin1String(switchOfTab(identifier))))
      continue;
    const int index = tabIndexOf(WLANTab, identifier);
    if (index >= 0) {
      QWidget *page = WLANTab->widget(index);
      WLANTab->removeTab(index);
      page->deleteLater();
    }
  }
}

namespace {
// A rule table's titles, worded; each column at least as wide as its title.
void wordRuleTableHeaders(QTableWidget *table) {
  QHeaderView *header = table->horizontalHeader();
  const QFontMetrics metrics(header->font());
  for (int column = 0; column < table->columnCount(); ++column) {
    QTableWidgetItem *item = table->horizontalHeaderItem(column);
    if (!item)
      continue;
    item->setText(Map_Name_Item_of_IndexString(item->data(Qt::UserRole).toString()));
    const int needs = metrics.horizontalAdvance(item->text()) + 24;
    if (header->sectionSize(column) < needs)
      header->resizeSection(column, needs);
  }
}
} // namespace

// The texts of a tab, once: its label, its box, labels and buttons, then what its combos start
// with.
void WLANController::applyWording(int tab) {
  const QString identifier = tabIdentifiers().at(tab);
  const int index = tabIndexOf(WLANTab, identifier);
  if (index >= 0)
    WLANTab->setTabText(index, word(identifier));
  for (const auto &[control, key] : wordedControls[tab]) {
    if (auto *label = qobject_cast<QLabel *>(control.data()))
      label->setText(word(key));
    else if (auto *button = qobject_cast<QAbstractButton *>(control.data()))
      button->setText(word(key));
    else if (auto *box = qobject_cast<QGroupBox *>(control.data()))
      box->setTitle(word(key));
    else if (auto *table = qobject_cast<QTableWidget *>(control.data()))
      wordRuleTableHeaders(table);
    else if (auto *sheet = qobject_cast<QDialog *>(control.data()))
      sheet->setWindowTitle(word(key));
  }
  switch (tab) {
  case 0:
    for (QComboBox *c : {channel.data(), WLANMode.data(), WLANRate.data()})
      reloadComboItems(c);
    if (channel)
      channel->setEditText(word(QString()));
    if (WLANRate)
      WLANRate->setEditText(word(QString()));
    break;
  case 1:
    for (QComboBox *c : {authenticationType.data(), encryptionMode.data(), MAXNum.data(), WEPKeyIndex.data()})
      reloadComboItems(c);
    for (const auto &c : WEPKeyModel)
      reloadComboItems(c);
    break;
  case 2:
    for (QComboBox *c : {IPFilterPolicy.data(), IF_Protocol.data(), IF_Action.data(), VS_Protocol.data()})
      reloadComboItems(c);
    if (IPFilterPolicy)
      IPFilterPolicy->setEditText(word(QString()));
    break;
  default:
    break;
  }
}

void WLANController::registerMessages() {
  static const char *const kHandlers[] = {"dealWithWifi:",
                                          "dealWithWifiBasic:",
                                          "dealWithWifiSecurity:",
                                          "dealWithWifiSecurityShare:",
                                          "dealWithWifiSecurityWAP_PSK:",
                                          "dealWithEnableIPFilter:",
                                          "dealWithIPFilterList:",
                                          "dealWithEnableVirtualServer:",
                                          "dealWithVirtualServerList:",
                                          "dealWithDMZ:",
                                          "dealWithDHCP:",
                                          "dealWithUPNP:"};
  if (qelMsgCenter) {
    for (int i = 0; i < 12; ++i)
      qelMsgCenter->registerObserver(this, QByteArray(kHandlers[i]), WLANMsg::kSetMajor, WLANMsg::kSetWifi + i);
    for (int i = 0; i < 12; ++i)
      qelMsgCenter->registerObserver(this, QByteArray(kHandlers[i]), WLANMsg::kReadMajor, WLANMsg::kReadWifi + i);
  }
  registerNotification(WLANObserverTable);
}

void WLANController::initializeController() {
  set_WLAN_States(false);
  setWEPKeyControlsHidden(true);
  if (showPassPhrase)
    showPassPhrase->setChecked(false);
  // Until the router's first read every control stays disabled: say why.
  setStatusNote(QStringLiteral("WLAN_RouterUnavailable"));
}

void WLANController::showSecrets(bool shown) {
  const QLineEdit::EchoMode mode = shown ? QLineEdit::Normal : QLineEdit::Password;
  if (WPAPreShredKey)
    WPAPreShredKey->setEchoMode(mode);
  for (const auto &key : WEPKey)
    if (key)
      key->setEchoMode(mode);
}

void WLANController::setStatusNote(const QString &key) {
  statusNoteKey_ = key;
  if (!statusNote)
    return;
  statusNote->setText(key.isEmpty() ? QString() : word(key));
  statusNote->setVisible(!key.isEmpty());
}

void WLANController::routerAnswered() {
  if (statusNoteKey_ == QLatin1String("WLAN_RouterUnavailable"))
    setStatusNote({});
}

void WLANController::settingApplied() {
  setStatusNote(QStringLiteral("Settings successful!"));
  // The note is feedback, not a state: it goes by itself unless something else took its place.
  QTimer::singleShot(5000, this, [this] {
    if (statusNoteKey_ == QLatin1String("Settings successful!"))
      setStatusNote({});
  });
}

void WLANController::loadCommonBundle() {
  if (qEnvironmentVariableIsEmpty("QEL_WIFI_PANEL") || wifiPanel)
    return;
  wifiPanel = new WifiController(wndMain);
  wifiPanel->awakeFromNib();
  wifiPanel->show();
}

void WLANController::deviceRemoved(const Notification &) {
  initializeController();
}

// ---- section states ----

void WLANController::set_WLAN_States(bool enable) {
  set_Basic_States(enable);
  set_Security_States(enable);
  set_Firewall_States(enable);
  set_Router_States(enable);
}

void WLANController::set_Basic_States(bool enable) {
  if (!tabIsOn(QStringLiteral("WLAN Basic")))
    return;
  for (QWidget *w : std::initializer_list<QWidget *>{wifiRestore, SSIDName, channel, WLANMode, WLANRate, WLANBasicApply,
                                                     WLANBasicCancel})
    if (w)
      w->setEnabled(enable);
  if (brocastEnable)
    for (QAbstractButton *b : brocastEnable->buttons())
      b->setEnabled(enable);
  if (!enable) {
    if (SSIDName)
      SSIDName->clear();
    for (QComboBox *c : {channel.data(), WLANMode.data(), WLANRate.data()})
      if (c)
        c->setEditText(QString());
  }
}

void WLANController::set_Security_States(bool enable) {
  if (!tabIsOn(QStringLiteral("WLAN Security")))
    return;
  for (QWidget *w : std::initializer_list<QWidget *>{authenticationType, encryptionMode, MAXNum, WPAPreShredKey,
                                                     WLANSecurityApply, WLANSecurityCancel})
    if (w)
      w->setEnabled(enable);
}

void WLANController::set_Router_States(bool enable) {
  if (!tabIsOn(QStringLiteral("Router")))
    return;
  for (QWidget *w : std::initializer_list<QWidget *>{IPAddress, subnetMask, DHCPStartIP, DHCPEndIP, DHCPLeaseTime,
                                                     DHCPApply, DHCPCancel})
    if (w)
      w->setEnabled(enable);
  if (DHCPServerEnable)
    for (QAbstractButton *b : DHCPServerEnable->buttons())
      b->setEnabled(enable);
  if (!enable) {
    for (QLineEdit *f : {IPAddress.data(), subnetMask.data(), DHCPStartIP.data(), DHCPEndIP.data()}) {
      setAddressFormatter(f, false);
      if (f)
        f->clear();
    }
    if (DHCPLeaseTime)
      DHCPLeaseTime->clear();
  }
}

void WLANController::setWEPKeyControlsHidden(bool hidden) {
  if (!tabIsOn(QStringLiteral("WLAN Security")))
    return;
  for (int i = 0; i < 4; ++i)
    for (QWidget *w : std::initializer_list<QWidget *>{WEPKeyLabel[i], WEPKey[i], WEPKeyModel[i]})
      if (w)
        w->setHidden(hidden);
  if (WEPKeyIndexLabel)
    WEPKeyIndexLabel->setHidden(hidden);
  if (WEPKeyIndex)
    WEPKeyIndex->setHidden(hidden);
  for (int i = 0; i < 4; ++i) {
    if (WEPKeyModel[i])
      WEPKeyModel[i]->setEditText(getComboxDisplay(wep.keyModel[i], keyFormatTable()));
    if (WEPKey[i])
      WEPKey[i]->setText(wep.key[i]);
  }
  if (WEPKeyIndex)
    WEPKeyIndex->setEditText(QString::number(wep.wepkeyindex));
}

// ---- combo data ----

namespace {
const ValueTable *tableOf(const WLANController *c, QComboBox *combo) {
  if (!combo)
    return nullptr;
  if (combo == c->channel)
    return &channelTable();
  if (combo == c->WLANMode)
    return &modeTable();
  if (combo == c->WLANRate)
    return rateTableForModeText(c->WLANMode ? c->WLANMode->currentText() : QString());
  if (combo == c->authenticationType)
    return &authenticationTable();
  if (combo == c->encryptionMode) {
    const int auth = getIndexofString(c->authenticationType ? c->authenticationType->currentText() : QString(),
                                      authenticationTable());
    return auth == 0 || auth == 1 ? &encryptionTable() : &wpaCipherTable();
  }
  if (combo == c->MAXNum)
    return &stationTable();
  if (combo == c->WEPKeyIndex)
    return &keyIndexTable();
  for (const auto &m : c->WEPKeyModel)
    if (combo == m)
      return &keyFormatTable();
  if (combo == c->IPFilterPolicy)
    return &policyTable();
  if (combo == c->IF_Action)
    return &actionTable();
  if (combo == c->IF_Protocol || combo == c->VS_Protocol)
    return &protocolTable();
  return nullptr;
}
} // namespace

int WLANController::numberOfItemsInComboBox(QComboBox *combo) const {
  if (combo && combo == VS_Protocol)
    return 3;
  const ValueTable *table = tableOf(this, combo);
  if (!table)
    return combo == WLANRate ? 1 : 0; // a rate list for an unknown mode has one empty item
  return int(table->size());
}

QString WLANController::comboBoxObjectValueForItemAtIndex(QComboBox *combo, int index) const {
  const ValueTable *table = tableOf(this, combo);
  return table ? getComboxDisplay(index, *table) : QString();
}

void WLANController::reloadComboItems(QComboBox *combo) {
  if (!combo)
    return;
  const QString shown = combo->currentText();
  const QSignalBlocker blocker(combo);
  combo->clear();
  const int n = numberOfItemsInComboBox(combo);
  for (int i = 0; i < n; ++i)
    combo->addItem(comboBoxObjectValueForItemAtIndex(combo, i));
  combo->setCurrentIndex(-1);
  combo->setEditText(shown);
}

// ---- delegate dispatch ----

void WLANController::comboBoxSelectionDidChange(QComboBox *combo) {
  if (!combo)
    return;
  if (combo == channel || combo == WLANMode || combo == WLANRate) {
    setBasicButtons(true);
    if (combo == WLANMode) {
      reloadComboItems(WLANRate);
      WLANRate->setEditText(comboBoxObjectValueForItemAtIndex(WLANRate, 0));
    }
    return;
  }
  if (combo == authenticationType || combo == encryptionMode || combo == MAXNum || combo == WEPKeyIndex) {
    setSecurityButtons(true);
    if (combo == authenticationType)
      authenticationChosen();
    else if (combo == encryptionMode)
      encryptionChosen();
    return;
  }
  for (int i = 0; i < 4; ++i) {
    if (combo == WEPKeyModel[i]) {
      setSecurityButtons(true);
      if (WEPKey[i])
        WEPKey[i]->clear();
      return;
    }
  }
  if (combo == IPFilterPolicy)
    policyChosen();
  else if (combo == IF_Protocol)
    protocolChosen();
}

void WLANController::controlTextDidChange(QLineEdit *field) {
  if (!field)
    return;
  if (field == SSIDName) {
    setBasicButtons(true);
    runFilter(field, asciiFilter(field->text(), true));
  } else if (field == WPAPreShredKey) {
    setSecurityButtons(true);
    const QString text = field->text();
    runFilter(field, text.size() > 63 ? hexFilter(text, 64) : asciiFilter(text, false));
  } else if (field == IPAddress || field == subnetMask || field == DHCPStartIP || field == DHCPEndIP) {
    setRouterButtons(true);
  } else if (field == DHCPLeaseTime) {
    setRouterButtons(true);
    runFilter(field, leaseFilter(field->text()));
  } else if (field == IF_Name || field == VS_Name) {
    runFilter(field, asciiFilter(field->text(), true));
  } else if (field == IF_SourcePortStart || field == IF_SourcePortEnd || field == IF_DestPortStart ||
             field == IF_DestPortEnd || field == VS_PortStart || field == VS_PortEnd) {
    runFilter(field, portFilter(field->text()));
  } else {
    for (int i = 0; i < 4; ++i) {
      if (field == WEPKey[i]) {
        setSecurityButtons(true);
        const bool ascii = WEPKeyModel[i] && WEPKeyModel[i]->currentText() == word(QStringLiteral("ASCII"));
        runFilter(field, ascii ? asciiFilter(field->text(), true) : hexFilter(field->text(), 26));
        return;
      }
    }
    for (const auto &mac : IF_MACAddress)
      if (field == mac)
        runFilter(field, macFilter(field->text()));
  }
}

void WLANController::runFilter(QLineEdit *field, const Filtered &result) {
  if (result.text != field->text())
    field->setText(result.text);
  if (!result.alert.isEmpty())
    alertOK(result.alert);
}

void WLANController::alertOK(const QString &key) {
  NSRunAlertPanelExt(word(QStringLiteral("Warning!")), word(key), word(QStringLiteral("OK")));
}

void WLANController::setBasicButtons(bool on) {
  for (QPushButton *b : {WLANBasicApply.data(), WLANBasicCancel.data()})
    if (b)
      b->setEnabled(on);
}

void WLANController::setSecurityButtons(bool on) {
  for (QPushButton *b : {WLANSecurityApply.data(), WLANSecurityCancel.data()})
    if (b)
      b->setEnabled(on);
}

void WLANController::setRouterButtons(bool on) {
  for (QPushButton *b : {DHCPApply.data(), DHCPCancel.data()})
    if (b)
      b->setEnabled(on);
}

void WLANController::setAddressFormatter(QLineEdit *field, bool on) {
  if (!field)
    return;
  const auto bindings = field->findChildren<QELFormatterBinding *>(Qt::FindDirectChildrenOnly);
  if (on && bindings.isEmpty())
    setFormatter(field, std::shared_ptr<const QELFormatter>(IPAddressFormatter::defaultIPAddressFormatter()));
  if (!on)
    qDeleteAll(bindings);
}
