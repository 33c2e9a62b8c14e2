// Tintbox: a picture-colouring game.
#include <thread>

#include "game/catalogue.h"
#include "game/game.h"
#include "game/random.h"
#include "ui/application.h"
#include "ui/mainwindow.h"

int main(int argc, char** argv) {
  using namespace tintbox;
  // The system's font configuration is read on another core while Qt starts,
  // and picture 1 on a third.
  std::jthread fontConfiguration(&TForm1::ReadFontConfiguration);
  TReadAhead readAhead;
  if (const std::string program = RunningProgramFile(); !program.empty())
    readAhead.Start(PictureFileName(ImagesPathFor(program), 1));

  // The palette order differs from run to run.
  Randomize();

  TApplication app(argc, argv);
  // Reading the system's fonts takes a while: do it on another core while the
  // window and picture 1 are being set up, before anything measures text.
  std::jthread fonts([&] {
    fontConfiguration.join();
    TForm1::PrepareFonts();
  });
  TForm1 form;
  // The program file with its links resolved: the pictures lie beside it.
  TGame game(form, ProgramRandom(), QCoreApplication::applicationFilePath().toStdString());
  game.ReadAhead = &readAhead;

  RunGuarded([&] { game.FormCreate(); });
  if (form.Closed()) return 0;
  // Picture 1 is set up before the window first appears.
  RunGuarded([&] { game.FormShow(); });
  if (form.Closed()) return 0;
  form.show();
  return app.exec();
}
