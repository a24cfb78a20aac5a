// The firewall's two rule sheets: the router's IP filter and virtual server lists, each with a
// rule editor. One add, change or delete goes out at a time; after a successful one the whole
// list is read again. Every list read replaces the rows, so a read the router sends on its own
// never doubles them.
#include "WLANController.h"

#include "QELFormatter.h"
#include "WordGlobe.h"

#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace WLANChecks;

namespace {
const QString kNone = QStringLiteral("-");

QString addressOrNone(const QString &address) {
  return address == QLatin1String("0.0.0.0") ? kNone : address;
}

void portPair(QVariantMap &row, const char *beginKey, const char *endKey, quint32 begin, quint32 end) {
  const bool none = begin == 0 && end == 0;
  row.insert(QLatin1String(beginKey), none ? kNone : QString::number(begin));
  row.insert(QLatin1String(endKey), none ? kNone : QString::number(end));
}

const QStringList &ipColumns() {
  static const QStringList keys = {
      QStringLiteral("IFname"),          QStringLiteral("IFsourceip"), QStringLiteral("IFsourceportbegin"),
      QStringLiteral("IFsourceportend"), QStringLiteral("IFdestip"),   QStringLiteral("IFdestportbegin"),
      QStringLiteral("IFdestportend"),   QStringLiteral("IFprotocol"), QStringLiteral("IFaction"),
      QStringLiteral("IFmacaddress")};
  return keys;
}

const QStringList &vsColumns() {
  static const QStringList keys = {QStringLiteral("VSName"), QStringLiteral("VSIP"), QStringLiteral("VSPortStart"),
                                   QStringLiteral("VSPortEnd"), QStringLiteral("VSProtocol")};
  return keys;
}

void fillTable(QTableWidget *table, const QVariantList &rows, const QStringList &keys) {
  if (!table)
    return;
  const QSignalBlocker blocker(table);
  table->clearSelection();
  table->setRowCount(int(rows.size()));
  for (int r = 0; r < rows.size(); ++r) {
    const QVariantMap row = rows.at(r).toMap();
    for (int c = 0; c < keys.size(); ++c) {
      auto *item = new QTableWidgetItem(row.value(keys.at(c)).toString());
      item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
      table->setItem(r, c, item);
    }
  }
}

void enable(std::initializer_list<QWidget *> widgets, bool on) {
  for (QWidget *w : widgets)
    if (w)
      w->setEnabled(on);
}

void setText(QLineEdit *field, const QString &text) {
  if (field)
    field->setText(text);
}

QString text(const QLineEdit *field) {
  return field ? field->text() : QString();
}

// Begins a rule sheet on the main window: window-modal, never blocking the event loop, so
// packages keep arriving while it is open.
void beginSheet(QDialog *sheet, QWidget *window) {
  if (!sheet)
    return;
  if (window && sheet->parentWidget() != window)
    sheet->setParent(window, Qt::Dialog);
  sheet->setWindowModality(Qt::WindowModal);
  sheet->open();
}

void endSheet(QDialog *sheet) {
  if (sheet && sheet->isVisible()) {
    sheet->hide();
    sheet->done(QDialog::Rejected);
  }
}
} // namespace

int WLANController::selectedRow(QTableWidget *table) const {
  if (!table)
    return -1;
  const QList<QTableWidgetItem *> items = table->selectedItems();
  return items.isEmpty() ? -1 : items.first()->row();
}

// ---- rows ----

void WLANController::cleanIPList() {
  IFInformation_list.clear();
  IFInformation_count = 0;
}

void WLANController::cleanVSList() {
  VSInformation_list.clear();
  VSInformation_count = 0;
}

void WLANController::addIPInformation(const QVariantMap &row) {
  IFInformation_list << row;
  ++IFInformation_count;
}

void WLANController::addVSInformation(const QVariantMap &row) {
  VSInformation_list << row;
  ++VSInformation_count;
}

void WLANController::refreshIPTable() {
  fillTable(IPFilterList, IFInformation_list, ipColumns());
}

void WLANController::refreshVSTable() {
  fillTable(VirtualServicesList, VSInformation_list, vsColumns());
}

void WLANController::showIPFilterList(const IPFilterListReply &reply) {
  cleanIPList();
  for (const IPFilterListEntry &e : reply.entries) {
    QVariantMap row;
    row.insert(QStringLiteral("IFindex"), qint64(e.index));
    row.insert(QStringLiteral("IFname"), e.comment);
    row.insert(QStringLiteral("IFdestip"), addressOrNone(e.destIp));
    row.insert(QStringLiteral("IFsourceip"), addressOrNone(e.sourceIp));
    portPair(row, "IFdestportbegin", "IFdestportend", e.destPortBegin, e.destPortEnd);
    portPair(row, "IFsourceportbegin", "IFsourceportend", e.sourcePortBegin, e.sourcePortEnd);
    row.insert(QStringLiteral("IFprotocol"), getComboxDisplay(qint64(e.protocol) - 1, protocolTable()));
    row.insert(QStringLiteral("IFaction"), getComboxDisplay(e.action, actionTable()));
    row.insert(QStringLiteral("IFmacaddress"), e.mac == QLatin1String(WLANMsg::kEmptyMac) ? kNone : e.mac);
    addIPInformation(row);
  }
  refreshIPTable();
}

void WLANController::showVirtualServerList(const VirtualServerListReply &reply) {
  cleanVSList();
  for (const VirtualServerListEntry &e : reply.entries) {
    QVariantMap row;
    row.insert(QStringLiteral("VSIndex"), qint64(e.index));
    row.insert(QStringLiteral("VSName"), e.comment);
    row.insert(QStringLiteral("VSIP"), e.ip);
    portPair(row, "VSPortStart", "VSPortEnd", e.portBegin, e.portEnd);
    // Only the first three protocols belong to a virtual server.
    row.insert(QStringLiteral("VSProtocol"), e.protocol >= 1 && e.protocol <= 3
                                                 ? getComboxDisplay(qint64(e.protocol) - 1, protocolTable())
                                                 : QString());
    addVSInformation(row);
  }
  refreshVSTable();
}

// ---- opening and closing ----

void WLANController::advancedIPFilter() {
  cleanIPList();
  refreshIPTable();
  sendReadIPFilter();
  if (IPFilterList)
    IPFilterList->clearSelection();
  enable({IF_New}, true);
  enable({IF_Edit, IF_Save, IF_Delete, IF_Cancel}, false);
  setIPList(false);
  beginSheet(IPFilterWindow, wndMain);
}

void WLANController::advancedVirtualServer() {
  cleanVSList();
  refreshVSTable();
  sendReadVirtualServer();
  if (VirtualServicesList)
    VirtualServicesList->clearSelection();
  enable({VS_New}, true);
  enable({VS_Edit, VS_Save, VS_Delete, VS_Cancel}, false);
  setVSList(false);
  beginSheet(VirtualServicesWindow, wndMain);
}

void WLANController::IFListClose() {
  endSheet(IPFilterWindow);
}

void WLANController::VSListClose() {
  endSheet(VirtualServicesWindow);
}

// ---- editors ----

void WLANController::setIPList(bool editable) {
  QList<QWidget *> fields = {IF_Name,          IF_SourceIPAddress, IF_SourcePortStart,
                             IF_SourcePortEnd, IF_DestIPAddress,   IF_DestPortStart,
                             IF_DestPortEnd,   IF_Protocol,        IF_Action};
  for (const auto &mac : IF_MACAddress)
    fields << mac;
  for (QWidget *w : fields)
    if (w)
      w->setEnabled(editable);
  if (editable)
    return;
  setAddressFormatter(IF_SourceIPAddress, false);
  setAddressFormatter(IF_DestIPAddress, false);
  for (QWidget *w : fields) {
    if (auto *line = qobject_cast<QLineEdit *>(w))
      line->clear();
    else if (auto *combo = qobject_cast<QComboBox *>(w))
      combo->setEditText(QString());
  }
}

void WLANController::setVSList(bool editable) {
  for (QWidget *w : std::initializer_list<QWidget *>{VS_Name, VS_IPAddress, VS_PortStart, VS_PortEnd, VS_Protocol})
    if (w)
      w->setEnabled(editable);
  setAddressFormatter(VS_IPAddress, editable);
  if (editable)
    return;
  for (QLineEdit *f : {VS_Name.data(), VS_IPAddress.data(), VS_PortStart.data(), VS_PortEnd.data()})
    if (f)
      f->clear();
  if (VS_Protocol)
    VS_Protocol->setEditText(QString());
}

void WLANController::IFNEW() {
  ipRule.if_oper = kRuleAdd;
  setIPList(true);
  enable({IF_New, IF_Edit, IF_Delete}, false);
  enable({IF_Save, IF_Cancel}, true);
  for (QLineEdit *f : {IF_Name.data(), IF_SourceIPAddress.data(), IF_SourcePortStart.data(), IF_SourcePortEnd.data(),
                       IF_DestIPAddress.data(), IF_DestPortStart.data(), IF_DestPortEnd.data()})
    if (f)
      f->clear();
  for (const auto &mac : IF_MACAddress)
    if (mac)
      mac->clear();
  for (QComboBox *c : {IF_Protocol.data(), IF_Action.data()})
    if (c)
      c->setEditText(QString());
}

void WLANController::VSNEW() {
  vsRule.vs_oper = kRuleAdd;
  setVSList(true);
  enable({VS_New, VS_Edit, VS_Delete}, false);
  enable({VS_Save, VS_Cancel}, true);
  setText(VS_Name, QString());
  setText(VS_IPAddress, QString());
  setText(VS_PortStart, QStringLiteral("1"));
  setText(VS_PortEnd, QStringLiteral("65535"));
  if (VS_Protocol)
    VS_Protocol->setEditText(QString());
}

void WLANController::IFEDIT() {
  ipRule.if_oper = kRuleChange;
  showIPRule(selectedRow(IPFilterList));
  setIPList(true);
  enable({IF_New, IF_Edit, IF_Delete}, false);
  enable({IF_Save, IF_Cancel}, true);
}

void WLANController::VSEDIT() {
  vsRule.vs_oper = kRuleChange;
  showVSRule(selectedRow(VirtualServicesList));
  setVSList(true);
  enable({VS_New, VS_Edit, VS_Delete}, false);
  enable({VS_Save, VS_Cancel}, true);
}

void WLANController::IFDELETE() {
  const int row = selectedRow(IPFilterList);
  if (row < 0 || row >= IFInformation_list.size())
    return;
  ipRule = IPFilterRuleRecord();
  ipRule.if_oper = kRuleDelete;
  ipRule.if_index = quint32(IFInformation_list.at(row).toMap().value(QStringLiteral("IFindex")).toLongLong());
  setIPList(false);
  enable({IF_New}, true);
  enable({IF_Edit, IF_Delete, IF_Save, IF_Cancel}, false);
  sendApplyIPFilter();
}

void WLANController::VSDELETE() {
  const int row = selectedRow(VirtualServicesList);
  if (row < 0 || row >= VSInformation_list.size())
    return;
  vsRule = VirtualServerRuleRecord();
  vsRule.vs_oper = kRuleDelete;
  vsRule.vs_index = quint32(VSInformation_list.at(row).toMap().value(QStringLiteral("VSIndex")).toLongLong());
  setVSList(false);
  enable({VS_New}, true);
  enable({VS_Edit, VS_Delete, VS_Save, VS_Cancel}, false);
  sendApplyVirtualServer();
}

void WLANController::showIPRule(int rowIndex) {
  if (rowIndex < 0 || rowIndex >= IFInformation_list.size())
    return;
  const QVariantMap row = IFInformation_list.at(rowIndex).toMap();
  auto value = [&row](const char *key) {
    const QString v = row.value(QLatin1String(key)).toString();
    return v == kNone ? QString() : v;
  };
  setText(IF_Name, row.value(QStringLiteral("IFname")).toString());
  if (IF_Protocol)
    IF_Protocol->setEditText(row.value(QStringLiteral("IFprotocol")).toString());
  if (IF_Action)
    IF_Action->setEditText(row.value(QStringLiteral("IFaction")).toString());
  setText(IF_SourceIPAddress, value("IFsourceip"));
  setText(IF_DestIPAddress, value("IFdestip"));
  setText(IF_SourcePortStart, value("IFsourceportbegin"));
  setText(IF_SourcePortEnd, value("IFsourceportend"));
  setText(IF_DestPortStart, value("IFdestportbegin"));
  setText(IF_DestPortEnd, value("IFdestportend"));
  // A MAC text that is not six parts fills what it has; the rest stays empty.
  const QStringList octets = value("IFmacaddress").isEmpty() ? QStringList() : value("IFmacaddress").split(':');
  for (int i = 0; i < 6; ++i)
    setText(IF_MACAddress[i], octets.value(i).left(2));
}

void WLANController::showVSRule(int rowIndex) {
  if (rowIndex < 0 || rowIndex >= VSInformation_list.size())
    return;
  const QVariantMap row = VSInformation_list.at(rowIndex).toMap();
  setText(VS_Name, row.value(QStringLiteral("VSName")).toString());
  setText(VS_IPAddress, row.value(QStringLiteral("VSIP")).toString());
  const QString start = row.value(QStringLiteral("VSPortStart")).toString();
  const QString end = row.value(QStringLiteral("VSPortEnd")).toString();
  const bool none = start == kNone && end == kNone;
  setText(VS_PortStart, none ? QString() : start);
  setText(VS_PortEnd, none ? QString() : end);
  if (VS_Protocol)
    VS_Protocol->setEditText(row.value(QStringLiteral("VSProtocol")).toString());
}

void WLANController::IFCANCEL() {
  setIPList(false);
  const int row = selectedRow(IPFilterList);
  if (row < 0) {
    enable({IF_New}, true);
    enable({IF_Delete, IF_Edit, IF_Save, IF_Cancel}, false);
    return;
  }
  enable({IF_New, IF_Delete, IF_Edit}, true);
  enable({IF_Save, IF_Cancel}, false);
  showIPRule(row);
}

void WLANController::VSCANCEL() {
  setVSList(false);
  const int row = selectedRow(VirtualServicesList);
  if (row < 0) {
    enable({VS_New}, true);
    enable({VS_Delete, VS_Edit, VS_Save, VS_Cancel}, false);
    return;
  }
  enable({VS_New, VS_Delete, VS_Edit}, true);
  enable({VS_Save, VS_Cancel}, false);
  showVSRule(row);
}

void WLANController::tableViewSelectionDidChange(QTableWidget *table) {
  if (table && table == IPFilterList)
    IFCANCEL();
  else if (table && table == VirtualServicesList)
    VSCANCEL();
}

void WLANController::protocolChosen() {
  const int position = getIndexofString(IF_Protocol->currentText(), protocolTable());
  QLineEdit *ports[] = {IF_SourcePortStart, IF_SourcePortEnd, IF_DestPortStart, IF_DestPortEnd};
  if (position == 3 || position == 4) {
    for (QLineEdit *f : ports) {
      if (f) {
        f->clear();
        f->setEnabled(false);
      }
    }
  } else if (position >= 0) {
    setText(IF_SourcePortStart, QStringLiteral("1"));
    setText(IF_DestPortStart, QStringLiteral("1"));
    setText(IF_SourcePortEnd, QStringLiteral("65535"));
    setText(IF_DestPortEnd, QStringLiteral("65535"));
    for (QLineEdit *f : ports)
      if (f)
        f->setEnabled(true);
  }
}

void WLANController::controlTextDidEndEditing(QLineEdit *field) {
  if (!field || (field != IF_SourceIPAddress && field != IF_DestIPAddress))
    return;
  if (field->text().isEmpty())
    return;
  setAddressFormatter(field, true);
  if (auto *binding = field->findChild<QELFormatterBinding *>(QString(), Qt::FindDirectChildrenOnly))
    binding->normalise();
  if (field->text() == QLatin1String("0.0.0.0")) {
    setAddressFormatter(field, false);
    field->clear();
  }
}

QStringList WLANController::macFields() const {
  QStringList six;
  for (const auto &mac : IF_MACAddress)
    six << text(mac);
  return six;
}

// ---- saving ----

void WLANController::IFListSave() {
  const QString name = text(IF_Name);
  if (name.isEmpty()) {
    alertOK(QStringLiteral("The name should not be null!"));
    return;
  }
  for (auto [field, message] : {std::pair{IF_SourceIPAddress.data(), "The Source IP address is invalid!"},
                                std::pair{IF_DestIPAddress.data(), "The Dest IP address is invalid!"}}) {
    if (!field || field->text().isEmpty())
      continue;
    setAddressFormatter(field, true);
    if (auto *binding = field->findChild<QELFormatterBinding *>(QString(), Qt::FindDirectChildrenOnly))
      binding->normalise();
    if (!isIPAddressValid(field->text())) {
      alertOK(QString::fromLatin1(message));
      return;
    }
  }
  if (intValue(text(IF_SourcePortStart)) > intValue(text(IF_SourcePortEnd))) {
    alertOK(QStringLiteral("The Source port range is invalid!"));
    return;
  }
  if (intValue(text(IF_DestPortStart)) > intValue(text(IF_DestPortEnd))) {
    alertOK(QStringLiteral("The Dest port range is invalid!"));
    return;
  }
  // A typed protocol or action that is in no table is refused like an empty one.
  const int protocol = IF_Protocol ? getIndexofString(IF_Protocol->currentText(), protocolTable()) : -1;
  if (protocol < 0) {
    alertOK(QStringLiteral("The protocol should be selected!"));
    return;
  }
  const int action = IF_Action ? getIndexofString(IF_Action->currentText(), actionTable()) : -1;
  if (action < 0) {
    alertOK(QStringLiteral("The action should be selected!"));
    return;
  }
  const QStringList six = macFields();
  QString mac;
  switch (getStateforMacAddress(six)) {
  case 1:
    alertOK(QStringLiteral("The MAC address is invalid!"));
    return;
  case 2:
    mac = six.join(QLatin1Char(':'));
    break;
  default:
    if (text(IF_SourceIPAddress).isEmpty() && text(IF_DestIPAddress).isEmpty() && (protocol == 3 || protocol == 4)) {
      alertOK(QStringLiteral("The IP address, port range and MAC address can not be all Null!"));
      return;
    }
    mac = QString::fromLatin1(WLANMsg::kEmptyMac);
  }
  const int row = selectedRow(IPFilterList);
  ipRule.if_index = ipRule.if_oper == kRuleAdd || row < 0 || row >= IFInformation_list.size()
                        ? 0
                        : quint32(IFInformation_list.at(row).toMap().value(QStringLiteral("IFindex")).toLongLong());
  ipRule.if_name = name;
  ipRule.if_dest_ip = text(IF_DestIPAddress).isEmpty() ? QStringLiteral("0.0.0.0") : text(IF_DestIPAddress);
  ipRule.if_source_ip = text(IF_SourceIPAddress).isEmpty() ? QStringLiteral("0.0.0.0") : text(IF_SourceIPAddress);
  ipRule.if_protocol = quint32(protocol + 1);
  ipRule.if_action = quint32(action);
  ipRule.if_source_port_b = quint32(std::clamp<qint64>(intValue(text(IF_SourcePortStart)), 0, 65535));
  ipRule.if_source_port_e = quint32(std::clamp<qint64>(intValue(text(IF_SourcePortEnd)), 0, 65535));
  ipRule.if_dest_port_b = quint32(std::clamp<qint64>(intValue(text(IF_DestPortStart)), 0, 65535));
  ipRule.if_dest_port_e = quint32(std::clamp<qint64>(intValue(text(IF_DestPortEnd)), 0, 65535));
  ipRule.if_mac_address = mac;
  setIPList(false);
  enable({IF_New}, true);
  enable({IF_Edit, IF_Delete, IF_Save, IF_Cancel}, false);
  sendApplyIPFilter();
}

void WLANController::VSListSave() {
  const QString name = text(VS_Name);
  if (name.isEmpty()) {
    alertOK(QStringLiteral("The name should not be null!"));
    return;
  }
  if (VS_IPAddress && !VS_IPAddress->text().isEmpty())
    if (auto *binding = VS_IPAddress->findChild<QELFormatterBinding *>(QString(), Qt::FindDirectChildrenOnly))
      binding->normalise();
  const QString address = text(VS_IPAddress);
  if (address.isEmpty() || !isIPAddressValid(address)) {
    alertOK(QStringLiteral("The IP address is invalid!"));
    return;
  }
  if (text(VS_PortStart).isEmpty() || text(VS_PortEnd).isEmpty()) {
    alertOK(QStringLiteral("The port range should not be null!"));
    return;
  }
  if (intValue(text(VS_PortStart)) > intValue(text(VS_PortEnd))) {
    alertOK(QStringLiteral("The port range is invalid!"));
    return;
  }
  const int protocol = VS_Protocol ? getIndexofString(VS_Protocol->currentText(), protocolTable()) : -1;
  if (protocol < 0 || protocol > 2) {
    alertOK(QStringLiteral("The protocol should be selected!"));
    return;
  }
  const int row = selectedRow(VirtualServicesList);
  vsRule.vs_index = vsRule.vs_oper == kRuleAdd || row < 0 || row >= VSInformation_list.size()
                        ? 0
                        : quint32(VSInformation_list.at(row).toMap().value(QStringLiteral("VSIndex")).toLongLong());
  vsRule.vs_port_b = quint32(std::clamp<qint64>(intValue(text(VS_PortStart)), 0, 65535));
  vsRule.vs_port_e = quint32(std::clamp<qint64>(intValue(text(VS_PortEnd)), 0, 65535));
  vsRule.vs_protocol = quint32(protocol + 1);
  vsRule.vs_ip_address = address;
  vsRule.vs_name = name;
  setVSList(false);
  enable({VS_New}, true);
  enable({VS_Edit, VS_Delete, VS_Save, VS_Cancel}, false);
  sendApplyVirtualServer();
}
