#include "Phonebook.h"

#include "PBModemBlocks.h"
#include "Plist.h"
#include "SimAlphaIdLength.h"
#include "SimulatedModem.h"

#include <QFile>

namespace {
const QString kPhonebook = QStringLiteral("Phonebook");
const QString kContacts = QStringLiteral("Contacts");
const QString kActive = QStringLiteral("Active");
constexpr int kModule = 4;
constexpr int kPrivateFile = 0x0600; // owner read and write

QString storeName(int store) {
  return store == Phonebook::kME ? QStringLiteral("ME") : QStringLiteral("SIM");
}

int limit(const QVariantMap &memory, const char *key, int fallback) {
  return memory.value(QLatin1String(key), fallback).toInt();
}

int capacityOf(const QVariantMap &memory, int store) {
  return limit(memory, "Capacity", store == Phonebook::kME ? 500 : 250);
}

// A text fits when it is not longer than its limit (a field the memory lacks takes no text).
bool fits(const QString &text, int max) {
  return text.size() <= std::max(0, max);
}
} // namespace

Phonebook *Phonebook::install(SimulatedModem &modem) {
  auto *self = new Phonebook(modem);
  self->install();
  return self;
}

Phonebook *Phonebook::of(SimulatedModem &modem) {
  return modem.findChild<Phonebook *>(QStringLiteral("Phonebook"), Qt::FindDirectChildrenOnly);
}

Phonebook::Phonebook(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("Phonebook"));
  folder_.setAutoRemove(true);
}

int Phonebook::storeCode(const QString &name) {
  if (name == QLatin1String("SIM"))
    return kSIM;
  if (name == QLatin1String("ME"))
    return kME;
  return 0;
}

void Phonebook::install() {
  modem_.onSimReady([this] {
    if (!memory(kME).isEmpty())
      pushRead(kME);
    pushRead(kSIM);
  });
  modem_.on(PBModemBlocks::kWriteMajor, PBModemBlocks::kWriteMinor,
            [this](const UIMsg &m) { handleWrite(m.payload()); });
  modem_.on(PBModemBlocks::kSwitchMajor, PBModemBlocks::kSwitchMinor,
            [this](const UIMsg &m) { handleSwitch(int(Payload::u32At(m, 0))); });
}

QVariantMap Phonebook::memory(int store) const {
  const QVariantMap book = modem_.scenario().value(kPhonebook).toMap();
  if (store == kSIM)
    return book.value(storeName(kSIM), QVariantMap{{kContacts, QVariantList()}}).toMap();
  return book.value(storeName(store)).toMap();
}

void Phonebook::storeMemory(int store, const QVariantMap &memory) {
  // The memories are part of the modem's scenario, as the network's run-time changes are.
  auto &scenario = const_cast<QVariantMap &>(modem_.scenario());
  QVariantMap book = scenario.value(kPhonebook).toMap();
  book.insert(storeName(store), memory);
  scenario.insert(kPhonebook, book);
}

void Phonebook::setActive(int store) {
  auto &scenario = const_cast<QVariantMap &>(modem_.scenario());
  QVariantMap book = scenario.value(kPhonebook).toMap();
  book.insert(kActive, store);
  scenario.insert(kPhonebook, book);
}

int Phonebook::activeMemory() const {
  return modem_.scenario().value(kPhonebook).toMap().value(kActive, kSIM).toInt();
}

QString Phonebook::listFilePath(int store) const {
  return folder_.isValid() ? folder_.filePath(storeName(store) + QStringLiteral("_Items.plist")) : QString();
}

void Phonebook::pushRead(int store) {
  const QVariantMap mem = memory(store);
  const QString path = listFilePath(store);
  if (!path.isEmpty())
    Plist::writeFile(path, mem.value(kContacts).toList(), kPrivateFile);
  setActive(store);
  PBModemBlocks::ReadResult r;
  r.numberMaxLen = limit(mem, "NumberLength", 40);
  r.nameMaxLen = limit(mem, "NameLength", 14);
  r.minIndex = 1;
  r.maxIndex = capacityOf(mem, store);
  r.listFilePath = path;
  r.number2MaxLen = limit(mem, "Number2Length", 0);
  r.number3MaxLen = limit(mem, "Number3Length", 0);
  r.emailMaxLen = limit(mem, "EmailLength", 0);
  r.storage = store;
  modem_.send(PBModemBlocks::kReadResultMajor, PBModemBlocks::kReadResultMinor, 0, 0,
              PBModemBlocks::encodeReadResult(r), kModule);
}

bool Phonebook::takeFailure() {
  if (failuresLeft_ <= 0)
    return false;
  --failuresLeft_;
  return true;
}

void Phonebook::handleWrite(const QByteArray &data) {
  const PBModemBlocks::Request req = PBModemBlocks::parseRequest(data);
  const int store = activeMemory();
  QVariantMap mem = memory(store);
  const int capacity = capacityOf(mem, store);
  bool ok = !takeFailure() && !mem.isEmpty() && req.index >= 1 && req.index <= capacity;
  QVariantList contacts = mem.value(kContacts).toList();
  qsizetype at = -1;
  for (qsizetype i = 0; i < contacts.size(); ++i)
    if (contacts.at(i).toMap().value(QStringLiteral("ITEM_INDEX")).toInt() == req.index)
      at = i;
  if (ok && req.operation == PBModemBlocks::kOperationWrite) {
    ok = SimAlphaId::encodedLength(req.name) <= limit(mem, "NameLength", 14) &&
         fits(req.number, limit(mem, "NumberLength", 40)) && fits(req.number2, limit(mem, "Number2Length", 0)) &&
         fits(req.number3, limit(mem, "Number3Length", 0)) && fits(req.email, limit(mem, "EmailLength", 0));
    if (ok) {
      QVariantMap item{{QStringLiteral("ITEM_INDEX"), req.index},
                       {QStringLiteral("ITEM_NAME"), req.name},
                       {QStringLiteral("ITEM_NUM1"), req.number}};
      if (!req.number2.isEmpty())
        item.insert(QStringLiteral("ITEM_NUM2"), req.number2);
      if (!req.number3.isEmpty())
        item.insert(QStringLiteral("ITEM_NUM3"), req.number3);
      if (!req.email.isEmpty())
        item.insert(QStringLiteral("ITEM_EMAIL"), req.email);
      if (at >= 0)
        contacts[at] = item;
      else
        contacts.append(item);
    }
  } else if (ok && req.operation == PBModemBlocks::kOperationDelete) {
    if (at >= 0)
      contacts.removeAt(at);
  } else {
    ok = false;
  }
  if (ok) {
    mem.insert(kContacts, contacts);
    storeMemory(store, mem);
  }
  modem_.send(PBModemBlocks::kWriteMajor, PBModemBlocks::kWriteMinor, 0, 0,
              PBModemBlocks::encodeWriteResult({req.index, req.operation, ok}), kModule);
}

void Phonebook::handleSwitch(int wanted) {
  const bool ok = !takeFailure() && (wanted == kSIM || (wanted == kME && !memory(kME).isEmpty()));
  if (ok)
    setActive(wanted);
  modem_.send(PBModemBlocks::kSwitchMajor, PBModemBlocks::kSwitchMinor, 0,
              ok ? uint8_t(PBModemBlocks::kSwitched) : UIMsg::kResultFailure, {}, kModule);
}

bool Phonebook::setContacts(int store, const QVariantMap &memory) {
  if (store != kSIM && store != kME)
    return false;
  storeMemory(store, memory);
  if (modem_.isPlugged() && modem_.sim().state() == SimCard::State::Ready)
    pushRead(store);
  return true;
}

QVariantMap Phonebook::contacts(int store) const {
  return store == kSIM || store == kME ? memory(store) : QVariantMap();
}
