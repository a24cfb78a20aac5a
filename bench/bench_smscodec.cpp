// Cost of counting a message as the editor does on every keystroke, of cutting a long paste,
// and of septet packing.
#include "MessageTextFormatter.h"
#include "SmsCodec.h"
#include "SmsPacking.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

const SmsCodecSettings kSettings{SmsNational::None, false};

QString gsmText(int n) {
  const QString pattern = QStringLiteral("Meet me at 7:30 near the station, bring 2 tickets! ");
  QString s;
  while (s.size() < n)
    s += pattern;
  return s.left(n);
}

// Mostly GSM, with escaped characters, and one character that forces UCS2 at the very end, so
// that classification cannot stop early.
QString mixedText(int n) {
  QString s;
  const QString pattern = QString::fromUtf16(u"Preis: 12€ [inkl.] Grüße, àbc ");
  while (s.size() < n - 1)
    s += pattern;
  s.truncate(n - 1);
  s += QChar(u'中');
  return s;
}

const char16_t *units(const QString &s) {
  return reinterpret_cast<const char16_t *>(s.utf16());
}

void countText(benchmark::State &state, const QString &text) {
  const auto *t = units(text);
  const unsigned n = unsigned(text.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(IfUcs2IsSMS7(t, int(n), kSettings));
    benchmark::DoNotOptimize(getInputTextNum(t, n, kSettings));
    benchmark::DoNotOptimize(getInputPackNum(t, n, kSettings));
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * n);
}

void BM_ClassifyAndCount_Gsm160(benchmark::State &state) {
  countText(state, gsmText(160));
}
BENCHMARK(BM_ClassifyAndCount_Gsm160);

void BM_ClassifyAndCount_Ucs2_70(benchmark::State &state) {
  countText(state, QString(70, u'Ж'));
}
BENCHMARK(BM_ClassifyAndCount_Ucs2_70);

void BM_ClassifyAndCount_Mixed10000(benchmark::State &state) {
  countText(state, mixedText(10000));
}
BENCHMARK(BM_ClassifyAndCount_Mixed10000)->Unit(benchmark::kMicrosecond);

// One keystroke in the editor: the whole formatting pass (limit, cut check, count and parts).
void BM_FormatterPass_Gsm160(benchmark::State &state) {
  const QString text = gsmText(160);
  const MessageTextFormatterSettings settings;
  for (auto _ : state)
    benchmark::DoNotOptimize(formatMessageText(text, settings));
}
BENCHMARK(BM_FormatterPass_Gsm160);

// Cutting a long paste back to five parts: one pass, linear in the text.
void BM_CutLongPaste(benchmark::State &state) {
  const QString text = mixedText(int(state.range(0))).replace(QChar(u'中'), QChar(u'a'));
  const auto *t = units(text);
  for (auto _ : state)
    benchmark::DoNotOptimize(cutMaxTextLen(t, unsigned(text.size()), 5, kSettings));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CutLongPaste)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity(benchmark::oN);

void BM_Count(benchmark::State &state) {
  const QString text = mixedText(int(state.range(0)));
  const auto *t = units(text);
  for (auto _ : state)
    benchmark::DoNotOptimize(getInputPackNum(t, unsigned(text.size()), kSettings));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Count)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity(benchmark::oN);

std::vector<uint8_t> septets(int n) {
  std::vector<uint8_t> s(size_t(n) + 1, 0);
  for (int i = 0; i < n; ++i)
    s[size_t(i)] = uint8_t((i * 31 + 7) & 0x7F);
  return s;
}

void BM_Pack(benchmark::State &state) {
  const int n = int(state.range(0));
  const std::vector<uint8_t> in = septets(n);
  std::vector<uint8_t> out(size_t(n) + 1);
  for (auto _ : state)
    benchmark::DoNotOptimize(Encode7bit(in.data(), out.data(), n + 1));
  state.SetBytesProcessed(int64_t(state.iterations()) * n);
}
BENCHMARK(BM_Pack)->Arg(160)->Arg(10000);

void BM_Unpack(benchmark::State &state) {
  const int n = int(state.range(0));
  const std::vector<uint8_t> in = septets(n);
  std::vector<uint8_t> packed(size_t(n) + 1);
  const int octets = Encode7bit(in.data(), packed.data(), n + 1);
  std::vector<uint8_t> out(size_t(octets + octets / 7) + 1);
  for (auto _ : state)
    benchmark::DoNotOptimize(Decode7bit(packed.data(), out.data(), octets));
  state.SetBytesProcessed(int64_t(state.iterations()) * octets);
}
BENCHMARK(BM_Unpack)->Arg(140)->Arg(8750);

void BM_ConvertToSeptets_Mixed10000(benchmark::State &state) {
  const QString text = mixedText(10000);
  std::vector<uint8_t> out(size_t(2 * text.size()));
  for (auto _ : state)
    benchmark::DoNotOptimize(Ucs2toSMS7(out.data(), int(out.size()), units(text), int(text.size()), kSettings));
  state.SetItemsProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_ConvertToSeptets_Mixed10000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
