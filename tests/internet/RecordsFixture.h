#pragma once

#include "ConfigManager.h"
#include "DialRecord.h"
#include "DialRecordController.h"
#include "DialRecordFile.h"
#include "DialRecordTab.h"
#include "ModalQuestions.h"
#include "StatisticSource.h"
#include "TransferSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <memory>

// A ModemList folder of its own with the records controller, its page and the two outlines,
// in a time zone with daylight saving.
class RecordsFixture : public ::testing::Test {
public:
  static QDateTime utc(const QString &iso) { return QDateTime::fromString(iso, Qt::ISODate).toUTC(); }

  static QVariantMap record(const QString &name, const QString &startUtc, qint64 seconds, const QString &receive,
                            const QString &send) {
    const QDateTime start = utc(startUtc);
    return {{"connectname", name},    {"starttime", start},     {"disconnecttime", start.addSecs(seconds)},
            {"connecttime", seconds}, {"receivebyte", receive}, {"sendbyte", send},
            {"localaddr", "10.0.0.2"}};
  }

protected:
  QTemporaryDir root;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<DialRecordTab> tab;
  std::unique_ptr<transferSource> transfer;
  std::unique_ptr<statisticSource> statistics;
  std::unique_ptr<DialRecordController> records;
  const QTimeZone berlin{QByteArrayLiteral("Europe/Berlin")};

  QString modemList() const { return root.filePath("ModemList"); }
  QString recordPath() const { return QDir(modemList()).filePath(kCMDialRecordFile); }
  QString backPath() const { return QDir(modemList()).filePath(kCMDialRecordBackupFile); }

  void SetUp() override {
    QDir().mkpath(modemList());
    ConfigManager::Locations loc;
    loc.candidates = {modemList()};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
  }

  void TearDown() override {
    records.reset();
    statistics.reset();
    transfer.reset();
    tab.reset();
    ConfigManager::setSharedConfigManager(nullptr);
  }

  // Wakes the controller (and the outlines) on `today`, reading whatever files exist.
  void start(const QDate &today = QDate(2024, 3, 15)) {
    tab = std::make_unique<DialRecordTab>();
    transfer = std::make_unique<transferSource>();
    statistics = std::make_unique<statisticSource>();
    records = std::make_unique<DialRecordController>();
    records->setTimeZone(berlin);
    records->setToday(today);
    records->viewDialRecordTab_ = tab.get();
    transfer->awakeFromNib();
    statistics->awakeFromNib();
    records->awakeFromNib();
  }

  void writeRecords(const QVariantList &list, const QString &path = {}) {
    ASSERT_TRUE(QelFileManagerWrite(path.isEmpty() ? recordPath() : path, list));
  }
  static bool QelFileManagerWrite(const QString &path, const QVariantList &list);

  static QVariantList readList(const QString &path);
  static QStringList names(const DialRecordList &list) {
    QStringList out;
    for (const DialRecord &r : list)
      out << r.connectName;
    return out;
  }

  // A setting in the live dictionary; an empty module names a top-level entry.
  void set(const QString &module, const QString &key, const QVariant &value) {
    if (module.isEmpty()) {
      config->getConfiguration().insert(key, value);
      return;
    }
    QVariantMap m = config->getConfiguration().value(module).toMap();
    m.insert(key, value);
    config->getConfiguration().insert(module, m);
  }
};
