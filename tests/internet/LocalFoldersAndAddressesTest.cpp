// What the connection side makes on disk and hands to the desktop: the folders for the operator's
// icons and the log are the user's alone whatever the umask, and an address from the settings
// reaches the desktop's opener only when it is a web or mail address (or a plain local document).
#include "../mainwindow/MainWindowFixture.h"
#include "DialController.h"
#include "KLog.h"
#include "WebViewUtilities.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

int modeOf(const QString &path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0)
    return -1;
  return int(st.st_mode & 07777);
}

struct Umask {
  mode_t old;
  explicit Umask(mode_t mask) : old(::umask(mask)) {}
  ~Umask() { ::umask(old); }
};

class LocalFoldersAndAddresses : public NetworkWindowFixture {
protected:
  QVariantMap extraSettings;
  QVariantMap settingsOverrides() const override { return extraSettings; }
  void SetUp() override {}
  void TearDown() override {
    QELUIController::setUrlOpener({});
    WebViewUtilities::setOpener({});
    if (parts.window)
      NetworkWindowFixture::TearDown();
  }
  void start() {
    NetworkWindowFixture::SetUp();
    buildOffline();
  }
  DialController *dial() const { return g_DialController; }
};

TEST_F(LocalFoldersAndAddresses, FoldersMadeForIconsAndLogsAreTheUsersAloneUnderUmaskZero) {
  Umask open(0);
  start();
  const QString modemList = dir.filePath(QStringLiteral("ModemList"));
  QDir(modemList + QStringLiteral("/vuzira")).removeRecursively();
  dial()->initWebDownloadAndLinkUpdateUtilitiesOfEntertain();
  EXPECT_EQ(modeOf(modemList + QStringLiteral("/vuzira")), 0700);
  EXPECT_EQ(modeOf(modemList + QStringLiteral("/vuzira/images")), 0700);

  // The log's fallback folder and the parents it needs.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QString state = qEnvironmentVariable("XDG_STATE_HOME");
  qunsetenv("XDG_RUNTIME_DIR");
  const QString home = dir.filePath(QStringLiteral("state/deeper"));
  qputenv("XDG_STATE_HOME", home.toUtf8());
  const QString folder = KLog::defaultLogFolder();
  qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
  if (state.isNull())
    qunsetenv("XDG_STATE_HOME");
  else
    qputenv("XDG_STATE_HOME", state.toUtf8());
  ASSERT_FALSE(folder.isEmpty());
  EXPECT_EQ(modeOf(dir.filePath(QStringLiteral("state"))), 0700);
  EXPECT_EQ(modeOf(home), 0700);
  EXPECT_EQ(modeOf(folder), 0700);
}

TEST_F(LocalFoldersAndAddresses, OnlyWebMailAndDocumentAddressesReachTheDesktop) {
  start();
  QStringList opened;
  QELUIController::setUrlOpener([&opened](const QUrl &u) {
    opened << u.toString();
    return true;
  });
  const auto localFile = [this](const char *name, QFile::Permissions permissions) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
    f.close();
    f.setPermissions(permissions);
    return QUrl::fromLocalFile(path).toString();
  };
  const QFile::Permissions plain = QFile::ReadOwner | QFile::WriteOwner;
  const QString document = localFile("guide.pdf", plain);
  const QString launcher = localFile("evil.desktop", plain);
  const QString program = localFile("tool.sh", plain | QFile::ExeOwner);
  struct Case {
    QString address;
    bool opens;
  };
  const Case cases[] = {
      {QStringLiteral("https://start.example/"), true},
      {QStringLiteral("http://start.example/"), true},
      {QStringLiteral("mailto:help@example.com"), true},
      {document, true},
      {QUrl::fromLocalFile(dir.path()).toString(), true}, // a folder opens in the file manager
      {launcher, false},
      {program, false},
      {QStringLiteral("file:///usr/share/applications/any.desktop"), false},
      {dir.filePath(QStringLiteral("missing.pdf")).prepend(QStringLiteral("file://")), false},
      {QStringLiteral("smb://server/share"), false},
      {QStringLiteral("javascript:alert(1)"), false},
      {QStringLiteral("about:blank"), true},
      {QStringLiteral("about:config"), false},
      {QStringLiteral("ftp://files.example/x"), false},
  };
  dial()->setConnectStatus(DialController::kConnected);
  for (const Case &c : cases) {
    opened.clear();
    QVariantMap internet = dial()->settingDict().value(QStringLiteral("Internet")).toMap();
    internet.insert(QStringLiteral("AutoLaunchURLString"), c.address);
    dial()->settingDict().insert(QStringLiteral("Internet"), internet);
    dial()->btnZUDEConnect(nullptr); // connected: opens the configured page
    EXPECT_EQ(opened.size(), c.opens ? 1 : 0) << c.address.toStdString();
  }
  dial()->setConnectStatus(DialController::kDisconnected);

  // The web views' links and the link buttons: web and mail addresses only.
  QStringList browsed;
  WebViewUtilities::setOpener([&browsed](const QUrl &u) {
    browsed << u.toString();
    return true;
  });
  EXPECT_TRUE(WebViewUtilities::openInBrowser(QUrl(QStringLiteral("https://start.example/"))));
  EXPECT_FALSE(WebViewUtilities::openInBrowser(QUrl(launcher)));
  EXPECT_FALSE(WebViewUtilities::openInBrowser(QUrl(document)));
  EXPECT_EQ(browsed, QStringList{QStringLiteral("https://start.example/")});
}

} // namespace
