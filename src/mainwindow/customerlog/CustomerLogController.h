#pragma once

#include "CustomerLogBook.h"
#include "QELUIController.h"

#include <QTimer>

// The customer log: radio and connection events (device in or out, signal, access technology,
// location area and cell, link speeds, connection started, stopped or failed) as lines of the day
// file in the ModemList folder's "CSVLog", for the operator's support. Events are collected and
// written every minute and when the program ends.
class CustomerLogController : public QELUIController {
  Q_OBJECT
public:
  explicit CustomerLogController(QObject *parent = nullptr);
  ~CustomerLogController() override;

  Q_INVOKABLE void notifyDevicePlugInForLog(const Notification &n);
  Q_INVOKABLE void notifyDeviceRemoveForLog(const Notification &n);
  Q_INVOKABLE void recieveSpeedDataForLog(const Notification &n);
  Q_INVOKABLE void connectStatusChangeForLog(const Notification &n);
  Q_INVOKABLE void applicationWillCloseForLog(const Notification &n);
  Q_INVOKABLE void connectionFailed(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfGetRssi(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfNetInf(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfGetLacAndCellID(const Notification &n);
  void dealWithGetRssi(const UIMsg &msg);
  void dealWithNetInf(const UIMsg &msg);
  void dealWithGetLacAndCellID(const UIMsg &msg);

  void addNewLogRecord(const QString &event);
  bool writeLogToTheFile();
  CustomerLogBook &book() { return book_; }
  const CustomerLogBook::Values &current() const { return current_; }
  bool isTimerRunning() const { return writeLogTimer_.isActive(); }

protected:
  void registerMessages() override;

private:
  void writeLogOnTimer_();
  void prepareBook();

  CustomerLogBook book_;
  CustomerLogBook::Values current_;
  QTimer writeLogTimer_;
};

extern CustomerLogController *g_CustomerLogController;
