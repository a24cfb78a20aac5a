#pragma once

#include "ConfigManager.h"
#include "ConfigService.h"
#include "ModalQuestions.h"
#include "PBController.h"
#include "Plist.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace pbtest {

// A contact with a name and a mobile number (and more keys when given).
inline QVariantMap contact(const QString &name, const QString &mobile, QVariantMap more = {}) {
  if (!name.isNull())
    more.insert(PBKey::kUserName, name);
  if (!mobile.isNull())
    more.insert(PBKey::kMobilePhone, mobile);
  return more;
}

// A group: its header, then its contacts.
inline QVariant group(const QString &name, const QVariantList &contacts = {}) {
  QVariantList g{QVariantMap{{PBKey::kGroupName, name}}};
  g.append(contacts);
  return g;
}

// A SIM list file record.
inline QVariantMap item(int index, const QString &name, const QString &number) {
  return {{QStringLiteral("ITEM_INDEX"), index},
          {QStringLiteral("ITEM_NAME"), name},
          {QStringLiteral("ITEM_NUM1"), number}};
}

// A page that records what the store side asks of it.
class RecordingPage : public PBPageLink {
public:
  int tableReloads = 0;
  int capacityRefreshes = 0;
  int savePos = 1;
  QString destName;
  QList<int> shown;
  QStringList results;
  void reloadContactTableAndDeselect() override { ++tableReloads; }
  void setConpacityShow() override { ++capacityRefreshes; }
  int selectedSavePos() const override { return savePos; }
  void showStore(int pos) override { shown << pos; }
  QString getMoveDestName() const override { return destName; }
  void showUpdateResult(const QString &text) override { results << text; }
};

// A settings folder of the test's own with the phonebook switches given, the shared
// configuration installed, and a PBController woken on it (without a backend).
class PBFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<PBController> pb;
  std::unique_ptr<ScriptedAnswers> answers = std::make_unique<ScriptedAnswers>();

  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  QString phoneBookPath() const { return modemList() + QStringLiteral("/phoneBook.plist"); }

  // Writes the settings with `phoneBook` as the PhoneBook module and `top` as top-level keys.
  void configure(const QVariantMap &phoneBook = {}, const QVariantMap &top = {}) {
    QDir().mkpath(modemList());
    QVariantMap settings = top;
    if (!settings.contains(QStringLiteral("CurrentLanguage")))
      settings.insert(QStringLiteral("CurrentLanguage"), QStringLiteral("English"));
    settings.insert(QStringLiteral("PhoneBook"), phoneBook);
    Plist::writeFile(modemList() + QStringLiteral("/settings.plist"), settings);
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
    ConfigManager::Locations loc;
    loc.candidates = {modemList()};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
  }

  void writePhoneBook(const QVariantList &groups) { Plist::writeFile(phoneBookPath(), groups); }

  PBController &start(const QVariantList &groups = {}, const QVariantMap &phoneBook = {}, const QVariantMap &top = {}) {
    configure(phoneBook, top);
    if (!groups.isEmpty())
      writePhoneBook(groups);
    pb.reset();
    pb = std::make_unique<PBController>();
    pb->awakeFromNib();
    return *pb;
  }

  // Applies a read result of `storage` whose list file holds `items`.
  void read(int storage, const QVariantList &items, int capacity = 250, int nameLen = 14, int numberLen = 40) {
    const QString path = dir.filePath(QStringLiteral("list%1.plist").arg(storage));
    Plist::writeFile(path, items);
    PBModemBlocks::ReadResult r;
    r.storage = storage;
    r.maxIndex = capacity;
    r.minIndex = 1;
    r.nameMaxLen = nameLen;
    r.numberMaxLen = numberLen;
    r.listFilePath = path;
    pb->applyReadResult(r);
  }

  void TearDown() override {
    pb.reset();
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }
};

} // namespace pbtest
