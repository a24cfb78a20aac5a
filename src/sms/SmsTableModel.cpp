#include "SmsTableModel.h"

#include "QelPosition.h"
#include "SmsRecord.h"

#include <QFont>

namespace {
const QString kStat = QStringLiteral("stat");
const QString kPhone = QStringLiteral("mobilephone");
const QString kName = QStringLiteral("username");
const QString kDate = QStringLiteral("date");

bool isSimOrMe(int position) {
  return position == AT_SIM || position == AT_ME;
}

// The special text of `number`, or `shown` when it has none.
QString specialOr(const QString &number, const QString &shown, const SmsTableModel::Context &context) {
  const QString special = context.specialText ? context.specialText(number) : QString();
  return special.isEmpty() ? shown : special;
}

QString dateTextOf(const QVariant &value, const SmsTableModel::Context &context) {
  const QDateTime date = value.toDateTime();
  if (!date.isValid())
    return QString("");
  return context.dateText ? context.dateText(date) : date.toString(Qt::ISODate);
}
} // namespace

SmsTableModel::SmsTableModel(QObject *parent) : QAbstractTableModel(parent) {}

const QStringList &SmsTableModel::columnIds() {
  static const QStringList ids = {kStat, kPhone, kName, kDate};
  return ids;
}

void SmsTableModel::setContext(const Context &context) {
  beginResetModel();
  context_ = context;
  endResetModel();
}

void SmsTableModel::setRows(const QVariantList &rows) {
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

void SmsTableModel::refreshRows() {
  if (!rows_.isEmpty())
    emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, columnCount() - 1));
}

void SmsTableModel::prependRow(const QVariantList &rows) {
  if (rows.size() != rows_.size() + 1) {
    setRows(rows);
    return;
  }
  beginInsertRows({}, 0, 0);
  rows_ = rows;
  endInsertRows();
}

void SmsTableModel::updateRows(const QVariantList &rows) {
  if (rows.size() != rows_.size()) {
    setRows(rows);
    return;
  }
  rows_ = rows;
  refreshRows();
}

void SmsTableModel::setHeader(const QString &columnId, const QString &title) {
  headers_.insert(columnId, title);
  const int section = int(columnIds().indexOf(columnId));
  if (section >= 0)
    emit headerDataChanged(Qt::Horizontal, section, section);
}

int SmsTableModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int SmsTableModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : int(columnIds().size());
}

QVariant SmsTableModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columnIds().size())
    return {};
  const QVariantMap record = rows_.at(index.row()).toMap();
  if (role == Qt::DisplayRole)
    return cellText(record, columnIds().at(index.column()), context_);
  if (role == Qt::FontRole && isBoldRow(record, context_)) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  return {};
}

QVariant SmsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnIds().size())
    return QAbstractTableModel::headerData(section, orientation, role);
  const QString id = columnIds().at(section);
  return headers_.value(id, id);
}

int SmsTableModel::effectiveBox(const QVariantMap &record, const Context &context) {
  if (context.box == DeletedBox)
    return record.value(QStringLiteral("preLocationBeforeGoToDelBox")).toInt();
  if (context.box == ImportantBox)
    return record.value(QStringLiteral("preLocationBeforeGotoImpBox")).toInt();
  return context.box;
}

bool SmsTableModel::isBoldRow(const QVariantMap &record, const Context &context) {
  return context.boldUnread && context.box == InBox && !SmsRecord::isFlat(record) && SmsRecord::isUnread(record);
}

QString SmsTableModel::cellText(const QVariantMap &record, const QString &columnId, const Context &context) {
  if (context.box == DELIVERY_REPORTBOX)
    return reportCellText(record, columnId, context);
  const int box = effectiveBox(record, context);
  if (!isSimOrMe(context.position) && (box == DraftBox || box == BroadCastBox || SmsRecord::isFlat(record)))
    return flatCellText(record, columnId, context);
  const QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
  if (columnId == kStat)
    return stateText(record, context);
  if (columnId == kPhone)
    return specialOr(summary.value(kPhone).toString(), summary.value(kPhone).toString(), context);
  if (columnId == kName)
    return specialOr(summary.value(kPhone).toString(), userNameWithPhoneNum(summary.value(kPhone).toString(), context),
                     context);
  if (columnId == kDate) {
    const bool concat = record.value(QStringLiteral("concatSmsFlag")).toBool();
    const QVariant date = concat ? summary.value(kDate) : record.value(QStringLiteral("smsInfo")).toMap().value(kDate);
    return dateTextOf(date, context);
  }
  return QString();
}

QString SmsTableModel::stateText(const QVariantMap &record, const Context &context) {
  QString prefix;
  if ((context.box == DeletedBox || context.box == ImportantBox) && context.boxWord)
    prefix = context.boxWord(effectiveBox(record, context)) + QLatin1Char(' ');
  if (record.value(QStringLiteral("concatSmsFlag")).toBool()) {
    const QVariantMap summary = record.value(QStringLiteral("concatSmsInfo")).toMap();
    const int held = int(record.value(QStringLiteral("smsInfo")).toList().size());
    const int expected = int(quint8(summary.value(QStringLiteral("totalNum")).toInt()));
    prefix += QStringLiteral("%1/%2").arg(held).arg(expected);
  }
  const int state = SmsRecord::readState(record);
  QString word;
  if (state == 0)
    word = context.unreadWord;
  else if (context.showReadStatus)
    word = context.readWord;
  if (prefix.isEmpty())
    return word;
  return prefix + QLatin1Char(' ') + word;
}

QString SmsTableModel::flatCellText(const QVariantMap &record, const QString &columnId, const Context &context) {
  const QString number = record.value(kPhone).toString();
  if (columnId == kStat) {
    QString prefix;
    if ((context.box == DeletedBox || context.box == ImportantBox) && context.boxWord)
      prefix = context.boxWord(effectiveBox(record, context));
    return prefix + record.value(kStat).toString();
  }
  const QString cut = cutTrailingSeparator(number, context.separator);
  if (columnId == kPhone)
    return specialOr(cut, cut, context);
  if (columnId == kName)
    return specialOr(cut, context.multiLookup ? context.multiLookup(number) : number, context);
  if (columnId == kDate)
    return dateTextOf(record.value(kDate), context);
  return QString();
}

QString SmsTableModel::reportCellText(const QVariantMap &record, const QString &columnId, const Context &context) {
  if (columnId == kStat) {
    // A report is new until it is read; its "stat" is the number 0 or 1, never shown as such.
    if (record.value(kStat).toInt() == 0)
      return context.unreadWord;
    return context.showReadStatus ? context.readWord : QString("");
  }
  if (columnId == kPhone)
    return record.value(kPhone).toString();
  if (columnId == kName)
    return userNameWithPhoneNum(record.value(kPhone).toString(), context);
  if (columnId == kDate)
    return dateTextOf(record.value(kDate), context);
  return QString();
}

QString SmsTableModel::cutTrailingSeparator(const QString &number, const QString &separator) {
  if (!separator.isEmpty() && number.endsWith(separator.at(0)))
    return number.left(number.size() - 1);
  return number;
}

QString SmsTableModel::userNameWithPhoneNum(const QString &number, const Context &context) {
  if (number.isNull())
    return QString("");
  const QString cut = cutTrailingSeparator(number, context.separator);
  const QString answer = context.lookup ? context.lookup(cut) : cut;
  if (answer.isNull())
    return QString("");
  if (answer != cut)
    return answer;
  return context.noNameIfUnknown ? QString("") : cut;
}
