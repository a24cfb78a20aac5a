#pragma once

#include <QByteArray>
#include <QDBusServiceWatcher>
#include <QList>
#include <QObject>
#include <QTimer>

// The one-way road to the updater program: each command is a D-Bus call without reply carrying
// the command's XML property list. A command sent before the updater owns its bus name (it was
// started a moment ago) waits, with those after it, until it does; after a short while without
// it they are dropped, so nothing waits for an updater that never comes.
class UpdaterLink : public QObject {
  Q_OBJECT
public:
  explicit UpdaterLink(QString busName, QObject *parent = nullptr);

  // 0 when handed over or waiting in order; -1 without a session bus.
  int send(const QByteArray &xml);
  int waitingCount() const { return int(queue_.size()); }
  int sentCount() const { return sent_; }
  void setWaitMs(int ms) { waitMs_ = ms; }
  QString busName() const { return busName_; }

private:
  bool deliver(const QByteArray &xml);
  void flush();

  QString busName_;
  QList<QByteArray> queue_;
  QDBusServiceWatcher watcher_;
  QTimer giveUp_;
  int waitMs_ = 5000;
  int sent_ = 0;
};
