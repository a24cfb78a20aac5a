#pragma once

#include "QELUIController.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QPointer>
#include <QStringList>

class QTableView;
class QTabWidget;
class WebLinkImageView;

// The entertainment items as a one-column list of folders: column "Icon" and "Name".
class EntertainTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit EntertainTableModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}
  void setItems(const QList<QVariantMap> *items) {
    beginResetModel();
    items_ = items;
    endResetModel();
  }
  void reload() {
    beginResetModel();
    endResetModel();
  }
  static QString columnIdentifier(int column) { return column == 0 ? QStringLiteral("Icon") : QStringLiteral("Name"); }
  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
  const QList<QVariantMap> *items_ = nullptr;
};

// The "Entertainment" tab of an operator build: the configured items (each opens an operator
// page) and a TV picture that links to the operator's TV page while the connection is up.
class EntertainController : public QELUIController {
  Q_OBJECT
public:
  // The TV picture's file, as the operator build names it.
  static constexpr const char *kTvPictureFileName = "DidoroPopKorn.gif";

  explicit EntertainController(QObject *parent = nullptr);

  // The controller and its page in `tabs` when the configuration lists entertainment items;
  // null otherwise (the tab does not exist).
  static EntertainController *build(QTabWidget *tabs, QObject *owner);

  void getEnterTainConfig();
  QStringList entertainConfig() const { return entertainConfigArray_; }
  const QList<QVariantMap> &entertainItems() const { return entertainItemsArray_; }
  void initEntertainTableViewController();
  void initWebDownloadAndLinkUpdateUtilitiesOfEntertain();
  void loadCurrentWebLinkImage();
  void loadCurrentWebLinkImageInView(const QVariantMap &entry);
  void changeRowIconForSelectedRow(int row);
  // The table's selection changed; -1 when no row is selected.
  void tableViewSelectionDidChange(int row);
  void SelectionDidoroPopkornDidChange();
  void setwebLinkOfDidoroPopKornFlag(bool on) { webLinkOfDidoroPopKornFlag_ = on; }
  bool getwebLinkOfDidoroPopKornFlag() const { return webLinkOfDidoroPopKornFlag_; }

  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  Q_INVOKABLE void updateWebLinkImageView(const Notification &n);
  Q_INVOKABLE void showAlertWindowWhenWebLinkImageViewDisabled(const Notification &n);
  Q_INVOKABLE void setWebLinkeImageViewDisabled(const Notification &n);
  Q_INVOKABLE void setWebLinkeImageViewEnabled(const Notification &n);

  // Outlets set by build().
  QPointer<QTableView> tableViewOfEntertainItems_;
  QPointer<WebLinkImageView> webLinkImageViewOfDidoroPopKorn_;
  EntertainTableModel *model() { return &model_; }

protected:
  void registerMessages() override;
  void initializeController() override;

private:
  QStringList entertainConfigArray_;
  QList<QVariantMap> entertainItemsArray_;
  bool webLinkOfDidoroPopKornFlag_ = false;
  EntertainTableModel model_;
};
