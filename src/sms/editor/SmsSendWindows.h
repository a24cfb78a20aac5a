#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The message editor: the recipients field with its phonebook menu, the names of the
// recipients, the text and its counters, and the three buttons. Widgets only; SMSController
// drives them.
class SmsEditorWindow : public QDialog {
  Q_OBJECT
public:
  explicit SmsEditorWindow(QWidget *parent = nullptr);

  QLineEdit *sendMessageTo = nullptr;
  QToolButton *searchMenuButton = nullptr; // the recipients field's search menu
  QLabel *receiverName = nullptr;
  QPlainTextEdit *sendMessageText = nullptr;
  QLabel *textCount = nullptr;
  QLabel *sendNumInfo = nullptr;
  QPushButton *SaveToDraftBtn = nullptr;
  QPushButton *SendMessageBtn = nullptr;
  QPushButton *MessageWinCancelBtn = nullptr;

  // Closing the window by the system's close button is the Cancel button.
  void reject() override;
signals:
  void cancelRequested();
};

// The "Sending..." window: one line of text and one button (Cancel during a run, OK after it).
// Also serves as the report window and the background result window.
class SmsSendingWindow : public QDialog {
  Q_OBJECT
public:
  explicit SmsSendingWindow(QWidget *parent = nullptr, const QString &name = QStringLiteral("newSMSInfoWindow"));

  QLabel *newSMSInfoText = nullptr;
  QPushButton *cancelSendBtn = nullptr;

  // The close button does what the window's button does, when that button may be used.
  void reject() override;
};
