// The Security page's backup and restore of the PC phonebook and the PC message boxes into one
// file the user chooses (or of the phonebook alone). A file is checked before anything happens:
// only a valid one reaches the backend (768/104) and the phonebook file.
#include "SettingController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "FilePanels.h"
#include "Neighbourhood.h"
#include "PBPcFile.h"
#include "PhonebookNeighbour.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "SettingsBackupFile.h"
#include "WordGlobe.h"

#include <QFileInfo>

namespace {
constexpr uint16_t kRestoreMajor = 768, kRestoreMinor = 104;

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

// The result sheet: a text and OK.
void showResult(const char *key) {
  NSRunAlertPanelExt(QString(), word(key), word("OK"));
}

QVariantMap smsSettings() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config ? config->getConfigurationByModule(QStringLiteral("SMS")).toMap() : QVariantMap();
}

QString inModemList(const QString &fileName) {
  return PBPcFile::path(fileName);
}

// The chosen name with its extension replaced by ".plist".
QString plistPath(const QString &chosen) {
  const QFileInfo info(chosen);
  return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".plist");
}

FilePanelOptions panelOptions() {
  return {word("Select one or more audio files."), QString()};
}

void reloadPhonebookPage() {
  if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
    phonebook->reloadPCPhoneList();
}
} // namespace

void SettingController::BRSMSandPB(bool on) {
  for (QPushButton *b : {btnBackupSMSAndPB.data(), btnRestoreSMSAndPB.data()})
    if (b)
      b->setEnabled(on);
}

void SettingController::initNibForBackupPhoneBookOnly() {
  if (!ConfigService::sharedConfigService() || !ConfigService::sharedConfigService()->isBackupPhoneBookOnly())
    return;
  for (QPushButton *b : {btnBackupSMSAndPB.data(), btnRestoreSMSAndPB.data()})
    if (b)
      b->setEnabled(true);
}

QString SettingController::getPhoneBookFilePath() const {
  // The phonebook reads phoneBook.plist whatever "PCDataWithIMSI" says, so the backup does too.
  return inModemList(kCMPhoneBookFile);
}

// ---- the page's buttons ----

void SettingController::backupSMSAndPhoneBook() {
  if (ConfigService::sharedConfigService() && ConfigService::sharedConfigService()->isBackupPhoneBookOnly()) {
    backupPhoneBookOnly();
    return;
  }
  backupSMSAndPhoneFile(
      FilePanels::run({QStringLiteral("backupSMSAndPhonebookPanel"), true, QStringLiteral("plist"), QString()}, wndMain,
                      panelOptions()));
}

void SettingController::restoreSMSAndPhoneBook() {
  if (ConfigService::sharedConfigService() && ConfigService::sharedConfigService()->isBackupPhoneBookOnly()) {
    restorePhoneBookOnly();
    return;
  }
  restoreSMSAndPhoneFile(
      FilePanels::run({QStringLiteral("restoreSMSAndPhonebookPanel"), false, QStringLiteral("plist"), QString()},
                      wndMain, panelOptions()));
}

void SettingController::backupPhoneBookOnly() {
  backupPhoneFileOnly(FilePanels::run(
      {QStringLiteral("backupPhonebookOnlyPanel"), true, QStringLiteral("plist"), QString()}, wndMain, panelOptions()));
}

void SettingController::restorePhoneBookOnly() {
  restorePhoneFileOnly(
      FilePanels::run({QStringLiteral("restorePhonebookOnlyPanel"), false, QStringLiteral("plist"), QString()}, wndMain,
                      panelOptions()));
}

// ---- backups ----

void SettingController::backupSMSAndPhoneFile(const QString &chosen) {
  if (chosen.isEmpty())
    return;
  QVariant pcSms, reports;
  Plist::readFile(inModemList(kCMSMSListOfPCFile), &pcSms);
  Plist::readFile(inModemList(kCMSMSListOfReportBoxFile), &reports);
  QVariantList root{QVariant(PBPcFile::read(getPhoneBookFilePath()))};
  root << SettingsBackupFile::smsBoxes(smsSettings(), pcSms.toMap(), reports.toList());
  showResult(Plist::writeFile(plistPath(chosen), root)
                 ? "BackUp SMS And PhoneBook Success."
                 : "BackUp SMS And PhoneBook failed. Please confirm the access privileges.");
}

void SettingController::backupPhoneFileOnly(const QString &chosen) {
  if (chosen.isEmpty())
    return;
  const QVariantList root{QVariant(PBPcFile::read(getPhoneBookFilePath()))};
  showResult(Plist::writeFile(plistPath(chosen), root)
                 ? "Export PhoneBook Success."
                 : "Export contact(s) failed.Please confirm the access privileges.");
}

// ---- restores ----

void SettingController::restoreSMSAndPhoneFile(const QString &path) {
  if (path.isEmpty())
    return;
  QVariant content;
  const bool read = Plist::readFile(path, &content) && content.typeId() == QMetaType::QVariantList;
  const QVariantList root = content.toList();
  const QByteArray request = SettingsBackupFile::restoreRequest(path);
  // Nothing happens for a file that is not a backup, or whose path does not fit the request.
  if (!read || !SettingsBackupFile::isValidFull(root, smsSettings()) ||
      !SettingsBackupFile::isPhonebook(root.value(0)) || request.isEmpty()) {
    restoreAlertPanel(false);
    return;
  }
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSMS, kRestoreMajor, kRestoreMinor, 0, 0, request);
  const QVariantList phonebook = root.value(0).toList();
  bool written;
  if (ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("RestorePhonebookSuperaddition")))
    written = restorePhonebook(phonebook);
  else
    written = PBPcFile::write(getPhoneBookFilePath(), phonebook);
  restoreAlertPanel(written);
  reloadPhonebookPage();
}

bool SettingController::restorePhonebook(const QVariantList &restored) {
  return PBPcFile::write(getPhoneBookFilePath(),
                         SettingsBackupFile::merge(PBPcFile::read(getPhoneBookFilePath()), restored));
}

void SettingController::restorePhoneFileOnly(const QString &path) {
  if (path.isEmpty())
    return;
  QVariant content;
  const bool read = Plist::readFile(path, &content) && content.typeId() == QMetaType::QVariantList;
  const QVariantList root = content.toList();
  if (read && root.size() == 1 && SettingsBackupFile::isPhonebook(root.first()) &&
      PBPcFile::write(getPhoneBookFilePath(), root.first().toList()))
    showResult("Import PhoneBook Success.");
  else
    showResult("Import PhoneBook Failed. Invalid data file!");
  reloadPhonebookPage();
}

// Also the answer to the backend's restore reply (768/104): said without waiting, so packages
// keep arriving while it is up, and the same result is never shown twice at once (the alert
// layer drops a question that is already open).
void SettingController::restoreAlertPanel(bool success) {
  NSBeginAlertPanelExt(
      QString(),
      word(success ? "Restore SMS And PhoneBook Success." : "Restore SMS And PhoneBook Failed.Invalid data file!"),
      word("OK"));
}
