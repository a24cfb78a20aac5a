// The operator's close flow (a sheet that offers to shut the device down), minimising a window,
// the close button while the quit sound plays, and the launch steps around runDatacard.
#include "Bundle.h"
#include "ConfigService.h"
#include "MainController.h"
#include "NSButtonExt.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

const char kCloseForDidoroText[] =
    "Do you want to shut down the device completely after quiting the application?\nNote:After shuting down the "
    "device completely, you need to remove the devicee and reinsert into computer to use it again.";
} // namespace

QDialog *MainController::closeAppSheetForDidoro() {
  if (closeSheetForDidoro_)
    return closeSheetForDidoro_;
  auto *sheet = new QDialog(mainWindow);
  sheet->setObjectName(QStringLiteral("viewOfCloseAppForDidoro"));
  sheet->setWindowModality(Qt::WindowModal);
  auto *image = new QLabel(sheet);
  image->setObjectName(QStringLiteral("imageOfCloseAppForDidoro"));
  auto *text = new QLabel(sheet);
  text->setObjectName(QStringLiteral("labelOfCloseAppForDidoro"));
  text->setWordWrap(true);
  text->setMinimumWidth(360);
  auto *shutDown = new QPushButton(sheet);
  shutDown->setObjectName(QStringLiteral("btnShutDownCloseMainWindow"));
  auto *quit = new QPushButton(sheet);
  quit->setObjectName(QStringLiteral("btnQuitAppCloseMainWindow"));
  auto *cancel = new QPushButton(sheet);
  cancel->setObjectName(QStringLiteral("btnCancelCloseMainWindow"));
  auto *top = new QHBoxLayout;
  top->addWidget(image, 0, Qt::AlignTop);
  top->addWidget(text, 1);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(quit);
  buttons->addWidget(shutDown);
  auto *layout = new QVBoxLayout(sheet);
  layout->addLayout(top);
  layout->addLayout(buttons);
  connect(shutDown, &QPushButton::clicked, this, [this, shutDown] { shutDownDeviceForDidoro(shutDown); });
  connect(quit, &QPushButton::clicked, this, [this, quit] { quitApplicationForDidoro(quit); });
  connect(cancel, &QPushButton::clicked, this, [this, cancel] { cancelCloseWindowForDidoro(cancel); });
  connect(sheet, &QDialog::rejected, this, [this] { cancelCloseWindowForDidoro(nullptr); });
  closeSheetForDidoro_ = sheet;
  wordCloseAppSheetForDidoro();
  if (qelSkinManager) {
    qelSkinManager->registerController(sheet, QStringLiteral("viewOfCloseAppForDidoro"), true);
    qelSkinManager->registerController(shutDown, QStringLiteral("btnShutDownCloseMainWindow"), true);
    qelSkinManager->registerController(quit, QStringLiteral("btnQuitAppCloseMainWindow"), true);
    qelSkinManager->registerController(cancel, QStringLiteral("btnCancelCloseMainWindow"), true);
  }
  return sheet;
}

void MainController::wordCloseAppSheetForDidoro() {
  QDialog *sheet = closeSheetForDidoro_;
  if (!sheet)
    return;
  if (auto *text = sheet->findChild<QLabel *>(QStringLiteral("labelOfCloseAppForDidoro")))
    text->setText(word(QLatin1String(kCloseForDidoroText)));
  if (auto *image = sheet->findChild<QLabel *>(QStringLiteral("imageOfCloseAppForDidoro")); image && qelSkinManager) {
    const QImage picture = qelSkinManager->imageNamed(QStringLiteral("QueryMark.png"));
    if (!picture.isNull())
      image->setPixmap(QPixmap::fromImage(picture));
  }
  const std::pair<const char *, const char *> titles[] = {{"btnShutDownCloseMainWindow", "Shut down"},
                                                          {"btnQuitAppCloseMainWindow", "Quit"},
                                                          {"btnCancelCloseMainWindow", "Cancel"}};
  for (const auto &[name, title] : titles)
    if (auto *button = sheet->findChild<QPushButton *>(QLatin1String(name)))
      button->setText(word(QLatin1String(title)));
}

bool MainController::closeMainWindowForDidoro() {
  if (!ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("CloseUIForDidoro")))
    return false;
  closeAppSheetForDidoro()->open();
  return true;
}

void MainController::endCloseAppSheetForDidoro() {
  if (closeSheetForDidoro_ && closeSheetForDidoro_->isVisible()) {
    closeSheetForDidoro_->setProperty("ending", true);
    closeSheetForDidoro_->hide();
    closeSheetForDidoro_->setProperty("ending", false);
  }
}

void MainController::shutDownDeviceForDidoro(QObject *) {
  endCloseAppSheetForDidoro();
  requestTerminate();
}

void MainController::quitApplicationForDidoro(QObject *) {
  endCloseAppSheetForDidoro();
  requestTerminate();
}

void MainController::cancelCloseWindowForDidoro(QObject *) {
  endCloseAppSheetForDidoro();
}

void MainController::minimizeWindow(QObject *sender) {
  auto *widget = qobject_cast<QWidget *>(sender);
  if (QWidget *window = widget ? widget->window() : nullptr)
    window->showMinimized();
}

void MainController::setCloseButtonEnabled(bool enabled) {
  closeButtonEnabled_ = enabled;
  // The skin's own close buttons go with it.
  if (!mainWindow)
    return;
  for (NSButtonExt *button : mainWindow->findChildren<NSButtonExt *>()) {
    const QByteArray action = button->action();
    if (action == "closeMainWindow" || action == "quitTerminal" || action == "closeApp")
      button->setEnabled(enabled);
  }
}

void MainController::showUnconnectedIcon() {
  if (!ConfigService::readBool(QString(), QStringLiteral("IconChangeWithConnected")))
    return;
  QImage icon = qelSkinManager ? qelSkinManager->imageNamed(QStringLiteral("unConnectIcons.png")) : QImage();
  if (icon.isNull())
    icon.load(Bundle::mainBundle().pathForResource(QStringLiteral("unConnectIcons"), QStringLiteral("png")));
  if (!icon.isNull())
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
}
