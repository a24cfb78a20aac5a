#pragma once

// What the other subsystems call on the phonebook (PBController and the contact picker).
class PhonebookNeighbour {
public:
  virtual ~PhonebookNeighbour() = default;
};
