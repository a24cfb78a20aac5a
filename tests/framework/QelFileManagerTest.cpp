#include "QelFileManager.h"
#include "Plist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void writeRaw(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}
} // namespace

TEST(QelFileManager, ReadFromFileKeepsOnlyLinesOfExactlyTwoParts) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/list.txt";
  writeRaw(path, "a=1\nb=2=3\nc\nd=4\na=5\n\n");
  const QVariantMap map = QelFileManager::readFromFile(path, "\n", "=");
  EXPECT_EQ(map, (QVariantMap{{"a", "5"}, {"d", "4"}}));
  EXPECT_TRUE(QelFileManager::readFromFile(dir.path() + "/missing", "\n", "=").isEmpty());
  EXPECT_TRUE(QelFileManager::readFromFile(dir.path(), "\n", "=").isEmpty()) << "a folder is not a list";
}

TEST(QelFileManager, Utf16IniRoundTrip) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/card/PB/KEY_LIST.ini";
  ASSERT_TRUE(QelFileManager::writeToFile(path, QString::fromUtf8("[KeyList]\r\nCount=2\r\nName=M\u00fcller \u4e2d"),
                                          QStringConverter::Utf16));
  const QVariantMap map = QelFileManager::readFromFile(path, "\r\n", "=", QStringConverter::Utf16);
  EXPECT_EQ(map.value("Count"), "2");
  EXPECT_EQ(map.value("Name"), QString::fromUtf8("M\u00fcller \u4e2d"));
  EXPECT_EQ(map.size(), 2);
}

TEST(QelFileManager, WriteAnswersWhetherTheContentReachedTheFile) {
  QTemporaryDir dir;
  // Plist content, with the parent folder created.
  const QString plist = dir.path() + "/a/b/list.plist";
  ASSERT_TRUE(QelFileManager::writeToFile(plist, QVariantList{"x", qint64(2)}));
  QVariant back;
  ASSERT_TRUE(Plist::readFile(plist, &back));
  EXPECT_EQ(back.toList().size(), 2);

  // Content that cannot write itself, an empty path, a path through a file, a path that is a
  // folder: each answers NO and leaves nothing behind.
  EXPECT_FALSE(QelFileManager::writeToFile(dir.path() + "/number", QVariant(42)));
  EXPECT_FALSE(QFile::exists(dir.path() + "/number"));
  EXPECT_FALSE(QelFileManager::writeToFile("", QString("x")));
  writeRaw(dir.path() + "/file", "x");
  EXPECT_FALSE(QelFileManager::writeToFile(dir.path() + "/file/sub/x.txt", QString("x")));
  EXPECT_FALSE(QelFileManager::writeToFile(dir.path() + "/a", QString("x")));
  EXPECT_TRUE(QFileInfo(dir.path() + "/a").isDir());
}

TEST(QelFileManager, CreateFolderWalksEveryComponent) {
  QTemporaryDir dir;
  EXPECT_TRUE(QelFileManager::createFolder(dir.path() + "/x/y/z/"));
  EXPECT_TRUE(QFileInfo(dir.path() + "/x/y/z").isDir());
  EXPECT_TRUE(QelFileManager::createFolder(dir.path() + "/x/y/z")) << "existing folders are fine";
  EXPECT_FALSE(QelFileManager::createFolder(""));
  writeRaw(dir.path() + "/plain", "x");
  EXPECT_FALSE(QelFileManager::createFolder(dir.path() + "/plain/sub"));

  EXPECT_FALSE(QelFileManager::createDirectory(""));
  EXPECT_TRUE(QelFileManager::createDirectory(dir.path() + "/x"));
  EXPECT_FALSE(QelFileManager::createDirectory(dir.path() + "/p/q")) << "no intermediate folders";
}

TEST(QelFileManager, TypesSubPathsAndRemoval) {
  QTemporaryDir dir;
  const QString root = dir.path();
  QDir(root).mkpath("sub/.hiddenDir");
  writeRaw(root + "/f.txt", "1");
  writeRaw(root + "/.h", "1");
  writeRaw(root + "/sub/g.txt", "1");
  QFile::link(root + "/sub", root + "/linkToSub");

  EXPECT_EQ(QelFileManager::getFileTypeWithPath(root + "/f.txt"), QelFileManager::kFileTypeFile);
  EXPECT_EQ(QelFileManager::getFileTypeWithPath(root + "/sub"), QelFileManager::kFileTypeFolder);
  EXPECT_EQ(QelFileManager::getFileTypeWithPath(root + "/linkToSub"), QelFileManager::kFileTypeFolder);
  EXPECT_EQ(QelFileManager::getFileTypeWithPath(root + "/missing"), QelFileManager::kFileTypeOther);

  EXPECT_EQ(*QelFileManager::getSubPathsWithFileDirectoryPath(root, QelFileManager::kSearchFiles, false, false),
            (QStringList{"f.txt", "sub/g.txt"}));
  EXPECT_EQ(*QelFileManager::getSubPathsWithFileDirectoryPath(root, QelFileManager::kSearchAll, false, true),
            (QStringList{".h", "sub/.hiddenDir"}));
  EXPECT_EQ(*QelFileManager::getSubPathsWithFileDirectoryPath(root, QelFileManager::kSearchFolders, true, false),
            (QStringList{root + "/linkToSub", root + "/sub"}));
  EXPECT_FALSE(QelFileManager::getSubPathsWithFileDirectoryPath(root + "/f.txt", 0, false, false).has_value());
  EXPECT_EQ(QelFileManager::searchSubPaths({"f.txt", "sub", "missing"}, QelFileManager::kSearchFolders, root),
            QStringList{"sub"});

  EXPECT_TRUE(QelFileManager::removeFileAtPath(root + "/missing"));
  EXPECT_TRUE(QelFileManager::removeFileAtPath(root + "/linkToSub"));
  EXPECT_TRUE(QFile::exists(root + "/sub/g.txt")) << "removing a link leaves its target";
  EXPECT_TRUE(QelFileManager::removeFileAtPath(root + "/sub"));
  EXPECT_FALSE(QFileInfo::exists(root + "/sub"));
}
