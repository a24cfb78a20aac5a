#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>

class QProcess;
class QTcpServer;
class QTcpSocket;
class SimulatedModem;

// The operator's servers as the simulated modem's network would offer them: a small HTTP/1.1
// server on the loopback address (the speed-test files, the number service, the extender pages)
// and, when the iperf tool is installed, its UDP server on the same port number. Every request is
// recorded; tests can replace the answer of one path, delay it or have the connection dropped.
class OperatorServer : public QObject {
  Q_OBJECT
public:
  // Limits of what one request may bring; beyond them the request is refused and the connection
  // closed, so a broken or hostile client cannot make the backend grow without bound.
  static constexpr int kMaxHeaderBytes = 16 * 1024;
  static constexpr int kMaxBodyBytes = 1024 * 1024;
  static constexpr int kMaxRecorded = 1000;
  // A connection that has not brought a whole request within this time is closed.
  static constexpr int kIdleMs = 30000;
  // Delays at or above this never answer.
  static constexpr quint32 kNeverMs = 0x7fffffff;
  // The size of "/modemdltest.jpg" when the scenario names none.
  static constexpr int kDefaultDownloadSize = 64 * 1024;
  static constexpr int kMaxDownloadSize = 64 * 1024 * 1024;

  struct Answer {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    quint32 delayMs = 0;
  };

  // The modem's scenario (its "Operator" dictionary, "MSISDN", "IMEI") and its SIM shape the
  // answers; they are read at each request, so a scenario loaded later is served at once.
  explicit OperatorServer(const SimulatedModem *modem, QObject *parent = nullptr);
  ~OperatorServer() override;

  // Serves on 127.0.0.1 at the port of the operator address (QEL_OPERATOR_URL as the program
  // passed it), and starts iperf there when it is installed. A port that cannot be bound is
  // logged and the backend goes on without the servers.
  bool start();
  // Serves on 127.0.0.1 at `port` (0: any free port); false when it cannot be bound.
  bool listen(quint16 port);
  quint16 port() const;
  bool isListening() const;

  // "METHOD path?query" of every complete request, oldest first (the newest kMaxRecorded).
  QStringList requests() const { return requests_; }
  void clearRequests() { requests_.clear(); }
  // Replaces the answer of `path` (without query; a path ending in "/" covers everything below
  // it). Status 0 closes the connection without an answer; a negative status removes the
  // replacement. The answer is held back `delayMs` (kNeverMs or more: never sent).
  void setAnswer(const QString &path, int status, const QByteArray &body, quint32 delayMs);

  // The answer the server gives to a request (`target`: path and query), without replacements.
  Answer answerFor(const QByteArray &method, const QString &target) const;

  // The operator list file, the number service's envelope: what the scenario says.
  QByteArray operatorListFile() const;
  QByteArray numberServiceAnswer() const;

  // The path of the extender pages is shared with the program (OperatorAddress::kExtenderPath).
  static QByteArray extenderPage(int which, const QString &query);

private:
  void onNewConnection();
  // What one connection has brought so far.
  struct Connection {
    QByteArray head;
    bool headDone = false;
    bool handled = false;
    QByteArray method, target;
    qint64 expected = 0; // body bytes announced
    qint64 got = 0;      // body bytes received
    bool keepBody = true;
    QByteArray body;
  };
  void onReadyRead(QTcpSocket *socket);
  bool readHead(QTcpSocket *socket, Connection &c);
  void handleRequest(QTcpSocket *socket, const Connection &c);
  static void writeAnswer(QTcpSocket *socket, const Answer &answer);
  static void refuse(QTcpSocket *socket, int status);
  void startIperf(quint16 port);
  void stopIperf();
  const Answer *replacementFor(const QString &path) const;

  const SimulatedModem *modem_;
  QTcpServer *server_;
  QProcess *iperf_ = nullptr;
  QStringList requests_;
  QHash<QString, Answer> replacements_;
  QHash<QTcpSocket *, Connection> connections_;
};
