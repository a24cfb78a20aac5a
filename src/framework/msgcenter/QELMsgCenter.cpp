#include "QELMsgCenter.h"

#include "ConfigManager.h"
#include "DispatchTargets.h"
#include "PackageDispatchGuard.h"
#include "PackageLink.h"

#include <QDebug>
#include <QProcess>

QELMsgCenter::QELMsgCenter(PackageLink *link, QObject *parent) : QObject(parent), link_(link) {
  // The timer only runs while packages wait, so an idle program does not wake 200 times a second.
  // It is armed for each dispatch, a tick after the start of the previous one or at once after a
  // quiet spell.
  receiveMsgQueueTimer_.setSingleShot(true);
  receiveMsgQueueTimer_.setTimerType(Qt::PreciseTimer);
  connect(&receiveMsgQueueTimer_, &QTimer::timeout, this, &QELMsgCenter::readingReceiveMsg);
  if (link_) {
    connect(link_, &PackageLink::packageReceived, this, &QELMsgCenter::handlePackage);
    connect(link_, &PackageLink::peerOwnerChanged, this, &QELMsgCenter::onPeerOwnerChanged);
    connect(link_, &PackageLink::peerNotAnswering, this, &QELMsgCenter::onPeerNotAnswering);
  }
  restartTimer_.setSingleShot(true);
  connect(&restartTimer_, &QTimer::timeout, this, &QELMsgCenter::restartServer);
  claimNameTimer_.setSingleShot(true);
  connect(&claimNameTimer_, &QTimer::timeout, this, [this] {
    if (qelMsgServer_ && qelMsgServer_->state() != QProcess::NotRunning) {
      qWarning() << "QELMsgCenter: the backend did not take its bus name in time; ending it";
      qelMsgServer_->kill();
    }
  });
}

QELMsgCenter::~QELMsgCenter() {
  stopMsgServer();
}

QString QELMsgCenter::notificationName(int majorID, int minorID) {
  return kMsgUserInfo + QString::number(makeIDByMajorID(majorID, minorID));
}

void QELMsgCenter::awakeFromNib() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  const bool doNotLock =
      config && config
                    ->getConfigurationByModuleAndKey(QStringLiteral("Init"),
                                                     QStringLiteral("Init_DoNotLockMsg_WhenReadReceiveMsg"))
                    .toBool();
  lockMsgWhenReceiveMsg_ = !doNotLock;
}

bool QELMsgCenter::registerObserver(QObject *target, const QByteArray &selector, int majorID, int minorID) {
  if (!hasNotificationMethod(target, selector)) {
    DispatchTargets::reportMissing(target, selector, QStringLiteral("backend message %1/%2").arg(majorID).arg(minorID));
    return true;
  }
  NotificationCenter::defaultCenter().addObserver(target, selector, notificationName(majorID, minorID), this);
  return true;
}

bool QELMsgCenter::registerObserver(QObject *target, int majorID, int minorID, NotificationCenter::Handler handler) {
  NotificationCenter::defaultCenter().addObserver(target, notificationName(majorID, minorID), this, std::move(handler));
  return true;
}

bool QELMsgCenter::sendMessageModuleID(int moduleID, int majorID, int minorID, int type, int result,
                                       const QByteArray &data) {
  UIMsg msg;
  msg.version = 1;
  msg.moduleId = moduleID;
  msg.majorId = uint16_t(majorID);
  msg.minorId = uint16_t(minorID);
  msg.type = type;
  msg.result = uint8_t(result);
  if (!msg.setPayload(data)) {
    qWarning() << "QELMsgCenter: refusing" << majorID << "/" << minorID << "with" << data.size()
               << "bytes of data (at most" << UIMsg::kDataSize << ")";
    return false;
  }
  return sendMessage(msg) == 0;
}

int QELMsgCenter::sendMessage(const UIMsg &package) {
  QMutexLocker lock(&sendMsgLocker_);
  if (!link_)
    return PackageLink::ErrNoPeer;
  return link_->sendBlocking(package.encode(), kSendTimeoutMs);
}

bool QELMsgCenter::getMsgPackage(UIMsg *buffer, const Notification &notification) {
  if (!buffer)
    return false;
  *buffer = UIMsg();
  buffer->version = 0;
  const QVariant bytes = notification.userInfo.value(kMsgUserInfo);
  if (bytes.typeId() != QMetaType::QByteArray)
    return false;
  return UIMsg::decode(bytes.toByteArray(), buffer);
}

void QELMsgCenter::handlePackage(const QByteArray &bytes) {
  // Nothing from the backend is trusted: a package of the wrong size never reaches a handler.
  UIMsg decoded;
  if (!UIMsg::decode(bytes, &decoded)) {
    ++refusedCount_;
    qWarning() << "QELMsgCenter: refusing a package of" << bytes.size() << "bytes";
    return;
  }
  // The link took it only from the backend's connection: that backend has now spoken to us.
  if (link_)
    ownerHeard_ = link_->peerOwner();
  // Re-encoding clamps a data length outside the data field.
  putReceiveMsgInQueue(decoded.encode());
}

int QELMsgCenter::putReceiveMsgInQueue(const QByteArray &bytes) {
  QMutexLocker lock(&receiveMsgLocker_);
  if (receiveMsgQueue_.size() >= kQueueLimit) {
    ++droppedCount_;
    if (droppedCount_ == 1 || droppedCount_ % 100 == 0)
      qWarning() << "QELMsgCenter: receive queue full, dropped" << droppedCount_ << "package(s) so far";
    return -1;
  }
  receiveMsgQueue_.append(bytes);
  lock.unlock();
  if (!receiveMsgQueueTimer_.isActive())
    armReceiveTimer();
  return 0;
}

void QELMsgCenter::armReceiveTimer() {
  // Dispatches are paced a tick apart, measured from the start of the previous one (at most 200
  // a second, so a flood cannot starve the window); a package that comes after a quiet spell goes
  // out on the next turn of the event loop instead of waiting for a whole tick.
  int waitMs = 0;
  if (lastDispatch_.isValid()) {
    const qint64 since = lastDispatch_.elapsed();
    if (since < kTickMs)
      waitMs = int(kTickMs - since);
  }
  receiveMsgQueueTimer_.start(waitMs);
}

int QELMsgCenter::queuedCount() const {
  QMutexLocker lock(&receiveMsgLocker_);
  return int(receiveMsgQueue_.size());
}

void QELMsgCenter::readingReceiveMsg() {
  // A handler that spins a nested event loop (a modal dialog) gets no nested package; the
  // waiting ones are looked at again a tick later.
  if (lockMsgWhenReceiveMsg_ && dispatching_) {
    if (queuedCount() > 0)
      receiveMsgQueueTimer_.start(kTickMs);
    return;
  }
  QByteArray package;
  {
    QMutexLocker lock(&receiveMsgLocker_);
    if (receiveMsgQueue_.isEmpty()) {
      receiveMsgQueueTimer_.stop();
      return;
    }
    package = receiveMsgQueue_.takeFirst();
  }
  lastDispatch_.start();
  const bool wasDispatching = dispatching_;
  dispatching_ = true;
  postNotificationWithMsg(package);
  dispatching_ = wasDispatching;
  if (!receiveMsgQueueTimer_.isActive() && queuedCount() > 0)
    armReceiveTimer();
}

void QELMsgCenter::postNotificationWithMsg(const QByteArray &package) {
  UIMsg msg;
  if (!UIMsg::decode(package, &msg))
    return;
  const PackageDispatchGuard::Scope handling;
  NotificationCenter::defaultCenter().postNotificationName(notificationName(msg.majorId, msg.minorId), this,
                                                           {{kMsgUserInfo, package}});
}
