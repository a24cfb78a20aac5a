// The general pages of the settings window: auto connect, start-up options, connection type and
// service number, the four event sounds, the language, online update and the operator's update
// check. Each choice is written at once.
#include "SettingController.h"

#include "ButtonMatrix.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "GetSystemInfo.h"
#include "LanguageOperation.h"
#include "MainWindowNeighbour.h"
#include "ModalQuestions.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "Platform.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool checked(QObject *sender) {
  auto *box = qobject_cast<QAbstractButton *>(sender);
  return box && box->isChecked();
}

int selectedTag(const ButtonMatrix *matrix) {
  if (!matrix)
    return -1;
  const int row = matrix->selectedIndex();
  QAbstractButton *cell = row >= 0 ? matrix->cells().value(row) : nullptr;
  return cell ? cell->property("tag").toInt() : -1;
}

void selectTag(ButtonMatrix *matrix, int tag) {
  if (!matrix)
    return;
  for (QAbstractButton *cell : matrix->cells())
    if (cell->property("tag").toInt() == tag)
      cell->setChecked(true);
}

struct Language {
  const char *english;
  const char *native;
};
// Native names are shown; English names are stored.
constexpr Language kLanguages[] = {
    {"Arabic", "العربية"},       {"Bulgarian", "Български"}, {"Croatian", "Hrvatski"}, {"Czech", "Česky"},
    {"Danish", "Dansk"},         {"Dutch", "Nederlands"},    {"English", "English"},   {"Estonian", "Eesti"},
    {"French", "Français"},      {"German", "Deutsch"},      {"Hungarian", "Magyar"},  {"Indonesian", "Indonesia"},
    {"Italian", "Italiano"},     {"Japanese", "日本語"},     {"Norwegian", "Norsk"},   {"Polish", "Polski"},
    {"Portuguese", "Português"}, {"Romanian", "Română"},     {"Russian", "Русский"},   {"Slovak", "Slovenčina"},
    {"Spanish", "Español"},      {"Swedish", "Svenska"},     {"Turkish", "Türkçe"},    {"zh_CN", "简体中文"},
    {"zh_TW", "繁體中文"},       {"Albanian", "Shqip"},      {"Serbian", "Српски"},    {"Vietnamese", "Tiếng Việt"},
    {"Armenian", "Հայերեն"},     {"Lithuanian", "Lietuvių"},
};

const char *kSoundDefaultKeys[4] = {"/sound/online.wav", "/sound/offline.wav", "/sound/sms.wav", "/sound/call.wav"};

// The wording key of the operator's update-check address; a build without it has no button.
const QString kUpdateCheckAddressKey = QStringLiteral("Setting_CheckForUpdateAddress");
} // namespace

// ---- auto connect and start-up ----

void SettingController::auto_Connect(QObject *sender) {
  auto *box = qobject_cast<QCheckBox *>(sender);
  if (box && box->isChecked()) {
    const QString title = word(QStringLiteral("Warning!"));
    const QString text = word(QStringLiteral("Do you start the autoconnect function?"));
    if (ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("NoStartAutoConnectWhenClickAutoBtn"))) {
      NSRunAlertPanelExt(title, text, word(QStringLiteral("OK")));
    } else if (NSRunAlertPanelExt(title, text, word(QStringLiteral("OK")), word(QStringLiteral("Cancel"))) != 1) {
      box->setChecked(false);
    } else if (ConnectionNeighbour *dial = Neighbourhood::connection(); dial && !dial->GetisDialNow()) {
      notifyChangeTabViewItem(QStringLiteral("Internet"));
      if (auto *main = Neighbourhood::mainWindow(); qelSkinManager && main)
        main->updateUIForBraVavav(QStringLiteral("Internet"));
      dial->reconnect(true);
      dial->setApnCycleEnable(true);
    }
  }
  writeSetting(QStringLiteral("AutoConnect"), checked(sender));
}

void SettingController::auto_Connect_Ruvoz(QObject *sender) {
  auto *matrix = qobject_cast<ButtonMatrix *>(sender);
  const bool on = matrix && matrix->selectedIndex() == 0;
  ConnectionNeighbour *dial = Neighbourhood::connection();
  if (on && dial && !dial->GetisDialNow()) {
    dial->reconnect(true);
    dial->setApnCycleEnable(true);
  }
  writeSetting(QStringLiteral("AutoConnect"), on);
}

void SettingController::StartWithSystem(QObject *sender) {
  writeSetting(QStringLiteral("StartUIWithSystem"), checked(sender));
}

void SettingController::StartWithPluginDevice(QObject *sender) {
  writeSetting(QStringLiteral("StartUIWithPluginDevice"), checked(sender));
}

void SettingController::setLPMEnable(QObject *sender) {
  // Only inside the existing dictionary: a build without low-power mode gets no entry.
  if (settingDict().value(QStringLiteral("LPMinfo")).typeId() != QMetaType::QVariantMap)
    return;
  writeModuleSetting(QStringLiteral("LPMinfo"), QStringLiteral("btnLPMBState"), checked(sender));
}

void SettingController::enableConnectWarningDisplay(QObject *sender) {
  writeModuleSetting(QStringLiteral("Setting"), QStringLiteral("connectWarningsDisplay"), checked(sender));
}

void SettingController::DisconnectAsk(QObject *sender) {
  ConfigService::sharedConfigService()->writeDisconnectAskState(checked(sender));
}

void SettingController::initDisconnectAskSate() {
  if (btnDisconnectAsk)
    btnDisconnectAsk->setChecked(ConfigService::sharedConfigService()->isDisconnectAsk());
}

// ---- connection type and service number ----

void SettingController::writeConnectType(int type) {
  writeSetting(QStringLiteral("ConnectType"), type);
}

void SettingController::SelectConnectType(QObject *sender) {
  writeConnectType(selectedTag(qobject_cast<ButtonMatrix *>(sender)));
  if (Platform::sharedPlatform() && Platform::sharedPlatform()->platform() == 1)
    notificationCenter->postNotificationName(QLatin1String(kConnectTypeChange), this);
}

void SettingController::setServicesNum(QObject *sender) {
  auto *field = qobject_cast<QLineEdit *>(sender);
  if (!field || field->text().isNull())
    return;
  writeSetting(QStringLiteral("serviceNumber"), field->text());
}

void SettingController::loadServicesNum() {
  if (tfdServiceNumber)
    tfdServiceNumber->setText(settingDict().value(QStringLiteral("serviceNumber"), QString()).toString());
}

// ---- sounds ----

QString SettingController::defaultSoundFile(int type) const {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (type < 0 || type > 3 || !config)
    return {};
  return config->configFilePathOfKey(QLatin1String(kSoundDefaultKeys[type]));
}

void SettingController::updateSoundFile(int type, const QString &defaultKey) {
  QString file = soundFileName(type);
  if (file.isEmpty() || !QFileInfo(file).isFile()) {
    ConfigManager *config = ConfigManager::sharedConfigManager();
    file = config ? config->configFilePathOfKey(defaultKey) : QString();
    setSoundFileName(type, file);
  }
  QLineEdit *field = type >= 0 && type < 4 ? soundRows[type].fileName.data() : nullptr;
  if (!field)
    return;
  const bool onlyName = ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("DisplayOnlySoundFileName"));
  field->setText(onlyName ? QFileInfo(file).fileName() : file);
}

void SettingController::configSoundRow(int type) {
  if (type < 0 || type > 3)
    return;
  const bool muted = isSoundMute(type);
  const SoundRow &row = soundRows[type];
  if (row.mute) {
    // Under "AlertNotMuteSet" the box says "plays" rather than "muted".
    const bool inverted = ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("AlertNotMuteSet"));
    row.mute->setChecked(inverted ? !muted : muted);
  }
  for (QWidget *w :
       {static_cast<QWidget *>(row.fileName), static_cast<QWidget *>(row.browse), static_cast<QWidget *>(row.play)})
    if (w)
      w->setEnabled(!muted);
}

void SettingController::ConfigAlert() {
  for (int type = 0; type < 4; ++type)
    configSoundRow(type);
}

void SettingController::setSoundMute(int type) {
  if (type < 0 || type > 3 || !soundRows[type].mute)
    return;
  setSoundType(type, soundRows[type].mute->isChecked());
  configSoundRow(type);
}

void SettingController::takeSoundFile(int type, const QString &path) {
  if (type < 0 || type > 3 || path.isEmpty())
    return;
  setSoundFileName(type, path);
  if (QLineEdit *field = soundRows[type].fileName) {
    const bool onlyName =
        ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("DisplayOnlySoundFileName"));
    field->setText(onlyName ? QFileInfo(path).fileName() : path);
  }
}

void SettingController::browseSoundFile(int type) {
  if (type < 0 || type > 3)
    return;
  QFileDialog panel(wndMain);
  panel.setOption(QFileDialog::DontUseNativeDialog);
  panel.setFileMode(QFileDialog::ExistingFile);
  panel.setWindowTitle(word(QStringLiteral("Select one or more audio files.")));
  panel.setNameFilter(QStringLiteral("Audio (*.aiff *.AIFF *.aif *.AIF *.aifc *.AIFC *.wav *.WAV *.snd *.SND *.au "
                                     "*.AU *.mp3 *.MP3 *.ulw *.ULW *.m4p *.m4a)"));
  const int answer = ModalQuestions::runDialog(&panel, {QStringLiteral("openPanel"), panel.windowTitle(), QString(),
                                                        word(QStringLiteral("OK")), word(QStringLiteral("Cancel"))});
  if (answer == QDialog::Accepted && !panel.selectedFiles().isEmpty())
    takeSoundFile(type, panel.selectedFiles().constFirst());
}

void SettingController::playSoundOfType(int type) {
  if (type == kSoundIncomingCall)
    experienceIncomingcallSond(type);
  else if (type >= 0 && type < 3)
    playShortSound(type);
}

// ---- language ----

QString SettingController::EnglishToNative(const QString &english) {
  for (const Language &l : kLanguages)
    if (english == QLatin1String(l.english))
      return QString::fromUtf8(l.native);
  return {};
}

QString SettingController::NativeToEnglish(const QString &native) {
  for (const Language &l : kLanguages)
    if (native == QString::fromUtf8(l.native))
      return QLatin1String(l.english);
  return {};
}

void SettingController::loadLanguageList() {
  const QStringList languages = LanguageOperation::sharedLanguageOperation()->getSupportLanguageArray();
  if (languages.isEmpty() || !popupLanguage)
    return;
  if (languages.size() == 1) {
    popupLanguage->hide();
    if (labelLanguage)
      labelLanguage->hide();
  }
  popupLanguage->clear();
  for (const QString &english : languages) {
    const QString native = EnglishToNative(english);
    // A language outside the table shows by its stored name.
    popupLanguage->addItem(native.isEmpty() ? english : native);
  }
  const QString current = EnglishToNative(settingDict().value(QStringLiteral("CurrentLanguage")).toString());
  const int row = popupLanguage->findText(current);
  if (row >= 0)
    popupLanguage->setCurrentIndex(row);
}

void SettingController::initLanguageStateInMenu() {
  const QString current = EnglishToNative(settingDict().value(QStringLiteral("CurrentLanguage")).toString());
  if (!menuLanguageFirst || !menuLanguageSecond)
    return;
  if (menuLanguageFirst->text() == current) {
    menuLanguageFirst->setChecked(true);
    menuLanguageSecond->setChecked(false);
  } else if (menuLanguageSecond->text() == current) {
    menuLanguageSecond->setChecked(true);
    menuLanguageFirst->setChecked(false);
  }
}

void SettingController::changeLanguageTo(QObject *sender) {
  auto *box = qobject_cast<QComboBox *>(sender);
  if (box)
    changeLanguageby(box->currentText());
  initLanguageStateInMenu();
}

void SettingController::changeLanguageToFirst(QObject *) {
  if (!menuLanguageFirst)
    return;
  menuLanguageFirst->setChecked(true);
  if (menuLanguageSecond)
    menuLanguageSecond->setChecked(false);
  changeLanguageby(menuLanguageFirst->text());
}

void SettingController::changeLanguageToSecond(QObject *) {
  if (!menuLanguageSecond)
    return;
  menuLanguageSecond->setChecked(true);
  if (menuLanguageFirst)
    menuLanguageFirst->setChecked(false);
  changeLanguageby(menuLanguageSecond->text());
}

void SettingController::changeLanguageby(const QString &native) {
  const QString english = NativeToEnglish(native);
  if (!english.isEmpty())
    settingDict().insert(QStringLiteral("CurrentLanguage"), english);
  // The default group is named in the new language once its words are loaded.
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
  LanguageOperation::sharedLanguageOperation()->loadTokenList();
  if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
    phonebook->setCurDefGrpName();
  reloadNibWording();
}

// ---- online update ----

void SettingController::initUpdateNibWording() {
  if (btnAutoUpdate)
    btnAutoUpdate->setText(word(QStringLiteral("Auto Update")));
  if (labelServer)
    labelServer->setText(word(QStringLiteral("Server")));
  if (btnApplyServer)
    btnApplyServer->setText(word(QStringLiteral("Apply")));
  if (btnUpdateNow)
    btnUpdateNow->setText(word(QStringLiteral("Update Now")));
  if (labelUpdate)
    labelUpdate->setText(word(QStringLiteral("Update")));
  if (matrixAutoUpdate)
    for (QAbstractButton *cell : matrixAutoUpdate->cells())
      cell->setText(word(cell->property("tag").toInt() == 1 ? QStringLiteral("Check automatically every two weeks")
                                                            : QStringLiteral("Disable checking automatically")));
}

void SettingController::initUpdateNibState() {
  MainWindowNeighbour *main = Neighbourhood::mainWindow();
  if (!main || !main->updaterSupported()) {
    for (QWidget *w : {static_cast<QWidget *>(btnAutoUpdate), static_cast<QWidget *>(matrixAutoUpdate),
                       static_cast<QWidget *>(tfdServerAddress), static_cast<QWidget *>(labelServer),
                       static_cast<QWidget *>(btnApplyServer), static_cast<QWidget *>(btnUpdateNow),
                       static_cast<QWidget *>(boxUpdate), static_cast<QWidget *>(cboxUpdateDuration),
                       static_cast<QWidget *>(labelUpdateDuration)})
      if (w)
        w->hide();
    return;
  }
  if (!settingDict().contains(QStringLiteral("SERVICE_ADDRESS")))
    writeSetting(QStringLiteral("SERVICE_ADDRESS"), QString());
  if (tfdServerAddress)
    tfdServerAddress->setText(settingDict().value(QStringLiteral("SERVICE_ADDRESS")).toString());
  if (!settingDict().contains(QStringLiteral("AUTOUPDATE_ENABLE")))
    writeSetting(QStringLiteral("AUTOUPDATE_ENABLE"), false);
  const bool autoUpdate = settingDict().value(QStringLiteral("AUTOUPDATE_ENABLE")).toBool();
  if (btnAutoUpdate)
    btnAutoUpdate->setChecked(autoUpdate);
  selectTag(matrixAutoUpdate, autoUpdate ? 1 : 0);
  if (cboxUpdateDuration && settingDict().contains(QStringLiteral("UPDATE_DURATION")))
    cboxUpdateDuration->setCurrentText(QString::number(settingDict().value(QStringLiteral("UPDATE_DURATION")).toInt()));
}

bool SettingController::isRadioModeAutoUpdate(QObject *control) {
  if (auto *matrix = qobject_cast<ButtonMatrix *>(control))
    return selectedTag(matrix) == 1;
  if (auto *box = qobject_cast<QCheckBox *>(control))
    return box->isChecked();
  return false;
}

void SettingController::CheckAutoUpdate(QObject *sender) {
  MainWindowNeighbour *updater = Neighbourhood::mainWindow();
  if (!updater || !updater->updaterSupported())
    return;
  const bool on = isRadioModeAutoUpdate(sender);
  writeSetting(QStringLiteral("AUTOUPDATE_ENABLE"), on);
  updater->setUpdaterAutoUpdate(on);
  updater->sendUpdaterInit();
}

void SettingController::ApplyServerAddress(QObject *) {
  MainWindowNeighbour *updater = Neighbourhood::mainWindow();
  if (!updater || !updater->updaterSupported())
    return;
  const bool on = btnAutoUpdate && btnAutoUpdate->isChecked();
  const QString address = tfdServerAddress ? tfdServerAddress->text() : QString();
  settingDict().insert(QStringLiteral("AUTOUPDATE_ENABLE"), on);
  writeSetting(QStringLiteral("SERVICE_ADDRESS"), address);
  updater->setUpdaterAutoUpdate(on);
  updater->setUpdaterServiceAddress(address);
  updater->sendUpdaterInit();
}

void SettingController::SendManualUpdate(QObject *) {
  if (auto *updater = Neighbourhood::mainWindow(); updater && updater->updaterSupported())
    updater->sendUpdaterManualUpdate();
}

void SettingController::SetUpdateDuration(int interval) {
  MainWindowNeighbour *updater = Neighbourhood::mainWindow();
  if (!updater || !updater->updaterSupported())
    return;
  writeSetting(QStringLiteral("UPDATE_DURATION"), interval);
  updater->setUpdaterDuration(interval);
  updater->sendUpdaterInit();
}

// ---- the operator's update check ----

QString SettingController::fillWebLinkTemplate(const QString &pattern, const QStringList &values) {
  // Each "%@" takes the next value, percent-encoded, so that a value cannot change the address.
  QString out;
  int next = 0;
  for (int i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u'@') {
      out += QString::fromLatin1(QUrl::toPercentEncoding(values.value(next++)));
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

QString SettingController::updateCheckAddress() const {
  const QString pattern = word(kUpdateCheckAddressKey);
  if (pattern == kUpdateCheckAddressKey || pattern.isEmpty())
    return {};
  return fillWebLinkTemplate(
      pattern, {QCoreApplication::applicationVersion(),
                Neighbourhood::deviceStatus() ? Neighbourhood::deviceStatus()->getFWVersionWithCGMR() : QString(),
                GetSystemInfo::sharedGetSystemInfo()->getOSLanguage()});
}

void SettingController::checkForUpdateRizora(QObject *) {
  const QString address = updateCheckAddress();
  if (!address.isEmpty())
    openSafari(address);
}

void SettingController::setCheckForUpdateRizoraEnable(bool enableIt) {
  if (btnCheckForUpdateRizora)
    btnCheckForUpdateRizora->setEnabled(enableIt);
}
