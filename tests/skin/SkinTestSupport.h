#pragma once

#include "Plist.h"
#include "UIManager.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QVariantMap>

// A throw-away skin folder: items are written as a SkinInfo plist, images as PNG files.
class TempSkin {
public:
  TempSkin() { dir_.setAutoRemove(true); }
  QString path() const { return dir_.path(); }
  void setItem(const QString &key, const QVariantMap &item) { info_[key] = item; }
  // An image whose columns are filled with `colors` in equal bands, left to right.
  void addImage(const QString &name, const QSize &size, const QList<QColor> &colors = {Qt::red}) {
    QImage img(size, QImage::Format_ARGB32);
    for (int x = 0; x < size.width(); ++x) {
      const QColor c = colors[qMin<int>(colors.size() - 1, x * colors.size() / size.width())];
      for (int y = 0; y < size.height(); ++y)
        img.setPixelColor(x, y, c);
    }
    img.save(path() + QLatin1Char('/') + name);
  }
  bool write() const { return Plist::writeFile(path() + QStringLiteral("/SkinInfo"), info_); }
  bool load(UIManager &m) { return write() && m.loadUIResource(path()); }
  QVariantMap &info() { return info_; }

private:
  QTemporaryDir dir_;
  QVariantMap info_;
};
