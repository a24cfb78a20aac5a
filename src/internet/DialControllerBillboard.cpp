// The billboard of the Internet tab: three pictures that roll every three seconds once the
// operator's pictures have come in, and rest on the default picture while disconnected.
#include "DialController.h"

#include "Bundle.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialControllerSupport.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

using namespace dialsupport;

namespace {
bool billboardOn() {
  ConfigService *config = ConfigService::sharedConfigService();
  return config && config->isDisplayBillboard();
}
} // namespace

void DialController::setDefaultBackgroundImageForBillboard() {
  const QString path = Bundle::mainBundle().pathForResource(QStringLiteral("DataInterfaceBack"), QStringLiteral("jpg"));
  if (!path.isEmpty())
    showBillboardPicture(path);
}

void DialController::isHiddenBrowserPicBtnForBillboard(bool hidden) {
  for (QPushButton *button : {btnOfUpForBillboard_.data(), btnOfDownForBillboard_.data()})
    if (button)
      button->setHidden(hidden);
}

void DialController::imageDownloadFinishForBillboard() {
  if (!billboardOn())
    return;
  borwserPicIndexforBillboard_ = 1;
  startRollForBillboard();
}

void DialController::startRollForBillboard() {
  isHiddenBrowserPicBtnForBillboard(false);
  timerOfAutoBrowserPicForBillboard_.stop();
  if (!billboardTimerWired_) {
    billboardTimerWired_ = true;
    connect(&timerOfAutoBrowserPicForBillboard_, &QTimer::timeout, this,
            [this] { autoBrowserPictureForBillboard(true); });
  }
  // The buttons step the pictures as soon as they show, not only after the first roll.
  for (QPushButton *button : {btnOfUpForBillboard_.data(), btnOfDownForBillboard_.data()})
    if (button && !button->isHidden())
      button->setEnabled(true);
  timerOfAutoBrowserPicForBillboard_.start(scaledMs(3.0));
}

void DialController::autoBrowserPictureForBillboard(bool forward) {
  for (QPushButton *button : {btnOfUpForBillboard_.data(), btnOfDownForBillboard_.data()})
    if (button && !button->isHidden())
      button->setEnabled(true);
  int &number = borwserPicIndexforBillboard_;
  if (forward)
    number = number >= 3 ? 1 : number + 1;
  else
    number = number <= 1 ? 3 : number - 1;
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  const QString path =
      config->getFilePathWithFileName(QStringLiteral("images/%1.jpg").arg(QStringLiteral("u%1").arg(number)));
  showBillboardPicture(path);
}

// A missing or unreadable picture leaves the one shown.
void DialController::showBillboardPicture(const QString &path) {
  if (!QFileInfo(path).isFile())
    return;
  const QPixmap picture(path);
  if (picture.isNull())
    return;
  if (imageViewOfShowImageForBillboard_)
    imageViewOfShowImageForBillboard_->setPixmap(picture);
  billboardPicture_ = path;
}

void DialController::browserNextPictureForBillboard(QObject *) {
  autoBrowserPictureForBillboard(true);
}

void DialController::browserAPictureForBillboard(QObject *) {
  autoBrowserPictureForBillboard(false);
}

void DialController::stopRollForBillboard() {
  timerOfAutoBrowserPicForBillboard_.stop();
  setDefaultBackgroundImageForBillboard();
  for (QPushButton *button : {btnOfUpForBillboard_.data(), btnOfDownForBillboard_.data()})
    if (button && !button->isHidden())
      button->setEnabled(false);
}

void DialController::connectStatusDidChange(const Notification &notification) {
  const int status = notification.userInfo.value(QStringLiteral("ConnectStatus"), connectStatus_).toInt();
  if (status == kDisconnected && billboardOn())
    stopRollForBillboard();
  // The split layout follows every settled status; a dropped connection takes its special page
  // with it.
  if (status == kConnected || status == kDisconnected)
    switchInternetTabAction();
  if (status == kDisconnected)
    detachSpecialWebview();
}
