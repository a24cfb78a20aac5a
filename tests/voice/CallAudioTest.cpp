// The capture library and the call audio path, against the simulated backend's voice-data echo.
#include "CallAudioPath.h"
#include "FakeAudio.h"
#include "Platform.h"
#include "SeqGrab.h"
#include "SharedDistantConnection.h"
#include "Sound.h"
#include "TestSupport.h"

#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using testsupport::waitUntil;

class CallAudioTest : public ::testing::Test {
protected:
  void SetUp() override {
    Sound::setOutputFactory([this] { return std::make_unique<RecordingOutput>(&played); });
    SGAudio::setSourceFactory([] { return std::make_unique<FakeMicrophone>(); });
  }
  void TearDown() override {
    Sound::setOutputFactory({});
    SGAudio::setSourceFactory({});
  }
  PlayedAudio played;
  QTemporaryDir folder;
};

AudioStreamDesc pcm(int bits, int channels) {
  AudioStreamDesc d;
  d.bitsPerChannel = bits;
  d.channelsPerFrame = channels;
  d.bytesPerFrame = bits / 8 * channels;
  d.bytesPerPacket = d.bytesPerFrame;
  return d;
}

} // namespace

TEST(SeqGrabLibrary, ChunksBecomeFirstChannelSixteenBitLittleEndian) {
  struct Case {
    const char *name;
    AudioStreamDesc desc;
    QByteArray in;
    QByteArray out;
  };
  AudioStreamDesc notPcm = pcm(16, 1);
  notPcm.formatId = 0x61616320; // 'aac '
  const QList<Case> cases = {
      {"16-bit mono", pcm(16, 1), QByteArray("\x01\x02\x03\x04", 4), QByteArray("\x01\x02\x03\x04", 4)},
      {"16-bit stereo keeps the left", pcm(16, 2), QByteArray("\x01\x02\xAA\xBB\x03\x04\xCC\xDD", 8),
       QByteArray("\x01\x02\x03\x04", 4)},
      {"24-bit keeps the top bytes", pcm(24, 1), QByteArray("\x10\x20\x30\x11\x21\x31", 6),
       QByteArray("\x20\x30\x21\x31", 4)},
      {"32-bit float stereo", pcm(32, 2), QByteArray("\x00\x00\x80\x3F\x00\x00\x00\x00", 8), QByteArray("\x80\x3F", 2)},
      {"a cut last frame is dropped", pcm(16, 1), QByteArray("\x01\x02\x03", 3), QByteArray("\x01\x02", 2)},
      {"8-bit yields nothing", pcm(8, 1), QByteArray("\x01\x02", 2), QByteArray()},
      {"not linear PCM", notPcm, QByteArray("\x01\x02", 2), QByteArray()},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SwapHostAudioToLittleEndian(c.in.constData(), int(c.in.size()), c.desc), c.out) << c.name;
  EXPECT_TRUE(SwapHostAudioToLittleEndian(nullptr, 4, pcm(16, 1)).isEmpty());
}

TEST(SeqGrabLibrary, ReadsKeepOnlyTheNewestHundredMilliseconds) {
  SeqGrab grabber;
  SGAudio channel(&grabber, std::make_unique<FakeMicrophone>());
  char buffer[320];
  quint32 type = 7;
  EXPECT_EQ(channel.readData(buffer, 320, &type), 0);
  EXPECT_EQ(type, 7u) << "an empty read leaves the type alone";

  QByteArray stored(4000, '\0');
  for (int i = 0; i < stored.size(); ++i)
    stored[i] = char(i % 251);
  ASSERT_EQ(channel.analyzeData(stored, pcm(16, 1)), 4000);
  EXPECT_EQ(channel.readData(buffer, 320, &type), 320);
  EXPECT_EQ(type, AudioStreamDesc::kLinearPCM);
  EXPECT_EQ(QByteArray(buffer, 320), stored.left(320));
  EXPECT_EQ(channel.storedBytes(), SGAudio::kMaxKeptBytes);
  EXPECT_EQ(channel.readData(buffer, 320, &type), 320);
  EXPECT_EQ(QByteArray(buffer, 320), stored.mid(4000 - 1600, 320)) << "the oldest sound was dropped";

  SGAudio small(&grabber, std::make_unique<FakeMicrophone>());
  small.setData(stored.constData(), 1000, pcm(16, 1));
  EXPECT_EQ(small.readData(buffer, 320, &type), 320);
  EXPECT_EQ(small.storedBytes(), 680);
  EXPECT_EQ(small.setData(stored.constData(), 0, pcm(16, 1)), -1);
  EXPECT_EQ(small.setData(stored.constData(), 10, pcm(8, 1)), 0) << "8-bit stores nothing";
}

TEST(SeqGrabLibrary, WaveFileOfHalfASecond) {
  QTemporaryDir dir;
  const QString path = dir.filePath("SWAP.wav");
  const QByteArray data(8000, '\x05');
  ASSERT_EQ(SaveWaveAudio(path, data, AudioStreamDesc{}), 0);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray image = file.readAll();
  ASSERT_EQ(image.size(), 8044);
  EXPECT_EQ(image.left(4), "RIFF");
  EXPECT_EQ(qFromLittleEndian<quint32>(image.constData() + 4), 8036u);
  EXPECT_EQ(image.mid(8, 8), "WAVEfmt ");
  EXPECT_EQ(qFromLittleEndian<quint32>(image.constData() + 24), 8000u);
  EXPECT_EQ(qFromLittleEndian<quint32>(image.constData() + 28), 16000u);
  EXPECT_EQ(qFromLittleEndian<quint16>(image.constData() + 34), 16u);
  EXPECT_EQ(image.mid(44), data);
  const auto parsed = parseWav(image);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sampleRate, 8000);
  EXPECT_EQ(SaveWaveAudio(path, {}, AudioStreamDesc{}), -1);
}

TEST(SeqGrabLibrary, NoInputDeviceMakesNoChannel) {
  SGAudio::setSourceFactory([] { return std::unique_ptr<AudioCaptureSource>(); });
  SeqGrab grabber;
  EXPECT_EQ(grabber.idleFrequency(), 50);
  EXPECT_EQ(grabber.addAudioChannel(), nullptr);
  EXPECT_EQ(grabber.channelCount(), 0);
  EXPECT_EQ(grabber.preview(), 0);
  EXPECT_EQ(grabber.stop(), 0);
  EXPECT_EQ(grabber.stop(), 0) << "stopping when stopped does nothing";
  SGAudio::setSourceFactory({});
  EXPECT_EQ(SeqGrab(25).idleFrequency(), 25);
}

TEST(SeqGrabLibrary, IdlePassesFeedTheChannel) {
  SGAudio::setSourceFactory([] { return std::make_unique<FakeMicrophone>(); });
  SeqGrab grabber;
  SGAudio *channel = grabber.addAudioChannel();
  ASSERT_NE(channel, nullptr);
  grabber.preview();
  EXPECT_TRUE(waitUntil([&] { return channel->storedBytes() >= 640; }));
  grabber.stop();
  SGAudio::setSourceFactory({});
}

TEST_F(CallAudioTest, HalfASecondOfFarEndAudioIsPlayedOnce) {
  CallAudioPath path(nullptr, testsupport::uniqueBusName("audio"), folder.path());
  path.saveRemoteAudioData(QByteArray(7999, '\x01'));
  EXPECT_EQ(played.count(), 0);
  EXPECT_FALSE(QFile::exists(path.swapFilePath()));
  path.saveRemoteAudioData(QByteArray(1, '\x02'));
  ASSERT_EQ(played.count(), 1);
  EXPECT_EQ(played.pcm.first().size(), 8000);
  EXPECT_EQ(played.pcm.first().back(), '\x02');
  EXPECT_EQ(path.savedBytes(), 0);
  EXPECT_EQ(QFile(path.swapFilePath()).size(), 8044);

  path.setVideoCall(true);
  path.saveRemoteAudioData(QByteArray(8000, '\x03'));
  EXPECT_EQ(played.count(), 1) << "a video call plays every second";

  CallAudioPath nowhere(nullptr, testsupport::uniqueBusName("audio"), QString());
  nowhere.saveRemoteAudioData(QByteArray(8000, '\x04'));
  EXPECT_EQ(played.count(), 1) << "no folder, nothing written or played";
  EXPECT_EQ(nowhere.savedBytes(), 0);

  QByteArray samples("\x01\x02\x03\x04\x05", 5);
  CallAudioPath::swapInt16Buffer(samples.data(), int(samples.size()));
  EXPECT_EQ(samples, QByteArray("\x02\x01\x04\x03\x05", 5));
}

TEST_F(CallAudioTest, WithoutInputDeviceTheCallStillReceives) {
  SGAudio::setSourceFactory([] { return std::unique_ptr<AudioCaptureSource>(); });
  CallAudioPath path(nullptr, testsupport::uniqueBusName("audio"), folder.path());
  EXPECT_FALSE(path.start()) << "no channel";
  EXPECT_TRUE(path.isRunning());
  EXPECT_TRUE(path.blocksMapped());
  path.stop(true);
  EXPECT_FALSE(path.isRunning());
  EXPECT_FALSE(path.blocksMapped());
}

class CallAudioBackend : public CallAudioTest {
protected:
  void SetUp() override {
    CallAudioTest::SetUp();
    backendName_ = testsupport::uniqueBusName("audiobackend");
    backend_ = std::make_unique<testsupport::BackendProcess>(testsupport::uniqueBusName("audioui"), backendName_);
    ASSERT_TRUE(backend_->start());
    link_ = std::make_unique<SharedDistantConnection>(backendName_);
    ASSERT_TRUE(link_->doConnection());
  }
  QString backendName_;
  std::unique_ptr<testsupport::BackendProcess> backend_;
  std::unique_ptr<SharedDistantConnection> link_;
};

TEST_F(CallAudioBackend, MicrophoneFramesComeBackAsPlayedAudio) {
  CallAudioPath path(link_.get(), backendName_, folder.path());
  ASSERT_TRUE(path.start());
  const QByteArray inName = path.blocks().waveIn.name();
  EXPECT_TRUE(path.start()) << "a second start changes nothing";
  EXPECT_EQ(path.blocks().waveIn.name(), inName);
  EXPECT_TRUE(QFile::exists(QString::fromLatin1("/dev/shm" + inName)));

  ASSERT_TRUE(waitUntil([&] { return played.count() >= 2; }, 10000));
  // The modem counted the frames both ways: two plays are fifty frames.
  const QVariantList stats = backend_->control(QStringLiteral("VoiceStats"));
  ASSERT_EQ(stats.size(), 2);
  EXPECT_GE(stats.at(0).toInt(), 50);
  EXPECT_GE(stats.at(1).toInt(), 50);
  path.stop(true);
  EXPECT_FALSE(QFile::exists(QString::fromLatin1("/dev/shm" + inName))) << "blocks removed at stop";
  EXPECT_EQ(link_->readVoiceData(), 0) << "the transfer was stopped";

  // Every played sample is one the microphone gave, frames whole and in order (a slow reader may
  // skip the oldest ones, never reorder them).
  QMutexLocker lock(&played.lock);
  int last = 0;
  for (const QByteArray &pcm : played.pcm) {
    ASSERT_EQ(pcm.size() % CallAudioPath::kFrameBytes, 0);
    for (int f = 0; f < pcm.size(); f += CallAudioPath::kFrameBytes) {
      const quint16 number = qFromLittleEndian<quint16>(pcm.constData() + f);
      EXPECT_GT(number, last);
      last = number;
      for (int i = 0; i < CallAudioPath::kFrameBytes; i += 2)
        ASSERT_EQ(qFromLittleEndian<quint16>(pcm.constData() + f + i), number);
    }
  }
}

TEST_F(CallAudioBackend, MutedMicrophoneSendsNothing) {
  CallAudioPath path(link_.get(), backendName_, folder.path());
  path.setMicrophoneMuted(true);
  ASSERT_TRUE(path.start());
  // Far more than half a second: an unmuted microphone would have been heard back by now.
  QTest::qWait(800);
  EXPECT_EQ(played.count(), 0) << "no frame went out to be echoed";
  EXPECT_EQ(backend_->control(QStringLiteral("VoiceStats")).value(0).toInt(), 0);
  path.setMicrophoneMuted(false);
  EXPECT_TRUE(waitUntil([&] { return played.count() >= 1; }, 10000));
  path.stop(false);
}

// The platform that takes whole frames gets a short capture padded with silence: the modem reads
// the announced 320 bytes, and none of them may be left from the frame before.
TEST_F(CallAudioBackend, AShortFrameGoesOutPaddedWithSilenceWhereWholeFramesAreAnnounced) {
  Platform *before = Platform::sharedPlatform();
  Platform icera(Platform::kPlatformIcera);
  Platform::setSharedPlatform(&icera);
  struct Restore {
    Platform *platform;
    ~Restore() { Platform::setSharedPlatform(platform); }
  } restore{before};
  // No microphone: only the frames written here go out.
  SGAudio::setSourceFactory([] { return std::unique_ptr<AudioCaptureSource>(); });
  CallAudioPath path(link_.get(), backendName_, folder.path());
  path.start();
  ASSERT_TRUE(path.blocksMapped());
  constexpr int kFrame = CallAudioPath::kFrameBytes;
  constexpr int kShort = 100;
  // A loud whole frame first, then short ones: half a second in all, played back as one piece.
  path.writeVoiceDataOverUsb(QByteArray(kFrame, '\x7f').constData(), kFrame);
  const QByteArray shortFrame(kShort, '\x11');
  for (int i = 1; i < CallAudioPath::kVoicePlayBytes / kFrame; ++i)
    path.writeVoiceDataOverUsb(shortFrame.constData(), kShort);
  ASSERT_TRUE(waitUntil([&] { return played.count() >= 1; }, 10000));
  path.stop(true);
  QMutexLocker lock(&played.lock);
  const QByteArray pcm = played.pcm.first();
  ASSERT_EQ(pcm.size(), CallAudioPath::kVoicePlayBytes);
  EXPECT_EQ(pcm.left(kFrame), QByteArray(kFrame, '\x7f'));
  for (int f = kFrame; f < pcm.size(); f += kFrame) {
    SCOPED_TRACE(f / kFrame);
    EXPECT_EQ(pcm.mid(f, kShort), shortFrame);
    EXPECT_EQ(pcm.mid(f + kShort, kFrame - kShort), QByteArray(kFrame - kShort, '\0')) << "padded with silence";
  }
}
