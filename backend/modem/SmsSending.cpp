#include "SmsSending.h"

#include "ListFile.h"
#include "SimulatedModem.h"
#include "SmsCodec.h"
#include "SmsDraftRequest.h"
#include "SmsSendRequest.h"
#include "SmsStore.h"

#include <QDateTime>
#include <QDir>

namespace {
constexpr int kMajor = 768, kMinorSend = 91, kMinorDraft = 94, kMinorCentre = 110, kMinorProgress = 113;
constexpr int kModuleSms = 5;
constexpr int kStatSent = 3;

QString pcListPath() {
  return QDir(SmsStore::modemListDir()).filePath(QStringLiteral("SmsList_PC.plist"));
}

int partsOf(const QString &text) {
  const int parts = getInputPackNum(reinterpret_cast<const char16_t *>(text.utf16()), unsigned(text.size()), {});
  return qBound(1, parts, SmsSendResult::kMaxParts);
}

QVariantMap part(const QString &number, const QString &text, const QDateTime &now, int seq) {
  return {{QStringLiteral("messagetext"), text},
          {QStringLiteral("mobilephone"), number},
          {QStringLiteral("date"), now},
          {QStringLiteral("stat"), kStatSent},
          {QStringLiteral("sca"), QString()},
          {QStringLiteral("pdu"), QString()},
          {QStringLiteral("pid"), 0},
          {QStringLiteral("dcs"), 0},
          {QStringLiteral("box"), 1},
          {QStringLiteral("index"), 0},
          {QStringLiteral("seqNum"), seq}};
}
} // namespace

SmsSending::SmsSending(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("SmsSending"));
}

SmsSending *SmsSending::install(SimulatedModem &modem) {
  auto *self = new SmsSending(modem);
  modem.on(kMajor, kMinorSend, [self](const UIMsg &msg) {
    const std::optional<SmsSendRequest> request = SmsSendRequest::decode(msg.payload());
    if (!request) {
      self->modem_.send(kMajor, kMinorSend, 1, UIMsg::kResultFailure, SmsSendResult::payload({}), kModuleSms);
      return;
    }
    self->handleSend(*request);
  });
  modem.on(kMajor, kMinorDraft, [self](const UIMsg &msg) { self->handleDraft(msg.payload()); });
  modem.on(kMajor, kMinorCentre, [self](const UIMsg &) { self->handleCentre(); });
  return self;
}

SmsSending *SmsSending::of(SimulatedModem &modem) {
  return modem.findChild<SmsSending *>(QStringLiteral("SmsSending"), Qt::FindDirectChildrenOnly);
}

QList<QPair<QString, QString>> SmsSending::sent() const {
  QList<QPair<QString, QString>> out;
  for (const QVariant &v : requests_) {
    const QVariantMap r = v.toMap();
    out.append({r.value(QStringLiteral("number")).toString(), r.value(QStringLiteral("text")).toString()});
  }
  return out;
}

void SmsSending::setSendFailure(const QString &number, int failedParts) {
  if (failedParts <= 0)
    failures_.remove(number);
  else
    failures_.insert(number, failedParts);
}

void SmsSending::setSmsCenter(const QString &number, bool fail) {
  centreSet_ = true;
  centre_ = number;
  centreFails_ = fail;
}

void SmsSending::handleSend(const SmsSendRequest &request) {
  requests_.append(QVariantMap{{QStringLiteral("number"), request.number},
                               {QStringLiteral("text"), request.text},
                               {QStringLiteral("centre"), request.centre},
                               {QStringLiteral("report"), request.report},
                               {QStringLiteral("validity"), int(request.validity)},
                               {QStringLiteral("reference"), int(request.ref)},
                               {QStringLiteral("saveInBox"), request.saveInBox},
                               {QStringLiteral("returnResult"), request.returnResult}});
  const int parts = partsOf(request.text);
  const int failed = sendOk_ ? qMin(parts, failures_.value(request.number)) : parts;
  QList<bool> results;
  for (int i = 0; i < parts; ++i) {
    if (parts > 1)
      modem_.send(kMajor, kMinorProgress, 0, 0, SmsSendProgress{i + 1, parts, request.number}.encode(), kModuleSms);
    results.append(i >= failed);
  }
  if (request.saveInBox && failed == 0)
    fileInOutBox(request, parts);
  if (request.returnResult)
    modem_.send(kMajor, kMinorSend, 1, 0, SmsSendResult::payload(results), kModuleSms);
}

bool SmsSending::fileInOutBox(const SmsSendRequest &request, int parts) {
  const QDateTime now = QDateTime::currentDateTimeUtc();
  QVariantMap summary{{QStringLiteral("mobilephone"), request.number},
                      {QStringLiteral("username"), request.number},
                      {QStringLiteral("date"), now},
                      {QStringLiteral("stat"), kStatSent}};
  QVariantMap record;
  if (parts == 1) {
    record = {{QStringLiteral("concatSmsFlag"), false},
              {QStringLiteral("concatSmsInfo"), summary},
              {QStringLiteral("smsInfo"), part(request.number, request.text, now, 0)}};
  } else {
    // The parts as the codec cut them.
    QVariantList list;
    QString rest = request.text;
    for (int i = 0; i < parts && !rest.isEmpty(); ++i) {
      const auto *units = reinterpret_cast<const char16_t *>(rest.utf16());
      const int keep = i + 1 == parts ? int(rest.size()) : cutMaxTextLen(units, unsigned(rest.size()), 1, {});
      const int n = qBound(1, keep, int(rest.size()));
      list.append(part(request.number, rest.left(n), now, i + 1));
      rest = rest.mid(n);
    }
    summary.insert(QStringLiteral("messagetext"), request.text);
    summary.insert(QStringLiteral("refIndex"), int(request.ref));
    summary.insert(QStringLiteral("totalNum"), parts);
    record = {{QStringLiteral("concatSmsFlag"), true},
              {QStringLiteral("concatSmsInfo"), summary},
              {QStringLiteral("smsInfo"), list}};
  }
  return ListFile::update(pcListPath(), [&](QVariantMap &dict) {
    QVariantList outBox = dict.value(QStringLiteral("OutBox")).toList();
    outBox.prepend(record);
    dict.insert(QStringLiteral("OutBox"), outBox);
    return true;
  });
}

void SmsSending::handleDraft(const QByteArray &payload) {
  const std::optional<SmsDraftRequest> draft = SmsDraftRequest::decode(payload);
  if (!draft) {
    modem_.send(kMajor, kMinorDraft, 1, UIMsg::kResultFailure, {}, kModuleSms);
    return;
  }
  const int parts = partsOf(draft->text);
  const QVariantMap record{{QStringLiteral("messagetext"), draft->text},
                           {QStringLiteral("mobilephone"), draft->recipients},
                           {QStringLiteral("date"), QDateTime::currentDateTimeUtc()},
                           {QStringLiteral("stat"), parts > 1 ? QStringLiteral("%1/%1").arg(parts) : QString()}};
  const bool ok = draftOk_ && ListFile::update(pcListPath(), [&](QVariantMap &dict) {
                    QVariantList drafts = dict.value(QStringLiteral("DraftBox")).toList();
                    drafts.append(record);
                    dict.insert(QStringLiteral("DraftBox"), drafts);
                    return true;
                  });
  modem_.send(kMajor, kMinorDraft, 1, ok ? 0 : UIMsg::kResultFailure, {}, kModuleSms);
}

void SmsSending::handleCentre() {
  const QString centre = centreSet_ ? centre_ : modem_.scenario().value(QStringLiteral("SMSC")).toString();
  if (centreFails_ || centre.isEmpty()) {
    modem_.send(kMajor, kMinorCentre, 1, UIMsg::kResultFailure, {}, kModuleSms);
    return;
  }
  modem_.send(kMajor, kMinorCentre, 1, 0, SmsCentreReply::encode(centre), kModuleSms);
}
