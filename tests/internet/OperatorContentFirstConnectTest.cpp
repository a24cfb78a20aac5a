// The operator's first-connected actions and the Internet tab's operator windows, on a controller
// without a backend: which pages open, in which order, how often, and what the windows and
// figures show.
#include "DialController.h"
#include "InitController.h"
#include "Platform.h"
#include "RecordFormats.h"
#include "RecordsFixture.h"
#include "SettingController.h"
#include "TextFormats.h"
#include "WebViewUtilities.h"
#include "WordGlobe.h"

#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>
#include <QVBoxLayout>

#include "TestSupport.h"

namespace {

class FirstConnectFixture : public RecordsFixture {
protected:
  std::unique_ptr<InitController> init;
  std::unique_ptr<SettingController> settings;
  std::unique_ptr<DialController> dial;
  std::unique_ptr<QMainWindow> window;
  QWidget *page = nullptr;
  // Every address handed to the browser, with the number of web views the tab held then.
  struct Opened {
    QString url;
    int webViews;
  };
  QList<Opened> opened;
  std::unique_ptr<ScriptedAnswers> answers;
  // The controllers' platform is the test's, so that none is made behind it.
  Platform platform{Platform::kPlatformOther};

  void SetUp() override {
    RecordsFixture::SetUp();
    Platform::setSharedPlatform(&platform);
    answers = std::make_unique<ScriptedAnswers>();
    start();
    window = std::make_unique<QMainWindow>();
    init = std::make_unique<InitController>();
    init->wndMain = window.get();
    settings = std::make_unique<SettingController>();
    dial = std::make_unique<DialController>();
    dial->wndMain = window.get();
    page = new QWidget(window.get());
    auto *column = new QVBoxLayout(page);
    column->addWidget(new QLabel(QStringLiteral("connection area"), page));
    column->addStretch();
    page->resize(400, 300);
    dial->viewInternet_ = page;
    dial->m_ConnectButton = new QPushButton(page);
    init->setNetworkRoamStatus(1);
    QELUIController::setUrlOpener([this](const QUrl &url) {
      opened << Opened{url.toString(), int(page->findChildren<WebView *>().size())};
      return true;
    });
  }
  void TearDown() override {
    QELUIController::setUrlOpener({});
    dial.reset();
    settings.reset();
    init.reset();
    window.reset();
    answers.reset();
    Platform::setSharedPlatform(nullptr);
    RecordsFixture::TearDown();
  }
  void useProvider(const QString &provider) {
    dial->dialConfigArray = {QVariantMap{{"provider", provider}, {"apnName", "internet"}}};
    dial->m_IndexOfComboBoxSelectionNow = 1;
  }
  const QList<ModalQuestion> &answers_asked() const { return answers->asked(); }
  int page_webViews() const { return int(page->findChildren<WebView *>().size()); }
  QStringList openedUrls() const {
    QStringList out;
    for (const Opened &o : opened)
      out << o.url;
    return out;
  }
};

using OperatorContentFirstConnectActions = FirstConnectFixture;
using OperatorContentWindows = FirstConnectFixture;

// ---- the operator's page by IMSI ----

TEST(OperatorContentFirstConnect, WebPageForImsiTakesTheLongestPrefixAndKeepsAnyScheme) {
  const QVariantMap pages{{"460", "short.example/a"},
                          {"46001", "long.example/b"},
                          {"4600", "middle.example/c"},
                          {"310", "https://secure.example/s?x=1"},
                          {"311", "http://plain.example/p"},
                          {"312", "HTTPS://Upper.example"},
                          {"313", "www.example.com:8080/path"},
                          {"", "http://empty-prefix.example"},
                          {"314", ""}};
  struct Case {
    const char *imsi, *page;
  } cases[] = {
      {"460011234567890", "http://long.example/b"}, // three prefixes match: the longest wins
      {"460021234567890", "http://middle.example/c"},
      {"460991234567890", "http://short.example/a"},
      {"310150123456789", "https://secure.example/s?x=1"}, // a secure address is not made plain
      {"311150123456789", "http://plain.example/p"},
      {"312150123456789", "HTTPS://Upper.example"},
      {"313150123456789", "http://www.example.com:8080/path"},
      {"314150123456789", ""}, // a prefix without an address opens nothing
      {"999990123456789", ""},
      {"", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(DialController::webPageForImsi(pages, QLatin1String(c.imsi)), QLatin1String(c.page)) << c.imsi;
}

TEST_F(OperatorContentFirstConnectActions, OpenWebPageWithSIMOpensThePageOfTheSavedImsiOnce) {
  set("Internet", "IMSIAndWebPage", QVariantMap{{"001", "http://short.example"}, {"00101", "operator.example/hi"}});
  dial->openWebPageWithSIM();
  EXPECT_TRUE(opened.isEmpty()) << "no IMSI saved yet";
  set("", "IMSI", "001010123456789");
  dial->openWebPageWithSIM();
  EXPECT_EQ(openedUrls(), QStringList({"http://operator.example/hi"}));
}

// ---- "OpenURLSettings" ----

TEST_F(OperatorContentFirstConnectActions, OpenUrlSettingsUsesOnlyTheFirstEntryOfTheProvider) {
  struct Case {
    const char *name;
    QVariantList entries;
    QStringList expected;
  };
  const auto entry = [](const char *provider, bool autoOpen, const char *url) {
    QVariantMap m{{"APNProvider", provider}, {"AutoOpen", autoOpen}};
    if (url)
      m.insert("URL", url);
    return QVariant(m);
  };
  const Case cases[] = {
      {"first says no",
       {entry("Other", true, "http://other"), entry("Internet", false, "http://first"),
        entry("Internet", true, "http://second")},
       {}},
      {"first says yes",
       {entry("Internet", true, "http://first"), entry("Internet", true, "http://second")},
       {"http://first"}},
      {"no address", {entry("Internet", true, nullptr), entry("Internet", true, "http://second")}, {}},
      {"other provider", {entry("Other", true, "http://other")}, {}},
  };
  useProvider("Internet");
  for (const Case &c : cases) {
    opened.clear();
    set("", "OpenURLSettings", c.entries);
    dial->checkIsOpenSpecialURL();
    EXPECT_EQ(openedUrls(), c.expected) << c.name;
  }
}

// ---- the order and the once-per-connection rule ----

TEST_F(OperatorContentFirstConnectActions, FirstConnectedActionsRunInOrderAndOnlyOnce) {
  useProvider("Internet");
  set("", "OpenURLSettings",
      QVariantList{QVariantMap{{"APNProvider", "Internet"}, {"AutoOpen", true}, {"URL", "http://special.example"}}});
  set("UIConfig", "DadizarerAZI", true);
  set("webURLDict", "MainPage", "http://op.example/main?num=%@&imei=%@");
  set("Internet", "IMSIAndWebPage", QVariantMap{{"00101", "https://operator.example/welcome"}});
  set("", "IMSI", "001010123456789");
  // A number that would add a parameter, and printf directives that must stay text.
  dial->setRuntimeObject(QStringLiteral("+49 1&imei=0%s%n%@"), kRTPhoneNumber);
  dial->setRuntimeObject(QStringLiteral("350000000000001"), kRTIMEI);

  ASSERT_TRUE(dial->firstConnectedActionsDue());
  dial->performActionWhenFirstConnected();
  EXPECT_FALSE(dial->firstConnectedActionsDue());
  // The special URL opens before any web view is made; the SIM's page after the operator page.
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[0].url, "http://special.example");
  EXPECT_EQ(opened[0].webViews, 0);
  EXPECT_EQ(opened[1].url, "https://operator.example/welcome");
  EXPECT_EQ(opened[1].webViews, 1);
  ASSERT_NE(dial->dadizarerAZIWebView_, nullptr);
  const QUrl page = dial->dadizarerAZIWebView_->url();
  EXPECT_EQ(page.host(), "op.example");
  const QUrlQuery query(page);
  EXPECT_EQ(query.queryItems().size(), 2) << page.toString().toStdString();
  EXPECT_EQ(query.queryItemValue("num", QUrl::FullyDecoded), "+49 1&imei=0%s%n%@");
  EXPECT_EQ(query.queryItemValue("imei", QUrl::FullyDecoded), "350000000000001");

  // A second connected report of the same connection does nothing.
  dial->performActionWhenFirstConnected();
  EXPECT_EQ(opened.size(), 2);
  EXPECT_EQ(page_webViews(), 1);
}

TEST_F(OperatorContentFirstConnectActions, WithEveryKeyAbsentNothingShowsAndNothingOpens) {
  const int before = int(page->findChildren<QWidget *>().size());
  dial->performActionWhenFirstConnected();
  EXPECT_TRUE(opened.isEmpty());
  EXPECT_EQ(page->findChildren<QWidget *>().size(), before);
  EXPECT_EQ(dial->viewEmbeddedPages_, nullptr);
  EXPECT_FALSE(dial->isCycleDisplayWebPagesTimerActive());
  dial->setConnectStateForDidoro(true);
  dial->openConnectStateWindowForDidoro(true);
  dial->openConnectFailedWindow();
  dial->displayMonthlyData();
  EXPECT_EQ(dial->windowOfConnectStateForDidoro_, nullptr);
  EXPECT_EQ(dial->windowOfConnectFailedForDidoro_, nullptr);
  EXPECT_EQ(dial->monthlyData_, nullptr);
  EXPECT_EQ(page->findChildren<QWidget *>().size(), before);
  EXPECT_TRUE(answers_asked().isEmpty());
}

// ---- the cycling pages ----

TEST_F(OperatorContentFirstConnectActions, CyclingPagesTurnOneToFiveAndBackToOne) {
  QVariantMap addresses;
  for (int i = 0; i < 5; ++i)
    addresses.insert(QStringLiteral("WebPageAddress%1").arg(i), QStringLiteral("http://page%1.example").arg(i));
  set("Internet", "Internet_WebPageAddress_NeedCycleDisplay", addresses);
  set("Internet", "Internet_SwitchWebTimeValue_WhenDisplayWebPage", 0.05);
  dial->performActionWhenFirstConnected();
  ASSERT_NE(dial->viewEmbeddedPages_, nullptr);
  EXPECT_TRUE(dial->isCycleDisplayWebPagesTimerActive());
  EXPECT_EQ(dial->currentDisplayWebUIIndex(), 0);
  // The timer turns the pages by itself.
  ASSERT_TRUE(testsupport::waitUntil([&] { return dial->currentDisplayWebUIIndex() != 0; }));
  dial->stopCycleDisplayWebPagesTimer();

  QList<int> turns, shown;
  for (int i = 0; i < 7; ++i) {
    dial->cycleDisplayWebPages();
    turns << dial->currentDisplayWebUIIndex();
    int visible = 0;
    for (int c = 1; c <= 5; ++c)
      if (!dial->embeddedContainer(c)->isHidden()) {
        ++visible;
        shown << c;
      }
    EXPECT_EQ(visible, 1);
  }
  const int first = turns.first();
  QList<int> expected;
  for (int i = 0; i < 7; ++i)
    expected << (first - 1 + i) % 5 + 1;
  EXPECT_EQ(turns, expected);
  EXPECT_EQ(shown, expected);

  dial->startCycleDisplayWebPagesTimer();
  dial->displayStaticBackGroundPicAndNotDisplayWebPages();
  EXPECT_FALSE(dial->isCycleDisplayWebPagesTimerActive());
  EXPECT_TRUE(dial->viewEmbeddedPages_->isHidden());
  for (int c = 1; c <= 5; ++c)
    EXPECT_TRUE(dial->embeddedContainer(c)->isHidden());
}

TEST_F(OperatorContentFirstConnectActions, TheFirstTurnShowsTheFirstPage) {
  set("", "DisplayBackgroundWhileDisconnect", true);
  dial->performActionWhenFirstConnected();
  ASSERT_NE(dial->viewEmbeddedPages_, nullptr);
  EXPECT_FALSE(dial->viewEmbeddedPages_->isHidden());
  dial->cycleDisplayWebPages();
  EXPECT_EQ(dial->currentDisplayWebUIIndex(), 1);
  EXPECT_FALSE(dial->embeddedContainer(1)->isHidden());
  EXPECT_TRUE(dial->embeddedContainer(2)->isHidden());
}

// ---- favourite icons ----

TEST(OperatorContentFirstConnect, FavouriteIconFallsBackToTheBackgroundAnimation) {
  QTemporaryDir folder;
  const QString images = folder.filePath("vuzira/images");
  QDir().mkpath(images);
  const auto touch = [&](const char *name) {
    QFile f(images + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  };
  touch("icon1.swf");
  touch("icon2.swf");
  EXPECT_EQ(DialController::favouriteIconFile(folder.path(), 3), QString()) << "neither file: the view is left alone";
  touch("background.swf");
  EXPECT_EQ(DialController::favouriteIconFile(folder.path(), 1), images + "/icon1.swf");
  EXPECT_EQ(DialController::favouriteIconFile(folder.path(), 3), images + "/background.swf");
  EXPECT_EQ(DialController::favouriteIconFile(QString(), 1), QString());
}

// ---- the operator connect windows ----

TEST_F(OperatorContentWindows, ProgressCounterRunsOneToTenAndWraps) {
  set("Internet", "SetProgressIndicatorImage", true);
  dial->countOfConnectStateImage_ = 9;
  QStringList names;
  for (int i = 0; i < 3; ++i) {
    dial->setProgressIndicatorWhenConnectStateChangeForDidoro();
    names << dial->progressImageName();
  }
  EXPECT_EQ(names, QStringList({"Stategif9.png", "Stategif10.png", "Stategif1.png"}));
  EXPECT_EQ(dial->countOfConnectStateImage_, 2);
  dial->countOfConnectStateImage_ = 0;
  dial->setProgressIndicatorWhenConnectStateChangeForDidoro();
  EXPECT_EQ(dial->progressImageName(), "Stategif1.png") << "a counter out of range shows nothing new";
  EXPECT_EQ(dial->countOfConnectStateImage_, 0);
}

TEST_F(OperatorContentWindows, ConnectStateWindowFollowsConnectingAndDisconnecting) {
  set("Internet", "OpenWindoOfConectOrDisConnectNetForDidoro", true);
  set("Internet", "SetProgressIndicatorImage", true);
  dial->setConnectStatus(DialController::kConnecting);
  dial->openConnectStateWindowForDidoro(true);
  QDialog *w = dial->windowOfConnectStateForDidoro_;
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(dial->btnCancelConnectForDidoro_->isEnabled());
  EXPECT_EQ(dial->labelOfConnectStateForDidoro_->text(), Map_Name_Item_of_IndexString("Connecting Didoro Internet"));
  EXPECT_TRUE(dial->isProgressIndicatorRunning());
  ASSERT_TRUE(testsupport::waitUntil([&] { return !dial->progressImageName().isEmpty(); }));

  dial->setConnectStatus(DialController::kDisconnecting);
  dial->openConnectStateWindowForDidoro(true);
  EXPECT_FALSE(dial->btnCancelConnectForDidoro_->isEnabled());
  EXPECT_EQ(dial->labelOfConnectStateForDidoro_->text(), Map_Name_Item_of_IndexString("Disconnecting..."));
  EXPECT_EQ(dial->countOfConnectStateImage_ >= 1, true);

  dial->closeDidoroConnectStateWindow();
  EXPECT_FALSE(w->isVisible());
  EXPECT_FALSE(dial->isProgressIndicatorRunning());
}

TEST_F(OperatorContentWindows, ConnectFailedWindowAlertsThenShowsAndClosesWithItsTimer) {
  set("Internet", "OpenConnectFailedWindow", true);
  set("Internet", "Internet_OpenConnectFailedWindowForDidoro", true);
  dial->openConnectFailedWindow();
  ASSERT_EQ(answers_asked().size(), 1);
  EXPECT_EQ(answers_asked().first().message, Map_Name_Item_of_IndexString("Cannot connect, please try again later"));
  QDialog *w = dial->windowOfConnectFailedForDidoro_;
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(dial->labelOfConnectFailedForDidoro_->text(),
            Map_Name_Item_of_IndexString("The device has been disconnected or is unavailable"));
  EXPECT_TRUE(dial->isConnectFailedTimerRunning());
  dial->closeConnectFailedWindow();
  EXPECT_FALSE(w->isVisible());
  EXPECT_FALSE(dial->isConnectFailedTimerRunning());
}

TEST_F(OperatorContentWindows, StateIconShowsConnectedOrNot) {
  set("Internet", "SetConnectStateForDidoro", true);
  dial->setConnectStateForDidoro(true);
  ASSERT_NE(dial->imageViewOfConnectStatesForDidoro_, nullptr);
  EXPECT_EQ(dial->connectStateImageName(), "DataConnected");
  EXPECT_EQ(dial->imageViewOfConnectStatesForDidoro_->toolTip(), Map_Name_Item_of_IndexString("Data connected"));
  dial->setConnectStateForDidoro(false);
  EXPECT_EQ(dial->connectStateImageName(), "DataNotConnected");
}

// ---- the roaming question before a disconnect ----

TEST_F(OperatorContentWindows, RoamingQuestionLetsTheDisconnectGoOnOnlyWithOK) {
  set("Internet", "DialDisconnectWhenRoam", true);
  EXPECT_TRUE(dial->dialDisconnectWhenRoamForDidoro()) << "at home: no question";
  EXPECT_TRUE(answers_asked().isEmpty());
  init->setNetworkRoamStatus(0);
  struct Case {
    int answer;
    bool goesOn;
  };
  for (const Case c : {Case{ModalQuestions::kDefaultAnswer, true}, Case{ModalQuestions::kAlternateAnswer, false}}) {
    ScriptedAnswers script({c.answer});
    EXPECT_EQ(dial->dialDisconnectWhenRoamForDidoro(), c.goesOn);
    ASSERT_EQ(script.asked().size(), 1);
    EXPECT_TRUE(script.asked().first().message.contains("roaming network"));
    // Through the button: a refused question leaves the connection and the manual mark alone.
    dial->setHadDoManualDisconnect(false);
    dial->setConnectStatus(DialController::kConnected);
    ScriptedAnswers again({c.answer});
    dial->DialOption(dial->m_ConnectButton);
    EXPECT_EQ(dial->hadDoManualDisconnect(), c.goesOn);
  }
  set("Internet", "DialDisconnectWhenRoam", false);
  ScriptedAnswers none;
  EXPECT_TRUE(dial->dialDisconnectWhenRoamForDidoro());
  EXPECT_TRUE(none.asked().isEmpty());
}

// ---- the network status switches the PS domain ----

TEST_F(OperatorContentFirstConnectActions, NetworkStatusDrivesThePSDomainOnlyWithItsSwitch) {
  const auto report = [&](const char *type) {
    dial->updateNetworkStatus(Notification{QStringLiteral("init_NetworkStatus"),
                                           nullptr,
                                           {{QStringLiteral("init_NetworkStatus"), QString::fromLatin1(type)}}});
  };
  report("WCDMA");
  EXPECT_FALSE(dial->psDomainStatus()) << "without the switch the device status decides";
  set("", "EnableConnectByNetStatus", true);
  report("WCDMA");
  EXPECT_TRUE(dial->psDomainStatus());
  report("Limited Service");
  EXPECT_FALSE(dial->psDomainStatus());
  report("EDGE");
  EXPECT_TRUE(dial->psDomainStatus());
  EXPECT_TRUE(dial->is2GNetWork());
}

// ---- the month's figure ----

TEST_F(OperatorContentWindows, MonthlyFigureCountsTheRunningConnectionOnce) {
  writeRecords({record("Internet", "2024-03-02T10:00:00Z", 60, "100.00", "20.00"),
                record("Internet", "2024-03-10T10:00:00Z", 60, "300.00", "60.00"),
                record("Internet", "2024-02-10T10:00:00Z", 60, "999.00", "999.00")});
  start();
  set("Internet", "DisplayMonthlyData", true);
  float receive = 0, send = 0;
  quint64 seconds = 0;
  records->getMonthRecordReceive(&receive, &send, &seconds);
  const double monthBytes = (double(receive) + double(send)) * 1024.0;
  ASSERT_GT(monthBytes, 0);

  dial->setConnectStatus(DialController::kConnected);
  dial->setCurrentTotalData(512000);
  // The statistics view takes the running connection into its own month row.
  dial->setTransferDataInfo();
  dial->sendStatisticsNotification();
  dial->displayMonthlyData();
  ASSERT_NE(dial->monthlyData_, nullptr);
  EXPECT_EQ(dial->monthlyData_->text(), formatTransferData(monthBytes + 512000));

  // Once its record is saved, the records hold the connection.
  dial->saveRecordFlag = true;
  dial->displayMonthlyData();
  EXPECT_EQ(dial->monthlyData_->text(), formatTransferData(monthBytes));
}

} // namespace
