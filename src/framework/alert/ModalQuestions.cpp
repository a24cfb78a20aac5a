#include "ModalQuestions.h"

#include "NotificationCenter.h"
#include "NotificationTables.h"

#include <QDialog>
#include <QPointer>

namespace {

struct OpenQuestion {
  QPointer<QDialog> dialog; // null while the responder answers
  bool closedByRemoval = false;
};

struct State {
  ModalQuestions::Responder responder;
  QList<OpenQuestion *> open; // innermost last
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

int runQuestion(const std::function<int(OpenQuestion &)> &body, bool *closedByRemoval) {
  ModalQuestions::install();
  OpenQuestion question;
  state().open.append(&question);
  const int answer = body(question);
  state().open.removeOne(&question);
  if (closedByRemoval)
    *closedByRemoval = question.closedByRemoval;
  return question.closedByRemoval ? ModalQuestions::kAlternateAnswer : answer;
}

} // namespace

void ModalQuestions::install() {
  static bool installed = false;
  if (installed)
    return;
  installed = true;
  NotificationCenter::defaultCenter().addObserver(watcher(), QString::fromLatin1(kDeviceRemoved), nullptr,
                                                  [](const Notification &) { closeAllQuestions(); });
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

int ModalQuestions::ask(const ModalQuestion &question, const std::function<int()> &show, bool *closedByRemoval) {
  return runQuestion(
      [&](OpenQuestion &) {
        if (state().responder) {
          // The responder may be replaced while it runs; keep this one alive.
          const Responder responder = state().responder;
          return responder(question);
        }
        return show ? show() : kAlternateAnswer;
      },
      closedByRemoval);
}

int ModalQuestions::runDialog(QDialog *dialog, const ModalQuestion &question, bool *closedByRemoval) {
  if (closedByRemoval)
    *closedByRemoval = false;
  if (!dialog)
    return kAlternateAnswer;
  return runQuestion(
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

void ModalQuestions::closeAllQuestions() {
  const QList<OpenQuestion *> open = state().open;
  for (auto it = open.crbegin(); it != open.crend(); ++it) {
    OpenQuestion *q = *it;
    if (q->closedByRemoval)
      continue;
    q->closedByRemoval = true;
    if (q->dialog) {
      q->dialog->done(kAlternateAnswer);
      q->dialog->hide();
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
