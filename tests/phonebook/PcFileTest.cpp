// phoneBook.plist that cannot be read, and saves the disk does not take: the user's contacts are
// never written over, and changes the disk refused stay and are saved later.
#include "PBFixture.h"
#include "PBPcFile.h"
#include "SafeFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {
using namespace pbtest;

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList groupNames(const PBController &pb) {
  QStringList names;
  for (int g = 0; g < pb.sumOfGroupInPC(); ++g)
    names << pb.getPCUserByIndex(g, -1).value(PBKey::kGroupName).toString();
  return names;
}

// A full disk for every save while it lives.
struct FullDisk {
  FullDisk() {
    SafeFile::setWriteFaultForTesting([](qint64) { return ENOSPC; });
  }
  ~FullDisk() { SafeFile::setWriteFaultForTesting(nullptr); }
};

class PcFile : public PBFixture {
protected:
  QStringList asideFiles() const { return QDir(modemList()).entryList({QStringLiteral("phoneBook.plist.damaged-*")}); }
  int warnings() const { return int(answers->asked().size()); }
};

// Each damaged phonebook is moved aside byte for byte, the user is told once where it is, and the
// phonebook starts with the default group in a new file.
TEST_F(PcFile, ADamagedPhonebookIsSetAsideAndKept) {
  // A phonebook of six contacts, cut in the middle as a crash in an old writer would leave it.
  QVariantList six;
  for (int i = 0; i < 6; ++i)
    six << contact(QStringLiteral("Name %1").arg(i), QString::number(100 + i));
  configure();
  writePhoneBook({group(QStringLiteral("Friends"), six)});
  const QByteArray whole = readAll(phoneBookPath());
  const struct {
    const char *what;
    QByteArray bytes;
  } cases[] = {
      {"truncated", whole.left(whole.size() / 2)},
      {"garbage", QByteArray("\x01\x02 not a property list \xff", 25)},
      {"empty", QByteArray()},
      {"wrong root", Plist::toXml(QVariantMap{{QStringLiteral("groupname"), QStringLiteral("Friends")}})},
      {"too deep", QByteArray("<plist><array>") + QByteArray("<array>").repeated(2000)},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    for (const QString &old : asideFiles())
      QFile::remove(QDir(modemList()).filePath(old));
    answers.reset(); // the old script restores the windows when it goes: first
    answers = std::make_unique<ScriptedAnswers>();
    configure({}, {});
    {
      QFile f(phoneBookPath());
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(c.bytes);
    }
    start({}, {{QStringLiteral("AddDefGrpWhileInit"), true}});
    const QStringList aside = asideFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(QDir(modemList()).filePath(aside.first())), c.bytes);
    EXPECT_EQ(QDir(modemList()).filePath(aside.first()), PBPcFile::lastSetAsidePath());
    EXPECT_EQ(groupNames(*pb), QStringList{"Group 0"});
    QVariant now;
    ASSERT_TRUE(Plist::readFile(phoneBookPath(), &now));
    EXPECT_EQ(now.toList().size(), 1);
    ASSERT_EQ(warnings(), 1);
    EXPECT_TRUE(answers->asked().first().message.contains(aside.first()));
  }
}

// Something the program cannot read at all stays where it is, and no save replaces it.
TEST_F(PcFile, APhonebookThatCannotBeReadIsNeverWrittenOver) {
  configure();
  ASSERT_EQ(::mkfifo(QFile::encodeName(phoneBookPath()).constData(), 0600), 0);
  start({}, {{QStringLiteral("AddDefGrpWhileInit"), true}});
  pb->addGroup();
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(phoneBookPath()).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_TRUE(asideFiles().isEmpty());
  // The groups live on in the window; the user heard once that they cannot be saved.
  EXPECT_EQ(groupNames(*pb), (QStringList{"Group 0", "Group 1"}));
  EXPECT_EQ(warnings(), 1);
  // Nor does the settings' backup road write over it.
  EXPECT_FALSE(PBPcFile::write(phoneBookPath(), {group(QStringLiteral("X"))}));
  // Once it is gone, the phonebook's file is written again.
  QFile::remove(phoneBookPath());
  PBPcFile::ReadState state = PBPcFile::ReadState::Read;
  EXPECT_TRUE(PBPcFile::read(phoneBookPath(), &state).isEmpty());
  EXPECT_EQ(state, PBPcFile::ReadState::Missing);
  EXPECT_TRUE(PBPcFile::write(phoneBookPath(), {group(QStringLiteral("X"))}));
}

// A full disk: the new group stays in the window, the user is told once however many saves fail,
// the file keeps what it held, and the changes are saved once the disk takes them.
TEST_F(PcFile, ASaveTheDiskRefusesIsToldOnceKeptAndTriedAgain) {
  start({group(QStringLiteral("Friends"), {contact("Ann", "1")})});
  const QByteArray before = readAll(phoneBookPath());
  {
    FullDisk full;
    pb->addGroupItem();
    pb->addGroupItem();
    EXPECT_EQ(pb->addUser2CurGrop(contact("Bob", "2")), 1);
    EXPECT_EQ(warnings(), 1);
    EXPECT_EQ(groupNames(*pb), (QStringList{"Friends", "Group 0", "Group 1"}));
    EXPECT_EQ(readAll(phoneBookPath()), before);
    // The SIM coming ready reloads the store: what the disk refused is not dropped for the file.
    pb->loadPcPhoneListByImsi(QStringLiteral("001010123456789_phoneBook.plist"));
    EXPECT_EQ(groupNames(*pb), (QStringList{"Friends", "Group 0", "Group 1"}));
    EXPECT_EQ(warnings(), 1);
  }
  // The retry saves it without any further change.
  auto *retry = pb->findChild<QTimer *>(QStringLiteral("pcSaveRetry"));
  ASSERT_NE(retry, nullptr);
  ASSERT_TRUE(retry->isActive());
  retry->start(1);
  QElapsedTimer waited;
  waited.start();
  while (readAll(phoneBookPath()) == before && waited.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  QVariant saved;
  ASSERT_TRUE(Plist::readFile(phoneBookPath(), &saved));
  EXPECT_EQ(saved.toList().size(), 3);
  EXPECT_FALSE(retry->isActive());
  // A later failure is told again: the user heard the first one ended well.
  FullDisk full;
  pb->addGroupItem();
  EXPECT_EQ(warnings(), 2);
}

// A file written by someone else while changes waited (a restore) is newer than those changes.
TEST_F(PcFile, AFileReplacedWhileChangesWaitIsTaken) {
  start({group(QStringLiteral("Friends"))});
  {
    FullDisk full;
    pb->addGroup();
  }
  ASSERT_TRUE(Plist::writeFile(phoneBookPath(), QVariantList{group(QStringLiteral("Restored"))}));
  pb->reloadPCPhoneList();
  EXPECT_EQ(groupNames(*pb), QStringList{"Restored"});
}

} // namespace
