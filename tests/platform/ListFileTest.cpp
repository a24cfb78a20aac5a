// List files past any size a settings file has, and lists that cannot be read: a list that
// parses is read whatever its size, and one that cannot be read is never replaced by fewer
// messages.
#include "ListFile.h"
#include "Plist.h"
#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Report {
  QString path;
  ListFile::ReadState state;
  QString keptAs;
};

class ListFiles : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QList<Report> reports;
  void SetUp() override {
    ListFile::setReportHandler([this](const QString &path, ListFile::ReadState state, const QString &keptAs) {
      reports.append({path, state, keptAs});
    });
  }
  void TearDown() override { ListFile::setReportHandler({}); }
  QString path() const { return dir.filePath(QStringLiteral("SmsList_PC.plist")); }
  static bool addOne(QVariantMap &dict) {
    QVariantList box = dict.value(QStringLiteral("InBox")).toList();
    box.append(QVariantMap{{QStringLiteral("messagetext"), QStringLiteral("new")}});
    dict.insert(QStringLiteral("InBox"), box);
    return true;
  }
};

// Past the limit settings files have (32 MiB), a list that parses is still a list: read, and a
// change is written into it rather than into a fresh file.
TEST_F(ListFiles, AListLargerThanTheSettingsLimitIsReadAndKeptWhole) {
  // Two messages of half the settings limit and a little: over it together.
  const QString big(int(SafeFile::kDefaultMaxReadBytes / 2 + 1024), QLatin1Char('x'));
  QVariantList box;
  box << QVariantMap{{QStringLiteral("messagetext"), big}} << QVariantMap{{QStringLiteral("messagetext"), big}};
  ASSERT_TRUE(Plist::writeFile(path(), QVariantMap{{QStringLiteral("InBox"), box}}));
  ASSERT_GT(QFileInfo(path()).size(), SafeFile::kDefaultMaxReadBytes);

  QVariantMap dict;
  EXPECT_EQ(ListFile::read(path(), &dict), ListFile::ReadState::Read);
  EXPECT_EQ(dict.value(QStringLiteral("InBox")).toList().size(), 2);
  ASSERT_TRUE(ListFile::update(path(), addOne));
  EXPECT_EQ(ListFile::read(path(), &dict), ListFile::ReadState::Read);
  EXPECT_EQ(dict.value(QStringLiteral("InBox")).toList().size(), 3);
  EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")}).isEmpty());
  EXPECT_TRUE(reports.isEmpty());
}

// A list past the limit of lists, or one the program may not open, stays where it is with every
// byte; nothing is written in its place, and the program is told.
TEST_F(ListFiles, AListThatCannotBeReadIsKeptInPlaceAndReported) {
  // A sparse file over the limit takes no disk.
  {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(SafeFile::kListMaxReadBytes + 1));
  }
  QVariantMap dict;
  EXPECT_EQ(ListFile::read(path(), &dict), ListFile::ReadState::TooLarge);
  EXPECT_TRUE(dict.isEmpty());
  ListFile::ReadState state = ListFile::ReadState::Read;
  EXPECT_FALSE(ListFile::update(path(), addOne, 5000, &state));
  EXPECT_EQ(state, ListFile::ReadState::TooLarge);
  EXPECT_EQ(QFileInfo(path()).size(), SafeFile::kListMaxReadBytes + 1);
  EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")}).isEmpty());
  ASSERT_EQ(reports.size(), 2);
  EXPECT_EQ(reports.at(0).state, ListFile::ReadState::TooLarge);
  EXPECT_EQ(reports.at(0).path, path());
  EXPECT_TRUE(reports.at(1).keptAs.isEmpty());

  // Unreadable for this user (not for root, who reads anything: then it is simply read).
  const QString locked = dir.filePath(QStringLiteral("SmsList_ME.plist"));
  ASSERT_TRUE(Plist::writeFile(locked, QVariantMap{{QStringLiteral("InBox"), QVariantList{1}}}));
  ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
  if (::geteuid() != 0) {
    EXPECT_EQ(ListFile::read(locked, &dict), ListFile::ReadState::Unreadable);
    EXPECT_FALSE(ListFile::update(locked, addOne));
    EXPECT_TRUE(QFileInfo::exists(locked));
  }
}

// A damaged list is moved aside (never over an earlier copy) and the program hears where.
TEST_F(ListFiles, EachDamagedListIsKeptBesideUnderItsOwnName) {
  QStringList kept;
  for (const QByteArray &bytes : {QByteArray("garbage one"), QByteArray("garbage two"), QByteArray()}) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    ListFile::ReadState state = ListFile::ReadState::Read;
    ASSERT_TRUE(ListFile::update(path(), addOne, 5000, &state));
    EXPECT_EQ(state, ListFile::ReadState::Damaged);
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_EQ(reports.last().state, ListFile::ReadState::Damaged);
    EXPECT_EQ(reports.last().keptAs, ListFile::lastSetAsidePath());
    QFile aside(ListFile::lastSetAsidePath());
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), bytes);
    kept << ListFile::lastSetAsidePath();
  }
  kept.removeDuplicates();
  EXPECT_EQ(kept.size(), 3);
}

// An arrival put first into the list's text gives the very list a parse, change and write would.
TEST_F(ListFiles, APrependWithoutParsingGivesWhatAParsedUpdateGives) {
  const QVariantMap message{{QStringLiteral("messagetext"), QStringLiteral("fish & <chips> \u00e9")},
                            {QStringLiteral("index"), 7},
                            {QStringLiteral("date"), QDateTime::fromSecsSinceEpoch(1700000000, QTimeZone::utc())}};
  const QVariantList two{QVariantMap{{QStringLiteral("messagetext"), QStringLiteral("one")}},
                         QVariantMap{{QStringLiteral("messagetext"), QStringLiteral("two")}}};
  const struct {
    const char *what;
    QVariant content; // invalid: no file
  } cases[] = {
      {"a box with messages", QVariantMap{{QStringLiteral("InBox"), two}, {QStringLiteral("OutBox"), two}}},
      {"an empty box", QVariantMap{{QStringLiteral("InBox"), QVariantList()}, {QStringLiteral("OutBox"), two}}},
      {"no such box", QVariantMap{{QStringLiteral("OutBox"), two}}},
      {"an empty list", QVariantMap()},
      {"no file", QVariant()},
      // The same key deeper down is not the box.
      {"a nested key of that name",
       QVariantMap{{QStringLiteral("OutBox"), QVariantList{QVariantMap{{QStringLiteral("InBox"), two}}}}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const QString fast = dir.filePath(QStringLiteral("fast.plist")), slow = dir.filePath(QStringLiteral("slow.plist"));
    QFile::remove(fast);
    QFile::remove(slow);
    if (c.content.isValid()) {
      ASSERT_TRUE(Plist::writeFile(fast, c.content));
      ASSERT_TRUE(Plist::writeFile(slow, c.content));
    }
    ASSERT_TRUE(ListFile::prepend(fast, QStringLiteral("InBox"), message));
    ASSERT_TRUE(ListFile::update(slow, [&](QVariantMap &d) {
      QVariantList box = d.value(QStringLiteral("InBox")).toList();
      box.prepend(message);
      d.insert(QStringLiteral("InBox"), box);
      return true;
    }));
    QVariantMap got, want;
    ASSERT_EQ(ListFile::read(fast, &got), ListFile::ReadState::Read);
    ASSERT_EQ(ListFile::read(slow, &want), ListFile::ReadState::Read);
    EXPECT_EQ(got, want);
    EXPECT_EQ(got.value(QStringLiteral("InBox")).toList().value(0).toMap(), message);
  }

  // A list not plainly of this module's writing goes the parsed way: a damaged one is set aside
  // and the message starts a new list; one that parses keeps every message.
  for (const QByteArray &text :
       {QByteArray("<?xml version=\"1.0\"?><plist><dict><key>InBox</key><array><dict>"),
        QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><!-- a note --><dict><key>InBox</key>"
                   "<array><string>old</string></array></dict></plist>")}) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();
    ASSERT_TRUE(ListFile::prepend(path(), QStringLiteral("InBox"), message));
    QVariantMap dict;
    ASSERT_EQ(ListFile::read(path(), &dict), ListFile::ReadState::Read);
    const QVariantList box = dict.value(QStringLiteral("InBox")).toList();
    ASSERT_FALSE(box.isEmpty());
    EXPECT_EQ(box.first().toMap(), message);
    EXPECT_EQ(box.size(), text.contains("old") ? 2 : 1);
  }
  EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")}).size(), 1);
}

} // namespace
