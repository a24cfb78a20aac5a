// What the other subsystems reach of the phonebook through the neighbourhood: the place it
// takes and leaves, the operations that act on the stores, and the device lock of its tab.
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "PBFixture.h"
#include "PhonebookNeighbour.h"
#include "WordGlobe.h"

using namespace pbtest;

namespace {

class PhonebookNeighbourhood : public PBFixture {
protected:
  PhonebookNeighbour *neighbour() const { return Neighbourhood::phonebook(); }
};

TEST_F(PhonebookNeighbourhood, TheControllerTakesThePlaceWhileItLives) {
  start();
  EXPECT_EQ(neighbour(), static_cast<PhonebookNeighbour *>(pb.get()));
  pb.reset();
  EXPECT_EQ(neighbour(), nullptr);
}

TEST_F(PhonebookNeighbourhood, LookupsAndStoreOperationsActOnThePhonebook) {
  start({group(QStringLiteral("Friends"), {contact(QStringLiteral("Anna"), QStringLiteral("0176123456"))})});
  PhonebookNeighbour *phonebook = neighbour();
  ASSERT_NE(phonebook, nullptr);
  EXPECT_EQ(phonebook->searchNameAtPhoneBook(QStringLiteral("0176123456")), QStringLiteral("Anna"));
  EXPECT_EQ(phonebook->searchNameAtPhoneBook(QStringLiteral("999")), QStringLiteral("999"));
  EXPECT_TRUE(phonebook->hasPhoneNumber(QStringLiteral("0176123456")));
  EXPECT_FALSE(phonebook->hasPhoneNumber(QStringLiteral("999")));

  // A restore wrote the file behind the phonebook's back: the reload shows the new contacts.
  writePhoneBook({group(QStringLiteral("Restored"), {contact(QStringLiteral("Bruno"), QStringLiteral("030123456"))})});
  phonebook->reloadPCPhoneList();
  EXPECT_EQ(pb->getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), QStringLiteral("Restored"));
  EXPECT_EQ(phonebook->searchNameAtPhoneBook(QStringLiteral("030123456")), QStringLiteral("Bruno"));

  // A SIM's PC phonebook: every SIM shares phoneBook.plist, whatever name the caller hands over.
  writePhoneBook({group(QStringLiteral("Own"), {contact(QStringLiteral("Carla"), QStringLiteral("040912345"))})});
  phonebook->loadPcPhoneListByImsi(QStringLiteral("262011234567890_phoneBook.plist"));
  EXPECT_EQ(pb->getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), QStringLiteral("Own"));
  EXPECT_EQ(phonebook->searchNameAtPhoneBook(QStringLiteral("040912345")), QStringLiteral("Carla"));

  read(kStorageSIM, {item(1, "Anna SIM", "21"), item(2, "Bart SIM", "22")}, 250);
  EXPECT_EQ(phonebook->getDiagnosticsContact(), QStringLiteral("2/250"));
}

TEST_F(PhonebookNeighbourhood, ALanguageChangeNamesTheDefaultGroupWhenTheOperatorWantsIt) {
  start({}, {{QStringLiteral("ChangeDefGrpNameWithLag"), true}});
  neighbour()->setCurDefGrpName();
  EXPECT_EQ(ConfigService::readValue(QStringLiteral("PhoneBook"), QStringLiteral("CurDefGrpName")).toString(),
            Map_Name_Item_of_IndexString(QStringLiteral("Group")) + QStringLiteral(" 0"));
}

// The tab under "DeviceLockPBFunction": entering it while a lock code is in force opens the
// unlock window for module 2; the outcome of an unlock another module asked for is not its own.
class PhonebookDeviceLock : public PBFixture {
protected:
  QObject observer;
  QStringList tabs; // the tab changes posted
  bool locked = false;
  QList<int> opened;
  int asking = 0;

  void SetUp() override {
    PBFixture::SetUp();
    start({}, {}, {{QStringLiteral("DeviceLockPBFunction"), true}});
    pb->deviceLock.lockCodeOn = [this] { return locked; };
    pb->deviceLock.openUnlockWindow = [this](QWidget *, int module) {
      opened << module;
      asking = module;
    };
    pb->deviceLock.askingModule = [this] { return asking; };
    NotificationCenter::defaultCenter().addObserver(
        &observer, QLatin1String(kTabViewItemWillChange), nullptr,
        [this](const Notification &n) { tabs << n.userInfo.value(kTabViewItemWillChange).toString(); });
  }
  void TearDown() override {
    NotificationCenter::defaultCenter().removeObserver(&observer);
    PBFixture::TearDown();
  }
  void enter(const char *tab) {
    NotificationCenter::defaultCenter().postNotificationName(QLatin1String(kTabViewItemWillChange), nullptr,
                                                             {{kTabViewItemWillChange, QLatin1String(tab)}});
  }
};

TEST_F(PhonebookDeviceLock, EnteringTheTabAsksForTheCodeOnlyWhileALockIsInForce) {
  enter("Phonebook");
  EXPECT_TRUE(opened.isEmpty());
  locked = true;
  enter("Call");
  EXPECT_TRUE(opened.isEmpty());
  enter("Phonebook");
  EXPECT_EQ(opened, QList<int>{2});
}

TEST_F(PhonebookDeviceLock, TheUnlocksOutcomeMovesTheTabOnlyWhenThePhonebookAsked) {
  const struct {
    const char *what;
    int asking;
    const char *outcome;
    QStringList tabs;
  } cases[] = {
      {"success of its own", 2, "DeviceUnlockSuccess", {"Phonebook"}},
      {"failure of its own", 2, "DeviceUnlockFailed", {"Internet"}},
      {"success the call page asked for", 4, "DeviceUnlockSuccess", {}},
      {"failure the call page asked for", 4, "DeviceUnlockFailed", {}},
  };
  for (const auto &c : cases) {
    tabs.clear();
    asking = c.asking;
    NotificationCenter::defaultCenter().postNotificationName(QLatin1String(c.outcome));
    EXPECT_EQ(tabs, c.tabs) << c.what;
  }
}

} // namespace
