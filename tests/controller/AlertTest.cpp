#include "ControllerFixture.h"
#include "ModalQuestions.h"
#include "NSButtonExt.h"
#include "NotificationTables.h"
#include "QELAlertPanel.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

using AlertTest = ControllerFixture;

void postDeviceRemoved() {
  NotificationCenter::defaultCenter().postNotificationName(kDeviceRemoved);
}

// Runs `action` on the modal question once it is up.
void whenQuestionIsUp(const std::function<void(QWidget *)> &action) {
  auto *poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, action] {
    if (QWidget *modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      action(modal);
    }
  });
  poll->start();
}

void clickButton(QWidget *dialog, const QString &text) {
  for (QPushButton *b : dialog->findChildren<QPushButton *>())
    if (b->text() == text && b->isVisible()) {
      b->click();
      return;
    }
  ADD_FAILURE() << "no button " << text.toStdString();
}

TEST_F(AlertTest, ScriptAnswersEveryQuestionAndSeesItsTexts) {
  ScriptedAnswers script({1, 0, 7});
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Disconnect?", "OK", "Cancel"), 1);
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Disconnect?", "OK", "Cancel"), 0);
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Odd script", "OK", "Cancel"), 0); // never a third value
  EXPECT_EQ(NSRunAlertPanelExt("Tips", "Done", "OK"), 1);                    // fallback
  ASSERT_EQ(script.asked().size(), 4);
  EXPECT_EQ(script.asked()[0].kind, "systemAlert");
  EXPECT_EQ(script.asked()[0].message, "Disconnect?");
  EXPECT_EQ(script.asked()[0].alternateButton, "Cancel");
  EXPECT_TRUE(script.asked()[3].alternateButton.isNull());
}

TEST_F(AlertTest, WithoutAlternateButtonTheAnswerIsAlwaysDefault) {
  ScriptedAnswers script(QList<int>{0});
  EXPECT_EQ(NSRunAlertPanelExt("Tips", "Saved", "OK"), 1);
}

TEST_F(AlertTest, PanelWhoseSkinLacksTheWindowFallsBackToTheSystemAlert) {
  QELAlertPanel *panel = QELAlertPanel::create();
  EXPECT_EQ(QELAlertPanel::create(), panel);
  EXPECT_EQ(QELAlertPanel::shareAlertPanel(), panel);
  panel->awakeFromNib();
  ScriptedAnswers script({0, 1});
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "m", "OK", "Cancel"), 0);
  EXPECT_EQ(panel->runAlertPanelTitle("Warning", "m", "OK", "Cancel"), 1);
  for (const ModalQuestion &q : script.asked())
    EXPECT_EQ(q.kind, "systemAlert");
  delete panel;
  EXPECT_EQ(QELAlertPanel::shareAlertPanel(), nullptr);
}

TEST_F(AlertTest, SystemAlertAnswersTheClickedButton) {
  struct Case {
    QString click;
    int answer;
  };
  for (const Case &c : QList<Case>{{"Connect", 1}, {"Later", 0}}) {
    whenQuestionIsUp([&](QWidget *w) { clickButton(w, c.click); });
    EXPECT_EQ(NSRunAlertPanelExt("Warning", "Connect now?", "Connect", "Later"), c.answer);
  }
}

TEST_F(AlertTest, DeviceRemovalClosesTheAlertWithTheAlternateAnswer) {
  for (const QString &alternate : {QStringLiteral("Cancel"), QString()}) {
    whenQuestionIsUp([](QWidget *) { postDeviceRemoved(); });
    EXPECT_EQ(NSRunAlertPanelExt("Warning", "Keep the device?", "OK", alternate), 0);
    EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

TEST_F(AlertTest, DeviceRemovalClosesNestedDialogsInnermostFirst) {
  QDialog outer, inner;
  QList<QString> closed;
  QObject::connect(&outer, &QDialog::finished, [&] { closed << "outer"; });
  QObject::connect(&inner, &QDialog::finished, [&] { closed << "inner"; });
  int innerAnswer = -1;
  whenQuestionIsUp([&](QWidget *) {
    whenQuestionIsUp([](QWidget *) { postDeviceRemoved(); });
    innerAnswer = ModalQuestions::runDialog(&inner, {"inner", "", "", "OK", "Cancel"});
  });
  bool removed = false;
  EXPECT_EQ(ModalQuestions::runDialog(&outer, {"outer", "", "", "OK", "Cancel"}, &removed), 0);
  EXPECT_TRUE(removed);
  EXPECT_EQ(innerAnswer, 0);
  EXPECT_EQ(closed, QList<QString>({"inner", "outer"}));
}

TEST_F(AlertTest, DeviceRemovalWhileTheScriptAnswersStillDeclines) {
  ScriptedAnswers script([](const ModalQuestion &) {
    postDeviceRemoved();
    return 1;
  });
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "m", "OK", "Cancel"), 0);
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "m", "OK"), 0);
  // Outside a question the removal changes nothing.
  postDeviceRemoved();
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
}

TEST_F(AlertTest, DialogResultsPassThroughTheLayer) {
  QDialog dialog;
  whenQuestionIsUp([](QWidget *w) { static_cast<QDialog *>(w)->done(5); });
  EXPECT_EQ(ModalQuestions::runDialog(&dialog, {"custom", "", "", "", ""}), 5);
  EXPECT_EQ(ModalQuestions::runDialog(nullptr, {"none", "", "", "", ""}), 0);
  ScriptedAnswers script({3});
  EXPECT_EQ(ModalQuestions::runDialog(&dialog, {"custom", "t", "m", "", ""}), 3);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(AlertTest, AnAlertThatDoesNotWaitAnswersLaterAndClosesOnRemoval) {
  QList<std::pair<int, bool>> answers;
  const auto record = [&](int answer, bool removed) { answers.append({answer, removed}); };
  NSBeginAlertPanelExt("Warning", "Device not detected!", "OK", QString(), record);
  QWidget *box = QApplication::activeModalWidget();
  ASSERT_NE(box, nullptr); // up, and the caller already went on
  EXPECT_TRUE(answers.isEmpty());
  // The same alert again while it is up: not shown, never answered.
  const int dropped = ModalQuestions::droppedCount();
  NSBeginAlertPanelExt("Warning", "Device not detected!", "OK", QString(), record);
  EXPECT_EQ(ModalQuestions::droppedCount(), dropped + 1);
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 1);
  clickButton(box, "OK");
  ASSERT_TRUE(testsupport::waitUntil([&] { return !answers.isEmpty(); }));
  EXPECT_EQ(answers, (QList<std::pair<int, bool>>{{1, false}}));

  NSBeginAlertPanelExt("Warning", "Keep it?", "OK", "Cancel", record);
  postDeviceRemoved();
  EXPECT_EQ(answers.last(), std::make_pair(0, true));
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
  EXPECT_TRUE(testsupport::waitUntil([] { return QApplication::activeModalWidget() == nullptr; }));
}

TEST_F(AlertTest, ADialogDestroyedWhileTheProgramEndsAnswersNothing) {
  // Outside a teardown, a dialog destroyed while open answers as declined.
  int answers = 0, lastAnswer = -1;
  auto *dialog = new QDialog;
  ASSERT_TRUE(ModalQuestions::open(dialog, {QStringLiteral("alert"), "Warning", "Invalid card", "OK", QString()},
                                   [&](int answer, bool) {
                                     ++answers;
                                     lastAnswer = answer;
                                   }));
  delete dialog;
  EXPECT_EQ(answers, 1);
  EXPECT_EQ(lastAnswer, 0);

  // While the program ends, neither the window's destruction nor its closing answers: the
  // handlers would reach controllers that are going. The question is forgotten all the same.
  for (const bool destroy : {true, false}) {
    SCOPED_TRACE(destroy ? "destroyed" : "closed");
    answers = 0;
    auto *open = new QDialog;
    ASSERT_TRUE(ModalQuestions::open(open, {QStringLiteral("alert"), "Warning", "Invalid card", "OK", QString()},
                                     [&](int, bool) { ++answers; }));
    ModalQuestions::beginTeardown();
    ModalQuestions::beginTeardown(); // twice is harmless
    EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
    if (destroy) {
      delete open;
    } else {
      open->done(1);
      delete open;
    }
    // Nothing new opens either.
    auto *late = new QDialog;
    EXPECT_FALSE(ModalQuestions::open(late, {QStringLiteral("alert"), "Warning", "Late", "OK", QString()},
                                      [&](int, bool) { ++answers; }));
    delete late;
    ModalQuestions::endTeardown();
    EXPECT_EQ(answers, 0);
  }
}

TEST_F(AlertTest, TheSameQuestionIsNotAskedTwiceAtOnce) {
  int inner = -1, innerOther = -1;
  whenQuestionIsUp([&](QWidget *outer) {
    // The same question nested inside itself answers 0 at once; another one is asked.
    inner = NSRunAlertPanelExt("Warning", "Close the software?", "OK", "Cancel");
    whenQuestionIsUp([](QWidget *w) { clickButton(w, "Yes"); });
    innerOther = NSRunAlertPanelExt("Warning", "Something else?", "Yes", "No");
    clickButton(outer, "OK");
  });
  const int dropped = ModalQuestions::droppedCount();
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Close the software?", "OK", "Cancel"), 1);
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(innerOther, 1);
  EXPECT_EQ(ModalQuestions::droppedCount(), dropped + 1);
  // A script answers in turn: nothing is open between its answers, so nothing is dropped.
  ScriptedAnswers script({1, 1});
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Close the software?", "OK", "Cancel"), 1);
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Close the software?", "OK", "Cancel"), 1);
  EXPECT_EQ(ModalQuestions::droppedCount(), dropped + 1);
}

} // namespace

namespace {

class SkinnedAlertTest : public ControllerFixture {
protected:
  std::unique_ptr<QELUIManager> skin;
  QELAlertPanel *panel = nullptr;
  void SetUp() override {
    ControllerFixture::SetUp();
    skin = makeSkin({{"wndQELAlertPanel", QVariantMap()}, {"btnAlertOK", QVariantMap()}});
    panel = QELAlertPanel::create();
    panel->qelSkinManager = skin.get();
    panel->awakeFromNib();
  }
  void TearDown() override {
    delete panel;
    ControllerFixture::TearDown();
  }
};

TEST_F(SkinnedAlertTest, SkinnedPanelAnswersItsButtonsAndReusesItsWindow) {
  EXPECT_EQ(skin->controllerByKey("wndQELAlertPanel"), panel->window());
  EXPECT_EQ(skin->controllerByKey("btnAlertOK"), panel->okButton());
  {
    ScriptedAnswers script(QList<int>{0});
    EXPECT_EQ(NSRunAlertPanelExt("Warning", "m", "OK", "Cancel"), 0);
    EXPECT_EQ(script.asked().first().kind, "alert");
  }
  whenQuestionIsUp([this](QWidget *w) {
    EXPECT_EQ(w, panel->window());
    EXPECT_EQ(panel->messageLabel()->text(), "Roaming costs extra");
    clickButton(w, "Go on");
  });
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Roaming costs extra", "Go on", "Stop"), 1);

  whenQuestionIsUp([this](QWidget *w) {
    EXPECT_FALSE(panel->cancelButton()->isVisible());
    clickButton(w, "OK");
  });
  EXPECT_EQ(NSRunAlertPanelExt("Tips", "Saved", "OK"), 1);

  whenQuestionIsUp([this](QWidget *w) {
    EXPECT_TRUE(panel->cancelButton()->isVisible()); // visible again
    EXPECT_EQ(panel->cancelButton()->text(), "Stop");
    clickButton(w, "Stop");
  });
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Again?", "Go on", "Stop"), 0);
}

TEST_F(SkinnedAlertTest, AnAlertWhileThePanelIsUpGetsASkinnedWindowOfItsOwn) {
  QList<QString> answered;
  NSBeginAlertPanelExt("Warning", "First", "OK", QString(), [&](int, bool) { answered << "First"; });
  ASSERT_TRUE(panel->window()->isVisible());
  NSBeginAlertPanelExt("Warning", "Second", "OK", "Cancel",
                       [&](int a, bool) { answered << QString("Second %1").arg(a); });
  QDialog *spare = nullptr;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w != panel->window() && w->objectName() == "wndQELAlertPanel" && w->isVisible())
      spare = qobject_cast<QDialog *>(w);
  ASSERT_NE(spare, nullptr);
  EXPECT_EQ(panel->messageLabel()->text(), "First");
  EXPECT_EQ(spare->findChild<QLabel *>("labelQELAlertPanelMsg")->text(), "Second");
  // Its buttons answer its own question and leave the panel's up.
  clickButton(spare, "Cancel");
  EXPECT_EQ(answered, QList<QString>{"Second 0"});
  EXPECT_TRUE(panel->window()->isVisible());
  clickButton(panel->window(), "OK");
  EXPECT_EQ(answered, (QList<QString>{"Second 0", "First"}));
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 0);
}

TEST_F(SkinnedAlertTest, DeviceRemovalClosesTheSkinnedPanelWithZero) {
  whenQuestionIsUp([](QWidget *) { postDeviceRemoved(); });
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Keep?", "OK", "Cancel"), 0);
  EXPECT_FALSE(panel->window()->isVisible());
  whenQuestionIsUp([](QWidget *) { postDeviceRemoved(); });
  EXPECT_EQ(NSRunAlertPanelExt("Tips", "Only OK", "OK"), 0);
}

} // namespace

namespace {

TEST_F(ControllerFixture, AlertPanelTakesTheDefaultSkin) {
  QELUIManager skin(config.get());
  ASSERT_TRUE(skin.hasKey("wndQELAlertPanel"));
  QELAlertPanel *panel = QELAlertPanel::create();
  panel->qelSkinManager = &skin;
  panel->awakeFromNib();
  EXPECT_EQ(panel->window()->size(), QSize(400, 176));
  // "Left" 84, "Bottom" 70, "Height" 54 in a 176 high panel.
  EXPECT_EQ(panel->messageLabel()->geometry(), QRect(84, 176 - 70 - 54, 292, 54));
  EXPECT_FALSE(panel->okButton()->image().isNull());
  whenQuestionIsUp([](QWidget *w) { clickButton(w, "Disconnect"); });
  EXPECT_EQ(NSRunAlertPanelExt("Warning", "Disconnect now?", "Disconnect", "Cancel"), 1);
  delete panel;
}

} // namespace
