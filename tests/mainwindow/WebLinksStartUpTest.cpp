// At start-up the connection controller asks the icon list's servers for newer icons and takes
// them in; the link pictures follow the connection.
#include "DialController.h"
#include "DownloadUtilities.h"
#include "HttpStub.h"
#include "MainWindowFixture.h"
#include "NotificationTables.h"
#include "WeblinkUpdateUtilities.h"

#include <QFile>
#include <QTest>

namespace {

class WebLinks : public MainWindowFixture {
protected:
  void TearDown() override {
    delete parts.mainController;
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(QString());
    WeblinkUpdateUtilities::sharedUpdateManager()->setIconLoader({});
  }
};

TEST_F(WebLinks, AnIconOfTheListIsFetchedAtStartUpAndTheLinkPicturesFollowTheConnection) {
  HttpStub http;
  http.routes["/tv.gif"] = {
      HttpStub::Response{200, {{"Last-Modified", "Tue, 02 Jan 2024 10:00:00 GMT"}}, "GIF89a", false}};
  const QString modemList = dir.filePath("ModemList");
  Plist::writeFile(modemList + "/IconLinks.plist",
                   QVariantList{QVariantMap{{"ImageURL", http.url("/tv.gif")},
                                            {"ImageStorePath", "tv.gif"},
                                            {"ImageModifiedDate", "Mon, 01 Jan 2024 10:00:00 GMT"}}});
  buildOffline();
  ASSERT_TRUE(
      QTest::qWaitFor([] { return g_DialController && !g_DialController->loadedIconProperties().isEmpty(); }, 10000));
  QFile icon(modemList + "/vuzira/images/tv.gif");
  ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
  EXPECT_EQ(icon.readAll(), "GIF89a");
  EXPECT_EQ(g_DialController->loadedIconProperties().value(0).toMap().value("ImageModifiedDate").toString(),
            "Tue, 02 Jan 2024 10:00:00 GMT");

  QStringList posted;
  QObject observer;
  for (const char *name : {"SetWebLinkImageViewEnabled", "SetWebLinkImageViewDisabled"})
    NotificationCenter::defaultCenter().addObserver(&observer, QLatin1String(name), nullptr,
                                                    [&](const Notification &n) { posted << n.name; });
  for (int status : {1, 3, 2, 0})
    NotificationCenter::defaultCenter().postNotificationName(kConnectStatusDidChange, nullptr,
                                                             {{"ConnectStatus", status}});
  EXPECT_EQ(posted, (QStringList{"SetWebLinkImageViewEnabled", "SetWebLinkImageViewDisabled"}));
}

} // namespace
