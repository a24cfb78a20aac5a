#include "SettingsBackupFile.h"

namespace SettingsBackupFile {

namespace {
const QString kReportBox = QStringLiteral("DELIVERY_REPORTBOX");

QVariant box(const QVariantMap &pcSmsList, const QString &name) {
  const QVariant v = pcSmsList.value(name);
  return v.typeId() == QMetaType::QVariantList ? v : QVariant(QVariantList());
}
} // namespace

QVariantList smsBoxes(const QVariantMap &smsSettings, const QVariantMap &pcSmsList, const QVariantList &reports) {
  QVariantList boxes;
  const QVariant order = smsSettings.value(QStringLiteral("boxOrder"));
  if (order.typeId() != QMetaType::QVariantMap) {
    for (const char *name : {"InBox", "OutBox", "DraftBox"})
      boxes << box(pcSmsList, QLatin1String(name));
    if (smsSettings.value(QStringLiteral("isHaveDeliveryReportBox")).toBool())
      boxes << QVariant(reports);
    return boxes;
  }
  const QVariantMap positions = order.toMap();
  for (int position = 0; position < positions.size(); ++position) {
    // A position that no box holds still takes its place, so the file keeps the count a
    // restore checks.
    QVariant content = QVariantList();
    for (auto it = positions.cbegin(); it != positions.cend(); ++it) {
      if (it.value().toInt() != position)
        continue;
      content = it.key() == kReportBox ? QVariant(reports) : box(pcSmsList, it.key());
      break;
    }
    boxes << content;
  }
  return boxes;
}

bool isValidFull(const QVariantList &root, const QVariantMap &smsSettings) {
  const QVariant order = smsSettings.value(QStringLiteral("boxOrder"));
  if (order.typeId() == QMetaType::QVariantMap)
    return root.size() == order.toMap().size() + 1;
  return root.size() == 4 ||
         (root.size() == 5 && smsSettings.value(QStringLiteral("isHaveDeliveryReportBox")).toBool());
}

bool isPhonebook(const QVariant &value) {
  if (value.typeId() != QMetaType::QVariantList)
    return false;
  for (const QVariant &g : value.toList()) {
    if (g.typeId() != QMetaType::QVariantList || g.toList().isEmpty() ||
        g.toList().first().typeId() != QMetaType::QVariantMap)
      return false;
  }
  return true;
}

QVariantList merge(const QVariantList &current, const QVariantList &restored) {
  QVariantList result = current;
  for (const QVariant &g : restored) {
    const QVariantList group = g.toList();
    const QString name = group.value(0).toMap().value(QStringLiteral("groupname")).toString();
    qsizetype found = -1;
    for (qsizetype i = 0; i < result.size() && found < 0; ++i)
      if (result.at(i).toList().value(0).toMap().value(QStringLiteral("groupname")).toString() == name)
        found = i;
    if (found < 0) {
      result << g;
      continue;
    }
    QVariantList existing = result.at(found).toList();
    existing << group.mid(1);
    result[found] = existing;
  }
  return result;
}

QByteArray restoreRequest(const QString &path) {
  QByteArray bytes = path.toUtf8();
  if (path.isEmpty() || bytes.size() > kRestoreRequestSize - 1)
    return {};
  bytes.append(QByteArray(kRestoreRequestSize - bytes.size(), '\0'));
  return bytes;
}

} // namespace SettingsBackupFile
