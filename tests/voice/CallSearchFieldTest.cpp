// The Call page's number field menu (contact picker and recent numbers), the call-kind sheet, the
// operator's special number, and the call log's skinned column headers.
#include "CallFixture.h"
#include "FakePhonebook.h"
#include "QELUIManager.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>

namespace {

class CallSearchField : public CallFixture {
protected:
  QStringList menuTexts() const {
    QStringList out;
    for (QAction *a : call->page->searchMenu->actions())
      if (!a->isSeparator())
        out << a->text();
    return out;
  }
  QAction *menuAction(const QString &text) const {
    for (QAction *a : call->page->searchMenu->actions())
      if (a->text() == text)
        return a;
    return nullptr;
  }
  // Dials and ends the call at once (the far end never answers).
  void dialAndDrop(const QString &number) {
    dial(number);
    call->callStageDidChange(2);
  }
};

TEST_F(CallSearchField, SelectContactOpensThePhonebooksPickerOnTheMainWindow) {
  FakePhonebook phonebook;
  QWidget window;
  call->wndMain = &window;
  EXPECT_EQ(call->page->searchMenu->title(), QStringLiteral("Search contact menu"));
  EXPECT_EQ(menuTexts(), QStringList{QStringLiteral("Select contact")});
  menuAction(QStringLiteral("Select contact"))->trigger();
  EXPECT_EQ(phonebook.pickers, QList<QWidget *>{&window});
  // The picker's choice comes back as a dial request from another page.
  deviceReady();
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("makeCallWithPhoneNumber"), nullptr,
                                                           {{"makeCallWithPhoneNumber", QStringLiteral("5550111")}});
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
  EXPECT_EQ(call->dialNumberString(), QStringLiteral("5550111"));
}

TEST_F(CallSearchField, KeepsTheTenLatestDialledNumbersLatestFirstEachOnce) {
  deviceReady();
  for (int i = 0; i < 12; ++i)
    dialAndDrop(QStringLiteral("55501%1").arg(i, 2, 10, QLatin1Char('0')));
  dialAndDrop(QStringLiteral("5550105")); // again: moves to the front, not twice
  const QStringList recents = call->recentSearches();
  ASSERT_EQ(recents.size(), 10);
  EXPECT_EQ(recents.first(), QStringLiteral("5550105"));
  EXPECT_EQ(recents.count(QStringLiteral("5550105")), 1);
  EXPECT_EQ(recents.at(1), QStringLiteral("5550111"));
  EXPECT_FALSE(recents.contains(QStringLiteral("5550100"))); // the oldest fell off
  EXPECT_EQ(menuTexts().size(), 11);
  EXPECT_EQ(menuTexts().first(), QStringLiteral("Select contact"));
  EXPECT_EQ(menuTexts().at(1), QStringLiteral("5550105"));
}

TEST_F(CallSearchField, ARefusedDialIsNotARecentNumber) {
  dial(QStringLiteral("5550100")); // no device
  EXPECT_TRUE(call->recentSearches().isEmpty());
}

TEST_F(CallSearchField, ARecentNumberFillsTheFieldOnlyWhileItIsFree) {
  deviceReady();
  dialAndDrop(QStringLiteral("5550123"));
  ASSERT_TRUE(call->page->dialNumber->text().isEmpty());
  menuAction(QStringLiteral("5550123"))->trigger();
  EXPECT_EQ(call->page->dialNumber->text(), QStringLiteral("5550123"));
  // During a call the field shows the call; a recent number must not replace it.
  dial(QStringLiteral("5550999"));
  call->callStageDidChange(1);
  menuAction(QStringLiteral("5550123"))->trigger();
  EXPECT_EQ(call->page->dialNumber->text(), QStringLiteral("5550999"));
}

TEST_F(CallSearchField, TheCallKindSheetDialsOnlyAVoiceCall) {
  deviceReady();
  CallStyleSheet *sheet = call->page->selectDialCallStyleWin;
  EXPECT_EQ(sheet->voiceCell->text(), QStringLiteral("Voice Call"));
  EXPECT_EQ(sheet->videoCell->text(), QStringLiteral("Video Call"));
  call->page->dialNumber->setText(QStringLiteral("5550100"));
  sheet->videoCell->setChecked(true);
  sheet->show();
  sheet->ok->click();
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(requests.isEmpty());
  sheet->voiceCell->setChecked(true);
  sheet->show();
  sheet->ok->click();
  EXPECT_EQ(minors(), QList<int>({CallPackages::kDialMinor}));
  EXPECT_EQ(call->callStage(), CompoundCallController::kDialling);
}

TEST_F(CallSearchField, CancellingTheCallKindSheetEmptiesTheNumber) {
  deviceReady();
  CallStyleSheet *sheet = call->page->selectDialCallStyleWin;
  call->page->dialNumber->setText(QStringLiteral("5550100"));
  sheet->show();
  sheet->cancel->click();
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(call->page->dialNumber->text().isEmpty());
  EXPECT_TRUE(requests.isEmpty());
}

TEST_F(CallSearchField, NoSpecialNumberConfiguredPostsNothing) {
  call->letPhoneNumberDisplayedOnInputBox();
  EXPECT_FALSE(posted.contains(QStringLiteral("SpecialPhoneNumber")));
  EXPECT_FALSE(posted.contains(QStringLiteral("TabViewItemWillChange")));
}

class CallSpecialNumber : public CallFixture {
protected:
  QVariantMap callSettings() const override {
    return {{"Call_SpecialPhoneNumberNeedDisplayInTheInputBox", QStringLiteral("10086")}};
  }
};

TEST_F(CallSpecialNumber, IsPostedForTheInputBoxAndTheCallTabIsShown) {
  call->letPhoneNumberDisplayedOnInputBox();
  const qsizetype at = posted.indexOf(QStringLiteral("SpecialPhoneNumber"));
  ASSERT_GE(at, 0);
  EXPECT_EQ(postedInfo.at(at).value("makeCallWithPhoneNumber").toString(), QStringLiteral("10086"));
  const qsizetype tab = posted.indexOf(QStringLiteral("TabViewItemWillChange"), at);
  ASSERT_GT(tab, at);
  EXPECT_EQ(postedInfo.at(tab).value("TabViewItemWillChange").toString(), QStringLiteral("Call"));
  EXPECT_TRUE(requests.isEmpty()) << "shown, not dialled";
}

// The call log's column headers take their look from the skin.
class CallLogHeaderSkin : public CallFixture {};

TEST_F(CallLogHeaderSkin, ColumnHeadersTakeTheSkinsFontAndColourAndKeepThemOverWording) {
  QELUIManager skin;
  skin.setSkinInfo(
      {{"UsernameForCallRecordView", QVariantMap{{"Font", QVariantMap{{"FontName", "Helvetica"}, {"FontSize", 17}}},
                                                 {"TextColorString", "1 0 0 1"}}},
       {"CalltimeForCallRecordView", QVariantMap{{"TextColorString", "0 0 1 1"}}}},
      dir.path());
  CallRecordController skinned;
  skinned.qelSkinManager = &skin;
  auto *page = new CallRecordPage;
  skinned.page = page;
  skinned.awakeFromNib();
  QTableWidget *table = page->callRecordView;
  ASSERT_NE(table->horizontalHeaderItem(0), nullptr);
  EXPECT_EQ(table->horizontalHeaderItem(0)->font().pixelSize(), 17);
  EXPECT_EQ(table->horizontalHeaderItem(0)->foreground().color(), QColor(Qt::red));
  EXPECT_EQ(table->horizontalHeaderItem(3)->foreground().color(), QColor(Qt::blue));
  // Wording replaces the texts, not the items.
  EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
  skinned.updateLanguages(Notification{});
  EXPECT_EQ(table->horizontalHeaderItem(0)->foreground().color(), QColor(Qt::red));
  delete page;
}

} // namespace
