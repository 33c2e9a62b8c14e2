// The program's start, shared by main() and the tests that start the game as
// the program does.
#pragma once

#include "game/game.h"
#include "ui/mainwindow.h"

namespace tintbox {

// FormCreate, then FormShow, each inside the error report; then the main window
// shows, unless a fatal stop has closed it by then. False when the program is to
// end without running its message loop.
bool StartGame(TGame& AGame, TForm1& AForm);

}  // namespace tintbox
