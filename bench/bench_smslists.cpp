// Loading a PC message list of 10,000 messages into the SMS service: cold (parsed every time),
// unchanged (the file is not parsed again), and the same list stored as a binary plist. A list
// of 100,000 messages (past the 32 MiB that settings files may have): it must open, with the
// peak and the lasting memory of its load. The backend storing one arrival into a PC list of
// 10,000 and of 100,000 messages: into the list's text, and parsed and rewritten as before.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ListFile.h"
#include "Plist.h"
#include "SmsRecord.h"
#include "SmsService.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <benchmark/benchmark.h>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <plist/plist.h>

namespace {

constexpr int kMessages = 10000;

QVariantMap part(int n, int seq) {
  return {
      {"messagetext", QStringLiteral("Message number %1, part %2: see you at the station at seven").arg(n).arg(seq)},
      {"mobilephone", QStringLiteral("+1555%1").arg(n % 1000, 7, 10, QLatin1Char('0'))},
      {"date", QDateTime::fromSecsSinceEpoch(1700000000 + n * 60, QTimeZone::utc())},
      {"stat", n % 3 == 0 ? 0 : 1},
      {"sca", QStringLiteral("+15550000000")},
      {"pdu", QString()},
      {"pid", 0},
      {"dcs", 0},
      {"index", n},
      {"box", 0},
      {"seqNum", seq}};
}

// Every fifth message is long, with two or three stored parts.
QVariantMap record(int n) {
  if (n % 5 != 0) {
    const QVariantMap p = part(n, 0);
    return {
        {"concatSmsFlag", false},
        {"concatSmsInfo",
         QVariantMap{{"mobilephone", p.value("mobilephone")}, {"date", p.value("date")}, {"stat", p.value("stat")}}},
        {"smsInfo", p}};
  }
  QVariantList parts;
  for (int seq = 1; seq <= 2 + n % 2; ++seq)
    parts << part(n, seq);
  const QVariantMap first = parts.first().toMap();
  return {{"concatSmsFlag", true},
          {"concatSmsInfo", QVariantMap{{"mobilephone", first.value("mobilephone")},
                                        {"date", first.value("date")},
                                        {"stat", first.value("stat")},
                                        {"refIndex", n % 256},
                                        {"totalNum", 3}}},
          {"smsInfo", parts}};
}

// A ModemList folder holding the list, with the shared configuration pointing at it.
class ListFixture {
public:
  explicit ListFixture(bool binary, int messages = kMessages) {
    folder_ = dir_.filePath("ModemList");
    QDir().mkpath(folder_);
    Plist::writeFile(folder_ + "/settings.plist", QVariantMap{{"SMS", QVariantMap()}});
    QVariantList inBox;
    for (int n = 0; n < messages; ++n)
      inBox << record(n);
    const QString path = folder_ + "/SmsList_PC.plist";
    Plist::writeFile(path, QVariantMap{{"InBox", inBox}});
    if (binary)
      toBinary(path);
    ConfigManager::Locations loc;
    loc.candidates = {folder_};
    config_ = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config_.get());
    ConfigService::setSharedConfigService(&switches_);
  }
  ~ListFixture() {
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }
  qint64 fileSize() const { return QFileInfo(folder_ + "/SmsList_PC.plist").size(); }

private:
  static void toBinary(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray xml = f.readAll();
    f.close();
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    char *bin = nullptr;
    uint32_t len = 0;
    plist_to_bin(root, &bin, &len);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bin, len);
    f.close();
    plist_to_bin_free(bin);
    plist_free(root);
  }

  QTemporaryDir dir_;
  QString folder_;
  std::unique_ptr<ConfigManager> config_;
  ConfigService switches_;
};

void loadCold(benchmark::State &state, bool binary) {
  ListFixture fixture(binary);
  for (auto _ : state) {
    SmsService service; // a new service parses the file
    const QVariantList inBox = service.pcList(InBox);
    benchmark::DoNotOptimize(service.pcUnreadCount(InBox));
    benchmark::DoNotOptimize(service.pcStoredParts(InBox));
    if (inBox.size() != kMessages)
      state.SkipWithError("the list did not load");
  }
  state.counters["file_MB"] = double(fixture.fileSize()) / 1e6;
}

void BM_LoadPcList_ColdXml(benchmark::State &state) {
  loadCold(state, false);
}
BENCHMARK(BM_LoadPcList_ColdXml)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadPcList_ColdBinary(benchmark::State &state) {
  loadCold(state, true);
}
BENCHMARK(BM_LoadPcList_ColdBinary)->Unit(benchmark::kMillisecond)->Iterations(5);

// The share of the cold load that is the property-list parse itself.
void BM_ParsePcListOnly(benchmark::State &state) {
  ListFixture fixture(false);
  const QString path = ConfigManager::sharedConfigManager()->configFilePathOfKey(kCMSMSListOfPCFile);
  for (auto _ : state) {
    QVariantMap dict;
    benchmark::DoNotOptimize(Plist::readDictionary(path, &dict));
  }
}
BENCHMARK(BM_ParsePcListOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadPcList_Unchanged(benchmark::State &state) {
  ListFixture fixture(false);
  SmsService service;
  for (auto _ : state) {
    const QVariantList inBox = service.getAllPcListByBox(InBox);
    benchmark::DoNotOptimize(service.pcUnreadCount(InBox));
    benchmark::DoNotOptimize(service.pcStoredParts(InBox));
    if (inBox.size() != kMessages)
      state.SkipWithError("the list did not load");
  }
}
BENCHMARK(BM_LoadPcList_Unchanged)->Unit(benchmark::kMillisecond);

// Resident memory now and at its peak since the last reset, in kB.
qint64 statusKb(const char *field) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray &line : f.readAll().split('\n'))
    if (line.startsWith(field))
      return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLongLong();
  return 0;
}
void resetPeak() {
  QFile f(QStringLiteral("/proc/self/clear_refs"));
  if (f.open(QIODevice::WriteOnly))
    f.write("5");
}

void BM_LoadPcList_Large(benchmark::State &state) {
  const int messages = int(state.range(0));
  ListFixture fixture(false, messages);
  double peakKb = 0, heldKb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // Freed memory the allocator keeps would hide the load's own growth.
    ::malloc_trim(0);
    const qint64 before = statusKb("VmRSS:");
    resetPeak();
    state.ResumeTiming();
    {
      SmsService service;
      const QVariantList inBox = service.pcList(InBox);
      if (inBox.size() != messages)
        state.SkipWithError("the list did not open");
      state.PauseTiming();
      // What the list holds once loaded, without what the parse freed.
      ::malloc_trim(0);
      heldKb += double(statusKb("VmRSS:") - before);
      state.ResumeTiming();
    }
    state.PauseTiming();
    peakKb += double(statusKb("VmHWM:") - before);
    state.ResumeTiming();
  }
  state.counters["file_MB"] = double(fixture.fileSize()) / 1e6;
  state.counters["peak_MB"] = benchmark::Counter(peakKb / 1024.0, benchmark::Counter::kAvgIterations);
  state.counters["held_MB"] = benchmark::Counter(heldKb / 1024.0, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LoadPcList_Large)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void storeArrival(benchmark::State &state, bool parsed) {
  const int messages = int(state.range(0));
  ListFixture fixture(false, messages);
  const QString path = ConfigManager::sharedConfigManager()->configFilePathOfKey(kCMSMSListOfPCFile);
  int n = messages;
  for (auto _ : state) {
    const QVariant arrival = record(++n);
    const bool ok = parsed ? ListFile::update(path,
                                              [&](QVariantMap &dict) {
                                                QVariantList inBox = dict.value("InBox").toList();
                                                inBox.prepend(arrival);
                                                dict.insert("InBox", inBox);
                                                return true;
                                              })
                           : ListFile::prepend(path, QStringLiteral("InBox"), arrival);
    if (!ok)
      state.SkipWithError("not stored");
  }
  state.counters["file_MB"] = double(fixture.fileSize()) / 1e6;
}
void BM_BackendStoresArrivalOnPc(benchmark::State &state) {
  storeArrival(state, false);
}
BENCHMARK(BM_BackendStoresArrivalOnPc)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
void BM_BackendStoresArrivalOnPc_Parsed(benchmark::State &state) {
  storeArrival(state, true);
}
BENCHMARK(BM_BackendStoresArrivalOnPc_Parsed)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
