#pragma once

#include "ConfigManager.h"
#include "InitService.h"
#include "NetworkIdentityHandlers.h"
#include "Platform.h"
#include "UIMsg.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString &s, std::ostream *os) {
  *os << '"' << s.toStdString() << '"';
}

namespace identitytest {

// The controller side as the user sees it: the two name labels and the calls made.
class RecordingSink : public NetworkIdentitySink {
public:
  QString local, belong;
  QStringList calls;
  bool supportUpdate = false, sentUpdate = false, qdonFilter = false, zavidevShows = false;

  void setLocalSPN(const QString &name, bool refresh) override {
    calls << QStringLiteral("setLocalSPN(%1,%2)").arg(name.isNull() ? QStringLiteral("nil") : name).arg(refresh);
    if (!name.isNull())
      local = name;
  }
  void setBelonetoSPN(const QString &name) override {
    calls << QStringLiteral("setBelonetoSPN(%1)").arg(name.isNull() ? QStringLiteral("nil") : name);
    if (!name.isNull())
      belong = name;
  }
  void showRoamAlertWindow(int s) override { calls << QStringLiteral("showRoamAlertWindow(%1)").arg(s); }
  void checkLocalMCCAndNetMCC(const QString &a, const QString &b) override {
    calls << QStringLiteral("checkLocalMCCAndNetMCC(%1,%2)").arg(a, b);
  }
  int closeRoamAtDomesticRoaming(int s, const QString &, const QString &) override { return s; }
  void setRoamInfoWithNetworkRoamStatus(int s) override {
    calls << QStringLiteral("setRoamInfoWithNetworkRoamStatus(%1)").arg(s);
  }
  void matchApnAccordMCCAndMNC(const QString &a, const QString &b) override {
    calls << QStringLiteral("matchApnAccordMCCAndMNC(%1,%2)").arg(a, b);
  }
  void checkAPNMatchWithMCCMNC(const QString &m) override {
    calls << QStringLiteral("checkAPNMatchWithMCCMNC(%1)").arg(m);
  }
  void getIccidNumAfterMatchApnAccordImsi() override { calls << QStringLiteral("getIccidNumAfterMatchApnAccordImsi"); }
  void showDiagMccAndMnc(const QString &a, const QString &b) override {
    calls << QStringLiteral("showDiagMccAndMnc(%1,%2)").arg(a, b);
  }
  void showDiagIccid(const QString &i) override { calls << QStringLiteral("showDiagIccid(%1)").arg(i); }
  bool isSupportUpdate() override { return supportUpdate; }
  void dealWithMCCMNC(const QString &m) override { calls << QStringLiteral("dealWithMCCMNC(%1)").arg(m); }
  bool isSendUpdateMessageWhenMCCMNC() override { return sentUpdate; }
  void setIsSendUpdateMessageWhenMCCMNC(bool s) override { sentUpdate = s; }
  void dealWithDeviceReady() override { calls << QStringLiteral("dealWithDeviceReady"); }
  void informOtherModulePSDomain(int m) override { calls << QStringLiteral("informOtherModulePSDomain(%1)").arg(m); }
  bool firstTimeDealWithQdonWhenNetWorkChanged() override { return qdonFilter; }
  void setFirstTimeDealWithQdonWhenNetWorkChanged(bool f) override { qdonFilter = f; }
  void dealWithFirstQdonWhenNetWorkChangedWithPreMccMnc(const QString &p) override {
    calls << QStringLiteral("dealWithFirstQdon(%1)").arg(p);
    qdonFilter = false;
  }
  void doWhenNetWorkChanged() override { calls << QStringLiteral("doWhenNetWorkChanged"); }
  bool progressSPNDomainForZavidev(const QString &) override { return zavidevShows; }
};

// One serving-network report.
struct Plmn {
  QString name = QStringLiteral("Sim Operator");
  QString mcc = QStringLiteral("001");
  QString mnc = QStringLiteral("01");
  QString roam = QStringLiteral("ROAM_OFF");
  QString homeMcc = QStringLiteral("001");
  QString homeMnc = QStringLiteral("01");
  QString nationalName;
  int pnnOpl = 0;
  bool numeric = true;
  bool psMark = false;
};

inline QByteArray textField(const QString &text, int width) {
  QByteArray b = text.toUtf8().left(width - 1);
  b.append(QByteArray(width - b.size(), '\0'));
  return b;
}

inline UIMsg plmnPackage(const Plmn &p) {
  QByteArray d;
  d += textField(p.name, 68);
  d += textField(p.nationalName, 68);
  for (const QString &t : {p.mcc, p.mnc, p.roam, p.homeMcc, p.homeMnc})
    d += textField(t, 36);
  char flag[4];
  qToLittleEndian<qint32>(p.pnnOpl, flag);
  d += QByteArray(flag, 4);
  d += char(p.numeric ? 1 : 0);
  d += QByteArray(3, '\0');
  UIMsg m;
  m.moduleId = 1;
  m.majorId = 7;
  m.minorId = 38;
  m.setPayload(d);
  if (p.psMark)
    m.tail[2] = '1';
  return m;
}

inline UIMsg simFilePackage(uint16_t minor, const QByteArray &hex) {
  UIMsg m;
  m.moduleId = 1;
  m.majorId = 7;
  m.minorId = minor;
  m.setPayload(textField(QString::fromLatin1(hex), 512));
  return m;
}

// A fresh InitService and settings dictionary per test, installed as the shared ones.
class IdentityFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  ConfigManager *previousConfig = nullptr;
  InitService service;
  RecordingSink sink;
  std::unique_ptr<NetworkIdentityHandlers> handlers;
  Platform platform{Platform::kPlatformOther};

  void SetUp() override {
    Platform::setSharedPlatform(&platform);
    previousConfig = ConfigManager::sharedConfigManager();
    ConfigManager::Locations where;
    where.candidates = {dir.path()};
    config = std::make_unique<ConfigManager>(where);
    ConfigManager::setSharedConfigManager(config.get());
    setSettings({});
    InitService::setSharedInitService(&service);
    service.setImsi(QString());
    handlers = std::make_unique<NetworkIdentityHandlers>(sink, &service, wording);
  }
  // The wording the handlers see: every key stands for itself except the fixed local name.
  static QString wording(const QString &key) {
    return key == QLatin1String("fixed local SPN") ? QStringLiteral("Fixed Name") : key;
  }
  void TearDown() override {
    ConfigManager::setSharedConfigManager(previousConfig);
    InitService::setSharedInitService(nullptr);
    Platform::setSharedPlatform(nullptr);
  }

  // Settings: "Module/Key" for a module's key, a bare key for a top-level entry.
  void setSettings(const QVariantMap &flat) {
    QVariantMap &dict = config->getConfiguration();
    dict.clear();
    dict.insert(QStringLiteral("RuntimeData"), QVariantMap());
    for (auto it = flat.cbegin(); it != flat.cend(); ++it) {
      const int slash = int(it.key().indexOf(u'/'));
      if (slash < 0) {
        dict.insert(it.key(), it.value());
        continue;
      }
      const QString module = it.key().left(slash);
      QVariantMap m = dict.value(module).toMap();
      m.insert(it.key().mid(slash + 1), it.value());
      dict.insert(module, m);
    }
  }

  // A card comes up: IMSI, SIM files, registration mode, then the network report.
  void bringUp(const QString &imsi, const QByteArray &spnHex, const QByteArray &spdiHex, const Plmn &plmn,
               int networkMode = 3) {
    service.setImsi(imsi);
    handlers->dealWithMsgOfCheckSPN(simFilePackage(41, spnHex));
    handlers->dealWithMsgOfCheckSPDI(simFilePackage(40, spdiHex));
    service.setNetworkMode(networkMode);
    handlers->dealWithMsgOfCheckPLMN(plmnPackage(plmn));
  }
};

// EF_SPN of a GSM-alphabet name with the given display condition.
inline QByteArray spnHex(int cond, const QByteArray &ascii) {
  QByteArray b(1, char(cond));
  b += ascii;
  b += QByteArray(2, char(0xFF));
  return b.toHex().toUpper();
}

} // namespace identitytest
