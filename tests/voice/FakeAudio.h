#pragma once
// Audio devices for tests: a microphone and a playback that need no sound hardware.
#include "CallAudioPath.h"
#include "SeqGrab.h"
#include "Sound.h"

#include <QList>
#include <QMutex>
#include <QtEndian>

// A microphone that delivers one 20 ms frame per idle pass; every sample holds its frame's number,
// so what comes back can be traced to the frames sent.
class FakeMicrophone : public AudioCaptureSource {
public:
  bool start() override { return started = true; }
  void stop() override { started = false; }
  QByteArray readAll() override {
    QByteArray frame(CallAudioPath::kFrameBytes, '\0');
    for (int i = 0; i < frame.size(); i += 2)
      qToLittleEndian<quint16>(quint16(next), frame.data() + i);
    ++next;
    return frame;
  }
  AudioStreamDesc format() const override { return {}; }
  bool started = false;
  int next = 1;
};

// Playback that keeps what it was given; started from the call audio thread.
struct PlayedAudio {
  QMutex lock;
  QList<QByteArray> pcm;
  int count() {
    QMutexLocker l(&lock);
    return int(pcm.size());
  }
};

class RecordingOutput : public AudioOutput {
public:
  explicit RecordingOutput(PlayedAudio *played) : played_(played) {}
  bool start(const WavAudio &audio) override {
    QMutexLocker l(&played_->lock);
    played_->pcm << audio.pcm;
    return true;
  }
  void stop() override {}
  bool isActive() const override { return false; }

private:
  PlayedAudio *played_;
};
