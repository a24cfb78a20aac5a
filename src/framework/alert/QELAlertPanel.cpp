#include "QELAlertPanel.h"

#include "AlertKinds.h"
#include "FrameworkLinks.h"
#include "ModalQuestions.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

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
  QMessageBox box(AlertKinds::iconFor(title, !alternateButton.isNull()), title, message, QMessageBox::NoButton,
                  QApplication::activeWindow());
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

void beginSystemAlertPanel(const QString &title, const QString &message, const QString &defaultButton,
                           const QString &alternateButton, AlertAnswerHandler done) {
  const ModalQuestion question{QStringLiteral("systemAlert"), title, message, defaultTitle(defaultButton),
                               alternateButton};
  auto *box = new QMessageBox(AlertKinds::iconFor(title, !alternateButton.isNull()), title, message,
                              QMessageBox::NoButton, QApplication::activeWindow());
  box->setAttribute(Qt::WA_DeleteOnClose);
  QPushButton *ok = box->addButton(question.defaultButton, QMessageBox::AcceptRole);
  if (!alternateButton.isNull())
    box->setEscapeButton(box->addButton(alternateButton, QMessageBox::RejectRole));
  box->setDefaultButton(ok);
  const bool scripted = ModalQuestions::hasResponder();
  const QPointer<QMessageBox> guard(box);
  const bool shown =
      ModalQuestions::open(box, question, [guard, ok, scripted, alternateButton, done](int answer, bool removed) {
        // A message box answers with the button that was clicked, not with a result code.
        if (!scripted && !removed && guard)
          answer = guard->clickedButton() == ok ? ModalQuestions::kDefaultAnswer : ModalQuestions::kAlternateAnswer;
        if (done)
          done(alertAnswer(answer, alternateButton, removed), removed);
      });
  if (!shown || scripted)
    delete box;
}

int NSRunAlertPanelExt(const QString &title, const QString &message, const QString &defaultButton,
                       const QString &alternateButton) {
  if (QELAlertPanel *panel = QELAlertPanel::shareAlertPanel())
    return panel->runAlertPanelTitle(title, message, defaultButton, alternateButton);
  return runSystemAlertPanel(title, message, defaultButton, alternateButton);
}

void NSBeginAlertPanelExt(const QString &title, const QString &message, const QString &defaultButton,
                          const QString &alternateButton, AlertAnswerHandler done) {
  if (QELAlertPanel *panel = QELAlertPanel::shareAlertPanel())
    panel->beginAlertPanelTitle(title, message, defaultButton, alternateButton, std::move(done));
  else
    beginSystemAlertPanel(title, message, defaultButton, alternateButton, std::move(done));
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

QELAlertPanel::Parts QELAlertPanel::makeParts() {
  // A borderless panel drawn by its skin image; the parts sit where the skin puts them (the
  // places below are those of the default skin, for a skin that leaves them out).
  Parts p;
  p.window = new QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
  p.window->setObjectName(QStringLiteral("wndQELAlertPanel"));
  p.window->setAttribute(Qt::WA_TranslucentBackground);
  p.window->setModal(true);
  p.window->resize(400, 176);
  p.content = new NSViewExt(p.window);
  p.content->setObjectName(QStringLiteral("contentView"));
  p.content->setGeometry(0, 0, 400, 176);
  p.title = new QLabel(p.content);
  p.title->setObjectName(QStringLiteral("labelQELAlertPanelTitle"));
  p.title->setGeometry(84, 26, 292, 24);
  p.message = new QLabel(p.content);
  p.message->setObjectName(QStringLiteral("labelQELAlertPanelMsg"));
  p.message->setWordWrap(true);
  p.message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  p.message->setGeometry(84, 52, 292, 54);
  p.ok = new NSButtonExt(p.content);
  p.ok->setObjectName(QStringLiteral("btnAlertOK"));
  p.ok->setDefault(true);
  p.ok->setGeometry(280, 130, 104, 30);
  p.cancel = new NSButtonExt(p.content);
  p.cancel->setObjectName(QStringLiteral("btnAlertCancel"));
  p.cancel->setGeometry(164, 130, 104, 30);
  return p;
}

QELAlertPanel::QELAlertPanel(QObject *parent) : QELUIController(parent) {
  const Parts p = makeParts();
  wndAlert_ = p.window;
  contentView_ = p.content;
  labelTitle_ = p.title;
  labelMsg_ = p.message;
  btnOK_ = p.ok;
  btnCancel_ = p.cancel;
}

QELAlertPanel::~QELAlertPanel() {
  if (g_QELAlertPanel == this)
    g_QELAlertPanel = nullptr;
  delete wndAlert_.data();
}

void QELAlertPanel::wireParts(const Parts &p) {
  p.ok->setTarget(this);
  p.ok->setAction("btnOKAction");
  p.cancel->setTarget(this);
  p.cancel->setAction("btnCancelAction");
  FrameworkLinks::registerController(qelSkinManager, p.window, QStringLiteral("wndQELAlertPanel"), true);
  FrameworkLinks::registerController(qelSkinManager, p.message, QStringLiteral("labelQELAlertPanelMsg"), true);
  FrameworkLinks::registerController(qelSkinManager, p.title, QStringLiteral("labelQELAlertPanelTitle"), true);
  FrameworkLinks::registerController(qelSkinManager, p.ok, QStringLiteral("btnAlertOK"), true);
  FrameworkLinks::registerController(qelSkinManager, p.cancel, QStringLiteral("btnAlertCancel"), true);
  // The panel takes the size of its skin image.
  p.window->resize(p.content->size());
}

void QELAlertPanel::awakeFromNib() {
  wireParts({wndAlert_, contentView_, labelTitle_, labelMsg_, btnOK_, btnCancel_});
}

QELAlertPanel::Parts QELAlertPanel::freeParts(bool *spare) {
  *spare = wndAlert_->isVisible();
  if (!*spare)
    return {wndAlert_, contentView_, labelTitle_, labelMsg_, btnOK_, btnCancel_};
  const Parts p = makeParts();
  wireParts(p);
  return p;
}

void QELAlertPanel::fill(const Parts &p, const QString &title, const QString &message, const QString &defaultButton,
                         const QString &alternateButton) {
  p.title->setText(title);
  p.message->setText(message);
  // The skin's picture shows the information icon; other kinds cover it with their own.
  auto *icon = p.content->findChild<QLabel *>(QStringLiteral("alertKindIcon"), Qt::FindDirectChildrenOnly);
  if (!icon) {
    icon = new QLabel(p.content);
    icon->setObjectName(QStringLiteral("alertKindIcon"));
    icon->setGeometry(20, 26, 48, 48);
    icon->setAlignment(Qt::AlignCenter);
    icon->setStyleSheet(QStringLiteral("background: white;"));
  }
  const QMessageBox::Icon kind = AlertKinds::iconFor(title, !alternateButton.isNull());
  const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxInformation,
                                            QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical,
                                            QStyle::SP_MessageBoxQuestion};
  icon->setPixmap(QApplication::style()->standardIcon(pixmaps[int(kind)]).pixmap(40, 40));
  icon->setProperty("alertKind", int(kind));
  icon->setVisible(kind != QMessageBox::Information);
  p.ok->setTitle(defaultButton);
  if (alternateButton.isNull()) {
    p.cancel->hide();
  } else {
    p.cancel->setTitle(alternateButton);
    p.cancel->show();
  }
}

int QELAlertPanel::runAlertPanelTitle(const QString &title, const QString &message, const QString &defaultButton,
                                      const QString &alternateButton) {
  if (!wndAlert_ || !FrameworkLinks::hasKey(qelSkinManager, QStringLiteral("wndQELAlertPanel")))
    return runSystemAlertPanel(title, message, defaultButton, alternateButton);
  const ModalQuestion question{QStringLiteral("alert"), title, message, defaultTitle(defaultButton), alternateButton};
  bool spare = false;
  const Parts p = freeParts(&spare);
  fill(p, title, message, question.defaultButton, alternateButton);
  bool removed = false;
  const int answer = ModalQuestions::runDialog(p.window, question, &removed);
  if (spare)
    p.window->deleteLater();
  return alertAnswer(answer, alternateButton, removed);
}

void QELAlertPanel::beginAlertPanelTitle(const QString &title, const QString &message, const QString &defaultButton,
                                         const QString &alternateButton, AlertAnswerHandler done) {
  if (!wndAlert_ || !FrameworkLinks::hasKey(qelSkinManager, QStringLiteral("wndQELAlertPanel"))) {
    beginSystemAlertPanel(title, message, defaultButton, alternateButton, std::move(done));
    return;
  }
  const ModalQuestion question{QStringLiteral("alert"), title, message, defaultTitle(defaultButton), alternateButton};
  bool spare = false;
  const Parts p = freeParts(&spare);
  fill(p, title, message, question.defaultButton, alternateButton);
  QPointer<QDialog> window = p.window;
  const bool shown =
      ModalQuestions::open(p.window, question, [window, spare, alternateButton, done](int answer, bool removed) {
        if (spare && window)
          window->deleteLater();
        if (done)
          done(alertAnswer(answer, alternateButton, removed), removed);
      });
  if (spare && !shown)
    delete p.window;
}

// The buttons end the window they sit in: the panel's own or a spare one.
static QDialog *alertWindowOf(QObject *sender, QDialog *fallback) {
  auto *widget = qobject_cast<QWidget *>(sender);
  auto *dialog = widget ? qobject_cast<QDialog *>(widget->window()) : nullptr;
  return dialog ? dialog : fallback;
}

void QELAlertPanel::btnOKAction(QObject *sender) {
  if (QDialog *window = alertWindowOf(sender, wndAlert_))
    window->done(ModalQuestions::kDefaultAnswer);
}

void QELAlertPanel::btnCancelAction(QObject *sender) {
  if (QDialog *window = alertWindowOf(sender, wndAlert_))
    window->done(ModalQuestions::kAlternateAnswer);
}
