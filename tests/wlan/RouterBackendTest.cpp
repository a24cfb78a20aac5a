// The router page against the simulated modem: reads, applies, refusals and the rule lists,
// end to end over the bus.
#include "../mainwindow/MainWindowFixture.h"
#include "NoWaitingAlertInHandlers.h"
#include "WLANController.h"
#include "WordGlobe.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

using testsupport::waitUntil;

class RouterBackendFixture : public MainWindowFixture {
protected:
  NoWaitingAlertInHandlers noWaitingAlerts;
  WLANController *wlan = nullptr;

  bool start(const QString &scenario = QStringLiteral("router")) {
    if (!launch(scenario))
      return false;
    for (QObject *c : parts.controllers)
      if (auto *w = qobject_cast<WLANController *>(c))
        wlan = w;
    return wlan != nullptr;
  }

  QVariantMap routerState() const {
    const QVariantList reply = backend->control(QStringLiteral("RouterState"));
    QVariant state;
    if (reply.isEmpty() || !Plist::fromData(reply.first().toString().toUtf8(), &state))
      return {};
    return state.toMap();
  }
  QVariantMap section(const char *name) const { return routerState().value(QLatin1String(name)).toMap(); }
  QVariantList filterRules() const { return section("IPFilter").value(QStringLiteral("Rules")).toList(); }
  QStringList alerts() const {
    QStringList out;
    for (const ModalQuestion &q : answers->asked())
      out << q.message;
    return out;
  }
  // The four tabs as the router filled them, one under the other, for a look at the page.
  void renderTabs(const QString &path) {
    wlan->WLANView->resize(640, 380);
    QList<QImage> shots;
    for (int i = 0; i < wlan->WLANTab->count(); ++i) {
      wlan->WLANTab->setCurrentIndex(i);
      shots << wlan->WLANView->grab().toImage();
    }
    QImage sheet(640, 380 * int(shots.size()), QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < shots.size(); ++i)
      painter.drawImage(0, 380 * i, shots.at(i));
    painter.end();
    sheet.save(path);
    wlan->WLANTab->setCurrentIndex(0);
  }
  static void choose(QComboBox *combo, const QString &text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
};

TEST_F(RouterBackendFixture, ReadsFillThePageAndABasicApplyReachesTheRouter) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitUntil([&] { return wlan->SSIDName->text() == QLatin1String("QEL-Router"); }));
  ASSERT_TRUE(waitUntil([&] { return wlan->IPAddress->text() == QLatin1String("192.168.1.1"); }));
  EXPECT_EQ(wlan->channel->currentText(), QStringLiteral("6"));
  EXPECT_EQ(wlan->WLANRate->currentText(), QStringLiteral("Auto"));
  EXPECT_EQ(wlan->authenticationType->currentText(), QStringLiteral("WPA2-PSK"));
  EXPECT_EQ(wlan->WPAPreShredKey->text(), QStringLiteral("connect-me-2"));
  // The pass phrase is hidden until asked for, and hidden again when the device goes.
  EXPECT_EQ(wlan->WPAPreShredKey->echoMode(), QLineEdit::Password);
  wlan->showPassPhrase->click();
  EXPECT_EQ(wlan->WPAPreShredKey->echoMode(), QLineEdit::Normal);
  wlan->showPassPhrase->click();
  EXPECT_EQ(wlan->WPAPreShredKey->echoMode(), QLineEdit::Password);
  EXPECT_EQ(wlan->WEPKey[0]->echoMode(), QLineEdit::Password);
  // The router answered: nothing left to explain.
  EXPECT_TRUE(wlan->statusNoteKey().isEmpty());
  EXPECT_TRUE(wlan->statusNote->isHidden());
  EXPECT_EQ(wlan->DHCPLeaseTime->text(), QStringLiteral("24"));
  EXPECT_TRUE(wlan->IPFilterEnable->isChecked());
  EXPECT_TRUE(wlan->virtualServerAdvanced->isEnabled());
  renderTabs(testsupport::buildBundlePath() + QStringLiteral("/../wlan-page.png"));

  wlan->SSIDName->setText(QStringLiteral("Renamed"));
  choose(wlan->channel, QStringLiteral("11"));
  wlan->applyBasic();
  ASSERT_TRUE(waitUntil([&] { return section("Basic").value("SSID").toString() == QLatin1String("Renamed"); }));
  EXPECT_EQ(section("Basic").value("Channel").toInt(), 11);
  // A taken apply says so on the page, without a window to dismiss.
  ASSERT_TRUE(waitUntil([&] { return wlan->statusNoteKey() == QLatin1String("Settings successful!"); }));
  EXPECT_FALSE(wlan->statusNote->isHidden());
  EXPECT_FALSE(wlan->statusNote->text().isEmpty());
  EXPECT_TRUE(alerts().isEmpty());

  // A refused apply alerts and gives the section back.
  backend->control(QStringLiteral("RouterFailNext"), {1});
  wlan->SSIDName->setText(QStringLiteral("Refused"));
  wlan->applyBasic();
  EXPECT_FALSE(wlan->WLANBasicApply->isEnabled());
  ASSERT_TRUE(waitUntil([&] { return wlan->WLANBasicApply->isEnabled(); }));
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("Setting Failed!")});
  EXPECT_EQ(section("Basic").value("SSID").toString(), QStringLiteral("Renamed"));

  // The security apply sends its two records; the router keeps both.
  choose(wlan->authenticationType, QStringLiteral("WPA-PSK"));
  wlan->WPAPreShredKey->setText(QStringLiteral("another-pass"));
  wlan->applySecurity();
  ASSERT_TRUE(
      waitUntil([&] { return section("WPA").value("PassPhrase").toString() == QLatin1String("another-pass"); }));
  EXPECT_EQ(section("Security").value("Mode").toInt(), 2);

  // The router's own address and pool.
  wlan->IPAddress->setText(QStringLiteral("192.168.1.254"));
  wlan->applyDHCP();
  ASSERT_TRUE(
      waitUntil([&] { return section("DHCP").value("IPAddress").toString() == QLatin1String("192.168.1.254"); }));
}

TEST_F(RouterBackendFixture, RuleListAddChangeDeleteAndUnrequestedReads) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitUntil([&] { return wlan->IPFilterAdvanced->isEnabled(); }));
  wlan->advancedIPFilter();
  ASSERT_TRUE(waitUntil([&] { return wlan->IPFilterList->rowCount() == 1; }));
  EXPECT_EQ(wlan->IPFilterList->item(0, 0)->text(), QStringLiteral("block-telnet"));

  wlan->IFNEW();
  wlan->IF_Name->setText(QStringLiteral("no-ftp"));
  choose(wlan->IF_Protocol, QStringLiteral("TCP"));
  choose(wlan->IF_Action, QStringLiteral("Drop"));
  wlan->IF_DestPortStart->setText(QStringLiteral("21"));
  wlan->IF_DestPortEnd->setText(QStringLiteral("21"));
  wlan->IFListSave();
  ASSERT_TRUE(waitUntil([&] { return wlan->IPFilterList->rowCount() == 2; }));
  EXPECT_EQ(wlan->IPFilterList->item(1, 4)->text(), QStringLiteral("-")) << "no destination address";
  ASSERT_EQ(filterRules().size(), 2);
  EXPECT_EQ(filterRules().at(1).toMap().value("DestIP").toString(), QStringLiteral("0.0.0.0"));
  wlan->IPFilterWindow->grab().save(testsupport::buildBundlePath() + QStringLiteral("/../wlan-rules.png"));

  // The router sends its lists on its own while the sheet is open: still one row per rule.
  backend->control(QStringLiteral("RouterPushReads"));
  backend->control(QStringLiteral("RouterPushReads"));
  testsupport::waitUntil([] { return false; }, 300);
  EXPECT_EQ(wlan->IPFilterList->rowCount(), 2);

  wlan->IPFilterList->selectRow(1);
  wlan->IFEDIT();
  wlan->IF_Name->setText(QStringLiteral("no-ftp-2"));
  wlan->IFListSave();
  ASSERT_TRUE(waitUntil([&] {
    return wlan->IPFilterList->rowCount() == 2 && wlan->IPFilterList->item(1, 0)->text() == QLatin1String("no-ftp-2");
  }));

  wlan->IPFilterList->selectRow(0);
  wlan->IFDELETE();
  ASSERT_TRUE(waitUntil([&] { return wlan->IPFilterList->rowCount() == 1; }));
  EXPECT_EQ(wlan->IPFilterList->item(0, 0)->text(), QStringLiteral("no-ftp-2"));
  EXPECT_EQ(filterRules().size(), 1);

  // A refused change runs the editor's cancel.
  backend->control(QStringLiteral("RouterFailNext"), {1});
  wlan->IPFilterList->selectRow(0);
  wlan->IFDELETE();
  ASSERT_TRUE(waitUntil([&] { return !alerts().isEmpty(); }));
  EXPECT_EQ(alerts().last(), QStringLiteral("Setting Failed!"));
  EXPECT_EQ(filterRules().size(), 1);
  wlan->IFListClose();
}

TEST_F(RouterBackendFixture, RefusedPolicyChangePutsThePageBack) {
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitUntil([&] { return wlan->IPFilterPolicy->currentText() == QLatin1String("Accept"); }));
  backend->control(QStringLiteral("RouterFailNext"), {1});
  choose(wlan->IPFilterPolicy, QStringLiteral("Drop"));
  ASSERT_TRUE(waitUntil([&] { return !alerts().isEmpty(); }));
  EXPECT_EQ(wlan->IPFilterPolicy->currentText(), QStringLiteral("Accept"));
  EXPECT_TRUE(wlan->IPFilterEnable->isChecked());
  EXPECT_EQ(section("IPFilter").value("Policy").toInt(), 0);
  choose(wlan->IPFilterPolicy, QStringLiteral("Drop"));
  ASSERT_TRUE(waitUntil([&] { return section("IPFilter").value("Policy").toInt() == 1; }));
}

TEST_F(RouterBackendFixture, WithoutARouterNothingIsShownAndEveryApplyFails) {
  ASSERT_TRUE(start(QStringLiteral("sim-ready")));
  EXPECT_TRUE(backend->control(QStringLiteral("RouterState")).value(0).toString().isEmpty());
  EXPECT_FALSE(backend->control(QStringLiteral("RouterPushReads")).value(0).toBool());
  testsupport::waitUntil([] { return false; }, 300);
  EXPECT_FALSE(wlan->SSIDName->isEnabled());
  // Every control is disabled, and the page says why.
  EXPECT_EQ(wlan->statusNoteKey(), QStringLiteral("WLAN_RouterUnavailable"));
  EXPECT_FALSE(wlan->statusNote->isHidden());
  EXPECT_EQ(wlan->statusNote->text(), Map_Name_Item_of_IndexString(QStringLiteral("WLAN_RouterUnavailable")));
  // The reason is worded by the shipped list, not shown as its key.
  const QString before = WordGlobe::currentTokenListPath();
  ASSERT_TRUE(Word_Globe_Init(QStringLiteral(QEL_SOURCE_DIR "/resources/English.lproj/LanguageTokenList.txt")));
  wlan->deviceRemoved({});
  EXPECT_TRUE(wlan->statusNote->text().startsWith(QStringLiteral("No router answers")))
      << wlan->statusNote->text().toStdString();
  if (!before.isEmpty())
    Word_Globe_Init(before);
  else
    WordGlobe::reset();
  wlan->applyBasic();
  ASSERT_TRUE(waitUntil([&] { return !alerts().isEmpty(); }));
  EXPECT_EQ(alerts(), QStringList{QStringLiteral("Setting Failed!")});
}
