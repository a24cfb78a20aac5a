// The subscriber's number end to end: the real window and controllers connect through the
// simulated modem, whose operator server plays the number service.
#include "../mainwindow/MainWindowFixture.h"
#include "DialController.h"
#include "DialService.h"
#include "OperatorServer.h"
#include "SoapClient.h"

#include <QPushButton>

namespace {

const QString kSimImsi = QStringLiteral("001010123456789");    // the card of "sim-ready"
const QString kServedNumber = QStringLiteral("4917612345670"); // its "MSISDN"

class NumberQueryEndToEnd : public NetworkWindowFixture {
protected:
  QList<Notification> failed;
  QStringList announced;
  // Set before the connect, so that whoever asks first meets the silent service.
  bool silentService = false;

  QVariantMap settingsOverrides() const override { return {{QStringLiteral("ImsiPhone"), QVariantMap()}}; }
  void SetUp() override {} // each test starts when ready
  void TearDown() override {
    DialController::setTimeScale(1.0);
    if (parts.window)
      NetworkWindowFixture::TearDown();
  }

  // Up to a connection with the card's IMSI known.
  bool connect() {
    NetworkWindowFixture::SetUp();
    const QVariantList profiles{QVariantMap{{QStringLiteral("provider"), QStringLiteral("Internet")},
                                            {QStringLiteral("apnName"), QStringLiteral("internet")},
                                            {QStringLiteral("telNumber"), QStringLiteral("*99#")},
                                            {QStringLiteral("pppFlag"), 1}}};
    Plist::writeFile(dir.filePath(QStringLiteral("ModemList/dialConfig.plist")), profiles);
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    scenario.insert(QStringLiteral("Data"), QVariantMap{{QStringLiteral("StepMs"), 30}});
    DialController::setTimeScale(0.02);
    if (!launch(testsupport::writePlist(dir.filePath(QStringLiteral("scenario.plist")), scenario)))
      return false;
    NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("connectServerError"), nullptr,
                                                    [this](const Notification &n) { failed << n; });
    NotificationCenter::defaultCenter().addObserver(
        &owner, QStringLiteral("receivePhoneNumberFromSoapServer"), nullptr, [this](const Notification &n) {
          announced << n.userInfo.value(QStringLiteral("receivePhoneNumberFromSoapServer")).toString();
        });
    if (!testsupport::waitUntil([] { return g_DialController && g_DialController->isConnectBtnEnabled(); }))
      return false;
    if (silentService) {
      const QVariantList never{QStringLiteral("/SPBUUP/SPBService"), 200, QString(), uint(OperatorServer::kNeverMs)};
      if (!backend->control(QStringLiteral("SetOperatorAnswer"), never).value(0).toBool())
        return false;
      g_DialController->soapClient()->setTimeoutMs(500);
    }
    g_DialController->m_ConnectButton->click();
    return testsupport::waitUntil([] { return g_DialController->connectStatus() == DialController::kConnected; }) &&
           testsupport::waitUntil([] { return DialService::sharedDialService()->imsi() == kSimImsi; });
  }
  QVariant storedNumber() const {
    QVariantMap onDisk;
    Plist::readDictionary(dir.filePath(QStringLiteral("ModemList/settings.plist")), &onDisk);
    return onDisk.value(QStringLiteral("ImsiPhone")).toMap().value(kSimImsi);
  }
  QStringList operatorRequests() const {
    return backend->control(QStringLiteral("OperatorRequests")).value(0).toStringList();
  }
};

TEST_F(NumberQueryEndToEnd, TheServedNumberIsStoredForTheCard) {
  if (!connect())
    GTEST_SKIP() << "no session bus";
  g_DialController->sendIMSIToHttpServerBySoap();
  ASSERT_TRUE(testsupport::waitUntil([&] { return storedNumber().isValid(); }, 10000));
  EXPECT_EQ(storedNumber().toString(), kServedNumber);
  EXPECT_TRUE(announced.contains(kServedNumber));
  EXPECT_TRUE(operatorRequests().contains(QStringLiteral("POST /SPBUUP/SPBService?WSDL")));
  EXPECT_TRUE(failed.isEmpty());

  // Known now: the next connect does not ask again.
  const qsizetype asked = operatorRequests().size();
  g_DialController->sendIMSIToHttpServerBySoap();
  EXPECT_EQ(operatorRequests().size(), asked);
}

TEST_F(NumberQueryEndToEnd, AServiceThatNeverAnswersEndsInConnectServerError) {
  silentService = true;
  if (!connect())
    GTEST_SKIP() << "no session bus";
  g_DialController->sendIMSIToHttpServerBySoap();
  ASSERT_TRUE(testsupport::waitUntil([&] { return !failed.isEmpty(); }, 10000));
  EXPECT_EQ(failed.last().userInfo.value(QStringLiteral("errorInfor")).toString(), "The request timed out.");
  EXPECT_FALSE(storedNumber().isValid());
  EXPECT_TRUE(announced.isEmpty());
}

} // namespace
