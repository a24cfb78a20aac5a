#pragma once

#include <QRect>
#include <QString>

class QWidget;

// How the program's other windows behave beside the main window: dialogs carry a worded title
// and only a close button, and notices and tool windows that would open at the screen's corner
// (or off it) open by the main window instead, inside the screen.
namespace WindowManners {

// Where a window of `window`'s size goes: centred over `main` horizontally, its top a little
// below main's top, then moved inside `screen` (its top-left corner wins when it is larger).
QRect placedBy(const QRect &window, const QRect &main, const QRect &screen);

// `frame` moved (not resized) inside `screen`; its top-left corner wins when it is larger.
QRect keptInside(const QRect &frame, const QRect &screen);

// Whether a window at `frame` was left where nobody placed it: at the screen's top-left corner,
// or partly off `screen`.
bool leftUnplaced(const QRect &frame, const QRect &screen);

// Watches every window of the program from now on: `mainWindow` is the one the others open by;
// `title` is what an untitled dialog is called.
void install(QWidget *mainWindow, const QString &title);
// The title given to untitled dialogs from now on (the wording changed).
void setDialogTitle(const QString &title);

} // namespace WindowManners
