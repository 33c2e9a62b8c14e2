// Widget tests run on Qt's offscreen platform unless told otherwise, inside
// the program's own application object so that its error report is in place.
#include <gtest/gtest.h>

#include "soundlog.h"
#include "ui/application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  tintbox::TApplication app(argc, argv);
  tintbox::SetSoundOutput(&tintbox::test::SoundLog());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
