#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QStringList>

inline constexpr QSize kGallerySize{1320, 1080};

struct GalleryResult {
  QImage image;
  QStringList missingKeys; // controls the skin refused
  QPointF pressedTab;      // centre of the default toolbar button's tile, in 1x gallery pixels
  QPointF idleTab;         // centre of its neighbour's tile
};

// The sample windows built from the skin at `skinPath`, drawn at `ratio` device pixels per pixel.
GalleryResult renderGallery(const QString &skinPath, qreal ratio);
