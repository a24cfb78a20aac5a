#include "AlertKinds.h"

#include "WordGlobe.h"

namespace AlertKinds {

QMessageBox::Icon iconFor(const QString &title, bool asks) {
  const QString t = title.trimmed();
  auto is = [&t](std::initializer_list<const char *> keys) {
    for (const char *key : keys) {
      const QString k = QLatin1String(key);
      if (t.compare(k, Qt::CaseInsensitive) == 0 || t == Map_Name_Item_of_IndexString(k))
        return true;
    }
    return false;
  };
  if (is({"Error", "Error!", "Failed", "Fail", "Failure"}))
    return QMessageBox::Critical;
  if (is({"Warning", "Warning!"}) || (!t.isEmpty() && t == Map_Name_Item_of_Index(14)))
    return asks ? QMessageBox::Question : QMessageBox::Warning;
  return asks ? QMessageBox::Question : QMessageBox::Information;
}

} // namespace AlertKinds
