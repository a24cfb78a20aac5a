#include "QELAlertPanel.h"

#include "FrameworkLinks.h"
#include "ModalQuestions.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

QELAlertPanel *g_QELAlertPanel = nullptr;

// An alert answers 1 or 0 and nothing else; without an alternate button only 1 can be chosen,
// unless the device went away while the alert was up.
int alertAnswer(int answer, const QString &alternateButton, bool closedByRemoval) {
  if (closedByRemoval)
    return ModalQuestions::kAlternateAnswer;
  if (alternateButton.isNull())
    return ModalQuestions::kDefaultAnswer;
  return answer == ModalQuestions::kDefaultAnswer ? ModalQuestions::kDefaultAnswer : ModalQuestions::kAlternateAnswer;
}

QString defaultTitle(const QString &title) {
  return title.isEmpty() ? QStringLiteral("OK") : title;
}

} // namespace

int runSystemAlertPanel(const QString &title, const QString &message, const QString &defaultButton,
                        const QString &alternateButton) {
  const ModalQuestion question{QStringLiteral("systemAlert"), title, message, defaultTitle(defaultButton),
                               alternateButton};
  QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton, QApplication::activeWindow());
  QPushButton *ok = box.addButton(question.defaultButton, QMessageBox::AcceptRole);
  if (!alternateButton.isNull())
    box.setEscapeButton(box.addButton(alternateButton, QMessageBox::RejectRole));
  box.setDefaultButton(ok);
  const bool scripted = ModalQuestions::hasResponder();
  bool removed = false;
  int answer = ModalQuestions::runDialog(&box, question, &removed);
  // A message box answers with the button that was clicked, not with a result code.
  if (!scripted && !removed)
    answer = box.clickedButton() == ok ? ModalQuestions::kDefaultAnswer : ModalQuestions::kAlternateAnswer;
  return alertAnswer(answer, alternateButton, removed);
}

int NSRunAlertPanelExt(const QString &title, const QString &message, const QString &defaultButton,
                       const QString &alternateButton) {
  if (QELAlertPanel *panel = QELAlertPanel::shareAlertPanel())
    return panel->runAlertPanelTitle(title, message, defaultButton, alternateButton);
  return runSystemAlertPanel(title, message, defaultButton, alternateButton);
}

QELAlertPanel *QELAlertPanel::create(QObject *parent) {
  if (g_QELAlertPanel)
    return g_QELAlertPanel;
  g_QELAlertPanel = new QELAlertPanel(parent);
  return g_QELAlertPanel;
}

QELAlertPanel *QELAlertPanel::shareAlertPanel() {
  return g_QELAlertPanel;
}

QELAlertPanel::QELAlertPanel(QObject *parent) : QELUIController(parent) {
  // A borderless panel drawn by its skin image; the parts sit where the skin puts them (the
  // places below are those of the default skin, for a skin that leaves them out).
  wndAlert_ = new QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
  wndAlert_->setObjectName(QStringLiteral("wndQELAlertPanel"));
  wndAlert_->setAttribute(Qt::WA_TranslucentBackground);
  wndAlert_->setModal(true);
  wndAlert_->resize(400, 176);
  contentView_ = new NSViewExt(wndAlert_);
  contentView_->setObjectName(QStringLiteral("contentView"));
  contentView_->setGeometry(0, 0, 400, 176);
  labelTitle_ = new QLabel(contentView_);
  labelTitle_->setObjectName(QStringLiteral("labelQELAlertPanelTitle"));
  labelTitle_->setGeometry(84, 26, 292, 24);
  labelMsg_ = new QLabel(contentView_);
  labelMsg_->setObjectName(QStringLiteral("labelQELAlertPanelMsg"));
  labelMsg_->setWordWrap(true);
  labelMsg_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  labelMsg_->setGeometry(84, 52, 292, 54);
  btnOK_ = new NSButtonExt(contentView_);
  btnOK_->setObjectName(QStringLiteral("btnAlertOK"));
  btnOK_->setDefault(true);
  btnOK_->setGeometry(280, 130, 104, 30);
  btnCancel_ = new NSButtonExt(contentView_);
  btnCancel_->setObjectName(QStringLiteral("btnAlertCancel"));
  btnCancel_->setGeometry(164, 130, 104, 30);
}

QELAlertPanel::~QELAlertPanel() {
  if (g_QELAlertPanel == this)
    g_QELAlertPanel = nullptr;
  delete wndAlert_.data();
}

void QELAlertPanel::awakeFromNib() {
  btnOK_->setTarget(this);
  btnOK_->setAction("btnOKAction");
  btnCancel_->setTarget(this);
  btnCancel_->setAction("btnCancelAction");
  FrameworkLinks::registerController(qelSkinManager, wndAlert_, QStringLiteral("wndQELAlertPanel"), true);
  FrameworkLinks::registerController(qelSkinManager, labelMsg_, QStringLiteral("labelQELAlertPanelMsg"), true);
  FrameworkLinks::registerController(qelSkinManager, labelTitle_, QStringLiteral("labelQELAlertPanelTitle"), true);
  FrameworkLinks::registerController(qelSkinManager, btnOK_, QStringLiteral("btnAlertOK"), true);
  FrameworkLinks::registerController(qelSkinManager, btnCancel_, QStringLiteral("btnAlertCancel"), true);
  // The panel takes the size of its skin image.
  wndAlert_->resize(contentView_->size());
}

int QELAlertPanel::runAlertPanelTitle(const QString &title, const QString &message, const QString &defaultButton,
                                      const QString &alternateButton) {
  if (!wndAlert_ || !FrameworkLinks::hasKey(qelSkinManager, QStringLiteral("wndQELAlertPanel")))
    return runSystemAlertPanel(title, message, defaultButton, alternateButton);
  const ModalQuestion question{QStringLiteral("alert"), title, message, defaultTitle(defaultButton), alternateButton};
  labelTitle_->setText(title);
  labelMsg_->setText(message);
  btnOK_->setTitle(question.defaultButton);
  if (alternateButton.isNull()) {
    btnCancel_->hide();
  } else {
    btnCancel_->setTitle(alternateButton);
    btnCancel_->show();
  }
  bool removed = false;
  const int answer = ModalQuestions::runDialog(wndAlert_, question, &removed);
  return alertAnswer(answer, alternateButton, removed);
}

void QELAlertPanel::btnOKAction(QObject *) {
  if (wndAlert_)
    wndAlert_->done(ModalQuestions::kDefaultAnswer);
}

void QELAlertPanel::btnCancelAction(QObject *) {
  if (wndAlert_)
    wndAlert_->done(ModalQuestions::kAlternateAnswer);
}
