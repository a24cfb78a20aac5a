#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QWidget;

// Frames in the view system the skins are written for: origin at the bottom-left of the parent,
// y growing upward. This is the only place that converts to Qt's top-left geometry:
// qtY = parentHeight - bottom - height. A top-level window is measured against its screen's
// available area; a widget without a parent yet keeps its bottom offset and is placed when it
// gets one (see UIManager).
namespace CocoaFrame {
// Height the frame of `view` is measured against (parent height, screen height, or 0).
qreal referenceHeight(const QWidget *view);
QRectF frame(const QWidget *view);
void setFrame(QWidget *view, const QRectF &frame);
void setFrameOrigin(QWidget *view, const QPointF &origin);
// Keeps the bottom-left origin, as a frame resize does in that view system.
void setFrameSize(QWidget *view, const QSizeF &size);
// Re-applies a bottom offset remembered while the view had no parent; true when it did.
bool applyPendingOrigin(QWidget *view);
} // namespace CocoaFrame

// Placement modes of a view's subviews and of the view inside its superview. The arithmetic
// works on frames in bottom-left coordinates (namespace rules) so it is testable without
// widgets; the widget functions read the frames, apply a rule and write them back.
namespace NSViewPlacement {

enum SubviewPlacementType {
  RebuilSubviewsByX = 0,
  RebuilSubviewsByY = 1,
  PlacementRefLeft = 2,
  PlacementRefRight = 3,
  PlacementRefTop = 4,
  PlacementRefBottom = 5,
  PlacementToViewLeft = 6,
  PlacementToViewRight = 7,
  PlacementToViewTop = 8,
  PlacementToViewBottom = 9,
  PlacementCenterX = 10,
  PlacementCenterY = 11,
  PlacementCenterYRefTop = 12,
  PlacementCenterXRefLeft = 13,
};
enum SuperviewPlacementType {
  InSuperViewCenterX = 14,
  InSuperViewCenterY = 15,
  InSuperViewLeft = 16,
  InSuperViewTop = 17,
  InSuperViewRight = 18,
  InSuperViewBottom = 19,
};

// -1 for a word in neither table (matched character for character).
int subviewPlacementType(const QString &word);
int superviewPlacementType(const QString &word);

namespace rules {
using Frames = QList<QRectF>;
// Indices of `frames` in the new order (mode 0 by x, mode 1 by y minus height; ties keep order).
QList<int> rearrangeOrder(const Frames &frames, int mode);
void refLeft(Frames &f, qreal spacing, qreal leftPos = -1);
void refRight(Frames &f, qreal spacing, qreal rightPos = -1);
// Columns: subview i+1 sits `spacing` above subview i; the position is the column's bottom
// (mode 4, from the first subview) or the last subview's bottom (mode 5).
void refTop(Frames &f, qreal spacing, qreal topPos = -1);
void refBottom(Frames &f, qreal spacing, qreal bottomPos = -1);
void toViewLeft(Frames &f, qreal spacing);
void toViewRight(Frames &f, qreal spacing, const QSizeF &view);
void toViewTop(Frames &f, qreal spacing, const QSizeF &view);
void toViewBottom(Frames &f, qreal spacing);
bool toViewCenterX(Frames &f, qreal spacing, const QSizeF &view);
bool toViewCenterY(Frames &f, qreal spacing, const QSizeF &view);
void toViewCenterYRefTop(Frames &f, const QSizeF &bounds);
void toViewCenterXRefLeft(Frames &f, const QSizeF &bounds);
// The view's frame inside a superview of size `super`; false (frame unchanged) when the
// superview is smaller in the direction concerned.
bool inSuperView(QRectF &frame, int mode, qreal spacing, const QSizeF &super);
} // namespace rules

// The subviews a rule works on: the direct child widgets that are not windows, in stacking order.
QList<QWidget *> subviews(const QWidget *view);

bool placementSubViewsSpacingPixel(QWidget *view, int spacing, const QString &mode);
bool placementInSuperViewSpacingPixel(QWidget *view, int spacing, const QString &mode);

void rebuildSubViewsByMode(QWidget *view, int mode);
QList<QWidget *> rearrangeOrder(const QList<QWidget *> &views, int mode);
void placementRefLeftViewSpacingPixel(QWidget *view, int spacing, int leftPosAt);
void placementRefRightViewSpacingPixel(QWidget *view, int spacing, int rightPosAt);
void placementRefTopViewSpacingPixel(QWidget *view, int spacing, int topPosAt);
void placementRefBottomViewSpacingPixel(QWidget *view, int spacing, int bottomPosAt);
void placementToViewLeftSpacingPixel(QWidget *view, int spacing);
void placementToViewRightSpacingPixel(QWidget *view, int spacing);
void placementToViewTopSpacingPixel(QWidget *view, int spacing);
void placementToViewBottomSpacingPixel(QWidget *view, int spacing);
bool placementToViewCenterX(QWidget *view, int spacing);
bool placementToViewCenterY(QWidget *view, int spacing);
void placementToViewCenterYRefTop(QWidget *view);
void placementToViewCenterXRefLeft(QWidget *view);
bool placementInSuperViewCenterX(QWidget *view);
bool placementInSuperViewCenterY(QWidget *view);
bool placementInSuperViewLeft(QWidget *view, int spacing);
bool placementInSuperViewTop(QWidget *view, int spacing);
bool placementInSuperViewRight(QWidget *view, int spacing);
bool placementInSuperViewBottom(QWidget *view, int spacing);

} // namespace NSViewPlacement
