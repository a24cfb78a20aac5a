// Where the main window's buttons, drawer entries, matrices and menu items lead: the tabs, the
// settings pages, the USSD windows and the operator's own windows; the drawer's button.
#include "ButtonMatrix.h"
#include "CocoaExt.h"
#include "FrameworkLinks.h"
#include "MainController.h"
#include "MessagesNeighbour.h"
#include "NSButtonExt.h"
#include "Neighbourhood.h"
#include "QELUIManager.h"
#include "SettingsNeighbour.h"
#include "WordGlobe.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString identifierOf(QObject *sender) {
  if (auto *button = qobject_cast<NSButtonExt *>(sender); button && !button->itemIdentifier().isEmpty())
    return button->itemIdentifier();
  if (!sender)
    return {};
  const QString property = sender->property("itemIdentifier").toString();
  return property.isEmpty() ? sender->objectName() : property;
}

// Brings the main window back when a records or settings window is closed by the window
// manager: otherwise the program would be left without a visible window.
class AuxiliaryWindowWatcher : public QObject {
public:
  AuxiliaryWindowWatcher(MainController *main, QWidget *window) : QObject(window), main_(main) {}

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Close && main_)
      main_->closeAllWindow(watched);
    else if (event->type() == QEvent::Hide && main_)
      main_->returnHostedPage(qobject_cast<QWidget *>(watched));
    return false;
  }

private:
  QPointer<MainController> main_;
};

} // namespace

// ---- tabs ----

void MainController::gotoSetting(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("Setting"));
  updateControllersForBarVavav(QStringLiteral("Setting"));
}

void MainController::gotoPhonebook(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("Phonebook"));
  updateControllersForBarVavav(QStringLiteral("Phonebook"));
}

void MainController::gotoInternet(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("Internet"));
  updateControllersForBarVavav(QStringLiteral("Internet"));
}

void MainController::gotoSMS(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("SMS"));
  updateControllersForBarVavav(QStringLiteral("SMS"));
}

void MainController::gotoDialRecord(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("DialRecord"));
}

void MainController::gotoCall(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("Call"));
}

void MainController::gotoUSSD(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("USSD1"));
}

void MainController::selectToolbarButtonOfPage(const QString &identifier) {
  for (const QPointer<QWidget> &widget : std::as_const(toolbarButtons_)) {
    auto *button = qobject_cast<NSFlickerButton *>(widget.data());
    if (button && !button->groupID().isEmpty() && button->itemIdentifier() == identifier) {
      button->setGroupButtonChange();
      return;
    }
  }
}

// ---- settings pages ----

QString MainController::settingsPageOfRow(int row) {
  static const char *const pages[] = {"Connection", "Selection", "Preference",     "Sounds",
                                      "Security",   "System",    "Update settings"};
  if (row < 0 || row >= int(std::size(pages)))
    return {};
  return QLatin1String(pages[row]);
}

void MainController::selectModule(QObject *sender) {
  int row = -1;
  if (auto *matrix = qobject_cast<ButtonMatrix *>(sender))
    row = matrix->selectedIndex();
  else if (sender)
    row = sender->property("selectedRow").isValid() ? sender->property("selectedRow").toInt() : -1;
  const QString page = settingsPageOfRow(row);
  if (!page.isEmpty())
    selectTabViewbyIdentifier(page);
}

QString MainController::settingsPageOfSubject(const QString &subject) {
  // The matrix rows name subjects; this program's settings window files them under these pages.
  static const QHash<QString, QString> pages = {{QStringLiteral("Connection"), QStringLiteral("Connect")},
                                                {QStringLiteral("Selection"), QStringLiteral("Network")},
                                                {QStringLiteral("Preference"), QStringLiteral("System")},
                                                {QStringLiteral("Sounds"), QStringLiteral("Alert")},
                                                {QStringLiteral("Update settings"), QStringLiteral("OnlineUpdate")}};
  return pages.value(subject, subject);
}

void MainController::selectTabViewbyIdentifier(const QString &identifier) {
  QString page = identifier;
  if (NSTabViewExt::tabViewItemOfIdentifier(tabviewSetting, page) < 0)
    page = settingsPageOfSubject(identifier);
  const int index = NSTabViewExt::tabViewItemOfIdentifier(tabviewSetting, page);
  if (index < 0)
    return;
  // Through the settings window when there is one, so that its list and title follow.
  SettingsNeighbour *settings = Neighbourhood::settings();
  if (!settings || !settings->openSettingPage(page))
    tabviewSetting->setCurrentIndex(index);
  if (labelSettingTitle_)
    labelSettingTitle_->setText(Map_Name_Item_of_IndexString(identifier));
}

// ---- USSD windows ----

void MainController::toolbarCallUssdSheetWnd(QObject *sender) {
  const QString identifier = identifierOf(sender);
  QVariant tag = identifier;
  if (identifier == QLatin1String("USSD3"))
    tag = 1;
  else if (identifier == QLatin1String("USSD4"))
    tag = 2;
  notificationCenter->postNotificationName(
      QStringLiteral("notifyPopupSheetUssdWndPlugin"), nullptr,
      {{QStringLiteral("ussdPopWndTag"), tag},
       {QStringLiteral("hostMainWnd"), QVariant::fromValue<QObject *>(mainWindow)}});
}

void MainController::popUpUssdSeetWithTag(int tag) {
  notificationCenter->postNotificationName(
      QStringLiteral("notifyPopupSheetUssdWndPlugin"), nullptr,
      {{QStringLiteral("ussdPopWndTag"), tag},
       {QStringLiteral("hostMainWnd"), QVariant::fromValue<QObject *>(mainWindow)}});
}

void MainController::popUpRefillSheet(QObject *) {
  popUpUssdSeetWithTag(1);
}

void MainController::popUpCheckBalanceSheet(QObject *) {
  popUpUssdSeetWithTag(2);
}

void MainController::openUSSDWndVovudiTopup(QObject *) {
  notificationCenter->postNotificationName(QStringLiteral("USSDBundleMessage"), nullptr,
                                           {{QStringLiteral("Action"), QStringLiteral("TopUp")}});
}

void MainController::openUSSDWndVovudiCheckbalance(QObject *) {
  notificationCenter->postNotificationName(QStringLiteral("USSDBundleMessage"), nullptr,
                                           {{QStringLiteral("Action"), QStringLiteral("CheckBalance")}});
}

void MainController::openUSSDWndVovudiBuybundles(QObject *) {
  notificationCenter->postNotificationName(QStringLiteral("USSDBundleMessage"), nullptr,
                                           {{QStringLiteral("Action"), QStringLiteral("BuyBundle")}});
}

// ---- windows ----

void MainController::openWndVovudiQuickTips(QObject *) {
  QWidget *window = wndVovudiQuickTips_;
  if (!window)
    return;
  if (const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
  }
  window->show();
  window->raise();
  window->activateWindow();
}

void MainController::showSupportWindowForZudovid(QObject *) {
  if (!wndSupportForZudovid_)
    return;
  wndSupportForZudovid_->show();
  wndSupportForZudovid_->raise();
  wndSupportForZudovid_->activateWindow();
}

void MainController::showUSSDGuideWindowForZudovid(QObject *) {
  if (!wndUSSDGuideForZudovid_)
    return;
  wndUSSDGuideForZudovid_->show();
  wndUSSDGuideForZudovid_->raise();
  wndUSSDGuideForZudovid_->activateWindow();
}

void MainController::setAuxiliaryWindow(const QString &identifier, QWidget *window, const QString &page) {
  if (!window)
    return;
  window->setProperty("auxiliaryIdentifier", identifier);
  window->setProperty("hostedPage", page);
  window->installEventFilter(new AuxiliaryWindowWatcher(this, window));
  setProperty(("auxiliary" + identifier).toLatin1().constData(), QVariant::fromValue<QObject *>(window));
}

QWidget *MainController::auxiliaryWindow(const QString &identifier) const {
  return qobject_cast<QWidget *>(property(("auxiliary" + identifier).toLatin1().constData()).value<QObject *>());
}

void MainController::buildAuxiliaryWindows() {
  // The window shows the page the main window has as a tab; the tab stays the page's home, so a
  // skin without these windows keeps the pages where they were.
  static const char *const windows[][3] = {{"DialRecord", "wndOfdialRecord", "DialRecord"},
                                           {"Settings", "wndOfSetting", "Setting"}};
  for (const auto &w : windows) {
    const QString key = QLatin1String(w[1]);
    if (!qelSkinManager || !qelSkinManager->skinInfo().contains(key) || auxiliaryWindow(QLatin1String(w[0])))
      continue;
    auto *window = new QWidget(mainWindow, Qt::Window);
    window->setObjectName(key);
    window->setWindowTitle(tabTitle(QLatin1String(w[2])));
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    window->resize(mainWindow ? mainWindow->size() : QSize(640, 480));
    setAuxiliaryWindow(QLatin1String(w[0]), window, QLatin1String(w[2]));
  }

  const struct {
    QPointer<QWidget> *outlet;
    const char *name;
    const char *titleKey;
    const char *textKey;
  } plain[] = {{&wndVovudiQuickTips_, "wndVovudiQuickTips", "Quick Tips", "QuickTipsMessage"},
               {&wndSupportForZudovid_, "wndSupportForZudovid", "Support", "Support Message"},
               {&wndUSSDGuideForZudovid_, "wndUSSDGuideForZudovid", "USSD Guide", "USSD Guide Message"}};
  for (const auto &p : plain) {
    if (*p.outlet)
      continue;
    auto *window = new QDialog(mainWindow);
    window->setObjectName(QLatin1String(p.name));
    window->setWindowTitle(Map_Name_Item_of_IndexString(QLatin1String(p.titleKey)));
    auto *text = new QLabel(Map_Name_Item_of_IndexString(QLatin1String(p.textKey)), window);
    text->setObjectName(QLatin1String(p.name) + QStringLiteral("Text"));
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    auto *ok = new QPushButton(Map_Name_Item_of_IndexString(QStringLiteral("OK")), window);
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(text);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, window, &QWidget::hide);
    *p.outlet = window;
  }
}

void MainController::returnHostedPage(QWidget *window) {
  // A miniaturised window is hidden but still shown: it keeps its page.
  if (!window || window->isVisible() || !tabviewMain)
    return;
  auto *page = qobject_cast<QWidget *>(window->property("hostedWidget").value<QObject *>());
  if (!page)
    return;
  window->setProperty("hostedWidget", QVariant());
  const int index = window->property("hostedIndex").toInt();
  tabviewMain->insertTab(qBound(0, index, tabviewMain->count()), page, window->property("hostedTitle").toString());
}

void MainController::showDialRecordAndSettingWindow(QObject *sender) {
  const QString identifier = identifierOf(sender);
  if (identifier != QLatin1String("DialRecord") && identifier != QLatin1String("Settings"))
    return;
  QWidget *window = auxiliaryWindow(identifier);
  if (!window)
    return;
  // The window holds its page while it is shown (returnHostedPage gives it back).
  const QString pageIdentifier = window->property("hostedPage").toString();
  const int index = NSTabViewExt::tabViewItemOfIdentifier(tabviewMain, pageIdentifier);
  if (index >= 0 && window->layout()) {
    QWidget *page = tabviewMain->widget(index);
    window->setProperty("hostedIndex", index);
    window->setProperty("hostedTitle", tabviewMain->tabText(index));
    window->setProperty("hostedWidget", QVariant::fromValue<QObject *>(page));
    tabviewMain->removeTab(index);
    window->layout()->addWidget(page);
    page->show();
  }
  // Placed where a new message window of its size would come out: over the main window.
  QRect frame(QPoint(), window->size());
  auto *sms = Neighbourhood::messages();
  if (!(sms && sms->setNewWindPlaceBasesWndMainPlace(window)) && mainWindow) {
    frame.moveCenter(mainWindow->frameGeometry().center());
    window->move(frame.topLeft());
  }
  window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  window->show();
  window->raise();
  window->activateWindow();
  if (mainWindow)
    mainWindow->hide();
}

void MainController::closeAllWindow(QObject *sender) {
  auto *widget = qobject_cast<QWidget *>(sender);
  if (QWidget *window = widget ? widget->window() : nullptr; window && window != mainWindow)
    window->hide();
  if (mainWindow) {
    mainWindow->show();
    mainWindow->raise();
    mainWindow->activateWindow();
  }
}

// ---- drawer ----

void MainController::changeDrawerState(QObject *) {
  if (!drawerMain)
    return;
  switch (drawerMain->state()) {
  case DrawerPanel::ClosedState:
    drawerMain->open();
    FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("btnDrawer"), QStringLiteral("Left"), true);
    break;
  case DrawerPanel::OpenState:
    drawerMain->close();
    FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("btnDrawer"), QStringLiteral("Right"), true);
    break;
  default: // a slide under way is left to end
    break;
  }
}

void MainController::loadDrawerLinkWnd(QObject *) {
  if (!drawerLink_)
    return;
  if (drawerLink_->state() == DrawerPanel::ClosedState)
    drawerLink_->open();
  else if (drawerLink_->state() == DrawerPanel::OpenState)
    drawerLink_->close();
}

void MainController::updateControllersForBarVavav(const QString &identifier) {
  if (!qelSkinManager || !uiConfigDict().value(QStringLiteral("BraVavavUI")).toBool())
    return;
  const QString layout = identifier == QLatin1String("Internet") ? QStringLiteral("Main") : QStringLiteral("Other");
  updateDrawerOffsetByWindow(layout);
  updateDynamicItemsByModule(identifier);
  FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("wndMainTabview"), layout, true);
  FrameworkLinks::setImageForKey(qelSkinManager, QStringLiteral("labelBroadCast"), layout, true);
  // The drawer's offsets take effect when it opens: a closed drawer is opened and closed again.
  const bool wasClosed = drawerMain && drawerMain->state() == DrawerPanel::ClosedState;
  if (wasClosed)
    drawerMain->open();
  changeDrawerBtnStyleForBraVavav(identifier);
  if (wasClosed)
    drawerMain->close();
}

void MainController::updateUIForBraVavav(const QString &tabIdentifier) {
  updateControllersForBarVavav(tabIdentifier);
}

void MainController::changeDrawerBtnStyleForBraVavav(const QString &identifier) {
  static const char *const tabs[][2] = {
      {"btnInternet", "Internet"}, {"btnSMS", "SMS"}, {"btnPhonebook", "Phonebook"}, {"btnSetting", "Setting"}};
  for (const auto &tab : tabs)
    FrameworkLinks::setImageForKey(qelSkinManager, QLatin1String(tab[0]),
                                   identifier == QLatin1String(tab[1]) ? QStringLiteral("In") : QStringLiteral("Out"),
                                   true);
}
