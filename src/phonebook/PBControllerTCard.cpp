// PBController: the memory card's contact files.
#include "ConfigManager.h"
#include "PBController.h"
#include "QelFileManager.h"
#include "TCardFiles.h"
#include "TcardVolume.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {
QString contactFileName(int fileNumber) {
  return kCMFileNamePrefix + kCMSplitWithUnderline + QString::number(fileNumber) + kCMFileNameExtention;
}

// The file numbers of the PB_n files in the folder.
QList<int> fileNumbersIn(const QString &folder) {
  QList<int> numbers;
  if (folder.isEmpty())
    return numbers;
  const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString &name : names) {
    const int n = TCardFiles::fileNumberOfName(QFileInfo(name).completeBaseName());
    if (n >= 0 && !numbers.contains(n))
      numbers.append(n);
  }
  return numbers;
}
} // namespace

void PBController::initTCard() {
  if (!isShowTCard_)
    return;
  if (!initTCardFilePath())
    return;
  initTCardList();
  addListToAllPhoneList(m_TCardPhoneList, kStorageTCard);
}

bool PBController::tcardMountChanged() {
  // The store is opened with the modem's phonebook; before that read there is nothing to follow.
  if (!isShowTCard_ || !simInitFinished_)
    return false;
  const bool mounted = !getTcardVolume().isEmpty();
  if (mounted == tcardInitFinished_)
    return false;
  m_allPhoneList.erase(
      std::remove_if(m_allPhoneList.begin(), m_allPhoneList.end(),
                     [](const QVariant &v) { return v.toMap().value(PBKey::kSavePos).toString() == PBTag::kTCard; }),
      m_allPhoneList.end());
  clearTCardUserList();
  if (mounted)
    initTCard();
  else
    tcardInitFinished_ = false;
  if (!tcardInitFinished_ && lastSelectSavePos_ == kSaveInTCard) {
    page().showStore(kSaveInPC);
    selectAtPCSide();
  }
  setMoveMenu();
  page().reloadContactTableAndDeselect();
  SetConpacityShow();
  controlsChanged();
  return true;
}

bool PBController::initTCardFilePath() {
  tcardInitFinished_ = false;
  const QString volume = getTcardVolume();
  if (volume.isEmpty())
    return false;
  phonebookFolderPathInTCard_ = volume + QLatin1Char('/') + kCMFileNamePrefix;
  phonebookKeyFilePathInTCard_ =
      phonebookFolderPathInTCard_ + QLatin1Char('/') + kCMKeyFileFullName + kCMFileNameExtention;
  if (QFileInfo(phonebookKeyFilePathInTCard_).isFile())
    tcardInitFinished_ = true;
  else
    tcardInitFinished_ =
        QelFileManager::writeToFile(phonebookKeyFilePathInTCard_, TCardFiles::kEmptyKeyFile, QStringConverter::Utf16);
  return tcardInitFinished_;
}

void PBController::initTCardList() {
  addTCardRecordToList(getAllPhonebookRecordsFromTCard());
}

QList<QVariantMap> PBController::getAllPhonebookRecordsFromTCard() const {
  QList<QVariantMap> files;
  if (!QFileInfo(phonebookFolderPathInTCard_).isDir())
    return files;
  QList<int> numbers = fileNumbersIn(phonebookFolderPathInTCard_);
  std::sort(numbers.begin(), numbers.end());
  for (int n : numbers) {
    const QVariantMap content = getContentFromIniFile(kCMFileNamePrefix + kCMSplitWithUnderline + QString::number(n));
    if (!content.isEmpty())
      files.append(content);
  }
  return files;
}

QVariantMap PBController::getContentFromIniFile(const QString &name) const {
  const int n = TCardFiles::fileNumberOfName(name);
  if (n < 0 || phonebookFolderPathInTCard_.isEmpty())
    return {};
  QVariantMap entries = TCardFiles::read(phonebookFolderPathInTCard_ + QLatin1Char('/') + contactFileName(n));
  if (!entries.isEmpty())
    entries.insert(PBKey::kFileNameNumber, n);
  return entries;
}

void PBController::addTCardRecordToList(const QList<QVariantMap> &files) {
  if (files.isEmpty())
    return;
  clearTCardUserList();
  for (const QVariantMap &file : files) {
    if (!file.contains(PBKey::kFileNameNumber))
      continue;
    PBContactRecord r;
    if (TCardFiles::recordFromEntries(file, file.value(PBKey::kFileNameNumber).toInt(), &r))
      m_TCardPhoneList.append(r);
  }
  sortList(m_TCardPhoneList);
}

int PBController::minIndexOfRecord() const {
  if (m_TCardPhoneList.isEmpty())
    return -10000;
  int least = -10000;
  for (const QVariant &v : m_TCardPhoneList)
    least = std::min(least, v.toMap().value(PBKey::kIndex).toInt());
  return least - 1;
}

int PBController::maxFileNumberRecord() const {
  // A file the list left out (unreadable, or without "Index") still holds its number: the new
  // contact must not overwrite it.
  int largest = -1;
  for (const QVariant &v : m_TCardPhoneList)
    largest = std::max(largest, v.toMap().value(PBKey::kFileNameNumber).toInt());
  for (int n : fileNumbersIn(phonebookFolderPathInTCard_))
    largest = std::max(largest, n);
  return largest + 1;
}

bool PBController::createRecordFileInPBFolder(const PBContactRecord &record) {
  if (phonebookFolderPathInTCard_.isEmpty())
    return false;
  const QString path =
      phonebookFolderPathInTCard_ + QLatin1Char('/') + contactFileName(record.value(PBKey::kFileNameNumber).toInt());
  // A rewrite keeps what the file holds beyond the dialog's fields.
  const QVariantMap others = TCardFiles::read(path);
  return QelFileManager::writeToFile(path, TCardFiles::contactFileText(record, others), QStringConverter::Utf16);
}

bool PBController::addRecordToKeyFile(int fileNumber, const QString &index) {
  if (phonebookKeyFilePathInTCard_.isEmpty())
    return false;
  QVariantMap entries = TCardFiles::read(phonebookKeyFilePathInTCard_);
  entries.remove(QStringLiteral("Count"));
  const QString key = QString::number(fileNumber);
  entries.remove(key);
  const QString text = TCardFiles::keyFileText(getTCardUserNumber() + 1, entries) + kCMSplitWithLineFeed + key +
                       kCMSplitWithEqual + index;
  return QelFileManager::writeToFile(phonebookKeyFilePathInTCard_, text, QStringConverter::Utf16);
}

bool PBController::addRecordToPBFolder(const PBContactRecord &record) {
  if (phonebookFolderPathInTCard_.isEmpty())
    return false;
  return createRecordFileInPBFolder(record) &&
         addRecordToKeyFile(record.value(PBKey::kFileNameNumber).toInt(), record.value(PBKey::kIndex).toString());
}

bool PBController::deleteRecordFromPBFolder(int fileNumber, int count) {
  if (phonebookFolderPathInTCard_.isEmpty() ||
      !QelFileManager::removeFileAtPath(phonebookFolderPathInTCard_ + QLatin1Char('/') + contactFileName(fileNumber)))
    return false;
  if (phonebookKeyFilePathInTCard_.isEmpty())
    return true;
  QVariantMap entries = TCardFiles::read(phonebookKeyFilePathInTCard_);
  entries.remove(QStringLiteral("Count"));
  entries.remove(QString::number(fileNumber));
  return QelFileManager::writeToFile(phonebookKeyFilePathInTCard_, TCardFiles::keyFileText(count, entries),
                                     QStringConverter::Utf16);
}

bool PBController::addUserItemInTCard(const PBContactRecord &fields) {
  const QString name = fields.value(PBKey::kUserName).toString();
  const QString number = fields.value(PBKey::kMobilePhone).toString();
  if (name.isEmpty()) {
    popupAlertOk(QStringLiteral("The name should not be null!"));
    return false;
  }
  if (number.isEmpty()) {
    popupAlertOk(QStringLiteral("The mobilephone should not be null!"));
    return false;
  }
  if (m_contactNameUniqueCheckingEnabled && !contactNameIsUnique(name)) {
    popupAlertOk(QStringLiteral("The name is already exist !"));
    return false;
  }
  PBContactRecord r;
  r.insert(PBKey::kFileNameNumber, maxFileNumberRecord());
  r.insert(PBKey::kIndex, minIndexOfRecord());
  for (const QString &key :
       {PBKey::kUserName, PBKey::kEmail, PBKey::kMobilePhone, PBKey::kHomePhone, PBKey::kOfficePhone})
    r.insert(key, fields.value(key).toString());
  for (const char *key : {"groupid", "secondname", "company", "duty", "email2", "qq", "msn", "notes", "homeaddress",
                          "workaddress", "url", "pictureid"})
    r.insert(QLatin1String(key), QString());
  if (!addRecordToPBFolder(r))
    return false;
  m_TCardPhoneList.append(r);
  sortList(m_TCardPhoneList);
  return true;
}

bool PBController::editUserItemInTCard(const PBContactRecord &fields) {
  if (m_TCardContact.isEmpty())
    return false;
  for (const QString &key :
       {PBKey::kUserName, PBKey::kMobilePhone, PBKey::kHomePhone, PBKey::kOfficePhone, PBKey::kEmail})
    m_TCardContact.insert(key, fields.value(key).toString());
  if (!createRecordFileInPBFolder(m_TCardContact))
    return false;
  const int fileNumber = m_TCardContact.value(PBKey::kFileNameNumber).toInt();
  for (int i = 0; i < m_TCardPhoneList.size(); ++i) {
    if (m_TCardPhoneList.at(i).toMap().value(PBKey::kFileNameNumber).toInt() == fileNumber) {
      m_TCardPhoneList[i] = m_TCardContact;
      break;
    }
  }
  sortList(m_TCardPhoneList);
  page().reloadContactTableAndDeselect();
  return true;
}

void PBController::deleteUserFromTCard(QList<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  const int count = getTCardUserNumber();
  QList<int> deleted;
  for (int k = 0; k < rows.size(); ++k) {
    const int row = rows.at(k);
    if (row < 0 || row >= count)
      continue;
    const int fileNumber = m_TCardPhoneList.at(row).toMap().value(PBKey::kFileNameNumber).toInt();
    if (deleteRecordFromPBFolder(fileNumber, count - k - 1))
      deleted.append(row);
  }
  for (int i = int(deleted.size()) - 1; i >= 0; --i)
    m_TCardPhoneList.removeAt(deleted.at(i));
}
