#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

#include "WebEngineInterface.h"

class WebView;

// What a web view asks of its delegate: whether to follow a navigation, and what it loaded.
class WebViewDelegate {
public:
  virtual ~WebViewDelegate() = default;
  // A navigation inside the view; true lets it happen.
  virtual bool decidePolicyForNavigation(WebView *view, const QUrl &url) = 0;
  // A link that asks for a window of its own.
  virtual void decidePolicyForNewWindow(WebView *view, const QUrl &url) = 0;
  virtual void didStartProvisionalLoad(WebView *) {}
  virtual void didReceiveTitle(WebView *, const QString &) {}
  virtual void didFinishLoad(WebView *) {}
  virtual void didFailProvisionalLoad(WebView *, const QString &) {}
  // A script's confirm(); true for OK. By default the question "JavaScript" with OK and Cancel.
  virtual bool runJavaScriptConfirmPanel(WebView *view, const QString &message);
};

// What happened to a web view, as the recorder of WebViewUtilities sees it: tests follow which
// page was loaded into which view, and the views made and removed.
struct WebViewEvent {
  enum Kind { Attached, Loaded, Detached };
  Kind kind = Loaded;
  QString view;      // the view's object name
  QString superview; // its superview's object name
  QUrl url;          // Loaded: the address
  int cachePolicy = 0;
  int timeoutSeconds = 0; // 0: none
  bool allowsScrolling = true;
};

// The program's web view. With the web engine plug-in it shows pages as a browser does; without
// it (not installed, or turned off with QEL_WEBENGINE=0) it renders local HTML pages as simple
// rich text, no scripts or plug-in content, and shows a remote address as a link that opens in
// the default browser. The engine's page is made when the view is first shown: a view on a page
// the user never opens costs nothing; a load before that waits for it.
class WebView : public QWidget, private WebEngineHost {
  Q_OBJECT
public:
  explicit WebView(QWidget *parent = nullptr);
  ~WebView() override;

  void setDelegate(WebViewDelegate *delegate) { delegate_ = delegate; }
  WebViewDelegate *delegate() const { return delegate_; }
  // `cachePolicy` is noted for the record (the engine keeps one cache for all pages); a load that
  // has not finished after `timeoutSeconds` (0: no limit) is stopped and reported as failed.
  void load(const QUrl &url, int cachePolicy = 0, int timeoutSeconds = 0);
  void reload();
  void stopLoading();
  // Shows nothing (a page that cannot be shown here).
  void clear();
  QUrl url() const { return url_; }
  QString title() const;
  // Which of the two renders the page: at most one is set, none before an engine view is shown.
  WebEnginePage *enginePage() const { return engine_.get(); }
  QTextBrowser *textView() const { return text_; }
  // A load waits for the view to be shown.
  bool hasPendingLoad() const { return pendingLoad_; }

  // Off: no scroll bars, and neither the wheel nor the keys scroll the page.
  void setAllowsScrolling(bool allowed);
  bool allowsScrolling() const { return allowsScrolling_; }
  // Keeps the view inside its superview by these insets whenever the superview is resized.
  void followSuperview(const QMargins &insets);

protected:
  void showEvent(QShowEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  // The renderer: the engine's page when it can be had, else the text view.
  void makeRenderer();
  void makeTextView();
  void startLoad(const QUrl &url, int timeoutSeconds);
  void loadAsText(const QUrl &url);
  void linkClicked(const QUrl &url);
  bool engineNavigationRequested(const QUrl &url) override;
  void engineNewWindowRequested(const QUrl &url) override;
  bool engineJavaScriptConfirm(const QString &message) override;
  void engineLoadStarted() override;
  void engineTitleChanged(const QString &title) override;
  void engineLoadFinished(bool ok) override;

  WebViewDelegate *delegate_ = nullptr;
  QUrl url_;
  std::unique_ptr<WebEnginePage> engine_;
  QTextBrowser *text_ = nullptr;
  bool pendingLoad_ = false;
  int pendingTimeout_ = 0;
  bool allowsScrolling_ = true;
  QTimer loadTimer_;
  QPointer<QWidget> followed_;
  QMargins insets_;
};

// Makes, loads and removes web views, and is their default delegate: navigations are allowed and
// logged, a request for a new window opens the address in the default browser.
class WebViewUtilities : public QObject, public WebViewDelegate {
  Q_OBJECT
public:
  static WebViewUtilities *sharedManager();

  // How an address (not a file) is requested: cached data first, else from the network, and
  // given ten minutes.
  static constexpr int kReturnCacheDataElseLoad = 2;
  static constexpr int kRemoteTimeoutSeconds = 600;

  // A new view with that frame inside `superview`, named `name`; null for an empty frame or no
  // superview.
  WebView *attachWebviewWithFrameRect(const QRect &frame, QWidget *superview, WebViewDelegate *delegate = nullptr,
                                      const QString &name = QString());
  void detachSubWebview(WebView *view);
  // An existing file is loaded as a file; anything else as an address.
  void LoadURL(const QString &text, WebView *view);

  // The confirm question of a page's script: "JavaScript", the message, OK and Cancel.
  static bool runJavaScriptConfirmPanel(const QString &message);

  // Sees every view made, loaded and removed (tests); an empty function stops it.
  using Recorder = std::function<void(const WebViewEvent &)>;
  static void setRecorder(Recorder recorder);
  static void record(const WebViewEvent &event);
  // Whether the engine may be tried at all (not turned off, the plug-in file is there); asks
  // nothing of the plug-in itself.
  static bool engineMayLoad();

  // A new window opens only for web and mail addresses: another scheme could start any program.
  static bool opensInNewWindow(const QUrl &url);
  // What may be handed to the desktop's opener: web and mail addresses, the empty page, and a
  // local document (an existing regular file that is neither a program nor a desktop launcher).
  static bool mayOpenOutside(const QUrl &url);
  // How addresses reach the default browser (tests replace it).
  using Opener = std::function<bool(const QUrl &)>;
  static void setOpener(Opener opener);
  // Opens a web or mail address; anything else is refused and logged.
  static bool openInBrowser(const QUrl &url);
  // The engine plug-in, loaded the first time a view asks; null when it is absent or turned off.
  static WebEngineFactory *engineFactory();

  bool decidePolicyForNavigation(WebView *view, const QUrl &url) override;
  void decidePolicyForNewWindow(WebView *view, const QUrl &url) override;
  void didStartProvisionalLoad(WebView *view) override;
  void didReceiveTitle(WebView *view, const QString &title) override;
  void didFinishLoad(WebView *view) override;
  void didFailProvisionalLoad(WebView *view, const QString &error) override;

private:
  WebViewUtilities() = default;
};
