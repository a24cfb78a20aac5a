#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

class SimulatedModem;

// The simulated modem's message stores: the SIM and the device memory, each with a capacity and
// the boxes "InBox", "OutBox" and "DraftBox" of full-form records. Once the SIM is ready it
// writes them to "SmsList_Sim.plist" and "SmsList_ME.plist" in the program's ModemList folder
// (QEL_MODEMLIST_DIR, which the program passes; else the bundle's own), seeds "SmsList_PC.plist"
// when that file is absent, then pushes the store counts 768/98 (type 1: SIM capacity, SIM
// used, device capacity, device used; use counted in message parts) and the list-ready 768/95
// (type 1, state 1). Every list file is rewritten through the locked writer the program uses.
//
// Scenario keys (all optional):
//   "SMS" dictionary:
//     "SIM", "ME"  dictionaries: "Capacity" integer (SIM 50, device 100), "InBox", "OutBox",
//                  "DraftBox" arrays of records
//     "PC"         dictionary of boxes, written to SmsList_PC.plist only when it is absent
//     "ReceivePosition" integer: where arriving messages are stored (default 1, the SIM),
//                  pushed as 768/97 (type 1, result 0, 4 bytes) with the counts
//
// Request 768/103 (position u32, index u32) marks the InBox record at that index read: in the
// SIM or device store and its file, or in the PC list through the locked writer; the counts
// 768/98 follow.
//
// Managing stored messages (requests module 5, major 768; replies type 1, result 0 or 0xFF):
//   92  delete (position u32, box u32, index u32): a SIM or device record, or a PC record through
//       the locked writer; the file is rewritten, the reply echoes the 12 request bytes, then the
//       counts 98 and the list-ready 95 follow
//   93  copy (source position, box, index, destination position): SIM/device -> PC lands first
//       in the PC box of the same name under the lock; PC or SIM/device -> SIM/device lands
//       first in that box when the destination has room, else 0xFF; the counts 98 follow
//   112 automatic deletion: removes the oldest read SIM InBox record (0xFF when there is none)
//   114, 115 the memory card's reload and synchronisation: answered at once
// `failRequests(minor, count)` makes the next `count` requests of that minor answer 0xFF.
// `afterRequests(minor, count, action)` runs `action` once the `count`-th following request of
// that minor has been carried out and before it is answered (a message arriving in the middle
// of a delete or copy chain).
//
// Run-time changes last until the scenario is replaced.
class SmsStore : public QObject {
  Q_OBJECT
public:
  static SmsStore *install(SimulatedModem &modem);
  static SmsStore *of(SimulatedModem &modem);

  // The ModemList folder the list files go to.
  static QString modemListDir();

  // 1 SIM, 4 device memory; an empty map for other positions.
  QVariantMap store(int position);
  // Replaces a store's boxes with those of `boxes`, keeping its capacity; rewrites its file and
  // pushes the counts and the list-ready. False for another position.
  bool setStore(int position, const QVariantMap &boxes);
  bool setCapacity(int position, int capacity);
  // Stores an arriving message: in the SIM or device store (false when it is full), or at the
  // front of the PC list's InBox. The SIM and device files are rewritten and announced.
  bool deliver(int position, const QString &number, const QString &text);

  // Stores an arriving record of `parts` parts at the front of an InBox: in the SIM or device
  // store (the file rewritten and the counts pushed), or in the PC list. A SIM or device store
  // without room for it sends it to the PC and answers 2; else the position used (0 for any
  // position without a store of its own), or -1 when the PC list could not be written.
  int storeArrival(int position, const QVariantMap &record, int parts);
  static constexpr int kFullSimPosition = 2;
  bool hasRoom(int position, int parts);
  // Marks one InBox record read; false for an unknown position or index.
  bool markRead(int position, int index);
  bool setReceivePosition(int position);
  int receivePosition();

  // ---- managing stored messages ----
  bool deleteRecord(int position, int box, int index);
  // Answers whether the copy was made.
  bool copyRecord(int sourcePosition, int box, int index, int destination);
  bool deleteOldestReadSimMessage();
  void failRequests(int minor, int count);
  void afterRequests(int minor, int count, std::function<void()> action);
  // ---- end ----

  // Writes the SIM and device files and pushes 98, 97 and 95.
  void publish();
  int usedParts(int position);

private:
  explicit SmsStore(SimulatedModem &modem);
  void followScenario();
  QVariantMap *storeRef(int position);
  bool writeStoreFile(int position);
  void seedPcList();
  void sendCounts();
  void sendListReady();
  // Takes one of the failures asked for this minor.
  bool takeFailure(int minor);
  // Counts one handled request of `minor` and runs the action waiting for it.
  void requestHandled(int minor);
  QHash<int, int> failures_;
  struct Pending {
    int remaining;
    std::function<void()> action;
  };
  QHash<int, QList<Pending>> afterRequests_;

  SimulatedModem &modem_;
  QVariantMap baseScenario_;
  bool followed_ = false;
  int receivePosition_ = -1;
  QVariantMap sim_;
  QVariantMap me_;
};
