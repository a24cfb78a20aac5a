// The GL stack is set up at start only when a web view can load the web engine.
#include "WebContentProbe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Sets an environment variable for the test's length.
struct Env {
  QByteArray name, old;
  bool had;
  Env(const char *n, const QByteArray &value) : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n)) {
    qputenv(n, value);
  }
  ~Env() {
    if (had)
      qputenv(name.constData(), old);
    else
      qunsetenv(name.constData());
  }
};

TEST(WebContentProbe, SharedGlContextsOnlyWhenAWebViewCanLoadTheEngine) {
  QTemporaryDir bundle;
  QDir().mkpath(bundle.filePath(QStringLiteral("PlugIns")));
  Env at("QEL_BUNDLE_DIR", QFile::encodeName(bundle.path()));
  {
    Env engine("QEL_WEBENGINE", "1");
    EXPECT_FALSE(WebContentProbe::shareGlContexts()) << "no engine plug-in: rich text, no GL";
    QFile plugIn(bundle.filePath(QStringLiteral("PlugIns/WebEngineView.so")));
    ASSERT_TRUE(plugIn.open(QIODevice::WriteOnly));
    plugIn.close();
    EXPECT_TRUE(WebContentProbe::shareGlContexts());
    Env forced("QEL_SHARE_GL_CONTEXTS", "0");
    EXPECT_FALSE(WebContentProbe::shareGlContexts());
  }
  Env off("QEL_WEBENGINE", "0");
  EXPECT_FALSE(WebContentProbe::shareGlContexts()) << "the engine turned off";
  Env forced("QEL_SHARE_GL_CONTEXTS", "1");
  EXPECT_TRUE(WebContentProbe::shareGlContexts());
}

} // namespace
