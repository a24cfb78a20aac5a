// The settings window's frame without a modem: page list, enable rules, getters, routing,
// sounds, language and wording.
#include "LanguageOperation.h"
#include "SettingFixture.h"
#include "SettingPages.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>

namespace {

class Frame : public SettingFixture {
protected:
  // A settings window of its own over the test's settings, edited by `edit` first.
  SettingController *fresh(const std::function<void(QVariantMap &)> &edit = {}) {
    if (edit)
      edit(config->getConfiguration());
    tabs = std::make_unique<QTabWidget>();
    auto *c = new SettingController(&owner);
    SettingPages::build(c, tabs.get());
    c->awakeFromNib();
    return c;
  }
  static UIMsg package(int major, int minor, quint8 result, const QByteArray &data, int type = 1, int module = 3) {
    UIMsg msg;
    msg.moduleId = module;
    msg.majorId = major;
    msg.minorId = minor;
    msg.type = type;
    msg.result = result;
    msg.setPayload(data);
    return msg;
  }
  static Notification notice(const UIMsg &msg) {
    return Notification{QStringLiteral("qUIMsg"), nullptr, {{QStringLiteral("qUIMsg"), msg.encode()}}};
  }
  static QByteArray u32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
      b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
  }
  QStringList pageIds(const SettingController *c) const {
    QStringList ids;
    for (int i = 0; i < c->tabviewSetting->count(); ++i)
      ids << c->tabviewSetting->widget(i)->property("itemIdentifier").toString();
    return ids;
  }
  std::unique_ptr<QTabWidget> tabs;
};

TEST_F(Frame, ThePageListKeepsItsPagesAndNoListKeepsEveryPage) {
  SettingController *listed = fresh();
  EXPECT_EQ(pageIds(listed),
            (QStringList{"System", "SMS", "Network", "Security", "Alert", "Browser", "Call", "FavoriteLinks"}));
  EXPECT_TRUE(listed->sethasModuleWith(QStringLiteral("Security")));
  EXPECT_FALSE(listed->sethasModuleWith(QStringLiteral("Connect")));
  EXPECT_FALSE(listed->openSettingPage(QStringLiteral("Connect")));
  EXPECT_TRUE(listed->openSettingPage(QStringLiteral("SMS")));
  delete listed;

  SettingController *unlisted = fresh([](QVariantMap &d) { d.remove(QStringLiteral("SettingDefaultItem")); });
  EXPECT_EQ(pageIds(unlisted).size(), SettingPages::pageTable().size());
  // Without a list no page counts as present: page-guarded work is skipped.
  EXPECT_FALSE(unlisted->sethasModuleWith(QStringLiteral("SMS")));
  unlisted->MessageCenter->setText(QStringLiteral("+1"));
  unlisted->deviceRemoved(Notification{});
  EXPECT_EQ(unlisted->MessageCenter->text(), QStringLiteral("+1"));
  delete unlisted;
}

// Pages the window does not build are not offered, even when the configuration lists them; the
// list still tells whether they are configured. No page shown is an empty widget.
TEST_F(Frame, ListedPagesWithoutControlsAreNotOffered) {
  SettingController *c = fresh([](QVariantMap &d) {
    d.insert(QStringLiteral("SettingDefaultItem"),
             QVariantList{"System", "Record", "OnlineUpdate", "Z3ISetting", "Volume Limit", "Security"});
  });
  EXPECT_EQ(pageIds(c), (QStringList{"System", "Security"}));
  EXPECT_TRUE(c->sethasModuleWith(QStringLiteral("Volume Limit")));
  EXPECT_FALSE(c->openSettingPage(QStringLiteral("Record")));
  QStringList buttons;
  for (const QPointer<QAbstractButton> &b : c->settingPageButtons)
    if (b && !b->isHidden())
      buttons << b->property("pageIdentifier").toString();
  EXPECT_EQ(buttons, (QStringList{"System", "Security"}));
  delete c;
  SettingController *every = fresh([](QVariantMap &d) { d.remove(QStringLiteral("SettingDefaultItem")); });
  for (int i = 0; i < every->tabviewSetting->count(); ++i)
    EXPECT_FALSE(every->tabviewSetting->widget(i)->findChildren<QWidget *>().isEmpty())
        << every->tabviewSetting->widget(i)->property("itemIdentifier").toString().toStdString();
  delete every;
}

TEST_F(Frame, AllowAutoConnectFollowsTheVisibleControls) {
  struct Case {
    const char *name;
    int box; // 0 absent, 1 shown, 2 hidden
    bool boxEnabled, boxOn;
    int matrix; // 0 absent, 1 shown, 2 hidden
    bool matrixEnabled;
    int row; // selected row of the reduced layout's matrix
    bool defaultAutoConnect;
    bool expected;
  };
  const Case cases[] = {
      {"shown, on", 1, true, true, 0, false, -1, false, true},
      {"shown, off", 1, true, false, 0, false, -1, false, false},
      {"shown but disabled", 1, false, true, 0, false, -1, false, false},
      {"hidden box is ignored", 2, true, true, 0, false, -1, false, false},
      {"hidden box read by default", 2, true, true, 0, false, -1, true, true},
      {"absent box", 0, false, false, 0, false, -1, true, false},
      {"matrix row 0 wins", 1, true, false, 1, true, 0, false, true},
      {"matrix row 1 wins", 1, true, true, 1, true, 1, false, false},
      {"disabled matrix keeps the box", 1, true, true, 1, false, 1, false, true},
      {"hidden matrix ignored", 1, true, false, 2, true, 0, false, false},
      {"hidden matrix read by default", 2, false, false, 2, true, 0, true, true},
      {"matrix without a row keeps the box", 1, true, true, 1, true, -1, false, true},
  };
  for (const Case &c : cases) {
    SettingController *s = fresh([&](QVariantMap &d) {
      QVariantMap internet = d.value(QStringLiteral("Internet")).toMap();
      internet.insert(QStringLiteral("DefaultAutoConnect"), c.defaultAutoConnect);
      d.insert(QStringLiteral("Internet"), internet);
    });
    QWidget host;
    if (c.box == 0) {
      delete s->btnAutoConnect;
    } else {
      s->btnAutoConnect->setVisible(c.box == 1);
      s->btnAutoConnect->setEnabled(c.boxEnabled);
      s->btnAutoConnect->setChecked(c.boxOn);
    }
    if (c.matrix != 0) {
      auto *m = new ButtonMatrix(&host);
      m->renewRows(2, 1);
      if (c.row >= 0)
        m->cellAtRow(c.row, 0)->setChecked(true);
      m->setVisible(c.matrix == 1);
      m->setEnabled(c.matrixEnabled);
      s->matrixAutoConnectRuvoz = m;
    }
    EXPECT_EQ(s->allowAutoConnect(), c.expected) << c.name;
    delete s;
  }
}

TEST_F(Frame, GettersWordTheirState) {
  SettingController *s = fresh();
  const QList<QPair<int, const char *>> findModes = {{0, "2G Only"},      {1, "3G Only"}, {2, "2G Preferred"},
                                                     {3, "3G Preferred"}, {4, "2G Only"}, {-1, "2G Only"}};
  for (const auto &[tag, wording] : findModes) {
    s->setNetworkSelection(0, tag);
    EXPECT_EQ(s->getNetworkFindModeSelection(), Map_Name_Item_of_IndexString(QLatin1String(wording))) << tag;
  }
  EXPECT_EQ(s->getNetworkSelectionMode(), Map_Name_Item_of_IndexString(QStringLiteral("Automatic")));
  s->setNetworkSelection(1, 0);
  EXPECT_EQ(s->getNetworkSelectionMode(), Map_Name_Item_of_IndexString(QStringLiteral("Manual")));
  s->setPinActiveStatus(1);
  EXPECT_EQ(s->getPinStatus(), Map_Name_Item_of_IndexString(QStringLiteral("Enabled")));
  delete s;
}

TEST_F(Frame, EnableRulesFollowTheDeviceAndThePinLock) {
  SettingController *s = fresh();
  QList<bool> posted;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("setSettingBtnStatus"), nullptr,
      [&](const Notification &n) { posted << n.userInfo.value(QStringLiteral("index")).toBool(); });
  // Everything device-related starts disabled.
  EXPECT_FALSE(s->m_PINEnable->isEnabled());
  EXPECT_FALSE(s->m_RevisePinButton->isEnabled());
  EXPECT_FALSE(s->MessageCenter->isEnabled());
  EXPECT_FALSE(s->MessageSetApplyBtn->isEnabled());
  struct Case {
    bool flag, pinOn;
    bool revise, modifyItem, enableItem, disableItem;
  };
  const Case cases[] = {
      {true, true, true, true, false, true},
      {true, false, false, false, true, false},
      {false, true, false, false, false, false},
      {false, false, false, false, false, false},
  };
  for (const Case &c : cases) {
    s->m_PINEnable->setChecked(c.pinOn);
    s->setSettingBtnStatus(c.flag);
    EXPECT_EQ(s->m_PINEnable->isEnabled(), c.flag);
    EXPECT_EQ(s->m_RevisePinButton->isEnabled(), c.revise) << c.flag << c.pinOn;
    EXPECT_EQ(s->labelPinModify_->isEnabled(), c.modifyItem) << c.flag << c.pinOn;
    EXPECT_EQ(s->labelPINEnable_->isEnabled(), c.enableItem) << c.flag << c.pinOn;
    EXPECT_EQ(s->labelPINDisable_->isEnabled(), c.disableItem) << c.flag << c.pinOn;
  }
  EXPECT_EQ(posted, (QList<bool>{true, true, false, false}));
  // A removal clears the centre and closes the page to edits.
  s->MessageCenter->setEnabled(true);
  s->MessageCenter->setText(QStringLiteral("+4917"));
  s->setAutoConnectBtnEnable(true);
  EXPECT_TRUE(s->btnAutoConnect->isEnabled());
  s->deviceRemoved(Notification{});
  EXPECT_TRUE(s->MessageCenter->text().isEmpty());
  EXPECT_TRUE(s->MessageCenter->isReadOnly());
  EXPECT_FALSE(s->btnAutoConnect->isEnabled());
  EXPECT_FALSE(s->m_PINEnable->isEnabled());
  // Switching pages is refused while a manual network selection runs.
  s->selectSettingPage(QStringLiteral("System"));
  s->setManualSelecting(true);
  EXPECT_FALSE(s->openSettingPage(QStringLiteral("Security")));
  EXPECT_EQ(s->currentSettingPage(), QStringLiteral("System"));
  s->setManualSelecting(false);
  EXPECT_TRUE(s->openSettingPage(QStringLiteral("Security")));
  delete s;
}

TEST_F(Frame, TheRoutingReadSelectsAKnownRoutingOrTheSavedOne) {
  SettingController *s = fresh([](QVariantMap &d) {
    QVariantMap sms = d.value(QStringLiteral("SMS")).toMap();
    sms.insert(QStringLiteral("MessageRouting"), 1);
    sms.insert(QStringLiteral("MessageRoutingList"),
               QVariantList{QStringLiteral("Circuit Switched"), QStringLiteral("Packet Switched"),
                            QStringLiteral("Circuit Switched Preferred"), QStringLiteral("Packet Switched Preferred")});
    d.insert(QStringLiteral("SMS"), sms);
  });
  ASSERT_FALSE(s->cboxMsgRouting_->isHidden());
  struct Case {
    quint8 result;
    QByteArray data;
    int row;    // of the box (the list's order)
    int stored; // SMS/"MessageRouting" afterwards
  };
  const Case cases[] = {
      {0, u32(0), 1, 0},           {0, u32(3), 2, 3},       {0, u32(2), 3, 2},    {0, u32(4), 3, 2},
      {0, u32(0xFFFFFFFFu), 3, 2}, {0, QByteArray(), 3, 2}, {0xFF, u32(1), 3, 2}, {0, u32(1), 0, 1},
  };
  for (const Case &c : cases) {
    s->dealWithMsgOfMsgRoutingRead(notice(package(768, 108, c.result, c.data)));
    EXPECT_EQ(s->cboxMsgRouting_->currentIndex(), c.row) << c.data.toHex().constData();
    EXPECT_EQ(s->readMessageRouting(), c.stored) << c.data.toHex().constData();
    EXPECT_TRUE(s->cboxMsgRouting_->isEnabled());
  }
  EXPECT_EQ(s->getIndexOfMsgRoutingList(QStringLiteral("nothing")), 0);
  delete s;
}

TEST_F(Frame, SmsDefaultsAndTheCentreFilter) {
  SettingController *s = fresh();
  EXPECT_EQ(s->readValidityPeriod(), 3);
  EXPECT_EQ(s->readMessageStoreLoc(), 2);
  EXPECT_FALSE(s->readDeliveryReport());
  delete s;
  s = fresh([](QVariantMap &d) {
    QVariantMap setting = d.value(QStringLiteral("Setting")).toMap();
    setting.insert(QStringLiteral("HideSMSStoreDefault"), true);
    d.insert(QStringLiteral("Setting"), setting);
  });
  EXPECT_EQ(s->readMessageStoreLoc(), 1);
  const QList<QPair<QString, QString>> filters = {
      {QStringLiteral("+49 172-111 222"), QStringLiteral("+49172111222")},
      {QStringLiteral("(0172) 111/222"), QStringLiteral("0172111222")},
      {QString(40, u'1') + QStringLiteral("x"), QString(32, u'1')},
      {QStringLiteral("a b c"), QString()},
  };
  for (const auto &[typed, kept] : filters)
    EXPECT_EQ(SettingController::filterMessageCenter(typed), kept) << qPrintable(typed);
  // A 32-byte centre with no terminator is a 32-character number.
  s->dealWithMsgOfSMSCenter(notice(package(768, 96, 0, QByteArray(32, '7'), 1, 5)));
  EXPECT_EQ(s->readMessageCenter(), QString(32, u'7'));
  // Another type is not an answer.
  s->dealWithMsgOfSMSCenter(notice(package(768, 96, 0, QByteArray("+1\0", 3).leftJustified(32, '\0'), 0, 5)));
  EXPECT_EQ(s->readMessageCenter(), QString(32, u'7'));
  delete s;
}

TEST_F(Frame, StorePositionsComeFromTheConfigurationOrThePlatform) {
  const QelPositionManager other = SettingController::smsSettingPositions(QVariant(), 0);
  EXPECT_EQ(other.positionCount(), 3);
  EXPECT_EQ(other.getPositionByPositionOrder(0), 0);
  EXPECT_EQ(other.getPositionByPositionOrder(2), 2);
  const QelPositionManager icera = SettingController::smsSettingPositions(QVariant(), 1);
  EXPECT_EQ(icera.positionCount(), 2);
  EXPECT_EQ(icera.getPositionByPositionOrder(0), 1);
  const QelPositionManager configured = SettingController::smsSettingPositions(
      QVariantMap{{QStringLiteral("SetAtME"), 0}, {QStringLiteral("SetAtTcard"), 1}, {QStringLiteral("Bogus"), 2}}, 0);
  EXPECT_EQ(configured.getPositionByPositionOrder(0), 3);
  EXPECT_EQ(configured.getPositionByPositionOrder(1), 4);
  EXPECT_EQ(configured.getPositionByPositionOrder(2), 2); // an unknown name stores at the PC
}

TEST_F(Frame, AMissingSoundFileFallsBackToTheDefaultAndTheMuteBoxCanMeanPlays) {
  SettingController *s = fresh();
  s->setSoundFileName(kSoundSMS, dir.filePath(QStringLiteral("gone.wav")));
  s->updateSoundFile(kSoundSMS, QStringLiteral("/sound/sms.wav"));
  EXPECT_EQ(s->soundFileName(kSoundSMS), s->defaultSoundFile(kSoundSMS));
  EXPECT_FALSE(s->soundFileName(kSoundSMS).isEmpty());
  // A file that is there stays.
  const QString mine = dir.filePath(QStringLiteral("mine.wav"));
  QFile f(mine);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  s->takeSoundFile(kSoundOnline, mine);
  s->updateSoundFile(kSoundOnline, QStringLiteral("/sound/online.wav"));
  EXPECT_EQ(s->soundFileName(kSoundOnline), mine);
  EXPECT_EQ(s->soundRows[kSoundOnline].fileName->text(), mine);

  // Muted: the box shows muted, the row is off.
  s->soundRows[kSoundOffline].mute->setChecked(true);
  s->setSoundMute(kSoundOffline);
  EXPECT_TRUE(s->isSoundMute(kSoundOffline));
  EXPECT_FALSE(s->soundRows[kSoundOffline].browse->isEnabled());
  delete s;
  // Under "AlertNotMuteSet" a ticked box means the sound plays.
  s = fresh([](QVariantMap &d) {
    QVariantMap setting = d.value(QStringLiteral("Setting")).toMap();
    setting.insert(QStringLiteral("AlertNotMuteSet"), true);
    d.insert(QStringLiteral("Setting"), setting);
  });
  s->soundRows[kSoundOffline].mute->setChecked(true);
  s->setSoundMute(kSoundOffline);
  EXPECT_FALSE(s->isSoundMute(kSoundOffline));
  EXPECT_TRUE(s->soundRows[kSoundOffline].mute->isChecked());
  EXPECT_TRUE(s->soundRows[kSoundOffline].browse->isEnabled());
  delete s;
}

TEST_F(Frame, ALanguageChangeReloadsTheWordsAndRenamesTheDefaultGroup) {
  // A bundle of the test's own with an English and a German token list.
  const QString resources = dir.filePath(QStringLiteral("Resources"));
  for (const auto &[folder, text] : QList<QPair<QString, QByteArray>>{
           {QStringLiteral("English"), "\"Group\" = \"Group\";\n"},
           {QStringLiteral("German"), "\"Group\" = \"Gruppe\";\n\"Security\" = \"Sicherheit\";\n"}}) {
    QDir().mkpath(resources + QLatin1Char('/') + folder + QStringLiteral(".lproj"));
    QFile f(resources + QLatin1Char('/') + folder + QStringLiteral(".lproj/LanguageTokenList.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  LanguageOperation language(resources);
  LanguageOperation::setSharedLanguageOperation(&language);
  buildOffline();
  config->getConfiguration().insert(QStringLiteral("PhoneBook"),
                                    QVariantMap{{QStringLiteral("ChangeDefGrpNameWithLag"), true}});
  settings()->changeLanguageby(QStringLiteral("Deutsch"));
  EXPECT_EQ(config->getConfiguration().value(QStringLiteral("CurrentLanguage")).toString(), QStringLiteral("German"));
  EXPECT_EQ(Map_Name_Item_of_IndexString(QStringLiteral("Group")), QStringLiteral("Gruppe"));
  EXPECT_EQ(
      config->getConfiguration().value(QStringLiteral("PhoneBook")).toMap().value(QStringLiteral("CurDefGrpName")),
      QStringLiteral("Gruppe 0"));
  // A name outside the table changes nothing stored, but the words are loaded again.
  settings()->changeLanguageby(QStringLiteral("Klingon"));
  EXPECT_EQ(config->getConfiguration().value(QStringLiteral("CurrentLanguage")).toString(), QStringLiteral("German"));
  EXPECT_EQ(SettingController::EnglishToNative(QStringLiteral("Arabic")), QString::fromUtf8("العربية"));
  EXPECT_EQ(SettingController::NativeToEnglish(QString::fromUtf8("简体中文")), QStringLiteral("zh_CN"));
  EXPECT_TRUE(SettingController::EnglishToNative(QStringLiteral("Klingon")).isNull());
  settings()->changeLanguageby(QStringLiteral("English"));
  LanguageOperation::setSharedLanguageOperation(nullptr);
}

TEST_F(Frame, TheUpdateAddressEncodesItsValuesAndTheUpdateControlsHide) {
  EXPECT_EQ(SettingController::fillWebLinkTemplate(
                QStringLiteral("http://x/mbsu?brand=33&macswver=%@&fwver=%@&lang=%@"),
                {QStringLiteral("1.0 beta"), QStringLiteral("11.0&x=1"), QStringLiteral("de-AT")}),
            QStringLiteral("http://x/mbsu?brand=33&macswver=1.0%20beta&fwver=11.0%26x%3D1&lang=de-AT"));
  SettingController *s = fresh();
  EXPECT_TRUE(s->btnAutoUpdate->isHidden());
  EXPECT_TRUE(s->boxUpdate->isHidden());
  EXPECT_TRUE(s->btnCheckForUpdateRizora->isHidden());
  delete s;
}

TEST_F(Frame, EveryWordingKeyOfTheWindowIsInTheEnglishTokenList) {
  QFile file(QStringLiteral(QEL_SOURCE_DIR "/resources/English.lproj/LanguageTokenList.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  QSet<QString> keys;
  static const QRegularExpression line(QStringLiteral("^\"((?:[^\"\\\\]|\\\\.)*)\"\\s*="),
                                       QRegularExpression::MultilineOption);
  for (auto it = line.globalMatch(text); it.hasNext();)
    keys.insert(it.next().captured(1));
  SettingController *s = fresh([](QVariantMap &d) { d.remove(QStringLiteral("SettingDefaultItem")); });
  QStringList used;
  QList<QWidget *> widgets = s->settingView->findChildren<QWidget *>();
  for (QWidget *w : widgets)
    if (!w->property("wordingKey").toString().isEmpty())
      used << w->property("wordingKey").toString();
  // The sheets, alerts, menu items and combo boxes.
  used << QStringList{"Unlock Device",
                      "Please input the unlock device code:",
                      "Unlock Code:",
                      "The unlock device code must be 4 digitals",
                      "Invalid password!",
                      "Enable PIN",
                      "Disable PIN",
                      "Modify PIN",
                      "Please input PIN:",
                      "PIN:",
                      "Please input:",
                      "PUK:",
                      "New PIN:",
                      "Repeat New PIN:",
                      "Old PIN:",
                      "You only have %d time(s) left!",
                      "Old Unlock Code:",
                      "New Unlock Code:",
                      "Verify Unlock Code:",
                      "You have only %d time(s) to unlock!",
                      "Incorrect PIN code!",
                      "Settings successful!",
                      "New PIN enabled!",
                      "Incorrect PUK code!",
                      "The operation failed!",
                      "Device lock enabled!",
                      "Device lock disabled!",
                      "Please input same unlock code!",
                      "Modify device unlock code successfully!",
                      "Device has been locked, please contact service provider!",
                      "Warning!",
                      "Warning",
                      "Enabled",
                      "Disabled",
                      "12 hours",
                      "A day",
                      "A week",
                      "A longest period",
                      "Default",
                      "(U)SIM",
                      "PC",
                      "SetMEPosition",
                      "SetSDCardPosition",
                      "Packet Switched",
                      "Circuit Switched",
                      "Packet Switched Preferred",
                      "Circuit Switched Preferred",
                      "spanish identifier",
                      "portuguese identifier",
                      "single language support tip:",
                      "Fail to set message center!",
                      "Select one or more audio files.",
                      "Do you start the autoconnect function?",
                      "System Settings",
                      "SMS Settings",
                      "Connection Settings",
                      "Network Settings",
                      "Security Settings",
                      "Alert Settings",
                      "Automatic",
                      "Manual",
                      "3G Preferred",
                      "2G Preferred",
                      "3G Only",
                      "2G Only",
                      "Check automatically every two weeks",
                      "Disable checking automatically",
                      "OK",
                      "Cancel"};
  for (const SettingPages::Page &p : SettingPages::pageTable())
    used << QLatin1String(p.identifier);
  QStringList missing;
  for (const QString &key : used)
    if (!keys.contains(key))
      missing << key;
  EXPECT_TRUE(missing.isEmpty()) << qPrintable(missing.join(QStringLiteral(" | ")));
  delete s;
}

} // namespace

namespace {

TEST_F(Frame, OnlyAZeroResultChangesTheDeviceLockCode) {
  SettingController *s = fresh();
  struct Case {
    quint8 result;
    const char *told;
    bool sheetAgain;
  };
  const Case cases[] = {
      {0, "Modify device unlock code successfully!", false},
      {0xFF, "Invalid password!", true},
      {3, "The operation failed!", false},
      {254, "The operation failed!", false},
  };
  for (const Case &c : cases) {
    s->modifyUnlockDeviceSheet()->end();
    const int before = askedCount(QLatin1String(c.told));
    s->dealWithMsgOfModifyDeviceLockCodeStatus(notice(package(8, 31, c.result, {})));
    EXPECT_EQ(askedCount(QLatin1String(c.told)), before + 1) << int(c.result);
    EXPECT_EQ(s->modifyUnlockDeviceSheet()->isVisible(), c.sheetAgain) << int(c.result);
  }
  delete s;
}

} // namespace
