#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

// Skins place views by fixed rectangles in a window of fixed size. When the window grows, each
// view keeps its rectangle as the default and follows the window by where it sits: a view wider
// (taller) than half the window stretches with it, one in the right (bottom) half moves with the
// right (bottom) edge, and the rest stays where the skin put it.
namespace SkinGrowth {

// The view's rectangle in a window of `now`, from its rectangle `base` in the skin's window of
// `baseSize` (Qt coordinates: y grows downwards). A window smaller than the skin's leaves the
// rectangle as it is.
QRect grown(const QRect &base, const QSize &baseSize, const QSize &now);

// Remembers the current rectangles of `window`'s child views (not windows) as those of a window
// of `baseSize`; `apply` places them for the window's size now.
class Layout {
public:
  void remember(QWidget *window, const QSize &baseSize);
  void apply();
  bool isEmpty() const { return views_.isEmpty(); }

private:
  struct View {
    QPointer<QWidget> view;
    QRect base;
  };
  QPointer<QWidget> window_;
  QSize baseSize_;
  QList<View> views_;
};

} // namespace SkinGrowth
