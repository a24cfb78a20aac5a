#pragma once

#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialConfigFile.h"
#include "DialController.h"
#include "DialService.h"
#include "DialServiceTransplant.h"
#include "ModalQuestions.h"
#include "Plist.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A ModemList folder of the test's own with its settings and profiles, the configuration store
// and the switches installed, and a connection controller without windows.
class ProfileFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString modemList;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<DialServiceTransplant> transplant;
  std::unique_ptr<DialController> dial;

  // Written before the store starts.
  virtual QVariantMap initialSettings() const { return {{QStringLiteral("DefaultProfileNum"), 1}}; }
  virtual QVariantList initialProfiles() const { return {profile("Internet", "internet")}; }

  static QVariantMap profile(const QString &name, const QString &apn, const QVariantMap &more = {}) {
    QVariantMap p{{QStringLiteral("provider"), name},
                  {QStringLiteral("apnName"), apn},
                  {QStringLiteral("telNumber"), QStringLiteral("*99#")}};
    for (auto it = more.cbegin(); it != more.cend(); ++it)
      p.insert(it.key(), it.value());
    return p;
  }

  void SetUp() override {
    modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList);
    Plist::writeFile(modemList + QStringLiteral("/settings.plist"), initialSettings());
    const QVariantList profiles = initialProfiles();
    if (!profiles.isEmpty())
      Plist::writeFile(modemList + QStringLiteral("/dialConfig.plist"), profiles);
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
    transplant = std::make_unique<DialServiceTransplant>();
    DialServiceTransplant::setSharedDialServiceTransplant(transplant.get());
    dial = std::make_unique<DialController>();
  }

  void TearDown() override {
    dial.reset();
    DialServiceTransplant::setSharedDialServiceTransplant(nullptr);
    DialServiceTransplant::setIccidSource({});
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }

  // A setting in the live dictionary; an empty module names a top-level entry.
  void set(const QString &module, const QString &key, const QVariant &value) {
    QVariantMap &s = config->getConfiguration();
    if (module.isEmpty()) {
      s.insert(key, value);
      return;
    }
    QVariantMap m = s.value(module).toMap();
    m.insert(key, value);
    s.insert(module, m);
  }
  QVariant setting(const QString &key) const { return config->getConfiguration().value(key); }

  QVariantList fileProfiles() const {
    QVariant v;
    Plist::readFile(DialConfigFile::path(), &v);
    return v.toList();
  }
  static QStringList names(const QVariantList &profiles) {
    QStringList out;
    for (const QVariant &p : profiles)
      out << p.toMap().value(QStringLiteral("provider")).toString();
    return out;
  }
};
