// The GPS tab: its record, the acceptance and state rules, and start -> tracking -> stop against
// the simulated receiver.
#include "GPSController.h"
#include "MainWindowFixture.h"
#include "ServicesFixture.h"

#include <QtEndian>

namespace {

using testsupport::waitUntil;

TEST(GpsRecordTest, TextsEndAtTheirFieldOrTheData) {
  QByteArray r(GpsRecord::kSize, 'x'); // no NUL anywhere
  qToLittleEndian<qint32>(2, r.data());
  const GpsRecord::Position full = GpsRecord::decode(r);
  EXPECT_EQ(full.state, 2);
  for (const QString &t : {full.latitude, full.longitude, full.altitude, full.velocity[0], full.velocity[2]})
    EXPECT_EQ(t, QString(20, QLatin1Char('x')));
  const GpsRecord::Position cut = GpsRecord::decode(r.left(30));
  EXPECT_EQ(cut.latitude, QString(20, QLatin1Char('x')));
  EXPECT_EQ(cut.longitude, QString(6, QLatin1Char('x')));
  EXPECT_TRUE(cut.altitude.isEmpty());
  EXPECT_EQ(GpsRecord::decode({}).state, 0);
  GpsRecord::Position p;
  p.latitude = QString(30, QLatin1Char('1'));
  EXPECT_EQ(GpsRecord::decode(GpsRecord::encode(p)).latitude.size(), 19) << "the terminator keeps its byte";
}

class GpsPage : public ServicesFixture {
protected:
  std::unique_ptr<GPSController> gps;
  QList<std::pair<int, QByteArray>> sent;

  void SetUp() override {
    ServicesFixture::SetUp();
    GPSController::setRequestObserver([this](int minor, const QByteArray &data) { sent.append({minor, data}); });
    gps = std::make_unique<GPSController>();
    gps->awakeFromNib();
  }
  void TearDown() override {
    gps.reset();
    GPSController::setRequestObserver({});
    ServicesFixture::TearDown();
  }
  std::pair<bool, bool> buttons() const { return {gps->page->startBtn->isEnabled(), gps->page->stopBtn->isEnabled()}; }
  static QByteArray position(int state, const char *lat, const char *lon, const char *alt, const char *v1,
                             const char *v2, const char *v3) {
    GpsRecord::Position p;
    p.state = state;
    p.latitude = QLatin1String(lat);
    p.longitude = QLatin1String(lon);
    p.altitude = QLatin1String(alt);
    p.velocity[0] = QLatin1String(v1);
    p.velocity[1] = QLatin1String(v2);
    p.velocity[2] = QLatin1String(v3);
    return GpsRecord::encode(p);
  }
};

TEST_F(GpsPage, RequestsAndTheAnswersThatMoveTheButtons) {
  EXPECT_EQ(buttons(), std::make_pair(false, false));
  gps->devicePlugin({});
  EXPECT_EQ(buttons(), std::make_pair(true, false));
  gps->page->startBtn->click();
  ASSERT_EQ(sent.size(), 2);
  EXPECT_EQ(sent.at(0).first, 141);
  EXPECT_EQ(sent.at(0).second, GpsRecord::words(0, 1));
  EXPECT_EQ(sent.at(1).first, 143);
  EXPECT_EQ(sent.at(1).second, GpsRecord::words(2, 5));

  struct Case {
    int minor, type, result;
    std::pair<bool, bool> wanted;
  };
  // Answers need type 1 and success; a failed position-request answer after a start still
  // gives the user Stop.
  const Case cases[] = {
      {141, 0, 0, {true, false}},    {141, 1, 0xFF, {true, false}}, {141, 1, 0, {false, false}},
      {143, 0, 0, {false, false}},   {143, 1, 0xFF, {false, true}}, {143, 1, 0, {false, true}},
      {142, 1, 0xFF, {false, true}}, {142, 0, 0, {false, true}},    {142, 1, 0, {true, false}},
  };
  for (const Case &c : cases) {
    const Notification n = notificationOf(2048, c.minor, c.type, c.result);
    if (c.minor == 141)
      gps->dealWithMsgOfGPSSTART(n);
    else if (c.minor == 142)
      gps->dealWithMsgOfGPSSTOP(n);
    else
      gps->dealWithMsgOfGPSPOSOTIONREQ(n);
    EXPECT_EQ(buttons(), c.wanted) << c.minor << " type " << c.type << " result " << c.result;
  }
  EXPECT_TRUE(gps->page->status->isHidden()) << "a stop hides the values";
  // Before any start a failed position answer changes nothing.
  gps->dealWithMsgOfGPSPOSOTIONREQ(notificationOf(2048, 143, 1, 0xFF));
  EXPECT_EQ(buttons(), std::make_pair(true, false));
  gps->page->stopBtn->setEnabled(true);
  gps->page->stopBtn->click();
  EXPECT_EQ(sent.last().first, 142);
  EXPECT_TRUE(sent.last().second.isEmpty());
}

TEST_F(GpsPage, PositionsByState) {
  struct Case {
    int type;
    QByteArray data;
    QString status, latitude, velocity;
  };
  const Case cases[] = {
      {1, position(2, "52.52 N", "13.40 E", "34", "1", "2", "3"), "Tracking", "52.52 N", "1,2,3"},
      {0, position(1, "", "", "", "", "", ""), "Tracking", "52.52 N", "1,2,3"},  // type 0: ignored
      {1, position(3, "x", "", "", "", "", ""), "Tracking", "52.52 N", "1,2,3"}, // state 3: ignored
      {1, position(1, "x", "", "", "", "", ""), "Searching", "", ""},
      {1, position(2, "", "", "", "", "", ""), "Tracking", "", ",,"},
      {1, position(0, "x", "", "", "", "", ""), "OFF", "", ""},
  };
  for (const Case &c : cases) {
    gps->dealWithMsgOfGPSPOSITION(notificationOf(2048, 144, c.type, 0xFF, c.data));
    EXPECT_EQ(gps->page->status->text(), c.status);
    EXPECT_EQ(gps->page->latitude->text(), c.latitude);
    EXPECT_EQ(gps->page->velocity->text(), c.velocity);
  }
  gps->deviceRemoved({});
  EXPECT_TRUE(gps->page->status->text().isEmpty());
  EXPECT_EQ(buttons(), std::make_pair(false, false));
}

class GpsRoad : public ModemWindowFixture {};

TEST_F(GpsRoad, StartSearchesThenTracksTheScenariosPositionAndStopEndsIt) {
  if (!launch(QStringLiteral("sim-services")))
    GTEST_SKIP() << "no session bus";
  GPSController *gps = g_GPSController;
  ASSERT_NE(gps, nullptr);
  ASSERT_TRUE(waitUntil([&] { return gps->page->startBtn->isEnabled(); }));
  gps->page->startBtn->click();
  ASSERT_TRUE(waitUntil([&] { return gps->page->stopBtn->isEnabled(); }));
  EXPECT_FALSE(gps->page->startBtn->isEnabled());
  ASSERT_TRUE(waitUntil([&] { return gps->page->status->text() == QStringLiteral("Searching"); }));
  ASSERT_TRUE(waitUntil([&] { return gps->page->status->text() == QStringLiteral("Tracking"); }, 8000));
  EXPECT_EQ(gps->page->latitude->text(), QStringLiteral("52.5200 N"));
  EXPECT_EQ(gps->page->longitude->text(), QStringLiteral("13.4050 E"));
  EXPECT_EQ(gps->page->altitude->text(), QStringLiteral("34.0"));
  EXPECT_EQ(gps->page->velocity->text(), QStringLiteral("0.0,1.5,270"));
  // The page while tracking, for a look (gps-tracking.png in the build folder).
  gps->page->resize(752, 360);
  gps->page->grab().save(testsupport::buildBundlePath() + QStringLiteral("/../gps-tracking.png"));
  backend->control(QStringLiteral("GpsSetPosition"),
                   {QStringLiteral("48.1 N"), QStringLiteral("11.5 E"), QStringLiteral("520"), QStringLiteral("3"),
                    QStringLiteral("4"), QStringLiteral("5")});
  ASSERT_TRUE(waitUntil([&] { return gps->page->latitude->text() == QStringLiteral("48.1 N"); }, 3000));
  gps->page->stopBtn->click();
  ASSERT_TRUE(waitUntil([&] { return gps->page->startBtn->isEnabled(); }));
  EXPECT_FALSE(gps->page->stopBtn->isEnabled());
  EXPECT_TRUE(gps->page->status->isHidden());

  // A receiver that refuses: nothing moves, the user may press again.
  backend->control(QStringLiteral("GpsFail"), {true});
  gps->page->startBtn->click();
  EXPECT_FALSE(waitUntil([&] { return !gps->page->startBtn->isEnabled(); }, 800));
}

} // namespace
