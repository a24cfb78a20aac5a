#include "WLANPage.h"

#include "WLANController.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

struct Form {
  WLANController *c;
  int tab;
  QGroupBox *box;
  QGridLayout *grid;
  int row = 0;

  QLabel *label(const QString &key) {
    auto *l = new QLabel(key, box);
    c->wordedControls[tab].append({l, key});
    grid->addWidget(l, row, 0);
    return l;
  }
  template <typename W> W *add(const QString &labelKey, W *w, QLabel **labelOut = nullptr) {
    QLabel *l = label(labelKey);
    if (labelOut)
      *labelOut = l;
    grid->addWidget(w, row++, 1);
    return w;
  }
};

QLineEdit *lineEdit(WLANController *c, QWidget *parent, const char *name) {
  auto *e = new QLineEdit(parent);
  e->setObjectName(QLatin1String(name));
  QObject::connect(e, &QLineEdit::textEdited, c, [c, e] { c->controlTextDidChange(e); });
  QObject::connect(e, &QLineEdit::editingFinished, c, [c, e] { c->controlTextDidEndEditing(e); });
  return e;
}

QComboBox *combo(WLANController *c, QWidget *parent, const char *name) {
  auto *b = new QComboBox(parent);
  b->setObjectName(QLatin1String(name));
  b->setEditable(true);
  b->setInsertPolicy(QComboBox::NoInsert);
  b->setMinimumWidth(140);
  QObject::connect(b, &QComboBox::activated, c, [c, b] { c->comboBoxSelectionDidChange(b); });
  return b;
}

QPushButton *button(WLANController *c, QWidget *parent, int tab, const QString &key, const char *name,
                    void (WLANController::*action)()) {
  auto *b = new QPushButton(key, parent);
  b->setObjectName(QLatin1String(name));
  c->wordedControls[tab].append({b, key});
  QObject::connect(b, &QPushButton::clicked, c, action);
  return b;
}

// A radio matrix: one button per (tag, wording key), in a group whose ids are the tags.
QButtonGroup *matrix(WLANController *c, QWidget *parent, int tab, QList<QPair<int, QString>> cells,
                     void (WLANController::*action)(), QWidget **holder) {
  auto *row = new QWidget(parent);
  auto *layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto *group = new QButtonGroup(row);
  for (const auto &[tag, key] : cells) {
    auto *r = new QRadioButton(key, row);
    c->wordedControls[tab].append({r, key});
    group->addButton(r, tag);
    layout->addWidget(r);
  }
  layout->addStretch();
  QObject::connect(group, &QButtonGroup::idClicked, c, action);
  *holder = row;
  return group;
}

Form page(WLANController *c, QTabWidget *tabs, int tab, const char *boxKey) {
  const QString identifier = WLANController::tabIdentifiers().at(tab);
  auto *p = new QWidget(tabs);
  p->setObjectName(identifier);
  auto *v = new QVBoxLayout(p);
  auto *box = new QGroupBox(QLatin1String(boxKey), p);
  c->wordedControls[tab].append({box, QLatin1String(boxKey)});
  v->addWidget(box);
  v->addStretch();
  tabs->addTab(p, identifier);
  return Form{c, tab, box, new QGridLayout(box)};
}

QHBoxLayout *buttonRow(Form &f) {
  auto *h = new QHBoxLayout;
  h->addStretch();
  f.grid->addLayout(h, f.row++, 0, 1, 2);
  return h;
}

void buildBasic(WLANController *c, QTabWidget *tabs) {
  Form f = page(c, tabs, 0, "Basic Settings");
  c->BasicSettings = f.box;
  c->SSIDName = f.add("Network Name(SSID)", lineEdit(c, f.box, "SSIDName"));
  c->channel = f.add("Frequency(Channel)", combo(c, f.box, "channel"));
  c->WLANMode = f.add("Network Mode", combo(c, f.box, "WLANMode"));
  c->WLANRate = f.add("Rate", combo(c, f.box, "WLANRate"));
  QWidget *holder = nullptr;
  c->brocastEnable = matrix(c, f.box, 0, {{0, QStringLiteral("Enabled")}, {1, QStringLiteral("Disabled")}},
                            &WLANController::hideSSIDBroadcast, &holder);
  f.add("Broadcast SSID", holder);
  QHBoxLayout *h = buttonRow(f);
  c->wifiRestore = button(c, f.box, 0, QStringLiteral("Restore"), "wifiRestore", &WLANController::restoreBasic);
  c->WLANBasicApply = button(c, f.box, 0, QStringLiteral("Apply"), "WLANBasicApply", &WLANController::applyBasic);
  c->WLANBasicCancel = button(c, f.box, 0, QStringLiteral("Cancel"), "WLANBasicCancel", &WLANController::cancelBasic);
  for (QPushButton *b : {c->wifiRestore.data(), c->WLANBasicApply.data(), c->WLANBasicCancel.data()})
    h->addWidget(b);
}

void buildSecurity(WLANController *c, QTabWidget *tabs) {
  Form f = page(c, tabs, 1, "Security Settings");
  c->SecuritySettings = f.box;
  c->authenticationType = f.add("Security Mode", combo(c, f.box, "authenticationType"));
  c->MAXNum = f.add("MAX Staion Number", combo(c, f.box, "MAXNum"));
  c->encryptionMode = f.add("Encrypt Type", combo(c, f.box, "encryptionMode"));
  {
    // The pass phrase is a secret: hidden as typed, shown only on request.
    auto *row = new QWidget(f.box);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    c->WPAPreShredKey = lineEdit(c, row, "WPAPreShredKey");
    c->WPAPreShredKey->setEchoMode(QLineEdit::Password);
    c->showPassPhrase = new QCheckBox(QStringLiteral("Show"), row);
    c->showPassPhrase->setObjectName(QStringLiteral("showPassPhrase"));
    c->wordedControls[1].append({c->showPassPhrase.data(), QStringLiteral("Show")});
    QObject::connect(c->showPassPhrase, &QCheckBox::toggled, c, &WLANController::showSecrets);
    h->addWidget(c->WPAPreShredKey, 1);
    h->addWidget(c->showPassPhrase);
    f.add("Pass Phrase", row);
  }
  for (int i = 0; i < 4; ++i) {
    auto *row = new QWidget(f.box);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    const QByteArray keyName = "WEPKey" + QByteArray::number(i + 1);
    const QByteArray modelName = "WEPKeyModel" + QByteArray::number(i + 1);
    c->WEPKeyModel[i] = combo(c, row, modelName.constData());
    c->WEPKeyModel[i]->setMinimumWidth(90);
    c->WEPKey[i] = lineEdit(c, row, keyName.constData());
    c->WEPKey[i]->setEchoMode(QLineEdit::Password);
    h->addWidget(c->WEPKeyModel[i]);
    h->addWidget(c->WEPKey[i], 1);
    QLabel *label = nullptr;
    f.add(QStringLiteral("WEP Keys %1").arg(i + 1), row, &label);
    c->WEPKeyLabel[i] = label;
  }
  QLabel *indexLabel = nullptr;
  c->WEPKeyIndex = f.add("Default Key", combo(c, f.box, "WEPKeyIndex"), &indexLabel);
  c->WEPKeyIndexLabel = indexLabel;
  QHBoxLayout *h = buttonRow(f);
  c->WLANSecurityApply =
      button(c, f.box, 1, QStringLiteral("Apply"), "WLANSecurityApply", &WLANController::applySecurity);
  c->WLANSecurityCancel =
      button(c, f.box, 1, QStringLiteral("Cancel"), "WLANSecurityCancel", &WLANController::cancelSecurity);
  h->addWidget(c->WLANSecurityApply);
  h->addWidget(c->WLANSecurityCancel);
}

void buildRouter(WLANController *c, QTabWidget *tabs) {
  Form f = page(c, tabs, 3, "Router Settings");
  c->RouterSettings = f.box;
  c->IPAddress = f.add("IP Address", lineEdit(c, f.box, "IPAddress"));
  c->subnetMask = f.add("Subnet Mask", lineEdit(c, f.box, "subnetMask"));
  QWidget *holder = nullptr;
  c->DHCPServerEnable = matrix(c, f.box, 3, {{0, QStringLiteral("Disabled")}, {1, QStringLiteral("Enabled")}},
                               &WLANController::enableDHCPServer, &holder);
  f.add("DHCP Server", holder);
  c->DHCPStartIP = f.add("DHCP Start IP", lineEdit(c, f.box, "DHCPStartIP"));
  c->DHCPEndIP = f.add("DHCP End IP", lineEdit(c, f.box, "DHCPEndIP"));
  c->DHCPLeaseTime = f.add("DHCP Lease Time(h)", lineEdit(c, f.box, "DHCPLeaseTime"));
  QHBoxLayout *h = buttonRow(f);
  c->DHCPApply = button(c, f.box, 3, QStringLiteral("Apply"), "DHCPApply", &WLANController::applyDHCP);
  c->DHCPCancel = button(c, f.box, 3, QStringLiteral("Cancel"), "DHCPCancel", &WLANController::cancelDHCP);
  h->addWidget(c->DHCPApply);
  h->addWidget(c->DHCPCancel);
}

QTableWidget *ruleTable(WLANController *c, QWidget *parent, int tab, const char *name,
                        QList<QPair<QString, QString>> columns) {
  auto *t = new QTableWidget(0, int(columns.size()), parent);
  t->setObjectName(QLatin1String(name));
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->verticalHeader()->hide();
  t->horizontalHeader()->setStretchLastSection(true);
  int column = 0;
  for (const auto &[identifier, key] : columns) {
    // The header keeps its key: the tab's wording words it and sizes the column to the title.
    auto *item = new QTableWidgetItem(key);
    item->setData(Qt::UserRole, key);
    t->setHorizontalHeaderItem(column++, item);
  }
  c->wordedControls[tab].append({t, QString()});
  QObject::connect(t, &QTableWidget::itemSelectionChanged, c, [c, t] { c->tableViewSelectionDidChange(t); });
  return t;
}

// The six sheet buttons in one row.
QHBoxLayout *sheetButtons(WLANController *c, QWidget *parent, QPointer<QPushButton> *out[6],
                          void (WLANController::*actions[6])(), const char *prefix) {
  static const char *const keys[] = {"New", "Edit", "Delete", "Save", "Cancel", "Close"};
  auto *h = new QHBoxLayout;
  for (int i = 0; i < 6; ++i) {
    const QByteArray name = QByteArray(prefix) + keys[i];
    *out[i] = button(c, parent, 2, QLatin1String(keys[i]), name.constData(), actions[i]);
    h->addWidget(*out[i]);
  }
  return h;
}

void buildIPFilterSheet(WLANController *c, QWidget *parent) {
  auto *d = new QDialog(parent);
  d->setObjectName(QStringLiteral("IPFilterWindow"));
  c->wordedControls[2].append({d, QStringLiteral("IP Filter")});
  d->resize(760, 480);
  c->IPFilterWindow = d;
  auto *v = new QVBoxLayout(d);
  c->IPFilterList = ruleTable(c, d, 2, "IPFilterList",
                              {{"Name", "Comment"},
                               {"Source IP Address", "Source IP Address"},
                               {"Source Port Start", "Source Port Start"},
                               {"Source Port End", "Source Port End"},
                               {"Destination IP Address", "Destination IP Address"},
                               {"Destination Port Start", "Destination Port Start"},
                               {"Destination Port End", "Destination Port End"},
                               {"Protocol", "Protocol"},
                               {"Action", "Action"},
                               {"Mac Address", "MAC address"}});
  v->addWidget(c->IPFilterList, 1);
  auto *editor = new QWidget(d);
  auto *grid = new QGridLayout(editor);
  Form f{c, 2, nullptr, grid};
  auto addLabel = [&](const char *key, int r, int col) {
    auto *l = new QLabel(QLatin1String(key), editor);
    c->wordedControls[2].append({l, QLatin1String(key)});
    grid->addWidget(l, r, col);
  };
  addLabel("Comment", 0, 0);
  c->IF_Name = lineEdit(c, editor, "IF_Name");
  grid->addWidget(c->IF_Name, 0, 1, 1, 3);
  addLabel("Source IP Address", 1, 0);
  c->IF_SourceIPAddress = lineEdit(c, editor, "IF_SourceIPAddress");
  grid->addWidget(c->IF_SourceIPAddress, 1, 1);
  addLabel("Source Port Range", 1, 2);
  c->IF_SourcePortStart = lineEdit(c, editor, "IF_SourcePortStart");
  c->IF_SourcePortEnd = lineEdit(c, editor, "IF_SourcePortEnd");
  auto *sp = new QHBoxLayout;
  sp->addWidget(c->IF_SourcePortStart);
  sp->addWidget(c->IF_SourcePortEnd);
  grid->addLayout(sp, 1, 3);
  addLabel("Dest IP Address", 2, 0);
  c->IF_DestIPAddress = lineEdit(c, editor, "IF_DestIPAddress");
  grid->addWidget(c->IF_DestIPAddress, 2, 1);
  addLabel("Dest Port Range", 2, 2);
  c->IF_DestPortStart = lineEdit(c, editor, "IF_DestPortStart");
  c->IF_DestPortEnd = lineEdit(c, editor, "IF_DestPortEnd");
  auto *dp = new QHBoxLayout;
  dp->addWidget(c->IF_DestPortStart);
  dp->addWidget(c->IF_DestPortEnd);
  grid->addLayout(dp, 2, 3);
  addLabel("Protocol", 3, 0);
  c->IF_Protocol = combo(c, editor, "IF_Protocol");
  grid->addWidget(c->IF_Protocol, 3, 1);
  addLabel("Action", 3, 2);
  c->IF_Action = combo(c, editor, "IF_Action");
  grid->addWidget(c->IF_Action, 3, 3);
  addLabel("MAC Address", 4, 0);
  auto *mac = new QHBoxLayout;
  for (int i = 0; i < 6; ++i) {
    const QByteArray name = "IF_MACAddress" + QByteArray::number(i + 1);
    c->IF_MACAddress[i] = lineEdit(c, editor, name.constData());
    c->IF_MACAddress[i]->setMaximumWidth(40);
    mac->addWidget(c->IF_MACAddress[i]);
  }
  mac->addStretch();
  grid->addLayout(mac, 4, 1, 1, 3);
  Q_UNUSED(f)
  v->addWidget(editor);
  QPointer<QPushButton> *out[6] = {&c->IF_New, &c->IF_Edit, &c->IF_Delete, &c->IF_Save, &c->IF_Cancel, &c->IF_Close};
  void (WLANController::*actions[6])() = {&WLANController::IFNEW,    &WLANController::IFEDIT,
                                          &WLANController::IFDELETE, &WLANController::IFListSave,
                                          &WLANController::IFCANCEL, &WLANController::IFListClose};
  v->addLayout(sheetButtons(c, d, out, actions, "IF_"));
}

void buildVirtualServerSheet(WLANController *c, QWidget *parent) {
  auto *d = new QDialog(parent);
  d->setObjectName(QStringLiteral("VirtualServicesWindow"));
  c->wordedControls[2].append({d, QStringLiteral("Virtual Server")});
  d->resize(600, 420);
  c->VirtualServicesWindow = d;
  auto *v = new QVBoxLayout(d);
  c->VirtualServicesList = ruleTable(c, d, 2, "VirtualServicesList",
                                     {{"Name", "Comment"},
                                      {"IP Address", "IP Address"},
                                      {"Port start", "Port Start"},
                                      {"Port end", "Port End"},
                                      {"Protocol", "Protocol"}});
  v->addWidget(c->VirtualServicesList, 1);
  auto *editor = new QWidget(d);
  auto *grid = new QGridLayout(editor);
  auto addLabel = [&](const char *key, int r, int col) {
    auto *l = new QLabel(QLatin1String(key), editor);
    c->wordedControls[2].append({l, QLatin1String(key)});
    grid->addWidget(l, r, col);
  };
  addLabel("Comment", 0, 0);
  c->VS_Name = lineEdit(c, editor, "VS_Name");
  grid->addWidget(c->VS_Name, 0, 1);
  addLabel("IP Address", 0, 2);
  c->VS_IPAddress = lineEdit(c, editor, "VS_IPAddress");
  grid->addWidget(c->VS_IPAddress, 0, 3);
  addLabel("Port Range", 1, 0);
  c->VS_PortStart = lineEdit(c, editor, "VS_PortStart");
  c->VS_PortEnd = lineEdit(c, editor, "VS_PortEnd");
  auto *pr = new QHBoxLayout;
  pr->addWidget(c->VS_PortStart);
  pr->addWidget(c->VS_PortEnd);
  grid->addLayout(pr, 1, 1);
  addLabel("Protocol", 1, 2);
  c->VS_Protocol = combo(c, editor, "VS_Protocol");
  grid->addWidget(c->VS_Protocol, 1, 3);
  v->addWidget(editor);
  QPointer<QPushButton> *out[6] = {&c->VS_New, &c->VS_Edit, &c->VS_Delete, &c->VS_Save, &c->VS_Cancel, &c->VS_Close};
  void (WLANController::*actions[6])() = {&WLANController::VSNEW,    &WLANController::VSEDIT,
                                          &WLANController::VSDELETE, &WLANController::VSListSave,
                                          &WLANController::VSCANCEL, &WLANController::VSListClose};
  v->addLayout(sheetButtons(c, d, out, actions, "VS_"));
}

void buildFirewall(WLANController *c, QTabWidget *tabs, QWidget *sheetParent) {
  const QString identifier = WLANController::tabIdentifiers().at(2);
  auto *p = new QWidget(tabs);
  p->setObjectName(identifier);
  auto *v = new QVBoxLayout(p);
  auto box = [&](const char *key) {
    auto *b = new QGroupBox(QLatin1String(key), p);
    c->wordedControls[2].append({b, QLatin1String(key)});
    v->addWidget(b);
    return b;
  };
  c->IPFilter = box("IP Filter");
  auto *g1 = new QGridLayout(c->IPFilter);
  c->IPFilterEnable = new QCheckBox(QStringLiteral("MAC/IP/Port Filtering"), c->IPFilter);
  c->IPFilterEnable->setObjectName(QStringLiteral("IPFilterEnable"));
  c->wordedControls[2].append({c->IPFilterEnable.data(), QStringLiteral("MAC/IP/Port Filtering")});
  QObject::connect(c->IPFilterEnable, &QCheckBox::clicked, c, &WLANController::enableIPFilter);
  g1->addWidget(c->IPFilterEnable, 0, 0, 1, 2);
  auto *policyLabel = new QLabel(QStringLiteral("Default Policy"), c->IPFilter);
  c->wordedControls[2].append({policyLabel, QStringLiteral("Default Policy")});
  g1->addWidget(policyLabel, 1, 0);
  c->IPFilterPolicy = combo(c, c->IPFilter, "IPFilterPolicy");
  g1->addWidget(c->IPFilterPolicy, 1, 1);
  c->IPFilterAdvanced =
      button(c, c->IPFilter, 2, QStringLiteral("Advanced"), "IPFilterAdvanced", &WLANController::advancedIPFilter);
  g1->addWidget(c->IPFilterAdvanced, 1, 2);
  c->VirtualServer = box("Virtual Server");
  auto *g2 = new QGridLayout(c->VirtualServer);
  c->virtualServerEnable = new QCheckBox(QStringLiteral("Virtual Server Settings"), c->VirtualServer);
  c->virtualServerEnable->setObjectName(QStringLiteral("virtualServerEnable"));
  c->wordedControls[2].append({c->virtualServerEnable.data(), QStringLiteral("Virtual Server Settings")});
  QObject::connect(c->virtualServerEnable, &QCheckBox::clicked, c, &WLANController::enableVirtualServer);
  g2->addWidget(c->virtualServerEnable, 0, 0);
  c->virtualServerAdvanced = button(c, c->VirtualServer, 2, QStringLiteral("Advanced"), "virtualServerAdvanced",
                                    &WLANController::advancedVirtualServer);
  g2->addWidget(c->virtualServerAdvanced, 0, 1);
  v->addStretch();
  tabs->insertTab(2, p, identifier);
  buildIPFilterSheet(c, sheetParent);
  buildVirtualServerSheet(c, sheetParent);
}

} // namespace

QWidget *WLANPage::build(WLANController *c, QWidget *parent) {
  auto *view = new QWidget(parent);
  view->setObjectName(QStringLiteral("WLAN"));
  auto *layout = new QVBoxLayout(view);
  layout->setContentsMargins(0, 0, 0, 0);
  // Says why the page is disabled, or that an apply was taken; never a window of its own.
  c->statusNote = new QLabel(view);
  c->statusNote->setObjectName(QStringLiteral("WLANStatusNote"));
  c->statusNote->setWordWrap(true);
  c->statusNote->hide();
  layout->addWidget(c->statusNote);
  auto *tabs = new QTabWidget(view);
  tabs->setObjectName(QStringLiteral("WLANTab"));
  layout->addWidget(tabs);
  c->WLANView = view;
  c->WLANTab = tabs;
  buildBasic(c, tabs);
  buildSecurity(c, tabs);
  buildRouter(c, tabs);
  buildFirewall(c, tabs, parent ? parent->window() : view);
  return view;
}
