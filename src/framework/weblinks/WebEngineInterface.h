#pragma once

#include <QString>
#include <QUrl>
#include <QtPlugin>

class QWidget;

// The web engine lives in a plug-in of its own, loaded with the first web view, so a program
// that never shows a page neither links nor starts it. The plug-in sees only this header.

// What an engine page reports to the view that holds it.
class WebEngineHost {
public:
  virtual ~WebEngineHost() = default;
  // A navigation inside the page; false stops it.
  virtual bool engineNavigationRequested(const QUrl &url) = 0;
  // A link or script that asks for a window of its own.
  virtual void engineNewWindowRequested(const QUrl &url) = 0;
  // A script's confirm(): true for OK.
  virtual bool engineJavaScriptConfirm(const QString &message) = 0;
  virtual void engineLoadStarted() = 0;
  virtual void engineTitleChanged(const QString &title) = 0;
  virtual void engineLoadFinished(bool ok) = 0;
};

// One page of the engine and the widget that shows it (owned by the widget's parent).
class WebEnginePage {
public:
  virtual ~WebEnginePage() = default;
  virtual QWidget *widget() = 0;
  virtual void load(const QUrl &url) = 0;
  virtual void reload() = 0;
  virtual void stop() = 0;
  virtual QString title() const = 0;
  // Off: no scroll bars and the page does not scroll.
  virtual void setScrollingAllowed(bool allowed) = 0;
};

class WebEngineFactory {
public:
  virtual ~WebEngineFactory() = default;
  // A page whose widget is a child of `parent`; the page reports to `host` until deleted.
  virtual WebEnginePage *createPage(QWidget *parent, WebEngineHost *host) = 0;
};

#define WebEngineFactory_iid "org.qel.WebEngineFactory/2"
Q_DECLARE_INTERFACE(WebEngineFactory, WebEngineFactory_iid)
