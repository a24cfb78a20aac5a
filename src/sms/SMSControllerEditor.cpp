// SMSController: the message editor (new, reply, forward, to a number, a draft opened from the
// DraftBox) and drafts (through the backend, or straight into the PC DraftBox).
#include "ListFile.h"
#include "Neighbourhood.h"
#include "NotificationCenter.h"
#include "QELMsgCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SettingsNeighbour.h"
#include "SmsDraftRequest.h"
#include "SmsRecord.h"
#include "SmsSendWindows.h"
#include "SmsSendWording.h"
#include "SmsService.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

using namespace smssend;

namespace {
constexpr int kMinorDelete = 92;
constexpr int kMinorDraft = 94;
constexpr int kOperationDraft = 17;

QString withSeparator(const QString &number, const QString &separator) {
  if (number.isEmpty() || separator.isEmpty() || number.endsWith(separator.at(0)))
    return number;
  return number + separator;
}

bool isPcOrTcard(int position) {
  return position == AT_PC || position == AT_TCARD;
}
} // namespace

SmsEditorWindow *SMSController::messageWindow() {
  if (send_.messageWindow)
    return send_.messageWindow;
  auto *editor = new SmsEditorWindow(wndMain ? wndMain.data() : nullptr);
  send_.messageWindow = editor;
  editor->SendMessageBtn->setText(word("Send"));
  editor->SaveToDraftBtn->setText(word("SaveToDraft"));
  editor->MessageWinCancelBtn->setText(getControlWordingValueByKey(QStringLiteral("Cancel"), kModuleSms));
  connect(editor->SendMessageBtn, &QPushButton::clicked, this, [this, editor] { sendMessage(editor->SendMessageBtn); });
  connect(editor->SaveToDraftBtn, &QPushButton::clicked, this,
          [this, editor] { saveMessageToDraft(editor->SaveToDraftBtn); });
  connect(editor->MessageWinCancelBtn, &QPushButton::clicked, this,
          [this, editor] { cancel(editor->MessageWinCancelBtn); });
  connect(editor, &SmsEditorWindow::cancelRequested, this, [this] { cancel(nullptr); });
  connect(editor->sendMessageText, &QPlainTextEdit::textChanged, this, [this] { textDidChangeForSMS(); });
  connect(editor->sendMessageTo, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
  initSearchField();
  registerSkinItems({{editor, "wndSMSMessageEdit"},
                     {editor->MessageWinCancelBtn, "btnSMSCancelEditMsg"},
                     {editor->SaveToDraftBtn, "btnSMSSaveToDraft"},
                     {editor->SendMessageBtn, "btnSMSSendMsg"},
                     {editor->sendMessageTo, "textSendMessageTo"},
                     {editor->receiverName, "labelSMSSendTo"},
                     {editor->textCount, "labelSMSTextCount"},
                     {editor->sendMessageText, "textSendMessage"}});
  return editor;
}

QString SMSController::stringForSMSEditor() const {
  return send_.messageWindow ? send_.messageWindow->sendMessageText->toPlainText() : QString();
}

void SMSController::setStringForSMSEditor(const QString &text) {
  messageWindow()->sendMessageText->setPlainText(text);
}

void SMSController::openMessageWin() {
  SmsEditorWindow *editor = messageWindow();
  QWidget *main = editor->parentWidget();
  if (hasModuleWith(QStringLiteral("Call"))) {
    // A free window over the main window, so the user can go on using the main window.
    editor->setWindowFlags(Qt::Window);
    editor->setWindowModality(Qt::NonModal);
    editor->setWindowTitle(QString());
    if (main) {
      const QRect m = main->frameGeometry();
      const int left = m.left() + (m.width() - editor->width()) / 2;
      const int top = m.bottom() - 28 - editor->height();
      editor->move(left, qMax(0, top));
    }
  } else {
    editor->setWindowFlags(Qt::Sheet | Qt::Dialog);
    editor->setWindowModality(main ? Qt::WindowModal : Qt::ApplicationModal);
  }
  editor->show();
  editor->raise();
  editor->activateWindow();
}

void SMSController::closeMessageWin() {
  if (send_.messageWindow)
    send_.messageWindow->hide();
}

void SMSController::newMessage(QObject *) {
  SmsEditorWindow *editor = messageWindow();
  if (!editor->isVisible()) {
    editor->sendNumInfo->clear();
    editor->textCount->clear();
    editor->sendMessageTo->clear();
    editor->receiverName->clear();
    editor->sendMessageTo->setFocus();
    setStringForSMSEditor(QString());
    send_.isDraftSms = false;
    setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
  }
  if (SmsService::sharedSmsService()->sendingSMSInBackGround())
    setSMSInterfaceWhenSendSMSONBackGround();
  openMessageWin();
}

void SMSController::replyMessage(QObject *sender) {
  SmsEditorWindow *editor = messageWindow();
  editor->textCount->clear();
  editor->receiverName->clear();
  // The reply button and the menu item take the selected message's number; a module that
  // filled the recipients field itself calls with no sender through sendMessageToNumber.
  const bool fromSelection = sender != editor;
  if (fromSelection) {
    editor->sendMessageTo->clear();
    if (!currentSMSRecord_.isEmpty()) {
      const QString number = SmsRecord::number(currentSMSRecord_);
      const QString special = specialNameOf(number);
      editor->sendMessageTo->setText(special.isEmpty() ? withSeparator(number, phoneSeparator()) : special);
    }
  }
  send_.isDraftSms = false;
  setStringForSMSEditor(QString());
  openMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
}

void SMSController::sendMessageToNumber(const QString &number) {
  SmsEditorWindow *editor = messageWindow();
  editor->sendMessageTo->setText(number);
  replyMessage(editor);
}

void SMSController::forwardMessage(QObject *) {
  SmsEditorWindow *editor = messageWindow();
  send_.isDraftSms = getCurrentBox() == DraftBox && !currentSMSRecord_.isEmpty();
  if (send_.isDraftSms)
    send_.draft = SmsDraftKey::of(currentSMSRecord_, getCurrentPosition());
  editor->sendMessageTo->clear();
  editor->receiverName->clear();
  setStringForSMSEditor(currentSMSRecord_.isEmpty() ? QString() : SmsRecord::text(currentSMSRecord_));
  openMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
}

void SMSController::cancel(QObject *) {
  send_.isDraftSms = false;
  closeMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
}

void SMSController::saveMessageToDraft(QObject *) {
  SmsService::sharedSmsService()->setSmsCurrentOperate(kOperationDraft);
  if (m_nNetCardStatus == kNoDevice) {
    saveSMSToDraftWhenNetCaredUnDetected();
    return;
  }
  SmsEditorWindow *editor = messageWindow();
  const bool toSim = smsSwitch("isSaveDraftSMSToSIM");
  if (toSim) {
    if (SmsRecipients::isUnValidCharWithSendNumString(editor->sendMessageTo->text())) {
      warn("Receiver's phone number should not be null!!");
      return;
    }
    if (stringForSMSEditor().isEmpty()) {
      warn("SMS content is empty!!");
      return;
    }
  }
  SmsDraftRequest request;
  request.text = stringForSMSEditor();
  request.recipients = editor->sendMessageTo->text();
  request.centre = Neighbourhood::settings() ? Neighbourhood::settings()->readMessageCenter() : QString();
  request.report = Neighbourhood::settings() && Neighbourhood::settings()->readDeliveryReport();
  request.validity = quint32(Neighbourhood::settings() ? Neighbourhood::settings()->readValidityPeriod() : 3);
  const std::optional<QByteArray> payload = request.encode();
  if (!payload || !qelMsgCenter) {
    // Refused, never cut: the editor stays open with everything the user typed.
    qWarning("SMS: the draft does not fit a draft request");
    warn("SMS content exceeds the max length!");
    return;
  }
  if (!qelMsgCenter->sendMessageModuleID(kModuleSms, kMajorSms, kMinorDraft, 0, 0, *payload)) {
    saySaveFailed();
    return;
  }
  if (toSim)
    setButtonState(0);
  // The old copy goes only once the new one is stored; the editor stays open, with everything
  // typed in it, until the store answers.
  send_.resaves.append(send_.isDraftSms ? send_.draft : SmsDraftKey());
  draftSavesFromEditor_.append(true);
  if (editor->isVisible())
    editor->SaveToDraftBtn->setEnabled(false);
}

void SMSController::dealWithMsgOfSaveSMSToDraft(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  const SmsDraftKey old = send_.resaves.isEmpty() ? SmsDraftKey() : send_.resaves.takeFirst();
  const bool fromEditor = !draftSavesFromEditor_.isEmpty() && draftSavesFromEditor_.takeFirst();
  loadSmsList();
  if (msg.result == 0 && old.valid)
    deleteDraft(old);
  setButtonState(1);
  if (fromEditor && send_.messageWindow)
    send_.messageWindow->SaveToDraftBtn->setEnabled(true);
  if (msg.result != 0) {
    // Not stored: the editor keeps the text (and the draft it came from); saving again tries
    // again. Said once, without waiting: this is a backend handler.
    qWarning("SMS: the modem did not store the draft");
    saySaveFailed();
    reloadTable();
    return;
  }
  saveSucceeded();
  if (fromEditor) {
    if (send_.resaves.isEmpty())
      send_.isDraftSms = false;
    closeMessageWin();
    setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), true);
    if (page) {
      if (!smsSwitch("isSaveDraftSMSToSIM")) {
        page->saveAtPos->setCurrentRow(std::max(0, qelPositionManager_.getPositionOrderByPositon(AT_PC)));
        selectSaveAt();
      }
      page->msgBoxSelectAt->setCurrentRow(getBoxDisplayOrderWithBox(DraftBox, page->msgBoxSelectAt->count()));
      msgBoxSelect();
    }
  }
  reloadTable();
}

void SMSController::addToPcDraftBoxWithPhone(const QString &number, const QString &text) {
  const QString body = text.isNull() ? stringForSMSEditor() : text;
  if (m_nNetCardStatus == kNoDevice) {
    // No backend to ask: the draft goes into the PC list itself.
    const QVariantMap draft{{QStringLiteral("messagetext"), body},
                            {QStringLiteral("mobilephone"), number},
                            {QStringLiteral("date"), QDateTime::currentDateTime()},
                            {QStringLiteral("stat"), QString()}};
    // Kept and written again when the list cannot take it now.
    storeInPcList(DraftBox, draft, false);
  } else {
    SmsDraftRequest request;
    request.text = body;
    request.recipients = number;
    const std::optional<QByteArray> payload = request.encode();
    if (payload && qelMsgCenter) {
      send_.resaves.append(SmsDraftKey());
      draftSavesFromEditor_.append(false);
      qelMsgCenter->sendMessageModuleID(kModuleSms, kMajorSms, kMinorDraft, 0, 0, *payload);
    }
  }
  if (page) {
    page->saveAtPos->setCurrentRow(std::max(0, qelPositionManager_.getPositionOrderByPositon(AT_PC)));
    selectSaveAt();
    page->msgBoxSelectAt->setCurrentRow(getBoxDisplayOrderWithBox(DraftBox, page->msgBoxSelectAt->count()));
    msgBoxSelect();
  }
  loadSmsList();
  reloadTable();
}

bool SMSController::deleteDraft(const SmsDraftKey &key) {
  if (!key.valid)
    return false;
  if (isPcOrTcard(key.position)) {
    const QString path = SmsListFiles::pathOfPosition(key.position);
    if (path.isEmpty())
      return false;
    const QString boxKey = getBoxStrWithBox(DraftBox);
    bool removed = false;
    ListFile::update(path, [&](QVariantMap &dict) {
      QVariantList drafts = dict.value(boxKey).toList();
      const int at = key.findIn(drafts);
      if (at < 0)
        return false;
      drafts.removeAt(at);
      dict.insert(boxKey, drafts);
      removed = true;
      return true;
    });
    loadSmsList();
    reloadTable();
    return removed;
  }
  // A draft of the device's stores is deleted by the backend, at its index in a fresh list.
  loadSmsList();
  const int at = key.findIn(boxList(key.position, DraftBox));
  if (at < 0 || !qelMsgCenter)
    return false;
  const int index = boxList(key.position, DraftBox).at(at).toMap().value(QStringLiteral("index"), at).toInt();
  QByteArray data(12, '\0');
  const quint32 words[3] = {quint32(key.position), quint32(DraftBox), quint32(index)};
  for (int w = 0; w < 3; ++w)
    for (int b = 0; b < 4; ++b)
      data[4 * w + b] = char((words[w] >> (8 * b)) & 0xFF);
  return qelMsgCenter->sendMessageModuleID(kModuleSms, kMajorSms, kMinorDelete, 0, 0, data);
}

QString SMSController::getPhoneNumWithSMSDict(const QVariantMap &entry, int box, int position) const {
  if (entry.isEmpty())
    return QString();
  if (box == DraftBox && isPcOrTcard(position) && SmsRecord::isFlat(entry))
    return withSeparator(entry.value(QStringLiteral("mobilephone")).toString(), phoneSeparator());
  return SmsRecord::number(entry);
}

void SMSController::setTextAndPhoneWhenDoubleClickDrafBox() {
  SmsEditorWindow *editor = messageWindow();
  if (currentSMSRecord_.isEmpty()) {
    setStringForSMSEditor(QString());
    return;
  }
  const QString number = getPhoneNumWithSMSDict(currentSMSRecord_, DraftBox, getCurrentPosition());
  if (!number.isEmpty()) {
    const QString sep = phoneSeparator();
    const QString bare = number.endsWith(sep) ? number.left(number.size() - sep.size()) : number;
    const QString special = specialNameOf(bare);
    editor->sendMessageTo->setText(special.isEmpty() ? number : special);
  }
  setStringForSMSEditor(SmsRecord::text(currentSMSRecord_));
}

void SMSController::sendMessageInDraftBox(QObject *) {
  if (!page || selectedRows_.size() > 1)
    return;
  SmsEditorWindow *editor = messageWindow();
  const int box = getCurrentBox();
  if (box == DraftBox) {
    send_.isDraftSms = !currentSMSRecord_.isEmpty();
    send_.draft = SmsDraftKey::of(currentSMSRecord_, getCurrentPosition());
    editor->sendMessageTo->clear();
    editor->receiverName->clear();
    setStringForSMSEditor(QString());
    setTextAndPhoneWhenDoubleClickDrafBox();
    if (!smsSwitch("HideSpecialNumber"))
      controlTextDidChange();
  } else if (box == InBox || box == OutBox) {
    send_.isDraftSms = false;
    editor->sendMessageTo->clear();
    editor->receiverName->clear();
    setStringForSMSEditor(QString());
    if (!currentSMSRecord_.isEmpty()) {
      const QString number = SmsRecord::number(currentSMSRecord_);
      const QString special = specialNameOf(number);
      editor->sendMessageTo->setText(special.isEmpty() ? withSeparator(number, phoneSeparator()) : special);
      setStringForSMSEditor(SmsRecord::text(currentSMSRecord_));
    }
  } else {
    send_.isDraftSms = false;
  }
  openMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
}

void SMSController::replyMessageFromMMS(const QString &number) {
  SmsEditorWindow *editor = messageWindow();
  editor->textCount->clear();
  editor->sendMessageTo->setText(number);
  editor->receiverName->clear();
  setStringForSMSEditor(QString());
  openMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
}

void SMSController::reloadPCSmsList() {
  const QString path = SmsListFiles::pathOfPosition(AT_PC);
  if (!path.isEmpty())
    ListFile::update(path, [this](QVariantMap &dict) {
      bool changed = false;
      for (int box : {int(InBox), int(OutBox), int(DraftBox)}) {
        const QString key = getBoxStrWithBox(box);
        if (!dict.contains(key)) {
          dict.insert(key, QVariantList());
          changed = true;
        }
      }
      return changed;
    });
  loadSmsList();
  reloadTable();
}

// The buttons of the tab that open the editor, and the list's double-click.
void SMSController::bindSendActions() {
  send_.delayTimer.setSingleShot(true);
  connect(&send_.delayTimer, &QTimer::timeout, this, [this] { delaySendStatus(); });
  send_.operatorNoSendInfoWnd = smsSwitch("noSendInfoWnd");
  if (!page)
    return;
  connect(page->newMessageBtn, &QPushButton::clicked, this, [this] { newMessage(page->newMessageBtn); });
  connect(page->replyBtn, &QPushButton::clicked, this, [this] { replyMessage(page->replyBtn); });
  connect(page->forwardMessageBtn, &QPushButton::clicked, this, [this] { forwardMessage(page->forwardMessageBtn); });
  connect(page->msgBoxList, &QAbstractItemView::doubleClicked, this,
          [this] { sendMessageInDraftBox(page->msgBoxList); });
}
