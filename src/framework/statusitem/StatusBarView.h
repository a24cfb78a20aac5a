#pragma once

#include "MyAnimation.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <QMenu>
class QSystemTrayIcon;

// Where the status item, the blinking views and configured menus find their pictures:
// "<name>.PNG" (or ".png", or the name as it stands) in
// the bundle's Resources folder unless another folder is set (tests).
namespace StatusImages {
QImage imageNamed(const QString &name);
void setImageFolder(const QString &folder);
} // namespace StatusImages

// The program's icon in the desktop's status area (system tray, when the desktop has one). It
// shows a still image or an endless image sequence and, when clicked, pops up its menu or,
// without a menu, calls its action on its target. Without a tray everything but the display
// still works.
class StatusBarView : public QObject {
  Q_OBJECT
public:
  explicit StatusBarView(QObject *parent = nullptr);
  ~StatusBarView() override;

  void setImage(const QImage &image);
  QImage image() const { return image_; }
  void setMenu(QMenu *menu);
  QMenu *menu() const { return popupMenu_; }
  void setTarget(QObject *target) { target_ = target; }
  QObject *target() const { return target_; }
  // The name of a method of the target taking the target (QObject *) or nothing.
  void setAction(const QByteArray &action) { leftClickSelecor_ = action; }
  QByteArray action() const { return leftClickSelecor_; }
  QSystemTrayIcon *statusItem() const { return statusItem_; }
  // Tests: views made afterwards get a status item even where the platform has no tray.
  static void setAssumeSystemTray(bool on);

  // Sets the first frame's name ("status1"); frame i is the name without its last character
  // followed by i. The frames are loaded at once, up to the sequence count, and end at the first
  // frame that has no picture.
  void setAnimationImagesPath(const QString &name);
  QString getAnimationImagesPath() const { return animationSequenceImagePath_; }
  void setAnimationSequenceImageNumber(int count) { animationSequenceImageNumber_ = qMax(0, count); }
  int animationSequenceImageNumber() const { return animationSequenceImageNumber_; }
  void buildAnimationSequenceImageObjects();
  void clearAnimationSequenceImageObjects();
  void clearAnimationImagesPath();
  const QList<QImage> &animationSequenceImages() const { return animationSequenceImageObjects_; }
  // The file names of the frames of `name`, 1 to `count`.
  static QStringList frameNames(const QString &name, int count);

  // Without frames nothing is started.
  void startAnimation();
  void stopAnimation();
  bool bAnimation() const { return bAnimation_; }
  void setBanimation(bool on) { bAnimation_ = on; }
  bool isAnimating() const { return animation_.isAnimating(); }
  int currentFrameIndex() const { return currectAnimationSequenceImageindex_; }

  // What the item shows now: the frame at the current index while the sequence look is on,
  // else the still image.
  QImage currentImage() const;

  // A click on the item: the menu pops up when there is one; else the action is sent to the
  // target with the target as argument. Answers true when something was done.
  bool mouseUp();

  // One animation frame (public for tests: the animation's timer calls it).
  void animationDidReachProgressMark(double progress);

private:
  void refresh();

  QSystemTrayIcon *statusItem_ = nullptr;
  QImage image_;
  QPointer<QMenu> popupMenu_;
  QByteArray leftClickSelecor_;
  QPointer<QObject> target_;
  bool bAnimation_ = false;
  MyAnimation animation_;
  QString animationSequenceImagePath_;
  int animationSequenceImageNumber_ = 0;
  int currectAnimationSequenceImageindex_ = 0;
  QList<QImage> animationSequenceImageObjects_;
};
