// SGAudio's effect chain and the registry of effect components it opens units from; the path
// of a captured-frames file.
#include "SeqGrab.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QStandardPaths>
#include <algorithm>

namespace {

struct Component {
  AudioComponentDescription description;
  AudioEffectComponents::Factory factory;
};

QMutex &registryLock() {
  static QMutex lock;
  return lock;
}

std::vector<Component> &registry() {
  static std::vector<Component> components;
  return components;
}

bool matches(const AudioComponentDescription &wanted, const AudioComponentDescription &offered) {
  return wanted.componentType == offered.componentType &&
         (wanted.componentSubType == 0 || wanted.componentSubType == offered.componentSubType) &&
         (wanted.componentManufacturer == 0 || wanted.componentManufacturer == offered.componentManufacturer);
}

bool sameFormat(const AudioStreamDesc &a, const AudioStreamDesc &b) {
  return a.sampleRate == b.sampleRate && a.formatId == b.formatId && a.bytesPerPacket == b.bytesPerPacket &&
         a.framesPerPacket == b.framesPerPacket && a.bytesPerFrame == b.bytesPerFrame &&
         a.channelsPerFrame == b.channelsPerFrame && a.bitsPerChannel == b.bitsPerChannel && a.isFloat == b.isFloat;
}

} // namespace

void AudioEffectComponents::registerComponent(const AudioComponentDescription &description, Factory factory) {
  if (!factory)
    return;
  QMutexLocker lock(&registryLock());
  registry().push_back({description, std::move(factory)});
}

void AudioEffectComponents::unregisterAll() {
  QMutexLocker lock(&registryLock());
  registry().clear();
}

std::unique_ptr<AudioEffectUnit> AudioEffectComponents::open(const AudioComponentDescription &description) {
  Factory factory;
  {
    QMutexLocker lock(&registryLock());
    for (const Component &c : registry())
      if (matches(description, c.description)) {
        factory = c.factory;
        break;
      }
  }
  return factory ? factory() : nullptr;
}

AudioEffectUnit *SGAudio::insertAUFXUnit(const AudioComponentDescription &description) {
  if (description.componentType != AudioEffectUnit::kEffectType)
    return nullptr;
  QMutexLocker lock(&fxLock_);
  if (int(mFXUnits.size()) >= kMaxFXUnits)
    return nullptr;
  std::unique_ptr<AudioEffectUnit> unit = AudioEffectComponents::open(description);
  if (!unit)
    return nullptr;
  mFXUnits.push_back(std::move(unit));
  mDoInitFXUnits = true;
  return mFXUnits.back().get();
}

bool SGAudio::removeAUFXUnit(AudioEffectUnit *unit) {
  QMutexLocker lock(&fxLock_);
  const auto it =
      std::find_if(mFXUnits.begin(), mFXUnits.end(), [unit](const auto &owned) { return owned.get() == unit; });
  if (it == mFXUnits.end())
    return false;
  mFXUnits.erase(it);
  return true;
}

QList<AudioEffectUnit *> SGAudio::fxUnits() const {
  QMutexLocker lock(&fxLock_);
  QList<AudioEffectUnit *> out;
  for (const auto &unit : mFXUnits)
    out << unit.get();
  return out;
}

int SGAudio::fxUnitsCount() const {
  QMutexLocker lock(&fxLock_);
  return int(mFXUnits.size());
}

void SGAudio::renderEffects(QByteArray &chunk, const AudioStreamDesc &desc) {
  QMutexLocker lock(&fxLock_);
  if (mFXUnits.empty())
    return;
  if (!sameFormat(desc, fxFormat_))
    mDoInitFXUnits = true; // the device changed its format
  if (mDoInitFXUnits) {
    const int packets = desc.bytesPerPacket > 0 ? int(chunk.size()) / desc.bytesPerPacket : 0;
    // A unit that fails is dropped and the set-up begins again, so every unit left has seen the
    // same format.
    for (size_t i = 0; i < mFXUnits.size();) {
      if (mFXUnits[i]->initialize(desc, packets + 512)) {
        ++i;
        continue;
      }
      mFXUnits.erase(mFXUnits.begin() + std::ptrdiff_t(i));
      i = 0;
    }
    fxFormat_ = desc;
    mDoInitFXUnits = false;
  }
  for (const auto &unit : mFXUnits)
    unit->render(chunk);
}

QString SGAudio::assignAudioFramesFilePath(const QString &folder) {
  QString base = folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) +
                                        QStringLiteral("/CapturedFrames")
                                  : folder;
  if (!base.endsWith(QLatin1Char('/')))
    base += QLatin1Char('/');
  for (int n = 0;; ++n) {
    const QString path = base + QStringLiteral("FRAMESFILE") + QString::number(n);
    if (!QFile::exists(path))
      return path;
  }
}
