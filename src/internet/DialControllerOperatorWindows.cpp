// The operator's small windows around a connect: the connect-state window with its progress
// animation while connecting or disconnecting, the connect-failed window with its redial, the
// data-connected icon, and the month's data figure. The windows are made the first time their
// key asks for them.
#include "DialController.h"

#include "DialControllerSupport.h"
#include "DialRecordController.h"
#include "QELAlertPanel.h"
#include "QELUIManager.h"
#include "RecordFormats.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace dialsupport;

namespace {

constexpr int kProgressTickMs = 100;

QLabel *namedLabel(QWidget *parent, const char *name) {
  auto *label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

void showImage(QLabel *view, QELUIManager *skin, const QString &name) {
  if (!view)
    return;
  view->setProperty("imageName", name);
  const QImage image = skin ? skin->imageNamed(name) : QImage();
  if (!image.isNull())
    view->setPixmap(QPixmap::fromImage(image));
}

} // namespace

// ---- the data-connected icon ----

void DialController::setConnectStateForDidoro(bool connected) {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("SetConnectStateForDidoro")))
    return;
  if (!imageViewOfConnectStatesForDidoro_ && viewInternet_) {
    imageViewOfConnectStatesForDidoro_ = namedLabel(viewInternet_, "imageViewOfConnectStatesForDidoro");
    if (auto *column = qobject_cast<QVBoxLayout *>(viewInternet_->layout()))
      column->insertWidget(0, imageViewOfConnectStatesForDidoro_, 0, Qt::AlignRight);
  }
  connectStateImageName_ = connected ? QStringLiteral("DataConnected") : QStringLiteral("DataNotConnected");
  if (imageViewOfConnectStatesForDidoro_) {
    showImage(imageViewOfConnectStatesForDidoro_, qelSkinManager, connectStateImageName_ + QStringLiteral(".png"));
    imageViewOfConnectStatesForDidoro_->setToolTip(
        word(connected ? QStringLiteral("Data connected") : QStringLiteral("Data not connected")));
  }
}

// ---- the connect-state window ----

QDialog *DialController::connectStateWindowForDidoro() {
  if (windowOfConnectStateForDidoro_)
    return windowOfConnectStateForDidoro_;
  auto *window = new QDialog(wndMain, Qt::Tool);
  window->setObjectName(QStringLiteral("windowOfConnectStateForDidoro"));
  auto *column = new QVBoxLayout(window);
  imageViewOfProgressIndicator_ = namedLabel(window, "imageViewOfProgressIndicator");
  labelOfConnectStateForDidoro_ = namedLabel(window, "labelOfConnectStateForDidoro");
  btnCancelConnectForDidoro_ = new QPushButton(word(QStringLiteral("Cancel")), window);
  btnCancelConnectForDidoro_->setObjectName(QStringLiteral("btnCancelConnectForDidoro"));
  QPushButton *cancel = btnCancelConnectForDidoro_;
  connect(cancel, &QPushButton::clicked, this, [this, cancel] { cancelCurrentConnectOperate(cancel); });
  column->addWidget(imageViewOfProgressIndicator_, 0, Qt::AlignHCenter);
  column->addWidget(labelOfConnectStateForDidoro_);
  column->addWidget(cancel, 0, Qt::AlignRight);
  windowOfConnectStateForDidoro_ = window;
  return window;
}

void DialController::openConnectStateWindowForDidoro(bool open) {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("OpenWindoOfConectOrDisConnectNetForDidoro")))
    return;
  QDialog *window = connectStateWindowForDidoro();
  if (connectStatus_ == kConnecting) {
    btnCancelConnectForDidoro_->setEnabled(true);
    labelOfConnectStateForDidoro_->setText(word(QStringLiteral("Connecting Didoro Internet")));
  } else if (connectStatus_ == kDisconnecting) {
    btnCancelConnectForDidoro_->setEnabled(false);
    labelOfConnectStateForDidoro_->setText(word(QStringLiteral("Disconnecting...")));
  }
  if (open) {
    countOfConnectStateImage_ = 1;
    window->show();
    window->raise();
    startProgressIndicator();
  } else {
    window->hide();
    stopProgressIndicator();
  }
}

void DialController::closeDidoroConnectStateWindow(QObject *) {
  openConnectStateWindowForDidoro(false);
}

void DialController::cancelCurrentConnectOperate(QObject *sender) {
  if (connectStatus_ == kConnecting)
    DialOption(sender);
  if (windowOfConnectStateForDidoro_)
    windowOfConnectStateForDidoro_->hide();
  stopProgressIndicator();
}

// ---- the connect-failed window ----

QDialog *DialController::connectFailedWindowForDidoro() {
  if (windowOfConnectFailedForDidoro_)
    return windowOfConnectFailedForDidoro_;
  auto *window = new QDialog(wndMain, Qt::Tool);
  window->setObjectName(QStringLiteral("windowOfConnectFailedForDidoro"));
  auto *column = new QVBoxLayout(window);
  imageViewOfConnectFailed_ = namedLabel(window, "imageViewOfConnectFailed");
  labelOfConnectFailedForDidoro_ = namedLabel(window, "labelOfConnectFailedForDidoro");
  labelOfConnectFailedForDidoro_->setWordWrap(true);
  column->addWidget(imageViewOfConnectFailed_, 0, Qt::AlignHCenter);
  column->addWidget(labelOfConnectFailedForDidoro_);
  auto *buttons = new QHBoxLayout;
  const struct {
    const char *name, *title;
    void (DialController::*action)(QObject *);
  } actions[] = {{"btnCloseConnectFailedForDidoro", "Close", &DialController::closeConnectFailedWindow},
                 {"btnCancelConnectFailedForDidoro", "Cancel", &DialController::closeConnectFailedWindow},
                 {"btnRedialConnectFailedForDidoro", "Redial", &DialController::redialWhenConnectFailed}};
  for (const auto &a : actions) {
    auto *button = new QPushButton(word(QLatin1String(a.title)), window);
    button->setObjectName(QLatin1String(a.name));
    const auto action = a.action;
    connect(button, &QPushButton::clicked, this, [this, button, action] { (this->*action)(button); });
    buttons->addWidget(button);
  }
  column->addLayout(buttons);
  windowOfConnectFailedForDidoro_ = window;
  return window;
}

void DialController::openConnectFailedWindow() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("OpenConnectFailedWindow")))
    return;
  // Asked from the link-down report: the alert must not hold the packages that follow.
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("Cannot connect, please try again later")),
                       word(QStringLiteral("OK")));
  if (!switchOn(settingDict(), kInternet, QStringLiteral("Internet_OpenConnectFailedWindowForDidoro")))
    return;
  QDialog *window = connectFailedWindowForDidoro();
  labelOfConnectFailedForDidoro_->setText(word(QStringLiteral("The device has been disconnected or is unavailable")));
  window->show();
  window->raise();
  countOfConnectStateImage_ = 1;
  startTimerForConnectFailed();
}

void DialController::closeConnectFailedWindow(QObject *) {
  if (windowOfConnectFailedForDidoro_)
    windowOfConnectFailedForDidoro_->hide();
  stopTimerForConnectFailed();
}

void DialController::redialWhenConnectFailed(QObject *sender) {
  closeConnectFailedWindow(sender);
  DialOption(sender);
}

// ---- the progress animation ----

void DialController::startProgressIndicator() {
  restartProgressTimer(timerOfProgressIndicator_);
}

void DialController::stopProgressIndicator() {
  timerOfProgressIndicator_.stop();
}

void DialController::startTimerForConnectFailed() {
  restartProgressTimer(timerOfConnectFailed_);
}

// Both windows' animations step the same frames; each timer is (re)connected once per start.
void DialController::restartProgressTimer(QTimer &timer) {
  timer.stop();
  QObject::disconnect(&timer, nullptr, this, nullptr);
  connect(&timer, &QTimer::timeout, this, &DialController::setProgressIndicatorWhenConnectStateChangeForDidoro);
  timer.start(kProgressTickMs);
}

void DialController::stopTimerForConnectFailed() {
  timerOfConnectFailed_.stop();
}

void DialController::setProgressIndicatorWhenConnectStateChangeForDidoro() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("SetProgressIndicatorImage")) ||
      countOfConnectStateImage_ < 1 || countOfConnectStateImage_ > 10)
    return;
  progressImageName_ = QStringLiteral("Stategif%1.png").arg(countOfConnectStateImage_);
  showImage(imageViewOfProgressIndicator_, qelSkinManager, progressImageName_);
  showImage(imageViewOfConnectFailed_, qelSkinManager, progressImageName_);
  countOfConnectStateImage_ = countOfConnectStateImage_ == 10 ? 1 : countOfConnectStateImage_ + 1;
}

// ---- the month's figure ----

void DialController::displayMonthlyData() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("DisplayMonthlyData")))
    return;
  // The month from the saved records, plus the running connection until its own record is
  // saved: counted once, whatever the statistics view adds to its own month row.
  double bytes = 0;
  if (g_DialRecordController) {
    float receive = 0, send = 0;
    quint64 seconds = 0;
    g_DialRecordController->getMonthRecordReceive(&receive, &send, &seconds);
    bytes = (double(receive) + double(send)) * 1024.0;
  }
  if (!saveRecordFlag && connectStatus_ == kConnected)
    bytes += getCurrentTotalData();
  if (!monthlyData_ && viewInternet_) {
    monthlyData_ = namedLabel(viewInternet_, "monthlyData");
    if (auto *column = qobject_cast<QVBoxLayout *>(viewInternet_->layout()))
      column->insertWidget(qMax(0, column->count() - 1), monthlyData_);
  }
  if (monthlyData_)
    monthlyData_->setText(formatTransferData(bytes));
}
