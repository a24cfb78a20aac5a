#pragma once

#include "SkinGrowth.h"

#include <QImage>
#include <QMargins>
#include <QWidget>

// The skinned content of the main window: the skin's window picture drawn from its bottom-left
// corner (the system draws the title bar, so the picture's own title band is cut off), with the
// skin's parts placed on it. The skin's size is the default and the least; a larger window
// stretches the picture's middle and lets the parts grow with it (SkinGrowth).
class SkinCanvas : public QWidget {
  Q_OBJECT
public:
  explicit SkinCanvas(const QImage &background, int titleBandHeight, QWidget *parent = nullptr);
  QSize sizeHint() const override { return skinSize_; }
  QSize skinSize() const { return skinSize_; }
  // The picture's borders that keep their size when it stretches (the rest stretches).
  void setFixedBorders(const QMargins &borders) { borders_ = borders; }
  // From now on a larger canvas grows its parts: their places at the skin's size are taken as
  // the default at the first resize. Called once the skin has placed them.
  void growWithSize();

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  QImage background_;
  QSize skinSize_;
  int titleBandHeight_ = 0;
  QMargins borders_;
  SkinGrowth::Layout layout_;
};
