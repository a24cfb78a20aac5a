#pragma once

#include "ConfigManager.h"
#include "ConfigService.h"
#include "ModalQuestions.h"
#include "Plist.h"
#include "QELMsgCenter.h"
#include "TestSupport.h"
#include "UIMsg.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The SIM services' controllers on a settings folder of the test's own, without a backend:
// requests are seen through the controllers' request observers and alerts are answered by
// script.
class ServicesFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<ScriptedAnswers> answers;

  // Module entries merged over the bundle's defaults ({"USSD": {...}}).
  virtual QVariantMap settingsOverrides() const { return {}; }

  void SetUp() override {
    const QString modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList);
    QVariantMap settings;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/ModemList/settings.plist"),
                          &settings);
    const QVariantMap overrides = settingsOverrides();
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it) {
      QVariantMap module = settings.value(it.key()).toMap();
      const QVariantMap add = it.value().toMap();
      for (auto k = add.cbegin(); k != add.cend(); ++k)
        module.insert(k.key(), k.value());
      settings.insert(it.key(), module);
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
    answers.reset();
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }

  static Notification notificationOf(uint16_t major, uint16_t minor, int type, uint8_t result,
                                     const QByteArray &data = {}) {
    UIMsg m;
    m.majorId = major;
    m.minorId = minor;
    m.type = type;
    m.result = result;
    m.setPayload(data);
    return Notification{QStringLiteral("qUIMsg"), nullptr, {{QStringLiteral("qUIMsg"), m.encode()}}};
  }
};
