#pragma once

#include "Modem.h"
#include "SimCard.h"

#include <QHash>
#include <QVariantMap>
#include <functional>

// Message ids the simulated modem speaks.
namespace SimMsg {
inline constexpr uint16_t kHandshakeMajor = 1, kHandshakeMinor = 0;
inline constexpr uint16_t kDeviceStatusMajor = 8, kDeviceStatusMinor = 59;
} // namespace SimMsg

// A modem that lives in memory, set up from a scenario dictionary (a plist) and steered at run
// time through the simulator's control methods.
class SimulatedModem : public Modem {
  Q_OBJECT
public:
  explicit SimulatedModem(QVariantMap scenario, QObject *parent = nullptr);

  void programAppeared() override;
  void handle(const UIMsg &request) override;

  // Control
  void plug();
  void unplug();
  void reset();
  // Swaps the SIM as a user would: the device leaves and comes back with the new card.
  void insertSim(const QVariantMap &sim);
  // Replaces the whole scenario and replays the device's start.
  void loadScenario(const QVariantMap &scenario);
  bool isPlugged() const { return plugged_; }
  const QVariantMap &scenario() const { return scenario_; }
  const SimCard &sim() const { return sim_; }
  // The card reports another IMSI (until the scenario is replaced).
  void setImsi(const QString &imsi) { sim_.setImsi(imsi); }

  // Builds a package the modem sends, result 0 unless told.
  static UIMsg makePackage(uint16_t major, uint16_t minor, int type = 0, uint8_t result = 0,
                           const QByteArray &data = {}, int module = 0);

  // Feature areas of the modem add their answers here: `on` routes a request, `send` pushes a
  // package to the program (module 1 unless told).
  using Handler = std::function<void(const UIMsg &)>;
  void on(uint16_t major, uint16_t minor, Handler handler);
  void send(uint16_t major, uint16_t minor, int type = 0, uint8_t result = 0, const QByteArray &data = {},
            int module = 1);
  // Called after the SIM is ready, so feature areas can push what a device reports then.
  void onSimReady(std::function<void()> hook) { simReadyHooks_.append(std::move(hook)); }
  // Called when a card is found, before any PIN is asked: what a card shows without its PIN.
  void onSimPresent(std::function<void()> hook) { simPresentHooks_.append(std::move(hook)); }
  // Called once the device has told it is there and its IMEI, before its SIM is reported.
  void onDeviceAnnounced(std::function<void()> hook) { deviceAnnouncedHooks_.append(std::move(hook)); }

private:
  void registerHandlers();

  QString imei() const;
  void announceDevice();
  void sendDeviceStatus();
  void reportSim();
  void sendTries(int module = 1);
  void sendPinLockStatus();
  void simBecameReady();

  QVariantMap initialScenario_;
  QVariantMap scenario_;
  SimCard sim_;
  bool plugged_ = true;
  bool programSeen_ = false;
  QHash<int32_t, Handler> handlers_;
  QList<std::function<void()>> simReadyHooks_;
  QList<std::function<void()>> simPresentHooks_;
  QList<std::function<void()>> deviceAnnouncedHooks_;
};

// Little helpers for payloads: texts are NUL-padded ASCII fields, words are little-endian u32.
namespace Payload {
QByteArray field(const QString &text, int width);
QByteArray u32(quint32 value);
QString text(const UIMsg &msg, int offset, int width);
quint32 u32At(const UIMsg &msg, int offset);
} // namespace Payload
