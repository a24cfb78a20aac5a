#include "ProfileWindows.h"

#include "ButtonMatrix.h"
#include "DialController.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Captions without an outlet of their own are worded once, when the windows are built.
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

template <typename T> T *named(T *w, const char *name) {
  w->setObjectName(QLatin1String(name));
  return w;
}

QLineEdit *field(QWidget *parent, const char *name, bool password = false, bool readOnly = false) {
  auto *f = named(new QLineEdit(parent), name);
  if (password)
    f->setEchoMode(QLineEdit::Password);
  f->setReadOnly(readOnly);
  return f;
}

QLabel *caption(QWidget *parent, const char *name) {
  auto *l = named(new QLabel(parent), name);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return l;
}

// A radio group of `rows` rows in one column, or of the given shape.
ButtonMatrix *radios(QWidget *parent, const char *name, int rows, int columns = 1, int cellWidth = 300) {
  auto *m = named(new ButtonMatrix(parent), name);
  m->setMode(ButtonMatrix::RadioMode);
  m->setCellSize(QSize(cellWidth, 20));
  m->renewRows(rows, columns);
  if (QAbstractButton *first = m->cellAtRow(0, 0))
    first->setChecked(true);
  m->sizeToCells();
  m->setMinimumSize(m->size());
  return m;
}

QFrame *line(QWidget *parent, const char *name) {
  auto *f = named(new QFrame(parent), name);
  f->setFrameShape(QFrame::HLine);
  f->setFrameShadow(QFrame::Sunken);
  return f;
}

// The fields of one profile, shared in shape by the browse view ("b") and the edit sheet ("e").
struct ProfileForm {
  QLabel *profile, *tel, *user, *password, *apn, *preDns, *altDns, *address, *auth;
  QLineEdit *provider, *telNumber, *username, *pass, *apnName, *pdpAddress, *preferred, *alternate;
  QCheckBox *save, *ask;
  ButtonMatrix *apnMode, *pdpMode, *dnsMode, *authMode, *pdpType;
};

ProfileForm makeForm(QWidget *parent, QVBoxLayout *into, bool browse) {
  ProfileForm f{};
  auto *grid = new QGridLayout;
  int r = 0;
  const auto row = [&](QLabel *label, QWidget *w) {
    grid->addWidget(label, r, 0);
    grid->addWidget(w, r++, 1);
  };
  const auto wide = [&](QWidget *w) { grid->addWidget(w, r++, 1); };
  f.profile = caption(parent, browse ? "Config_Profile" : "EditConfig_Profile");
  f.provider = field(parent, browse ? "m_bProviderForConfig" : "m_eProviderForConfig", false, browse);
  row(f.profile, f.provider);
  f.tel = caption(parent, browse ? "Config_TelNumber" : "EditConfig_TelNumber");
  f.telNumber = field(parent, browse ? "m_bTelephoneNumber" : "m_eTelephoneNumber", false, browse);
  row(f.tel, f.telNumber);
  f.save = named(new QCheckBox(parent), browse ? "m_bIsSaveUserInfo" : "m_eIsSaveUserInfo");
  wide(f.save);
  f.user = caption(parent, browse ? "Config_UserName" : "EditConfig_UserName");
  f.username = field(parent, browse ? "m_bUsername" : "m_eUsername", false, browse);
  row(f.user, f.username);
  f.password = caption(parent, browse ? "Config_Password" : "EditConfig_Password");
  f.pass = field(parent, browse ? "m_bPassword" : "m_ePassword", true, browse);
  row(f.password, f.pass);
  f.ask = named(new QCheckBox(parent), browse ? "bAskUernameCheck_" : "eAskUernameCheck_");
  wide(f.ask);
  f.apnMode = radios(parent, browse ? "m_bIsAutoObtainAPN" : "m_eIsAutoObtainAPN", 2);
  wide(f.apnMode);
  f.apn = caption(parent, browse ? "Config_APN" : "EditConfig_APN");
  f.apnName = field(parent, browse ? "m_bAPN" : "m_eAPN", false, browse);
  row(f.apn, f.apnName);
  f.pdpMode = radios(parent, browse ? "m_bIsAutoObtainPDP" : "m_eIsAutoObtainPDP", 2);
  wide(f.pdpMode);
  f.address = caption(parent, browse ? "Config_Address" : "EditConfig_Address");
  f.pdpAddress = field(parent, browse ? "m_bPDPAddress" : "m_ePDPAddress", false, browse);
  row(f.address, f.pdpAddress);
  f.dnsMode = radios(parent, browse ? "m_bIsAutoObtainDNS" : "m_eIsAutoObtainDNS", 2);
  wide(f.dnsMode);
  f.preDns = caption(parent, browse ? "Config_PreferredDNS" : "EditConfig_PreferredDNS");
  f.preferred = field(parent, browse ? "m_bPreferredDNS" : "m_ePreferredDNS", false, browse);
  row(f.preDns, f.preferred);
  f.altDns = caption(parent, browse ? "Config_AlternateDNS" : "EditConfig_AlternateDNS");
  f.alternate = field(parent, browse ? "m_bAlternateDNS" : "m_eAlternateDNS", false, browse);
  row(f.altDns, f.alternate);
  f.auth = caption(parent, browse ? "Config_AuthMode" : "EditConfig_AuthMode");
  f.authMode = radios(parent, browse ? "m_bAuthMode" : "m_eAuthMode", 2, 1, 120);
  row(f.auth, f.authMode);
  f.pdpType = radios(parent, browse ? "bPDPTypeGroup_" : "ePDPTypeGroup_", 2, 2, 140);
  const char *types[] = {"IPv4", "PPP", "IPv4v6", "IPv6"}; // cells (0,0) (0,1) (1,0) (1,1)
  for (int i = 0; i < 4; ++i)
    f.pdpType->cellAtRow(i / 2, i % 2)->setText(QLatin1String(types[i]));
  wide(f.pdpType);
  grid->setColumnStretch(1, 1);
  into->addLayout(grid);
  return f;
}

void setBrowseOutlets(DialController *d, const ProfileForm &f) {
  d->Config_Profile = f.profile;
  d->Config_TelNumber = f.tel;
  d->Config_UserName = f.user;
  d->Config_Password = f.password;
  d->Config_APN = f.apn;
  d->Config_PreferredDNS = f.preDns;
  d->Config_AlternateDNS = f.altDns;
  d->Config_Address = f.address;
  d->Config_AuthMode = f.auth;
  d->m_bProviderForConfig = f.provider;
  d->m_bTelephoneNumber = f.telNumber;
  d->m_bUsername = f.username;
  d->m_bPassword = f.pass;
  d->m_bAPN = f.apnName;
  d->m_bPDPAddress = f.pdpAddress;
  d->m_bPreferredDNS = f.preferred;
  d->m_bAlternateDNS = f.alternate;
  d->m_bIsSaveUserInfo = f.save;
  d->bAskUernameCheck_ = f.ask;
  d->m_bIsAutoObtainAPN = f.apnMode;
  d->m_bIsAutoObtainPDP = f.pdpMode;
  d->m_bIsAutoObtainDNS = f.dnsMode;
  d->m_bAuthMode = f.authMode;
  d->bPDPTypeGroup_ = f.pdpType;
  // The browse view only shows.
  for (QWidget *w : std::initializer_list<QWidget *>{f.save, f.ask, f.apnMode, f.pdpMode, f.dnsMode, f.authMode})
    w->setEnabled(false);
}

void setEditOutlets(DialController *d, const ProfileForm &f) {
  d->EditConfig_Profile = f.profile;
  d->EditConfig_TelNumber = f.tel;
  d->EditConfig_UserName = f.user;
  d->EditConfig_Password = f.password;
  d->EditConfig_APN = f.apn;
  d->EditConfig_PreferredDNS = f.preDns;
  d->EditConfig_AlternateDNS = f.altDns;
  d->EditConfig_Address = f.address;
  d->EditConfig_AuthMode = f.auth;
  d->m_eProviderForConfig = f.provider;
  d->m_eTelephoneNumber = f.telNumber;
  d->m_eUsername = f.username;
  d->m_ePassword = f.pass;
  d->m_eAPN = f.apnName;
  d->m_ePDPAddress = f.pdpAddress;
  d->m_ePreferredDNS = f.preferred;
  d->m_eAlternateDNS = f.alternate;
  d->m_eIsSaveUserInfo = f.save;
  d->eAskUernameCheck_ = f.ask;
  d->m_eIsAutoObtainAPN = f.apnMode;
  d->m_eIsAutoObtainPDP = f.pdpMode;
  d->m_eIsAutoObtainDNS = f.dnsMode;
  d->m_eAuthMode = f.authMode;
  d->ePDPTypeGroup_ = f.pdpType;
}

QWidget *buildPageBox(DialController *d, QWidget *window) {
  auto *box = named(new QWidget(window), "viewDialProfile");
  auto *grid = new QGridLayout(box);
  d->Net_DefaultConfiguration = caption(box, "Net_DefaultConfiguration");
  d->m_DialConfigList = named(new QComboBox(box), "m_DialConfigList");
  d->m_DialConfigList->setMinimumWidth(220);
  d->Net_TelNumber = caption(box, "Net_TelNumber");
  d->m_TelephoneNumber = field(box, "m_TelephoneNumber", false, true);
  d->Net_UserName = caption(box, "Net_UserName");
  d->m_Username = field(box, "m_Username", false, true);
  d->Net_Password = caption(box, "Net_Password");
  d->m_Password = field(box, "m_Password", true, true);
  d->btnEnableAutoAPNMatch_ = named(new QCheckBox(box), "btnEnableAutoAPNMatch_");
  grid->addWidget(d->Net_DefaultConfiguration, 0, 0);
  grid->addWidget(d->m_DialConfigList, 0, 1);
  grid->addWidget(d->Net_TelNumber, 1, 0);
  grid->addWidget(d->m_TelephoneNumber, 1, 1);
  grid->addWidget(d->Net_UserName, 2, 0);
  grid->addWidget(d->m_Username, 2, 1);
  grid->addWidget(d->Net_Password, 3, 0);
  grid->addWidget(d->m_Password, 3, 1);
  grid->addWidget(d->btnEnableAutoAPNMatch_, 4, 1);
  grid->setColumnStretch(1, 1);
  return box;
}

void buildManagementSheet(DialController *d, QWidget *window) {
  auto *sheet = named(new QDialog(window), "m_dialConfigWindow");
  sheet->setWindowModality(Qt::WindowModal);
  auto *v = new QVBoxLayout(sheet);
  auto *top = new QHBoxLayout;
  auto *table = named(new QTableWidget(0, 1, sheet), "m_configListView");
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setStretchLastSection(true);
  table->verticalHeader()->hide();
  table->setMinimumSize(260, 160);
  top->addWidget(table, 1);
  auto *buttons = new QVBoxLayout;
  d->m_browseProfileBtn = named(new QPushButton(sheet), "m_browseProfileBtn");
  d->m_editProfileBtn = named(new QPushButton(sheet), "m_editProfileBtn");
  d->m_AddAPNInfoBtn = named(new QPushButton(sheet), "m_AddAPNInfoBtn");
  d->m_DelAPNInfoBtn = named(new QPushButton(sheet), "m_DelAPNInfoBtn");
  d->m_closeBtnForConfig = named(new QPushButton(sheet), "m_closeBtnForConfig");
  for (QPushButton *b : {d->m_AddAPNInfoBtn.data(), d->m_editProfileBtn.data(), d->m_DelAPNInfoBtn.data(),
                         d->m_browseProfileBtn.data()}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  buttons->addWidget(d->m_closeBtnForConfig);
  top->addLayout(buttons);
  v->addLayout(top);
  auto *browse = named(new QWidget(sheet), "viewDialBrowse_");
  auto *bv = new QVBoxLayout(browse);
  bv->setContentsMargins(0, 0, 0, 0);
  d->bottomDivideLine = line(browse, "bottomDivideLine");
  bv->addWidget(d->bottomDivideLine);
  const ProfileForm form = makeForm(browse, bv, true);
  setBrowseOutlets(d, form);
  d->tfBrowseApnIPv6_ = field(browse, "tfBrowseApnIPv6_", false, true);
  d->tfBrowseApnIPv6_->hide();
  browse->hide();
  v->addWidget(browse);
  d->m_dialConfigWindow = sheet;
  d->m_configListView = table;
  d->viewDialBrowse_ = browse;
}

// The IPv6 settings of double-PDP devices, below the IPv4 ones (shown only with IPv6 support).
void buildIPv6Box(DialController *d, QWidget *parent, QVBoxLayout *into) {
  auto *box = named(new QGroupBox(QStringLiteral("IPv6"), parent), "boxIPv6ApnConfig");
  auto *v = new QVBoxLayout(box);
  auto *inner = named(new QTabWidget(box), "tabviewIpv6ApnConfig_");
  auto *common = new QWidget(inner);
  auto *cf = new QFormLayout(common);
  d->checkSavePasswordForIPv6_ = named(new QCheckBox(common), "checkSavePasswordForIPv6_");
  cf->addRow(d->checkSavePasswordForIPv6_);
  d->tfUsernameForIPv6_ = field(common, "tfUsernameForIPv6_");
  cf->addRow(word("UserName:"), d->tfUsernameForIPv6_);
  d->tfPasswordForIPv6_ = field(common, "tfPasswordForIPv6_", true);
  cf->addRow(word("Password:"), d->tfPasswordForIPv6_);
  d->radioObtainApnIPv6_ = radios(common, "radioObtainApnIPv6_", 2);
  cf->addRow(d->radioObtainApnIPv6_);
  d->tfApnIPv6_ = field(common, "tfApnIPv6_");
  cf->addRow(word("APN:"), d->tfApnIPv6_);
  d->radioAuthModeIPv6_ = radios(common, "radioAuthModeIPv6_", 2, 1, 120);
  cf->addRow(d->radioAuthModeIPv6_);
  d->checkSinglePdp_ = named(new QCheckBox(QStringLiteral("Single PDP"), common), "checkSinglePdp_");
  cf->addRow(d->checkSinglePdp_);
  auto *advanced = new QWidget(inner);
  auto *af = new QFormLayout(advanced);
  d->radioObtainPdpIPv6_ = radios(advanced, "radioObtainPdpIPv6_", 2);
  af->addRow(d->radioObtainPdpIPv6_);
  d->tfPdpAddrIPv6_ = field(advanced, "tfPdpAddrIPv6_");
  af->addRow(word("Address:"), d->tfPdpAddrIPv6_);
  d->radioObtainDNSIPv6_ = radios(advanced, "radioObtainDNSIPv6_", 2);
  af->addRow(d->radioObtainDNSIPv6_);
  d->labelPreDNSIPv6_ = caption(advanced, "labelPreDNSIPv6_");
  d->tfPreferDNSIPv6_ = field(advanced, "tfPreferDNSIPv6_");
  af->addRow(d->labelPreDNSIPv6_, d->tfPreferDNSIPv6_);
  d->labelAltDNSIPv6_ = caption(advanced, "labelAltDNSIPv6_");
  d->tfAltDNSIPv6_ = field(advanced, "tfAltDNSIPv6_");
  af->addRow(d->labelAltDNSIPv6_, d->tfAltDNSIPv6_);
  inner->addTab(common, word("Common"));
  inner->addTab(advanced, word("Advanced"));
  v->addWidget(inner);
  d->tabviewIpv6ApnConfig_ = inner;
  box->hide();
  into->addWidget(box);
}

void buildEditSheet(DialController *d, QWidget *parent) {
  auto *sheet = named(new QDialog(parent), "m_profileEditWin");
  sheet->setWindowModality(Qt::WindowModal);
  auto *v = new QVBoxLayout(sheet);
  auto *tabs = named(new QTabWidget(sheet), "tabviewApnSettings_");
  auto *ipv4 = named(new QWidget(tabs), "viewIPv4ApnConfig");
  auto *iv = new QVBoxLayout(ipv4);
  d->eTopDivideLine = line(ipv4, "eTopDivideLine");
  iv->addWidget(d->eTopDivideLine);
  const ProfileForm form = makeForm(ipv4, iv, false);
  setEditOutlets(d, form);
  d->eBottomDivideLine = line(ipv4, "eBottomDivideLine");
  iv->addWidget(d->eBottomDivideLine);
  buildIPv6Box(d, ipv4, iv);
  tabs->addTab(ipv4, QStringLiteral("Common"));
  // The user never picks its page; the sheet shows its first.
  tabs->tabBar()->hide();
  v->addWidget(tabs);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  d->m_profileEditCancelBtn = named(new QPushButton(sheet), "m_profileEditCancelBtn");
  d->m_profileEditOKBtn = named(new QPushButton(sheet), "m_profileEditOKBtn");
  d->m_profileEditCancelBtn->setAutoDefault(false);
  d->m_profileEditOKBtn->setDefault(true);
  buttons->addWidget(d->m_profileEditCancelBtn);
  buttons->addWidget(d->m_profileEditOKBtn);
  v->addLayout(buttons);
  d->m_profileEditWin = sheet;
  d->tabviewApnSettings_ = tabs;
}

void buildAccountSheet(DialController *d, QWidget *window) {
  auto *sheet = named(new QDialog(window), "checkUernameWin_");
  sheet->setWindowModality(Qt::WindowModal);
  auto *grid = new QGridLayout(sheet);
  d->winUernameLabel_ = caption(sheet, "winUernameLabel_");
  d->winUernameText_ = field(sheet, "winUernameText_");
  d->winPasswordLabel_ = caption(sheet, "winPasswordLabel_");
  d->winPasswordText_ = field(sheet, "winPasswordText_", true);
  d->winAskUsernameCheck_ = named(new QCheckBox(sheet), "winAskUsernameCheck_");
  d->askWinOK_ = named(new QPushButton(sheet), "askWinOK_");
  d->askWinCancel_ = named(new QPushButton(sheet), "askWinCancel_");
  d->askWinOK_->setDefault(true);
  grid->addWidget(d->winUernameLabel_, 0, 0);
  grid->addWidget(d->winUernameText_, 0, 1);
  grid->addWidget(d->winPasswordLabel_, 1, 0);
  grid->addWidget(d->winPasswordText_, 1, 1);
  grid->addWidget(d->winAskUsernameCheck_, 2, 1);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(d->askWinCancel_);
  buttons->addWidget(d->askWinOK_);
  grid->addLayout(buttons, 3, 0, 1, 2);
  d->checkUernameWin_ = sheet;
}

// A question window of the connect road: a text and OK / Cancel, run through the question layer.
QDialog *buildQuestionSheet(QWidget *window, const char *name, QLabel **text) {
  auto *sheet = named(new QDialog(window), name);
  sheet->setWindowModality(Qt::WindowModal);
  auto *v = new QVBoxLayout(sheet);
  *text = named(new QLabel(sheet), "questionText");
  (*text)->setWordWrap(true);
  (*text)->setMinimumWidth(320);
  v->addWidget(*text);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  auto *cancel = named(new QPushButton(word("Cancel"), sheet), "btnCancel");
  auto *ok = named(new QPushButton(word("OK"), sheet), "btnOK");
  ok->setDefault(true);
  cancel->setAutoDefault(false);
  QObject::connect(ok, &QPushButton::clicked, sheet, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, sheet, &QDialog::reject);
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  v->addLayout(buttons);
  return sheet;
}

void buildConnectQuestions(DialController *d, QWidget *window) {
  QLabel *text = nullptr;
  d->wndConnectWarning_ = buildQuestionSheet(window, "wndConnectWarning_", &text);
  text->setText(
      word("We remind you that before connecting you must subcribe to an Internet Pack in order to get better rates."));
  d->promptOfAPNWinForZIZ_ = buildQuestionSheet(window, "promptOfAPNWinForZIZ_", &text);
  d->promptOfAPNForZIZ_ = text;
}

} // namespace

namespace ProfileWindows {

QWidget *build(DialController *dial, QWidget *window) {
  QWidget *box = buildPageBox(dial, window);
  buildManagementSheet(dial, window);
  buildEditSheet(dial, dial->m_dialConfigWindow);
  buildAccountSheet(dial, window);
  buildConnectQuestions(dial, window);
  return box;
}

} // namespace ProfileWindows
