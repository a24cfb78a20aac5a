// The widgets of the Network, Call, Browser and FavoriteLinks pages, with their sheets.
#include "ButtonMatrix.h"
#include "ConfigService.h"
#include "NetListModel.h"
#include "SettingController.h"
#include "SettingPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace SettingPages {

namespace {
QVBoxLayout *pageColumn(QWidget *page) {
  auto *layout = new QVBoxLayout(page);
  layout->setAlignment(Qt::AlignTop);
  return layout;
}

QGroupBox *box(QWidget *parent, const char *name, const char *key) {
  auto *b = new QGroupBox(parent);
  b->setObjectName(QLatin1String(name));
  setWordingKey(b, QLatin1String(key));
  return b;
}

// A matrix narrowed to fit one of the page's two columns.
ButtonMatrix *narrow(ButtonMatrix *m) {
  m->setCellSize(QSize(230, 22));
  m->sizeToCells();
  m->setMinimumSize(m->size());
  return m;
}

QLineEdit *field(QWidget *parent, const char *name) {
  auto *f = new QLineEdit(parent);
  f->setObjectName(QLatin1String(name));
  return f;
}

// A window-modal sheet on the main window (its parent is the page until the window exists).
QDialog *sheet(QWidget *parent, const char *name) {
  auto *d = new QDialog(parent->window());
  d->setObjectName(QLatin1String(name));
  d->setWindowModality(Qt::WindowModal);
  return d;
}

void buildNetListSheet(SettingController *c, QWidget *page) {
  QDialog *w = sheet(page, "wndSettingNetSelect");
  c->netSelectWindow = w;
  auto *layout = new QVBoxLayout(w);
  auto *table = new QTableView(w);
  table->setObjectName(QStringLiteral("netListView"));
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setSectionsClickable(false); // columns cannot be selected
  table->horizontalHeader()->setStretchLastSection(true);
  table->verticalHeader()->hide();
  auto *model = new NetListModel(c);
  table->setModel(model);
  c->setNetListModel(model);
  table->setMinimumSize(520, 220);
  c->netListView = table;
  layout->addWidget(table);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  c->CancelnetSelectBtn = worded<QPushButton>(w, "btnSettingCancelNetSelect", "Cancel");
  c->netSelectBtn = worded<QPushButton>(w, "btnSettingInputApplyNetSelect", "Apply");
  buttons->addWidget(c->CancelnetSelectBtn);
  buttons->addWidget(c->netSelectBtn);
  layout->addLayout(buttons);
  QObject::connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, c,
                   [c] { c->tableViewSelectionDidChange(); });
  QObject::connect(c->netSelectBtn, &QPushButton::clicked, c, [c] { c->ApplyNetSelect(c->netSelectBtn); });
  QObject::connect(c->CancelnetSelectBtn, &QPushButton::clicked, c, [c] { c->CancelNetSelect(c->CancelnetSelectBtn); });
  QObject::connect(w, &QDialog::rejected, c, [c, w] {
    if (!w->property("closing").toBool())
      c->CancelNetSelect(c->CancelnetSelectBtn);
  });
}
} // namespace

QWidget *buildNetwork(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  // Two columns: the selection on the left, band and roaming on the right.
  auto *columns = new QHBoxLayout(page);
  auto *layout = new QVBoxLayout;
  auto *right = new QVBoxLayout;
  layout->setAlignment(Qt::AlignTop);
  right->setAlignment(Qt::AlignTop);
  columns->addLayout(layout, 1);
  columns->addLayout(right, 1);

  QGroupBox *method = box(page, "boxSelectMode", "Select Mode");
  auto *methodLayout = new QVBoxLayout(method);
  c->m_MethodToSelectNet =
      narrow(radioMatrix(method, "matrixSettingMethodToSelectNet", {{"Automatic", 0}, {"Manual", 1}}));
  methodLayout->addWidget(c->m_MethodToSelectNet);
  auto *searchRow = new QHBoxLayout;
  c->BarSsearchProcess = new QProgressBar(method);
  c->BarSsearchProcess->setObjectName(QStringLiteral("BarSsearchProcess"));
  c->BarSsearchProcess->setTextVisible(false);
  c->BarSsearchProcess->setMaximumHeight(14);
  c->BarSsearchProcess->hide();
  c->cancelNetworkManualSelectBtn = worded<QPushButton>(method, "cancelNetworkManualSelectBtn", "Cancel");
  c->cancelNetworkManualSelectBtn->hide();
  searchRow->addWidget(c->BarSsearchProcess, 1);
  searchRow->addWidget(c->cancelNetworkManualSelectBtn);
  methodLayout->addLayout(searchRow);
  layout->addWidget(method);

  QGroupBox *findMode = box(page, "networkClassLable", "Network Type");
  c->networkClassLable = findMode;
  auto *findLayout = new QVBoxLayout(findMode);
  c->m_NetworkFindModeSeletion =
      radioMatrix(findMode, "matrixSettingNetworkFindModeSeletion",
                  {{"Automatic", 4}, {"3G Preferred", 3}, {"2G Preferred", 2}, {"3G Only", 1}, {"2G Only", 0}});
  findLayout->addWidget(c->m_NetworkFindModeSeletion);
  layout->addWidget(findMode);

  QGroupBox *cdma = box(page, "cdmaNetworkClassLable", "Network Type");
  c->cdmaNetworkClassLable = cdma;
  auto *cdmaLayout = new QVBoxLayout(cdma);
  c->m_PreferenceMode =
      narrow(radioMatrix(cdma, "matrixPreferenceMode", {{"CDMA Automatic", 0}, {"1x Only", 1}, {"EVDO Only", 2}}));
  cdmaLayout->addWidget(c->m_PreferenceMode);
  cdma->hide(); // shown for CDMA devices by the device status
  layout->addWidget(cdma);

  QGroupBox *band = box(page, "boxFrequencySelect", "Set Net Frequency");
  c->boxFrequencySelect_ = band;
  auto *bandLayout = new QVBoxLayout(band);
  // Four bands; the configuration's "FrequencySetting" names them and gives their tags.
  c->matrixFrequencySelect_ = narrow(radioMatrix(band, "matrixFrequencySelect",
                                                 {{"UMTS_850_1900_2100", 0},
                                                  {"UMTS_850_GSM_900_1800", 1},
                                                  {"UMTS_2100_GSM_900_1800", 2},
                                                  {"UMTS_850_2100_GSM_900_1800", 3}}));
  bandLayout->addWidget(c->matrixFrequencySelect_);
  right->addWidget(band);

  QGroupBox *roam = box(page, "boxRoaming", "Roaming");
  auto *roamLayout = new QVBoxLayout(roam);
  c->btnNroamSwitchSetting_ = worded<QCheckBox>(roam, "btnNroamSwitchSetting", "Allow national roaming");
  c->btnIroamSwitchSetting_ = worded<QCheckBox>(roam, "btnIroamSwitchSetting", "Allow international roaming");
  roamLayout->addWidget(c->btnNroamSwitchSetting_);
  roamLayout->addWidget(c->btnIroamSwitchSetting_);
  right->addWidget(roam);

  if (ConfigService::sharedConfigService()->isRoamingImsiSet()) {
    QGroupBox *imsi = box(page, "boxRoamingSet", "Roaming IMSI");
    auto *imsiLayout = new QVBoxLayout(imsi);
    c->matrixRoamingSet_ = narrow(radioMatrix(imsi, "matrixRoamingSet", {{"Home IMSI", 0}, {"Roaming IMSI", 1}}));
    c->matrixRoamingSet_->setEnabled(false); // until the SIM toolkit has its menu
    imsiLayout->addWidget(c->matrixRoamingSet_);
    right->addWidget(imsi);
    QObject::connect(c->matrixRoamingSet_, &ButtonMatrix::cellActivated, c,
                     [c] { c->roamingIMSISelect(c->matrixRoamingSet_); });
  }

  buildNetListSheet(c, page);

  QObject::connect(c->m_MethodToSelectNet, &ButtonMatrix::cellActivated, c, [c] {
    if (c->isRuvozUI())
      c->ruvozUISetNetSearchMode(c->m_MethodToSelectNet);
    else
      c->SetSearchNetMode(c->m_MethodToSelectNet);
  });
  QObject::connect(c->m_NetworkFindModeSeletion, &ButtonMatrix::cellActivated, c,
                   [c] { c->SetSearchNetClass(c->m_NetworkFindModeSeletion); });
  QObject::connect(c->m_PreferenceMode, &ButtonMatrix::cellActivated, c,
                   [c] { c->SetPreferenceMode(c->m_PreferenceMode); });
  QObject::connect(c->matrixFrequencySelect_, &ButtonMatrix::cellActivated, c, [c] {
    if (!c->isRuvozUI()) // the reduced layout applies the band with its save button
      c->SetNetFrequency(c->matrixFrequencySelect_);
  });
  QObject::connect(c->cancelNetworkManualSelectBtn, &QPushButton::clicked, c,
                   [c] { c->cancelNetworkManualSelect(c->cancelNetworkManualSelectBtn); });
  QObject::connect(c->btnNroamSwitchSetting_, &QCheckBox::clicked, c,
                   [c] { c->clickNroamSwitch(c->btnNroamSwitchSetting_); });
  QObject::connect(c->btnIroamSwitchSetting_, &QCheckBox::clicked, c,
                   [c] { c->clickIroamSwitch(c->btnIroamSwitchSetting_); });
  return page;
}

QWidget *buildCall(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  QVBoxLayout *layout = pageColumn(page);
  auto *tabs = new QTabWidget(page);
  tabs->setObjectName(QStringLiteral("callSettingView"));
  c->callSettingView_ = tabs;

  // Forwarding: each checkbox's tag is its reason.
  auto *forward = new QWidget(tabs);
  forward->setProperty("itemIdentifier", QStringLiteral("CallForward"));
  auto *forwardLayout = new QGridLayout(forward);
  forwardLayout->setAlignment(Qt::AlignTop);
  const auto forwardRow = [&](int row, QPointer<QCheckBox> &box, QPointer<QLineEdit> &number, const char *name,
                              const char *fieldName, const char *key, int reason) {
    box = worded<QCheckBox>(forward, name, key);
    box->setProperty("tag", reason);
    number = field(forward, fieldName);
    number->setMaxLength(31);
    forwardLayout->addWidget(box, row, 0);
    forwardLayout->addWidget(number, row, 1);
    QObject::connect(box.data(), &QCheckBox::clicked, c, [c] { c->setCallForward(); });
  };
  forwardRow(0, c->btnDivertWhenBusy_, c->txdDivertWhenBusy_, "btnDivertWhenBusy", "txdDivertWhenBusy",
             "Forward when busy", 1);
  forwardRow(1, c->btnDivertWhenNotReachable_, c->txdDivertWhenNotReachable_, "btnDivertWhenNotReachable",
             "txdDivertWhenNotReachable", "Forward when unreachable", 3);
  forwardRow(2, c->btnDivertWhenNotAnswer_, c->txdDivertWhenNotAnswer_, "btnDivertWhenNotAnswer",
             "txdDivertWhenNotAnswer", "Forward when no answer", 2);
  forwardRow(3, c->btnDivertAll_, c->txdDivertAll_, "btnDivertAll", "txdDivertAll", "Forward all calls", 0);
  forwardLayout->setColumnStretch(1, 1);
  tabs->addTab(forward, QString());

  auto *waiting = new QWidget(tabs);
  waiting->setProperty("itemIdentifier", QStringLiteral("CallWaiting"));
  auto *waitingLayout = pageColumn(waiting);
  c->btnCallWaitSetting_ = worded<QCheckBox>(waiting, "btnCallWaitSetting", "Enable call waiting");
  waitingLayout->addWidget(c->btnCallWaitSetting_);
  tabs->addTab(waiting, QString());

  // Barring: each checkbox's tag is its facility index.
  auto *barring = new QWidget(tabs);
  barring->setProperty("itemIdentifier", QStringLiteral("CallBarring"));
  auto *barringLayout = pageColumn(barring);
  const auto barRow = [&](QPointer<QCheckBox> &box, const char *name, const char *key, int facility) {
    box = worded<QCheckBox>(barring, name, key);
    box->setProperty("tag", facility);
    barringLayout->addWidget(box);
    QObject::connect(box.data(), &QCheckBox::clicked, c, [c] { c->setCallBarring(); });
  };
  barRow(c->btnBarAllOutgoing_, "btnBarAllOutgoing", "Bar all outgoing calls", 0);
  barRow(c->btnBarInternational_, "btnBarInternational", "Bar outgoing international calls", 1);
  barRow(c->btnBarInternationalEXHC_, "btnBarInternationalEXHC", "Bar outgoing international calls except home", 2);
  barRow(c->btnBarAllIncoming_, "btnBarAllIncoming", "Bar all incoming calls", 3);
  barRow(c->btnBarIncomingWhenRoaming_, "btnBarIncomingWhenRoaming", "Bar incoming calls when roaming", 4);
  auto *passwordRow = new QHBoxLayout;
  c->labelCallBarPassword_ = worded<QLabel>(barring, "labelCallBarPassword", "Password:");
  c->txdCallBarPassword_ = field(barring, "txdCallBarPassword");
  c->txdCallBarPassword_->setEchoMode(QLineEdit::Password);
  c->txdCallBarPassword_->setMaxLength(11);
  passwordRow->addWidget(c->labelCallBarPassword_);
  passwordRow->addWidget(c->txdCallBarPassword_, 1);
  barringLayout->addLayout(passwordRow);
  tabs->addTab(barring, QString());
  layout->addWidget(tabs);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  c->btnReadCallSetStatus_ = worded<QPushButton>(page, "btnReadCallSetStatus", "Read Status");
  c->btnCallSettingApply_ = worded<QPushButton>(page, "btnCallSettingApply", "Apply");
  buttons->addWidget(c->btnReadCallSetStatus_);
  buttons->addWidget(c->btnCallSettingApply_);
  layout->addLayout(buttons);
  QObject::connect(c->btnCallSettingApply_, &QPushButton::clicked, c,
                   [c] { c->callSettingApply(c->btnCallSettingApply_); });
  QObject::connect(c->btnReadCallSetStatus_, &QPushButton::clicked, c,
                   [c] { c->readCallSettingStatues(c->btnReadCallSetStatus_); });
  return page;
}

QWidget *buildBrowser(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  QVBoxLayout *layout = pageColumn(page);
  c->labelBrowser = worded<QLabel>(page, "labelBrowserAutoConnectSetting", "Open this page after connecting:");
  layout->addWidget(c->labelBrowser);
  auto *row = new QHBoxLayout;
  c->cbboxBrowserList = new QComboBox(page);
  c->cbboxBrowserList->setObjectName(QStringLiteral("cbboxSettingBrowserList"));
  c->btnAdvanced = worded<QPushButton>(page, "btnAdvancedSetting", "Advanced");
  row->addWidget(c->cbboxBrowserList, 1);
  row->addWidget(c->btnAdvanced);
  layout->addLayout(row);
  c->btnNotAutolaunch = worded<QCheckBox>(page, "btnSettingAddBrowser", "Do not open the page after connecting");
  layout->addWidget(c->btnNotAutolaunch);
  QObject::connect(c->btnNotAutolaunch, &QCheckBox::clicked, c, [c] { c->notAutolaunchClicked(c->btnNotAutolaunch); });

  // The add window: the list of pages with add, edit and remove.
  QDialog *add = sheet(page, "wndSettingAddBrowser");
  c->wndAddBrowser = add;
  auto *addLayout = new QVBoxLayout(add);
  auto *addRow = new QHBoxLayout;
  c->textAddBrowser = field(add, "textAddBrowserSetting");
  c->btnAddLink = worded<QPushButton>(add, "btnAddLinkSetting", "Add");
  addRow->addWidget(worded<QLabel>(add, "labelAddLinkSetting", "Add Link:"));
  addRow->addWidget(c->textAddBrowser, 1);
  addRow->addWidget(c->btnAddLink);
  addLayout->addLayout(addRow);
  auto *listRow = new QHBoxLayout;
  c->cbboxAddBrowserList = new QComboBox(add);
  c->cbboxAddBrowserList->setObjectName(QStringLiteral("cbboxAddBrowserListSetting"));
  c->btnEditAvailable = worded<QPushButton>(add, "btnEditAvailableSetting", "Edit");
  c->btnRemoveAvailable = worded<QPushButton>(add, "btnRemoveAvailableSetting", "Remove");
  listRow->addWidget(c->cbboxAddBrowserList, 1);
  listRow->addWidget(c->btnEditAvailable);
  listRow->addWidget(c->btnRemoveAvailable);
  addLayout->addLayout(listRow);
  auto *addButtons = new QHBoxLayout;
  addButtons->addStretch();
  c->btnCancelAddBrowser = worded<QPushButton>(add, "btnCancelAddBrowserSetting", "Cancel");
  c->btnOKAddBrowser = worded<QPushButton>(add, "btnOKAddBrowserSetting", "OK");
  addButtons->addWidget(c->btnCancelAddBrowser);
  addButtons->addWidget(c->btnOKAddBrowser);
  addLayout->addLayout(addButtons);

  // The edit window, a sheet on the add window.
  auto *edit = new QDialog(add);
  edit->setObjectName(QStringLiteral("wndCommonBackGround"));
  edit->setWindowModality(Qt::WindowModal);
  c->wndEditBrowser = edit;
  auto *editLayout = new QVBoxLayout(edit);
  c->textEditBrowser = field(edit, "textEditBrowserSetting");
  editLayout->addWidget(c->textEditBrowser);
  auto *editButtons = new QHBoxLayout;
  editButtons->addStretch();
  c->btnCancelEditBrowser = worded<QPushButton>(edit, "btnCancelEditBrowserSetting", "Cancel");
  c->btnOKEditBrowser = worded<QPushButton>(edit, "btnOKEditBrowserSetting", "OK");
  editButtons->addWidget(c->btnCancelEditBrowser);
  editButtons->addWidget(c->btnOKEditBrowser);
  editLayout->addLayout(editButtons);

  QObject::connect(c->cbboxBrowserList, &QComboBox::activated, c,
                   [c] { c->comboBoxSelectionDidChange(c->cbboxBrowserList); });
  QObject::connect(c->cbboxAddBrowserList, &QComboBox::activated, c,
                   [c] { c->comboBoxSelectionDidChange(c->cbboxAddBrowserList); });
  QObject::connect(c->btnAdvanced, &QPushButton::clicked, c, [c] { c->advancedbrowserlist(c->btnAdvanced); });
  QObject::connect(c->btnAddLink, &QPushButton::clicked, c, [c] { c->addlink(c->btnAddLink); });
  QObject::connect(c->btnEditAvailable, &QPushButton::clicked, c, [c] { c->editAvailableLinks(c->btnEditAvailable); });
  QObject::connect(c->btnRemoveAvailable, &QPushButton::clicked, c,
                   [c] { c->removAvailableLinks(c->btnRemoveAvailable); });
  QObject::connect(c->btnOKAddBrowser, &QPushButton::clicked, c, [c] { c->okAddBrowser(c->btnOKAddBrowser); });
  QObject::connect(c->btnCancelAddBrowser, &QPushButton::clicked, c,
                   [c] { c->cancelAddBrowser(c->btnCancelAddBrowser); });
  QObject::connect(c->btnOKEditBrowser, &QPushButton::clicked, c, [c] { c->okEditBrowser(c->btnOKEditBrowser); });
  QObject::connect(c->btnCancelEditBrowser, &QPushButton::clicked, c,
                   [c] { c->cancelEditBrowser(c->btnCancelEditBrowser); });
  return page;
}

QWidget *buildFavoriteLinks(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  QVBoxLayout *layout = pageColumn(page);
  auto *icons = new IconMatrix(page);
  icons->setObjectName(QStringLiteral("iconMatrixFavoriteLinks"));
  icons->setCellSize(QSize(48, 48));
  icons->renewRows(1, 8);
  icons->sizeToCells();
  icons->setMinimumSize(icons->size());
  c->iconMatrixFavoriteLinks = icons;
  auto *iconRow = new QHBoxLayout;
  c->btnMoveLinkBackward = new QPushButton(QStringLiteral("\u25C0"), page);
  c->btnMoveLinkBackward->setObjectName(QStringLiteral("btnMoveLinkBackward"));
  c->btnMoveLinkForward = new QPushButton(QStringLiteral("\u25B6"), page);
  c->btnMoveLinkForward->setObjectName(QStringLiteral("btnMoveLinkForward"));
  iconRow->addWidget(c->btnMoveLinkBackward);
  iconRow->addWidget(icons, 1);
  iconRow->addWidget(c->btnMoveLinkForward);
  layout->addLayout(iconRow);

  auto *form = new QFormLayout;
  c->tfdLinkName = field(page, "tfdLinkName");
  c->cboxLinkType = new QComboBox(page);
  c->cboxLinkType->setObjectName(QStringLiteral("cboxLinkType"));
  c->cboxLinkType->addItems({QString(), QString()}); // worded by the page: application, web address
  c->tfdLinkPath = field(page, "tfdLinkPath");
  c->btnBrowseLinkPath = worded<QPushButton>(page, "btnBrowseLinkPath", "Choose File...");
  auto *pathRow = new QHBoxLayout;
  pathRow->addWidget(c->tfdLinkPath, 1);
  pathRow->addWidget(c->btnBrowseLinkPath);
  c->tfdLinkPara = field(page, "tfdLinkPara");
  c->tfdLinkImage = field(page, "tfdLinkImage");
  c->btnBrowseLinkImage = worded<QPushButton>(page, "btnBrowseLinkImage", "Choose File...");
  auto *imageRow = new QHBoxLayout;
  imageRow->addWidget(c->tfdLinkImage, 1);
  imageRow->addWidget(c->btnBrowseLinkImage);
  form->addRow(worded<QLabel>(page, "labelLinkName", "Name:"), c->tfdLinkName);
  form->addRow(worded<QLabel>(page, "labelLinkType", "Type:"), c->cboxLinkType);
  form->addRow(worded<QLabel>(page, "labelLinkPath", "Path:"), pathRow);
  form->addRow(worded<QLabel>(page, "labelLinkPara", "Open file:"), c->tfdLinkPara);
  form->addRow(worded<QLabel>(page, "labelLinkImage", "Icon:"), imageRow);
  layout->addLayout(form);
  c->btnLaunchAtStartup = worded<QCheckBox>(page, "btnLaunchAtStartup", "Launch at start-up");
  c->btnLaunchWhenConnected = worded<QCheckBox>(page, "btnLaunchWhenConnected", "Launch when connected");
  layout->addWidget(c->btnLaunchAtStartup);
  layout->addWidget(c->btnLaunchWhenConnected);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  c->btnCancelFavoriteLink = worded<QPushButton>(page, "btnCancelFavoriteLink", "Cancel");
  c->btnModifyFavoriteLink = worded<QPushButton>(page, "btnModifyFavoriteLink", "Modify");
  buttons->addWidget(c->btnCancelFavoriteLink);
  buttons->addWidget(c->btnModifyFavoriteLink);
  layout->addLayout(buttons);

  QObject::connect(icons, &IconMatrix::action, c, [c] { c->iconMatrixClicked(c->iconMatrixFavoriteLinks); });
  QObject::connect(c->cboxLinkType, &QComboBox::activated, c, [c] { c->setLinkTypeComboxStatus(); });
  QObject::connect(c->btnMoveLinkBackward, &QPushButton::clicked, c,
                   [c] { c->moveLinkBackward(c->btnMoveLinkBackward); });
  QObject::connect(c->btnMoveLinkForward, &QPushButton::clicked, c, [c] { c->moveLinkForward(c->btnMoveLinkForward); });
  QObject::connect(c->btnBrowseLinkPath, &QPushButton::clicked, c, [c] { c->browseLinkPath(c->btnBrowseLinkPath); });
  QObject::connect(c->btnBrowseLinkImage, &QPushButton::clicked, c, [c] { c->browseLinkImage(c->btnBrowseLinkImage); });
  QObject::connect(c->btnLaunchAtStartup, &QCheckBox::clicked, c,
                   [c] { c->launchLinkAtStartupChanged(c->btnLaunchAtStartup); });
  QObject::connect(c->btnLaunchWhenConnected, &QCheckBox::clicked, c,
                   [c] { c->launchLinkWhenConnectedChanged(c->btnLaunchWhenConnected); });
  QObject::connect(c->btnModifyFavoriteLink, &QPushButton::clicked, c,
                   [c] { c->modifyFavoriteLink(c->btnModifyFavoriteLink); });
  QObject::connect(c->btnCancelFavoriteLink, &QPushButton::clicked, c,
                   [c] { c->cancelFavoriteLink(c->btnCancelFavoriteLink); });
  return page;
}

} // namespace SettingPages
