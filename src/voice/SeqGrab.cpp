#include "SeqGrab.h"

#include "DeviceVolume.h"
#include "NotificationCenter.h"
#include "QelFileManager.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QMediaDevices>
#include <QMutexLocker>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

// ---- plain functions ----

QByteArray SwapHostAudioToLittleEndian(const char *data, int length, const AudioStreamDesc &desc) {
  if (!data || length < 1 || desc.formatId != AudioStreamDesc::kLinearPCM)
    return {};
  const int sampleBytes = desc.bitsPerChannel / 8;
  const int stride = desc.bytesPerFrame;
  if (sampleBytes < 2 || stride < sampleBytes)
    return {};
  if (desc.isFloat && sampleBytes != 4)
    return {};
  const int frames = length / stride;
  QByteArray out(frames * 2, '\0');
  for (int i = 0; i < frames; ++i) {
    const char *sample = data + i * stride;
    if (desc.isFloat) {
      // A float's top bytes are its exponent, not a sample: convert the value.
      const float value = qFromLittleEndian<float>(sample);
      const float clamped = std::isnan(value) ? 0.0f : std::clamp(value, -1.0f, 1.0f);
      qToLittleEndian<qint16>(qint16(std::lround(clamped * 32767.0f)), out.data() + 2 * i);
      continue;
    }
    // Integer samples arrive little-endian; the two most significant bytes keep their order.
    out[2 * i] = sample[sampleBytes - 2];
    out[2 * i + 1] = sample[sampleBytes - 1];
  }
  return out;
}

QByteArray RateDecimator::process(const QByteArray &pcm, double sampleRate) {
  if (sampleRate <= kTargetRate || !std::isfinite(sampleRate))
    return pcm;
  if (sampleRate != rate_) {
    rate_ = sampleRate;
    position_ = 0;
    sum_ = 0;
    count_ = 0;
  }
  const double period = sampleRate / kTargetRate;
  QByteArray out;
  out.reserve(qsizetype(double(pcm.size()) / period) + 2);
  for (qsizetype i = 0; i + 1 < pcm.size(); i += 2) {
    sum_ += qFromLittleEndian<qint16>(pcm.constData() + i);
    ++count_;
    position_ += 1.0;
    if (position_ >= period) {
      char b[2];
      qToLittleEndian<qint16>(qint16(sum_ / count_), b);
      out.append(b, 2);
      position_ -= period;
      sum_ = 0;
      count_ = 0;
    }
  }
  return out;
}

QByteArray CreateWaveAudio(const QByteArray &pcm, const AudioStreamDesc &desc) {
  if (pcm.isEmpty() || desc.formatId != AudioStreamDesc::kLinearPCM)
    return {};
  const quint32 rate = quint32(desc.sampleRate);
  const quint16 channels = quint16(desc.channelsPerFrame);
  const quint16 bits = quint16(desc.bitsPerChannel);
  const quint16 blockAlign = quint16(desc.bytesPerFrame);
  QByteArray out(44, '\0');
  char *h = out.data();
  auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, h + at); };
  auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, h + at); };
  std::memcpy(h, "RIFF", 4);
  put32(4, quint32(36 + pcm.size()));
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);
  put16(22, channels);
  put32(24, rate);
  put32(28, rate * blockAlign);
  put16(32, blockAlign);
  put16(34, bits);
  std::memcpy(h + 36, "data", 4);
  put32(40, quint32(pcm.size()));
  out += pcm;
  return out;
}

int SaveWaveAudio(const QString &path, const QByteArray &pcm, const AudioStreamDesc &desc) {
  const QByteArray image = CreateWaveAudio(pcm, desc);
  if (image.isEmpty())
    return -1;
  return QelFileManager::writeToFile(path, image) ? 0 : -1;
}

// ---- the default input ----

namespace {

class DefaultInputSource : public AudioCaptureSource {
public:
  explicit DefaultInputSource(const QAudioDevice &device) : device_(device) {
    format_.setSampleRate(8000);
    format_.setChannelCount(1);
    format_.setSampleFormat(QAudioFormat::Int16);
    if (!device_.isFormatSupported(format_))
      format_ = device_.preferredFormat();
  }
  bool start() override {
    source_ = std::make_unique<QAudioSource>(device_, format_);
    io_ = source_->start();
    return io_ != nullptr;
  }
  void stop() override {
    if (source_)
      source_->stop();
    io_ = nullptr;
    source_.reset();
  }
  QByteArray readAll() override { return io_ ? io_->readAll() : QByteArray(); }
  AudioStreamDesc format() const override {
    AudioStreamDesc d;
    d.sampleRate = format_.sampleRate();
    d.channelsPerFrame = format_.channelCount();
    d.bytesPerFrame = format_.bytesPerFrame();
    d.bytesPerPacket = d.bytesPerFrame;
    d.bitsPerChannel = format_.bytesPerSample() * 8;
    d.isFloat = format_.sampleFormat() == QAudioFormat::Float;
    return d;
  }

private:
  QAudioDevice device_;
  QAudioFormat format_;
  std::unique_ptr<QAudioSource> source_;
  QIODevice *io_ = nullptr;
};

SGAudio::SourceFactory &sourceFactory() {
  static SGAudio::SourceFactory factory;
  return factory;
}

} // namespace

// ---- SGAudio ----

void SGAudio::setSourceFactory(SourceFactory factory) {
  sourceFactory() = std::move(factory);
}

std::unique_ptr<SGAudio> SGAudio::create(SeqGrab *grabber) {
  if (!grabber)
    return nullptr;
  std::unique_ptr<AudioCaptureSource> source;
  if (sourceFactory()) {
    source = sourceFactory()();
  } else {
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (!device.isNull())
      source = std::make_unique<DefaultInputSource>(device);
  }
  if (!source)
    return nullptr;
  return std::make_unique<SGAudio>(grabber, std::move(source));
}

SGAudio::SGAudio(SeqGrab *grabber, std::unique_ptr<AudioCaptureSource> source)
    : SGChan(grabber), source_(std::move(source)) {}

bool SGAudio::start() {
  return source_->start();
}

void SGAudio::stop() {
  source_->stop();
}

void SGAudio::idle() {
  QByteArray chunk = source_->readAll();
  if (chunk.isEmpty())
    return;
  const AudioStreamDesc desc = source_->format();
  renderEffects(chunk, desc);
  analyzeData(chunk, desc);
}

void SGAudio::drain() {
  source_->readAll();
}

int SGAudio::analyzeData(const QByteArray &chunk, const AudioStreamDesc &desc) {
  {
    QMutexLocker lock(&mLock);
    mType = desc.formatId;
  }
  // Variable-size packets cannot be cut into samples.
  if (desc.bytesPerPacket == 0)
    return 0;
  return setData(chunk.constData(), int(chunk.size()), desc);
}

int SGAudio::setData(const char *data, int length, const AudioStreamDesc &desc) {
  if (!data || length < 1 || desc.formatId != AudioStreamDesc::kLinearPCM || desc.bytesPerPacket <= 0)
    return -1;
  masbd = desc;
  // The input volume is the capture's own: it scales the samples the call sends.
  // A device that refused 8 kHz delivers its own rate, brought down here.
  const QByteArray converted = DeviceVolume::scaled16(
      decimator_.process(SwapHostAudioToLittleEndian(data, length, desc), desc.sampleRate), DeviceVolume::inputLevel());
  if (mSG)
    mSG->captureSound(converted);
  QMutexLocker lock(&mLock);
  mSavedData += converted;
  return int(converted.size());
}

int SGAudio::readData(char *buffer, int bufferSize, quint32 *type) {
  QMutexLocker lock(&mLock);
  if (mSavedData.isEmpty() || !buffer || bufferSize <= 0)
    return 0;
  const int n = std::min(int(mSavedData.size()), bufferSize);
  std::memcpy(buffer, mSavedData.constData(), size_t(n));
  if (type)
    *type = mType;
  const qsizetype rest = mSavedData.size() - n;
  mSavedData = rest > kMaxKeptBytes ? mSavedData.right(kMaxKeptBytes) : mSavedData.mid(n);
  return n;
}

int SGAudio::storedBytes() const {
  QMutexLocker lock(&mLock);
  return int(mSavedData.size());
}

// ---- SeqGrab ----

SeqGrab::SeqGrab(quint32 idlesPerSecond, QObject *parent) : QObject(parent), mIdlesPerSecond(idlesPerSecond) {
  idleTimer_.setTimerType(Qt::PreciseTimer);
  connect(&idleTimer_, &QTimer::timeout, this, &SeqGrab::idleTimer);
}

SeqGrab::~SeqGrab() {
  stop();
}

SGAudio *SeqGrab::addAudioChannel() {
  stop();
  std::unique_ptr<SGAudio> channel = SGAudio::create(this);
  if (!channel)
    return nullptr;
  SGAudio *raw = channel.get();
  mChans.push_back(std::move(channel));
  NotificationCenter::defaultCenter().postNotificationName(
      QString::fromLatin1(kChannelAdded), this,
      {{QStringLiteral("SeqGrabChannelKey"), QVariant::fromValue<QObject *>(this)}});
  return raw;
}

void SeqGrab::removeFirstAudioChannel() {
  stop();
  for (auto it = mChans.begin(); it != mChans.end(); ++it)
    if ((*it)->isAudio()) {
      mChans.erase(it);
      NotificationCenter::defaultCenter().postNotificationName(
          QString::fromLatin1(kChannelRemoved), this,
          {{QStringLiteral("SeqGrabChannelKey"), QVariant::fromValue<QObject *>(this)}});
      return;
    }
}

SGAudio *SeqGrab::audioChannel() const {
  for (const auto &chan : mChans)
    if (chan->isAudio())
      return static_cast<SGAudio *>(chan.get());
  return nullptr;
}

int SeqGrab::idleFrequency() const {
  if (mIdlesPerSecond)
    return int(mIdlesPerSecond);
  for (const auto &chan : mChans)
    if (!chan->isAudio())
      return 30;
  return 50;
}

int SeqGrab::startMode(bool recording) {
  for (const auto &chan : mChans)
    if (!chan->start())
      qWarning("SeqGrab.cpp:%d:%s ### Err %ld", __LINE__, recording ? "record" : "preview", -1L);
  (recording ? mRecording : mPreviewing) = true;
  mPaused = false;
  mRecordedIdles = 0;
  idleTimer_.start(1000 / idleFrequency());
  return 0;
}

int SeqGrab::preview() {
  if (mPreviewing)
    return 0;
  stop();
  // A preview is a recording that makes no file.
  mSavedCapturePath = mCapturePath;
  mSavedCaptureFlags = mCaptureFlags;
  mCapturePath.clear();
  mCaptureFlags = kDontMakeMovie;
  return startMode(false);
}

int SeqGrab::record() {
  if (mRecording)
    return 0;
  stop();
  return startMode(true);
}

int SeqGrab::stop() {
  if (isStopped())
    return 0;
  idleTimer_.stop();
  for (const auto &chan : mChans)
    chan->stop();
  if (mRecording)
    writeCaptureFile();
  if (mPreviewing) {
    mCapturePath = mSavedCapturePath;
    mCaptureFlags = mSavedCaptureFlags;
  }
  mMovieSound.clear();
  mPreviewing = false;
  mRecording = false;
  mPaused = false;
  return 0;
}

int SeqGrab::pause() {
  if (!isStopped())
    mPaused = true;
  return 0;
}

int SeqGrab::resume() {
  if (!isStopped())
    mPaused = false;
  return 0;
}

int SeqGrab::setCapturePath(const QString &path, quint32 flags) {
  if (!path.isEmpty() && !(flags & (kDontMakeMovie | kAppend)) && (flags & kDontPreAllocate)) {
    if (QFileInfo(path).size() > 0)
      QFile::remove(path);
    flags |= kAppend;
  }
  mCapturePath = path;
  mCaptureFlags = flags;
  return 0;
}

void SeqGrab::captureSound(const QByteArray &pcm) {
  if (mRecording && !mCapturePath.isEmpty() && !(mCaptureFlags & kDontMakeMovie))
    mMovieSound += pcm;
}

void SeqGrab::writeCaptureFile() {
  if (mCapturePath.isEmpty() || (mCaptureFlags & kDontMakeMovie))
    return;
  QByteArray sound;
  if (mCaptureFlags & kAppend) {
    // Only a file of our own layout is continued; anything else is replaced.
    QFile old(mCapturePath);
    if (old.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = old.readAll();
      if (bytes.size() >= 44 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE")
        sound = bytes.mid(44);
    }
  }
  sound += mMovieSound;
  if (sound.isEmpty())
    return;
  if (SaveWaveAudio(mCapturePath, sound, AudioStreamDesc()) != 0)
    qWarning() << "SeqGrab: the recording could not be written to" << mCapturePath;
}

void SeqGrab::setMaxRecordTime(double seconds) {
  const double ticks = std::floor(seconds * 60.0 + 0.5);
  mMaxRecordTicks = std::isnan(ticks) ? 0 : quint32(std::clamp(ticks, 0.0, 4294967295.0));
}

void SeqGrab::idleTimer() {
  if (isStopped())
    return;
  for (const auto &chan : mChans) {
    if (mPaused)
      chan->drain();
    else
      chan->idle();
  }
  if (!mRecording || mPaused || mMaxRecordTicks == 0)
    return;
  // The recorded time in ticks of 1/60 s, counted in idle passes.
  ++mRecordedIdles;
  if (mRecordedIdles * 60 >= quint64(mMaxRecordTicks) * quint64(idleFrequency()))
    stop();
}
