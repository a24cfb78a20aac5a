// The customer log's minute write: 100 queued events appended to a day file of 20,000 lines
// (read whole, written whole, atomically). It runs on the main thread every minute.
#include "CustomerLogBook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_WriteHundredEventsIntoLargeDayFile(benchmark::State &state) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("CSVLog"));
  QDir().mkpath(folder);
  const QDateTime now(QDate(2026, 12, 8), QTime(12, 0));
  const QString path = folder + QLatin1Char('/') + CustomerLogBook::dayFileName(now.date());
  QByteArray day = "Date;Time;PCID;Event Message;RSSI;RAT;LAC(HEX);CELLID;RNC/CELLID(HEX);Uplink;Downlink\r\n";
  for (int i = 0; i < 20000; ++i)
    day += "08/12/26;11:59:59;user;RSSI;-75;UMTS;1a2b;195;c3;12.50 Kbps;130.25 Kbps\r\n";
  CustomerLogBook book(folder);
  book.setClock([now] { return now; });
  CustomerLogBook::Values values;
  values.rat = QStringLiteral("UMTS");
  for (auto _ : state) {
    state.PauseTiming();
    {
      QFile f(path);
      f.open(QIODevice::WriteOnly | QIODevice::Truncate);
      f.write(day);
    }
    for (int i = 0; i < 100; ++i)
      book.add(QStringLiteral("RSSI"), values);
    state.ResumeTiming();
    benchmark::DoNotOptimize(book.write());
  }
}
BENCHMARK(BM_WriteHundredEventsIntoLargeDayFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
