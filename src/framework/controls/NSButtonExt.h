#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QString>

// Image positions of a button's picture relative to its title.
enum NSCellImagePosition {
  NSNoImage = 0,
  NSImageOnly = 1,
  NSImageLeft = 2,
  NSImageRight = 3,
  NSImageBelow = 4,
  NSImageAbove = 5,
  NSImageOverlaps = 6,
};
// The button kinds the skins use.
enum NSButtonType {
  NSMomentaryLightButton = 0,
  NSToggleButton = 2,
  NSMomentaryChangeButton = 5,
};

// A push button that keeps a title colour across title changes and can draw itself from skin
// images (an image and, for momentary-change buttons, an alternate image while pressed). It
// also carries the toolbar identifier and web-link label that actions read back.
class NSButtonExt : public QPushButton {
  Q_OBJECT
public:
  explicit NSButtonExt(QWidget *parent = nullptr);
  explicit NSButtonExt(const QString &title, QWidget *parent = nullptr);

  QColor titleColor() const { return titleColor_; }
  // An invalid colour leaves the current look as it is.
  void setTitleColor(const QColor &color);
  void setTitle(const QString &title);
  QString title() const { return text(); }

  QString itemIdentifier() const { return itemIdentifier_; }
  void setItemIdentifier(const QString &identifier) { itemIdentifier_ = identifier; }
  QString urlLabel() const { return urlLabel_; }
  void setUrlLabel(const QString &label) { urlLabel_ = label; }

  virtual void setImage(const QImage &image);
  QImage image() const { return image_; }
  void setAlternateImage(const QImage &image);
  QImage alternateImage() const { return alternateImage_; }
  void setImagePosition(int position);
  int imagePosition() const { return imagePosition_; }
  void setButtonType(int type);
  int buttonType() const { return buttonType_; }
  void setBordered(bool bordered);
  bool isBordered() const { return bordered_; }
  void sizeToFit();

  // Target and action, as the configuration names them: the method `action` on `target`,
  // taking the sender (QObject *) or nothing. A method the target lacks is skipped.
  void setTarget(QObject *target) { target_ = target; }
  QObject *target() const { return target_; }
  void setAction(const QByteArray &action) { action_ = action; }
  QByteArray action() const { return action_; }
  bool targetAnswersAction() const;
  // Sends the action; true when the target had it.
  bool sendAction();

  QSize sizeHint() const override;

signals:
  // Emitted whenever the button acts, with or without a target.
  void actionSent(NSButtonExt *sender);

protected:
  void paintEvent(QPaintEvent *event) override;
  // The image shown now; subclasses choose by state.
  virtual QImage currentImage() const;
  bool drawsItself() const { return !image_.isNull() || !bordered_; }

private:
  void applyTitleColor();
  QColor titleColor_;
  QString itemIdentifier_;
  QString urlLabel_;
  QImage image_;
  QImage alternateImage_;
  // Skinned push buttons carry their title on the image.
  int imagePosition_ = NSImageOverlaps;
  int buttonType_ = NSMomentaryLightButton;
  bool bordered_ = true;
  QPointer<QObject> target_;
  QByteArray action_;
};

// A pop-up button with the same title colour, identifier and link label.
class NSPopUpButtonExt : public NSButtonExt {
  Q_OBJECT
public:
  explicit NSPopUpButtonExt(QWidget *parent = nullptr);
};

// The image button of toolbars, title bars, drawers and tab strips: swaps image and title
// colour as the pointer enters, presses, drags and leaves; can open a menu instead of acting;
// can belong to a group in which exactly one member shows its pressed image.
class NSFlickerButton : public NSButtonExt {
  Q_OBJECT
public:
  enum Status { Pressed = 1, Inside = 2 };
  explicit NSFlickerButton(QWidget *parent = nullptr);
  ~NSFlickerButton() override;

  void setFlickerButtonStyle();
  bool isFlickerStyle() const { return bFlickerButton_; }

  void setImage(const QImage &image) override; // a null image is ignored
  void setImageUp(const QImage &image) { imageUp_ = image; }
  void setImageDn(const QImage &image) { imageDn_ = image; }
  void setImageDisable(const QImage &image) { imageDisable_ = image; }
  void setImageIn(const QImage &image) { imageIn_ = image; }
  QImage imageUp() const { return imageUp_; }
  QImage imageDn() const { return imageDn_; }
  QImage imageDisable() const { return imageDisable_; }
  QImage imageIn() const { return imageIn_; }

  void setUpTitleColor(const QColor &c) { upTitleColor_ = c; }
  void setInTitleColor(const QColor &c) { inTitleColor_ = c; }
  void setDnTitleColor(const QColor &c) { dnTitleColor_ = c; }
  QColor upTitleColor() const { return upTitleColor_; }
  QColor inTitleColor() const { return inTitleColor_; }
  QColor dnTitleColor() const { return dnTitleColor_; }
  void setHoverTitleColor(const QColor &color);

  void setItemLabel(const QString &label) { itemLabel_ = label; }
  QString itemLabel() const { return itemLabel_; }
  void setMenu(QMenu *menu);
  QMenu *menu() const { return popupMenu_; }

  // Joins the group "NSFlickerButton" + `groupID`; a default member starts pressed.
  void setGroupButton(const QString &groupID, bool bDefaultBtn);
  QString groupID() const { return groupID_; }
  QImage groupImage() const { return groupImage_; }
  void setGroupButtonChange();

  void setBtnStatus(int bits) { btnStatus_ |= bits; }
  void clearBtnStatus(int bits) { btnStatus_ &= ~bits; }
  bool isBtnStatusOK(int bits) const { return (btnStatus_ & bits) == bits; }
  int btnStatus() const { return btnStatus_; }

  void enableMouseTracking();
  void disableMouseTracking();
  void resetMouseTracking(bool force);
  bool isTracking() const { return trackingRectTag_ != 0; }

  // Called with the notification of the button's group.
  void groupBtnChanged(QObject *selected);

protected:
  void changeEvent(QEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void enterEvent(QEnterEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  QImage currentImage() const override;

private:
  void showLook(const QImage &image, const QColor &titleColor);
  void popUpMenu();
  QImage imageUp_, imageDn_, imageDisable_, imageIn_;
  QImage shown_;
  QString itemLabel_;
  int btnStatus_ = 0;
  int trackingRectTag_ = 0;
  QString groupID_;
  QImage groupImage_;
  QColor upTitleColor_, inTitleColor_, dnTitleColor_;
  bool bFlickerButton_ = false;
  QPointer<QMenu> popupMenu_;
};
