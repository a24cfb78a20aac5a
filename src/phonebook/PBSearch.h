#pragma once

#include "PBTypes.h"

// One search of the page's search field over the five searched fields. The text is matched as
// typed, never as a pattern: "+49", "." and "(" are text, so no keystroke can fail or stall.
struct PBSearchMatcher {
  QString text;
  bool prefix = false;        // PhoneBook "PrefixMatchModeEnabled": a field must begin with it
  bool caseSensitive = false; // PhoneBook "PhoneBook_caseSensitive_WhenSearch"

  bool matchesText(const QString &field) const;
  // Any of "username", "mobilephone", "officephone", "homephone", "email" (absent ones skipped).
  bool matches(const PBContactRecord &record) const;
};

// The number-to-name lookup's key: the last `threshold` characters of a number longer than that,
// else the whole number. Numbers are compared as text, nothing is removed or added.
QString pbLookupKey(const QString &number, int threshold);
