// The microphone and speaker volume: the device-volume functions, the streams they scale, and
// the call page's buttons and sliders.
#include "DeviceVolume.h"
#include "CallAudioPath.h"
#include "CallFixture.h"
#include "FakeAudio.h"
#include "SeqGrab.h"
#include "Sound.h"

#include <QSlider>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>

namespace {

// Installs which devices exist for one test and puts the levels back afterwards.
struct Devices {
  Devices(bool input, bool output) {
    DeviceVolume::setDevicePresence([input] { return input; }, [output] { return output; });
    DeviceVolume::reset();
  }
  ~Devices() {
    DeviceVolume::setDevicePresence({}, {});
    DeviceVolume::reset();
  }
};

QByteArray samples(std::initializer_list<qint16> values) {
  QByteArray out;
  for (qint16 v : values) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
  }
  return out;
}

TEST(DeviceVolume, LevelsAreClampedAndNeedADevice) {
  {
    Devices devices(true, true);
    struct Case {
      float set, wanted;
    };
    const Case cases[] = {{0.5f, 0.5f}, {2.0f, 1.0f}, {-1.0f, 0.0f}, {std::nanf(""), 0.0f}, {0.25f, 0.25f}};
    for (const Case &c : cases) {
      setDefaultInputDeviceVolume(c.set);
      setDefaultOutputDeviceVolume(c.set);
      EXPECT_FLOAT_EQ(getDefaultInputDeviceVolume(), c.wanted) << c.set;
      EXPECT_FLOAT_EQ(getDefaultOutputDeviceVolume(), c.wanted) << c.set;
    }
  }
  // Without devices: 0.0 is read and nothing is set.
  Devices none(false, false);
  setDefaultInputDeviceVolume(0.3f);
  setDefaultOutputDeviceVolume(0.3f);
  EXPECT_FLOAT_EQ(getDefaultInputDeviceVolume(), 0.0f);
  EXPECT_FLOAT_EQ(getDefaultOutputDeviceVolume(), 0.0f);
  EXPECT_FLOAT_EQ(DeviceVolume::inputLevel(), 1.0f);
  EXPECT_FLOAT_EQ(DeviceVolume::outputLevel(), 1.0f);
}

TEST(DeviceVolume, SamplesAreScaledRoundedAndKeptInRange) {
  const QByteArray in = samples({1000, -32768, 32767, 3, -3, 0});
  EXPECT_EQ(DeviceVolume::scaled16(in, 1.0f), in);
  EXPECT_EQ(DeviceVolume::scaled16(in, 0.5f), samples({500, -16384, 16384, 2, -2, 0}));
  EXPECT_EQ(DeviceVolume::scaled16(in, 0.0f), samples({0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(DeviceVolume::scaled16(in + '\x7F', 0.5f), samples({500, -16384, 16384, 2, -2, 0}) + '\x7F');
}

TEST(DeviceVolume, TheInputVolumeScalesCapturedSoundAndTheOutputVolumeThePlayedAudio) {
  Devices devices(true, true);
  PlayedAudio played;
  Sound::setOutputFactory([&played] { return std::make_unique<RecordingOutput>(&played); });
  SGAudio::setSourceFactory([] { return std::make_unique<FakeMicrophone>(); });
  SeqGrab grabber;
  SGAudio *channel = grabber.addAudioChannel();
  ASSERT_NE(channel, nullptr);
  AudioStreamDesc mono; // 8 kHz 16-bit mono
  setDefaultInputDeviceVolume(0.5f);
  channel->setData(samples({2000, -2000}).constData(), 4, mono);
  QByteArray read(4, '\0');
  quint32 type = 0;
  ASSERT_EQ(channel->readData(read.data(), 4, &type), 4);
  EXPECT_EQ(read, samples({1000, -1000}));

  QTemporaryDir folder;
  CallAudioPath path(nullptr, testsupport::uniqueBusName("audio"), folder.path());
  setDefaultOutputDeviceVolume(0.25f);
  QByteArray far;
  for (int i = 0; i < 4000; ++i)
    far += samples({4000});
  path.saveRemoteAudioData(far);
  ASSERT_EQ(played.count(), 1);
  EXPECT_EQ(played.pcm.first().left(4), samples({1000, 1000}));
  Sound::setOutputFactory({});
  SGAudio::setSourceFactory({});
}

class CallVolume : public CallFixture {};

TEST_F(CallVolume, TheButtonsShowTheSlidersAtTheDeviceVolumeAndTheSlidersSetIt) {
  Devices devices(true, true);
  setDefaultInputDeviceVolume(0.4f);
  CallPage *page = call->page;
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(page->microPhoneVolume->isVisibleTo(page));
  page->microPhone->click();
  ASSERT_TRUE(page->microPhoneVolume->isVisibleTo(page));
  EXPECT_EQ(page->microPhoneVolume->value(), 40);
  EXPECT_FLOAT_EQ(getDefaultInputDeviceVolume(), 0.4f) << "showing the slider changes nothing";
  page->microPhoneVolume->setValue(70);
  EXPECT_FLOAT_EQ(getDefaultInputDeviceVolume(), 0.7f);
  page->microPhone->click();
  EXPECT_FALSE(page->microPhoneVolume->isVisibleTo(page));

  page->speaker->click();
  ASSERT_TRUE(page->speakerVolume->isVisibleTo(page));
  EXPECT_EQ(page->speakerVolume->value(), 100);
  page->speakerVolume->setValue(30);
  EXPECT_FLOAT_EQ(getDefaultOutputDeviceVolume(), 0.3f);
  // The plug-in's volume slider sets the same output volume.
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("VolumeSliderChange"), nullptr,
                                                           {{"VolumeSliderChange", 0.6}});
  EXPECT_FLOAT_EQ(getDefaultOutputDeviceVolume(), 0.6f);
}

} // namespace
