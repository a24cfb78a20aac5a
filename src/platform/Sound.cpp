#include "Sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QMediaDevices>
#include <QtEndian>
#include <cstring>

namespace {

quint32 le32(const char *p) {
  return qFromLittleEndian<quint32>(p);
}
quint16 le16(const char *p) {
  return qFromLittleEndian<quint16>(p);
}

int bytesPerSample(WavAudio::Sample s) {
  switch (s) {
  case WavAudio::Sample::UInt8:
    return 1;
  case WavAudio::Sample::Int16:
    return 2;
  case WavAudio::Sample::Int32:
  case WavAudio::Sample::Float:
    return 4;
  }
  return 2;
}

QAudioFormat::SampleFormat qtSampleFormat(WavAudio::Sample s) {
  switch (s) {
  case WavAudio::Sample::UInt8:
    return QAudioFormat::UInt8;
  case WavAudio::Sample::Int16:
    return QAudioFormat::Int16;
  case WavAudio::Sample::Int32:
    return QAudioFormat::Int32;
  case WavAudio::Sample::Float:
    return QAudioFormat::Float;
  }
  return QAudioFormat::Int16;
}

// The system's default output. The sink reads from a buffer that this object owns.
class SinkOutput : public AudioOutput {
public:
  ~SinkOutput() override { stop(); }

  bool start(const WavAudio &audio) override {
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
      return false;
    QAudioFormat format;
    format.setSampleRate(audio.sampleRate);
    format.setChannelCount(audio.channels);
    format.setSampleFormat(qtSampleFormat(audio.sample));
    if (!device.isFormatSupported(format)) {
      qWarning() << "Sound: the output device does not take" << audio.sampleRate << "Hz," << audio.channels
                 << "channels";
      return false;
    }
    data_ = audio.pcm;
    buffer_ = std::make_unique<QBuffer>(&data_);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->start(buffer_.get());
    if (sink_->error() != QAudio::NoError) {
      stop();
      return false;
    }
    return true;
  }

  void stop() override {
    if (sink_)
      sink_->stop();
    sink_.reset();
    buffer_.reset();
  }

  bool isActive() const override {
    if (!sink_ || sink_->error() != QAudio::NoError)
      return false;
    // Idle with the whole buffer handed over means the sound has ended.
    if (sink_->state() == QAudio::StoppedState)
      return false;
    return !(sink_->state() == QAudio::IdleState && buffer_ && buffer_->atEnd());
  }

private:
  QByteArray data_;
  std::unique_ptr<QBuffer> buffer_;
  std::unique_ptr<QAudioSink> sink_;
};

Sound::OutputFactory &factorySlot() {
  static Sound::OutputFactory factory;
  return factory;
}

} // namespace

int WavAudio::bytesPerFrame() const {
  return bytesPerSample(sample) * channels;
}

qint64 WavAudio::durationMs() const {
  const int frame = bytesPerFrame();
  if (frame <= 0 || sampleRate <= 0)
    return 0;
  return qint64(pcm.size() / frame) * 1000 / sampleRate;
}

std::optional<WavAudio> parseWav(const QByteArray &bytes) {
  const char *d = bytes.constData();
  const qsizetype n = bytes.size();
  if (n < 12 || memcmp(d, "RIFF", 4) != 0 || memcmp(d + 8, "WAVE", 4) != 0)
    return std::nullopt;

  bool haveFormat = false;
  WavAudio audio;
  int bits = 0;
  qsizetype pos = 12;
  while (pos + 8 <= n) {
    const char *chunk = d + pos;
    const qint64 size = le32(chunk + 4);
    const qsizetype body = pos + 8;
    const qsizetype available = n - body;
    if (memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16 || available < 16)
        return std::nullopt;
      quint16 tag = le16(d + body);
      audio.channels = le16(d + body + 2);
      const quint32 rate = le32(d + body + 4);
      bits = le16(d + body + 14);
      // WAVE_FORMAT_EXTENSIBLE carries the real format in the first two bytes of its GUID.
      if (tag == 0xFFFE) {
        if (size < 40 || available < 26)
          return std::nullopt;
        tag = le16(d + body + 24);
      }
      if (audio.channels < 1 || audio.channels > 8 || rate < 1000 || rate > 384000)
        return std::nullopt;
      audio.sampleRate = int(rate);
      if (tag == 1 && bits == 8)
        audio.sample = WavAudio::Sample::UInt8;
      else if (tag == 1 && bits == 16)
        audio.sample = WavAudio::Sample::Int16;
      else if (tag == 1 && bits == 32)
        audio.sample = WavAudio::Sample::Int32;
      else if (tag == 3 && bits == 32)
        audio.sample = WavAudio::Sample::Float;
      else
        return std::nullopt;
      haveFormat = true;
    } else if (memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat)
        return std::nullopt;
      const qsizetype take = qsizetype(qMin<qint64>(size, available));
      const int frame = audio.bytesPerFrame();
      audio.pcm = bytes.mid(body, take - take % frame);
      return audio;
    }
    // Chunks are padded to an even size.
    const qint64 advance = size + (size & 1);
    if (advance > available)
      break;
    pos = body + qsizetype(advance);
  }
  return std::nullopt;
}

std::unique_ptr<Sound> Sound::fromFile(const QString &path) {
  if (path.isEmpty())
    return nullptr;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
    return nullptr;
  auto audio = parseWav(file.read(kMaxFileBytes));
  if (!audio)
    return nullptr;
  return std::make_unique<Sound>(std::move(*audio));
}

Sound::Sound(WavAudio audio) : audio_(std::move(audio)) {}

Sound::~Sound() {
  stop();
}

bool Sound::play() {
  stop();
  output_ = factorySlot() ? factorySlot()() : std::make_unique<SinkOutput>();
  if (!output_ || !output_->start(audio_)) {
    output_.reset();
    return false;
  }
  return true;
}

void Sound::stop() {
  if (output_)
    output_->stop();
  output_.reset();
}

bool Sound::isPlaying() const {
  return output_ && output_->isActive();
}

void Sound::setOutputFactory(OutputFactory factory) {
  factorySlot() = std::move(factory);
}
