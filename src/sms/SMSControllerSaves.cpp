// SMSController: saves of the user's data into the PC list that did not go through (a full
// disk, a locked or unwritable list): the user hears of it once, nothing typed or received is
// dropped, and the writes are tried again.
#include "QELAlertPanel.h"
#include "SMSController.h"
#include "SmsRecord.h"
#include "SmsService.h"
#include "WordGlobe.h"

#include <QTimer>
#include <algorithm>

namespace {
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}
} // namespace

void SMSController::saySaveFailed() {
  if (saveFailureSaid_)
    return;
  saveFailureSaid_ = true;
  qWarning("SMS: a message could not be saved in the PC list; it is kept and saved again later");
  // Said without waiting: this runs inside backend handlers too.
  NSBeginAlertPanelExt(word("Warning"),
                       word("The message could not be saved on this computer (the disk may be full). It is kept "
                            "and saved again."),
                       word("OK"));
}

void SMSController::setPcWriteRetryInterval(int ms) {
  pcWriteRetryMs_ = std::max(10, ms);
  if (pcWriteRetry_)
    pcWriteRetry_->setInterval(pcWriteRetryMs_);
}

bool SMSController::storeInPcList(int box, const QVariantMap &record, bool atFront) {
  // Earlier records first, so the box keeps the order they came in.
  retryPcWrites();
  if (pendingPcWrites_.isEmpty() &&
      SmsListFiles::insertIntoBox(SmsListFiles::pathOfPosition(AT_PC), box, record, atFront)) {
    saveSucceeded();
    return true;
  }
  pendingPcWrites_.append({box, record, atFront});
  saySaveFailed();
  if (!pcWriteRetry_) {
    pcWriteRetry_ = new QTimer(this);
    connect(pcWriteRetry_, &QTimer::timeout, this, [this] { retryPcWrites(); });
  }
  pcWriteRetry_->start(pcWriteRetryMs_);
  return false;
}

void SMSController::retryPcWrites() {
  if (pendingPcWrites_.isEmpty())
    return;
  const QString path = SmsListFiles::pathOfPosition(AT_PC);
  while (!pendingPcWrites_.isEmpty()) {
    const PendingPcWrite &next = pendingPcWrites_.first();
    if (!SmsListFiles::insertIntoBox(path, next.box, next.record, next.atFront))
      return;
    pendingPcWrites_.removeFirst();
  }
  if (pcWriteRetry_)
    pcWriteRetry_->stop();
  saveSucceeded();
  loadSmsList();
}
