#pragma once

// What the other subsystems call on the main window (MainController) and on the device status
// (InitController and the identity it keeps).
class MainWindowNeighbour {
public:
  virtual ~MainWindowNeighbour() = default;
};

class DeviceStatusNeighbour {
public:
  virtual ~DeviceStatusNeighbour() = default;
};
