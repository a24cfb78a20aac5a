#include "SmsSendNeighbours.h"

#include "InitController.h"
#include "MainController.h"
#include "SMSController.h"
#include "SelectWindowControl.h"

#include <QPointer>

void wireSmsSendNeighbours(SMSController *sms, MainController *main, InitController *init) {
  if (!sms)
    return;
  SmsSendState &send = sms->sendState();
  const QPointer<MainController> m(main);
  const QPointer<InitController> i(init);
  send.isSendingUserInfo = [m] { return m && m->isSendingUserInfo(); };
  send.setIsSendingUserInfo = [m](bool on) {
    if (m)
      m->setIsSendingUserInfo(on);
  };
  send.reportSendFlag = [i] { return i && i->reportSendFlag(); };
  send.setReportSendFlag = [i](bool on) {
    if (i)
      i->setReportSendFlag(on);
  };
  send.showContactPicker = [](QWidget *editor) {
    if (editor)
      SelectWindowControl::setSelectWindowSize(editor->size());
    auto *picker = new SelectWindowControl;
    picker->allowsContactTableMultiSelection(true);
    picker->simpliedSelectWnd(QSize(285, 448));
    picker->showWindow(editor);
  };
}
