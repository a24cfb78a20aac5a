#include "DeviceVolume.h"

#include <QAudioDevice>
#include <QDebug>
#include <QMediaDevices>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

namespace {

std::atomic<float> inputVolume{1.0f};
std::atomic<float> outputVolume{1.0f};

struct Presence {
  std::mutex lock;
  std::function<bool()> input;
  std::function<bool()> output;
};

Presence &presence() {
  static Presence p;
  return p;
}

bool hasInput() {
  std::function<bool()> f;
  {
    std::lock_guard<std::mutex> guard(presence().lock);
    f = presence().input;
  }
  return f ? f() : !QMediaDevices::defaultAudioInput().isNull();
}

bool hasOutput() {
  std::function<bool()> f;
  {
    std::lock_guard<std::mutex> guard(presence().lock);
    f = presence().output;
  }
  return f ? f() : !QMediaDevices::defaultAudioOutput().isNull();
}

void setLevel(std::atomic<float> &level, float volume, bool device) {
  qInfo("setVolume:: value of the volume set =%lf", double(volume));
  if (!device) {
    qInfo("audio-volume error get device");
    return;
  }
  if (std::isnan(volume))
    return;
  level = std::clamp(volume, 0.0f, 1.0f);
}

} // namespace

float getDefaultInputDeviceVolume() {
  if (!hasInput()) {
    qInfo("audio-volume error get device");
    return 0.0f;
  }
  return inputVolume;
}

float getDefaultOutputDeviceVolume() {
  if (!hasOutput()) {
    qInfo("audio-volume error get device");
    return 0.0f;
  }
  return outputVolume;
}

void setDefaultInputDeviceVolume(float volume) {
  setLevel(inputVolume, volume, hasInput());
}

void setDefaultOutputDeviceVolume(float volume) {
  setLevel(outputVolume, volume, hasOutput());
}

namespace DeviceVolume {

void setDevicePresence(std::function<bool()> input, std::function<bool()> output) {
  std::lock_guard<std::mutex> guard(presence().lock);
  presence().input = std::move(input);
  presence().output = std::move(output);
}

float inputLevel() {
  return inputVolume;
}

float outputLevel() {
  return outputVolume;
}

void reset() {
  inputVolume = 1.0f;
  outputVolume = 1.0f;
}

QByteArray scaled16(const QByteArray &pcm, float volume) {
  if (volume >= 1.0f)
    return pcm;
  QByteArray out = pcm;
  const float v = std::max(volume, 0.0f);
  for (qsizetype i = 0; i + 1 < out.size(); i += 2) {
    const float sample = float(qFromLittleEndian<qint16>(out.constData() + i)) * v;
    const long rounded = std::lround(std::clamp(sample, -32768.0f, 32767.0f));
    qToLittleEndian<qint16>(qint16(rounded), out.data() + i);
  }
  return out;
}

} // namespace DeviceVolume
