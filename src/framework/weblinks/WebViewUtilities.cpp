#include "WebViewUtilities.h"

#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <QVBoxLayout>
#include <unistd.h>

#include "Bundle.h"
#include "ModalQuestions.h"
#include "QELAlertPanel.h"

#include <QKeyEvent>

namespace {
WebViewUtilities::Opener &opener() {
  static WebViewUtilities::Opener o;
  return o;
}
WebViewUtilities::Recorder &recorder() {
  static WebViewUtilities::Recorder r;
  return r;
}
} // namespace

WebView::WebView(QWidget *parent) : QWidget(parent) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  loadTimer_.setSingleShot(true);
  connect(&loadTimer_, &QTimer::timeout, this, [this] {
    if (!engine_)
      return;
    engine_->stop();
    if (delegate_)
      delegate_->didFailProvisionalLoad(this, QStringLiteral("the page %1 timed out").arg(url_.toString()));
  });
  // The text view costs nothing; only the engine waits until the view is shown.
  if (!WebViewUtilities::engineMayLoad())
    makeTextView();
}

WebView::~WebView() = default;

void WebView::makeTextView() {
  text_ = new QTextBrowser(this);
  text_->setOpenLinks(false);
  text_->setOpenExternalLinks(false);
  text_->setFrameShape(QFrame::NoFrame);
  text_->viewport()->installEventFilter(this);
  text_->installEventFilter(this);
  layout()->addWidget(text_);
  connect(text_, &QTextBrowser::anchorClicked, this, &WebView::linkClicked);
  setAllowsScrolling(allowsScrolling_);
}

void WebView::makeRenderer() {
  if (engine_ || text_)
    return;
  if (WebEngineFactory *factory = WebViewUtilities::engineFactory())
    engine_.reset(factory->createPage(this, this));
  if (engine_ && engine_->widget()) {
    layout()->addWidget(engine_->widget());
    engine_->setScrollingAllowed(allowsScrolling_);
  } else {
    engine_.reset();
    makeTextView();
  }
  if (pendingLoad_) {
    pendingLoad_ = false;
    startLoad(url_, pendingTimeout_);
  }
}

void WebView::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  makeRenderer();
}

bool WebView::eventFilter(QObject *watched, QEvent *event) {
  if (watched == followed_ && event->type() == QEvent::Resize) {
    setGeometry(followed_->rect().marginsRemoved(insets_));
    return false;
  }
  if (text_ && !allowsScrolling_ && (watched == text_ || watched == text_->viewport())) {
    // The bars are off; the wheel and the keys must not scroll either.
    if (event->type() == QEvent::Wheel)
      return true;
    if (event->type() == QEvent::KeyPress) {
      switch (static_cast<QKeyEvent *>(event)->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Home:
      case Qt::Key_End:
      case Qt::Key_Space:
        return true;
      default:
        break;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void WebView::setAllowsScrolling(bool allowed) {
  allowsScrolling_ = allowed;
  if (engine_)
    engine_->setScrollingAllowed(allowed);
  if (text_) {
    const Qt::ScrollBarPolicy policy = allowed ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    text_->setVerticalScrollBarPolicy(policy);
    text_->setHorizontalScrollBarPolicy(policy);
  }
}

void WebView::followSuperview(const QMargins &insets) {
  if (followed_)
    followed_->removeEventFilter(this);
  followed_ = parentWidget();
  insets_ = insets;
  if (followed_)
    followed_->installEventFilter(this);
}

QString WebView::title() const {
  if (engine_)
    return engine_->title();
  return text_ ? text_->documentTitle() : QString();
}

void WebView::load(const QUrl &url, int cachePolicy, int timeoutSeconds) {
  WebViewEvent event;
  event.kind = WebViewEvent::Loaded;
  event.view = objectName();
  event.superview = parentWidget() ? parentWidget()->objectName() : QString();
  event.url = url;
  event.cachePolicy = cachePolicy;
  event.timeoutSeconds = timeoutSeconds;
  event.allowsScrolling = allowsScrolling_;
  WebViewUtilities::record(event);
  if (!engine_ && !text_) {
    // Not shown yet: the page comes when the view does.
    url_ = url;
    pendingLoad_ = true;
    pendingTimeout_ = timeoutSeconds;
    return;
  }
  startLoad(url, timeoutSeconds);
}

void WebView::startLoad(const QUrl &url, int timeoutSeconds) {
  if (engine_) {
    // The engine asks the delegate itself, through engineNavigationRequested.
    url_ = url;
    if (timeoutSeconds > 0)
      loadTimer_.start(timeoutSeconds * 1000);
    else
      loadTimer_.stop();
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
  else if (text_ && url_.isValid())
    load(url_);
}

void WebView::stopLoading() {
  loadTimer_.stop();
  pendingLoad_ = false;
  if (engine_)
    engine_->stop();
}

void WebView::clear() {
  stopLoading();
  url_ = QUrl();
  if (text_)
    text_->clear();
  else if (engine_)
    engine_->load(QUrl(QStringLiteral("about:blank")));
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
  // The empty page of clear() is the view's own, not a navigation of the page.
  if (url == QUrl(QStringLiteral("about:blank")))
    return true;
  if (delegate_ && !delegate_->decidePolicyForNavigation(this, url))
    return false;
  url_ = url;
  return true;
}

void WebView::engineNewWindowRequested(const QUrl &url) {
  if (delegate_)
    delegate_->decidePolicyForNewWindow(this, url);
}

bool WebView::engineJavaScriptConfirm(const QString &message) {
  return delegate_ ? delegate_->runJavaScriptConfirmPanel(this, message)
                   : WebViewUtilities::runJavaScriptConfirmPanel(message);
}

bool WebViewDelegate::runJavaScriptConfirmPanel(WebView *, const QString &message) {
  return WebViewUtilities::runJavaScriptConfirmPanel(message);
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
  loadTimer_.stop();
  if (!delegate_)
    return;
  if (ok)
    delegate_->didFinishLoad(this);
  else
    delegate_->didFailProvisionalLoad(this, QStringLiteral("the page %1 did not load").arg(url_.toString()));
}

namespace {
QString enginePlugInPath() {
  return Bundle::mainBundle().plugInsPath() + QStringLiteral("/WebEngineView.so");
}
} // namespace

bool WebViewUtilities::engineMayLoad() {
  return qEnvironmentVariable("QEL_WEBENGINE") != QLatin1String("0") && QFileInfo::exists(enginePlugInPath());
}

// QtGui's setter of the context every later GL context shares with (the one the engine's own
// start-up calls); exported, but declared in no public header.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace {
// The engine shares its GL textures with the windows' contexts through one global context. Qt
// makes it at start when asked (Qt::AA_ShareOpenGLContexts), which loads the GL stack for every
// run; it is made here instead, just before the engine loads with the first web view. As Qt does
// it: set even when it cannot be created (no GL at all), so the engine finds one and falls back.
void shareGlContextsForTheEngine() {
  if (QOpenGLContext::globalShareContext() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
    return;
  auto *context = new QOpenGLContext(QCoreApplication::instance());
  context->create();
  qt_gl_set_global_share_context(context);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
} // namespace

WebEngineFactory *WebViewUtilities::engineFactory() {
  static WebEngineFactory *factory = []() -> WebEngineFactory * {
    if (!engineMayLoad())
      return nullptr;
    const QString path = enginePlugInPath();
    // The engine's sandbox refuses to start for root; the program then runs it without one.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
      qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    shareGlContextsForTheEngine();
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

WebView *WebViewUtilities::attachWebviewWithFrameRect(const QRect &frame, QWidget *superview, WebViewDelegate *delegate,
                                                      const QString &name) {
  if (frame.isEmpty() || !superview)
    return nullptr;
  auto *view = new WebView(superview);
  view->setObjectName(name);
  view->setGeometry(frame);
  view->setDelegate(delegate ? delegate : this);
  record({WebViewEvent::Attached, name, superview->objectName(), QUrl(), 0, 0, true});
  view->show();
  return view;
}

void WebViewUtilities::detachSubWebview(WebView *view) {
  if (!view)
    return;
  record({WebViewEvent::Detached, view->objectName(),
          view->parentWidget() ? view->parentWidget()->objectName() : QString(), view->url(), 0, 0,
          view->allowsScrolling()});
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
    view->load(QUrl(text), kReturnCacheDataElseLoad, kRemoteTimeoutSeconds);
}

bool WebViewUtilities::runJavaScriptConfirmPanel(const QString &message) {
  return runSystemAlertPanel(QStringLiteral("JavaScript"), message, QStringLiteral("OK"), QStringLiteral("Cancel")) ==
         ModalQuestions::kDefaultAnswer;
}

void WebViewUtilities::setRecorder(Recorder r) {
  recorder() = std::move(r);
}

void WebViewUtilities::record(const WebViewEvent &event) {
  if (recorder())
    recorder()(event);
}

bool WebViewUtilities::opensInNewWindow(const QUrl &url) {
  const QString scheme = url.scheme().toLower();
  return url.isValid() &&
         (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"));
}

bool WebViewUtilities::mayOpenOutside(const QUrl &url) {
  // The empty page starts the browser at its own home.
  if (opensInNewWindow(url) || url == QUrl(QStringLiteral("about:blank")))
    return true;
  if (!url.isValid() || !url.isLocalFile())
    return false;
  // A folder opens in the file manager (the log folder); a file only when it is a document,
  // never a program or a launcher.
  const QFileInfo file(url.toLocalFile());
  if (file.isDir())
    return true;
  return file.isFile() && !file.isExecutable() &&
         file.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) != 0;
}

void WebViewUtilities::setOpener(Opener o) {
  opener() = std::move(o);
}

bool WebViewUtilities::openInBrowser(const QUrl &url) {
  // The desktop opens a file, a .desktop launcher or any handler's scheme as readily as a page:
  // only web and mail addresses leave the program.
  if (!opensInNewWindow(url)) {
    qWarning().noquote() << "Not opened outside the program (scheme not allowed):" << url.scheme();
    return false;
  }
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
