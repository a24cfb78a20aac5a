// The GL stack is set up at start only for a configuration whose window shows web pages unasked.
#include "WebContentProbe.h"

#include <gtest/gtest.h>

namespace {

TEST(WebContentProbe, OnlySettingsWithWebPagesInTheWindowAskForSharedGlContexts) {
  const struct {
    const char *what;
    QVariantMap settings;
    bool shows;
  } cases[] = {
      {"the shipped defaults", {{"CurrentLanguage", "English"}, {"EmbedWebViewURL", ""}}, false},
      {"split layout", {{"EnableSplitConnectionProcess", true}}, true},
      {"split layout off in words", {{"EnableSplitConnectionProcess", "NO"}}, false},
      {"advertisement", {{"AddZodiAdView", 1}}, true},
      {"embedded page", {{"EmbedWebViewURL", "http://example.org/"}}, true},
      {"special page", {{"WebViewURL", "http://example.org/"}}, true},
  };
  for (const auto &c : cases)
    EXPECT_EQ(WebContentProbe::settingsShowWebContent(c.settings), c.shows) << c.what;
}

TEST(WebContentProbe, TheEnvironmentDecidesFirst) {
  qputenv("QEL_SHARE_GL_CONTEXTS", "1");
  EXPECT_TRUE(WebContentProbe::shareGlContexts());
  qputenv("QEL_SHARE_GL_CONTEXTS", "0");
  EXPECT_FALSE(WebContentProbe::shareGlContexts());
  qunsetenv("QEL_SHARE_GL_CONTEXTS");
  // The tests run with the engine turned off.
  const QByteArray engine = qgetenv("QEL_WEBENGINE");
  qputenv("QEL_WEBENGINE", "0");
  EXPECT_FALSE(WebContentProbe::shareGlContexts());
  qputenv("QEL_WEBENGINE", engine);
}

} // namespace
