// The GL stack is not set up at start unless asked for: the web engine's shared context comes
// with the first web view.
#include "WebContentProbe.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

TEST(WebContentProbe, SharedGlContextsAtStartOnlyWhenAskedFor) {
  const QByteArray old = qgetenv("QEL_SHARE_GL_CONTEXTS");
  qunsetenv("QEL_SHARE_GL_CONTEXTS");
  EXPECT_FALSE(WebContentProbe::shareGlContextsAtStart());
  qputenv("QEL_SHARE_GL_CONTEXTS", "0");
  EXPECT_FALSE(WebContentProbe::shareGlContextsAtStart());
  qputenv("QEL_SHARE_GL_CONTEXTS", "1");
  EXPECT_TRUE(WebContentProbe::shareGlContextsAtStart());
  if (old.isNull())
    qunsetenv("QEL_SHARE_GL_CONTEXTS");
  else
    qputenv("QEL_SHARE_GL_CONTEXTS", old);
}

} // namespace
