// The web engine's side of the program's web views: a page that asks its host before every
// navigation and hands requests for new windows to it instead of opening them itself.
#include "WebEngineInterface.h"

#include <QObject>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// A page asked for by a link with a target or by a script: it never shows; its first navigation
// names the address the link wanted, which goes to the host, and then it goes away.
class NewWindowCatcher : public QWebEnginePage {
public:
  NewWindowCatcher(QWebEngineProfile *profile, WebEngineHost *host, QObject *parent)
      : QWebEnginePage(profile, parent), host_(host) {}

protected:
  bool acceptNavigationRequest(const QUrl &url, NavigationType, bool) override {
    if (host_ && !reported_) {
      reported_ = true;
      host_->engineNewWindowRequested(url);
    }
    deleteLater();
    return false;
  }

private:
  WebEngineHost *host_;
  bool reported_ = false;
};

class HostedPage : public QWebEnginePage {
public:
  HostedPage(WebEngineHost *host, QObject *parent) : QWebEnginePage(parent), host_(host) {}
  void forgetHost() { host_ = nullptr; }

protected:
  bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override {
    if (!isMainFrame || !host_)
      return true;
    return host_->engineNavigationRequested(url);
  }
  QWebEnginePage *createWindow(WebWindowType) override {
    if (!host_)
      return nullptr;
    return new NewWindowCatcher(profile(), host_, this);
  }
  bool javaScriptConfirm(const QUrl &, const QString &message) override {
    return host_ && host_->engineJavaScriptConfirm(message);
  }

private:
  WebEngineHost *host_;
};

class EnginePage : public WebEnginePage {
public:
  EnginePage(QWidget *parent, WebEngineHost *host)
      : view_(new QWebEngineView(parent)), page_(new HostedPage(host, view_)) {
    view_->setPage(page_);
    QObject::connect(page_, &QWebEnginePage::loadStarted, view_, [host] { host->engineLoadStarted(); });
    QObject::connect(page_, &QWebEnginePage::titleChanged, view_,
                     [host](const QString &title) { host->engineTitleChanged(title); });
    QObject::connect(page_, &QWebEnginePage::loadFinished, view_, [host](bool ok) { host->engineLoadFinished(ok); });
  }
  ~EnginePage() override {
    if (page_) {
      // The view may outlive this object for a moment (deleteLater); it must not report any more.
      page_->forgetHost();
      QObject::disconnect(page_, nullptr, view_, nullptr);
    }
  }
  QWidget *widget() override { return view_; }
  void load(const QUrl &url) override { view_->load(url); }
  void reload() override { view_->reload(); }
  void stop() override { view_->stop(); }
  QString title() const override { return view_ ? view_->title() : QString(); }
  void setScrollingAllowed(bool allowed) override {
    if (!page_)
      return;
    page_->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, allowed);
    // Hidden bars alone still let the wheel scroll; the page's own overflow is held as well.
    static const QString name = QStringLiteral("qelNoScrolling");
    QWebEngineScriptCollection &scripts = page_->scripts();
    for (const QWebEngineScript &old : scripts.find(name))
      scripts.remove(old);
    if (allowed)
      return;
    QWebEngineScript script;
    script.setName(name);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setSourceCode(QStringLiteral("document.documentElement.style.overflow='hidden';"
                                        "if (document.body) document.body.style.overflow='hidden';"));
    scripts.insert(script);
  }

private:
  QPointer<QWebEngineView> view_;
  QPointer<HostedPage> page_;
};

} // namespace

class WebEngineView : public QObject, public WebEngineFactory {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID WebEngineFactory_iid)
  Q_INTERFACES(WebEngineFactory)
public:
  WebEnginePage *createPage(QWidget *parent, WebEngineHost *host) override { return new EnginePage(parent, host); }
};

#include "WebEngineView.moc"
