#include "NSButtonExt.h"

#include "CocoaExt.h"
#include "DispatchTargets.h"
#include "NotificationCenter.h"

#include <QEnterEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace {
constexpr int kTitleGap = 2;
}

NSButtonExt::NSButtonExt(QWidget *parent) : QPushButton(parent) {
  connect(this, &QAbstractButton::clicked, this, [this] { sendAction(); });
}

NSButtonExt::NSButtonExt(const QString &title, QWidget *parent) : NSButtonExt(parent) {
  setText(title);
}

void NSButtonExt::setTitleColor(const QColor &color) {
  if (!color.isValid())
    return;
  titleColor_ = color;
  applyTitleColor();
}

void NSButtonExt::applyTitleColor() {
  if (!titleColor_.isValid())
    return;
  QPalette pal = palette();
  pal.setColor(QPalette::ButtonText, titleColor_);
  pal.setColor(QPalette::WindowText, titleColor_);
  setPalette(pal);
  update();
}

void NSButtonExt::setTitle(const QString &title) {
  setText(title);
  applyTitleColor();
}

void NSButtonExt::setImage(const QImage &image) {
  image_ = image;
  updateGeometry();
  update();
}

void NSButtonExt::setAlternateImage(const QImage &image) {
  alternateImage_ = image;
  update();
}

void NSButtonExt::setImagePosition(int position) {
  imagePosition_ = position;
  updateGeometry();
  update();
}

void NSButtonExt::setButtonType(int type) {
  buttonType_ = type;
  setCheckable(type == NSToggleButton);
}

void NSButtonExt::setBordered(bool bordered) {
  bordered_ = bordered;
  setFlat(!bordered);
  update();
}

bool NSButtonExt::targetAnswersAction() const {
  if (!target_ || action_.isEmpty())
    return false;
  const QMetaObject *mo = target_->metaObject();
  return mo->indexOfMethod(action_ + "(QObject*)") >= 0 || mo->indexOfMethod(action_ + "()") >= 0;
}

bool NSButtonExt::sendAction() {
  emit actionSent(this);
  if (!targetAnswersAction()) {
    // A button without a target is wired by signal; one whose target lacks the action is broken.
    if (target_ && !action_.isEmpty())
      DispatchTargets::reportMissing(target_, action_, QStringLiteral("button %1").arg(objectName()));
    return false;
  }
  const QMetaObject *mo = target_->metaObject();
  if (mo->indexOfMethod(action_ + "(QObject*)") >= 0)
    return QMetaObject::invokeMethod(target_, action_.constData(), Q_ARG(QObject *, this));
  return QMetaObject::invokeMethod(target_, action_.constData());
}

QImage NSButtonExt::currentImage() const {
  if (buttonType_ == NSMomentaryChangeButton && isDown() && !alternateImage_.isNull())
    return alternateImage_;
  return image_;
}

QSize NSButtonExt::sizeHint() const {
  const QImage img = currentImage().isNull() ? image_ : currentImage();
  if (img.isNull() && bordered_)
    return QPushButton::sizeHint();
  const QSize is = img.isNull() ? QSize() : NSImageExt::logicalSize(img).toSize();
  const QFontMetrics fm(font());
  const bool hasTitle = !text().isEmpty() && imagePosition_ != NSImageOnly;
  const QSize ts = hasTitle ? QSize(fm.horizontalAdvance(text()) + 8, fm.height()) : QSize();
  switch (img.isNull() ? NSNoImage : imagePosition_) {
  case NSImageOnly:
    return is;
  case NSImageLeft:
  case NSImageRight:
    return QSize(is.width() + (hasTitle ? kTitleGap + ts.width() : 0), qMax(is.height(), ts.height()));
  case NSImageAbove:
  case NSImageBelow:
    return QSize(qMax(is.width(), ts.width()), is.height() + (hasTitle ? kTitleGap + ts.height() : 0));
  case NSImageOverlaps:
    return is.expandedTo(ts);
  default:
    return ts.isValid() ? ts + QSize(8, 6) : QSize(16, 16);
  }
}

void NSButtonExt::sizeToFit() {
  resize(sizeHint());
}

void NSButtonExt::paintEvent(QPaintEvent *event) {
  if (!drawsItself()) {
    QPushButton::paintEvent(event);
    return;
  }
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QImage img = currentImage();
  const QSizeF is = img.isNull() ? QSizeF() : NSImageExt::logicalSize(img);
  const bool hasTitle = !text().isEmpty() && imagePosition_ != NSImageOnly;
  const QFontMetrics fm(font());
  QRectF imageRect(QPointF((width() - is.width()) / 2.0, (height() - is.height()) / 2.0), is);
  QRectF textRect = rect();
  switch (img.isNull() ? NSNoImage : imagePosition_) {
  case NSImageAbove:
    imageRect.moveTop(0);
    textRect = QRectF(0, is.height() + kTitleGap, width(), height() - is.height() - kTitleGap);
    break;
  case NSImageBelow:
    imageRect.moveTop(height() - is.height());
    textRect = QRectF(0, 0, width(), height() - is.height() - kTitleGap);
    break;
  case NSImageLeft:
    imageRect.moveLeft(0);
    textRect = QRectF(is.width() + kTitleGap, 0, width() - is.width() - kTitleGap, height());
    break;
  case NSImageRight:
    imageRect.moveLeft(width() - is.width());
    textRect = QRectF(0, 0, width() - is.width() - kTitleGap, height());
    break;
  default:
    break;
  }
  if (!img.isNull())
    p.drawImage(imageRect.topLeft(), img);
  if (hasTitle) {
    QColor c = titleColor_.isValid() ? titleColor_ : palette().color(QPalette::ButtonText);
    if (!isEnabled())
      c.setAlphaF(c.alphaF() * 0.45);
    p.setPen(c);
    p.setFont(font());
    const int align = (img.isNull() || imagePosition_ == NSImageOverlaps || imagePosition_ == NSImageAbove ||
                       imagePosition_ == NSImageBelow)
                          ? Qt::AlignCenter
                          : int(Qt::AlignVCenter | (imagePosition_ == NSImageLeft ? Qt::AlignLeft : Qt::AlignRight));
    p.drawText(textRect, align | Qt::TextSingleLine, fm.elidedText(text(), Qt::ElideRight, int(textRect.width())));
  }
}

NSPopUpButtonExt::NSPopUpButtonExt(QWidget *parent) : NSButtonExt(parent) {}

// ---------------------------------------------------------------------------------------------

NSFlickerButton::NSFlickerButton(QWidget *parent) : NSButtonExt(parent) {}

NSFlickerButton::~NSFlickerButton() {
  NotificationCenter::defaultCenter().removeObserver(this);
}

void NSFlickerButton::setFlickerButtonStyle() {
  setButtonType(NSToggleButton);
  setCheckable(false); // the look comes from the images, not from a checked state
  setImagePosition(NSImageOnly);
  setBordered(false);
  bFlickerButton_ = true;
  setAttribute(Qt::WA_Hover);
}

void NSFlickerButton::setImage(const QImage &image) {
  if (image.isNull())
    return;
  shown_ = image;
  NSButtonExt::setImage(image);
}

QImage NSFlickerButton::currentImage() const {
  return shown_.isNull() ? image() : shown_;
}

void NSFlickerButton::showLook(const QImage &img, const QColor &titleColor) {
  if (!img.isNull())
    shown_ = img;
  setTitleColor(titleColor);
  update();
}

void NSFlickerButton::setHoverTitleColor(const QColor &color) {
  if (!color.isValid())
    return;
  setTitleColor(color);
  setTitle(title());
}

void NSFlickerButton::setMenu(QMenu *menu) {
  popupMenu_ = menu;
}

void NSFlickerButton::popUpMenu() {
  if (popupMenu_)
    popupMenu_->popup(mapToGlobal(QPoint(0, height())));
}

void NSFlickerButton::setGroupButton(const QString &groupID, bool bDefaultBtn) {
  if (groupID.isNull())
    return;
  NotificationCenter &nc = NotificationCenter::defaultCenter();
  if (!groupID_.isEmpty())
    nc.removeObserver(this, groupID_);
  groupID_ = QStringLiteral("NSFlickerButton") + groupID;
  nc.addObserver(this, groupID_, nullptr, [this](const Notification &n) { groupBtnChanged(n.object); });
  if (bDefaultBtn) {
    showLook(imageDn_, dnTitleColor_);
    groupImage_ = imageDn_;
  }
}

void NSFlickerButton::setGroupButtonChange() {
  if (groupID_.isEmpty())
    return;
  NotificationCenter::defaultCenter().postNotificationName(groupID_, this);
}

void NSFlickerButton::groupBtnChanged(QObject *selected) {
  if (selected == this) {
    showLook(imageDn_, dnTitleColor_);
    groupImage_ = imageDn_;
  } else {
    showLook(imageUp_, upTitleColor_);
    groupImage_ = imageUp_;
  }
}

void NSFlickerButton::enableMouseTracking() {
  if (trackingRectTag_ == 0)
    trackingRectTag_ = 1;
}

void NSFlickerButton::disableMouseTracking() {
  if (trackingRectTag_ != 0)
    trackingRectTag_ = 0;
}

void NSFlickerButton::resetMouseTracking(bool force) {
  if (btnStatus_ == 0 || force) {
    disableMouseTracking();
    enableMouseTracking();
  }
}

void NSFlickerButton::mousePressEvent(QMouseEvent *event) {
  if (!bFlickerButton_ || !isEnabled() || event->button() != Qt::LeftButton) {
    if (!bFlickerButton_ && popupMenu_ && event->button() == Qt::LeftButton) {
      popUpMenu();
      event->accept();
      return;
    }
    NSButtonExt::mousePressEvent(event);
    return;
  }
  setBtnStatus(Pressed | Inside);
  showLook(imageDn_, dnTitleColor_);
  event->accept();
}

void NSFlickerButton::mouseReleaseEvent(QMouseEvent *event) {
  if (!bFlickerButton_ || !isEnabled() || event->button() != Qt::LeftButton) {
    NSButtonExt::mouseReleaseEvent(event);
    return;
  }
  clearBtnStatus(Pressed);
  showLook(imageUp_, upTitleColor_);
  if (isBtnStatusOK(Inside)) {
    if (popupMenu_) {
      popUpMenu();
    } else {
      sendAction();
      setGroupButtonChange();
      resetMouseTracking(true);
    }
  }
  event->accept();
}

void NSFlickerButton::mouseMoveEvent(QMouseEvent *event) {
  if (!bFlickerButton_ || !isEnabled() || !(event->buttons() & Qt::LeftButton)) {
    NSButtonExt::mouseMoveEvent(event);
    return;
  }
  if (rect().contains(event->position().toPoint())) {
    setBtnStatus(Inside);
    showLook(imageDn_, dnTitleColor_);
  } else {
    clearBtnStatus(Inside);
    showLook(imageUp_, upTitleColor_);
  }
  event->accept();
}

void NSFlickerButton::enterEvent(QEnterEvent *event) {
  NSButtonExt::enterEvent(event);
  if (!bFlickerButton_ || !isEnabled())
    return;
  setBtnStatus(Inside);
  if (isBtnStatusOK(Pressed))
    showLook(imageDn_, dnTitleColor_);
  else
    showLook(imageIn_.isNull() ? imageUp_ : imageIn_, inTitleColor_);
}

void NSFlickerButton::leaveEvent(QEvent *event) {
  NSButtonExt::leaveEvent(event);
  if (!bFlickerButton_ || !isEnabled())
    return;
  clearBtnStatus(Inside);
  showLook(groupImage_.isNull() ? imageUp_ : groupImage_, upTitleColor_);
}

void NSFlickerButton::changeEvent(QEvent *event) {
  if (event->type() == QEvent::EnabledChange && bFlickerButton_)
    showLook(isEnabled() ? (groupImage_.isNull() ? imageUp_ : groupImage_)
                         : (imageDisable_.isNull() ? imageUp_ : imageDisable_),
             upTitleColor_);
  NSButtonExt::changeEvent(event);
}

void NSFlickerButton::paintEvent(QPaintEvent *event) {
  NSButtonExt::paintEvent(event);
  if (bFlickerButton_)
    resetMouseTracking(false);
}
