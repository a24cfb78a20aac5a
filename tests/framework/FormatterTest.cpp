#include "QELFormatter.h"

#include <QLineEdit>
#include <gtest/gtest.h>

TEST(TPAddressFormatter, KeepsTheLeadingDialStringOnly) {
  const auto f = TPAddressFormatter::defaultTPAddressFormatter();
  struct Case {
    QString in, out;
  } cases[] = {
      {"0123456789", "0123456789"},
      {"12a#x9", "12a#"},
      {"*123#", "*123#"},
      {"+4412345", ""},
      {"", ""},
      {"abcd", "abc"},
      {"12 34", "12"},
      // Whole characters are compared: these end the text though their low byte is '1', '#', 'a'.
      {QString::fromUtf8("12\u0131"), "12"},
      {QString::fromUtf8("5\u0123"), "5"},
      {QString::fromUtf8("7\u0161"), "7"},
      // Digits of other scripts are not dial characters (Arabic-Indic, full-width).
      {QString::fromUtf8("\u0661\u0662\u0663"), ""},
      {QString::fromUtf8("9\uFF11"), "9"},
      {QString::fromUtf8("1\U0001D7CF"), "1"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(f->stringForObjectValue(c.in), c.out) << c.in.toStdString();
  EXPECT_EQ(f->stringForObjectValue(QVariant(42)), "");
  EXPECT_EQ(f->stringForObjectValue(QVariant()), "");
}

TEST(IPAddressFormatter, NormalisesToFourBoundedNumbers) {
  const auto f = IPAddressFormatter::defaultIPAddressFormatter();
  struct Case {
    QString in, out;
  } cases[] = {
      {"192.168.1.1", "192.168.1.1"},
      {"1.2.3", "1.2.3.0"},
      {"192.168", "192.168.0.0"},
      {"10", "10.0.0.0"},
      {"", "0.0.0.0"},
      {"300.-5.ab.7", "255.0.0.7"},
      {"1.2.3.4.5", "1.2.3.4"},
      {" 10. 20.30.40", "10.20.30.40"},
      {"+7.08.009.1x", "7.8.9.1"},
      {"...", "0.0.0.0"},
      {"99999999999999999999999.1.1.-99999999999999999999", "255.1.1.0"},
      {"- 5.1.1.1", "0.1.1.1"},
      // Only ASCII digits are digits; the low byte of a character never makes one.
      {QString::fromUtf8("\u0661\u0669\u0662.1.1.1"), "0.1.1.1"},
      {QString::fromUtf8("1\u0131.2.3.4"), "1.2.3.4"},
      {QString::fromUtf8("\u0131.2.3.4"), "0.2.3.4"},
      {QString::fromUtf8("\uFF11.2.3.4"), "0.2.3.4"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(f->stringForObjectValue(c.in), c.out) << c.in.toStdString();
  EXPECT_EQ(f->stringForObjectValue(QVariant(5)), "0.0.0.0");
}

TEST(QELFormatter, AcceptsEveryInputAndStoresTheNormalForm) {
  const auto f = IPAddressFormatter::defaultIPAddressFormatter();
  QVariant value;
  QString error = "stale";
  EXPECT_TRUE(f->getObjectValue(&value, "1.2", &error));
  EXPECT_EQ(value.toString(), "1.2.0.0");
  EXPECT_TRUE(error.isEmpty());
  EXPECT_NE(TPAddressFormatter::defaultTPAddressFormatter(), TPAddressFormatter::defaultTPAddressFormatter());
}

TEST(QELFormatter, BoundLineEditShowsTheNormalFormWhenEditingEnds) {
  QLineEdit ip;
  QLineEdit phone;
  setFormatter(&ip, IPAddressFormatter::defaultIPAddressFormatter());
  setFormatter(&phone, TPAddressFormatter::defaultTPAddressFormatter());
  ip.setText("10.0.300");
  phone.setText("*100#abc+1");
  emit ip.editingFinished();
  emit phone.editingFinished();
  EXPECT_EQ(ip.text(), "10.0.255.0");
  EXPECT_EQ(phone.text(), "*100#abc");
  EXPECT_EQ(setFormatter(nullptr, IPAddressFormatter::defaultIPAddressFormatter()), nullptr);
}
