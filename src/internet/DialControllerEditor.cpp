// The profile editor of DialController: the management sheet with its table and browse view,
// the edit sheet, filling and checking the fields of one profile, and which controls may change.
#include "ButtonMatrix.h"
#include "ConfigService.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "ModalQuestions.h"
#include "QELAlertPanel.h"
#include "QELFormatter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace dialsupport;

namespace {
int selectedRow(const ButtonMatrix *group) {
  if (!group || group->numberOfColumns() <= 0 || group->selectedIndex() < 0)
    return 0;
  return group->selectedIndex() / group->numberOfColumns();
}

void selectRow(ButtonMatrix *group, int row) {
  if (!group)
    return;
  if (QAbstractButton *cell = group->cellAtRow(row, 0))
    cell->setChecked(true);
}

void enable(QWidget *w, bool on) {
  if (w)
    w->setEnabled(on);
}

void emptyAndEnable(QLineEdit *field, bool on) {
  if (!field)
    return;
  if (!on)
    field->clear();
  field->setEnabled(on);
}

QString textOf(const QLineEdit *field) {
  return field ? field->text() : QString();
}

bool checked(const QCheckBox *box) {
  return box && box->isChecked();
}

void removeFormatter(QLineEdit *field) {
  if (!field)
    return;
  for (QELFormatterBinding *b : field->findChildren<QELFormatterBinding *>(Qt::FindDirectChildrenOnly))
    delete b;
}

void giveIPAddressFormatter(QLineEdit *field) {
  removeFormatter(field);
  setFormatter(field, std::shared_ptr<const QELFormatter>(IPAddressFormatter::defaultIPAddressFormatter()));
}
} // namespace

QString DialController::createNewProvider() const {
  const QString format = word(QStringLiteral("New%d"));
  for (int n = 1;; ++n) {
    QString name = format;
    name.replace(QLatin1String("%d"), QString::number(n));
    bool used = false;
    for (const QVariant &entry : dialConfigArray)
      if (entry.toMap().value(QStringLiteral("provider")).toString() == name)
        used = true;
    if (!used || n > dialConfigArray.size() + 1)
      return name;
  }
}

QString DialController::createDialNumber() const {
  const QVariantMap &settings = const_cast<DialController *>(this)->settingDict();
  return switchOn(settings, kInternet, QStringLiteral("AddNewAPNWithDefaultTelNum")) ? QStringLiteral("*99#")
                                                                                     : QStringLiteral("");
}

QString DialController::getApnProviderNameWith(const QVariantMap &profile) const {
  const QVariant v = profile.value(QStringLiteral("provider"));
  if (v.typeId() != QMetaType::QString)
    return QStringLiteral("");
  const QVariantMap &settings = const_cast<DialController *>(this)->settingDict();
  if (switchOn(settings, QString(), QStringLiteral("NotChangeProviderWording")))
    return v.toString();
  return word(v.toString());
}

void DialController::setdialControls(QWidget *control, const QVariantMap &profile, const QString &key) {
  if (!control || key.isEmpty())
    return;
  if (auto *field = qobject_cast<QLineEdit *>(control)) {
    field->setText(getSafeDialStrParas(profile, key).toString());
  } else if (auto *group = qobject_cast<ButtonMatrix *>(control)) {
    selectRow(group, getSafeDialNumParas(profile, key).toInt());
  } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
    button->setChecked(getSafeDialNumParas(profile, key).toInt() != 0);
  }
}

void DialController::setBrowseWinValue(const QVariantMap &profile) {
  if (m_bProviderForConfig)
    m_bProviderForConfig->setText(getApnProviderNameWith(profile));
  setdialControls(m_bTelephoneNumber, profile, QStringLiteral("telNumber"));
  setdialControls(m_bIsSaveUserInfo, profile, QStringLiteral("saveUsernameFlag"));
  setdialControls(bAskUernameCheck_, profile, QStringLiteral("askUsernameFlag"));
  setdialControls(m_bUsername, profile, QStringLiteral("accountName"));
  setdialControls(m_bPassword, profile, QStringLiteral("password"));
  setdialControls(m_bIsAutoObtainAPN, profile, QStringLiteral("apnFlag"));
  setdialControls(m_bAPN, profile, QStringLiteral("apnName"));
  setdialControls(m_bIsAutoObtainDNS, profile, QStringLiteral("dnsFlag"));
  setdialControls(m_bPreferredDNS, profile, QStringLiteral("preDns"));
  setdialControls(m_bAlternateDNS, profile, QStringLiteral("altDns"));
  setdialControls(m_bIsAutoObtainPDP, profile, QStringLiteral("pdpFlag"));
  setdialControls(m_bPDPAddress, profile, QStringLiteral("pdpAddress"));
  setdialControls(m_bAuthMode, profile, QStringLiteral("pppFlag"));
  displayPDPAt(bPDPTypeGroup_, getSafeDialNumParas(profile, QStringLiteral("pdpType")).toInt());
  setdialControls(tfBrowseApnIPv6_, profile, QStringLiteral("IPv6ApnName"));
}

void DialController::setEditWinValue(const QVariantMap &profile) {
  if (m_eProviderForConfig)
    m_eProviderForConfig->setText(getApnProviderNameWith(profile));
  setdialControls(m_eTelephoneNumber, profile, QStringLiteral("telNumber"));
  setdialControls(m_eIsSaveUserInfo, profile, QStringLiteral("saveUsernameFlag"));
  setdialControls(eAskUernameCheck_, profile, QStringLiteral("askUsernameFlag"));
  setdialControls(m_eUsername, profile, QStringLiteral("accountName"));
  setdialControls(m_ePassword, profile, QStringLiteral("password"));
  setdialControls(m_eIsAutoObtainAPN, profile, QStringLiteral("apnFlag"));
  setdialControls(m_eAPN, profile, QStringLiteral("apnName"));
  setdialControls(m_eIsAutoObtainDNS, profile, QStringLiteral("dnsFlag"));
  setdialControls(m_ePreferredDNS, profile, QStringLiteral("preDns"));
  setdialControls(m_eAlternateDNS, profile, QStringLiteral("altDns"));
  setdialControls(m_eIsAutoObtainPDP, profile, QStringLiteral("pdpFlag"));
  setdialControls(m_ePDPAddress, profile, QStringLiteral("pdpAddress"));
  setdialControls(m_eAuthMode, profile, QStringLiteral("pppFlag"));
  displayPDPAt(ePDPTypeGroup_, getSafeDialNumParas(profile, QStringLiteral("pdpType")).toInt());
  setAPNEditWinControlsStatus();
  displyEditDialParamsForIPv6(profile);
}

void DialController::InitAPNConfigEdit() {
  for (QLineEdit *f : {m_eProviderForConfig.data(), m_eTelephoneNumber.data(), m_eUsername.data(), m_ePassword.data(),
                       m_eAPN.data(), m_ePDPAddress.data(), m_ePreferredDNS.data(), m_eAlternateDNS.data()})
    if (f)
      f->clear();
  for (ButtonMatrix *g :
       {m_eIsAutoObtainAPN.data(), m_eIsAutoObtainPDP.data(), m_eIsAutoObtainDNS.data(), m_eAuthMode.data()})
    selectRow(g, 0);
}

void DialController::InitAPNConfigBrowse() {
  for (QLineEdit *f : {m_bProviderForConfig.data(), m_bTelephoneNumber.data(), m_bUsername.data(), m_bPassword.data(),
                       m_bAPN.data(), m_bPDPAddress.data(), m_bPreferredDNS.data(), m_bAlternateDNS.data()})
    if (f)
      f->clear();
  for (ButtonMatrix *g :
       {m_bIsAutoObtainAPN.data(), m_bIsAutoObtainPDP.data(), m_bIsAutoObtainDNS.data(), m_bAuthMode.data()})
    selectRow(g, 0);
}

void DialController::toggleBrowserView(QObject *) {
  if (!viewDialBrowse_)
    return;
  browseViewOpen_ = !browseViewOpen_;
  const int height = viewDialBrowse_->sizeHint().height();
  viewDialBrowse_->setVisible(browseViewOpen_);
  if (m_dialConfigWindow) {
    const QSize size = m_dialConfigWindow->size();
    m_dialConfigWindow->resize(size.width(), std::max(0, size.height() + (browseViewOpen_ ? height : -height)));
  }
}

int DialController::runProfileSheet(QDialog *sheet, const QString &kind) {
  if (!sheet)
    return 0;
  ModalQuestion question;
  question.kind = kind;
  question.title = sheet->windowTitle();
  question.defaultButton = word(QStringLiteral("OK"));
  question.alternateButton = word(QStringLiteral("Cancel"));
  return ModalQuestions::runDialog(sheet, question);
}

void DialController::popUpDialConfigWindow() {
  reloadTable();
  if (browseViewOpen_)
    toggleBrowserView();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
  postTableSelectionChanged();
  runProfileSheet(m_dialConfigWindow, QStringLiteral("dialConfigWindow"));
  closeDialConfigSettings();
}

void DialController::closeDialConfigSettings(QObject *sender) {
  if (sender && m_dialConfigWindow && m_dialConfigWindow->isVisible()) {
    // The close button ends the sheet; the rest runs once it has ended.
    m_dialConfigWindow->done(QDialog::Accepted);
    return;
  }
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
  saveDialConfigFile();
  reloadComboBox();
  int current = readCurrentProfile();
  if (current >= dialConfigArray.size() && !dialConfigArray.isEmpty()) {
    current = int(dialConfigArray.size()) - 1;
    writeCurrentProfile(current);
  }
  dialConfigListSelectItemAtIndex(current + 1);
}

void DialController::editDialConfigSettings(QObject *) {
  const int row = selectedTableRow();
  if (row < 0 || row >= dialConfigArray.size())
    return;
  setEditWinValue(profileAt(row));
  if (browseViewOpen_)
    toggleBrowserView();
  forbiddenOperateIpv6Apn();
  editAccepted_ = false;
  // Invalid input never closes the sheet: a scripted OK that fails the check asks again.
  for (int round = 0; round < 50 && !editAccepted_; ++round) {
    const int answer = runProfileSheet(m_profileEditWin, QStringLiteral("profileEditWin"));
    if (editAccepted_ || answer != 1)
      break;
    editWindowOK();
  }
}

void DialController::browseDialConfigSettings(QObject *) {
  toggleBrowserView();
}

void DialController::editWindowOK(QObject *) {
  if (!checkDialConfigIsValid())
    return;
  saveCurrentDialConfig();
  editAccepted_ = true;
  if (m_profileEditWin && m_profileEditWin->isVisible())
    m_profileEditWin->done(QDialog::Accepted);
}

void DialController::editWindowCancel(QObject *) {
  if (m_profileEditWin && m_profileEditWin->isVisible())
    m_profileEditWin->done(QDialog::Rejected);
}

void DialController::runWarningPanel(const QString &messageKey) {
  NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(messageKey), word(QStringLiteral("OK")), QString());
}

bool DialController::checkProviderIsValid(const QString &name) {
  if (name.isEmpty() || name.startsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(' '))) {
    runWarningPanel(QStringLiteral("Invalid Profile!"));
    return false;
  }
  const int selected = selectedTableRow();
  for (int i = 0; i < dialConfigArray.size(); ++i) {
    if (i == selected)
      continue;
    const QVariantMap p = profileAt(i);
    if (p.value(QStringLiteral("provider")).toString() == name || getApnProviderNameWith(p) == name) {
      runWarningPanel(QStringLiteral("Name already exists, please rename!"));
      return false;
    }
  }
  return true;
}

bool DialController::checkAPNIsValid(const QString &apn) {
  if (apn.startsWith(QLatin1Char('-')) || apn.endsWith(QLatin1Char('-')) ||
      (apn.isEmpty() && selectedRow(m_eIsAutoObtainAPN) == 1)) {
    runWarningPanel(QStringLiteral("Invalid APN!"));
    return false;
  }
  return true;
}

bool DialController::checkDialConfigIsValid() {
  if (!checkProviderIsValid(textOf(m_eProviderForConfig)))
    return false;
  if (getPDPType(ePDPTypeGroup_) != 2 && !checkAPNIsValid(textOf(m_eAPN)))
    return false;
  const struct {
    QLineEdit *field;
    const char *message;
  } addresses[] = {{m_ePreferredDNS, "Invalid Preferred DNS!"},
                   {m_eAlternateDNS, "Invalid Alternate DNS!"},
                   {m_ePDPAddress, "Invalid PDP Address!"}};
  for (const auto &a : addresses) {
    if (textOf(a.field) == QLatin1String("0.0.0.0")) {
      runWarningPanel(QLatin1String(a.message));
      return false;
    }
  }
  return true;
}

void DialController::saveCurrentDialConfig() {
  const int row = selectedTableRow();
  if (row < 0 || row >= dialConfigArray.size())
    return;
  QVariantMap profile = dialConfigArray.at(row).toMap();
  const QString oldName = profile.value(QStringLiteral("provider")).toString();
  const QString name = textOf(m_eProviderForConfig);
  // A preset shown through its wording keeps its key unless the user renamed it.
  if (name != getApnProviderNameWith(profile) || oldName.isEmpty())
    profile.insert(QStringLiteral("provider"), name);
  profile.insert(QStringLiteral("telNumber"), textOf(m_eTelephoneNumber));
  profile.insert(QStringLiteral("accountName"), textOf(m_eUsername));
  profile.insert(QStringLiteral("password"), textOf(m_ePassword));
  profile.insert(QStringLiteral("apnName"), textOf(m_eAPN));
  profile.insert(QStringLiteral("pdpAddress"), textOf(m_ePDPAddress));
  profile.insert(QStringLiteral("preDns"), textOf(m_ePreferredDNS));
  profile.insert(QStringLiteral("altDns"), textOf(m_eAlternateDNS));
  profile.insert(QStringLiteral("saveUsernameFlag"), checked(m_eIsSaveUserInfo) ? 1 : 0);
  profile.insert(QStringLiteral("apnFlag"), selectedRow(m_eIsAutoObtainAPN));
  profile.insert(QStringLiteral("pdpFlag"), selectedRow(m_eIsAutoObtainPDP));
  profile.insert(QStringLiteral("dnsFlag"), selectedRow(m_eIsAutoObtainDNS));
  profile.insert(QStringLiteral("pppFlag"), selectedRow(m_eAuthMode));
  profile.insert(QStringLiteral("pdpType"), getPDPType(ePDPTypeGroup_));
  if (eAskUernameCheck_ && !eAskUernameCheck_->isHidden())
    profile.insert(QStringLiteral("askUsernameFlag"), checked(eAskUernameCheck_) ? 1 : 0);
  dialConfigArray[row] = profile;
  saveDialConfigForIPv6();
  saveDialConfigFile();
  reloadTable();
  postTableSelectionChanged();
  reloadComboBox();
  // The profile on the Internet page may be the one just edited.
  if (row == m_IndexOfComboBoxSelectionNow - 1)
    displayAPNInfo();
}

// ---- obtain modes ----

void DialController::saveAPNPassword(QObject *) {
  const bool on = checked(m_eIsSaveUserInfo);
  emptyAndEnable(m_eUsername, on);
  emptyAndEnable(m_ePassword, on);
}

void DialController::selectObtainAPNType(QObject *) {
  emptyAndEnable(m_eAPN, selectedRow(m_eIsAutoObtainAPN) != 0);
  selectObtainAPNTypeIPv6(m_eIsAutoObtainAPN);
}

void DialController::selectObtainPDPType(QObject *) {
  if (!m_ePDPAddress)
    return;
  if (selectedRow(m_eIsAutoObtainPDP) == 0) {
    removeFormatter(m_ePDPAddress);
    emptyAndEnable(m_ePDPAddress, false);
    return;
  }
  m_ePDPAddress->setEnabled(true);
  if (m_ePDPAddress->text().isEmpty())
    giveIPAddressFormatter(m_ePDPAddress);
}

void DialController::selectObtainDNSType(QObject *) {
  QLineEdit *fields[] = {m_ePreferredDNS, m_eAlternateDNS};
  if (selectedRow(m_eIsAutoObtainDNS) == 0) {
    for (QLineEdit *f : fields) {
      if (f)
        removeFormatter(f);
      emptyAndEnable(f, false);
    }
    return;
  }
  const bool bothEmpty = textOf(m_ePreferredDNS).isEmpty() && textOf(m_eAlternateDNS).isEmpty();
  for (QLineEdit *f : fields) {
    if (!f)
      continue;
    f->setEnabled(true);
    if (bothEmpty)
      giveIPAddressFormatter(f);
  }
}

// ---- which controls may change ----

void DialController::setEidtStatusAtRow(int row) {
  if (row < 0) {
    enable(m_editProfileBtn, false);
    enable(m_DelAPNInfoBtn, false);
    enable(m_browseProfileBtn, false);
  } else if (row < readDefaultProfileNum()) {
    if (!switchOn(settingDict(), QString(), QStringLiteral("AddDefaultEdit"))) {
      enable(m_editProfileBtn, false);
      enable(m_DelAPNInfoBtn, false);
      enable(m_browseProfileBtn, true);
      setUsernameAndPasswordEditable(row);
    } else {
      enable(m_editProfileBtn, true);
      enable(m_DelAPNInfoBtn, false);
    }
  } else {
    enable(m_editProfileBtn, true);
    enable(m_DelAPNInfoBtn, true);
  }
  if (row >= 0)
    enable(m_browseProfileBtn, true);
  setBtnStausForZUDE(row);
}

void DialController::setEditWinControlsStatus(bool on) {
  for (QWidget *w : std::initializer_list<QWidget *>{m_eProviderForConfig, m_eTelephoneNumber, m_eIsSaveUserInfo,
                                                     m_eUsername, m_ePassword, m_eIsAutoObtainAPN, m_eAPN,
                                                     m_eIsAutoObtainPDP, m_ePDPAddress, m_eIsAutoObtainDNS,
                                                     m_ePreferredDNS, m_eAlternateDNS, m_eAuthMode, eAskUernameCheck_})
    enable(w, on);
}

void DialController::setBrowseWinControlsStatus(bool on) {
  for (QWidget *w : std::initializer_list<QWidget *>{m_bProviderForConfig, m_bTelephoneNumber, m_bIsSaveUserInfo,
                                                     m_bUsername, m_bPassword, m_bIsAutoObtainAPN, m_bAPN,
                                                     m_bIsAutoObtainPDP, m_bPDPAddress, m_bIsAutoObtainDNS,
                                                     m_bPreferredDNS, m_bAlternateDNS, m_bAuthMode, bAskUernameCheck_})
    enable(w, on);
}

void DialController::setAPNEditWinControlsStatus() {
  if (!checkProviderIsEditable(selectedTableRow())) {
    setEditWinControlsStatus(true);
    saveAPNPassword();
    selectObtainAPNType();
    selectObtainPDPType();
    selectObtainDNSType();
    return;
  }
  setEditWinControlsStatus(false);
  for (QWidget *w : std::initializer_list<QWidget *>{m_eUsername, m_ePassword, m_eIsSaveUserInfo, eAskUernameCheck_})
    enable(w, true);
  setAPNEditWinControlsStatusWithConfig();
}

void DialController::setAPNEditWinControlsStatusWithConfig() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("apnNameAndAuthModemForConfigEnable")))
    return;
  setEditWinControlsStatus(true);
  for (QWidget *w : std::initializer_list<QWidget *>{m_eProviderForConfig, m_eTelephoneNumber, m_eIsSaveUserInfo,
                                                     m_eUsername, m_ePassword})
    enable(w, false);
}

void DialController::forbiddenOperateIpv6Apn() {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || !config->forbiddenIpv6ApnWhileChooseRas() || !ePDPTypeGroup_ || ePDPTypeGroup_->numberOfRows() != 1 ||
      ePDPTypeGroup_->numberOfColumns() != 3)
    return;
  const bool dialUp = readConnectType() == kDialUp;
  for (int column : {1, 2})
    if (QAbstractButton *cell = ePDPTypeGroup_->cellAtRow(0, column))
      cell->setEnabled(!dialUp);
}
