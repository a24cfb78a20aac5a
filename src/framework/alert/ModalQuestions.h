#pragma once

#include <QList>
#include <QString>
#include <functional>

class QDialog;

// What a modal question shows: the kind of question ("alert", "systemAlert", or a dialog's own
// name), its texts and its two buttons. The default button answers 1, the alternate button 0.
struct ModalQuestion {
  QString kind;
  QString title;
  QString message;
  QString defaultButton;
  QString alternateButton;

  bool sameAs(const ModalQuestion &other) const {
    return kind == other.kind && title == other.title && message == other.message &&
           defaultButton == other.defaultButton && alternateButton == other.alternateButton;
  }
};

// The one road of every modal question of the program. A question is shown here, either waited
// for (ask, runDialog) or answered later (open), so that
// - tests (and automation) can answer every question by script, without a window;
// - when the device is removed, every open question closes at once and answers the alternate
//   button (0): a question about a device that has gone can only be declined;
// - the same question (same texts and buttons) is never asked twice at once: while it is open, a
//   second request is dropped and logged, and a waiting caller gets the alternate answer (0).
// Questions asked from a backend handler use open(): the handler returns at once, so the message
// centre keeps delivering packages (the device's removal among them) while the question is up.
class ModalQuestions {
public:
  static constexpr int kDefaultAnswer = 1;
  static constexpr int kAlternateAnswer = 0;

  using Responder = std::function<int(const ModalQuestion &)>;
  // Called once with the answer; `closedByRemoval` when the device went while it was open.
  using AnswerHandler = std::function<void(int answer, bool closedByRemoval)>;

  // Installs the script that answers every question instead of a window; an empty responder
  // restores the windows.
  static void setResponder(Responder responder);
  static bool hasResponder();

  // Asks `question`: the responder answers when one is installed, else `show` runs the window
  // Answers 0 when the question was closed by device removal, and then sets `closedByRemoval`.
  static int ask(const ModalQuestion &question, const std::function<int()> &show, bool *closedByRemoval = nullptr);

  // Runs `dialog` modally as the answer to `question` (the responder answers instead when one is
  // installed and the dialog is never shown). Answers the dialog's result code, or 0 when the
  // question was closed by device removal (then `closedByRemoval` is set).
  static int runDialog(QDialog *dialog, const ModalQuestion &question, bool *closedByRemoval = nullptr);

  // Shows `dialog` as application-modal without waiting and calls `done` with its result code
  // (the responder answers at once instead when one is installed). False, and `done` is never
  // called, when the same question is open already or `dialog` is null. The dialog is not owned.
  static bool open(QDialog *dialog, const ModalQuestion &question, AnswerHandler done);

  // The number of questions now waiting for an answer.
  static int openQuestionCount();
  // Whether a question with the same texts and buttons is open.
  static bool isOpen(const ModalQuestion &question);
  // Requests dropped because the same question was open.
  static int droppedCount();

  // Closes every open question, innermost first; each answers the alternate button. Called on
  // "DeviceRemoved".
  static void closeAllQuestions();

  // Makes sure device removal reaches the layer (done by the first question as well).
  static void install();

  // The program is ending: from now on no answer handler of a question opened without waiting
  // runs (a dialog destroyed with its window is not an answer), and the open ones are forgotten.
  // Called when the main loop ends; calling it again does nothing more.
  static void beginTeardown();
  static bool tearingDown();
  // Back to answering (a test that played a teardown).
  static void endTeardown();
};

// A script for tests: answers the questions in order with `answers` (then `fallback`), and
// remembers what was asked. Restores the windows when it goes.
class ScriptedAnswers {
public:
  explicit ScriptedAnswers(QList<int> answers = {}, int fallback = ModalQuestions::kDefaultAnswer);
  // Answers each question with `responder` (which may, for example, post a notification while
  // the question is open).
  explicit ScriptedAnswers(ModalQuestions::Responder responder);
  ~ScriptedAnswers();
  ScriptedAnswers(const ScriptedAnswers &) = delete;
  ScriptedAnswers &operator=(const ScriptedAnswers &) = delete;

  const QList<ModalQuestion> &asked() const { return asked_; }

private:
  QList<int> answers_;
  int fallback_;
  ModalQuestions::Responder responder_;
  QList<ModalQuestion> asked_;
};
