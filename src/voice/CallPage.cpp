#include "CallPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

CallTipWindow::CallTipWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("WindowOfIncomingCallTip"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle(QString());
  title = new QLabel(this);
  title->setObjectName(QStringLiteral("tipTitle"));
  nameCaption = new QLabel(this);
  numberCaption = new QLabel(this);
  name = new QLabel(this);
  name->setObjectName(QStringLiteral("tipName"));
  number = new QLabel(this);
  number->setObjectName(QStringLiteral("tipNumber"));
  answer = new QPushButton(this);
  answer->setObjectName(QStringLiteral("tipAnswer"));
  hangup = new QPushButton(this);
  hangup->setObjectName(QStringLiteral("tipHangup"));
  ok = new QPushButton(this);
  ok->setObjectName(QStringLiteral("btnOfOKForIncomingWindow"));
  auto *grid = new QGridLayout(this);
  grid->addWidget(title, 0, 0, 1, 3);
  grid->addWidget(nameCaption, 1, 0);
  grid->addWidget(name, 1, 1, 1, 2);
  grid->addWidget(numberCaption, 2, 0);
  grid->addWidget(number, 2, 1, 1, 2);
  grid->addWidget(answer, 3, 0);
  grid->addWidget(hangup, 3, 1);
  grid->addWidget(ok, 3, 2);
}

CallEndSheet::CallEndSheet(QWidget *parent) : QDialog(parent, Qt::Sheet) {
  setObjectName(QStringLiteral("CallEndWindow"));
  text = new QLabel(this);
  text->setObjectName(QStringLiteral("LabelCallEnd"));
  time = new QLabel(this);
  time->setObjectName(QStringLiteral("LabelCallEndTime"));
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(text, 0, Qt::AlignHCenter);
  layout->addWidget(time, 0, Qt::AlignHCenter);
  setMinimumWidth(220);
}

CallStyleSheet::CallStyleSheet(QWidget *parent) : QDialog(parent, Qt::Sheet) {
  setObjectName(QStringLiteral("selectDialCallStyleWin"));
  dialCallStyle = new QButtonGroup(this);
  voiceCell = new QRadioButton(this);
  voiceCell->setObjectName(QStringLiteral("dialCallStyleVoice"));
  voiceCell->setChecked(true);
  videoCell = new QRadioButton(this);
  videoCell->setObjectName(QStringLiteral("dialCallStyleVideo"));
  dialCallStyle->addButton(voiceCell, 0);
  dialCallStyle->addButton(videoCell, 1);
  ok = new QPushButton(this);
  ok->setObjectName(QStringLiteral("dialCallStyleOK"));
  ok->setDefault(true);
  cancel = new QPushButton(this);
  cancel->setObjectName(QStringLiteral("dialCallStyleCancel"));
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(voiceCell);
  layout->addWidget(videoCell);
  layout->addLayout(buttons);
}

CallPage::CallPage(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Call"));
  setProperty("itemIdentifier", QStringLiteral("Call"));
  const auto button = [this](const char *name) {
    auto *b = new QPushButton(this);
    b->setObjectName(QLatin1String(name));
    return b;
  };
  dialNumber = new QLineEdit(this);
  dialNumber->setObjectName(QStringLiteral("DialNumber_inputfield"));
  searchMenuButton = new QToolButton(this);
  searchMenuButton->setObjectName(QStringLiteral("btnSearchContactMenu"));
  searchMenuButton->setPopupMode(QToolButton::InstantPopup);
  searchMenuButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
  searchMenu = new QMenu(searchMenuButton);
  searchMenu->setObjectName(QStringLiteral("Search contact menu"));
  searchMenuButton->setMenu(searchMenu);
  callName = new QLabel(this);
  callName->setObjectName(QStringLiteral("LabelCallName"));
  dialStatus = new QLabel(this);
  dialStatus->setObjectName(QStringLiteral("LabelDialStatus"));
  timing = new QLabel(this);
  timing->setObjectName(QStringLiteral("LabelCallTiming"));
  dial = button("btnDial");
  hangup = button("btnHangup");
  hold = button("btnHold");
  multipleCall = button("btnMultipleCall");
  record = button("btnRecord");
  backSpace = button("btnBackSpace");
  missedCallMark = button("btnOfPromptWhenIncomingCall");
  missedCallMark->hide();
  microPhone = button("btnMicroPhone");
  speaker = button("btnSpeaker");
  const auto slider = [this](const char *name) {
    auto *s = new QSlider(Qt::Horizontal, this);
    s->setObjectName(QLatin1String(name));
    s->setRange(0, 100);
    s->setFixedWidth(120);
    s->hide();
    return s;
  };
  microPhoneVolume = slider("sliderMicroPhoneVolume");
  speakerVolume = slider("sliderSpeakerVolume");

  auto *keys = new QGridLayout;
  const char *titles[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
  for (int i = 0; i < 12; ++i) {
    auto *key = new QPushButton(QLatin1String(titles[i]), this);
    key->setObjectName(QStringLiteral("key") + QLatin1String(titles[i]));
    key->setFixedWidth(48);
    keypad << key;
    keys->addWidget(key, i / 3, i % 3);
  }

  callerTable = new QTableWidget(0, 2, this);
  callerTable->setObjectName(QStringLiteral("tableViewOfCallerInfo"));
  callerTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  callerTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  callerTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  callerTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  callerTable->verticalHeader()->hide();

  auto *numberRow = new QHBoxLayout;
  numberRow->addWidget(searchMenuButton);
  numberRow->addWidget(dialNumber, 1);
  numberRow->addWidget(backSpace);
  auto *buttons = new QHBoxLayout;
  for (QPushButton *b : {dial, hangup, hold, multipleCall, record})
    buttons->addWidget(b);
  buttons->addStretch(1);
  auto *own = new QVBoxLayout;
  own->addLayout(numberRow);
  own->addWidget(callName);
  own->addWidget(dialStatus);
  own->addWidget(timing);
  auto *keysRow = new QHBoxLayout;
  keysRow->addLayout(keys);
  keysRow->addStretch(1);
  own->addLayout(keysRow);
  own->addLayout(buttons);
  auto *volumes = new QHBoxLayout;
  volumes->addWidget(microPhone);
  volumes->addWidget(microPhoneVolume);
  volumes->addWidget(speaker);
  volumes->addWidget(speakerVolume);
  volumes->addStretch(1);
  own->addLayout(volumes);
  own->addWidget(callerTable, 1);
  own->addWidget(missedCallMark, 0, Qt::AlignLeft);
  row_ = new QHBoxLayout(this);
  row_->addLayout(own, 1);

  tipWindow = new CallTipWindow(this);
  tipWindow->hide();
  endSheet = new CallEndSheet(this);
  endSheet->hide();
  selectDialCallStyleWin = new CallStyleSheet(this);
  selectDialCallStyleWin->hide();
}

CallPage::~CallPage() = default;

void CallPage::setBundleView(QWidget *view) {
  if (!view || view == bundleView_)
    return;
  bundleView_ = view;
  row_->addWidget(view, 1);
  view->show(); // a tab page that was never current is still hidden
  // The plug-in brings its own keypad; its keys reach the controller as the page's would.
  for (QPushButton *key : keypad)
    key->hide();
}
