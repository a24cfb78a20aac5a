#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVariantList>

class QNetworkAccessManager;
class QNetworkReply;

// One request in flight: what came back so far and whether it is over.
struct MyURLConnection {
  QPointer<QNetworkReply> reply;
  int response_ = 0; // HTTP status, 0 before the head came
  QByteArray data_;
  bool finished_ = false;

  int response() const { return response_; }
  void setResponse(int status) { response_ = status; }
  const QByteArray &data() const { return data_; }
  void appendData(const QByteArray &more) { data_ += more; }
  bool isFinished() const { return finished_; }
  void setFinished(bool finished) { finished_ = finished; }
};

// The small SOAP client of the operator's number service. A request goes out as an HTTP POST;
// when its answer has been read, each closed element becomes one record {"xmlNodeName",
// "xmlNodeValue"} and "xmlParseOver" is posted on the default notification centre; a request
// that fails posts "connectServerError" {"errorInfor": what went wrong}. Both on the main thread.
class SoapClient : public QObject {
  Q_OBJECT
public:
  // A request not over after this long, however much of its answer came, fails.
  static constexpr int kDefaultTimeoutMs = 60000;
  // An answer larger than this is no device profile; the request fails rather than grow.
  static constexpr int kMaxAnswerBytes = 1024 * 1024;
  // Records of one answer beyond this are not kept.
  static constexpr int kMaxRecords = 10000;

  explicit SoapClient(QObject *parent = nullptr);
  ~SoapClient() override;

  // The service's address; false for a text that is no valid URL, and no request can then be
  // sent until a valid one is given.
  bool initWithServerName(const QString &serverName);
  QUrl serverUrl() const { return serverUrl_; }

  // Sends `body` to the service. Without `wait` answers at once (an empty array) and the outcome
  // is posted; with `wait` runs a local event loop until the request is over and answers the
  // body received (the outcome is posted too). A request still in flight is abandoned: its
  // answer, should it come, is ignored. False in `sent` (when given) when no address is set.
  QByteArray sendMessage(const QByteArray &body, bool wait, bool *sent = nullptr);

  // The records of the last answer, in the order the elements closed.
  QVariantList getxmlNodeRecordArray() const { return xmlNodeRecordArray_; }

  // How long a request may take in all (tests shorten it).
  void setTimeoutMs(int ms) { timeoutMs_ = ms; }
  int timeoutMs() const { return timeoutMs_; }

  // Parses an answer into the records, as an answer from the network is; answers false when the
  // text is not well-formed XML (the records made up to the fault are kept).
  bool handleResponseData(const QByteArray &data);

  void stackPushIn(const QString &name);
  // The top name, removed; an empty string when the stack is empty.
  QString stackPopUP();

signals:
  // The request ended (answered or failed); a waiting sendMessage returns on it.
  void requestOver();

private:
  void connectionDidReceiveResponse();
  void connectionDidReceiveData();
  void connectionDidFinish();
  void connectionDidFail(const QString &description);
  void abandon();
  static void post(const QString &name, const QVariantMap &userInfo = {});

  QNetworkAccessManager *network_;
  QUrl serverUrl_;
  QString xmlNodeName_;
  QString xmlNodeValue_;
  QStringList xmlnodeNameStack_;
  QStringList textStack_; // the text of each open element, beside its name
  QVariantList xmlNodeRecordArray_;
  MyURLConnection connection_;
  QTimer timeout_;
  int timeoutMs_ = kDefaultTimeoutMs;
};
