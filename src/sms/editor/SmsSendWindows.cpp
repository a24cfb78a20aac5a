#include "SmsSendWindows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

SmsEditorWindow::SmsEditorWindow(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("messageWindow"));
  resize(420, 320);
  sendMessageTo = new QLineEdit(this);
  sendMessageTo->setObjectName(QStringLiteral("sendMessageTo"));
  searchMenuButton = new QToolButton(this);
  searchMenuButton->setObjectName(QStringLiteral("sendMessageToSearchMenu"));
  searchMenuButton->setPopupMode(QToolButton::InstantPopup);
  searchMenuButton->setMenu(new QMenu(searchMenuButton));
  receiverName = new QLabel(this);
  receiverName->setObjectName(QStringLiteral("receiverName"));
  receiverName->setWordWrap(true);
  sendMessageText = new QPlainTextEdit(this);
  sendMessageText->setObjectName(QStringLiteral("sendMessageText"));
  sendMessageText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  textCount = new QLabel(this);
  textCount->setObjectName(QStringLiteral("textCount"));
  sendNumInfo = new QLabel(this);
  sendNumInfo->setObjectName(QStringLiteral("sendNumInfo"));
  SaveToDraftBtn = new QPushButton(this);
  SaveToDraftBtn->setObjectName(QStringLiteral("SaveToDraftBtn"));
  SendMessageBtn = new QPushButton(this);
  SendMessageBtn->setObjectName(QStringLiteral("SendMessageBtn"));
  SendMessageBtn->setDefault(false);
  SendMessageBtn->setAutoDefault(false);
  MessageWinCancelBtn = new QPushButton(this);
  MessageWinCancelBtn->setObjectName(QStringLiteral("MessageWinCancelBtn"));
  MessageWinCancelBtn->setAutoDefault(false);
  SaveToDraftBtn->setAutoDefault(false);

  auto *to = new QHBoxLayout;
  to->addWidget(sendMessageTo, 1);
  to->addWidget(searchMenuButton);
  auto *counters = new QHBoxLayout;
  counters->addWidget(sendNumInfo, 1);
  counters->addWidget(textCount);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(SaveToDraftBtn);
  buttons->addStretch(1);
  buttons->addWidget(MessageWinCancelBtn);
  buttons->addWidget(SendMessageBtn);
  auto *column = new QVBoxLayout(this);
  column->addLayout(to);
  column->addWidget(receiverName);
  column->addWidget(sendMessageText, 1);
  column->addLayout(counters);
  column->addLayout(buttons);
}

void SmsEditorWindow::reject() {
  emit cancelRequested();
}

SmsSendingWindow::SmsSendingWindow(QWidget *parent, const QString &name) : QDialog(parent) {
  setObjectName(name);
  resize(360, 110);
  newSMSInfoText = new QLabel(this);
  newSMSInfoText->setObjectName(QStringLiteral("newSMSInfoText"));
  newSMSInfoText->setWordWrap(true);
  newSMSInfoText->setAlignment(Qt::AlignCenter);
  cancelSendBtn = new QPushButton(this);
  cancelSendBtn->setObjectName(QStringLiteral("cancelSendBtn"));
  auto *column = new QVBoxLayout(this);
  column->addWidget(newSMSInfoText, 1);
  auto *row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(cancelSendBtn);
  column->addLayout(row);
}

void SmsSendingWindow::reject() {
  if (cancelSendBtn->isVisible() && cancelSendBtn->isEnabled())
    cancelSendBtn->click();
}
