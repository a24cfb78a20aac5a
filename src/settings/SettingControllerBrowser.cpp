// The Browser page (the start page opened after a connection comes up) and the FavoriteLinks
// page (links to programs and addresses, launched at start-up or on connection).
#include "SettingController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "FilePanels.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "SettingControllerSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QUrl>

using namespace settingsupport;

namespace {
const QString kDescription = QStringLiteral("browserdiscription");
const QString kDoNotOpen = QStringLiteral("DonotOpenTheBrowser");

void warn(const QString &key) {
  NSRunAlertPanelExt(word(QStringLiteral("Warning!")), word(key), word(QStringLiteral("OK")));
}

QString browserListPath() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config ? config->configFilePathOfKey(QStringLiteral("browserList.plist")) : QString();
}

QString favoriteLinksPath() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  return config ? config->getFilePathWithFileName(QStringLiteral("FavoriteLinks.plist")) : QString();
}

void writeSettings() {
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

SettingController::LinkLauncher &linkLauncher() {
  static SettingController::LinkLauncher launcher;
  return launcher;
}

bool launchDetached(const QString &program, const QStringList &arguments) {
  if (linkLauncher())
    return linkLauncher()(program, arguments);
  return QProcess::startDetached(program, arguments);
}

// A text with a blank anywhere cannot be a start page.
bool hasBlank(const QString &text) {
  for (QChar c : text)
    if (c.isSpace())
      return true;
  return false;
}
} // namespace

// ---- browser list ----

void SettingController::LoadBrowserList() {
  QVariant root;
  const QString path = browserListPath();
  browserList_ = (!path.isEmpty() && Plist::readFile(path, &root) && root.typeId() == QMetaType::QVariantList)
                     ? root.toList()
                     : QVariantList();
  const auto fill = [this](QComboBox *box) {
    if (!box)
      return;
    const QSignalBlocker block(box);
    box->clear();
    for (int i = 0; i < browserList_.size(); ++i)
      box->addItem(browserComboBoxItemAtIndex(i));
    box->setMaxVisibleItems(qMax(1, int(browserList_.size())));
  };
  fill(cbboxBrowserList);
  fill(cbboxAddBrowserList);
  m_Browser = settingDict().value(QStringLiteral("BrowserID"), 0).toInt();
  m_default_Browser_num = settingDict().value(QStringLiteral("DefaultBrowserNum"), 0).toInt();
  m_addBrowserBtnState = settingDict().value(QStringLiteral("NotAutolaunch")).toBool();
  const bool any = !browserList_.isEmpty();
  for (QComboBox *box : {cbboxBrowserList.data(), cbboxAddBrowserList.data()})
    if (box) {
      box->setEnabled(any);
      const QSignalBlocker block(box);
      box->setCurrentIndex(any ? (m_Browser >= 0 && m_Browser < browserList_.size() ? m_Browser : 0) : -1);
    }
  enable(btnAdvanced, any);
}

QString SettingController::browserComboBoxItemAtIndex(int index) const {
  if (index < 0 || index >= browserList_.size())
    return {};
  return browserList_[index].toMap().value(kDescription).toString();
}

void SettingController::comboBoxSelectionDidChange(QObject *box) {
  if (box && box == cbboxBrowserList) {
    m_Browser = qMax(0, cbboxBrowserList->currentIndex());
    settingDict().insert(QStringLiteral("BrowserID"), m_Browser);
    writeSettings();
  }
  const bool fixed = !cbboxAddBrowserList || cbboxAddBrowserList->currentIndex() < m_default_Browser_num;
  enable(btnEditAvailable, !fixed);
  enable(btnRemoveAvailable, !fixed);
}

void SettingController::advancedbrowserlist(QObject *) {
  if (cbboxBrowserList) {
    const int i = cbboxBrowserList->findText(cbboxBrowserList->currentText());
    if (i >= 0)
      cbboxBrowserList->setCurrentIndex(i);
  }
  if (cbboxAddBrowserList) {
    cbboxAddBrowserList->setMaxVisibleItems(qMax(1, int(browserList_.size())));
    if (m_Browser >= 0 && m_Browser < browserList_.size())
      cbboxAddBrowserList->setCurrentIndex(m_Browser);
  }
  comboBoxSelectionDidChange(cbboxAddBrowserList);
  if (textAddBrowser)
    textAddBrowser->clear();
  mainBoxIndexBeforeSheet_ = cbboxBrowserList ? cbboxBrowserList->currentIndex() : 0;
  if (wndAddBrowser)
    wndAddBrowser->open();
}

void SettingController::addlink(QObject *) {
  const QString text = textAddBrowser ? textAddBrowser->text() : QString();
  if (hasBlank(text)) {
    warn(QStringLiteral("Invalid Profile!"));
    return;
  }
  for (const QVariant &v : browserList_)
    if (v.toMap().value(kDescription).toString() == text && !text.isEmpty()) {
      warn(QStringLiteral("Name already exists, please rename!"));
      return;
    }
  if (text.isEmpty())
    return;
  browserList_ << QVariantMap{{kDescription, text}, {kDoNotOpen, QStringLiteral("0")}};
  textAddBrowser->clear();
  if (cbboxAddBrowserList) {
    cbboxAddBrowserList->addItem(text);
    cbboxAddBrowserList->setEnabled(true);
  }
}

void SettingController::editAvailableLinks(QObject *) {
  if (!cbboxAddBrowserList)
    return;
  const int i = cbboxAddBrowserList->findText(cbboxAddBrowserList->currentText());
  if (i < 0 || i < m_default_Browser_num)
    return;
  cbboxAddBrowserList->setCurrentIndex(i);
  if (textEditBrowser)
    textEditBrowser->setText(browserComboBoxItemAtIndex(i));
  if (wndEditBrowser)
    wndEditBrowser->open();
}

void SettingController::okEditBrowser(QObject *) {
  if (!cbboxAddBrowserList || !textEditBrowser)
    return;
  const int index = cbboxAddBrowserList->currentIndex();
  if (index < 0 || index >= browserList_.size())
    return;
  const QString text = textEditBrowser->text();
  if (hasBlank(text)) {
    warn(QStringLiteral("Invalid Profile!"));
    return;
  }
  if (text == browserComboBoxItemAtIndex(index)) {
    if (wndEditBrowser)
      wndEditBrowser->hide();
    return;
  }
  for (const QVariant &v : browserList_)
    if (v.toMap().value(kDescription).toString() == text && !text.isEmpty()) {
      warn(QStringLiteral("Name already exists, please rename!"));
      return;
    }
  if (text.isEmpty())
    return;
  browserList_[index] = QVariantMap{{kDescription, text}, {kDoNotOpen, QStringLiteral("0")}};
  textEditBrowser->clear();
  cbboxAddBrowserList->setItemText(index, text);
  if (wndEditBrowser)
    wndEditBrowser->hide();
  cbboxAddBrowserList->setCurrentIndex(index);
}

void SettingController::cancelEditBrowser(QObject *) {
  if (wndEditBrowser)
    wndEditBrowser->hide();
}

void SettingController::removAvailableLinks(QObject *) {
  if (!cbboxAddBrowserList)
    return;
  const int index = cbboxAddBrowserList->findText(cbboxAddBrowserList->currentText());
  if (index < 0 || index >= browserList_.size() || index < m_default_Browser_num)
    return;
  browserList_.removeAt(index);
  cbboxAddBrowserList->removeItem(index);
  // The chosen start page moves with the list (never below the first entry); the sheet's OK
  // stores it.
  if (index <= m_Browser)
    m_Browser = qMax(0, m_Browser - 1);
  if (!browserList_.isEmpty())
    cbboxAddBrowserList->setCurrentIndex(0);
  cbboxAddBrowserList->setMaxVisibleItems(qMax(1, int(browserList_.size())));
  comboBoxSelectionDidChange(cbboxAddBrowserList);
}

void SettingController::okAddBrowser(QObject *) {
  const QString path = browserListPath();
  if (!path.isEmpty())
    Plist::writeFile(path, browserList_);
  if (wndAddBrowser)
    wndAddBrowser->hide();
  settingDict().insert(QStringLiteral("BrowserID"), m_Browser);
  m_addBrowserBtnState = btnNotAutolaunch && btnNotAutolaunch->isChecked();
  settingDict().insert(QStringLiteral("NotAutolaunch"), m_addBrowserBtnState);
  writeSettings();
  LoadBrowserList();
}

void SettingController::notAutolaunchClicked(QObject *) {
  m_addBrowserBtnState = btnNotAutolaunch && btnNotAutolaunch->isChecked();
  settingDict().insert(QStringLiteral("NotAutolaunch"), m_addBrowserBtnState);
  writeSettings();
}

void SettingController::cancelAddBrowser(QObject *) {
  if (btnNotAutolaunch)
    btnNotAutolaunch->setChecked(m_addBrowserBtnState);
  if (wndAddBrowser)
    wndAddBrowser->hide();
  LoadBrowserList();
  if (cbboxBrowserList && mainBoxIndexBeforeSheet_ >= 0 && mainBoxIndexBeforeSheet_ < cbboxBrowserList->count())
    cbboxBrowserList->setCurrentIndex(mainBoxIndexBeforeSheet_);
}

// ---- opening the start page ----

QString SettingController::browserAddress(const QString &text) {
  if (text.isEmpty())
    return {};
  if (text.size() <= 6 || (!text.startsWith(QLatin1String("http://")) && !text.startsWith(QLatin1String("https:/"))))
    return QStringLiteral("http://") + text;
  return text;
}

void SettingController::openURLFirstConnectOnly() {
  const QVariant opened =
      settingDict().value(QStringLiteral("Internet")).toMap().value(QStringLiteral("CustomURLHasOpened"));
  if (!opened.isValid() || opened.toBool())
    return;
  openSafari(word(QStringLiteral("The Custom URL")));
  QVariantMap internet = settingDict().value(QStringLiteral("Internet")).toMap();
  internet.insert(QStringLiteral("CustomURLHasOpened"), true);
  settingDict().insert(QStringLiteral("Internet"), internet);
  writeSettings();
}

void SettingController::AutoLaunchURL() {
  if (!sethasModuleWith(QStringLiteral("Browser"))) {
    openURLFirstConnectOnly();
    return;
  }
  const QString address = browserAddress(cbboxBrowserList ? cbboxBrowserList->currentText() : QString());
  if (address.isEmpty() || m_addBrowserBtnState)
    return;
  openSafari(address);
}

// ---- favourite links ----

void SettingController::loadFavoriteLinks() {
  QVariant root;
  const QString path = favoriteLinksPath();
  favoriteLinksProperties_ =
      (!path.isEmpty() && Plist::readFile(path, &root) && root.typeId() == QMetaType::QVariantList) ? root.toList()
                                                                                                    : QVariantList();
}

bool SettingController::saveFavoriteLinks() {
  const QString path = favoriteLinksPath();
  return !path.isEmpty() && Plist::writeFile(path, favoriteLinksProperties_);
}

void SettingController::initFavoriteLinksSettings() {
  loadFavoriteLinks();
  if (!iconMatrixFavoriteLinks)
    return;
  iconMatrixFavoriteLinks->setList(favoriteLinksProperties_);
  iconMatrixFavoriteLinks->refresh();
  switchInterfaceToIndexedLink(iconMatrixFavoriteLinks->curcellIndex());
}

QVariantMap SettingController::findLinkPropertiesByIndex(int index) const {
  for (const QVariant &v : favoriteLinksProperties_) {
    const QVariantMap link = v.toMap();
    if (link.contains(QStringLiteral("Index")) && link.value(QStringLiteral("Index")).toInt() == index)
      return link;
  }
  return {};
}

void SettingController::setCurLinkPropertyValue(const QVariant &value, const QString &key) {
  if (!iconMatrixFavoriteLinks)
    return;
  const int index = iconMatrixFavoriteLinks->curcellIndex();
  for (QVariant &v : favoriteLinksProperties_) {
    QVariantMap link = v.toMap();
    if (!link.contains(QStringLiteral("Index")) || link.value(QStringLiteral("Index")).toInt() != index)
      continue;
    link.insert(key, value);
    v = link;
    iconMatrixFavoriteLinks->setList(favoriteLinksProperties_);
    return;
  }
}

void SettingController::SetControl(QWidget *control, const QVariantMap &link, const QString &key) {
  if (!control || link.isEmpty() || key.isEmpty())
    return;
  const QVariant value = link.value(key);
  if (auto *box = qobject_cast<QComboBox *>(control))
    box->setCurrentIndex(value.isValid() ? value.toInt() : 0);
  else if (auto *field = qobject_cast<QLineEdit *>(control))
    field->setText(value.isValid() ? value.toString() : QString());
  else if (auto *button = qobject_cast<QAbstractButton *>(control))
    button->setChecked(value.isValid() && value.toInt() != 0);
}

void SettingController::switchInterfaceToIndexedLink(int index) {
  const QVariantMap link = findLinkPropertiesByIndex(index);
  // The form edits the chosen link: without one it has nothing to show or save.
  const bool chosen = index >= 0 && !link.isEmpty();
  for (QWidget *w :
       {static_cast<QWidget *>(tfdLinkName), static_cast<QWidget *>(tfdLinkPath), static_cast<QWidget *>(cboxLinkType),
        static_cast<QWidget *>(tfdLinkImage), static_cast<QWidget *>(tfdLinkPara),
        static_cast<QWidget *>(btnBrowseLinkPath), static_cast<QWidget *>(btnBrowseLinkImage),
        static_cast<QWidget *>(btnLaunchAtStartup), static_cast<QWidget *>(btnLaunchWhenConnected),
        static_cast<QWidget *>(btnModifyFavoriteLink), static_cast<QWidget *>(btnCancelFavoriteLink)})
    if (w)
      w->setEnabled(chosen);
  if (!chosen) {
    for (QLineEdit *f : {tfdLinkName.data(), tfdLinkPath.data(), tfdLinkImage.data(), tfdLinkPara.data()})
      if (f)
        f->clear();
    return;
  }
  SetControl(tfdLinkName, link, QStringLiteral("Name"));
  SetControl(tfdLinkPath, link, QStringLiteral("Path"));
  SetControl(cboxLinkType, link, QStringLiteral("Type"));
  SetControl(tfdLinkImage, link, QStringLiteral("Image"));
  SetControl(tfdLinkPara, link, QStringLiteral("Para"));
  SetControl(btnLaunchAtStartup, link, QStringLiteral("LaunchAtStartup"));
  SetControl(btnLaunchWhenConnected, link, QStringLiteral("LaunchaWhenConnected"));
  setLinkTypeComboxStatus();
}

void SettingController::setLinkTypeComboxStatus() {
  if (!cboxLinkType)
    return;
  const int type = cboxLinkType->currentIndex();
  setCurLinkPropertyValue(type, QStringLiteral("Type"));
  if (type == 0 || type == 1) {
    enable(tfdLinkPara, type == 0);
    enable(btnBrowseLinkPath, type == 0);
  }
}

void SettingController::iconMatrixClicked(QObject *) {
  if (iconMatrixFavoriteLinks)
    switchInterfaceToIndexedLink(iconMatrixFavoriteLinks->curcellIndex());
}

namespace {
// Swaps the "Index" of the links at `from` and `to`.
void swapIndexes(QVariantList &links, int from, int to) {
  int a = -1, b = -1;
  for (int i = 0; i < links.size(); ++i) {
    const int index = links[i].toMap().value(QStringLiteral("Index"), -1).toInt();
    if (index == from && a < 0)
      a = i;
    else if (index == to && b < 0)
      b = i;
  }
  const auto setIndex = [&links](int at, int value) {
    if (at < 0)
      return;
    QVariantMap link = links[at].toMap();
    link.insert(QStringLiteral("Index"), value);
    links[at] = link;
  };
  setIndex(a, to);
  setIndex(b, from);
}
} // namespace

void SettingController::moveLinkBackward(QObject *) {
  const int n = int(favoriteLinksProperties_.size());
  if (!iconMatrixFavoriteLinks || n == 0)
    return;
  const int current = iconMatrixFavoriteLinks->curcellIndex();
  const int target = ((current + n - 1) % n + n) % n;
  swapIndexes(favoriteLinksProperties_, current, target);
  iconMatrixFavoriteLinks->setList(favoriteLinksProperties_);
  iconMatrixFavoriteLinks->refresh();
  iconMatrixFavoriteLinks->setCurcellIndex(target);
}

void SettingController::moveLinkForward(QObject *) {
  const int n = int(favoriteLinksProperties_.size());
  if (!iconMatrixFavoriteLinks || n == 0)
    return;
  const int current = iconMatrixFavoriteLinks->curcellIndex();
  const int target = ((current + 1) % n + n) % n;
  swapIndexes(favoriteLinksProperties_, current, target);
  iconMatrixFavoriteLinks->setList(favoriteLinksProperties_);
  iconMatrixFavoriteLinks->refresh();
  iconMatrixFavoriteLinks->setCurcellIndex(target);
}

bool SettingController::checkFavoriteURL() const {
  const QString path = tfdLinkPath ? tfdLinkPath->text() : QString();
  return path.size() >= 7 && (path.startsWith(QLatin1String("http://")) || path.startsWith(QLatin1String("https:/")));
}

void SettingController::modifyFavoriteLink(QObject *) {
  if (!iconMatrixFavoriteLinks || findLinkPropertiesByIndex(iconMatrixFavoriteLinks->curcellIndex()).isEmpty())
    return; // no link chosen: nothing to save
  if (ConfigService::sharedConfigService()->isSkinVersionForRAdirer() && cboxLinkType &&
      cboxLinkType->currentIndex() == 1 && !checkFavoriteURL()) {
    const QString key = QStringLiteral("URL must start with \"http://\" or \"https://\"");
    if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
      phonebook->popupAlertOk(key);
    else
      warn(key);
    return;
  }
  setCurLinkPropertyValue(tfdLinkName ? tfdLinkName->text() : QString(), QStringLiteral("Name"));
  setCurLinkPropertyValue(tfdLinkPath ? tfdLinkPath->text() : QString(), QStringLiteral("Path"));
  setCurLinkPropertyValue(tfdLinkPara ? tfdLinkPara->text() : QString(), QStringLiteral("Para"));
  saveFavoriteLinks();
  if (auto *dial = Neighbourhood::connection())
    dial->loadFavoritesLinkPropeties();
}

void SettingController::cancelFavoriteLink(QObject *) {
  initFavoriteLinksSettings();
}

void SettingController::launchLinkWhenConnectedChanged(QObject *) {
  setCurLinkPropertyValue(btnLaunchWhenConnected && btnLaunchWhenConnected->isChecked() ? 1 : 0,
                          QStringLiteral("LaunchaWhenConnected"));
}

void SettingController::launchLinkAtStartupChanged(QObject *) {
  setCurLinkPropertyValue(btnLaunchAtStartup && btnLaunchAtStartup->isChecked() ? 1 : 0,
                          QStringLiteral("LaunchAtStartup"));
}

void SettingController::browseLinkPath(QObject *) {
  const QString path = FilePanels::run({QStringLiteral("favoriteLinkPath"), false, QString(), QString()}, wndMain);
  if (path.isEmpty())
    return;
  if (tfdLinkPath)
    tfdLinkPath->setText(path);
  setCurLinkPropertyValue(path, QStringLiteral("Path"));
  if (iconMatrixFavoriteLinks)
    iconMatrixFavoriteLinks->refresh();
}

void SettingController::browseLinkImage(QObject *) {
  const QString path = FilePanels::run({QStringLiteral("favoriteLinkImage"), false, QString(), QString()}, wndMain);
  if (path.isEmpty())
    return;
  if (tfdLinkImage)
    tfdLinkImage->setText(path);
  setCurLinkPropertyValue(path, QStringLiteral("Image"));
  if (iconMatrixFavoriteLinks)
    iconMatrixFavoriteLinks->refresh();
}

void SettingController::checkLauchWebLinksAtMoment(bool connected) {
  QVariant root;
  const QString path = favoriteLinksPath();
  if (path.isEmpty() || !Plist::readFile(path, &root) || root.typeId() != QMetaType::QVariantList)
    return;
  const QString key = connected ? QStringLiteral("LaunchaWhenConnected") : QStringLiteral("LaunchAtStartup");
  for (const QVariant &v : root.toList()) {
    const QVariantMap link = v.toMap();
    if (link.value(key).toInt() != 0)
      launchFavoriteLinksBy(link);
  }
}

void SettingController::setLinkLauncher(LinkLauncher launcher) {
  linkLauncher() = std::move(launcher);
}

bool SettingController::applicationCommand(const QString &path, const QString &para, QString *program,
                                           QStringList *arguments) {
  if (path.isEmpty())
    return false;
  if (!path.endsWith(QLatin1String(".desktop"))) {
    *program = path;
    *arguments = para.isEmpty() ? QStringList() : QStringList{para};
    return true;
  }
  // A desktop entry: its command, with the file in its file or address field.
  QSettings entry(path, QSettings::IniFormat);
  entry.beginGroup(QStringLiteral("Desktop Entry"));
  const QString exec = entry.value(QStringLiteral("Exec")).toString();
  entry.endGroup();
  QStringList words = QProcess::splitCommand(exec);
  if (words.isEmpty())
    return false;
  QStringList args;
  bool placed = false;
  for (int i = 1; i < words.size(); ++i) {
    const QString &w = words[i];
    if (w == QLatin1String("%f") || w == QLatin1String("%F") || w == QLatin1String("%u") || w == QLatin1String("%U")) {
      if (!para.isEmpty() && !placed)
        args << para;
      placed = true;
      continue;
    }
    if (w.size() == 2 && w.startsWith(QLatin1Char('%')))
      continue; // other field codes carry nothing here
    args << w;
  }
  *program = words.constFirst();
  *arguments = args;
  return true;
}

void SettingController::launchFavoriteLinksBy(const QVariantMap &link) {
  const int type = link.value(QStringLiteral("Type"), -1).toInt();
  const QString path = link.value(QStringLiteral("Path")).toString();
  if (type == 0) {
    QString program;
    QStringList arguments;
    if (applicationCommand(path, link.value(QStringLiteral("Para")).toString(), &program, &arguments))
      launchDetached(program, arguments);
  } else if (type == 1) {
    openSafari(browserAddress(path));
  }
}
