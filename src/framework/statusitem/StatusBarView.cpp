#include "StatusBarView.h"

#include "Bundle.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QMetaMethod>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {
QString &imageFolder() {
  static QString folder;
  return folder;
}

// Calls `action` on `target` with the target itself, or with nothing when the method takes no
// argument.
bool sendAction(QObject *target, const QByteArray &action) {
  if (!target || action.isEmpty())
    return false;
  QByteArray name = action;
  if (const int colon = name.indexOf(':'); colon >= 0)
    name.truncate(colon);
  const QMetaObject *mo = target->metaObject();
  int idx = mo->indexOfMethod(name + "(QObject*)");
  if (idx >= 0)
    return mo->method(idx).invoke(target, Qt::DirectConnection, Q_ARG(QObject *, target));
  idx = mo->indexOfMethod(name + "()");
  return idx >= 0 && mo->method(idx).invoke(target, Qt::DirectConnection);
}
} // namespace

namespace StatusImages {
QImage imageNamed(const QString &name) {
  if (name.isEmpty() || name.contains(QLatin1String("..")))
    return {};
  const QString folder = imageFolder().isEmpty() ? Bundle::mainBundle().resourcePath() : imageFolder();
  for (const char *ext : {".PNG", ".png", ""}) {
    const QString path = QDir(folder).filePath(name + QLatin1String(ext));
    if (QFileInfo(path).isFile()) {
      QImage image(path);
      if (!image.isNull())
        return image;
    }
  }
  return {};
}
void setImageFolder(const QString &folder) {
  imageFolder() = folder;
}
} // namespace StatusImages

namespace {
bool assumeSystemTray = false;
}

void StatusBarView::setAssumeSystemTray(bool on) {
  assumeSystemTray = on;
}

StatusBarView::StatusBarView(QObject *parent) : QObject(parent) {
  if (assumeSystemTray || QSystemTrayIcon::isSystemTrayAvailable()) {
    statusItem_ = new QSystemTrayIcon(this);
    connect(statusItem_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      if (reason == QSystemTrayIcon::Trigger)
        mouseUp();
    });
    statusItem_->show();
  }
  animation_.onFrame = [this](double progress) { animationDidReachProgressMark(progress); };
}

StatusBarView::~StatusBarView() {
  animation_.stopAnimation();
}

void StatusBarView::setImage(const QImage &image) {
  bAnimation_ = false;
  image_ = image;
  refresh();
}

void StatusBarView::setMenu(QMenu *menu) {
  popupMenu_ = menu;
  if (statusItem_)
    statusItem_->setContextMenu(menu);
}

QStringList StatusBarView::frameNames(const QString &name, int count) {
  QStringList names;
  if (name.isEmpty())
    return names;
  // Every frame is named from the same base, so frame 10 follows frame 9 as "base10".
  const QString base = name.chopped(1);
  for (int i = 1; i <= count; ++i)
    names << base + QString::number(i);
  return names;
}

void StatusBarView::setAnimationImagesPath(const QString &name) {
  if (name == animationSequenceImagePath_ && !name.isEmpty())
    return;
  animationSequenceImagePath_ = name;
  bAnimation_ = true;
  buildAnimationSequenceImageObjects();
}

void StatusBarView::buildAnimationSequenceImageObjects() {
  animationSequenceImageObjects_.clear();
  for (const QString &frame : frameNames(animationSequenceImagePath_, animationSequenceImageNumber_)) {
    const QImage image = StatusImages::imageNamed(frame);
    // The sequence ends at the first missing picture.
    if (image.isNull())
      break;
    animationSequenceImageObjects_.append(image);
  }
}

void StatusBarView::clearAnimationSequenceImageObjects() {
  animationSequenceImageObjects_.clear();
}
void StatusBarView::clearAnimationImagesPath() {
  animationSequenceImagePath_.clear();
}

void StatusBarView::startAnimation() {
  const int count = int(animationSequenceImageObjects_.size());
  if (count == 0)
    return;
  currectAnimationSequenceImageindex_ = count - 1;
  animation_.startAnimation();
}

void StatusBarView::stopAnimation() {
  animation_.stopAnimation();
  clearAnimationSequenceImageObjects();
  clearAnimationImagesPath();
  bAnimation_ = false;
  refresh();
}

void StatusBarView::animationDidReachProgressMark(double) {
  const int count = int(animationSequenceImageObjects_.size());
  if (count == 0)
    return;
  currectAnimationSequenceImageindex_ = (currectAnimationSequenceImageindex_ + 1) % count;
  refresh();
}

QImage StatusBarView::currentImage() const {
  if (bAnimation_ && currectAnimationSequenceImageindex_ >= 0 &&
      currectAnimationSequenceImageindex_ < animationSequenceImageObjects_.size())
    return animationSequenceImageObjects_.at(currectAnimationSequenceImageindex_);
  return bAnimation_ ? QImage() : image_;
}

void StatusBarView::refresh() {
  if (!statusItem_)
    return;
  const QImage image = currentImage();
  statusItem_->setIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
}

bool StatusBarView::mouseUp() {
  if (popupMenu_) {
    popupMenu_->popup(QCursor::pos());
    return true;
  }
  return sendAction(target_, leftClickSelecor_);
}
