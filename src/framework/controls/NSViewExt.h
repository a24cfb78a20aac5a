#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// A view that paints a skin image as its background (transparent elsewhere, so a borderless
// window takes the image's shape). Without an image it is a plain container.
class NSViewExt : public QWidget {
  Q_OBJECT
public:
  explicit NSViewExt(QWidget *parent = nullptr);
  void setImage(const QImage &image);
  const QImage &image() const { return backGroundImage_; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  QImage backGroundImage_;
};

// The image view of the skins: draws its image unscaled, centred; nothing without one.
class ImageView : public QWidget {
  Q_OBJECT
public:
  explicit ImageView(QWidget *parent = nullptr);
  void setImage(const QImage &image);
  const QImage &image() const { return image_; }
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  QImage image_;
};

// The page of one tab. The identifier is kept as the "itemIdentifier" property, which is what
// the tab look-ups (NSTabViewExt) read; hiding the item hides its tab.
class TabViewItem : public QWidget {
  Q_OBJECT
public:
  explicit TabViewItem(const QString &identifier = {}, QWidget *parent = nullptr);
  QString identifier() const;
  void setIdentifier(const QString &identifier);
  // Shows or hides the tab when the page sits in a QTabWidget; else the page itself.
  void setItemHidden(bool hidden);
  bool isItemHidden() const { return itemHidden_; }

private:
  bool itemHidden_ = false;
};
