#pragma once

#include "GPSPage.h"
#include "GpsRecord.h"
#include "QELUIController.h"

#include <QPointer>
#include <functional>

// The controller of the GPS tab: Start and Stop drive the modem's GPS receiver (module 8), and
// the positions it reports fill the page.
class GPSController : public QELUIController {
  Q_OBJECT
public:
  explicit GPSController(QObject *parent = nullptr);
  ~GPSController() override;

  // Outlet: the page (made by the controller when the builder gives none).
  QPointer<GPSPage> page;

  // ---- buttons ----
  Q_INVOKABLE void StartGPS(QObject *sender = nullptr);
  Q_INVOKABLE void StopGPS(QObject *sender = nullptr);
  void sendGPSRequestPosition();

  // ---- backend packages ----
  Q_INVOKABLE void dealWithMsgOfGPSSTART(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfGPSSTOP(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfGPSPOSOTIONREQ(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfGPSPOSITION(const Notification &n);
  // The decoded forms (tests drive them directly): the answer's type and result byte.
  void startAnswered(int type, int result);
  void stopAnswered(int type, int result);
  void positionRequestAnswered(int type, int result);
  void positionReceived(int type, const QByteArray &data);

  // ---- notifications ----
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);

  void Init_GPS_Wording();
  void setGPSBtnEnable();

  // Sees every request as it goes to the backend (minor id and data); tests install one.
  using RequestObserver = std::function<void(int minor, const QByteArray &data)>;
  static void setRequestObserver(RequestObserver observer);

protected:
  void initializeNibResources() override;
  void registerMessages() override;

private:
  void send(int minor, const QByteArray &data = {});
  void setValuesVisible(bool visible);
  void clearValues();
};

extern GPSController *g_GPSController;
