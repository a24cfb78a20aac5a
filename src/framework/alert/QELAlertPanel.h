#pragma once

#include "QELUIController.h"

#include <QPointer>
#include <functional>

#include <QDialog>
class NSButtonExt;
class NSViewExt;
class QLabel;

// The program-wide modal alert: the skinned panel when it exists and the current skin describes
// it, the system's alert otherwise. Answers 1 for the default button and 0 for the alternate
// one (also when the device is removed while the alert is up). A null alternate title shows
// only the default button.
int NSRunAlertPanelExt(const QString &title, const QString &message, const QString &defaultButton,
                       const QString &alternateButton = QString());

// The system's alert (a message box), through the same question layer.
int runSystemAlertPanel(const QString &title, const QString &message, const QString &defaultButton,
                        const QString &alternateButton = QString());

// The same alert without waiting: it stays up (application-modal) while the caller returns, and
// `done` gets the answer (1 or 0; 0 also when the device went while it was up). Backend handlers
// use this one, so that packages, the device's removal among them, keep arriving while the user
// reads. An alert the same as one already up is not shown again, and `done` is not called.
using AlertAnswerHandler = std::function<void(int answer, bool closedByRemoval)>;
void NSBeginAlertPanelExt(const QString &title, const QString &message, const QString &defaultButton,
                          const QString &alternateButton = QString(), AlertAnswerHandler done = {});
void beginSystemAlertPanel(const QString &title, const QString &message, const QString &defaultButton,
                           const QString &alternateButton = QString(), AlertAnswerHandler done = {});

// The skinned alert panel. One per process: create() answers the existing one when there is one.
class QELAlertPanel : public QELUIController {
  Q_OBJECT
public:
  static QELAlertPanel *create(QObject *parent = nullptr);
  static QELAlertPanel *shareAlertPanel();
  ~QELAlertPanel() override;

  // Replaces the controller wake-up: wires the buttons and registers the panel's parts with the
  // skin manager.
  void awakeFromNib() override;

  int runAlertPanelTitle(const QString &title, const QString &message, const QString &defaultButton,
                         const QString &alternateButton = QString());
  void beginAlertPanelTitle(const QString &title, const QString &message, const QString &defaultButton,
                            const QString &alternateButton = QString(), AlertAnswerHandler done = {});

  Q_INVOKABLE void btnOKAction(QObject *sender = nullptr);
  Q_INVOKABLE void btnCancelAction(QObject *sender = nullptr);

  QDialog *window() const { return wndAlert_; }
  QLabel *titleLabel() const { return labelTitle_; }
  QLabel *messageLabel() const { return labelMsg_; }
  NSButtonExt *okButton() const { return btnOK_; }
  NSButtonExt *cancelButton() const { return btnCancel_; }

private:
  explicit QELAlertPanel(QObject *parent);

  // One panel window and its parts. The panel's own window serves one alert at a time; an alert
  // that comes while it is up gets a window of its own, made and skinned the same way and
  // deleted when answered.
  struct Parts {
    QDialog *window = nullptr;
    NSViewExt *content = nullptr;
    QLabel *title = nullptr;
    QLabel *message = nullptr;
    NSButtonExt *ok = nullptr;
    NSButtonExt *cancel = nullptr;
  };
  static Parts makeParts();
  void wireParts(const Parts &parts);
  // The panel's own parts when its window is free, else new ones (`spare` set).
  Parts freeParts(bool *spare);
  static void fill(const Parts &parts, const QString &title, const QString &message, const QString &defaultButton,
                   const QString &alternateButton);

  QPointer<QDialog> wndAlert_;
  NSViewExt *contentView_ = nullptr; // carries the panel's skin image
  QLabel *labelTitle_ = nullptr;
  QLabel *labelMsg_ = nullptr;
  NSButtonExt *btnOK_ = nullptr;
  NSButtonExt *btnCancel_ = nullptr;
};
