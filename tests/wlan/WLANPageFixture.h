#pragma once

#include "ConfigManager.h"
#include "ConfigService.h"
#include "ModalQuestions.h"
#include "Plist.h"
#include "QELMsgCenter.h"
#include "WLANController.h"
#include "WLANPage.h"

#include <QComboBox>
#include <QMainWindow>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The router page on a settings folder of the test's own, without a backend: what the page
// sends is recorded, the router's packages are posted as the message centre would post them,
// and alerts are answered by script.
class WLANPageFixture : public ::testing::Test {
public:
  struct Sent {
    int major;
    int minor;
    QByteArray data;
  };

protected:
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<ScriptedAnswers> answers;
  std::unique_ptr<QMainWindow> window;
  std::unique_ptr<QELMsgCenter> center;
  QTabWidget *tabs = nullptr;
  WLANController *c = nullptr;
  QList<Sent> sent;

  // The "WLANTAB" module the page starts with.
  virtual QVariantMap wlanTab() const {
    return {{"WLANBasic", true}, {"WLANSecurity", true}, {"Firewall", true}, {"Router", true}};
  }

  void SetUp() override {
    const QString modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList);
    Plist::writeFile(modemList + QStringLiteral("/settings.plist"), QVariantMap{{"WLANTAB", wlanTab()}});
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
    answers = std::make_unique<ScriptedAnswers>();
    window = std::make_unique<QMainWindow>();
    tabs = new QTabWidget(window.get());
    window->setCentralWidget(tabs);
    center = std::make_unique<QELMsgCenter>(nullptr);
    c = new WLANController(window.get());
    tabs->addTab(WLANPage::build(c, tabs), QStringLiteral("WLAN"));
    c->wndMain = window.get();
    c->tabviewMain = tabs;
    c->qelMsgCenter = center.get();
    c->sendHook = [this](int major, int minor, const QByteArray &data) { sent.append({major, minor, data}); };
    c->awakeFromNib();
  }

  void TearDown() override {
    window.reset();
    center.reset();
    answers.reset();
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }

  void deliver(uint16_t major, uint16_t minor, const QByteArray &data, uint8_t result = 0) {
    UIMsg m;
    m.moduleId = WLANMsg::kModule;
    m.majorId = major;
    m.minorId = minor;
    m.result = result;
    m.setPayload(data);
    center->postNotificationWithMsg(m.encode());
  }
  void read(uint16_t minor, const QByteArray &data) { deliver(WLANMsg::kReadMajor, minor, data); }
  void failSet(uint16_t minor) { deliver(WLANMsg::kSetMajor, minor, {}, UIMsg::kResultFailure); }

  // A choice in a combo box, as the user makes it from its list.
  static void choose(QComboBox *combo, const QString &text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString() << " is not offered";
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  // New scripted answers (the old script must go first: it restores the windows when it goes).
  void script(QList<int> replies = {}) {
    answers.reset();
    answers = std::make_unique<ScriptedAnswers>(replies);
  }

  QStringList alerts() const {
    QStringList out;
    for (const ModalQuestion &q : answers->asked())
      out << q.message;
    return out;
  }
  QList<int> sentMinors() const {
    QList<int> out;
    for (const Sent &s : sent)
      out << s.minor;
    return out;
  }
};
