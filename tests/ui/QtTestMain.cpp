#include <gtest/gtest.h>
#include <QApplication>

// One QApplication for all the tests of an executable. Without a platform chosen from outside
// (ctest sets one), the tests run offscreen, so listing or running them needs no screen.
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
