#include "Bundle.h"
#include "ControllerFixture.h"
#include "DispatchTargets.h"
#include "PlugInInterface.h"
#include "PlugInMessages.h"
#include "QELUIController.h"
#include "TextFormats.h"

#include <QFile>
#include <QLabel>
#include <QTabWidget>

namespace {

class TabController : public QELUIController {
  Q_OBJECT
};

// A bundle of our own whose PlugIns folder holds copies of the sample plug-ins and a file that is
// no plug-in at all.
class PlugInFixture : public ControllerFixture {
protected:
  QTabWidget tabs;
  QLabel *original = nullptr;
  QWidget wnd;

  void SetUp() override {
    ControllerFixture::SetUp();
    const QString plugIns = root.filePath("bundle/PlugIns");
    QDir().mkpath(plugIns);
    for (const char *name : {"SampleBundle.so", "SampleNoViewBundle.so", "SampleRefusingBundle.so"})
      QFile::copy(QStringLiteral(QEL_BUNDLE_BUILD_DIR "/PlugIns/") + name, plugIns + "/" + name);
    QFile junk(plugIns + "/Junk.bundle");
    junk.open(QIODevice::WriteOnly);
    junk.write("\x7f"
               "ELF but not really");
    junk.close();
    Bundle::setMainBundlePath(root.filePath("bundle"));

    auto *first = new QWidget;
    first->setProperty("itemIdentifier", QStringLiteral("Internet"));
    tabs.addTab(first, "Internet");
    original = new QLabel("own view");
    original->setProperty("itemIdentifier", QStringLiteral("SMS"));
    tabs.addTab(original, "Messages");
    tabs.setTabToolTip(1, "tip");
    tabs.setCurrentIndex(1);
  }
  void TearDown() override {
    Bundle::setMainBundlePath(QStringLiteral(QEL_BUNDLE_BUILD_DIR));
    ControllerFixture::TearDown();
  }
};

TEST_F(PlugInFixture, LoadedViewReplacesTheTabView) {
  ASSERT_TRUE(QFile::exists(root.filePath("bundle/PlugIns/SampleBundle.so")));
  TabController c;
  c.tabviewMain = &tabs;
  c.wndMain = &wnd;
  ASSERT_TRUE(c.loadPlugin("SampleBundle.bundle", "SMS"));
  QWidget *view = tabs.widget(1);
  ASSERT_NE(view, original);
  EXPECT_EQ(view->objectName(), "SampleBundleView");
  EXPECT_EQ(view->property("itemIdentifier").toString(), "SMS");
  EXPECT_EQ(tabs.tabText(1), "Messages");
  EXPECT_EQ(tabs.tabToolTip(1), "tip");
  EXPECT_EQ(tabs.currentIndex(), 1);
  EXPECT_EQ(c.viewOfOldTabViewItem(), original); // kept alive
  EXPECT_EQ(view->property("receivedKeys").toStringList(), c.objectsDict().keys());
  EXPECT_NE(c.bundleInstance(), nullptr);
}

TEST_F(PlugInFixture, UnusablePlugInsLeaveTheTabAsItWas) {
  TabController c;
  c.tabviewMain = &tabs;
  struct Case {
    QString bundle;
    QString tab;
  };
  const QList<Case> cases = {
      {"SampleNoViewBundle.bundle", "SMS"},   // no view
      {"SampleRefusingBundle.bundle", "SMS"}, // principal object refuses
      {"Junk.bundle", "SMS"},                 // no plug-in at all
      {"Missing.bundle", "SMS"},
      {"../PlugIns/SampleBundle.bundle", "SMS"},
      {"SampleBundle.bundle", "Phonebook"}, // no such tab
      {"", "SMS"},
      {"SampleBundle.bundle", ""},
  };
  for (const Case &k : cases) {
    EXPECT_FALSE(c.loadPlugin(k.bundle, k.tab)) << k.bundle.toStdString();
    EXPECT_EQ(tabs.widget(1), original);
    EXPECT_EQ(tabs.count(), 2);
    EXPECT_EQ(c.viewOfOldTabViewItem(), nullptr);
  }
  TabController noTabs;
  EXPECT_FALSE(noTabs.loadPlugin("SampleBundle.bundle", "SMS"));
}

// A principal object with two methods of a plug-in contract.
class Principal : public QObject {
  Q_OBJECT
public:
  QStringList calls;
  Q_INVOKABLE void receive(const QVariantMap &info) { calls << info.value("k").toString(); }
  Q_INVOKABLE int states() { return 3; }
};

TEST(PlugInMessagesTest, CallsReachThePrincipalAndBreachesOfTheContractAreReported) {
  Principal principal;
  DispatchTargets::forget();
  EXPECT_TRUE(callPlugIn(&principal, "receive", QVariantMap{{"k", "v"}}));
  EXPECT_EQ(principal.calls, QStringList{"v"});
  EXPECT_EQ(askPlugIn<int>(&principal, "states"), 3);
  EXPECT_TRUE(DispatchTargets::missing().isEmpty());

  EXPECT_FALSE(callPlugIn(&principal, "receive", QString("v")));
  EXPECT_FALSE(askPlugIn<bool>(&principal, "states").has_value());
  EXPECT_FALSE(callPlugIn(&principal, "forget"));
  // No plug-in loaded is not a breach.
  EXPECT_FALSE(callPlugIn(nullptr, "receive", QVariantMap()));
  EXPECT_FALSE(askPlugIn<int>(nullptr, "states").has_value());
  EXPECT_EQ(principal.calls, QStringList{"v"});
  EXPECT_EQ(DispatchTargets::missing(), QStringList({"Principal::receive(QString) (plug-in call)",
                                                     "Principal::states() (plug-in question answered as bool)",
                                                     "Principal::forget() (plug-in call)"}));
}

TEST(PlugInLoaderTest, BundleNamesMapToLibraries) {
  QTemporaryDir dir;
  for (const char *name : {"A.so", "libB.so", "C.bundle"}) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
  }
  EXPECT_EQ(PlugInLoader::pathForBundle(dir.path(), "A.bundle"), dir.filePath("A.so"));
  EXPECT_EQ(PlugInLoader::pathForBundle(dir.path(), "B.bundle"), dir.filePath("libB.so"));
  EXPECT_EQ(PlugInLoader::pathForBundle(dir.path(), "C.bundle"), dir.filePath("C.bundle"));
  EXPECT_TRUE(PlugInLoader::pathForBundle(dir.path(), "D.bundle").isEmpty());
  EXPECT_TRUE(PlugInLoader::pathForBundle(dir.path(), "..").isEmpty());
  EXPECT_TRUE(PlugInLoader::pathForBundle(dir.path(), "x/A.so").isEmpty());
}

// ---- web links

TEST(WebLinkTemplateTest, ValuesFillPlaceholdersPercentEncoded) {
  struct Case {
    QString format;
    QStringList values;
    QString out;
  };
  const QList<Case> cases = {
      {"http://op.example/?msisdn=%@&imei=%@", {"+49 170", "3544"}, "http://op.example/?msisdn=%2B49%20170&imei=3544"},
      {"http://op.example/%2$@/%1$@", {"a", "b"}, "http://op.example/b/a"},
      // A value cannot add parameters or change the host.
      {"http://op.example/?p=%@", {"1&admin=1#x"}, "http://op.example/?p=1%26admin%3D1%23x"},
      {"http://%@/", {"evil.example/path?"}, "http://evil.example%2Fpath%3F/"},
      // printf directives are text here; existing escapes stay.
      {"http://op.example/%s%d%n%x?q=a%20b&r=100%%", {"x"}, "http://op.example/%s%d%n%x?q=a%20b&r=100%"},
      {"http://op.example/?a=%@&b=%@&c=%@", {"1"}, "http://op.example/?a=1&b=&c="},
      {"%", {}, "%"},
      {"%9$@", {"a"}, ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(fillWebLinkTemplate(c.format, c.values), c.out) << c.format.toStdString();
}

class LinkFixture : public ControllerFixture {
protected:
  QList<QUrl> opened;
  void SetUp() override {
    ControllerFixture::SetUp();
    QELUIController::setUrlOpener([this](const QUrl &u) {
      opened << u;
      return true;
    });
  }
  void TearDown() override {
    QELUIController::setUrlOpener({});
    ControllerFixture::TearDown();
  }
};

TEST_F(LinkFixture, ToolbarLinkIsFilledFromTheRuntimeData) {
  settings()["webURLDict"] = QVariantMap{{"tbiHelp", "https://op.example/help?n=%@&imei=%@"}};
  TabController c;
  c.setRuntimeObject("+33 6", kRTPhoneNumber);
  c.setRuntimeObject("3544", kRTIMEI);
  EXPECT_EQ(c.webURLForKey("tbiHelp"), "https://op.example/help?n=%@&imei=%@");
  c.tbiMainURLActionExt("tbiHelp");
  QObject item;
  item.setProperty("itemIdentifier", "tbiHelp");
  c.tbiMainURLActionExt(&item);
  c.tbiMainURLActionExt("tbiAbsent");
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[0].toString(QUrl::FullyEncoded), "https://op.example/help?n=%2B33%206&imei=3544");
  EXPECT_EQ(opened[1], opened[0]);
}

TEST_F(LinkFixture, InvalidLinksAreNotOpened) {
  TabController c;
  for (const QString &bad : {QString(), QString(""), QString("no scheme here"), QString("http://exa mple.com/")})
    c.openSafari(bad);
  EXPECT_TRUE(opened.isEmpty());
  c.openSafari("https://example.com/x");
  EXPECT_EQ(opened.size(), 1);
}

} // namespace

#include "PlugInAndLinkTest.moc"
