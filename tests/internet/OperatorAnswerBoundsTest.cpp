// Answers of an operator server that never end or never stop coming: the speed test's download
// is counted as it streams and held nowhere, a list or text answer has a length limit, and every
// request (the HTTP helper's and the SOAP client's) ends at its time limit however the answer
// trickles in. The server runs on its own thread on the loopback address.
#include "NotificationCenter.h"
#include "SoapClient.h"
#include "SpeedTestController.h"
#include "UrlOperation.h"

#include "../support/HttpStub.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizer = true;
#else
constexpr bool kSanitizer = false;
#endif
#else
constexpr bool kSanitizer = false;
#endif

// Every request gets a head that promises `length` bytes, then the bytes in pieces of `piece`
// with `pauseMs` between them, until all are sent, the client goes, or `maxMs` have passed.
class StreamingServer {
public:
  StreamingServer(qint64 length, int piece, int pauseMs, int maxMs = 60 * 60 * 1000)
      : length_(length), piece_(piece), pauseMs_(pauseMs), maxMs_(maxMs) {
    thread_ = std::thread([this] { run(); });
    while (port_.load() == 0 && !failed_.load())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~StreamingServer() {
    stop_ = true;
    thread_.join();
  }
  bool listening() const { return port_.load() != 0; }
  QString url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port_.load()).arg(path); }
  qint64 sent() const { return sent_.load(); }

private:
  void run() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost)) {
      failed_ = true;
      return;
    }
    port_ = server.serverPort();
    while (!stop_) {
      if (!server.waitForNewConnection(20))
        continue;
      std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
      serve(socket.get());
    }
  }
  void serve(QTcpSocket *socket) {
    QByteArray request;
    QElapsedTimer clock;
    clock.start();
    while (!request.contains("\r\n\r\n") && !stop_ && clock.elapsed() < 5000)
      if (socket->waitForReadyRead(20))
        request += socket->readAll();
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                  QByteArray::number(length_) + "\r\nConnection: close\r\n\r\n");
    const QByteArray block(piece_, 'x');
    qint64 left = length_;
    while (left > 0 && !stop_ && clock.elapsed() < maxMs_ && socket->state() == QAbstractSocket::ConnectedState) {
      const qint64 n = std::min<qint64>(left, block.size());
      if (socket->write(block.constData(), n) != n)
        break;
      while (socket->bytesToWrite() > 0 && !stop_ && socket->state() == QAbstractSocket::ConnectedState)
        socket->waitForBytesWritten(20);
      left -= n;
      sent_ += n;
      if (pauseMs_ > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs_));
    }
    socket->disconnectFromHost();
    if (socket->state() != QAbstractSocket::UnconnectedState)
      socket->waitForDisconnected(200);
  }

  const qint64 length_;
  const int piece_, pauseMs_, maxMs_;
  std::thread thread_;
  std::atomic<quint16> port_{0};
  std::atomic_bool stop_{false}, failed_{false};
  std::atomic<qint64> sent_{0};
};

// The resident memory of this process, in bytes.
qint64 residentBytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray &line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
  return 0;
}

// Samples the resident memory on this thread's timer (it runs inside the request's own event
// loop) and keeps the highest figure.
struct MemoryWatch {
  qint64 base = residentBytes();
  qint64 peak = base;
  QTimer timer;
  MemoryWatch() {
    QObject::connect(&timer, &QTimer::timeout, [this] { peak = std::max(peak, residentBytes()); });
    timer.start(20);
  }
  qint64 growth() const { return peak - base; }
};

constexpr qint64 kMiB = 1024 * 1024;

TEST(OperatorAnswerBounds, AnEndlessDownloadIsCountedAndNeverHeld) {
  // A gigabyte: far more than the bound below, so an answer held whole cannot pass. The
  // sanitizer keeps freed pieces in its quarantine (256 MiB) before reusing them.
  const qint64 length = 1024 * kMiB;
  const qint64 bound = kSanitizer ? 384 * kMiB : 64 * kMiB;
  StreamingServer server(length, 256 * 1024, 0);
  ASSERT_TRUE(server.listening());
  MemoryWatch memory;
  QString error;
  const auto bytes = UrlOperation::synchronousDownload(server.url(QStringLiteral("/modemdltest.jpg")), 10 * 60 * 1000,
                                                       nullptr, &error);
  ASSERT_TRUE(bytes.has_value()) << error.toStdString();
  EXPECT_EQ(*bytes, length);
  EXPECT_LT(memory.growth(), bound) << "peak growth " << memory.growth() / kMiB << " MiB for " << length / kMiB
                                    << " MiB streamed";
}

TEST(OperatorAnswerBounds, AKeptAnswerLongerThanItsLimitFails) {
  HttpStub stub;
  stub.routes.insert(QStringLiteral("/throughputtest.txt"),
                     {{200, {}, QByteArray(SpeedTestController::kMaxListBytes + 1, 'x'), false}});
  stub.routes.insert(QStringLiteral("/short.txt"), {{200, {}, "MCC=001\nMNC=01\n", false}});
  QString error;
  EXPECT_FALSE(UrlOperation::synchronousOperation({}, stub.url(QStringLiteral("/throughputtest.txt")), {},
                                                  QStringLiteral("GET"), 10000, nullptr, &error,
                                                  SpeedTestController::kMaxListBytes));
  EXPECT_TRUE(error.contains(QStringLiteral("longer than allowed"))) << error.toStdString();
  const auto list =
      UrlOperation::synchronousOperation({}, stub.url(QStringLiteral("/short.txt")), {}, QStringLiteral("GET"), 10000,
                                         nullptr, nullptr, SpeedTestController::kMaxListBytes);
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(*list, "MCC=001\nMNC=01\n");

  // The default limit holds for every caller that names none; an endless answer stops there.
  StreamingServer endless(64 * 1024 * kMiB, 64 * 1024, 0);
  MemoryWatch memory;
  EXPECT_FALSE(UrlOperation::synchronousOperation({}, endless.url(QStringLiteral("/x")), {}, QStringLiteral("GET"),
                                                  60000, nullptr, &error));
  EXPECT_LT(endless.sent(), 64 * kMiB) << "the request ended soon after the limit";
  EXPECT_LT(memory.growth(), 64 * kMiB);
}

TEST(OperatorAnswerBounds, ATricklingAnswerEndsAtTheTimeLimit) {
  // One byte every 200 ms: before its limit each request has had several signs of life.
  StreamingServer trickle(100000, 1, 200, 20000);
  ASSERT_TRUE(trickle.listening());
  QElapsedTimer clock;
  clock.start();
  QString error;
  EXPECT_FALSE(
      UrlOperation::synchronousDownload(trickle.url(QStringLiteral("/modemdltest.jpg")), 1500, nullptr, &error));
  EXPECT_GE(clock.elapsed(), 1300);
  EXPECT_LT(clock.elapsed(), 12000);
  EXPECT_TRUE(error.contains(QStringLiteral("no complete answer"))) << error.toStdString();
}

TEST(OperatorAnswerBounds, ASoapAnswerAtOneByteASecondEndsAtTheTimeLimit) {
  StreamingServer trickle(100000, 1, 1000, 30000);
  ASSERT_TRUE(trickle.listening());
  SoapClient client;
  ASSERT_TRUE(client.initWithServerName(trickle.url(QStringLiteral("/soap"))));
  client.setTimeoutMs(3500);
  QObject owner;
  QStringList errors;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("connectServerError"), nullptr,
      [&errors](const Notification &n) { errors << n.userInfo.value(QStringLiteral("errorInfor")).toString(); });
  QElapsedTimer clock;
  clock.start();
  bool sent = false;
  client.sendMessage("<Envelope/>", true, &sent);
  ASSERT_TRUE(sent);
  // Bytes arrived every second, yet the request ended at its limit, not when the server gave up.
  EXPECT_GE(clock.elapsed(), 3000); // the timer may fire a little early
  EXPECT_LT(clock.elapsed(), 20000);
  EXPECT_GE(trickle.sent(), 2);
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors.first(), QStringLiteral("The request timed out."));
  NotificationCenter::defaultCenter().removeObserver(&owner);
}

} // namespace
