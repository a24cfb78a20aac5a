// The launch road: splash or none, and runDatacard exactly once.
#include "Bundle.h"
#include "MainController.h"
#include "MainWindowFixture.h"

#include <QFile>
#include <QImage>

namespace {

class Launch : public MainWindowFixture {
protected:
  QTemporaryDir bundle;

  void TearDown() override {
    MainWindowFixture::TearDown();
    Bundle::setMainBundlePath(testsupport::buildBundlePath());
  }

  // A bundle whose Resources/splash holds frames 1..count, without the ones in `missing`.
  void makeFrames(int count, QList<int> missing = {}) {
    QDir().mkpath(bundle.filePath(QStringLiteral("Resources/splash")));
    for (int i = 1; i <= count; ++i) {
      if (missing.contains(i))
        continue;
      QImage frame(40, 30, QImage::Format_ARGB32);
      frame.fill(Qt::blue);
      frame.save(bundle.filePath(QStringLiteral("Resources/splash/%1.png").arg(i)));
    }
    Bundle::setMainBundlePath(bundle.path());
  }

  void configureSplash(int count, int displayCount, double delay) {
    config->getConfiguration().insert(
        QStringLiteral("MAINFORM"),
        QVariantMap{{QStringLiteral("StartupWindow"), QVariantMap{{QStringLiteral("DicName"), QStringLiteral("splash")},
                                                                  {QStringLiteral("ImageCount"), count},
                                                                  {QStringLiteral("DisplayCount"), displayCount},
                                                                  {QStringLiteral("DelayTime"), delay}}}});
  }

  MainController *main() const { return parts.mainController; }
};

TEST_F(Launch, AMissingFrameMeansNoSplashAndTheLaunchGoesStraightOn) {
  makeFrames(3, {2});
  configureSplash(3, 1, 100);
  buildOffline();
  main()->setStartsBackend(false);
  main()->wndStartup_ = new QWidget;
  main()->prepareStartupWin();
  main()->applicationWillFinishLaunching();
  EXPECT_EQ(main()->datacardRuns(), 1);
  EXPECT_DOUBLE_EQ(parts.window->windowOpacity(), 1.0);
  EXPECT_FALSE(main()->splashRunning());
}

TEST_F(Launch, SplashShowsEveryFrameDisplayCountTimesThenLaunches) {
  makeFrames(3);
  configureSplash(3, 2, 200); // 200 frames a second
  buildOffline();
  main()->setStartsBackend(false);
  auto *splash = new QWidget;
  main()->wndStartup_ = splash;
  main()->prepareStartupWin();
  EXPECT_EQ(main()->splashFrameCount(), 3);
  main()->applicationWillFinishLaunching();
  EXPECT_EQ(main()->datacardRuns(), 0) << "the backend waits for the splash";
  ASSERT_TRUE(testsupport::waitUntil([&] { return main()->datacardRuns() == 1; }, 3000));
  EXPECT_EQ(main()->splashFrameCounter(), 6);
  delete splash;
}

TEST_F(Launch, RunDatacardRunsOnceWhateverCallsIt) {
  buildOffline();
  main()->setStartsBackend(false);
  int ready = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("AppReady"), nullptr,
                                                  [&](const Notification &) { ++ready; });
  main()->applicationWillFinishLaunching();
  main()->runDatacard();
  EXPECT_EQ(main()->datacardRuns(), 2);
  EXPECT_EQ(ready, 1);
}

TEST_F(Launch, AServiceProviderCodeKeepsOnlyItsProfileAndInvalidCodesWriteNothing) {
  const QVariantList profiles{QVariantMap{{"ProfileName", "A"}}, QVariantMap{{"ProfileName", "B"}}};
  config->getConfiguration().insert("CheckSPCode", true);
  config->getConfiguration().insert("AllDialConfig", profiles);
  config->getConfiguration().insert("AllSPCodeIndex",
                                    QVariantMap{{"123", QVariantMap{{"Index", 1}, {"ProviderLogo", "logo.png"}}},
                                                {"77", QVariantMap{{"Index", 2}}},
                                                {"88", QVariantMap{}},
                                                {"-1", QVariantMap{{"Index", -1}}}});
  buildOffline();
  main()->setStartsBackend(false);
  main()->applicationWillFinishLaunching();
  ASSERT_NE(main()->spCodeWindow(), nullptr);
  EXPECT_EQ(main()->datacardRuns(), 0) << "the backend waits for the code";
  const QString dialConfig = config->configFilePathOfKey(kCMDialConfigFile);
  for (const char *invalid : {"77", "88", "-1", "999"}) {
    main()->spCodeField()->setText(QLatin1String(invalid));
    main()->checkSPCode();
    EXPECT_EQ(answers->asked().last().message, "Invalid service provider code") << invalid;
    EXPECT_TRUE(main()->spCodeField()->text().isEmpty());
    EXPECT_FALSE(QFile::exists(dialConfig)) << invalid;
  }
  main()->spCodeField()->setText("123");
  main()->checkSPCode();
  QVariant written;
  ASSERT_TRUE(Plist::readFile(dialConfig, &written));
  EXPECT_EQ(written.toList(), QVariantList{profiles.at(1)});
  QVariantMap saved;
  ASSERT_TRUE(Plist::readDictionary(config->configFilePathOfKey(kCMSettingFile), &saved));
  EXPECT_EQ(saved.value("CheckSPCode"), false);
  EXPECT_EQ(saved.value("ChangeProviderLogo"), true);
  EXPECT_EQ(saved.value("ProviderLogoImage"), "logo.png");
  EXPECT_EQ(main()->spCodeWindow(), nullptr);
  EXPECT_EQ(main()->datacardRuns(), 1);
}

} // namespace
