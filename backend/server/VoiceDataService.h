#pragma once

#include "VoiceSharedMemory.h"

#include <QByteArrayList>
#include <QDBusConnection>
#include <QObject>

// The voice-data service the program reaches as "qcontrollerosxproxy": it maps the two blocks
// the program created and paces the transfer. The simulated far end echoes: every microphone
// frame announced with writeVoiceData comes back, in order, through readVoiceData.
class VoiceDataService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.qel.VoiceDataTransferProto")
public:
  // About one second of audio waits at most; older frames are dropped.
  static constexpr int kMaxQueuedFrames = 50;

  explicit VoiceDataService(QString backendBusName, QObject *parent = nullptr);
  bool registerOn(QDBusConnection &connection);

  bool isPrepared() const { return blocks_.waveIn.isMapped() && blocks_.waveOut.isMapped(); }
  // Frames taken from the program (its microphone) and handed to it (the far end) since start.
  int framesIn() const { return framesIn_; }
  int framesOut() const { return framesOut_; }
  // The process's service, for the simulator's control; null when none is offered.
  static VoiceDataService *instance();
  ~VoiceDataService() override;

public slots:
  // 1 when both blocks are mapped, else 0.
  Q_SCRIPTABLE int prepareVoiceTransfer();
  // The bytes now in the in-block (at most 320), 0 when nothing waits.
  Q_SCRIPTABLE int readVoiceData();
  // Takes `length` bytes (at most 320) from the out-block; answers the bytes taken.
  Q_SCRIPTABLE int writeVoiceData(int length);
  Q_SCRIPTABLE int stopVoiceTransfer();

private:
  struct Blocks {
    VoiceBlocks::SharedBlock waveIn;
    VoiceBlocks::SharedBlock waveOut;
  };

  QString backendBusName_;
  Blocks blocks_;
  QByteArrayList pending_;
  int framesIn_ = 0;
  int framesOut_ = 0;
};
