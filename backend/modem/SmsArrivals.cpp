#include "SmsArrivals.h"

#include "SimulatedModem.h"
#include "SmsArrivalRecords.h"
#include "SmsCodec.h"
#include "SmsStore.h"

#include <QDateTime>

namespace {
constexpr uint16_t kSmsMajor = 768, kMmsMajor = 8192;
constexpr uint16_t kClass0Minor = 99, kReportMinor = 100, kNewMinor = 101, kRechargeMinor = 102, kBroadcastMinor = 106,
                   kMmsPushMinor = 194;
constexpr int kSmsModule = 5;
// The network's zone: 8 hours east of GMT, in quarter hours.
constexpr int kZoneQuarters = 32;
constexpr int kMaxParts = 255;

QString stampNow() {
  return SmsTimeStamp::encode(QDateTime::currentDateTimeUtc(), kZoneQuarters);
}

// The text cut where the program's codec cuts it.
QStringList cut(const QString &text) {
  const int parts = qBound(
      1, getInputPackNum(reinterpret_cast<const char16_t *>(text.utf16()), unsigned(text.size()), {}), kMaxParts);
  QStringList out;
  QString rest = text;
  for (int i = 0; i < parts && !rest.isEmpty(); ++i) {
    const int keep =
        i + 1 == parts ? int(rest.size())
                       : cutMaxTextLen(reinterpret_cast<const char16_t *>(rest.utf16()), unsigned(rest.size()), 1, {});
    const int n = qBound(1, keep, int(rest.size()));
    out << rest.left(n);
    rest = rest.mid(n);
  }
  if (out.isEmpty())
    out << QString();
  return out;
}

QVariantMap part(const QString &number, const QString &text, const QDateTime &date, int seq) {
  return {{QStringLiteral("messagetext"), text},
          {QStringLiteral("mobilephone"), number},
          {QStringLiteral("date"), date},
          {QStringLiteral("stat"), 0},
          {QStringLiteral("sca"), QString()},
          {QStringLiteral("pdu"), QString()},
          {QStringLiteral("pid"), 0},
          {QStringLiteral("dcs"), 0},
          {QStringLiteral("box"), 0},
          {QStringLiteral("index"), 0},
          {QStringLiteral("seqNum"), seq}};
}
} // namespace

SmsArrivals::SmsArrivals(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SmsArrivals"));
}

SmsArrivals *SmsArrivals::install(SimulatedModem &modem) {
  auto *self = new SmsArrivals(modem);
  modem.onSimReady([self] {
    const QVariantList arrivals =
        self->modem_.scenario().value(QStringLiteral("SMS")).toMap().value(QStringLiteral("Arrivals")).toList();
    for (const QVariant &a : arrivals) {
      const QVariantMap m = a.toMap();
      self->deliver(m.value(QStringLiteral("From")).toString(), m.value(QStringLiteral("Text")).toString(),
                    m.value(QStringLiteral("Position"), -1).toInt());
    }
  });
  return self;
}

SmsArrivals *SmsArrivals::of(SimulatedModem &modem) {
  return modem.findChild<SmsArrivals *>(QStringLiteral("SmsArrivals"), Qt::FindDirectChildrenOnly);
}

int SmsArrivals::deliver(const QString &from, const QString &text, int position, const QList<int> &order) {
  SmsStore *store = SmsStore::of(modem_);
  if (!store)
    return 0;
  if (position < 0)
    position = store->receivePosition();
  const QStringList parts = cut(text);
  const QDateTime now = QDateTime::currentDateTimeUtc();
  const quint8 ref = references_.value(from, 0);
  QVariantMap summary{{QStringLiteral("mobilephone"), from},
                      {QStringLiteral("username"), from},
                      {QStringLiteral("date"), now},
                      {QStringLiteral("stat"), 0}};
  QVariantMap record;
  if (parts.size() == 1) {
    record = {{QStringLiteral("concatSmsFlag"), false},
              {QStringLiteral("concatSmsInfo"), summary},
              {QStringLiteral("smsInfo"), part(from, text, now, 0)}};
  } else {
    references_.insert(from, quint8(ref + 1));
    QVariantList list;
    for (int i = 0; i < parts.size(); ++i)
      list << part(from, parts.at(i), now, i + 1);
    summary.insert(QStringLiteral("messagetext"), text);
    summary.insert(QStringLiteral("refIndex"), int(ref));
    summary.insert(QStringLiteral("totalNum"), int(parts.size()));
    record = {{QStringLiteral("concatSmsFlag"), true},
              {QStringLiteral("concatSmsInfo"), summary},
              {QStringLiteral("smsInfo"), list}};
  }
  const int stored = store->storeArrival(position, record, int(parts.size()));
  if (stored < 0)
    return 0;
  QList<int> sequence = order;
  if (sequence.isEmpty())
    for (int i = 1; i <= parts.size(); ++i)
      sequence << i;
  // The stamp and the filed date name the same moment, so the program finds the message again.
  const QString stamp = SmsTimeStamp::encode(now, kZoneQuarters);
  for (int seq : sequence) {
    if (seq < 1 || seq > parts.size())
      continue;
    SmsArrivalRecord r;
    r.position = stored;
    r.number = from;
    r.stamp = stamp;
    r.text = parts.at(seq - 1);
    if (parts.size() > 1) {
      r.concat = true;
      r.ref8 = ref;
      r.total = quint8(parts.size());
      r.sequence = quint8(seq);
    }
    modem_.send(kSmsMajor, kNewMinor, 0, 0, r.encode(), kSmsModule);
  }
  return int(parts.size());
}

void SmsArrivals::deliverClass0(const QString &from, const QString &text) {
  modem_.send(kSmsMajor, kClass0Minor, 0, 0, SmsClass0Record{text, from}.encode(), kSmsModule);
}

void SmsArrivals::deliverReport(const QString &to, int result) {
  modem_.send(kSmsMajor, kReportMinor, 0, 0, SmsDeliveryReportRecord{result, to, stampNow()}.encode(), kSmsModule);
}

void SmsArrivals::broadcast(const QString &from, const QString &text) {
  modem_.send(kSmsMajor, kBroadcastMinor, 1, 0, SmsBroadcastRecord{from, text}.encode(), kSmsModule);
}

void SmsArrivals::deliverRecharge(const QString &from, const QString &text) {
  SmsArrivalRecord r;
  r.number = from;
  r.stamp = stampNow();
  r.text = text;
  modem_.send(kSmsMajor, kRechargeMinor, 0, 0, r.encode(), kSmsModule);
}

void SmsArrivals::pushMms(const QByteArray &data) {
  modem_.send(kMmsMajor, kMmsPushMinor, 0, 0, data.left(8192), kSmsModule);
}
