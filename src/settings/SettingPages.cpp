#include "SettingPages.h"

#include "ButtonMatrix.h"
#include "ConfigService.h"
#include "SettingController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace SettingPages {

void setWordingKey(QWidget *control, const QString &key) {
  if (control)
    control->setProperty("wordingKey", key);
}

// A matrix of radio cells, one per (wording key, tag), in rows.
ButtonMatrix *radioMatrix(QWidget *parent, const char *name, const QList<QPair<const char *, int>> &cells) {
  auto *matrix = new ButtonMatrix(parent);
  matrix->setObjectName(QLatin1String(name));
  matrix->setCellSize(QSize(260, 22));
  matrix->renewRows(int(cells.size()), 1);
  for (int i = 0; i < cells.size(); ++i) {
    QAbstractButton *cell = matrix->cellAtRow(i, 0);
    cell->setProperty("tag", cells[i].second);
    setWordingKey(cell, QLatin1String(cells[i].first));
  }
  matrix->sizeToCells();
  matrix->setMinimumSize(matrix->size()); // layouts give it the room of all its rows
  return matrix;
}

namespace {

QVBoxLayout *column(QWidget *page) {
  auto *layout = new QVBoxLayout(page);
  layout->setAlignment(Qt::AlignTop);
  return layout;
}

QWidget *buildSystem(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  QVBoxLayout *layout = column(page);
  auto *languageRow = new QHBoxLayout;
  c->labelLanguage = worded<QLabel>(page, "labelLanguage", "Select Language:");
  c->popupLanguage = new QComboBox(page);
  c->popupLanguage->setObjectName(QStringLiteral("popupLanguage"));
  languageRow->addWidget(c->labelLanguage);
  languageRow->addWidget(c->popupLanguage, 1);
  layout->addLayout(languageRow);
  c->btnAutoConnect = worded<QCheckBox>(page, "btnAutoConnect", "Auto Connect");
  c->btnAutoDeleteSMS = worded<QCheckBox>(page, "btnAutoDeleteSMS", "Auto Delete SMS:");
  c->btnStartWithSystem = worded<QCheckBox>(page, "btnStartWithSystem", "Start with Operating System");
  c->btnStartWithPluginDevice =
      worded<QCheckBox>(page, "btnStartWithPluginDevice", "Auto Start when device is available");
  c->btnDisconnectAsk = worded<QCheckBox>(page, "btnDisconnectAsk", "Setting_DisconnectAskLable");
  c->btnConnectWarning = worded<QCheckBox>(page, "btnConnectWarning", "Enable Connection Warning display");
  c->labelConnectWarningTip = worded<QLabel>(
      page, "labelConnectWarningTip",
      "We remind you that before connecting you must subcribe to an Internet Pack in order to get better rates.");
  c->labelConnectWarningTip->setWordWrap(true);
  for (QWidget *w : {static_cast<QWidget *>(c->btnAutoConnect), static_cast<QWidget *>(c->btnAutoDeleteSMS),
                     static_cast<QWidget *>(c->btnStartWithSystem), static_cast<QWidget *>(c->btnStartWithPluginDevice),
                     static_cast<QWidget *>(c->btnDisconnectAsk)})
    layout->addWidget(w);
  // Options of operator builds: only with their configuration.
  if (ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("connectWarningsDisplay")) ||
      ConfigService::readValue(QStringLiteral("Setting"), QStringLiteral("connectWarningsDisplay")).isValid()) {
    layout->addWidget(c->btnConnectWarning);
    layout->addWidget(c->labelConnectWarningTip);
  } else {
    c->btnConnectWarning->hide();
    c->labelConnectWarningTip->hide();
  }
  if (ConfigService::readValue(QStringLiteral("LPMinfo"), QStringLiteral("hasLPMmode")).isValid()) {
    c->btnLPMBState = worded<QCheckBox>(page, "btnLPMBState", "Low Power Mode");
    c->labelLPMTip = worded<QLabel>(page, "labelLPMTip", "Low Power Mode Tip");
    c->labelLPMTip->setWordWrap(true);
    layout->addWidget(c->btnLPMBState);
    layout->addWidget(c->labelLPMTip);
  }

  auto *update = new QGroupBox(page);
  update->setObjectName(QStringLiteral("boxUpdate"));
  setWordingKey(update, QStringLiteral("Update"));
  c->boxUpdate = update;
  auto *updateLayout = new QFormLayout(update);
  c->btnAutoUpdate = worded<QCheckBox>(update, "btnAutoUpdate", "Auto Update");
  c->labelServer = worded<QLabel>(update, "labelServer", "Server");
  c->tfdServerAddress = new QLineEdit(update);
  c->btnApplyServer = worded<QPushButton>(update, "btnApplyServer", "Apply");
  c->btnUpdateNow = worded<QPushButton>(update, "btnUpdateNow", "Update Now");
  c->cboxUpdateDuration = new QComboBox(update);
  c->cboxUpdateDuration->setObjectName(QStringLiteral("cboxUpdateDuration"));
  // The days between two automatic checks; each item's text is its number of days, as the
  // stored interval is shown.
  for (const int days : {1, 7, 14, 30})
    c->cboxUpdateDuration->addItem(QString::number(days), days);
  c->cboxUpdateDuration->setCurrentText(QStringLiteral("14"));
  c->labelUpdateDuration = worded<QLabel>(update, "labelUpdateDuration", "Check interval (days):");
  updateLayout->addRow(c->btnAutoUpdate);
  updateLayout->addRow(c->labelServer, c->tfdServerAddress);
  updateLayout->addRow(c->btnApplyServer, c->btnUpdateNow);
  updateLayout->addRow(c->labelUpdateDuration, c->cboxUpdateDuration);
  layout->addWidget(update);
  c->btnCheckForUpdateRizora = worded<QPushButton>(page, "btnCheckForUpdateRizora", "Check for Updates");
  layout->addWidget(c->btnCheckForUpdateRizora, 0, Qt::AlignLeft);
  // Only an operator build whose wording names its update-check address shows the button.
  c->btnCheckForUpdateRizora->setVisible(!c->updateCheckAddress().isEmpty());

  QObject::connect(c->btnAutoConnect, &QCheckBox::clicked, c, [c] { c->auto_Connect(c->btnAutoConnect); });
  QObject::connect(c->btnAutoDeleteSMS, &QCheckBox::clicked, c,
                   [c] { c->autoDeleteSMSLabelChanged(c->btnAutoDeleteSMS); });
  QObject::connect(c->btnStartWithSystem, &QCheckBox::clicked, c, [c] { c->StartWithSystem(c->btnStartWithSystem); });
  QObject::connect(c->btnStartWithPluginDevice, &QCheckBox::clicked, c,
                   [c] { c->StartWithPluginDevice(c->btnStartWithPluginDevice); });
  QObject::connect(c->btnDisconnectAsk, &QCheckBox::clicked, c, [c] { c->DisconnectAsk(c->btnDisconnectAsk); });
  QObject::connect(c->btnConnectWarning, &QCheckBox::clicked, c,
                   [c] { c->enableConnectWarningDisplay(c->btnConnectWarning); });
  if (c->btnLPMBState)
    QObject::connect(c->btnLPMBState, &QCheckBox::clicked, c, [c] { c->setLPMEnable(c->btnLPMBState); });
  QObject::connect(c->popupLanguage, &QComboBox::activated, c, [c] { c->changeLanguageTo(c->popupLanguage); });
  QObject::connect(c->btnAutoUpdate, &QCheckBox::clicked, c, [c] { c->CheckAutoUpdate(c->btnAutoUpdate); });
  QObject::connect(c->btnApplyServer, &QPushButton::clicked, c, [c] { c->ApplyServerAddress(c->btnApplyServer); });
  QObject::connect(c->btnUpdateNow, &QPushButton::clicked, c, [c] { c->SendManualUpdate(c->btnUpdateNow); });
  QObject::connect(c->cboxUpdateDuration, &QComboBox::activated, c,
                   [c] { c->SetUpdateDuration(c->cboxUpdateDuration->currentData().toInt()); });
  QObject::connect(c->btnCheckForUpdateRizora, &QPushButton::clicked, c,
                   [c] { c->checkForUpdateRizora(c->btnCheckForUpdateRizora); });
  return page;
}

QWidget *buildConnect(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  QVBoxLayout *layout = column(page);
  c->labelConnectFunction =
      worded<QLabel>(page, "labelConnectFunction", "Connecting to the internet With the following function:");
  c->labelConnectType = worded<QLabel>(page, "labelConnectType", "Select Connection Type:");
  c->matrixConnectType =
      radioMatrix(page, "matrixConnectType", {{"Connection With RAS", 0}, {"Connection With NDIS", 1}});
  c->labelServiceNumber = worded<QLabel>(page, "labelServiceNumber", "Services number:");
  c->tfdServiceNumber = new QLineEdit(page);
  c->tfdServiceNumber->setObjectName(QStringLiteral("tfdServiceNumber"));
  layout->addWidget(c->labelConnectFunction);
  layout->addWidget(c->labelConnectType);
  layout->addWidget(c->matrixConnectType);
  layout->addWidget(c->labelServiceNumber);
  layout->addWidget(c->tfdServiceNumber);
  QObject::connect(c->matrixConnectType, &ButtonMatrix::cellActivated, c,
                   [c] { c->SelectConnectType(c->matrixConnectType); });
  QObject::connect(c->tfdServiceNumber, &QLineEdit::editingFinished, c,
                   [c] { c->setServicesNum(c->tfdServiceNumber); });
  return page;
}

QWidget *buildSecurity(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  QVBoxLayout *layout = column(page);
  auto *pinBox = new QGroupBox(page);
  setWordingKey(pinBox, QStringLiteral("Security"));
  auto *pinLayout = new QVBoxLayout(pinBox);
  c->m_PINEnable = worded<QCheckBox>(pinBox, "m_PINEnable", "PIN Enable");
  c->m_RevisePinButton = worded<QPushButton>(pinBox, "m_RevisePinButton", "Revise PIN");
  pinLayout->addWidget(c->m_PINEnable);
  if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("pinAutoValidation"))) {
    c->btnPINAutoValidat_ = worded<QCheckBox>(pinBox, "btnPINAutoValidat", "pinAutoValidation");
    pinLayout->addWidget(c->btnPINAutoValidat_);
    QObject::connect(c->btnPINAutoValidat_, &QCheckBox::clicked, c,
                     [c] { c->pinAutoValidation(c->btnPINAutoValidat_); });
  }
  pinLayout->addWidget(c->m_RevisePinButton, 0, Qt::AlignLeft);
  layout->addWidget(pinBox);

  // The PIN remembered on this computer for its card: saving can be switched off and the saved
  // PIN forgotten here, where the user looks for them.
  if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("AtuoCheckPinAndIccidSavedInConfigFile"))) {
    c->btnPinNumSavedInConfigFile_ = worded<QCheckBox>(pinBox, "btnPinNumSavedInConfigFile", "Save Pin");
    c->btnRemovePinAutoCheckByICCID_ = worded<QPushButton>(pinBox, "btnRemovePinAutoCheckByICCID", "Remove saved PIN");
    pinLayout->addWidget(c->btnPinNumSavedInConfigFile_);
    pinLayout->addWidget(c->btnRemovePinAutoCheckByICCID_, 0, Qt::AlignLeft);
    QObject::connect(c->btnPinNumSavedInConfigFile_, &QCheckBox::clicked, c,
                     [c] { c->enableSavePinNum(c->btnPinNumSavedInConfigFile_); });
    QObject::connect(c->btnRemovePinAutoCheckByICCID_, &QPushButton::clicked, c,
                     [c] { c->removeAutoCheckPinByICCID(c->btnRemovePinAutoCheckByICCID_); });
  }

  auto *lockBox = new QGroupBox(page);
  auto *lockLayout = new QVBoxLayout(lockBox);
  c->btnCheckDeviceUnlockCodeEnable =
      worded<QCheckBox>(lockBox, "btnCheckDeviceUnlockCodeEnable", "Device function lock Enable");
  c->btnModifyDeviceUnlockCode = worded<QPushButton>(lockBox, "btnModifyDeviceUnlockCode", "Change Unlock Code");
  lockLayout->addWidget(c->btnCheckDeviceUnlockCodeEnable);
  lockLayout->addWidget(c->btnModifyDeviceUnlockCode, 0, Qt::AlignLeft);
  layout->addWidget(lockBox);

  auto *backupBox = new QGroupBox(page);
  auto *backupLayout = new QVBoxLayout(backupBox);
  c->btnBRSMSandPB = worded<QCheckBox>(backupBox, "btnBRSMSandPB", "Backup/Restore the phonebook and SMS");
  c->btnBackupSMSAndPB = worded<QPushButton>(backupBox, "btnBackupSMSAndPB", "Backup");
  c->btnRestoreSMSAndPB = worded<QPushButton>(backupBox, "btnRestoreSMSAndPB", "Restore");
  auto *backupButtons = new QHBoxLayout;
  backupButtons->addWidget(c->btnBackupSMSAndPB);
  backupButtons->addWidget(c->btnRestoreSMSAndPB);
  backupButtons->addStretch(1);
  backupLayout->addWidget(c->btnBRSMSandPB);
  backupLayout->addLayout(backupButtons);
  layout->addWidget(backupBox);
  c->BRSMSandPB(false);
  c->initNibForBackupPhoneBookOnly();
  QObject::connect(c->btnBRSMSandPB, &QCheckBox::toggled, c, [c](bool on) { c->BRSMSandPB(on); });
  QObject::connect(c->btnBackupSMSAndPB, &QPushButton::clicked, c, [c] { c->backupSMSAndPhoneBook(); });
  QObject::connect(c->btnRestoreSMSAndPB, &QPushButton::clicked, c, [c] { c->restoreSMSAndPhoneBook(); });

  // The PIN menu items live with the page; a menu bar may show them too.
  c->labelPINEnable_ = new QAction(page);
  c->labelPINDisable_ = new QAction(page);
  c->labelPinModify_ = new QAction(page);
  page->addActions({c->labelPINEnable_, c->labelPINDisable_, c->labelPinModify_});

  QObject::connect(c->m_PINEnable, &QCheckBox::clicked, c, [c] { c->ChangePinActiveStatus(c->m_PINEnable); });
  QObject::connect(c->m_RevisePinButton, &QPushButton::clicked, c, [c] { c->ChangePin(c->m_RevisePinButton); });
  QObject::connect(c->labelPINEnable_, &QAction::triggered, c, [c] { c->EnablePIN(c->labelPINEnable_); });
  QObject::connect(c->labelPINDisable_, &QAction::triggered, c, [c] { c->DisablePIN(c->labelPINDisable_); });
  QObject::connect(c->labelPinModify_, &QAction::triggered, c, [c] { c->ChangePin(c->labelPinModify_); });
  QObject::connect(c->btnCheckDeviceUnlockCodeEnable, &QCheckBox::clicked, c,
                   [c] { c->checkDeviceUnlockCodeStatus(c->btnCheckDeviceUnlockCodeEnable); });
  QObject::connect(c->btnModifyDeviceUnlockCode, &QPushButton::clicked, c,
                   [c] { c->modifyDeviceUnlockCode(c->btnModifyDeviceUnlockCode); });
  return page;
}

QWidget *buildSms(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  QVBoxLayout *layout = column(page);
  auto *form = new QFormLayout;
  const auto label = [&](const char *key) {
    auto *l = worded<QLabel>(page, key, key);
    c->smsLabels << l;
    return l;
  };
  c->MessageCenter = new QLineEdit(page);
  c->MessageCenter->setObjectName(QStringLiteral("MessageCenter"));
  c->MessageValidityPeriod = new QComboBox(page);
  c->MessageValidityPeriod->setObjectName(QStringLiteral("MessageValidityPeriod"));
  c->MessageDeliveryReport = radioMatrix(page, "MessageDeliveryReport", {{"Turn On", 1}, {"Turn Off", 0}});
  c->MessageStoreLoc = new QComboBox(page);
  c->MessageStoreLoc->setObjectName(QStringLiteral("MessageStoreLoc"));
  form->addRow(label("Message Center:"), c->MessageCenter);
  form->addRow(label("Validity Period:"), c->MessageValidityPeriod);
  form->addRow(label("Delivery Report:"), c->MessageDeliveryReport);
  form->addRow(label("Location of Saving New SMS:"), c->MessageStoreLoc);
  c->tfMsgRouting_ = label("Message Routing:");
  c->cboxMsgRouting_ = new QComboBox(page);
  c->cboxMsgRouting_->setObjectName(QStringLiteral("cboxMsgRouting"));
  form->addRow(c->tfMsgRouting_, c->cboxMsgRouting_);
  // The routing controls show only when the configuration has a routing (InitSMSSettingNib).
  c->tfMsgRouting_->hide();
  c->cboxMsgRouting_->hide();
  if (ConfigService::readValue(QString(), QStringLiteral("SMSNationalIdentifier")).isValid()) {
    c->cbxSingleLanguageSet_ = new QComboBox(page);
    c->cbxSingleLanguageSet_->setObjectName(QStringLiteral("cbxSingleLanguageSet"));
    form->addRow(label("select single language supported:"), c->cbxSingleLanguageSet_);
    QObject::connect(c->cbxSingleLanguageSet_, &QComboBox::activated, c, [c] { c->setSMSPageEdited(); });
  }
  layout->addLayout(form);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  c->MessageSetCancelBtn = worded<QPushButton>(page, "MessageSetCancelBtn", "Setting_MessageSetCancelBtn");
  c->MessageSetApplyBtn = worded<QPushButton>(page, "MessageSetApplyBtn", "Apply");
  buttons->addWidget(c->MessageSetCancelBtn);
  buttons->addWidget(c->MessageSetApplyBtn);
  layout->addLayout(buttons);

  QObject::connect(c->MessageCenter, &QLineEdit::textEdited, c, [c] { c->controlTextDidChange(c->MessageCenter); });
  for (QComboBox *box : {c->MessageValidityPeriod.data(), c->MessageStoreLoc.data(), c->cboxMsgRouting_.data()})
    QObject::connect(box, &QComboBox::activated, c, [c] { c->setSMSPageEdited(); });
  QObject::connect(c->MessageDeliveryReport, &ButtonMatrix::cellActivated, c, [c] { c->setSMSPageEdited(); });
  QObject::connect(c->MessageSetApplyBtn, &QPushButton::clicked, c, [c] { c->MessageSetApply(c->MessageSetApplyBtn); });
  QObject::connect(c->MessageSetCancelBtn, &QPushButton::clicked, c,
                   [c] { c->MessageSetCancel(c->MessageSetCancelBtn); });
  return page;
}

QWidget *buildAlert(SettingController *c, QWidget *parent) {
  auto *page = new QWidget(parent);
  auto *grid = new QGridLayout(page);
  grid->setAlignment(Qt::AlignTop);
  const char *texts[4] = {"Connect:", "Disconnect:", "Incoming SMS:", "Incoming Call:"};
  for (int type = 0; type < 4; ++type) {
    SoundRow &row = c->soundRows[type];
    row.text = worded<QLabel>(page, texts[type], texts[type]);
    row.mute = worded<QCheckBox>(page, "mute", "Mute");
    row.fileName = new QLineEdit(page);
    row.fileName->setReadOnly(true);
    row.browse = worded<QPushButton>(page, "browse", "Browse");
    row.play = new QPushButton(QStringLiteral("\u25B6"), page);
    row.play->setObjectName(QStringLiteral("play"));
    row.play->setFixedWidth(36);
    const QList<QWidget *> cells = {row.text, row.mute, row.fileName, row.browse, row.play};
    for (int col = 0; col < cells.size(); ++col)
      grid->addWidget(cells[col], type, col);
    QObject::connect(row.mute, &QCheckBox::clicked, c, [c, type] { c->setSoundMute(type); });
    QObject::connect(row.browse, &QPushButton::clicked, c, [c, type] { c->browseSoundFile(type); });
    QObject::connect(row.play, &QPushButton::clicked, c, [c, type] { c->playSoundOfType(type); });
  }
  grid->setColumnStretch(2, 1);
  return page;
}

} // namespace

const QList<Page> &pageTable() {
  static const QList<Page> table = {
      {"System", 0, "Setting_SystemBtn", buildSystem},
      {"SMS", 1, "Setting_SMSBtn", buildSms},
      {"Connect", 2, nullptr, buildConnect},
      {"Network", 3, "Setting_NetworkBtn", buildNetwork},
      {"Security", 4, "Setting_SecurityBtn", buildSecurity},
      {"Alert", 5, "Setting_AlertBtn", buildAlert},
      {"Browser", 7, "Setting_BrowserBtn", buildBrowser},
      {"Call", -1, nullptr, buildCall},
      {"FavoriteLinks", -1, nullptr, buildFavoriteLinks},
      // No page of this window for "Record", "OnlineUpdate", "Z3ISetting" and "Volume Limit":
      // the usage limits have their own window (the records' "Set limit"), updates are on the
      // System page; a configuration that lists them gets no empty page. The list still says
      // whether they are configured (sethasModuleWith).
  };
  return table;
}

QWidget *build(SettingController *c, QTabWidget *mainTabs) {
  auto *view = new QWidget(mainTabs);
  view->setObjectName(QStringLiteral("Setting"));
  view->setProperty("itemIdentifier", QStringLiteral("Setting"));
  c->settingView = view;
  auto *layout = new QHBoxLayout(view);
  auto *list = new QVBoxLayout;
  list->setAlignment(Qt::AlignTop);
  layout->addLayout(list);
  auto *right = new QVBoxLayout;
  layout->addLayout(right, 1);
  c->tfdSettingTitle = new QLabel(view);
  c->tfdSettingTitle->setObjectName(QStringLiteral("tfdSettingTitle"));
  QFont titleFont = c->tfdSettingTitle->font();
  titleFont.setBold(true);
  c->tfdSettingTitle->setFont(titleFont);
  right->addWidget(c->tfdSettingTitle);
  auto *tabs = new QTabWidget(view);
  tabs->setObjectName(QStringLiteral("tabviewSetting"));
  tabs->tabBar()->hide(); // the page list chooses the page
  right->addWidget(tabs, 1);
  c->tabviewSetting = tabs;

  for (const Page &p : pageTable()) {
    const QString id = QLatin1String(p.identifier);
    QWidget *page = p.build(c, tabs);
    page->setProperty("itemIdentifier", id);
    tabs->addTab(page, id);
    auto *button = new QPushButton(view);
    button->setObjectName(QStringLiteral("btnSetting") + id);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setProperty("pageIdentifier", id);
    button->setProperty("tag", p.tag);
    setWordingKey(button, p.buttonKey ? QLatin1String(p.buttonKey) : id);
    list->addWidget(button);
    c->settingPageButtons << button;
    QObject::connect(button, &QPushButton::clicked, c, [c, id] {
      if (c->shouldSelectSettingPage(id))
        c->selectSettingPage(id);
      else
        c->selectSettingPage(c->currentSettingPage()); // the refused click leaves the button as it was
    });
  }
  mainTabs->addTab(view, QStringLiteral("Setting"));
  return view;
}

} // namespace SettingPages
