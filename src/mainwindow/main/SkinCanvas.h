#pragma once

#include <QImage>
#include <QWidget>

// The skinned content of the main window: the skin's window picture drawn from its bottom-left
// corner (the system draws the title bar, so the picture's own title band is cut off), with the
// skin's parts placed on it.
class SkinCanvas : public QWidget {
  Q_OBJECT
public:
  explicit SkinCanvas(const QImage &background, int titleBandHeight, QWidget *parent = nullptr);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  QImage background_;
};
