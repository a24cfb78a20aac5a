#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "ModalQuestions.h"
#include "WebViewUtilities.h"

namespace {

class RecordingDelegate : public WebViewDelegate {
public:
  QList<QUrl> navigations, newWindows;
  QString title;
  int finished = 0, failed = 0;
  QUrl refused;
  bool decidePolicyForNavigation(WebView *, const QUrl &url) override {
    navigations << url;
    return url != refused;
  }
  void decidePolicyForNewWindow(WebView *, const QUrl &url) override { newWindows << url; }
  void didReceiveTitle(WebView *, const QString &t) override { title = t; }
  void didFinishLoad(WebView *) override { ++finished; }
  void didFailProvisionalLoad(WebView *, const QString &) override { ++failed; }
};

QString writePage(const QTemporaryDir &dir, const char *name, const QByteArray &html) {
  QFile page(dir.filePath(QLatin1String(name)));
  if (!page.open(QIODevice::WriteOnly))
    return {};
  page.write(html);
  return page.fileName();
}

// The engine renders a local page, asks the delegate before navigating, and hands a script's
// request for a new window to the delegate instead of opening one.
TEST(WebEngine, APageIsRenderedAndItsRequestsGoToTheDelegate) {
  qputenv("QEL_WEBENGINE", "1");
  ASSERT_NE(WebViewUtilities::engineFactory(), nullptr) << "the plug-in is built beside the tests";
  QTemporaryDir dir;
  const QString second = writePage(dir, "second.html", "<html><head><title>Second</title></head></html>");
  const QString first = writePage(dir, "index.html",
                                  "<html><head><title>Engine</title></head><body><h1>Welcome</h1>"
                                  "<script>window.open('https://example.org/offer');</script></body></html>");
  QWidget host;
  host.resize(400, 300);
  host.show();
  RecordingDelegate delegate;
  WebView *view =
      WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(QRect(0, 0, 400, 300), &host, &delegate);
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->enginePage(), nullptr);
  EXPECT_EQ(view->textView(), nullptr);

  WebViewUtilities::sharedManager()->LoadURL(first, view);
  QTRY_COMPARE_WITH_TIMEOUT(delegate.finished, 1, 30000);
  EXPECT_EQ(view->title(), "Engine");
  EXPECT_EQ(delegate.title, "Engine");
  QTRY_COMPARE_WITH_TIMEOUT(delegate.newWindows, QList<QUrl>{QUrl("https://example.org/offer")}, 10000);

  delegate.refused = QUrl::fromLocalFile(second);
  WebViewUtilities::sharedManager()->LoadURL(second, view);
  QTRY_VERIFY_WITH_TIMEOUT(delegate.navigations.contains(delegate.refused), 10000);
  QTest::qWait(300);
  EXPECT_EQ(view->title(), "Engine") << "a refused navigation leaves the page";
  WebViewUtilities::sharedManager()->detachSubWebview(view);
  // The engine's profile goes with the application; its pages must be gone before.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A view on a page not shown yet makes no engine page; its load waits and comes with the first
// show. A script's confirm() is a question the program answers.
TEST(WebEngine, TheEnginePageComesWithTheFirstShowAndAConfirmIsAQuestion) {
  qputenv("QEL_WEBENGINE", "1");
  ASSERT_NE(WebViewUtilities::engineFactory(), nullptr);
  QTemporaryDir dir;
  const QString page = writePage(dir, "confirm.html",
                                 "<html><head><title>Asking</title></head><body><script>"
                                 "document.title = confirm('Leave the offer?') ? 'yes' : 'no';"
                                 "</script></body></html>");
  QWidget host;
  host.resize(300, 200);
  RecordingDelegate delegate;
  WebView *view =
      WebViewUtilities::sharedManager()->attachWebviewWithFrameRect(QRect(0, 0, 300, 200), &host, &delegate);
  ASSERT_NE(view, nullptr);
  ScriptedAnswers answers({ModalQuestions::kDefaultAnswer});
  WebViewUtilities::sharedManager()->LoadURL(page, view);
  EXPECT_EQ(view->enginePage(), nullptr) << "nothing is shown yet";
  EXPECT_TRUE(view->hasPendingLoad());
  host.show();
  ASSERT_NE(view->enginePage(), nullptr);
  QTRY_COMPARE_WITH_TIMEOUT(view->title(), QStringLiteral("yes"), 30000);
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_EQ(answers.asked()[0].title, "JavaScript");
  EXPECT_EQ(answers.asked()[0].message, "Leave the offer?");
  WebViewUtilities::sharedManager()->detachSubWebview(view);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
