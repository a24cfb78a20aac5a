// The SMS tab over 10,000 PC messages and 5,000 contacts: naming every record through the
// phonebook, sorting by each column, a search keystroke (hit and miss), a reload after the
// list-ready reply with unchanged files, marking 100 selected rows read, deleting 1,000 selected
// messages into the DeletedBox, and an arrival from its 768/101 package to the announcement,
// stored on the SIM and on the PC (the list written whole, and filed in front as the backend
// files it).
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ListFile.h"
#include "PBController.h"
#include "Plist.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SimulatedModem.h"
#include "SmsArrivalRecords.h"
#include "SmsListSort.h"
#include "SmsTableModel.h"

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeZone>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kMessages = 10000, kContacts = 5000;

QString numberOf(int n) {
  return QStringLiteral("+1555%1").arg(n % 8000, 7, 10, QLatin1Char('0'));
}

QVariantMap record(int n) {
  const QVariantMap part = {
      {"messagetext", QStringLiteral("Message number %1: see you at the station at seven").arg(n)},
      {"mobilephone", numberOf(n)},
      {"date", QDateTime::fromSecsSinceEpoch(1700000000 + (n * 7919) % 100000 * 60, QTimeZone::utc())},
      {"stat", n % 3 == 0 ? 0 : 1},
      {"index", n}};
  return {{"concatSmsFlag", false},
          {"concatSmsInfo", QVariantMap{{"mobilephone", part.value("mobilephone")},
                                        {"username", numberOf(n)},
                                        {"date", part.value("date")},
                                        {"stat", part.value("stat")}}},
          {"smsInfo", part},
          {"index", n}};
}

// A ModemList folder with the PC list and the phonebook, a woken phonebook and an SMS
// controller naming through it.
class Tab {
public:
  Tab() {
    folder_ = dir_.filePath("ModemList");
    QDir().mkpath(folder_);
    Plist::writeFile(folder_ + "/settings.plist", QVariantMap{{"SMS", QVariantMap()}, {"CurrentLanguage", "English"}});
    QVariantList inBox;
    for (int n = 0; n < kMessages; ++n)
      inBox << record(n);
    Plist::writeFile(folder_ + "/SmsList_PC.plist", QVariantMap{{"InBox", inBox}});
    QVariantList group{QVariantMap{{"groupname", "All"}}};
    for (int c = 0; c < kContacts; ++c)
      group << QVariantMap{{"username", QStringLiteral("Contact %1").arg(c)}, {"mobilephone", numberOf(c * 2)}};
    Plist::writeFile(folder_ + "/phoneBook.plist", QVariantList{QVariant(group)});
    ConfigManager::Locations loc;
    loc.candidates = {folder_};
    config_ = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config_.get());
    ConfigService::setSharedConfigService(&switches_);
    pb = std::make_unique<PBController>();
    pb->awakeFromNib();
    PBController *book = pb.get();
    SMSController::setNameLookup([book](const QString &n) { return book->searchNameAtPhoneBook(n); });
    sms = std::make_unique<SMSController>();
    sms->loadBoxinPCList();
    rows = sms->boxList(0, 0);
  }
  ~Tab() {
    sms.reset();
    pb.reset();
    SMSController::setNameLookup(nullptr);
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }
  QString pcPath() const { return folder_ + "/SmsList_PC.plist"; }

  std::unique_ptr<PBController> pb;
  std::unique_ptr<SMSController> sms;
  QVariantList rows;

private:
  QTemporaryDir dir_;
  QString folder_;
  std::unique_ptr<ConfigManager> config_;
  ConfigService switches_;
};

Tab &tab() {
  static Tab t;
  return t;
}

void BM_NameEveryRecord(benchmark::State &state) {
  SmsTableModel::Context context;
  context.lookup = [](const QString &n) { return SMSController::lookupName(n); };
  int named = 0;
  for (auto _ : state) {
    named = 0;
    for (const QVariant &r : tab().rows)
      named += SmsTableModel::cellText(r.toMap(), QStringLiteral("username"), context).startsWith('C') ? 1 : 0;
  }
  state.counters["named"] = named;
}
BENCHMARK(BM_NameEveryRecord)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State &state, const char *column) {
  for (auto _ : state) {
    state.PauseTiming();
    QVariantList list = tab().rows;
    state.ResumeTiming();
    SmsListSort::sortBoxList(list, QLatin1String(column), true);
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK_CAPTURE(BM_SortByColumn, number, "mobilephone")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortByColumn, name, "username")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortByColumn, date, "date")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortByColumn, state, "stat")->Unit(benchmark::kMillisecond);

void BM_SearchKeystroke(benchmark::State &state, const char *key) {
  qsizetype found = 0;
  for (auto _ : state)
    found = tab().sms->searchMessagesFromCurrentBox(tab().rows, QLatin1String(key)).size();
  state.counters["found"] = double(found);
}
BENCHMARK_CAPTURE(BM_SearchKeystroke, hit, "Contact 12")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchKeystroke, miss, "zebra")->Unit(benchmark::kMillisecond);

void BM_ReloadUnchanged(benchmark::State &state) {
  for (auto _ : state) {
    tab().sms->loadBoxinPCList();
    benchmark::DoNotOptimize(tab().sms->boxList(0, 0).size());
  }
}
BENCHMARK(BM_ReloadUnchanged)->Unit(benchmark::kMillisecond);

void BM_Mark100Read(benchmark::State &state) {
  for (auto _ : state) {
    state.PauseTiming();
    QVariantList selected;
    for (int i = 0; i < 300 && selected.size() < 100; ++i)
      if (tab().rows.at(i).toMap().value("smsInfo").toMap().value("stat").toInt() == 0)
        selected << tab().rows.at(i);
    Plist::writeFile(tab().pcPath(), QVariantMap{{"InBox", tab().rows}});
    state.ResumeTiming();
    if (!SMSController::markReadInListFile(tab().pcPath(), selected))
      state.SkipWithError("nothing written");
  }
}
BENCHMARK(BM_Mark100Read)->Unit(benchmark::kMillisecond)->Iterations(5);

// Deleting 1,000 selected messages into the DeletedBox: the file is read once and written once.
void BM_Delete1000IntoDeletedBox(benchmark::State &state) {
  int moved = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QVariantList selected;
    for (int i = 0; i < 1000; ++i)
      selected << tab().rows.at(i * 7);
    Plist::writeFile(tab().pcPath(), QVariantMap{{"InBox", tab().rows}, {"DeletedBox", QVariantList()}});
    const QList<int> destinations(selected.size(), DeletedBox);
    state.ResumeTiming();
    moved = SMSController::movePcRecords(tab().pcPath(), InBox, selected, destinations);
  }
  state.counters["moved"] = moved;
}
BENCHMARK(BM_Delete1000IntoDeletedBox)->Unit(benchmark::kMillisecond)->Iterations(3);
// The 768/101 notification of one message stored at `position`.
Notification arrival(int position, int n) {
  SmsArrivalRecord r;
  r.position = position;
  r.number = numberOf(n);
  r.stamp = QStringLiteral("26121112000032");
  r.text = QStringLiteral("Arrival %1").arg(n);
  const UIMsg msg = SimulatedModem::makePackage(768, 101, 0, 0, r.encode(), 5);
  return {QStringLiteral("arrival"), nullptr, {{kMsgUserInfo, msg.encode()}}};
}

void BM_ArrivalOnSim(benchmark::State &state) {
  Plist::writeFile(tab().pcPath(), QVariantMap{{"InBox", tab().rows}});
  tab().sms->loadBoxinPCList();
  int n = 0;
  for (auto _ : state)
    tab().sms->dealWithMsgOfRevNewSMS(arrival(1, ++n));
  state.counters["announced"] = tab().sms->arrivalState().announced;
}
BENCHMARK(BM_ArrivalOnSim)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ArrivalOnPc(benchmark::State &state) {
  QVariantList inBox = tab().rows;
  int n = kMessages;
  for (auto _ : state) {
    state.PauseTiming();
    // The modem filed the message before it told the program.
    inBox.prepend(record(++n));
    Plist::writeFile(tab().pcPath(), QVariantMap{{"InBox", inBox}});
    state.ResumeTiming();
    tab().sms->dealWithMsgOfRevNewSMS(arrival(0, n));
  }
}
BENCHMARK(BM_ArrivalOnPc)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same arrival as the backend files it: one record put in front of the list's text. The
// program takes that record alone into its lists and the shown table (a view on the model);
// timed is the program's main thread from the package to the announcement.
void BM_ArrivalOnPcFiled(benchmark::State &state) {
  Plist::writeFile(tab().pcPath(), QVariantMap{{"InBox", tab().rows}});
  tab().sms->loadBoxinPCList();
  tab().sms->reloadTable();
  QTableView view;
  view.setModel(tab().sms->tableModel());
  view.resize(900, 500);
  view.show();
  view.selectRow(40);
  QCoreApplication::processEvents();
  int n = 2 * kMessages;
  for (auto _ : state) {
    state.PauseTiming();
    if (!ListFile::prepend(tab().pcPath(), QStringLiteral("InBox"), record(++n)))
      state.SkipWithError("not filed");
    state.ResumeTiming();
    tab().sms->dealWithMsgOfRevNewSMS(arrival(0, n));
  }
  state.counters["rows"] = tab().sms->tableModel()->rowCount();
  view.setModel(nullptr);
}
BENCHMARK(BM_ArrivalOnPcFiled)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
