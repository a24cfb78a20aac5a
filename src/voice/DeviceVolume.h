#pragma once

#include <QByteArray>
#include <functional>

// The default device volume functions of the capture library. There is no system mixer for this
// program to turn: the volume is that of the call's own streams. The input volume scales the
// captured microphone samples, the output volume the far-end audio the call plays. Without an
// input (or output) device the getter answers 0.0 and the setter changes nothing. Safe from any
// thread (the call audio worker reads them on every frame).
float getDefaultInputDeviceVolume();
float getDefaultOutputDeviceVolume();
// Values are clamped to 0.0 .. 1.0; anything that is not a number is ignored.
void setDefaultInputDeviceVolume(float volume);
void setDefaultOutputDeviceVolume(float volume);

namespace DeviceVolume {

// Whether a default input and output device exist; by default the system's audio devices are
// asked. Tests install their own (an empty function restores the default).
void setDevicePresence(std::function<bool()> input, std::function<bool()> output);
// The stored levels, whatever devices exist (the streams apply them).
float inputLevel();
float outputLevel();
// Puts both levels back to 1.0 (tests).
void reset();
// 16-bit little-endian samples scaled by `volume`, rounded and clamped to the sample range; the
// data itself when the volume is 1.0 (a trailing odd byte is kept as it is).
QByteArray scaled16(const QByteArray &pcm, float volume);

} // namespace DeviceVolume
