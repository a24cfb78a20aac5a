#pragma once

// What the other subsystems call on the modem's Wi-Fi router (WLANController). No other
// subsystem calls the router yet; the controller takes its place so that one can ask whether
// the router page exists.
class WlanNeighbour {
public:
  virtual ~WlanNeighbour() = default;
};
