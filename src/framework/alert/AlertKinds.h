#pragma once

#include <QMessageBox>
#include <QString>

// The kind of an alert, read from what it says: a worded warning or error title, a question
// (two buttons), or else information. The alerts show the icon of their kind.
namespace AlertKinds {
QMessageBox::Icon iconFor(const QString &title, bool asks);
} // namespace AlertKinds
