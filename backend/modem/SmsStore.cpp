#include "SmsStore.h"

#include "Bundle.h"
#include "ListFile.h"
#include "SimulatedModem.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimeZone>

namespace {
constexpr uint16_t kSmsMajor = 768;
constexpr uint16_t kListReadyMinor = 95, kReceivePositionMinor = 97, kCountsMinor = 98, kReadMinor = 103;
constexpr uint16_t kDeleteMinor = 92, kCopyMinor = 93, kAutoDeleteMinor = 112, kCardReloadMinor = 114,
                   kCardSyncMinor = 115;
constexpr uint8_t kFail = 0xFF;
constexpr int kSmsModule = 5;
constexpr int kListReadySize = 516;
constexpr int kPositionSim = 1, kPositionMe = 4;
const char *const kBoxes[] = {"InBox", "OutBox", "DraftBox"};

// Capacities and message counts are bounded so that a scenario cannot overflow a counter.
constexpr int kMaxCapacity = 100000;

int partsOf(const QVariantMap &record) {
  if (!record.value(QStringLiteral("concatSmsFlag")).toBool())
    return 1;
  return int(record.value(QStringLiteral("smsInfo")).toList().size());
}

QVariantMap storeFromScenario(const QVariantMap &dict, int defaultCapacity) {
  QVariantMap store;
  store.insert(QStringLiteral("Capacity"),
               std::clamp(dict.value(QStringLiteral("Capacity"), defaultCapacity).toInt(), 0, kMaxCapacity));
  for (const char *box : kBoxes) {
    QVariantList records;
    for (const QVariant &r : dict.value(QLatin1String(box)).toList())
      if (r.typeId() == QMetaType::QVariantMap)
        records.append(r);
    store.insert(QLatin1String(box), records);
  }
  return store;
}
} // namespace

SmsStore::SmsStore(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SmsStore"));
}

SmsStore *SmsStore::install(SimulatedModem &modem) {
  auto *self = new SmsStore(modem);
  modem.onSimReady([self] { self->publish(); });
  modem.on(kSmsMajor, kReadMinor, [self](const UIMsg &msg) {
    if (msg.dataLength < 8)
      return;
    const quint32 position = Payload::u32At(msg, 0), index = Payload::u32At(msg, 4);
    if (position <= quint32(kPositionMe) && index <= quint32(kMaxCapacity))
      self->markRead(int(position), int(index));
  });
  modem.on(kSmsMajor, kDeleteMinor, [self](const UIMsg &msg) {
    const QByteArray echo = msg.payload().left(12);
    bool ok = false;
    if (!self->takeFailure(kDeleteMinor) && msg.dataLength >= 12) {
      const quint32 position = Payload::u32At(msg, 0), box = Payload::u32At(msg, 4), index = Payload::u32At(msg, 8);
      ok = position <= quint32(kPositionMe) && box <= 6 && index <= quint32(kMaxCapacity) &&
           self->deleteRecord(int(position), int(box), int(index));
    }
    self->requestHandled(kDeleteMinor);
    self->modem_.send(kSmsMajor, kDeleteMinor, 1, ok ? 0 : kFail, echo, kSmsModule);
    if (ok) {
      self->sendCounts();
      self->sendListReady();
    }
  });
  modem.on(kSmsMajor, kCopyMinor, [self](const UIMsg &msg) {
    bool ok = false;
    if (!self->takeFailure(kCopyMinor) && msg.dataLength >= 16) {
      const quint32 source = Payload::u32At(msg, 0), box = Payload::u32At(msg, 4), index = Payload::u32At(msg, 8),
                    destination = Payload::u32At(msg, 12);
      ok = source <= quint32(kPositionMe) && destination <= quint32(kPositionMe) && box <= 6 &&
           index <= quint32(kMaxCapacity) && self->copyRecord(int(source), int(box), int(index), int(destination));
    }
    self->requestHandled(kCopyMinor);
    self->modem_.send(kSmsMajor, kCopyMinor, 1, ok ? 0 : kFail, msg.payload().left(16), kSmsModule);
    if (ok)
      self->sendCounts();
  });
  modem.on(kSmsMajor, kAutoDeleteMinor, [self](const UIMsg &) {
    const bool ok = !self->takeFailure(kAutoDeleteMinor) && self->deleteOldestReadSimMessage();
    self->modem_.send(kSmsMajor, kAutoDeleteMinor, 1, ok ? 0 : kFail, {}, kSmsModule);
    if (ok)
      self->sendCounts();
  });
  for (uint16_t minor : {kCardReloadMinor, kCardSyncMinor})
    modem.on(kSmsMajor, minor, [self, minor](const UIMsg &) {
      self->modem_.send(kSmsMajor, minor, 1, self->takeFailure(minor) ? kFail : 0, {}, kSmsModule);
    });
  return self;
}

SmsStore *SmsStore::of(SimulatedModem &modem) {
  return modem.findChild<SmsStore *>(QStringLiteral("SmsStore"), Qt::FindDirectChildrenOnly);
}

QString SmsStore::modemListDir() {
  const QString fromProgram = qEnvironmentVariable("QEL_MODEMLIST_DIR");
  if (!fromProgram.isEmpty())
    return fromProgram;
  return Bundle::mainBundle().resourcePath() + QStringLiteral("/ModemList");
}

void SmsStore::followScenario() {
  if (followed_ && modem_.scenario() == baseScenario_)
    return;
  followed_ = true;
  baseScenario_ = modem_.scenario();
  receivePosition_ = std::clamp(
      baseScenario_.value(QStringLiteral("SMS")).toMap().value(QStringLiteral("ReceivePosition"), 1).toInt(), 0, 4);
  const QVariantMap sms = baseScenario_.value(QStringLiteral("SMS")).toMap();
  sim_ = storeFromScenario(sms.value(QStringLiteral("SIM")).toMap(), 50);
  me_ = storeFromScenario(sms.value(QStringLiteral("ME")).toMap(), 100);
}

QVariantMap *SmsStore::storeRef(int position) {
  followScenario();
  if (position == kPositionSim)
    return &sim_;
  if (position == kPositionMe)
    return &me_;
  return nullptr;
}

QVariantMap SmsStore::store(int position) {
  const QVariantMap *s = storeRef(position);
  return s ? *s : QVariantMap();
}

int SmsStore::usedParts(int position) {
  const QVariantMap *s = storeRef(position);
  if (!s)
    return 0;
  int used = 0;
  for (const char *box : kBoxes)
    for (const QVariant &r : s->value(QLatin1String(box)).toList())
      used += partsOf(r.toMap());
  return used;
}

bool SmsStore::writeStoreFile(int position) {
  const QVariantMap *s = storeRef(position);
  if (!s)
    return false;
  const QString path = QDir(modemListDir())
                           .filePath(position == kPositionSim ? QStringLiteral("SmsList_Sim.plist")
                                                              : QStringLiteral("SmsList_ME.plist"));
  return ListFile::update(path, [&](QVariantMap &dict) {
    for (const char *box : kBoxes)
      dict.insert(QLatin1String(box), s->value(QLatin1String(box)).toList());
    return true;
  });
}

void SmsStore::seedPcList() {
  const QVariantMap pc = baseScenario_.value(QStringLiteral("SMS")).toMap().value(QStringLiteral("PC")).toMap();
  if (pc.isEmpty())
    return;
  const QString path = QDir(modemListDir()).filePath(QStringLiteral("SmsList_PC.plist"));
  if (QFileInfo::exists(path))
    return;
  ListFile::update(path, [&](QVariantMap &dict) {
    // Decided again under the lock: the program may have created the file meanwhile.
    if (QFileInfo::exists(path))
      return false;
    dict = pc;
    return true;
  });
}

void SmsStore::publish() {
  followScenario();
  writeStoreFile(kPositionSim);
  writeStoreFile(kPositionMe);
  seedPcList();
  sendCounts();
  modem_.send(kSmsMajor, kReceivePositionMinor, 1, 0, Payload::u32(quint32(receivePosition_)), kSmsModule);
  sendListReady();
}

void SmsStore::sendListReady() {
  QByteArray ready = Payload::u32(1);
  ready.resize(kListReadySize, '\0');
  modem_.send(kSmsMajor, kListReadyMinor, 1, 0, ready, kSmsModule);
}

void SmsStore::sendCounts() {
  QByteArray counts;
  counts += Payload::u32(quint32(sim_.value(QStringLiteral("Capacity")).toInt()));
  counts += Payload::u32(quint32(usedParts(kPositionSim)));
  counts += Payload::u32(quint32(me_.value(QStringLiteral("Capacity")).toInt()));
  counts += Payload::u32(quint32(usedParts(kPositionMe)));
  modem_.send(kSmsMajor, kCountsMinor, 1, 0, counts, kSmsModule);
}

namespace {
// Sets the read state in a record's summary and every part.
bool setRead(QVariantMap &record) {
  bool changed = false;
  auto mark = [&changed](QVariantMap &m) {
    if (m.contains(QStringLiteral("stat")) && m.value(QStringLiteral("stat")).toInt() == 0) {
      m.insert(QStringLiteral("stat"), 1);
      changed = true;
    }
  };
  QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
  mark(summary);
  record.insert(QStringLiteral("concatSmsInfo"), summary);
  const QVariant info = record.value(QStringLiteral("smsInfo"));
  if (info.typeId() == QMetaType::QVariantList) {
    QVariantList parts = info.toList();
    for (QVariant &part : parts) {
      QVariantMap p = part.toMap();
      mark(p);
      part = p;
    }
    record.insert(QStringLiteral("smsInfo"), parts);
  } else {
    QVariantMap p = info.toMap();
    mark(p);
    record.insert(QStringLiteral("smsInfo"), p);
  }
  return changed;
}
} // namespace

bool SmsStore::markRead(int position, int index) {
  if (index < 0)
    return false;
  bool done = false;
  if (position == 0) {
    const QString path = QDir(modemListDir()).filePath(QStringLiteral("SmsList_PC.plist"));
    ListFile::update(path, [&](QVariantMap &dict) {
      QVariantList inBox = dict.value(QStringLiteral("InBox")).toList();
      if (index >= inBox.size())
        return false;
      QVariantMap record = inBox.at(index).toMap();
      done = true;
      if (!setRead(record))
        return false;
      inBox[index] = record;
      dict.insert(QStringLiteral("InBox"), inBox);
      return true;
    });
  } else if (QVariantMap *s = storeRef(position)) {
    QVariantList inBox = s->value(QStringLiteral("InBox")).toList();
    if (index < inBox.size()) {
      QVariantMap record = inBox.at(index).toMap();
      if (setRead(record)) {
        inBox[index] = record;
        s->insert(QStringLiteral("InBox"), inBox);
        writeStoreFile(position);
      }
      done = true;
    }
  }
  if (done)
    sendCounts();
  return done;
}

bool SmsStore::setReceivePosition(int position) {
  followScenario();
  if (position != 0 && position != kPositionSim && position != 3 && position != kPositionMe)
    return false;
  receivePosition_ = position;
  modem_.send(kSmsMajor, kReceivePositionMinor, 1, 0, Payload::u32(quint32(position)), kSmsModule);
  return true;
}

int SmsStore::receivePosition() {
  followScenario();
  return receivePosition_;
}

bool SmsStore::setStore(int position, const QVariantMap &boxes) {
  QVariantMap *s = storeRef(position);
  if (!s)
    return false;
  QVariantMap replaced = storeFromScenario(boxes, s->value(QStringLiteral("Capacity")).toInt());
  replaced.insert(QStringLiteral("Capacity"), s->value(QStringLiteral("Capacity")));
  *s = replaced;
  publish();
  return true;
}

bool SmsStore::setCapacity(int position, int capacity) {
  QVariantMap *s = storeRef(position);
  if (!s || capacity < 0 || capacity > kMaxCapacity)
    return false;
  s->insert(QStringLiteral("Capacity"), capacity);
  publish();
  return true;
}

bool SmsStore::deliver(int position, const QString &number, const QString &text) {
  const QDateTime now = QDateTime::currentDateTimeUtc();
  QVariantMap part;
  part.insert(QStringLiteral("messagetext"), text);
  part.insert(QStringLiteral("mobilephone"), number);
  part.insert(QStringLiteral("date"), now);
  part.insert(QStringLiteral("stat"), 0);
  part.insert(QStringLiteral("sca"), QString());
  part.insert(QStringLiteral("pdu"), QString());
  part.insert(QStringLiteral("pid"), 0);
  part.insert(QStringLiteral("dcs"), 0);
  part.insert(QStringLiteral("box"), 0);
  part.insert(QStringLiteral("index"), 0);
  QVariantMap summary;
  summary.insert(QStringLiteral("mobilephone"), number);
  summary.insert(QStringLiteral("username"), number);
  summary.insert(QStringLiteral("date"), now);
  summary.insert(QStringLiteral("stat"), 0);
  QVariantMap record;
  record.insert(QStringLiteral("concatSmsFlag"), false);
  record.insert(QStringLiteral("concatSmsInfo"), summary);
  record.insert(QStringLiteral("smsInfo"), part);
  if (position != 0 && !hasRoom(position, 1))
    return false;
  return storeArrival(position, record, 1) == position;
}

bool SmsStore::hasRoom(int position, int parts) {
  QVariantMap *s = storeRef(position);
  return s && usedParts(position) + parts <= s->value(QStringLiteral("Capacity")).toInt();
}

int SmsStore::storeArrival(int position, const QVariantMap &record, int parts) {
  int stored = position;
  if (position != 0 && !hasRoom(position, parts))
    stored = kFullSimPosition;
  if (stored == 0 || stored == kFullSimPosition || !storeRef(stored)) {
    const QString path = QDir(modemListDir()).filePath(QStringLiteral("SmsList_PC.plist"));
    // One record into a list that may hold 100,000: put into its text, not parsed and rewritten.
    const bool ok = ListFile::prepend(path, QStringLiteral("InBox"), record);
    if (!ok)
      return -1;
    return stored == kFullSimPosition ? stored : 0;
  }
  QVariantMap *s = storeRef(stored);
  QVariantList inBox = s->value(QStringLiteral("InBox")).toList();
  inBox.prepend(record);
  s->insert(QStringLiteral("InBox"), inBox);
  writeStoreFile(stored);
  sendCounts();
  return stored;
}

// ---- managing stored messages ----

namespace {
const QString kPcListName = QStringLiteral("SmsList_PC.plist");

QString boxName(int box) {
  static const char *const names[] = {"InBox",      "OutBox",       "DraftBox",    "DELIVERY_REPORTBOX",
                                      "DeletedBox", "ImportantBox", "BroadCastBox"};
  return box >= 0 && box < 7 ? QLatin1String(names[box]) : QString();
}

// A record as a store keeps it: what a reader adds when it loads a list is left out.
QVariantMap storedRecord(QVariantMap record) {
  record.remove(QStringLiteral("index"));
  record.remove(QStringLiteral("username"));
  return record;
}
} // namespace

bool SmsStore::takeFailure(int minor) {
  auto it = failures_.find(minor);
  if (it == failures_.end() || *it <= 0)
    return false;
  if (--*it == 0)
    failures_.erase(it);
  return true;
}

void SmsStore::afterRequests(int minor, int count, std::function<void()> action) {
  if (count <= 0 || !action)
    return;
  afterRequests_[minor].append({std::min(count, kMaxCapacity), std::move(action)});
}

void SmsStore::requestHandled(int minor) {
  auto it = afterRequests_.find(minor);
  if (it == afterRequests_.end())
    return;
  QList<std::function<void()>> due;
  for (qsizetype i = it->size() - 1; i >= 0; --i)
    if (--(*it)[i].remaining <= 0)
      due.prepend(it->takeAt(i).action);
  if (it->isEmpty())
    afterRequests_.erase(it);
  for (const auto &action : due)
    action();
}

void SmsStore::failRequests(int minor, int count) {
  if (count <= 0)
    failures_.remove(minor);
  else
    failures_.insert(minor, std::min(count, kMaxCapacity));
}

bool SmsStore::deleteRecord(int position, int box, int index) {
  const QString key = boxName(box);
  if (key.isEmpty() || index < 0)
    return false;
  if (position == 0) {
    bool done = false;
    ListFile::update(QDir(modemListDir()).filePath(kPcListName), [&](QVariantMap &dict) {
      QVariantList list = dict.value(key).toList();
      if (index >= list.size())
        return false;
      list.removeAt(index);
      dict.insert(key, list);
      done = true;
      return true;
    });
    return done;
  }
  QVariantMap *s = storeRef(position);
  if (!s || box > 2)
    return false;
  QVariantList list = s->value(key).toList();
  if (index >= list.size())
    return false;
  list.removeAt(index);
  s->insert(key, list);
  writeStoreFile(position);
  return true;
}

bool SmsStore::copyRecord(int sourcePosition, int box, int index, int destination) {
  const QString key = boxName(box);
  if (key.isEmpty() || index < 0 || sourcePosition == destination)
    return false;
  QVariantMap record;
  if (sourcePosition == 0) {
    QVariantMap dict;
    ListFile::read(QDir(modemListDir()).filePath(kPcListName), &dict);
    record = dict.value(key).toList().value(index).toMap();
  } else if (QVariantMap *s = storeRef(sourcePosition)) {
    record = s->value(key).toList().value(index).toMap();
  }
  // A flat PC draft has no message parts a modem store could hold.
  if (record.isEmpty() || (destination != 0 && !record.contains(QStringLiteral("smsInfo"))))
    return false;
  record = storedRecord(record);
  if (destination == 0) {
    return ListFile::update(QDir(modemListDir()).filePath(kPcListName), [&](QVariantMap &dict) {
      QVariantList list = dict.value(key).toList();
      list.prepend(record);
      dict.insert(key, list);
      return true;
    });
  }
  QVariantMap *target = storeRef(destination);
  if (!target || box > 2 ||
      usedParts(destination) + partsOf(record) > target->value(QStringLiteral("Capacity")).toInt())
    return false;
  QVariantList list = target->value(key).toList();
  list.prepend(record);
  target->insert(key, list);
  writeStoreFile(destination);
  return true;
}

bool SmsStore::deleteOldestReadSimMessage() {
  QVariantMap *s = storeRef(kPositionSim);
  QVariantList inBox = s->value(QStringLiteral("InBox")).toList();
  qsizetype oldest = -1;
  QDateTime oldestDate;
  for (qsizetype i = 0; i < inBox.size(); ++i) {
    const QVariantMap record = inBox.at(i).toMap();
    const QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
    if (summary.value(QStringLiteral("stat")).toInt() == 0)
      continue;
    const QDateTime date = summary.value(QStringLiteral("date")).toDateTime();
    // Newest first in the list: on equal dates the later entry is the older one.
    if (oldest < 0 || (date.isValid() && (!oldestDate.isValid() || date <= oldestDate))) {
      oldest = i;
      oldestDate = date;
    }
  }
  if (oldest < 0)
    return false;
  inBox.removeAt(oldest);
  s->insert(QStringLiteral("InBox"), inBox);
  writeStoreFile(kPositionSim);
  return true;
}
