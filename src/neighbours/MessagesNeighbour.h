#pragma once

// What the other subsystems call on the short messages (SMSController and the message stores).
class MessagesNeighbour {
public:
  virtual ~MessagesNeighbour() = default;
};
