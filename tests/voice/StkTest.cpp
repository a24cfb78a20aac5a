// The SIM toolkit: its records, and the toolkit tab with its plug-in against the simulated SIM
// application of the "sim-services" scenario.
#include "MainWindowFixture.h"
#include "NoWaitingAlertInHandlers.h"
#include "STKController.h"
#include "SettingsNeighbourStub.h"
#include "StkRecords.h"

#include "CocoaExt.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtEndian>

namespace {

using testsupport::waitUntil;

TEST(StkRecordsTest, DecodersStayWithinTheRecordWhateverItsCountsSay) {
  struct Case {
    const char *what;
    int titleLen, count, itemLen, dataSize;
    int titleWanted, itemsWanted, itemLenWanted;
  };
  const Case cases[] = {
      {"plain", 5, 2, 3, StkRecords::kMenuSize, 5, 2, 3},
      {"no items", 0, 0, 0, StkRecords::kMenuSize, 0, 0, 0},
      {"counts beyond the arrays", 9999, 25, 60, StkRecords::kMenuSize, 512, 20, 48},
      {"negative counts", -3, -1, -7, StkRecords::kMenuSize, 0, 0, 0},
      {"short package", 512, 3, 48, 1040, 512, 3, 0},
      {"empty package", 5, 2, 3, 0, 0, 0, 0},
  };
  for (const Case &c : cases) {
    QByteArray r(StkRecords::kMenuSize, 'A');
    qToLittleEndian<qint32>(c.titleLen, r.data() + 1024);
    qToLittleEndian<qint32>(c.count, r.data() + 1028);
    for (int i = 0; i < StkRecords::kMaxItems; ++i)
      qToLittleEndian<qint32>(c.itemLen, r.data() + 1032 + 100 * i + 96);
    const StkRecords::Menu m = StkRecords::decodeMenu(r.left(c.dataSize));
    EXPECT_EQ(m.title.size(), c.titleWanted) << c.what;
    ASSERT_EQ(m.items.size(), c.itemsWanted) << c.what;
    for (const QString &item : m.items)
      EXPECT_EQ(item.size(), c.itemLenWanted) << c.what;
  }
  // What the modem encodes comes back whole; longer texts are cut to their arrays.
  const StkRecords::Menu menu{QStringLiteral("Dienste ü"), {QStringLiteral("Eins"), QString(60, QLatin1Char('x'))}};
  const StkRecords::Menu back = StkRecords::decodeMenu(StkRecords::encodeMenu(menu));
  EXPECT_EQ(back.title, menu.title);
  EXPECT_EQ(back.items, (QStringList{QStringLiteral("Eins"), QString(48, QLatin1Char('x'))}));
  const StkRecords::Input input = StkRecords::decodeInput(StkRecords::encodeInput({QStringLiteral("PIN?"), 4, 8}));
  EXPECT_EQ(input.prompt, QStringLiteral("PIN?"));
  EXPECT_EQ(input.minimum, 4);
  EXPECT_EQ(input.maximum, 8);
  EXPECT_EQ(StkRecords::decodeText(StkRecords::encodeText(QString(600, QLatin1Char('y')))).size(), 512);
}

// The settings window's roaming-IMSI side, in the settings' place while it lives.
class FakeRoamingSettings : public SettingsNeighbourStub {
public:
  bool selectEnabled = false;
  bool pending = false;
  int type = 0;
  void setRoamingIMSISelectEnabled(bool on) override { selectEnabled = on; }
  bool roamingImsiSet() const override { return pending; }
  int roamingImsiType() const override { return type; }
  void setRoamingImsiSet(bool on) override { pending = on; }
};

class StkRoad : public ModemWindowFixture {
protected:
  NoWaitingAlertInHandlers noWaitingAlerts;
  QVariantMap settingsOverrides() const override {
    return {{"Setting", QVariantMap{{"Setting_RoamingImsiSet", true}}}};
  }

  bool start() {
    if (!launch(QStringLiteral("sim-services")))
      return false;
    return waitUntil([this] { return list() && list()->count() == 4; });
  }
  QWidget *page() const { return NSTabViewExt::viewOfIdentifier(parts.tabs, QStringLiteral("STK")); }
  template <typename T> T *child(const char *name) const {
    return page() ? page()->findChild<T *>(QLatin1String(name)) : nullptr;
  }
  QListWidget *list() const { return child<QListWidget>("STKBundleMenu"); }
  QStringList items() const {
    QStringList out;
    for (int i = 0; i < list()->count(); ++i)
      out << list()->item(i)->text();
    return out;
  }
  void choose(int row) {
    list()->setCurrentRow(row);
    child<QPushButton>("STKBundleSelect")->click();
  }
  bool itemsBecome(const QStringList &wanted) {
    return waitUntil([&] { return items() == wanted; });
  }
  bool shown(const char *panel) const { return child<QFrame>(panel)->isVisibleTo(page()); }
  QString text(const char *label) const { return child<QLabel>(label)->text(); }
  QString lastInput() const { return backend->control(QStringLiteral("StkLastInput")).value(0).toString(); }
  // Types an answer and presses OK.
  void answerInput(const QString &answer) {
    child<QLineEdit>("STKBundleInput")->setText(answer);
    child<QPushButton>("STKBundleInputOK")->click();
  }

  const QStringList mainItems{QStringLiteral("Balance"), QStringLiteral("Services"), QStringLiteral("Top up"),
                              QStringLiteral("Help")};
  const QStringList serviceItems{QStringLiteral("News"), QStringLiteral("Weather"), QStringLiteral("Ring tones")};
};

TEST_F(StkRoad, MenusAlertsAndInformationFromTheSim) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  EXPECT_EQ(text("STKBundleTitle"), QStringLiteral("Home Mobile Services"));
  for (const char *b : {"STKBundleSelect", "STKBundleBack", "STKBundleExit"})
    EXPECT_FALSE(child<QPushButton>(b)->isEnabled()) << b;

  choose(1);
  ASSERT_TRUE(itemsBecome(serviceItems));
  EXPECT_TRUE(child<QPushButton>("STKBundleBack")->isEnabled());
  EXPECT_TRUE(child<QPushButton>("STKBundleExit")->isEnabled());
  EXPECT_FALSE(child<QPushButton>("STKBundleSelect")->isEnabled());
  EXPECT_EQ(g_STKController->bundleDelegate()->getCurrentLocation(), 1);

  // An alert with its buttons; OK brings the menu back, which closes it.
  choose(0);
  ASSERT_TRUE(waitUntil([&] { return shown("STKBundleAlert"); }));
  EXPECT_EQ(text("STKBundleAlertText"), QStringLiteral("Daily news activated"));
  EXPECT_TRUE(child<QPushButton>("STKBundleAlertOK")->isVisibleTo(page()));
  child<QPushButton>("STKBundleAlertOK")->click();
  ASSERT_TRUE(waitUntil([&] { return !shown("STKBundleAlert"); }));
  // An alert without buttons (minor 128).
  choose(1);
  ASSERT_TRUE(waitUntil([&] { return text("STKBundleAlertText") == QStringLiteral("Sunny, 21 degrees"); }));
  EXPECT_FALSE(child<QPushButton>("STKBundleAlertOK")->isVisibleTo(page()));

  // A deeper menu, Back climbs one level, Exit goes home.
  choose(2);
  ASSERT_TRUE(itemsBecome({QStringLiteral("Classic")}));
  child<QPushButton>("STKBundleBack")->click();
  ASSERT_TRUE(itemsBecome(serviceItems));
  child<QPushButton>("STKBundleExit")->click();
  ASSERT_TRUE(itemsBecome(mainItems));
  EXPECT_EQ(g_STKController->bundleDelegate()->getCurrentLocation(), 0);

  choose(0);
  ASSERT_TRUE(waitUntil([&] { return shown("STKBundleInformation"); }));
  EXPECT_EQ(text("STKBundleInformationText"), QStringLiteral("Your balance is 12.50"));

  // The SIM may push on its own.
  ASSERT_TRUE(
      backend->control(QStringLiteral("StkPush"), {QStringLiteral("information"), QStringLiteral("Pushed"), 0, 0})
          .value(0)
          .toBool());
  ASSERT_TRUE(waitUntil([&] { return text("STKBundleInformationText") == QStringLiteral("Pushed"); }));
}

TEST_F(StkRoad, AnInputOutsideItsBoundsIsRefusedAndOneAtTheMinimumGoesToTheSim) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  choose(2);
  ASSERT_TRUE(waitUntil([&] { return shown("STKBundleInputPanel"); }));
  EXPECT_EQ(text("STKBundleInputTitle"), QStringLiteral("Enter the voucher number"));
  EXPECT_EQ(text("STKBundleMinLength"), QStringLiteral("Min Length:4"));
  EXPECT_EQ(text("STKBundleMaxLength"), QStringLiteral("Max Length:14"));
  // The page with its input panel, for a look (stk-input.png in the build folder).
  page()->resize(752, 360);
  page()->grab().save(testsupport::buildBundlePath() + QStringLiteral("/../stk-input.png"));

  struct Case {
    QString answer;
    bool accepted;
  };
  // The field itself stops typing at the maximum; the host checks what it is given.
  child<QLineEdit>("STKBundleInput")->setMaxLength(100);
  const Case cases[] = {
      {QStringLiteral("123"), false}, {QString(15, QLatin1Char('9')), false}, {QStringLiteral("1234"), true}};
  for (const Case &c : cases) {
    const qsizetype asked = answers->asked().size();
    answerInput(c.answer);
    if (!c.accepted) {
      ASSERT_EQ(answers->asked().size(), asked + 1) << c.answer.toStdString();
      EXPECT_EQ(answers->asked().last().message, QStringLiteral("Input length must be between 4 and 14!"));
      EXPECT_TRUE(shown("STKBundleInputPanel")) << "the window stays for a correction";
      continue;
    }
    EXPECT_EQ(answers->asked().size(), asked);
    ASSERT_TRUE(waitUntil([&] { return text("STKBundleInformationText") == QStringLiteral("Voucher 1234 accepted"); }));
    EXPECT_FALSE(shown("STKBundleInputPanel"));
  }
  EXPECT_EQ(lastInput(), QStringLiteral("1234")) << "only the accepted answer reached the SIM";

  // Exactly the maximum is taken as well; Cancel sends the cancel and the menu comes back.
  choose(2);
  ASSERT_TRUE(waitUntil([&] { return shown("STKBundleInputPanel"); }));
  answerInput(QString(14, QLatin1Char('7')));
  ASSERT_TRUE(waitUntil([&] { return lastInput() == QString(14, QLatin1Char('7')); }));
  choose(2);
  ASSERT_TRUE(waitUntil([&] { return shown("STKBundleInputPanel"); }));
  child<QPushButton>("STKBundleInputCancel")->click();
  ASSERT_TRUE(itemsBecome(mainItems));
}

TEST_F(StkRoad, ASubMenuAnswersTheRoamingChoiceOfTheSettings) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  FakeRoamingSettings settings;
  struct Case {
    int type;
    QString alert; // what the chosen item shows; empty when nothing is chosen
  };
  const Case cases[] = {
      {1, QStringLiteral("Sunny, 21 degrees")}, {0, QStringLiteral("Daily news activated")}, {2, QString()}};
  for (const Case &c : cases) {
    child<QPushButton>("STKBundleExit")->click();
    ASSERT_TRUE(itemsBecome(mainItems));
    child<QLabel>("STKBundleAlertText")->clear();
    settings.pending = true;
    settings.type = c.type;
    choose(1);
    ASSERT_TRUE(itemsBecome(serviceItems));
    EXPECT_FALSE(settings.pending) << c.type;
    if (c.alert.isEmpty()) {
      EXPECT_FALSE(waitUntil([&] { return !text("STKBundleAlertText").isEmpty(); }, 500));
    } else {
      ASSERT_TRUE(waitUntil([&] { return text("STKBundleAlertText") == c.alert; })) << c.type;
    }
  }
  EXPECT_TRUE(settings.selectEnabled) << "a main menu makes the roaming choice available";
}

TEST_F(StkRoad, RemovingTheDeviceEmptiesThePage) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(waitUntil([&] { return list()->count() == 0; }));
  EXPECT_EQ(text("STKBundleTitle"), QStringLiteral(" "));
}

TEST_F(StkRoad, TheCardsAlertAndInformationGoWithTheDevice) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  choose(1);
  ASSERT_TRUE(itemsBecome(serviceItems));
  choose(0);
  ASSERT_TRUE(waitUntil([&] { return shown("STKBundleAlert"); }));
  ASSERT_TRUE(
      backend->control(QStringLiteral("StkPush"), {QStringLiteral("information"), QStringLiteral("Pushed"), 0, 0})
          .value(0)
          .toBool());
  ASSERT_TRUE(waitUntil([&] { return shown("STKBundleInformation"); }));
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(waitUntil([&] { return list()->count() == 0; }));
  EXPECT_FALSE(shown("STKBundleAlert")) << "an alert of a card that has gone";
  EXPECT_FALSE(shown("STKBundleInformation"));
  EXPECT_FALSE(shown("STKBundleInputPanel"));
}

class StkInvalidPlugIn : public MainWindowFixture {};

TEST_F(StkInvalidPlugIn, APlugInWithoutTheToolkitInterfaceIsReportedAndLeavesTheTabEmpty) {
  STKController::setBundleName(QStringLiteral("SampleBundle.bundle"));
  buildOffline();
  STKController::setBundleName({});
  bool reported = false;
  for (const ModalQuestion &q : answers->asked())
    reported |= q.title == QStringLiteral("Warning!") && q.message == QStringLiteral("Invalid STK plugin!");
  EXPECT_TRUE(reported);
  ASSERT_NE(g_STKController, nullptr);
  EXPECT_EQ(g_STKController->bundleDelegate(), nullptr);
  QWidget *tab = NSTabViewExt::viewOfIdentifier(parts.tabs, QStringLiteral("STK"));
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(qobject_cast<ServiceHostPage *>(tab)->bundleView(), nullptr);
  // Packages still arrive and do nothing.
  g_STKController->showMainMenu(StkRecords::encodeMenu({QStringLiteral("T"), {QStringLiteral("a")}}));
  g_STKController->InputOKClicked();
}

} // namespace
