#pragma once

#include <QObject>

// Tells when the machine is about to sleep and when it woke, from logind's PrepareForSleep
// signal on the system bus. Without a system bus (or without logind) it stays silent.
class SleepWatcher : public QObject {
  Q_OBJECT
public:
  explicit SleepWatcher(QObject *parent = nullptr);
  bool isWatching() const { return watching_; }

signals:
  void willSleep();
  void didWake();

private slots:
  void prepareForSleep(bool sleeping);

private:
  bool watching_ = false;
};
