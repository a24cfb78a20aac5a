// The program's item in the desktop's status area: the connection state as a still image, an
// animation while unread messages wait (ordinary or data-usage ones); a click on the animation
// opens the inbox of the complete window.
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "MainController.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "StatusBarView.h"
#include "WordGlobe.h"

#include <QMenu>

namespace {
constexpr int kDataUsage75 = 0;
constexpr int kOrdinary = 2;
const char *const kNormalAnimation = "Normal_SMS_Arrive1";
const char *const kFlowValueAnimation = "FlowValue_SMS_Arrive1";

bool switchOn(bool (ConfigService::*which)() const) {
  ConfigService *config = ConfigService::sharedConfigService();
  return config && (config->*which)();
}

int currentDialStatus() {
  ConnectionNeighbour *dial = Neighbourhood::connection();
  return dial ? dial->connectStatus() : 0;
}
} // namespace

void MainController::initSysStatusBarItem() {
  if (!ConfigService::readBool(QString(), QStringLiteral("NeedSystemStatusItem")) || viewSysStatusItem_)
    return;
  viewSysStatusItem_ = new StatusBarView(this);
  if (!menuSysStatusItem_) {
    menuSysStatusItem_ = new QMenu(mainWindow);
    menuSysStatusItem_->setObjectName(QStringLiteral("menuSysStatusItem"));
    connect(menuSysStatusItem_->addAction(Map_Name_Item_of_IndexString(QStringLiteral("Show"))), &QAction::triggered,
            this, [this] { closeAllWindow(nullptr); });
    connect(menuSysStatusItem_->addAction(Map_Name_Item_of_IndexString(QStringLiteral("Quit"))), &QAction::triggered,
            this, [this] { quitTerminal(nullptr); });
  }
  const QImage image = StatusImages::imageNamed(QStringLiteral("SysStatusItem"));
  if (!image.isNull()) {
    viewSysStatusItem_->setImage(image);
    viewSysStatusItem_->setMenu(menuSysStatusItem_);
  }
}

void MainController::startAnimationInStatusViewWithAnimaitonPath(const QString &path, int frames) {
  if (!viewSysStatusItem_)
    return;
  viewSysStatusItem_->stopAnimation();
  viewSysStatusItem_->setAnimationSequenceImageNumber(frames);
  viewSysStatusItem_->setAnimationImagesPath(path);
  viewSysStatusItem_->startAnimation();
}

void MainController::setImageOfStatusBarViewWithImageName(const QString &name) {
  if (!viewSysStatusItem_)
    return;
  const QImage image = StatusImages::imageNamed(name);
  if (!image.isNull())
    viewSysStatusItem_->setImage(image);
}

void MainController::freshStatusViewWhenNormalSMSArrive() {
  startAnimationInStatusViewWithAnimaitonPath(QLatin1String(kNormalAnimation), 2);
  if (viewSysStatusItem_ && viewSysStatusItem_->statusItem()) {
    // A menu would take the click: while the animation carries it, the click opens the inbox.
    viewSysStatusItem_->setMenu(nullptr);
    viewSysStatusItem_->setTarget(this);
    viewSysStatusItem_->setAction("gotoSMSUIOfCompleteWnd");
  }
}

void MainController::freshStatusViewWhenFlowValueSMSArrive() {
  startAnimationInStatusViewWithAnimaitonPath(QLatin1String(kFlowValueAnimation), 2);
  if (viewSysStatusItem_ && viewSysStatusItem_->statusItem()) {
    viewSysStatusItem_->setMenu(nullptr);
    viewSysStatusItem_->setTarget(this);
    viewSysStatusItem_->setAction("gotoSMSUIOfCompleteWnd");
  }
}

void MainController::freshStatusViewWhenNewSMSArrive() {
  auto *sms = Neighbourhood::messages();
  if (!viewSysStatusItem_ || !sms)
    return;
  if (sms->typeOfNewSms() == kOrdinary)
    freshStatusViewWhenNormalSMSArrive();
  else
    freshStatusViewWhenFlowValueSMSArrive();
}

void MainController::freshStatusViewWhenSMSReaded() {
  auto *sms = Neighbourhood::messages();
  if (!viewSysStatusItem_ || !sms)
    return;
  const int type = sms->typeOfNewSms();
  if (sms->checkPos(0, type) || sms->checkPos(1, type))
    return;
  // The last unread message of this kind was read: the other kind's animation only when unread
  // messages remain, else the still image of the connection.
  if (hasNewSMSInPos(0) || hasNewSMSInPos(1)) {
    if (type == kOrdinary)
      freshStatusViewWhenFlowValueSMSArrive();
    else
      freshStatusViewWhenNormalSMSArrive();
  } else {
    freshStatusViewToStaticViewAccorindToDialStatus(currentDialStatus() == 3 ? 3 : 0);
  }
}

void MainController::freshStatusViewWhenDialStatusChanged() {
  if (!viewSysStatusItem_ || !switchOn(&ConfigService::isFreshStatusViewWhenConnectStatusChanged))
    return;
  if (switchOn(&ConfigService::isFreshStatusViewWhenNewSMSArrive) && (hasNewSMSInPos(0) || hasNewSMSInPos(1)))
    return;
  freshStatusViewToStaticViewAccorindToDialStatus(currentDialStatus());
}

void MainController::freshStatusViewToStaticViewAccorindToDialStatus(int status) {
  if (!viewSysStatusItem_)
    return;
  if (status == 3)
    setImageOfStatusBarViewWithImageName(QStringLiteral("SysStatusItemConnected"));
  else if (status == 0)
    setImageOfStatusBarViewWithImageName(QStringLiteral("SysStatusItemDisConnected"));
  if (viewSysStatusItem_->bAnimation() || viewSysStatusItem_->isAnimating()) {
    // Statuses 1 and 2 keep what is shown; a still image ends the animation.
    if (status == 3 || status == 0)
      viewSysStatusItem_->stopAnimation();
  }
  viewSysStatusItem_->setTarget(nullptr);
  viewSysStatusItem_->setAction(QByteArray());
  // The menu comes back with the still image.
  if (!viewSysStatusItem_->isAnimating())
    viewSysStatusItem_->setMenu(menuSysStatusItem_);
}

void MainController::freshStatusViewWhenInitialController() {
  auto *sms = Neighbourhood::messages();
  if (!viewSysStatusItem_ || !sms)
    return;
  sms->refillPcUnreadList();
  if (!hasNewSMSInPos(0))
    return;
  if (sms->getFlowValueInfoFromFile() != kOrdinary && sms->isOverDueFlowValueSms())
    sms->doWithPcUnreadFlowValueSMSAndRefreshStatusWhenFlowAlertOverTime();
  if (!switchOn(&ConfigService::isFreshStatusViewWhenNewSMSArrive))
    return;
  sms->refillPcUnreadList();
  if (sms->checkPos(0, kDataUsage75) || sms->checkPos(0, kDataUsage75 + 1))
    freshStatusViewWhenFlowValueSMSArrive();
  else
    freshStatusViewWhenNormalSMSArrive();
}

void MainController::gotoSMSUIOfCompleteWnd(QObject *) {
  if (wndCompleteMain_ && appMainWindow() != wndCompleteMain_)
    menuCompleteModelClicked(nullptr);
  notifyChangeTabViewItem(QStringLiteral("SMS"));
  if (auto *sms = Neighbourhood::messages())
    sms->GotoInbox();
}

bool MainController::hasNewSMSInPos(int position) {
  auto *sms = Neighbourhood::messages();
  return sms && sms->hasUnreadInList(position);
}
