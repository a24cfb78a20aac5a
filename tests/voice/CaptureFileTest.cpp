// A recording's file: what the capture path and its flags make of it, and that a preview makes none.
#include "SeqGrab.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// 320 bytes (one 20 ms frame) of one byte value a pass.
class FrameSource : public AudioCaptureSource {
public:
  bool start() override { return true; }
  void stop() override {}
  QByteArray readAll() override { return QByteArray(320, '\x02'); }
  AudioStreamDesc format() const override { return {}; }
};

class CaptureFile : public ::testing::Test {
protected:
  void SetUp() override {
    SGAudio::setSourceFactory([] { return std::make_unique<FrameSource>(); });
    ASSERT_NE(grabber.addAudioChannel(), nullptr);
  }
  void TearDown() override {
    grabber.stop();
    SGAudio::setSourceFactory({});
  }
  QString path() const { return dir.filePath(QStringLiteral("capture.wav")); }
  QByteArray file() const {
    QFile f(path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void recordPasses(int passes) {
    grabber.record();
    for (int i = 0; i < passes; ++i)
      grabber.idleTimer();
    grabber.stop();
  }

  QTemporaryDir dir;
  SeqGrab grabber;
};

TEST_F(CaptureFile, ARecordingWritesItsSoundAsAWaveFileWhenItStops) {
  grabber.setCapturePath(path(), 0);
  grabber.record();
  grabber.idleTimer();
  grabber.idleTimer();
  EXPECT_FALSE(QFile::exists(path())) << "written at the end, whole";
  grabber.stop();
  const QByteArray bytes = file();
  ASSERT_EQ(bytes.size(), 44 + 640);
  EXPECT_TRUE(bytes.startsWith("RIFF"));
  EXPECT_EQ(bytes.mid(44), QByteArray(640, '\x02'));
  // Without the append flag the next recording replaces it.
  recordPasses(1);
  EXPECT_EQ(file().size(), 44 + 320);
}

TEST_F(CaptureFile, AppendContinuesTheFileAndNoMovieMakesNone) {
  grabber.setCapturePath(path(), SeqGrab::kAppend);
  recordPasses(1);
  recordPasses(2);
  EXPECT_EQ(file().size(), 44 + 960);
  QFile::remove(path());
  grabber.setCapturePath(path(), SeqGrab::kDontMakeMovie);
  recordPasses(2);
  EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(CaptureFile, NoPreAllocationReplacesAnOldFileThenAppends) {
  {
    QFile old(path());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a recording");
  }
  grabber.setCapturePath(path(), SeqGrab::kDontPreAllocate);
  EXPECT_FALSE(QFile::exists(path()));
  EXPECT_EQ(grabber.captureFlags(), SeqGrab::kDontPreAllocate | SeqGrab::kAppend);
  recordPasses(1);
  recordPasses(1);
  EXPECT_EQ(file().size(), 44 + 640);
}

TEST_F(CaptureFile, APreviewMakesNoFileAndPutsThePathBack) {
  grabber.setCapturePath(path(), 0);
  grabber.preview();
  EXPECT_TRUE(grabber.capturePath().isEmpty());
  EXPECT_EQ(grabber.captureFlags(), SeqGrab::kDontMakeMovie);
  grabber.idleTimer();
  grabber.stop();
  EXPECT_FALSE(QFile::exists(path()));
  EXPECT_EQ(grabber.capturePath(), path());
  EXPECT_EQ(grabber.captureFlags(), 0u);
}

TEST(CaptureFramesFile, TheFirstFreeNumberIsTaken) {
  QTemporaryDir dir;
  EXPECT_EQ(SGAudio::assignAudioFramesFilePath(dir.path()), dir.filePath(QStringLiteral("FRAMESFILE0")));
  for (const char *name : {"FRAMESFILE0", "FRAMESFILE1", "FRAMESFILE3"}) {
    QFile f(dir.filePath(QLatin1String(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  EXPECT_EQ(SGAudio::assignAudioFramesFilePath(dir.path() + QLatin1Char('/')),
            dir.filePath(QStringLiteral("FRAMESFILE2")));
}

} // namespace
