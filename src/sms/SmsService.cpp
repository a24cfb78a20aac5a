#include "SmsService.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "ListFile.h"
#include "Plist.h"
#include "SafeFile.h"
#include "SmsRecord.h"

#include <QFile>
#include <sys/stat.h>

#include <algorithm>

namespace {
SmsService *g_installed = nullptr;

const int kPcBoxes[] = {InBox, OutBox, DraftBox, DeletedBox, ImportantBox, BroadCastBox};

// Where the first record of the root's InBox array goes in the text of a list file: just after
// that array's start tag. -1 when the text has no such array (no InBox, or an empty one written
// "<array/>"). What the text holds around it is checked by the checksums, not here.
qsizetype inBoxInsertionPoint(const QByteArray &bytes) {
  const QByteArray keyTag = "<key>InBox</key>";
  qsizetype i = bytes.indexOf(keyTag);
  if (i < 0 || bytes.indexOf(keyTag, i + 1) >= 0)
    return -1;
  i += keyTag.size();
  while (i < bytes.size() && QChar::isSpace(uchar(bytes.at(i))))
    ++i;
  return QByteArrayView(bytes).sliced(i).startsWith("<array>") ? i + qsizetype(sizeof("<array>") - 1) : -1;
}

// The end of the record a writer put at `at`: a line break and one dictionary element, its
// nested dictionaries balanced. -1 when the text there is not that.
qsizetype firstRecordEnd(const QByteArray &bytes, qsizetype at) {
  if (!QByteArrayView(bytes).sliced(at).startsWith("\n<dict>"))
    return -1;
  int depth = 0;
  qsizetype i = at + 1;
  while (i >= 0 && i < bytes.size()) {
    const QByteArrayView rest = QByteArrayView(bytes).sliced(i);
    if (rest.startsWith("<dict>")) {
      ++depth;
    } else if (rest.startsWith("</dict>")) {
      if (--depth == 0)
        return i + qsizetype(sizeof("</dict>") - 1);
    }
    i = bytes.indexOf('<', i + 1);
  }
  return -1;
}

bool isPcBox(int box) {
  return std::find(std::begin(kPcBoxes), std::end(kPcBoxes), box) != std::end(kPcBoxes);
}

// A record as the file holds it: what the reader adds at load time left out.
QVariantMap storedForm(QVariantMap record) {
  record.remove(QStringLiteral("index"));
  record.remove(QStringLiteral("username"));
  QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
  if (!summary.isEmpty()) {
    summary.remove(QStringLiteral("username"));
    record.insert(QStringLiteral("concatSmsInfo"), summary);
  }
  return record;
}
} // namespace

SmsService *SmsService::sharedSmsService() {
  if (g_installed)
    return g_installed;
  static SmsService service;
  return &service;
}

void SmsService::setSharedSmsService(SmsService *service) {
  g_installed = service;
}

SmsService::SmsService(QObject *parent) : QelServiceBase(parent) {
  qelPositionManagerInit();
  phoneSeparator_ = loadDefaultPhoneSeparator();
  if (ConfigService *config = ConfigService::sharedConfigService())
    flowValueSMsJudgeContionDic_ = config->readFlowValueSMSJudgeCondition().toMap();
  loadBoxinPCList();
  boxStrMapInit();
  broadBandList_ = {QStringLiteral("ON VOL100MB"), QStringLiteral("ON VOL500MB"), QStringLiteral("ON VOL1GB"),
                    QStringLiteral("ON VOL5GB")};
  if (ConfigService *config = ConfigService::sharedConfigService())
    setProcessListOfRecharge(config->readPurchaseProcessList());
}

QString SmsService::loadDefaultPhoneSeparator() const {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  const QString separator =
      config ? config->getConfigurationByModule(QStringLiteral("DefaultPhoneSeparator")).toString() : QString();
  return separator.isEmpty() ? QStringLiteral(";") : separator;
}

QVariantList *SmsService::pcListRef(int box) {
  switch (box) {
  case InBox:
    return &allPcInBoxList_;
  case OutBox:
    return &allPcOutBoxList_;
  case DraftBox:
    return &allPcDraftBoxList_;
  case DeletedBox:
    return &deletedBoxList_;
  case ImportantBox:
    return &importantBoxList_;
  case BroadCastBox:
    return &broadcastBoxList_;
  default:
    return nullptr;
  }
}

QVariantList SmsService::pcList(int box) const {
  QVariantList *list = const_cast<SmsService *>(this)->pcListRef(box);
  return list ? *list : QVariantList();
}

QVariantList SmsService::readPCListWithBox(int box) const {
  if (!isPcBox(box))
    return {};
  return SmsListFiles::readBox(SmsListFiles::pathOfPosition(AT_PC), box);
}

QVariantList SmsService::getPCBoxListWithBox(int box) const {
  QVariantList list = readPCListWithBox(box);
  setUserNameAndIndexToSMSBoxList(list, box, AT_PC);
  return list;
}

void SmsService::loadBoxinPCList() {
  // One read of the file for all six boxes.
  QVariantMap dict;
  const QString path = SmsListFiles::pathOfPosition(AT_PC);
  const PcListPrint before = fileIdentity(path);
  // The file the lists were last made from, by a load or an inserted arrival.
  if (pcListsLoaded_ && path == pcListsPath_ && before.sameFile(pcPrint_))
    return;
  bool parsed = true;
  ListFile::ReadState state = ListFile::ReadState::Missing;
  if (!path.isEmpty())
    state = pcCache_.read(path, &dict, &parsed);
  if (!parsed && pcListsLoaded_ && path == pcListsPath_)
    return;
  pcListsPath_ = path;
  pcListsLoaded_ = true;
  for (int box : kPcBoxes) {
    QVariantList list = dict.value(smsBoxNames().at(box)).toList();
    setUserNameAndIndexToSMSBoxList(list, box, AT_PC);
    pcCounts_.insert(box, {SmsRecord::unreadCount(list), SmsRecord::smsNumberInBox(list)});
    *pcListRef(box) = list;
  }
  pcPrint_ = {};
  if (state == ListFile::ReadState::Read)
    printPcList(path, before);
}

SmsService::PcListPrint SmsService::fileIdentity(const QString &path) {
  PcListPrint print;
  struct stat st;
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
    return print;
  print.size = qint64(st.st_size);
  print.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  print.inode = quint64(st.st_ino);
  return print;
}

void SmsService::printPcList(const QString &path, const PcListPrint &before) {
  // Read again after the parse: the file is taken as the one parsed only when it kept its
  // identity from before the parse to after this read (every writer replaces it whole).
  QByteArray bytes;
  if (SafeFile::readRegular(path, &bytes, SafeFile::kListMaxReadBytes) != SafeFile::ReadResult::Read)
    return;
  const PcListPrint after = fileIdentity(path);
  if (!after.sameFile(before) || bytes.size() != after.size)
    return;
  const qsizetype at = inBoxInsertionPoint(bytes);
  if (at < 0)
    return;
  pcPrint_ = after;
  pcPrint_.at = at;
  pcPrint_.head = qHash(QByteArrayView(bytes).first(at));
  pcPrint_.tail = qHash(QByteArrayView(bytes).sliced(at));
}

int SmsService::takePcInBoxArrival() {
  const QString path = SmsListFiles::pathOfPosition(AT_PC);
  if (!pcListsLoaded_ || path.isEmpty() || path != pcListsPath_ || pcPrint_.at < 0)
    return -1;
  const PcListPrint before = fileIdentity(path);
  if (before.sameFile(pcPrint_))
    return 0;
  QByteArray bytes;
  if (before.size <= pcPrint_.size ||
      SafeFile::readRegular(path, &bytes, SafeFile::kListMaxReadBytes) != SafeFile::ReadResult::Read ||
      !fileIdentity(path).sameFile(before) || bytes.size() != before.size)
    return -1;
  // The text before the InBox's first record as it was, one record, then the rest as it was.
  const qsizetype at = pcPrint_.at;
  if (qHash(QByteArrayView(bytes).first(at)) != pcPrint_.head)
    return -1;
  const qsizetype end = firstRecordEnd(bytes, at);
  if (end < 0 || bytes.size() - (end - at) != pcPrint_.size ||
      qHash(QByteArrayView(bytes).sliced(end)) != pcPrint_.tail)
    return -1;
  QVariant root;
  const QByteArray element =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + bytes.mid(at, end - at) + "\n</plist>\n";
  if (!Plist::fromData(element, &root) || root.typeId() != QMetaType::QVariantMap)
    return -1;
  QVariantList added{root};
  setUserNameAndIndexToSMSBoxList(added, InBox, AT_PC);
  QVariantList &inBox = allPcInBoxList_;
  QVariantList list;
  list.reserve(inBox.size() + 1);
  list.append(added.first());
  for (qsizetype i = 0; i < inBox.size(); ++i) {
    QVariantMap record = inBox.at(i).toMap();
    record.insert(QStringLiteral("index"), int(i + 1));
    list.append(record);
  }
  inBox = list;
  const QPair<int, int> counts = pcCounts_.value(InBox);
  pcCounts_.insert(InBox,
                   {counts.first + SmsRecord::unreadCount(added), counts.second + SmsRecord::smsNumberInBox(added)});
  pcPrint_.size = before.size;
  pcPrint_.mtimeNs = before.mtimeNs;
  pcPrint_.inode = before.inode;
  pcPrint_.tail = qHash(QByteArrayView(bytes).sliced(at));
  // The cache's dictionary is the list before the arrival: its memory goes, and a file changed
  // again is parsed anew.
  pcCache_.clear();
  return 1;
}

QVariantList SmsService::getAllPcListByBox(int box) {
  loadBoxinPCList();
  return pcList(box);
}

void SmsService::loadBoxInSIMList() {
  QVariantMap dict;
  ListFile::read(SmsListFiles::pathOfPosition(AT_SIM), &dict);
  simInBoxList_ = dict.value(QStringLiteral("InBox")).toList();
  simOutBoxList_ = dict.value(QStringLiteral("OutBox")).toList();
  simDraftBoxList_ = dict.value(QStringLiteral("DraftBox")).toList();
}

bool SmsService::writeMessagesToPC(const QVariantList &records, int box) {
  return writeMessagesToBox(box, records, SmsListFiles::pathOfPosition(AT_PC));
}

bool SmsService::writeMessagesToBox(int box, const QVariantList &records, const QString &path) {
  // Delivery reports live in a file of their own, never in a list file.
  if (path.isEmpty() || box == DELIVERY_REPORTBOX || getBoxStrWithBox(box).isEmpty())
    return false;
  QVariantList stored;
  stored.reserve(records.size());
  for (const QVariant &record : records)
    stored.append(storedForm(record.toMap()));
  return SmsListFiles::writeBox(path, box, stored);
}

void SmsService::setUserNameAndIndexToSMSBoxList(QVariantList &records, int /*box*/, int position) const {
  for (qsizetype i = 0; i < records.size(); ++i) {
    QVariantMap record = records.at(i).toMap();
    // A flat record (a PC draft, a saved broadcast, or either moved to the DeletedBox or
    // ImportantBox) stays flat: a summary added here would hide its text and number from every
    // reader and from the search that finds it again in the file.
    if (SmsRecord::isFlat(record)) {
      if (!isSimOrMeWithPosition(position))
        record.insert(QStringLiteral("username"),
                      searchMultiPhoneNumber(record.value(QStringLiteral("mobilephone")).toString()));
    } else {
      QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
      summary.insert(QStringLiteral("username"), summary.value(QStringLiteral("mobilephone")).toString());
      record.insert(QStringLiteral("concatSmsInfo"), summary);
    }
    record.insert(QStringLiteral("index"), int(i));
    records[i] = record;
  }
}

QString SmsService::searchMultiPhoneNumber(const QString &numbers) const {
  if (numbers.isEmpty())
    return QStringLiteral("");
  const QStringList pieces = numbers.split(phoneSeparator_, Qt::SkipEmptyParts);
  return pieces.join(phoneSeparator_);
}

bool SmsService::saveBroadCastAsShortMessage(const QVariantMap &record) {
  const bool written =
      SmsListFiles::insertIntoBox(SmsListFiles::pathOfPosition(AT_PC), BroadCastBox, storedForm(record), true);
  loadBoxinPCList();
  return written;
}

int SmsService::findNewSmsIndexInPCInBoxList(const QVariantList &records) const {
  auto byIndexDescending = [](QVariantList list) {
    std::stable_sort(list.begin(), list.end(), [](const QVariant &a, const QVariant &b) {
      return a.toMap().value(QStringLiteral("index")).toInt() > b.toMap().value(QStringLiteral("index")).toInt();
    });
    return list;
  };
  const QVariantList now = byIndexDescending(records), before = byIndexDescending(pcInBoxBackListBeforeRevNewSms_);
  qsizetype i = 0;
  for (; i < now.size() && i < before.size(); ++i)
    if (storedForm(now.at(i).toMap()) != storedForm(before.at(i).toMap()))
      break;
  return i < now.size() ? now.at(i).toMap().value(QStringLiteral("index")).toInt() : -1;
}

bool SmsService::deleteSMSlist(const QVariantList &items, int box) {
  if (!isPcBox(box))
    return false;
  // What the user saw: the records of the last load named by their "index".
  const QVariantList shown = pcList(box);
  QList<QVariantMap> doomed;
  for (const QVariant &item : items) {
    const int index = item.toMap().value(QStringLiteral("srcIndex")).toInt();
    for (const QVariant &record : shown) {
      if (record.toMap().value(QStringLiteral("index")).toInt() == index) {
        doomed.append(storedForm(record.toMap()));
        break;
      }
    }
  }
  const QString key = smsBoxNames().at(box);
  const bool written = ListFile::update(SmsListFiles::pathOfPosition(AT_PC), [&](QVariantMap &dict) {
    QVariantList list = dict.value(key).toList();
    for (const QVariantMap &gone : doomed) {
      for (qsizetype i = 0; i < list.size(); ++i) {
        if (storedForm(list.at(i).toMap()) == gone) {
          list.removeAt(i);
          break;
        }
      }
    }
    dict.insert(key, list);
    return true;
  });
  loadBoxinPCList();
  return written;
}

void SmsService::makeSimSmsDelList(const QVariantList &items, int box) {
  delSimSmsList_.clear();
  for (qsizetype i = items.size() - 1; i >= 0; --i) {
    QVariantMap entry;
    entry.insert(QStringLiteral("pos"), AT_SIM);
    entry.insert(QStringLiteral("box"), box);
    entry.insert(QStringLiteral("index"), items.at(i).toMap().value(QStringLiteral("srcIndex")));
    delSimSmsList_.append(entry);
  }
}

void SmsService::makeSaveSmsBySrcPos(int srcPos, int destPos, int srcBox, int srcIndex) {
  QVariantMap entry;
  entry.insert(QStringLiteral("srcPos"), srcPos);
  entry.insert(QStringLiteral("destPos"), destPos);
  entry.insert(QStringLiteral("srcBox"), srcBox);
  entry.insert(QStringLiteral("srcIndex"), srcIndex);
  saveToList_ = {entry};
}

int SmsService::getUnreadSMSCountFromSMSList(const QVariantList &records) {
  return SmsRecord::unreadCount(records);
}

QVariantList SmsService::getUnreadSMSInSMSlist(const QVariantList &records) {
  QVariantList unread;
  for (const QVariant &record : records)
    if (SmsRecord::isUnread(record.toMap()))
      unread.append(record);
  return unread;
}

QVariantList SmsService::getUnreadSMSInPos(int position, const QVariantList &inBox) {
  if (position == AT_PC) {
    unreadSMSListInPc_ = getUnreadSMSInSMSlist(inBox);
    return unreadSMSListInPc_;
  }
  if (position == AT_SIM) {
    unreadSMSListInSim_ = getUnreadSMSInSMSlist(inBox);
    return unreadSMSListInSim_;
  }
  return {};
}

bool SmsService::checkPos(int position, int type) const {
  if (position == AT_PC)
    return checkPCContainTypeSMS(type);
  if (position == AT_SIM)
    return checkSIMContainTypeSMS(type);
  return false;
}

bool SmsService::checkPCContainTypeSMS(int type) const {
  for (const QVariant &record : unreadSMSListInPc_)
    if (checkFlowValueTypeBySmsPhoneNumber(SmsRecord::number(record.toMap()), SmsRecord::text(record.toMap())) == type)
      return true;
  return false;
}

bool SmsService::checkSIMContainTypeSMS(int type) const {
  for (const QVariant &record : unreadSMSListInSim_)
    if (checkFlowValueTypeBySmsPhoneNumber(SmsRecord::number(record.toMap()), SmsRecord::text(record.toMap())) == type)
      return true;
  return false;
}

void SmsService::setUnshowInfoWndWhenSendSmsByFlag(bool flag) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString module = QStringLiteral("SMS"), key = QStringLiteral("noSendInfoWnd");
  const QVariant current = config->getConfigurationByModuleAndKey(module, key);
  if (current.isValid() && current.toBool() == flag)
    return;
  if (!config->getConfigurationByModule(module).isValid())
    config->setConfigurationByModule(module, QVariantMap());
  config->setConfigurationByModuleKeyAndValue(module, key, flag);
  config->writeToFile();
}

void SmsService::saveSendSuccessResultBySendCount(int sent, int ok) {
  if (sent == ok)
    sendingSMSSuccess_ = true;
  else if (ok < sent)
    sendingSMSSuccess_ = false;
}

bool SmsService::isShowCheckUsageRespondedSMS(const QString &number) const {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config)
    return false;
  const QString toNumber = config->readSpecialSMSConfig().toMap().value(QStringLiteral("TO_NUMBER")).toString();
  return !toNumber.isEmpty() && number == toNumber && bAlreadySendedCheckUsageSMS_ &&
         config->isNotShowNewSMSWndWithCertainContent();
}
