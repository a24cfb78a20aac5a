#pragma once

// What the other subsystems call on the Internet connection (DialController) and on the usage
// records (DialRecordController).
class ConnectionNeighbour {
public:
  virtual ~ConnectionNeighbour() = default;
};

class RecordsNeighbour {
public:
  virtual ~RecordsNeighbour() = default;
};
