#include "Bundle.h"
#include "TokenListReader.h"
#include "WordGlobe.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Table = QHash<QString, QString>;

TEST(TokenListReader, ParsesTheStringsFormat) {
  struct Case {
    const char *name;
    QByteArray input;
    Table expected;
    int bad;
  };
  const QList<Case> cases = {
      {"plain entries", "\"Main_OK\" = \"OK\";\n\"Cancel\"=\"Cancel\";", {{"Main_OK", "OK"}, {"Cancel", "Cancel"}}, 0},
      {"comments anywhere", "/* head\n * more */\n// line\n\"a\" /* in */ = // tail\n \"1\";", {{"a", "1"}}, 0},
      {"escapes",
       R"("e" = "l1\nl2\t\"q\" \\ \'s\' \U00e9\u00E9 \101 \%";)",
       {{"e", QString::fromUtf8("l1\nl2\t\"q\" \\ 's' \xC3\xA9\xC3\xA9 A %")}},
       0},
      {"escaped surrogate pair and a lone half",
       R"("p" = "\UD83D\UDE00"; "h" = "x\UD83Dy";)",
       {{"p", QString::fromUtf8("\xF0\x9F\x98\x80")}, {"h", QStringLiteral("x\uFFFDy")}},
       0},
      {"unquoted tokens and a lone key", "Main_Quit = Quit;\n\"Self\";", {{"Main_Quit", "Quit"}, {"Self", "Self"}}, 0},
      {"a value over several lines", "\"m\" = \"one\ntwo\";", {{"m", "one\ntwo"}}, 0},
      {"bad lines are skipped, their neighbours kept",
       "\"a\" = \"1\";\n\"b\" = ;\n\"c\" \"3\";\ngarbage here\n\"d\" = \"4\";",
       {{"a", "1"}, {"d", "4"}},
       3},
      {"a missing semicolon costs one entry", "\"a\" = \"1\"\n\"b\" = \"2\";", {{"b", "2"}}, 1},
      {"an unterminated string at the end keeps what came before",
       "\"a\" = \"1\";\n\"b\" = \"never closed;\n",
       {{"a", "1"}},
       1},
      {"an unterminated comment keeps what came before", "\"a\" = \"1\";\n/* open\n\"b\" = \"2\";", {{"a", "1"}}, 1},
      {"later duplicates win", "\"k\" = \"old\";\n\"k\" = \"new\";", {{"k", "new"}}, 0},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF\"k\" = \"v\";", {{"k", "v"}}, 0},
      {"text ends at a NUL byte", QByteArray("\"a\" = \"1\";\0\"b\" = \"2\";", 22), {{"a", "1"}}, 0},
      {"invalid UTF-8 becomes replacement characters", "\"k\" = \"a\xFF\";", {{"k", QStringLiteral("a\uFFFD")}}, 0},
      {"empty input", "", {}, 0},
      {"an empty key is no entry", "\"\" = \"x\";\n\"k\" = \"v\";", {{"k", "v"}}, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const auto r = TokenListReader::parse(c.input);
    EXPECT_EQ(r.table, c.expected);
    EXPECT_EQ(r.badEntries, c.bad);
  }
}

TEST(TokenListReader, ReadsUtf16WithByteOrderMark) {
  const QString text = QStringLiteral("\"k\" = \"Fran\u00E7ais\";");
  QByteArray le("\xFF\xFE");
  le.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
  EXPECT_EQ(TokenListReader::parse(le).table.value("k"), QStringLiteral("Fran\u00E7ais"));
}

TEST(TokenListReader, ReportsTheFirstBadLineAndEnforcesBounds) {
  const auto r = TokenListReader::parse("\"a\" = \"1\";\n\n\"b\" = = ;\n\"c\" = \"3\";");
  EXPECT_EQ(r.firstBadLine, 3);
  EXPECT_EQ(r.table.size(), 2);

  const QByteArray longKey =
      "\"" + QByteArray(TokenListReader::kMaxKeyLength + 1, 'k') + "\" = \"v\";\n\"ok\" = \"1\";";
  const auto tooLong = TokenListReader::parse(longKey);
  EXPECT_EQ(tooLong.table, (Table{{"ok", "1"}}));
  EXPECT_EQ(tooLong.badEntries, 1);

  QByteArray many;
  for (int i = 0; i < TokenListReader::kMaxEntries + 5; ++i)
    many += "k" + QByteArray::number(i) + "=v;\n";
  const auto capped = TokenListReader::parse(many);
  EXPECT_EQ(capped.table.size(), TokenListReader::kMaxEntries);
  EXPECT_TRUE(capped.truncated);
}

TEST(TokenListReader, RefusesMissingAndOversizedFiles) {
  QTemporaryDir dir;
  TokenListReader::Result r;
  r.table.insert("keep", "me");
  EXPECT_FALSE(TokenListReader::readFile(dir.filePath("none.txt"), &r));
  EXPECT_FALSE(TokenListReader::readFile(dir.path(), &r));
  QFile big(dir.filePath("big.txt"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.resize(TokenListReader::kMaxFileBytes + 1);
  big.close();
  EXPECT_FALSE(TokenListReader::readFile(big.fileName(), &r));
  EXPECT_EQ(r.table.value("keep"), "me");
}

class WordGlobeTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  void TearDown() override { WordGlobe::reset(); }
  QString write(const QString &name, const QByteArray &text) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return f.fileName();
  }
};

TEST_F(WordGlobeTest, InitReplacesTheTableAndAFailedInitKeepsIt) {
  const QString first = write("a.txt", "\"SMS_Send\" = \"Send\";\n\"14\" = \"Alert\";");
  const QString second = write("b.txt", "\"SMS_Send\" = \"Senden\";");
  ASSERT_TRUE(Word_Globe_Init(first));
  EXPECT_EQ(Map_Name_Item_of_IndexString("SMS_Send"), "Send");
  EXPECT_EQ(Map_Name_Item_of_Index(14), "Alert");
  ASSERT_TRUE(Word_Globe_Init(second));
  EXPECT_EQ(Map_Name_Item_of_IndexString("SMS_Send"), "Senden");
  EXPECT_EQ(Map_Name_Item_of_Index(14), "") << "the old table must be gone";
  EXPECT_FALSE(Word_Globe_Init(dir.filePath("missing.txt")));
  EXPECT_EQ(Map_Name_Item_of_IndexString("SMS_Send"), "Senden");
  EXPECT_EQ(WordGlobe::currentTokenListPath(), second);
  Word_Globe_Dump();
}

TEST_F(WordGlobeTest, MissingKeysShowTheKeyAndEmptyKeysShowNothing) {
  ASSERT_TRUE(Word_Globe_Init(write("a.txt", "\"x\" = \"y\";")));
  EXPECT_EQ(Map_Name_Item_of_IndexString("Not_There"), "Not_There");
  EXPECT_EQ(Map_Name_Item_of_IndexString(QString()), "");
  EXPECT_EQ(Map_Name_Item_of_Index(99), "");
}

TEST_F(WordGlobeTest, TheShippedEnglishListIsClean) {
  const QString path = Bundle::mainBundle().resourcePath() + "/English.lproj/LanguageTokenList.txt";
  TokenListReader::Result r;
  ASSERT_TRUE(TokenListReader::readFile(path, &r)) << path.toStdString();
  EXPECT_EQ(r.badEntries, 0) << "first bad line " << r.firstBadLine;
  ASSERT_TRUE(Word_Globe_Init(path));
  EXPECT_EQ(Map_Name_Item_of_Index(14), "Warning");
}

} // namespace
