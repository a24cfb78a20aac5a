#pragma once

#include "CodeSheet.h"
#include "MainWindowFixture.h"
#include "SettingController.h"

#include <QCoreApplication>

// The main window with its settings window, against the simulated modem or offline.
class SettingFixture : public MainWindowFixture {
protected:
  SettingController *settings() const { return g_SettingController; }

  int askedCount(const QString &message) const {
    return int(std::count_if(answers->asked().cbegin(), answers->asked().cend(),
                             [&](const ModalQuestion &q) { return q.message == message; }));
  }
  bool waitAsked(const QString &message, int count = 1) {
    return testsupport::waitUntil([&] { return askedCount(message) >= count; });
  }
  bool waitVisible(QWidget *w) {
    return testsupport::waitUntil([w] { return w->isVisible(); });
  }
  // Types codes into a sheet's fields and presses OK.
  void fill(CodeSheet *sheet, const QStringList &codes) {
    for (int i = 0; i < codes.size(); ++i)
      sheet->field(i)->setText(codes[i]);
    sheet->ok->click();
  }
  // The packages of (major, minor) the backend received.
  QList<UIMsg> received(int major, int minor) const {
    QList<UIMsg> out;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg msg;
      if (UIMsg::decode(bytes, &msg) && msg.majorId == major && msg.minorId == minor)
        out << msg;
    }
    return out;
  }
  QString simState() const { return backend->control(QStringLiteral("SimState")).value(0).toString(); }
  int pinTries() const { return backend->control(QStringLiteral("SimState")).value(1).toInt(); }
  // The SIM is ready and the page's PIN box is live.
  bool waitReady() {
    return testsupport::waitUntil([&] { return settings()->m_PINEnable && settings()->m_PINEnable->isEnabled(); });
  }
};
