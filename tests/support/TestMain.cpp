#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs with a QApplication (offscreen), so widgets, timers and the session
// bus behave as in the program.
int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // The web engine is left to the tests that ask for it (and to the programs they start).
  if (qEnvironmentVariableIsEmpty("QEL_WEBENGINE"))
    qputenv("QEL_WEBENGINE", "0");
  ::testing::InitGoogleTest(&argc, argv);
  // As in the program, for the tests that load the web engine.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
