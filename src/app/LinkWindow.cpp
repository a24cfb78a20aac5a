#include "LinkWindow.h"

#include "QELMsgCenter.h"

#include <QVBoxLayout>

LinkWindow::LinkWindow(QELMsgCenter *center, bool backendStarted, QWidget *parent)
    : QWidget(parent), backend_(new QLabel(this)), handshakeLabel_(new QLabel(this)), deviceLabel_(new QLabel(this)),
      started_(backendStarted) {
  setWindowTitle(tr("Connection Manager"));
  auto *layout = new QVBoxLayout(this);
  auto *title = new QLabel(tr("<b>Backend link</b>"), this);
  layout->addWidget(title);
  for (QLabel *l : {backend_, handshakeLabel_, deviceLabel_})
    layout->addWidget(l);
  layout->addStretch();
  resize(360, 160);

  center->registerObserver(this, 1, 0, [this](const Notification &) {
    handshake_ = true;
    refresh();
  });
  center->registerObserver(this, 8, 59, [this](const Notification &n) {
    UIMsg msg;
    if (!QELMsgCenter::getMsgPackage(&msg, n))
      return;
    device_ = msg.result == UIMsg::kResultFailure ? 0 : 1;
    refresh();
  });
  refresh();
}

void LinkWindow::refresh() {
  backend_->setText(started_ ? tr("Backend: started") : tr("Backend: not started"));
  handshakeLabel_->setText(handshake_ ? tr("Handshake: done") : tr("Handshake: waiting"));
  deviceLabel_->setText(device_ < 0 ? tr("Device: unknown")
                        : device_   ? tr("Device: plugged in")
                                    : tr("Device: removed"));
  if (handshake_ && device_ >= 0)
    emit linkSettled();
}
