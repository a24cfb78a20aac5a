#include "ButtonMatrix.h"
#include "ProfileFixture.h"
#include "ProfileWindows.h"
#include "ViewPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>

// The controller with its windows, driven by script: every sheet is a modal question that the
// test answers, filling the fields while it is "open".
class ConnectionProfileEditor : public ProfileFixture {
protected:
  QMainWindow window;

  QVariantList initialProfiles() const override {
    return {profile("Internet", "internet"), profile("Home", "home.apn"), profile("New1", ""), profile("New3", "")};
  }
  void wake() {
    ProfileWindows::build(dial.get(), &window);
    dial->awakeFromNib();
  }
  void selectRow(int row) { dial->m_configListView->selectRow(row); }
  static void choose(ButtonMatrix *group, int row, int column = 0) { group->cellAtRow(row, column)->setChecked(true); }
};

TEST_F(ConnectionProfileEditor, NewNamesFillTheFirstGap) {
  wake();
  EXPECT_EQ(dial->createNewProvider(), QStringLiteral("New2"));
  dial->AddAPNInfo();
  EXPECT_EQ(dial->createNewProvider(), QStringLiteral("New4"));
}

TEST_F(ConnectionProfileEditor, ValidationTable) {
  wake();
  struct Case {
    const char *name;
    QString provider, apn, preDns, pdpAddress;
    int apnMode;
    QString warning; // empty: accepted
  };
  const Case cases[] = {
      {"own unchanged name", "Home", "home.apn", "", "", 1, ""},
      {"leading blank", " Home", "x", "", "", 1, "Invalid Profile!"},
      {"trailing blank", "Home ", "x", "", "", 1, "Invalid Profile!"},
      {"empty name", "", "x", "", "", 1, "Invalid Profile!"},
      {"another profile's name", "Internet", "x", "", "", 1, "Name already exists, please rename!"},
      {"hyphen first", "Office", "-apn", "", "", 1, "Invalid APN!"},
      {"hyphen last", "Office", "apn-", "", "", 1, "Invalid APN!"},
      {"hyphen inside", "Office", "my-apn", "", "", 1, ""},
      {"empty APN given by hand", "Office", "", "", "", 1, "Invalid APN!"},
      {"empty APN chosen by the network", "Office", "", "", "", 0, ""},
      {"DNS 0.0.0.0", "Office", "a", "0.0.0.0", "", 1, "Invalid Preferred DNS!"},
      {"address 0.0.0.0", "Office", "a", "", "0.0.0.0", 1, "Invalid PDP Address!"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    selectRow(1);
    dial->setEditWinValue(dial->dialConfigArray.at(1).toMap());
    choose(dial->m_eIsAutoObtainAPN, c.apnMode);
    dial->selectObtainAPNType();
    dial->m_eProviderForConfig->setText(c.provider);
    dial->m_eAPN->setText(c.apn);
    choose(dial->m_eIsAutoObtainDNS, 1);
    dial->selectObtainDNSType();
    dial->m_ePreferredDNS->setText(c.preDns);
    choose(dial->m_eIsAutoObtainPDP, 1);
    dial->selectObtainPDPType();
    dial->m_ePDPAddress->setText(c.pdpAddress);
    ScriptedAnswers answers;
    EXPECT_EQ(dial->checkDialConfigIsValid(), c.warning.isEmpty());
    if (c.warning.isEmpty()) {
      EXPECT_TRUE(answers.asked().isEmpty());
    } else {
      ASSERT_EQ(answers.asked().size(), 1);
      EXPECT_EQ(answers.asked().first().message, c.warning);
    }
  }
}

TEST_F(ConnectionProfileEditor, EditSheetSavesOnlyValidInput) {
  wake();
  selectRow(1);
  int round = 0;
  // First OK with a bad APN: a warning, and the sheet asks again; the second OK is good.
  ScriptedAnswers answers([&](const ModalQuestion &q) {
    if (q.kind == QLatin1String("profileEditWin")) {
      dial->m_eProviderForConfig->setText(QStringLiteral("Office"));
      choose(dial->m_eIsAutoObtainAPN, 1);
      dial->m_eAPN->setText(round++ == 0 ? QStringLiteral("bad-") : QStringLiteral("office.apn"));
      dial->m_eIsSaveUserInfo->setChecked(true);
      dial->saveAPNPassword();
      dial->m_eUsername->setText(QStringLiteral("me"));
      dial->m_ePassword->setText(QStringLiteral("pw"));
    }
    return 1;
  });
  dial->editDialConfigSettings();
  EXPECT_EQ(round, 2);
  const QVariantMap saved = fileProfiles().at(1).toMap();
  EXPECT_EQ(saved.value("provider").toString(), QStringLiteral("Office"));
  EXPECT_EQ(saved.value("apnName").toString(), QStringLiteral("office.apn"));
  EXPECT_EQ(saved.value("apnFlag").toInt(), 1);
  EXPECT_EQ(saved.value("accountName").toString(), QStringLiteral("me"));
  EXPECT_EQ(saved.value("saveUsernameFlag").toInt(), 1);
  EXPECT_EQ(dial->tableViewObjectValueForRow(1), QStringLiteral("Office"));

  // Cancel keeps the file as it was.
  ScriptedAnswers cancel([&](const ModalQuestion &) {
    dial->m_eProviderForConfig->setText(QStringLiteral("Changed"));
    return 0;
  });
  dial->editDialConfigSettings();
  EXPECT_EQ(fileProfiles().at(1).toMap().value("provider").toString(), QStringLiteral("Office"));
}

TEST_F(ConnectionProfileEditor, ButtonsFollowTheRow) {
  set({}, QStringLiteral("DefaultProfileNum"), 2);
  set(QStringLiteral("Internet"), QStringLiteral("ArrayForEditableProvider"), QVariantList{"Home", "New3"});
  wake();
  struct Case {
    int row;
    bool edit, del, browse;
  };
  const Case cases[] = {
      {-1, false, false, false}, // nothing selected
      {0, false, false, true},   // a preset
      {1, true, false, true},    // an editable preset
      {3, true, true, true},     // a user profile, listed or not
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.row);
    dial->setEidtStatusAtRow(c.row);
    EXPECT_EQ(dial->m_editProfileBtn->isEnabled(), c.edit);
    EXPECT_EQ(dial->m_DelAPNInfoBtn->isEnabled(), c.del);
    EXPECT_EQ(dial->m_browseProfileBtn->isEnabled(), c.browse);
  }
  EXPECT_FALSE(dial->checkProviderIsEditable(3)) << "a user profile is never an editable preset";

  // An editable preset: only the account may change.
  selectRow(1);
  dial->setEditWinValue(dial->dialConfigArray.at(1).toMap());
  EXPECT_FALSE(dial->m_eProviderForConfig->isEnabled());
  EXPECT_FALSE(dial->m_eAPN->isEnabled());
  EXPECT_TRUE(dial->m_eUsername->isEnabled());

  set({}, QStringLiteral("AddDefaultEdit"), true);
  dial->setEidtStatusAtRow(0);
  EXPECT_TRUE(dial->m_editProfileBtn->isEnabled());
  EXPECT_FALSE(dial->m_DelAPNInfoBtn->isEnabled());

  set(QStringLiteral("Internet"), QStringLiteral("ZezAPNEditable"), true);
  set({}, QStringLiteral("AddDefaultEdit"), false);
  dial->setEidtStatusAtRow(1);
  EXPECT_TRUE(dial->m_editProfileBtn->isEnabled());
  EXPECT_FALSE(dial->m_DelAPNInfoBtn->isEnabled());
}

TEST_F(ConnectionProfileEditor, ObtainModesEmptyAndDisableTheirFields) {
  wake();
  dial->m_eAPN->setText(QStringLiteral("x"));
  choose(dial->m_eIsAutoObtainAPN, 0);
  dial->selectObtainAPNType();
  EXPECT_FALSE(dial->m_eAPN->isEnabled());
  EXPECT_TRUE(dial->m_eAPN->text().isEmpty());
  dial->m_eIsSaveUserInfo->setChecked(false);
  dial->saveAPNPassword();
  EXPECT_FALSE(dial->m_ePassword->isEnabled());
  EXPECT_EQ(dial->m_ePassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dial->m_Password->echoMode(), QLineEdit::Password);
}

TEST_F(ConnectionProfileEditor, InputFiltersCutPastedText) {
  wake();
  struct Case {
    QLineEdit *field;
    QString typed, kept;
  };
  set(QStringLiteral("Internet"), QStringLiteral("Internet_setPasswordLenOfAPN"), 8);
  const Case cases[] = {
      {dial->m_eTelephoneNumber, "12 34-56", "123456"},
      {dial->m_eAPN, "my apn_1", "myapn1"},
      {dial->m_eUsername, "a user", "auser"},
      {dial->m_ePassword, "0123456789", "01234567"},
      {dial->winPasswordText_, "p w!", "pw!"},
      {dial->tfPreferDNSIPv6_, "fe80::1 x", "fe80::1"},
      {dial->m_eProviderForConfig, "any name", "any name"},
  };
  for (const Case &c : cases) {
    c.field->setText(c.typed);
    dial->controlTextDidChange(c.field);
    EXPECT_EQ(c.field->text(), c.kept);
  }
}

TEST_F(ConnectionProfileEditor, PdpTypeGroups) {
  wake();
  ButtonMatrix four;
  four.renewRows(2, 2);
  ButtonMatrix three;
  three.renewRows(1, 3);
  ButtonMatrix odd;
  odd.renewRows(3, 1);
  struct Cell {
    int row, column, type;
  };
  for (const Cell &c : {Cell{0, 0, 0}, Cell{0, 1, 1}, Cell{1, 1, 2}, Cell{1, 0, 3}}) {
    choose(&four, c.row, c.column);
    EXPECT_EQ(DialController::getPDPType(&four), c.type);
    choose(&four, 0, 0);
    DialController::displayPDPAt(&four, c.type);
    EXPECT_EQ(DialController::getPDPType(&four), c.type);
  }
  DialController::displayPDPAt(&three, 1); // shown in the first column
  EXPECT_EQ(DialController::getPDPType(&three), 0);
  DialController::displayPDPAt(&three, 3);
  EXPECT_EQ(DialController::getPDPType(&three), 3);
  DialController::displayPDPAt(&three, 7); // nothing selected anew
  EXPECT_EQ(DialController::getPDPType(&three), 3);
  EXPECT_EQ(DialController::getPDPType(&odd), 0);
  DialController::displayPDPAt(nullptr, 2);

  // Type 3 with a single PDP: IPv4 on, IPv6 off.
  choose(dial->ePDPTypeGroup_, 1, 0);
  dial->checkSinglePdp_->setChecked(true);
  dial->setPdpTypeStatus();
  EXPECT_TRUE(dial->m_eAPN->isEnabled());
  EXPECT_FALSE(dial->tfApnIPv6_->isEnabled());
  dial->checkSinglePdp_->setChecked(false);
  dial->setUseSinglePdpForIPv6();
  EXPECT_TRUE(dial->tfApnIPv6_->isEnabled());
  choose(dial->ePDPTypeGroup_, 1, 1); // type 2
  dial->setPdpTypeStatus();
  EXPECT_FALSE(dial->m_eUsername->isEnabled());
  EXPECT_TRUE(dial->tfUsernameForIPv6_->isEnabled());
  EXPECT_EQ(DialController::specialPdpTypeProcess(-3), 0);
}

TEST_F(ConnectionProfileEditor, DualPdpLocksTheSecondCell) {
  set(QStringLiteral("Internet"), QStringLiteral("SupportIPv6"), true);
  set(QStringLiteral("Internet"), QStringLiteral("DualPDPSettings"), true);
  wake();
  EXPECT_TRUE(dial->isSupportDoblePdpSettings());
  EXPECT_FALSE(dial->ePDPTypeGroup_->cellAtRow(0, 1)->isEnabled());
  EXPECT_FALSE(dial->bPDPTypeGroup_->isEnabled());
  // The IPv6 keys join the profile in double-PDP mode.
  const QVariantMap safe = dial->createSafeDialConfig({});
  EXPECT_TRUE(safe.contains("IPv6ApnName"));
  EXPECT_TRUE(safe.contains("SinglePdp"));
}

TEST_F(ConnectionProfileEditor, ManagementSheetAddsAndClosesOnTheLastProfile) {
  ScriptedAnswers answers([&](const ModalQuestion &q) {
    if (q.kind == QLatin1String("dialConfigWindow")) {
      dial->m_AddAPNInfoBtn->click();
      EXPECT_EQ(dial->m_configListView->rowCount(), 5);
      set({}, QStringLiteral("ProfileID"), 42);
    }
    return 1;
  });
  wake();
  // Item 0 of the combo box opens the sheet.
  dial->comboBoxSelectionDidChange(0);
  ASSERT_FALSE(answers.asked().isEmpty());
  EXPECT_EQ(answers.asked().first().kind, QStringLiteral("dialConfigWindow"));
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 4);
  EXPECT_EQ(dial->m_DialConfigList->currentIndex(), 5);
  EXPECT_EQ(dial->m_DialConfigList->count(), 6);
  EXPECT_EQ(names(fileProfiles()).last(), QStringLiteral("New2"));
}

TEST_F(ConnectionProfileEditor, WordingOfTheAuthenticationGroups) {
  set(QStringLiteral("Internet"), QStringLiteral("HavePPPAuthNone"), true);
  wake();
  EXPECT_EQ(dial->m_eAuthMode->numberOfRows(), 3);
  EXPECT_EQ(dial->m_bAuthMode->cellAtRow(0, 0)->text(), QStringLiteral("NONE"));
}

TEST_F(ConnectionProfileEditor, DeletingBeforeTheCurrentKeepsIt) {
  set({}, QStringLiteral("ProfileID"), 2); // "New1"
  wake();
  ScriptedAnswers answers({1});
  selectRow(1);
  dial->m_DelAPNInfoBtn->setEnabled(true);
  dial->m_DelAPNInfoBtn->click();
  EXPECT_EQ(names(fileProfiles()), (QStringList{"Internet", "New1", "New3"}));
  EXPECT_EQ(setting(QStringLiteral("ProfileID")).toInt(), 1);
  EXPECT_EQ(dial->m_DialConfigList->currentText(), QStringLiteral("New1"));
  EXPECT_EQ(dial->m_TelephoneNumber->text(), QStringLiteral("*99#"));
}

TEST_F(ConnectionProfileEditor, OperatorLayoutsPlaceControlsInSkinPoints) {
  wake();
  dial->setWCDMAConfigHidden(true);
  EXPECT_TRUE(dial->m_eAPN->isHidden());
  EXPECT_TRUE(dial->Config_APN->isHidden());
  EXPECT_FALSE(dial->eTopDivideLine->isHidden());
  EXPECT_EQ(CocoaFrame::frame(dial->EditConfig_AuthMode), QRectF(20, 150, 230, 17));
  dial->setWCDMAConfigHidden(false);
  EXPECT_FALSE(dial->m_eAPN->isHidden());
  EXPECT_EQ(CocoaFrame::frame(dial->EditConfig_AuthMode), QRectF(301, 89, 169, 17));
  EXPECT_EQ(CocoaFrame::frame(dial->m_eAuthMode).left(), 302); // a radio group keeps the size its cells need

  set(QStringLiteral("Internet"), QStringLiteral("ChangePosForProfile"), true);
  dial->dialConfigListSelectItemAtIndex(2);
  dial->changeControlsPosForProfile();
  EXPECT_EQ(CocoaFrame::frame(dial->m_DialConfigList).topLeft(), QPointF(288, 378));
  dial->dialConfigListSelectItemAtIndex(4);
  dial->changeControlsPosForProfile();
  EXPECT_EQ(CocoaFrame::frame(dial->m_DialConfigList).topLeft(), QPointF(288, 342));
}
