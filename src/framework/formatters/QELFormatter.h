#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <memory>

#include <QLineEdit>

// A text-field formatter: turns what was typed into its normal form. It never rejects input.
class QELFormatter {
public:
  virtual ~QELFormatter() = default;
  virtual QString stringForObjectValue(const QVariant &object) const = 0;
  // Stores the normal form of `string` as the object value; always true, no error text.
  bool getObjectValue(QVariant *object, const QString &string, QString *errorDescription = nullptr) const;
};

// Phone numbers and service codes: the longest leading part made only of "0123456789*#abc".
class TPAddressFormatter : public QELFormatter {
public:
  static std::unique_ptr<TPAddressFormatter> defaultTPAddressFormatter();
  QString stringForObjectValue(const QVariant &object) const override;
  static bool isAllowedCharacter(QChar c);
};

// Dotted IPv4 addresses: four decimal numbers, each held within 0..255.
class IPAddressFormatter : public QELFormatter {
public:
  static std::unique_ptr<IPAddressFormatter> defaultIPAddressFormatter();
  QString stringForObjectValue(const QVariant &object) const override;
  // A number scanner: blanks skipped, an optional sign, ASCII digits only; saturates instead of
  // overflowing. False when no digit follows.
  static bool scanInt(const QString &text, qsizetype from, qint64 *value);
};

// Binds a formatter to a line edit: when editing ends, the field shows the normal form.
class QELFormatterBinding : public QObject {
  Q_OBJECT
public:
  QELFormatterBinding(QLineEdit *edit, std::shared_ptr<const QELFormatter> formatter);
  QLineEdit *lineEdit() const { return edit_; }
  const QELFormatter *formatter() const { return formatter_.get(); }
  void normalise();

private:
  QPointer<QLineEdit> edit_;
  std::shared_ptr<const QELFormatter> formatter_;
};

// Attaches `formatter` to `edit` (the binding is a child of the edit) and answers the binding.
QELFormatterBinding *setFormatter(QLineEdit *edit, std::shared_ptr<const QELFormatter> formatter);
