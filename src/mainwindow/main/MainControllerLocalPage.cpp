// The bundle's local web page on the main window's "HomePage" page.
#include "Bundle.h"
#include "CocoaExt.h"
#include "MainController.h"
#include "WebViewUtilities.h"

#include <QFileInfo>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QString localPagePath() {
  const QString resources = Bundle::mainBundle().resourcePath();
  return resources.isEmpty() ? QString() : resources + QStringLiteral("/index.html");
}
} // namespace

void MainController::initLocalWebUI() {
  if (webViewForShowLocalWebUI_ || !tabviewMain || !QFileInfo(localPagePath()).isFile())
    return;
  QWidget *page = NSTabViewExt::viewOfIdentifier(tabviewMain, QStringLiteral("HomePage"));
  if (!page) {
    page = new QWidget(tabviewMain);
    page->setObjectName(QStringLiteral("HomePage"));
    page->setProperty("itemIdentifier", QStringLiteral("HomePage"));
    tabviewMain->addTab(page, QStringLiteral("HomePage"));
  }
  WebView *view = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(QRect(0, 0, 100, 100), page);
  if (!view)
    return;
  view->setObjectName(QStringLiteral("webViewForShowLocalWebUI"));
  auto *layout = page->layout() ? qobject_cast<QVBoxLayout *>(page->layout()) : new QVBoxLayout(page);
  if (layout) {
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
  }
  webViewForShowLocalWebUI_ = view;
  notificationCenter->addObserver(this, QStringLiteral("LoadImageFormURLOver"), nullptr,
                                  [this](const Notification &n) { refreshWebView(n); });
  // Loaded once the window is up: the page must not hold up the start.
  QTimer::singleShot(0, this, [this] { refreshWebView(); });
}

void MainController::refreshWebView(const Notification &) {
  if (webViewForShowLocalWebUI_)
    WebViewUtilities::sharedManager()->LoadURL(localPagePath(), webViewForShowLocalWebUI_);
}
