#include "CocoaExt.h"
#include "NSTableViewExt.h"
#include "NSToolbarItemExt.h"
#include "NSViewExt.h"

#include <QLineEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

TEST(CocoaExtTest, ColourStrings) {
  EXPECT_EQ(NSColorExt::colorWithNSString("1 0 0 1"), QColor(255, 0, 0));
  EXPECT_EQ(NSColorExt::colorWithNSString("[0 0 1]"), QColor(0, 0, 255));
  EXPECT_NEAR(NSColorExt::colorWithNSString("0 0 0 0.5").alphaF(), 0.5, 0.01);
  EXPECT_EQ(NSColorExt::colorWithNSString("2 -1 0"), QColor(255, 0, 0)) << "clamped";
  for (const char *bad : {"", "red", "1 0", "1 0 0 1 1", "1 x 0", "nan 0 0"})
    EXPECT_FALSE(NSColorExt::colorWithNSString(bad).isValid()) << bad;
}

TEST(CocoaExtTest, CuttingAndRescaling) {
  QImage img(100, 40, QImage::Format_ARGB32);
  img.fill(Qt::white);
  EXPECT_EQ(NSImageExt::cutImageInRect(img, {50, 0, 50, 40}).size(), QSize(50, 40));
  EXPECT_TRUE(NSImageExt::cutImageInRect(img, {60, 0, 50, 40}).isNull());
  EXPECT_TRUE(NSImageExt::cutImageInRect(img, {50.5, 0, 50, 40}).isNull()) << "edges go up to the next pixel";
  EXPECT_TRUE(NSImageExt::cutImageInRect(img, {-1, 0, 5, 5}).isNull());
  EXPECT_TRUE(NSImageExt::cutImageInRect(img, {0, 0, 0, 5}).isNull());
  EXPECT_EQ(NSImageExt::rescaleImage(img, {10, 4}).size(), QSize(10, 4));
  EXPECT_TRUE(NSImageExt::rescaleImage(img, {0, 4}).isNull());
  EXPECT_TRUE(NSImageExt::rescaleImage(QImage(), {4, 4}).isNull());
}

TEST(CocoaExtTest, DigitsAndPhoneNumbers) {
  using namespace NSStringExt;
  EXPECT_TRUE(isDigitalString("0123456789"));
  EXPECT_FALSE(isDigitalString(""));
  EXPECT_FALSE(isDigitalString("12a"));
  // Characters whose low byte is a digit or '+' are not ("ı" U+0131, "ī" U+012B, "０" U+FF10).
  for (const char16_t c : {u'\u0131', u'\u0130', u'\uFF10', u'\u0660'}) {
    EXPECT_FALSE(isDigitalString(QString(QChar(c)))) << int(c);
    EXPECT_FALSE(isDigitalString("12" + QString(QChar(c)))) << int(c);
    EXPECT_FALSE(isValidPhoneNumber("+1" + QString(QChar(c)))) << int(c);
  }
  EXPECT_FALSE(isValidPhoneNumber(QString(QChar(u'\u012B')) + "49"));
  EXPECT_TRUE(isValidPhoneNumber("+"));
  EXPECT_TRUE(isValidPhoneNumber("7"));
  EXPECT_TRUE(isValidPhoneNumber("+4930123"));
  EXPECT_FALSE(isValidPhoneNumber(""));
  EXPECT_FALSE(isValidPhoneNumber("12+3"));
  EXPECT_FALSE(isValidPhoneNumber("++1"));
}

TEST(CocoaExtTest, TrimString) {
  struct Case {
    QString in, set;
    int length;
    QString out;
  };
  const Case cases[] = {
      {"+49 (30) 123-45", "+0123456789", 20, "+493012345"}, // longer than the filtered text: all of it
      {"+49 (30) 123-45", "0123456789", 4, "4930"},
      {"abc", "xyz", 5, ""},
      {"", "0123456789", 5, ""},
      {"123", "", 5, ""},
      {"123", "0123456789", 0, ""},
      {QString(), "1", 3, ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(NSStringExt::trimString(c.in, c.set, c.length), c.out) << qPrintable(c.in);
}

TEST(CocoaExtTest, TabLookUpsByIdentifier) {
  QTabWidget tabs;
  tabs.addTab(new TabViewItem("Internet"), "Internet");
  tabs.addTab(new TabViewItem("SMS"), "SMS");
  EXPECT_EQ(NSTabViewExt::tabViewItemOfIdentifier(&tabs, "SMS"), 1);
  EXPECT_EQ(NSTabViewExt::tabViewItemOfIdentifier(&tabs, "Phonebook"), -1);
  EXPECT_EQ(NSTabViewExt::viewOfIdentifier(&tabs, "Phonebook"), nullptr);
  EXPECT_FALSE(NSTabViewExt::setTabViewItemLabel(&tabs, QString(), "SMS"));
  EXPECT_TRUE(NSTabViewExt::setTabViewItemLabel(&tabs, "Messages", "SMS"));
  EXPECT_EQ(tabs.tabText(1), "Messages");
  EXPECT_TRUE(NSTabViewExt::removeTabViewItemWithIdentifier(&tabs, "Internet"));
  EXPECT_FALSE(NSTabViewExt::removeTabViewItemWithIdentifier(&tabs, "Internet"));
  EXPECT_EQ(tabs.count(), 1);
}

TEST(CocoaExtTest, FramesFromDictionaries) {
  const QVariantMap items{{"viewA", QVariantMap{{"X", 5}, {"Y", 10}, {"W", 40}, {"H", 20}, {"Hidden", true}}},
                          {"wnd", QVariantMap{{"W", 300}, {"H", 200}}}};
  QWidget parent;
  parent.resize(100, 100);
  auto *view = new QWidget(&parent);
  EXPECT_TRUE(NSDictionaryExt::setItemFrame(items, view, "viewA"));
  EXPECT_EQ(view->geometry(), QRect(5, 70, 40, 20));
  EXPECT_FALSE(NSDictionaryExt::setItemFrame(items, view, "nothing"));
  EXPECT_FALSE(NSDictionaryExt::setItemFrame(items, nullptr, "viewA"));
  EXPECT_TRUE(NSDictionaryExt::setItemFrameInfo(items, view, "viewA"));
  EXPECT_TRUE(view->isHidden());
  EXPECT_FALSE(NSDictionaryExt::setItemFrameInfo(items, view, "nothing"));
  EXPECT_TRUE(NSDictionaryExt::setWindowContentSize(items, &parent, "wnd"));
  EXPECT_EQ(parent.size(), QSize(300, 200));
  EXPECT_FALSE(NSDictionaryExt::setItemImage(items, view, "viewA"));
}

TEST(CocoaExtTest, TextFieldStringAppendsOrReplaces) {
  QLineEdit field("abc");
  setTextFieldString(&field, "def", false);
  EXPECT_EQ(field.text(), "abcdef");
  setTextFieldString(&field, "xyz", true);
  EXPECT_EQ(field.text(), "xyz");
  setTextFieldString(nullptr, "x", true);
  setTextFieldString(&field, QString(), true);
  EXPECT_EQ(field.text(), "xyz");
}

TEST(CocoaExtTest, ToolbarItemKeepsItsEnglishTexts) {
  NSToolbarItemExt item("SMS");
  item.setEnglishLabel("SMS_Label");
  item.setEnglishToolTip("SMS_Tip");
  item.setBackUpAction("tabViewChangeItemAction");
  item.setUrlLabel("URL_SMS");
  EXPECT_EQ(item.itemIdentifier(), "SMS");
  EXPECT_EQ(item.englishLabel(), "SMS_Label");
  EXPECT_EQ(item.englishToolTip(), "SMS_Tip");
  EXPECT_EQ(item.backUpAction(), "tabViewChangeItemAction");
  EXPECT_EQ(item.urlLabel(), "URL_SMS");
}

} // namespace
