#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs with a QApplication (offscreen), so widgets, timers and the session
// bus behave as in the program.
int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  // As in the program, for the tests that load the web engine.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
