#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTextBrowser>
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
};

// The program's web view. With the web engine plug-in it shows pages as a browser does; without
// it (not installed, or turned off with QEL_WEBENGINE=0) it renders local HTML pages as simple
// rich text, no scripts or plug-in content, and shows a remote address as a link that opens in
// the default browser.
class WebView : public QWidget, private WebEngineHost {
  Q_OBJECT
public:
  explicit WebView(QWidget *parent = nullptr);
  ~WebView() override;

  void setDelegate(WebViewDelegate *delegate) { delegate_ = delegate; }
  WebViewDelegate *delegate() const { return delegate_; }
  void load(const QUrl &url);
  void reload();
  void stopLoading();
  QUrl url() const { return url_; }
  QString title() const;
  // Which of the two renders the page: exactly one of these is set.
  WebEnginePage *enginePage() const { return engine_.get(); }
  QTextBrowser *textView() const { return text_; }

private:
  void loadAsText(const QUrl &url);
  void linkClicked(const QUrl &url);
  bool engineNavigationRequested(const QUrl &url) override;
  void engineNewWindowRequested(const QUrl &url) override;
  void engineLoadStarted() override;
  void engineTitleChanged(const QString &title) override;
  void engineLoadFinished(bool ok) override;

  WebViewDelegate *delegate_ = nullptr;
  QUrl url_;
  std::unique_ptr<WebEnginePage> engine_;
  QTextBrowser *text_ = nullptr;
};

// Makes, loads and removes web views, and is their default delegate: navigations are allowed and
// logged, a request for a new window opens the address in the default browser.
class WebViewUtilities : public QObject, public WebViewDelegate {
  Q_OBJECT
public:
  static WebViewUtilities *sharedManager();

  // A new view with that frame inside `superview`; null for an empty frame or no superview.
  WebView *attachWebviewWithFrameRect(const QRect &frame, QWidget *superview, WebViewDelegate *delegate = nullptr);
  void detachSubWebview(WebView *view);
  // An existing file is loaded as a file; anything else as an address.
  void LoadURL(const QString &text, WebView *view);

  // A new window opens only for web and mail addresses: another scheme could start any program.
  static bool opensInNewWindow(const QUrl &url);
  // How addresses reach the default browser (tests replace it).
  using Opener = std::function<bool(const QUrl &)>;
  static void setOpener(Opener opener);
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
