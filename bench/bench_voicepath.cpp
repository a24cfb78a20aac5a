// Cost of the call audio path: one 20 ms tick both ways against the simulated modem's
// voice-data service (capture read, block write and writeVoiceData; readVoiceData and block
// read), and turning 20 ms of 48 kHz float stereo from a device into the 320-byte frame.
#include "SeqGrab.h"
#include "SharedDistantConnection.h"
#include "TestSupport.h"
#include "VoiceSharedMemory.h"

#include <QApplication>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// A microphone that is never started: the benchmark hands the channel its chunks itself.
class SilentSource : public AudioCaptureSource {
public:
  bool start() override { return true; }
  void stop() override {}
  QByteArray readAll() override { return {}; }
  AudioStreamDesc format() const override { return {}; }
};

void Tick(benchmark::State &state) {
  const QString be = testsupport::uniqueBusName(QStringLiteral("benchvoice"));
  testsupport::BackendProcess backend{testsupport::uniqueBusName(QStringLiteral("benchui")), be};
  if (!backend.start()) {
    state.SkipWithError("backend did not start (no session bus?)");
    return;
  }
  SharedDistantConnection link(be);
  VoiceBlocks::BlockPair blocks;
  if (!link.doConnection() || !blocks.setup(be) || link.prepareVoiceTransfer() != 1) {
    state.SkipWithError("no voice-data service");
    return;
  }
  SeqGrab grabber(50);
  SGAudio channel(&grabber, std::make_unique<SilentSource>());
  const QByteArray chunk(VoiceBlocks::kBlockSize, '\x11');
  const AudioStreamDesc mono;
  QByteArray frame(VoiceBlocks::kBlockSize, '\0');
  for (auto _ : state) {
    channel.setData(chunk.constData(), int(chunk.size()), mono); // the capture's 20 ms
    quint32 type = 0;
    const int n = channel.readData(frame.data(), int(frame.size()), &type);
    blocks.waveOut.write(frame.constData(), n);
    link.writeVoiceData(n);
    const int back = link.readVoiceData();
    benchmark::DoNotOptimize(blocks.waveIn.read(std::min(back, VoiceBlocks::kBlockSize)));
  }
  link.stopVoiceTransfer();
  blocks.reclaim();
}
BENCHMARK(Tick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void FloatStereoToFrame(benchmark::State &state) {
  AudioStreamDesc desc;
  desc.sampleRate = 48000;
  desc.bitsPerChannel = 32;
  desc.channelsPerFrame = 2;
  desc.bytesPerFrame = desc.bytesPerPacket = 8;
  desc.isFloat = true;
  QByteArray input(960 * 8, '\0'); // 20 ms
  for (int i = 0; i < 960; ++i) {
    const float v = float(0.5 * std::sin(2 * M_PI * 1000.0 * i / 48000.0));
    qToLittleEndian(v, input.data() + 8 * i);
    qToLittleEndian(-v, input.data() + 8 * i + 4);
  }
  RateDecimator decimator;
  for (auto _ : state) {
    const QByteArray frame =
        decimator.process(SwapHostAudioToLittleEndian(input.constData(), int(input.size()), desc), desc.sampleRate);
    if (frame.size() != VoiceBlocks::kBlockSize)
      state.SkipWithError("not one frame");
    benchmark::DoNotOptimize(frame);
  }
}
BENCHMARK(FloatStereoToFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
