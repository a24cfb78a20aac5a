#include "QELAlertPanel.h"

#include "FrameworkLinks.h"
#include "ModalQuestions.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

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
  wndAlert_ = new QDialog(nullptr, Qt::Dialog);
  wndAlert_->setObjectName(QStringLiteral("wndQELAlertPanel"));
  wndAlert_->setModal(true);
  labelTitle_ = new QLabel(wndAlert_);
  labelTitle_->setObjectName(QStringLiteral("labelQELAlertPanelTitle"));
  labelMsg_ = new QLabel(wndAlert_);
  labelMsg_->setObjectName(QStringLiteral("labelQELAlertPanelMsg"));
  labelMsg_->setWordWrap(true);
  btnOK_ = new QPushButton(wndAlert_);
  btnOK_->setObjectName(QStringLiteral("btnAlertOK"));
  btnOK_->setDefault(true);
  btnCancel_ = new QPushButton(wndAlert_);
  btnCancel_->setObjectName(QStringLiteral("btnAlertCancel"));
  auto *layout = new QVBoxLayout(wndAlert_);
  layout->addWidget(labelTitle_);
  layout->addWidget(labelMsg_);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnCancel_);
  buttons->addWidget(btnOK_);
  layout->addLayout(buttons);
}

QELAlertPanel::~QELAlertPanel() {
  if (g_QELAlertPanel == this)
    g_QELAlertPanel = nullptr;
  delete wndAlert_.data();
}

void QELAlertPanel::awakeFromNib() {
  connect(btnOK_, &QPushButton::clicked, this, [this] { btnOKAction(btnOK_); });
  connect(btnCancel_, &QPushButton::clicked, this, [this] { btnCancelAction(btnCancel_); });
  FrameworkLinks::registerController(qelSkinManager, wndAlert_, QStringLiteral("wndQELAlertPanel"), true);
  FrameworkLinks::registerController(qelSkinManager, labelMsg_, QStringLiteral("labelQELAlertPanelMsg"), true);
  FrameworkLinks::registerController(qelSkinManager, labelTitle_, QStringLiteral("labelQELAlertPanelTitle"), true);
  FrameworkLinks::registerController(qelSkinManager, btnOK_, QStringLiteral("btnAlertOK"), true);
  FrameworkLinks::registerController(qelSkinManager, btnCancel_, QStringLiteral("btnAlertCancel"), true);
}

int QELAlertPanel::runAlertPanelTitle(const QString &title, const QString &message, const QString &defaultButton,
                                      const QString &alternateButton) {
  if (!wndAlert_ || !FrameworkLinks::hasKey(qelSkinManager, QStringLiteral("wndQELAlertPanel")))
    return runSystemAlertPanel(title, message, defaultButton, alternateButton);
  const ModalQuestion question{QStringLiteral("alert"), title, message, defaultTitle(defaultButton), alternateButton};
  labelTitle_->setText(title);
  labelMsg_->setText(message);
  btnOK_->setText(question.defaultButton);
  if (alternateButton.isNull()) {
    btnCancel_->hide();
  } else {
    btnCancel_->setText(alternateButton);
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
