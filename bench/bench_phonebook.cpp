// The phonebook with 5,000 PC contacts in 20 groups: loading and sorting phoneBook.plist (goal
// under 100 ms), one search keystroke over the five fields (under 10 ms), naming 10,000 numbers
// as an SMS list of that size does (under 50 ms), and the distinct count the capacity label asks
// for at every table reload (under 5 ms). The page with 5,000 contacts in one group: a search
// keystroke through searchUser with the sort of its results and the table reload (under 30 ms), a
// header sort of the contact table (under 50 ms), a table reload with the capacity label (under
// 10 ms). The start-up merge of the stores when the SIM has been read, with one group of 10,000
// contacts (under 50 ms).
#include "ConfigManager.h"
#include "ConfigService.h"
#include "PBController.h"
#include "PBModemBlocks.h"
#include "PBNameSort.h"
#include "PBPage.h"
#include "Plist.h"

#include <QApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kGroups = 20, kContacts = 5000;

// A settings folder with a phoneBook.plist of 5,000 contacts, and a controller on it.
struct Book {
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  std::unique_ptr<PBController> pb;
  QStringList numbers;

  explicit Book(int groupCount = kGroups, int contacts = kContacts) {
    const QString modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList);
    Plist::writeFile(
        modemList + QStringLiteral("/settings.plist"),
        QVariantMap{{QStringLiteral("CurrentLanguage"), QStringLiteral("English")},
                    {QStringLiteral("PhoneBook"), QVariantMap{{QStringLiteral("PCContactsMaxCount"), 10000},
                                                              {QStringLiteral("NotAddCountWhenSameRecord"), true}}}});
    QRandomGenerator rng(42);
    QVariantList groups;
    for (int g = 0; g < groupCount; ++g) {
      QVariantList group{QVariantMap{{PBKey::kGroupName, QStringLiteral("Group %1").arg(g)}}};
      for (int c = 0; c < contacts / groupCount; ++c) {
        const QString number = QStringLiteral("0%1").arg(rng.bounded(100000000, 999999999));
        numbers << number;
        group << QVariantMap{{PBKey::kUserName, QStringLiteral("Name %1 %2").arg(rng.bounded(100000)).arg(c)},
                             {PBKey::kMobilePhone, number},
                             {PBKey::kHomePhone, QStringLiteral("030%1").arg(c)},
                             {PBKey::kOfficePhone, QStringLiteral("040%1").arg(g)},
                             {PBKey::kEmail, QStringLiteral("user%1@example.org").arg(c)}};
      }
      groups << QVariant(group);
    }
    Plist::writeFile(modemList + QStringLiteral("/phoneBook.plist"), groups);
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
    pb = std::make_unique<PBController>();
    pb->awakeFromNib();
  }
  ~Book() {
    pb.reset();
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
  }
};

void BM_LoadAndSortPhoneBook(benchmark::State &state) {
  Book book;
  for (auto _ : state) {
    book.pb->reloadPhoneList();
    for (int g = 0; g < book.pb->sumOfGroupInPC(); ++g) {
      QVariantList group = book.pb->pcPhoneList().at(g).toList();
      PBNameSort::sortByUserName(group, 1);
      benchmark::DoNotOptimize(group);
    }
  }
  state.counters["contacts"] = book.pb->sumOfContactInPC();
}
BENCHMARK(BM_LoadAndSortPhoneBook)->Unit(benchmark::kMillisecond);

void BM_SearchKeystroke(benchmark::State &state) {
  Book book;
  book.pb->setSearchText(QStringLiteral("er1"));
  for (auto _ : state) {
    book.pb->deleteUserFromCurSearchGroup(10000);
    book.pb->getSearchContactsFromPC();
    benchmark::DoNotOptimize(book.pb->getCurSearchGroupCount());
  }
  state.counters["hits"] = book.pb->getCurSearchGroupCount();
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_NameTenThousandNumbers(benchmark::State &state) {
  Book book;
  QStringList asked;
  for (int i = 0; i < 10000; ++i)
    asked << (i % 2 ? QStringLiteral("+49") + book.numbers.at(i % book.numbers.size()).mid(1)
                    : QStringLiteral("0176%1").arg(i));
  int named = 0;
  for (auto _ : state) {
    named = 0;
    for (const QString &n : asked)
      named += book.pb->hasPhoneNumber(n);
  }
  state.counters["named"] = named;
}
BENCHMARK(BM_NameTenThousandNumbers)->Unit(benchmark::kMillisecond);

void BM_DistinctCount(benchmark::State &state) {
  Book book;
  for (auto _ : state)
    benchmark::DoNotOptimize(book.pb->sumOfContactInPC());
}
BENCHMARK(BM_DistinctCount)->Unit(benchmark::kMillisecond);

// The page over one group of 5,000 contacts.
void BM_PageSearchKeystroke(benchmark::State &state) {
  Book book(1);
  PBPage page(book.pb.get());
  int i = 0;
  for (auto _ : state)
    book.pb->searchUser(++i % 2 ? QStringLiteral("er1") : QStringLiteral("er12"));
  state.counters["hits"] = book.pb->getCurSearchGroupCount();
}
BENCHMARK(BM_PageSearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_PageHeaderSort(benchmark::State &state) {
  Book book(1);
  PBPage page(book.pb.get());
  bool ascending = false;
  for (auto _ : state) {
    ascending = !ascending;
    book.pb->sortContactsByColumn(PBKey::kUserName, ascending);
  }
  state.counters["rows"] = page.contactTable->model()->rowCount();
}
BENCHMARK(BM_PageHeaderSort)->Unit(benchmark::kMillisecond);

void BM_PageReloadWithCapacity(benchmark::State &state) {
  Book book(1);
  PBPage page(book.pb.get());
  for (auto _ : state) {
    page.reloadContactTableAndDeselect();
    book.pb->SetConpacityShow();
  }
  state.counters["rows"] = page.contactTable->model()->rowCount();
}
BENCHMARK(BM_PageReloadWithCapacity)->Unit(benchmark::kMillisecond);

// The SIM's list read at start: the SIM's and the PC's contacts merged into the one list the page
// and the lookups use. PC contacts get their record numbers here.
void BM_StartUpMergeOneGroup(benchmark::State &state) {
  Book book(1, int(state.range(0)));
  QVariantList sim;
  for (int i = 1; i <= 250; ++i)
    sim << QVariantMap{{QStringLiteral("ITEM_INDEX"), i},
                       {QStringLiteral("ITEM_NAME"), QStringLiteral("Sim %1").arg(i)},
                       {QStringLiteral("ITEM_NUM1"), QStringLiteral("0170%1").arg(i)}};
  const QString simList = book.dir.filePath(QStringLiteral("sim.plist"));
  Plist::writeFile(simList, sim);
  PBModemBlocks::ReadResult read;
  read.storage = kStorageSIM;
  read.maxIndex = 250;
  read.minIndex = 1;
  read.nameMaxLen = 14;
  read.numberMaxLen = 40;
  read.listFilePath = simList;
  for (auto _ : state) {
    state.PauseTiming();
    book.pb->clearAllPhoneList();
    state.ResumeTiming();
    book.pb->applyReadResult(read);
  }
  state.counters["merged"] = book.pb->getAllUserNumber();
}
BENCHMARK(BM_StartUpMergeOneGroup)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
