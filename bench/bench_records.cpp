// The connection records after ten years of use (30,000 connections, about eight a day): the
// first load with every sum the statistics view asks for, the refresh the limit checks run ten
// times a second, appending one finished connection, and the limit and reset checks.
#include "ConfigManager.h"
#include "DialController.h"
#include "DialRecordController.h"
#include "DialRecordFile.h"
#include "DialRecordStore.h"
#include "Plist.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRecords = 30000;

QVariantMap makeRecord(const QDateTime &start, int i) {
  const qint64 seconds = 60 + (i * 7919) % 7200;
  return {{"connectname", i % 3 == 0 ? QStringLiteral("Operator Internet (default profile)")
                                     : QStringLiteral("Mobile broadband, second profile")},
          {"starttime", start},
          {"disconnecttime", start.addSecs(seconds)},
          {"connecttime", seconds},
          {"receivebyte", QString::number((i * 104729) % 500000 / 7.0, 'f', 2)},
          {"sendbyte", QString::number((i * 15485863LL) % 90000 / 3.0, 'f', 2)},
          {"localaddr", QStringLiteral("100.64.%1.%2").arg(i % 256).arg(i / 256 % 256)},
          {"profileNote", QStringLiteral("Records written by the connection road since the first day of use.")}};
}

// The file, written once by the plist module (as another writer of the format would).
const QString &recordFile() {
  static QTemporaryDir dir;
  static const QString path = [] {
    const QString p = dir.filePath("dialRecordData.plist");
    QVariantList list;
    list.reserve(kRecords);
    QDateTime start = QDateTime::currentDateTimeUtc().addYears(-10);
    for (int i = 0; i < kRecords; ++i) {
      start = start.addSecs(10 * 3600 + (i * 37) % 3600); // about eight a day
      list << makeRecord(start, i);
    }
    Plist::writeFile(p, list);
    return p;
  }();
  return path;
}

void addSums(DialRecordStore &store, benchmark::State &state) {
  const QTimeZone zone = QTimeZone::systemTimeZone();
  const QDate today = QDate::currentDate();
  const RecordSums total = store.totals();
  const RecordSums day = store.sumsIn(dayWindow(today, zone));
  const RecordSums month = store.sumsIn(monthWindow(today, zone));
  const RecordSums year = store.sumsIn(yearWindow(today, zone));
  benchmark::DoNotOptimize(total.dataKB() + day.dataKB() + month.dataKB() + year.dataKB());
  state.counters["records"] = double(store.count());
}

// Read the file and compute the totals with the day, month and year sums.
void BM_RecordsLoad(benchmark::State &state) {
  const QString path = recordFile();
  state.counters["fileMB"] = double(QFileInfo(path).size()) / 1e6;
  for (auto _ : state) {
    DialRecordStore store(path);
    store.refresh();
    addSums(store, state);
  }
}
BENCHMARK(BM_RecordsLoad)->Unit(benchmark::kMillisecond);

// What every refresh costs once the records are loaded: a look at the file's stamp, the totals
// and the three period sums.
void BM_RecordsRefresh(benchmark::State &state) {
  DialRecordStore store(recordFile());
  store.refresh();
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.refresh());
    addSums(store, state);
  }
}
BENCHMARK(BM_RecordsRefresh)->Unit(benchmark::kMicrosecond);

// One finished connection appended and the whole file written atomically.
void BM_RecordsAppend(benchmark::State &state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("dialRecordData.plist");
  QFile::copy(recordFile(), path);
  DialRecordStore store(path);
  store.refresh();
  int i = 0;
  for (auto _ : state) {
    if (!store.append(DialRecord::fromMap(makeRecord(QDateTime::currentDateTimeUtc(), ++i))))
      state.SkipWithError("write failed");
  }
  state.counters["records"] = double(store.count());
}
BENCHMARK(BM_RecordsAppend)->Unit(benchmark::kMillisecond);

void BM_RecordsSerialize(benchmark::State &state) {
  DialRecordStore store(recordFile());
  store.refresh();
  for (auto _ : state)
    benchmark::DoNotOptimize(DialRecordFile::toXml(store.records()).size());
}
BENCHMARK(BM_RecordsSerialize)->Unit(benchmark::kMillisecond);

// The usage-limit and reset checks as the program runs them: a ModemList folder with the
// 30,000 records, the records controller and a connected connection controller.
struct LimitsSetup {
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<DialRecordController> records;
  std::unique_ptr<DialController> dial;

  explicit LimitsSetup(const QVariantMap &record) {
    QFile::copy(recordFile(), dir.filePath("dialRecordData.plist"));
    ConfigManager::Locations loc;
    loc.candidates = {dir.path()};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    config->getConfiguration().insert("Record", record);
    records = std::make_unique<DialRecordController>();
    records->getTotalDataAndTime();
    dial = std::make_unique<DialController>();
    dial->setConnectStatus(DialController::kConnected);
    dial->setLimitFigures({1e6, 2e6, 600});
  }
  ~LimitsSetup() {
    dial.reset();
    records.reset();
    ConfigManager::setSharedConfigManager(nullptr);
  }
};

// One tick of the limit checks: the 80 % warning, the limit action and the volume-limit bands,
// every one configured, none reached.
void BM_LimitCheck(benchmark::State &state) {
  LimitsSetup setup({{"IfSetRecordResetEveryDays", true},
                     {"recordLimitState", true},
                     {"recordDataLimit", 1e9},
                     {"recordLimitWarn", "1"},
                     {"recordLimitDisconnect", "1"},
                     {"LimitSetValue", 1e9},
                     {"LimitSetType", 0},
                     {"DataLimitSet", true},
                     {"WarningForLimit25", true},
                     {"WarningForLimit100", true}});
  for (auto _ : state) {
    setup.dial->checkRecordLimit();
    setup.dial->recordLimitWarnForVavu();
    benchmark::DoNotOptimize(setup.dial->currentTotalDataKB());
  }
  state.counters["records"] = double(setup.records->store().count());
}
BENCHMARK(BM_LimitCheck)->Unit(benchmark::kMicrosecond);

// One reset check that finds the period still running.
void BM_ResetCheck(benchmark::State &state) {
  LimitsSetup setup({{"IfSetRecordResetEveryDays", true},
                     {"recordResetPeriod", 29},
                     {"recordResetStartTime", QDateTime::currentDateTime().toString("yyyy-MM-dd 00:00:00")}});
  for (auto _ : state)
    if (setup.records->periodRecordReset())
      state.SkipWithError("a period ended");
  state.counters["records"] = double(setup.records->store().count());
}
BENCHMARK(BM_ResetCheck)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
