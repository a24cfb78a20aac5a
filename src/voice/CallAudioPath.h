#pragma once

#include "SeqGrab.h"
#include "VoiceSharedMemory.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

class SharedDistantConnection;
class Sound;
class QTimer;

// A call's audio: microphone frames from the sequence grabber go into the WaveOut block and are
// announced to the backend; far-end frames are fetched into the WaveIn block, gathered into half
// a second and played from "SWAP.wav". Two 20 ms timers on a worker thread drive both directions;
// start and stop run on the main thread and wait for the worker, so no tick runs once stop
// returns and the channel and the blocks are gone.
class CallAudioPath {
public:
  static constexpr int kFrameBytes = VoiceBlocks::kBlockSize;
  static constexpr int kTickMs = 20;
  static constexpr int kVoicePlayBytes = 8000; // half a second of 8 kHz 16-bit sound
  static constexpr int kVideoPlayBytes = 16000;
  static constexpr const char *kSwapFileName = "SWAP.wav";

  // `folder` receives the played file; `link` is the voice-data service (not owned).
  CallAudioPath(SharedDistantConnection *link, QString backendBusName, QString folder);
  ~CallAudioPath();
  CallAudioPath(const CallAudioPath &) = delete;
  CallAudioPath &operator=(const CallAudioPath &) = delete;

  // Nothing when already running. False when no audio channel could be made: the call goes on
  // without capture (the caller tells the user).
  bool start();
  // Nothing when not running. The transfer is stopped only while the device is online.
  void stop(bool deviceOnline);
  bool isRunning() const { return running_; }

  void setMicrophoneMuted(bool muted) { muted_ = muted; }
  void setVideoCall(bool video) { video_ = video; }
  bool blocksMapped() const { return blocks_.isMapped(); }
  bool hasAudioChannel() const { return grabber_.audioChannel() != nullptr; }
  const VoiceBlocks::BlockPair &blocks() const { return blocks_; }
  QString swapFilePath() const;

  // The steps of one tick, run by the worker's timers (public for tests).
  void grabData();
  void writeVoiceDataOverUsb(const char *bytes, int length);
  void readVoiceDataOverUsb();
  void saveRemoteAudioData(const QByteArray &bytes);
  int savedBytes() const { return int(m_savedData.size()); }

  // Swaps the two bytes of each 16-bit sample; `length` in bytes, an odd last byte stays.
  static void swapInt16Buffer(char *buffer, int length);
  // Stops the transfer and removes both blocks.
  void reclaimVoiceTransferResources();

private:
  void startWaveTimer();
  void startWaveInTimer();
  void destroyWaveTimer();
  void onWorker(const std::function<void()> &work);

  SharedDistantConnection *serverProto_;
  QString backendBusName_;
  QString folder_;
  VoiceBlocks::BlockPair blocks_;
  SeqGrab grabber_{50};
  SGAudio *m_audioChannel = nullptr;
  std::atomic<bool> running_{false};
  std::atomic<bool> muted_{false};
  std::atomic<bool> video_{false};
  QByteArray m_pcmOutBuffer;
  QByteArray m_savedData;
  std::unique_ptr<Sound> player_;

  QThread thread_;
  QObject *worker_ = nullptr; // lives on thread_; owns the timers
  QTimer *m_waveTimer = nullptr;
  QTimer *m_waveOutTimer = nullptr;
};
