#include "WebViewUtilities.h"

#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPluginLoader>
#include <QVBoxLayout>
#include <unistd.h>

#include "Bundle.h"

namespace {
WebViewUtilities::Opener &opener() {
  static WebViewUtilities::Opener o;
  return o;
}
} // namespace

WebView::WebView(QWidget *parent) : QWidget(parent) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  if (WebEngineFactory *factory = WebViewUtilities::engineFactory())
    engine_.reset(factory->createPage(this, this));
  if (engine_ && engine_->widget()) {
    layout->addWidget(engine_->widget());
    return;
  }
  engine_.reset();
  text_ = new QTextBrowser(this);
  text_->setOpenLinks(false);
  text_->setOpenExternalLinks(false);
  text_->setFrameShape(QFrame::NoFrame);
  layout->addWidget(text_);
  connect(text_, &QTextBrowser::anchorClicked, this, &WebView::linkClicked);
}

WebView::~WebView() = default;

QString WebView::title() const {
  return engine_ ? engine_->title() : text_->documentTitle();
}

void WebView::load(const QUrl &url) {
  if (engine_) {
    // The engine asks the delegate itself, through engineNavigationRequested.
    url_ = url;
    engine_->load(url);
    return;
  }
  if (delegate_ && !delegate_->decidePolicyForNavigation(this, url))
    return;
  url_ = url;
  if (delegate_)
    delegate_->didStartProvisionalLoad(this);
  loadAsText(url);
}

void WebView::loadAsText(const QUrl &url) {
  if (url.isLocalFile()) {
    if (!QFileInfo(url.toLocalFile()).isFile()) {
      text_->clear();
      if (delegate_)
        delegate_->didFailProvisionalLoad(this, QStringLiteral("no file %1").arg(url.toLocalFile()));
      return;
    }
    text_->setSearchPaths({QFileInfo(url.toLocalFile()).absolutePath()});
    text_->setSource(url, QTextDocument::HtmlResource);
  } else {
    // Without a web engine a remote page is offered as a link to the browser.
    const QString address = url.toString().toHtmlEscaped();
    text_->setHtml(QStringLiteral("<p><a href=\"%1\">%1</a></p>").arg(address));
  }
  if (delegate_) {
    if (!text_->documentTitle().isEmpty())
      delegate_->didReceiveTitle(this, text_->documentTitle());
    delegate_->didFinishLoad(this);
  }
}

void WebView::reload() {
  if (engine_)
    engine_->reload();
  else if (url_.isValid())
    load(url_);
}

void WebView::stopLoading() {
  if (engine_)
    engine_->stop();
}

void WebView::linkClicked(const QUrl &link) {
  const QUrl url = url_.resolved(link);
  // Local pages are followed in the view; everything else asks for a window of its own.
  if (url.isLocalFile()) {
    load(url);
    return;
  }
  if (delegate_)
    delegate_->decidePolicyForNewWindow(this, url);
}

bool WebView::engineNavigationRequested(const QUrl &url) {
  if (delegate_ && !delegate_->decidePolicyForNavigation(this, url))
    return false;
  url_ = url;
  return true;
}

void WebView::engineNewWindowRequested(const QUrl &url) {
  if (delegate_)
    delegate_->decidePolicyForNewWindow(this, url);
}

void WebView::engineLoadStarted() {
  if (delegate_)
    delegate_->didStartProvisionalLoad(this);
}

void WebView::engineTitleChanged(const QString &title) {
  if (delegate_)
    delegate_->didReceiveTitle(this, title);
}

void WebView::engineLoadFinished(bool ok) {
  if (!delegate_)
    return;
  if (ok)
    delegate_->didFinishLoad(this);
  else
    delegate_->didFailProvisionalLoad(this, QStringLiteral("the page %1 did not load").arg(url_.toString()));
}

WebEngineFactory *WebViewUtilities::engineFactory() {
  static WebEngineFactory *factory = []() -> WebEngineFactory * {
    if (qEnvironmentVariable("QEL_WEBENGINE") == QLatin1String("0"))
      return nullptr;
    const QString path = Bundle::mainBundle().plugInsPath() + QStringLiteral("/WebEngineView.so");
    if (!QFileInfo::exists(path))
      return nullptr;
    // The engine's sandbox refuses to start for root; the program then runs it without one.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
      qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QPluginLoader loader(path);
    auto *made = qobject_cast<WebEngineFactory *>(loader.instance());
    if (!made)
      qWarning().noquote() << "WebViewUtilities: the web engine did not load:" << loader.errorString();
    return made;
  }();
  return factory;
}

WebViewUtilities *WebViewUtilities::sharedManager() {
  static WebViewUtilities *manager = new WebViewUtilities;
  return manager;
}

WebView *WebViewUtilities::attachWebviewWithFrameRect(const QRect &frame, QWidget *superview,
                                                      WebViewDelegate *delegate) {
  if (frame.isEmpty() || !superview)
    return nullptr;
  auto *view = new WebView(superview);
  view->setGeometry(frame);
  view->setDelegate(delegate ? delegate : this);
  view->show();
  return view;
}

void WebViewUtilities::detachSubWebview(WebView *view) {
  if (!view)
    return;
  view->stopLoading();
  view->setDelegate(nullptr);
  view->setParent(nullptr);
  view->deleteLater();
}

void WebViewUtilities::LoadURL(const QString &text, WebView *view) {
  if (text.isEmpty() || !view)
    return;
  if (QFileInfo(text).isFile())
    view->load(QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
  else
    view->load(QUrl(text));
}

bool WebViewUtilities::opensInNewWindow(const QUrl &url) {
  const QString scheme = url.scheme().toLower();
  return url.isValid() &&
         (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"));
}

void WebViewUtilities::setOpener(Opener o) {
  opener() = std::move(o);
}

bool WebViewUtilities::openInBrowser(const QUrl &url) {
  return opener() ? opener()(url) : QDesktopServices::openUrl(url);
}

bool WebViewUtilities::decidePolicyForNavigation(WebView *, const QUrl &url) {
  qInfo().noquote() << "WebPolicyDecisionListener will loading URL:" + url.toString();
  return true;
}

void WebViewUtilities::decidePolicyForNewWindow(WebView *, const QUrl &url) {
  if (opensInNewWindow(url))
    openInBrowser(url);
  else
    qWarning().noquote() << "WebViewUtilities: a new window for" << url.scheme() << "addresses is not opened";
}

void WebViewUtilities::didStartProvisionalLoad(WebView *) {
  qInfo() << "webView did Start Provisional Load Frame";
}

void WebViewUtilities::didReceiveTitle(WebView *, const QString &title) {
  qInfo().noquote() << "webView did Receive Title :" << title;
}

void WebViewUtilities::didFinishLoad(WebView *) {
  qInfo() << "webView did Finish Load Frame";
}

void WebViewUtilities::didFailProvisionalLoad(WebView *, const QString &error) {
  qInfo().noquote() << "webView did Fail Provisional Load With Error :" + error;
}
