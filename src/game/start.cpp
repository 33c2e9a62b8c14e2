#include "game/start.h"

#include "ui/application.h"

namespace tintbox {

bool StartGame(TGame& AGame, TForm1& AForm) {
  RunGuarded([&] { AGame.FormCreate(); });
  if (AForm.Closed()) return false;
  // Picture 1 is set up before the window first appears.
  RunGuarded([&] { AGame.FormShow(); });
  if (AForm.Closed()) return false;
  AForm.show();
  return true;
}

}  // namespace tintbox
