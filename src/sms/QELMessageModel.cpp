#include "QELMessageModel.h"

#include "SmsClock.h"
#include "TextFormats.h"

#include <QDebug>
#include <algorithm>

namespace {

QDateTime dateOf(const QVariant &v) {
  return v.typeId() == QMetaType::QDateTime ? v.toDateTime() : QDateTime();
}
QString stringOf(const QVariant &v) {
  return v.isValid() ? v.toString() : QString();
}

QString nilString(const QString &s) {
  return s.isNull() ? QStringLiteral("") : s;
}
QVariant nilNumber(const QVariant &v) {
  return v.isValid() ? v : QVariant(0);
}
QDateTime nilDate(const QDateTime &d) {
  return d.isValid() ? d : SmsClock::now();
}

// The parameter dictionary keys shared by single messages and parts.
void fillFromParams(QELBasicMessage &m, const QVariantMap &p) {
  m.messageText = stringOf(p.value(QStringLiteral("messageText")));
  m.userName = nilString(stringOf(p.value(QStringLiteral("userName"))));
  m.phoneNum = stringOf(p.value(QStringLiteral("phoneNum")));
  m.messageStatus = p.value(QStringLiteral("messageStatus"));
  m.concatSmsFlag = p.value(QStringLiteral("concatSmsFlag"));
  m.messageCenterphoneNum = stringOf(p.value(QStringLiteral("messageCenterphoneNum")));
  m.messageDate = dateOf(p.value(QStringLiteral("messageDate")));
  m.messagePID = p.value(QStringLiteral("messagePID"));
  m.messageDCS = p.value(QStringLiteral("messageDCS"));
  m.messagePDU = stringOf(p.value(QStringLiteral("messagePDU")));
  m.messageStoredLocation = p.value(QStringLiteral("messageStoredLocation"));
  m.setMessageBox(p.value(QStringLiteral("box")));
}

} // namespace

QELBasicMessage::QELBasicMessage(const QString &text, const QString &userName_, const QString &phone,
                                 const QVariant &status, const QVariant &flag, const QString &centre,
                                 const QDateTime &date, const QVariant &pid, const QVariant &dcs, const QString &pdu,
                                 const QVariant &storedIndex)
    : messageText(text), userName(nilString(userName_)), phoneNum(phone), concatSmsFlag(flag), messagePDU(pdu),
      messageCenterphoneNum(centre), messageStatus(status), messageDate(date), messagePID(pid), messageDCS(dcs),
      messageStoredIndex(storedIndex) {}

QELBasicMessage::QELBasicMessage(const QVariantMap &params) : userName(QStringLiteral("")) {
  fillFromParams(*this, params);
}

QELConcatMessage::QELConcatMessage(const QVariant &totalNum, const QVariant &refIndex, const QVariant &seqNum,
                                   const QString &text, const QString &userName_, const QString &phone,
                                   const QVariant &status, const QVariant &flag, const QString &centre,
                                   const QDateTime &date, const QVariant &pid, const QVariant &dcs, const QString &pdu,
                                   const QVariant &storedIndex)
    : QELBasicMessage(text, userName_, phone, status, flag, centre, date, pid, dcs, pdu, storedIndex),
      messageTotalNum(totalNum), messageRefIndex(refIndex), messageSeqNum(seqNum) {}

QELConcatMessage::QELConcatMessage(const QVariantMap &params) : QELBasicMessage(params) {
  messageSeqNum = params.value(QStringLiteral("messageSeqNum"));
  messageRefIndex = params.value(QStringLiteral("messageRefIndex"));
  messageTotalNum = params.value(QStringLiteral("messageTotalNum"));
}

QELCompositeConcatMessage::QELCompositeConcatMessage(const QVariantList &partParams) {
  for (const QVariant &p : partParams)
    concatMessageArray.emplace_back(p.toMap());
}

QString QELCompositeConcatMessage::getMessageText() const {
  QString text = QStringLiteral("");
  for (const QELConcatMessage &part : concatMessageArray)
    text += part.getMessageText();
  return text;
}

QString QELCompositeConcatMessage::getMessagePDU() const {
  std::vector<const QELConcatMessage *> parts;
  for (const QELConcatMessage &part : concatMessageArray)
    parts.push_back(&part);
  std::stable_sort(parts.begin(), parts.end(), [](const QELConcatMessage *a, const QELConcatMessage *b) {
    return a->getMessageSeqNum().toInt() < b->getMessageSeqNum().toInt();
  });
  QString pdu = QStringLiteral("");
  for (const QELConcatMessage *part : parts)
    pdu += part->getMessagePDU();
  return pdu;
}

QString QELCompositeConcatMessage::getUserName() const {
  return first() ? first()->getUserName() : QStringLiteral("");
}
QString QELCompositeConcatMessage::getPhoneNum() const {
  return first() ? first()->getPhoneNum() : QStringLiteral("");
}
QString QELCompositeConcatMessage::getMessageDateFormatString() const {
  return first() ? first()->getMessageDateFormatString() : QStringLiteral("");
}
QVariant QELCompositeConcatMessage::getMessagePID() const {
  return first() ? first()->getMessagePID() : QVariant(0);
}
QVariant QELCompositeConcatMessage::getMessageDCS() const {
  return first() ? first()->getMessageDCS() : QVariant(0);
}
QDateTime QELCompositeConcatMessage::getMessageDate() const {
  return first() ? first()->getMessageDate() : SmsClock::now();
}
int QELCompositeConcatMessage::getMessageTotalNum() const {
  return first() ? first()->getMessageTotalNum() : 0;
}
QVariant QELCompositeConcatMessage::getMessageRefIndex() const {
  return first() ? first()->getMessageRefIndex() : QVariant(0);
}
QVariant QELCompositeConcatMessage::getMessageSeqNum() const {
  return first() ? first()->getMessageSeqNum() : QVariant(0);
}
QString QELCompositeConcatMessage::getMessageCenterphoneNum() const {
  return first() ? first()->getMessageCenterphoneNum() : QStringLiteral("");
}
QVariant QELCompositeConcatMessage::messageBox() const {
  return first() ? first()->messageBox() : QVariant(0);
}

int QELCompositeConcatMessage::getMessageStatus() const {
  if (concatMessageArray.empty())
    return 1;
  for (const QELConcatMessage &part : concatMessageArray)
    if (part.getMessageStatus() == 0)
      return 0;
  return concatMessageArray.back().getMessageStatus();
}

void QELCompositeConcatMessage::setMessageBox(const QVariant &) {
  qDebug() << "composite point not support:[]";
}
void QELCompositeConcatMessage::setMessageStatus(const QVariant &) {
  qDebug() << "";
}

QELMessageDeliveryReport::QELMessageDeliveryReport(const QString &text, const QVariant &result, const QDateTime &date,
                                                   const QString &receiver, const QString &pattern,
                                                   const QString &mobile)
    : result_(result), date_(date), reportText_(text), receiveMobilephone_(mobile), receiver_(receiver),
      dateFormatPattern_(pattern) {}

QELMessageDeliveryReport::QELMessageDeliveryReport(const QString &text, const QVariant &result,
                                                   const QString &dateString, const QString &receiver,
                                                   const QString &mobile, const QDateTime &date)
    : QELMessageDeliveryReport(text, result, date, receiver, QString(), mobile) {
  dateString_ = dateString;
}

QString QELMessageDeliveryReport::dateFormatString() const {
  if (!dateString_.isNull())
    return dateString_;
  return QELMessageModelManager::dateFormatStringWithDate(date_, dateFormatPattern_);
}

QELMessageModelManager *QELMessageModelManager::sharedQELMessageModelManagerInstance() {
  static QELMessageModelManager manager;
  return &manager;
}

QVariant QELMessageModelManager::checkNilWithObject(const QVariant &object, Kind kind) {
  if (object.isValid() && !object.isNull())
    return object;
  switch (kind) {
  case Kind::String:
    return QStringLiteral("");
  case Kind::Number:
    return 0;
  case Kind::Date:
    return SmsClock::now();
  case Kind::Other:
    break;
  }
  return {};
}

QString QELMessageModelManager::dateFormatStringWithDate(const QDateTime &date, const QString &pattern) {
  if (!date.isValid())
    return QStringLiteral("");
  const QDateTime local = date.toTimeZone(SmsClock::zone());
  QString text;
  if (!pattern.isEmpty()) {
    text = formatCalendarDate(local, pattern);
  } else {
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    text = local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QStringLiteral(" %1%2%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
  }
  constexpr int kSampleLength = 19; // "2007-06-04 23:30:30"
  return text.size() > kSampleLength ? text.left(kSampleLength) : text;
}

QVariant QELMessageModelManager::getMessageValueWithMessage(const QVariantMap &record, const QString &key) const {
  if (key == QLatin1String("concatSmsFlag"))
    return record.value(key);
  const QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
  if (key == QLatin1String("username"))
    return summary.value(key);
  if (record.value(QStringLiteral("concatSmsFlag")).toBool()) {
    if (key == QLatin1String("messagetext")) {
      QString text = QStringLiteral("");
      for (const QVariant &part : record.value(QStringLiteral("smsInfo")).toList())
        text += part.toMap().value(key).toString();
      return text;
    }
    return summary.value(key);
  }
  if (key == QLatin1String("totalNum"))
    return 1;
  return record.value(QStringLiteral("smsInfo")).toMap().value(key);
}

QELMessagePtr QELMessageModelManager::qelMessageModelProtocolWithSMSFileStrut(const QVariantMap &record,
                                                                              const QVariant &storedIndex) const {
  if (record.isEmpty())
    return nullptr;
  if (!record.contains(QStringLiteral("concatSmsInfo")) && !record.contains(QStringLiteral("smsInfo"))) {
    QVariantMap params;
    params.insert(QStringLiteral("messageText"),
                  checkNilWithObject(record.value(QStringLiteral("messagetext")), Kind::String));
    params.insert(QStringLiteral("messageStatus"), 2);
    params.insert(QStringLiteral("messageDate"), checkNilWithObject(record.value(QStringLiteral("date")), Kind::Date));
    params.insert(QStringLiteral("phoneNum"),
                  checkNilWithObject(record.value(QStringLiteral("mobilephone")), Kind::String));
    return std::make_unique<QELSingleMessage>(params);
  }
  auto value = [&](const char *key) { return getMessageValueWithMessage(record, QString::fromLatin1(key)); };
  const QString userName = stringOf(value("username"));
  if (!value("concatSmsFlag").toBool()) {
    auto single =
        std::make_unique<QELSingleMessage>(stringOf(value("messagetext")), userName, stringOf(value("mobilephone")),
                                           value("stat"), false, stringOf(value("sca")), dateOf(value("date")),
                                           value("pid"), value("dcs"), stringOf(value("pdu")), value("index"));
    single->setMessageBox(value("box"));
    return single;
  }
  const QVariant total = value("totalNum");
  const QVariant ref = value("refIndex");
  const QString phone = stringOf(value("mobilephone"));
  auto composite = std::make_unique<QELCompositeConcatMessage>();
  for (const QVariant &item : record.value(QStringLiteral("smsInfo")).toList()) {
    const QVariantMap p = item.toMap();
    QELConcatMessage part(
        total, ref, p.value(QStringLiteral("seqNum")), stringOf(p.value(QStringLiteral("messagetext"))), userName,
        phone, p.value(QStringLiteral("stat")), true, stringOf(p.value(QStringLiteral("sca"))),
        dateOf(p.value(QStringLiteral("date"))), p.value(QStringLiteral("pid")), p.value(QStringLiteral("dcs")),
        stringOf(p.value(QStringLiteral("pdu"))), p.value(QStringLiteral("index")));
    part.setMessageBox(p.value(QStringLiteral("box")));
    composite->addConcatMessage(part);
  }
  if (storedIndex.isValid())
    composite->setMessageStoredIndex(storedIndex);
  return composite;
}

std::vector<QELMessagePtr>
QELMessageModelManager::qelMessageModelProtocolArrayWithSMSFileStrutArray(const QVariantList &records) const {
  std::vector<QELMessagePtr> out;
  for (qsizetype i = 0; i < records.size(); ++i)
    if (QELMessagePtr m = qelMessageModelProtocolWithSMSFileStrut(records.at(i).toMap(), int(i)))
      out.push_back(std::move(m));
  return out;
}

QVariantMap QELMessageModelManager::getBasicContentWithMessageProtocol(const QELMessageModelProtocol &m) const {
  QVariantMap part;
  part.insert(QStringLiteral("date"), nilDate(m.getMessageDate()));
  part.insert(QStringLiteral("dcs"), nilNumber(m.getMessageDCS()));
  part.insert(QStringLiteral("sca"), nilString(m.getMessageCenterphoneNum()));
  part.insert(QStringLiteral("messagetext"), nilString(m.getMessageText()));
  part.insert(QStringLiteral("mobilephone"), nilString(m.getPhoneNum()));
  part.insert(QStringLiteral("pdu"), nilString(m.getMessagePDU()));
  part.insert(QStringLiteral("pid"), nilNumber(m.getMessagePID()));
  part.insert(QStringLiteral("index"), nilNumber(m.getMessageStoredIndex()));
  part.insert(QStringLiteral("box"), nilNumber(m.messageBox()));
  part.insert(QStringLiteral("stat"), m.getMessageStatus());
  part.insert(QStringLiteral("seqNum"), nilNumber(m.getMessageSeqNum()));
  return part;
}

void QELMessageModelManager::addBasicInfoToSmsFileStrutWithDict(QVariantMap &dict,
                                                                const QELMessageModelProtocol &m) const {
  dict.insert(QStringLiteral("date"), m.getMessageDate());
  dict.insert(QStringLiteral("dcs"), m.getMessageDCS());
  dict.insert(QStringLiteral("sca"), m.getMessageCenterphoneNum());
  dict.insert(QStringLiteral("messagetext"), m.getMessageText());
  dict.insert(QStringLiteral("mobilephone"), m.getPhoneNum());
  dict.insert(QStringLiteral("pdu"), m.getMessagePDU());
  dict.insert(QStringLiteral("pid"), m.getMessagePID());
  dict.insert(QStringLiteral("index"), m.getMessageStoredIndex());
  dict.insert(QStringLiteral("box"), m.messageBox());
  dict.insert(QStringLiteral("stat"), m.getMessageStatus());
}

QVariantMap QELMessageModelManager::getSmsContentDictWithMessageProtocol(const QELMessageModelProtocol &m) const {
  const int status = m.getMessageStatus();
  if (status == 2) {
    const int total = m.getMessageTotalNum();
    QVariantMap flat;
    flat.insert(QStringLiteral("date"), nilDate(m.getMessageDate()));
    flat.insert(QStringLiteral("messagetext"), nilString(m.getMessageText()));
    flat.insert(QStringLiteral("mobilephone"), nilString(m.getPhoneNum()));
    flat.insert(QStringLiteral("stat"), total < 2 ? QStringLiteral("") : QStringLiteral("%1/%1").arg(total));
    return flat;
  }
  if (status != 0 && status != 1 && status != 3)
    return {};
  QVariantMap record;
  record.insert(QStringLiteral("concatSmsFlag"), m.isConcatMessage());
  QVariantMap summary;
  summary.insert(QStringLiteral("date"), nilDate(m.getMessageDate()));
  summary.insert(QStringLiteral("mobilephone"), nilString(m.getPhoneNum()));
  summary.insert(QStringLiteral("stat"), status);
  summary.insert(QStringLiteral("username"), nilString(m.getUserName()));
  if (const auto *composite = dynamic_cast<const QELCompositeConcatMessage *>(&m)) {
    summary.insert(QStringLiteral("messagetext"), m.getMessageText());
    summary.insert(QStringLiteral("refIndex"), nilNumber(m.getMessageRefIndex()));
    summary.insert(QStringLiteral("totalNum"), m.getMessageTotalNum());
    QVariantList parts;
    for (const QELConcatMessage &part : composite->getConcatMessageArray())
      parts.append(getBasicContentWithMessageProtocol(part));
    record.insert(QStringLiteral("smsInfo"), parts);
  } else if (m.isConcatMessage()) {
    // A lone part stands for a long message of one stored part.
    summary.insert(QStringLiteral("messagetext"), nilString(m.getMessageText()));
    summary.insert(QStringLiteral("refIndex"), nilNumber(m.getMessageRefIndex()));
    summary.insert(QStringLiteral("totalNum"), m.getMessageTotalNum());
    record.insert(QStringLiteral("smsInfo"), QVariantList{getBasicContentWithMessageProtocol(m)});
  } else {
    record.insert(QStringLiteral("smsInfo"), getBasicContentWithMessageProtocol(m));
  }
  record.insert(QStringLiteral("concatSmsInfo"), summary);
  return record;
}

QVariantList
QELMessageModelManager::getSmsContentArrayWithMessageProtocolArray(const std::vector<QELMessagePtr> &messages) const {
  QVariantList out;
  for (const QELMessagePtr &m : messages)
    if (m)
      out.append(getSmsContentDictWithMessageProtocol(*m));
  return out;
}

QVariantMap
QELMessageModelManager::deliveryReportFileStructWithQELMessageDeliveryReport(const QELMessageDeliveryReport &r) const {
  QVariantMap record;
  record.insert(QStringLiteral("RESULT"), checkNilWithObject(r.result(), Kind::Number));
  record.insert(QStringLiteral("date"), nilDate(r.date()));
  record.insert(QStringLiteral("messagetext"), nilString(r.reportText()));
  record.insert(QStringLiteral("mobilephone"), nilString(r.receiveMobilephone()));
  record.insert(QStringLiteral("stat"), checkNilWithObject(r.status(), Kind::Number));
  record.insert(QStringLiteral("username"), nilString(r.receiver()));
  return record;
}

QELMessageDeliveryReport
QELMessageModelManager::qELMessageDeliveryReportWithdeliveryReportFileStruct(const QVariantMap &record) const {
  QELMessageDeliveryReport report(stringOf(record.value(QStringLiteral("messagetext"))),
                                  record.value(QStringLiteral("RESULT")), dateOf(record.value(QStringLiteral("date"))),
                                  stringOf(record.value(QStringLiteral("username"))), QString(),
                                  stringOf(record.value(QStringLiteral("mobilephone"))));
  report.setStatus(record.value(QStringLiteral("stat")));
  return report;
}

QELMessagePtr QELMessageModelManager::getQelMessageFromMessageParam(const QVariant &param) {
  if (param.typeId() == QMetaType::QVariantList)
    return std::make_unique<QELCompositeConcatMessage>(param.toList());
  if (param.typeId() != QMetaType::QVariantMap)
    return nullptr;
  const QVariantMap dict = param.toMap();
  if (dict.value(QStringLiteral("concatSmsFlag")).toBool())
    return std::make_unique<QELConcatMessage>(dict);
  return std::make_unique<QELSingleMessage>(dict);
}

QELMessagePtr QELMessageModelManager::getQelMessageFromMessageContentDict(const QVariantMap &record) {
  return sharedQELMessageModelManagerInstance()->qelMessageModelProtocolWithSMSFileStrut(record, QVariant());
}
