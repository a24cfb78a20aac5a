// The settings window as the other subsystems reach it: it takes its place among the neighbours,
// and what the device status learns of the simulated modem shows on its Network page.
#include "Neighbourhood.h"
#include "Plist.h"
#include "SettingFixture.h"
#include "SettingsNeighbour.h"

namespace {

int selectedTag(const ButtonMatrix *m) {
  const int i = m ? m->selectedIndex() : -1;
  return i < 0 ? -1 : m->cells().at(i)->property("tag").toInt();
}

class SettingsAsNeighbour : public SettingFixture {
protected:
  // sim-ready with the device entries of the test.
  QString scenarioWithDevice(const QVariantMap &device) {
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    scenario.insert(QStringLiteral("Device"), device);
    return testsupport::writePlist(dir.filePath(QStringLiteral("device.plist")), scenario);
  }
};

TEST_F(SettingsAsNeighbour, TheWindowTakesItsPlaceAndGivesItUp) {
  EXPECT_EQ(Neighbourhood::settings(), nullptr);
  {
    SettingController first;
    EXPECT_EQ(Neighbourhood::settings(), static_cast<SettingsNeighbour *>(&first));
    {
      SettingController second;
      EXPECT_EQ(Neighbourhood::settings(), static_cast<SettingsNeighbour *>(&second));
    }
    // The later window emptied the place; the earlier one, going later, does not take it back.
    EXPECT_EQ(Neighbourhood::settings(), nullptr);
  }
  EXPECT_EQ(Neighbourhood::settings(), nullptr);
}

// The modem reports the search and preference modes and the device family; the device status
// passes them on, and the page shows them.
TEST_F(SettingsAsNeighbour, TheModemsModesReachTheNetworkPage) {
  if (!launch(scenarioWithDevice({{QStringLiteral("Mode"), 4},
                                  {QStringLiteral("SearchMode"), 2},
                                  {QStringLiteral("SelectedMode"), 0},
                                  {QStringLiteral("PreferenceMode"), 4}})))
    GTEST_SKIP() << "no session bus";
  SettingController *s = settings();
  ASSERT_TRUE(s && s->m_NetworkFindModeSeletion && s->m_PreferenceMode);
  ASSERT_TRUE(s->networkClassLable && s->cdmaNetworkClassLable);
  // Search mode 2 under automatic selection is the find mode of tag 1; preference 4 is tag 2.
  ASSERT_TRUE(testsupport::waitUntil([&] { return selectedTag(s->m_NetworkFindModeSeletion) == 1; }));
  EXPECT_EQ(s->networkFindModeTag(), 1);
  EXPECT_EQ(s->getCurrentNetWorkPreferedMode(), 1);
  ASSERT_TRUE(testsupport::waitUntil([&] { return selectedTag(s->m_PreferenceMode) == 2; }));
  EXPECT_TRUE(s->m_PreferenceMode->isEnabled());
  // A CDMA device: its choices show, the WCDMA find modes do not; a WCDMA device the reverse.
  ASSERT_TRUE(testsupport::waitUntil([&] { return !s->cdmaNetworkClassLable->isHidden(); }));
  EXPECT_TRUE(s->networkClassLable->isHidden());
  ASSERT_TRUE(backend->control(QStringLiteral("SetDeviceMode"), {3}).value(0).toBool());
  ASSERT_TRUE(testsupport::waitUntil([&] { return !s->networkClassLable->isHidden(); }));
  EXPECT_TRUE(s->cdmaNetworkClassLable->isHidden());
}

} // namespace
