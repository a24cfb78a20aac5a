#include "UIMsg.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray rawPackage(int32_t length, uint16_t major = 258, uint16_t minor = 72) {
  QByteArray b(UIMsg::kPackageSize, '\0');
  auto *p = reinterpret_cast<uchar *>(b.data());
  qToLittleEndian<qint32>(1, p);
  qToLittleEndian<quint16>(major, p + 8);
  qToLittleEndian<quint16>(minor, p + 10);
  qToLittleEndian<qint32>(length, p + 20);
  return b;
}

TEST(UIMsg, EncodesEveryFieldLittleEndianAtItsOffset) {
  UIMsg m;
  m.moduleId = 0x01020304;
  m.majorId = 0x0102;
  m.minorId = 0x0304;
  m.type = -2;
  m.result = 0xFF;
  ASSERT_TRUE(m.setPayload("abc"));
  const QByteArray b = m.encode();
  ASSERT_EQ(b.size(), 8220);
  const auto *p = reinterpret_cast<const uchar *>(b.constData());
  EXPECT_EQ(qFromLittleEndian<qint32>(p + 0), 1);
  EXPECT_EQ(QByteArray(b.constData() + 4, 4), QByteArray("\x04\x03\x02\x01", 4));
  EXPECT_EQ(QByteArray(b.constData() + 8, 2), QByteArray("\x02\x01", 2));
  EXPECT_EQ(QByteArray(b.constData() + 10, 2), QByteArray("\x04\x03", 2));
  EXPECT_EQ(qFromLittleEndian<qint32>(p + 12), -2);
  EXPECT_EQ(p[16], 0xFF);
  EXPECT_EQ(QByteArray(b.constData() + 17, 3), QByteArray(3, '\0'));
  EXPECT_EQ(qFromLittleEndian<qint32>(p + 20), 3);
  EXPECT_EQ(QByteArray(b.constData() + 24, 4), QByteArray("abc\0", 4));
  EXPECT_EQ(b.right(4), QByteArray(4, '\0'));
}

TEST(UIMsg, RoundTripsThroughDecode) {
  UIMsg m;
  m.moduleId = 5;
  m.majorId = 768;
  m.minorId = 12;
  m.type = 1;
  m.setPayload(QByteArray(8192, 'x'));
  UIMsg back;
  ASSERT_TRUE(UIMsg::decode(m.encode(), &back));
  EXPECT_EQ(back.moduleId, 5);
  EXPECT_EQ(back.majorId, 768);
  EXPECT_EQ(back.minorId, 12);
  EXPECT_EQ(back.type, 1);
  EXPECT_EQ(back.payload(), QByteArray(8192, 'x'));
}

TEST(UIMsg, RefusesArraysOfTheWrongSize) {
  UIMsg out;
  for (int size : {0, 1, 8219, 8221, 16440})
    EXPECT_FALSE(UIMsg::decode(QByteArray(size, '\0'), &out)) << size;
}

TEST(UIMsg, ClampsDataLengthOutsideTheDataField) {
  struct Case {
    int32_t wire;
    int32_t decoded;
  };
  for (const Case &c : {Case{-1, 0}, Case{INT32_MIN, 0}, Case{0, 0}, Case{8192, 8192}, Case{8193, 8192},
                        Case{9000, 8192}, Case{INT32_MAX, 8192}}) {
    UIMsg m;
    ASSERT_TRUE(UIMsg::decode(rawPackage(c.wire), &m));
    EXPECT_EQ(m.dataLength, c.decoded) << c.wire;
    EXPECT_EQ(m.payload().size(), c.decoded);
  }
}

TEST(UIMsg, RefusesPayloadLongerThanTheDataField) {
  UIMsg m;
  ASSERT_TRUE(m.setPayload("keep"));
  EXPECT_FALSE(m.setPayload(QByteArray(8193, 'y')));
  EXPECT_EQ(m.payload(), QByteArray("keep"));
}

TEST(UIMsg, MakeIDCombinesMajorAndMinor) {
  EXPECT_EQ(UIMsg::makeID(258, 68), 16908356);
  EXPECT_EQ(UIMsg::makeID(258, 72), 16908360);
  EXPECT_EQ(UIMsg::makeID(0xFFFF, 0xFFFF), -1); // a signed 32-bit value
}

} // namespace
