#pragma once

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

// The stream layout of one captured chunk, as the capture device delivers it.
struct AudioStreamDesc {
  static constexpr quint32 kLinearPCM = 0x6C70636D; // 'lpcm'
  double sampleRate = 8000.0;
  quint32 formatId = kLinearPCM;
  int bytesPerPacket = 2;
  int framesPerPacket = 1;
  int bytesPerFrame = 2;
  int channelsPerFrame = 1;
  int bitsPerChannel = 16;
  bool isFloat = false; // 32-bit float samples (-1.0 .. 1.0) instead of integers
};

// The first channel of each frame as 16-bit little-endian samples: the sample itself for 16-bit
// input, the two most significant bytes for wider integers, and float samples by value (clamped
// to -1.0 .. 1.0, scaled to 16 bits, rounded). Empty for anything else (8-bit, not linear PCM, no
// data).
QByteArray SwapHostAudioToLittleEndian(const char *data, int length, const AudioStreamDesc &desc);
// A RIFF/WAVE image (44-byte header) of `pcm`; empty for an empty buffer or a format that is not
// linear PCM.
QByteArray CreateWaveAudio(const QByteArray &pcm, const AudioStreamDesc &desc);
// Writes CreateWaveAudio's image to `path` through the atomic file writer: 0 on success, -1 otherwise.
int SaveWaveAudio(const QString &path, const QByteArray &pcm, const AudioStreamDesc &desc);

// Where captured sound comes from. The default reads the system's default input through
// QAudioSource; tests install their own.
class AudioCaptureSource {
public:
  virtual ~AudioCaptureSource() = default;
  virtual bool start() = 0;
  virtual void stop() = 0;
  // Everything captured since the last call.
  virtual QByteArray readAll() = 0;
  virtual AudioStreamDesc format() const = 0;
};

// Brings 16-bit mono sound of a higher rate down to 8000 Hz, chunk after chunk: each output
// sample is the mean of the input samples of its period, so a tone keeps its frequency and what
// lies above 4 kHz is damped. Sound at 8000 Hz or below passes unchanged.
class RateDecimator {
public:
  static constexpr double kTargetRate = 8000.0;
  QByteArray process(const QByteArray &pcm, double sampleRate);

private:
  double rate_ = 0;
  double position_ = 0; // input samples into the current period
  qint64 sum_ = 0;
  int count_ = 0;
};

// Names an effect component: its type ('aufx' for effects), subtype and maker; a zero subtype or
// maker matches any.
struct AudioComponentDescription {
  quint32 componentType = 0;
  quint32 componentSubType = 0;
  quint32 componentManufacturer = 0;
};

// An effect on the captured sound before the channel keeps it. Units run in the order they were
// inserted, each on what the one before it gave.
class AudioEffectUnit {
public:
  static constexpr quint32 kEffectType = 0x61756678; // 'aufx'
  virtual ~AudioEffectUnit() = default;
  // Before the first chunk and after every change of the device's format; false takes the unit
  // out of the chain.
  virtual bool initialize(const AudioStreamDesc &format, int maximumFramesPerSlice) = 0;
  // Works in place on one chunk in the format given to initialize.
  virtual void render(QByteArray &chunk) = 0;
};

// The effect components the program knows (nothing registers one in the call path). Opening
// answers a new unit of the first registered component that matches, or null.
namespace AudioEffectComponents {
using Factory = std::function<std::unique_ptr<AudioEffectUnit>()>;
void registerComponent(const AudioComponentDescription &description, Factory factory);
void unregisterAll();
std::unique_ptr<AudioEffectUnit> open(const AudioComponentDescription &description);
} // namespace AudioEffectComponents

class SeqGrab;

// One channel of the grabber.
class SGChan {
public:
  explicit SGChan(SeqGrab *grabber) : mSG(grabber) {}
  virtual ~SGChan() = default;
  virtual bool isAudio() const { return false; }
  virtual bool start() = 0;
  virtual void stop() = 0;
  // One idle pass: deliver what the device has to the data procedure.
  virtual void idle() = 0;
  // One idle pass while paused: what the device has is dropped, so a resume starts afresh.
  virtual void drain() {}
  SeqGrab *seqGrab() const { return mSG; }

protected:
  SeqGrab *mSG;
};

// A sound channel: converts what the device delivers to 16-bit samples and keeps them for
// polling. Chunks arrive on the grabber's thread; readData may run on any other.
class SGAudio : public SGChan {
public:
  using SourceFactory = std::function<std::unique_ptr<AudioCaptureSource>()>;

  // Sound left after a read: 100 ms at 8 kHz. A slow reader loses the oldest sound.
  static constexpr int kMaxKeptBytes = 1600;

  // Null when there is no input device (or the factory makes no source).
  static std::unique_ptr<SGAudio> create(SeqGrab *grabber);
  // Replaces how sources are made (tests); an empty factory restores the default input.
  static void setSourceFactory(SourceFactory factory);

  SGAudio(SeqGrab *grabber, std::unique_ptr<AudioCaptureSource> source);
  bool isAudio() const override { return true; }
  bool start() override;
  void stop() override;
  void idle() override;
  void drain() override;

  // The data procedure's sound branch: stores a chunk of linear PCM with a fixed packet size.
  int analyzeData(const QByteArray &chunk, const AudioStreamDesc &desc);
  int setData(const char *data, int length, const AudioStreamDesc &desc);
  // Copies at most `bufferSize` bytes from the front; answers the count (0 when nothing is
  // stored, `type` then untouched).
  int readData(char *buffer, int bufferSize, quint32 *type);
  int storedBytes() const;
  // The first free "FRAMESFILE<n>" path (n counted from 0) in `folder`, by default a folder of
  // captured frames on the user's desktop.
  static QString assignAudioFramesFilePath(const QString &folder = QString());

  // The effect chain, at most six units. Inserting accepts effect components only and answers
  // the new unit (owned by the channel) or null; removing answers whether the unit was there.
  static constexpr int kMaxFXUnits = 6;
  AudioEffectUnit *insertAUFXUnit(const AudioComponentDescription &description);
  bool removeAUFXUnit(AudioEffectUnit *unit);
  QList<AudioEffectUnit *> fxUnits() const;
  int fxUnitsCount() const;

private:
  // Runs the chunk through the chain, first setting every unit up when the chain or the device's
  // format changed; a unit that cannot be set up leaves the chain.
  void renderEffects(QByteArray &chunk, const AudioStreamDesc &desc);

  mutable QMutex fxLock_; // the chain changes on any thread; chunks run through it on the grabber's
  std::vector<std::unique_ptr<AudioEffectUnit>> mFXUnits;
  bool mDoInitFXUnits = true;
  AudioStreamDesc fxFormat_;
  std::unique_ptr<AudioCaptureSource> source_;
  mutable QMutex mLock;
  QByteArray mSavedData;
  RateDecimator decimator_; // used on the grabber's thread only
  quint32 mType = 0;
  AudioStreamDesc masbd;
};

// The grabber: its channels and the idle timer that drives them on the thread that starts a mode.
class SeqGrab : public QObject {
  Q_OBJECT
public:
  explicit SeqGrab(quint32 idlesPerSecond = 0, QObject *parent = nullptr);
  ~SeqGrab() override;

  // Makes a sound channel on the default input; null (and nothing changed) without a device.
  SGAudio *addAudioChannel();
  void removeFirstAudioChannel();
  SGAudio *audioChannel() const;
  int channelCount() const { return int(mChans.size()); }

  // Modes: stopped, previewing or recording; each of preview and record leaves the other first.
  // Recording delivers the channels' sound as a preview does and also keeps it for the capture
  // file (setCapturePath); the mode ends by itself after the maximum record time.
  int preview();
  int record();
  int stop();
  // Pausing holds the delivery of sound (what arrives meanwhile is dropped); only while a mode runs.
  int pause();
  int resume();
  bool isPreviewing() const { return mPreviewing; }
  bool isRecording() const { return mRecording; }
  bool isStopped() const { return !mPreviewing && !mRecording; }
  bool isPaused() const { return !isStopped() && mPaused; }
  // Idle passes a second: the set frequency, or 50 for sound only (30 with a video channel).
  int idleFrequency() const;
  // The longest recording, in seconds; kept in ticks of 1/60 s (seconds x 60 + 0.5, the fraction
  // dropped, within 0 .. 2^32 - 1). 0: no limit.
  void setMaxRecordTime(double seconds);
  quint32 maxRecordTicks() const { return mMaxRecordTicks; }
  // One idle pass, as the timer makes it (tests call it directly).
  void idleTimer();

  // Where a recording keeps its sound: a WAV file of 8 kHz 16-bit mono, written when the
  // recording stops (the sound-only form of a movie). Flags: kDontMakeMovie, no file;
  // kAppend, the sound goes after what the file holds; kDontPreAllocate without either of those,
  // an existing file is removed and kAppend added. A preview makes no file and puts the path and
  // flags back when it stops. An empty path makes no file.
  static constexpr quint32 kAppend = 8;
  static constexpr quint32 kDontMakeMovie = 32;
  static constexpr quint32 kDontPreAllocate = 512;
  int setCapturePath(const QString &path, quint32 flags);
  QString capturePath() const { return mCapturePath; }
  quint32 captureFlags() const { return mCaptureFlags; }
  // A sound channel hands over what it keeps while a recording makes a file (grabber's thread).
  void captureSound(const QByteArray &pcm);

  // Posted on the default notification centre with userInfo {"SeqGrabChannelKey": the grabber}.
  static constexpr const char *kChannelAdded = "SeqGrabChannelAddedNotification";
  static constexpr const char *kChannelRemoved = "SeqGrabChannelRemovedNotification";

private:
  int startMode(bool recording);
  void writeCaptureFile();

  std::vector<std::unique_ptr<SGChan>> mChans;
  quint32 mIdlesPerSecond;
  bool mPreviewing = false;
  bool mRecording = false;
  bool mPaused = false;
  quint32 mMaxRecordTicks = 0;
  quint64 mRecordedIdles = 0; // unpaused idle passes of the running recording
  QString mCapturePath;
  quint32 mCaptureFlags = 0;
  QString mSavedCapturePath; // the path and flags a preview put aside
  quint32 mSavedCaptureFlags = 0;
  QByteArray mMovieSound; // the running recording's sound, for its file
  QTimer idleTimer_;
};
