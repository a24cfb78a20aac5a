// SMSController: what happens while the user types in the editor: the text counted and cut at
// five parts, the recipients field kept to numbers, and contacts picked from the phonebook.
#include "SMSController.h"
#include "SmsSendWindows.h"
#include "SmsSendWording.h"
#include "TextFormats.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolButton>

using namespace smssend;

namespace {
// Keeps the over-length warning from being shown twice at once.
bool isPopWarningWindow = false;
} // namespace

void SMSController::textDidChangeForSMS() {
  SmsEditorWindow *editor = messageWindow();
  const QString typed = editor->sendMessageText->toPlainText();
  send_.formatter.setPackNum(1);
  if (typed.isEmpty()) {
    editor->textCount->clear();
    return;
  }
  const SmsTextCount count = SmsTextCount::of(typed, currentSmsCodecSettings());
  if (count.cut) {
    {
      const QSignalBlocker block(editor->sendMessageText);
      editor->sendMessageText->setPlainText(count.text);
      editor->sendMessageText->moveCursor(QTextCursor::End);
    }
    if (!isPopWarningWindow) {
      isPopWarningWindow = true;
      warn("SMS content exceeds the max length!");
      // Cleared whatever the panel answers, so a panel closed by the device's removal does not
      // silence the warning for good.
      isPopWarningWindow = false;
    }
  }
  editor->sendNumInfo->clear();
  editor->textCount->setText(fillWordedFormat(word("%@ %d/%d"), {word("info:"), count.characters, count.parts}));
  send_.formatter.setPackNum(count.parts);
}

void SMSController::controlTextDidChange() {
  SmsEditorWindow *editor = messageWindow();
  const QString text = editor->sendMessageTo->text();
  if (text.isEmpty()) {
    editor->receiverName->clear();
    return;
  }
  const QVariant configured = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("ReceverMaxNumber"));
  const int max = configured.isValid() ? configured.toInt() : 20;
  const SmsRecipients::Filtered filtered = SmsRecipients::filter(text, phoneSeparator().at(0), max);
  if (filtered.text.size() < text.size())
    editor->sendMessageTo->setText(filtered.text);
  if (filtered.tooMany)
    warn("Number of receivers should not be more than 20!");
  editor->receiverName->setText(searchMultiPhoneNumber(editor->sendMessageTo->text()));
}

void SMSController::initSearchField() {
  if (!send_.messageWindow)
    return;
  QToolButton *button = send_.messageWindow->searchMenuButton;
  button->setToolTip(word("Search contact from phonebook"));
  button->setText(word("phonebook"));
  QMenu *menu = button->menu();
  menu->clear();
  menu->setTitle(word("Search contact from phonebook"));
  menu->addAction(word("phonebook"), this, [this] { showSelectWindow(); });
}

void SMSController::showSelectWindow() {
  if (send_.showContactPicker)
    send_.showContactPicker(messageWindow());
}

QString SMSController::searchNameAtPhoneBookInSms(const QString &number) const {
  const QString name = lookupName(number);
  return name == number ? QString() : name;
}
