#include "GetSystemInfo.h"
#include "Platform.h"
#include "QelObjectOperation.h"
#include "QelServiceBase.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Platform, DeviceTypeNamesMapToTheirNumbers) {
  EXPECT_EQ(Platform::platformOfDeviceType(QString("Icera")), 1);
  EXPECT_EQ(Platform::platformOfDeviceType(QString("TK330")), 2);
  EXPECT_EQ(Platform::platformOfDeviceType(QString("CDMA")), 3);
  EXPECT_EQ(Platform::platformOfDeviceType(QString("icera")), 0);
  EXPECT_EQ(Platform::platformOfDeviceType(qint64(1)), 0);
  EXPECT_EQ(Platform::platformOfDeviceType(QVariant()), 0);
  Platform p(2);
  p.setPlatform(3);
  EXPECT_EQ(p.platform(), 3);
}

TEST(QelServiceBase, OneImsiForEveryServiceAndExactNetworkTables) {
  QelServiceBase a, b;
  a.setImsi("460001234567890");
  EXPECT_EQ(b.imsi(), "460001234567890");
  b.setImsi("");
  EXPECT_EQ(a.imsi(), "");

  struct Case {
    const char *text;
    int type;
  } cases[] = {{"GSM", 0},   {"EDGE", 0},  {"GPRS", 0},     {"2G", 0},  {"UMTS", 1},  {"HSDPA", 2},
               {"HSUPA", 2}, {"HSPA+", 3}, {"DC-HSPA+", 3}, {"LTE", 0}, {"hspa+", 0}, {"", 0}};
  for (const Case &c : cases)
    EXPECT_EQ(QelServiceBase::getNetTypeWithNetStr(c.text), c.type) << c.text;
  EXPECT_FALSE(QelServiceBase::is2GType("LTE"));
  EXPECT_TRUE(QelServiceBase::isHPlusType("DC-HSPA+"));
}

TEST(QelObjectOperation, MissingValuesBecomeHarmlessOnes) {
  EXPECT_EQ(QelObjectOperation::checkNilWithObject(QVariant(), QMetaType::fromType<QString>()), QString(""));
  EXPECT_EQ(QelObjectOperation::checkNilWithObject(QVariant(), QMetaType::fromType<qint64>()), qint64(0));
  const QDateTime now =
      QelObjectOperation::checkNilWithObject(QVariant(), QMetaType::fromType<QDateTime>()).toDateTime();
  EXPECT_LE(qAbs(now.secsTo(QDateTime::currentDateTime())), 5);
  EXPECT_TRUE(QelObjectOperation::isNullObject(
      QelObjectOperation::checkNilWithObject(QVariant(), QMetaType::fromType<QVariantMap>())));
  EXPECT_EQ(QelObjectOperation::checkNilWithObject(QString("x"), QMetaType::fromType<qint64>()), QString("x"));
}

TEST(GetSystemInfo, ModelComesFromTheFirmwareIdentityAndPlaceholdersAreNone) {
  QTemporaryDir dmi;
  auto write = [&](const char *name, const QByteArray &text) {
    QFile f(dmi.path() + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  };
  GetSystemInfo empty(dmi.path());
  EXPECT_TRUE(empty.getPCModel().isNull());

  write("product_name", "Latitude\t5420\x01\n");
  write("product_version", "To be filled by O.E.M.\n");
  GetSystemInfo info(dmi.path());
  EXPECT_EQ(info.getPCModel(), "Latitude 5420");
  write("product_version", "Rev 2\n");
  EXPECT_EQ(info.getPCModel(), "Latitude 5420 Rev 2");
  write("product_name", QByteArray(100000, 'A'));
  EXPECT_LE(info.getPCModel().size(), 300);

  EXPECT_FALSE(info.getOSVersion().isEmpty());
  EXPECT_FALSE(info.getOSLanguage().isEmpty());
}
