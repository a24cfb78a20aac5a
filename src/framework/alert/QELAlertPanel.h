#pragma once

#include "QELUIController.h"

#include <QPointer>

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

  Q_INVOKABLE void btnOKAction(QObject *sender = nullptr);
  Q_INVOKABLE void btnCancelAction(QObject *sender = nullptr);

  QDialog *window() const { return wndAlert_; }
  QLabel *titleLabel() const { return labelTitle_; }
  QLabel *messageLabel() const { return labelMsg_; }
  NSButtonExt *okButton() const { return btnOK_; }
  NSButtonExt *cancelButton() const { return btnCancel_; }

private:
  explicit QELAlertPanel(QObject *parent);

  QPointer<QDialog> wndAlert_;
  NSViewExt *contentView_ = nullptr; // carries the panel's skin image
  QLabel *labelTitle_ = nullptr;
  QLabel *labelMsg_ = nullptr;
  NSButtonExt *btnOK_ = nullptr;
  NSButtonExt *btnCancel_ = nullptr;
};
