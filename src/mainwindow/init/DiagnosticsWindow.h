#pragma once

#include <QDialog>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QPushButton>

class QStackedWidget;
class QTabBar;

// One row of the diagnostics window: its label's wording key, the key its value is recorded
// under (empty when it is not recorded), and the segment page it sits on. A row without a
// value field is a section heading.
struct DiagnosticsRow {
  const char *labelKey;
  const char *dictKey;
  int page;
  bool heading = false;
};

// The diagnostics window: a segmented control over four pages ("Device", "MacOS", "SIM",
// "Network") of label and value pairs, in the order support staff read them out, and the OK,
// Refresh and Open buttons. It holds no logic; InitController fills and words it.
class DiagnosticsWindow : public QDialog {
  Q_OBJECT
public:
  explicit DiagnosticsWindow(QWidget *parent);

  static const QList<DiagnosticsRow> &rows();
  // The page identifiers, segment by segment.
  static const QStringList &pageIdentifiers();
  // The four section headings (they start at the left margin of the export).
  static bool isHeading(const QString &labelKey);

  // The value field of the row with that label key (null for a heading or an unknown key).
  QLabel *valueField(const QString &labelKey) const;
  QLabel *labelField(const QString &labelKey) const;
  // Label and value texts in window order; a heading's value is a null string.
  QList<QPair<QString, QString>> labelValuePairs() const;
  void selectSegment(int segment);
  int selectedSegment() const;
  // The reduced window of a CDMA device: only its rows, on one page, without the segments.
  void useCdmaLayout();
  bool isCdmaLayout() const { return cdmaLayout_; }
  static bool isCdmaRow(const QString &labelKey);

  QTabBar *diagSegmentedTable_;
  QStackedWidget *diagTableItemView_;
  QPushButton *ok;
  QPushButton *refresh;
  QPushButton *open;
  QPushButton *sendReport; // shown only where the report has a recipient

private:
  struct Row {
    QString labelKey;
    QLabel *label = nullptr;
    QLabel *value = nullptr;
  };
  QList<Row> rows_;
  bool cdmaLayout_ = false;
};

// The signal-detail window: RSSI, location area and cell identity.
class SignalDetailWindow : public QDialog {
  Q_OBJECT
public:
  explicit SignalDetailWindow(QWidget *parent);
  QLabel *rssiLabel, *lacLabel, *cellLabel;
  QLabel *rssiValue, *lacValue, *cellValue;
  QPushButton *ok;
};

// The notice shown while the network updates the SIM: a sheet with one text.
class SimCardUpdateSheet : public QDialog {
  Q_OBJECT
public:
  explicit SimCardUpdateSheet(QWidget *parent);
  QLabel *labelSimCardUpdate_;
};
