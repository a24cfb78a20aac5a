// The call log with 10,000 records: loading it, filtering one kind and sorting by date, and
// adding one record (the whole file is written atomically every time).
#include "CallRecordStore.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

QString makeLog(const QTemporaryDir &dir, int count) {
  const QString path = dir.filePath(QStringLiteral("callRecordData.plist"));
  CallRecordStore store(path);
  const QStringList kinds = {CallRecordStore::kMissed, CallRecordStore::kReceived, CallRecordStore::kDialled};
  const QDateTime start = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
  for (int i = 0; i < count; ++i)
    store.add({{QStringLiteral("mobilephone"), QStringLiteral("+49301%1").arg(i % 5000, 6, 10, QLatin1Char('0'))},
               {QStringLiteral("date"), start.addSecs((i * 7919) % 1000000)},
               {QStringLiteral("calltime"), QStringLiteral("00:01:%1").arg(i % 60, 2, 10, QLatin1Char('0'))},
               {QStringLiteral("callType"), kinds.at(i % 3)}},
              false);
  store.save();
  return path;
}

void BM_LoadFilterSort(benchmark::State &state) {
  QTemporaryDir dir;
  const QString path = makeLog(dir, int(state.range(0)));
  for (auto _ : state) {
    CallRecordStore store(path);
    store.load();
    QVariantList missed = store.recordsOfType(CallRecordStore::kMissed);
    std::stable_sort(missed.begin(), missed.end(), [](const QVariant &a, const QVariant &b) {
      return a.toMap().value(QStringLiteral("date")).toDateTime() <
             b.toMap().value(QStringLiteral("date")).toDateTime();
    });
    benchmark::DoNotOptimize(missed);
  }
}
BENCHMARK(BM_LoadFilterSort)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AddOneRecord(benchmark::State &state) {
  QTemporaryDir dir;
  CallRecordStore store(makeLog(dir, int(state.range(0))));
  store.load();
  for (auto _ : state) {
    store.add({{QStringLiteral("mobilephone"), QStringLiteral("5550100")},
               {QStringLiteral("date"), QDateTime::currentDateTimeUtc()},
               {QStringLiteral("calltime"), QStringLiteral("00:00:12")},
               {QStringLiteral("callType"), CallRecordStore::kDialled}},
              true);
    benchmark::DoNotOptimize(store.save());
  }
}
BENCHMARK(BM_AddOneRecord)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
