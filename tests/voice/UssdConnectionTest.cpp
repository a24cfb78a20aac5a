// What a USSD session does to the Internet connection's controls: the real connection controller
// is the neighbour, so a call that does not reach it shows as a control left as it was.
#include "DialController.h"
#include "InitController.h"
#include "ServicesFixture.h"
#include "USSDContrller.h"

namespace {

class UssdConnection : public ServicesFixture {
protected:
  std::unique_ptr<InitController> init;
  std::unique_ptr<DialController> dial;
  std::unique_ptr<USSDContrller> ussd;

  // The operator's USSD toolbar switch that makes a session hold the connect buttons.
  QVariantMap settingsOverrides() const override {
    return {{"USSD", QVariantMap{{"DisableUSSDToolbarForRAdirer", true}}}};
  }
  void SetUp() override {
    ServicesFixture::SetUp();
    init = std::make_unique<InitController>();
    dial = std::make_unique<DialController>();
    ussd = std::make_unique<USSDContrller>();
  }
  void TearDown() override {
    ussd.reset();
    dial.reset();
    init.reset();
    ServicesFixture::TearDown();
  }
};

TEST_F(UssdConnection, TheToolbarSwitchHoldsTheConnectButtonOnlyWithAPacketDomain) {
  struct Case {
    int networkMode;
    bool flag;
    bool enabledAfter;
  };
  // Mode bit 2 is the packet domain; without it the button keeps the state it had.
  const Case cases[] = {{3, false, false}, {3, true, true}, {2, false, false}, {1, false, true}, {0, false, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.networkMode << " flag " << c.flag);
    dial->setConnectBtnEnable(true);
    init->setNetworkMode(c.networkMode);
    ussd->setEnabledToolbar(QVariant(c.flag));
    EXPECT_EQ(dial->isConnectBtnEnabled(), c.enabledAfter);
  }
}

TEST_F(UssdConnection, TheSessionsNumberFillsTheDiagnosticsField) {
  auto *field = new QLineEdit;
  dial->tfdDiagMSISDN_ = field;
  ussd->setDiagMSISDN(QStringLiteral("+15550100"));
  EXPECT_EQ(dial->diagMSISDNValue(), QStringLiteral("+15550100"));
  EXPECT_EQ(field->text(), QStringLiteral("+15550100"));
  delete field;
}

TEST_F(UssdConnection, WithoutAConnectionTheCallsAreDroppedQuietly) {
  dial.reset();
  init->setNetworkMode(3);
  ussd->setEnabledToolbar(QVariant(false));
  ussd->setDiagMSISDN(QStringLiteral("+15550100"));
  EXPECT_EQ(ussd->getInternetConnectFlag(), 0);
}

} // namespace
