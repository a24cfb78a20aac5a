#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class SimulatedModem;
struct UIMsg;

// The simulated SIM application (the SIM toolkit, module 6, major 1280). Once the SIM is ready
// it pushes its main menu (1280/125); selections (131 main menu, 132 sub-menu) open a sub-menu
// (126), an alert (127, or 128 without buttons), an input request (129) or information (130);
// Back (133) climbs one menu, Exit (134) returns to the main menu, alert answers (135, 136) and
// input cancel (138) show the current menu again, and an input answer (137, UTF-16 units) is
// kept and may be answered with information. Every push has type 0.
//
// Scenario key "STK" (optional; without it the SIM has no toolkit):
//   "Title"  string  the main menu's title
//   "Items"  array   menu entries, each a dictionary with "Text" and one of
//       "Items" (array, with an optional "Title"): a sub-menu
//       "Alert" (string), with "NoButton" true for an alert without buttons
//       "Input" (dictionary: "Prompt", "Min", "Max", optional "Reply" information text in
//               which "%@" stands for the answer)
//       "Information" (string)
class SimToolkit : public QObject {
  Q_OBJECT
public:
  static SimToolkit *install(SimulatedModem &modem);
  static SimToolkit *of(SimulatedModem &modem);

  // Pushes a proactive request: kind "menu" (the main menu; a non-empty text replaces its title),
  // "alert", "alertNoButton", "input" (text the prompt, with the bounds) or "information". False
  // before the SIM is ready or for an unknown kind.
  bool push(const QString &kind, const QString &text, int minimum, int maximum);
  // The last input answer received.
  QString lastInput() const { return lastInput_; }
  // Menu depth: 0 on the main menu.
  int depth() const { return int(path_.size()); }

private:
  explicit SimToolkit(SimulatedModem &modem);
  void onRequest(const UIMsg &msg);
  void sendMainMenu();
  void sendCurrentMenu();
  void act(const QVariantMap &entry);
  QVariantList currentItems() const;
  QVariantMap toolkit() const;

  SimulatedModem &modem_;
  bool simReady_ = false;
  QString title_;            // a pushed title replacing the scenario's
  QList<QVariantMap> path_;  // the open sub-menus, outermost first
  QVariantMap pendingInput_; // the input request waiting for its answer
  QString lastInput_;
};
