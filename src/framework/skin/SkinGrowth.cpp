#include "SkinGrowth.h"

#include <QWidget>

namespace SkinGrowth {

QRect grown(const QRect &base, const QSize &baseSize, const QSize &now) {
  const int dw = std::max(0, now.width() - baseSize.width());
  const int dh = std::max(0, now.height() - baseSize.height());
  QRect r = base;
  if (base.width() * 2 > baseSize.width())
    r.setWidth(base.width() + dw);
  else if (base.center().x() * 2 > baseSize.width())
    r.translate(dw, 0);
  if (base.height() * 2 > baseSize.height())
    r.setHeight(base.height() + dh);
  else if (base.center().y() * 2 > baseSize.height())
    r.translate(0, dh);
  return r;
}

void Layout::remember(QWidget *window, const QSize &baseSize) {
  window_ = window;
  views_.clear();
  if (!window)
    return;
  baseSize_ = baseSize;
  for (QObject *child : window->children()) {
    auto *view = qobject_cast<QWidget *>(child);
    if (view && !view->isWindow())
      views_ << View{view, view->geometry()};
  }
}

void Layout::apply() {
  if (!window_)
    return;
  for (const View &v : std::as_const(views_))
    if (v.view)
      v.view->setGeometry(grown(v.base, baseSize_, window_->size()));
}

} // namespace SkinGrowth
