// Test programs that use widgets need the application object for their whole run.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tarvela/widgets/application.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  tarvela::TApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
