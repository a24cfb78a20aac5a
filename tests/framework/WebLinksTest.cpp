// The linked icons: date queries and downloads against a small HTTP server of the test's own,
// where the copies may go, the new-window rule of web views and the link controls.
#include "ConfigManager.h"
#include "DownloadUtilities.h"
#include "HttpStub.h"
#include "NotificationCenter.h"
#include "Plist.h"
#include "WebLinkControls.h"
#include "WebViewUtilities.h"
#include "WeblinkUpdateUtilities.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QByteArray kOld = "old-icon";
const QByteArray kNew = "new-icon-bytes";
const QString kDate1 = "Mon, 01 Jan 2024 10:00:00 GMT";
const QString kDate2 = "Tue, 02 Jan 2024 10:00:00 GMT";

class WebLinks : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString modemList, images, cfg;
  std::unique_ptr<ConfigManager> config;
  HttpStub http;
  QObject observer;
  int finishedPosts = 0;

  void SetUp() override {
    modemList = dir.filePath("ModemList");
    images = modemList + "/vuzira/images";
    QDir().mkpath(images);
    Plist::writeFile(modemList + "/settings.plist", QVariantMap{});
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    cfg = modemList + "/IconLinks.plist";
    DownloadUtilities::sharedDownloadManager()->setDownloadFolder(images);
    NotificationCenter::defaultCenter().addObserver(&observer, "LoadImageFormURLOver", nullptr,
                                                    [this](const Notification &) { ++finishedPosts; });
  }
  void TearDown() override {
    WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(QString());
    WeblinkUpdateUtilities::sharedUpdateManager()->setIconLoader({});
    ConfigManager::setSharedConfigManager(nullptr);
  }
  static HttpStub::Response dated(const QString &date, const QByteArray &body = kNew) {
    return {200, {{"Last-Modified", date.toLatin1()}}, body, false};
  }
  QVariantMap entry(const QString &path, const QString &store, const QVariant &date = kDate1) {
    QVariantMap e{{"ImageURL", http.url(path)}, {"ImageStorePath", store}};
    if (date.isValid())
      e.insert("ImageModifiedDate", date);
    return e;
  }
  void writeList(const QVariantList &entries) {
    Plist::writeFile(cfg, entries);
    WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(cfg);
  }
  // Runs the start-up update until every request has ended.
  int update() {
    const int result = WeblinkUpdateUtilities::sharedUpdateManager()->startUpdateWebLinks();
    EXPECT_TRUE(
        QTest::qWaitFor([] { return DownloadUtilities::sharedDownloadManager()->pendingRequests() == 0; }, 10000));
    QTest::qWait(20);
    return result;
  }
  static QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
  }
  QString storedDate(int index) const {
    QVariant list;
    Plist::readFile(cfg, &list);
    return list.toList().value(index).toMap().value("ImageModifiedDate").toString();
  }
};

TEST_F(WebLinks, ANewerServerDateDownloadsAndReplacesTheCopyAnEqualOneDoesNot) {
  struct Case {
    const char *name;
    QVariant stored;
    QString served;
    bool downloads;
  };
  const Case cases[] = {
      {"newer", kDate1, kDate2, true},
      {"equal", kDate1, kDate1, false},
      {"older", kDate2, kDate1, false},
      {"no stored date", QVariant(), kDate1, true},
      {"unreadable stored date", "yesterday", kDate1, true},
      {"unreadable server date", kDate1, "soon", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = QStringLiteral("/%1/icon.gif").arg(QString(c.name).replace(' ', '_'));
    http.routes[path] = {dated(c.served)};
    QFile::remove(images + "/icon.gif");
    QFile old(images + "/icon.gif");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(kOld);
    old.close();
    QVariantMap loaded;
    WeblinkUpdateUtilities::sharedUpdateManager()->setIconLoader([&](const QVariantMap &e) { loaded = e; });
    writeList({entry(path, "icon.gif", c.stored)});
    finishedPosts = 0;
    EXPECT_EQ(update(), 0);
    EXPECT_EQ(http.hits.value(path), c.downloads ? 2 : 1) << "one date query, then the download";
    EXPECT_EQ(contents(images + "/icon.gif"), c.downloads ? kNew : kOld);
    EXPECT_EQ(finishedPosts, c.downloads ? 1 : 0);
    if (c.downloads) {
      EXPECT_EQ(storedDate(0), c.served);
      EXPECT_EQ(loaded.value("ImageURL").toString(), http.url(path));
    }
  }
  EXPECT_TRUE(http.userAgents.contains("MySpecialUserAgent/1.0"));
}

TEST_F(WebLinks, AFailedDownloadKeepsTheOldCopyAndItsDate) {
  for (const HttpStub::Response &failure :
       {HttpStub::Response{500, {}, "oops", false}, HttpStub::Response{200, {}, "half", true}}) {
    SCOPED_TRACE(failure.status);
    const QString path = QStringLiteral("/fail%1/icon.gif").arg(failure.status);
    http.routes[path] = {dated(kDate2), failure};
    QFile old(images + "/icon.gif");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(kOld);
    old.close();
    writeList({entry(path, "icon.gif", kDate1)});
    update();
    EXPECT_EQ(http.hits.value(path), 2);
    EXPECT_EQ(contents(images + "/icon.gif"), kOld);
    EXPECT_EQ(storedDate(0), kDate1);
  }
}

TEST_F(WebLinks, ADownloadRedirectedToAnotherNameIsCancelled) {
  http.routes["/moved/icon.gif"] = {
      dated(kDate2), HttpStub::Response{302, {{"Location", http.url("/moved/other.gif").toLatin1()}}, {}, false}};
  http.routes["/moved/other.gif"] = {dated(kDate2, "elsewhere")};
  writeList({entry("/moved/icon.gif", "icon.gif", kDate1)});
  update();
  EXPECT_EQ(http.hits.value("/moved/icon.gif"), 2);
  EXPECT_EQ(contents(images + "/icon.gif"), "<none>");
  EXPECT_EQ(storedDate(0), kDate1);
  // A redirect to the same name is followed.
  http.routes["/same/icon.gif"] = {
      dated(kDate2), HttpStub::Response{302, {{"Location", http.url("/new/icon.gif").toLatin1()}}, {}, false}};
  http.routes["/new/icon.gif"] = {dated(kDate2)};
  writeList({entry("/same/icon.gif", "icon.gif", kDate1)});
  update();
  EXPECT_EQ(contents(images + "/icon.gif"), kNew);
}

TEST_F(WebLinks, DuplicateAddressesAreAskedOnceAndTheFirstEntryIsUsed) {
  http.routes["/dup/icon.gif"] = {dated(kDate2)};
  writeList({entry("/dup/icon.gif", "first.gif", kDate1), entry("/dup/icon.gif", "second.gif", kDate1)});
  update();
  EXPECT_EQ(http.hits.value("/dup/icon.gif"), 2);
  EXPECT_EQ(contents(images + "/first.gif"), kNew);
  EXPECT_FALSE(QFile::exists(images + "/second.gif"));
  EXPECT_EQ(storedDate(0), kDate2);
  EXPECT_EQ(storedDate(1), kDate1);
}

TEST_F(WebLinks, CopiesGoOnlyIntoTheDownloadFolderOrTheModemListFolder) {
  auto *links = WeblinkUpdateUtilities::sharedUpdateManager();
  writeList({entry("/a.gif", "sub/a.gif"), entry("/b.gif", "../../b.gif"), entry("/c.gif", modemList + "/c.gif"),
             entry("/d.gif", dir.filePath("outside.gif")), entry("/e.gif", modemList + "/../e.gif")});
  EXPECT_EQ(links->destinationSuggestedFilenameForURL(http.url("/a.gif")), images + "/sub/a.gif");
  EXPECT_EQ(links->destinationSuggestedFilenameForURL(http.url("/b.gif")), QString());
  EXPECT_EQ(links->destinationSuggestedFilenameForURL(http.url("/c.gif")), modemList + "/c.gif");
  EXPECT_EQ(links->destinationSuggestedFilenameForURL(http.url("/d.gif")), QString());
  EXPECT_EQ(links->destinationSuggestedFilenameForURL(http.url("/e.gif")), QString());
  EXPECT_EQ(links->destinationSuggestedFilenameForURL(http.url("/unknown.gif")), QString());
}

TEST_F(WebLinks, WithoutTheListFileNothingIsAsked) {
  WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(modemList + "/none.plist");
  EXPECT_EQ(update(), WeblinkUpdateUtilities::kFileNotFound);
  EXPECT_TRUE(http.hits.isEmpty());
  WeblinkUpdateUtilities::sharedUpdateManager()->downloadDidFinishWithURL(http.url("/x.gif"));
  EXPECT_EQ(finishedPosts, 0);
}

TEST_F(WebLinks, KnownLinksAndDates) {
  writeList({entry("/k.gif", "k.gif")});
  auto *links = WeblinkUpdateUtilities::sharedUpdateManager();
  EXPECT_TRUE(links->isKnownURLInIconLinks("file:///anything/at/all"));
  EXPECT_TRUE(links->isKnownURLInIconLinks(http.url("/k.gif")));
  EXPECT_TRUE(links->isKnownURLInIconLinks("k.gif"));
  EXPECT_FALSE(links->isKnownURLInIconLinks(http.url("/other.gif")));
  EXPECT_FALSE(links->isKnownURLInIconLinks(QString()));
  EXPECT_EQ(WeblinkUpdateUtilities::parseHttpDate(kDate1),
            QDateTime(QDate(2024, 1, 1), QTime(10, 0), QTimeZone::utc()));
  EXPECT_FALSE(WeblinkUpdateUtilities::parseHttpDate("Mon, 01 Jan 2024 10:00:00").isValid());
  EXPECT_FALSE(WeblinkUpdateUtilities::parseHttpDate("").isValid());
}

TEST(WebViews, ANewWindowOpensOnlyWebAndMailAddresses) {
  QList<QUrl> opened;
  WebViewUtilities::setOpener([&](const QUrl &u) {
    opened << u;
    return true;
  });
  struct Case {
    const char *url;
    bool opens;
  };
  for (const Case &c : {Case{"http://example.org/", true}, Case{"https://example.org/x", true},
                        Case{"mailto:someone@example.org", true}, Case{"file:///etc/passwd", false},
                        Case{"javascript:alert(1)", false}, Case{"ssh://host", false}, Case{"", false}}) {
    opened.clear();
    WebViewUtilities::sharedManager()->decidePolicyForNewWindow(nullptr, QUrl(QLatin1String(c.url)));
    EXPECT_EQ(opened.size(), c.opens ? 1 : 0) << c.url;
  }
  WebViewUtilities::setOpener({});
}

TEST(WebViews, ALocalPageIsShownAndItsLinksOpenInTheBrowser) {
  QTemporaryDir dir;
  QFile page(dir.filePath("index.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<html><head><title>Local</title></head><body><h1>Welcome</h1>"
             "<a href=\"https://example.org/\">out</a></body></html>");
  page.close();
  QWidget host;
  auto *utilities = WebViewUtilities::sharedManager();
  EXPECT_EQ(utilities->attachWebviewWithFrameRect(QRect(), &host), nullptr);
  EXPECT_EQ(utilities->attachWebviewWithFrameRect(QRect(0, 0, 100, 100), nullptr), nullptr);
  WebView *view = utilities->attachWebviewWithFrameRect(QRect(0, 0, 300, 200), &host);
  ASSERT_NE(view, nullptr);
  utilities->LoadURL(page.fileName(), view);
  ASSERT_NE(view->textView(), nullptr) << "the tests run without the web engine";
  EXPECT_TRUE(view->textView()->toPlainText().contains("Welcome"));
  EXPECT_EQ(view->title(), "Local");
  QList<QUrl> opened;
  WebViewUtilities::setOpener([&](const QUrl &u) {
    opened << u;
    return true;
  });
  emit view->textView()->anchorClicked(QUrl("https://example.org/"));
  EXPECT_EQ(opened, QList<QUrl>{QUrl("https://example.org/")});
  EXPECT_TRUE(view->textView()->toPlainText().contains("Welcome")) << "the page stays";
  utilities->LoadURL("https://example.org/remote", view);
  EXPECT_TRUE(view->textView()->toPlainText().contains("https://example.org/remote"));
  utilities->detachSubWebview(view);
  WebViewUtilities::setOpener({});
}

TEST(WebLinkControlsTest, ADisabledPictureOnlyPostsAndAnEnabledOneOpens) {
  QList<QUrl> opened;
  WebViewUtilities::setOpener([&](const QUrl &u) {
    opened << u;
    return true;
  });
  int disabledPosts = 0;
  QObject observer;
  NotificationCenter::defaultCenter().addObserver(&observer, "WebLinkImageViewDisabled", nullptr,
                                                  [&](const Notification &) { ++disabledPosts; });
  WebLinkImageView picture;
  picture.setWebLinkString("http://tv.example/");
  picture.setEnabled(false);
  QTest::mouseClick(&picture, Qt::LeftButton);
  EXPECT_EQ(disabledPosts, 1);
  EXPECT_TRUE(opened.isEmpty());
  picture.setEnabled(true);
  QTest::mouseClick(&picture, Qt::LeftButton);
  EXPECT_EQ(opened, QList<QUrl>{QUrl("http://tv.example/")});
  WeblinkButton button;
  button.setWebLinkString("http://page.example/");
  EXPECT_TRUE(button.openLink());
  button.setLinkType(0);
  button.setWebLinkString("/no/such/program");
  EXPECT_FALSE(button.openLink());
  button.setLinkType(5);
  EXPECT_FALSE(button.openLink());
  WebViewUtilities::setOpener({});
}

TEST(WebLinkControlsTest, TheHintWindowStaysInsideTheScreenOnBothAxes) {
  const QRect screen(0, 0, 1000, 800);
  struct Case {
    QRect frame, expected;
  };
  for (const Case &c : {Case{{100, 100, 50, 40}, {100, 100, 50, 40}}, Case{{100, -30, 50, 40}, {100, 0, 50, 40}},
                        Case{{-20, 790, 50, 40}, {0, 760, 50, 40}}, Case{{980, -5, 50, 40}, {950, 0, 50, 40}},
                        Case{{-100, -100, 50, 40}, {0, 0, 50, 40}}})
    EXPECT_EQ(FavoriteIconHintWindow::keptInside(c.frame, screen), c.expected) << c.frame.x() << "," << c.frame.y();
}

} // namespace
