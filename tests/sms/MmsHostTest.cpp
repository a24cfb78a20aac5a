// The MMS host: no plug-in, a plug-in without the MMS interface, and the shipped plug-in with
// its pushes, device events and the connection it asks for.
#include "MMSController.h"
#include "MMSPlugInInterface.h"
#include "ModalQuestions.h"
#include "QELMsgCenter.h"
#include "SimulatedModem.h"

#include <QListWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

Notification push(int type, const QByteArray &data) {
  const UIMsg msg = SimulatedModem::makePackage(8192, 194, type, 0, data, 5);
  return {QStringLiteral("push"), nullptr, {{kMsgUserInfo, msg.encode()}}};
}

class MmsHost : public ::testing::Test {
protected:
  ScriptedAnswers answers;
  QWidget host;
  std::unique_ptr<MMSController> mms;
  bool connected = false;
  int dialOptions = 0;

  void load(const QString &bundle) {
    mms = std::make_unique<MMSController>();
    mms->bundleName = bundle;
    mms->hostView_ = &host;
    mms->dial.isConnected = [this] { return connected; };
    mms->dial.dialOption = [this](QObject *) { ++dialOptions; };
    mms->loadBundle();
  }
  QListWidget *pushes() const { return host.findChild<QListWidget *>(QStringLiteral("MMSPushes")); }
};

TEST_F(MmsHost, WithoutAPlugInEverythingIsANoOp) {
  load(QStringLiteral("NoSuchBundle.bundle"));
  EXPECT_EQ(mms->bundleDelegate(), nullptr);
  EXPECT_TRUE(answers.asked().isEmpty());
  mms->dealWithMMSOfNewPush(push(0, "x"));
  mms->netcardChanged(12);
  mms->setTheSearchFieldText({QStringLiteral("1")});
  EXPECT_EQ(host.findChildren<QWidget *>().size(), 0);
}

TEST_F(MmsHost, APlugInWithoutTheInterfaceIsReportedByName) {
  load(QStringLiteral("SampleBundle.bundle"));
  EXPECT_EQ(mms->bundleDelegate(), nullptr);
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_EQ(answers.asked().first().title, QStringLiteral("Warning!"));
  EXPECT_EQ(answers.asked().first().message, QStringLiteral("Invalid MMS plugin!"));
}

TEST_F(MmsHost, ThePlugInShowsPushesHearsTheDeviceAndAsksForTheConnection) {
  load(QStringLiteral("MMSBundle.bundle"));
  if (!mms->bundleDelegate())
    GTEST_SKIP() << "the MMS plug-in is not built";
  ASSERT_NE(pushes(), nullptr);
  mms->dealWithMMSOfNewPush(push(0, QByteArray("http://mms.example/1") + QByteArray(1, '\0') + "tail"));
  mms->dealWithMMSOfNewPush(push(1, "ignored"));
  ASSERT_EQ(pushes()->count(), 1);
  EXPECT_EQ(pushes()->item(0)->text(), QStringLiteral("http://mms.example/1"));
  // A push without a NUL is read within the package's data.
  mms->dealWithMMSOfNewPush(push(0, QByteArray(8192, 'z')));
  ASSERT_EQ(pushes()->count(), 2);
  EXPECT_EQ(pushes()->item(1)->text().size(), 8192);

  QWidget *view = host.findChild<QWidget *>(QStringLiteral("MMSBundleView"));
  ASSERT_NE(view, nullptr);
  for (auto [handler, status] : {std::pair{&MMSController::devicePlugin, 2}, std::pair{&MMSController::simReady, 12},
                                 std::pair{&MMSController::deviceRemoved, 1}}) {
    (mms.get()->*handler)(Notification{});
    EXPECT_EQ(view->property("deviceStatus").toInt(), status);
  }

  // Connect only while disconnected, disconnect only while connected.
  connected = true;
  mms->connect();
  EXPECT_EQ(dialOptions, 0);
  mms->disConnect();
  EXPECT_EQ(dialOptions, 1);
  connected = false;
  mms->disConnect();
  EXPECT_EQ(dialOptions, 1);
  mms->connect();
  EXPECT_EQ(dialOptions, 2);
}

} // namespace
