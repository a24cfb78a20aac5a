#include "CustomerLogController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "NotificationTables.h"
#include "QELMsgCenter.h"
#include "SimHexCursor.h"
#include "WordGlobe.h"

#include <QtEndian>
#include <pwd.h>
#include <unistd.h>

CustomerLogController *g_CustomerLogController = nullptr;

namespace {
constexpr int kMinuteMs = 60 * 1000;
constexpr int kNetTypeOffset = 40, kNetTypeWidth = 68;
constexpr int kRoamInfoPayloadSize = 28, kLacOffset = 4, kCellIdOffset = 14;

// The login name of the user, as the system knows it (the environment may not tell).
QString userName() {
  if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_name)
    return QString::fromLocal8Bit(entry->pw_name);
  return qEnvironmentVariable("USER");
}

// The first four characters of a hexadecimal text field, as a number (0 when not one).
quint32 hexPrefix(const UIMsg &msg, int offset) {
  const QByteArray text = SimHexCursor::fieldText(msg, offset, std::min(10, kRoamInfoPayloadSize - offset)).left(4);
  bool ok = false;
  const quint32 value = QString::fromLatin1(text).toUInt(&ok, 16);
  return ok ? value : 0;
}
} // namespace

CustomerLogController::CustomerLogController(QObject *parent) : QELUIController(parent) {
  g_CustomerLogController = this;
  book_.setPcId(userName());
  connect(&writeLogTimer_, &QTimer::timeout, this, &CustomerLogController::writeLogOnTimer_);
  writeLogTimer_.start(kMinuteMs);
}

CustomerLogController::~CustomerLogController() {
  if (g_CustomerLogController == this)
    g_CustomerLogController = nullptr;
}

void CustomerLogController::registerMessages() {
  registerNotification(CustomerLogNotficationTable);
  if (qelMsgCenter) {
    qelMsgCenter->registerObserver(this, QByteArray("dealWithMsgOfGetRssi:"), 7, 36);
    qelMsgCenter->registerObserver(this, QByteArray("dealWithMsgOfNetInf:"), 7, 37);
    qelMsgCenter->registerObserver(this, QByteArray("dealWithMsgOfGetLacAndCellID:"), 7, 39);
  }
}

void CustomerLogController::prepareBook() {
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    book_.setFolder(config->configFilePathOfKey(kCMCVSLogFolder));
  book_.setHeader(Map_Name_Item_of_IndexString(QStringLiteral("STRING_CSV_LOG_HEADER")));
}

void CustomerLogController::addNewLogRecord(const QString &event) {
  book_.add(event, current_);
}

bool CustomerLogController::writeLogToTheFile() {
  if (book_.queued() == 0)
    return true;
  prepareBook();
  return book_.write();
}

void CustomerLogController::writeLogOnTimer_() {
  writeLogToTheFile();
}

// ---- notifications ----

void CustomerLogController::notifyDevicePlugInForLog(const Notification &) {
  addNewLogRecord(QStringLiteral("PLUG IN MODEM"));
}

void CustomerLogController::notifyDeviceRemoveForLog(const Notification &) {
  addNewLogRecord(QStringLiteral("UNPLUG THE MODEM"));
}

void CustomerLogController::recieveSpeedDataForLog(const Notification &n) {
  const QString up = n.userInfo.value(QStringLiteral("UpSpeed")).toString();
  const QString down = n.userInfo.value(QStringLiteral("DownSpeed")).toString();
  const bool speedLog = ConfigService::readBool(QStringLiteral("SetCregATCmd"), QStringLiteral("SpeedLog"));
  if (!up.isEmpty() && up != current_.upLink) {
    current_.upLink = up;
    if (speedLog)
      addNewLogRecord(QStringLiteral("UPLINK"));
  }
  if (!down.isEmpty() && down != current_.downLink) {
    current_.downLink = down;
    if (speedLog)
      addNewLogRecord(QStringLiteral("DOWNLINK"));
  }
}

void CustomerLogController::connectStatusChangeForLog(const Notification &) {
  addNewLogRecord(runtimeObjectForKey(kRTIsConnectted).toBool() ? QStringLiteral("CONNECTION STARTED")
                                                                : QStringLiteral("CONNECTION STOPPED"));
}

void CustomerLogController::applicationWillCloseForLog(const Notification &) {
  writeLogToTheFile();
}

void CustomerLogController::connectionFailed(const Notification &) {
  addNewLogRecord(QStringLiteral("CONNECTION FAILED"));
}

// ---- backend reports ----

void CustomerLogController::dealWithMsgOfGetRssi(const Notification &n) {
  UIMsg msg;
  if (QELMsgCenter::getMsgPackage(&msg, n))
    dealWithGetRssi(msg);
}

void CustomerLogController::dealWithMsgOfNetInf(const Notification &n) {
  UIMsg msg;
  if (QELMsgCenter::getMsgPackage(&msg, n))
    dealWithNetInf(msg);
}

void CustomerLogController::dealWithMsgOfGetLacAndCellID(const Notification &n) {
  UIMsg msg;
  if (QELMsgCenter::getMsgPackage(&msg, n))
    dealWithGetLacAndCellID(msg);
}

void CustomerLogController::dealWithGetRssi(const UIMsg &msg) {
  if (msg.dataLength < 4)
    return;
  const QString rssi = QString::number(qint32(qFromLittleEndian<quint32>(msg.data.data())));
  if (rssi == current_.rssi)
    return;
  current_.rssi = rssi;
  addNewLogRecord(QStringLiteral("RSSI"));
}

void CustomerLogController::dealWithNetInf(const UIMsg &msg) {
  const QString rat = QString::fromLatin1(SimHexCursor::fieldText(msg, kNetTypeOffset, kNetTypeWidth));
  if (rat == current_.rat)
    return;
  current_.rat = rat;
  addNewLogRecord(QStringLiteral("RAT"));
}

void CustomerLogController::dealWithGetLacAndCellID(const UIMsg &msg) {
  if (const quint32 lac = hexPrefix(msg, kLacOffset)) {
    const QString text = QString::number(lac, 16);
    if (text != current_.lac) {
      current_.lac = text;
      addNewLogRecord(QStringLiteral("LAC"));
    }
  }
  if (const quint32 cell = hexPrefix(msg, kCellIdOffset)) {
    const QString decimal = QString::number(cell);
    if (decimal != current_.cellId) {
      current_.cellId = decimal;
      current_.rnc = QString::number(cell, 16);
      addNewLogRecord(QStringLiteral("CELLID"));
    }
  }
}
