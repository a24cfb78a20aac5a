#pragma once

// What the other subsystems call on the voice calls and SIM services (calls, call log, USSD,
// SIM toolkit, GPS).
class CallsNeighbour {
public:
  virtual ~CallsNeighbour() = default;
};
