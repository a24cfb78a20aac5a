#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariantMap>

class QTabWidget;
class QWidget;

// Small additions that the skin engine, the controllers and the main window share. Each
// namespace stands for the class it extends.

namespace NSColorExt {
// "r g b a" with components from 0 to 1 (alpha optional, square brackets allowed); an invalid
// colour for an empty or unreadable string. Components are clamped into 0..1.
QColor colorWithNSString(const QString &string);
} // namespace NSColorExt

namespace NSImageExt {
// Images keep their device pixel ratio: sizes and rectangles below are in logical (1x) pixels,
// so a "@2x" image is cut and scaled by the same numbers as its 1x twin.
QSizeF logicalSize(const QImage &image);
// The picture redrawn at `size`; a null image unless width and height are above 0.
QImage rescaleImage(const QImage &image, const QSizeF &size);
// The part inside `rect` (from the top-left corner); a null image when the rectangle, each edge
// taken up to the next whole pixel, reaches past the picture or is empty or negative.
QImage cutImageInRect(const QImage &image, const QRectF &rect);
// Reads an image file; with `devicePixelRatio` above 1 a sibling "name@2x.ext" is preferred and
// marked as such. A null image when nothing can be read.
QImage imageWithContentsOfFile(const QString &path, qreal devicePixelRatio = 1.0);
} // namespace NSImageExt

namespace NSStringExt {
// True for a non-empty string of ASCII digits '0'..'9' only.
bool isDigitalString(const QString &string);
// True for a non-empty string whose first character is '+' or an ASCII digit and whose others
// are ASCII digits.
bool isValidPhoneNumber(const QString &string);
// The characters of `string` that belong to `characterSet`, in order, cut to at most `length`;
// empty for an empty string or set, or a length not above 0.
QString trimString(const QString &string, const QString &characterSet, int length);
} // namespace NSStringExt

// Look-ups by identifier on a tab view. A tab's identifier is its page's "itemIdentifier"
// property (TabViewItem sets it).
namespace NSTabViewExt {
int tabViewItemOfIdentifier(const QTabWidget *tabView, const QString &identifier); // -1 when none
QWidget *viewOfIdentifier(const QTabWidget *tabView, const QString &identifier);
bool removeTabViewItemWithIdentifier(QTabWidget *tabView, const QString &identifier);
bool setTabViewItemLabel(QTabWidget *tabView, const QString &label, const QString &identifier);
} // namespace NSTabViewExt

// Frames from a dictionary of item dictionaries ("X", "Y", "W", "H" in the view system's
// coordinates, y measured from the bottom of the parent).
namespace NSDictionaryExt {
bool setItemFrame(const QVariantMap &items, QWidget *view, const QString &key);
bool setWindowContentSize(const QVariantMap &items, QWidget *window, const QString &key);
bool setUIItemSizeInfo(const QVariantMap &items, QWidget *window, const QString &key);
// "Hidden", the image named "Image" (looked up in `imageFolder`) and the frame.
bool setItemFrameInfo(const QVariantMap &items, QWidget *control, const QString &key, const QString &imageFolder = {});
// Kept for callers; they change nothing.
bool setItemImage(const QVariantMap &items, QWidget *control, const QString &key);
bool setItemHiden(const QVariantMap &items, QWidget *control, const QString &key);
bool setItemFrameImageHiden(const QVariantMap &items, QWidget *control, const QString &key);
} // namespace NSDictionaryExt
