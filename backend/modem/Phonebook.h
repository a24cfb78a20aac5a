#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

class SimulatedModem;

// The simulated modem's contact memories: the SIM and, optionally, the device memory (ME). Once
// the SIM is ready the modem writes each memory's list file (an XML plist array of ITEM_INDEX,
// ITEM_NAME, ITEM_NUM1, ITEM_NUM2, ITEM_NUM3, ITEM_EMAIL records) into a private folder of its
// own (files 0600) and pushes the read result 1025/0 with its limits and the file's path, the
// device memory first when there is one, then the SIM. Writes and deletes (1029/123) act on the
// active memory and answer 16 bytes whose outcome byte refuses a record number outside
// 1..capacity or a text over its limit (names count the bytes of their SIM alpha identifier).
// The memory switch (1027/119) answers with result byte 1 when switched, 0xFF otherwise. A read
// result makes its memory the active one.
//
// Scenario keys (all optional):
//   "Phonebook" dictionary:
//     "SIM", "ME"   dictionaries (no "ME": the device has no contact memory):
//       "Capacity"                              integer record numbers 1..Capacity (SIM 250, ME 500)
//       "NameLength"                            integer bytes (14)
//       "NumberLength"                          integer characters (40)
//       "Number2Length", "Number3Length", "EmailLength"  integers (0: no such field)
//       "Contacts"                              array of {"ITEM_INDEX", "ITEM_NAME", "ITEM_NUM1",
//                                               "ITEM_NUM2", "ITEM_NUM3", "ITEM_EMAIL"}
//     "Active"      integer the active memory, 1 ME or 2 SIM (kept by the modem)
// The memories live in the modem's scenario, so Reset and LoadScenario undo every change.
class Phonebook : public QObject {
  Q_OBJECT
public:
  static constexpr int kME = 1, kSIM = 2;

  static Phonebook *install(SimulatedModem &modem);
  static Phonebook *of(SimulatedModem &modem);

  // "SIM" or "ME" -> its code; 0 for anything else.
  static int storeCode(const QString &name);

  // Replaces a memory (limits and contacts) and pushes its read result; false for an unknown
  // memory or a dictionary that is not one.
  bool setContacts(int store, const QVariantMap &memory);
  // The memory as its scenario dictionary; empty for one the device lacks.
  QVariantMap contacts(int store) const;
  int activeMemory() const;
  // The next `count` writes, deletes or switches fail.
  void failRequests(int count) { failuresLeft_ = std::max(0, count); }

  // Writes a memory's list file and pushes its read result.
  void pushRead(int store);
  QString listFilePath(int store) const;

private:
  explicit Phonebook(SimulatedModem &modem);
  void install();
  void handleWrite(const QByteArray &data);
  void handleSwitch(int wanted);
  bool takeFailure();
  QVariantMap memory(int store) const;
  void storeMemory(int store, const QVariantMap &memory);
  void setActive(int store);

  SimulatedModem &modem_;
  QTemporaryDir folder_;
  int failuresLeft_ = 0;
};
