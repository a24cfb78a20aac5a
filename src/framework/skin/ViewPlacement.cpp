#include "ViewPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace {
const char kPendingBottom[] = "qelPendingBottom";
const char kAnchored[] = "qelBottomAnchored";
const char kAnchorHeight[] = "qelAnchorHeight";
const char kAnchorWatched[] = "qelAnchorWatched";

// Views placed by their bottom offset keep it when their parent's height changes, as they do in
// the skins' own coordinate system (a Qt child would keep its top offset instead).
void syncAnchors(QWidget *parent) {
  if (!parent)
    return;
  const QVariant stored = parent->property(kAnchorHeight);
  const int height = parent->height();
  if (stored.isValid() && stored.toInt() != height) {
    const int dy = height - stored.toInt();
    for (QObject *o : parent->children()) {
      auto *w = qobject_cast<QWidget *>(o);
      if (w && !w->isWindow() && w->property(kAnchored).toBool())
        w->move(w->x(), w->y() + dy);
    }
  }
  parent->setProperty(kAnchorHeight, height);
}

class AnchorFilter : public QObject {
public:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Resize)
      syncAnchors(qobject_cast<QWidget *>(watched));
    return false;
  }
  static AnchorFilter *instance() {
    static AnchorFilter *filter = new AnchorFilter;
    return filter;
  }
};

void watchParent(QWidget *parent) {
  if (parent->property(kAnchorWatched).toBool())
    return;
  parent->installEventFilter(AnchorFilter::instance());
  parent->setProperty(kAnchorWatched, true);
  if (!parent->property(kAnchorHeight).isValid())
    parent->setProperty(kAnchorHeight, parent->height());
}

// A parentless widget is a window to Qt even when it only waits for its superview; only window
// classes and shown top-levels are measured against the screen.
bool isScreenWindow(const QWidget *view) {
  if (!view->isWindow())
    return false;
  return view->isVisible() || view->inherits("NSWindowExt") || view->inherits("NSSheetWindow") ||
         view->inherits("QMainWindow") || view->inherits("QDialog");
}

QRect screenArea(const QWidget *view) {
  QScreen *screen = view->screen();
  if (!screen)
    screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}
} // namespace

namespace CocoaFrame {

qreal referenceHeight(const QWidget *view) {
  if (!view)
    return 0;
  if (isScreenWindow(view))
    return screenArea(view).height();
  return view->parentWidget() ? view->parentWidget()->height() : 0;
}

QRectF frame(const QWidget *view) {
  if (!view)
    return {};
  const QRect g = view->geometry();
  if (isScreenWindow(view)) {
    const QRect area = screenArea(view);
    return QRectF(g.x() - area.x(), area.height() - (g.y() - area.y()) - g.height(), g.width(), g.height());
  }
  if (!view->parentWidget()) {
    const QVariant pending = view->property(kPendingBottom);
    return QRectF(g.x(), pending.isValid() ? pending.toReal() : 0, g.width(), g.height());
  }
  syncAnchors(view->parentWidget());
  const QRect now = view->geometry();
  return QRectF(now.x(), view->parentWidget()->height() - now.y() - now.height(), now.width(), now.height());
}

void setFrame(QWidget *view, const QRectF &requested) {
  if (!view)
    return;
  // Skin numbers come from a file: keep them within what a screen can hold.
  constexpr qreal kLimit = 1 << 20;
  const QRectF f(qBound(-kLimit, requested.x(), kLimit), qBound(-kLimit, requested.y(), kLimit),
                 qBound<qreal>(0, requested.width(), 16384), qBound<qreal>(0, requested.height(), 16384));
  const int w = qMax(0, qRound(f.width()));
  const int h = qMax(0, qRound(f.height()));
  const int x = qRound(f.x());
  if (isScreenWindow(view)) {
    const QRect area = screenArea(view);
    view->setGeometry(area.x() + x, area.y() + area.height() - qRound(f.y()) - h, w, h);
    return;
  }
  if (!view->parentWidget()) {
    // Without a parent there is nothing to measure from yet: remember the bottom offset.
    view->setProperty(kPendingBottom, f.y());
    view->setGeometry(x, 0, w, h);
    return;
  }
  view->setProperty(kPendingBottom, QVariant());
  QWidget *parent = view->parentWidget();
  watchParent(parent);
  syncAnchors(parent);
  view->setProperty(kAnchored, true);
  view->setGeometry(x, parent->height() - qRound(f.y()) - h, w, h);
}

void setFrameOrigin(QWidget *view, const QPointF &origin) {
  QRectF f = frame(view);
  f.moveTopLeft(origin); // in bottom-left terms: x and bottom
  setFrame(view, f);
}

void setFrameSize(QWidget *view, const QSizeF &size) {
  QRectF f = frame(view);
  f.setSize(size);
  setFrame(view, f);
}

bool applyPendingOrigin(QWidget *view) {
  if (!view || !view->parentWidget() || isScreenWindow(view))
    return false;
  const QVariant pending = view->property(kPendingBottom);
  if (!pending.isValid())
    return false;
  const QRect g = view->geometry();
  setFrame(view, QRectF(g.x(), pending.toReal(), g.width(), g.height()));
  return true;
}

} // namespace CocoaFrame

namespace NSViewPlacement {

int subviewPlacementType(const QString &word) {
  static const QHash<QString, int> table = {
      {QStringLiteral("RebuilSubviewsByX"), RebuilSubviewsByX},
      {QStringLiteral("RebuilSubviewsByY"), RebuilSubviewsByY},
      {QStringLiteral("PlacementRefLeft"), PlacementRefLeft},
      {QStringLiteral("PlacementRefRight"), PlacementRefRight},
      {QStringLiteral("PlacementRefTop"), PlacementRefTop},
      {QStringLiteral("PlacementRefBottom"), PlacementRefBottom},
      {QStringLiteral("PlacementToViewLeft"), PlacementToViewLeft},
      {QStringLiteral("PlacementToViewRight"), PlacementToViewRight},
      {QStringLiteral("PlacementToViewTop"), PlacementToViewTop},
      {QStringLiteral("PlacementToViewBottom"), PlacementToViewBottom},
      {QStringLiteral("PlacementCenterX"), PlacementCenterX},
      {QStringLiteral("PlacementCenterY"), PlacementCenterY},
      {QStringLiteral("PlacementCenterYRefTop"), PlacementCenterYRefTop},
      {QStringLiteral("PlacementCenterXRefLeft"), PlacementCenterXRefLeft},
  };
  return table.value(word, -1);
}

int superviewPlacementType(const QString &word) {
  static const QHash<QString, int> table = {
      {QStringLiteral("InSuperViewCenterX"), InSuperViewCenterX},
      {QStringLiteral("InSuperViewCenterY"), InSuperViewCenterY},
      {QStringLiteral("InSuperViewLeft"), InSuperViewLeft},
      {QStringLiteral("InSuperViewTop"), InSuperViewTop},
      {QStringLiteral("InSuperViewRight"), InSuperViewRight},
      {QStringLiteral("InSuperViewBottom"), InSuperViewBottom},
  };
  return table.value(word, -1);
}

namespace rules {

QList<int> rearrangeOrder(const Frames &frames, int mode) {
  QList<int> remaining;
  for (int i = 0; i < frames.size(); ++i)
    remaining << i;
  auto key = [&](int i) { return mode == 0 ? frames[i].x() : frames[i].y() - frames[i].height(); };
  QList<int> order;
  while (!remaining.isEmpty()) {
    int best = 0;
    for (int j = 1; j < remaining.size(); ++j)
      if (key(remaining[j]) < key(remaining[best]))
        best = j;
    order << remaining.takeAt(best);
  }
  return order;
}

void refLeft(Frames &f, qreal s, qreal leftPos) {
  if (f.isEmpty())
    return;
  if (leftPos != -1)
    f[0].moveLeft(leftPos);
  for (int i = 1; i < f.size(); ++i)
    f[i].moveLeft(f[i - 1].x() + f[i - 1].width() + s);
}

void refRight(Frames &f, qreal s, qreal rightPos) {
  const int n = f.size();
  if (n == 0)
    return;
  if (rightPos != -1)
    f[n - 1].moveLeft(rightPos - f[n - 1].width());
  for (int i = n - 2; i >= 0; --i)
    f[i].moveLeft(f[i + 1].x() - s - f[i].width());
}

// Each subview of a column clears the height of its neighbour, so rows of different heights
// never overlap or leave uneven gaps.
void refTop(Frames &f, qreal s, qreal pos) {
  if (f.isEmpty())
    return;
  if (pos != -1)
    f[0].moveTop(pos);
  for (int i = 1; i < f.size(); ++i)
    f[i].moveTop(f[i - 1].y() + f[i - 1].height() + s);
}

void refBottom(Frames &f, qreal s, qreal pos) {
  const int n = f.size();
  if (n == 0)
    return;
  if (pos != -1)
    f[n - 1].moveTop(pos);
  for (int i = n - 2; i >= 0; --i)
    f[i].moveTop(f[i + 1].y() - s - f[i].height());
}

void toViewLeft(Frames &f, qreal s) {
  for (QRectF &r : f)
    r.moveLeft(s);
}
void toViewRight(Frames &f, qreal s, const QSizeF &view) {
  for (QRectF &r : f)
    r.moveLeft(view.width() - s - r.width());
}
void toViewTop(Frames &f, qreal s, const QSizeF &view) {
  for (QRectF &r : f)
    r.moveTop(view.height() - s - r.height());
}
void toViewBottom(Frames &f, qreal s) {
  for (QRectF &r : f)
    r.moveTop(s);
}

bool toViewCenterX(Frames &f, qreal s, const QSizeF &view) {
  qreal total = (f.size() - 1) * s;
  for (const QRectF &r : f)
    total += r.width();
  if (!(view.width() > total))
    return false;
  refLeft(f, s, std::trunc((view.width() - total) * 0.5));
  return true;
}

bool toViewCenterY(Frames &f, qreal s, const QSizeF &view) {
  qreal total = (f.size() - 1) * s;
  for (const QRectF &r : f)
    total += r.height();
  if (!(view.height() > total))
    return false;
  refTop(f, s, std::trunc((view.height() - total) * 0.5));
  return true;
}

void toViewCenterYRefTop(Frames &f, const QSizeF &bounds) {
  if (f.isEmpty())
    return;
  const qreal y = (bounds.height() - f[0].height()) * 0.5;
  for (QRectF &r : f)
    r.moveTop(y);
}

void toViewCenterXRefLeft(Frames &f, const QSizeF &bounds) {
  if (f.isEmpty())
    return;
  const qreal x = (bounds.width() - f[0].width()) * 0.5;
  for (QRectF &r : f)
    r.moveLeft(x);
}

bool inSuperView(QRectF &fr, int mode, qreal s, const QSizeF &sup) {
  const qreal W = sup.width(), H = sup.height(), w = fr.width(), h = fr.height();
  const bool horizontal = mode == InSuperViewCenterX || mode == InSuperViewLeft || mode == InSuperViewRight;
  if (horizontal ? W < w : H < h)
    return false;
  switch (mode) {
  case InSuperViewCenterX:
    fr.moveLeft((W - w) * 0.5);
    return true;
  case InSuperViewCenterY:
    fr.moveTop((H - h) * 0.5);
    return true;
  case InSuperViewLeft:
    fr.moveLeft(s + w < W ? s : 0);
    return true;
  case InSuperViewTop:
    fr.moveTop(H > s + h ? H - h - s : H - h);
    return true;
  case InSuperViewRight:
    fr.moveLeft(W > s + w ? W - w - s : W - w);
    return true;
  case InSuperViewBottom:
    fr.moveTop(s + h < H ? s : 0);
    return true;
  default:
    return false;
  }
}

} // namespace rules

QList<QWidget *> subviews(const QWidget *view) {
  QList<QWidget *> out;
  if (!view)
    return out;
  for (QObject *child : view->children()) {
    auto *w = qobject_cast<QWidget *>(child);
    if (w && !w->isWindow())
      out << w;
  }
  return out;
}

namespace {
// Reads the subviews' frames, lets `rule` change them and writes back the ones that moved.
template <typename Rule> auto withFrames(QWidget *view, Rule rule) {
  const QList<QWidget *> views = subviews(view);
  rules::Frames frames;
  for (QWidget *w : views)
    frames << CocoaFrame::frame(w);
  const rules::Frames before = frames;
  auto result = rule(frames);
  for (int i = 0; i < views.size(); ++i)
    if (frames[i] != before[i])
      CocoaFrame::setFrame(views[i], frames[i]);
  return result;
}
QSizeF sizeOf(const QWidget *view) {
  return QSizeF(view->size());
}
} // namespace

bool placementSubViewsSpacingPixel(QWidget *view, int spacing, const QString &mode) {
  if (!view || subviews(view).isEmpty())
    return false;
  const int type = subviewPlacementType(mode);
  switch (type) {
  case RebuilSubviewsByX:
  case RebuilSubviewsByY:
    rebuildSubViewsByMode(view, type);
    return true;
  case PlacementRefLeft:
    placementRefLeftViewSpacingPixel(view, spacing, -1);
    return true;
  case PlacementRefRight:
    placementRefRightViewSpacingPixel(view, spacing, -1);
    return true;
  case PlacementRefTop:
    placementRefTopViewSpacingPixel(view, spacing, -1);
    return true;
  case PlacementRefBottom:
    placementRefBottomViewSpacingPixel(view, spacing, -1);
    return true;
  case PlacementToViewLeft:
    placementToViewLeftSpacingPixel(view, spacing);
    return true;
  case PlacementToViewRight:
    placementToViewRightSpacingPixel(view, spacing);
    return true;
  case PlacementToViewTop:
    placementToViewTopSpacingPixel(view, spacing);
    return true;
  case PlacementToViewBottom:
    placementToViewBottomSpacingPixel(view, spacing);
    return true;
  case PlacementCenterX:
    return placementToViewCenterX(view, spacing);
  case PlacementCenterY:
    return placementToViewCenterY(view, spacing);
  case PlacementCenterYRefTop:
    placementToViewCenterYRefTop(view);
    return true;
  case PlacementCenterXRefLeft:
    placementToViewCenterXRefLeft(view);
    return true;
  default:
    return false;
  }
}

bool placementInSuperViewSpacingPixel(QWidget *view, int spacing, const QString &mode) {
  if (!view || !view->parentWidget() || view->isWindow())
    return false;
  switch (superviewPlacementType(mode)) {
  case InSuperViewCenterX:
    return placementInSuperViewCenterX(view);
  case InSuperViewCenterY:
    return placementInSuperViewCenterY(view);
  case InSuperViewLeft:
    return placementInSuperViewLeft(view, spacing);
  case InSuperViewTop:
    return placementInSuperViewTop(view, spacing);
  case InSuperViewRight:
    return placementInSuperViewRight(view, spacing);
  case InSuperViewBottom:
    return placementInSuperViewBottom(view, spacing);
  default:
    return false;
  }
}

QList<QWidget *> rearrangeOrder(const QList<QWidget *> &views, int mode) {
  rules::Frames frames;
  for (QWidget *w : views)
    frames << CocoaFrame::frame(w);
  QList<QWidget *> out;
  for (int i : rules::rearrangeOrder(frames, mode))
    out << views[i];
  return out;
}

void rebuildSubViewsByMode(QWidget *view, int mode) {
  const QList<QWidget *> views = subviews(view);
  if (views.isEmpty())
    return;
  // Raising each view in turn rebuilds the stacking order without reparenting anything.
  for (QWidget *w : rearrangeOrder(views, mode))
    w->raise();
}

void placementRefLeftViewSpacingPixel(QWidget *view, int spacing, int leftPosAt) {
  withFrames(view, [&](rules::Frames &f) { return rules::refLeft(f, spacing, leftPosAt), 0; });
}
void placementRefRightViewSpacingPixel(QWidget *view, int spacing, int rightPosAt) {
  withFrames(view, [&](rules::Frames &f) { return rules::refRight(f, spacing, rightPosAt), 0; });
}
void placementRefTopViewSpacingPixel(QWidget *view, int spacing, int topPosAt) {
  withFrames(view, [&](rules::Frames &f) { return rules::refTop(f, spacing, topPosAt), 0; });
}
void placementRefBottomViewSpacingPixel(QWidget *view, int spacing, int bottomPosAt) {
  withFrames(view, [&](rules::Frames &f) { return rules::refBottom(f, spacing, bottomPosAt), 0; });
}
void placementToViewLeftSpacingPixel(QWidget *view, int spacing) {
  withFrames(view, [&](rules::Frames &f) { return rules::toViewLeft(f, spacing), 0; });
}
void placementToViewRightSpacingPixel(QWidget *view, int spacing) {
  withFrames(view, [&](rules::Frames &f) { return rules::toViewRight(f, spacing, sizeOf(view)), 0; });
}
void placementToViewTopSpacingPixel(QWidget *view, int spacing) {
  withFrames(view, [&](rules::Frames &f) { return rules::toViewTop(f, spacing, sizeOf(view)), 0; });
}
void placementToViewBottomSpacingPixel(QWidget *view, int spacing) {
  withFrames(view, [&](rules::Frames &f) { return rules::toViewBottom(f, spacing), 0; });
}
bool placementToViewCenterX(QWidget *view, int spacing) {
  return withFrames(view, [&](rules::Frames &f) { return rules::toViewCenterX(f, spacing, sizeOf(view)); });
}
bool placementToViewCenterY(QWidget *view, int spacing) {
  return withFrames(view, [&](rules::Frames &f) { return rules::toViewCenterY(f, spacing, sizeOf(view)); });
}
void placementToViewCenterYRefTop(QWidget *view) {
  withFrames(view, [&](rules::Frames &f) { return rules::toViewCenterYRefTop(f, sizeOf(view)), 0; });
}
void placementToViewCenterXRefLeft(QWidget *view) {
  withFrames(view, [&](rules::Frames &f) { return rules::toViewCenterXRefLeft(f, sizeOf(view)), 0; });
}

namespace {
bool inSuper(QWidget *view, int mode, int spacing) {
  if (!view || !view->parentWidget() || view->isWindow())
    return false;
  QRectF f = CocoaFrame::frame(view);
  if (!rules::inSuperView(f, mode, spacing, QSizeF(view->parentWidget()->size())))
    return false;
  CocoaFrame::setFrame(view, f);
  return true;
}
} // namespace

bool placementInSuperViewCenterX(QWidget *view) {
  return inSuper(view, InSuperViewCenterX, 0);
}
bool placementInSuperViewCenterY(QWidget *view) {
  return inSuper(view, InSuperViewCenterY, 0);
}
bool placementInSuperViewLeft(QWidget *view, int spacing) {
  return inSuper(view, InSuperViewLeft, spacing);
}
bool placementInSuperViewTop(QWidget *view, int spacing) {
  return inSuper(view, InSuperViewTop, spacing);
}
bool placementInSuperViewRight(QWidget *view, int spacing) {
  return inSuper(view, InSuperViewRight, spacing);
}
bool placementInSuperViewBottom(QWidget *view, int spacing) {
  return inSuper(view, InSuperViewBottom, spacing);
}

} // namespace NSViewPlacement
