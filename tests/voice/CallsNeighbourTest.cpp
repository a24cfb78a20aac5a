// What the other subsystems reach of the voice calls and SIM services through the neighbourhood
// (the quit rules, the connect checks, the main window's call menu, the USSD connect permission,
// the settings window's roaming choice on the SIM toolkit), and what the call side asks of the
// phonebook.
#include "CallsNeighbour.h"
#include "CallFixture.h"
#include "FakePhonebook.h"
#include "Neighbourhood.h"
#include "STKController.h"
#include "StkRecords.h"
#include "USSDContrller.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>

namespace {

class CallsNeighbourhood : public CallFixture {
protected:
  CallsNeighbour *calls() const { return Neighbourhood::calls(); }
  static QVariantMap record(const char *number, const char *type) {
    return {{"mobilephone", QString::fromLatin1(number)},
            {"date", QDateTime::currentDateTimeUtc()},
            {"calltime", QStringLiteral("00:00:01")},
            {"callType", QString::fromLatin1(type)}};
  }
};

TEST_F(CallsNeighbourhood, TheCallControllerTakesThePlaceWhileItLives) {
  EXPECT_EQ(calls(), static_cast<CallsNeighbour *>(call.get()));
  call.reset();
  EXPECT_EQ(calls(), nullptr);
}

TEST_F(CallsNeighbourhood, TheStageAndThe2GFlagFollowTheCall) {
  deviceReady();
  EXPECT_EQ(calls()->callStage(), 0);
  dial(QStringLiteral("5550100"));
  EXPECT_NE(calls()->callStage(), 0);
  EXPECT_FALSE(calls()->is2GNetRegisted());
  call->updateNetworkStatus(Notification{QString(), nullptr, {{"init_NetworkStatus", "EDGE"}}});
  EXPECT_TRUE(calls()->is2GNetRegisted());
  call->updateNetworkStatus(Notification{QString(), nullptr, {{"init_NetworkStatus", "WCDMA"}}});
  EXPECT_FALSE(calls()->is2GNetRegisted());
}

TEST_F(CallsNeighbourhood, TheMenuItemsAcceptAndRejectDialAndHangUp) {
  deviceReady();
  QAction accept, reject;
  call->page->dialNumber->setText(QStringLiteral("5550123"));
  calls()->selectDialCallStyle(&accept);
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
  EXPECT_EQ(call->dialNumberString(), QStringLiteral("5550123"));
  calls()->hangClicked(&reject);
  EXPECT_EQ(minors().last(), CallPackages::kHangupMinor);
}

TEST_F(CallsNeighbourhood, TheUssdPermissionAndTheToolkitsButtonsReachTheirControllers) {
  // Without the services nothing is permitted and nothing is sent.
  EXPECT_FALSE(calls()->getConnectBtnEnableRadirer());
  calls()->toolkitExitClicked();
  calls()->toolkitSelectClicked(0);

  USSDContrller ussd;
  STKController stk;
  QList<int> sent;
  QByteArray selected;
  STKController::setRequestObserver([&](int minor, const QByteArray &data) {
    sent << minor;
    if (minor == StkRecords::kSelectMain)
      selected = data;
  });
  EXPECT_FALSE(calls()->getConnectBtnEnableRadirer());
  ussd.setConnectBtnEnableRadirer(true);
  EXPECT_TRUE(calls()->getConnectBtnEnableRadirer());
  calls()->toolkitExitClicked();
  calls()->toolkitSelectClicked(2);
  STKController::setRequestObserver({});
  EXPECT_EQ(sent, (QList<int>{StkRecords::kExit, StkRecords::kSelectMain}));
  EXPECT_EQ(selected, StkRecords::encodeIndex(2));
}

TEST_F(CallsNeighbourhood, CallersAreNamedByThePhonebookOrByTheirNumber) {
  deviceReady();
  {
    FakePhonebook phonebook;
    phonebook.names.insert(QStringLiteral("5550111"), QStringLiteral("Anna"));
    call->showIncomingCall(QStringLiteral("5550111"));
    EXPECT_EQ(call->page->callName->text(), QStringLiteral("Anna"));
    EXPECT_EQ(phonebookNameOf(QStringLiteral("5550199")), QStringLiteral("5550199"));
  }
  // Without a phonebook the number stands for the name.
  EXPECT_EQ(phonebookNameOf(QStringLiteral("5550111")), QStringLiteral("5550111"));
}

TEST_F(CallsNeighbourhood, TheLogsSaveNumberMenuOpensThePhonebooksNewContactWindow) {
  FakePhonebook phonebook;
  deviceReady();
  log->addCallRecord(record("5557", "recivedCall"));
  log->page->kindButtons.at(1)->setChecked(true);
  log->selectRecordPosition();
  log->page->callRecordView->selectRow(0);
  QComboBox *popup = log->page->btnSaveNumber;
  ASSERT_GE(popup->count(), 2);
  popup->setCurrentIndex(1); // "PC"
  log->saveNumberToPhoneBook(popup);
  EXPECT_EQ(phonebook.newContacts, (QList<QPair<QString, QString>>{{QStringLiteral("5557"), QStringLiteral("PC")}}));
  EXPECT_EQ(popup->currentIndex(), 0);
}

} // namespace
