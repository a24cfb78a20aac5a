#pragma once

#include <QLabel>
#include <QWidget>

class QELMsgCenter;

// A plain window that states the backend link: started, handshake seen, device plugged or
// removed. It stands until the main window takes its place.
class LinkWindow : public QWidget {
  Q_OBJECT
public:
  LinkWindow(QELMsgCenter *center, bool backendStarted, QWidget *parent = nullptr);

  bool handshakeSeen() const { return handshake_; }
  int deviceState() const { return device_; } // -1 unknown, 0 removed, 1 plugged

signals:
  void linkSettled();

private:
  void refresh();

  QLabel *backend_;
  QLabel *handshakeLabel_;
  QLabel *deviceLabel_;
  bool started_;
  bool handshake_ = false;
  int device_ = -1;
};
