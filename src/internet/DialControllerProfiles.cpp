// The profile store of DialController: dialConfig.plist, the profile combo box of the Internet
// page, the table of the management sheet, adding and deleting profiles, per-SIM profiles.
#include "ButtonMatrix.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialConfigFile.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "QELAlertPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

using namespace dialsupport;

QVariantMap DialController::profileAt(int index) const {
  if (index < 0 || index >= dialConfigArray.size())
    return {};
  return dialConfigArray.at(index).toMap();
}

QVariantMap DialController::currentProfile() const {
  return profileAt(m_IndexOfComboBoxSelectionNow - 1);
}

void DialController::loadDialConfig() {
  QString aside;
  dialConfigArray = DialConfigFile::read(&aside);
  if (!aside.isEmpty())
    dialConfigSetAside_ = aside;
  if (flagAddMMSConfig_) {
    // The temporary MMS profile is not in the file; it stays in the list until removed.
    dialConfigArray << mmsProfile_;
  }
  if (switchOn(settingDict(), kInternet, QStringLiteral("AddAPNWithSIM"))) {
    if (alreadyGetSimIMSIFlag_)
      loadDialConfigWithSIM();
    else
      m_IndexOfComboBoxSelectionNow = 1;
    return;
  }
  reloadComboBox();
  const int count = int(dialConfigArray.size());
  if (count > 0) {
    int current = readCurrentProfile();
    if (current >= count || current < 0) {
      current = current < 0 ? 0 : count - 1;
      writeCurrentProfile(current);
    }
    dialConfigListSelectItemAtIndex(current + 1);
  } else {
    dialConfigListSelectItemAtIndex(1);
    writeCurrentProfile(0);
  }
}

void DialController::loadDialConfigWithSIM() {
  dialConfigArrayWithSIM_.clear();
  const QVariant sim = settingDict().value(QStringLiteral("simIMSI"));
  QVariantList mine;
  for (const QVariant &entry : std::as_const(dialConfigArray)) {
    const QVariantMap profile = entry.toMap();
    if (profile.contains(QStringLiteral("IMSI")) && profile.value(QStringLiteral("IMSI")) != sim)
      dialConfigArrayWithSIM_ << entry;
    else
      mine << entry;
  }
  dialConfigArray = mine;
}

bool DialController::saveDialConfigFile() {
  QVariantList out;
  for (const QVariant &entry : std::as_const(dialConfigArray))
    if (!entry.toMap().contains(kMMSProfileMark))
      out << entry;
  if (switchOn(settingDict(), kInternet, QStringLiteral("AddAPNWithSIM")))
    out << dialConfigArrayWithSIM_;
  const bool ok = DialConfigFile::write(out);
  if (!ok)
    qWarning() << "dialConfig: could not write" << DialConfigFile::path();
  return ok;
}

void DialController::alreadyGetSimIMSI(const Notification &notification) {
  if (alreadyGetSimIMSIFlag_ || !switchOn(settingDict(), kInternet, QStringLiteral("AddAPNWithSIM")))
    return;
  alreadyGetSimIMSIFlag_ = true;
  loadDialConfig();
  reloadComboBox();
  if (m_DialConfigList)
    m_DialConfigList->setEnabled(true);
  const int count = int(dialConfigArray.size());
  const int current = readCurrentProfile();
  const bool changed = SettingValue::toBool(notification.userInfo.value(QStringLiteral("imsiInfo")));
  if (count > 0 && !changed && current >= 0 && current < count) {
    dialConfigListSelectItemAtIndex(current + 1);
  } else {
    dialConfigListSelectItemAtIndex(1);
    writeCurrentProfile(0);
  }
}

QString DialController::comboBoxObjectValueForItemAtIndex(int index) const {
  if (index == 0)
    return word(QStringLiteral("Edit Configuration"));
  return getApnProviderNameWith(profileAt(index - 1));
}

void DialController::reloadComboBox() {
  if (!m_DialConfigList)
    return;
  updatingCombo_ = true;
  m_DialConfigList->clear();
  const int items = numberOfItemsInComboBox();
  for (int i = 0; i < items; ++i)
    m_DialConfigList->addItem(comboBoxObjectValueForItemAtIndex(i));
  if (m_IndexOfComboBoxSelectionNow >= 0 && m_IndexOfComboBoxSelectionNow < items)
    m_DialConfigList->setCurrentIndex(m_IndexOfComboBoxSelectionNow);
  updatingCombo_ = false;
}

void DialController::dialConfigListSelectItemAtIndex(int item) {
  m_IndexOfComboBoxSelectionNow = item;
  if (!m_DialConfigList)
    return;
  updatingCombo_ = true;
  if (item >= 0 && item < m_DialConfigList->count())
    m_DialConfigList->setCurrentIndex(item);
  updatingCombo_ = false;
}

void DialController::comboBoxSelectionDidChange(int index) {
  if (updatingCombo_ || index < 0)
    return;
  if (index == 0) {
    popUpDialConfigWindow();
    return;
  }
  m_IndexOfComboBoxSelectionNow = index;
  setCurrentProfile();
}

QString DialController::tableViewObjectValueForRow(int row) const {
  if (row < 0 || row >= dialConfigArray.size())
    return QStringLiteral("Something is wrong, please check your code!");
  return getApnProviderNameWith(profileAt(row));
}

void DialController::reloadTable() {
  if (!m_configListView)
    return;
  const int selected = selectedTableRow();
  const QSignalBlocker block(m_configListView);
  const int rows = numberOfRowsInTableView();
  m_configListView->setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    auto *item = new QTableWidgetItem(tableViewObjectValueForRow(r));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled); // never edited in place
    m_configListView->setItem(r, 0, item);
  }
  if (selected >= 0 && selected < rows)
    m_configListView->selectRow(selected);
  else
    m_configListView->clearSelection();
}

int DialController::selectedTableRow() const {
  if (!m_configListView)
    return -1;
  const QList<QTableWidgetItem *> items = m_configListView->selectedItems();
  return items.isEmpty() ? -1 : items.first()->row();
}

void DialController::postTableSelectionChanged() {
  tableViewSelectionDidChange();
}

void DialController::tableViewSelectionDidChange() {
  const int row = selectedTableRow();
  setEidtStatusAtRow(row);
  if (row != -1)
    setBrowseWinValue(profileAt(row));
}

void DialController::AddAPNInfo(QObject *) {
  QVariantMap profile;
  profile.insert(QStringLiteral("provider"), createNewProvider());
  profile.insert(QStringLiteral("telNumber"), createDialNumber());
  profile.insert(QStringLiteral("accountName"), QString(""));
  profile.insert(QStringLiteral("password"), QString(""));
  profile.insert(QStringLiteral("apnName"), QString(""));
  profile.insert(QStringLiteral("pdpAddress"), QString(""));
  profile.insert(QStringLiteral("preDns"), QString(""));
  profile.insert(QStringLiteral("altDns"), QString(""));
  profile.insert(QStringLiteral("saveUsernameFlag"),
                 switchOn(settingDict(), kInternet, QStringLiteral("AddNewAPNWithSaveUsername")) ? 1 : 0);
  if (checkUsernameFlag_)
    profile.insert(QStringLiteral("askUsernameFlag"), 0);
  if (ePDPTypeGroup_ && ePDPTypeGroup_->isEnabled())
    profile.insert(QStringLiteral("pdpType"), 0);
  profile.insert(QStringLiteral("apnFlag"),
                 switchOn(settingDict(), QStringLiteral("DialConfigSetting"), QStringLiteral("UsingApnName")) ? 1 : 0);
  profile.insert(QStringLiteral("pdpFlag"), 0);
  profile.insert(QStringLiteral("dnsFlag"), 0);
  profile.insert(QStringLiteral("pppFlag"), defaultAuthMode());
  setDefaultDialParamsForIPv6(profile);
  if (switchOn(settingDict(), kInternet, QStringLiteral("AddAPNWithSIM")))
    profile.insert(QStringLiteral("IMSI"), settingDict().value(QStringLiteral("IMSI")).toString());
  dialConfigArray << profile;
  saveDialConfigFile();
  reloadTable();
  reloadComboBox();
  postTableSelectionChanged();
}

void DialController::DelAPNInfo(QObject *) {
  if (dialConfigArray.isEmpty())
    return;
  const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("Delete item?")),
                                        word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
  if (answer != 1)
    return;
  int row = selectedTableRow();
  if (row < 0 || row >= dialConfigArray.size())
    row = int(dialConfigArray.size()) - 1;
  const QVariantMap removed = profileAt(row);
  dialConfigArray.removeAt(row);
  if (removed.contains(kMMSProfileMark))
    flagAddMMSConfig_ = false;
  const int presets = readDefaultProfileNum();
  if (row < presets)
    writeDefaultProfileNum(presets - 1);
  saveDialConfigFile();
  // The current profile stays the same profile when one before it goes.
  int current = readCurrentProfile();
  if (row < current)
    --current;
  const int count = int(dialConfigArray.size());
  if (current >= count)
    current = count - 1;
  if (current < 0)
    current = 0;
  if (current != readCurrentProfile())
    writeCurrentProfile(current);
  m_IndexOfComboBoxSelectionNow = current + 1;
  reloadTable();
  reloadComboBox();
  postTableSelectionChanged();
}

void DialController::displayAPNInfo() {
  const QVariantMap profile = createSafeDialConfig(currentProfile());
  const QString provider = getApnProviderNameWith(currentProfile());
  if (m_TelephoneNumber)
    m_TelephoneNumber->setText(profile.value(QStringLiteral("telNumber")).toString());
  const bool keep = SettingValue::toInt(profile.value(QStringLiteral("saveUsernameFlag"))) == 1;
  if (m_Username)
    m_Username->setText(keep ? profile.value(QStringLiteral("accountName")).toString() : QString());
  if (m_Password)
    m_Password->setText(keep ? profile.value(QStringLiteral("password")).toString() : QString());
  if (apnProviderLabel_)
    apnProviderLabel_->setText(m_IndexOfComboBoxSelectionNow > readDefaultProfileNum() ? QString() : provider);
  if (postDialListCombox_)
    postDialListCombox_->setText(provider);
  if (Net_CurrentApnName)
    Net_CurrentApnName->setText(profile.value(QStringLiteral("apnName")).toString());
  if (apnProviderLabelForVavav_)
    apnProviderLabelForVavav_->setText(provider);
}

int DialController::defaultAuthMode() {
  const QString mode = ConfigService::readValue(QString(), QStringLiteral("DefaultAuthMode")).toString();
  return mode == QLatin1String("CHAP") ? 1 : 0;
}

void DialController::setBtnAutoAPNMatchState() {
  if (!btnEnableAutoAPNMatch_)
    return;
  const QVariant v = settingDict().value(QStringLiteral("EnableAutoApnMatch"));
  if (!v.isValid()) {
    btnEnableAutoAPNMatch_->hide();
    return;
  }
  btnEnableAutoAPNMatch_->setText(word(QStringLiteral("Enable Auto APN Match")));
  btnEnableAutoAPNMatch_->setChecked(SettingValue::toBool(v));
  btnEnableAutoAPNMatch_->show();
}

void DialController::enableAutoApnMatch(QObject *) {
  if (!btnEnableAutoAPNMatch_)
    return;
  settingDict().insert(QStringLiteral("EnableAutoApnMatch"), btnEnableAutoAPNMatch_->isChecked());
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}
