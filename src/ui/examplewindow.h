// The example window: the finished picture, large, in a resizable window.
#pragma once

#include <QWidget>

#include "picture/picture.h"

namespace tintbox {

// Shows a copy of APicture stretched over a 640 x 480 window captioned
// "Пример", centred over ACentreOver, modally; returns when it is closed.
void ShowExampleWindow(const TPicture& APicture, QWidget* ACentreOver);

}  // namespace tintbox
