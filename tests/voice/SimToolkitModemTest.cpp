// The simulated modem's SIM toolkit and GPS receiver on their own: what they push, and that odd
// requests from the program change nothing.
#include "GpsReceiver.h"
#include "SimToolkit.h"
#include "SimulatedModem.h"
#include "StkRecords.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class SimulatedToolkit : public ::testing::Test {
protected:
  QList<UIMsg> out;
  std::unique_ptr<SimulatedModem> modem;

  void start() {
    const QVariantList services{QVariantMap{{"Text", "News"}, {"Alert", "Hello"}}};
    const QVariantList items{
        QVariantMap{{"Text", "Services"}, {"Items", services}},
        QVariantMap{{"Text", "Code"}, {"Input", QVariantMap{{"Prompt", "Code?"}, {"Min", 1}, {"Max", 4}}}}};
    QVariantMap scenario{{"SIM", QVariantMap{{"State", "Ready"}, {"PIN", "1234"}, {"PUK", "12345678"}}},
                         {"STK", QVariantMap{{"Title", "SIM"}, {"Items", items}}},
                         {"GPS", QVariantMap{{"Latitude", "1 N"}, {"SearchFixes", 0}}}};
    modem = std::make_unique<SimulatedModem>(scenario);
    QObject::connect(modem.get(), &Modem::packageOut, [this](const UIMsg &m) { out << m; });
    modem->programAppeared();
    testsupport::waitUntil([this] { return !of(1280, 125).isEmpty(); }, 2000);
  }
  QList<UIMsg> of(uint16_t major, uint16_t minor) const {
    QList<UIMsg> r;
    for (const UIMsg &m : out)
      if (m.majorId == major && m.minorId == minor)
        r << m;
    return r;
  }
  void request(uint16_t major, uint16_t minor, const QByteArray &data = {}) {
    modem->handle(SimulatedModem::makePackage(major, minor, 0, 0, data));
  }
};

TEST_F(SimulatedToolkit, MenusAndOddRequests) {
  start();
  ASSERT_EQ(of(1280, 125).size(), 1);
  EXPECT_EQ(of(1280, 125).first().type, 0);
  EXPECT_EQ(of(1280, 125).first().moduleId, 6);
  EXPECT_EQ(StkRecords::decodeMenu(of(1280, 125).first().payload()).items,
            (QStringList{QStringLiteral("Services"), QStringLiteral("Code")}));
  out.clear();
  // An index beyond the menu, a short index, and an answer without a pending input: nothing.
  request(1280, 131, StkRecords::encodeIndex(9));
  request(1280, 131, QByteArray(2, '\0'));
  request(1280, 132, StkRecords::encodeIndex(0xFFFFFFFFu));
  EXPECT_TRUE(out.isEmpty());
  request(1280, 137, QByteArray(3, '\x41'));
  EXPECT_TRUE(SimToolkit::of(*modem)->lastInput().isEmpty());
  ASSERT_EQ(of(1280, 125).size(), 1) << "the menu comes back after the answer";

  out.clear();
  request(1280, 131, StkRecords::encodeIndex(0));
  ASSERT_EQ(of(1280, 126).size(), 1);
  EXPECT_EQ(SimToolkit::of(*modem)->depth(), 1);
  request(1280, 132, StkRecords::encodeIndex(0));
  ASSERT_EQ(of(1280, 127).size(), 1);
  EXPECT_EQ(StkRecords::decodeText(of(1280, 127).first().payload()), QStringLiteral("Hello"));
  request(1280, 133);
  EXPECT_EQ(SimToolkit::of(*modem)->depth(), 0);
  EXPECT_EQ(of(1280, 125).size(), 1);

  // An answer longer than the record's text area is read within it.
  request(1280, 131, StkRecords::encodeIndex(1));
  ASSERT_EQ(of(1280, 129).size(), 1);
  QByteArray answer = StkRecords::encodeText(QStringLiteral("12"));
  qToLittleEndian<qint32>(100000, answer.data() + 1024);
  request(1280, 137, answer);
  EXPECT_EQ(SimToolkit::of(*modem)->lastInput().size(), 512);
  EXPECT_FALSE(SimToolkit::of(*modem)->push(QStringLiteral("nonsense"), {}, 0, 0));
}

TEST_F(SimulatedToolkit, TheGpsReceiverAnswersWithTypeOneAndFailsWhenToldOrUnplugged) {
  start();
  GpsReceiver *gps = GpsReceiver::of(*modem);
  gps->setIntervalMs(10);
  out.clear();
  request(2048, 141);
  ASSERT_EQ(of(2048, 141).size(), 1);
  EXPECT_EQ(of(2048, 141).first().type, 1);
  EXPECT_EQ(of(2048, 141).first().result, 0);
  ASSERT_TRUE(testsupport::waitUntil([&] { return !of(2048, 144).isEmpty(); }));
  const GpsRecord::Position p = GpsRecord::decode(of(2048, 144).first().payload());
  EXPECT_EQ(p.state, GpsRecord::kTracking) << "no search fixes in this scenario";
  EXPECT_EQ(p.latitude, QStringLiteral("1 N"));
  request(2048, 142);
  EXPECT_FALSE(gps->isRunning());
  out.clear();
  gps->setFailing(true);
  request(2048, 141);
  request(2048, 143);
  EXPECT_EQ(of(2048, 141).first().result, 0xFF);
  EXPECT_EQ(of(2048, 143).first().result, 0xFF);
  EXPECT_FALSE(gps->isRunning());
  gps->setFailing(false);
  modem->unplug();
  out.clear();
  request(2048, 141);
  EXPECT_EQ(of(2048, 141).first().result, 0xFF);
}

} // namespace
