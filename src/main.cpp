// Tintbox: a picture-colouring game.
#include <optional>
#include <string>
#include <thread>

#include "game/game.h"
#include "game/start.h"
#include "rules/random.h"
#include "ui/application.h"
#include "ui/language.h"
#include "ui/mainwindow.h"

int main(int argc, char** argv) {
  using namespace tintbox;
  // The palette order differs from run to run.
  Randomize();

  TApplication app(argc, argv);
  // The player's language, from the environment; under C nothing is loaded.
  InstallLanguage(EnvironmentLanguage());
  // So that a desktop groups the window with its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral(TINTBOX_APPID));
  // `tintbox FOLDER` plays the pictures of FOLDER instead of the img/ beside
  // the program. Qt has taken its own options out of argv by now.
  std::optional<std::string> folder;
  if (argc > 1) folder = argv[1];
  // Reading the system's fonts takes a while: do it on another core while the
  // window and picture 1 are being set up, before anything measures text.
  std::jthread fonts(&TForm1::PrepareFonts);
  TForm1 form;
  // TINTBOX_MUTE=1 starts the game silent (M still turns the sounds on).
  const QByteArray mute = qgetenv("TINTBOX_MUTE");
  if (!mute.isEmpty() && mute != "0") form.sounds.SetMuted(true);
  // The program file with its links resolved: the pictures lie beside it.
  TGame game(form, ProgramRandom(), QCoreApplication::applicationFilePath().toStdString(), folder);
  if (!StartGame(game, form)) return 0;
  return app.exec();
}
