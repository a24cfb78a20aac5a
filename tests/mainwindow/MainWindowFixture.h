#pragma once

#include "ConfigManager.h"
#include "ConfigService.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "MainController.h"
#include "MainWindowBuilder.h"
#include "ModalQuestions.h"
#include "PackageLink.h"
#include "Platform.h"
#include "Plist.h"
#include "QELMsgCenter.h"
#include "TestSupport.h"

#include <QDir>
#include <QMainWindow>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The main window and its controllers on a settings folder of the test's own, talking to a real
// backend process started from a scenario. Alerts are answered by script and recorded.
class MainWindowFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString ui = testsupport::uniqueBusName(QStringLiteral("ui"));
  QString be = testsupport::uniqueBusName(QStringLiteral("be"));
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<PackageLink> link;
  std::unique_ptr<QELMsgCenter> center;
  std::unique_ptr<testsupport::BackendProcess> backend;
  std::unique_ptr<ScriptedAnswers> answers;
  QObject owner;
  MainWindowBuilder::Parts parts;

  // Settings entries merged over the bundle's defaults before the controllers start.
  virtual QVariantMap settingsOverrides() const { return {}; }

  void SetUp() override {
    const QString modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList);
    QVariantMap settings;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/ModemList/settings.plist"),
                          &settings);
    const QVariantMap overrides = settingsOverrides();
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it) {
      if (it.value().typeId() == QMetaType::QVariantMap &&
          settings.value(it.key()).typeId() == QMetaType::QVariantMap) {
        QVariantMap module = settings.value(it.key()).toMap();
        const QVariantMap add = it.value().toMap();
        for (auto k = add.cbegin(); k != add.cend(); ++k)
          module.insert(k.key(), k.value());
        settings.insert(it.key(), module);
      } else {
        settings.insert(it.key(), it.value());
      }
    }
    Plist::writeFile(modemList + QStringLiteral("/settings.plist"), settings);
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
    answers = std::make_unique<ScriptedAnswers>();
  }

  void TearDown() override {
    delete parts.window;
    parts = {};
    // The controllers go with their window: one left over would still observe notifications
    // with the settings of a store that is gone.
    qDeleteAll(owner.children());
    center.reset();
    backend.reset();
    link.reset();
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }

  // Starts the backend from a scenario and builds the window; false without a bus.
  bool launch(const QString &scenario = QStringLiteral("sim-ready")) {
    link = std::make_unique<PackageLink>(ui, be);
    if (!link->open())
      return false;
    center = std::make_unique<QELMsgCenter>(link.get());
    parts = MainWindowBuilder::build(center.get(), nullptr, &owner);
    // A bundle scenario by name, or a file of the test's own by its absolute path.
    const QString path = scenario.startsWith(QLatin1Char('/'))
                             ? scenario
                             : testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/") + scenario +
                                   QStringLiteral(".plist");
    testsupport::useFreeOperatorAddress();
    backend = std::make_unique<testsupport::BackendProcess>(ui, be, path);
    return backend->start();
  }

  // Builds the window without a backend (quit rules, toolbar).
  void buildOffline() { parts = MainWindowBuilder::build(nullptr, nullptr, &owner); }
};

// The window with a platform of the test's choice and an init service of its own installed as the
// shared ones for the test's lifetime.
class ModemWindowFixture : public MainWindowFixture {
protected:
  Platform platform{Platform::kPlatformOther};
  InitService service;

  void SetUp() override {
    MainWindowFixture::SetUp();
    Platform::setSharedPlatform(&platform);
    InitService::setSharedInitService(&service);
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    InitService::setSharedInitService(nullptr);
    Platform::setSharedPlatform(nullptr);
  }

  InitController *init() const { return parts.initController; }
  QString signalImage() const { return init()->statusView->signalImage->property("imageName").toString(); }
  // A switch in the controller's own copy of the settings; an empty module names a top-level key.
  void setSwitch(const QString &module, const QString &key, const QVariant &value) {
    QVariantMap &dict = init()->settingDict();
    if (module.isEmpty()) {
      dict.insert(key, value);
      return;
    }
    QVariantMap m = dict.value(module).toMap();
    m.insert(key, value);
    dict.insert(module, m);
  }
};

// The same with the main controller running against a modem whose network reports change the
// shared IMSI.
class NetworkWindowFixture : public ModemWindowFixture {
protected:
  void TearDown() override {
    // The main controller filters the window's events and would see a half-destroyed window.
    delete parts.mainController;
    ModemWindowFixture::TearDown();
    service.setImsi(QString()); // the IMSI is shared by every service
  }

  // A saved setting; an empty module names a top-level key.
  void set(const QString &module, const QString &key, const QVariant &value) {
    if (module.isEmpty())
      config->setConfigurationByModule(key, value);
    else if (!config->setConfigurationByModuleKeyAndValue(module, key, value))
      config->setConfigurationByModule(module, QVariantMap{{key, value}});
  }
};
