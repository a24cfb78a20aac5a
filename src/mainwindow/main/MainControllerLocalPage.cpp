// The bundle's local web page on the main window's "HomePage" page.
#include "Bundle.h"
#include "CocoaExt.h"
#include "MainController.h"
#include "WebViewUtilities.h"

#include <QFileInfo>
#include <QPointer>
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
  // The view, and with it the web engine, is made when the page is first shown: the engine
  // costs most of a second and tens of megabytes, which the start must not pay for a page the
  // user may never open.
  QPointer<QWidget> home = page;
  const auto showPage = [this, home] {
    if (webViewForShowLocalWebUI_ || !home || !tabviewMain || tabviewMain->currentWidget() != home)
      return;
    WebView *view = WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(QRect(0, 0, 100, 100), home);
    if (!view)
      return;
    view->setObjectName(QStringLiteral("webViewForShowLocalWebUI"));
    auto *layout = home->layout() ? qobject_cast<QVBoxLayout *>(home->layout()) : new QVBoxLayout(home);
    if (layout) {
      layout->setContentsMargins(0, 0, 0, 0);
      layout->addWidget(view);
    }
    webViewForShowLocalWebUI_ = view;
    notificationCenter->addObserver(this, QStringLiteral("LoadImageFormURLOver"), nullptr,
                                    [this](const Notification &n) { refreshWebView(n); });
    refreshWebView();
  };
  connect(tabviewMain, &QTabWidget::currentChanged, this, showPage);
  // Once the window is up, for a page that is current from the start.
  QTimer::singleShot(0, this, showPage);
}

void MainController::refreshWebView(const Notification &) {
  if (webViewForShowLocalWebUI_)
    WebViewUtilities::sharedManager()->LoadURL(localPagePath(), webViewForShowLocalWebUI_);
}
