// The operator's servers of the simulated modem: their routes, what they record, the answers tests
// put in place, and requests a broken client sends.
#include "OperatorServer.h"
#include "OperatorAddress.h"
#include "SimulatedModem.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

struct Reply {
  bool closed = false; // the server closed the connection
  QByteArray raw;
  int status() const {
    const QList<QByteArray> first = raw.left(raw.indexOf("\r\n")).split(' ');
    return first.size() >= 2 ? first.at(1).toInt() : -1;
  }
  QByteArray body() const {
    const qsizetype end = raw.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : raw.mid(end + 4);
  }
};

class OperatorServerFixture : public ::testing::Test {
protected:
  QVariantMap scenario{{"IMEI", "350000000000042"},
                       {"SIM", QVariantMap{{"State", "Ready"}, {"IMSI", "262011234567890"}, {"MNCLength", 2}}}};
  std::unique_ptr<SimulatedModem> modem;
  std::unique_ptr<OperatorServer> server;

  void serve() {
    modem = std::make_unique<SimulatedModem>(scenario);
    server = std::make_unique<OperatorServer>(modem.get());
    ASSERT_TRUE(server->listen(0));
  }

  // Sends `pieces` one after another (each once the previous one was written) and collects all
  // the server sends until it closes or `timeoutMs` passes.
  Reply exchange(const QList<QByteArray> &pieces, int timeoutMs = 5000) {
    QTcpSocket socket;
    Reply reply;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { reply.raw += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { reply.closed = true; });
    socket.connectToHost(QHostAddress::LocalHost, server->port());
    if (!testsupport::waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; })) {
      QObject::disconnect(&socket, nullptr, nullptr, nullptr);
      return reply;
    }
    for (const QByteArray &piece : pieces) {
      socket.write(piece);
      testsupport::waitUntil([&] { return socket.bytesToWrite() == 0 || reply.closed; });
      QCoreApplication::processEvents();
    }
    testsupport::waitUntil([&] { return reply.closed; }, timeoutMs);
    reply.raw += socket.readAll();
    // Our own close below is not the server's.
    QObject::disconnect(&socket, nullptr, nullptr, nullptr);
    return reply;
  }
  Reply get(const QByteArray &target, int timeoutMs = 5000) {
    return exchange({"GET " + target + " HTTP/1.1\r\nHost: x\r\n\r\n"}, timeoutMs);
  }
  Reply post(const QByteArray &target, const QByteArray &body) {
    return exchange({"POST " + target + " HTTP/1.1\r\nContent-Type: text/xml\r\nContent-Length: " +
                     QByteArray::number(body.size()) + "\r\n\r\n" + body});
  }
};

TEST_F(OperatorServerFixture, OperatorServerRoutesAnswerWhatTheScenarioSays) {
  scenario["Operator"] = QVariantMap{{"MCC", "250"}, {"MNC", QVariantList{"01", "02"}}, {"DownloadSize", 1000}};
  scenario["MSISDN"] = "79161234567";
  serve();

  const Reply list = get("/throughputtest.txt");
  EXPECT_EQ(list.status(), 200);
  // The scenario names MCC and MNC; TEST falls back to on.
  EXPECT_EQ(list.body(), "MCC=250\nMNC=01,02\nTEST=ON\n");
  EXPECT_EQ(get("/latency.txt").status(), 200);
  const Reply picture = get("/modemdltest.jpg");
  EXPECT_EQ(picture.status(), 200);
  EXPECT_EQ(picture.body().size(), 1000);
  EXPECT_TRUE(picture.body().startsWith("\xff\xd8"));
  const Reply check = post("/check/checkspeed.php/MCC=250&MNC=01", {});
  EXPECT_EQ(check.status(), 200);
  EXPECT_EQ(check.body(), "OK");
  EXPECT_EQ(post("/upload.php", QByteArray(3000, 'u')).status(), 200);

  const Reply number = post("/SPBUUP/SPBService?WSDL", "<x/>");
  EXPECT_EQ(number.status(), 200);
  EXPECT_TRUE(number.raw.contains("Content-Type: text/xml;charset=utf-8"));
  EXPECT_TRUE(number.body().contains("<MSISDN>79161234567</MSISDN>"));
  EXPECT_TRUE(number.body().contains("<IMSI>262011234567890</IMSI>"));
  EXPECT_TRUE(number.body().contains("<IMEI>350000000000042</IMEI>"));
  EXPECT_TRUE(number.body().contains("<HandsetMake>"));
  EXPECT_TRUE(number.body().contains("<HandsetModel>"));
  EXPECT_EQ(get("/SPBUUP/SPBService?WSDL").status(), 405);

  // The extender pages take the number and IMSI and show them escaped.
  const QByteArray extender = OperatorAddress::kExtenderPath;
  const Reply page = get(extender + "extender1.xhtml?msisdn=%3Cb%3E&imsi=262011234567890");
  EXPECT_EQ(page.status(), 200);
  EXPECT_TRUE(page.body().contains("&lt;b&gt;"));
  EXPECT_FALSE(page.body().contains("<b>"));
  EXPECT_EQ(get(extender + "extender2.xhtml").status(), 200);
  EXPECT_EQ(get(extender + "extender3.xhtml").status(), 404);

  EXPECT_EQ(get("/").status(), 404);
  EXPECT_EQ(get("/throughputtest.txt.bak").status(), 404);
}

TEST_F(OperatorServerFixture, OperatorServerListFileAndNumberFallBackToTheSim) {
  serve();
  EXPECT_EQ(get("/throughputtest.txt").body(), "MCC=262\nMNC=01\nTEST=ON\n");
  EXPECT_EQ(get("/modemdltest.jpg").body().size(), OperatorServer::kDefaultDownloadSize);
  const QByteArray answer = post("/SPBUUP/SPBService", "<x/>").body();
  EXPECT_FALSE(answer.contains("MSISDN"));
  EXPECT_TRUE(answer.contains("<IMSI>262011234567890</IMSI>"));

  // A three-digit network code, and a number kept in the operator's dictionary.
  scenario["SIM"] = QVariantMap{{"State", "Ready"}, {"IMSI", "310260123456789"}, {"MNCLength", 3}};
  scenario["Operator"] = QVariantMap{{"MSISDN", "1<2"}, {"TEST", "OFF"}};
  serve();
  EXPECT_EQ(get("/throughputtest.txt").body(), "MCC=310\nMNC=260\nTEST=OFF\n");
  EXPECT_TRUE(post("/SPBUUP/SPBService", "<x/>").body().contains("<MSISDN>1&lt;2</MSISDN>"));
}

TEST_F(OperatorServerFixture, OperatorServerRecordsEveryRequestOldestFirst) {
  serve();
  get("/latency.txt");
  post("/check/checkspeed.php/a=1&b=2", {});
  get("/nothing?x=1");
  EXPECT_EQ(server->requests(),
            (QStringList{"GET /latency.txt", "POST /check/checkspeed.php/a=1&b=2", "GET /nothing?x=1"}));
}

TEST_F(OperatorServerFixture, OperatorServerReplacedAnswersDelaysAndDrops) {
  serve();
  server->setAnswer("/latency.txt", 503, "busy", 0);
  Reply busy = get("/latency.txt?t=1");
  EXPECT_EQ(busy.status(), 503);
  EXPECT_EQ(busy.body(), "busy");

  // A folder covers what lies below it.
  server->setAnswer("/check/", 500, "", 0);
  EXPECT_EQ(post("/check/checkspeed.php/x", {}).status(), 500);

  QElapsedTimer clock;
  clock.start();
  server->setAnswer("/upload.php", 200, "late", 300);
  const Reply late = post("/upload.php", "x");
  EXPECT_EQ(late.body(), "late");
  EXPECT_GE(clock.elapsed(), 300);

  // Status 0: the connection ends without a byte.
  server->setAnswer("/latency.txt", 0, {}, 0);
  const Reply dropped = get("/latency.txt");
  EXPECT_TRUE(dropped.closed);
  EXPECT_TRUE(dropped.raw.isEmpty());

  // Never: the connection stays open and silent.
  server->setAnswer("/latency.txt", 200, "never", OperatorServer::kNeverMs);
  const Reply silent = get("/latency.txt", 300);
  EXPECT_FALSE(silent.closed);
  EXPECT_TRUE(silent.raw.isEmpty());

  // A negative status brings the usual answer back.
  server->setAnswer("/latency.txt", -1, {}, 0);
  EXPECT_EQ(get("/latency.txt").body(), "latency\n");
  EXPECT_EQ(server->requests().size(), 6);
}

TEST_F(OperatorServerFixture, OperatorServerRefusesMalformedRequestsAndKeepsServing) {
  serve();
  struct Case {
    const char *what;
    QByteArray request;
    int status;
  };
  const QList<Case> cases = {
      {"not HTTP", "hello there\r\n\r\n", 400},
      {"no path", "GET HTTP/1.1\r\n\r\n", 400},
      {"lower-case method", "get / HTTP/1.1\r\n\r\n", 400},
      {"header without colon", "GET /latency.txt HTTP/1.1\r\nbroken\r\n\r\n", 400},
      {"length not a number", "POST /upload.php HTTP/1.1\r\nContent-Length: 12abc\r\n\r\n", 400},
      {"negative length", "POST /upload.php HTTP/1.1\r\nContent-Length: -5\r\n\r\n", 400},
      {"two lengths that differ", "POST /upload.php HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", 400},
      {"chunked body", "POST /upload.php HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", 501},
      {"body over the limit", "POST /SPBUUP/SPBService HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", 413},
      {"huge length", "POST /upload.php HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n", 400},
      {"head over the limit", "GET /" + QByteArray(OperatorServer::kMaxHeaderBytes + 10, 'a'), 431},
  };
  for (const Case &c : cases) {
    const Reply reply = exchange({c.request});
    EXPECT_EQ(reply.status(), c.status) << c.what;
    EXPECT_TRUE(reply.closed) << c.what;
  }
  // None of them was a request.
  EXPECT_TRUE(server->requests().isEmpty());

  // A request that comes in pieces, the body after the head, and bare line ends.
  const QByteArray body = "<soap/>";
  const Reply pieces = exchange({"PO", "ST /SPBUUP/SPBService HTTP/1.1\r\nContent-Le",
                                 "ngth: " + QByteArray::number(body.size()) + "\r\n\r\n", "<soa", "p/>"});
  EXPECT_EQ(pieces.status(), 200);
  EXPECT_EQ(get("/latency.txt").status(), 200);
  EXPECT_EQ(exchange({"GET /latency.txt HTTP/1.0\n\n"}).status(), 200);

  // A client that leaves in the middle of its request.
  {
    QTcpSocket gone;
    gone.connectToHost(QHostAddress::LocalHost, server->port());
    ASSERT_TRUE(gone.waitForConnected(5000));
    gone.write("POST /upload.php HTTP/1.1\r\nContent-Length: 100\r\n\r\nabc");
    gone.waitForBytesWritten(5000);
    gone.abort();
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(get("/latency.txt").status(), 200);
  EXPECT_EQ(server->requests().size(), 4);
}

// The control interface of a running backend, as the end-to-end tests use it.
TEST(OperatorServerControl, OperatorServerIsSteeredOverTheBus) {
  const QString address = testsupport::useFreeOperatorAddress();
  testsupport::BackendProcess backend(testsupport::uniqueBusName("ui"), testsupport::uniqueBusName("be"));
  if (!backend.start())
    GTEST_SKIP() << "no session bus";
  const quint16 port = static_cast<quint16>(QUrl(address).port());

  auto fetch = [&](const QByteArray &request) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
      return QByteArray();
    socket.write(request);
    QByteArray all;
    testsupport::waitUntil([&] {
      all += socket.readAll();
      return socket.state() == QAbstractSocket::UnconnectedState;
    });
    return all + socket.readAll();
  };
  EXPECT_TRUE(fetch("GET /latency.txt?n=1 HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200"));
  ASSERT_TRUE(backend.control("SetOperatorAnswer", {"/latency.txt", 404, "gone", 0u}).value(0).toBool());
  EXPECT_TRUE(fetch("GET /latency.txt HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 404"));
  EXPECT_FALSE(backend.control("SetOperatorAnswer", {"latency.txt", 404, "", 0u}).value(0).toBool());

  const QStringList requests = backend.control("OperatorRequests").value(0).toStringList();
  EXPECT_EQ(requests, (QStringList{"GET /latency.txt?n=1", "GET /latency.txt"}));
}

} // namespace
