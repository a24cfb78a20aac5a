#include "CallAudioPath.h"

#include "DeviceVolume.h"
#include "Platform.h"
#include "SharedDistantConnection.h"
#include "Sound.h"

#include <QDir>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {
int platformCode() {
  const Platform *platform = Platform::sharedPlatform();
  return platform ? platform->platform() : Platform::kPlatformOther;
}
} // namespace

CallAudioPath::CallAudioPath(SharedDistantConnection *link, QString backendBusName, QString folder)
    : serverProto_(link), backendBusName_(std::move(backendBusName)), folder_(std::move(folder)),
      m_pcmOutBuffer(kFrameBytes, '\0') {
  worker_ = new QObject;
  m_waveTimer = new QTimer(worker_);
  m_waveOutTimer = new QTimer(worker_);
  for (QTimer *timer : {m_waveTimer, m_waveOutTimer}) {
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(kTickMs);
  }
  // Capture tick: one frame, two on the Icera platform, none on the TK330 platform.
  QObject::connect(m_waveTimer, &QTimer::timeout, worker_, [this] {
    const int code = platformCode();
    const int frames = code == Platform::kPlatformIcera ? 2 : code == Platform::kPlatformTK330 ? 0 : 1;
    for (int i = 0; i < frames; ++i)
      grabData();
  });
  QObject::connect(m_waveOutTimer, &QTimer::timeout, worker_, [this] {
    if (!running_)
      return;
    const int frames = platformCode() == Platform::kPlatformIcera ? 2 : 1;
    for (int i = 0; i < frames; ++i)
      readVoiceDataOverUsb();
  });
  worker_->moveToThread(&thread_);
  thread_.setObjectName(QStringLiteral("call audio"));
  thread_.start();
}

CallAudioPath::~CallAudioPath() {
  stop(false);
  // The player was made on the worker thread and goes there; the idle worker itself goes after
  // its thread has ended.
  onWorker([this] { player_.reset(); });
  thread_.quit();
  thread_.wait();
  delete worker_;
}

void CallAudioPath::onWorker(const std::function<void()> &work) {
  if (QThread::currentThread() == &thread_)
    work();
  else
    QMetaObject::invokeMethod(worker_, work, Qt::BlockingQueuedConnection);
}

QString CallAudioPath::swapFilePath() const {
  return QDir(folder_).filePath(QString::fromLatin1(kSwapFileName));
}

bool CallAudioPath::start() {
  if (running_)
    return hasAudioChannel();
  if (!blocks_.setup(backendBusName_))
    blocks_.setup(backendBusName_);
  if (serverProto_)
    serverProto_->prepareVoiceTransfer();
  m_audioChannel = grabber_.addAudioChannel();
  if (grabber_.channelCount() > 0)
    grabber_.preview();
  running_ = true;
  onWorker([this] {
    startWaveTimer();
    startWaveInTimer();
  });
  return m_audioChannel != nullptr;
}

void CallAudioPath::stop(bool deviceOnline) {
  if (!running_)
    return;
  running_ = false;
  onWorker([this] { destroyWaveTimer(); });
  grabber_.removeFirstAudioChannel();
  m_audioChannel = nullptr;
  if (deviceOnline && serverProto_)
    serverProto_->stopVoiceTransfer();
  blocks_.reclaim();
}

void CallAudioPath::reclaimVoiceTransferResources() {
  if (serverProto_)
    serverProto_->stopVoiceTransfer();
  blocks_.reclaim();
}

void CallAudioPath::startWaveTimer() {
  m_waveTimer->stop();
  m_pcmOutBuffer.fill('\0');
  m_savedData.clear();
  m_waveTimer->start();
}

void CallAudioPath::startWaveInTimer() {
  m_waveOutTimer->stop();
  m_waveOutTimer->start();
}

void CallAudioPath::destroyWaveTimer() {
  m_waveTimer->stop();
  m_waveOutTimer->stop();
}

void CallAudioPath::grabData() {
  if (!running_ || !m_audioChannel)
    return;
  m_pcmOutBuffer.fill('\0');
  quint32 type = 0;
  const int n = m_audioChannel->readData(m_pcmOutBuffer.data(), kFrameBytes, &type);
  if (n > 0)
    writeVoiceDataOverUsb(m_pcmOutBuffer.constData(), n);
}

void CallAudioPath::writeVoiceDataOverUsb(const char *bytes, int length) {
  // A muted microphone sends nothing at all; an unmapped block loses the frame.
  if (muted_ || length <= 0 || !blocks_.waveOut.isMapped())
    return;
  if (platformCode() == Platform::kPlatformIcera) {
    // This platform always takes whole frames: a short capture goes out padded with silence, so
    // that the modem never reads the tail of an earlier frame.
    QByteArray frame(kFrameBytes, '\0');
    std::memcpy(frame.data(), bytes, size_t(std::min(length, int(kFrameBytes))));
    blocks_.waveOut.write(frame.constData(), kFrameBytes);
    if (serverProto_)
      serverProto_->writeVoiceData(kFrameBytes);
    return;
  }
  const int n = blocks_.waveOut.write(bytes, length);
  if (serverProto_)
    serverProto_->writeVoiceData(n);
}

void CallAudioPath::readVoiceDataOverUsb() {
  if (!serverProto_)
    return;
  int n = serverProto_->readVoiceData();
  if (n > kFrameBytes)
    n = kFrameBytes;
  if (n < 1 || !blocks_.waveIn.isMapped())
    return;
  saveRemoteAudioData(blocks_.waveIn.read(n));
}

void CallAudioPath::saveRemoteAudioData(const QByteArray &bytes) {
  m_savedData += bytes;
  if (m_savedData.size() < (video_ ? kVideoPlayBytes : kVoicePlayBytes))
    return;
  AudioStreamDesc desc; // 8000 Hz, mono, 16-bit
  const QString path = swapFilePath();
  // Without a configured folder there is nowhere of ours to write: never the working directory.
  // The output volume is that of the far-end audio the call plays.
  if (!folder_.isEmpty() &&
      SaveWaveAudio(path, DeviceVolume::scaled16(m_savedData, DeviceVolume::outputLevel()), desc) == 0) {
    player_ = Sound::fromFile(path);
    if (player_)
      player_->play();
  }
  m_savedData.clear();
}

void CallAudioPath::swapInt16Buffer(char *buffer, int length) {
  if (!buffer)
    return;
  for (int i = 0; i + 1 < length; i += 2)
    std::swap(buffer[i], buffer[i + 1]);
}
