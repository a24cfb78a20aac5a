// The capture library's conversions for devices that refuse 8 kHz 16-bit mono: float samples by
// value, and higher rates brought down to 8 kHz.
#include "NotificationCenter.h"
#include "SeqGrab.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

AudioStreamDesc floatStereo(double rate = 8000.0) {
  AudioStreamDesc d;
  d.sampleRate = rate;
  d.bitsPerChannel = 32;
  d.channelsPerFrame = 2;
  d.bytesPerFrame = 8;
  d.bytesPerPacket = 8;
  d.isFloat = true;
  return d;
}

QByteArray floats(std::initializer_list<float> values) {
  QByteArray out;
  for (float v : values) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
  }
  return out;
}

QList<qint16> samplesOf(const QByteArray &pcm) {
  QList<qint16> out;
  for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
    out << qFromLittleEndian<qint16>(pcm.constData() + i);
  return out;
}

TEST(CaptureConversion, FloatSamplesAreConvertedByValue) {
  struct Case {
    float left;
    qint16 wanted;
  };
  const Case cases[] = {{0.0f, 0},       {1.0f, 32767},      {-1.0f, -32767}, {0.5f, 16384}, {1.5f, 32767},
                        {-7.0f, -32767}, {std::nanf(""), 0}, {-0.25f, -8192}, {0.00001f, 0}};
  for (const Case &c : cases) {
    // The right channel carries something else, which is dropped.
    const QByteArray frame = floats({c.left, 0.75f});
    const QList<qint16> out = samplesOf(SwapHostAudioToLittleEndian(frame.constData(), 8, floatStereo()));
    ASSERT_EQ(out.size(), 1) << c.left;
    EXPECT_EQ(out.first(), c.wanted) << c.left;
  }
  AudioStreamDesc floatMono = floatStereo();
  floatMono.channelsPerFrame = 1;
  floatMono.bytesPerFrame = floatMono.bytesPerPacket = 4;
  const QByteArray three = floats({0.1f, -0.1f, 1.0f});
  EXPECT_EQ(samplesOf(SwapHostAudioToLittleEndian(three.constData(), 12, floatMono)),
            (QList<qint16>{3277, -3277, 32767}));
  // A float format that is not 32-bit is not understood.
  AudioStreamDesc oddFloat = floatMono;
  oddFloat.bitsPerChannel = 16;
  oddFloat.bytesPerFrame = oddFloat.bytesPerPacket = 2;
  EXPECT_TRUE(SwapHostAudioToLittleEndian(three.constData(), 12, oddFloat).isEmpty());
}

// Zero crossings from below in one second of 8 kHz sound: the tone's frequency.
int risingCrossings(const QList<qint16> &s) {
  int n = 0;
  for (qsizetype i = 1; i < s.size(); ++i)
    n += s.at(i - 1) < 0 && s.at(i) >= 0;
  return n;
}

TEST(CaptureConversion, AToneAt48kHzKeepsItsFrequencyAt8kHz) {
  QByteArray tone;
  for (int i = 0; i < 48000; ++i) {
    char b[2];
    qToLittleEndian<qint16>(qint16(std::lround(20000.0 * std::sin(2 * M_PI * 1000.0 * i / 48000.0 + 0.1))), b);
    tone.append(b, 2);
  }
  RateDecimator whole;
  const QByteArray wholeBytes = whole.process(tone, 48000.0);
  const QList<qint16> out = samplesOf(wholeBytes);
  EXPECT_EQ(out.size(), 8000);
  EXPECT_NEAR(risingCrossings(out), 1000, 1);
  // The tone keeps most of its strength.
  EXPECT_GT(*std::max_element(out.cbegin(), out.cend()), 15000);

  // Chunks of any size give the same sound as one piece.
  RateDecimator chunked;
  QByteArray pieces;
  for (qsizetype at = 0; at < tone.size(); at += 1234)
    pieces += chunked.process(tone.mid(at, 1234), 48000.0);
  EXPECT_EQ(pieces, wholeBytes);

  // A rate that is no multiple of 8 kHz still gives 8000 samples a second; 8 kHz passes as it is.
  RateDecimator cd;
  EXPECT_NEAR(cd.process(tone.left(44100 * 2), 44100.0).size() / 2, 8000, 1);
  RateDecimator same;
  EXPECT_EQ(same.process(tone.left(100), 8000.0), tone.left(100));
}

} // namespace

namespace {

class Microphone : public AudioCaptureSource {
public:
  bool start() override { return true; }
  void stop() override {}
  QByteArray readAll() override { return QByteArray(320, '\x01'); }
  AudioStreamDesc format() const override { return {}; }
};

TEST(SeqGrabModes, PreviewRecordPauseAndStop) {
  SGAudio::setSourceFactory([] { return std::make_unique<Microphone>(); });
  SeqGrab grabber;
  QObject observer;
  QStringList posted;
  NotificationCenter::defaultCenter().addObserver(&observer, QString(), nullptr, [&](const Notification &n) {
    if (n.name.startsWith(QLatin1String("SeqGrabChannel")))
      posted << n.name;
  });
  SGAudio *channel = grabber.addAudioChannel();
  ASSERT_NE(channel, nullptr);
  EXPECT_TRUE(grabber.isStopped());
  EXPECT_EQ(grabber.pause(), 0);
  EXPECT_FALSE(grabber.isPaused()) << "nothing to pause while stopped";

  grabber.preview();
  grabber.record();
  EXPECT_TRUE(grabber.isRecording());
  EXPECT_FALSE(grabber.isPreviewing()) << "record leaves the preview";
  grabber.idleTimer();
  EXPECT_EQ(channel->storedBytes(), 320);
  grabber.pause();
  EXPECT_TRUE(grabber.isPaused());
  grabber.idleTimer();
  grabber.idleTimer();
  EXPECT_EQ(channel->storedBytes(), 320) << "a paused grabber delivers nothing";
  grabber.resume();
  grabber.idleTimer();
  EXPECT_EQ(channel->storedBytes(), 640);
  grabber.preview();
  EXPECT_TRUE(grabber.isPreviewing());
  EXPECT_FALSE(grabber.isRecording());
  EXPECT_FALSE(grabber.isPaused()) << "a new mode starts unpaused";
  grabber.stop();
  EXPECT_TRUE(grabber.isStopped());
  EXPECT_EQ(grabber.stop(), 0);
  grabber.removeFirstAudioChannel();
  EXPECT_EQ(posted, (QStringList{QStringLiteral("SeqGrabChannelAddedNotification"),
                                 QStringLiteral("SeqGrabChannelRemovedNotification")}));
  NotificationCenter::defaultCenter().removeObserver(&observer);
  SGAudio::setSourceFactory({});
}

TEST(SeqGrabModes, ARecordingEndsAtItsMaximumTime) {
  struct Case {
    double seconds;
    quint32 ticks;
  };
  const Case cases[] = {{0.5, 30}, {1.01, 61}, {0.0, 0}, {-2.0, 0}, {1e12, 4294967295u}, {std::nan(""), 0}};
  SeqGrab grabber; // 50 idle passes a second for sound
  for (const Case &c : cases) {
    grabber.setMaxRecordTime(c.seconds);
    EXPECT_EQ(grabber.maxRecordTicks(), c.ticks) << c.seconds;
  }
  SGAudio::setSourceFactory([] { return std::make_unique<Microphone>(); });
  ASSERT_NE(grabber.addAudioChannel(), nullptr);
  grabber.setMaxRecordTime(0.1); // 6 ticks: five idle passes at 50 a second
  grabber.record();
  for (int i = 0; i < 4; ++i)
    grabber.idleTimer();
  grabber.pause();
  grabber.idleTimer(); // paused time does not count
  grabber.resume();
  EXPECT_TRUE(grabber.isRecording());
  grabber.idleTimer();
  EXPECT_TRUE(grabber.isStopped());
  // A preview has no limit.
  grabber.preview();
  for (int i = 0; i < 20; ++i)
    grabber.idleTimer();
  EXPECT_TRUE(grabber.isPreviewing());
  grabber.stop();
  SGAudio::setSourceFactory({});
}

} // namespace
