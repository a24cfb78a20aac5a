// The subscriber's number from the operator's number service: the SOAP client against the
// simulated operator server, the controller that asks and stores, and how the number is shown.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialController.h"
#include "DialService.h"
#include "NotificationCenter.h"
#include "OperatorAddress.h"
#include "OperatorServer.h"
#include "Plist.h"
#include "SimulatedModem.h"
#include "SoapClient.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kImsi = QStringLiteral("001010123456789");
const QString kServicePath = QStringLiteral("/SPBUUP/SPBService");

QByteArray envelope(const QByteArray &profile) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><S:Envelope "
         "xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body><ns2:getDeviceProfileByIMSIResponse "
         "xmlns:ns2=\"http://localhost/SPBService\"><ns2:DeviceProfileByIMSI>" +
         profile + "</ns2:DeviceProfileByIMSI></ns2:getDeviceProfileByIMSIResponse></S:Body></S:Envelope>";
}

QVariant recordValue(const QVariantList &records, const QString &name) {
  for (const QVariant &r : records)
    if (r.toMap().value("xmlNodeName").toString() == name)
      return r.toMap().value("xmlNodeValue");
  return {};
}

// An in-process operator server (the backend's own) and the notifications the client posts.
class NumberQueryServer : public ::testing::Test {
protected:
  SimulatedModem modem{QVariantMap{{"SIM", QVariantMap{{"State", "Ready"}, {"IMSI", kImsi}}}}};
  OperatorServer server{&modem};
  QObject observer;
  QList<Notification> parsed, failed;

  void SetUp() override {
    ASSERT_TRUE(server.listen(0));
    NotificationCenter::defaultCenter().addObserver(&observer, "xmlParseOver", nullptr,
                                                    [this](const Notification &n) { parsed << n; });
    NotificationCenter::defaultCenter().addObserver(&observer, "connectServerError", nullptr,
                                                    [this](const Notification &n) { failed << n; });
  }
  QString serviceUrl() const { return QStringLiteral("http://127.0.0.1:%1/SPBUUP/SPBService?WSDL").arg(server.port()); }
  void serve(const QByteArray &body, quint32 delayMs = 0) { server.setAnswer(kServicePath, 200, body, delayMs); }
  bool over(int count = 1, int ms = 5000) {
    return testsupport::waitUntil([&] { return parsed.size() + failed.size() >= count; }, ms);
  }
};

using NumberQuerySoapClient = NumberQueryServer;

TEST_F(NumberQuerySoapClient, RecordsEachClosedElementOfTheAnswer) {
  struct Case {
    const char *what;
    QByteArray answer;
    QVariant msisdn; // invalid: no record named MSISDN
    bool wellFormed = true;
  };
  const QList<Case> cases = {
      {"one run", envelope("<MSISDN>4917612345670</MSISDN><IMSI>001010123456789</IMSI>"), "4917612345670"},
      {"split by a CDATA section", envelope("<MSISDN>4917<![CDATA[6123]]>45670</MSISDN>"), "4917612345670"},
      {"split by character references", envelope("<MSISDN>+49&#49;76&#x31;2345670</MSISDN>"), "+4917612345670"},
      {"split by a comment", envelope("<MSISDN>49176<!-- x -->12345670</MSISDN>"), "4917612345670"},
      {"no MSISDN", envelope("<IMEI>350000000000001</IMEI>"), QVariant()},
      // An empty element has no text of its own, not the text of the element before it.
      {"empty after another", envelope("<IMSI>001010123456789</IMSI><MSISDN></MSISDN>"), ""},
      {"not XML", "Internal error <<<", QVariant(), false},
      {"cut off after the number", "<Envelope><MSISDN>4917612345670</MSISDN><IMEI>35", "4917612345670", false},
  };
  SoapClient client;
  ASSERT_TRUE(client.initWithServerName(serviceUrl()));
  for (const Case &c : cases) {
    parsed.clear();
    failed.clear();
    serve(c.answer);
    client.sendMessage("<request/>", false);
    ASSERT_TRUE(over()) << c.what;
    ASSERT_EQ(parsed.size(), 1) << c.what << ": a parsed answer, even a broken one, ends with xmlParseOver";
    EXPECT_TRUE(failed.isEmpty()) << c.what;
    EXPECT_EQ(recordValue(client.getxmlNodeRecordArray(), "MSISDN"), c.msisdn) << c.what;
    EXPECT_EQ(client.handleResponseData(c.answer), c.wellFormed) << c.what;
  }
}

TEST_F(NumberQuerySoapClient, RecordsComeInClosingOrderWithQualifiedNames) {
  SoapClient client;
  ASSERT_TRUE(client.initWithServerName(serviceUrl()));
  serve(envelope("<MSISDN>1</MSISDN><IMEI>2</IMEI>"));
  client.sendMessage("<request/>", false);
  ASSERT_TRUE(over());
  QStringList names;
  for (const QVariant &r : client.getxmlNodeRecordArray())
    names << r.toMap().value("xmlNodeName").toString();
  EXPECT_EQ(names, (QStringList{"MSISDN", "IMEI", "ns2:DeviceProfileByIMSI", "ns2:getDeviceProfileByIMSIResponse",
                                "S:Body", "S:Envelope"}));
}

TEST_F(NumberQuerySoapClient, ASecondRequestClearsTheFirstAndItsLateAnswerStaysOut) {
  SoapClient client;
  ASSERT_TRUE(client.initWithServerName(serviceUrl()));
  serve(envelope("<MSISDN>111</MSISDN>"));
  client.sendMessage("<request/>", false);
  ASSERT_TRUE(over());
  ASSERT_EQ(recordValue(client.getxmlNodeRecordArray(), "MSISDN"), "111");

  // The first answers late; the second is asked meanwhile and answers at once.
  parsed.clear();
  serve(envelope("<MSISDN>222</MSISDN>"), 400);
  client.sendMessage("<request/>", false);
  EXPECT_TRUE(client.getxmlNodeRecordArray().isEmpty()) << "the records are cleared as the request goes out";
  ASSERT_TRUE(testsupport::waitUntil([&] { return server.requests().size() == 2; }));
  serve(envelope("<MSISDN>333</MSISDN>"));
  client.sendMessage("<request/>", false);
  ASSERT_TRUE(over());
  EXPECT_EQ(recordValue(client.getxmlNodeRecordArray(), "MSISDN"), "333");
  // Past the time the first one's answer was due.
  testsupport::waitUntil([] { return false; }, 700);
  EXPECT_EQ(parsed.size(), 1);
  EXPECT_TRUE(failed.isEmpty()) << "an abandoned request is no failure";
  EXPECT_EQ(recordValue(client.getxmlNodeRecordArray(), "MSISDN"), "333");
}

TEST_F(NumberQuerySoapClient, FailuresPostConnectServerErrorWithTheirDescription) {
  SoapClient client;
  // An address that is not one: nothing goes out, not even to the address of before.
  ASSERT_TRUE(client.initWithServerName(serviceUrl()));
  EXPECT_FALSE(client.initWithServerName("http://[::1"));
  EXPECT_FALSE(client.initWithServerName(""));
  bool sent = true;
  client.sendMessage("<request/>", false, &sent);
  EXPECT_FALSE(sent);
  QCoreApplication::processEvents();
  EXPECT_TRUE(server.requests().isEmpty());

  // A server that never answers, with the time-out shortened.
  ASSERT_TRUE(client.initWithServerName(serviceUrl()));
  serve({}, OperatorServer::kNeverMs);
  client.setTimeoutMs(300);
  client.sendMessage("<request/>", false, &sent);
  EXPECT_TRUE(sent);
  ASSERT_TRUE(over());
  ASSERT_EQ(failed.size(), 1);
  EXPECT_EQ(failed.first().userInfo.value("errorInfor").toString(), "The request timed out.");
  EXPECT_TRUE(client.getxmlNodeRecordArray().isEmpty());

  // A server that drops the connection.
  failed.clear();
  server.setAnswer(kServicePath, 0, {}, 0);
  client.sendMessage("<request/>", false);
  ASSERT_TRUE(over());
  ASSERT_EQ(failed.size(), 1);
  EXPECT_FALSE(failed.first().userInfo.value("errorInfor").toString().isEmpty());

  // An answer far larger than any device profile.
  failed.clear();
  serve(QByteArray(SoapClient::kMaxAnswerBytes + 1000, 'x'));
  client.sendMessage("<request/>", false);
  ASSERT_TRUE(over());
  ASSERT_EQ(failed.size(), 1);
  EXPECT_EQ(failed.first().userInfo.value("errorInfor").toString(), "The answer is too large.");
  EXPECT_TRUE(parsed.isEmpty());

  // Nobody listening.
  failed.clear();
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
  const quint16 closedPort = probe.serverPort();
  probe.close();
  ASSERT_TRUE(client.initWithServerName(QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort)));
  client.sendMessage("<request/>", false);
  ASSERT_TRUE(over());
  EXPECT_EQ(failed.size(), 1);
  EXPECT_TRUE(parsed.isEmpty());
}

TEST_F(NumberQuerySoapClient, WaitingAnswersTheBody) {
  SoapClient client;
  ASSERT_TRUE(client.initWithServerName(serviceUrl()));
  const QByteArray answer = envelope("<MSISDN>4917612345670</MSISDN>");
  serve(answer, 50);
  EXPECT_EQ(client.sendMessage("<request/>", true), answer);
  EXPECT_EQ(parsed.size(), 1);
  EXPECT_EQ(recordValue(client.getxmlNodeRecordArray(), "MSISDN"), "4917612345670");
}

// What goes over the wire, caught by a listener of the test's own.
TEST(NumberQueryRequest, PostsTheRequestTextWithItsHeaders) {
  QTcpServer listener;
  ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
  QByteArray received;
  QObject::connect(&listener, &QTcpServer::newConnection, [&] {
    QTcpSocket *socket = listener.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, [socket, &received] {
      received += socket->readAll();
      const qsizetype head = received.indexOf("\r\n\r\n");
      if (head >= 0 && received.size() - head - 4 >= ConfigService::getSoapServiceContent().arg(kImsi).toUtf8().size())
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: close\r\n\r\n<a/>");
    });
  });
  SoapClient client;
  ASSERT_TRUE(client.initWithServerName(
      QStringLiteral("http://127.0.0.1:%1/SPBUUP/SPBService?WSDL").arg(listener.serverPort())));
  const QByteArray body = ConfigService::getSoapServiceContent().arg(kImsi).toUtf8();
  client.sendMessage(body, true);

  const qsizetype head = received.indexOf("\r\n\r\n");
  ASSERT_GT(head, 0);
  const QByteArray headers = received.left(head);
  EXPECT_TRUE(headers.startsWith("POST /SPBUUP/SPBService?WSDL HTTP/1.1\r\n")) << headers.constData();
  EXPECT_TRUE(headers.contains("\r\nContent-Type: text/xml;charset=utf-8")) << headers.constData();
  EXPECT_TRUE(headers.contains("\r\nContent-Length: " + QByteArray::number(body.size()))) << headers.constData();
  EXPECT_EQ(received.mid(head + 4), body);
  // The request text: one line, the credentials, one space before the closing tag, the IMSI.
  EXPECT_FALSE(body.contains('\n'));
  EXPECT_TRUE(body.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?><soapenv:Envelope"));
  EXPECT_TRUE(body.contains("<loc:Authentication><Username>kel_wadu</Username><Password>kox</Password> "
                            "</loc:Authentication>"));
  EXPECT_TRUE(body.contains("<soapenv:Body><loc:getDeviceProfileByIMSI><loc:IMSI>001010123456789</loc:IMSI>"
                            "</loc:getDeviceProfileByIMSI></soapenv:Body></soapenv:Envelope>"));
}

// The controller with its notification table registered, as it is once awake.
struct RegisteredDialController : DialController {
  using DialController::registerMessages;
};

// The controller that asks and stores, on a settings folder of the test's own, against the
// in-process operator server at the operator address.
class NumberQueryController : public NumberQueryServer {
protected:
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<RegisteredDialController> dial;
  QByteArray savedAddress = qgetenv(OperatorAddress::kVariable);
  QStringList announced;

  void SetUp() override {
    NumberQueryServer::SetUp();
    qputenv(OperatorAddress::kVariable, QStringLiteral("http://127.0.0.1:%1").arg(server.port()).toUtf8());
    NotificationCenter::defaultCenter().addObserver(
        &observer, "receivePhoneNumberFromSoapServer", nullptr, [this](const Notification &n) {
          announced << n.userInfo.value("receivePhoneNumberFromSoapServer").toString();
        });
    start(QVariantMap{{"ImsiPhone", QVariantMap()}});
  }
  void TearDown() override {
    dial.reset();
    switches.reset();
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
    config.reset();
    DialService::sharedDialService()->setImsi(QString());
    qputenv(OperatorAddress::kVariable, savedAddress);
  }
  void start(const QVariantMap &settings) {
    dial.reset();
    const QString modemList = dir.filePath("ModemList");
    QDir().mkpath(modemList);
    Plist::writeFile(modemList + "/settings.plist", settings);
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
    dial = std::make_unique<RegisteredDialController>();
    dial->registerMessages();
    DialService::sharedDialService()->setImsi(kImsi);
  }
  // The number settings.plist holds for the IMSI, as read back from the file.
  QVariant storedNumber() const {
    QVariantMap onDisk;
    Plist::readDictionary(dir.filePath("ModemList/settings.plist"), &onDisk);
    return onDisk.value("ImsiPhone").toMap().value(kImsi);
  }
};

TEST_F(NumberQueryController, StoresOnlyADigitNumberForTheImsiAsked) {
  struct Case {
    const char *what;
    QByteArray msisdnElement;
    QString stored; // empty: nothing stored
  };
  const QList<Case> cases = {
      {"digits", "<MSISDN>4917612345670</MSISDN>", "4917612345670"},
      {"a leading plus", "<MSISDN>+4917612345670</MSISDN>", "+4917612345670"},
      {"white space around", "<MSISDN>\n 4917612345670 </MSISDN>", "4917612345670"},
      {"two runs", "<MSISDN>4917<![CDATA[612345670]]></MSISDN>", "4917612345670"},
      {"letters", "<MSISDN>49176abc</MSISDN>", ""},
      {"a plus inside", "<MSISDN>49+176</MSISDN>", ""},
      {"overlong", "<MSISDN>" + QByteArray(21, '7') + "</MSISDN>", ""},
      {"empty", "<MSISDN></MSISDN>", ""},
      {"none", "<IMEI>350000000000001</IMEI>", ""},
  };
  for (const Case &c : cases) {
    start(QVariantMap{{"ImsiPhone", QVariantMap()}});
    announced.clear();
    parsed.clear();
    serve(envelope(c.msisdnElement));
    dial->sendIMSIToHttpServerBySoap();
    ASSERT_TRUE(over()) << c.what;
    if (c.stored.isEmpty()) {
      EXPECT_FALSE(storedNumber().isValid()) << c.what;
      EXPECT_TRUE(announced.isEmpty()) << c.what;
    } else {
      EXPECT_EQ(storedNumber(), c.stored) << c.what;
      EXPECT_EQ(announced, QStringList{c.stored}) << c.what;
    }
  }
  // The request carried the IMSI to the number service.
  EXPECT_EQ(server.requests().size(), cases.size());
  EXPECT_EQ(server.requests().first(), "POST /SPBUUP/SPBService?WSDL");
}

TEST_F(NumberQueryController, AsksOnlyWhenTheMapExistsAndLacksTheImsi) {
  serve(envelope("<MSISDN>4917612345670</MSISDN>"));
  // No "ImsiPhone" in the settings: the operator has no number service.
  start(QVariantMap{{"Other", 1}});
  dial->sendIMSIToHttpServerBySoap();
  // A number already known.
  start(QVariantMap{{"ImsiPhone", QVariantMap{{kImsi, "4900"}}}});
  dial->sendIMSIToHttpServerBySoap();
  // No IMSI yet, and an IMSI that is no number.
  start(QVariantMap{{"ImsiPhone", QVariantMap()}});
  DialService::sharedDialService()->setImsi(QString());
  dial->sendIMSIToHttpServerBySoap();
  DialService::sharedDialService()->setImsi("00101<x/>");
  dial->sendIMSIToHttpServerBySoap();
  EXPECT_TRUE(server.requests().isEmpty());

  DialService::sharedDialService()->setImsi(kImsi);
  dial->sendIMSIToHttpServerBySoap();
  ASSERT_TRUE(over());
  EXPECT_EQ(server.requests().size(), 1);
  EXPECT_EQ(storedNumber(), "4917612345670");
}

TEST_F(NumberQueryController, AnAnswerForACardThatWentIsNotStored) {
  serve(envelope("<MSISDN>4917612345670</MSISDN>"), 200);
  dial->sendIMSIToHttpServerBySoap();
  ASSERT_TRUE(testsupport::waitUntil([&] { return server.requests().size() == 1; }));
  DialService::sharedDialService()->setImsi("001010999999999");
  ASSERT_TRUE(over());
  EXPECT_FALSE(storedNumber().isValid());
  EXPECT_TRUE(config->getConfiguration().value("ImsiPhone").toMap().isEmpty());
  EXPECT_TRUE(announced.isEmpty());
}

TEST_F(NumberQueryController, AServerErrorStoresNothingAndTheNextConnectAsksAgain) {
  serve({}, OperatorServer::kNeverMs);
  dial->soapClient()->setTimeoutMs(300);
  dial->sendIMSIToHttpServerBySoap();
  ASSERT_TRUE(over());
  ASSERT_EQ(failed.size(), 1);
  EXPECT_FALSE(storedNumber().isValid());

  serve(envelope("<MSISDN>4917612345670</MSISDN>"));
  dial->sendIMSIToHttpServerBySoap();
  ASSERT_TRUE(over(2));
  EXPECT_EQ(storedNumber(), "4917612345670");
}

TEST_F(NumberQueryController, AnotherClientsAnswerIsNotTakenForOurs) {
  // An "xmlParseOver" with no request of the controller out changes nothing.
  NotificationCenter::defaultCenter().postNotificationName("xmlParseOver");
  EXPECT_FALSE(storedNumber().isValid());
  EXPECT_TRUE(announced.isEmpty());
}

TEST_F(NumberQueryController, ThePhoneNumberAsTheHeaderShowsIt) {
  struct Case {
    QVariant runtime; // invalid: never set
    QString shown;
  };
  const QList<Case> cases = {
      {QVariant(), "RuvozNet"}, {QString(""), "RuvozNet"}, {QString("491761234567"), "01761234567"},
      {QString("4917"), "017"}, {QString("491"), "01"},    {QString("49"), "49"},
      {QString("7"), "7"},
  };
  for (const Case &c : cases) {
    QVariantMap runtime;
    if (c.runtime.isValid())
      runtime.insert(kRTPhoneNumber, c.runtime);
    dial->settingDict().insert(kCMRuntimeDataKey, runtime);
    EXPECT_EQ(dial->getPhoneNumber(), c.shown) << c.runtime.toString().toStdString();
  }
}

} // namespace
