#include "WebViewUtilities.h"

#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>

namespace {
WebViewUtilities::Opener &opener() {
  static WebViewUtilities::Opener o;
  return o;
}
} // namespace

WebView::WebView(QWidget *parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  setFrameShape(QFrame::NoFrame);
  connect(this, &QTextBrowser::anchorClicked, this, &WebView::linkClicked);
}

void WebView::load(const QUrl &url) {
  if (delegate_ && !delegate_->decidePolicyForNavigation(this, url))
    return;
  url_ = url;
  if (delegate_)
    delegate_->didStartProvisionalLoad(this);
  if (url.isLocalFile()) {
    if (!QFileInfo(url.toLocalFile()).isFile()) {
      clear();
      if (delegate_)
        delegate_->didFailProvisionalLoad(this, QStringLiteral("no file %1").arg(url.toLocalFile()));
      return;
    }
    setSearchPaths({QFileInfo(url.toLocalFile()).absolutePath()});
    setSource(url, QTextDocument::HtmlResource);
  } else {
    // Without a web engine a remote page is offered as a link to the browser.
    const QString address = url.toString().toHtmlEscaped();
    setHtml(QStringLiteral("<p><a href=\"%1\">%1</a></p>").arg(address));
  }
  if (delegate_) {
    if (!documentTitle().isEmpty())
      delegate_->didReceiveTitle(this, documentTitle());
    delegate_->didFinishLoad(this);
  }
}

void WebView::reload() {
  if (url_.isValid())
    load(url_);
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
