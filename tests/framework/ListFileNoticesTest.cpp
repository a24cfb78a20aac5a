// A message list that cannot be read reaches the user as one notice per file and kind.
#include "ListFileNotices.h"
#include "ListFile.h"
#include "ModalQuestions.h"
#include "Plist.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ListFileNotices, AListThatCannotBeReadIsToldOnceAndNamesWhereItWasKept) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("SmsList_PC.plist"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?><plist><dict><key>InBox</key><array>"); // cut short
  }
  ScriptedAnswers answers;
  ListFileNotices::install();
  QVariantMap dict;
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(ListFile::read(path, &dict), ListFile::ReadState::Damaged);
  QCoreApplication::processEvents();
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_TRUE(answers.asked().at(0).message.contains(QStringLiteral("SmsList_PC.plist")));

  // The next write moves it aside: the user learns where it is.
  ASSERT_TRUE(ListFile::update(path, [](QVariantMap &d) {
    d.insert(QStringLiteral("InBox"), QVariantList());
    return true;
  }));
  QCoreApplication::processEvents();
  ASSERT_EQ(answers.asked().size(), 2);
  EXPECT_TRUE(answers.asked().at(1).message.contains(ListFile::lastSetAsidePath()));

  // A list past any size the program reads is left in place, and said so.
  const QString huge = dir.filePath(QStringLiteral("SmsList_ME.plist"));
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(qint64(1) << 31));
  }
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(ListFile::read(huge, &dict), ListFile::ReadState::TooLarge);
  QCoreApplication::processEvents();
  ASSERT_EQ(answers.asked().size(), 3);
  EXPECT_TRUE(answers.asked().at(2).message.contains(QStringLiteral("too large")));
  ListFileNotices::uninstall();
}

} // namespace
