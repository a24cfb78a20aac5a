// The sound channel's effect chain: which components it takes, in what order the units work on
// the captured sound, and how a unit that cannot be set up leaves the chain.
#include "SeqGrab.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

constexpr quint32 kGain = 0x6761696E;   // 'gain'
constexpr quint32 kOffset = 0x6F666673; // 'offs'
constexpr quint32 kBroken = 0x62726B6E; // 'brkn'

// A source of 16-bit mono samples, all of one value, in a format the test may change.
class ConstantSource : public AudioCaptureSource {
public:
  bool start() override { return true; }
  void stop() override {}
  QByteArray readAll() override {
    QByteArray chunk(8, '\0');
    for (int i = 0; i < chunk.size(); i += 2)
      qToLittleEndian<qint16>(value, chunk.data() + i);
    return chunk;
  }
  AudioStreamDesc format() const override { return desc; }
  qint16 value = 100;
  AudioStreamDesc desc;
};

// Works on 16-bit samples: multiplies by `factor`, then adds `offset`.
class SampleUnit : public AudioEffectUnit {
public:
  SampleUnit(int factor, int offset, bool initializes = true)
      : factor_(factor), offset_(offset), initializes_(initializes) {}
  bool initialize(const AudioStreamDesc &, int maximumFramesPerSlice) override {
    ++initializations;
    lastMaximumFrames = maximumFramesPerSlice;
    return initializes_;
  }
  void render(QByteArray &chunk) override {
    for (int i = 0; i + 1 < chunk.size(); i += 2)
      qToLittleEndian<qint16>(qint16(qFromLittleEndian<qint16>(chunk.constData() + i) * factor_ + offset_),
                              chunk.data() + i);
  }
  int initializations = 0;
  int lastMaximumFrames = 0;

private:
  int factor_;
  int offset_;
  bool initializes_;
};

class CaptureEffects : public ::testing::Test {
protected:
  void SetUp() override {
    AudioEffectComponents::registerComponent({AudioEffectUnit::kEffectType, kGain, 0},
                                             [] { return std::make_unique<SampleUnit>(2, 0); });
    AudioEffectComponents::registerComponent({AudioEffectUnit::kEffectType, kOffset, 0},
                                             [] { return std::make_unique<SampleUnit>(1, 5); });
    AudioEffectComponents::registerComponent({AudioEffectUnit::kEffectType, kBroken, 0},
                                             [] { return std::make_unique<SampleUnit>(0, 0, false); });
    auto owned = std::make_unique<ConstantSource>();
    source = owned.get();
    channel = std::make_unique<SGAudio>(nullptr, std::move(owned));
  }
  void TearDown() override { AudioEffectComponents::unregisterAll(); }

  static AudioComponentDescription effect(quint32 subType) { return {AudioEffectUnit::kEffectType, subType, 0}; }

  // The first sample the channel keeps after one idle pass.
  qint16 capturedSample() {
    channel->idle();
    char frame[8] = {};
    quint32 type = 0;
    const int n = channel->readData(frame, sizeof frame, &type);
    return n >= 2 ? qFromLittleEndian<qint16>(frame) : qint16(-1);
  }

  ConstantSource *source = nullptr;
  std::unique_ptr<SGAudio> channel;
};

TEST_F(CaptureEffects, OnlyKnownEffectComponentsAndAtMostSixUnitsAreTaken) {
  EXPECT_EQ(channel->insertAUFXUnit({0x61756F75 /* 'auou' */, kGain, 0}), nullptr) << "not an effect";
  EXPECT_EQ(channel->insertAUFXUnit(effect(0x6E6F6E65 /* 'none' */)), nullptr) << "no such component";
  EXPECT_NE(channel->insertAUFXUnit(effect(0)), nullptr) << "a zero subtype takes the first effect";
  for (int i = 1; i < SGAudio::kMaxFXUnits; ++i)
    ASSERT_NE(channel->insertAUFXUnit(effect(kOffset)), nullptr);
  EXPECT_EQ(channel->insertAUFXUnit(effect(kOffset)), nullptr);
  EXPECT_EQ(channel->fxUnitsCount(), SGAudio::kMaxFXUnits);
}

TEST_F(CaptureEffects, UnitsWorkInTheOrderTheyWereInserted) {
  EXPECT_EQ(capturedSample(), 100) << "no unit: the sound passes unchanged";
  AudioEffectUnit *gain = channel->insertAUFXUnit(effect(kGain));
  channel->insertAUFXUnit(effect(kOffset));
  EXPECT_EQ(capturedSample(), 205); // (100 x 2) + 5, not (100 + 5) x 2
  EXPECT_TRUE(channel->removeAUFXUnit(gain));
  EXPECT_FALSE(channel->removeAUFXUnit(gain)) << "gone already";
  EXPECT_EQ(capturedSample(), 105);
}

TEST_F(CaptureEffects, AUnitThatCannotBeSetUpLeavesTheChainAndTheOthersWork) {
  channel->insertAUFXUnit(effect(kGain));
  channel->insertAUFXUnit(effect(kBroken));
  channel->insertAUFXUnit(effect(kOffset));
  EXPECT_EQ(capturedSample(), 205);
  ASSERT_EQ(channel->fxUnitsCount(), 2);
  auto *gain = static_cast<SampleUnit *>(channel->fxUnits().first());
  EXPECT_EQ(gain->lastMaximumFrames, 4 + 512); // the chunk's four packets and room to spare
}

TEST_F(CaptureEffects, UnitsAreSetUpAgainOnlyWhenTheFormatOrTheChainChanges) {
  auto *gain = static_cast<SampleUnit *>(channel->insertAUFXUnit(effect(kGain)));
  capturedSample();
  capturedSample();
  EXPECT_EQ(gain->initializations, 1);
  source->desc.sampleRate = 16000.0; // the device switched rate
  capturedSample();
  EXPECT_EQ(gain->initializations, 2);
  channel->insertAUFXUnit(effect(kOffset));
  capturedSample();
  EXPECT_EQ(gain->initializations, 3);
}

} // namespace
