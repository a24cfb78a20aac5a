#include "TCardFiles.h"

#include "ConfigManager.h"
#include "QelFileManager.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace TCardFiles {
namespace {
const QString kBlankValue = QStringLiteral(" \t\t\t\t\t\t ");

QString oneLine(const QString &value) {
  QString v = value;
  v.replace(QLatin1String("\r\n"), QLatin1String(" "));
  v.replace(QLatin1Char('\r'), QLatin1Char(' '));
  v.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return v;
}
} // namespace

const QList<Field> &fields() {
  static const QList<Field> table = {
      {"Index", "index"},
      {"GroupId", "groupid"},
      {"Name", "username"},
      {"SecondName", "secondname"},
      {"Company", "company"},
      {"Duty", "duty"},
      {"Email", "email"},
      {"Email2", "email2"},
      {"QQ", "qq"},
      {"MSN", "msn"},
      {"Notes", "notes"},
      {"PhoneNumber", "mobilephone"},
      {"HomeNumber", "homephone"},
      {"OfficeNumber", "officephone"},
      {"HomeAddress", "homeaddress"},
      {"WorkAddress", "workaddress"},
      {"Url", "url"},
      {"PictureID", "pictureid"},
  };
  return table;
}

QVariantMap parse(const QByteArray &bytes) {
  QVariantMap result;
  QStringConverter::Encoding encoding = QStringConverter::Utf16;
  if (const auto fromBom = QStringConverter::encodingForData(bytes))
    encoding = *fromBom;
  QStringDecoder decoder(encoding);
  const QString text = decoder.decode(bytes);
  for (QStringView line : QStringView(text).split(kCMSplitWithLineFeed)) {
    const qsizetype eq = line.indexOf(kCMSplitWithEqual);
    if (eq < 0)
      continue;
    result.insert(line.left(eq).toString(), line.mid(eq + 1).toString());
  }
  return result;
}

QVariantMap read(const QString &path) {
  // Only a regular file: a FIFO or device in its place would block or never end.
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > QelFileManager::kMaxReadBytes)
    return {};
  return parse(file.read(QelFileManager::kMaxReadBytes));
}

QString contactFileText(const PBContactRecord &record, const QVariantMap &others) {
  // Values the template fixes for a new contact.
  const QVariantMap fixed = {{QStringLiteral("SecondName"), kBlankValue},
                             {QStringLiteral("Notes"), kBlankValue},
                             {QStringLiteral("HomeAddress"), kBlankValue}};
  const QStringList fromRecord = {QStringLiteral("Index"),      QStringLiteral("Name"),
                                  QStringLiteral("Email"),      QStringLiteral("PhoneNumber"),
                                  QStringLiteral("HomeNumber"), QStringLiteral("OfficeNumber")};
  QStringList lines{QStringLiteral("[Contact]")};
  for (const Field &f : fields()) {
    const QString key = QLatin1String(f.fileKey);
    QString value;
    if (fromRecord.contains(key))
      value = record.value(QLatin1String(f.recordKey)).toString();
    else if (others.contains(key))
      value = others.value(key).toString();
    else
      value = fixed.value(key).toString();
    lines << key + kCMSplitWithEqual + oneLine(value);
  }
  return lines.join(kCMSplitWithLineFeed);
}

QString keyFileText(int count, const QVariantMap &entries) {
  QString text = QStringLiteral("[KeyList]\r\nCount=") + QString::number(count);
  for (auto it = entries.cbegin(); it != entries.cend(); ++it)
    text += kCMSplitWithLineFeed + oneLine(it.key()) + kCMSplitWithEqual + oneLine(it.value().toString());
  return text;
}

bool recordFromEntries(const QVariantMap &entries, int fileNumber, PBContactRecord *out) {
  if (!entries.contains(QStringLiteral("Index")))
    return false;
  PBContactRecord r;
  r.insert(PBKey::kFileNameNumber, fileNumber);
  for (const Field &f : fields()) {
    const QString value = entries.value(QLatin1String(f.fileKey)).toString();
    if (QLatin1String(f.fileKey) == QLatin1String("Index"))
      r.insert(PBKey::kIndex, value.trimmed().toInt());
    else
      r.insert(QLatin1String(f.recordKey), value);
  }
  *out = r;
  return true;
}

int fileNumberOfName(const QString &baseName) {
  const QStringList parts = baseName.split(kCMSplitWithUnderline);
  if (parts.size() != 2 || parts.at(0) != kCMFileNamePrefix)
    return -1;
  // The part after "_" must start with a number: its leading digits are the file number.
  const QString &tail = parts.at(1);
  qsizetype digits = 0;
  while (digits < tail.size() && tail.at(digits).isDigit() && tail.at(digits).unicode() < 128)
    ++digits;
  if (digits == 0 || digits > 9)
    return -1;
  return tail.left(digits).toInt();
}

} // namespace TCardFiles
