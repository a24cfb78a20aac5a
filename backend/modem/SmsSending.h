#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariantList>

class SimulatedModem;
struct SmsSendRequest;

// Sending messages, saving drafts and the message centre.
//
// 768/91, a send request: the modem splits the text into parts with the program's own codec,
// pushes the progress 768/113 (u16 current part at 0, u16 total at 2, the number from 4) before
// each part of a long text, files the message in the PC OutBox when the request asks for it
// and every part went out (the locked writer), and answers with one result word per part
// (every part goes out unless told otherwise). A request that asks for no result gets none.
// 768/94, a draft: stored flat at the end of the PC DraftBox ("stat" "" for one part, "n/n"
// for n parts); the reply is type 1 with result 0, or 0xFF for a request it cannot read.
// 768/110 (any module): the scenario's "SMSC" text in 32 bytes, or result 0xFF without one.
class SmsSending : public QObject {
  Q_OBJECT
public:
  static SmsSending *install(SimulatedModem &modem);
  static SmsSending *of(SimulatedModem &modem);

  // (number, text) of every message sent, oldest first.
  QList<QPair<QString, QString>> sent() const;
  // Every request as decoded: number, text, centre, report, validity, reference, saveInBox,
  // returnResult; oldest first.
  QVariantList sentRequests() const { return requests_; }
  // Whether the following sends succeed.
  void setSendResult(bool ok) { sendOk_ = ok; }
  // The first `failedParts` parts of every following send to `number` fail (0: none).
  void setSendFailure(const QString &number, int failedParts);
  // The centre the modem reports; with `fail` the centre request fails.
  void setSmsCenter(const QString &number, bool fail);
  // Whether the following draft saves succeed.
  void setDraftSaveResult(bool ok) { draftOk_ = ok; }

private:
  explicit SmsSending(SimulatedModem &modem);
  void handleSend(const SmsSendRequest &request);
  void handleDraft(const QByteArray &payload);
  void handleCentre();
  bool fileInOutBox(const SmsSendRequest &request, int parts);

  SimulatedModem &modem_;
  QVariantList requests_;
  QHash<QString, int> failures_;
  bool sendOk_ = true;
  bool centreSet_ = false;
  QString centre_;
  bool centreFails_ = false;
  bool draftOk_ = true;
};
