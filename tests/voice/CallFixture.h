#pragma once

#include "CallNeighbours.h"
#include "CallRecordController.h"
#include "CompoundCallController.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ModalQuestions.h"
#include "Plist.h"
#include "TestSupport.h"
#include "UIMsg.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The call controller and the call log on a settings folder of the test's own, without a backend:
// requests are seen through the request observer, alerts are answered by script, and every
// notification posted is remembered by name.
class CallFixture : public ::testing::Test {
protected:
  struct Request {
    int minor;
    QByteArray data;
    quint32 word() const {
      quint32 v = 0;
      for (int i = 0; i < 4 && i < data.size(); ++i)
        v |= quint32(quint8(data.at(i))) << (8 * i);
      return v;
    }
  };

  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<ScriptedAnswers> answers;
  std::unique_ptr<CompoundCallController> call;
  std::unique_ptr<CallRecordController> log;
  QObject observer;
  QStringList posted;
  QList<QVariantMap> postedInfo;
  QList<Request> requests;

  // Settings merged over the bundle's defaults ("Call" module keys, or top-level ones).
  virtual QVariantMap callSettings() const { return {}; }
  virtual QVariantMap topLevelSettings() const { return {}; }

  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  QString logPath() const { return modemList() + QStringLiteral("/callRecordData.plist"); }

  void SetUp() override {
    QDir().mkpath(modemList());
    QVariantMap settings;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/ModemList/settings.plist"),
                          &settings);
    QVariantMap callModule = settings.value(QStringLiteral("Call")).toMap();
    // The tests state every switch they rely on.
    callModule.insert(QStringLiteral("SupportCallWait"), false);
    callModule.insert(QStringLiteral("SupportMultipleCall"), false);
    const QVariantMap extra = callSettings();
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
      callModule.insert(it.key(), it.value());
    settings.insert(QStringLiteral("Call"), callModule);
    const QVariantMap top = topLevelSettings();
    for (auto it = top.cbegin(); it != top.cend(); ++it)
      settings.insert(it.key(), it.value());
    prepareFiles();
    Plist::writeFile(modemList() + QStringLiteral("/settings.plist"), settings);
    ConfigManager::Locations loc;
    loc.candidates = {modemList()};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
    answers = std::make_unique<ScriptedAnswers>();
    CompoundCallController::setRequestObserver([this](int minor, const QByteArray &data) {
      requests.append({minor, data});
    });
    NotificationCenter::defaultCenter().addObserver(&observer, QString(), nullptr, [this](const Notification &n) {
      posted << n.name;
      postedInfo << n.userInfo;
    });
    log = std::make_unique<CallRecordController>();
    log->awakeFromNib();
    call = std::make_unique<CompoundCallController>();
    call->awakeFromNib();
  }

  void TearDown() override {
    NotificationCenter::defaultCenter().removeObserver(&observer);
    call.reset();
    log.reset();
    CompoundCallController::setRequestObserver({});
    CallNeighbours::shared().reset();
    answers.reset();
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }

  // Files the test wants in the settings folder before the controllers start.
  virtual void prepareFiles() {}

  // The device online with voice, the SIM ready.
  void deviceReady() {
    UIMsg init;
    init.majorId = CallPackages::kInitMajor;
    init.minorId = CallPackages::kInitMinor;
    init.result = 1;
    call->voiceInitFinished(notificationOf(init));
    call->netcardChanged(2);
    call->netcardChanged(12);
    log->netcardChanged(2);
    log->netcardChanged(12);
  }

  static Notification notificationOf(const UIMsg &msg) {
    return Notification{QStringLiteral("qUIMsg"), nullptr, {{QStringLiteral("qUIMsg"), msg.encode()}}};
  }

  void setEmergencyNumbers(const QStringList &numbers) {
    UIMsg m;
    QByteArray data(CallPackages::kEmergencyCount * CallPackages::kEmergencyWidth, '\0');
    for (int i = 0; i < numbers.size(); ++i)
      data.replace(i * CallPackages::kEmergencyWidth, numbers.at(i).size(), numbers.at(i).toLatin1());
    m.setPayload(data);
    call->initRgentPhone(notificationOf(m));
  }

  // Dials `number` from the page as the user would.
  void dial(const QString &number) {
    call->page->dialNumber->setText(number);
    call->selectDialCallStyle(call->page->dial);
  }

  QList<int> minors() const {
    QList<int> out;
    for (const Request &r : requests)
      out << r.minor;
    return out;
  }
  QList<quint32> chldValues() const {
    QList<quint32> out;
    for (const Request &r : requests)
      if (r.minor == CallPackages::kChldMinor)
        out << r.word();
    return out;
  }
  QVariantMap lastRecord() const {
    return log->recordList().isEmpty() ? QVariantMap() : log->recordList().last().toMap();
  }
  QString alertMessage() const { return answers->asked().isEmpty() ? QString() : answers->asked().last().message; }
};

// Caller records of a caller-list reply.
inline CallPackages::CallerRecord caller(int id, int direction, int state, const char *number) {
  return {id, direction, state, QString::fromLatin1(number)};
}
