#include "Sound.h"
#include "ControllerFixture.h"
#include "QELUIController.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

namespace {

class SoundFixture : public ControllerFixture {
protected:
  void SetUp() override {
    ControllerFixture::SetUp();
    for (int type = 0; type <= 4; ++type)
      settings()[QELUIController::filenameKeyOfSound(type)] = writeWav(QStringLiteral("s%1.wav").arg(type));
  }
  void TearDown() override {
    QELUIController::stopSound();
    ControllerFixture::TearDown();
  }
};

TEST_F(SoundFixture, RingingCallIsNeverInterrupted) {
  QELUIController a, b;
  a.playSound(kSoundIncomingCall);
  ASSERT_TRUE(QELUIController::isSoundPlaying());
  // Other sounds, from any controller, are dropped while the call rings.
  b.playSound(kSoundSMS);
  a.playShortSound(kSoundOnline);
  EXPECT_EQ(QELUIController::currentSoundType(), kSoundIncomingCall);
  EXPECT_TRUE(QELUIController::isSoundPlaying());
  // A timed ring schedules no stop.
  a.playSound(kSoundIncomingCall, 0.0);
  EXPECT_EQ(a.pendingSoundStopMs(), -1);
  QCoreApplication::processEvents();
  EXPECT_TRUE(QELUIController::isSoundPlaying());
  // Stopping another type leaves it; stopping its own type ends it.
  QELUIController::stopSound(kSoundSMS);
  EXPECT_TRUE(QELUIController::isSoundPlaying());
  QELUIController::stopSound(kSoundIncomingCall);
  EXPECT_FALSE(QELUIController::isSoundPlaying());
  EXPECT_EQ(QELUIController::currentSoundType(), -1);
  b.playSound(kSoundSMS);
  EXPECT_EQ(QELUIController::currentSoundType(), kSoundSMS);
}

TEST_F(SoundFixture, RingWithoutAudioDeviceCountsAsFinished) {
  audio.refuse = true;
  QELUIController c;
  c.playSound(kSoundIncomingCall);
  EXPECT_FALSE(QELUIController::isSoundPlaying());
  audio.refuse = false;
  c.playSound(kSoundSMS);
  EXPECT_EQ(QELUIController::currentSoundType(), kSoundSMS);
  EXPECT_TRUE(QELUIController::isSoundPlaying());
}

TEST_F(SoundFixture, RealOutputFailsCleanlyOrPlays) {
  // Whatever the machine has: without a device the sound counts as finished, never hangs.
  Sound::setOutputFactory({});
  auto sound = Sound::fromFile(settings().value("smsSoundFileName").toString());
  ASSERT_TRUE(sound);
  const bool started = sound->play();
  if (!started) {
    EXPECT_FALSE(sound->isPlaying());
  }
  sound->stop();
  EXPECT_FALSE(sound->isPlaying());
}

TEST_F(SoundFixture, ShortSoundDurationComesFromPlaySoundTime) {
  struct Case {
    QVariant configured;
    int expectedMs;
  };
  const QList<Case> cases = {{QVariant(), 3000}, {1.5, 1500}, {0.0, 0}, {-2.0, 0}, {QStringLiteral("2"), 2000}};
  for (const Case &c : cases) {
    if (c.configured.isValid())
      settings()["PlaySoundTime"] = c.configured;
    else
      settings().remove("PlaySoundTime");
    QELUIController ctl;
    ctl.playShortSound(kSoundOnline);
    EXPECT_EQ(ctl.pendingSoundStopMs(), c.expectedMs) << c.configured.toString().toStdString();
  }
  // A zero duration stops the sound at the next turn of the event loop.
  settings()["PlaySoundTime"] = 0.0;
  QELUIController ctl;
  ctl.playShortSound(kSoundOffline);
  EXPECT_TRUE(QELUIController::isSoundPlaying());
  EXPECT_TRUE(testsupport::waitUntil([] { return !QELUIController::isSoundPlaying(); }, 1000));
  EXPECT_EQ(QELUIController::currentSoundType(), -1);
}

TEST_F(SoundFixture, NewSoundCancelsThePendingStop) {
  QELUIController ctl;
  ctl.playSound(kSoundOnline, 5.0);
  EXPECT_EQ(ctl.pendingSoundStopMs(), 5000);
  ctl.playSound(kSoundOffline);
  EXPECT_EQ(ctl.pendingSoundStopMs(), -1);
  ctl.playSound(kSoundOnline, -1.0); // refused outright
  EXPECT_EQ(QELUIController::currentSoundType(), kSoundOffline);
}

TEST_F(SoundFixture, MutedUnknownAndUnreadableSoundsStaySilent) {
  QELUIController ctl;
  settings()["smsSoundMute"] = true;
  ctl.playSound(kSoundSMS);
  EXPECT_EQ(QELUIController::currentSoundType(), kSoundSMS); // loaded
  EXPECT_FALSE(QELUIController::isSoundPlaying());
  EXPECT_EQ(audio.starts, 0);

  ctl.playSound(5);
  EXPECT_EQ(QELUIController::currentSoundType(), -1);
  ctl.playSound(-1);
  EXPECT_EQ(audio.starts, 0);

  settings()["onlineSoundFileName"] = root.filePath("missing.wav");
  ctl.playSound(kSoundOnline);
  EXPECT_FALSE(QELUIController::isSoundPlaying());
  QFile garbage(QDir(modemList()).filePath("garbage.wav"));
  garbage.open(QIODevice::WriteOnly);
  garbage.write("not a sound at all");
  garbage.close();
  settings()["offlineSoundFileName"] = "garbage.wav"; // relative: taken from the ModemList folder
  ctl.playSound(kSoundOffline);
  EXPECT_FALSE(QELUIController::isSoundPlaying());
  EXPECT_EQ(audio.starts, 0);
}

TEST_F(SoundFixture, MuteFlagHonoursAlertNotMuteSet) {
  QELUIController ctl;
  for (const bool inverted : {false, true}) {
    settings()["Setting"] = QVariantMap{{"AlertNotMuteSet", inverted}};
    for (const bool mute : {false, true}) {
      ctl.setSoundType(kSoundSMS, mute);
      EXPECT_EQ(ctl.isSoundMute(kSoundSMS), inverted ? !mute : mute);
    }
  }
  ctl.setSoundType(7, true); // out of range: nothing stored
  EXPECT_FALSE(settings().contains("7"));
}

TEST_F(SoundFixture, FileNamesAndKeys) {
  QELUIController ctl;
  EXPECT_EQ(QELUIController::filenameKeyOfSound(3), "callSoundFileName");
  EXPECT_EQ(QELUIController::filenameKeyOfSound(4), "quitUISoundFileName");
  EXPECT_TRUE(QELUIController::filenameKeyOfSound(5).isNull());
  ctl.setSoundFileName(kSoundSMS, "/x/new.wav");
  EXPECT_EQ(ctl.soundFileName(kSoundSMS), "/x/new.wav");
  ctl.setSoundFileName(kSoundSMS, QString());
  ctl.setSoundFileName(9, "/x/other.wav");
  EXPECT_EQ(ctl.soundFileName(kSoundSMS), "/x/new.wav");
  EXPECT_TRUE(ctl.soundFileName(9).isNull());
}

TEST_F(SoundFixture, PreviewOfTheRingToggles) {
  QELUIController ctl;
  ctl.experienceIncomingcallSond(kSoundIncomingCall);
  EXPECT_TRUE(QELUIController::isSoundPlaying());
  ctl.experienceIncomingcallSond(kSoundIncomingCall);
  EXPECT_FALSE(QELUIController::isSoundPlaying());
}

TEST_F(SoundFixture, CloseSoundPlaysAndStops) {
  QELUIController::setCloseSoundWaitMs(0);
  QELUIController ctl;
  ctl.playCloseSound();
  EXPECT_EQ(audio.starts, 1);
  EXPECT_FALSE(QELUIController::isSoundPlaying());
  QELUIController::setCloseSoundWaitMs(2000);
}

// ---- WAV reading

QByteArray wavImage(quint16 tag, quint16 channels, quint32 rate, quint16 bits, const QByteArray &data,
                    qint64 claimedDataSize = -1) {
  auto put32 = [](QByteArray &b, quint32 v) {
    char d[4];
    qToLittleEndian(v, d);
    b.append(d, 4);
  };
  auto put16 = [](QByteArray &b, quint16 v) {
    char d[2];
    qToLittleEndian(v, d);
    b.append(d, 2);
  };
  QByteArray fmt;
  put16(fmt, tag);
  put16(fmt, channels);
  put32(fmt, rate);
  put32(fmt, rate * channels * bits / 8);
  put16(fmt, quint16(channels * bits / 8));
  put16(fmt, bits);
  QByteArray wav("RIFF");
  put32(wav, 0);
  wav.append("WAVE");
  wav.append("LIST");
  put32(wav, 3); // odd chunk: padded
  wav.append("abc");
  wav.append('\0');
  wav.append("fmt ");
  put32(wav, quint32(fmt.size()));
  wav.append(fmt);
  wav.append("data");
  put32(wav, quint32(claimedDataSize < 0 ? data.size() : claimedDataSize));
  wav.append(data);
  return wav;
}

TEST(WavTest, ReadsWhatItCanPlayAndRefusesTheRest) {
  struct Case {
    const char *name;
    QByteArray bytes;
    bool ok;
    int pcmBytes;
  };
  const QByteArray pcm(400, '\1');
  const QList<Case> cases = {
      {"16-bit mono", wavImage(1, 1, 8000, 16, pcm), true, 400},
      {"8-bit stereo", wavImage(1, 2, 22050, 8, pcm), true, 400},
      {"float", wavImage(3, 1, 44100, 32, pcm), true, 400},
      {"truncated data is cut to whole frames", wavImage(1, 2, 8000, 16, pcm.left(399), 100000), true, 396},
      {"24-bit refused", wavImage(1, 1, 8000, 24, pcm), false, 0},
      {"compressed refused", wavImage(2, 1, 8000, 16, pcm), false, 0},
      {"no channels", wavImage(1, 0, 8000, 16, pcm), false, 0},
      {"absurd rate", wavImage(1, 1, 4000000, 16, pcm), false, 0},
      {"not RIFF", QByteArray("RIFX0000WAVE"), false, 0},
      {"empty", QByteArray(), false, 0},
      {"no data chunk", wavImage(1, 1, 8000, 16, pcm).left(48), false, 0},
  };
  for (const Case &c : cases) {
    const auto audio = parseWav(c.bytes);
    EXPECT_EQ(audio.has_value(), c.ok) << c.name;
    if (audio && c.ok) {
      EXPECT_EQ(audio->pcm.size(), c.pcmBytes) << c.name;
    }
  }
  EXPECT_EQ(parseWav(wavImage(1, 1, 8000, 16, QByteArray(16000, '\0')))->durationMs(), 1000);
}

} // namespace
