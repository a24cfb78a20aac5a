#include "WindowManners.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace WindowManners {

QRect placedBy(const QRect &window, const QRect &main, const QRect &screen) {
  QRect r(QPoint(0, 0), window.size());
  r.moveTo(main.center().x() - r.width() / 2, main.top() + std::min(80, main.height() / 6));
  return screen.isValid() ? keptInside(r, screen) : r;
}

QRect keptInside(const QRect &frame, const QRect &screen) {
  QRect r = frame;
  if (r.right() > screen.right())
    r.moveRight(screen.right());
  if (r.bottom() > screen.bottom())
    r.moveBottom(screen.bottom());
  if (r.left() < screen.left())
    r.moveLeft(screen.left());
  if (r.top() < screen.top())
    r.moveTop(screen.top());
  return r;
}

bool leftUnplaced(const QRect &frame, const QRect &screen) {
  if (!screen.isValid())
    return false;
  const bool atCorner = std::abs(frame.left() - screen.left()) <= 1 && std::abs(frame.top() - screen.top()) <= 1;
  return atCorner || !screen.contains(frame);
}

namespace {

class Manners : public QObject {
public:
  QPointer<QWidget> main;
  QString title;

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::Polish && event->type() != QEvent::Show)
      return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || !w->isWindow() || w == main)
      return false;
    const Qt::WindowType type = w->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen || type == Qt::Desktop ||
        type == Qt::Drawer)
      return false;
    if (event->type() == QEvent::Polish) {
      // Before the window exists on screen: its frame offers close only, and it has a title.
      if (qobject_cast<QDialog *>(w) && !(w->windowFlags() & Qt::FramelessWindowHint)) {
        w->overrideWindowFlags(
            (w->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) &
            ~(Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint));
        if (w->windowTitle().isEmpty() && !title.isEmpty())
          w->setWindowTitle(title);
      }
      return false;
    }
    if (!main || !main->isVisible())
      return false;
    if (leftUnplaced(w->frameGeometry(), area(w)))
      w->move(placedBy(w->frameGeometry(), main->frameGeometry(), area(main)).topLeft());
    return false;
  }

  static QRect area(const QWidget *w) {
    QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
  }
};

Manners *manners() {
  static Manners *m = nullptr;
  if (!m) {
    m = new Manners;
    qApp->installEventFilter(m);
  }
  return m;
}

} // namespace

void install(QWidget *mainWindow, const QString &title) {
  if (!qApp)
    return;
  Manners *m = manners();
  m->main = mainWindow;
  m->title = title;
}

void setDialogTitle(const QString &title) {
  if (qApp)
    manners()->title = title;
}

} // namespace WindowManners
