#pragma once

// What the other subsystems call on the modem's Wi-Fi router (WLANController).
class WlanNeighbour {
public:
  virtual ~WlanNeighbour() = default;
};
