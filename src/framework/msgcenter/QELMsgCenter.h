#pragma once

#include "NotificationCenter.h"
#include "UIMsg.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class PackageLink;
class QProcess;

// The userInfo key of a package notification, and the prefix of its name.
inline const QString kMsgUserInfo = QStringLiteral("qUIMsg");
// Posted (object: the centre) when the backend failed to come back too often in a row and the
// centre stopped starting it.
inline const QString kMsgServerGaveUp = QStringLiteral("MsgServerGaveUp");

// Module ids of the senders.
enum QELModuleID : int {
  kModuleMain = 0,
  kModuleInit = 1,
  kModuleDial = 2,
  kModuleSetting = 3,
  kModulePhonebook = 4,
  kModuleSMS = 5,
  kModuleSTK = 6,
  kModuleUSSD = 7,
  kModuleGPS = 8,
  kModuleCall = 9,
  kModuleWLAN = 10,
};

// The only link between the user interface and the backend server: it launches and stops the
// backend, sends it packages and turns received packages into notifications on the main
// thread, oldest first, at most one per 5 ms tick: a package that comes after a quiet spell goes
// out on the next turn of the event loop. It watches the backend it launched: when the process
// ends, leaves the bus or stops answering, the device counts as removed and the backend is
// started again after a growing pause, until it has failed too often in a row.
class QELMsgCenter : public QObject {
  Q_OBJECT
public:
  static constexpr int kQueueLimit = 250;
  static constexpr int kTickMs = 5;
  static constexpr int kSendTimeoutMs = 1000;

  // `link` carries the packages; it is not owned and must outlive the centre.
  explicit QELMsgCenter(PackageLink *link, QObject *parent = nullptr);
  ~QELMsgCenter() override;

  static QString notificationName(int majorID, int minorID);
  static int makeIDByMajorID(int majorID, int minorID) { return UIMsg::makeID(uint16_t(majorID), uint16_t(minorID)); }

  // Reads Init/"Init_DoNotLockMsg_WhenReadReceiveMsg": when on, handlers may nest.
  void awakeFromNib();

  // Observers of the same pair are all called, in the order they registered.
  bool registerObserver(QObject *target, const QByteArray &selector, int majorID, int minorID);
  bool registerObserver(QObject *target, int majorID, int minorID, NotificationCenter::Handler handler);

  // Builds and sends one package. A null `data` sends length 0; data longer than the package's
  // data field is refused.
  bool sendMessageModuleID(int moduleID, int majorID, int minorID, int type, int result,
                           const QByteArray &data = QByteArray());
  int sendMessage(const UIMsg &package);

  // Copies the package carried by `notification` into `buffer`, which is zeroed first. False
  // (buffer zeroed) when the notification carries no valid package.
  static bool getMsgPackage(UIMsg *buffer, const Notification &notification);

  bool startMsgServer();
  bool stopMsgServer();
  bool isServerLaunched() const { return isRunning_; }

  // When and how often a backend that went away is started again: after firstDelayMs, doubling
  // up to maxDelayMs; after maxFailures restarts in a row that did not last stableMs, no more.
  // A started backend must own its bus name within claimNameMs.
  struct RestartPolicy {
    int firstDelayMs = 1000;
    int maxDelayMs = 30000;
    int maxFailures = 5;
    int stableMs = 30000;
    int claimNameMs = 10000;
  };
  void setRestartPolicy(const RestartPolicy &policy) { policy_ = policy; }
  int restartCount() const { return restarts_; }
  bool hasGivenUp() const { return gaveUp_; }
  // The backend process this centre runs now, or 0.
  qint64 serverProcessId() const;

  // Receive path, public so that tests can drive it tick by tick.
  int putReceiveMsgInQueue(const QByteArray &bytes);
  void readingReceiveMsg();
  void postNotificationWithMsg(const QByteArray &package);

  int queuedCount() const;
  int droppedCount() const { return droppedCount_; }
  int refusedCount() const { return refusedCount_; }
  bool lockMsgWhenReceiveMsg() const { return lockMsgWhenReceiveMsg_; }
  void setLockMsgWhenReceiveMsg(bool on) { lockMsgWhenReceiveMsg_ = on; }
  QString serverPath() const;

private:
  void handlePackage(const QByteArray &bytes);
  void armReceiveTimer();
  void stopStaleBackend();
  bool launchServer();
  void restartServer();
  void onPeerOwnerChanged(const QString &oldOwner, const QString &newOwner);
  void onPeerNotAnswering();
  void backendLost(const QString &why);
  void deviceGoneWithBackend();
  void discardServerProcess();

  PackageLink *link_;
  QProcess *qelMsgServer_ = nullptr;
  RestartPolicy policy_;
  QTimer restartTimer_;
  QTimer claimNameTimer_;
  QElapsedTimer upSince_;
  QString ownerHeard_;  // the backend connection whose packages we took since it came
  QString serverOwner_; // the connection of the backend we started, once it owns the name
  bool supervising_ = false;
  bool backendAlive_ = false;
  bool gaveUp_ = false;
  int failures_ = 0;
  int restarts_ = 0;
  QMutex sendMsgLocker_;
  mutable QMutex receiveMsgLocker_;
  QTimer receiveMsgQueueTimer_;
  QElapsedTimer lastDispatch_; // the start of the last dispatch: the pacing is measured from it
  QList<QByteArray> receiveMsgQueue_;
  bool isRunning_ = false;
  bool lockMsgWhenReceiveMsg_ = true;
  bool dispatching_ = false;
  int droppedCount_ = 0;
  int refusedCount_ = 0;
};
