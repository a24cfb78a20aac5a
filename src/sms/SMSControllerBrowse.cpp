// SMSController: sorting the message table by a column, searching the lists, and showing a
// message's text with its links.
#include "ConfigService.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsListSort.h"
#include "SmsMessageText.h"
#include "SmsRecord.h"
#include "SmsTableModel.h"

#include <QHeaderView>
#include <QStringMatcher>

void SMSController::didClickTableColumn(const QString &columnId) {
  const int position = getCurrentPosition();
  if (position == AT_TCARD)
    return;
  QHeaderView *header = page ? page->msgBoxList->horizontalHeader() : nullptr;
  if (header)
    header->setSortIndicatorShown(false);
  const bool sortable = columnId == QLatin1String("mobilephone") || columnId == QLatin1String("username") ||
                        columnId == QLatin1String("date") ||
                        (columnId == QLatin1String("stat") &&
                         ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("Sms_ArrangeSms_OrderStat")));
  if (!sortable)
    return;
  const bool ascending = sortFlags_.value(columnId, true);
  if (header) {
    header->setSortIndicator(int(SmsTableModel::columnIds().indexOf(columnId)),
                             ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
  }
  const int box = getCurrentBox();
  if (box == InBox || box == OutBox || box == DraftBox) {
    // The store's own list is put in order, so a later search or reload keeps it.
    QVariantList me;
    QVariantList *list = listRef(position, box);
    if (position == AT_ME) {
      me = messagesFromME_.value(smsBoxNames().at(box)).toList();
      list = &me;
    }
    if (list) {
      if (position == AT_PC && box == DraftBox)
        SmsListSort::sortDraftList(*list, columnId, ascending);
      else
        SmsListSort::sortBoxList(*list, columnId, ascending);
    }
    if (position == AT_ME)
      messagesFromME_.insert(smsBoxNames().at(box), me);
  }
  reloadTable();
  sortFlags_.insert(columnId, !ascending);
}

QString SMSController::searchKey() const {
  return page ? page->SearchSMS_item->text().trimmed() : QString();
}

void SMSController::searchSMS() {
  if (isSearchMode())
    setColumnHeaders(getCurrentBox());
  currentSMSRecord_.clear();
  if (page)
    page->messageText->clear();
  reloadTable();
}

QVariantList SMSController::searchMessagesFromCurrentBox(const QVariantList &list, const QString &key) const {
  QVariantList found;
  if (key.isEmpty())
    return list;
  // Every keystroke runs this over the whole box: the key is prepared once, each record's
  // summary is looked up once, and the dearer fields (the name through the phonebook, the date's
  // text) are looked at only when the number and the text did not match.
  const QStringMatcher matcher(key, Qt::CaseInsensitive);
  const auto has = [&matcher](const QString &field) { return !field.isEmpty() && matcher.indexIn(field) >= 0; };
  const QString kNumber = QStringLiteral("mobilephone"), kText = QStringLiteral("messagetext"),
                kDate = QStringLiteral("date");
  for (const QVariant &entry : list) {
    const QVariantMap record = entry.toMap();
    const bool flat = SmsRecord::isFlat(record);
    const QVariantMap summary = flat                          ? record
                                : SmsRecord::isConcat(record) ? record.value(QStringLiteral("concatSmsInfo")).toMap()
                                                              : record.value(QStringLiteral("smsInfo")).toMap();
    const QString number = summary.value(kNumber).toString();
    if (has(number) || has(summary.value(kText).toString()) || (!flat && has(lookupName(number))) ||
        has(shownDate(summary.value(kDate).toDateTime())))
      found.append(entry);
  }
  return found;
}

// Every stamp the tab shows (lists, arrival, report and pop-up windows) is the moment in the
// computer's own zone, whatever zone the date came in: the list files hold UTC, the message
// centre's stamps its own offset.
// Formatting a date in the local zone costs more than the whole rest of a search, so each
// date's text is kept until the wording or the date format changes.
QString SMSController::shownDate(const QDateTime &date) const {
  if (!date.isValid())
    return QString();
  const qint64 key = date.toMSecsSinceEpoch();
  auto it = dateTexts_.constFind(key);
  if (it == dateTexts_.cend())
    it = dateTexts_.insert(key, formatStringFromDate(date.toLocalTime()));
  return it.value();
}

void SMSController::displayMessageText() {
  if (!page || currentSMSRecord_.isEmpty())
    return;
  const QString text = SmsMessageText::textOf(currentSMSRecord_);
  if (ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("DisplayHyperlinkInSMS")))
    page->messageText->setHtml(SmsMessageText::linkedHtml(text));
  else
    page->messageText->setPlainText(text);
}

void SMSController::openLink(const QUrl &url) {
  if (url.isValid())
    openSafari(url.toString());
}
