// USSD replies of the simulated modem as the program reads them: packed in the network's default
// alphabet wherever the data coding says so.
#include "SimServices.h"
#include "SimulatedModem.h"
#include "SmsPacking.h"
#include "TestSupport.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

constexpr uint16_t kUssdMajor = 1792, kUssdRequest = 139, kUssdReply = 140;
constexpr int kTextOffset = 8;

// The characters whose codes differ between Latin-1 and the default alphabet, and ones only its
// extension table holds.
const QString kText = QStringLiteral("Price @ 5 euro [ok] ~ {x} \\ ^ | _ $ \u20AC");

TEST(SimServices, UssdRepliesRoundTripThroughTheProgramsDecoder) {
  struct Case {
    int dcs;
    bool packed;
  };
  for (const Case c :
       {Case{0x0F, true}, Case{0x00, true}, Case{0x40, true}, Case{0xF0, true}, Case{0xF4, false}, Case{0x48, false}}) {
    SCOPED_TRACE(c.dcs);
    const QVariantMap replies{{"*100#", QVariantMap{{"Text", kText}, {"DCS", c.dcs}}}};
    SimulatedModem modem(QVariantMap{{"SIM", QVariantMap{{"State", "Ready"}, {"PIN", "1234"}, {"PUK", "12345678"}}},
                                     {"USSD", QVariantMap{{"Replies", replies}}}});
    QList<UIMsg> out;
    QObject::connect(&modem, &Modem::packageOut, [&](const UIMsg &m) { out << m; });
    modem.programAppeared();
    ASSERT_TRUE(testsupport::waitUntil([&] { return SimServices::of(modem)->simReady(); }, 2000));
    out.clear();

    // The request as the program packs it.
    QByteArray request(8192, '\0');
    qToLittleEndian<qint32>(1, request.data());
    qToLittleEndian<qint32>(15, request.data() + 4);
    const QByteArray code = CodeTheSendingString(QStringLiteral("*100#"), {}).toLatin1();
    std::copy(code.cbegin(), code.cend(), request.begin() + kTextOffset);
    modem.handle(SimulatedModem::makePackage(kUssdMajor, kUssdRequest, 0, 0, request, 7));

    QList<UIMsg> replyPackages;
    for (const UIMsg &m : out)
      if (m.majorId == kUssdMajor && m.minorId == kUssdReply)
        replyPackages << m;
    ASSERT_EQ(replyPackages.size(), 1) << "the packed request found its reply";
    const QByteArray payload = replyPackages.first().payload();
    EXPECT_EQ(qFromLittleEndian<qint32>(payload.constData() + 4), c.dcs);
    QByteArray body = payload.mid(kTextOffset);
    body.truncate(body.indexOf('\0'));
    QString text;
    if (c.packed) {
      text = DecodeTheFeedbackStringWithGSM7(QString::fromLatin1(body), {});
    } else if (c.dcs == 0x48) {
      for (qsizetype i = 0; i + 4 <= body.size(); i += 4)
        text += QChar(char16_t(body.mid(i, 4).toUInt(nullptr, 16)));
    } else {
      text = QString::fromUtf8(body);
    }
    EXPECT_EQ(text.toStdString(), kText.toStdString());
  }
}

} // namespace
