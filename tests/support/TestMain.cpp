#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs with a QApplication (offscreen), so widgets, timers and the session
// bus behave as in the program.
int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
