#include "Plist.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

TEST(Plist, RoundTripsEveryTypeThroughXml) {
  const QVariantMap in{
      {"string", QStringLiteral("héllo")},
      {"int", qint64(-42)},
      {"big", qint64(1) << 40},
      {"real", 2.5},
      {"yes", true},
      {"no", false},
      {"date", QDateTime(QDate(2024, 2, 29), QTime(13, 14, 15), QTimeZone::utc())},
      {"data", QByteArray("\x00\x01\xff", 3)},
      {"array", QVariantList{1, "two", QVariantList{}}},
      {"dict", QVariantMap{{"nested", QVariantMap{{"k", "v"}}}}},
  };
  QVariant out;
  ASSERT_TRUE(Plist::fromData(Plist::toXml(in), &out));
  const QVariantMap m = out.toMap();
  EXPECT_EQ(m.value("string").toString(), QStringLiteral("héllo"));
  EXPECT_EQ(m.value("int").toLongLong(), -42);
  EXPECT_EQ(m.value("big").toLongLong(), qint64(1) << 40);
  EXPECT_DOUBLE_EQ(m.value("real").toDouble(), 2.5);
  EXPECT_EQ(m.value("yes").typeId(), QMetaType::Bool);
  EXPECT_TRUE(m.value("yes").toBool());
  EXPECT_FALSE(m.value("no").toBool());
  EXPECT_EQ(m.value("date").toDateTime(), in.value("date").toDateTime());
  EXPECT_EQ(m.value("data").toByteArray(), QByteArray("\x00\x01\xff", 3));
  EXPECT_EQ(m.value("array").toList().size(), 3);
  EXPECT_EQ(m.value("dict").toMap().value("nested").toMap().value("k").toString(), "v");
}

TEST(Plist, RefusesGarbageAndEmptyInput) {
  QVariant out;
  EXPECT_FALSE(Plist::fromData(QByteArray(), &out));
  EXPECT_FALSE(Plist::fromData("not a plist", &out));
  EXPECT_FALSE(Plist::fromData("<?xml version=\"1.0\"?><plist><dict><key>a</key>", &out));
  EXPECT_FALSE(out.isValid());
}

TEST(Plist, BinaryStringWithANulDoesNotAbort) {
  // {"a": "x\0y"} as a binary plist: an edited file must not take the program down.
  const QByteArray binary = QByteArray::fromHex("62706c6973743030d10102516153780079080b0d000000000000010100000000000000"
                                                "0300000000000000000000000000000011");
  QVariant out;
  ASSERT_TRUE(Plist::fromData(binary, &out));
  // libplist keeps the text up to the NUL.
  EXPECT_TRUE(out.toMap().value("a").toString().startsWith(QLatin1Char('x')));
}

TEST(Plist, ReadDictionaryRejectsOtherRoots) {
  QTemporaryDir dir;
  const QString path = dir.filePath("array.plist");
  ASSERT_TRUE(Plist::writeFile(path, QVariantList{1, 2}));
  QVariantMap map{{"stale", 1}};
  EXPECT_FALSE(Plist::readDictionary(path, &map));
  EXPECT_TRUE(map.isEmpty());
  EXPECT_FALSE(Plist::readDictionary(dir.filePath("missing.plist"), &map));
}

TEST(Plist, FailedWriteKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("keep.plist");
  ASSERT_TRUE(Plist::writeFile(path, QVariantMap{{"v", 1}}));
  EXPECT_FALSE(Plist::writeFile(dir.filePath("no/such/folder/x.plist"), QVariantMap{{"v", 2}}));
  QVariantMap back;
  ASSERT_TRUE(Plist::readDictionary(path, &back));
  EXPECT_EQ(back.value("v").toInt(), 1);
}

TEST(Plist, WritesWithRequestedPermissions) {
  QTemporaryDir dir;
  const QString path = dir.filePath("private.plist");
  ASSERT_TRUE(Plist::writeFile(path, QVariantMap{{"v", 1}}, int(QFileDevice::ReadOwner | QFileDevice::WriteOwner)));
  const auto perms = QFile::permissions(path);
  EXPECT_TRUE(perms & QFileDevice::ReadOwner);
  EXPECT_FALSE(perms & QFileDevice::ReadGroup);
  EXPECT_FALSE(perms & QFileDevice::ReadOther);
}

} // namespace
