#include "DiagnosticsWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
enum Page { kDevice = 0, kMacOS = 1, kSim = 2, kNetwork = 3 };
} // namespace

const QList<DiagnosticsRow> &DiagnosticsWindow::rows() {
  static const QList<DiagnosticsRow> table = {
      {"Hardware Information:", "", kDevice, true},
      {"IMEI number:", "IMEI", kDevice},
      {"Firmware version:", "FirmwareVersion", kDevice},
      {"Hardware version:", "HardwareVersion", kDevice},
      {"Phone number:", "OwnNumber", kDevice},
      {"IMSI number:", "", kDevice},
      {"Device serial number:", "SerialNumber", kDevice},
      {"Device name:", "DeviceName", kDevice},
      {"Software version number:", "SoftwareVersion", kDevice},
      {"Driver version number:", "DriverVersion", kDevice},
      {"Computer model:", "", kDevice},
      {"Mac OS Information:", "", kMacOS, true},
      {"OS version:", "", kMacOS},
      {"OS language:", "", kMacOS},
      {"Operational Information:", "", kSim, true},
      {"Messages in (U)SIM:", "MessageInSim", kSim},
      {"Contacts in (U)SIM:", "ContactsInSim", kSim},
      {"PIN code status:", "PinCodeStatus", kSim},
      {"Network name:", "NetworkName", kSim},
      {"Network selection mode:", "NetworkSelectionMode", kSim},
      {"MCC:", "", kSim},
      {"MNC:", "", kSim},
      {"ICCID:", "", kSim},
      {"Signal strength:", "", kSim},
      {"Network Settings:", "", kNetwork, true},
      {"CS network registration:", "CSNetworkRegistration", kNetwork},
      {"PS network registration:", "PSNetworkRegistration", kNetwork},
      {"PS network attachment:", "PSNetworkAttachment", kNetwork},
      {"APN:", "ApnName", kNetwork},
      {"Manufacturer name:", "", kNetwork},
      {"Manufacturer homepage:", "", kNetwork},
      {"Serving cell:", "CellID", kNetwork},
      {"Preferred Mode:", "", kNetwork},
      {"RSCP:", "", kNetwork},
      {"RSSI:", "RSSI", kNetwork},
      {"Ec/Io:", "", kNetwork},
      {"Message center number:", "MessageCenterNumber", kNetwork},
      {"Technology:", "", kNetwork},
      {"RAC:", "", kNetwork},
      {"RXqual-sub:", "", kNetwork},
      {"RXlev-sub:", "", kNetwork},
      {"Frequency:", "", kNetwork},
      {"Channel:", "", kNetwork},
  };
  return table;
}

const QStringList &DiagnosticsWindow::pageIdentifiers() {
  static const QStringList ids = {QStringLiteral("Device"), QStringLiteral("MacOS"), QStringLiteral("SIM"),
                                  QStringLiteral("Network")};
  return ids;
}

bool DiagnosticsWindow::isHeading(const QString &labelKey) {
  for (const DiagnosticsRow &r : rows())
    if (r.heading && labelKey == QLatin1String(r.labelKey))
      return true;
  return false;
}

bool DiagnosticsWindow::isCdmaRow(const QString &labelKey) {
  static const QStringList kept = {QStringLiteral("Device name:"),      QStringLiteral("Software version number:"),
                                   QStringLiteral("Hardware version:"), QStringLiteral("Network name:"),
                                   QStringLiteral("Signal strength:"),  QStringLiteral("RSSI:")};
  return kept.contains(labelKey);
}

DiagnosticsWindow::DiagnosticsWindow(QWidget *parent)
    : QDialog(parent), diagSegmentedTable_(new QTabBar(this)), diagTableItemView_(new QStackedWidget(this)),
      ok(new QPushButton(this)), refresh(new QPushButton(this)), open(new QPushButton(this)),
      sendReport(new QPushButton(this)) {
  setObjectName(QStringLiteral("m_DiagWindow"));
  // A window of its own: it stays open beside the main window while the user works.
  setModal(false);
  diagSegmentedTable_->setObjectName(QStringLiteral("diagSegmentedTable"));
  diagTableItemView_->setObjectName(QStringLiteral("diagTableItemView"));
  QList<QGridLayout *> grids;
  for (const QString &id : pageIdentifiers()) {
    diagSegmentedTable_->addTab(id);
    auto *page = new QWidget(diagTableItemView_);
    page->setObjectName(id);
    page->setProperty("itemIdentifier", id);
    auto *grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(16);
    grids << grid;
    diagTableItemView_->addWidget(page);
  }
  int index = 0;
  for (const DiagnosticsRow &r : rows()) {
    Row row;
    row.labelKey = QLatin1String(r.labelKey);
    row.label = new QLabel(row.labelKey, this);
    row.label->setObjectName(QStringLiteral("labelDiag%1Init").arg(index));
    QGridLayout *grid = grids.at(r.page);
    const int line = grid->rowCount();
    if (r.heading) {
      QFont bold = row.label->font();
      bold.setBold(true);
      row.label->setFont(bold);
      grid->addWidget(row.label, line, 0, 1, 2);
    } else {
      row.value = new QLabel(this);
      row.value->setObjectName(QStringLiteral("textDiag%1Init").arg(index));
      row.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      grid->addWidget(row.label, line, 0);
      grid->addWidget(row.value, line, 1);
    }
    rows_ << row;
    ++index;
  }
  for (QGridLayout *grid : grids)
    grid->setRowStretch(grid->rowCount(), 1);
  connect(diagSegmentedTable_, &QTabBar::currentChanged, diagTableItemView_, &QStackedWidget::setCurrentIndex);

  ok->setObjectName(QStringLiteral("btnDiagOK"));
  refresh->setObjectName(QStringLiteral("btnDiagRefresh"));
  open->setObjectName(QStringLiteral("btnDiagOpen"));
  sendReport->setObjectName(QStringLiteral("btnDiagSendReport"));
  sendReport->hide();
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(open);
  buttons->addWidget(sendReport);
  buttons->addStretch();
  buttons->addWidget(refresh);
  buttons->addWidget(ok);
  ok->setDefault(true);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(diagSegmentedTable_, 0, Qt::AlignHCenter);
  layout->addWidget(diagTableItemView_, 1);
  layout->addLayout(buttons);
  setMinimumWidth(460);
}

QLabel *DiagnosticsWindow::valueField(const QString &labelKey) const {
  for (const Row &r : rows_)
    if (r.labelKey == labelKey)
      return r.value;
  return nullptr;
}

QLabel *DiagnosticsWindow::labelField(const QString &labelKey) const {
  for (const Row &r : rows_)
    if (r.labelKey == labelKey)
      return r.label;
  return nullptr;
}

QList<QPair<QString, QString>> DiagnosticsWindow::labelValuePairs() const {
  QList<QPair<QString, QString>> pairs;
  for (const Row &r : rows_) {
    if (cdmaLayout_ && r.label->isHidden())
      continue;
    pairs.append({r.label->text(), r.value ? r.value->text() : QString()});
  }
  return pairs;
}

void DiagnosticsWindow::selectSegment(int segment) {
  if (segment >= 0 && segment < diagSegmentedTable_->count())
    diagSegmentedTable_->setCurrentIndex(segment);
}

int DiagnosticsWindow::selectedSegment() const {
  return diagSegmentedTable_->currentIndex();
}

void DiagnosticsWindow::useCdmaLayout() {
  if (cdmaLayout_)
    return;
  cdmaLayout_ = true;
  // The kept rows are stacked again from the top of one page; every other view is hidden.
  auto *page = new QWidget(diagTableItemView_);
  page->setObjectName(QStringLiteral("CDMA"));
  auto *grid = new QGridLayout(page);
  grid->setColumnStretch(1, 1);
  for (const Row &r : rows_) {
    if (r.value && isCdmaRow(r.labelKey)) {
      const int line = grid->rowCount();
      grid->addWidget(r.label, line, 0);
      grid->addWidget(r.value, line, 1);
    } else {
      r.label->hide();
      if (r.value)
        r.value->hide();
    }
  }
  grid->setRowStretch(grid->rowCount(), 1);
  diagTableItemView_->addWidget(page);
  diagTableItemView_->setCurrentWidget(page);
  diagSegmentedTable_->hide();
  open->hide();
}

SignalDetailWindow::SignalDetailWindow(QWidget *parent)
    : QDialog(parent), rssiLabel(new QLabel(this)), lacLabel(new QLabel(this)), cellLabel(new QLabel(this)),
      rssiValue(new QLabel(this)), lacValue(new QLabel(this)), cellValue(new QLabel(this)), ok(new QPushButton(this)) {
  setObjectName(QStringLiteral("windowRssiLacCi"));
  setModal(false);
  auto *grid = new QGridLayout;
  grid->addWidget(rssiLabel, 0, 0);
  grid->addWidget(rssiValue, 0, 1);
  grid->addWidget(lacLabel, 1, 0);
  grid->addWidget(lacValue, 1, 1);
  grid->addWidget(cellLabel, 2, 0);
  grid->addWidget(cellValue, 2, 1);
  grid->setColumnStretch(1, 1);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  ok->setDefault(true);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  setMinimumWidth(240);
}

SimCardUpdateSheet::SimCardUpdateSheet(QWidget *parent) : QDialog(parent), labelSimCardUpdate_(new QLabel(this)) {
  setObjectName(QStringLiteral("wndSimCardUpdate"));
  // A sheet: modal to its window only, so the device's messages keep arriving.
  setWindowModality(Qt::WindowModal);
  setModal(false);
  labelSimCardUpdate_->setObjectName(QStringLiteral("labelSimCardUpdate"));
  labelSimCardUpdate_->setWordWrap(true);
  labelSimCardUpdate_->setMinimumWidth(300);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 20, 24, 20);
  layout->addWidget(labelSimCardUpdate_);
}
