#include "VoiceDataService.h"

#include <QDebug>

namespace {
VoiceDataService *current = nullptr;
} // namespace

VoiceDataService::VoiceDataService(QString backendBusName, QObject *parent)
    : QObject(parent), backendBusName_(std::move(backendBusName)) {
  current = this;
}

VoiceDataService::~VoiceDataService() {
  if (current == this)
    current = nullptr;
}

VoiceDataService *VoiceDataService::instance() {
  return current;
}

bool VoiceDataService::registerOn(QDBusConnection &connection) {
  return connection.registerObject(QLatin1Char('/') + QLatin1String(VoiceService::kServiceName), this,
                                   QDBusConnection::ExportScriptableSlots);
}

int VoiceDataService::prepareVoiceTransfer() {
  pending_.clear();
  const bool in = blocks_.waveIn.attach(VoiceBlocks::blockName(VoiceBlocks::kWaveInSharedMemory, backendBusName_));
  const bool out = blocks_.waveOut.attach(VoiceBlocks::blockName(VoiceBlocks::kWaveOutSharedMemory, backendBusName_));
  if (!in || !out) {
    qWarning() << "vArivevorer: the voice blocks are not there";
    blocks_.waveIn.close();
    blocks_.waveOut.close();
    return 0;
  }
  return 1;
}

int VoiceDataService::writeVoiceData(int length) {
  if (!isPrepared() || length <= 0)
    return 0;
  const QByteArray frame = blocks_.waveOut.read(length);
  if (pending_.size() >= kMaxQueuedFrames)
    pending_.removeFirst();
  pending_.append(frame);
  ++framesIn_;
  return static_cast<int>(frame.size());
}

int VoiceDataService::readVoiceData() {
  if (!isPrepared() || pending_.isEmpty())
    return 0;
  const QByteArray frame = pending_.takeFirst();
  ++framesOut_;
  return blocks_.waveIn.write(frame.constData(), static_cast<int>(frame.size()));
}

int VoiceDataService::stopVoiceTransfer() {
  pending_.clear();
  blocks_.waveIn.close();
  blocks_.waveOut.close();
  return 1;
}
