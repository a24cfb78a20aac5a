#include "SharedDistantConnection.h"
#include "TestSupport.h"
#include "VoiceSharedMemory.h"

#include <QCoreApplication>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

QByteArray frame(int size, char seed) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i)
    bytes[i] = static_cast<char>(seed + i * 7);
  return bytes;
}

class VoiceLinkTest : public ::testing::Test {
protected:
  void SetUp() override {
    backendName_ = testsupport::uniqueBusName("voicebackend");
    backend_ = std::make_unique<testsupport::BackendProcess>(testsupport::uniqueBusName("voiceui"), backendName_);
    ASSERT_TRUE(backend_->start());
  }

  QString backendName_;
  std::unique_ptr<testsupport::BackendProcess> backend_;
};

} // namespace

TEST_F(VoiceLinkTest, FramesWrittenToTheBackendComeBackThroughTheInBlock) {
  SharedDistantConnection link(backendName_);
  EXPECT_EQ(link.serviceName(), "qcontrollerosxproxy");
  // Before the connection every call does nothing.
  EXPECT_EQ(link.prepareVoiceTransfer(), 0);
  EXPECT_EQ(link.readVoiceData(), 0);
  ASSERT_TRUE(link.doConnection());

  VoiceBlocks::BlockPair blocks;
  ASSERT_TRUE(blocks.setup(backendName_));
  EXPECT_NE(blocks.waveIn.name(), QByteArray("/WaveInSharedMemory")) << "a test backend has blocks of its own";
  struct stat st {};
  ASSERT_EQ(::stat(("/dev/shm" + blocks.waveOut.name()).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(st.st_size, VoiceBlocks::kBlockSize);

  ASSERT_EQ(link.prepareVoiceTransfer(), 1);
  const QByteArray first = frame(320, 1);
  const QByteArray second = frame(100, 50);
  blocks.waveOut.write(first.constData(), first.size());
  EXPECT_EQ(link.writeVoiceData(320), 320);
  blocks.waveOut.write(second.constData(), second.size());
  EXPECT_EQ(link.writeVoiceData(100), 100);

  EXPECT_EQ(link.readVoiceData(), 320);
  EXPECT_EQ(blocks.waveIn.read(320), first);
  EXPECT_EQ(link.readVoiceData(), 100);
  EXPECT_EQ(blocks.waveIn.read(100), second);
  EXPECT_EQ(link.readVoiceData(), 0) << "nothing waits";

  // The backend never reads or writes beyond one block.
  EXPECT_EQ(link.writeVoiceData(100000), 320);
  EXPECT_EQ(link.writeVoiceData(-5), 0);
  EXPECT_EQ(link.readVoiceData(), 320);

  EXPECT_EQ(link.stopVoiceTransfer(), 1);
  EXPECT_EQ(link.writeVoiceData(320), 0);
  EXPECT_EQ(link.readVoiceData(), 0);
  const QByteArray inName = blocks.waveIn.name();
  blocks.reclaim();
  EXPECT_FALSE(QFile::exists(QString::fromLatin1("/dev/shm" + inName))) << "names are removed";
}

TEST_F(VoiceLinkTest, AudioThreadAndMainThreadShareTheConnection) {
  SharedDistantConnection link(backendName_);
  ASSERT_TRUE(link.doConnection());
  VoiceBlocks::BlockPair blocks;
  ASSERT_TRUE(blocks.setup(backendName_));
  ASSERT_EQ(link.prepareVoiceTransfer(), 1);
  // The audio thread paces frames while the main thread keeps asking; no call is lost or mixed.
  std::atomic<int> written{0};
  std::thread audio([&] {
    for (int i = 0; i < 40; ++i)
      written += link.writeVoiceData(160);
  });
  int read = 0;
  for (int i = 0; i < 40; ++i)
    read += link.readVoiceData();
  audio.join();
  while (const int n = link.readVoiceData())
    read += n;
  EXPECT_EQ(written.load(), 40 * 160);
  EXPECT_EQ(read, 40 * 160);
  EXPECT_EQ(link.stopVoiceTransfer(), 1);
}

TEST_F(VoiceLinkTest, PrepareFailsWhileTheProgramHasNoBlocks) {
  SharedDistantConnection link(backendName_);
  ASSERT_TRUE(link.doConnection());
  EXPECT_EQ(link.prepareVoiceTransfer(), 0);
  EXPECT_EQ(link.writeVoiceData(320), 0);
}

TEST(VoiceLink, AnAbsentServiceAnswersZeroToEverything) {
  SharedDistantConnection link(testsupport::uniqueBusName("nobackend"));
  EXPECT_FALSE(link.doConnection());
  EXPECT_FALSE(link.isConnected());
  EXPECT_EQ(link.prepareVoiceTransfer(), 0);
  EXPECT_EQ(link.writeVoiceData(320), 0);
  EXPECT_EQ(link.readVoiceData(), 0);
  EXPECT_EQ(link.stopVoiceTransfer(), 0);
  EXPECT_FALSE(link.connectDistantServiceOfName("someOtherService"));
}

TEST(VoiceLink, BlockNamesAreSeparatePerBackendAndBounded) {
  EXPECT_EQ(VoiceBlocks::blockName(VoiceBlocks::kWaveInSharedMemory, "org.qel.vArivevorer"), "/WaveInSharedMemory");
  const QByteArray a = VoiceBlocks::blockName(VoiceBlocks::kWaveOutSharedMemory, "org.qel.test.a");
  const QByteArray b = VoiceBlocks::blockName(VoiceBlocks::kWaveOutSharedMemory, "org.qel.test.b");
  EXPECT_NE(a, b);
  EXPECT_TRUE(a.startsWith("/WaveOutSharedMemory."));
  const QByteArray odd = VoiceBlocks::blockName(VoiceBlocks::kWaveInSharedMemory, "../x/" + QString(300, 'y'));
  EXPECT_EQ(odd.count('/'), 1);
  EXPECT_LT(odd.size(), 255);

  // A block that is not there, or of the wrong size, is not attached to.
  VoiceBlocks::SharedBlock block;
  EXPECT_FALSE(block.attach("/qel-no-such-block-" + QByteArray::number(QCoreApplication::applicationPid())));
  EXPECT_EQ(block.write("x", 1), 0);
  EXPECT_TRUE(block.read(10).isEmpty());
}
