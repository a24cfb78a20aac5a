#pragma once

#include "NotificationCenter.h"
#include "UIMsg.h"

#include <QByteArray>
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
// thread, one per 5 ms tick, oldest first.
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
  void stopStaleBackend();

  PackageLink *link_;
  QProcess *qelMsgServer_ = nullptr;
  QMutex sendMsgLocker_;
  mutable QMutex receiveMsgLocker_;
  QTimer receiveMsgQueueTimer_;
  QList<QByteArray> receiveMsgQueue_;
  bool isRunning_ = false;
  bool lockMsgWhenReceiveMsg_ = true;
  bool dispatching_ = false;
  int droppedCount_ = 0;
  int refusedCount_ = 0;
};
