// What every label and every decision pays: a wording lookup and a switch read, against a token
// list and a settings dictionary of realistic size.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "Plist.h"
#include "TokenListReader.h"
#include "WordGlobe.h"
#include "WordingOperation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Fixture {
  QTemporaryDir dir;
  std::unique_ptr<ConfigManager> config;

  Fixture() {
    // About the size of a full product's token list and settings file.
    QByteArray tokens;
    for (int i = 0; i < 3000; ++i)
      tokens += "\"SMS_Label" + QByteArray::number(i) + "\" = \"Some text number " + QByteArray::number(i) + "\";\n";
    QFile f(dir.filePath("LanguageTokenList.txt"));
    if (f.open(QIODevice::WriteOnly))
      f.write(tokens);
    f.close();
    Word_Globe_Init(f.fileName());

    QVariantMap settings;
    for (const char *module : {"Main", "Init", "SMS", "USSD", "Internet", "Setting", "PhoneBook", "Call", "Record"}) {
      QVariantMap m;
      for (int i = 0; i < 40; ++i)
        m.insert(QStringLiteral("%1_Key%2").arg(QLatin1String(module)).arg(i), i % 2 == 0);
      settings.insert(QLatin1String(module), m);
    }
    QVariantMap main = settings.value("Main").toMap();
    main.insert("Main_CloseUI_IfDeviceRemoved", true);
    settings.insert("Main", main);
    for (int i = 0; i < 100; ++i)
      settings.insert(QStringLiteral("TopLevel%1").arg(i), i);
    QDir().mkpath(dir.filePath("Bundle/Resources/ModemList"));
    Plist::writeFile(dir.filePath("Bundle/Resources/ModemList/settings.plist"), settings);
    config = std::make_unique<ConfigManager>(ConfigManager::locationsForBundle(dir.filePath("Bundle")));
    ConfigManager::setSharedConfigManager(config.get());
  }
  ~Fixture() { ConfigManager::setSharedConfigManager(nullptr); }
};

Fixture &fixture() {
  static Fixture f;
  return f;
}

void BM_WordingLookup(benchmark::State &state) {
  fixture();
  const QString key = QStringLiteral("SMS_Label1234");
  for (auto _ : state)
    benchmark::DoNotOptimize(Map_Name_Item_of_IndexString(key));
}
BENCHMARK(BM_WordingLookup);

void BM_CheckedWordingLookup(benchmark::State &state) {
  fixture();
  const QString key = QStringLiteral("SMS_Label1234");
  for (auto _ : state)
    benchmark::DoNotOptimize(WordingOperation::getDisplayWordingValueByWordingKey(key));
}
BENCHMARK(BM_CheckedWordingLookup);

void BM_SwitchRead(benchmark::State &state) {
  fixture();
  ConfigService *service = ConfigService::sharedConfigService();
  for (auto _ : state)
    benchmark::DoNotOptimize(service->isCloseUIIfDeviceRemoved());
}
BENCHMARK(BM_SwitchRead);

void BM_TopLevelSwitchRead(benchmark::State &state) {
  fixture();
  ConfigService *service = ConfigService::sharedConfigService();
  for (auto _ : state)
    benchmark::DoNotOptimize(service->isEnableAutoApnMatch());
}
BENCHMARK(BM_TopLevelSwitchRead);

// A switch writer saves the whole settings file at once, through the atomic-write helper.
void BM_SettingsWrite(benchmark::State &state) {
  ConfigManager *config = fixture().config.get();
  for (auto _ : state)
    if (!config->writeToFile())
      state.SkipWithError("write failed");
}
BENCHMARK(BM_SettingsWrite)->Unit(benchmark::kMicrosecond);

// Reading a token list at start and on a language change; the hostile input (one unterminated
// quote per line) shows that recovery stays linear.
void BM_ParseTokenList(benchmark::State &state, const char *line) {
  QByteArray text;
  while (text.size() < state.range(0))
    text += line;
  for (auto _ : state)
    benchmark::DoNotOptimize(TokenListReader::parse(text));
  state.SetBytesProcessed(state.iterations() * text.size());
  state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_ParseTokenList, wellFormed, "\"SMS_LabelText\" = \"Some label text\";\n")
    ->Range(1 << 16, 1 << 21)
    ->Complexity();
BENCHMARK_CAPTURE(BM_ParseTokenList, unterminatedQuotes, "\"\n")->Range(1 << 16, 1 << 21)->Complexity();
BENCHMARK_CAPTURE(BM_ParseTokenList, escapedQuotes, "\"\\\n")->Range(1 << 16, 1 << 21)->Complexity();
BENCHMARK_CAPTURE(BM_ParseTokenList, keysWithoutValues, "a =\n")->Range(1 << 16, 1 << 21)->Complexity();

} // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
