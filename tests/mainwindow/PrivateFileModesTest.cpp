// The user's private data is written readable by the user alone, whatever the umask: the
// writers of the call log, the far-end sound of a call, the settings, the lists and the folders
// they need, each run under umask 0.
#include "CallRecordStore.h"
#include "ConfigManager.h"
#include "Plist.h"
#include "QelFileManager.h"
#include "SeqGrab.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

int modeOf(const QString &path) {
  struct stat st {};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

class UmaskZero {
public:
  UmaskZero() : old_(::umask(0)) {}
  ~UmaskZero() { ::umask(old_); }

private:
  mode_t old_;
};

TEST(PrivateFileModes, EveryWriterOfTheUsersDataWritesPrivateFilesUnderUmaskZero) {
  QTemporaryDir dir;
  const QString root = dir.filePath(QStringLiteral("ModemList"));
  {
    const UmaskZero umaskZero;
    ASSERT_TRUE(QelFileManager::createFolder(root + QStringLiteral("/SMS/lists")));
    CallRecordStore calls(root + QLatin1Char('/') + kCMCallRecordDataFile);
    calls.add({{QStringLiteral("number"), QStringLiteral("0301")}}, false);
    ASSERT_TRUE(calls.save());
    ASSERT_EQ(SaveWaveAudio(root + QStringLiteral("/SWAP.wav"), QByteArray(1600, '\x01'), AudioStreamDesc()), 0);
    ASSERT_TRUE(Plist::writeFile(root + QStringLiteral("/SMS/lists/inbox.plist"), QVariantList{QStringLiteral("x")}));
    ASSERT_TRUE(QelFileManager::writeToFile(root + QStringLiteral("/PB/PB_0.ini"), QStringLiteral("[Contact]"),
                                            QStringConverter::Utf16));
    ASSERT_TRUE(QelFileManager::writeToFile(root + QStringLiteral("/records/day.csv"), QByteArray("a,b\n")));
    Plist::writeFile(root + QStringLiteral("/settings.plist"), QVariantMap{{QStringLiteral("IsLogOn"), false}});
    ConfigManager::Locations loc;
    loc.candidates = {root};
    ConfigManager config(loc);
    config.getConfiguration().insert(QStringLiteral("NotAutolaunch"), true);
    ASSERT_TRUE(config.writeToFile());
  }
  int files = 0;
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const bool folder = QFileInfo(path).isDir();
    files += folder ? 0 : 1;
    EXPECT_EQ(modeOf(path), folder ? 0700 : 0600) << path.mid(root.size()).toStdString();
  }
  EXPECT_GE(files, 6);
  EXPECT_EQ(modeOf(root), 0700);
}

} // namespace
