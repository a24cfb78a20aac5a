#include "WebLinkControls.h"

#include "NotificationCenter.h"
#include "WebViewUtilities.h"
#include "WindowManners.h"

#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>

namespace {
// The local path a link names, or its text as it stands.
QString pathOf(const QUrl &url) {
  return url.isLocalFile() ? url.toLocalFile() : url.toString();
}
} // namespace

WeblinkButton::WeblinkButton(QWidget *parent) : QPushButton(parent) {}

void WeblinkButton::setWebLinkString(const QString &text) {
  webLink_ = text.isNull() ? QUrl() : QUrl(text);
}

bool WeblinkButton::openLink() {
  if (!isEnabled() || !webLink_.isValid() || webLink_.isEmpty())
    return false;
  if (linkType_ == kWebPage)
    return WebViewUtilities::openInBrowser(webLink_);
  if (linkType_ != kApplicationOrFile)
    return false;
  const QString target = pathOf(webLink_);
  if (linkPara_.isEmpty()) {
    // Only a program that exists is started, never a text taken for a command line.
    if (!QFileInfo(target).isExecutable() || !QFileInfo(target).isFile())
      return false;
    return QProcess::startDetached(target, {});
  }
  if (!QFileInfo::exists(target))
    return false;
  return QProcess::startDetached(linkPara_, {target});
}

void WeblinkButton::mousePressEvent(QMouseEvent *event) {
  QPushButton::mousePressEvent(event);
  openLink();
}

WebLinkImageView::WebLinkImageView(QWidget *parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void WebLinkImageView::setWebLinkString(const QString &text) {
  webLink_ = text.isNull() ? QUrl() : QUrl(text);
}

void WebLinkImageView::press() {
  if (!isEnabled()) {
    NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("WebLinkImageViewDisabled"), nullptr);
    return;
  }
  if (webLink_.isValid() && !webLink_.isEmpty())
    WebViewUtilities::openInBrowser(webLink_);
}

void WebLinkImageView::mousePressEvent(QMouseEvent *event) {
  QLabel::mousePressEvent(event);
  press();
}

bool WebLinkImageView::event(QEvent *event) {
  // A disabled widget gets no press; the picture still answers one.
  if (!isEnabled() && event->type() == QEvent::MouseButtonPress) {
    press();
    return true;
  }
  return QLabel::event(event);
}

FavoriteIconHintWindow::FavoriteIconHintWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint) {
  setAttribute(Qt::WA_TranslucentBackground);
  setFocusPolicy(Qt::StrongFocus);
}

QRect FavoriteIconHintWindow::keptInside(const QRect &frame, const QRect &screen) {
  return WindowManners::keptInside(frame, screen);
}

void FavoriteIconHintWindow::mousePressEvent(QMouseEvent *event) {
  initialLocation_ = event->position().toPoint();
  event->accept();
}

void FavoriteIconHintWindow::mouseMoveEvent(QMouseEvent *event) {
  if (!(event->buttons() & Qt::LeftButton))
    return;
  QRect frame = geometry();
  frame.moveTopLeft(event->globalPosition().toPoint() - initialLocation_);
  const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen)
    frame = keptInside(frame, screen->availableGeometry());
  move(frame.topLeft());
  event->accept();
}
