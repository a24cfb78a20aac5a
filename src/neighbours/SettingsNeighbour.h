#pragma once

// What the other subsystems call on the settings window (SettingController).
class SettingsNeighbour {
public:
  virtual ~SettingsNeighbour() = default;
};
