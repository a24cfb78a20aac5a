#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QWidget>

class NSOutlineViewExt;
class SmsTableModel;

// The SMS tab's own controls, named by their skin items: the position and box lists, the box
// counters, the search field, the message table, the text view and the action buttons.
// Widgets only; SMSController drives them.
class SMSPage : public QWidget {
  Q_OBJECT
public:
  explicit SMSPage(QWidget *parent = nullptr);

  // The position list shows one row per storage position, the box list one per listed box.
  QListWidget *saveAtPos = nullptr;
  QListWidget *msgBoxSelectAt = nullptr;
  QLabel *inBoxMessageNum = nullptr;
  QLabel *outBoxMessageNum = nullptr;
  QLabel *draftBoxMessageNum = nullptr;
  QLineEdit *SearchSMS_item = nullptr;
  QPushButton *smsSearchBtn_ = nullptr;
  QTableView *msgBoxList = nullptr;
  QTextBrowser *messageText = nullptr;
  QPushButton *callBtn = nullptr;
  QPushButton *deleteBtn = nullptr;
  QPushButton *replyBtn = nullptr;
  QPushButton *forwardMessageBtn = nullptr;
  QPushButton *saveToBtn = nullptr;
  QPushButton *btnMoveTo_ = nullptr;
  QPushButton *newMessageBtn = nullptr;
  QComboBox *savePhonePopUp = nullptr;
  // ---- managing stored messages ----
  QPushButton *btnRecover_ = nullptr;
  QPushButton *btnMoveToImportantBox_ = nullptr;
  // The destination of Save-to and Move-to when more than two positions are configured.
  QComboBox *popBtnSaveMessage_ = nullptr;
  // The folder tree of positions and boxes; its clicks choose in the two lists.
  NSOutlineViewExt *outlineSMSTree = nullptr;
  // ---- end ----

  // The row of the box list whose counter a label shows.
  QList<QLabel *> boxCounters() const { return {inBoxMessageNum, outBoxMessageNum, draftBoxMessageNum}; }
  // The counters sit at the right end of their box's row (the InBox's, OutBox's and DraftBox's
  // rows of the box list; -1: the box is not listed) and move with the rows when the list
  // scrolls or changes size.
  void placeBoxCounters(const QList<int> &rows);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void placeBoxCounters();
  QList<int> counterRows_;
};
