#include "EntertainController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "DownloadUtilities.h"
#include "NotificationTables.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "StatusBarView.h"
#include "WebLinkControls.h"
#include "WeblinkUpdateUtilities.h"
#include "WordGlobe.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QPalette>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// The folder pictures of the list: the bundle's, else the desktop's own folder icons.
QImage folderImage(bool open) {
  const QImage image =
      StatusImages::imageNamed(open ? QStringLiteral("OpenFolder.png") : QStringLiteral("FolderSet.png"));
  if (!image.isNull())
    return image;
  const QIcon icon = QApplication::style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirIcon);
  return icon.pixmap(16, 16).toImage();
}
} // namespace

// ---- the table ----

int EntertainTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() || !items_ ? 0 : int(items_->size());
}

int EntertainTableModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant EntertainTableModel::data(const QModelIndex &index, int role) const {
  if (!items_ || !index.isValid() || index.row() >= items_->size())
    return {};
  const QVariantMap &item = items_->at(index.row());
  const QString column = columnIdentifier(index.column());
  if (role == Qt::DisplayRole && column == QLatin1String("Name"))
    return item.value(column);
  if (role == Qt::DecorationRole && column == QLatin1String("Icon"))
    return item.value(column);
  // The first row is drawn highlighted.
  if (role == Qt::BackgroundRole && index.row() == 0)
    return QApplication::palette().color(QPalette::AlternateBase);
  return {};
}

Qt::ItemFlags EntertainTableModel::flags(const QModelIndex &index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// ---- the controller ----

EntertainController::EntertainController(QObject *parent) : QELUIController(parent) {
  getEnterTainConfig();
  model_.setItems(&entertainItemsArray_);
}

EntertainController *EntertainController::build(QTabWidget *tabs, QObject *owner) {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!tabs || !config || config->readEntertainTableConfig().toList().isEmpty())
    return nullptr;
  auto *controller = new EntertainController(owner);
  auto *page = new QWidget(tabs);
  page->setObjectName(QStringLiteral("Entertainment"));
  page->setProperty("itemIdentifier", QStringLiteral("Entertainment"));
  auto *table = new QTableView(page);
  table->setObjectName(QStringLiteral("tableViewOfEntertainItems"));
  table->setModel(controller->model());
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->horizontalHeader()->hide();
  table->verticalHeader()->hide();
  table->setShowGrid(false);
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  table->horizontalHeader()->setStretchLastSection(true);
  auto *picture = new WebLinkImageView(page);
  picture->setObjectName(QStringLiteral("webLinkImageViewOfDidoroPopKorn"));
  picture->setMinimumSize(160, 120);
  picture->setAlignment(Qt::AlignCenter);
  auto *layout = new QHBoxLayout(page);
  layout->addWidget(table, 2);
  layout->addWidget(picture, 1, Qt::AlignTop);
  controller->tableViewOfEntertainItems_ = table;
  controller->webLinkImageViewOfDidoroPopKorn_ = picture;
  QObject::connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, controller, [controller, table] {
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    controller->tableViewSelectionDidChange(rows.isEmpty() ? -1 : rows.first().row());
  });
  tabs->addTab(page, QStringLiteral("Entertainment"));
  return controller;
}

void EntertainController::getEnterTainConfig() {
  entertainConfigArray_.clear();
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config)
    return;
  for (const QVariant &name : config->readEntertainTableConfig().toList())
    if (name.typeId() == QMetaType::QString && !name.toString().isEmpty())
      entertainConfigArray_ << name.toString();
}

void EntertainController::registerMessages() {
  registerNotification(entertainObserverTable);
}

void EntertainController::initializeController() {
  // The picture is read from the download folder: it must be known before the first load.
  initWebDownloadAndLinkUpdateUtilitiesOfEntertain();
  initEntertainTableViewController();
  if (webLinkImageViewOfDidoroPopKorn_)
    webLinkImageViewOfDidoroPopKorn_->setEnabled(false);
  webLinkOfDidoroPopKornFlag_ = false;
}

void EntertainController::initEntertainTableViewController() {
  entertainItemsArray_.clear();
  const QImage folder = folderImage(false);
  for (const QString &key : std::as_const(entertainConfigArray_))
    entertainItemsArray_ << QVariantMap{{QStringLiteral("Icon"), folder}, {QStringLiteral("Name"), word(key)}};
  model_.reload();
  loadCurrentWebLinkImage();
}

void EntertainController::initWebDownloadAndLinkUpdateUtilitiesOfEntertain() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  DownloadUtilities::sharedDownloadManager()->setDownloadFolder(
      config->getFilePathWithFileName(QStringLiteral("vuzira/images/")));
  WeblinkUpdateUtilities::sharedUpdateManager()->setcfgFile(
      config->getFilePathWithFileName(QStringLiteral("IconLinks.plist")));
}

void EntertainController::loadCurrentWebLinkImage() {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  QVariant list;
  if (!config || !Plist::readFile(config->getFilePathWithFileName(QStringLiteral("IconLinks.plist")), &list))
    return;
  for (const QVariant &entry : list.toList()) {
    if (entry.toMap().value(QStringLiteral("ImageStorePath")).toString().endsWith(QLatin1String(kTvPictureFileName))) {
      loadCurrentWebLinkImageInView(entry.toMap());
      return;
    }
  }
}

void EntertainController::loadCurrentWebLinkImageInView(const QVariantMap &entry) {
  const QString store = entry.value(QStringLiteral("ImageStorePath")).toString();
  if (!store.endsWith(QLatin1String(kTvPictureFileName)) || !webLinkImageViewOfDidoroPopKorn_)
    return;
  const QString path = WeblinkUpdateUtilities::resolveStorePath(store);
  const QImage image(path);
  if (path.isEmpty() || image.isNull())
    return;
  webLinkImageViewOfDidoroPopKorn_->setPixmap(QPixmap::fromImage(image));
  webLinkImageViewOfDidoroPopKorn_->setWebLinkString(word(QStringLiteral("DidoroPopkornLink")));
}

void EntertainController::changeRowIconForSelectedRow(int row) {
  const QImage closed = folderImage(false);
  for (QVariantMap &item : entertainItemsArray_)
    item.insert(QStringLiteral("Icon"), closed);
  if (row >= 0 && row < entertainItemsArray_.size())
    entertainItemsArray_[row].insert(QStringLiteral("Icon"), folderImage(true));
}

void EntertainController::tableViewSelectionDidChange(int row) {
  changeRowIconForSelectedRow(row);
  model_.dataChanged(model_.index(0, 0), model_.index(std::max(0, int(entertainItemsArray_.size()) - 1), 1));
  // Without a selected row there is nothing to open.
  if (row < 0 || row >= entertainItemsArray_.size())
    return;
  const QString name = entertainItemsArray_.at(row).value(QStringLiteral("Name")).toString();
  if (name == word(QStringLiteral("DidoroPopkorn"))) {
    SelectionDidoroPopkornDidChange();
    return;
  }
  QString link;
  if (name == word(QStringLiteral("Games")))
    link = word(QStringLiteral("GamesLink"));
  else if (name == word(QStringLiteral("Music")))
    link = word(QStringLiteral("MusicLink"));
  if (link.isEmpty())
    return;
  openSafari(link);
  if (tableViewOfEntertainItems_)
    tableViewOfEntertainItems_->clearSelection();
}

void EntertainController::SelectionDidoroPopkornDidChange() {
  if (webLinkOfDidoroPopKornFlag_)
    openSafari(word(QStringLiteral("DidoroPopkornLink")));
  else
    notificationCenter->postNotificationName(QStringLiteral("WebLinkImageViewDisabled"), nullptr);
}

void EntertainController::tabViewItemWillChange(const Notification &n) {
  if (n.userInfo.value(QStringLiteral("TabViewItemWillChange")).toString() == QLatin1String("Entertainment") &&
      tableViewOfEntertainItems_)
    tableViewOfEntertainItems_->setFocus();
}

void EntertainController::updateWebLinkImageView(const Notification &) {
  loadCurrentWebLinkImage();
}

void EntertainController::showAlertWindowWhenWebLinkImageViewDisabled(const Notification &) {
  NSRunAlertPanelExt(word(QStringLiteral("Prompt!")), word(QStringLiteral("Please try after connecting to internet")),
                     word(QStringLiteral("OK")), QString());
}

void EntertainController::setWebLinkeImageViewDisabled(const Notification &) {
  if (webLinkImageViewOfDidoroPopKorn_)
    webLinkImageViewOfDidoroPopKorn_->setEnabled(false);
  webLinkOfDidoroPopKornFlag_ = false;
}

void EntertainController::setWebLinkeImageViewEnabled(const Notification &) {
  if (webLinkImageViewOfDidoroPopKorn_)
    webLinkImageViewOfDidoroPopKorn_->setEnabled(true);
  webLinkOfDidoroPopKornFlag_ = true;
}
