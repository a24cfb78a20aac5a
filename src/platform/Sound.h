#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// Decoded contents of a WAV file: interleaved little-endian PCM frames.
struct WavAudio {
  enum class Sample { UInt8, Int16, Int32, Float };
  int sampleRate = 0;
  int channels = 0;
  Sample sample = Sample::Int16;
  QByteArray pcm;

  int bytesPerFrame() const;
  // Playing time in milliseconds.
  qint64 durationMs() const;
};

// Reads a RIFF/WAVE image. Refuses anything but uncompressed 8, 16 or 32-bit integer PCM and
// 32-bit float; a data chunk that claims more bytes than the image holds is cut to what is there
// (truncated files are common), rounded down to whole frames.
std::optional<WavAudio> parseWav(const QByteArray &bytes);

// Where decoded audio goes. The default writes to the system's default output through
// QAudioSink; tests install their own.
class AudioOutput {
public:
  virtual ~AudioOutput() = default;
  // False when the audio cannot be played (no device, unsupported format).
  virtual bool start(const WavAudio &audio) = 0;
  virtual void stop() = 0;
  // True while audio is still being played; a failed start counts as finished at once.
  virtual bool isActive() const = 0;
};

// A sound read from a WAV file, played on the default output. With no audio device the sound
// fails to start and simply counts as finished, so callers never wait on silence.
class Sound {
public:
  using OutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

  // Files above this size are refused without being read.
  static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

  // Null when the file cannot be read or is no playable WAV.
  static std::unique_ptr<Sound> fromFile(const QString &path);
  explicit Sound(WavAudio audio);
  ~Sound();

  bool play();
  void stop();
  bool isPlaying() const;
  const WavAudio &audio() const { return audio_; }

  // Replaces how outputs are made (tests); an empty factory restores the QAudioSink output.
  static void setOutputFactory(OutputFactory factory);

private:
  WavAudio audio_;
  std::unique_ptr<AudioOutput> output_;
};
