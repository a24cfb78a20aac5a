#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QStringList>
#include <QVariantList>
#include <functional>

// The message table's rows: one box list of one storage position, and the text of every cell.
// The cell rules are plain functions of the record and the context so they can be tested
// without a view; the model only hands them to the table.
class SmsTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  // Everything a cell text depends on besides the record.
  struct Context {
    int box = 0;
    int position = 0;
    bool showReadStatus = false;
    bool boldUnread = false;
    bool noNameIfUnknown = false;
    QString separator = QStringLiteral(";");
    QString unreadWord;
    QString readWord;
    // The worded name of a box code.
    std::function<QString(int)> boxWord;
    // The phonebook's answer for a number; the number itself when no contact has it.
    std::function<QString(const QString &)> lookup;
    // A flat draft's recipients as names.
    std::function<QString(const QString &)> multiLookup;
    std::function<QString(const QDateTime &)> dateText;
    // The shown text of an operator's special number; empty for any other number (or when
    // replacement is off).
    std::function<QString(const QString &)> specialText;
  };

  explicit SmsTableModel(QObject *parent = nullptr);

  // The column identifiers in view order.
  static const QStringList &columnIds();

  void setContext(const Context &context);
  const Context &context() const { return context_; }
  // Replaces the rows; the view is reset.
  void setRows(const QVariantList &rows);
  const QVariantList &rows() const { return rows_; }
  // Tells the view every row changed (a state word or a face may differ) without resetting
  // the selection.
  void refreshRows();
  // The same rows with new content (read states): no reset, the selection stays.
  void updateRows(const QVariantList &rows);
  // The rows with one more in front, the others as they were: the view keeps its selection
  // (moved down with its rows) and its scroll position.
  void prependRow(const QVariantList &rows);
  void setHeader(const QString &columnId, const QString &title);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // ---- the cell rules ----
  // One cell; a null string for an unknown column.
  static QString cellText(const QVariantMap &record, const QString &columnId, const Context &context);
  // The box a record came from in the DeletedBox and ImportantBox, else the context's box.
  static int effectiveBox(const QVariantMap &record, const Context &context);
  // The state column of a full record: box prefix, parts held / expected, state word.
  static QString stateText(const QVariantMap &record, const Context &context);
  // The rule of flat records (PC drafts) and PC broadcasts.
  static QString flatCellText(const QVariantMap &record, const QString &columnId, const Context &context);
  // The rule of delivery-report rows: the state word of the report's own "stat" (0 new), the
  // number, its name and the date.
  static QString reportCellText(const QVariantMap &record, const QString &columnId, const Context &context);
  // The name column's text for a number.
  static QString userNameWithPhoneNum(const QString &number, const Context &context);
  static QString cutTrailingSeparator(const QString &number, const QString &separator);
  // Whether the row is drawn bold: unread, in the InBox itself, with the option on.
  static bool isBoldRow(const QVariantMap &record, const Context &context);

private:
  Context context_;
  QVariantList rows_;
  QHash<QString, QString> headers_;
};
