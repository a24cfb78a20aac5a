// The account sheet asked before a connect, the input filters of the profile and account fields,
// and the wording of the profile windows.
#include "ButtonMatrix.h"
#include "ConfigService.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "DialServiceTransplant.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

using namespace dialsupport;

// ---- input filters ----

QString DialController::formatTelephoneNumber(const QString &text) const {
  return DialServiceTransplant::checkToFormatTelephoneNumber(text);
}

QString DialController::formatAPN(const QString &text) const {
  return DialServiceTransplant::checkToFormatAPN(text);
}

QString DialController::formatPassword(const QString &text) const {
  ConfigService *config = ConfigService::sharedConfigService();
  const int limit = config ? config->getPassWordLimitLen() : 0;
  return DialServiceTransplant::checkToFormatPassword(text, limit < 1 ? 30 : limit);
}

QString DialController::formatIPv6DNS(const QString &text) const {
  return DialServiceTransplant::checkToFormatIPv6DNS(text);
}

void DialController::controlTextDidChange(QLineEdit *field) {
  if (!field)
    return;
  QString filtered;
  if (field == m_eTelephoneNumber)
    filtered = formatTelephoneNumber(field->text());
  else if (field == m_eAPN)
    filtered = formatAPN(field->text());
  else if (field == m_eUsername || field == m_ePassword || field == winUernameText_ || field == winPasswordText_)
    filtered = formatPassword(field->text());
  else if (field == tfPreferDNSIPv6_ || field == tfAltDNSIPv6_)
    filtered = formatIPv6DNS(field->text());
  else
    return;
  if (filtered != field->text()) {
    // What was typed or pasted is cut to what the field allows, never refused.
    const int cursor = std::min(field->cursorPosition(), int(filtered.size()));
    field->setText(filtered);
    field->setCursorPosition(cursor);
  }
}

// ---- account sheet ----

bool DialController::checkAPNAccountFlag() const {
  return SettingValue::toBool(
      moduleValue(const_cast<DialController *>(this)->settingDict(), kInternet, QStringLiteral("CheckAPNAccount")));
}

bool DialController::checkAPNAccount() {
  const QVariantMap profile = currentProfile();
  if (!SettingValue::toBool(profile.value(QStringLiteral("askUsernameFlag"))))
    return false;
  if (winUernameText_)
    winUernameText_->setText(profile.value(QStringLiteral("accountName")).toString());
  if (winPasswordText_)
    winPasswordText_->setText(profile.value(QStringLiteral("password")).toString());
  if (winAskUsernameCheck_)
    winAskUsernameCheck_->setChecked(SettingValue::toInt(profile.value(QStringLiteral("saveUsernameFlag"))) == 1);
  accountAccepted_ = false;
  const int answer = runProfileSheet(checkUernameWin_, QStringLiteral("checkUernameWin"));
  if (!accountAccepted_) {
    if (answer == 1)
      checkWindowOK();
    else
      checkWindowCancel();
  }
  return true;
}

void DialController::checkWindowOK(QObject *) {
  const int index = m_IndexOfComboBoxSelectionNow - 1;
  accountAccepted_ = true;
  if (checkUernameWin_ && checkUernameWin_->isVisible())
    checkUernameWin_->done(QDialog::Accepted);
  if (index < 0 || index >= dialConfigArray.size())
    return;
  QVariantMap profile = dialConfigArray.at(index).toMap();
  profile.insert(QStringLiteral("accountName"), winUernameText_ ? winUernameText_->text() : QString());
  profile.insert(QStringLiteral("password"), winPasswordText_ ? winPasswordText_->text() : QString());
  dialConfigArray[index] = profile;
  // The backend gets the typed account for this connect whatever is kept afterwards.
  setDialParams();
  if (winAskUsernameCheck_ && winAskUsernameCheck_->isChecked()) {
    profile.insert(QStringLiteral("saveUsernameFlag"), 1);
  } else {
    profile.insert(QStringLiteral("saveUsernameFlag"), 0);
    profile.insert(QStringLiteral("accountName"), QString(""));
    profile.insert(QStringLiteral("password"), QString(""));
  }
  dialConfigArray[index] = profile;
  saveDialConfigFile();
  displayAPNInfo();
  setConnectBtnEnable(false);
  // The account step is one of the checks before a connect: the ones after it still apply.
  QTimer::singleShot(50, this, [this] {
    ++performDialOptionRequests_;
    resumeConnectAfterAccount(m_ConnectButton ? static_cast<QObject *>(m_ConnectButton.data()) : this);
  });
}

void DialController::checkWindowCancel(QObject *) {
  accountAccepted_ = true;
  if (checkUernameWin_ && checkUernameWin_->isVisible())
    checkUernameWin_->done(QDialog::Rejected);
}

// ---- wording ----

namespace {
void setWording(QLabel *label, const char *key) {
  if (label)
    label->setText(word(QLatin1String(key)));
}
void setTitle(QAbstractButton *button, const char *key) {
  if (button)
    button->setText(word(QLatin1String(key)));
}
void setCells(ButtonMatrix *group, std::initializer_list<const char *> keys) {
  if (!group)
    return;
  int row = 0;
  for (const char *key : keys)
    if (QAbstractButton *cell = group->cellAtRow(row++, 0))
      cell->setText(word(QLatin1String(key)));
}
void setAuthCells(ButtonMatrix *group, bool withNone) {
  if (!group)
    return;
  const int rows = withNone ? 3 : 2;
  if (group->numberOfRows() != rows) {
    const int selected = group->selectedIndex();
    group->renewRows(rows, 1);
    if (selected >= 0 && selected < rows)
      group->cellAtRow(selected, 0)->setChecked(true);
    else
      group->cellAtRow(0, 0)->setChecked(true);
  }
  if (withNone)
    setCells(group, {"NONE", "PAP", "CHAP"});
  else
    setCells(group, {"PAP", "CHAP"});
}
} // namespace

void DialController::Init_config_nib() {
  // The profile box of the Internet page.
  setWording(Net_DefaultConfiguration, "Default Configuration:");
  setWording(Net_TelNumber, "Telephone Number:");
  setWording(Net_UserName, "UserName:");
  setWording(Net_Password, "Password:");
  setWording(Config_Profile, "Profile:");
  setWording(Config_TelNumber, "Telephone Number:");
  setWording(Config_UserName, "UserName:");
  setWording(Config_Password, "Password:");
  setWording(Config_APN, "APN:");
  setWording(Config_PreferredDNS, "Preferred DNS:");
  setWording(labelPreDNSIPv6_, "Preferred DNS:");
  setWording(Config_AlternateDNS, "Alternate DNS:");
  setWording(labelAltDNSIPv6_, "Alternate DNS:");
  setWording(Config_Address, "Address:");
  setWording(Config_AuthMode, "Authertication Mode:");
  setTitle(m_editProfileBtn, "Edit");
  setTitle(m_browseProfileBtn, switchOn(settingDict(), QStringLiteral("specialSoftVersion"), QStringLiteral("DAVU&ZID"))
                                   ? "APN Browse"
                                   : "Browse");
  setTitle(m_closeBtnForConfig, "Close");
  setTitle(m_AddAPNInfoBtn, "Add");
  setTitle(m_DelAPNInfoBtn, "Delete");
  setTitle(m_bIsSaveUserInfo, "Save Username and Password");
  setTitle(bAskUernameCheck_, "Ask for User Name and Password");
  if (m_configListView)
    m_configListView->setHorizontalHeaderLabels({word(QStringLiteral("Configurations"))});
  setCells(m_bIsAutoObtainAPN, {"Obtain APN address automatically", "Use the following APN name"});
  setCells(m_bIsAutoObtainDNS, {"Obtain DNS server address automatically", "Use the following DNS server address"});
  setCells(radioObtainDNSIPv6_,
           {"Obtain IPv6 DNS server address automatically", "Use the following IPv6 DNS server address"});
  setCells(m_bIsAutoObtainPDP, {"Obtain PDP address automatically", "Use the following PDP address"});
  const bool withNone = switchOn(settingDict(), kInternet, QStringLiteral("HavePPPAuthNone"));
  setAuthCells(m_bAuthMode, withNone);
  if (checkAPNAccountFlag()) {
    setWording(winUernameLabel_, "UserName:");
    setWording(winPasswordLabel_, "Password:");
    setTitle(winAskUsernameCheck_, "Save Username and Password");
    setTitle(askWinOK_, "OK");
    setTitle(askWinCancel_, "Cancel");
  }
  if (m_dialConfigWindow)
    m_dialConfigWindow->setWindowTitle(word(QStringLiteral("Edit Configuration")));
}

void DialController::Init_editConfig_nib() {
  setWording(EditConfig_Profile, "Profile:");
  setWording(EditConfig_TelNumber, "Telephone Number:");
  setWording(EditConfig_UserName, "UserName:");
  setWording(EditConfig_Password, "Password:");
  setWording(EditConfig_APN, "APN:");
  setWording(EditConfig_PreferredDNS, "Preferred DNS:");
  setWording(EditConfig_AlternateDNS, "Alternate DNS:");
  setWording(EditConfig_Address, "Address:");
  setWording(EditConfig_AuthMode, "Authertication Mode:");
  setTitle(m_profileEditOKBtn, "OK");
  setTitle(m_profileEditCancelBtn, "Cancel");
  setTitle(m_eIsSaveUserInfo, "Save Username and Password");
  setTitle(eAskUernameCheck_, "Ask for User Name and Password");
  setCells(m_eIsAutoObtainAPN, {"Obtain APN address automatically", "Use the following APN name"});
  setCells(m_eIsAutoObtainDNS, {"Obtain DNS server address automatically", "Use the following DNS server address"});
  setCells(m_eIsAutoObtainPDP, {"Obtain PDP address automatically", "Use the following PDP address"});
  setCells(radioObtainApnIPv6_, {"Obtain APN address automatically", "Use the following APN name"});
  setCells(radioObtainPdpIPv6_, {"Obtain PDP address automatically", "Use the following PDP address"});
  setTitle(checkSavePasswordForIPv6_, "Save Username and Password");
  setAuthCells(radioAuthModeIPv6_, false);
  setAuthCells(m_eAuthMode, switchOn(settingDict(), kInternet, QStringLiteral("HavePPPAuthNone")));
  if (tabviewApnSettings_ && tabviewApnSettings_->count() >= 2) {
    tabviewApnSettings_->setTabText(0, word(QStringLiteral("Common")));
    tabviewApnSettings_->setTabText(1, word(QStringLiteral("Advanced")));
  }
  if (m_profileEditWin)
    m_profileEditWin->setWindowTitle(word(QStringLiteral("Edit")));
}

void DialController::setNewDialConfig() {
  const auto wire = [this](QAbstractButton *button, void (DialController::*action)(QObject *)) {
    if (button)
      connect(button, &QAbstractButton::clicked, this, [this, button, action] { (this->*action)(button); });
  };
  wire(m_editProfileBtn, &DialController::editDialConfigSettings);
  wire(m_browseProfileBtn, &DialController::browseDialConfigSettings);
  wire(m_closeBtnForConfig, &DialController::closeDialConfigSettings);
  wire(m_AddAPNInfoBtn, &DialController::AddAPNInfo);
  wire(m_DelAPNInfoBtn, &DialController::DelAPNInfo);
  wire(m_profileEditCancelBtn, &DialController::editWindowCancel);
  wire(m_profileEditOKBtn, &DialController::editWindowOK);
  wire(m_eIsSaveUserInfo, &DialController::saveAPNPassword);
  wire(askWinOK_, &DialController::checkWindowOK);
  wire(askWinCancel_, &DialController::checkWindowCancel);
  wire(checkSinglePdp_, &DialController::setUseSinglePdpForIPv6);
  wire(checkSavePasswordForIPv6_, &DialController::saveAPNPasswordIPv6);
  const auto wireGroup = [this](ButtonMatrix *group, void (DialController::*action)(QObject *)) {
    if (group)
      connect(group, &ButtonMatrix::cellActivated, this, [this, group, action] { (this->*action)(group); });
  };
  wireGroup(m_eIsAutoObtainAPN, &DialController::selectObtainAPNType);
  wireGroup(m_eIsAutoObtainPDP, &DialController::selectObtainPDPType);
  wireGroup(m_eIsAutoObtainDNS, &DialController::selectObtainDNSType);
  wireGroup(ePDPTypeGroup_, &DialController::setPdpTypeStatus);
  wireGroup(radioObtainPdpIPv6_, &DialController::selectObtainPDPTypeIPv6);
  wireGroup(radioObtainDNSIPv6_, &DialController::selectObtainDNSTypeIPv6);
  for (QLineEdit *field :
       {m_eUsername.data(), m_ePassword.data(), m_eTelephoneNumber.data(), m_eAPN.data(), winUernameText_.data(),
        winPasswordText_.data(), tfPreferDNSIPv6_.data(), tfAltDNSIPv6_.data()})
    if (field)
      connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });
  if (m_configListView)
    connect(m_configListView, &QTableWidget::itemSelectionChanged, this, [this] { tableViewSelectionDidChange(); });
  if (m_DialConfigList)
    connect(
        m_DialConfigList, qOverload<int>(&QComboBox::activated), this,
        [this](int index) { comboBoxSelectionDidChange(index); }, Qt::QueuedConnection);
  if (btnEnableAutoAPNMatch_)
    connect(btnEnableAutoAPNMatch_, &QCheckBox::clicked, this, [this] { enableAutoApnMatch(btnEnableAutoAPNMatch_); });
  if (tabviewApnSettings_) {
    // Its tabs follow the buttons only, never a click on a tab.
    tabviewApnSettings_->tabBar()->setEnabled(false);
  }
}
