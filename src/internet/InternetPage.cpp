#include "InternetPage.h"

#include "DialController.h"
#include "StatisticsView.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
template <class W> W *named(W *widget, const char *name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QLabel *label(QWidget *parent, const char *name) {
  return named(new QLabel(parent), name);
}

void buildStatisticsWindow(DialController *d, QWidget *window) {
  auto *win = named(new QDialog(window), "wndStatisticsWin_");
  auto *grid = new QGridLayout(win);
  const char *captions[] = {"Duration:", "Download Data:", "Upload Data:", "Total Data:"};
  d->tfdDisplayDuration_ = label(win, "tfdDisplayDuration_");
  d->tfdDisplayDownData_ = label(win, "tfdDisplayDownData_");
  d->tfdDisplayUpData_ = label(win, "tfdDisplayUpData_");
  d->tfdDisplayTotalData_ = label(win, "tfdDisplayTotalData_");
  QLabel *values[] = {d->tfdDisplayDuration_, d->tfdDisplayDownData_, d->tfdDisplayUpData_, d->tfdDisplayTotalData_};
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(new QLabel(QLatin1String(captions[i]), win), i, 0);
    grid->addWidget(values[i], i, 1);
  }
  auto *close = named(new QPushButton(QStringLiteral("OK"), win), "btnCloseStatisticsWin");
  grid->addWidget(close, 4, 1, Qt::AlignRight);
  QObject::connect(close, &QPushButton::clicked, d, [d, close] { d->closeStatisticsWin(close); });
  d->wndStatisticsWin_ = win;
}
} // namespace

namespace InternetPage {

QWidget *build(DialController *d, QWidget *profileBox, QWidget *window, QWidget *parent) {
  auto *page = named(new QWidget(parent), "viewInternetTab");
  d->viewInternet_ = page;
  auto *column = new QVBoxLayout(page);
  d->labelInternetPrompt_ = label(page, "labelInternetPrompt");
  d->labelInternetPrompt_->setWordWrap(true);
  d->labelProfileInputPrompt_ = label(page, "labelProfileInputPrompt");
  d->labelProfileInputPrompt_->setWordWrap(true);
  d->tfdModemAndSimState_ = label(page, "tfdModemAndSimState_");
  column->addWidget(d->labelInternetPrompt_);
  column->addWidget(d->labelProfileInputPrompt_);
  column->addWidget(d->tfdModemAndSimState_);
  if (profileBox) {
    profileBox->setParent(page);
    column->addWidget(profileBox, 0, Qt::AlignLeft);
  }

  auto *area = new QGridLayout;
  struct Row {
    QPointer<QLabel> *caption, *value;
    const char *captionName, *valueName;
  };
  const Row rows[] = {
      {&d->Net_Status, &d->m_ConnectState, "labelDialStatus", "labelDialStatusText"},
      {&d->Net_Send, &d->m_FluxForSend, "labelDialSend", "labelDialSendText"},
      {&d->Net_Receive, &d->m_FluxForReceive, "labelDialReceive", "labelDialReceiveText"},
      {&d->Net_ConnectTime, &d->m_ConnectTime, "labelDialConnectTime", "labelDialConnectTimeText"},
      {&d->Net_IPAddress, &d->m_IPAddress, "labelDialIPAddress", "labelDialIPAddressText"},
      {&d->Net_SendSpeed, &d->m_SpeedForSend, "labelDialSendSpeed", "labelDialSendSpeedText"},
      {&d->Net_ReceiveSpeed, &d->m_SpeedForReceive, "labelDialReceiveSpeed", "labelDialReceiveSpeedText"},
      {&d->tfdTotalData_, &d->m_TotalData, "labelTotalData", "labelTotalDataText"},
  };
  int r = 0;
  for (const Row &row : rows) {
    *row.caption = label(page, row.captionName);
    *row.value = label(page, row.valueName);
    area->addWidget(*row.caption, r, 0);
    area->addWidget(*row.value, r, 1);
    ++r;
  }
  area->setColumnStretch(1, 1);
  auto *middle = new QHBoxLayout;
  middle->addLayout(area, 1);
  d->speedView = named(new statisticsView(page), "speedView");
  d->speedView->setMinimumSize(240, 120);
  middle->addWidget(d->speedView, 1);
  column->addLayout(middle);

  auto *bottom = new QHBoxLayout;
  d->tfdDisplayModemStartUpProcess_ = label(page, "tfdDisplayModemStartUpProcess_");
  bottom->addWidget(d->tfdDisplayModemStartUpProcess_, 1);
  d->m_ConnectButton = named(new QPushButton(page), "btnDialConnect");
  d->m_ConnectButton->setMinimumWidth(120);
  d->m_ConnectButton->setEnabled(false);
  QPushButton *button = d->m_ConnectButton;
  QObject::connect(button, &QPushButton::clicked, d, [d, button] { d->DialOption(button); });
  bottom->addWidget(d->m_ConnectButton);
  column->addLayout(bottom);
  column->addStretch();

  buildStatisticsWindow(d, window);
  return page;
}

} // namespace InternetPage
