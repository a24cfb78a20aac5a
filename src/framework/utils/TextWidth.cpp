#include "TextWidth.h"

#include <algorithm>

QString deleteExtraContent(const QString &text, int maxLength) {
  int weight = 0;
  qsizetype end = 0;
  for (qsizetype i = 0; i < text.size();) {
    const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
    const qsizetype len = pair ? 2 : 1;
    const int bytes = int(text.mid(i, len).toUtf8().size());
    weight += std::min(bytes, 2);
    if (weight > maxLength)
      break;
    i += len;
    end = i;
  }
  return text.left(end);
}
