#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

class QButtonGroup;
class QHBoxLayout;
class QMenu;
class QRadioButton;
class QSlider;
class QToolButton;

// The small window that announces an incoming or waiting call: on top of the other windows,
// shown without taking the focus.
class CallTipWindow : public QWidget {
  Q_OBJECT
public:
  explicit CallTipWindow(QWidget *parent = nullptr);

  QLabel *title = nullptr;
  QLabel *nameCaption = nullptr;
  QLabel *numberCaption = nullptr;
  QLabel *name = nullptr;
  QLabel *number = nullptr;
  QPushButton *answer = nullptr;
  QPushButton *hangup = nullptr;
  QPushButton *ok = nullptr;
};

// The sheet shown for two seconds when a call ends.
class CallEndSheet : public QDialog {
  Q_OBJECT
public:
  explicit CallEndSheet(QWidget *parent = nullptr);
  QLabel *text = nullptr;
  QLabel *time = nullptr;
};

// The call-kind sheet: voice or video, OK and Cancel. Nothing in the program opens it; its
// answer goes to the controller like any other page action.
class CallStyleSheet : public QDialog {
  Q_OBJECT
public:
  explicit CallStyleSheet(QWidget *parent = nullptr);
  QButtonGroup *dialCallStyle = nullptr; // row 0 voice, row 1 video
  QRadioButton *voiceCell = nullptr;
  QRadioButton *videoCell = nullptr;
  QPushButton *ok = nullptr;
  QPushButton *cancel = nullptr;
};

// The controls of the Call tab that the program draws itself: the number field, name, status
// and timing labels, the call buttons, the keypad, the caller table of multi-call mode, and the
// place where the call plug-in's view goes. Widgets only; CompoundCallController drives them.
class CallPage : public QWidget {
  Q_OBJECT
public:
  explicit CallPage(QWidget *parent = nullptr);
  ~CallPage() override;

  // Puts the plug-in's view beside the page's own controls.
  void setBundleView(QWidget *view);

  QLineEdit *dialNumber = nullptr;
  // The number field's search menu: "Select contact" and the recently dialled numbers.
  QToolButton *searchMenuButton = nullptr;
  QMenu *searchMenu = nullptr;
  QLabel *callName = nullptr;
  QLabel *dialStatus = nullptr;
  QLabel *timing = nullptr;
  QPushButton *dial = nullptr;
  QPushButton *hangup = nullptr;
  QPushButton *hold = nullptr;
  QPushButton *multipleCall = nullptr;
  QPushButton *record = nullptr;
  QPushButton *backSpace = nullptr;
  QPushButton *missedCallMark = nullptr;
  // The microphone and speaker buttons show or hide their volume sliders (0 .. 100).
  QPushButton *microPhone = nullptr;
  QPushButton *speaker = nullptr;
  QSlider *microPhoneVolume = nullptr;
  QSlider *speakerVolume = nullptr;
  QList<QPushButton *> keypad;
  QTableWidget *callerTable = nullptr;
  QPointer<CallTipWindow> tipWindow;
  QPointer<CallEndSheet> endSheet;
  QPointer<CallStyleSheet> selectDialCallStyleWin;

private:
  QHBoxLayout *row_ = nullptr;
  QPointer<QWidget> bundleView_;
};
