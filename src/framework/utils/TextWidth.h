#pragma once

#include <QString>

// The longest beginning of `text` whose width stays within `maxLength`, a character counting its
// UTF-8 length but at most 2 (so a CJK character weighs as much as an accented one). The
// phonebook cuts its fields this way and the registration form its user fields; a surrogate pair
// is one character and never split.
QString deleteExtraContent(const QString &text, int maxLength);
