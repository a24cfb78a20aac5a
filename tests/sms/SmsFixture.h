#pragma once

#include "ConfigManager.h"
#include "ConfigService.h"
#include "Plist.h"
#include "SmsClock.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A ModemList folder of the test's own with the settings the test gives, the configuration store
// and switches over it, and the system clock restored afterwards.
class SmsFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString modemList;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;

  virtual QVariantMap settings() const { return {{QStringLiteral("SMS"), QVariantMap()}}; }

  void SetUp() override {
    modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList);
    Plist::writeFile(modemList + QStringLiteral("/settings.plist"), settings());
    startConfig();
  }

  void startConfig() {
    ConfigManager::setSharedConfigManager(nullptr);
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
  }

  void TearDown() override {
    SmsClock::setForTesting(nullptr);
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }

  QString listPath(const char *name) const { return modemList + QLatin1Char('/') + QLatin1String(name); }
};

// Records in the list files' two forms.
namespace records {

inline QVariantMap part(const QString &text, const QString &number, int stat, int seq = 0,
                        const QString &pdu = QString()) {
  return {{"messagetext", text},
          {"mobilephone", number},
          {"date", QDateTime(QDate(2026, 12, 1), QTime(9, 0), QTimeZone::utc())},
          {"stat", stat},
          {"sca", "+15550000000"},
          {"pdu", pdu},
          {"pid", 0},
          {"dcs", 0},
          {"index", seq},
          {"box", 0},
          {"seqNum", seq}};
}

inline QVariantMap single(const QString &text, const QString &number, int stat) {
  return {{"concatSmsFlag", false},
          {"concatSmsInfo", QVariantMap{{"mobilephone", number}, {"stat", stat}}},
          {"smsInfo", part(text, number, stat)}};
}

inline QVariantMap longMessage(const QVariantList &parts, const QString &number, int stat, int total, int ref = 7) {
  QString text;
  for (const QVariant &p : parts)
    text += p.toMap().value("messagetext").toString();
  return {{"concatSmsFlag", true},
          {"concatSmsInfo",
           QVariantMap{
               {"mobilephone", number}, {"stat", stat}, {"messagetext", text}, {"refIndex", ref}, {"totalNum", total}}},
          {"smsInfo", parts}};
}

inline QVariantMap flatDraft(const QString &text, const QString &numbers, const QString &stat = "") {
  return {{"messagetext", text},
          {"mobilephone", numbers},
          {"date", QDateTime(QDate(2026, 12, 2), QTime(10, 0), QTimeZone::utc())},
          {"stat", stat}};
}

} // namespace records
