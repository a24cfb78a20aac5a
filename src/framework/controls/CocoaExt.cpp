#include "CocoaExt.h"

#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "ViewPlacement.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWidget>
#include <cmath>

namespace NSColorExt {

QColor colorWithNSString(const QString &string) {
  QString s = string.trimmed();
  if (s.startsWith(QLatin1Char('[')) && s.endsWith(QLatin1Char(']')))
    s = s.mid(1, s.size() - 2);
  const QStringList parts = s.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  if (parts.size() < 3 || parts.size() > 4)
    return {};
  qreal v[4] = {0, 0, 0, 1};
  for (int i = 0; i < parts.size(); ++i) {
    bool ok = false;
    v[i] = parts[i].toDouble(&ok);
    if (!ok || !std::isfinite(v[i]))
      return {};
    v[i] = qBound<qreal>(0, v[i], 1);
  }
  return QColor::fromRgbF(float(v[0]), float(v[1]), float(v[2]), float(v[3]));
}

} // namespace NSColorExt

namespace NSImageExt {

QSizeF logicalSize(const QImage &image) {
  if (image.isNull())
    return {};
  return QSizeF(image.size()) / image.devicePixelRatio();
}

QImage rescaleImage(const QImage &image, const QSizeF &size) {
  if (image.isNull() || !(size.width() > 0) || !(size.height() > 0) || size.width() > 16384 || size.height() > 16384)
    return {};
  const qreal dpr = image.devicePixelRatio();
  QImage out = image.scaled(qMax(1, qRound(size.width() * dpr)), qMax(1, qRound(size.height() * dpr)),
                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  out.setDevicePixelRatio(dpr);
  return out;
}

QImage cutImageInRect(const QImage &image, const QRectF &rect) {
  if (image.isNull() || !(rect.width() > 0) || !(rect.height() > 0) || rect.x() < 0 || rect.y() < 0)
    return {};
  const QSizeF s = logicalSize(image);
  // Edges are taken up to the next whole pixel; a tiny epsilon absorbs float noise of strips.
  if (std::ceil(rect.x() + rect.width() - 1e-9) > s.width() || std::ceil(rect.y() + rect.height() - 1e-9) > s.height())
    return {};
  const qreal dpr = image.devicePixelRatio();
  const QRect px(qRound(rect.x() * dpr), qRound(rect.y() * dpr), qRound(rect.width() * dpr),
                 qRound(rect.height() * dpr));
  QImage out = image.copy(px.intersected(image.rect()));
  out.setDevicePixelRatio(dpr);
  return out;
}

QImage imageWithContentsOfFile(const QString &path, qreal devicePixelRatio) {
  if (path.isEmpty())
    return {};
  if (devicePixelRatio > 1.0) {
    const QFileInfo fi(path);
    const QString twin = fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral("@2x.") + fi.suffix();
    if (!fi.suffix().isEmpty() && QFileInfo::exists(twin)) {
      QImageReader reader(twin);
      QImage img = reader.read();
      if (!img.isNull()) {
        img.setDevicePixelRatio(2.0);
        return img;
      }
    }
  }
  QImageReader reader(path);
  QImage img = reader.read();
  if (!img.isNull())
    img.setDevicePixelRatio(1.0);
  return img;
}

} // namespace NSImageExt

namespace NSStringExt {

namespace {
// ASCII digits only: a wider character whose low byte happens to be a digit ("ı" is U+0131) is
// not one.
bool asciiDigit(QChar c) {
  return c.unicode() >= u'0' && c.unicode() <= u'9';
}
} // namespace

bool isDigitalString(const QString &string) {
  if (string.isEmpty())
    return false;
  for (QChar c : string)
    if (!asciiDigit(c))
      return false;
  return true;
}

bool isValidPhoneNumber(const QString &string) {
  if (string.isEmpty())
    return false;
  if (string[0] != u'+' && !asciiDigit(string[0]))
    return false;
  for (int i = 1; i < string.size(); ++i)
    if (!asciiDigit(string[i]))
      return false;
  return true;
}

QString trimString(const QString &string, const QString &characterSet, int length) {
  if (string.isEmpty() || characterSet.isEmpty() || length <= 0)
    return {};
  QString out;
  for (QChar c : string) {
    if (out.size() >= length)
      break;
    if (characterSet.contains(c))
      out += c;
  }
  return out;
}

} // namespace NSStringExt

namespace NSTabViewExt {

int tabViewItemOfIdentifier(const QTabWidget *tabView, const QString &identifier) {
  if (!tabView)
    return -1;
  for (int i = 0; i < tabView->count(); ++i)
    if (tabView->widget(i)->property("itemIdentifier").toString() == identifier && !identifier.isNull())
      return i;
  return -1;
}

QWidget *viewOfIdentifier(const QTabWidget *tabView, const QString &identifier) {
  const int i = tabViewItemOfIdentifier(tabView, identifier);
  return i < 0 ? nullptr : tabView->widget(i);
}

bool removeTabViewItemWithIdentifier(QTabWidget *tabView, const QString &identifier) {
  const int i = tabViewItemOfIdentifier(tabView, identifier);
  if (i < 0)
    return false;
  tabView->removeTab(i);
  return true;
}

bool setTabViewItemLabel(QTabWidget *tabView, const QString &label, const QString &identifier) {
  const int i = tabViewItemOfIdentifier(tabView, identifier);
  if (label.isNull() || i < 0)
    return false;
  tabView->setTabText(i, label);
  return true;
}

} // namespace NSTabViewExt

namespace NSDictionaryExt {

namespace {
bool frameOf(const QVariantMap &item, QRectF *out) {
  bool okX, okY, okW, okH;
  const qreal x = item.value(QStringLiteral("X")).toDouble(&okX);
  const qreal y = item.value(QStringLiteral("Y")).toDouble(&okY);
  const qreal w = item.value(QStringLiteral("W")).toDouble(&okW);
  const qreal h = item.value(QStringLiteral("H")).toDouble(&okH);
  if (!okX || !okY || !okW || !okH)
    return false;
  *out = QRectF(x, y, qBound<qreal>(0, w, 16384), qBound<qreal>(0, h, 16384));
  return true;
}
} // namespace

bool setItemFrame(const QVariantMap &items, QWidget *view, const QString &key) {
  const QVariantMap item = items.value(key).toMap();
  QRectF f;
  if (!view || item.isEmpty() || !frameOf(item, &f))
    return false;
  CocoaFrame::setFrame(view, f);
  return true;
}

bool setWindowContentSize(const QVariantMap &items, QWidget *window, const QString &key) {
  const QVariantMap item = items.value(key).toMap();
  bool okW = false, okH = false;
  const qreal w = item.value(QStringLiteral("W")).toDouble(&okW);
  const qreal h = item.value(QStringLiteral("H")).toDouble(&okH);
  if (!window || !okW || !okH)
    return false;
  window->resize(qBound(0, qRound(w), 16384), qBound(0, qRound(h), 16384));
  return true;
}

bool setUIItemSizeInfo(const QVariantMap &items, QWidget *window, const QString &key) {
  return setWindowContentSize(items, window, key);
}

bool setItemFrameInfo(const QVariantMap &items, QWidget *control, const QString &key, const QString &imageFolder) {
  const QVariantMap item = items.value(key).toMap();
  if (!control || item.isEmpty()) {
    qWarning("NSDictionaryExt setUIItemInfo the key:%s is invalid", qUtf8Printable(key));
    return false;
  }
  if (item.contains(QStringLiteral("Hidden")))
    control->setHidden(item.value(QStringLiteral("Hidden")).toBool());
  const QString imageName = item.value(QStringLiteral("Image")).toString();
  if (!imageName.isEmpty() && !imageFolder.isEmpty() && !imageName.contains(QLatin1String(".."))) {
    const QImage image = NSImageExt::imageWithContentsOfFile(imageFolder + QLatin1Char('/') + imageName);
    if (!image.isNull()) {
      if (auto *label = qobject_cast<QLabel *>(control))
        label->setPixmap(QPixmap::fromImage(image));
      else if (auto *button = qobject_cast<NSButtonExt *>(control))
        button->setImage(image);
      else if (auto *view = qobject_cast<NSViewExt *>(control))
        view->setImage(image);
      else if (auto *imageView = qobject_cast<ImageView *>(control))
        imageView->setImage(image);
      else
        qWarning("NSDictionaryExt setUIItemInfo: %s shows no image", control->metaObject()->className());
    }
  }
  QRectF f;
  if (frameOf(item, &f))
    CocoaFrame::setFrame(control, f);
  return true;
}

bool setItemImage(const QVariantMap &, QWidget *, const QString &) {
  return false;
}
bool setItemHiden(const QVariantMap &, QWidget *, const QString &) {
  return false;
}
bool setItemFrameImageHiden(const QVariantMap &, QWidget *, const QString &) {
  return false;
}

} // namespace NSDictionaryExt
