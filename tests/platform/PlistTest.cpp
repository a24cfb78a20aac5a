#include "Plist.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtEndian>
#include <cstdio>
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

// `levels` arrays, each holding the next, the innermost holding the string "x".
QByteArray nestedXml(int levels) {
  QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//x//DTD PLIST 1.0//EN\" "
                   "\"x.dtd\">\n<plist version=\"1.0\">";
  xml += QByteArray("<array>").repeated(levels) + "<string>x</string>" + QByteArray("</array>").repeated(levels);
  return xml + "</plist>\n";
}

// The same as a binary list: object i is an array referring to object i + 1. With `cycle` the
// innermost array refers back to the root instead of holding the string.
QByteArray nestedBinary(int levels, bool cycle = false) {
  QByteArray out = "bplist00";
  QList<quint32> offsets;
  const auto be32 = [](quint32 v) {
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
  };
  const auto be64 = [](quint64 v) {
    QByteArray b(8, '\0');
    qToBigEndian(v, b.data());
    return b;
  };
  for (int i = 0; i < levels; ++i) {
    offsets.append(quint32(out.size()));
    out += char(0xA1) + be32(cycle && i == levels - 1 ? 0 : quint32(i + 1));
  }
  offsets.append(quint32(out.size()));
  out += "\x51x";
  const quint64 table = quint64(out.size());
  for (quint32 o : offsets)
    out += be32(o);
  out += QByteArray(6, '\0') + char(4) + char(4) + be64(quint64(offsets.size())) + be64(0) + be64(table);
  return out;
}

// Descends `levels` single-item arrays and answers the innermost value.
QVariant innermost(QVariant v, int levels) {
  for (int i = 0; i < levels && v.typeId() == QMetaType::QVariantList && v.toList().size() == 1; ++i)
    v = v.toList().first();
  return v;
}

TEST(Plist, RefusesTooDeepNestingBeforeParsing) {
  // 200,000 levels overflowed the stack in libplist at every start; the limit answers as for a
  // damaged file, quickly.
  struct Case {
    const char *name;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"xml 600", nestedXml(600)},
      {"xml 200000", nestedXml(200000)},
      {"binary 600", nestedBinary(600)},
      {"binary 200000", nestedBinary(200000)},
      {"binary cycle", nestedBinary(3, true)},
  };
  QTemporaryDir dir;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath("deep.plist");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.bytes);
    f.close();
    QElapsedTimer timer;
    timer.start();
    QVariant out;
    EXPECT_FALSE(Plist::readFile(path, &out));
    EXPECT_FALSE(out.isValid());
    const qint64 ms = timer.elapsed();
    std::printf("  %s (%lld bytes) refused in %lld ms\n", c.name, qint64(c.bytes.size()), ms);
    EXPECT_LT(ms, 2000);
  }
}

TEST(Plist, ParsesNestingWithinTheLimit) {
  for (int levels : {1, 100, 500}) {
    SCOPED_TRACE(levels);
    QVariant out;
    ASSERT_TRUE(Plist::fromData(nestedXml(levels), &out));
    EXPECT_EQ(innermost(out, levels).toString(), "x");
    ASSERT_TRUE(Plist::fromData(nestedBinary(levels), &out));
    EXPECT_EQ(innermost(out, levels).toString(), "x");
  }
  // Many empty or self-closed containers side by side and markup in comments are no depth.
  QByteArray wide = "<plist><array><!-- " + QByteArray("<array>").repeated(1000) + " -->";
  wide += QByteArray("<array/>").repeated(1000) + QByteArray("<dict></dict>").repeated(1000) +
          "<string><![CDATA[<array><array>]]></string></array></plist>";
  QVariant out;
  ASSERT_TRUE(Plist::fromData(wide, &out));
  EXPECT_EQ(out.toList().size(), 2001);
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
