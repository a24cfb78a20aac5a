#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <memory>
#include <vector>

// Message objects over the SMS records of the list files: a message answers its text, number,
// date and state whether it is single or long. Objects are owned by whoever holds them
// (std::unique_ptr); a nil field is a null string, an invalid QVariant or an invalid date.
class QELMessageModelProtocol {
public:
  virtual ~QELMessageModelProtocol() = default;

  virtual QString getMessageText() const = 0;
  virtual QString getUserName() const = 0;
  virtual QString getPhoneNum() const = 0;
  virtual QString getMessagePDU() const = 0;
  virtual QString getMessageDateFormatString() const = 0;
  virtual QVariant getMessagePID() const = 0;
  virtual QVariant getMessageDCS() const = 0;
  virtual QDateTime getMessageDate() const = 0;
  virtual bool isConcatMessage() const = 0;
  virtual int getMessageTotalNum() const = 0;
  virtual QVariant getMessageRefIndex() const = 0;
  virtual QVariant getMessageSeqNum() const = 0;
  // 0 unread, 1 read, 2 draft, 3
  virtual int getMessageStatus() const = 0;
  virtual QString getMessageCenterphoneNum() const = 0;
  virtual QVariant getMessageStoredIndex() const = 0;
  virtual QVariant getMessageStoredLocation() const = 0;
  virtual int getMessageRealTotalNum() const = 0;
  virtual QVariant messageBox() const = 0;
  virtual void setMessageBox(const QVariant &box) = 0;
  virtual bool isLeaf() const = 0;
  virtual void setMessageStatus(const QVariant &status) = 0;
  virtual void setUserName(const QString &name) = 0;
  virtual void setMessageDateFormatString(const QString &text) = 0;
  virtual void setMessageStoredIndex(const QVariant &index) = 0;
  virtual void setMessageStoredLocation(const QVariant &position) = 0;
};

using QELMessagePtr = std::unique_ptr<QELMessageModelProtocol>;

// A message held whole: a single message, or the base of one part of a long message.
class QELBasicMessage : public QELMessageModelProtocol {
public:
  QELBasicMessage() = default;
  // The designated initialiser; a null user name becomes "".
  QELBasicMessage(const QString &text, const QString &userName, const QString &phoneNum, const QVariant &status,
                  const QVariant &concatSmsFlag, const QString &centre, const QDateTime &date, const QVariant &pid,
                  const QVariant &dcs, const QString &pdu, const QVariant &storedIndex);
  // From a message parameter dictionary ("messageText", "userName", "phoneNum", ...).
  explicit QELBasicMessage(const QVariantMap &params);

  QString getMessageText() const override { return messageText; }
  QString getUserName() const override { return userName; }
  QString getPhoneNum() const override { return phoneNum; }
  QString getMessagePDU() const override { return messagePDU; }
  QString getMessageDateFormatString() const override { return messageDateFormatString; }
  QVariant getMessagePID() const override { return messagePID; }
  QVariant getMessageDCS() const override { return messageDCS; }
  QDateTime getMessageDate() const override { return messageDate; }
  bool isConcatMessage() const override { return false; }
  int getMessageTotalNum() const override { return 1; }
  QVariant getMessageRefIndex() const override { return {}; }
  QVariant getMessageSeqNum() const override { return {}; }
  int getMessageStatus() const override { return messageStatus.toInt(); }
  QString getMessageCenterphoneNum() const override { return messageCenterphoneNum; }
  QVariant getMessageStoredIndex() const override { return messageStoredIndex; }
  QVariant getMessageStoredLocation() const override { return messageStoredLocation; }
  int getMessageRealTotalNum() const override { return 1; }
  QVariant messageBox() const override { return messageBox_; }
  void setMessageBox(const QVariant &box) override { messageBox_ = box; }
  bool isLeaf() const override { return true; }
  void setMessageStatus(const QVariant &status) override { messageStatus = status; }
  void setUserName(const QString &name) override { userName = name; }
  void setMessageDateFormatString(const QString &text) override { messageDateFormatString = text; }
  void setMessageStoredIndex(const QVariant &index) override { messageStoredIndex = index; }
  void setMessageStoredLocation(const QVariant &position) override { messageStoredLocation = position; }

  QVariant messageID() const { return messageID_; }
  void setMessageID(const QVariant &id) { messageID_ = id; }

  QString messageText;
  QString userName;
  QString phoneNum;
  QVariant concatSmsFlag;
  QString messagePDU;
  QString messageCenterphoneNum;
  QVariant messageStatus;
  QDateTime messageDate;
  QVariant messagePID;
  QVariant messageDCS;
  QVariant messageStoredIndex;
  QString messageDateFormatString;
  QVariant messageStoredLocation;

protected:
  QVariant messageID_;
  QVariant messageBox_;
};

class QELSingleMessage : public QELBasicMessage {
public:
  using QELBasicMessage::QELBasicMessage;
};

// One part of a long message.
class QELConcatMessage : public QELBasicMessage {
public:
  QELConcatMessage() = default;
  QELConcatMessage(const QVariant &totalNum, const QVariant &refIndex, const QVariant &seqNum, const QString &text,
                   const QString &userName, const QString &phoneNum, const QVariant &status,
                   const QVariant &concatSmsFlag, const QString &centre, const QDateTime &date, const QVariant &pid,
                   const QVariant &dcs, const QString &pdu, const QVariant &storedIndex);
  // The parameter dictionary plus "messageSeqNum", "messageRefIndex", "messageTotalNum".
  explicit QELConcatMessage(const QVariantMap &params);

  bool isConcatMessage() const override { return true; }
  int getMessageTotalNum() const override { return messageTotalNum.toInt(); }
  QVariant getMessageRefIndex() const override { return messageRefIndex; }
  QVariant getMessageSeqNum() const override { return messageSeqNum; }

  QVariant messageTotalNum;
  QVariant messageRefIndex;
  QVariant messageSeqNum;
};

// A long message as its stored parts. Name, number, date and the like are the first part's;
// without parts the strings are "", the numbers 0, the date the current time and the status 1.
class QELCompositeConcatMessage : public QELMessageModelProtocol {
public:
  QELCompositeConcatMessage() = default;
  explicit QELCompositeConcatMessage(const QVariantList &partParams);

  void addConcatMessage(const QELConcatMessage &part) { concatMessageArray.push_back(part); }
  const std::vector<QELConcatMessage> &getConcatMessageArray() const { return concatMessageArray; }

  // The parts' texts in stored order.
  QString getMessageText() const override;
  // The parts' PDU texts by ascending sequence number.
  QString getMessagePDU() const override;
  QString getUserName() const override;
  QString getPhoneNum() const override;
  QString getMessageDateFormatString() const override;
  QVariant getMessagePID() const override;
  QVariant getMessageDCS() const override;
  QDateTime getMessageDate() const override;
  bool isConcatMessage() const override { return true; }
  int getMessageTotalNum() const override;
  QVariant getMessageRefIndex() const override;
  QVariant getMessageSeqNum() const override;
  // 0 when a part is unread, else the last part's status.
  int getMessageStatus() const override;
  QString getMessageCenterphoneNum() const override;
  QVariant getMessageStoredIndex() const override { return storedIndex; }
  QVariant getMessageStoredLocation() const override { return {}; }
  int getMessageRealTotalNum() const override { return int(concatMessageArray.size()); }
  QVariant messageBox() const override;
  bool isLeaf() const override { return false; }
  // A long message's state and name change in its record, not here: these do nothing.
  void setMessageBox(const QVariant &box) override;
  void setMessageStatus(const QVariant &status) override;
  void setUserName(const QString &) override {}
  void setMessageDateFormatString(const QString &) override {}
  void setMessageStoredLocation(const QVariant &) override {}
  void setMessageStoredIndex(const QVariant &index) override { storedIndex = index; }

private:
  const QELConcatMessage *first() const { return concatMessageArray.empty() ? nullptr : &concatMessageArray.front(); }

  std::vector<QELConcatMessage> concatMessageArray;
  QVariant storedIndex;
};

// One delivery report.
class QELMessageDeliveryReport {
public:
  QELMessageDeliveryReport() = default;
  QELMessageDeliveryReport(const QString &text, const QVariant &result, const QDateTime &date, const QString &receiver,
                           const QString &dateFormatPattern, const QString &receiveMobilephone);
  QELMessageDeliveryReport(const QString &text, const QVariant &result, const QString &dateString,
                           const QString &receiver, const QString &receiveMobilephone, const QDateTime &date);

  QString reportText() const { return reportText_; }
  QString receiveMobilephone() const { return receiveMobilephone_; }
  QString receiver() const { return receiver_; }
  QVariant result() const { return result_; }
  QVariant status() const { return status_; }
  QDateTime date() const { return date_; }
  QString dateFormatPattern() const { return dateFormatPattern_; }
  void setReportText(const QString &text) { reportText_ = text; }
  void setDateFormatPattern(const QString &pattern) { dateFormatPattern_ = pattern; }
  void setStatus(const QVariant &status) { status_ = status; }
  // The date as the report list shows it.
  QString dateFormatString() const;

private:
  QVariant result_;
  QDateTime date_;
  QString reportText_;
  QString receiveMobilephone_;
  QString receiver_;
  QVariant status_;
  QString dateString_;
  QString dateFormatPattern_;
};

// Conversions between records and message objects.
class QELMessageModelManager {
public:
  static QELMessageModelManager *sharedQELMessageModelManagerInstance();

  // Null for an empty record. A flat draft becomes a single message of status 2.
  QELMessagePtr qelMessageModelProtocolWithSMSFileStrut(const QVariantMap &record, const QVariant &storedIndex) const;
  std::vector<QELMessagePtr> qelMessageModelProtocolArrayWithSMSFileStrutArray(const QVariantList &records) const;
  // The key lookup of a record.
  QVariant getMessageValueWithMessage(const QVariantMap &record, const QString &key) const;

  // Object to record: the full form for status 0, 1 and 3, the flat form for 2, an empty map
  // for any other status.
  QVariantMap getSmsContentDictWithMessageProtocol(const QELMessageModelProtocol &message) const;
  QVariantList getSmsContentArrayWithMessageProtocolArray(const std::vector<QELMessagePtr> &messages) const;
  QVariantMap getBasicContentWithMessageProtocol(const QELMessageModelProtocol &message) const;
  void addBasicInfoToSmsFileStrutWithDict(QVariantMap &dict, const QELMessageModelProtocol &message) const;

  QVariantMap deliveryReportFileStructWithQELMessageDeliveryReport(const QELMessageDeliveryReport &report) const;
  QELMessageDeliveryReport qELMessageDeliveryReportWithdeliveryReportFileStruct(const QVariantMap &record) const;

  // The nil rule: "" for a string, 0 for a number, the current time for a date.
  enum class Kind { String, Number, Date, Other };
  static QVariant checkNilWithObject(const QVariant &object, Kind kind);
  // The date's description (local time with its offset), or formatted with a calendar pattern,
  // cut to 19 characters.
  static QString dateFormatStringWithDate(const QDateTime &date, const QString &pattern);

  // An array makes a long message, a dictionary with "concatSmsFlag" a part, another
  // dictionary a single message; null otherwise.
  static QELMessagePtr getQelMessageFromMessageParam(const QVariant &param);
  static QELMessagePtr getQelMessageFromMessageContentDict(const QVariantMap &record);
};
