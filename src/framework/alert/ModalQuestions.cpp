#include "ModalQuestions.h"

#include "NotificationCenter.h"
#include "NotificationTables.h"
#include "PackageDispatchGuard.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDialog>
#include <QPointer>

namespace {

struct OpenQuestion {
  ModalQuestion question;
  QPointer<QDialog> dialog; // null while the responder answers
  bool closedByRemoval = false;
  bool waitless = false;         // opened without waiting (open())
  std::function<void()> abandon; // for those: ends the question without an answer
};

struct State {
  ModalQuestions::Responder responder;
  QList<OpenQuestion *> open; // innermost (latest) last
  int dropped = 0;
  bool tearingDown = false;
};

State &state() {
  static State s;
  return s;
}

// Owns the "DeviceRemoved" subscription of the layer.
QObject *watcher() {
  static QObject object;
  return &object;
}

// True (and logged) when the same question is open already: the new request is dropped.
bool dropAsDuplicate(const ModalQuestion &question) {
  if (!ModalQuestions::isOpen(question))
    return false;
  ++state().dropped;
  qInfo().noquote() << "ModalQuestions: dropped a second" << question.kind
                    << "while the same is open:" << question.title << "/" << question.message;
  return true;
}

int runQuestion(const ModalQuestion &question, const std::function<int(OpenQuestion &)> &body, bool *closedByRemoval) {
  ModalQuestions::install();
  if (closedByRemoval)
    *closedByRemoval = false;
  if (dropAsDuplicate(question))
    return ModalQuestions::kAlternateAnswer;
  OpenQuestion open{question, {}, false, false, {}};
  state().open.append(&open);
  const int answer = body(open);
  state().open.removeOne(&open);
  if (closedByRemoval)
    *closedByRemoval = open.closedByRemoval;
  return open.closedByRemoval ? ModalQuestions::kAlternateAnswer : answer;
}

} // namespace

void ModalQuestions::install() {
  static bool installed = false;
  if (installed)
    return;
  installed = true;
  NotificationCenter::defaultCenter().addObserver(watcher(), QString::fromLatin1(kDeviceRemoved), nullptr,
                                                  [](const Notification &) { closeAllQuestions(); });
  // The windows (and the dialogs they own) are destroyed after the main loop ended, when the
  // controllers an answer would reach may be half gone.
  if (QCoreApplication *app = QCoreApplication::instance())
    QObject::connect(app, &QCoreApplication::aboutToQuit, watcher(), [] { beginTeardown(); });
}

void ModalQuestions::beginTeardown() {
  State &s = state();
  s.tearingDown = true;
  // The questions opened without waiting are forgotten; those waited for end with their own
  // loops, which return before the program does.
  const QList<OpenQuestion *> open = s.open;
  for (OpenQuestion *q : open)
    if (q->waitless) {
      // The question is freed by its own ending: the ending must not live in it meanwhile.
      const std::function<void()> abandon = std::move(q->abandon);
      abandon();
    }
}

void ModalQuestions::endTeardown() {
  state().tearingDown = false;
}

bool ModalQuestions::tearingDown() {
  return state().tearingDown;
}

void ModalQuestions::setResponder(Responder responder) {
  state().responder = std::move(responder);
}
bool ModalQuestions::hasResponder() {
  return bool(state().responder);
}
int ModalQuestions::openQuestionCount() {
  return int(state().open.size());
}
int ModalQuestions::droppedCount() {
  return state().dropped;
}

bool ModalQuestions::isOpen(const ModalQuestion &question) {
  const QList<OpenQuestion *> &open = state().open;
  return std::any_of(open.cbegin(), open.cend(), [&](const OpenQuestion *q) { return q->question.sameAs(question); });
}

namespace {

// The question's road without the waiting check: open() lets a script answer through it at once.
int askQuestion(const ModalQuestion &question, const std::function<int()> &show, bool *closedByRemoval) {
  return runQuestion(
      question,
      [&](OpenQuestion &) {
        if (state().responder) {
          // The responder may be replaced while it runs; keep this one alive.
          const ModalQuestions::Responder responder = state().responder;
          return responder(question);
        }
        return show ? show() : ModalQuestions::kAlternateAnswer;
      },
      closedByRemoval);
}

} // namespace

int ModalQuestions::ask(const ModalQuestion &question, const std::function<int()> &show, bool *closedByRemoval) {
  // Waiting for the user inside a package's handler holds back every later package.
  PackageDispatchGuard::reportWaitingAlert(question.title, question.message);
  return askQuestion(question, show, closedByRemoval);
}

int ModalQuestions::runDialog(QDialog *dialog, const ModalQuestion &question, bool *closedByRemoval) {
  PackageDispatchGuard::reportWaitingAlert(question.title, question.message);
  if (closedByRemoval)
    *closedByRemoval = false;
  if (!dialog)
    return kAlternateAnswer;
  return runQuestion(
      question,
      [&](OpenQuestion &open) {
        if (state().responder) {
          const Responder responder = state().responder;
          return responder(question);
        }
        open.dialog = dialog;
        return dialog->exec();
      },
      closedByRemoval);
}

bool ModalQuestions::open(QDialog *dialog, const ModalQuestion &question, AnswerHandler done) {
  if (!dialog || state().tearingDown)
    return false;
  install();
  if (state().responder) {
    // A script answers at once, as it does for the questions that wait.
    bool removed = false;
    const int answer = askQuestion(question, {}, &removed);
    if (done)
      done(answer, removed);
    return true;
  }
  if (dropAsDuplicate(question))
    return false;
  auto *open = new OpenQuestion{question, dialog, false, true, {}};
  state().open.append(open);
  // The dialog may be shown again later (the skinned panel's window is): its connections end
  // with this question.
  struct Links {
    bool answered = false;
    QMetaObject::Connection finished, destroyed;
  };
  auto links = std::make_shared<Links>();
  const auto end = [open, links] {
    if (links->answered)
      return false;
    links->answered = true;
    QObject::disconnect(links->finished);
    QObject::disconnect(links->destroyed);
    state().open.removeOne(open);
    return true;
  };
  open->abandon = [end, open] {
    if (end())
      delete open;
  };
  const auto finish = [open, end, done](int result) {
    if (!end())
      return;
    const bool removed = open->closedByRemoval;
    delete open;
    // While the program ends nothing is answered: a handler would reach controllers that go.
    if (done && !state().tearingDown)
      done(removed ? kAlternateAnswer : result, removed);
  };
  links->finished = QObject::connect(dialog, &QDialog::finished, watcher(), finish);
  // A dialog destroyed while open answers as declined.
  links->destroyed = QObject::connect(dialog, &QObject::destroyed, watcher(), [finish] { finish(kAlternateAnswer); });
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  return true;
}

void ModalQuestions::closeAllQuestions() {
  const QList<OpenQuestion *> open = state().open;
  for (auto it = open.crbegin(); it != open.crend(); ++it) {
    OpenQuestion *q = *it;
    // An earlier close in this loop may have ended (and freed) a question that was opened
    // without waiting.
    if (!state().open.contains(q) || q->closedByRemoval)
      continue;
    q->closedByRemoval = true;
    if (QDialog *dialog = q->dialog) {
      dialog->done(kAlternateAnswer);
      dialog->hide();
    }
  }
}

ScriptedAnswers::ScriptedAnswers(QList<int> answers, int fallback) : answers_(std::move(answers)), fallback_(fallback) {
  ModalQuestions::setResponder([this](const ModalQuestion &q) {
    asked_.append(q);
    return answers_.isEmpty() ? fallback_ : answers_.takeFirst();
  });
}

ScriptedAnswers::ScriptedAnswers(ModalQuestions::Responder responder)
    : fallback_(ModalQuestions::kDefaultAnswer), responder_(std::move(responder)) {
  ModalQuestions::setResponder([this](const ModalQuestion &q) {
    asked_.append(q);
    return responder_(q);
  });
}

ScriptedAnswers::~ScriptedAnswers() {
  ModalQuestions::setResponder({});
}
