#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The sheet of the number update and the restore: a message, an indeterminate progress
// indicator while the work runs, and OK once the result is shown. It never blocks: the SIM's
// results arrive while it is up.
class UpdatePhonebookWindow : public QDialog {
  Q_OBJECT
public:
  explicit UpdatePhonebookWindow(QWidget *parent = nullptr);

  void setMsg(const QString &text);
  // Hides OK, starts the indicator and shows the sheet on `parent`'s window.
  void beginToCheckUpdate(QWidget *parent);
  // The result text with OK; the indicator stops.
  void showResult(const QString &text);
  // OK: the sheet goes.
  void ok();
  void endModalWindow();
  // Shows the sheet on `parent` (nothing without one).
  void popupAlertSheet(QWidget *parent);
  QString message() const;
  bool okShown() const;
  bool indicatorRunning() const;

  QLabel *tfdMsg_ = nullptr;
  QProgressBar *piIndicator_ = nullptr;
  QPushButton *btnOk_ = nullptr;
};
